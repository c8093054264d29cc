#include "RecordManagerSupport.h"

#include <sqlite3.h>

#include <fcntl.h>

#include <chrono>
#include <numeric>

using namespace RmTest;

namespace {

struct Pipe {
    Pipe() { EXPECT_EQ(pipe(fds), 0); }
    ~Pipe() {
        ::close(fds[0]);
        ::close(fds[1]);
    }
    int fds[2] = {-1, -1};
};

bool elapsed(std::chrono::steady_clock::time_point since, int seconds) {
    return std::chrono::steady_clock::now() - since > std::chrono::seconds(seconds);
}

class Processes : public RecordManagerTest {};

TEST_F(Processes, ASecondProcessReadsWhileTheFirstWrites) {
    const std::string name = path("RESULTAT.ZU2");
    ASSERT_EQ(createFile(name, testLayout(true).bytes()), StatusSuccess);
    Pipe go, done;

    Child reader([&]() {
        char c;
        Handle h;
        if (read(go.fds[0], &c, 1) != 1 || h.open(name, OpenExclusive) != StatusFileLocked)
            return 10;
        uint32_t seen = 0;
        const auto start = std::chrono::steady_clock::now();
        for (int growing = 0; growing < 5;) {
            if (elapsed(start, 20) || h.open(name, OpenReadOnly) != StatusSuccess)
                return 11;
            uint32_t count = 0;
            Bytes r;
            int16_t status = h.get(OpStepFirst, 0, nullptr, r);
            for (; status == StatusSuccess; status = h.get(OpStepNext, 0, nullptr, r), ++count)
                if (Handle::get32(r, 24) != idOf(r) * 3 || r.size() != TestRecordLength + 4)
                    return 12;
            if (status != StatusEndOfFile || h.close() != StatusSuccess || count < seen)
                return 13;
            growing += count > seen;
            seen = count;
        }
        return write(done.fds[1], "x", 1) == 1 ? 0 : 14;
    });

    Handle h;
    ASSERT_EQ(h.open(name), StatusSuccess);
    ASSERT_EQ(write(go.fds[1], "x", 1), 1);
    fcntl(done.fds[0], F_SETFL, O_NONBLOCK);
    char c;
    const auto start = std::chrono::steady_clock::now();
    for (int32_t id = 1; read(done.fds[0], &c, 1) != 1 && !elapsed(start, 30); ++id) {
        Bytes r = testRecord(id, "runner", id * 3);
        r.insert(r.end(), {0, 0, 0, 0});
        ASSERT_EQ(h.write(OpInsert, r), StatusSuccess);
    }
    EXPECT_EQ(reader.exitCode(), 0);
}

TEST_F(Processes, TheChangeCountMovesOnlyWhenTheRecordsChangeHereOrInAnotherProcess) {
    const std::string name = path("OVELSERN.ZU2");
    ASSERT_EQ(createFile(name, testLayout(false).bytes()), StatusSuccess);
    Pipe go;
    // Started before this process opens the file: it changes the record once told to.
    Child writer([&]() {
        char c;
        Handle w;
        Bytes record;
        if (read(go.fds[0], &c, 1) != 1 || w.open(name) != StatusSuccess ||
            w.get(OpStepFirst, 0, nullptr, record) != StatusSuccess)
            return 10;
        record = testRecord(1, "walker", 4);
        return w.write(OpUpdate, record) == StatusSuccess && w.close() == StatusSuccess ? 0 : 11;
    });
    Handle h, other;
    ASSERT_EQ(h.open(name), StatusSuccess);
    ASSERT_EQ(other.open(name), StatusSuccess);
    const auto changeCount = [&h] {
        Bytes stat(StatBufferSize);
        Bytes key(64);
        uint32_t length = StatBufferSize;
        EXPECT_EQ(h.call(OpStat, stat.data(), length, key.data(), 0), StatusSuccess);
        return Handle::get32(key, Stat::KeyChangeCount);
    };
    const int32_t first = changeCount();
    Bytes r;
    EXPECT_EQ(h.get(OpStepFirst, 0, nullptr, r), StatusEndOfFile);
    EXPECT_EQ(changeCount(), first) << "reading changes nothing";

    // A record written through another handle of this process.
    Bytes added = testRecord(1, "runner", 3);
    ASSERT_EQ(other.write(OpInsert, added), StatusSuccess);
    const int32_t afterOwn = changeCount();
    EXPECT_NE(afterOwn, first);
    EXPECT_EQ(changeCount(), afterOwn);

    // The record changed by another process.
    ASSERT_EQ(write(go.fds[1], "x", 1), 1);
    ASSERT_EQ(writer.exitCode(), 0);
    const int32_t afterOther = changeCount();
    EXPECT_NE(afterOther, afterOwn);
    EXPECT_EQ(changeCount(), afterOther);
}

TEST_F(Processes, AKilledWriterLosesNoCommittedRecord) {
    const std::string name = path("DELTAGER.ZU2");
    ASSERT_EQ(createFile(name, testLayout().bytes()), StatusSuccess);
    Pipe confirmed;

    // Five records per transaction; each id is reported once its transaction has ended.
    Child writer([&]() {
        Handle h;
        if (h.open(name) != StatusSuccess)
            return 10;
        for (int32_t id = 1;; id += 5) {
            if (h.simple(OpBeginTransaction) != StatusSuccess)
                return 11;
            for (int32_t i = id; i < id + 5; ++i) {
                Bytes r = testRecord(i, "n", i);
                if (h.write(OpInsert, r) != StatusSuccess)
                    return 12;
            }
            const int32_t last = id + 4;
            if (h.simple(OpEndTransaction) != StatusSuccess || write(confirmed.fds[1], &last, 4) != 4)
                return 13;
        }
    });
    ::close(confirmed.fds[1]);
    confirmed.fds[1] = -1;

    int32_t last = 0, got = 0;
    while (last < 1500 && read(confirmed.fds[0], &got, 4) == 4)
        last = got;
    kill(writer.pid, SIGKILL);
    writer.wait();
    while (read(confirmed.fds[0], &got, 4) == 4)
        last = got;
    ASSERT_GE(last, 1500);

    Handle h;
    ASSERT_EQ(h.open(name), StatusSuccess);
    const uint32_t count = h.recordCount();
    EXPECT_GE(count, uint32_t(last));
    EXPECT_EQ(count % 5, 0u) << "a transaction was cut in half";
    std::vector<int32_t> ids(count);
    std::iota(ids.begin(), ids.end(), 1);
    EXPECT_EQ(walk(h, 0), ids);

    stop();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(name.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
    ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
    sqlite3_finalize(check);
    sqlite3_close(db);
}

} // namespace

TEST_F(Processes, ReadsInAScopeSeeTheirOwnWritesAtOnceAndAnotherProcesssWritesAfterTheScope) {
    const std::string name = path("DELTAGER.ZU2");
    ASSERT_EQ(createFile(name, testLayout(false).bytes()), StatusSuccess);
    Pipe go, done;
    // Inserts the record of each id it is sent, and says so; 0 ends it.
    Child writer([&]() {
        Handle w;
        if (w.open(name) != StatusSuccess)
            return 10;
        for (char id = 0; read(go.fds[0], &id, 1) == 1 && id != 0;) {
            Bytes record = testRecord(id, "other");
            if (w.write(OpInsert, record) != StatusSuccess || write(done.fds[1], "x", 1) != 1)
                return 11;
        }
        return w.close() == StatusSuccess ? 0 : 12;
    });
    const auto other = [&](char id) {
        char c = 0;
        ASSERT_EQ(write(go.fds[1], &id, 1), 1);
        ASSERT_EQ(read(done.fds[0], &c, 1), 1);
    };
    Handle h;
    ASSERT_EQ(h.open(name), StatusSuccess);
    h.insertAll({testRecord(1)});
    {
        const RecordManagerReadScope outer;
        EXPECT_EQ(walk(h, 0), std::vector<int32_t>({1}));
        Bytes own = testRecord(2, "own");
        ASSERT_EQ(h.write(OpInsert, own), StatusSuccess);
        EXPECT_EQ(walk(h, 0), std::vector<int32_t>({1, 2})) << "this process's write at once";
        other(3);
        {
            const RecordManagerReadScope inner;
            EXPECT_EQ(walk(h, 0), std::vector<int32_t>({1, 2})) << "one snapshot through the scope";
        }
        other(4);
        EXPECT_EQ(h.recordCount(), 2u) << "an inner scope's end does not end the outer's reading";
    }
    EXPECT_EQ(walk(h, 0), std::vector<int32_t>({1, 2, 3, 4}));
    EXPECT_EQ(h.recordCount(), 4u);
    ASSERT_EQ(write(go.fds[1], "", 1), 1);
    EXPECT_EQ(writer.exitCode(), 0);
}

TEST_F(Processes, AWriteInsideAReadScopeIsCommittedAsItIsMade) {
    const std::string name = path("RESULTAT.ZU2");
    Handle h;
    openTestFile(h, false, "RESULTAT.ZU2");
    h.insertAll({testRecord(1, "before"), testRecord(2, "gone")});
    {
        const RecordManagerReadScope scope;
        Bytes r;
        ASSERT_EQ(h.get(OpGetFirst, 0, nullptr, r), StatusSuccess);
        r = testRecord(1, "after", 7);
        ASSERT_EQ(h.write(OpUpdate, r), StatusSuccess);
        ASSERT_EQ(h.get(OpGetLast, 0, nullptr, r), StatusSuccess);
        ASSERT_EQ(h.simple(OpDelete), StatusSuccess);
        h.insertAll({testRecord(3, "new")});
        // The process stops before the scope ends: nothing of it may be left to commit.
        ASSERT_EQ(stop(), StatusSuccess);
    }
    ASSERT_EQ(h.open(name), StatusSuccess);
    EXPECT_EQ(walk(h, 0), std::vector<int32_t>({1, 3}));
    Bytes r;
    ASSERT_EQ(h.get(OpGetFirst, 0, nullptr, r), StatusSuccess);
    EXPECT_EQ(r, testRecord(1, "after", 7));
    // A transaction begun inside a scope works as ever.
    {
        const RecordManagerReadScope scope;
        EXPECT_EQ(walk(h, 0), std::vector<int32_t>({1, 3}));
        ASSERT_EQ(h.simple(OpBeginTransaction), StatusSuccess);
        h.insertAll({testRecord(5)});
        ASSERT_EQ(h.simple(OpEndTransaction), StatusSuccess);
        EXPECT_EQ(walk(h, 0), std::vector<int32_t>({1, 3, 5}));
    }
    ASSERT_EQ(stop(), StatusSuccess);
    ASSERT_EQ(h.open(name), StatusSuccess);
    EXPECT_EQ(walk(h, 0), std::vector<int32_t>({1, 3, 5}));
}
