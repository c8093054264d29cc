#include "model/D_PointBeregning.h"
#include "model/D_PointBeregningData.h"

#include "support/Test.h"

#include <limits>

namespace {

constexpr bool Women = true;
constexpr bool Men = false;

int Mk(bool female, const char* event, qint32 mark, int age = NoAge, MKVariant variant = MKVariant::Any) {
    return CalcMKPoint(female, QString::fromUtf8(event), variant, mark, age);
}

} // namespace

// The published scoring-formula points, not figures of our own.
TEST(CalcMKPoint, PublishedPointsOfMenHundredMetres) {
    EXPECT_EQ(Mk(Men, "100", 1080), 906);
    EXPECT_EQ(Mk(Men, "100", 1040), 999);
    EXPECT_EQ(Mk(Men, "100", 1039), 1001);
    // The combined-events copy of the event, and codes as typed.
    EXPECT_EQ(Mk(Men, "C100", 1080), 906);
    EXPECT_EQ(Mk(Men, " c100 ", 1080), 906);
    // A hand 10.8 counts as 11.04.
    EXPECT_EQ(Mk(Men, "100", -108), Mk(Men, "100", 1104));
}

TEST(CalcMKPoint, PublishedThousandPointMarksOfDecathlonAndHeptathlon) {
    const struct {
        bool female;
        const char* event;
        qint32 mark;
        int points;
    } marks[] = {{Men, "LÆ", 776, 1000},     {Men, "KU", 1840, 1000},     {Men, "400", 4617, 1000},
                 {Men, "110H", 1380, 1000},  {Men, "DI", 5617, 1000},     {Men, "SP", 7719, 1000},
                 {Men, "1500", 35379, 1000}, {Women, "100H", 1385, 1000}, {Women, "KU", 1707, 1000},
                 {Women, "200", 2380, 1000}, {Women, "SP", 5718, 1000},   {Women, "800", 20763, 1000},
                 {Women, "HØ", 182, 1003},   {Women, "LÆ", 648, 1001},    {Women, "CHØ", 182, 1003}};
    for (const auto& m : marks)
        EXPECT_EQ(Mk(m.female, m.event, m.mark), m.points) << m.event << (m.female ? " women" : " men");
}

TEST(CalcMKPoint, NoMarkOrAMarkAtOrBeyondTheZeroPointScoresNothing) {
    EXPECT_EQ(Mk(Men, "100", 0), 0);
    EXPECT_EQ(Mk(Men, "100", 0, 40), 0);
    EXPECT_EQ(Mk(Men, "100", 1800), 0); // B itself
    EXPECT_EQ(Mk(Men, "100", 2500), 0); // slower than B: no power of a negative base
    EXPECT_EQ(Mk(Men, "100", -180), 0); // hand 18.0 plus its correction
    EXPECT_EQ(Mk(Men, "LÆ", 220), 0);
    EXPECT_EQ(Mk(Men, "LÆ", 100), 0);
    EXPECT_EQ(Mk(Men, "KU", -50), 0); // a negative distance
    EXPECT_EQ(Mk(Men, "100", std::numeric_limits<qint32>::min()), 0);
    EXPECT_EQ(Mk(Men, "LÆ", std::numeric_limits<qint32>::max()), std::numeric_limits<qint32>::max());
    EXPECT_EQ(Mk(Men, "BO", 5000), 0);     // no formula
    EXPECT_EQ(Mk(Women, "110H", 1400), 0); // the men's event only
}

TEST(CalcMKPoint, TimesOfAnHourOrMoreReadAsStored) {
    // 1:05:00.00 is 3900 s, within the men's 10000 m formula (zero at 4245 s).
    EXPECT_EQ(Mk(Men, "10000", 1050000), 27);
    EXPECT_EQ(Mk(Men, "10000", 590000), 107); // 59:00.00
}

TEST(CalcMKPoint, VariantsPickTheirOwnRow) {
    // Women's 80 m hurdles: the youth row has its own constants, the veteran one those of the 100 m hurdles.
    EXPECT_EQ(Mk(Women, "80H", 1200, NoAge, MKVariant::Youth), 871);
    EXPECT_EQ(Mk(Women, "80H", 1200, NoAge, MKVariant::Veteran), 1280);
    EXPECT_EQ(Mk(Women, "80H", 1200, NoAge, MKVariant::YouthSecond), 1280);
    EXPECT_EQ(Mk(Women, "80H", 1200, NoAge, MKVariant::Any), 0);
    // A row for any variant serves every request.
    EXPECT_EQ(Mk(Men, "100", 1080, NoAge, MKVariant::Veteran), 906);
}

TEST(CalcMKPoint, AgeFactorsOfTheFiveYearGroups) {
    // Women's 100 m in 13.00: 0.9548 from 40 to 44 makes it 12.42 (rounded up).
    EXPECT_EQ(Mk(Women, "100", 1300), 769);
    EXPECT_EQ(Mk(Women, "100", 1300, 40), 873);
    EXPECT_EQ(Mk(Women, "100", 1300, 44), 873);
    EXPECT_EQ(Mk(Women, "100", 1300, 30), 769);
    EXPECT_EQ(Mk(Women, "100", 1300, 12), 769); // clamped to 30
    EXPECT_EQ(Mk(Women, "100", 1300, 35), 769); // published 1 at 35
    EXPECT_EQ(Mk(Women, "100", 1300, 120), Mk(Women, "100", 1300, 100));
    // Men's long jump of 5.00 at 60 (published 1.3876): 693 cm; shot put of 10.00 at 62 (1.2252): 12.25 m.
    EXPECT_EQ(Mk(Men, "LÆ", 500), 382);
    EXPECT_EQ(Mk(Men, "LÆ", 500, 60), 797);
    EXPECT_EQ(Mk(Men, "KU", 1000, 62), 622);
    // Short hurdles of a woman of 45 are the 80 m: the veteran row with its factor 1.0971.
    EXPECT_EQ(Mk(Women, "80H", 1200, 45, MKVariant::Veteran), 1099);
    // An event without published age factors scores only without an age.
    EXPECT_GT(Mk(Men, "3000", 90000), 0);
    EXPECT_EQ(Mk(Men, "3000", 90000, 40), 0);
}

TEST(CalcAlderRes, FirstTableFactorsAtFortyAndSixtyAndTheProgramsOwnFigures) {
    // Women's 100 m 12.50: 0.9548 at 40 and 0.8844 at 50 (given), the published 0.7744 at 60; rounded up.
    EXPECT_EQ(CalcAlderRes(Women, "100", 40, 1250), 1194);
    EXPECT_EQ(CalcAlderRes(Women, "100", 50, 1250), 1106);
    EXPECT_EQ(CalcAlderRes(Women, "100", 60, 1250), 968);
    EXPECT_EQ(CalcAlderRes(Women, "100", NoAge, 1250), 1250);
    EXPECT_EQ(CalcAlderRes(Women, "100", 25, 1250), 1250);
    // Men's javelin 50.00 m: 1.0862 at 40, 1.4140 at 60 (given); truncated.
    EXPECT_EQ(CalcAlderRes(Men, "SP", 40, 5000), 5431);
    EXPECT_EQ(CalcAlderRes(Men, "SP", 60, 5000), 7070);
    // Men's shot put 12.00 m at 60: the published 1.2703.
    EXPECT_EQ(CalcAlderRes(Men, "KU", 60, 1200), 1524);
    // Men's 1500 m 5:00.00 at 60 (0.8043): 241.29 s, packed again.
    EXPECT_EQ(CalcAlderRes(Men, "1500", 60, 50000), 40129);
    // Women's 100 m hand 12.5: 12.74 with the correction, then 0.9548.
    EXPECT_EQ(CalcAlderRes(Women, "100", 40, -125), 1217);
    EXPECT_EQ(CalcAlderRes(Women, "100", NoAge, -125), 1274);
}

TEST(CalcAlderRes, SecondTableAndMarksWithoutAnAgeGradedMark) {
    // Women's 100 m 12.50 at 40 by the 2023 factor 0.981.
    EXPECT_EQ(CalcAlderRes2(Women, "100", 40, 1250), 1227);
    EXPECT_EQ(CalcAlderRes2(Men, "SP", 60, 5000), 6837);
    // No mark stays no mark, never a time made of the hand-time correction.
    for (int age : {NoAge, 30, 40, 100}) {
        EXPECT_EQ(CalcAlderRes(Women, "100", age, 0), 0) << age;
        EXPECT_EQ(CalcAlderRes2(Men, "400", age, 0), 0) << age;
        EXPECT_EQ(CalcAlderRes(Men, "HØ", age, 0), 0) << age;
    }
    EXPECT_EQ(CalcAlderRes(Men, "1000ST", 40, 20000), 0); // no published factors
    EXPECT_EQ(CalcAlderRes(Men, "800", 40, 20000), 0);
    // No published factor for a woman of 95 in the pole vault.
    EXPECT_EQ(CalcAlderRes(Women, "ST", 95, 150), 0);
    EXPECT_GT(CalcAlderRes(Women, "ST", 90, 150), 150);
}

TEST(Ungdom, ClassGroupsOfTheYouthTables) {
    const struct {
        const char* kode;
        const char* group;
    } cases[] = {{"D4", "D4-D9"},
                 {"D5", "D4-D9"},
                 {"d9", "D4-D9"},
                 {"D10", "D10-D11"},
                 {" P13 ", "P12-P13"},
                 {"P14", "P14-P15"},
                 {"D19", "D18-D19"},
                 {"D3", ""},
                 {"D20", ""},
                 {"D22", ""},
                 {"K", ""},
                 {"M40", ""},
                 {"D", ""},
                 {"DX", ""},
                 {"D1 2", ""},
                 {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(YouthGroup(c.kode), c.group) << c.kode;
    // Nothing is published for them: no points.
    EXPECT_EQ(CalcUngdomsPoint("D8", "LÆ", false, 300), 0);
    EXPECT_EQ(CalcUngdomsPoint("P12", "40", true, 700), 0);
}

TEST(Ungdom, TheScoringBranchOfTheParabolaAndStraightLines) {
    // Distance: 100 x^2 - 200 x + 50 has its vertex at 1 m; only longer marks score.
    const YouthFormula jump{"D10-D11", "LÆ", 0, 100, -200, 50};
    EXPECT_EQ(CalcYouthFormula(jump, false, 300), 350);
    EXPECT_EQ(CalcYouthFormula(jump, false, 50), 0);  // before the vertex: no points for the rising arm
    EXPECT_EQ(CalcYouthFormula(jump, false, 150), 0); // -25 points are none
    EXPECT_EQ(CalcYouthFormula(jump, false, 0), 0);
    // Time: 2 x^2 - 100 x + 1250 has its vertex at 25 s; only faster times score.
    const YouthFormula run{"P10-P11", "400", 0, 2, -100, 1250};
    EXPECT_EQ(CalcYouthFormula(run, true, 2000), 50);
    EXPECT_EQ(CalcYouthFormula(run, true, 3000), 0); // slower than the vertex, though the formula gives 50
    // A hand time gets the row's correction: hand 7.0 is 7.24 s.
    const YouthFormula sprint{"P10-P11", "40", 24, -2, 0, 800};
    EXPECT_EQ(CalcYouthFormula(sprint, true, 700), 702);
    EXPECT_EQ(CalcYouthFormula(sprint, true, -70), 695);
    EXPECT_EQ(CalcYouthFormula(sprint, true, 2100), 0);
    // A straight line has no vertex to test (no division by zero): every positive mark is on it.
    const YouthFormula line{"D12-D13", "KU", 0, 0, 100, -200};
    EXPECT_EQ(CalcYouthFormula(line, false, 500), 300);
    EXPECT_EQ(CalcYouthFormula(line, false, 150), 0);
    const YouthFormula falling{"D12-D13", "60", 0, 0, -50, 1000};
    EXPECT_EQ(CalcYouthFormula(falling, true, 900), 550);
}

TEST(TPlaceringsPoint, ListsAndTheRepeatedLastValue) {
    const TPlaceringsPoint dm("10,8,6,5,4,3,2,1");
    EXPECT_EQ(dm.GetPoint(1), 10);
    EXPECT_EQ(dm.GetPoint(8), 1);
    EXPECT_EQ(dm.GetPoint(9), 0);
    EXPECT_EQ(dm.GetPoint(0), 0);
    const TPlaceringsPoint repeating("5,3,*");
    EXPECT_EQ(repeating.GetPoint(1), 5);
    EXPECT_EQ(repeating.GetPoint(2), 3);
    EXPECT_EQ(repeating.GetPoint(7), 3);
    EXPECT_EQ(repeating.GetPoint(0), 3);
    // Items are trimmed; one that is no number counts 0; nothing after "*" counts.
    const TPlaceringsPoint odd(" 7 , x,2.5,,4,*,9");
    EXPECT_EQ(odd.GetPoint(1), 7);
    EXPECT_EQ(odd.GetPoint(2), 0);
    EXPECT_EQ(odd.GetPoint(3), 0);
    EXPECT_EQ(odd.GetPoint(4), 0);
    EXPECT_EQ(odd.GetPoint(6), 4);
    EXPECT_EQ(TPlaceringsPoint("*").GetPoint(1), 0);
    EXPECT_EQ(TPlaceringsPoint("").GetPoint(1), 0);
}

TEST(PointBeregning, ChoicePositionsAndCodesBothWays) {
    const qint32 codes[] = {6, 2, 4, 5, 3, 10, 11, 12, 14, 13};
    for (int i = 0; i < PointBeregningCount; ++i) {
        EXPECT_EQ(GetPointBeregningKode(i), codes[i]);
        EXPECT_EQ(GetPointBeregningIndex(codes[i]), i);
    }
    const int positions[] = {-1, -1, 1, 4, 2, 3, 0, -1, -1, -1, 5, 6, 7, 9, 8};
    for (qint32 kode = 0; kode <= 14; ++kode)
        EXPECT_EQ(GetPointBeregningIndex(kode), positions[kode]) << kode;
    EXPECT_EQ(GetPointBeregningIndex(15), -1);
    EXPECT_EQ(GetPointBeregningIndex(-1), -1);
    EXPECT_EQ(GetPointBeregningKode(-1), -1);
    EXPECT_EQ(GetPointBeregningKode(10), -1);
    EXPECT_EQ(GetPointBeregningText(0), "Naturlig aldersgruppe");
    EXPECT_EQ(GetPointBeregningText(2), "WMA (veteran) mangekamp");
    EXPECT_EQ(GetPointBeregningText(9), "IAAF blue points");
    EXPECT_EQ(GetPointBeregningText(10), "");
}
