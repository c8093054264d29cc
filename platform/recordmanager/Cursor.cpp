#include "platform/recordmanager/Cursor.h"

#include "platform/LittleEndian.h"
#include "platform/recordmanager/RecordManagerCodes.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace RecordManager {

namespace {

struct ChunkRequest {
    uint32_t offset = 0;
    uint32_t length = 0;
    uint8_t* buffer = nullptr;
};

bool readDescriptor(const uint8_t* at, ChunkRequest& r) {
    if (loadLE<uint32_t>(at + Chunk::Subfunction) != Chunk::IndirectRandom ||
        loadLE<uint32_t>(at + Chunk::Count) != 1)
        return false;
    r.offset = loadLE<uint32_t>(at + Chunk::Offset);
    r.length = loadLE<uint32_t>(at + Chunk::Length);
    r.buffer = reinterpret_cast<uint8_t*>(uintptr_t(loadLE<uint64_t>(at + Chunk::Pointer)));
    return r.buffer || r.length == 0;
}

bool sameKey(const std::vector<uint8_t>& stored, const EncodedKey& key) {
    return stored.size() == key.size && std::memcmp(stored.data(), key.bytes.data(), key.size) == 0;
}

constexpr size_t FirstBatch = 4;
constexpr size_t MaxBatch = 128;
constexpr auto ReadAheadLifetime = std::chrono::milliseconds(10);

} // namespace

Cursor::Cursor(RecordFile& file, bool readOnly)
    : file_(file)
    , readOnly_(readOnly) {}

int16_t Cursor::keyStatus(const CallBuffers& c) const {
    const auto& keys = file_.layout().keys;
    if (c.keyNumber < 0 || size_t(c.keyNumber) >= keys.size())
        return StatusInvalidKeyNumber;
    if (!c.key)
        return StatusInvalidOperation;
    if (c.keyLength < keys[size_t(c.keyNumber)].length)
        return StatusKeyBufferTooShort;
    return StatusSuccess;
}

void Cursor::checkKey(const CallBuffers& c) const {
    if (const int16_t status = keyStatus(c))
        fail(status);
}

void Cursor::checkWrite() const {
    if (readOnly_ || !file_.writable())
        fail(StatusReadOnly);
}

// The record a write passes: at least the fixed part; a fixed-length file keeps only that.
bool Cursor::recordFrom(const CallBuffers& c, Record& into) const {
    const FileLayout& layout = file_.layout();
    if (!c.data || *c.dataLength < layout.recordLength)
        return false;
    const size_t size = layout.variableLength ? *c.dataLength : layout.recordLength;
    into.data.assign(c.data, c.data + size);
    into.storedKeyOf = Record::NoStoredKey;
    return true;
}

// A record read or written within the read-ahead's lifetime, with no change by this process since, is
// as good as one read now.
bool Cursor::isFresh(const Record& record) const {
    return record.stamp == file_.changeStamp() &&
           std::chrono::steady_clock::now() - record.read < ReadAheadLifetime;
}

void Cursor::stampWritten(Record& record) const {
    record.read = std::chrono::steady_clock::now();
    record.stamp = file_.changeStamp();
}

int16_t Cursor::deliver(const CallBuffers& c) const {
    const size_t size = current_.data.size();
    const size_t room = c.data ? *c.dataLength : 0;
    if (room > 0)
        std::memcpy(c.data, current_.data.data(), std::min(size, room));
    *c.dataLength = uint32_t(size);
    return size > room ? StatusDataBufferTooShort : StatusSuccess;
}

// The lookup found found_: it becomes the current record. A record found through a key whose stored key
// is not the key of its data is damage: a walk going on from either would meet records again.
int16_t Cursor::land(const CallBuffers& c, int key) {
    if (key >= 0 && found_.storedKeyOf == key) {
        EncodedKey computed;
        if (!encodeRecordKey(file_.layout().keys[size_t(key)], found_.data.data(), computed) ||
            !sameKey(found_.storedKey, computed))
            fail(StatusNotARecordFile);
    }
    std::swap(current_, found_);
    place_ = Place::OnRecord;
    if (key >= 0)
        copyKeyValue(file_.layout().keys[size_t(key)], current_.data.data(), c.key);
    return deliver(c);
}

void Cursor::missed(Place place, int16_t status) {
    place_ = place;
    fail(status);
}

int16_t Cursor::ranOff(Place place, int16_t status) {
    place_ = place;
    return status;
}

int16_t Cursor::getByKey(Query query, const CallBuffers& c) {
    checkKey(c);
    const KeyDef& key = file_.layout().keys[size_t(c.keyNumber)];
    EncodedKey value;
    const bool keyed = query != Query::First && query != Query::Last;
    if (keyed)
        encodeKeyValue(key, c.key, value);
    if (file_.find(query, c.keyNumber, keyed ? &value : nullptr, 0, found_))
        return land(c, c.keyNumber);
    switch (query) {
    case Query::Equal:
        return ranOff(Place::None, StatusKeyNotFound);
    case Query::LessOrEqual:
    case Query::Less:
    case Query::Last:
        return ranOff(Place::BeforeFirst, StatusEndOfFile);
    default:
        return ranOff(Place::AfterLast, StatusEndOfFile);
    }
}

int16_t Cursor::getAdjacent(bool forward, const CallBuffers& c) {
    checkKey(c);
    bool found = false;
    switch (place_) {
    case Place::None:
        fail(StatusNoCurrentRecord);
    case Place::BeforeFirst:
    case Place::AfterLast:
        if (forward == (place_ == Place::AfterLast))
            fail(StatusEndOfFile);
        found = file_.find(forward ? Query::First : Query::Last, c.keyNumber, nullptr, 0, found_);
        break;
    case Place::OnRecord:
    case Place::Deleted: {
        EncodedKey anchor;
        anchorOf(c.keyNumber, anchor);
        found = advance(forward ? Query::Next : Query::Previous, c.keyNumber, &anchor);
        break;
    }
    }
    if (!found)
        return ranOff(forward ? Place::AfterLast : Place::BeforeFirst, StatusEndOfFile);
    return land(c, c.keyNumber);
}

// Where Next and Previous go on from: the current record's key as the index holds it.
void Cursor::anchorOf(int key, EncodedKey& anchor) {
    if (current_.storedKeyOf == key && current_.storedKey.size() <= anchor.bytes.size()) {
        anchor.size = uint16_t(current_.storedKey.size());
        std::memcpy(anchor.bytes.data(), current_.storedKey.data(), anchor.size);
        return;
    }
    // Reached otherwise (a step, a direct read, a write, another key): the index's key must be that of
    // the record's data, unless the record is gone.
    const bool inKey = encodeRecordKey(file_.layout().keys[size_t(key)], current_.data.data(), anchor);
    std::vector<uint8_t>& stored = found_.storedKey;
    if (place_ == Place::OnRecord && file_.storedKey(current_.position, key, stored) &&
        (!inKey || !sameKey(stored, anchor)))
        fail(StatusNotARecordFile);
    if (!inKey)
        fail(StatusNoCurrentRecord); // the record is not in this key
}

int16_t Cursor::step(Query query, const CallBuffers& c) {
    const bool forward = query == Query::StepFirst || query == Query::StepNext;
    if (query == Query::StepNext || query == Query::StepPrevious) {
        if (place_ == Place::None)
            fail(StatusNoCurrentRecord);
        if (place_ == Place::BeforeFirst || place_ == Place::AfterLast) {
            if (forward == (place_ == Place::AfterLast))
                fail(StatusEndOfFile);
            query = forward ? Query::StepFirst : Query::StepLast;
        }
    }
    const bool found = query == Query::StepNext || query == Query::StepPrevious
                           ? advance(query, 0, nullptr)
                           : file_.find(query, 0, nullptr, current_.position, found_);
    if (found)
        return land(c, -1);
    return ranOff(forward ? Place::AfterLast : Place::BeforeFirst, StatusEndOfFile);
}

bool Cursor::advance(Query query, int key, const EncodedKey* anchor) {
    ReadAhead& a = ahead_;
    const auto now = std::chrono::steady_clock::now();
    const bool continues = (place_ == Place::OnRecord || place_ == Place::Deleted) && a.query == query &&
                           a.key == key && a.stamp == file_.changeStamp() && a.next > 0 &&
                           a.handedOut == current_.position && now - a.fetched < ReadAheadLifetime;
    if (continues && a.next == a.count && a.count < a.batch)
        return false; // that read already met the end
    if (!continues || a.next == a.count) {
        a.batch = continues ? std::min(a.batch * 4, MaxBatch) : FirstBatch;
        a.query = query;
        a.key = key;
        a.stamp = file_.changeStamp();
        a.fetched = now;
        a.count = file_.findMany(query, key, anchor, current_.position, a.batch, a.rows);
        a.next = 0;
        if (a.count == 0)
            return false;
    }
    std::swap(found_, a.rows[a.next++]); // the row handed out is not read again
    a.handedOut = found_.position;
    return true;
}

void Cursor::getPosition(const CallBuffers& c) {
    if (place_ != Place::OnRecord)
        fail(StatusNoCurrentRecord);
    if (!c.data || *c.dataLength < 4)
        fail(StatusDataBufferTooShort);
    storeLE<uint32_t>(c.data, current_.position);
    *c.dataLength = 4;
}

int16_t Cursor::getDirect(const CallBuffers& c) {
    if (!c.data || *c.dataLength < 4)
        fail(StatusDataBufferTooShort);
    const uint32_t position = loadLE<uint32_t>(c.data);
    if (position == 0 || !file_.find(Query::Direct, 0, nullptr, position, found_))
        fail(StatusInvalidPosition);
    return land(c, keyStatus(c) == StatusSuccess ? c.keyNumber : -1);
}

void Cursor::readChunk(const CallBuffers& c) {
    ChunkRequest chunk;
    if (!c.data || *c.dataLength < uint32_t(Chunk::ChunkReadLength) || !readDescriptor(c.data + 4, chunk))
        fail(StatusInvalidOperation);
    const uint32_t position = loadLE<uint32_t>(c.data);
    // The record just read whole, as a run of Next calls would have it, or read again.
    if (!(place_ == Place::OnRecord && current_.position == position && isFresh(current_))) {
        if (position == 0 || !file_.find(Query::Direct, 0, nullptr, position, found_))
            fail(StatusInvalidPosition);
        std::swap(current_, found_);
        place_ = Place::OnRecord;
    }
    const size_t size = current_.data.size();
    if (chunk.offset >= size) {
        *c.dataLength = 0;
        fail(StatusChunkOffsetTooBig);
    }
    const size_t n = std::min<size_t>(chunk.length, size - chunk.offset);
    if (n > 0)
        std::memcpy(chunk.buffer, current_.data.data() + chunk.offset, n);
    *c.dataLength = uint32_t(n);
}

void Cursor::insert(const CallBuffers& c) {
    checkWrite();
    checkKey(c);
    if (!recordFrom(c, found_))
        fail(StatusDataBufferTooShort);
    uint8_t* record = found_.data.data();

    // A zero autoincrement value asks for the highest one + 1: read and insert under one lock.
    std::optional<RecordFile::WriteScope> scope;
    for (const KeyDef& key : file_.layout().keys) {
        for (const KeySegment& s : key.segments) {
            if (s.autoIncrement && isZero(s, record)) {
                if (!scope)
                    scope.emplace(file_);
                writeInteger(s, record, file_.highestValue(s) + 1);
            }
        }
    }
    found_.position = file_.insert(record, found_.data.size());
    if (scope)
        scope->commit();
    stampWritten(found_);

    for (const KeyDef& key : file_.layout().keys)
        for (const KeySegment& s : key.segments)
            if (s.autoIncrement)
                std::memcpy(c.data + s.offset, record + s.offset, s.length);
    std::swap(current_, found_);
    place_ = Place::OnRecord;
    copyKeyValue(file_.layout().keys[size_t(c.keyNumber)], current_.data.data(), c.key);
}

void Cursor::update(const CallBuffers& c) {
    checkWrite();
    if (place_ != Place::OnRecord)
        fail(StatusNoCurrentRecord);
    checkKey(c);
    if (!recordFrom(c, found_))
        fail(StatusDataBufferTooShort);
    found_.position = current_.position;
    if (!file_.update(found_.position, found_.data.data(), found_.data.size()))
        missed(Place::None, StatusNoCurrentRecord);
    stampWritten(found_);
    std::swap(current_, found_);
    copyKeyValue(file_.layout().keys[size_t(c.keyNumber)], current_.data.data(), c.key);
}

void Cursor::remove() {
    checkWrite();
    if (place_ != Place::OnRecord)
        fail(StatusNoCurrentRecord);
    const bool aheadHeld = ahead_.stamp == file_.changeStamp() && ahead_.handedOut == current_.position;
    if (!file_.remove(current_.position))
        missed(Place::None, StatusNoCurrentRecord);
    place_ = Place::Deleted;
    // What was read ahead lies beyond the record deleted: a walk that deletes as it goes keeps it.
    if (aheadHeld)
        ahead_.stamp = file_.changeStamp();
}

void Cursor::updateChunk(const CallBuffers& c) {
    checkWrite();
    ChunkRequest chunk;
    if (!c.data || *c.dataLength < uint32_t(Chunk::ChunkUpdateLength) || !readDescriptor(c.data, chunk))
        fail(StatusInvalidOperation);
    if (place_ != Place::OnRecord)
        fail(StatusNoCurrentRecord);

    // The record as stored now, not as this cursor last saw it.
    RecordFile::WriteScope scope(file_);
    if (!file_.find(Query::Direct, 0, nullptr, current_.position, found_))
        missed(Place::None, StatusNoCurrentRecord);
    std::vector<uint8_t>& record = found_.data;
    if (chunk.offset > record.size())
        fail(StatusChunkOffsetTooBig);
    const uint64_t end = uint64_t(chunk.offset) + chunk.length;
    if (end > record.size()) {
        if (!file_.layout().variableLength)
            fail(StatusInvalidOperation); // a fixed-length record cannot grow
        record.resize(size_t(end));
    }
    if (chunk.length > 0)
        std::memcpy(record.data() + chunk.offset, chunk.buffer, chunk.length);
    if (!file_.update(found_.position, record.data(), record.size()))
        missed(Place::None, StatusNoCurrentRecord);
    scope.commit();
    stampWritten(found_);
    std::swap(current_, found_);
}

void Cursor::stat(const CallBuffers& c) {
    if (!c.data)
        fail(StatusInvalidOperation);
    const std::vector<uint8_t>& stat = file_.statBytes();
    uint8_t count[4];
    storeLE<uint32_t>(count, file_.recordCount());
    const size_t n = std::min<size_t>(*c.dataLength, stat.size());
    std::memcpy(c.data, stat.data(), n);
    if (n > size_t(Stat::RecordCount))
        std::memcpy(c.data + Stat::RecordCount, count, std::min<size_t>(4, n - Stat::RecordCount));
    if (c.key && c.keyLength >= 4)
        storeLE<uint32_t>(c.key + Stat::KeyChangeCount, file_.changeCount());
    *c.dataLength = uint32_t(n);
    if (n < stat.size())
        fail(StatusDataBufferTooShort);
}

} // namespace RecordManager
