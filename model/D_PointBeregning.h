#pragma once
// Points formulas: combined events, age factors, youth points and points-table files.
#include "foundation/Exception.h"

#include <QString>

#include <vector>

// Marks are passed as stored: times packed (hhmmsscc digits, negative = hand time in tenths), distances
// and heights in centimetres. Event codes are the catalogue's, compared trimmed and upper-cased.

// ---- Points methods of an event row

// The stored codes; the choice lists of the event and meet dialogs show them in their own order.
enum class PointBeregning : qint32 {
    IaafMangekamp = 2,
    Tabelopslag = 3,
    WmaMangekamp = 4,
    DafUngdom = 5,
    NaturligAldersgruppe = 6,
    Placering1 = 10,
    Placering2 = 11,
    Placering3 = 12,
    IaafBluePoints = 13,
    Placering4 = 14,
};
constexpr int PointBeregningCount = 10;

// The position of a method code in the choice lists; -1 for a code that has none.
int GetPointBeregningIndex(qint32 kode);
// The method code at a position; -1 out of range.
qint32 GetPointBeregningKode(int index);
// The caption at a position, "Naturlig aldersgruppe" first; empty out of range.
QString GetPointBeregningText(int index);

// ---- Combined-events formula and age grading

// The rows of an event: one for any use, or one per use (hurdles of other heights and spacings).
enum class MKVariant : int { Any = 0, Veteran = 1, Youth = 2, YouthSecond = 3 };
// The age argument that asks for no age factor.
constexpr int NoAge = -1;

// Points of the combined-events formula; with an age (clamped to 30..100) the mark is first scaled by the
// factor of its five-year group. 0 for no mark, an unknown event, an age without factor, or a mark no
// better than the formula's zero point.
int CalcMKPoint(bool female, const QString& eventCode, MKVariant variant, qint32 mark, int age);

// The age-graded mark by the first / second age table (ages clamped to 30..100, NoAge: factor 1); 0 for
// no mark, an unknown event or an age without factor. A hand time gets its correction first.
qint32 CalcAlderRes(bool female, const QString& eventCode, int age, qint32 mark);
qint32 CalcAlderRes2(bool female, const QString& eventCode, int age, qint32 mark);

// Whether the built-in tables can score the event at all: a combined-events row for the variant (with an
// age also its factors), an age-grading row with a factor for the age, a youth row of the class group.
// Where they cannot, the routines above give 0 for every mark.
bool HasMKPoint(bool female, const QString& eventCode, MKVariant variant, int age);
bool HasAlderRes(int table, bool female, const QString& eventCode, int age);
bool HasUngdomsPoint(const QString& klasseKode, const QString& eventCode);

// Youth points of the class group of klasseKode ("D12" is in "D12"-"D13"): a*x^2 + b*x + c with x the
// mark in seconds or metres, only on the side of the parabola's vertex where a better mark scores more.
int CalcUngdomsPoint(const QString& klasseKode, const QString& eventCode, bool timed, qint32 mark);

// ---- Points by place

// A comma list such as "10,8,6,5,4,3,2,1" gives the points of places 1, 2, ...; an item that is no number
// counts 0, and an item "*" ends the list and repeats its last value for every place after it.
class TPlaceringsPoint {
public:
    explicit TPlaceringsPoint(const QString& text);

    qint32 GetPoint(qint32 placering) const;

private:
    std::vector<qint32> points_;
    bool repeat_ = false;
};

// ---- Points tables read from files

struct TPointTabelData {
    qint32 Result = 0;
    qint32 Points = 0;
};

// A points table that cannot be read. The message, "Kan ikke indlæse pointtabel" with the file name in
// double quotes, is the one the user is shown.
class EPointTabelError : public Exception {
public:
    explicit EPointTabelError(const QString& fileName);
};

// Marks and their points in file order. Both loaders replace what the table held, read Windows-1252 text
// with any line ends, skip lines they cannot read, and keep only rows whose mark and points are both at
// least 1; a file that cannot be read raises EPointTabelError and leaves the table empty.
class TPointTabel {
public:
    // Fixed columns: characters 1-8 the mark, 9-13 the points; a line holding "ELTIDKORR:" gives EltidKorr.
    void LoadFromFile(const QString& fileName);
    // A comma list per line: "9999" heads the columns (the one whose text is eventCode is read; none:
    // the table stays empty), "9998" gives EltidKorr, any other first field is the points.
    void LoadFromCSV(const QString& fileName, const QString& eventCode);
    void Clear();
    // Every mark times 100 (a table written in whole seconds).
    void ScaleResults();
    // The points of a mark: an equal row's, the smaller of two rows' a mark lies strictly between, else 0.
    qint32 GetPoint(qint32 value) const;

    const std::vector<TPointTabelData>& Rows() const { return rows_; }

    // Hundredths added to hand times before a lookup.
    qint32 EltidKorr = 0;

private:
    void AddRow(qint32 result, qint32 points);

    std::vector<TPointTabelData> rows_;
};
