#pragma once
// One open record file: its SQLite database, the lock that tells other processes it is open,
// and the prepared statements of every query the cursors run.
#include "platform/recordmanager/FileLayout.h"
#include "platform/recordmanager/KeyCodec.h"
#include "platform/recordmanager/Sqlite.h"

#include <sys/types.h>

#include <chrono>
#include <compare>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace RecordManager {

class JournalWriter;

// The same file under any name.
struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    auto operator<=>(const FileId&) const = default;
};

// A whole-file flock on the record file: shared while open, exclusive for an exclusive open.
// Kept until the database is closed: closing another descriptor of the file would drop SQLite's
// own POSIX locks.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Throws the status: 12 missing, 85 locked elsewhere.
    void acquire(const std::string& path, bool exclusive);
    bool upgrade();
    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

enum class Query : uint8_t {
    Equal,
    GreaterOrEqual,
    Greater,
    LessOrEqual,
    Less,
    First,
    Last,
    Next,
    Previous,
    StepFirst,
    StepLast,
    StepNext,
    StepPrevious,
    Direct,
    // The two halves of Next and Previous: the rest of the duplicates, then the keys beyond.
    NextSame,
    NextAbove,
    PreviousSame,
    PreviousBelow,
    QueryCount
};

struct Record {
    uint32_t position = 0;
    std::vector<uint8_t> data;
    // The key as the file's index holds it, for keyed queries: the key of storedKeyOf.
    std::vector<uint8_t> storedKey;
    int storedKeyOf = NoStoredKey;
    static constexpr int NoStoredKey = -1;
    // When it was read or written, and the file's change stamp then.
    std::chrono::steady_clock::time_point read{};
    uint64_t stamp = 0;
};

class RecordFile {
public:
    // Every call throws StatusError for the status that ends it.
    static void create(const std::string& path, const uint8_t* stat, size_t statSize, bool replace);
    static std::unique_ptr<RecordFile> open(const std::string& path, bool exclusive);
    static FileId identify(const std::string& path);
    // Opens the SQLite database of a record file as every connection of ours does; the SQLite result code.
    static int openDatabase(Database& db, const std::string& path);

    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    const FileLayout& layout() const { return layout_; }
    const FileId& id() const { return id_; }
    const std::string& path() const { return path_; }
    bool writable() const { return !db_.readOnly(); }
    const std::vector<uint8_t>& statBytes() const { return stat_; }

    // Runs a query into `out` (left alone when nothing is found). Key queries take the encoded key;
    // Next and Previous go on from (key, position); the step queries and Direct take the position.
    bool find(Query query, int key, const EncodedKey* value, uint32_t position, Record& out);
    // Next, Previous, StepNext and StepPrevious for up to `limit` records, into out's first elements.
    size_t findMany(Query query, int key, const EncodedKey* value, uint32_t position, size_t limit,
                    std::vector<Record>& out);
    // Changes whenever this process changes the file (writes, commit, abort).
    uint64_t changeStamp() const { return changes_; }

    // The writes compute every key from the record. A duplicate of a unique key throws status 5.
    uint32_t insert(const uint8_t* data, size_t size);
    bool update(uint32_t position, const uint8_t* data, size_t size); // false: the record is gone
    bool remove(uint32_t position);                                   // false: the record is gone
    // An autoincrement value is never given twice: the highest value a record held when it was deleted
    // (or its value changed) stays in the file, and the next value goes above it too.
    int64_t highestValue(const KeySegment& segment);
    // Keeps the autoincrement values of the record at position before it goes; for the journal's writes
    // too, which pass their own database.
    static void keepAutoIncrementValues(Database& db, const FileLayout& layout, uint32_t position);
    // Counted once, then kept by this process's inserts and deletes; counted again after a rollback or
    // when another connection has committed to the file since.
    uint32_t recordCount();
    // Another value than the last call gave when the records have changed since, by this process or
    // another; the same when they have not.
    uint32_t changeCount();
    // The key as the index holds it for the record at position; false when the record is gone or out of
    // that key.
    bool storedKey(uint32_t position, int key, std::vector<uint8_t>& out);

    // The process-wide transaction, joined by each file as it is first used.
    bool inTransaction() const { return inTransaction_; }
    // Records were written in this transaction.
    bool changedInTransaction() const { return !images_.empty(); }
    void begin();
    void commit();
    void rollback();
    // A read transaction held across calls, outside any write; the reads see the file as it stood at the
    // first of them.
    bool inRead() const { return inRead_; }
    void beginRead();
    void endRead();
    // For the journal: the file's name, its key count, the positions the transaction wrote, and the
    // record at each as it stands now (position, data, each key or null), absent ones left out.
    void writeJournal(JournalWriter& journal);
    // Syncs the WAL, so what was committed lasts also when the power fails.
    void syncWal();

    // Makes a read-then-write call atomic when no explicit transaction covers it.
    class WriteScope {
    public:
        explicit WriteScope(RecordFile& file);
        ~WriteScope();
        WriteScope(const WriteScope&) = delete;
        WriteScope& operator=(const WriteScope&) = delete;
        void commit();

    private:
        RecordFile& file_;
        bool own_;
    };

    // Bookkeeping of the session: cursors on this file and whether one of them holds it exclusively.
    int cursors = 0;
    bool exclusive = false;
    bool upgradeLock() { return lock_.upgrade(); }

private:
    RecordFile() = default;
    Statement& statement(Query query, int key);
    Statement& fileStatement(int which);
    void bindKeys(Statement& s, const uint8_t* data, size_t size);
    std::string queryText(Query query, int key) const;
    int64_t dataVersion();
    void forgetCount() { count_ = -1; }
    size_t run(Query query, int key, const EncodedKey* value, uint32_t position, size_t limit, Record* out);
    size_t runOne(Query query, int key, const EncodedKey* value, uint32_t position, size_t limit,
                  Record* out);

    // Destroyed in reverse: statements, then the database, then the lock.
    FileLock lock_;
    FileId id_;
    std::string path_;
    FileLayout layout_;
    std::vector<uint8_t> stat_;
    Database db_;
    std::vector<Statement> queries_;
    std::vector<Statement> fileQueries_;
    std::vector<EncodedKey> keyScratch_;
    bool autoIncrement_ = false; // a key has an autoincrement segment
    int64_t nextPosition_ = 0;   // of the next insert within the transaction; 0 until it is found
    bool lastIsHighest_ = false; // the transaction's last insert is the file's highest position
    bool inTransaction_ = false;
    bool inRead_ = false;
    // What the transaction wrote, for its journal: at each position it touched, the record as it stands
    // now with its keys as the index holds them, or nothing when it is gone. Kept as the writes pass, so
    // the journal needs no reading back.
    struct Image {
        uint32_t position = 0;
        bool present = false;
        size_t at = 0;       // of the data in imageBytes_, the keys as the journal has them behind it
        uint32_t size = 0;   // of the data
        size_t keysSize = 0; // of the keys
    };
    void noteImage(uint32_t position, const uint8_t* data, size_t size);
    void noteGone(uint32_t position);
    void forgetImages();
    std::vector<Image> images_;
    std::unordered_map<uint32_t, size_t> imageOf_;
    std::vector<uint8_t> imageBytes_;
    std::vector<bool> keyPresent_; // of the keys bindKeys made last
    uint64_t changes_ = 0;
    int64_t count_ = -1; // the kept record count; -1 when it must be counted
    int64_t countVersion_ = 0;
    // Records this process inserted, updated or deleted, or whose writes it rolled back.
    uint64_t modifications_ = 0;
    // What changeCount saw last.
    int64_t seenVersion_ = -1;
    uint64_t seenModifications_ = 0;
    uint32_t changeCount_ = 0;
};

} // namespace RecordManager
