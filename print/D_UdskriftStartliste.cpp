#include "print/D_UdskriftStartliste.h"
#include "print/D_Html.h"
#include "print/D_Print.h"
#include "print/D_PrintTexts.h"

#include "foundation/LxString.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

namespace {

constexpr auto Body = TPrintSection::Body;

// Layout columns of the printed start list.
constexpr int StatusColumn = 0;
constexpr int HeatTidColumn = 1;
constexpr int HeatColumn = 2;
constexpr int BaneColumn = 3;
constexpr int StartnummerColumn = 4;
constexpr int NavnColumn = 5;
constexpr int PRColumn = 6;
constexpr int SeedningColumn = 7;

constexpr double HeatSpace = 0.5;  // cm above each heat after the first
constexpr double RelaySpace = 0.1; // cm above a relay team
// With ECup2007 the athlete takes this share of the name column, the clubs the rest.
constexpr double ECupNavnShare = 0.7;

const QString Nbsp = QStringLiteral("&nbsp;");

QString Mark(const TOvelseInfo& info, qint32 value) {
    return value == 0 ? QString() : FormatOvelseResultatNoWind(info, value);
}

// The letter of a seeding group: "A" for 1 .. "Z" for 26; none outside.
QString GroupLetter(qint32 group) {
    return group >= 1 && group <= 26 ? QString(QChar(u'A' + group - 1)) : QString();
}

QString Heading(TMeetText text, const QString& own) {
    return CurrentSystemData().Oversattelse ? HtmlEscape(MeetText(text)) : own;
}

} // namespace

TStartlisteUdskrift::TStartlisteUdskrift(QObject* owner)
    : TUdskrift(owner) {
    if (StaevneManager)
        Print().LoadLayout(QStringLiteral("Startliste"), StaevneManager->GetRptFileName());
    AddHeaderSpacer();
}

bool TStartlisteUdskrift::HasData() {
    if (!TUdskrift::HasData())
        return false;
    return ListUnseeded || IsCompletelySeeded();
}

void TStartlisteUdskrift::Prepare() {
    const bool anyHeat =
        std::any_of(Rows().begin(), Rows().end(), [](const TResultat* row) { return row->HasHeat(); });
    SortRows(anyHeat ? CompareByHeatBaneSide : CompareBySeedningRankNavn);
}

void TStartlisteUdskrift::OpenHtml() {
    const bool oversat = CurrentSystemData().Oversattelse;
    OpenStartlisteHtml(*this, QStringLiteral("startliste"),
                       oversat ? MeetText(TMeetText::TextStartliste) : QStringLiteral("STARTLISTER"));
}

void TStartlisteUdskrift::WriteOvelseHtml() {
    TUdskrift::WriteOvelseHtml();
    if (Html && Data && Data->OvelseInfo())
        WriteStartlisteHtmlTable(*this, IsCompletelySeeded());
}

int TStartlisteUdskrift::PrintNameColumn(const TResultat& row) {
    TStdPrint& print = Print();
    const TSystemData& data = CurrentSystemData();
    if (row.OvelseInfo && row.OvelseInfo->Ovelse().IsStafetOvelse()) {
        print.GetLine(Body, Row).SetSpaceBefore(RelaySpace);
        print.AddColumnText(NavnColumn, TeamName(row), Row);
        return PrintRelayMembers(row, NavnColumn);
    }
    if (data.ECup2007 && print.Columns().size() > static_cast<std::size_t>(NavnColumn)) {
        const TColumnField& column = print.Columns()[NavnColumn];
        const double navnWidth = column.GetWidth() * ECupNavnShare;
        print.AddField(Body, TPrintAlignment::Left, column.GetLeft(), Row, navnWidth, TFieldKind::Text,
                       row.GetNavnAargang());
        print.AddField(Body, TPrintAlignment::Left, column.GetLeft() + navnWidth, Row,
                       column.GetWidth() - navnWidth, TFieldKind::Text,
                       row.GetKlub() + QStringLiteral(" - ") + row.KlubAdresse5);
        return 0;
    }
    print.AddColumnText(NavnColumn, row.GetNavnAargangKlub(), Row);
    return 0;
}

void TStartlisteUdskrift::PrintOvelse() {
    TUdskrift::PrintOvelse();
    if (!Data || !Data->OvelseInfo())
        return;
    const TOvelseInfo& info = *Data->OvelseInfo();
    const TSystemData& data = CurrentSystemData();
    const bool relay = info.Ovelse().IsStafetOvelse();
    const int heats = HeatCount();
    TStdPrint& print = Print();
    TPrintFont& font = print.LineFont();
    double heatStart = SavedRow;
    bool first = true;
    qint32 heat = 0;
    for (const TResultat* row : Rows()) {
        if (first || row->Heat != heat) {
            if (!first) {
                print.AddBlock(heatStart, Row - 1);
                heatStart = Row;
                print.GetLine(Body, Row).SetSpaceBefore(HeatSpace);
            }
            first = false;
            heat = row->Heat;
            if (const QString tid = HeatStartText(heat, heats); !tid.isEmpty())
                print.AddColumnText(HeatTidColumn, tid, Row);
        }
        // A row that does not compete normally ends with the font as it was.
        const TPrintFontScope restore(font);
        if (const QString status = StatusText(*row); !status.isEmpty()) {
            font.Style |= PrintFontStyle::Bold;
            print.AddColumnText(StatusColumn, status, Row);
            font.Style &= static_cast<quint8>(~PrintFontStyle::Bold);
        }
        if (row->IsAfbud() || row->IsEjMoedt())
            font.Style |= PrintFontStyle::StrikeOut;
        if (row->HasHeat())
            print.AddColumnText(HeatColumn, info.GetHeatNavn(row->Heat), Row);
        if (row->Bane != 0)
            print.AddColumnText(BaneColumn, row->GetBaneSide(), Row);
        if (!relay)
            print.AddColumnText(StartnummerColumn, QString::number(row->Startnummer), Row);
        const int members = PrintNameColumn(*row);
        if (!data.Redid) {
            if (const QString pr = Mark(info, row->PR); !pr.isEmpty())
                print.AddColumnText(PRColumn, pr, Row);
            if (const QString seedning = Mark(info, row->Seedning); !seedning.isEmpty())
                print.AddColumnText(SeedningColumn, seedning, Row);
        }
        Row += 1 + members;
    }
    if (!first)
        print.AddBlock(heatStart, Row - 1);
}

// ---------------------------------------------------------------- HTML

void OpenStartlisteHtml(TUdskrift& job, const QString& fixedName, const QString& title) {
    job.OpenHtmlPage(fixedName, title);
}

void WriteStartlisteHtmlTable(TUdskrift& job, bool heatOrdered) {
    THtmlMaker& html = *job.Html;
    const TOvelseInfo& info = *job.Data->OvelseInfo();
    const TSystemData& data = CurrentSystemData();
    const bool relay = info.Ovelse().IsStafetOvelse();
    // By heat with Redid the lane stands in a cell of its own after an empty one.
    const bool laneCell = heatOrdered && data.Redid;
    const int cells = laneCell ? 8 : 7;
    if (!heatOrdered)
        job.SortRows(CompareBySeedningRankNavn);

    html.WriteLn(QStringLiteral("<table class=rl cellpadding=0 cellspacing=2>"));
    html.WriteLn(laneCell ? QStringLiteral("<col width=24><col width=24><col width=30><col width=60>"
                                           "<col width=74><col width=30><col width=238><col width=180>")
                          : QStringLiteral("<col width=24><col width=30><col width=84><col width=74>"
                                           "<col width=30><col width=238><col width=180>"));
    const auto right = [](const QString& text) {
        return QStringLiteral("<td class=or>") +
               (text.isEmpty() ? Nbsp : QStringLiteral("<i>") + text + QStringLiteral("</i>"));
    };
    const auto left = [](const QString& text) {
        return QStringLiteral("<td class=ol><i>") + text + QStringLiteral("</i>");
    };
    QString header = QStringLiteral("<tr>") + right(data.Redid ? QString() : QStringLiteral("#"));
    if (laneCell)
        header += right(data.Engelsk || data.Redid ? QStringLiteral("Lane") : QStringLiteral("Bane"));
    header += right(relay && data.Oversattelse ? QString() : Heading(TMeetText::TextStartNr, "Nr"));
    header += right(Heading(TMeetText::TextSeedning, QStringLiteral("Tilmeldt<br>resultat")));
    // With Redid the results are left out: the personal best's cell stays, empty.
    header += right(data.Redid ? QString() : Heading(TMeetText::TextPR, QStringLiteral("Person<br>bedste")));
    header += QStringLiteral("<td class=l2>&nbsp;") + left(Heading(TMeetText::TextNavn, "Navn")) +
              left(Heading(TMeetText::TextKlub, "Klub")) + QStringLiteral("</tr>");
    html.WriteLn(header);

    const int heats = job.HeatCount();
    const auto headingRow = [&](const QString& text) {
        html.WriteLn(QStringLiteral("<tr><td colspan=%1 class=l1>").arg(cells) + text +
                     QStringLiteral("</tr>"));
    };
    bool shade = false;
    bool first = true;
    qint32 heat = 0;
    int number = 0;
    for (const TResultat* row : job.Rows()) {
        if (heatOrdered && (first || row->Heat != heat)) {
            heat = row->Heat;
            if (heat == 0) {
                if (!data.UdeladRettelserFoerSeedning) {
                    headingRow(QStringLiteral("<b>&nbsp;") +
                               (data.Engelsk ? QString(40, u'-') : QStringLiteral("RETTELSER FØR SEEDNING")) +
                               QStringLiteral("</b>"));
                    shade = false;
                }
            } else if (heats >= 2) {
                QString text = QStringLiteral("<b>&nbsp;") + HtmlEscape(info.GetHeatAntalText(heat)) +
                               QStringLiteral("</b>");
                if (const QString tid = job.HeatStartText(heat, heats); !tid.isEmpty())
                    text += QStringLiteral("<b> - ") + tid + QStringLiteral("</b>");
                headingRow(text);
                shade = false;
            }
        }
        first = false;
        if (heatOrdered && !row->HasHeat() && data.UdeladRettelserFoerSeedning)
            continue;
        ++number;
        shade = !shade;
        const QStringView prefix = shade ? u"ka" : u"ko";
        QString line = QStringLiteral("<tr valign=top>");
        const auto cell = [&](char16_t digit, const QString& text) {
            const QChar c(digit);
            AppendHtmlCell(line, prefix, QStringView(&c, 1), text);
        };
        const QString bane = HtmlEscape(row->GetBaneSide());
        if (laneCell) {
            cell(u'1', {});
            cell(u'1', bane);
        } else {
            cell(u'1', heatOrdered ? bane : QString::number(number));
        }
        cell(u'2', relay ? QString() : QString::number(row->Startnummer));
        cell(u'3', data.Redid ? GroupLetter(row->SG) : HtmlEscape(Mark(info, row->Seedning)));
        const bool away = row->IsAfbud() || row->IsEjMoedt() || row->IsVenter();
        cell(u'4', HtmlEscape(away ? FormatResKode(row->RK) : data.Redid ? QString() : Mark(info, row->PR)));
        cell(u'5', {});
        if (relay) {
            cell(u'6', job.RelayMembersHtml(*row));
            cell(u'7', HtmlEscape(TUdskrift::TeamName(*row)));
        } else {
            cell(u'6', HtmlEscape(row->GetNavnAargang()));
            cell(u'7', HtmlEscape(row->GetKlub()));
        }
        html.WriteLn(line + QStringLiteral("</tr>"));
    }
    html.WriteLn(QStringLiteral("</table>"));
}
