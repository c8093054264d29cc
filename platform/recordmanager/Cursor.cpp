#include "platform/recordmanager/Cursor.h"

#include "platform/LittleEndian.h"
#include "platform/recordmanager/RecordManager.h"

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

constexpr size_t FirstBatch = 4;
constexpr size_t MaxBatch = 128;
constexpr auto ReadAheadLifetime = std::chrono::milliseconds(10);

} // namespace

Cursor::Cursor(RecordFile& file, bool readOnly)
    : file_(file)
    , readOnly_(readOnly) {}

int16_t Cursor::checkKey(const CallBuffers& c) const {
    const auto& keys = file_.layout().keys;
    if (c.keyNumber < 0 || size_t(c.keyNumber) >= keys.size())
        return StatusInvalidKeyNumber;
    if (!c.key)
        return StatusInvalidOperation;
    if (c.keyLength < keys[size_t(c.keyNumber)].length)
        return StatusKeyBufferTooShort;
    return StatusSuccess;
}

int16_t Cursor::checkWrite() const {
    return readOnly_ || !file_.writable() ? StatusReadOnly : StatusSuccess;
}

// The record a write passes: at least the fixed part; a fixed-length file keeps only that.
bool Cursor::recordFrom(const CallBuffers& c, Record& into) const {
    const FileLayout& layout = file_.layout();
    if (!c.data || *c.dataLength < layout.recordLength)
        return false;
    const size_t size = layout.variableLength ? *c.dataLength : layout.recordLength;
    into.data.assign(c.data, c.data + size);
    return true;
}

int16_t Cursor::deliver(const CallBuffers& c) const {
    const size_t size = current_.data.size();
    const size_t room = c.data ? *c.dataLength : 0;
    if (room > 0)
        std::memcpy(c.data, current_.data.data(), std::min(size, room));
    *c.dataLength = uint32_t(size);
    return size <= room ? StatusSuccess : StatusDataBufferTooShort;
}

// The lookup found found_: it becomes the current record.
int16_t Cursor::land(const CallBuffers& c, int key) {
    std::swap(current_, found_);
    place_ = Place::OnRecord;
    if (key >= 0)
        copyKeyValue(file_.layout().keys[size_t(key)], current_.data.data(), c.key);
    return deliver(c);
}

int16_t Cursor::missed(Place place, int16_t status) {
    place_ = place;
    return status;
}

int16_t Cursor::getByKey(Query query, const CallBuffers& c) {
    if (const int16_t status = checkKey(c))
        return status;
    const KeyDef& key = file_.layout().keys[size_t(c.keyNumber)];
    EncodedKey value;
    const bool keyed = query != Query::First && query != Query::Last;
    if (keyed)
        encodeKeyValue(key, c.key, value);
    if (file_.find(query, c.keyNumber, keyed ? &value : nullptr, 0, found_))
        return land(c, c.keyNumber);
    switch (query) {
    case Query::Equal:
        return missed(Place::None, StatusKeyNotFound);
    case Query::LessOrEqual:
    case Query::Less:
    case Query::Last:
        return missed(Place::BeforeFirst, StatusEndOfFile);
    default:
        return missed(Place::AfterLast, StatusEndOfFile);
    }
}

int16_t Cursor::getAdjacent(bool forward, const CallBuffers& c) {
    if (const int16_t status = checkKey(c))
        return status;
    bool found = false;
    switch (place_) {
    case Place::None:
        return StatusNoCurrentRecord;
    case Place::BeforeFirst:
    case Place::AfterLast:
        if (forward == (place_ == Place::AfterLast))
            return StatusEndOfFile;
        found = file_.find(forward ? Query::First : Query::Last, c.keyNumber, nullptr, 0, found_);
        break;
    case Place::OnRecord:
    case Place::Deleted: {
        EncodedKey anchor;
        if (!encodeRecordKey(file_.layout().keys[size_t(c.keyNumber)], current_.data.data(), anchor))
            return StatusNoCurrentRecord; // the record is not in this key
        found = advance(forward ? Query::Next : Query::Previous, c.keyNumber, &anchor);
        break;
    }
    }
    if (!found)
        return missed(forward ? Place::AfterLast : Place::BeforeFirst, StatusEndOfFile);
    return land(c, c.keyNumber);
}

int16_t Cursor::step(Query query, const CallBuffers& c) {
    const bool forward = query == Query::StepFirst || query == Query::StepNext;
    if (query == Query::StepNext || query == Query::StepPrevious) {
        if (place_ == Place::None)
            return StatusNoCurrentRecord;
        if (place_ == Place::BeforeFirst || place_ == Place::AfterLast) {
            if (forward == (place_ == Place::AfterLast))
                return StatusEndOfFile;
            query = forward ? Query::StepFirst : Query::StepLast;
        }
    }
    const bool found = query == Query::StepNext || query == Query::StepPrevious
                           ? advance(query, 0, nullptr)
                           : file_.find(query, 0, nullptr, current_.position, found_);
    if (found)
        return land(c, -1);
    return missed(forward ? Place::AfterLast : Place::BeforeFirst, StatusEndOfFile);
}

bool Cursor::advance(Query query, int key, const EncodedKey* anchor) {
    ReadAhead& a = ahead_;
    const auto now = std::chrono::steady_clock::now();
    const bool continues = place_ == Place::OnRecord && a.query == query && a.key == key &&
                           a.stamp == file_.changeStamp() && a.next > 0 && a.handedOut == current_.position &&
                           now - a.fetched < ReadAheadLifetime;
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

int16_t Cursor::getPosition(const CallBuffers& c) {
    if (place_ != Place::OnRecord)
        return StatusNoCurrentRecord;
    if (!c.data || *c.dataLength < 4)
        return StatusDataBufferTooShort;
    storeLE<uint32_t>(c.data, current_.position);
    *c.dataLength = 4;
    return StatusSuccess;
}

int16_t Cursor::getDirect(const CallBuffers& c) {
    if (!c.data || *c.dataLength < 4)
        return StatusDataBufferTooShort;
    const uint32_t position = loadLE<uint32_t>(c.data);
    if (position == 0 || !file_.find(Query::Direct, 0, nullptr, position, found_))
        return StatusInvalidPosition;
    return land(c, checkKey(c) == StatusSuccess ? c.keyNumber : -1);
}

int16_t Cursor::readChunk(const CallBuffers& c) {
    ChunkRequest chunk;
    if (!c.data || *c.dataLength < uint32_t(Chunk::ChunkReadLength) || !readDescriptor(c.data + 4, chunk))
        return StatusInvalidOperation;
    const uint32_t position = loadLE<uint32_t>(c.data);
    if (position == 0 || !file_.find(Query::Direct, 0, nullptr, position, found_))
        return StatusInvalidPosition;
    std::swap(current_, found_);
    place_ = Place::OnRecord;
    const size_t size = current_.data.size();
    if (chunk.offset >= size) {
        *c.dataLength = 0;
        return StatusChunkOffsetTooBig;
    }
    const size_t n = std::min<size_t>(chunk.length, size - chunk.offset);
    if (n > 0)
        std::memcpy(chunk.buffer, current_.data.data() + chunk.offset, n);
    *c.dataLength = uint32_t(n);
    return StatusSuccess;
}

int16_t Cursor::insert(const CallBuffers& c) {
    if (const int16_t status = checkWrite())
        return status;
    if (const int16_t status = checkKey(c))
        return status;
    if (!recordFrom(c, found_))
        return StatusDataBufferTooShort;
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

    for (const KeyDef& key : file_.layout().keys)
        for (const KeySegment& s : key.segments)
            if (s.autoIncrement)
                std::memcpy(c.data + s.offset, record + s.offset, s.length);
    std::swap(current_, found_);
    place_ = Place::OnRecord;
    copyKeyValue(file_.layout().keys[size_t(c.keyNumber)], current_.data.data(), c.key);
    return StatusSuccess;
}

int16_t Cursor::update(const CallBuffers& c) {
    if (const int16_t status = checkWrite())
        return status;
    if (place_ != Place::OnRecord)
        return StatusNoCurrentRecord;
    if (const int16_t status = checkKey(c))
        return status;
    if (!recordFrom(c, found_))
        return StatusDataBufferTooShort;
    found_.position = current_.position;
    if (!file_.update(found_.position, found_.data.data(), found_.data.size()))
        return missed(Place::None, StatusNoCurrentRecord);
    std::swap(current_, found_);
    copyKeyValue(file_.layout().keys[size_t(c.keyNumber)], current_.data.data(), c.key);
    return StatusSuccess;
}

int16_t Cursor::remove() {
    if (const int16_t status = checkWrite())
        return status;
    if (place_ != Place::OnRecord)
        return StatusNoCurrentRecord;
    if (!file_.remove(current_.position))
        return missed(Place::None, StatusNoCurrentRecord);
    place_ = Place::Deleted;
    return StatusSuccess;
}

int16_t Cursor::updateChunk(const CallBuffers& c) {
    if (const int16_t status = checkWrite())
        return status;
    ChunkRequest chunk;
    if (!c.data || *c.dataLength < uint32_t(Chunk::ChunkUpdateLength) || !readDescriptor(c.data, chunk))
        return StatusInvalidOperation;
    if (place_ != Place::OnRecord)
        return StatusNoCurrentRecord;

    // The record as stored now, not as this cursor last saw it.
    RecordFile::WriteScope scope(file_);
    if (!file_.find(Query::Direct, 0, nullptr, current_.position, found_))
        return missed(Place::None, StatusNoCurrentRecord);
    std::vector<uint8_t>& record = found_.data;
    if (chunk.offset > record.size())
        return StatusChunkOffsetTooBig;
    const uint64_t end = uint64_t(chunk.offset) + chunk.length;
    if (end > record.size()) {
        if (!file_.layout().variableLength)
            return StatusInvalidOperation; // a fixed-length record cannot grow
        record.resize(size_t(end));
    }
    if (chunk.length > 0)
        std::memcpy(record.data() + chunk.offset, chunk.buffer, chunk.length);
    if (!file_.update(found_.position, record.data(), record.size()))
        return missed(Place::None, StatusNoCurrentRecord);
    scope.commit();
    std::swap(current_, found_);
    return StatusSuccess;
}

int16_t Cursor::stat(const CallBuffers& c) {
    if (!c.data)
        return StatusInvalidOperation;
    std::vector<uint8_t> stat = file_.statBytes();
    storeLE<uint32_t>(stat.data() + Stat::RecordCount, file_.recordCount());
    const size_t n = std::min<size_t>(*c.dataLength, stat.size());
    std::memcpy(c.data, stat.data(), n);
    *c.dataLength = uint32_t(n);
    return n < stat.size() ? StatusDataBufferTooShort : StatusSuccess;
}

} // namespace RecordManager
