#pragma once
// The results-board file: a few text lines in the program folder, named "BOARD" and the board's digit,
// that tell a results board which rounds to show. The event editor writes it; the board, a program of its
// own on a screen in the stadium, reads it again whenever it changed.
//
// Lines: one holding "TIMER" anywhere; "PICTURE," followed by a picture file; any other line is a round
// key, its first 9 characters after leading blanks: the class code left-justified in 3 and the event code
// left-justified in 6. A key stands for every round of that class and event.
#include <QString>
#include <QStringList>

#include <vector>

class TOvelseInfo;
class TOvelseManager;

inline constexpr int BoardKeyLength = 9;

// The key of a class and an event code: each trimmed, padded with blanks or cut to 3 and 6 characters.
QString BoardKey(const QString& klasse, const QString& ovelse);
QString BoardKeyOf(const TOvelseInfo& info);

// What a board file asks for.
struct TBoardFil {
    // Each key once, upper-cased, in the order of its first line.
    QStringList Keys;
    bool Timer = false;
    // The picture files as the lines name them.
    QStringList Pictures;
};
TBoardFil ParseBoardFil(const QString& text);

// The board file of that name in the program folder: the file already there under the name in any
// letter case, else the name as given. Never the working folder.
QString BoardFilPath(const QString& name);
// "BOARD" and the board's number.
QString BoardFilNavn(int board);

// The rounds of the keys: per key in the given order, the meet's rounds with that key in time order;
// each round once. Keys that match no round add nothing.
std::vector<TOvelseInfo*> FindBoardOvelser(const TOvelseManager& ovelser, const QStringList& keys);

// Writes the board file of that name (the editor's "Board1" .. "Board5") with one key per round in the
// order given, lines ended by CR LF. It is written under a temporary name and renamed, so a board never
// reads half a file. Raises Exception when it cannot be written; an old file is then left as it was.
void WriteBoardFil(const QString& name, const std::vector<const TOvelseInfo*>& ovelser);
