#pragma once
// Text, number and CSV routines and the command-line switches.
#include "foundation/Exception.h"

#include <QString>
#include <QStringList>

#include <string_view>

// Text, number and CSV routines shared by every part of the program. Positions are 1-based.

// A text that is no number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// ---- Text

// The line break of every message and text file the program writes.
inline const QString CrLf = QStringLiteral("\r\n");

// Removes every leading Ch; Ch = 0 removes every leading character up to and including the blank.
QString TrimLeftChar(const QString& text, QChar ch);
QString TrimRightChar(const QString& text, QChar ch);
// Leading and trailing blanks only (tabs stay).
QString TrimBlanks(const QString& text);
std::string_view TrimBlankBytes(std::string_view text);
// Cut to width or padded on the right with fill.
QString PadRightStr(const QString& text, int width, QChar fill, bool trimLeading);
// A longer text loses its leftmost characters; a shorter one is padded on the left with fill.
QString PadLeftStr(const QString& text, int width, QChar fill, bool trimTrailing);
QString LeftJustify(const QString& text, int width);
QString RightJustify(const QString& text, int width);
QString ZeroPad(const QString& text, int width);
QString CharStr(QChar ch, int count);
// The i-th character of fromChars becomes the i-th of toChars; characters with no counterpart stay.
QString TranslateChars(const QString& fromChars, const QString& toChars, const QString& text);
// Returns the text before the first separator and leaves the rest after it in text; without a
// separator returns all of text and empties it.
QString SplitFirst(QString& text, const QString& separator);
// Position of the last occurrence of sub, compared without regard to case; 0 when none.
int LastPos(const QString& sub, const QString& text);
// Calls line(view) for each line of the text (CRLF, LF or CR ending it), a final line end giving no
// empty line.
template <typename Line>
void ForEachTextLine(QStringView text, Line line) {
    // Lines end in LF (after a CR or not); a text without any LF has CRs alone.
    const QChar end = text.contains(u'\n') ? QChar(u'\n') : QChar(u'\r');
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype stop = text.indexOf(end, start);
        if (stop < 0)
            stop = text.size();
        QStringView one = text.sliced(start, stop - start);
        if (end == u'\n' && one.endsWith(u'\r'))
            one.chop(1);
        line(one);
        start = stop + 1;
    }
}
QStringList SplitTextLines(const QString& text);

// ---- Numbers

// The decimal separator the float-to-text routines put in place of ".": the system locale's at first
// use until set.
QChar GetDecimalSeparator();
void SetDecimalSeparator(QChar separator);

QString IntStr(qint64 n);
// The absolute value zero-padded on the left to width (longer texts lose leftmost digits); a negative
// value has "-" in place of the first padding zero.
QString IntToZeroStr(qint64 n, int width);
// Right-aligned with blanks to at least width.
QString IntToStrWidth(qint64 n, int width);
// Left-aligned with blanks, cut to width.
QString IntToStrLeft(qint64 n, int width);
// Fixed decimals, halves rounded away from zero.
QString FloatToStrDec(double x, int decimals);
QString FloatToZeroStr(double x, int width, int decimals);
// Right-aligned with blanks in width; a wider number loses its rightmost characters.
QString FloatToStrWidth(double x, int width, int decimals);
// Accepts "," as well as "." and the decimal separator as decimal point; raises EConvertError.
double CommaStrToFloat(const QString& text);
// The same; an empty text gives 0 and a bad text gives def.
double CommaStrToFloatDef(const QString& text, double def);

// ---- CSV

QString GetCSVSeparators();
void SetCSVSeparators(const QString& separators);
// Takes the next field off the front of line; 0 on success (line keeps the rest after the field's
// separator), else the position of the syntax error (line unchanged, field empty).
int ParseCSVField(QString& line, QString& field);
int NextCSVField(const QString& separators, QString& line, QString& field);

class TCSV {
public:
    explicit TCSV(QString line);
    // The next field; a malformed one raises "Fejl i CSV-felt: " with the unread rest.
    QString NextField();

    QString Line;
    QString Separators = QStringLiteral(",");
};

// ---- Command-line switches
//
// Arguments arrive one by one. A switch matches at the start of an argument, without regard to case,
// unless the argument goes on with a letter or "_" after a switch ending in one (so "/S" does not match
// "/SERVER"). The value is the rest of that argument, or a quoted value ("" standing for one quote);
// a switch with an empty value gives the switch text itself; a missing switch gives an empty text.

// The program's parameters joined, each preceded by one blank.
QString GetParamLine();
QString FindSwitchValue(const QString& switchText, const QStringList& arguments);
// The same over a joined line: blanks outside double quotes separate the arguments.
QString FindSwitchValue(const QString& switchText, const QString& commandLine);
QString GetSwitchValue(const QString& switchText);
// Present without a value.
bool HasSwitch(const QString& switchText);
bool HasSwitch(const QString& switchText, const QStringList& arguments);
