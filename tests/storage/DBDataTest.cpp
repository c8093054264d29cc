#include "storage/DBData.h"

#include "support/Test.h"

#include "StorageTables.h"
#include "support/RecordedMessages.h"

#include <QRegularExpression>

namespace {

class TTestList : public TDataList {
public:
    using TDataList::TDataList;

protected:
    std::unique_ptr<TDataElement> CreateElement() override {
        return std::make_unique<TDataElement>(this, Table());
    }
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

} // namespace
