#pragma once
// Helpers of the record manager tests: statistics buffers, a position block with typed calls,
// a fixed test record, and a temporary folder that closes every file afterwards.
#include "platform/recordmanager/FileSystem.h"
#include "platform/recordmanager/RecordManager.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace RmTest {

using namespace RecordManager;
using Bytes = std::vector<uint8_t>;

struct Segment {
    uint16_t position; // 1-based
    uint16_t length;
    uint8_t type = KeySpec::TypeString;
    uint16_t flags = 0; // besides duplicates, segmented and extended type
};

class StatBuilder {
public:
    explicit StatBuilder(uint16_t recordLength, bool variable = false)
        : bytes_(StatBufferSize, 0) {
        put16(Stat::RecordLength, recordLength);
        put16(Stat::PageSize, 4096);
        put16(Stat::FileFlags, variable ? Stat::FlagVariableLength : 0);
    }
    StatBuilder& key(std::initializer_list<Segment> segments, bool duplicates = false) {
        size_t i = 0;
        for (const Segment& s : segments) {
            const int at = Stat::KeySpecs + segmentCount_++ * KeySpec::Size;
            uint16_t flags = s.flags | KeySpec::FlagExtendedType;
            if (duplicates)
                flags |= KeySpec::FlagDuplicates;
            if (++i < segments.size())
                flags |= KeySpec::FlagSegmented;
            put16(at + KeySpec::Position, s.position);
            put16(at + KeySpec::Length, s.length);
            put16(at + KeySpec::Flags, flags);
            bytes_[size_t(at + KeySpec::ExtendedType)] = s.type;
        }
        put16(Stat::KeyCount, ++keyCount_);
        return *this;
    }
    Bytes bytes() const { return bytes_; }
    Bytes& raw() { return bytes_; }

private:
    void put16(int at, uint16_t v) {
        bytes_[size_t(at)] = uint8_t(v);
        bytes_[size_t(at) + 1] = uint8_t(v >> 8);
    }
    Bytes bytes_;
    int segmentCount_ = 0;
    uint16_t keyCount_ = 0;
};

// Stop: closes every file of the process.
inline int16_t stop() {
    uint32_t length = 0;
    return BTRCALL(OpStop, nullptr, nullptr, &length, nullptr, 0, 0);
}

inline int16_t createFile(const std::string& path, Bytes stat, int8_t mode = CreateReplace) {
    std::array<uint8_t, PositionBlockSize> block{};
    uint32_t length = uint32_t(stat.size());
    std::string name = path;
    return BTRCALL(OpCreate, block.data(), stat.data(), &length, name.data(), 255, mode);
}

// One position block.
class Handle {
public:
    int16_t open(const std::string& path, int8_t mode = OpenNormal) {
        std::string name = path;
        char owner = 0;
        uint32_t length = 1;
        return BTRCALL(OpOpen, block.data(), &owner, &length, name.data(), 255, mode);
    }
    int16_t close() { return simple(OpClose); }
    int16_t call(uint16_t op, void* data, uint32_t& length, void* key, int8_t keyNumber) {
        return BTRCALL(op, block.data(), data, &length, key, 255, keyNumber);
    }
    // A call with a record buffer of `room` bytes; `record` gets what came back.
    int16_t get(uint16_t op, int8_t keyNumber, void* key, Bytes& record, uint32_t room = 512) {
        record.assign(room, 0xEE);
        uint32_t length = room;
        uint8_t dummy[255] = {};
        const int16_t status = call(op, record.data(), length, key ? key : dummy, keyNumber);
        if (status == StatusSuccess)
            record.resize(length);
        return status;
    }
    int16_t write(uint16_t op, Bytes& record, int8_t keyNumber = 0) {
        uint32_t length = uint32_t(record.size());
        uint8_t key[255] = {};
        return call(op, record.data(), length, key, keyNumber);
    }
    int16_t simple(uint16_t op) {
        uint8_t dummy[255] = {};
        uint32_t length = 2;
        return call(op, dummy, length, dummy, 0);
    }
    uint32_t position() {
        Bytes data;
        return get(OpGetPosition, 0, nullptr, data, 4) == StatusSuccess ? uint32_t(get32(data, 0)) : 0;
    }
    uint32_t recordCount() {
        Bytes stat;
        return get(OpStat, 0, nullptr, stat, StatBufferSize) == StatusSuccess
                   ? uint32_t(get32(stat, Stat::RecordCount))
                   : UINT32_MAX;
    }
    void insertAll(std::vector<Bytes> records) {
        for (Bytes& r : records)
            ASSERT_EQ(write(OpInsert, r), StatusSuccess);
    }
    static int32_t get32(const Bytes& b, size_t at) {
        return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
                       uint32_t(b[at + 3]) << 24);
    }

    std::array<uint8_t, PositionBlockSize> block{};
};

// The test record, 40 bytes: id (int32 at 1), name (20 bytes at 5), score (int32 at 25),
// code (uint16 at 29), tag (zero-terminated, 10 bytes at 31).
constexpr uint16_t TestRecordLength = 40;

inline Bytes testRecord(int32_t id, const std::string& name = "", int32_t score = 0, uint16_t code = 0,
                        const std::string& tag = "") {
    Bytes r(TestRecordLength, 0);
    std::memcpy(r.data(), &id, 4);
    std::memcpy(r.data() + 4, name.data(), std::min<size_t>(name.size(), 20));
    std::memcpy(r.data() + 24, &score, 4);
    std::memcpy(r.data() + 28, &code, 2);
    std::memcpy(r.data() + 30, tag.data(), std::min<size_t>(tag.size(), 10));
    return r;
}
inline int32_t idOf(const Bytes& r) {
    return Handle::get32(r, 0);
}

// Key 0: id, unique integer. Key 1: name, case-insensitive text, duplicates.
// Key 2: score, descending integer, duplicates. Key 3: tag (zero-terminated) + code (unsigned), duplicates.
inline StatBuilder testLayout(bool variable = false) {
    StatBuilder b(TestRecordLength, variable);
    b.key({{1, 4, KeySpec::TypeInteger}});
    b.key({{5, 20, KeySpec::TypeString, KeySpec::FlagCaseInsensitive}}, true);
    b.key({{25, 4, KeySpec::TypeInteger, KeySpec::FlagDescending}}, true);
    b.key({{31, 10, KeySpec::TypeZString}, {29, 2, KeySpec::TypeUnsignedBinary}}, true);
    return b;
}

// A file system a test can fail or stop at any step: `hook` gets the step ("write", "sync", "commit",
// "fsync", "rename" or "unlink") with its path, and an errno value it gives fails the step.
class HookedFileSystem : public FileSystem {
public:
    std::function<int(std::string_view step, std::string_view path)> hook;

    int beforeWrite(const char* p) override {
        return failed("write", p) ? error_ : FileSystem::beforeWrite(p);
    }
    int beforeSync(const char* p) override { return failed("sync", p) ? error_ : FileSystem::beforeSync(p); }
    int beforeCommit(const char* p) override {
        return failed("commit", p) ? error_ : FileSystem::beforeCommit(p);
    }
    int sync(int fd) override { return failed("fsync", "") ? fail() : FileSystem::sync(fd); }
    int rename(const char* f, const char* t) override {
        return failed("rename", t) ? fail() : FileSystem::rename(f, t);
    }
    int unlink(const char* p) override { return failed("unlink", p) ? fail() : FileSystem::unlink(p); }

private:
    bool failed(std::string_view step, std::string_view path) {
        return (error_ = hook ? hook(step, path) : 0) != 0;
    }
    int fail() {
        errno = error_;
        return -1;
    }
    int error_ = 0;
};

// A forked child whose exit status is body's result, killed when the test ends before it was waited for.
// The parent must have no record file open at the fork: the child starts from its record manager's state.
struct Child {
    explicit Child(const std::function<int()>& body)
        : pid(fork()) {
        if (pid == 0)
            _exit(body());
    }
    ~Child() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    // The wait status; a child that stopped is still there to be waited for again.
    int wait(int options = 0) {
        int status = 0;
        waitpid(pid, &status, options);
        if (!WIFSTOPPED(status))
            pid = -1;
        return status;
    }
    int exitCode() {
        const int status = wait();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    pid_t pid;
};

// Every test gets its own folder and leaves no file open.
class RecordManagerTest : public ::testing::Test {
protected:
    void TearDown() override { stop(); }
    std::string path(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    // Creates and opens the test file.
    void openTestFile(Handle& h, bool variable = false, const std::string& name = "TEST.ZU2") {
        ASSERT_EQ(createFile(path(name), testLayout(variable).bytes()), StatusSuccess);
        ASSERT_EQ(h.open(path(name)), StatusSuccess);
    }
    // The ids met walking a key from one end to the other.
    std::vector<int32_t> walk(Handle& h, int8_t key, bool backwards = false) {
        std::vector<int32_t> ids;
        Bytes r;
        int16_t status = h.get(backwards ? OpGetLast : OpGetFirst, key, nullptr, r);
        while (status == StatusSuccess && ids.size() < 100000) {
            ids.push_back(idOf(r));
            status = h.get(backwards ? OpGetPrevious : OpGetNext, key, nullptr, r);
        }
        EXPECT_EQ(status, StatusEndOfFile);
        return ids;
    }
    QTemporaryDir dir_;
};

} // namespace RmTest
