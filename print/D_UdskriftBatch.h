#pragma once
// The event lists of the batch jobs, planned apart from any window: which rounds each set of pages holds,
// in what order and under which file-name suffix (every round, one set per class, one set per day), the
// pages of "/ONE_FILE" (one per event of a class, holding its rounds of the set), and a print job's run
// over them as HTML.
#include <QString>

#include <map>
#include <vector>

class TOvelseInfo;
class TOvelseManager;
class TResultatManager;
class TUdskrift;

struct TListePlanOptions {
    // One set per class, suffix "_" + class code.
    bool ByAgeGroup = false;
    // One set per date, suffix "_" + "yyyymmdd" (not with ByAgeGroup).
    bool ByDay = false;
    // Rounds in time order instead of programme order.
    bool OrderByTime = false;
    // With ByAgeGroup and not OrderByTime: a class's combined events first, then their disciplines in
    // order, then the class's other rounds in programme order.
    bool OrderByEventNo = false;
    // One page per event of a class (TOneFileNames).
    bool OneFile = false;
};

// The suffix of the set of rounds that have no date, under ByDay.
inline const QString UdateretSuffix = QStringLiteral("_00000000");

// One set of pages: the suffix of its page names and its rounds in order.
struct TListeSet {
    QString Suffix;
    std::vector<TOvelseInfo*> Rounds;
};

// A page of "/ONE_FILE": its name (no folder, no extension) and its rounds.
struct TListePage {
    QString Name;
    std::vector<TOvelseInfo*> Rounds;
};

// The sets of the meet's rounds as the options ask.
std::vector<TListeSet> PlanListeSets(const TOvelseManager& ovelser, const TListePlanOptions& options);
// "/REDID": every round in programme order ("_all"), then the rounds on a Friday ("_friday") and on a
// Saturday ("_saturday") in time order. A round without a date falls on no day.
std::vector<TListeSet> PlanRedidSets(const TOvelseManager& ovelser);

// The names of the "/ONE_FILE" pages of the meet: prefix, class code, "-", event code (Æ, Ø and Å as
// "ae", "oe" and "aa", lower case, characters a file name cannot hold as "_"), "-" and the number of the
// page's first round. Two events of the meet never share a name: should two give the same text, the one
// later in the programme's natural order (class code, event code) gets "_2" (then "_3", ...) after it.
class TOneFileNames {
public:
    TOneFileNames(const TOvelseManager& ovelser, const QString& prefix);
    // The page that begins at the round.
    QString Name(const TOvelseInfo& first) const;
    // The name's text for a class and an event, before it is made unique.
    static QString BaseName(const QString& prefix, const QString& klasse, const QString& ovelse);

private:
    QString prefix_;
    std::map<QString, QString> names_; // by class and event code
};

// The pages of a set: one per event of a class, at the event's first round in the set whatever its round
// number, holding every round of the set with that class and event; in the order of those first rounds.
std::vector<TListePage> PlanOneFilePages(const TListeSet& set, const TOneFileNames& names);

// The options of the batch jobs' print jobs: HTML only, the event heading in the body, no page breaks,
// rows of data from data, events without rows only with printEmpty, unseeded rounds in the start list.
void SetUpBatchHtml(TUdskrift& job, TResultatManager& data, bool printEmpty);

// Runs the job over each set as one list of pages with the set's suffix; with names, over each page of
// each set under its own name.
void RunListeSets(TUdskrift& job, const std::vector<TListeSet>& sets, const TOneFileNames* names = nullptr);
