#pragma once
// What the settings window stores of the open meet, and the checks before it does: the settings block
// and the registry values, the rounds moved with the meet's date, the scoreboard server, the event codes
// of the DT half-point list and the meet's XML document.
#include "model/D_Staevne.h"

#include <QString>
#include <QStringList>

class TEditOvelsesRaekke;
class TOvelseManager;

struct TStaevneDataValg {
    // The meet's settings as the window leaves them (those it does not show as they were).
    TSystemData SystemData;
    TStaevneRegistry Registry;
    // "Åbn automatisk sidst valgte stævne": the open meet is the one the program opens at start.
    bool VaelgSidsteStaevne = false;
    QString ScoreboardServer;
    qint32 ScoreboardServerPort = 2010;
};

// Raises the first setting that cannot be stored: a text with a character outside Windows-1252, a
// place-points text that is no list of points, a negative count.
void CheckStaevneData(const TSystemData& data);
// A place-points text: whole points of 0 or more separated by ",", the last item "*" when the last
// points go on (such as "10,9,8,7,6,5,4,3,2,1,*"); empty for none. hvad names it in the message.
void CheckPlaceringsPoint(const QString& text, const QString& hvad);

// Stores the settings of the open meet. When the meet's date moves to another day, every round with a
// time moves the same number of days, in one transaction with the settings: both or neither. Then the
// registry values, the list printer made current and the meet opened again, so that everything is read
// anew. A failure raises and leaves the meet's settings, in the files and in memory, as they were.
void GemStaevneData(const TStaevneDataValg& valg);
// Whole days from one date-time's day to another's; 0 when either has no date.
int DageFlyttet(TDateTime fra, TDateTime til);
// Every round slot of the rows that has a time moves by the days.
void FlytRaekke(TEditOvelsesRaekke& raekke, int dage);

// The event codes of the meet's rounds in programme order, each once: the DT half-point list.
QStringList DTOvelseKoder(const TOvelseManager& ovelser);

// Writes the whole meet's XML document; returns where it went.
QString UploadStaevneXml();
