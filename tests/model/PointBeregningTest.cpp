#include "model/D_PointBeregning.h"
#include "model/D_PointBeregningData.h"

#include "support/Test.h"

#include <limits>

namespace {

constexpr bool W = true;
constexpr bool M = false;
constexpr qint32 Min = std::numeric_limits<qint32>::min();
constexpr qint32 Max = std::numeric_limits<qint32>::max();

} // namespace

// The published scoring-formula points, not figures of our own.
TEST(CalcMKPoint, PublishedPointsZeroPointsVariantsAndAgeFactors) {
    using enum MKVariant;
    const struct {
        bool female;
        const char* event;
        qint32 mark;
        int age;
        MKVariant variant;
        int points;
    } cases[] = {
        // clang-format off
        // The published points; the combined-events copy of the event and codes as typed.
        {M, "100", 1080, NoAge, Any, 906}, {M, "100", 1040, NoAge, Any, 999},
        {M, "100", 1039, NoAge, Any, 1001}, {M, "C100", 1080, NoAge, Any, 906},
        {M, " c100 ", 1080, NoAge, Any, 906}, {M, "LÆ", 776, NoAge, Any, 1000},
        {M, "KU", 1840, NoAge, Any, 1000}, {M, "400", 4617, NoAge, Any, 1000},
        {M, "110H", 1380, NoAge, Any, 1000}, {M, "DI", 5617, NoAge, Any, 1000},
        {M, "SP", 7719, NoAge, Any, 1000}, {M, "1500", 35379, NoAge, Any, 1000},
        {W, "100H", 1385, NoAge, Any, 1000}, {W, "KU", 1707, NoAge, Any, 1000},
        {W, "200", 2380, NoAge, Any, 1000}, {W, "SP", 5718, NoAge, Any, 1000},
        {W, "800", 20763, NoAge, Any, 1000}, {W, "HØ", 182, NoAge, Any, 1003},
        {W, "LÆ", 648, NoAge, Any, 1001}, {W, "CHØ", 182, NoAge, Any, 1003},
        // No mark, the zero point itself, slower (no power of a negative base), a hand time past it, a
        // negative distance, the extremes, no formula, the men's event only.
        {M, "100", 0, NoAge, Any, 0}, {M, "100", 0, 40, Any, 0}, {M, "100", 1800, NoAge, Any, 0},
        {M, "100", 2500, NoAge, Any, 0}, {M, "100", -180, NoAge, Any, 0}, {M, "LÆ", 220, NoAge, Any, 0},
        {M, "KU", -50, NoAge, Any, 0}, {M, "100", Min, NoAge, Any, 0}, {M, "LÆ", Max, NoAge, Any, Max},
        {M, "BO", 5000, NoAge, Any, 0}, {W, "110H", 1400, NoAge, Any, 0},
        // Times of an hour or more read as stored: 1:05:00.00 and 59:00.00.
        {M, "10000", 1050000, NoAge, Any, 27}, {M, "10000", 590000, NoAge, Any, 107},
        // The women's 80 m hurdles: the youth row has its own constants, the veteran one those of the
        // 100 m hurdles; a row for any variant serves every request.
        {W, "80H", 1200, NoAge, Youth, 871}, {W, "80H", 1200, NoAge, Veteran, 1280},
        {W, "80H", 1200, NoAge, YouthSecond, 1280}, {W, "80H", 1200, NoAge, Any, 0},
        {M, "100", 1080, NoAge, Veteran, 906},
        // Women's 100 m in 13.00: 0.981 from 40 to 44 makes it 12.76 (rounded up); below 35 and at 35
        // factor 1. Men's long jump 5.00 at 60 (1.3876), shot put 10.00 at 62 (1.2252); a woman's short
        // hurdles at 45 are the 80 m with 1.0971; no published factors: no points with an age.
        {W, "100", 1300, NoAge, Any, 769}, {W, "100", 1300, 40, Any, 812}, {W, "100", 1300, 44, Any, 812},
        {W, "100", 1300, 12, Any, 769}, {W, "100", 1300, 35, Any, 769}, {M, "LÆ", 500, 60, Any, 797},
        {M, "KU", 1000, 62, Any, 622}, {W, "80H", 1200, 45, Veteran, 1099}, {M, "3000", 90000, 40, Any, 0}
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(CalcMKPoint(c.female, QString::fromUtf8(c.event), c.variant, c.mark, c.age), c.points)
            << c.event << " " << c.mark << " age " << c.age;
    EXPECT_EQ(CalcMKPoint(M, "100", Any, -108, NoAge), CalcMKPoint(M, "100", Any, 1104, NoAge));
    EXPECT_EQ(CalcMKPoint(W, "100", Any, 1300, 120), CalcMKPoint(W, "100", Any, 1300, 100));
    EXPECT_GT(CalcMKPoint(M, "3000", Any, 90000, NoAge), 0);
}

TEST(CalcAlderRes, BothTablesTheProgramsOwnFactorsAndNoMark) {
    const struct {
        int table;
        bool female;
        const char* event;
        int age;
        qint32 mark, graded;
    } cases[] = {// clang-format off
        // Women's 100 m 12.50: 0.9545 at 40, 0.8551 at 50, 0.7744 at 60; rounded up.
        {1, W, "100", 40, 1250, 1194}, {1, W, "100", 50, 1250, 1069}, {1, W, "100", 60, 1250, 968},
        {1, W, "100", NoAge, 1250, 1250}, {1, W, "100", 25, 1250, 1250},
        // Men's javelin 50.00 m: 1.1283 at 40, 1.4804 at 60, truncated; shot put 12.00 m at 60.
        {1, M, "SP", 40, 5000, 5641}, {1, M, "SP", 60, 5000, 7402}, {1, M, "KU", 60, 1200, 1524},
        // 1500 m 5:00.00 at 60 (0.8043), packed again; a hand 12.5 is 12.74 before its factor.
        {1, M, "1500", 60, 50000, 40129}, {1, W, "100", 40, -125, 1217}, {1, W, "100", NoAge, -125, 1274},
        {2, W, "100", 40, 1250, 1227}, {2, M, "SP", 60, 5000, 6837},
        // No mark stays no mark, never a time made of the correction; no published factors.
        {1, W, "100", 40, 0, 0}, {2, M, "400", NoAge, 0, 0}, {1, M, "HØ", 100, 0, 0},
        {1, M, "1000ST", 40, 20000, 0}, {1, M, "800", 40, 20000, 0}, {1, W, "ST", 95, 150, 0}
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ((c.table == 1 ? CalcAlderRes : CalcAlderRes2)(c.female, c.event, c.age, c.mark), c.graded)
            << c.table << " " << c.event << " " << c.age;
    EXPECT_GT(CalcAlderRes(W, "ST", 90, 150), 150);
}

TEST(Ungdom, ClassGroupsOfTheYouthTablesAndTheirFormulas) {
    const std::pair<const char*, const char*> groups[] = {
        // clang-format off
        {"D4", "D4-D9"},    {"d9", "D4-D9"},    {"D10", "D10-D11"}, {" P13 ", "P12-P13"},
        {"P14", "P14-P15"}, {"D19", "D18-D19"}, {"D3", ""},         {"D20", ""},
        {"K", ""},          {"M40", ""},        {"D", ""},          {"DX", ""}, {"D1 2", ""}
    };
    // clang-format on
    for (const auto& [kode, group] : groups)
        EXPECT_EQ(YouthGroup(kode), group) << kode;
    // Nothing is published for them: no points.
    EXPECT_EQ(CalcUngdomsPoint("D8", "LÆ", false, 300), 0);

    // Distance: 100 x^2 - 200 x + 50 has its vertex at 1 m; only longer marks score, and no negative.
    const YouthFormula jump{"D10-D11", "LÆ", 0, 100, -200, 50};
    EXPECT_EQ(CalcYouthFormula(jump, false, 300), 350);
    EXPECT_EQ(CalcYouthFormula(jump, false, 50), 0);
    EXPECT_EQ(CalcYouthFormula(jump, false, 150), 0);
    // Time: 2 x^2 - 100 x + 1250 has its vertex at 25 s; only faster times score.
    const YouthFormula run{"P10-P11", "400", 0, 2, -100, 1250};
    EXPECT_EQ(CalcYouthFormula(run, true, 2000), 50);
    EXPECT_EQ(CalcYouthFormula(run, true, 3000), 0);
    // A hand time gets the row's correction: hand 7.0 is 7.24 s.
    const YouthFormula sprint{"P10-P11", "40", 24, -2, 0, 800};
    EXPECT_EQ(CalcYouthFormula(sprint, true, -70), 695);
    // A straight line has no vertex to test (no division by zero).
    const YouthFormula line{"D12-D13", "KU", 0, 0, 100, -200};
    EXPECT_EQ(CalcYouthFormula(line, false, 500), 300);
    EXPECT_EQ(CalcYouthFormula(line, false, 150), 0);
}

TEST(TPlaceringsPoint, ListsAndTheRepeatedLastValue) {
    // Items are trimmed; one that is no number counts 0; "*" repeats the value before it, also for place
    // 0; nothing after "*" counts.
    const struct {
        const char* list;
        int place, points;
    } cases[] = {{"10,8,6,5,4,3,2,1", 1, 10},
                 {"10,8,6,5,4,3,2,1", 8, 1},
                 {"10,8,6,5,4,3,2,1", 9, 0},
                 {"10,8,6,5,4,3,2,1", 0, 0},
                 {"5,3,*", 7, 3},
                 {"5,3,*", 0, 3},
                 {" 7 , x,2.5,,4,*,9", 1, 7},
                 {" 7 , x,2.5,,4,*,9", 2, 0},
                 {" 7 , x,2.5,,4,*,9", 3, 0},
                 {" 7 , x,2.5,,4,*,9", 6, 4},
                 {"*", 1, 0},
                 {"", 1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TPlaceringsPoint(c.list).GetPoint(c.place), c.points) << c.list << " " << c.place;
}

TEST(PointBeregning, ChoicePositionsAndCodesBothWays) {
    const qint32 codes[] = {6, 2, 4, 5, 3, 10, 11, 12, 14, 13};
    for (int i = 0; i < PointBeregningCount; ++i) {
        EXPECT_EQ(GetPointBeregningKode(i), codes[i]);
        EXPECT_EQ(GetPointBeregningIndex(codes[i]), i);
    }
    for (const qint32 kode : {-1, 0, 1, 7, 9, 15})
        EXPECT_EQ(GetPointBeregningIndex(kode), -1) << kode;
    EXPECT_EQ(GetPointBeregningKode(-1), -1);
    EXPECT_EQ(GetPointBeregningKode(10), -1);
}
