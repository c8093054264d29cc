// Transactions over several files: all or nothing when the process dies at any step of End Transaction,
// when a file cannot commit, and for a process that opens the files meanwhile.
#include "RecordManagerSupport.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

namespace RmTest {
namespace {

// A file's records by position.
using Contents = std::map<uint32_t, Bytes>;

class Journal : public RecordManagerTest {
protected:
    const std::vector<std::string> names = {"A.ZU2", "B.ZU2", "C.ZU2"};

    void SetUp() override {
        for (const std::string& name : names) {
            Handle h;
            openTestFile(h, true, name);
            for (int32_t id = 1; id <= 4; ++id)
                h.insertAll({testRecord(id, name, id * 10)});
        }
        stop();
    }
    // The files as SetUp made them, again.
    void reset() {
        for (const std::string& name : names)
            std::filesystem::remove(path(name));
        SetUp();
    }
    // The files before and after a transaction that went through; then the files as before again.
    void learnOutcomes() {
        before = contents();
        ASSERT_EQ(transaction(), StatusSuccess);
        after = contents();
        ASSERT_NE(before, after);
        reset();
    }

    std::vector<Contents> contents() {
        std::vector<Contents> all;
        for (const std::string& name : names) {
            Handle h;
            EXPECT_EQ(h.open(path(name)), StatusSuccess);
            Contents c;
            Bytes r;
            for (int16_t s = h.get(OpStepFirst, 0, nullptr, r); s == StatusSuccess;
                 s = h.get(OpStepNext, 0, nullptr, r))
                c[h.position()] = r;
            all.push_back(c);
        }
        stop();
        return all;
    }

    // Inserts, updates and deletes in all three files, a deleted key taken again by a new record.
    int16_t transaction() {
        std::vector<Handle> h(names.size());
        int16_t status = StatusSuccess;
        const auto ok = [&status](int16_t s) { return (status = s) == StatusSuccess; };
        for (size_t i = 0; i < names.size(); ++i)
            if (!ok(h[i].open(path(names[i]))))
                return status;
        if (!ok(h[0].simple(OpBeginTransaction)))
            return status;
        for (size_t i = 0; i < names.size(); ++i) {
            Bytes r, again = testRecord(2, "ny " + names[i], 99);
            again.insert(again.end(), {3, 0, 0, 0, 'x', 'y', 'z'});
            int32_t two = 2, three = 3;
            if (!(ok(h[i].get(OpGetEqual, 0, &two, r)) && ok(h[i].simple(OpDelete)) &&
                  ok(h[i].write(OpInsert, again)) && ok(h[i].get(OpGetEqual, 0, &three, r))))
                return status;
            r[24] = 77;
            if (!ok(h[i].write(OpUpdate, r)))
                return status;
            for (int32_t n = 5; n < 40; ++n) {
                Bytes more = testRecord(n, std::string(20, char('a' + n % 26)), n);
                if (!ok(h[i].write(OpInsert, more)))
                    return status;
            }
        }
        return h[0].simple(OpEndTransaction);
    }

    bool journalExists() const { return std::filesystem::exists(path(".zrm-journal")); }

    std::vector<Contents> before, after;
    HookedFileSystem seam;
};

TEST_F(Journal, ATransactionOverSeveralFilesIsWholeOrAbsentWhereverTheProcessDies) {
    learnOutcomes();
    int killed = 0;
    for (int step = 1;; ++step) {
        ASSERT_LT(step, 2000);
        Child child([&] {
            int steps = 0;
            seam.hook = [&](auto, auto) { return ++steps == step ? raise(SIGSTOP) : 0; };
            const ScopedFileSystem installed(seam);
            return int(transaction());
        });
        const int status = child.wait(WUNTRACED);
        const bool stopped = WIFSTOPPED(status);
        if (stopped) {
            kill(child.pid, SIGKILL);
            child.wait();
        } else {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == StatusSuccess) << step;
        }
        const std::vector<Contents> now = contents();
        ASSERT_TRUE(now == before || now == after) << "killed at step " << step;
        EXPECT_FALSE(journalExists());
        if (!stopped)
            break;
        ++killed;
        if (now == after) // start again from the files as they were
            reset();
    }
    EXPECT_GT(killed, 10) << killed;
}

TEST_F(Journal, AFileThatCannotCommitIsWrittenFromTheJournalOrHoldsUpEveryCallUntilItIs) {
    learnOutcomes();
    const ScopedFileSystem installed(seam);
    // The second file's commit fails once: it is written from the journal at once.
    int commits = 0;
    seam.hook = [&](std::string_view step, auto) { return step == "commit" && ++commits == 2 ? EIO : 0; };
    EXPECT_EQ(transaction(), StatusSuccess);
    stop();
    EXPECT_EQ(contents(), after);

    // Every commit of B fails: End fails, and so does every call until B can take the journal.
    reset();
    seam.hook = [](std::string_view step, std::string_view path) {
        return step == "commit" && path.ends_with("B.ZU2") ? EIO : 0;
    };
    EXPECT_EQ(transaction(), StatusIOError);
    EXPECT_TRUE(journalExists());
    Handle h;
    EXPECT_EQ(h.open(path("A.ZU2")), StatusIOError);
    seam.hook = nullptr;
    ASSERT_EQ(h.open(path("A.ZU2")), StatusSuccess);
    EXPECT_FALSE(journalExists());
    stop();
    EXPECT_EQ(contents(), after);
}

TEST_F(Journal, AJournalThatCannotBeWrittenCommitsNothing) {
    before = contents();
    {
        seam.hook = [](std::string_view step, std::string_view path) {
            return step == "write" && path.ends_with(".zrm-journal") ? ENOSPC : 0;
        };
        const ScopedFileSystem installed(seam);
        EXPECT_EQ(transaction(), StatusIOError);
        stop();
    }
    EXPECT_EQ(contents(), before);
    EXPECT_FALSE(journalExists());

    // A journal cut short was never acted on: the next open removes it and changes nothing.
    std::ofstream(path(".zrm-journal")) << "ZRMJRNL1 cut";
    EXPECT_EQ(contents(), before);
    EXPECT_FALSE(journalExists());
}

TEST_F(Journal, FilesInTwoFoldersCannotShareATransaction) {
    QTemporaryDir other;
    const std::string elsewhere = other.filePath("D.ZU2").toStdString();
    ASSERT_EQ(createFile(elsewhere, testLayout(true).bytes()), StatusSuccess);
    before = contents();
    Handle a, d;
    ASSERT_EQ(a.open(path("A.ZU2")), StatusSuccess);
    ASSERT_EQ(d.open(elsewhere), StatusSuccess);
    ASSERT_EQ(a.simple(OpBeginTransaction), StatusSuccess);
    Bytes r = testRecord(50);
    r.insert(r.end(), {0, 0, 0, 0});
    ASSERT_EQ(a.write(OpInsert, r), StatusSuccess);
    ASSERT_EQ(d.write(OpInsert, r), StatusSuccess);
    EXPECT_EQ(a.simple(OpEndTransaction), StatusInvalidOperation);
    EXPECT_EQ(d.recordCount(), 0u);
    stop();
    EXPECT_EQ(contents(), before);
}

TEST_F(Journal, AProcessOpeningAFileWhileACommitIsUnderWayWaitsForItsEnd) {
    learnOutcomes();
    // The writer stops once its first file has committed.
    Child writer([&] {
        int commits = 0;
        seam.hook = [&](std::string_view step, auto) {
            return step == "commit" && ++commits == 2 ? raise(SIGSTOP) : 0;
        };
        const ScopedFileSystem installed(seam);
        return int(transaction());
    });
    ASSERT_TRUE(WIFSTOPPED(writer.wait(WUNTRACED)));
    ASSERT_TRUE(journalExists());
    std::thread resume([pid = writer.pid] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        kill(pid, SIGCONT);
    });
    const std::vector<Contents> seen = contents();
    resume.join();
    EXPECT_EQ(writer.exitCode(), StatusSuccess);
    EXPECT_EQ(seen, after);
}

} // namespace
} // namespace RmTest
