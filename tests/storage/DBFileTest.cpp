#include "storage/DBFile.h"

#include "support/Test.h"

#include "StorageTables.h"
#include "foundation/LxDisk.h"

using namespace RmTest;

namespace {

// The test fields over TEST.ZU2; key 0 Klasse + Navn, key 1 Nr, duplicates allowed.
class DataTableTest : public ::testing::Test {
protected:
    DataTableTest() {
        CreateRecordFile(dir.filePath("TEST.ZU2"), 33, false,
                         {{{31, 3}, {21, 10}}, {{17, 4, KeySpec::TypeInteger}}}, true);
    }
    void OpenWith3Records() {
        table.Open();
        table.Add(1, "Anna", "P12");
        table.Add(2, "Bo", "P12");
        table.Add(3, "Carl", "K14");
        table.Log.clear();
    }

    QTemporaryDir dir;
    TLoggedTable table{dir.path(), "TEST.ZU2"};
};

TEST_F(DataTableTest, OpenAndCloseRunTheirStepsAndEventsInOrder) {
    // A time-stamp field is a date-time double whatever its definition says.
    table.ModifiedTimeStampFieldNo = 3;
    table.Open();
    EXPECT_EQ(table.Log, QStringList({"BeforeOpen", "InternalOpen", "AfterOpen"}));
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(table.FileName(), PathJoin(dir.path(), "TEST.ZU2"));
    EXPECT_EQ(table.GetFieldCount(), 5);
    EXPECT_NE(dynamic_cast<TDPDateTimeField*>(table.GetField(3)), nullptr);
    EXPECT_NE(dynamic_cast<TIntegerField*>(table.GetField(2)), nullptr);
    EXPECT_EQ(ErrorText([&] { table.SetIndexNumber(2); }), "Invalid indexnumber");

    EXPECT_EQ(ErrorText([&] { table.SetTableName("X"); }), "Cannot perform this operation on an open table");

    table.Log.clear();
    table.Close();
    EXPECT_EQ(table.Log, QStringList({"BeforeClose", "InternalClose", "AfterClose"}));
    EXPECT_EQ(ErrorText([&] { table.GetFieldCount(); }), "Table not open");
}

TEST_F(DataTableTest, OpenOfAMissingFileRaisesItsErrorAndUndoesOnlyWhatItDid) {
    TLoggedTable missing(dir.path(), "MANGLER.ZU2");
    EXPECT_EQ(ErrorText([&] { missing.Open(); }), "Tablename: MANGLER.ZU2   Operation: 0   Return: 12");
    // No close of a file that never opened, and no close events.
    EXPECT_EQ(missing.Log, QStringList({"BeforeOpen", "InternalOpen"}));
    EXPECT_FALSE(missing.Active());
    EXPECT_EQ(missing.GetFieldDefs().GetCount(), 0);

    TLoggedTable unnamed(dir.path(), "");
    EXPECT_EQ(ErrorText([&] { unnamed.Open(); }), "Tablename undefined");
    EXPECT_FALSE(unnamed.Active());
}

TEST_F(DataTableTest, AFailingOpenStepAfterTheFileOpenedClosesTheFile) {
    // Fields reaching past the record (a class with more fields than an older, shorter file).
    CreateRecordFile(dir.filePath("KORT.ZU2"), 30, false, {{{1, 4}}});
    TLoggedTable shorter(dir.path(), "KORT.ZU2");
    const QString text = ErrorText([&] { shorter.Open(); });
    EXPECT_TRUE(text.contains("Klasse")) << text.toStdString();
    EXPECT_TRUE(text.contains("postlængde 30")) << text.toStdString();
    EXPECT_EQ(shorter.Log, QStringList({"BeforeOpen", "InternalOpen", "InternalClose"}));
    EXPECT_FALSE(shorter.Active());

    TLoggedTable odd(dir.path(), "TEST.ZU2", {{"Oprettet", 9, 8}, {"SidstRettet", 9, 8}, {"Nr", 1, 3}});
    EXPECT_EQ(ErrorText([&] { odd.Open(); }), "Unknown fieldtype");
}

TEST_F(DataTableTest, EditRowByRowAndFindKeyPostsAPendingEdit) {
    EXPECT_EQ(ErrorText([&] { table.Edit(); }), "Table not open");
    OpenWith3Records();
    ASSERT_TRUE(table.First());
    table.Log.clear();
    table.Edit();
    EXPECT_EQ(table.Log, QStringList({"InternalEdit", "BeforeEdit", "AfterEdit"}));
    EXPECT_EQ(table.State(), dsEdit);
    EXPECT_FALSE(table.IsModified());

    // A second Edit changes nothing and keeps the first saved copy.
    table.GetField(3)->SetAsString("Karl");
    table.Edit();
    EXPECT_TRUE(table.IsModified());
    table.Log.clear();
    table.Cancel();
    EXPECT_EQ(table.Log, QStringList({"BeforeCancel", "AfterCancel"}));
    EXPECT_EQ(table.GetField(3)->GetTrimmedString(), "Carl");
    EXPECT_EQ(table.State(), dsBrowse);

    table.Log.clear();
    table.Cancel();
    EXPECT_TRUE(table.Log.isEmpty());
    EXPECT_EQ(ErrorText([&] { table.Post(); }), "Not in edit mode");

    // FindKey posts a pending change first and ends in browse.
    table.Edit();
    table.GetField(3)->SetAsString("Carla");
    EXPECT_TRUE(table.FindKey({QString("K14")}));
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(table.GetField(3)->GetTrimmedString(), "Carla");
}

TEST_F(DataTableTest, InsertPostsOrCancelsAPendingEditAndAFailingOnNewRecordRestoresTheRecord) {
    OpenWith3Records();
    table.First();
    table.Edit();
    table.Insert();
    EXPECT_EQ(table.Log, QStringList({"InternalEdit", "BeforeEdit", "AfterEdit", "BeforeCancel",
                                      "AfterCancel", "BeforeInsert", "OnNewRecord", "AfterInsert"}));
    EXPECT_EQ(table.State(), dsInsert);
    table.Cancel();

    table.First();
    table.Edit();
    table.GetField(3)->SetAsString("Cecilie");
    table.Log.clear();
    table.Insert();
    EXPECT_EQ(table.Log.mid(0, 4),
              QStringList({"BeforePost", "InternalUpdate", "AfterPost", "BeforeInsert"}));
    table.Cancel();
    EXPECT_EQ(table.GetRecordCount(), 3);

    // A failing OnNewRecord restores the record.
    table.First();
    table.OnNewRecord = [](TDataTable&) { throw Exception("nej"); };
    EXPECT_EQ(ErrorText([&] { table.Insert(); }), "nej");
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(table.GetField(3)->GetTrimmedString(), "Cecilie");
}

TEST_F(DataTableTest, PostStampsAndFailingPostStaysInEdit) {
    table.Open();
    table.Stamp = 45100.25;
    table.Add(7, "Dorte", "K14");
    const TDateTime created = table.GetField(0)->GetAsDateTime();
    EXPECT_EQ(created, 45100.25);
    EXPECT_EQ(table.GetField(1)->GetAsDateTime(), created);
    EXPECT_EQ(table.Log.mid(table.Log.indexOf("BeforePost")),
              QStringList({"BeforePost", "InternalInsert", "AfterPost"}));

    // An edit renews only the last-change stamp.
    table.GetField(0)->SetAsDateTime(100.0);
    table.Stamp = 45100.5;
    table.Edit();
    table.GetField(3)->SetAsString("Ditte");
    table.Post();
    EXPECT_EQ(table.GetField(0)->GetAsDateTime(), 100.0);
    EXPECT_EQ(table.GetField(1)->GetAsDateTime(), 45100.5);

    table.UpdateModifiedTimeStamp = false;
    table.Edit();
    table.GetField(1)->SetAsDateTime(5.0);
    table.FailOn = "InternalUpdate";
    EXPECT_EQ(ErrorText([&] { table.Post(); }), "InternalUpdate failed");
    EXPECT_EQ(table.State(), dsEdit);
    EXPECT_EQ(table.GetField(1)->GetAsDateTime(), 5.0);
}

TEST_F(DataTableTest, DeleteRowByRow) {
    EXPECT_EQ(ErrorText([&] { table.Delete(); }), "Table not open");
    table.Open();
    EXPECT_EQ(ErrorText([&] { table.Delete(); }), "Dataset empty");

    table.Add(1, "Anna", "P12");
    table.Insert();
    table.Log.clear();
    table.Delete();
    EXPECT_EQ(table.Log, QStringList({"BeforeCancel", "AfterCancel"}));
    EXPECT_EQ(table.GetRecordCount(), 1);

    table.First();
    table.Log.clear();
    table.Delete();
    EXPECT_EQ(table.Log, QStringList({"BeforeDelete", "InternalDelete", "AfterDelete"}));
    EXPECT_EQ(table.GetRecordCount(), 0);
}

} // namespace
