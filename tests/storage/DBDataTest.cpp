#include "storage/DBData.h"

#include "support/Test.h"

#include "StorageTables.h"
#include "support/RecordedMessages.h"

#include <QRegularExpression>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

class TTestList : public TDataList {
public:
    using TDataList::TDataList;

protected:
    TElementPtr CreateElement() override { return MakeElement<TDataElement>(); }
};

// The test fields; the one key is the blank Klasse, so records come in the order they were written.
class DataListTest : public ::testing::Test {
protected:
    DataListTest() {
        CreateRecordFile(dir.filePath("TEST.ZU2"), 33, false, {{{31, 3}}}, true);
        table.Open();
        table.Add(5, "Anna", "");
        table.Add(-3, "Bo", "");
        table.Add(-10, "Carl", "");
        list.LoadFromTable();
        table.Log.clear();
    }

    QString Name(int pos) { return list.GetElement(pos)->GetField(3)->GetTrimmedString(); }
    QStringList Writes() const {
        return table.Log.filter(QRegularExpression("^Internal(Insert|Update|Delete)$"));
    }
    // A field of the record at position as the file holds it.
    QString Stored(quint32 position, int fieldNo = 3) {
        TTestBtvTable other(dir.path(), "TEST.ZU2");
        other.Open();
        other.GotoPosition(position);
        return other.GetField(fieldNo)->GetTrimmedString();
    }

    TRecordedMessages messages_;
    QTemporaryDir dir;
    TLoggedTable table{dir.path(), "TEST.ZU2"};
    TTestList list{table};
};

TEST_F(DataListTest, LoadChangeAddDeleteAndOneSaveAll) {
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(Name(2), "Carl");
    EXPECT_FALSE(list.IsModified());

    // A pending delete is a change too.
    list.GetElement(1)->DeleteRequested = true;
    EXPECT_TRUE(list.IsModified());
    list.GetElement(0)->GetField(3)->SetAsString("Anja");
    const int added = list.AddNew();
    EXPECT_EQ(list.GetCurrent(), list.GetRawElement(added));
    list.GetRawElement(added)->GetField(2)->SetAsInteger(8);
    list.GetRawElement(added)->GetField(3)->SetAsString("Dorte");
    // New, then deleted: never reaches the file.
    list.GetRawElement(list.AddNew())->DeleteRequested = true;

    EXPECT_TRUE(list.SaveAll());
    EXPECT_EQ(Writes(), QStringList({"InternalDelete", "InternalUpdate", "InternalInsert"}));
    EXPECT_TRUE(messages_.Shown().isEmpty());
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_FALSE(list.IsModified());
    EXPECT_EQ(table.GetRecordCount(), 3);
    const TDataElement* dorte = list.GetElement(2);
    EXPECT_FALSE(dorte->IsNew);
    EXPECT_EQ(Stored(dorte->Position), "Dorte");
    EXPECT_EQ(Stored(list.GetElement(0)->Position), "Anja");

    table.Log.clear();
    EXPECT_TRUE(list.SaveAll());
    EXPECT_TRUE(Writes().isEmpty());
}

TEST_F(DataListTest, AnInsertedRecordKeepsItsCreationStampWhenUpdated) {
    TDataElement* element = list.GetRawElement(list.AddNew());
    element->GetField(3)->SetAsString("Eva");
    ASSERT_TRUE(list.SaveAll());
    const QString created = element->GetField(0)->GetAsString();
    EXPECT_NE(created, "");
    EXPECT_FALSE(element->IsModified());

    element->GetField(3)->SetAsString("Eve");
    ASSERT_TRUE(list.SaveAll());
    EXPECT_EQ(Stored(element->Position, 0), created);
}

TEST_F(DataListTest, AFailingSaveIsShownAndLeftPending) {
    list.GetElement(0)->GetField(3)->SetAsString("Anja");
    list.GetElement(1)->DeleteRequested = true;
    table.FailOn = "InternalUpdate";
    EXPECT_FALSE(list.SaveAll());
    EXPECT_EQ(messages_.Shown(),
              QStringList{"Insert/update failed in table: TEST.ZU2, message: InternalUpdate failed"});
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_TRUE(list.GetElement(0)->IsModified());
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(Stored(list.GetElement(0)->Position), "Anna");

    list.GetElement(1)->DeleteRequested = true;
    table.FailOn = "InternalDelete";
    EXPECT_FALSE(list.SaveAll());
    EXPECT_EQ(messages_.Shown().last(), "Delete failed in table: TEST.ZU2, message: InternalDelete failed");
    EXPECT_TRUE(list.GetElement(1)->DeleteRequested);

    table.FailOn.clear();
    EXPECT_TRUE(list.SaveAll());
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(Stored(list.GetElement(0)->Position), "Anja");
}

TEST_F(DataListTest, IndexesOrderNegativeNumbersAndResortOnlyWhenAsked) {
    list.GetRawElement(list.AddNew())->GetField(2)->SetAsInteger(0);
    TDataListIndex* byNr = list.SetIndex({2});
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_TRUE(byNr->Dirty == false);
    QStringList order;
    for (int i = 0; i < list.GetCount(); ++i)
        order << list.GetElement(i)->GetField(2)->GetAsString();
    EXPECT_EQ(order, QStringList({"-10", "-3", "0", "5"}));

    TDataListIndex* byName = list.SetIndex({3, 4});
    EXPECT_EQ(list.SetIndex({3}), byName); // an index on more fields serves a prefix

    list.SetIndex({2});
    TDataElement* bo = list.GetElement(1);
    bo->GetField(3)->SetAsString("Bodil");
    EXPECT_FALSE(byNr->Dirty);
    EXPECT_TRUE(byName->Dirty);
    bo->GetField(2)->SetAsInteger(-20);
    EXPECT_TRUE(byNr->Dirty);
    EXPECT_EQ(list.GetElement(1), bo);
    list.Resort();
    EXPECT_EQ(list.GetCurrent(), bo);
    EXPECT_EQ(list.GetCurrentPos(), 0);
    EXPECT_FALSE(byName->Dirty);
}

// Names in Danish order: Æ, Ø and Å after Z, "Aa" as Å, case ignored.
TEST_F(DataListTest, AnIndexOnANameKeepsDanishOrder) {
    list.GetElement(0)->GetField(3)->SetAsString("Øjvind");
    list.GetElement(1)->GetField(3)->SetAsString("Aase");
    list.GetElement(2)->GetField(3)->SetAsString("zenia");
    list.GetRawElement(list.AddNew())->GetField(3)->SetAsString("Bo");
    list.SetIndex({3});
    QStringList order;
    for (int i = 0; i < list.GetCount(); ++i)
        order << list.GetElement(i)->GetField(3)->GetTrimmedString();
    EXPECT_EQ(order, QStringList({"Bo", "zenia", "Øjvind", "Aase"}));
}

TEST_F(DataListTest, LocateAndPositions) {
    list.GetElement(2)->GetField(3)->SetAsString("Ab");
    int pos = 0;
    EXPECT_TRUE(list.Locate({3}, {" Ab "}, pos));
    EXPECT_EQ(pos, 2);
    EXPECT_FALSE(list.Locate({3}, {"ab"}, pos));
    EXPECT_EQ(pos, -1);

    list.SetIndex({3});
    EXPECT_EQ(list.IndexOf(list.GetRawElement(2)), 0);
    EXPECT_EQ(list.GetCurrent(), list.GetRawElement(2));

    EXPECT_EQ(ErrorText([&] { list.GetElement(-1); }),
              "File: " + dir.path() + "\r\nObject: TDataList\r\nIndex -1 skal være mellem 0 og 2");
}

// The codes are compared trimmed and upper-cased, the first in the current order wins, and the map
// follows additions, changed codes, a new order and deletions.
TEST_F(DataListTest, CodeLookupsFollowTheListAsItChanges) {
    list.GetElement(0)->GetField(4)->SetAsString("m");
    list.GetElement(1)->GetField(4)->SetAsString(" K ");
    list.GetElement(2)->GetField(4)->SetAsString("M");
    int pos = 7;
    EXPECT_EQ(list.FindCodes({4}, {"M "}, &pos), list.GetRawElement(0));
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(list.GetCurrent(), list.GetRawElement(0));
    EXPECT_EQ(list.FindCodes({4}, {"k"}), list.GetRawElement(1));
    EXPECT_EQ(list.FindCodes({4, 3}, {"m", " carl"}, &pos), list.GetRawElement(2));
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(list.FindCodes({4}, {"X"}, &pos), nullptr);
    EXPECT_EQ(pos, -1);

    // An added element comes last; a changed code is found under its new code only.
    TDataElement* added = list.GetRawElement(list.AddNew());
    added->GetField(4)->SetAsString("x");
    EXPECT_EQ(list.FindCodes({4}, {"X"}), added);
    list.GetRawElement(0)->GetField(4)->SetAsString("P");
    EXPECT_EQ(list.FindCodes({4}, {"m"}), list.GetRawElement(2));
    EXPECT_EQ(list.FindCodes({4}, {"p"}), list.GetRawElement(0));
    list.GetRawElement(0)->GetField(4)->SetAsString("M");
    EXPECT_EQ(list.FindCodes({4}, {"m"}), list.GetRawElement(0));

    // In the order of an index: Carl (-10) before Anna (5); positions in that order.
    list.SetIndex({2});
    EXPECT_EQ(list.FindCodes({4}, {"M"}, &pos), list.GetRawElement(2));
    EXPECT_EQ(pos, 0);

    // Gone with a save: the next of the code is found.
    list.GetRawElement(2)->DeleteRequested = true;
    EXPECT_TRUE(list.SaveAll());
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.FindCodes({4}, {"M"})->GetField(3)->GetTrimmedString(), "Anna");
    list.LoadFromTable();
    EXPECT_EQ(list.FindCodes({4}, {"X"})->GetField(3)->GetTrimmedString(), "");
    EXPECT_EQ(list.FindCodes({4}, {"K"})->GetField(3)->GetTrimmedString(), "Bo");
}

// However many go in one save, the rest keep their order, positions and indexes.
TEST_F(DataListTest, ASaveThatDeletesManyKeepsTheRestInOrder) {
    for (int nr = 1; nr <= 20; ++nr)
        list.GetRawElement(list.AddNew())->GetField(2)->SetAsInteger(100 + nr);
    TDataListIndex* byNr = list.SetIndex({2});
    TDataElement* kept = list.GetRawElement(11);
    list.GetElement(list.IndexOf(kept));
    for (int raw = 0; raw < list.GetCount(); raw += 2)
        list.GetRawElement(raw)->DeleteRequested = true;
    EXPECT_TRUE(list.SaveAll());
    ASSERT_EQ(list.GetCount(), 11);
    EXPECT_EQ(list.GetCurrent(), kept);
    QStringList order;
    for (int pos = 0; pos < list.GetCount(); ++pos)
        order << list.GetElement(pos)->GetField(2)->GetAsString();
    EXPECT_EQ(order,
              QStringList({"-3", "101", "103", "105", "107", "109", "111", "113", "115", "117", "119"}));
    EXPECT_EQ(byNr->Map().size(), 11u);
}

// Records live in memory the list hands out and takes back: what is freed by one save and handed out again
// to new records never shares bytes with a record still in the list, and a reload reuses what it had.
TEST_F(DataListTest, RecordsFreedAndMadeAgainKeepTheirOwnBytes) {
    for (int nr = 1; nr <= 300; ++nr)
        list.GetRawElement(list.AddNew())->GetField(2)->SetAsInteger(1000 + nr);
    for (int raw = 3; raw < list.GetCount(); raw += 2)
        list.GetRawElement(raw)->DeleteRequested = true;
    ASSERT_TRUE(list.SaveAll());
    for (int nr = 1; nr <= 200; ++nr) {
        TDataElement* element = list.GetRawElement(list.AddNew());
        EXPECT_EQ(element->GetField(2)->GetAsInteger(), 0) << "a block handed out again starts empty";
        element->GetField(2)->SetAsInteger(5000 + nr);
    }
    ASSERT_TRUE(list.SaveAll());

    const auto contents = [this] {
        std::vector<qint32> numbers;
        for (int raw = 3; raw < list.GetCount(); ++raw)
            numbers.push_back(list.GetRawElement(raw)->GetField(2)->GetAsInteger());
        return numbers;
    };
    std::vector<qint32> expected;
    for (int nr = 2; nr <= 300; nr += 2)
        expected.push_back(1000 + nr);
    for (int nr = 1; nr <= 200; ++nr)
        expected.push_back(5000 + nr);
    EXPECT_EQ(contents(), expected);

    // No two records overlap.
    std::vector<std::pair<const quint8*, const quint8*>> spans;
    for (int raw = 0; raw < list.GetCount(); ++raw) {
        const TDataBuffer* buffer = list.GetRawElement(raw)->Buffer();
        spans.emplace_back(buffer->Current(), buffer->Saved() + buffer->Size());
    }
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i)
        EXPECT_LE(spans[i - 1].second, spans[i].first);

    // Read again from the file: the same records in the same elements' memory.
    const TDataElement* first = list.GetRawElement(0);
    list.LoadFromTable();
    EXPECT_EQ(list.GetRawElement(0), first);
    EXPECT_EQ(contents(), expected);
    EXPECT_FALSE(list.IsModified());
}

// A reader gives each element's own value without making the element's field or changing anything.
TEST_F(DataListTest, AFieldReaderReadsEveryElementsOwnBytes) {
    TFieldReader number(table, 2);
    TFieldReader name(table, 3);
    QStringList read;
    for (int raw = 0; raw < list.GetCount(); ++raw) {
        const TDataElement& element = *list.GetRawElement(raw);
        read << number.On(element).GetAsString() + u' ' + name.On(element).GetTrimmedString();
    }
    EXPECT_EQ(read, QStringList({"5 Anna", "-3 Bo", "-10 Carl"}));
    list.GetElement(1)->GetField(3)->SetAsString("Bent");
    EXPECT_EQ(name.On(*list.GetRawElement(1)).GetTrimmedString(), "Bent") << "the current bytes";
    EXPECT_EQ(table.GetField(3)->GetTrimmedString() == "Bent", false) << "the table's own record untouched";
}

} // namespace
