#include "platform/recordmanager/RecordFile.h"

#include "platform/LittleEndian.h"
#include "platform/recordmanager/FileSystem.h"
#include "platform/recordmanager/JournalWriter.h"
#include "platform/recordmanager/RecordManagerCodes.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace RecordManager {

namespace {

// Marks a database as one of our record files ("ZRM1" in the SQLite header's application id).
constexpr uint32_t ApplicationId = 0x5A524D31;
constexpr int FormatVersion = 1;
constexpr int BusyTimeoutMs = 5000;
constexpr int SqliteHeaderSize = 100;
constexpr int PageSizeOffset = 16;
constexpr int ChangeCounterOffset = 24;
constexpr int PageCountOffset = 28;
constexpr int ApplicationIdOffset = 68;
constexpr int VersionValidOffset = 92;
// The meta rows after the file's own (id 1) that keep the highest autoincrement value ever deleted: one
// per segment, by its offset.
constexpr int64_t KeptValueRow = 16;

enum FileQuery {
    InsertRecord,
    InsertAt,
    NextPosition,
    UpdateIfSameKeys,
    UpdateRecord,
    DeleteRecord,
    CountRecords,
    DataVersion,
    ScanRecords,
    BeginRead,
    EndRead,
    FileQueryCount // then one query per key for its stored key
};

std::string column(int key) {
    std::string name = std::to_string(key);
    name.insert(name.begin(), 'k'); // not "k" + ...: g++ 12 at -O3 warns of an overlap there
    return name;
}

void removeDatabaseFiles(const std::string& path) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        fileSystem().unlink((path + suffix).c_str());
}

std::string schema(const FileLayout& layout) {
    std::string sql = "PRAGMA application_id = " + std::to_string(ApplicationId) +
                      "; PRAGMA user_version = " + std::to_string(FormatVersion) +
                      "; BEGIN; CREATE TABLE meta(id INTEGER PRIMARY KEY, stat BLOB NOT NULL,"
                      " deleted INTEGER NOT NULL DEFAULT 0);"
                      " CREATE TABLE records(pos INTEGER PRIMARY KEY";
    for (size_t k = 0; k < layout.keys.size(); ++k)
        sql += ", " + column(int(k)) + " BLOB";
    sql += ", data BLOB NOT NULL);";
    // Positions are never used twice: meta.deleted keeps the highest position ever deleted, and an
    // insert takes the next above it and above every record. Cheaper than AUTOINCREMENT, which writes
    // its counter on every insert.
    sql += " CREATE TRIGGER keep_deleted AFTER DELETE ON records"
           " WHEN old.pos > (SELECT deleted FROM meta WHERE id = 1)"
           " BEGIN UPDATE meta SET deleted = old.pos WHERE id = 1; END;";
    for (size_t k = 0; k < layout.keys.size(); ++k)
        sql += std::string(layout.keys[k].unique ? " CREATE UNIQUE INDEX" : " CREATE INDEX") + " key" +
               std::to_string(k) + " ON records(" + column(int(k)) + ");";
    return sql;
}

uint32_t bigEndian32(const uint8_t* at) {
    return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3];
}

bool headerIsOurs(const uint8_t* header) {
    return std::memcmp(header, "SQLite format 3", 16) == 0 &&
           bigEndian32(header + ApplicationIdOffset) == ApplicationId;
}

// A file cut short: not whole pages, or fewer pages than its header counts. Only without a WAL that
// still holds pages, which may stand in for the file's last pages until they are copied back.
bool cutShort(const uint8_t* header, off_t size, const std::string& path) {
    struct stat wal;
    if (::stat((path + "-wal").c_str(), &wal) == 0 && wal.st_size > 0)
        return false;
    const uint32_t pageSize = header[PageSizeOffset] == 0 && header[PageSizeOffset + 1] == 1
                                  ? 65536
                                  : uint32_t(header[PageSizeOffset]) << 8 | header[PageSizeOffset + 1];
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0 || size % pageSize != 0)
        return true;
    // The count is good while the change counter and the count's own version agree.
    const uint32_t pages = bigEndian32(header + PageCountOffset);
    const bool counted =
        bigEndian32(header + ChangeCounterOffset) == bigEndian32(header + VersionValidOffset);
    return counted && off_t(pages) * pageSize > size;
}

} // namespace

FileLock::~FileLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

void FileLock::acquire(const std::string& path, bool exclusive) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        fail(errno == ENOENT || errno == ENOTDIR ? StatusFileNotFound : StatusIOError);
    if (fileSystem().lock(fd_, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd_);
        fd_ = -1;
        fail(error == EWOULDBLOCK ? StatusFileLocked : StatusIOError);
    }
}

bool FileLock::upgrade() {
    if (fileSystem().lock(fd_, LOCK_EX | LOCK_NB) == 0)
        return true;
    // The conversion may have dropped the shared lock on its way.
    fileSystem().lock(fd_, LOCK_SH | LOCK_NB);
    return false;
}

FileId RecordFile::identify(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        fail(errno == ENOENT || errno == ENOTDIR ? StatusFileNotFound : StatusIOError);
    if (!S_ISREG(st.st_mode))
        fail(StatusNotARecordFile);
    return FileId{st.st_dev, st.st_ino};
}

void RecordFile::create(const std::string& path, const uint8_t* stat, size_t statSize, bool replace) {
    const FileLayout layout = parseLayout(stat, statSize);
    if (statSize < size_t(Stat::KeySpecs)) // parseLayout refuses it already; said here for the optimiser
        fail(StatusInvalidOperation);

    // Replacing: nobody may have the old file open, and we keep it that way until the new one is in place.
    FileLock old;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) {
        if (!replace)
            fail(StatusFileExists);
        if (!S_ISREG(st.st_mode))
            fail(StatusIOError);
        old.acquire(path, true);
    } else if (errno != ENOENT) {
        fail(StatusIOError);
    }

    // Built aside and renamed into place, so a failed create leaves any old file as it was.
    const std::string temp = path + ".~create";
    removeDatabaseFiles(temp);
    int16_t status = StatusSuccess;
    {
        Database db;
        if (db.open(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX) != SQLITE_OK)
            fail(StatusIOError);
        try {
            db.exec(schema(layout).c_str());
            std::vector<uint8_t> kept(stat, stat + statSize);
            storeLE<uint32_t>(kept.data() + Stat::RecordCount, 0);
            {
                Statement insert(db.handle(), "INSERT INTO meta(id, stat) VALUES(1, ?1)");
                insert.bindBlob(1, kept.data(), kept.size());
                insert.step();
            }
            db.exec("COMMIT; PRAGMA journal_mode = WAL;");
        } catch (const StatusError& e) {
            status = e.status == StatusFileNotFound ? int16_t(StatusIOError) : e.status;
        }
    }
    if (status != StatusSuccess) {
        removeDatabaseFiles(temp);
        fail(status);
    }
    // Companions of an old file would be replayed into the new one.
    fileSystem().unlink((path + "-wal").c_str());
    fileSystem().unlink((path + "-shm").c_str());
    if (fileSystem().rename(temp.c_str(), path.c_str()) != 0) {
        removeDatabaseFiles(temp);
        fail(StatusIOError);
    }
    // The new name must last: a folder that cannot be synced fails the create.
    if (!syncFolderOf(path))
        fail(StatusIOError);
}

int RecordFile::openDatabase(Database& database, const std::string& path) {
    const int rc = database.open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
    if (rc != SQLITE_OK)
        return rc;
    sqlite3* db = database.handle();
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    // A file from elsewhere may carry any schema: run none of its code.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    // In WAL mode NORMAL loses no committed transaction when the process dies, only on power loss.
    // The page cache may grow to 64 MB: a club's results lie all over a big meet's result file (40 MB at
    // 200,000 results), and a smaller cache read each page again for every club that has a row on it.
    // Pages are only taken as they are read, so a small meet's files use what they always did.
    return sqlite3_exec(db, "PRAGMA synchronous = NORMAL; PRAGMA cache_size = -65536", nullptr, nullptr,
                        nullptr);
}

std::unique_ptr<RecordFile> RecordFile::open(const std::string& path, bool exclusive) {
    std::unique_ptr<RecordFile> file(new RecordFile);
    file->lock_.acquire(path, exclusive);
    struct stat st;
    if (::fstat(file->lock_.fd(), &st) != 0)
        fail(StatusIOError);
    uint8_t header[SqliteHeaderSize];
    if (!S_ISREG(st.st_mode) || ::pread(file->lock_.fd(), header, sizeof header, 0) != SqliteHeaderSize ||
        !headerIsOurs(header) || cutShort(header, st.st_size, path))
        fail(StatusNotARecordFile);
    file->id_ = FileId{st.st_dev, st.st_ino};
    file->exclusive = exclusive;

    file->path_ = path;
    const int rc = openDatabase(file->db_, path);
    if (rc != SQLITE_OK)
        fail(statusOfSqlite(rc) == StatusFileNotFound ? int16_t(StatusIOError) : statusOfSqlite(rc));

    {
        Statement meta(file->db_.handle(), "SELECT stat FROM meta WHERE id = 1");
        if (!meta.step())
            fail(StatusNotARecordFile);
        const uint8_t* bytes = meta.blob(0);
        file->stat_.assign(bytes, bytes + meta.blobSize(0));
    }
    try {
        file->layout_ = parseLayout(file->stat_.data(), file->stat_.size());
    } catch (const StatusError&) {
        fail(StatusNotARecordFile);
    }
    std::string probe = "SELECT pos";
    for (size_t k = 0; k < file->layout_.keys.size(); ++k)
        probe += ", " + column(int(k));
    probe += ", data FROM records LIMIT 0";
    Statement(file->db_.handle(), probe).step();

    for (const KeyDef& key : file->layout_.keys)
        for (const KeySegment& segment : key.segments)
            file->autoIncrement_ = file->autoIncrement_ || segment.autoIncrement;
    const size_t keySlots = std::max<size_t>(1, file->layout_.keys.size());
    file->queries_.resize(size_t(Query::QueryCount) * keySlots);
    file->fileQueries_.resize(FileQueryCount + file->layout_.keys.size());
    file->keyScratch_.resize(file->layout_.keys.size());
    file->keyPresent_.resize(file->layout_.keys.size());
    return file;
}

RecordFile::~RecordFile() {
    if (inTransaction_ || inRead_)
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

// Keyed queries also give the key as the index holds it, so a walk goes on from that and damage shows.
static bool keyed(Query query) {
    switch (query) {
    case Query::StepFirst:
    case Query::StepLast:
    case Query::StepNext:
    case Query::StepPrevious:
    case Query::Direct:
        return false;
    default:
        return true;
    }
}

std::string RecordFile::queryText(Query query, int key) const {
    const std::string k = column(key);
    const std::string select =
        keyed(query) ? "SELECT pos, data, " + k + " FROM records " : "SELECT pos, data FROM records ";
    const std::string up = " ORDER BY " + k + ", pos LIMIT 1";
    const std::string down = " ORDER BY " + k + " DESC, pos DESC LIMIT 1";
    const std::string upMany = " ORDER BY " + k + ", pos LIMIT ?3";
    const std::string downMany = " ORDER BY " + k + " DESC, pos DESC LIMIT ?3";
    switch (query) {
    case Query::Equal:
        return select + "WHERE " + k + " = ?1 ORDER BY pos LIMIT 1";
    case Query::GreaterOrEqual:
        return select + "WHERE " + k + " >= ?1" + up;
    case Query::Greater:
        return select + "WHERE " + k + " > ?1" + up;
    case Query::LessOrEqual:
        return select + "WHERE " + k + " <= ?1" + down;
    case Query::Less:
        return select + "WHERE " + k + " < ?1" + down;
    case Query::First: // every blob sorts at or above the empty one; null keys stay out
        return select + "WHERE " + k + " >= x''" + up;
    case Query::Last:
        return select + "WHERE " + k + " >= x''" + down;
    case Query::NextSame:
        return select + "WHERE " + k + " = ?1 AND pos > ?2 ORDER BY pos LIMIT ?3";
    case Query::NextAbove:
        return select + "WHERE " + k + " > ?1" + upMany;
    case Query::PreviousSame:
        return select + "WHERE " + k + " = ?1 AND pos < ?2 ORDER BY pos DESC LIMIT ?3";
    case Query::PreviousBelow:
        return select + "WHERE " + k + " < ?1" + downMany;
    case Query::StepFirst:
        return select + "ORDER BY pos LIMIT 1";
    case Query::StepLast:
        return select + "ORDER BY pos DESC LIMIT 1";
    case Query::StepNext:
        return select + "WHERE pos > ?1 ORDER BY pos LIMIT ?3";
    case Query::StepPrevious:
        return select + "WHERE pos < ?1 ORDER BY pos DESC LIMIT ?3";
    case Query::Next: // run as their two halves
    case Query::Previous:
    case Query::Direct:
    case Query::QueryCount:
        break;
    }
    return select + "WHERE pos = ?1";
}

Statement& RecordFile::statement(Query query, int key) {
    const size_t keySlots = std::max<size_t>(1, layout_.keys.size());
    Statement& s = queries_[size_t(query) * keySlots + size_t(key)];
    if (!s)
        s = Statement(db_.handle(), queryText(query, key));
    return s;
}

Statement& RecordFile::fileStatement(int which) {
    Statement& s = fileQueries_[size_t(which)];
    if (s)
        return s;
    const size_t keys = layout_.keys.size();
    std::string sql;
    switch (which) {
    case InsertRecord:
        sql = "INSERT INTO records(pos, data";
        for (size_t k = 0; k < keys; ++k)
            sql += ", " + column(int(k));
        sql += ") VALUES(max(coalesce((SELECT max(pos) FROM records), 0),"
               " (SELECT deleted FROM meta WHERE id = 1)) + 1, ?1";
        for (size_t k = 0; k < keys; ++k)
            sql += ", ?" + std::to_string(k + 3);
        sql += ")";
        break;
    case InsertAt:
        sql = "INSERT INTO records(pos, data";
        for (size_t k = 0; k < keys; ++k)
            sql += ", " + column(int(k));
        sql += ") VALUES(?2, ?1";
        for (size_t k = 0; k < keys; ++k)
            sql += ", ?" + std::to_string(k + 3);
        sql += ")";
        break;
    case NextPosition:
        sql =
            "SELECT max(coalesce((SELECT max(pos) FROM records), 0), (SELECT deleted FROM meta WHERE id = 1))"
            " + 1";
        break;
    case UpdateIfSameKeys:
        sql = "UPDATE records SET data = ?1 WHERE pos = ?2";
        for (size_t k = 0; k < keys; ++k)
            sql += " AND " + column(int(k)) + " IS ?" + std::to_string(k + 3);
        break;
    case UpdateRecord:
        sql = "UPDATE records SET data = ?1";
        for (size_t k = 0; k < keys; ++k)
            sql += ", " + column(int(k)) + " = ?" + std::to_string(k + 3);
        sql += " WHERE pos = ?2";
        break;
    case DeleteRecord:
        sql = "DELETE FROM records WHERE pos = ?1";
        break;
    case ScanRecords:
        sql = "SELECT data FROM records";
        break;
    case CountRecords:
        sql = "SELECT count(*) FROM records";
        break;
    case DataVersion:
        sql = "PRAGMA data_version";
        break;
    case BeginRead:
        sql = "BEGIN";
        break;
    case EndRead:
        sql = "COMMIT";
        break;
    default:
        sql = "SELECT " + column(which - FileQueryCount) + " FROM records WHERE pos = ?1";
        break;
    }
    s = Statement(db_.handle(), sql);
    return s;
}

bool RecordFile::find(Query query, int key, const EncodedKey* value, uint32_t position, Record& out) {
    return run(query, key, value, position, 1, &out) == 1;
}

size_t RecordFile::findMany(Query query, int key, const EncodedKey* value, uint32_t position, size_t limit,
                            std::vector<Record>& out) {
    if (out.size() < limit)
        out.resize(limit);
    return run(query, key, value, position, limit, out.data());
}

size_t RecordFile::run(Query query, int key, const EncodedKey* value, uint32_t position, size_t limit,
                       Record* out) {
    if (query != Query::Next && query != Query::Previous)
        return runOne(query, key, value, position, limit, out);
    // Two plain statements: a compound one would copy every row once more.
    const bool forward = query == Query::Next;
    size_t n = runOne(forward ? Query::NextSame : Query::PreviousSame, key, value, position, limit, out);
    if (n < limit)
        n += runOne(forward ? Query::NextAbove : Query::PreviousBelow, key, value, 0, limit - n, out + n);
    return n;
}

size_t RecordFile::runOne(Query query, int key, const EncodedKey* value, uint32_t position, size_t limit,
                          Record* out) {
    Statement& s = statement(query, key);
    StatementUse use(s);
    if (value)
        s.bindBlob(1, value->bytes.data(), value->size);
    if (query == Query::NextSame || query == Query::PreviousSame)
        s.bindInt(2, position);
    else if (!value)
        s.bindInt(1, position);
    s.bindInt(3, int64_t(limit));
    const auto now = std::chrono::steady_clock::now();
    size_t n = 0;
    while (n < limit && s.step()) {
        const int64_t pos = s.integer(0);
        const uint8_t* data = s.blob(1);
        const size_t size = s.blobSize(1);
        if (pos <= 0 || pos > int64_t(UINT32_MAX) || size < layout_.recordLength)
            fail(StatusNotARecordFile);
        Record& record = out[n];
        record.position = uint32_t(pos);
        record.data.assign(data, data + size);
        record.read = now;
        record.stamp = changes_;
        if (keyed(query)) {
            const uint8_t* stored = s.blob(2);
            record.storedKey.assign(stored, stored + s.blobSize(2));
            record.storedKeyOf = key;
        } else {
            record.storedKeyOf = Record::NoStoredKey;
        }
        ++n;
    }
    return n;
}

void RecordFile::bindKeys(Statement& s, const uint8_t* data, size_t size) {
    s.bindBlob(1, data, size);
    for (size_t k = 0; k < layout_.keys.size(); ++k) {
        EncodedKey& key = keyScratch_[k];
        keyPresent_[k] = encodeRecordKey(layout_.keys[k], data, key);
        if (keyPresent_[k])
            s.bindBlob(int(k) + 3, key.bytes.data(), key.size);
        else
            s.bindNull(int(k) + 3);
    }
}

void RecordFile::noteImage(uint32_t position, const uint8_t* data, size_t size) {
    Image image{position, true, imageBytes_.size(), uint32_t(size), 0};
    imageBytes_.insert(imageBytes_.end(), data, data + size);
    for (size_t k = 0; k < layout_.keys.size(); ++k) {
        const uint16_t keySize = keyPresent_[k] ? keyScratch_[k].size : JournalNullKey;
        imageBytes_.push_back(uint8_t(keySize));
        imageBytes_.push_back(uint8_t(keySize >> 8));
        if (keyPresent_[k])
            imageBytes_.insert(imageBytes_.end(), keyScratch_[k].bytes.data(),
                               keyScratch_[k].bytes.data() + keySize);
    }
    image.keysSize = imageBytes_.size() - image.at - size;
    const auto [found, fresh] = imageOf_.try_emplace(position, images_.size());
    if (fresh)
        images_.push_back(image);
    else
        images_[found->second] = image;
}

void RecordFile::noteGone(uint32_t position) {
    const auto [found, fresh] = imageOf_.try_emplace(position, images_.size());
    if (fresh)
        images_.push_back(Image{position});
    else
        images_[found->second] = Image{position};
}

void RecordFile::forgetImages() {
    images_.clear();
    imageOf_.clear();
    // A large transaction's copies are not kept for the next one.
    std::vector<uint8_t>().swap(imageBytes_);
}

uint32_t RecordFile::insert(const uint8_t* data, size_t size) {
    // Within a transaction nobody else writes the file: the next position is found once.
    if (inTransaction_ && nextPosition_ == 0) {
        Statement& next = fileStatement(NextPosition);
        StatementUse use(next);
        next.step();
        nextPosition_ = next.integer(0);
    }
    Statement& s = fileStatement(inTransaction_ ? InsertAt : InsertRecord);
    StatementUse use(s);
    bindKeys(s, data, size);
    // Once the transaction's own insert is the highest record, SQLite's next row (highest + 1) is the
    // next position, and cheaper to make.
    if (inTransaction_ && !lastIsHighest_)
        s.bindInt(2, nextPosition_);
    else if (inTransaction_)
        s.bindNull(2);
    ++changes_;
    ++modifications_;
    s.step();
    const uint32_t position = uint32_t(sqlite3_last_insert_rowid(db_.handle()));
    if (inTransaction_) {
        nextPosition_ = int64_t(position) + 1;
        lastIsHighest_ = true;
        noteImage(position, data, size);
    }
    if (count_ >= 0)
        ++count_;
    return position;
}

bool RecordFile::update(uint32_t position, const uint8_t* data, size_t size) {
    // Most updates leave every key as it was: then no index is touched.
    ++changes_;
    ++modifications_;
    for (const int which : {UpdateIfSameKeys, UpdateRecord}) {
        if (which == UpdateRecord && autoIncrement_)
            keepAutoIncrementValues(db_, layout_, position);
        Statement& s = fileStatement(which);
        StatementUse use(s);
        bindKeys(s, data, size);
        s.bindInt(2, position);
        s.step();
        if (sqlite3_changes(db_.handle()) > 0) {
            if (inTransaction_)
                noteImage(position, data, size);
            return true;
        }
    }
    return false;
}

bool RecordFile::remove(uint32_t position) {
    if (autoIncrement_)
        keepAutoIncrementValues(db_, layout_, position);
    Statement& s = fileStatement(DeleteRecord);
    StatementUse use(s);
    ++changes_;
    ++modifications_;
    s.bindInt(1, position);
    s.step();
    const bool removed = sqlite3_changes(db_.handle()) > 0;
    if (removed && inTransaction_) {
        noteGone(position);
        lastIsHighest_ = false;
    }
    if (removed && count_ > 0)
        --count_;
    return removed;
}

// Changes when another connection, of this process or another, has committed to the file.
int64_t RecordFile::dataVersion() {
    Statement& s = fileStatement(DataVersion);
    StatementUse use(s);
    s.step();
    return s.integer(0);
}

uint32_t RecordFile::recordCount() {
    // Within our own write transaction nobody else commits: the count kept is the count.
    if (count_ >= 0 && inTransaction_ && writable())
        return uint32_t(count_);
    const int64_t version = dataVersion();
    if (count_ >= 0 && version == countVersion_)
        return uint32_t(count_);
    Statement& s = fileStatement(CountRecords);
    StatementUse use(s);
    s.step();
    count_ = s.integer(0);
    countVersion_ = version;
    return uint32_t(count_);
}

uint32_t RecordFile::changeCount() {
    const int64_t version = dataVersion();
    if (version != seenVersion_ || modifications_ != seenModifications_) {
        seenVersion_ = version;
        seenModifications_ = modifications_;
        ++changeCount_;
    }
    return changeCount_;
}

bool RecordFile::storedKey(uint32_t position, int key, std::vector<uint8_t>& out) {
    Statement& s = fileStatement(FileQueryCount + key);
    StatementUse use(s);
    s.bindInt(1, position);
    if (!s.step() || s.isNull(0))
        return false;
    const uint8_t* stored = s.blob(0);
    out.assign(stored, stored + s.blobSize(0));
    return true;
}

void RecordFile::keepAutoIncrementValues(Database& db, const FileLayout& layout, uint32_t position) {
    Statement read(db.handle(), "SELECT data FROM records WHERE pos = ?1");
    read.bindInt(1, position);
    if (!read.step() || read.blobSize(0) < layout.recordLength)
        return;
    Statement keep(db.handle(), "INSERT INTO meta(id, stat, deleted) VALUES(?1, x'', ?2)"
                                " ON CONFLICT(id) DO UPDATE SET deleted = max(deleted, excluded.deleted)");
    for (const KeyDef& key : layout.keys) {
        for (const KeySegment& segment : key.segments) {
            if (!segment.autoIncrement)
                continue;
            StatementUse use(keep);
            keep.bindInt(1, KeptValueRow + segment.offset);
            keep.bindInt(2, readInteger(segment, read.blob(0)));
            keep.step();
        }
    }
}

int64_t RecordFile::highestValue(const KeySegment& segment) {
    int64_t kept = 0;
    {
        Statement read(db_.handle(), "SELECT deleted FROM meta WHERE id = ?1");
        read.bindInt(1, KeptValueRow + segment.offset);
        if (read.step())
            kept = read.integer(0);
    }
    Record found;
    for (size_t k = 0; k < layout_.keys.size(); ++k) {
        const KeySegment& first = layout_.keys[k].segments.front();
        if (first.offset == segment.offset && first.length == segment.length && first.autoIncrement) {
            if (!find(first.descending ? Query::First : Query::Last, int(k), nullptr, 0, found))
                return kept;
            return std::max(kept, readInteger(segment, found.data.data()));
        }
    }
    // Not the head of any key: look at every record.
    int64_t highest = kept;
    Statement& s = fileStatement(ScanRecords);
    StatementUse use(s);
    while (s.step()) {
        const uint8_t* data = s.blob(0);
        if (s.blobSize(0) < layout_.recordLength)
            fail(StatusNotARecordFile);
        highest = std::max(highest, readInteger(segment, data));
    }
    return highest;
}

void RecordFile::begin() {
    db_.exec(writable() ? "BEGIN IMMEDIATE" : "BEGIN");
    inTransaction_ = true;
    nextPosition_ = 0;
    lastIsHighest_ = false;
    forgetImages();
    // What others committed up to now is in; from here on only we write.
    if (count_ >= 0 && dataVersion() != countVersion_)
        forgetCount();
}

// A read scope begins and ends many times a second (a board's tick, a round's load): its two statements
// are prepared once.
void RecordFile::beginRead() {
    Statement& s = fileStatement(BeginRead);
    StatementUse use(s);
    s.step();
    inRead_ = true;
}

void RecordFile::endRead() {
    inRead_ = false;
    // Nothing was written: ending it cannot lose anything, and a failure leaves it rolled back. Called
    // as a read scope ends, so nothing leaves.
    try {
        Statement& s = fileStatement(EndRead);
        StatementUse use(s);
        s.step();
    } catch (...) {
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void RecordFile::commit() {
    inTransaction_ = false;
    forgetImages();
    ++changes_;
    try {
        if (fileSystem().beforeCommit(path_.c_str()) != 0)
            fail(StatusIOError);
        db_.exec("COMMIT");
    } catch (const StatusError&) {
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        forgetCount();
        throw;
    }
}

void RecordFile::rollback() {
    inTransaction_ = false;
    // What the transaction wrote goes back: a change too.
    if (changedInTransaction())
        ++modifications_;
    forgetImages();
    ++changes_;
    sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    forgetCount();
}

void RecordFile::writeJournal(JournalWriter& journal) {
    std::vector<const Image*> sorted;
    sorted.reserve(images_.size());
    for (const Image& image : images_)
        sorted.push_back(&image);
    std::sort(sorted.begin(), sorted.end(),
              [](const Image* a, const Image* b) { return a->position < b->position; });
    const auto slash = path_.rfind('/');
    const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    journal.u16(uint16_t(name.size()));
    journal.bytes(name.data(), name.size());
    journal.u16(uint16_t(layout_.keys.size()));
    journal.u32(uint32_t(sorted.size()));
    for (const Image* image : sorted)
        journal.u32(image->position);
    journal.u32(
        uint32_t(std::count_if(sorted.begin(), sorted.end(), [](const Image* i) { return i->present; })));
    for (const Image* image : sorted) {
        if (!image->present)
            continue;
        journal.u32(image->position);
        journal.blob(imageBytes_.data() + image->at, image->size);
        journal.bytes(imageBytes_.data() + image->at + image->size, image->keysSize);
    }
}

void RecordFile::syncWal() {
    db_.syncWal();
}

RecordFile::WriteScope::WriteScope(RecordFile& file)
    : file_(file)
    , own_(!file.inTransaction_) {
    if (own_)
        file_.db_.exec("BEGIN IMMEDIATE");
}

RecordFile::WriteScope::~WriteScope() {
    if (!own_)
        return;
    ++file_.changes_;
    ++file_.modifications_;
    sqlite3_exec(file_.db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    file_.forgetCount();
}

void RecordFile::WriteScope::commit() {
    if (own_) {
        file_.db_.exec("COMMIT");
        own_ = false;
    }
}

} // namespace RecordManager
