#include "print/D_UdskriftOversigt.h"
#include "print/D_Html.h"
#include "print/D_Print.h"

#include "foundation/LxDisk.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"

#include <cmath>

namespace {

// The header line under the column headings that leaves a gap above the rows.
constexpr double GapRow = 9000;
constexpr double GapSpace = 0.35; // cm
// The pages' tables are as wide as the page's other tables.
constexpr double TableWidth = 660; // px

QString CellDigit(TPrintAlignment alignment) {
    switch (alignment) {
    case TPrintAlignment::Right:
        return QStringLiteral("3");
    case TPrintAlignment::Center:
        return QStringLiteral("1");
    default:
        return QStringLiteral("6");
    }
}

QString HeadingClass(TPrintAlignment alignment) {
    switch (alignment) {
    case TPrintAlignment::Right:
        return QStringLiteral("or");
    case TPrintAlignment::Center:
        return QStringLiteral("oc");
    default:
        return QStringLiteral("ol");
    }
}

} // namespace

TOversigtUdskrift::TOversigtUdskrift(QObject* owner, const QString& section, const QString& pageName,
                                     const QString& title)
    : TStandingsJob(owner)
    , pageName_(pageName)
    , title_(title) {
    SkipGeneric = true;
    if (StaevneManager)
        Print().LoadLayout(section, StaevneManager->GetRptFileName());
    Print().AddHeaderText(TPrintAlignment::Left, QStringLiteral(" "), 0, GapRow);
    Print().GetLine(TPrintSection::Header, GapRow).SetSpaceBefore(GapSpace);
}

std::vector<TOvelseInfo*> TOversigtUdskrift::AllRounds() {
    std::vector<TOvelseInfo*> rounds;
    if (OvelseManager)
        for (const auto& entry : OvelseManager->KlasseIndex())
            rounds.push_back(entry.second);
    return rounds;
}

void TOversigtUdskrift::ForEachHeldRound(
    const std::vector<TOvelseInfo*>& rounds,
    const std::function<void(TOvelseInfo& info, TResultatManager& manager)>& round) {
    TResultatManager& manager = OtherRounds();
    for (TOvelseInfo* info : rounds) {
        if (!info || info->AntalDeltagere < 1)
            continue;
        manager.LoadOvelse(info);
        if (manager.HasResultat())
            round(*info, manager);
    }
    manager.Clear();
}

void TOversigtUdskrift::OpenHtml() {
    if (!StaevneManager)
        throw Exception(QStringLiteral("Programmeringsfejl: intet stævne at skrive siden til"));
    Html = std::make_unique<THtmlMaker>(
        PathJoin(StaevneManager->GetStaevneDir(), pageName_ + StaevneManager->GetHtmlExt()), title_, false);
}

void TOversigtUdskrift::BeginOutput() {
    if (OnlyHtml())
        OpenHtml();
    if (!WritesPageNow())
        return;
    TStdPrint& print = Print();
    const TColumnFieldList& columns = print.Columns();
    const double width = print.PrintableWidth();
    QString widths;
    QString headings = QStringLiteral("<tr>");
    for (std::size_t c = 0; c < columns.size(); ++c) {
        widths +=
            QStringLiteral("<col width=%1>").arg(std::lround(columns[c].GetWidth() / width * TableWidth));
        QStringList lines;
        for (const TFeltDef& def : print.FeltDefs())
            if (def.Column == static_cast<int>(c))
                for (const QString& line : SplitCommaText(def.Heading))
                    lines.append(HtmlEscape(line));
        headings += QStringLiteral("<td class=") + HeadingClass(columns[c].Alignment) + u'>' +
                    (lines.isEmpty() ? QStringLiteral("&nbsp;")
                                     : QStringLiteral("<i>") + lines.join(QStringLiteral("<br>")) +
                                           QStringLiteral("</i>"));
    }
    Html->WriteLn(QStringLiteral("<table class=rl cellpadding=0 cellspacing=2>"));
    Html->WriteLn(widths);
    Html->WriteLn(headings + QStringLiteral("</tr>"));
    Shade = false;
}

void TOversigtUdskrift::OutputRow(const QStringList& texts) {
    if (WantsPrint()) {
        for (int c = 0; c < texts.size(); ++c)
            if (!texts[c].isEmpty())
                Print().AddColumnText(c, texts[c], Row);
        Row += 1;
    } else if (WritesPageNow()) {
        const TColumnFieldList& columns = Print().Columns();
        Shade = !Shade;
        QString line = QStringLiteral("<tr valign=top>");
        for (int c = 0; c < texts.size(); ++c) {
            const TPrintAlignment alignment = static_cast<std::size_t>(c) < columns.size()
                                                  ? columns[static_cast<std::size_t>(c)].Alignment
                                                  : TPrintAlignment::Left;
            AppendHtmlCell(line, Shade ? u"ka" : u"ko", CellDigit(alignment), HtmlEscape(texts[c]));
        }
        Html->WriteLn(line + QStringLiteral("</tr>"));
    }
}

void TOversigtUdskrift::OutputBlankRow() {
    if (WantsPrint()) {
        Print().AddBodyText(TPrintAlignment::Left, QStringLiteral(" "), 0, Row);
        Row += 1;
    }
}

void TOversigtUdskrift::EndOutput() {
    if (WantsPrint()) {
        Print().Print();
        return;
    }
    if (WritesPageNow())
        Html->WriteLn(QStringLiteral("</table>"));
    if (OnlyHtml())
        CloseHtml();
}
