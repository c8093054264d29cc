#pragma once
// Keys as byte strings whose plain byte order is the key's order, so SQLite can index them as blobs.
#include "platform/recordmanager/FileLayout.h"

#include <array>
#include <cstdint>

namespace RecordManager {

struct EncodedKey {
    std::array<uint8_t, 255> bytes;
    uint16_t size = 0;
};

// The key of a record. False when the key is null, i.e. the record stays out of this key.
bool encodeRecordKey(const KeyDef& key, const uint8_t* record, EncodedKey& out);

// A key value as the caller passes it: the segments side by side, each in the record's own form.
void encodeKeyValue(const KeyDef& key, const uint8_t* value, EncodedKey& out);

// The record's key in the caller's form, written to `value` (key.length bytes).
void copyKeyValue(const KeyDef& key, const uint8_t* record, uint8_t* value);

// Reads and writes an integer segment (autoincrement values).
int64_t readInteger(const KeySegment& segment, const uint8_t* record);
void writeInteger(const KeySegment& segment, uint8_t* record, int64_t value);
bool isZero(const KeySegment& segment, const uint8_t* record);

} // namespace RecordManager
