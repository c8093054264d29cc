#include "platform/recordmanager/Session.h"

#include "platform/LittleEndian.h"
#include "platform/recordmanager/Journal.h"
#include "platform/recordmanager/RecordManagerCodes.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace RecordManager {

namespace {

// What a position block holds: a mark, the cursor's slot and the slot's serial number, so a block
// that was closed, never opened or copied from garbage does not name a cursor.
constexpr uint32_t BlockMark = 0x434D525A; // "ZRMC"
constexpr int BlockMarkAt = 0;
constexpr int BlockSlotAt = 4;
constexpr int BlockSerialAt = 8;

std::string fileName(const uint8_t* key) {
    return std::string(reinterpret_cast<const char*>(key),
                       strnlen(reinterpret_cast<const char*>(key), PATH_MAX));
}

} // namespace

Session& Session::instance() {
    // Never destroyed: tables of objects that outlive main (the model's managers, whatever main freed or
    // forgot) still close through it. Its files are closed at exit, before those objects go.
    static Session* const session = [] {
        auto* made = new Session;
        std::atexit([] {
            Session& s = instance();
            std::lock_guard lock(s.mutex());
            s.stop();
        });
        return made;
    }();
    return *session;
}

Cursor* Session::cursorOf(const uint8_t* block) {
    if (!block || loadLE<uint32_t>(block + BlockMarkAt) != BlockMark)
        return nullptr;
    const uint32_t slot = loadLE<uint32_t>(block + BlockSlotAt);
    if (slot >= slots_.size() || !slots_[slot].cursor ||
        slots_[slot].serial != loadLE<uint64_t>(block + BlockSerialAt))
        return nullptr;
    return slots_[slot].cursor.get();
}

int16_t Session::call(uint16_t operation, uint8_t* block, const CallBuffers& c) {
    if (operation == OpStop) {
        stop();
        return StatusSuccess;
    }
    // Before a write the reading stops: the write commits on its own as ever, and never on a snapshot
    // older than what is committed.
    const bool writes = operation == OpInsert || operation == OpUpdate || operation == OpDelete ||
                        operation == OpUpdateChunk || operation == OpBeginTransaction ||
                        operation == OpCreate;
    if (writes)
        endReads();
    // A transaction decided but not yet in every file: nothing else is done before it is.
    if (!pendingJournal_.empty() && operation != OpClose) {
        endReads();
        recoverJournal(pendingJournal_);
        pendingJournal_.clear();
    }
    switch (operation) {
    case OpBeginTransaction:
        if (transaction_)
            fail(StatusTransactionActive);
        transaction_ = true; // each file joins when it is first used
        return StatusSuccess;
    case OpEndTransaction:
    case OpAbortTransaction:
        endTransaction(operation == OpEndTransaction);
        return StatusSuccess;
    case OpCreate:
        create(c);
        return StatusSuccess;
    case OpOpen:
        open(block, c);
        return StatusSuccess;
    default:
        break;
    }
    Cursor* cursor = cursorOf(block);
    if (!cursor)
        fail(StatusFileNotOpen);
    if (operation == OpClose) {
        close(block, *cursor);
        return StatusSuccess;
    }
    if (!c.dataLength)
        fail(StatusInvalidOperation);
    RecordFile& file = cursor->file();
    if (transaction_ && !file.inTransaction())
        file.begin();
    else if (readScopes_ > 0 && !transaction_ && !writes && !file.inRead())
        file.beginRead();
    return onCursor(operation, *cursor, c);
}

int16_t Session::onCursor(uint16_t operation, Cursor& cursor, const CallBuffers& c) {
    switch (operation) {
    case OpGetEqual:
        return cursor.getByKey(Query::Equal, c);
    case OpGetNext:
        return cursor.getAdjacent(true, c);
    case OpGetPrevious:
        return cursor.getAdjacent(false, c);
    case OpGetGreater:
        return cursor.getByKey(Query::Greater, c);
    case OpGetGreaterOrEqual:
        return cursor.getByKey(Query::GreaterOrEqual, c);
    case OpGetLess:
        return cursor.getByKey(Query::Less, c);
    case OpGetLessOrEqual:
        return cursor.getByKey(Query::LessOrEqual, c);
    case OpGetFirst:
        return cursor.getByKey(Query::First, c);
    case OpGetLast:
        return cursor.getByKey(Query::Last, c);
    case OpGetDirect:
        if (c.keyNumber != GetDirectChunk)
            return cursor.getDirect(c);
        cursor.readChunk(c);
        return StatusSuccess;
    case OpStepNext:
        return cursor.step(Query::StepNext, c);
    case OpStepFirst:
        return cursor.step(Query::StepFirst, c);
    case OpStepLast:
        return cursor.step(Query::StepLast, c);
    case OpStepPrevious:
        return cursor.step(Query::StepPrevious, c);
    case OpInsert:
        cursor.insert(c);
        break;
    case OpUpdate:
        cursor.update(c);
        break;
    case OpDelete:
        cursor.remove();
        break;
    case OpStat:
        cursor.stat(c);
        break;
    case OpGetPosition:
        cursor.getPosition(c);
        break;
    case OpUpdateChunk:
        cursor.updateChunk(c);
        break;
    default:
        fail(StatusInvalidOperation);
    }
    return StatusSuccess;
}

void Session::open(uint8_t* block, const CallBuffers& c) {
    if (!block || !c.key)
        fail(StatusInvalidOperation);
    if (c.keyNumber > OpenNormal || c.keyNumber < OpenExclusive)
        fail(StatusInvalidOperation);
    if (cursorOf(block))
        fail(StatusInvalidOperation); // still open: close it first
    const std::string path = fileName(c.key);
    if (path.empty())
        fail(StatusFileNotFound);
    const bool exclusive = c.keyNumber == OpenExclusive;

    const FileId id = RecordFile::identify(path);
    if (!files_.count(id)) {
        // A transaction some process left unfinished there, written into files this process may be
        // reading.
        endReads();
        recoverJournal(journalPathFor(path));
    }
    RecordFile* file = nullptr;
    if (auto it = files_.find(id); it != files_.end()) {
        file = it->second.get();
        if (file->cursors > 0 && (file->exclusive || exclusive))
            fail(StatusFileLocked);
        if (exclusive && !file->upgradeLock())
            fail(StatusFileLocked);
        file->exclusive = exclusive;
    } else {
        std::unique_ptr<RecordFile> opened = RecordFile::open(path, exclusive);
        const FileId actual = opened->id();
        if (files_.count(actual))
            fail(StatusFileLocked); // replaced under our feet by a file we already have open
        file = files_.emplace(actual, std::move(opened)).first->second.get();
    }

    size_t slot = 0;
    while (slot < slots_.size() && slots_[slot].cursor)
        ++slot;
    if (slot == slots_.size())
        slots_.emplace_back();
    slots_[slot].serial = nextSerial_++;
    slots_[slot].cursor = std::make_unique<Cursor>(*file, c.keyNumber == OpenReadOnly);
    ++file->cursors;

    storeLE<uint32_t>(block + BlockMarkAt, BlockMark);
    storeLE<uint32_t>(block + BlockSlotAt, uint32_t(slot));
    storeLE<uint64_t>(block + BlockSerialAt, slots_[slot].serial);
}

void Session::close(uint8_t* block, Cursor& cursor) {
    RecordFile& file = cursor.file();
    slots_[loadLE<uint32_t>(block + BlockSlotAt)] = Slot{};
    std::memset(block, 0, BlockSerialAt + 8);
    --file.cursors;
    release(file);
}

// Closes a file nobody has open, unless its part of the transaction still waits for End or Abort.
void Session::release(RecordFile& file) {
    if (file.cursors == 0 && !file.inTransaction())
        files_.erase(file.id());
}

void Session::create(const CallBuffers& c) {
    if (!c.key || !c.data || !c.dataLength)
        fail(StatusInvalidOperation);
    const std::string path = fileName(c.key);
    if (path.empty())
        fail(StatusFileNotFound);
    if (c.keyNumber != CreateReplace && c.keyNumber != CreateKeepExisting)
        fail(StatusInvalidOperation);
    bool openHere = false;
    try {
        openHere = files_.count(RecordFile::identify(path)) > 0;
    } catch (const StatusError&) {
        // nothing by that name yet, or nothing we could have open
    }
    if (openHere)
        fail(c.keyNumber == CreateKeepExisting ? StatusFileExists : StatusFileLocked);
    recoverJournal(journalPathFor(path)); // before a file it names is replaced
    RecordFile::create(path, c.data, *c.dataLength, c.keyNumber == CreateReplace);
}

void Session::endTransaction(bool commit) {
    if (!transaction_)
        fail(StatusNoTransaction);
    transaction_ = false;
    std::vector<RecordFile*> joined;
    for (auto& [id, file] : files_)
        if (file->inTransaction())
            joined.push_back(file.get());
    // The files go back to the session's keeping however the end goes.
    struct Release {
        Session& session;
        std::vector<RecordFile*>& files;
        ~Release() {
            for (RecordFile* file : files)
                session.release(*file);
        }
    } release{*this, joined};
    if (!commit) {
        for (RecordFile* file : joined)
            file->rollback();
        return;
    }
    commitFiles(joined, pendingJournal_);
}

void Session::endRead() {
    if (readScopes_ > 0 && --readScopes_ == 0)
        endReads();
}

void Session::endReads() {
    for (auto& [id, file] : files_)
        if (file->inRead())
            file->endRead();
}

void Session::stop() {
    for (auto& [id, file] : files_)
        if (file->inTransaction())
            file->rollback();
    transaction_ = false;
    readScopes_ = 0;
    pendingJournal_.clear(); // the next open applies it
    slots_.clear();
    files_.clear();
}

} // namespace RecordManager
