#include "print/D_UdskriftAfkrydsningsliste.h"
#include "print/D_Print.h"

#include "foundation/LxString.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

namespace {

// Layout columns of the check-in list.
constexpr int StatusColumn = 0;
constexpr int StartnummerColumn = 1;
constexpr int NavnColumn = 2;
constexpr int KlubColumn = 3;
constexpr int SeedningColumn = 4;

// A relay form: six entries of four rows each, then five blank rows.
constexpr int RelayEntries = 6;
constexpr int RowsPerEntry = 4;
constexpr int BlankRowsAfterForm = 5;
// cm right of column 0: the start number's dotted line and caption, the name's.
constexpr double StartnummerLineX = 2.0;
constexpr double NavnLineX = 5.0;
constexpr double StartnummerCaptionX = 2.4;
constexpr double NavnCaptionX = 5.1;
const QString ShortDots = QString(19, u'.');
const QString LongDots = QString(60, u'.');

} // namespace

TAfkrydsningslisteUdskrift::TAfkrydsningslisteUdskrift(QObject* owner)
    : TUdskrift(owner) {
    if (StaevneManager)
        Print().LoadLayout(QStringLiteral("Afkrydsningsliste"), StaevneManager->GetRptFileName());
    AddHeaderSpacer();
}

bool TAfkrydsningslisteUdskrift::HasData() {
    return !RefuseHtmlOnly(QStringLiteral("Afkrydsningslisten")) && TUdskrift::HasData();
}

void TAfkrydsningslisteUdskrift::Prepare() {
    SortRows(CompareByHeatSeedningRankNavn);
}

void TAfkrydsningslisteUdskrift::PrintOvelse() {
    TUdskrift::PrintOvelse();
    if (!Data || !Data->OvelseInfo() || !WantsPrint())
        return;
    const bool relay = Data->OvelseInfo()->Ovelse().IsStafetOvelse();
    const int heats = HeatCount();
    for (const TResultat* row : Rows()) {
        if (!relay)
            PrintAthlete(*row, heats);
        else if (!row->IsAfbud() && !row->IsEjMoedt())
            PrintRelayForm(*row);
    }
}

void TAfkrydsningslisteUdskrift::PrintAthlete(const TResultat& row, int heats) {
    TStdPrint& print = Print();
    const TOvelseInfo& info = *Data->OvelseInfo();
    print.AddColumnText(StatusColumn, QStringLiteral(" "), Row);
    if (const QString status = StatusText(row); !status.isEmpty()) {
        const TPrintFontScope restore(print.LineFont());
        print.LineFont().Style |= PrintFontStyle::Bold;
        print.AddColumnText(StatusColumn, status, Row + 1);
    }
    print.AddColumnText(StartnummerColumn, QString::number(row.Startnummer), Row + 1);
    print.AddColumnText(NavnColumn, row.GetNavnAargang(), Row + 1);
    if (!row.GetKlub().isEmpty())
        print.AddColumnText(KlubColumn, row.GetKlub(), Row + 1);
    QString seedning;
    if (row.Seedning != 0)
        seedning = FormatOvelseResultatNoWind(info, row.Seedning);
    else if (row.PR != 0)
        seedning = u'(' + FormatOvelseResultatNoWind(info, row.PR) + u')';
    if (!seedning.isEmpty())
        print.AddColumnText(SeedningColumn, seedning, Row + 1);
    if (heats >= 2 && row.HasHeat())
        print.AddColumnText(SeedningColumn, QStringLiteral("HEAT ") + QString::number(row.Heat), Row);
    print.AddBodyRule(RuleListHeading, Row + 2);
    print.AddBlock(Row, Row + 2);
    Row += 3;
}

void TAfkrydsningslisteUdskrift::PrintRelayForm(const TResultat& row) {
    TStdPrint& print = Print();
    const bool engelsk = CurrentSystemData().Engelsk;
    const double left = print.Columns().empty() ? 0 : print.Columns().front().GetLeft();
    const auto text = [&](const QString& value, double x, double line) {
        print.AddBodyText(TPrintAlignment::Left, value, left + x, line);
    };
    const double from = Row;
    {
        // The team's line: its status in front when it has one.
        const TPrintFontScope restore(print.LineFont());
        print.LineFont().Style |= PrintFontStyle::Bold;
        text(QStringLiteral(" "), 0, Row);
        const QString status = StatusText(row);
        const QString navn = TeamName(row);
        text(status.isEmpty() ? navn : status + QStringLiteral("  ") + navn, 0, Row + 1);
    }
    for (int i = 1; i <= RelayEntries; ++i) {
        const double entry = Row + 2 + RowsPerEntry * (i - 1);
        const QString label =
            i <= 4 ? (engelsk ? QStringLiteral("Runner %1:") : QStringLiteral("Tur %1:")).arg(i)
                   : QStringLiteral("Reserve:");
        text(QStringLiteral(" "), 0, entry);
        text(label, 0, entry + 1);
        text(ShortDots, StartnummerLineX, entry + 1);
        text(LongDots, NavnLineX, entry + 1);
        {
            const TPrintFontScope restore(print.LineFont());
            print.LineFont().Style |= PrintFontStyle::Italic;
            print.LineFont().Size = std::max(6, print.LineFont().Size - 2);
            text(engelsk ? QStringLiteral("BibNo") : QStringLiteral("Startnr"), StartnummerCaptionX,
                 entry + 2);
            text(engelsk ? QStringLiteral("Name") : QStringLiteral("Navn"), NavnCaptionX, entry + 2);
        }
        text(QStringLiteral(" "), 0, entry + 3);
    }
    const double last = Row + 2 + RowsPerEntry * RelayEntries + BlankRowsAfterForm - 1;
    for (double blank = last - BlankRowsAfterForm + 1; blank <= last; ++blank)
        text(QStringLiteral(" "), 0, blank);
    print.AddBlock(from, last);
    Row = last + 1;
}
