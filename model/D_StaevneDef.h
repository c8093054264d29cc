#pragma once
// The meet wizard's finish as the model does it: the wizard collects its choices into a TStaevneDefValg
// and hands them over; the meet is created with its programme, clubs and settings, or the open meet's
// programme and settings are written, in one record-manager transaction: whole or not at all, also when
// the process is killed on the way.
#include "model/D_StaevneDefHold.h"
#include "storage/DBFieldDate.h"

#include <QString>

#include <optional>
#include <vector>

class TEditOvelsesRaekke;

struct TStaevneDefValg {
    QString Navn;        // the new meet's name, as typed; the open meet keeps its own
    QString Stadion;     // as typed; stored trimmed
    QString Arrangor;    // as typed; stored trimmed
    TDateTime Dato = 0;  // the meet's date with its start time
    QString Overskrift3; // "den " and the date, and " på " and the stadium when one is given
    // "Tomt stævne": the chosen standard classes (numbers in the standard class table) and the rows.
    std::vector<int> Klasser;
    const TEditOvelsesRaekke* Raekke = nullptr;
    // A team-league template instead: its page's choices.
    std::optional<THoldValg> Hold;
};

// Refuses a stadium or organiser with a character that the stored texts (Windows-1252) cannot hold, as
// the meet name is refused.
void CheckStaevneDefTekster(const TStaevneDefValg& valg);

// Creates the meet and opens it; returns its index. A refused name raises "Fejl ved oprettelse af
// stævne: " + the name + CR LF + why; any other failure raises its own message. Either way nothing of the
// meet is left and the meet that was open before is open again. A club that cannot be made is reported
// ("Kunne ikke oprette " + why) and the next one follows.
int UdfoerNytStaevne(const TStaevneDefValg& valg);
// Writes the open meet's programme (with the chosen classes), date, headings, stadium and organiser; its
// other settings stay. A failure raises and leaves the meet, in the files and in memory, as it was.
void UdfoerRetStaevne(const TStaevneDefValg& valg);
