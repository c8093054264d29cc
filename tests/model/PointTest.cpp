#include "model/D_Point.h"

#include "support/Test.h"

namespace {

// The keys in standings order, joined by ",".
QString Order(TPoints& points) {
    points.Sort();
    QStringList keys;
    for (int i = 0; i < points.Count(); ++i)
        keys << points.GetItem(i)->Key();
    return keys.join(u',');
}

} // namespace

TEST(Points, RankByTotalThenFirstsThenSecondsDownToEighths) {
    TPoints points;
    points.Add("ninth", "", "", 9, 10); // a ninth place is points only
    points.Add("seconds", "", "", 2, 5);
    points.Add("seconds", "", "", 2, 5);
    points.Add("first-ninth", "", "", 1, 8);
    points.Add("first-ninth", "", "", 9, 2);
    points.Add("eighth", "", "", 8, 10);
    points.Add("first-third", "", "", 1, 6);
    points.Add("first-third", "", "", 3, 4);
    points.Add("most", "", "", 5, 12);
    EXPECT_EQ(Order(points), "most,first-third,first-ninth,seconds,eighth,ninth");
    EXPECT_EQ(points.GetItem(2)->GetTotalPoint(), 10);
    EXPECT_EQ(points.GetItem(2)->CountPlacering(9), 0);

    TPoints large;
    for (const auto& [key, point] : {std::pair("minus2", -2.0),
                                     {"small", 999999.0},
                                     {"minus1", -1.0},
                                     {"large", 1234567.0},
                                     {"a", 0.1},
                                     {"a", 0.2},
                                     {"c", 0.3}})
        large.Add(key, "", "", 0, point);
    EXPECT_EQ(Order(large),
              "large,small,a,c,minus1,minus2"); // 0.1 + 0.2 ties with 0.3: ties keep their order
}

TEST(Points, AddAndMergeKeepTheFirstNameAndExtraText) {
    TPoints round1;
    round1.Add("12", "Aarhus 1900", "AAR", 1, 8);
    round1.Add("12", "Other name", "X", 3, 5);
    round1.Add("7", "Sparta", "", 2, 6);
    ASSERT_EQ(round1.Count(), 2);
    EXPECT_EQ(round1.GetItem(0)->Name() + round1.GetItem(0)->ExtraText(), "Aarhus 1900AAR");
    EXPECT_EQ(round1.IndexOf("07"), -1);
    EXPECT_EQ(round1.GetItem(0)->GetTotalPointText(), QStringLiteral("13p"));

    TPoints total;
    total.Add("7", "Sparta IF", "SPA", 1, 8);
    total.Merge(round1);
    ASSERT_EQ(total.Count(), 2);
    EXPECT_EQ(total.GetItem(0)->Name(), "Sparta IF");
    EXPECT_EQ(total.GetItem(0)->GetTotalPoint(), 14);
    EXPECT_EQ(total.GetItem(1)->GetReg(1).Placering, 3);
    total.Merge(total); // into itself: doubles, never runs on
    EXPECT_EQ(total.GetItem(1)->Count(), 4);
    EXPECT_EQ(total.GetItem(1)->GetTotalPoint(), 26);
}
