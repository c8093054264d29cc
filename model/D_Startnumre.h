#pragma once
// Bib numbers given anew to every participant of the open meet from the meet's number ranges: the
// results follow their participant, relay member lists follow their members, and in a fun-run meet the
// participant's own club (numbered with its bib) follows as well. One transaction: the old numbers or the
// new ones, never a mix.
#include "foundation/LxClass.h"

#include <QString>

#include <vector>

// The numbers of a range list in turn: the first range's low end first; then one more while below the
// current range's high end, else the next range's low end; past the last range one more each time.
class TStartnummerRaekke {
public:
    // The ranges must hold at least one number.
    explicit TStartnummerRaekke(const TIntervalList& ranges);
    // The next number; raises when it would pass the largest number a bib can hold.
    qint32 Next();

private:
    const TIntervalList& ranges_;
    int range_ = 0;
    qint32 last_ = 0;
    bool started_ = false;
};

struct TStartnummerValg {
    // The individuals' ranges, such as "1-3,10-11".
    QString Startnumre;
    // The relay teams' ranges (teams are participants whose name ends in "%"); empty: the teams go on
    // from the individuals' numbers.
    QString StafetStartnumre;
    // A fun-run meet: every participant in bib order from Startnumre, relay teams too, and the club
    // numbered with a participant's bib takes its new bib as club number.
    bool Motionsloeb = false;
};

// An entry (a result record) whose start number no participant of the meet has.
struct TTilmeldingUdenDeltager {
    QString Klasse;
    QString Ovelse;
    qint32 Startnummer = 0;
};

struct TStartnummerRapport {
    // By class, event and round. They keep their numbers, and nobody is given one of those.
    std::vector<TTilmeldingUdenDeltager> UdenDeltager;
};

// What the user is told when the numbers are given: "Omfordeling af startnumre er nu færdig", then the
// entries left out (at most maxLines of them, and the number of the others).
QString StartnummerRapportText(const TStartnummerRapport& rapport, int maxLines);

// Whether the ranges text gives at least one number; a text that is no range list raises its message.
bool HarStartnumre(const QString& startnumre);

// Gives every participant of the open meet its new bib. Other meets: clubs by name, each club's
// individuals by name, then participants of no club; then the relay teams the same way from the relay
// ranges. Results, relay members and (fun-run) clubs, purchases and payments follow. An entry whose
// participant is gone is left out: it keeps its number, which the ranges pass over, so that it becomes
// nobody's; the report names it. Ranges that cannot give the numbers (none, from 0, the two lists
// overlapping or meeting as they run on, beyond the largest bib, or in a fun-run a club number that does
// not fit or is another club's) are refused with a message before anything is written; any failure
// leaves every number as it was.
TStartnummerRapport TildelStartnumre(const TStartnummerValg& valg);
