#include "RecordManagerSupport.h"

#include <sqlite3.h>

#include <fstream>

using namespace RmTest;

namespace {

class Files : public RecordManagerTest {};

TEST_F(Files, StatGivesBackTheBytesTheFileWasCreatedFrom) {
    StatBuilder b = testLayout(true);
    Bytes& raw = b.raw();
    raw[Stat::PageSize + 1] = 0x08; // 2048
    raw[Stat::KeySpecs + KeySpec::UniqueCount] = 17;
    raw[Stat::KeySpecs + KeySpec::ManualKeyNumber] = 3;
    raw[Stat::KeySpecs + KeySpec::CollatingSequence] = 1;
    raw[Stat::KeySpecs + KeySpec::Size + KeySpec::NullValue] = ' ';
    raw[1900] = 0x5A; // the rest travels unchanged as well
    ASSERT_EQ(createFile(path("KLUB.ZU2"), raw), StatusSuccess);

    Handle h;
    ASSERT_EQ(h.open(path("KLUB.ZU2")), StatusSuccess);
    h.insertAll({testRecord(1), testRecord(2), testRecord(3)});
    Bytes stat(StatBufferSize);
    uint32_t length = StatBufferSize;
    uint8_t key[64];
    ASSERT_EQ(h.call(OpStat, stat.data(), length, key, 0), StatusSuccess);
    EXPECT_EQ(length, uint32_t(StatBufferSize));
    EXPECT_EQ(Handle::get32(stat, Stat::RecordCount), 3);
    std::memset(stat.data() + Stat::RecordCount, 0, 4);
    EXPECT_EQ(stat, raw);
}

TEST_F(Files, CreateKeepsOrReplacesAndRefusesBadSpecifications) {
    const std::string name = path("OVELSE.ZU2");
    ASSERT_EQ(createFile(name, testLayout().bytes(), CreateKeepExisting), StatusSuccess);
    EXPECT_EQ(createFile(name, testLayout().bytes(), CreateKeepExisting), StatusFileExists);
    Handle h;
    ASSERT_EQ(h.open(name), StatusSuccess);
    h.insertAll({testRecord(1)});
    EXPECT_EQ(createFile(name, testLayout().bytes()), StatusFileLocked); // open: not replaced
    ASSERT_EQ(h.close(), StatusSuccess);
    ASSERT_EQ(createFile(name, testLayout().bytes()), StatusSuccess);
    ASSERT_EQ(h.open(name), StatusSuccess);
    EXPECT_EQ(h.recordCount(), 0u);

    StatBuilder outside(TestRecordLength);
    outside.key({{38, 4, KeySpec::TypeInteger}});
    EXPECT_EQ(createFile(path("BAD.ZU2"), outside.bytes()), StatusInvalidKeyPosition);
    StatBuilder oddInteger(TestRecordLength);
    oddInteger.key({{1, 3, KeySpec::TypeInteger}});
    EXPECT_EQ(createFile(path("BAD.ZU2"), oddInteger.bytes()), StatusInvalidKeyLength);
    EXPECT_EQ(createFile(path("BAD.ZU2"), StatBuilder(0).bytes()), StatusInvalidRecordLength);
    EXPECT_EQ(createFile(path("missing/BAD.ZU2"), testLayout().bytes()), StatusIOError);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("BAD.ZU2"))));
}

TEST_F(Files, ForeignAndDamagedFilesAreRefusedWith30) {
    Handle h;
    EXPECT_EQ(h.open(path("NONE.ZU2")), StatusFileNotFound);
    EXPECT_EQ(h.open(dir_.path().toStdString()), StatusNotARecordFile);
    std::ofstream(path("TEXT.ZU2")) << "Dette er ikke en postfil\n";
    EXPECT_EQ(h.open(path("TEXT.ZU2")), StatusNotARecordFile);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path("OTHER.ZU2").c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE t(x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(h.open(path("OTHER.ZU2")), StatusNotARecordFile);

    // Our own file with its pages overwritten: whatever a call answers, it must not crash or succeed
    // with garbage.
    ASSERT_EQ(createFile(path("DAMAGED.ZU2"), testLayout().bytes()), StatusSuccess);
    ASSERT_EQ(h.open(path("DAMAGED.ZU2")), StatusSuccess);
    for (int32_t id = 1; id <= 300; ++id)
        h.insertAll({testRecord(id, std::string(20, 'x'))});
    stop(); // checkpoints the file
    {
        std::fstream f(path("DAMAGED.ZU2"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(4096);
        const std::string junk(8192, '\x7f');
        f.write(junk.data(), std::streamsize(junk.size()));
    }
    int16_t status = h.open(path("DAMAGED.ZU2"));
    Bytes r;
    if (status == StatusSuccess)
        status = h.get(OpGetFirst, 0, nullptr, r);
    for (int i = 0; status == StatusSuccess && i < 400; ++i)
        status = h.get(OpGetNext, 0, nullptr, r);
    EXPECT_EQ(status, StatusNotARecordFile);
}

TEST_F(Files, ReadOnlyAndExclusiveOpenModes) {
    Handle writer;
    openTestFile(writer);
    writer.insertAll({testRecord(1)});

    Handle reader;
    ASSERT_EQ(reader.open(path("TEST.ZU2"), OpenReadOnly), StatusSuccess);
    Bytes got;
    ASSERT_EQ(reader.get(OpGetFirst, 0, nullptr, got), StatusSuccess);
    Bytes other = testRecord(2);
    EXPECT_EQ(reader.write(OpInsert, other), StatusReadOnly);
    EXPECT_EQ(reader.write(OpUpdate, other), StatusReadOnly);
    EXPECT_EQ(reader.simple(OpDelete), StatusReadOnly);

    Handle exclusive;
    EXPECT_EQ(exclusive.open(path("TEST.ZU2"), OpenExclusive), StatusFileLocked);
    ASSERT_EQ(reader.close(), StatusSuccess);
    ASSERT_EQ(writer.close(), StatusSuccess);
    ASSERT_EQ(exclusive.open(path("TEST.ZU2"), OpenExclusive), StatusSuccess);
    Handle second;
    EXPECT_EQ(second.open(path("TEST.ZU2")), StatusFileLocked);
    // The same file under another name is still the same file.
    EXPECT_EQ(second.open(dir_.path().toStdString() + "/./TEST.ZU2"), StatusFileLocked);
    EXPECT_EQ(exclusive.write(OpInsert, other), StatusSuccess);
}

TEST_F(Files, PositionBlocksCloseAndStopClosesEverything) {
    Handle a, b;
    openTestFile(a);
    EXPECT_EQ(b.simple(OpStepFirst), StatusFileNotOpen);
    ASSERT_EQ(b.open(path("TEST.ZU2")), StatusSuccess);
    EXPECT_EQ(b.open(path("TEST.ZU2")), StatusInvalidOperation); // still open
    ASSERT_EQ(b.close(), StatusSuccess);
    EXPECT_EQ(b.close(), StatusFileNotOpen);

    Handle copy = a;
    ASSERT_EQ(stop(), StatusSuccess);
    Bytes r;
    EXPECT_EQ(a.get(OpGetFirst, 0, nullptr, r), StatusFileNotOpen);
    // A new cursor in the freed slot is not reachable through an old block.
    ASSERT_EQ(b.open(path("TEST.ZU2")), StatusSuccess);
    EXPECT_EQ(copy.get(OpGetFirst, 0, nullptr, r), StatusFileNotOpen);
    // Stop released the files: an exclusive open elsewhere now succeeds.
    ASSERT_EQ(b.close(), StatusSuccess);
    EXPECT_EQ(a.open(path("TEST.ZU2"), OpenExclusive), StatusSuccess);
}

TEST_F(Files, TransactionsSpanEveryFileTouched) {
    Handle one, two;
    openTestFile(one, false, "ONE.ZU2");
    openTestFile(two, false, "TWO.ZU2");
    EXPECT_EQ(one.simple(OpEndTransaction), StatusNoTransaction);

    ASSERT_EQ(one.simple(OpBeginTransaction), StatusSuccess);
    EXPECT_EQ(one.simple(OpBeginTransaction), StatusTransactionActive);
    one.insertAll({testRecord(1)});
    two.insertAll({testRecord(2)});
    ASSERT_EQ(one.simple(OpAbortTransaction), StatusSuccess);
    EXPECT_EQ(one.recordCount() + two.recordCount(), 0u);

    ASSERT_EQ(one.simple(OpBeginTransaction), StatusSuccess);
    one.insertAll({testRecord(1)});
    two.insertAll({testRecord(2)});
    ASSERT_EQ(two.close(), StatusSuccess); // its part waits for End
    ASSERT_EQ(one.simple(OpEndTransaction), StatusSuccess);
    EXPECT_EQ(one.recordCount(), 1u);
    ASSERT_EQ(two.open(path("TWO.ZU2")), StatusSuccess);
    EXPECT_EQ(two.recordCount(), 1u);
}

// The count a Stat gives is kept by this process's writes; a rollback, and a commit by anyone else,
// make it count again.
TEST_F(Files, TheRecordCountFollowsWritesAbortsAndOtherWriters) {
    Handle h;
    openTestFile(h);
    EXPECT_EQ(h.recordCount(), 0u);
    h.insertAll({testRecord(1), testRecord(2), testRecord(3)});
    EXPECT_EQ(h.recordCount(), 3u);
    Bytes r;
    int32_t id = 2;
    ASSERT_EQ(h.get(OpGetEqual, 0, &id, r), StatusSuccess);
    ASSERT_EQ(h.simple(OpDelete), StatusSuccess);
    EXPECT_EQ(h.simple(OpDelete), StatusNoCurrentRecord);
    EXPECT_EQ(h.recordCount(), 2u);
    Bytes duplicate = testRecord(1);
    EXPECT_EQ(h.write(OpInsert, duplicate), StatusDuplicateKey);
    EXPECT_EQ(h.recordCount(), 2u);

    ASSERT_EQ(h.simple(OpBeginTransaction), StatusSuccess);
    h.insertAll({testRecord(4), testRecord(5)});
    EXPECT_EQ(h.recordCount(), 4u);
    ASSERT_EQ(h.simple(OpAbortTransaction), StatusSuccess);
    EXPECT_EQ(h.recordCount(), 2u);
    ASSERT_EQ(h.simple(OpBeginTransaction), StatusSuccess);
    h.insertAll({testRecord(4)});
    ASSERT_EQ(h.simple(OpEndTransaction), StatusSuccess);
    EXPECT_EQ(h.recordCount(), 3u);

    // Another writer, as another process would be.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path("TEST.ZU2").c_str(), &other), SQLITE_OK);
    sqlite3_busy_timeout(other, 5000);
    const char* deleteLast = "DELETE FROM records WHERE pos = (SELECT max(pos) FROM records)";
    EXPECT_EQ(sqlite3_exec(other, deleteLast, nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(h.recordCount(), 2u);
    // A second position block on the file sees the same count.
    Handle second;
    ASSERT_EQ(second.open(path("TEST.ZU2")), StatusSuccess);
    second.insertAll({testRecord(9)});
    EXPECT_EQ(h.recordCount(), 3u);
    // Another writer just before a transaction of ours, which keeps the others out while it lasts.
    EXPECT_EQ(sqlite3_exec(other, deleteLast, nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_EQ(h.simple(OpBeginTransaction), StatusSuccess);
    h.insertAll({testRecord(10)});
    EXPECT_EQ(h.recordCount(), 3u);
    ASSERT_EQ(h.simple(OpEndTransaction), StatusSuccess);
    sqlite3_close(other);
}

} // namespace
