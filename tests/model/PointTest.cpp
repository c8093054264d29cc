#include "model/D_Point.h"

#include "support/QtPrinters.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

// The keys in standings order, joined by ",".
QString Order(const TPoints& points) {
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
    points.Sort();
    EXPECT_EQ(Order(points), "most,first-third,first-ninth,seconds,eighth,ninth");
    EXPECT_EQ(points.GetItem(2)->GetTotalPoint(), 10);
    EXPECT_EQ(points.GetItem(2)->CountPlacering(9), 0);
}

TEST(Points, RankLargeAndNegativeTotalsAndTotalsEqualToThousandths) {
    TPoints points;
    points.Add("minus2", "", "", 1, -2);
    points.Add("small", "", "", 0, 999999);
    points.Add("minus1", "", "", 0, -1);
    points.Add("large", "", "", 0, 1234567);
    points.Sort();
    EXPECT_EQ(Order(points), "large,small,minus1,minus2");

    TPoints close;
    close.Add("a", "", "", 0, 0.1);
    close.Add("a", "", "", 0, 0.2);
    close.Add("b", "", "", 1, 0.3);
    close.Add("c", "", "", 0, 0.3);
    close.Sort();
    EXPECT_EQ(Order(close), "b,a,c"); // 0.1 + 0.2 ties with 0.3; ties keep their order
}

TEST(Points, AddAndMergeKeepTheFirstNameAndExtraText) {
    TPoints round1;
    round1.Add("12", "Aarhus 1900", "AAR", 1, 8);
    round1.Add("12", "Other name", "X", 3, 5);
    round1.Add("7", "Sparta", "", 2, 6);
    ASSERT_EQ(round1.Count(), 2);
    EXPECT_EQ(round1.GetItem(0)->Name(), "Aarhus 1900");
    EXPECT_EQ(round1.GetItem(0)->ExtraText(), "AAR");
    EXPECT_EQ(round1.IndexOf("7"), 1);
    EXPECT_EQ(round1.IndexOf("07"), -1);
    EXPECT_EQ(round1.GetItem(2), nullptr);

    TPoints total;
    total.Add("7", "Sparta IF", "SPA", 1, 8);
    total.Merge(round1);
    ASSERT_EQ(total.Count(), 2);
    EXPECT_EQ(total.GetItem(0)->Name(), "Sparta IF");
    EXPECT_EQ(total.GetItem(0)->GetTotalPoint(), 14);
    EXPECT_EQ(total.GetItem(1)->Name(), "Aarhus 1900");
    EXPECT_EQ(total.GetItem(1)->GetReg(1).Placering, 3);

    total.Merge(total); // into itself: doubles, never runs on
    EXPECT_EQ(total.GetItem(1)->Count(), 4);
    EXPECT_EQ(total.GetItem(1)->GetTotalPoint(), 26);
}

TEST(Points, ClearForgetsCompetitorsAndTheGroup) {
    TPoints points;
    points.Add("1", "A", "", 1, 10.5);
    EXPECT_EQ(points.GetItem(0)->GetTotalPointText(), QStringLiteral("10½p"));
    points.AntalMedPoint = 2;
    points.AntalIGruppe = 3;
    points.Klasse = "M";
    points.Clear();
    EXPECT_EQ(points.Count() + points.AntalMedPoint + points.AntalIGruppe, 0);
    EXPECT_TRUE(points.Klasse.isEmpty());
}
