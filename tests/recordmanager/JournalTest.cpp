// Transactions over several files: all or nothing when the process dies at any step of End Transaction,
// when a file cannot commit, and for a process that opens the files meanwhile.
#include "RecordManagerSupport.h"

#include "platform/recordmanager/FileSystem.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

namespace RmTest {
namespace {

// Counts the steps of the file system seam and does something at a chosen one.
class StepCounter : public FileSystem {
public:
    int steps = 0;
    int at = 0;
    std::function<int()> onStep; // its result fails the step when not 0

    int beforeWrite(const char* path) override { return step() ? step_ : FileSystem::beforeWrite(path); }
    int beforeSync(const char* path) override { return step() ? step_ : FileSystem::beforeSync(path); }
    int beforeCommit(const char* path) override { return step() ? step_ : FileSystem::beforeCommit(path); }
    int sync(int fd) override { return step() ? fail() : FileSystem::sync(fd); }
    int unlink(const char* path) override { return step() ? fail() : FileSystem::unlink(path); }

private:
    bool step() {
        step_ = ++steps == at && onStep ? onStep() : 0;
        return step_ != 0;
    }
    int fail() {
        errno = step_;
        return -1;
    }
    int step_ = 0;
};

// A child process, killed when the test ends before it was waited for.
struct Child {
    pid_t pid = -1;
    ~Child() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    int wait(int options = 0) {
        int status = 0;
        waitpid(pid, &status, options);
        if (!(options & WUNTRACED) || !WIFSTOPPED(status))
            pid = -1;
        return status;
    }
};

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
        for (size_t i = 0; i < names.size(); ++i)
            if (int16_t s = h[i].open(path(names[i])))
                return s;
        if (int16_t s = h[0].simple(OpBeginTransaction))
            return s;
        for (size_t i = 0; i < names.size(); ++i) {
            Bytes r;
            int32_t id = 2;
            if (int16_t s = h[i].get(OpGetEqual, 0, &id, r))
                return s;
            if (int16_t s = h[i].simple(OpDelete))
                return s;
            Bytes again = testRecord(2, "ny " + names[i], 99);
            again.insert(again.end(), {3, 0, 0, 0, 'x', 'y', 'z'});
            if (int16_t s = h[i].write(OpInsert, again))
                return s;
            id = 3;
            if (int16_t s = h[i].get(OpGetEqual, 0, &id, r))
                return s;
            r[24] = 77;
            if (int16_t s = h[i].write(OpUpdate, r))
                return s;
            for (int32_t n = 5; n < 40; ++n) {
                Bytes more = testRecord(n, std::string(20, char('a' + n % 26)), n);
                if (int16_t s = h[i].write(OpInsert, more))
                    return s;
            }
        }
        return h[0].simple(OpEndTransaction);
    }

    std::string journal() const { return path(".zrm-journal"); }
};

TEST_F(Journal, ATransactionOverSeveralFilesIsWholeOrAbsentWhereverTheProcessDies) {
    const std::vector<Contents> before = contents();
    ASSERT_EQ(transaction(), StatusSuccess);
    const std::vector<Contents> after = contents();
    ASSERT_NE(before, after);
    for (const std::string& name : names) // back to the start
        std::filesystem::remove(path(name));
    SetUp();

    int killed = 0;
    for (int step = 1;; ++step) {
        ASSERT_LT(step, 2000);
        Child child;
        child.pid = fork();
        if (child.pid == 0) {
            StepCounter counter;
            counter.at = step;
            counter.onStep = [] { return raise(SIGSTOP); };
            const ScopedFileSystem seam(counter);
            _exit(transaction());
        }
        int status = child.wait(WUNTRACED);
        const bool stopped = WIFSTOPPED(status);
        if (stopped) {
            kill(child.pid, SIGKILL);
            child.wait();
        } else {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == StatusSuccess) << step;
        }
        const std::vector<Contents> now = contents();
        ASSERT_TRUE(now == before || now == after) << "killed at step " << step;
        EXPECT_FALSE(std::filesystem::exists(journal()));
        if (!stopped)
            break;
        ++killed;
        if (now == after) { // start again from the files as they were
            for (const std::string& name : names)
                std::filesystem::remove(path(name));
            SetUp();
        }
    }
    EXPECT_GT(killed, 10) << killed;
}

TEST_F(Journal, AFileThatCannotCommitIsWrittenFromTheJournalOrHoldsUpEveryCallUntilItIs) {
    const std::vector<Contents> before = contents();
    ASSERT_EQ(transaction(), StatusSuccess);
    const std::vector<Contents> after = contents();
    for (const std::string& name : names)
        std::filesystem::remove(path(name));
    SetUp();

    // The second file's commit fails once: it is written from the journal at once.
    int commits = 0;
    {
        struct SecondCommitFails : FileSystem {
            int* commits;
            int beforeCommit(const char* path) override {
                return ++*commits == 2 ? EIO : FileSystem::beforeCommit(path);
            }
        } once;
        once.commits = &commits;
        const ScopedFileSystem seam(once);
        EXPECT_EQ(transaction(), StatusSuccess);
        stop();
    }
    EXPECT_EQ(contents(), after);

    for (const std::string& name : names)
        std::filesystem::remove(path(name));
    SetUp();
    // Every commit of B fails: End fails, and so does every call until B can take the journal.
    struct BCannotCommit : FileSystem {
        bool broken = true;
        int beforeCommit(const char* path) override {
            return broken && std::string(path).ends_with("B.ZU2") ? EIO : FileSystem::beforeCommit(path);
        }
    } full;
    {
        const ScopedFileSystem seam(full);
        EXPECT_EQ(transaction(), StatusIOError);
        EXPECT_TRUE(std::filesystem::exists(journal()));
        Handle h;
        EXPECT_EQ(h.open(path("A.ZU2")), StatusIOError);
        full.broken = false;
        ASSERT_EQ(h.open(path("A.ZU2")), StatusSuccess);
        EXPECT_FALSE(std::filesystem::exists(journal()));
        stop();
    }
    EXPECT_EQ(contents(), after);
    EXPECT_NE(before, after);
}

TEST_F(Journal, AJournalThatCannotBeWrittenCommitsNothing) {
    const std::vector<Contents> before = contents();
    struct JournalFull : FileSystem {
        int beforeWrite(const char* path) override {
            return std::string(path).ends_with(".zrm-journal") ? ENOSPC : FileSystem::beforeWrite(path);
        }
    } full;
    {
        const ScopedFileSystem seam(full);
        EXPECT_EQ(transaction(), StatusIOError);
        stop();
    }
    EXPECT_EQ(contents(), before);
    EXPECT_FALSE(std::filesystem::exists(journal()));

    // A journal cut short was never acted on: the next open removes it and changes nothing.
    std::ofstream(journal()) << "ZRMJRNL1 cut";
    EXPECT_EQ(contents(), before);
    EXPECT_FALSE(std::filesystem::exists(journal()));
}

TEST_F(Journal, FilesInTwoFoldersCannotShareATransaction) {
    QTemporaryDir other;
    const std::string elsewhere = other.filePath("D.ZU2").toStdString();
    ASSERT_EQ(createFile(elsewhere, testLayout(true).bytes()), StatusSuccess);
    const std::vector<Contents> before = contents();
    Handle a, d;
    ASSERT_EQ(a.open(path("A.ZU2")), StatusSuccess);
    ASSERT_EQ(d.open(elsewhere), StatusSuccess);
    ASSERT_EQ(a.simple(OpBeginTransaction), StatusSuccess);
    Bytes r = testRecord(50, "", 0, 0);
    r.insert(r.end(), {0, 0, 0, 0});
    ASSERT_EQ(a.write(OpInsert, r), StatusSuccess);
    ASSERT_EQ(d.write(OpInsert, r), StatusSuccess);
    EXPECT_EQ(a.simple(OpEndTransaction), StatusInvalidOperation);
    EXPECT_EQ(d.recordCount(), 0u);
    stop();
    EXPECT_EQ(contents(), before);
}

TEST_F(Journal, AProcessOpeningAFileWhileACommitIsUnderWayWaitsForItsEnd) {
    ASSERT_EQ(transaction(), StatusSuccess);
    const std::vector<Contents> after = contents();
    for (const std::string& name : names)
        std::filesystem::remove(path(name));
    SetUp();

    // The writer stops once its first file has committed.
    Child writer;
    writer.pid = fork();
    if (writer.pid == 0) {
        struct StopAtSecondCommit : FileSystem {
            int commits = 0;
            int beforeCommit(const char* path) override {
                if (++commits == 2)
                    raise(SIGSTOP);
                return FileSystem::beforeCommit(path);
            }
        } stopping;
        const ScopedFileSystem seam(stopping);
        _exit(transaction());
    }
    int status = writer.wait(WUNTRACED);
    ASSERT_TRUE(WIFSTOPPED(status));
    ASSERT_TRUE(std::filesystem::exists(journal()));
    std::thread resume([pid = writer.pid] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        kill(pid, SIGCONT);
    });
    const std::vector<Contents> seen = contents();
    resume.join();
    status = writer.wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == StatusSuccess);
    EXPECT_EQ(seen, after);
}

} // namespace
} // namespace RmTest
