#pragma once
// The second diploma style: one diploma laid out on a print engine and printed at once.
#include "storage/DBFieldDate.h"

#include <QString>
#include <QTime>

class TOvelseInfo;
class TPrint;

// What the second style prints of one result.
struct TDiplomStyle2 {
    QString Navn1;
    QString Navn2;
    QString OvelseText;
    double TopDistance = 0; // cm above the first name line
    QString TidText;
    QString SpeedText; // empty: no speed line
};

// The diploma of a result in the round `info` of the current meet: the time run in a fun run (finish
// minus the round's start) with the speed over the distance in the event text, else the mark; the wind
// when the round measures it. `nummer` is not used by this style.
TDiplomStyle2 DiplomStyle2(const TOvelseInfo& info, qint32 nummer, qint32 vind, qint32 resultat,
                           const QString& navn2, const QString& navn1);

// Lays the diploma out from body row `row` on (row ends after its last line), prints it with
// print.Print() and clears the body.
void PrintDiplomStyle2(TPrint& print, double& row, const TDiplomStyle2& diplom);
void PrintDiplomStyle2(TPrint& print, double& row, const TOvelseInfo& info, qint32 nummer, qint32 vind,
                       qint32 resultat, const QString& navn2, const QString& navn1);

// A fun run's time: the finish (hhmmss) as a time of day minus the start, across midnight when the
// finish is earlier; invalid for a finish that is no time of day.
QTime MotionsloebTid(qint32 resultat, TDateTime start);
// "Km/time: " and the speed with one decimal over the distance in the event text (its digits, "," and
// "." read as kilometres); empty when the speed rounds to 0.
QString MotionsloebSpeedText(const QTime& tid, const QString& ovelseText);
