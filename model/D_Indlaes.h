#pragma once
// The registration imports of the main window: ".\Deltagere.csv", participants with their club, class,
// event and marks, and ".\tilmeldinger.csv", the entries of an outside registration with its relay
// teams. Both read into the open meet: clubs, participants and entries are made through the club
// manager, the event rows are looked up in the event manager.
#include <QByteArray>
#include <QString>
#include <QStringList>

inline constexpr char DeltagereFileName[] = "Deltagere.csv";
inline constexpr char TilmeldingerFileName[] = "tilmeldinger.csv";

// The first number a relay team of ".\tilmeldinger.csv" may get.
inline constexpr qint32 FirstStafetStartnummer = 2001;

// What an import did.
struct TIndlaesRapport {
    // One text per line that was not imported as it stands: its problem, ", line = " and the line's
    // number counted from 0.
    QStringList Problemer;
    int NyeKlubber = 0;
    int NyeDeltagere = 0;
    int NyeTilmeldinger = 0;
};

// The report as the user reads it: what was made, then the lines with a remark, at most maxLines of
// them and the number of the others.
QString IndlaesRapportText(const TIndlaesRapport& rapport, int maxLines);

// The lines of a registration file: UTF-8 when it begins with a byte-order mark or is valid UTF-8,
// else Windows-1252. A CR at the end of a line is no part of it.
QStringList ReadRegistrationLines(const QByteArray& bytes);
// The fields of a line, each trimmed: split on ";" when the line holds one outside quotes, else on ",".
// False, with the fields read so far, when a field is malformed (an unclosed quote).
bool SplitRegistrationFields(const QString& line, QStringList& fields);
// The event code of an event name of ".\Deltagere.csv" in any letter case; a name the table does not
// know is the code as it stands.
QString OvelseOfRegistrationName(const QString& name);
// The events whose marks are lengths and heights, entered as field-event marks rather than times.
bool IsFieldEventOvelse(const QString& ovelse);

// Read the lines into the open meet as one piece of work: every line is checked whole before anything
// of it is written, a line that fails is reported and left out, and the meet gets the rest of the file
// or, should the records not all be stored (or the program die on the way), nothing of it. Reading a
// file a second time adds nothing. Raise when no meet is open or the records could not be stored.
TIndlaesRapport ImportDeltagere(const QStringList& lines);
TIndlaesRapport ImportTilmeldinger(const QStringList& lines);
// The same for the file of that name in the program's folder, found in any letter case. A file that
// cannot be read raises before anything is imported.
TIndlaesRapport ImportDeltagereFile(const QString& name = QString::fromLatin1(DeltagereFileName));
TIndlaesRapport ImportTilmeldingerFile(const QString& name = QString::fromLatin1(TilmeldingerFileName));
