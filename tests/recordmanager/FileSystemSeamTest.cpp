#include "RecordManagerSupport.h"

#include <QDir>

namespace RmTest {
namespace {

class FileSystemSeam : public RecordManagerTest {
protected:
    // The test file with the given ids, closed again.
    void fileWith(std::vector<int32_t> ids) {
        Handle h;
        openTestFile(h);
        for (int32_t id : ids)
            h.insertAll({testRecord(id)});
        stop();
    }
    // The ids in key-0 order as a fresh open reads them, every file closed before.
    std::vector<int32_t> reread() {
        stop();
        Handle h;
        EXPECT_EQ(h.open(path("TEST.ZU2")), StatusSuccess);
        return walk(h, 0);
    }
    // Fails every step whose name ends in kind ("sync" takes both syncs) with error, counting them.
    void failEvery(std::string_view kind, int error = EIO) {
        disk.hook = [this, kind, error](std::string_view step, auto) {
            return step.ends_with(kind) ? (++refused, error) : 0;
        };
    }
    QStringList files() const { return QDir(dir_.path()).entryList(QDir::Files); }

    HookedFileSystem disk;
    int refused = 0;
};

TEST_F(FileSystemSeam, AFailingWriteIsAStatusAndEveryAcknowledgedRecordStays) {
    Handle h;
    openTestFile(h);
    h.insertAll({testRecord(1), testRecord(2)});
    {
        const ScopedFileSystem full(disk);
        failEvery("write", ENOSPC);
        Bytes third = testRecord(3);
        EXPECT_EQ(h.write(OpInsert, third), StatusIOError);
        // A transaction's records are written at its end, and fail there together.
        ASSERT_EQ(h.simple(OpBeginTransaction), StatusSuccess);
        h.insertAll({testRecord(4), testRecord(5)});
        EXPECT_EQ(h.simple(OpEndTransaction), StatusIOError);
        EXPECT_GT(refused, 0);
        disk.hook = nullptr;
        h.insertAll({testRecord(6)});
        EXPECT_EQ(walk(h, 0), (std::vector<int32_t>{1, 2, 6}));
    }
    EXPECT_EQ(reread(), (std::vector<int32_t>{1, 2, 6}));
}

TEST_F(FileSystemSeam, AFailingSyncFailsTheCreateAndLeavesWhatWasThere) {
    fileWith({1, 2});
    const QStringList before = files();
    {
        const ScopedFileSystem failing(disk);
        failEvery("sync");
        EXPECT_EQ(createFile(path("TEST.ZU2"), testLayout().bytes()), StatusIOError);
        EXPECT_EQ(createFile(path("NEW.ZU2"), testLayout().bytes()), StatusIOError);
        EXPECT_GT(refused, 0);
    }
    EXPECT_EQ(files(), before);
    EXPECT_EQ(reread(), (std::vector<int32_t>{1, 2}));
}

TEST_F(FileSystemSeam, AFailingRenameFailsTheReplaceAndKeepsTheOldFileWhole) {
    fileWith({1, 2, 3});
    const QStringList before = files();
    {
        const ScopedFileSystem failing(disk);
        failEvery("rename");
        EXPECT_EQ(createFile(path("TEST.ZU2"), StatBuilder(60).key({{1, 4, KeySpec::TypeInteger}}).bytes()),
                  StatusIOError);
        EXPECT_EQ(refused, 1);
    }
    EXPECT_EQ(files(), before);
    EXPECT_EQ(reread(), (std::vector<int32_t>{1, 2, 3}));
}

} // namespace
} // namespace RmTest
