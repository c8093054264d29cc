#pragma once
// Attempt-series files: the attempts of a round as one line per athlete (start number, then the attempts,
// separated by ";" or ","), read into the loaded rows of that round. Vertical jumps are written with the
// usual O (cleared), X (failed) and - (passed).
#include <QString>
#include <QStringList>

class TOvelseInfo;
class TResultatManager;

// The attempts a file may give an athlete; more are not read.
constexpr int SerieFilForsog = 20;

// "EVENT-" class "-" event "-" round part ".CSV": the round part "-0" for the event's first round, else
// the round's letter.
QString ResultatSerieFilNavn(const TOvelseInfo& info);
// The file of the round in the folder of the meet setting CsvLoadFilePath.
QString ResultatSerieFilSti(const TOvelseInfo& info);

// Applies the file's lines to the manager's rows: each line to the row of its start number, a status
// code to the row's RK, any other field to that attempt. A vertical-jump field without a height (only
// O, X and -) takes the height of that attempt already in the row, else of the first row that has one.
// Lines of unknown start numbers are passed over. Raises "Findes ikke: " and the path when there is no
// file. Returns what the user must be told: attempts past the twentieth (not read), fields that are no
// attempt and heights that are not known, each naming the start number; empty when all was read.
QStringList ReadResultatSerieFil(TResultatManager& manager, const QString& path);
