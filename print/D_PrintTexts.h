#pragma once
// The meet's words that page headers and footers use, printed and on web pages alike.
#include <QString>

// The meet's translated words (setting Oversattelse), by their position in its list.
enum class TMeetText : int {
    TextArrangor = 0,
    TextStartliste,
    TextResultatliste,
    TextNavn,
    TextKlub,
    TextKlasse,
    TextOvelse,
    TextStartNr,
    TextSeedning,
    TextDeltagere,
    TextStarter,
    TextIalt,
    TextKlubber,
    TextStarttid,
    TextKlubliste,
    TextKlokken,
    TextResultat,
    TextPlacering,
    TextPR,
    TextProgram
};

// The current meet's word; empty when its list is shorter.
QString MeetText(TMeetText text);

// The organiser line of page headers: the meet's own label and the organiser with Oversattelse, else
// "Arrangør: " and the organiser.
QString ArrangorText();
