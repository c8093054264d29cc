#include "foundation/LxClass.h"

#include "support/Test.h"

#include <limits>

namespace {
class IntSortedList : public TSortedList<int> {
public:
    int Compare(const int& a, const int& b) const override { return a < b ? -1 : a > b ? 1 : 0; }
};

struct Line {
    int Row;
    QString Text;
};

// Owning items keyed by something else than themselves.
class Lines : public TSortedList<std::unique_ptr<Line>, int> {
public:
    int Compare(const int& a, const int& b) const override { return a - b; }
    int GetKey(const std::unique_ptr<Line>& item) const override { return item->Row; }
};

QList<int> Items(const IntSortedList& list) {
    return QList<int>(list.begin(), list.end());
}

QString Parsed(const QString& text) {
    TIntervalList list;
    list.SetAsText(text);
    return list.AsText();
}

QString ParseError(const QString& text) {
    return ErrorText([&] { Parsed(text); });
}
} // namespace

TEST(IntegerList, ReadingBeyondTheEndGrowsWithMinusOne) {
    TIntegerList list;
    EXPECT_EQ(list.Get(5), -1);
    EXPECT_EQ(list.Count(), 6);
    list.Put(8, 3);
    EXPECT_EQ(list.Count(), 9);
    EXPECT_EQ(list.Get(7), -1);
    EXPECT_THROW(list.Get(-1), EListError);
}

TEST(SortedList, KeepsOrderAndPlacesDuplicatesBeforeTheFirstEqualItem) {
    IntSortedList list;
    EXPECT_EQ(list.Add(5), 0);
    EXPECT_EQ(list.Add(1), 0);
    EXPECT_EQ(list.Add(3), 1);
    EXPECT_EQ(list.Add(3), -1);
    int index = -1;
    EXPECT_FALSE(list.Find(4, index));
    EXPECT_EQ(index, 2);
    list.Duplicates = true;
    for (int v : {3, 1, 3})
        list.Add(v);
    EXPECT_EQ(Items(list), QList<int>({1, 1, 3, 3, 3, 5}));
    EXPECT_TRUE(list.Find(3, index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(list.Add(3), 2);
    EXPECT_EQ(list.AddAt(0, 9), 0); // placed where told
    EXPECT_THROW(list.AddAt(9, 1), EListError);
}

TEST(SortedList, RefusedOwningItemStaysWithTheCaller) {
    Lines lines;
    lines.Add(std::make_unique<Line>(Line{4, "fire"}));
    lines.Add(std::make_unique<Line>(Line{2, "to"}));
    auto again = std::make_unique<Line>(Line{4, "igen"});
    EXPECT_EQ(lines.Add(std::move(again)), -1);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Text, "igen");
    int index = -1;
    ASSERT_TRUE(lines.Find(4, index));
    EXPECT_EQ(lines.Items(index)->Text, "fire");
    EXPECT_EQ(lines.Items(0)->Row, 2);
}

TEST(Intervals, MergeOverlappingAndTouching) {
    TIntervalList list;
    list.AddInterval(10, 12);
    list.AddInterval(1, 2);
    list.AddInterval(4, 4);
    EXPECT_EQ(list.AsText(), "1-2,4,10-12");
    list.AddInterval(3, 3); // touches both neighbours
    EXPECT_EQ(list.AsText(), "1-4,10-12");
    list.AddInterval(6, 1); // reversed: nothing
    list.AddInterval(0, 20);
    EXPECT_EQ(list.AsText(), "0-20");
    list.Clear();

    // Touching at the ends of the 32-bit range must not overflow.
    const qint32 max = std::numeric_limits<qint32>::max();
    const qint32 min = std::numeric_limits<qint32>::min();
    list.AddInterval(max, max);
    list.AddInterval(max - 1, max - 1);
    list.AddInterval(min, min);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetInterval(0).Low, min);
    EXPECT_EQ(list.GetInterval(1).Low, max - 1);
    EXPECT_EQ(list.GetInterval(1).High, max);
    EXPECT_THROW(list.GetInterval(2), EListError);
}

TEST(Intervals, TextReadsAndMerges) {
    EXPECT_EQ(Parsed("5,1-3,4"), "1-5");
    EXPECT_EQ(Parsed("1-3,5"), "1-3,5");
    EXPECT_EQ(Parsed("3-1"), "");
    EXPECT_EQ(Parsed(""), "");
    EXPECT_EQ(Parsed("1,"), "1");
    EXPECT_EQ(Parsed("2147483647"), "2147483647");
}

TEST(Intervals, BadTextsNameThePosition) {
    EXPECT_EQ(ParseError("1-"), "Ugyldigt talinterval i \"1-\" i position 3");
    EXPECT_EQ(ParseError("1 ,2"), "Ugyldigt talinterval i \"1 ,2\" i position 2");
    const struct {
        const char* text;
        int position;
    } cases[] = {{"-1", 1},   {",1", 1},          {"1--2", 3},           {"1-2-3", 4}, {"1,,2", 3},
                 {"1-,2", 3}, {"2147483648", 10}, {"1-21474836470", 13}, {"1;2", 2},   {"½", 1}};
    for (const auto& c : cases) {
        EXPECT_TRUE(ParseError(c.text).endsWith(QStringLiteral(" i position %1").arg(c.position))) << c.text;
    }
    // What was read before the error stays.
    TIntervalList list;
    EXPECT_THROW(list.SetAsText("4-6,1-2,x"), Exception);
    EXPECT_EQ(list.AsText(), "1-2,4-6");
}
