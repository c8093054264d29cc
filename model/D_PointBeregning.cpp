#include "model/D_PointBeregning.h"

#include "model/D_PointBeregningData.h"
#include "model/D_Tekster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

struct PointBeregningChoice {
    PointBeregning kode;
    const char16_t* caption;
};

const std::array<PointBeregningChoice, PointBeregningCount> PointBeregningChoices = {{
    {PointBeregning::NaturligAldersgruppe, u"Naturlig aldersgruppe"},
    {PointBeregning::IaafMangekamp, u"IAAF mangekamp"},
    {PointBeregning::WmaMangekamp, u"WMA (veteran) mangekamp"},
    {PointBeregning::DafUngdom, u"DAF ungdomstabel"},
    {PointBeregning::Tabelopslag, u"Tabelopslag"},
    {PointBeregning::Placering1, u"Placering-1"},
    {PointBeregning::Placering2, u"Placering-2"},
    {PointBeregning::Placering3, u"Placering-3"},
    {PointBeregning::Placering4, u"Placering-4"},
    {PointBeregning::IaafBluePoints, u"IAAF blue points"},
}};

// Float noise must not move a product that is exact on paper across a whole hundredth or centimetre.
constexpr double Noise = 1e-7;

qint32 ClampToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (value <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(value);
}

// Points are whole and never negative; a formula that gives no number gives none.
int WholePoints(double points) {
    return points > 0 ? ClampToInt32(std::trunc(points)) : 0;
}

QString CleanCode(const QString& code) {
    return code.trimmed().toUpper();
}

// A time in hundredths; a hand time (tenths) gets its correction.
qint64 MarkHundredths(qint32 mark, int handCorrection) {
    return TidToHundredths(mark) + (mark < 0 ? handCorrection : 0);
}

template <typename Row>
const Row* FindEvent(const std::vector<Row>& rows, const QString& eventCode) {
    const QString code = CleanCode(eventCode);
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const Row& row) { return row.event == code; });
    return found == rows.end() ? nullptr : &*found;
}

// The combined-events row of an event code as typed ("C100" is the combined events' 100 m).
const MKFormula* FindMKFormula(bool female, const QString& eventCode, MKVariant variant) {
    QString code = CleanCode(eventCode);
    if (code.size() >= 3 && code.startsWith(u'C'))
        code.remove(0, 1);
    const auto& formulas = MKFormulas(female);
    const auto formula = std::find_if(formulas.begin(), formulas.end(), [&](const MKFormula& f) {
        return f.event == code && (f.variant == int(variant) || f.variant == int(MKVariant::Any));
    });
    return formula == formulas.end() ? nullptr : &*formula;
}

// The factor of an age (NoAge: 1); none where the row has none.
std::optional<double> MKFactor(const MKFormula& formula, int age) {
    if (age < 0)
        return 1.0;
    if (formula.factors.empty())
        return std::nullopt;
    return formula.factors.at((std::clamp(age, FirstFactorAge, LastFactorAge) - FirstFactorAge) /
                              MKFactorStep);
}

std::optional<double> AgeFactor(const AgeGrading& grading, int age) {
    if (age < 0)
        return 1.0;
    return grading.factors.at(std::clamp(age, FirstFactorAge, LastFactorAge) - FirstFactorAge);
}

// The youth row of the class's group and the event.
const YouthFormula* FindYouthFormula(const QString& klasseKode, const QString& eventCode) {
    const QString group = YouthGroup(klasseKode);
    const QString code = CleanCode(eventCode);
    const auto& formulas = YouthFormulas();
    const auto formula = std::find_if(formulas.begin(), formulas.end(), [&](const YouthFormula& f) {
        return f.group == group && f.event == code;
    });
    return group.isEmpty() || formula == formulas.end() ? nullptr : &*formula;
}

qint32 CalcAlderResBy(int table, bool female, const QString& eventCode, int age, qint32 mark) {
    const AgeGrading* grading = FindEvent(AgeGradings(table, female), eventCode);
    // No mark stays no mark: a hand-time correction must not turn it into a time.
    if (!grading || mark == 0)
        return 0;
    const std::optional<double> f = AgeFactor(*grading, age);
    if (!f)
        return 0;
    const double factor = *f;
    if (grading->kind == MarkKind::Time) {
        const double hundredths =
            std::ceil(double(MarkHundredths(mark, grading->handCorrection)) * factor - Noise);
        return ClampToInt32(double(HundredthsToTid(qint64(std::max(0.0, hundredths)))));
    }
    return ClampToInt32(std::trunc(double(mark) * factor + Noise));
}

} // namespace

int GetPointBeregningIndex(qint32 kode) {
    for (int i = 0; i < PointBeregningCount; ++i) {
        if (qint32(PointBeregningChoices[i].kode) == kode)
            return i;
    }
    return -1;
}

qint32 GetPointBeregningKode(int index) {
    return index >= 0 && index < PointBeregningCount ? qint32(PointBeregningChoices[index].kode) : -1;
}

QString GetPointBeregningText(int index) {
    return index >= 0 && index < PointBeregningCount
               ? QString::fromUtf16(PointBeregningChoices[index].caption)
               : QString();
}

int CalcMKPoint(bool female, const QString& eventCode, MKVariant variant, qint32 mark, int age) {
    if (mark == 0)
        return 0;
    const MKFormula* formula = FindMKFormula(female, eventCode, variant);
    const std::optional<double> f = formula ? MKFactor(*formula, age) : std::nullopt;
    if (!f)
        return 0;
    const double factor = *f;
    double base = 0;
    switch (formula->kind) {
    case MarkKind::Time: {
        // Seconds rounded up to hundredths; the packed digits read as stored, hours included.
        const double t =
            std::ceil(double(MarkHundredths(mark, formula->handCorrection)) * factor - Noise) / 100;
        base = formula->b - t;
        break;
    }
    case MarkKind::Centimetres:
        base = std::trunc(double(mark) * factor + Noise) - formula->b;
        break;
    case MarkKind::Metres:
        base = std::trunc(double(mark) * factor + Noise) / 100 - formula->b;
        break;
    }
    // At or below the formula's zero point the power has no meaning.
    if (!(base > 0))
        return 0;
    return WholePoints(formula->a * std::pow(base, formula->c));
}

bool HasMKPoint(bool female, const QString& eventCode, MKVariant variant, int age) {
    const MKFormula* formula = FindMKFormula(female, eventCode, variant);
    return formula && MKFactor(*formula, age).has_value();
}

bool HasAlderRes(int table, bool female, const QString& eventCode, int age) {
    const AgeGrading* grading = FindEvent(AgeGradings(table, female), eventCode);
    return grading && AgeFactor(*grading, age).has_value();
}

bool HasUngdomsPoint(const QString& klasseKode, const QString& eventCode) {
    return FindYouthFormula(klasseKode, eventCode) != nullptr;
}

qint32 CalcAlderRes(bool female, const QString& eventCode, int age, qint32 mark) {
    return CalcAlderResBy(1, female, eventCode, age, mark);
}

qint32 CalcAlderRes2(bool female, const QString& eventCode, int age, qint32 mark) {
    return CalcAlderResBy(2, female, eventCode, age, mark);
}

int CalcUngdomsPoint(const QString& klasseKode, const QString& eventCode, bool timed, qint32 mark) {
    const YouthFormula* formula = FindYouthFormula(klasseKode, eventCode);
    return formula ? CalcYouthFormula(*formula, timed, mark) : 0;
}

int CalcYouthFormula(const YouthFormula& formula, bool timed, qint32 mark) {
    double x = timed ? double(MarkHundredths(mark, formula.handCorrection)) / 100 : double(mark) / 100;
    const double a = formula.a;
    const double b = formula.b;
    // Only the branch of the parabola where a better mark scores more counts; a straight line has no
    // vertex to test.
    if (a != 0) {
        const double vertex = -b / (2 * a);
        const bool higherScores = timed ? a <= 0 : a > 0;
        if (higherScores ? x < vertex : x > vertex)
            x = 0;
    }
    if (!(x > 0))
        return 0;
    return WholePoints(a * x * x + b * x + formula.c);
}
