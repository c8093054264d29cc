#include "platform/recordmanager/Journal.h"

#include "platform/LittleEndian.h"
#include "platform/recordmanager/FileSystem.h"
#include "platform/recordmanager/RecordFile.h"
#include "platform/recordmanager/RecordManagerCodes.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

namespace RecordManager {

namespace {

// A journal: the magic, the body's length, the body, a checksum of the body. Anything else (a journal
// cut short while it was written) is no journal.
constexpr char Magic[8] = {'Z', 'R', 'M', 'J', 'R', 'N', 'L', '1'};
constexpr size_t HeaderSize = 16;
constexpr size_t TrailerSize = 8;
constexpr char JournalName[] = ".zrm-journal";
constexpr auto LockWait = std::chrono::seconds(5); // as long as SQLite waits for a lock

uint64_t checksum(const uint8_t* data, size_t size) {
    uint64_t hash = 0xcbf29ce484222325ull; // FNV-1a
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 0x100000001b3ull;
    return hash;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileId folderIdOf(const std::string& path) {
    struct stat st;
    if (::stat(folderOf(path).c_str(), &st) != 0)
        fail(StatusIOError);
    return FileId{st.st_dev, st.st_ino};
}

// The body of a whole journal; false for anything else.
bool bodyOf(const std::vector<uint8_t>& journal, const uint8_t*& body, size_t& size) {
    if (journal.size() < HeaderSize + TrailerSize || std::memcmp(journal.data(), Magic, sizeof Magic) != 0)
        return false;
    const uint64_t length = loadLE<uint64_t>(journal.data() + sizeof Magic);
    if (length != journal.size() - HeaderSize - TrailerSize)
        return false;
    body = journal.data() + HeaderSize;
    size = size_t(length);
    return loadLE<uint64_t>(body + size) == checksum(body, size);
}

class Reader {
public:
    Reader(const uint8_t* data, size_t size)
        : at_(data)
        , end_(data + size) {}
    const uint8_t* take(size_t n) {
        if (size_t(end_ - at_) < n)
            fail(StatusNotARecordFile);
        const uint8_t* taken = at_;
        at_ += n;
        return taken;
    }
    uint16_t u16() { return loadLE<uint16_t>(take(2)); }
    uint32_t u32() { return loadLE<uint32_t>(take(4)); }

private:
    const uint8_t* at_;
    const uint8_t* end_;
};

// The file's layout when one of its keys has an autoincrement segment, whose values a delete keeps.
std::optional<FileLayout> autoIncrementLayout(Database& db) {
    Statement meta(db.handle(), "SELECT stat FROM meta WHERE id = 1");
    if (!meta.step())
        fail(StatusNotARecordFile);
    const FileLayout layout = parseLayout(meta.blob(0), meta.blobSize(0));
    for (const KeyDef& key : layout.keys)
        for (const KeySegment& segment : key.segments)
            if (segment.autoIncrement)
                return layout;
    return std::nullopt;
}

// Writes one file's part of a journal into the file: every position the transaction wrote is deleted and
// the records that stand there at its end are inserted, so it ends the same whether the file had
// committed or not. A file no longer there is passed over.
void replayFile(const std::string& folder, Reader& r, const std::vector<std::string>* only) {
    const uint16_t nameSize = r.u16();
    const std::string name(reinterpret_cast<const char*>(r.take(nameSize)), nameSize);
    const uint16_t keys = r.u16();
    const uint32_t touched = r.u32();
    const uint8_t* positions = r.take(size_t(touched) * 4);
    const uint32_t images = r.u32();
    if (name.empty() || name.find('/') != std::string::npos)
        fail(StatusNotARecordFile);
    const std::string path = folder + '/' + name;
    struct stat st;
    const bool skip = (only && std::find(only->begin(), only->end(), name) == only->end()) ||
                      (::stat(path.c_str(), &st) != 0 && errno == ENOENT);

    Database db;
    if (!skip) {
        if (const int rc = RecordFile::openDatabase(db, path); rc != SQLITE_OK)
            fail(statusOfSqlite(rc) == StatusFileNotFound ? int16_t(StatusIOError) : statusOfSqlite(rc));
        db.exec("BEGIN IMMEDIATE");
    }
    std::string sql = "INSERT INTO records(pos, data";
    for (uint16_t k = 0; k < keys; ++k)
        sql += ", k" + std::to_string(k);
    sql += ") VALUES(?1, ?2";
    for (uint16_t k = 0; k < keys; ++k)
        sql += ", ?" + std::to_string(k + 3);
    sql += ")";
    Statement remove;
    Statement insert;
    if (!skip) {
        remove = Statement(db.handle(), "DELETE FROM records WHERE pos = ?1");
        insert = Statement(db.handle(), sql);
        const std::optional<FileLayout> layout = autoIncrementLayout(db);
        for (uint32_t i = 0; i < touched; ++i) {
            if (layout)
                RecordFile::keepAutoIncrementValues(db, *layout, loadLE<uint32_t>(positions + 4 * i));
            StatementUse use(remove);
            remove.bindInt(1, loadLE<uint32_t>(positions + 4 * i));
            remove.step();
        }
    }
    for (uint32_t i = 0; i < images; ++i) {
        const uint32_t position = r.u32();
        const uint32_t size = r.u32();
        const uint8_t* data = r.take(size);
        std::optional<StatementUse> use;
        if (!skip) {
            use.emplace(insert);
            insert.bindInt(1, position);
            insert.bindBlob(2, data, size);
        }
        for (uint16_t k = 0; k < keys; ++k) {
            const uint16_t keySize = r.u16();
            if (keySize == JournalNullKey) {
                if (!skip)
                    insert.bindNull(k + 3);
                continue;
            }
            const uint8_t* key = r.take(keySize);
            if (!skip)
                insert.bindBlob(k + 3, key, keySize);
        }
        if (!skip)
            insert.step();
    }
    if (skip)
        return;
    if (fileSystem().beforeCommit(path.c_str()) != 0)
        fail(StatusIOError);
    db.exec("COMMIT");
    db.syncWal();
}

void apply(const std::string& folder, const uint8_t* body, size_t size,
           const std::vector<std::string>* only = nullptr) {
    Reader r(body, size);
    for (uint32_t files = r.u32(); files > 0; --files)
        replayFile(folder, r, only);
}

// The journal file, locked. The lock is checked to be on the file the name stands for: one that its
// holder removed meanwhile is nobody's journal any more.
class LockedJournal {
public:
    LockedJournal() = default;
    ~LockedJournal() { close(); }
    LockedJournal(const LockedJournal&) = delete;
    LockedJournal& operator=(const LockedJournal&) = delete;

    // False when there is none and create is not asked for.
    bool open(const std::string& path, bool create) {
        path_ = path;
        const auto deadline = std::chrono::steady_clock::now() + LockWait;
        for (;;) {
            fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0644);
            if (fd_ < 0) {
                if (errno == ENOENT && !create)
                    return false;
                fail(StatusIOError);
            }
            while (fileSystem().lock(fd_, LOCK_EX | LOCK_NB) != 0) {
                if (errno != EWOULDBLOCK && errno != EINTR)
                    fail(StatusIOError);
                if (std::chrono::steady_clock::now() > deadline)
                    fail(StatusFileLocked);
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            struct stat held;
            struct stat named;
            if (::fstat(fd_, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
                held.st_dev == named.st_dev && held.st_ino == named.st_ino)
                return true;
            close();
        }
    }

    std::vector<uint8_t> read() const {
        struct stat st;
        if (::fstat(fd_, &st) != 0)
            fail(StatusIOError);
        std::vector<uint8_t> bytes(size_t(st.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pread(fd_, bytes.data() + done, bytes.size() - done, off_t(done));
            if (n <= 0)
                fail(StatusIOError);
            done += size_t(n);
        }
        return bytes;
    }

    // The journal with the body, synced with its name in the folder.
    void write(const std::vector<uint8_t>& body) {
        uint8_t header[HeaderSize];
        std::memcpy(header, Magic, sizeof Magic);
        storeLE<uint64_t>(header + sizeof Magic, body.size());
        uint8_t trailer[TrailerSize];
        storeLE<uint64_t>(trailer, checksum(body.data(), body.size()));
        struct stat st;
        if (::fstat(fd_, &st) != 0)
            fail(StatusIOError);
        if (st.st_size != 0) {
            // Another process's transaction, decided, waits in it for the files this one holds; a
            // journal cut short was never acted on.
            const std::vector<uint8_t> left = read();
            const uint8_t* leftBody = nullptr;
            size_t leftSize = 0;
            if (bodyOf(left, leftBody, leftSize))
                fail(StatusFileLocked);
            if (::ftruncate(fd_, 0) != 0)
                fail(StatusIOError);
        }
        if (fileSystem().beforeWrite(path_.c_str()) != 0)
            fail(StatusIOError);
        off_t at = 0;
        for (const auto& [data, size] : {std::pair<const uint8_t*, size_t>{header, HeaderSize},
                                         {body.data(), body.size()},
                                         {trailer, TrailerSize}}) {
            for (size_t done = 0; done < size;) {
                const ssize_t n = ::pwrite(fd_, data + done, size - done, at);
                if (n <= 0)
                    fail(StatusIOError);
                done += size_t(n);
                at += n;
            }
        }
        if (fileSystem().sync(fd_) != 0 || !syncFolderOf(path_))
            fail(StatusIOError);
    }

    // Removes the journal; when that fails, empties it, which makes it no journal either. Throws when
    // neither works.
    void remove() {
        if (fileSystem().unlink(path_.c_str()) == 0) {
            if (syncFolderOf(path_))
                return;
        } else if (::ftruncate(fd_, 0) == 0 && fileSystem().sync(fd_) == 0) {
            return;
        }
        fail(StatusIOError);
    }

private:
    void close() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    std::string path_;
    int fd_ = -1;
};

void rollbackAll(const std::vector<RecordFile*>& files) {
    for (RecordFile* file : files)
        if (file->inTransaction())
            file->rollback();
}

} // namespace

std::string journalPathFor(const std::string& recordFilePath) {
    return folderOf(recordFilePath) + '/' + JournalName;
}

void commitFiles(const std::vector<RecordFile*>& files, std::string& pending) {
    std::vector<RecordFile*> changed;
    for (RecordFile* file : files)
        if (file->changedInTransaction())
            changed.push_back(file);
    if (changed.size() < 2) {
        // One file's commit is atomic by itself.
        int16_t result = StatusSuccess;
        for (RecordFile* file : files) {
            try {
                file->commit();
            } catch (const StatusError& e) {
                if (result == StatusSuccess)
                    result = e.status;
            }
        }
        if (result != StatusSuccess)
            fail(result);
        return;
    }

    const std::string journalPath = journalPathFor(changed.front()->path());
    LockedJournal journal;
    std::vector<uint8_t> body;
    try {
        // One journal serves one folder.
        const FileId folder = folderIdOf(changed.front()->path());
        for (RecordFile* file : changed)
            if (folderIdOf(file->path()) != folder)
                fail(StatusInvalidOperation);
        JournalWriter writer;
        writer.u32(uint32_t(changed.size()));
        for (RecordFile* file : changed)
            file->writeJournal(writer);
        body = std::move(writer.body());
        journal.open(journalPath, true);
        try {
            journal.write(body);
        } catch (const StatusError&) {
            try {
                journal.remove(); // what was written was never acted on
            } catch (const StatusError&) {
            }
            throw;
        }
    } catch (const StatusError&) {
        rollbackAll(files);
        throw;
    }

    // Decided: every file commits, if not now then from the journal.
    int16_t result = StatusSuccess;
    std::vector<std::string> failed;
    for (RecordFile* file : files) {
        const bool changes = file->changedInTransaction();
        try {
            file->commit();
            if (changes)
                file->syncWal();
        } catch (const StatusError& e) {
            if (changes) {
                failed.push_back(nameOf(file->path()));
                if (result == StatusSuccess)
                    result = e.status;
            }
        }
    }
    if (!failed.empty()) {
        try {
            apply(folderOf(journalPath), body.data(), body.size(), &failed);
        } catch (const StatusError&) {
            pending = journalPath;
            fail(result);
        }
    }
    try {
        journal.remove();
    } catch (const StatusError&) {
        pending = journalPath; // committed, but the journal must go before anything else is done
    }
}

void recoverJournal(const std::string& journalPath) {
    struct stat st;
    if (::stat(journalPath.c_str(), &st) != 0)
        return;
    LockedJournal journal;
    if (!journal.open(journalPath, false))
        return;
    const std::vector<uint8_t> bytes = journal.read();
    const uint8_t* body = nullptr;
    size_t size = 0;
    if (bodyOf(bytes, body, size))
        apply(folderOf(journalPath), body, size);
    journal.remove();
}

} // namespace RecordManager
