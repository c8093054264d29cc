#pragma once
// The rules of the clubs dialog's participant grid, on the club a club manager has loaded: the rows a
// club shows, participant and entry fields as the grid shows and takes them, and the checks an entry
// passes before it is made, so that no entry is left without an event row of the meet or twice in one.
#include "model/D_DBDef.h"

#include <QString>

#include <vector>

class TKlubManager;
class TOvelseInfo;
class TOvelseManager;

// One row of a club's participants and entries: a participant's first entry shares the participant's
// row, each further entry has a row of its own without the participant.
struct TDeltagerRow {
    TDeltagerElement* Deltager = nullptr;
    TResultatElement* Resultat = nullptr;
    // The entry's round; null without an entry.
    TOvelseInfo* Info = nullptr;
};

// The loaded club's rows, the participants in the club manager's order: the results of each with its
// start number that belong to a round of the meet. A result shows once, also where two participants
// share its start number; a participant without any keeps a row.
std::vector<TDeltagerRow> DeltagerRows(TKlubManager& klubber, TOvelseManager& ovelser);

// Refuses a text the record files cannot hold as typed (a character outside Windows-1252), rather than
// storing it with '?' in its place.
void CheckStoredText(const QString& text);

// ---- Participants

// A typed start number: a whole number of at least 1, else a Danish message.
qint32 ParseStartnummer(const QString& text);
// The field's text as the grid shows it.
QString DeltagerText(const TDeltagerElement& deltager, int fieldNo);
// Navn, Aargang, Koen or DiplomStatus from a typed text; a number that is none, or too large for its
// field, is refused and changes nothing. The field's text afterwards.
QString SetDeltagerText(TDeltagerElement& deltager, int fieldNo, const QString& text);

// ---- Entries

// The event row of an entry's class and event; raises the event manager's error for a class, an event
// or a pair the meet does not have.
TOvelseRkElement& CheckEntry(TOvelseManager& ovelser, const QString& klasse, const QString& ovelse);
// Refuses a second entry (a result without a round letter) of the start number in the class and event,
// other than self.
void CheckSecondEntry(TKlubManager& klubber, qint32 startnummer, const QString& klasse, const QString& ovelse,
                      const TResultatElement* self);
// A new entry of the start number in the class and event, made only once both checks above passed.
TResultatElement& NewEntry(TKlubManager& klubber, TOvelseManager& ovelser, qint32 startnummer,
                           const QString& klasse, const QString& ovelse);
// The field's text as the grid shows it: the entry mark and the personal best formatted for the event
// (empty when none is stored), the class and event trimmed, the others as their field gives them.
QString EntryText(TOvelseManager& ovelser, const TResultatElement& resultat, int fieldNo);
// A field from a typed text: the class and event must be the meet's; the entry mark and the personal
// best are parsed by the event's result type. A bad text is refused and changes nothing. The text the
// grid shows afterwards.
QString SetEntryText(TOvelseManager& ovelser, TResultatElement& resultat, int fieldNo, const QString& text);
