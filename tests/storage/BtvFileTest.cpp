#include "storage/BtvFile.h"

#include "support/Test.h"

#include "StorageTables.h"
#include "foundation/LxDisk.h"
#include "foundation/Windows1252.h"

using namespace RmTest;

namespace {

class BtvTableTest : public ::testing::Test {
protected:
    BtvTableTest() {
        // Key 0: Klasse + Nr; key 1: Nr.
        CreateRecordFile(
            Path("TEST.ZU2"), 33, false,
            {{{31, 3, KeySpec::TypeString}, {17, 4, KeySpec::TypeInteger}}, {{17, 4, KeySpec::TypeInteger}}});
    }
    QString Path(const QString& name) const { return dir.path() + "/" + name; }

    QTemporaryDir dir;
};

TEST_F(BtvTableTest, OpenOfAMissingFileRaisesTheRecordManagerStatus) {
    TTestBtvTable table(dir.path(), "MANGLER.ZU2");
    EXPECT_EQ(ErrorText([&] { table.Open(); }), "Tablename: MANGLER.ZU2   Operation: 0   Return: 12");
    EXPECT_FALSE(table.Active());
    EXPECT_EQ(table.GetFieldDefs().GetCount(), 0);
}

TEST_F(BtvTableTest, OpenReadsLayoutAndKeysFromTheFile) {
    // The name is found without regard to case.
    TTestBtvTable table(dir.path(), "test.zu2");
    table.Open();
    EXPECT_EQ(table.GetRecordLength(), 33);
    EXPECT_EQ(table.GetField(2)->FieldName, "Nr");
    ASSERT_EQ(table.GetIndexCount(), 2);
    const TIndexDef& key0 = table.GetIndexDefs().GetItem(0);
    ASSERT_EQ(key0.GetSegmentCount(), 2);
    EXPECT_EQ(key0.GetSegment(0).Position, 30);
    EXPECT_EQ(key0.GetSegment(1).Length, 4);
    EXPECT_EQ(table.KeyBufferSize(), 128);

    // An empty file: end of file, no error, a record of zeros.
    EXPECT_FALSE(table.First());
    EXPECT_TRUE(table.GetEof());
    EXPECT_EQ(table.GetField(2)->GetAsInteger(), 0);
}

TEST_F(BtvTableTest, FindKeyOnATwoSegmentKey) {
    TTestBtvTable table(dir.path(), "TEST.ZU2");
    table.Open();
    table.Add(300, "Carl", "K14");
    table.Add(2, "Bo", "P12");
    table.Add(1, "Anna", "P12");

    EXPECT_TRUE(table.FindKey({QString("P12")}));
    EXPECT_EQ(table.GetField(3)->GetTrimmedString(), "Anna");
    EXPECT_TRUE(table.FindKey({QString("P12"), qint64(2)}));
    EXPECT_EQ(table.GetField(3)->GetTrimmedString(), "Bo");
    // Greater or equal finds a record, but not an equal one.
    EXPECT_FALSE(table.FindKey({QString("L")}));
    EXPECT_FALSE(table.GetEof());
    EXPECT_EQ(table.GetField(3)->GetTrimmedString(), "Anna");
    // Above the last key: end of file, not an error.
    EXPECT_FALSE(table.FindKey({QString("P12"), qint64(3)}));
    EXPECT_TRUE(table.GetEof());

    // First always takes key 0; the gets follow the current index.
    table.SetIndexNumber(1);
    table.GetFirst();
    EXPECT_EQ(table.GetField(2)->GetAsInteger(), 1);
    table.GetNext();
    table.GetNext();
    EXPECT_EQ(table.GetField(2)->GetAsInteger(), 300);
    EXPECT_FALSE(table.Next());
    ASSERT_TRUE(table.First());
    EXPECT_EQ(table.GetField(3)->GetTrimmedString(), "Carl");
}

TEST_F(BtvTableTest, WritesPositionsAndRefusedWrites) {
    TTestBtvTable table(dir.path(), "TEST.ZU2");
    table.Open();
    table.Add(1, "Anna", "P12");
    const quint32 anna = table.GetPosition();
    const TDateTime created = table.GetField(0)->GetAsDateTime();
    table.Add(2, "Bo", "P12");

    table.GotoPosition(anna);
    table.Edit();
    EXPECT_EQ(table.SavedPosition(), anna);
    table.GetField(3)->SetAsString("Anja");
    table.Post();
    table.StepFirst();
    EXPECT_EQ(table.GetField(3)->GetTrimmedString(), "Anja");
    EXPECT_EQ(table.GetField(0)->GetAsDateTime(), created);

    // A duplicate key names the insert and the record manager's status; the insert stays pending.
    table.Insert();
    table.GetField(2)->SetAsInteger(2);
    table.GetField(4)->SetAsString("P12");
    EXPECT_EQ(ErrorText([&] { table.Post(); }), "Tablename: TEST.ZU2   Operation: 2   Return: 5");
    EXPECT_EQ(table.State(), dsInsert);
    table.Cancel();

    table.GotoPosition(anna);
    table.Delete();
    EXPECT_EQ(table.GetRecordCount(), 1);
    EXPECT_THROW(table.GotoPosition(anna), EBtvException);
    table.Close();

    table.SetOpenMode(omReadOnly);
    table.Open();
    EXPECT_FALSE(table.Writable());
    EXPECT_THROW(table.Insert(), EDataTableError);
    table.First();
    EXPECT_THROW(table.Edit(), EDataTableError);
    EXPECT_EQ(table.State(), dsBrowse);
}

TEST_F(BtvTableTest, KeyBufferAndNumbersFromTheRecordManager) {
    // A key longer than the usual key buffer widens it; an automatic number comes back into the record.
    CreateRecordFile(Path("AUTO.ZU2"), 216, false,
                     {{{17, 4, KeySpec::TypeAutoIncrement}}, {{21, 196, KeySpec::TypeString}}});
    TTestBtvTable table(dir.path(), "AUTO.ZU2",
                        {{"Oprettet", 9, 8}, {"SidstRettet", 9, 8}, {"Nr", 1, 4}, {"Tekst", 0, 196}});
    table.Open();
    EXPECT_EQ(table.KeyBufferSize(), 196);
    for (const char* text : {"første", "anden"}) {
        table.Insert();
        table.GetField(3)->SetAsString(text);
        table.Post();
    }
    EXPECT_EQ(table.GetField(2)->GetAsInteger(), 2);
    table.SetIndexNumber(1);
    EXPECT_TRUE(table.FindKey({QString("første")}));
    EXPECT_EQ(table.GetField(2)->GetAsInteger(), 1);
}

TEST_F(BtvTableTest, ChunksAndCopyToNewFileKeepTheVariablePart) {
    CreateRecordFile(Path("VAR.ZU2"), 33, true, {{{17, 4, KeySpec::TypeInteger}}});
    TTestBtvTable table(dir.path(), "VAR.ZU2");
    table.Open();
    EXPECT_TRUE(table.VariableLength());
    const QByteArray tail = QByteArray("\x05\0\0\0", 4) + Windows1252::Encode("Ærøbø");
    for (int nr : {1, 2}) {
        table.Add(nr, "Anna", "P12");
        table.WriteChunk(tail.constData(), 33, static_cast<quint32>(tail.size()));
    }
    QByteArray read(64, '\0');
    EXPECT_EQ(table.ReadChunk(read.data(), 33, 64), static_cast<quint32>(tail.size()));
    EXPECT_EQ(read.left(tail.size()), tail);
    // Past the record's end: nothing read, no error.
    EXPECT_EQ(table.ReadChunk(read.data(), 200, 10), 0u);

    // An update rewrites the fixed part only.
    table.First();
    table.Edit();
    table.GetField(3)->SetAsString("Anja");
    table.Post();
    EXPECT_EQ(table.ReadChunk(read.data(), 33, 64), static_cast<quint32>(tail.size()));
    table.Close();

    EXPECT_THROW(table.CopyToNewFile(Path("SHORT.ZU2"), 32), EBtvError);
    EXPECT_FALSE(table.Active());
    table.CopyToNewFile(Path("NEW.ZU2"), 40);
    EXPECT_FALSE(table.Active());

    TTestBtvTable copy(dir.path(), "NEW.ZU2");
    copy.Open();
    EXPECT_EQ(copy.GetRecordLength(), 40);
    EXPECT_EQ(copy.GetRecordCount(), 2);
    ASSERT_TRUE(copy.First());
    EXPECT_EQ(copy.GetField(3)->GetTrimmedString(), "Anja");
    EXPECT_EQ(copy.ReadChunk(read.data(), 40, 64), static_cast<quint32>(tail.size()));
    EXPECT_EQ(read.left(tail.size()), tail);
    EXPECT_EQ(copy.ReadChunk(read.data(), 33, 7), 7u);
    EXPECT_EQ(read.left(7), QByteArray(7, '\0'));
}

// A record posted with its variable part holds it as a chunk written after the post would; each read
// tells the whole record's length, so a walk knows which records have a variable part.
TEST_F(BtvTableTest, AnInsertPostedWithItsVariablePartAndTheLengthOfEachRead) {
    CreateRecordFile(Path("VAR.ZU2"), 33, true, {{{17, 4, KeySpec::TypeInteger}}});
    TTestBtvTable table(dir.path(), "VAR.ZU2");
    table.Open();
    const QByteArray tail = QByteArray("\x03\0\0\0", 4) + "abc";
    table.Insert();
    table.GetField(2)->SetAsInteger(1);
    table.PostWithVariablePart(tail);
    EXPECT_EQ(table.GetField(0)->GetAsDateTime(), table.Stamp);
    table.Insert();
    table.GetField(2)->SetAsInteger(2);
    table.PostWithVariablePart({});
    EXPECT_THROW(table.PostWithVariablePart(tail), EDataTableError); // nothing to post

    ASSERT_TRUE(table.First());
    EXPECT_EQ(table.ReadLength(), 33u + 7u);
    QByteArray read(16, '\0');
    EXPECT_EQ(table.ReadChunk(read.data(), 33, 16), 7u);
    EXPECT_EQ(read.left(7), tail);
    EXPECT_EQ(table.ReadLength(), 0u); // the last call was no read of a record
    ASSERT_TRUE(table.Next());
    EXPECT_EQ(table.GetField(2)->GetAsInteger(), 2);
    EXPECT_EQ(table.ReadLength(), 33u);
    EXPECT_EQ(table.ReadChunk(read.data(), 33, 16), 0u);
    EXPECT_TRUE(table.FindKey({qint64(1)}));
    EXPECT_EQ(table.ReadLength(), 40u);
    ASSERT_TRUE(table.Next());
    EXPECT_FALSE(table.Next());
    EXPECT_EQ(table.ReadLength(), 0u);

    // A fixed-length file takes no variable part; the insert stays pending.
    TTestBtvTable fixed(dir.path(), "TEST.ZU2");
    fixed.Open();
    fixed.Insert();
    EXPECT_THROW(fixed.PostWithVariablePart(tail), EBtvException);
    EXPECT_EQ(fixed.State(), dsInsert);
    fixed.PostWithVariablePart({});
    EXPECT_EQ(fixed.GetRecordCount(), 1);
}

// Whole records: one longer than the first read's room is read on, a position without a record is
// found as none, and an edit posted with a shorter variable part leaves nothing of the longer one.
TEST_F(BtvTableTest, WholeRecordsAndAnEditPostedWithItsVariablePart) {
    CreateRecordFile(Path("VAR.ZU2"), 33, true, {{{17, 4, KeySpec::TypeInteger}}});
    TTestBtvTable table(dir.path(), "VAR.ZU2");
    table.Open();
    QByteArray longPart(5000, '\0');
    for (int i = 0; i < longPart.size(); ++i)
        longPart[i] = static_cast<char>('a' + i % 26);
    const QByteArray parts[] = {QByteArray("abc"), longPart, QByteArray()};
    std::vector<quint32> positions;
    for (int nr = 1; nr <= 3; ++nr) {
        table.Insert();
        table.GetField(2)->SetAsInteger(nr);
        table.PostWithVariablePart(parts[nr - 1]);
        positions.push_back(table.GetPosition());
    }

    ASSERT_TRUE(table.FindKey({qint64(1)}));
    ASSERT_TRUE(table.FindWholeAt(table.GetPosition()));
    EXPECT_EQ(table.VariablePart(), parts[0]);
    for (int nr = 2; nr <= 3; ++nr) {
        ASSERT_TRUE(table.ReadNextWhole());
        EXPECT_EQ(table.GetField(2)->GetAsInteger(), nr);
        EXPECT_EQ(table.VariablePart(), parts[nr - 1]);
        EXPECT_EQ(table.ReadLength(), 33u + static_cast<quint32>(parts[nr - 1].size()));
    }
    EXPECT_FALSE(table.ReadNextWhole());

    ASSERT_TRUE(table.FindWholeAt(positions[1]));
    table.Edit();
    table.GetField(3)->SetAsString("Kort");
    table.PostWithVariablePart("xy");
    ASSERT_TRUE(table.FindWholeAt(positions[1]));
    EXPECT_EQ(table.GetField(3)->GetTrimmedString(), "Kort");
    EXPECT_EQ(table.VariablePart(), "xy");
    EXPECT_EQ(table.ReadLength(), 35u);

    table.Delete();
    EXPECT_FALSE(table.FindWholeAt(positions[1]));
    EXPECT_FALSE(table.FindWholeAt(999));
    EXPECT_EQ(ErrorText([&] { table.RaiseNoRecordAt(); }), "Tablename: VAR.ZU2   Operation: 23   Return: 43");
    ASSERT_TRUE(table.FindWholeAt(positions[0]));
    EXPECT_EQ(table.VariablePart(), parts[0]);
}

TEST_F(BtvTableTest, FieldDefinitionsFromTheDataDictionary) {
    CreateRecordFile(Path("FILE.DDF"), 97, false, {{{1, 2, KeySpec::TypeInteger}}, {{3, 20}}});
    StatBuilder fieldStat(32);
    fieldStat.key({{1, 2, KeySpec::TypeInteger}}).key({{3, 2, KeySpec::TypeInteger}}, true);
    ASSERT_EQ(createFile(Path("FIELD.DDF").toStdString(), fieldStat.bytes()), StatusSuccess);
    const auto insert = [](const QString& path, QByteArray record) {
        Handle h;
        ASSERT_EQ(h.open(path.toStdString()), StatusSuccess);
        h.insertAll({Bytes(record.begin(), record.end())});
        h.close();
    };
    QByteArray file("\x07\0"
                    "KLASSE              ",
                    22);
    file += QByteArray("C:\\ZUNO\\test.zu2").leftJustified(64, ' ') + QByteArray(11, '\0');
    insert(Path("FILE.DDF"), file);
    const auto field = [](int id, const char* name, int type, int offset, int size) {
        QByteArray record(32, '\0');
        record[0] = static_cast<char>(id);
        record[2] = 7;
        record.replace(4, 20, QByteArray(name).leftJustified(20, ' '));
        record[24] = static_cast<char>(type);
        record[25] = static_cast<char>(offset);
        record[27] = static_cast<char>(size);
        return record;
    };
    insert(Path("FIELD.DDF"), field(40, "Nr", 1, 16, 4));
    insert(Path("FIELD.DDF"), field(41, "Klasse", 0, 30, 3));

    TTestBtvTable table(dir.path(), "KLASSE", {});
    table.UseBuiltInFieldDefs = false;
    table.Open();
    EXPECT_EQ(table.FileName(), PathJoin(dir.path(), "test.zu2"));
    ASSERT_EQ(table.GetFieldCount(), 2);
    EXPECT_EQ(table.GetFieldDefs().GetItem(1).FieldId, 41);
    EXPECT_EQ(table.GetField(1)->FieldName, "Klasse");
    EXPECT_EQ(table.GetField(1)->Offset, 30);
    table.Close();

    TTestBtvTable unknown(dir.path(), "DELTAGER", {});
    unknown.UseBuiltInFieldDefs = false;
    EXPECT_EQ(ErrorText([&] { unknown.Open(); }), "Btrieve table DELTAGER could not be found in FILE.DDF");
    EXPECT_FALSE(unknown.Active());
}

TEST_F(BtvTableTest, AfterTheStopACloseStillFreesTheTable) {
    TTestBtvTable table(dir.path(), "TEST.ZU2");
    table.Open();
    { TRecordManagerSession session; }
    EXPECT_THROW(table.First(), EBtvException);
    EXPECT_THROW(table.Close(), EBtvException);
    EXPECT_FALSE(table.Active());
    table.Open();
    EXPECT_EQ(table.GetFieldCount(), 5);
}

} // namespace
