#pragma once
// The standings that the result list appends and the standings jobs print: a combined event's standings
// after one discipline and over the events of a class, the overall club standings of a team competition
// as a printed grid of eight clubs across and as HTML sections, and the results board's template
// "klubstilling.xml".
#include "print/D_Udskrift.h"

#include <QString>
#include <QStringList>

#include <memory>

class TOvelseInfo;
class TResultatManager;

// A print job that can append standings.
class TStandingsJob : public TUdskrift {
public:
    explicit TStandingsJob(QObject* owner = nullptr);
    ~TStandingsJob() override;

    // ---- Options of the standings, set by the caller
    // Only the classes that match (empty: every class); with the meet setting OstHoldTurnering the age
    // digits of the codes are compared.
    QString KlasseFilter;
    // Follows "SAMLET STILLING - " in the printed heading.
    QString HeadingSuffix;
    // The printed club standings without their heading.
    bool NoHeading = false;
    // The HTML club standings also write the results board's template "klubstilling.xml".
    bool BoardFile = false;

    // Alternates the rows of the HTML tables ("ka"/"ko").
    bool Shade = false;

    // The standings load other rounds into a result manager of the job's own, made on first use and kept
    // for the run, never into the caller's: printing never drops the caller's unsaved rows.
    TResultatManager& OtherRounds();
    // The manager that knows the meet's clubs and rounds: Data, or the job's own without it.
    TResultatManager& Manager();

private:
    std::unique_ptr<TResultatManager> otherRounds_;
};

// The base of the jobs that print only standings: no event heading, a blank line under the column
// headings. Each job loads its own layout.
class TKlubstillingBase : public TStandingsJob {
public:
    explicit TKlubstillingBase(QObject* owner = nullptr);
};

// ---- The writers; each prints when print output is wanted, else writes HTML when that is asked for.
// The printed forms advance the job's Row.

// After a discipline of a combined event (not the combined event itself): the athletes' points so far,
// and the second model's when the meet counts it (D3TMangekamp).
void WriteCombinedStandingsAfterDiscipline(TStandingsJob& job);
// The points of every event of the round's class that has results (relays left out).
void WriteCombinedClassStandings(TStandingsJob& job, const TOvelseInfo& info);
// Team competitions only: the clubs in bands of eight with their totals, the points of the earlier round
// ("FØR") and of this meet ("NU"), every event's points, and the events still to come.
void PrintOverallClubStandings(TStandingsJob& job);
// Team competitions only: the total and the four event groups as HTML sections, and the board's template.
void WriteOverallClubStandingsHtml(TStandingsJob& job);
// One HTML section over the events of codes (the one empty code: every event); withRunde1 makes it the
// total section, with the earlier round's points.
void WriteClubStandingsHtmlSection(TStandingsJob& job, const QString& title, const QStringList& codes,
                                   bool withRunde1);
// "klubstilling.xml" in the meet's folder: the clubs best first as the board's text areas, each value a
// placeholder the board fills in, the class and the events held as the header.
void WriteClubStandingsXml(TStandingsJob& job);
bool MatchesClassFilter(const TStandingsJob& job, const QString& klasse);

// The event groups of the HTML club standings: their headings and event codes.
struct TStandingsGroup {
    QString Heading;
    QStringList Codes;
};
const std::vector<TStandingsGroup>& StandingsGroups();
