#pragma once
// The built-in tables behind the points formulas.
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The built-in tables of the points formulas, read once from the data files the build embeds
// (data/builtin/*.csv, derived from the published tables by scripts/derive-point-tables.py).

enum class MarkKind : int { Time = 1, Centimetres = 2, Metres = 3 };

constexpr int FirstFactorAge = 30;
constexpr int LastFactorAge = 100;
constexpr int MKFactorStep = 5;
constexpr int MKFactorCount = (LastFactorAge - FirstFactorAge) / MKFactorStep + 1;
constexpr int AgeFactorCount = LastFactorAge - FirstFactorAge + 1;

// One row of the combined-events formula; factors holds the ages 30, 35, ..., 100, or nothing for an event
// without published age factors.
struct MKFormula {
    QString event;
    double a = 0;
    double b = 0;
    double c = 0;
    MarkKind kind = MarkKind::Time;
    int handCorrection = 0;
    int variant = 0;
    std::vector<double> factors;
};

// One event of an age-grading table: a factor for every age 30..100 that has one.
struct AgeGrading {
    QString event;
    MarkKind kind = MarkKind::Time;
    int handCorrection = 0;
    std::vector<std::optional<double>> factors;
};

// Youth points of one event in one class group ("D4-D9", "P12-P13", ...).
struct YouthFormula {
    QString group;
    QString event;
    int handCorrection = 0;
    double a = 0;
    double b = 0;
    double c = 0;
};

// The youth class group of a class code: "D12" is in "D12-D13", "P5" in "P4-P9"; empty for other codes.
QString YouthGroup(const QString& klasseKode);

// The points of one youth row, as CalcUngdomsPoint gives them once it has found the row.
int CalcYouthFormula(const YouthFormula& formula, bool timed, qint32 mark);

const std::vector<MKFormula>& MKFormulas(bool female);
// table 1 or 2.
const std::vector<AgeGrading>& AgeGradings(int table, bool female);
const std::vector<YouthFormula>& YouthFormulas();
// The lines of the embedded files that could not be read (file, line number and text); none in a sound
// build.
const QStringList& BuiltinTableErrors();
