#include "RecordManagerSupport.h"

#include "platform/recordmanager/FileSystem.h"

#include <QDir>

#include <cerrno>

namespace RmTest {
namespace {

// A disk whose writes, syncs or renames fail while asked to.
class FailingFileSystem : public FileSystem {
public:
    int error = EIO;
    bool writes = false;
    bool syncs = false;
    bool renames = false;
    int refused = 0;

    int beforeWrite(const char* path) override { return writes ? refuse() : FileSystem::beforeWrite(path); }
    int beforeSync(const char* path) override { return syncs ? refuse() : FileSystem::beforeSync(path); }
    int sync(int fd) override { return syncs ? fail() : FileSystem::sync(fd); }
    int rename(const char* from, const char* to) override {
        return renames ? fail() : FileSystem::rename(from, to);
    }

private:
    int refuse() {
        ++refused;
        return error;
    }
    int fail() {
        errno = refuse();
        return -1;
    }
};

class FileSystemSeam : public RecordManagerTest {
protected:
    // The ids in key-0 order as a fresh open reads them, every file closed before.
    std::vector<int32_t> reread() {
        stop();
        Handle h;
        EXPECT_EQ(h.open(path("TEST.ZU2")), StatusSuccess);
        return walk(h, 0);
    }
    QStringList files() const { return QDir(dir_.path()).entryList(QDir::Files); }

    FailingFileSystem disk;
};

TEST_F(FileSystemSeam, AFailingWriteIsAStatusAndEveryAcknowledgedRecordStays) {
    Handle h;
    openTestFile(h);
    h.insertAll({testRecord(1), testRecord(2)});
    {
        const ScopedFileSystem full(disk);
        disk.error = ENOSPC;
        disk.writes = true;
        Bytes third = testRecord(3);
        EXPECT_EQ(h.write(OpInsert, third), StatusIOError);
        // A transaction's records are written at its end, and fail there together.
        ASSERT_EQ(h.simple(OpBeginTransaction), StatusSuccess);
        h.insertAll({testRecord(4), testRecord(5)});
        EXPECT_EQ(h.simple(OpEndTransaction), StatusIOError);
        EXPECT_GT(disk.refused, 0);
        disk.writes = false;
        h.insertAll({testRecord(6)});
        EXPECT_EQ(walk(h, 0), (std::vector<int32_t>{1, 2, 6}));
    }
    EXPECT_EQ(reread(), (std::vector<int32_t>{1, 2, 6}));
}

TEST_F(FileSystemSeam, AFailingSyncFailsTheCreateAndLeavesWhatWasThere) {
    Handle h;
    openTestFile(h);
    h.insertAll({testRecord(1), testRecord(2)});
    stop();
    const QStringList before = files();
    {
        const ScopedFileSystem failing(disk);
        disk.syncs = true;
        EXPECT_EQ(createFile(path("TEST.ZU2"), testLayout().bytes()), StatusIOError);
        EXPECT_EQ(createFile(path("NEW.ZU2"), testLayout().bytes()), StatusIOError);
        EXPECT_GT(disk.refused, 0);
    }
    EXPECT_EQ(files(), before);
    EXPECT_EQ(reread(), (std::vector<int32_t>{1, 2}));
}

TEST_F(FileSystemSeam, AFailingRenameFailsTheReplaceAndKeepsTheOldFileWhole) {
    Handle h;
    openTestFile(h);
    h.insertAll({testRecord(1), testRecord(2), testRecord(3)});
    stop();
    const QStringList before = files();
    {
        const ScopedFileSystem failing(disk);
        disk.renames = true;
        EXPECT_EQ(createFile(path("TEST.ZU2"), StatBuilder(60).key({{1, 4, KeySpec::TypeInteger}}).bytes()),
                  StatusIOError);
        EXPECT_EQ(disk.refused, 1);
    }
    EXPECT_EQ(files(), before);
    EXPECT_EQ(reread(), (std::vector<int32_t>{1, 2, 3}));
}

} // namespace
} // namespace RmTest
