#include "print/D_UdskriftProgramliste.h"
#include "print/D_Print.h"
#include "print/D_PrintTexts.h"
#include "print/D_UdskriftStartliste.h"

#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

namespace {

constexpr auto Body = TPrintSection::Body;

// Layout columns of the printed programme.
constexpr int NummerColumn = 0;
constexpr int StartnummerColumn = 1;
constexpr int PRColumn = 2;
constexpr int SeedningColumn = 3;
constexpr int NavnColumn = 4;
constexpr int KlubColumn = 5;

constexpr double RelaySpace = 0.1; // cm above a relay team

QString Mark(const TOvelseInfo& info, qint32 value) {
    return value == 0 ? QString() : FormatOvelseResultatNoWind(info, value);
}

} // namespace

TProgramlisteUdskrift::TProgramlisteUdskrift(QObject* owner)
    : TUdskrift(owner) {
    if (StaevneManager)
        Print().LoadLayout(QStringLiteral("Program"), StaevneManager->GetRptFileName());
    AddHeaderSpacer();
}

void TProgramlisteUdskrift::Prepare() {
    SortRows(CompareBySeedningRankNavn);
}

void TProgramlisteUdskrift::OpenHtml() {
    const bool oversat = CurrentSystemData().Oversattelse;
    QString title = QStringLiteral("PROGRAM");
    if (oversat)
        title = HtmlFileName.isEmpty() ? MeetText(TMeetText::TextProgram) : QStringLiteral("ATHLETES");
    OpenStartlisteHtml(*this, QStringLiteral("program"), title);
}

void TProgramlisteUdskrift::WriteOvelseHtml() {
    TUdskrift::WriteOvelseHtml();
    if (Html && Data && Data->OvelseInfo())
        WriteStartlisteHtmlTable(*this, false);
}

void TProgramlisteUdskrift::PrintOvelse() {
    TUdskrift::PrintOvelse();
    if (!Data || !Data->OvelseInfo())
        return;
    const TOvelseInfo& info = *Data->OvelseInfo();
    const bool relay = info.Ovelse().IsStafetOvelse();
    TStdPrint& print = Print();
    int number = 0;
    for (const TResultat* row : Rows()) {
        print.AddColumnText(NummerColumn, QString::number(++number), Row);
        if (!relay)
            print.AddColumnText(StartnummerColumn, QString::number(row->Startnummer), Row);
        const bool status = row->IsAfbud() || row->IsEjMoedt() || row->IsVenter();
        if (const QString text = status ? FormatResKode(row->RK) : Mark(info, row->PR); !text.isEmpty())
            print.AddColumnText(PRColumn, text, Row);
        if (const QString seedning = Mark(info, row->Seedning); !seedning.isEmpty())
            print.AddColumnText(SeedningColumn, seedning, Row);
        print.AddColumnText(NavnColumn, relay ? TeamName(*row) : row->GetNavnAargang(), Row);
        int members = 0;
        if (relay) {
            print.GetLine(Body, Row).SetSpaceBefore(RelaySpace);
            members = PrintRelayMembers(*row, NavnColumn);
        } else if (!row->GetKlub().isEmpty()) {
            print.AddColumnText(KlubColumn, row->GetKlub(), Row);
        }
        Row += 1 + members;
    }
    if (Row > SavedRow)
        print.AddBlock(SavedRow, Row - 1);
}
