#include "print/D_UdskriftStilling.h"
#include "print/D_Html.h"
#include "print/D_Print.h"

#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Point.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

namespace {

constexpr auto Body = TPrintSection::Body;

// Printed combined-event tables: heading size and the space above it.
constexpr double DisciplineHeadingSize = 1.2;
constexpr double DisciplineHeadingSpace = 0.3; // cm
constexpr double StandingsHeadingSize = 1.3;
constexpr double ClassStandingsSpace = 0.5; // cm above the rule over the heading
// The printed club grid.
constexpr int ClubsPerBand = 8;
constexpr double ClubColumnX = 3.3; // cm, the first club's column
constexpr double ClubColumnWidth = 1.9;
constexpr double LabelWidth = 1.9;
constexpr double EventLabelWidth = 3.3;
constexpr double ClubHeadingSpace = 0.6;
constexpr double BandSpace = 0.5;
constexpr double FirstEventSpace = 0.25;
constexpr double EventGroupSpace = 0.12; // above every third event
constexpr double TotalSpace = 0.15;
constexpr double FoerSpace = 0.1;
constexpr double RemainingSpace = 1.0;
// Rows of a band below its row of club names.
constexpr int TotalRow = 2;
constexpr int FoerRow = 3;
constexpr int NuRow = 4;
constexpr int FirstEventRow = 5;

// Layout columns of the standings' rows.
constexpr int PlaceColumn = 0;
constexpr int TotalColumn = 3;
constexpr int NameColumn = 5;
constexpr int ClubColumn = 6;
constexpr int CountColumn = 7;

const QString Nbsp = QStringLiteral("&nbsp;");

QString Plural(const QString& word, int n, const QString& ending) {
    return QString::number(n) + u' ' + word + (n > 1 ? ending : QString());
}

bool IsTeamCompetition() {
    return (StaevneManager && StaevneManager->IsHoldTurnering()) || CurrentSystemData().OstHoldTurnering;
}

// The place of each competitor of a sorted list: its position for the first of equal totals, empty for
// the others.
QStringList Places(const TPoints& points) {
    QStringList places;
    double previous = 0;
    for (int i = 0; i < points.Count(); ++i) {
        const double total = points.GetItem(i)->GetTotalPoint();
        const bool equal = i > 0 && std::llround(total * 1000) == std::llround(previous * 1000);
        places.append(equal ? QString() : QString::number(i + 1));
        previous = total;
    }
    return places;
}

QString Cell(bool shade, int column, const QString& text) {
    QString cell;
    const QChar digit(u'0' + column);
    AppendHtmlCell(cell, shade ? u"ka" : u"ko", QStringView(&digit, 1), text);
    return cell;
}

// The rows of a standings table under its heading, printed or as HTML.
struct TStandingsTable {
    QString Heading;
    std::function<QString(const TPoint&)> Total;
    // The class standings: a rule over and under the heading, the events counted, a heading row in HTML.
    bool ClassStandings = false;
};

void PrintStandings(TStandingsJob& job, const TPoints& points, const TStandingsTable& table) {
    TStdPrint& print = job.Print();
    const double from = job.Row;
    if (table.ClassStandings) {
        print.GetLine(Body, job.Row).SetSpaceBefore(ClassStandingsSpace);
        print.AddBodyRule(RuleListHeading, job.Row);
        print.AddBodyHeading(table.Heading, job.Row + 1, StandingsHeadingSize);
        print.AddBodyRule(RuleListHeading, job.Row + 2);
        job.Row += 3;
    } else {
        print.GetLine(Body, job.Row).SetSpaceBefore(DisciplineHeadingSpace);
        print.AddBodyHeading(table.Heading, job.Row, DisciplineHeadingSize);
        job.Row += 1;
    }
    const QStringList places = Places(points);
    for (int i = 0; i < points.Count(); ++i) {
        const TPoint& point = *points.GetItem(i);
        print.AddColumnText(PlaceColumn, places[i], job.Row);
        print.AddColumnText(TotalColumn, table.Total(point), job.Row);
        print.AddColumnText(NameColumn, point.Name(), job.Row);
        print.AddColumnText(ClubColumn, point.ExtraText(), job.Row);
        if (table.ClassStandings)
            print.AddColumnText(CountColumn, QString::number(point.Count()), job.Row);
        job.Row += 1;
    }
    print.AddBlock(from, job.Row - 1);
}

void WriteStandingsHtml(TStandingsJob& job, const TPoints& points, const TStandingsTable& table) {
    THtmlMaker& html = *job.Html;
    WriteHtmlSectionTitle(html, table.ClassStandings ? QStringLiteral("l3") : QStringLiteral("l1"),
                          table.Heading);
    html.WriteLn(QStringLiteral("<table class=rl cellpadding=0 cellspacing=2>"));
    html.WriteLn(QStringLiteral("<col width=24><col width=30><col width=84><col width=24><col width=258>"
                                "<col width=180><col width=60><col width=40>"));
    if (table.ClassStandings)
        html.WriteLn(QStringLiteral("<tr><td colspan=2 class=ol><i>Placering</i><td class=or><i>Points</i>"
                                    "<td class=l2>&nbsp;<td class=ol><i>Navn</i><td class=ol><i>Klub</i>"
                                    "<td class=or><i>Øvelser</i></tr>"));
    const QStringList places = Places(points);
    job.Shade = true;
    for (int i = 0; i < points.Count(); ++i) {
        const TPoint& point = *points.GetItem(i);
        const bool shade = job.Shade;
        job.Shade = !job.Shade;
        html.WriteLn(QStringLiteral("<tr valign=top>") + Cell(shade, 1, places[i]) + Cell(shade, 2, {}) +
                     Cell(shade, 3, HtmlEscape(table.Total(point))) + Cell(shade, 5, {}) +
                     Cell(shade, 6, HtmlEscape(point.Name())) +
                     Cell(shade, 7, HtmlEscape(point.ExtraText())) +
                     Cell(shade, 8, table.ClassStandings ? QString::number(point.Count()) : QString()) +
                     Cell(shade, 9, {}) + QStringLiteral("</tr>"));
    }
    html.WriteLn(QStringLiteral("</table>"));
}

// Empty standings print and write nothing, heading included.
void OutputStandings(TStandingsJob& job, const TPoints& points, const TStandingsTable& table) {
    if (points.Count() == 0)
        return;
    if (job.WantsPrint())
        PrintStandings(job, points, table);
    else if (job.HtmlUdskrift && job.Html)
        WriteStandingsHtml(job, points, table);
}

QString FormatTotal(const TPoint& point) {
    return FormatPoint(point.GetTotalPoint());
}

// ---- The club standings

// A club's text by the key of its standings (the club number as text).
QString KlubTekst(TResultatManager& manager, const TPoint& point) {
    bool ok = false;
    const qint32 klubNr = point.Key().toInt(&ok);
    const QString tekst = ok ? manager.GetKlubTekst(klubNr) : QString();
    return tekst.isEmpty() ? point.Name() : tekst;
}

QString KlubNavn(TResultatManager& manager, const TPoint& point) {
    bool ok = false;
    const qint32 klubNr = point.Key().toInt(&ok);
    const QString navn = ok ? manager.GetKlubNavn(klubNr) : QString();
    return navn.isEmpty() ? point.Name() : navn;
}

// The club's points in one round; empty when it has none there.
QString RoundTotal(const TOvelseInfo& info, const QString& key) {
    const int index = info.Points().IndexOf(key);
    return index < 0 ? QString() : info.Points().GetItem(index)->GetTotalPointText();
}

QString ListTotal(const TPoints& points, const QString& key) {
    const int index = points.IndexOf(key);
    return index < 0 ? QString() : points.GetItem(index)->GetTotalPointText();
}

// The rounds of the meet in event-major order that pass the job's class filter.
std::vector<TOvelseInfo*> FilteredRounds(const TStandingsJob& job) {
    std::vector<TOvelseInfo*> rounds;
    if (!OvelseManager)
        return rounds;
    for (const auto& [key, info] : OvelseManager->OvelseIndex())
        if (MatchesClassFilter(job, info->GetKlasseKode()))
            rounds.push_back(info);
    return rounds;
}

// One band of up to eight clubs of the printed grid from body row `band` on; the number of events in
// which a club of the band has points.
int PrintClubBand(TStandingsJob& job, const std::vector<const TPoint*>& clubs, double band,
                  const std::vector<TOvelseInfo*>& rounds, const TPoints& runde1,
                  const TPoints& detteStaevne) {
    TStdPrint& print = job.Print();
    const TSystemData& data = CurrentSystemData();
    TPrintFont& font = print.LineFont();
    const int size = font.Size;
    const auto label = [&](const QString& text, double row, int fontSize) {
        const TPrintFontScope saved(font);
        font.Size = fontSize;
        print.AddField(Body, TPrintAlignment::Right, 0, row, LabelWidth, TFieldKind::Text, text);
    };
    const auto inColumn = [&](int k, const QString& text, double row) {
        print.AddField(Body, TPrintAlignment::Right, ClubColumnX + ClubColumnWidth * k, row, ClubColumnWidth,
                       TFieldKind::Text, text);
    };

    print.GetLine(Body, band).SetSpaceBefore(BandSpace);
    if (!data.ECup2007) {
        label(QStringLiteral("TOTAL"), band + TotalRow, size + 3);
        print.GetLine(Body, band + TotalRow).SetSpaceBefore(TotalSpace);
    }
    if (data.FlereRunder) {
        label(StaevneManager->GetFoerText(), band + FoerRow, size);
        label(StaevneManager->GetNuText(), band + NuRow, size);
        print.GetLine(Body, band + FoerRow).SetSpaceBefore(FoerSpace);
    }
    for (int k = 0; k < static_cast<int>(clubs.size()); ++k) {
        const TPoint& club = *clubs[static_cast<std::size_t>(k)];
        {
            const TPrintFontScope saved(font);
            font.Style |= PrintFontStyle::Bold;
            font.Size = size + 2;
            inColumn(k, KlubTekst(job.Manager(), club), band);
            font.Size = size + 3;
            inColumn(k, club.GetTotalPointText(), band + TotalRow);
        }
        if (data.FlereRunder) {
            inColumn(k, ListTotal(runde1, club.Key()), band + FoerRow);
            inColumn(k, ListTotal(detteStaevne, club.Key()), band + NuRow);
        }
    }

    const double firstEvent = band + FirstEventRow;
    print.GetLine(Body, firstEvent).SetSpaceBefore(FirstEventSpace);
    int withPoints = 0;
    int shown = 0;
    for (std::size_t i = 0; i < rounds.size(); ++i) {
        const TOvelseInfo& info = *rounds[i];
        if (info.Points().Count() == 0)
            continue;
        const double row = firstEvent + static_cast<double>(i);
        if (shown > 0 && shown % 3 == 0)
            print.GetLine(Body, row).SetSpaceBefore(EventGroupSpace);
        ++shown;
        print.AddField(Body, TPrintAlignment::Right, 0, row, EventLabelWidth, TFieldKind::Text,
                       info.Ovelse().GetTrimmedString(OvelseField::Korttekst));
        bool any = false;
        for (int k = 0; k < static_cast<int>(clubs.size()); ++k) {
            const QString total = RoundTotal(info, clubs[static_cast<std::size_t>(k)]->Key());
            if (total.isEmpty())
                continue;
            inColumn(k, total, row);
            any = true;
        }
        if (any)
            ++withPoints;
    }
    return withPoints;
}

QString RoundName(const TOvelseInfo& info) {
    const QString langtekst = info.Ovelse().GetTrimmedString(OvelseField::Langtekst);
    return langtekst.isEmpty() ? info.GetOvelseKode() : langtekst;
}

// The start of a band table of the HTML club standings: the widths and the clubs' names.
void WriteBandHead(THtmlMaker& html, TResultatManager& manager, const std::vector<const TPoint*>& clubs,
                   bool withNames) {
    html.WriteLn(QStringLiteral("<table class=ho1 cellpadding=0 cellspacing=2>"));
    QString widths = QStringLiteral("<col width=60>");
    for (int k = 0; k < ClubsPerBand; ++k)
        widths += QStringLiteral("<col width=100>");
    html.WriteLn(widths);
    if (!withNames)
        return;
    QString names = QStringLiteral("<tr><td class=ol>&nbsp;");
    for (int k = 0; k < ClubsPerBand; ++k)
        names += QStringLiteral("<td class=oc>") +
                 (k < static_cast<int>(clubs.size())
                      ? HtmlEscape(KlubTekst(manager, *clubs[static_cast<std::size_t>(k)]))
                      : Nbsp);
    html.WriteLn(names + QStringLiteral("</tr>"));
}

// A row of the band: a label and a text for each of its eight columns.
QString BandRow(const QString& labelCell, const std::vector<const TPoint*>& clubs, const QString& cellClass,
                const std::function<QString(const TPoint&)>& text) {
    QString row = QStringLiteral("<tr>") + labelCell;
    for (int k = 0; k < ClubsPerBand; ++k) {
        const QString value =
            k < static_cast<int>(clubs.size()) ? text(*clubs[static_cast<std::size_t>(k)]) : QString();
        row += QStringLiteral("<td class=") + cellClass + u'>' + (value.isEmpty() ? Nbsp : value);
    }
    return row + QStringLiteral("</tr>");
}

std::vector<std::vector<const TPoint*>> Bands(const TPoints& total) {
    std::vector<std::vector<const TPoint*>> bands;
    for (int i = 0; i < total.Count(); ++i) {
        if (i % ClubsPerBand == 0)
            bands.emplace_back();
        bands.back().push_back(total.GetItem(i));
    }
    return bands;
}

QString Bold(const QString& text) {
    return text.isEmpty() ? QString() : QStringLiteral("<b>") + text + QStringLiteral("</b>");
}

} // namespace

// ---------------------------------------------------------------- the jobs

TStandingsJob::TStandingsJob(QObject* owner)
    : TUdskrift(owner) {}

TStandingsJob::~TStandingsJob() = default;

TResultatManager& TStandingsJob::OtherRounds() {
    if (!otherRounds_)
        otherRounds_ = std::make_unique<TResultatManager>();
    return *otherRounds_;
}

TResultatManager& TStandingsJob::Manager() {
    return Data ? *Data : OtherRounds();
}

TKlubstillingBase::TKlubstillingBase(QObject* owner)
    : TStandingsJob(owner) {
    SkipGeneric = true;
    AddHeaderSpacer();
}

const std::vector<TStandingsGroup>& StandingsGroups() {
    static const std::vector<TStandingsGroup> groups = {
        {QStringLiteral("SPRINT"),
         {"40",   "60",   "80",   "100",  "200",  "300",  "400",  "40H",   "60H",   "80H",
          "100H", "110H", "200H", "400H", "4X40", "4X60", "4X80", "4X100", "4X400", "1000ST"}},
        {QStringLiteral("MELLEM- & LANGDISTANCE"),
         {"600", "800", "1000", "1500", "2000", "3000", "5000", "10000", "3000H", "4X800", "4X1500"}},
        {QStringLiteral("SPRING"), {"HØ", "ST", "LÆ", "TR"}},
        {QStringLiteral("KAST"), {"KU", "DI", "HA", "SP", "VÆ", "BO"}},
    };
    return groups;
}

bool MatchesClassFilter(const TStandingsJob& job, const QString& klasse) {
    const QString filter = TrimBlanks(job.KlasseFilter).toUpper();
    if (filter.isEmpty())
        return true;
    const QString kode = TrimBlanks(klasse).toUpper();
    if (CurrentSystemData().OstHoldTurnering)
        return kode.mid(1, 2) == filter.mid(1, 2);
    return kode == filter;
}

// ---------------------------------------------------------------- combined events

void WriteCombinedStandingsAfterDiscipline(TStandingsJob& job) {
    const TOvelseInfo* info = job.Data ? job.Data->OvelseInfo() : nullptr;
    if (!info || info->Ovelse().IsMangekampOvelse())
        return;
    const int n = info->GetMKOvelseNr();
    if (n <= 0)
        return;
    TPoints points;
    TPoints points3;
    bool hasPoint3 = false;
    for (TResultat* row : job.Rows()) {
        if (!row->IsValid())
            continue;
        const qint32 point3 = row->GetMKPoint3();
        hasPoint3 = hasPoint3 || point3 != 0;
        if (const double total = row->GetMKPoint(); total != 0)
            points.Add(row->GetNavnAargangKlub(), row->GetNavnAargang(), row->GetKlub(), 0, total);
        if (point3 != 0)
            points3.Add(row->GetNavnAargangKlub(), row->GetNavnAargang(), row->GetKlub(), 0, point3);
    }
    points.Sort();
    const TSystemData& data = CurrentSystemData();
    const bool daf = hasPoint3 && data.D3TMangekamp;
    QString heading = data.Engelsk
                          ? QStringLiteral("STANDINGS AFTER ") + Plural(QStringLiteral("EVENT"), n, "S")
                          : QStringLiteral("STILLING EFTER ") + Plural(QStringLiteral("ØVELSE"), n, "R");
    if (daf)
        heading += QStringLiteral(" - DEN RETFÆRDIGE MODEL");
    OutputStandings(job, points, {heading, FormatTotal});
    if (!daf)
        return;
    points3.Sort();
    OutputStandings(job, points3,
                    {QStringLiteral("STILLING EFTER ") + Plural(QStringLiteral("ØVELSE"), n, "R") +
                         QStringLiteral(" - DAF MODEL"),
                     FormatTotal});
}

void WriteCombinedClassStandings(TStandingsJob& job, const TOvelseInfo& info) {
    if (!OvelseManager)
        return;
    const QString klasse = info.GetKlasseKode();
    TResultatManager& manager = job.OtherRounds();
    TPoints points;
    int held = 0;
    for (const auto& [key, round] : OvelseManager->KlasseIndex()) {
        if (round->GetKlasseKode() != klasse || round->Ovelse().IsStafetOvelse() || round->AntalDeltagere < 1)
            continue;
        manager.LoadOvelse(round);
        if (!manager.HasResultat())
            continue;
        ++held;
        for (int i = 0; i < manager.Count(); ++i) {
            const TResultat& row = *manager.GetResultat(i);
            if (row.Point != 0)
                points.Add(row.GetNavnAargangKlub(), row.GetNavnAargang(), row.GetKlub(), 0, row.Point);
        }
    }
    manager.Clear();
    const TSystemData& data = CurrentSystemData();
    QString title = TrimBlanks(data.MangekampOverskrift);
    if (title.isEmpty())
        title = data.Engelsk ? QStringLiteral("AFTER ") + Plural(QStringLiteral("EVENT"), held, "S")
                             : QStringLiteral("MANGEKAMP: STILLING EFTER ") +
                                   Plural(QStringLiteral("ØVELSE"), held, "R");
    points.Sort();
    OutputStandings(job, points,
                    {info.GetKlasseText().toUpper() + QStringLiteral(" - ") + title,
                     [](const TPoint& p) { return FloatToStrDec(p.GetTotalPoint(), 0); }, true});
}

// ---------------------------------------------------------------- the club standings

void PrintOverallClubStandings(TStandingsJob& job) {
    if (!IsTeamCompetition())
        return;
    TStdPrint& print = job.Print();
    const TSystemData& data = CurrentSystemData();
    if (!job.NoHeading) {
        print.GetLine(Body, job.Row).SetSpaceBefore(ClubHeadingSpace);
        print.AddBodyRule(RuleListHeading, job.Row);
        QString heading = QStringLiteral("SAMLET STILLING");
        if (data.Engelsk)
            heading = QStringLiteral("OVERALL STANDINGS");
        else if (!job.HeadingSuffix.isEmpty())
            heading += QStringLiteral(" - ") + job.HeadingSuffix;
        print.AddBodyHeading(heading, job.Row + 1, StandingsHeadingSize);
        print.AddBodyRule(RuleListHeading, job.Row + 2);
        job.Row += 3;
    }

    const std::vector<TOvelseInfo*> rounds = FilteredRounds(job);
    TPoints total;
    TPoints detteStaevne;
    TPoints runde1;
    int held = 0;
    for (const TOvelseInfo* info : rounds) {
        total.Merge(info->Points());
        if (info->AntalAktiveDeltagere > 0)
            ++held;
    }
    if (!job.KlasseFilter.isEmpty() && !data.OstHoldTurnering && !rounds.empty())
        print.AddHeaderText(TPrintAlignment::Left,
                            rounds.front()->Klasse().GetTrimmedString(KlasseField::Korttekst), 0, 3);
    if (data.FlereRunder) {
        detteStaevne.Merge(total);
        job.Manager().LoadKlubPointRunde1(runde1);
        total.Merge(runde1);
        detteStaevne.Sort();
        runde1.Sort();
    }
    total.Sort();

    // Each band's events are numbered from its own first event row, after every row of the band above,
    // however many rounds the meet has.
    int done = 0;
    for (const std::vector<const TPoint*>& clubs : Bands(total)) {
        const double band = job.Row;
        done = std::max(done, PrintClubBand(job, clubs, band, rounds, runde1, detteStaevne));
        job.Row = band + FirstEventRow + static_cast<double>(rounds.size()) + 1;
        print.AddBlock(band, job.Row - 1);
    }

    if (done >= held)
        return;
    QStringList missing;
    std::set<QString> seen;
    for (const TOvelseInfo* info : rounds)
        if (info->Points().Count() == 0 && seen.insert(RoundName(*info)).second)
            missing.append(RoundName(*info));
    print.GetLine(Body, job.Row).SetSpaceBefore(RemainingSpace);
    {
        const TPrintFontScope saved(print.LineFont());
        print.LineFont().Style |= PrintFontStyle::Bold;
        print.AddBodyText(TPrintAlignment::Left,
                          data.Engelsk
                              ? QStringLiteral("EVENT %1  / %2").arg(done).arg(held)
                              : QStringLiteral("AFVIKLET ") + Plural(QStringLiteral("ØVELSE"), done, "R") +
                                    QStringLiteral(" UD AF %1").arg(held),
                          0, job.Row);
    }
    job.Row += 1;
    if (!missing.isEmpty()) {
        print.GetLine(Body, job.Row).SetSpaceBefore(FoerSpace);
        print.AddBodyText(
            TPrintAlignment::Left,
            (data.Engelsk ? QStringLiteral("REMAINING EVENTS: ") : QStringLiteral("MANGLER: ")) +
                missing.join(QStringLiteral(", ")),
            0, job.Row);
        job.Row += 1;
    }
}

void WriteOverallClubStandingsHtml(TStandingsJob& job) {
    if (!IsTeamCompetition() || !job.Html)
        return;
    const TSystemData& data = CurrentSystemData();
    const QStringList all{QString()};
    if (data.ECup2007) {
        WriteClubStandingsHtmlSection(
            job, data.Engelsk ? QStringLiteral("OVERALL STANDINGS") : QStringLiteral("STANDINGS"), all, true);
        return;
    }
    if (!data.UndladTotalStilling)
        WriteClubStandingsHtmlSection(job, QStringLiteral("SAMLET STILLING"), all, true);
    if (!data.UndladKategoriStilling)
        for (const TStandingsGroup& group : StandingsGroups())
            WriteClubStandingsHtmlSection(job, group.Heading, group.Codes, false);
    if (job.BoardFile)
        WriteClubStandingsXml(job);
}

void WriteClubStandingsHtmlSection(TStandingsJob& job, const QString& title, const QStringList& codes,
                                   bool withRunde1) {
    if (!job.Html)
        return;
    THtmlMaker& html = *job.Html;
    TResultatManager& manager = job.Manager();
    TPoints total;
    TPoints runde1;
    TPoints detteStaevne;
    const TSystemData& data = CurrentSystemData();
    const bool alle = codes.isEmpty() || codes.first().isEmpty();
    // The rounds of the section: of its events, and of the classes the job's filter lets through.
    const auto inSection = [&](const TOvelseInfo& info) {
        return (alle || codes.contains(info.GetOvelseKode())) &&
               MatchesClassFilter(job, info.GetKlasseKode());
    };
    if (job.KlasseFilter.isEmpty()) {
        manager.CalcKlubStilling(alle ? QStringList{QString()} : codes, withRunde1, total, &runde1,
                                 &detteStaevne);
    } else {
        for (const auto& entry : OvelseManager->OvelseIndex())
            if (inSection(*entry.second))
                total.Merge(entry.second->Points());
        if (withRunde1 && data.FlereRunder) {
            detteStaevne.Merge(total);
            manager.LoadKlubPointRunde1(runde1);
            total.Merge(runde1);
            runde1.Sort();
            detteStaevne.Sort();
        }
        total.Sort();
    }

    html.WriteLn(QStringLiteral("<table class=o cellpadding=0 cellspacing=0>"));
    html.WriteLn(QStringLiteral("<col width=460><col width=200>"));
    html.WriteLn(QStringLiteral("<tr><td class=l3><b>&nbsp;&nbsp;") + HtmlEscape(title) +
                 QStringLiteral("</b><td class=l3>&nbsp;</tr>"));
    html.WriteLn(QStringLiteral("</table>"));

    const auto totalOf = [](const TPoint& club) { return Bold(club.GetTotalPointText()); };
    for (const std::vector<const TPoint*>& clubs : Bands(total)) {
        WriteBandHead(html, manager, clubs, true);
        if (!withRunde1) {
            html.WriteLn(
                BandRow(QStringLiteral("<td class=l1>&nbsp;"), clubs, QStringLiteral("c1"), totalOf));
            html.WriteLn(QStringLiteral("</table>"));
            job.Shade = false;
            WriteBandHead(html, manager, clubs, false);
            for (const auto& entry : OvelseManager->OvelseIndex()) {
                const TOvelseInfo* info = entry.second;
                const QString ovelse = info->GetOvelseKode();
                if (!inSection(*info))
                    continue;
                job.Shade = !job.Shade;
                const QString prefix = job.Shade ? QStringLiteral("a") : QString();
                html.WriteLn(BandRow(QStringLiteral("<td class=") + prefix + QStringLiteral("l1>") +
                                         HtmlEscape(ovelse),
                                     clubs, prefix + QStringLiteral("c1"),
                                     [&](const TPoint& club) { return RoundTotal(*info, club.Key()); }));
            }
            html.WriteLn(QStringLiteral("</table>"));
            continue;
        }
        if (data.FlereRunder) {
            html.WriteLn(BandRow(QStringLiteral("<td class=l1>") + HtmlEscape(StaevneManager->GetFoerText()),
                                 clubs, QStringLiteral("c1"),
                                 [&](const TPoint& club) { return ListTotal(runde1, club.Key()); }));
            html.WriteLn(BandRow(QStringLiteral("<td class=l1>") + HtmlEscape(StaevneManager->GetNuText()),
                                 clubs, QStringLiteral("c1"),
                                 [&](const TPoint& club) { return ListTotal(detteStaevne, club.Key()); }));
        }
        html.WriteLn(BandRow(data.Engelsk ? QStringLiteral("<td class=l1>OVERALL")
                                          : QStringLiteral("<td class=l1>TOTAL"),
                             clubs, QStringLiteral("c1"), totalOf));
        html.WriteLn(QStringLiteral("</table>"));
    }
}

void WriteClubStandingsXml(TStandingsJob& job) {
    TResultatManager& manager = job.Manager();
    TPoints total;
    manager.CalcKlubStilling({QString()}, false, total, nullptr, nullptr);
    const TSystemData& data = CurrentSystemData();

    QString header = total.Klasse;
    const int held = total.AntalMedPoint;
    const int all = total.AntalIGruppe;
    if (held > 0 && held < all)
        header += QStringLiteral("  (%1 / %2)").arg(held).arg(all);
    else if (held == 0 && all > 0)
        header += QStringLiteral(" - %1 øvelser").arg(all);

    THtmlMaker xml(PathJoin(StaevneManager->GetStaevneDir(), QStringLiteral("klubstilling.xml")),
                   QStringLiteral("klubstilling"), true);
    xml.WriteLn(QStringLiteral("<Klubstilling>"));
    xml.Indent = 2;
    xml.WriteLn(QStringLiteral("<TextArea X=\"+DT-header-1+\" Y=\"+DT-header-2+\"  FontSize=\"+DT-font-1+\" "
                               "FontColor=\"+Color-3+\" Text=\"") +
                HtmlEscape(header) + QStringLiteral("\" />"));
    for (int i = 0; i < total.Count(); ++i) {
        const TPoint& club = *total.GetItem(i);
        const QString line = QString::number(i + 1);
        const QString points =
            data.DT ? FloatToStrDec(club.GetTotalPoint(), 1) + u'p' : FloatToStrDec(club.GetTotalPoint(), 0);
        xml.WriteLn(
            QStringLiteral("<TextArea X=\"+DT-col-1+\" Y=\"+DT-line-") + line +
            QStringLiteral("+\" FontSize=\"+DT-font-2+\" FontColor=\"+Color-3+\" Right =\"true\" Text=\"") +
            HtmlEscape(points) + QStringLiteral("\" />"));
        xml.WriteLn(QStringLiteral("<TextArea X=\"+DT-col-2+\" Y=\"+DT-line-") + line +
                    QStringLiteral("+\" FontSize=\"+DT-font-2+\" FontColor=\"+Color-3+\" Text=\"") +
                    HtmlEscape(KlubNavn(manager, club)) + QStringLiteral("\" />"));
    }
    xml.Indent = 0;
    xml.WriteLn(QStringLiteral("</Klubstilling>"));
    xml.Close();
}
