#include "print/D_UdskriftDiplom.h"
#include "print/D_Print.h"
#include "print/D_TeksterDiplom.h"

#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"
#include "platform/Printer.h"

namespace {

constexpr auto Body = TPrintSection::Body;

// The first style, in cm from the meet's indent.
constexpr double PraemieX = 3.5;
constexpr double NavnX = 0.4;
constexpr double KlubX = 8.0;
constexpr double KlasseX = 13.9;
constexpr double RuleWidth = 16.0;
constexpr double NavnSpace = 1.2;
constexpr double SecondCaptionSpace = 0.6;
const QString DiplomRule = QStringLiteral("0.05");
constexpr int PraemieSize = 40;
constexpr int TextSize = 12;
constexpr int CaptionSize = 10;

} // namespace

TDiplomPrinterScope::TDiplomPrinterScope()
    : previous_(Platform::RequestedPrinter()) {
    if (StaevneManager)
        StaevneManager->SelectDiplomPrinter();
}

TDiplomPrinterScope::~TDiplomPrinterScope() {
    Platform::SelectPrinter(previous_);
}

TDiplomUdskrift::TDiplomUdskrift(QObject* owner, int places, int row)
    : TUdskrift(owner)
    , places_(places)
    , rowIndex_(row) {
    // A diploma is a page of its own: no event heading above it.
    SkipGeneric = true;
}

bool TDiplomUdskrift::HasData() {
    return !RefuseHtmlOnly(QStringLiteral("Diplomer")) && TUdskrift::HasData();
}

void TDiplomUdskrift::PrintOvelse() {
    TUdskrift::PrintOvelse();
    if (!Data || !Data->OvelseInfo() || !WantsPrint())
        return;
    if (CurrentSystemData().DiplomLayout == 2)
        PrintStyle2();
    else
        PrintStyle1();
}

void TDiplomUdskrift::PrintStyle1() {
    const TResultat* only =
        rowIndex_ >= 0 && rowIndex_ < Data->Count() ? CopyOfRow(Data->GetResultat(rowIndex_)) : nullptr;
    SortRows(CompareByResultatHeat);
    for (const TResultat* row : Rows()) {
        if (!row->IsValid() || row->Plac < 1 || row->Plac > 3 || (rowIndex_ != -1 && row != only))
            continue;
        if (places_ & (1 << (row->Plac - 1)))
            PrintDiplom(*row);
    }
}

void TDiplomUdskrift::PrintDiplom(const TResultat& row) {
    TStdPrint& print = Print();
    const TOvelseInfo& info = *Data->OvelseInfo();
    const TSystemData& data = CurrentSystemData();
    const double indent = data.DiplomIndent;
    TPrintFont& font = print.LineFont();
    const TPrintFontScope restore(font);
    const auto text = [&](const QString& value, double x, double line) {
        print.AddBodyText(TPrintAlignment::Left, value, indent + x, line);
    };

    print.AddBodyText(TPrintAlignment::Left, QStringLiteral(" "), 0, Row);
    font = TPrintFont{QStringLiteral("Arial black"), PraemieSize, PrintFontStyle::Bold, 0};
    print.GetLine(Body, Row + 1).SetSpaceBefore(data.DiplomNed1);
    text(QStringLiteral("%1. PRÆMIE").arg(row.Plac), PraemieX, Row + 1);

    font = TPrintFont{QStringLiteral("Arial"), TextSize, PrintFontStyle::Bold, 0};
    print.GetLine(Body, Row + 2).SetSpaceBefore(NavnSpace);
    text(TrimBlanks(row.Navn), NavnX, Row + 2);
    text(row.GetKlub(), KlubX, Row + 2);
    text(info.GetKlasseKode(), KlasseX, Row + 2);

    font.Size = CaptionSize;
    font.Style = 0;
    print.AddField(Body, TPrintAlignment::Left, indent, Row + 3, RuleWidth, TFieldKind::HorizontalRule,
                   DiplomRule);
    text(QStringLiteral("Navn"), NavnX, Row + 4);
    text(QStringLiteral("Klub"), KlubX, Row + 4);
    text(QStringLiteral("Klasse"), KlasseX, Row + 4);
    print.GetLine(Body, Row + 5).SetSpaceBefore(SecondCaptionSpace);
    text(QStringLiteral("Øvelse"), NavnX, Row + 5);
    text(QStringLiteral("Resultat"), KlubX, Row + 5);
    print.AddField(Body, TPrintAlignment::Left, indent, Row + 6, RuleWidth, TFieldKind::HorizontalRule,
                   DiplomRule);

    font.Size = TextSize;
    font.Style = PrintFontStyle::Bold;
    text(info.GetOvelseText(), NavnX, Row + 7);
    text(FormatOvelseResultat(info, row.Resultat, row.Vind), KlubX, Row + 7);
    Row += 8;

    print.Print();
    print.ClearSection(Body);
}

void TDiplomUdskrift::PrintStyle2() {
    const std::vector<TResultat*>& rows = Rows();
    if (rowIndex_ >= static_cast<int>(rows.size()) || rowIndex_ < -1) {
        ShowInformation(Print().Owner(),
                        QStringLiteral("Der kan ikke udskrives diplom for række %1: runden har %2 deltagere.")
                            .arg(rowIndex_ + 1)
                            .arg(rows.size()));
        return;
    }
    const TOvelseInfo& info = *Data->OvelseInfo();
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        if (rowIndex_ != -1 && i != rowIndex_)
            continue;
        const TResultat& row = *rows[static_cast<std::size_t>(i)];
        if (!row.IsValid())
            continue;
        PrintDiplomStyle2(Print(), Row, info, row.Plac, row.Vind, row.Resultat, row.GetKlub(),
                          TrimBlanks(row.Navn));
    }
}
