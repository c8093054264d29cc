#pragma once
// Whether a list fits the page it is designed for: the texts of an engine's model that reach past the
// right margin of an A4 page in the layout's orientation, measured as the engine measures them, and the
// layout columns of a report section that do.
#include <QString>
#include <QStringList>

class TStdPrint;

// Each body or page-header text whose right edge lies past the right margin (or whose left edge lies
// left of the page), as "section row: text (right edge > width)". Texts placed at the margins, rules and
// empty texts are passed over; a text in a box ends with its box.
QStringList TextsPastRightMargin(const TStdPrint& print);

// The columns of a loaded layout that end past the right margin, as "Kol n: left + width > width".
QStringList ColumnsPastRightMargin(TStdPrint& print);
