#pragma once
// The record manager's numbers: operations, statuses, open modes, the statistics buffer's layout and the
// chunk descriptor. The call itself is in RecordManager.h; the manager's own parts need only these.
#include "platform/LittleEndian.h"

#include <cstdint>

namespace RecordManager {

constexpr int PositionBlockSize = 128;
constexpr int StatBufferSize = 1920;
constexpr int MaxKeyLength = 255;

enum Operation : uint16_t {
    OpOpen = 0,
    OpClose = 1,
    OpInsert = 2,
    OpUpdate = 3,
    OpDelete = 4,
    OpGetEqual = 5,
    OpGetNext = 6,
    OpGetPrevious = 7,
    OpGetGreater = 8,
    OpGetGreaterOrEqual = 9,
    OpGetLess = 10,
    OpGetLessOrEqual = 11,
    OpGetFirst = 12,
    OpGetLast = 13,
    OpCreate = 14,
    OpStat = 15,
    OpBeginTransaction = 19,
    OpEndTransaction = 20,
    OpAbortTransaction = 21,
    OpGetPosition = 22,
    OpGetDirect = 23,
    OpStepNext = 24,
    OpStop = 25,
    OpStepFirst = 33,
    OpStepLast = 34,
    OpStepPrevious = 35,
    OpUpdateChunk = 53,
};

enum Status : int16_t {
    StatusSuccess = 0,
    StatusInvalidOperation = 1,
    StatusIOError = 2,
    StatusFileNotOpen = 3,
    StatusKeyNotFound = 4,
    StatusDuplicateKey = 5,
    StatusInvalidKeyNumber = 6,
    StatusNoCurrentRecord = 8,
    StatusEndOfFile = 9,
    StatusFileNotFound = 12,
    StatusKeyBufferTooShort = 21,
    StatusDataBufferTooShort = 22,
    StatusInvalidKeyPosition = 27,  // Create: a key segment outside the fixed record
    StatusInvalidRecordLength = 28, // Create: record length 0
    StatusInvalidKeyLength = 29,    // Create: a segment length its type cannot have, or a key over 255 bytes
    StatusNotARecordFile = 30,
    StatusTransactionActive = 37, // Begin while a transaction is active
    StatusNoTransaction = 39,     // End or Abort without Begin
    StatusInvalidPosition = 43,
    StatusReadOnly = 46,
    StatusFileExists = 59,
    StatusFileLocked = 85,
    StatusChunkOffsetTooBig = 103,
};

// Key number of Open: the open mode.
enum OpenMode : int8_t {
    OpenNormal = 0,
    OpenAccelerated = -1,
    OpenReadOnly = -2,
    OpenVerify = -3,
    OpenExclusive = -4,
};

// Key number of Create: 0 replaces an existing file, -1 refuses to (status 59).
constexpr int8_t CreateReplace = 0;
constexpr int8_t CreateKeepExisting = -1;

// Key number of Get Direct that reads a chunk instead of the record.
constexpr int8_t GetDirectChunk = -2;

// Statistics buffer (Stat, Create): offsets of the little-endian fields.
namespace Stat {
constexpr int RecordLength = 0; // 16-bit
constexpr int PageSize = 2;     // 16-bit, kept as given
constexpr int KeyCount = 4;     // 16-bit, keys (not segments)
constexpr int RecordCount = 6;  // 32-bit, filled in by Stat
constexpr int FileFlags = 10;   // 16-bit
constexpr int KeySpecs = 16;    // one KeySpec per key segment from here
constexpr uint16_t FlagVariableLength = 0x0001;
// Stat gives in the first 4 bytes of the key buffer (32-bit) a count that takes another value once the
// file's records have changed, here or in another process; the statistics stay as the file was created.
constexpr int KeyChangeCount = 0;
} // namespace Stat

// One 16-byte key segment description inside the statistics buffer.
namespace KeySpec {
constexpr int Size = 16;
constexpr int Position = 0;      // 16-bit, 1-based offset in the record
constexpr int Length = 2;        // 16-bit
constexpr int Flags = 4;         // 16-bit
constexpr int UniqueCount = 6;   // 32-bit, kept as given
constexpr int ExtendedType = 10; // 8-bit, used with FlagExtendedType
constexpr int NullValue = 11;    // 8-bit, used with FlagNullKey
constexpr int ManualKeyNumber = 14;
constexpr int CollatingSequence = 15;

constexpr uint16_t FlagDuplicates = 0x0001;
constexpr uint16_t FlagModifiable = 0x0002;
constexpr uint16_t FlagBinary = 0x0004;
constexpr uint16_t FlagNullKey = 0x0008;   // a record whose key is all null values is left out of the key
constexpr uint16_t FlagSegmented = 0x0010; // the next segment continues this key
constexpr uint16_t FlagDescending = 0x0040;
constexpr uint16_t FlagExtendedType = 0x0100;
constexpr uint16_t FlagCaseInsensitive = 0x0400;

constexpr uint8_t TypeString = 0;
constexpr uint8_t TypeInteger = 1; // signed little-endian, 1, 2, 4 or 8 bytes
constexpr uint8_t TypeFloat = 2;   // IEEE little-endian, 4 or 8 bytes
constexpr uint8_t TypeZString = 11;
constexpr uint8_t TypeUnsignedBinary = 14; // unsigned little-endian, 1, 2, 4 or 8 bytes
constexpr uint8_t TypeAutoIncrement = 15;  // signed little-endian, 2, 4 or 8 bytes
} // namespace KeySpec

// Chunk descriptor. The 20-byte layout keeps its 32-bit address field, which cannot hold a pointer
// in a 64-bit process; the real buffer address follows it in 8 more bytes (little-endian). So:
//   Update Chunk (53): DataBuffer = descriptor + pointer, DataLength = ChunkUpdateLength (28).
//   Get Direct with key number -2: DataBuffer = 4-byte record position + descriptor + pointer,
//     DataLength = ChunkReadLength (32); the bytes read go to the pointer and DataLength returns their
//     count (status 103 and 0 when the offset is at or past the record's end).
// A shorter DataLength is refused with status 1. Offsets count from the start of the record.
namespace Chunk {
constexpr uint32_t IndirectRandom = 0x80000001; // the only subfunction offered
constexpr int Subfunction = 0;
constexpr int Count = 4; // must be 1
constexpr int Offset = 8;
constexpr int Length = 12;
constexpr int Address32 = 16; // kept in the layout, not used
constexpr int Pointer = 20;   // 8 bytes: the buffer's real address
constexpr int DescriptorSize = 28;
constexpr int ChunkUpdateLength = DescriptorSize;
constexpr int ChunkReadLength = 4 + DescriptorSize;
} // namespace Chunk

struct ChunkDescriptor {
    uint32_t Offset = 0;
    uint32_t Length = 0;
    void* Buffer = nullptr;
};

// Writes the Chunk::DescriptorSize bytes of a chunk descriptor at `at`.
inline void storeChunkDescriptor(const ChunkDescriptor& d, void* at) {
    auto* p = static_cast<unsigned char*>(at);
    const uint64_t address = reinterpret_cast<uintptr_t>(d.Buffer);
    storeLE<uint32_t>(p + Chunk::Subfunction, Chunk::IndirectRandom);
    storeLE<uint32_t>(p + Chunk::Count, 1);
    storeLE<uint32_t>(p + Chunk::Offset, d.Offset);
    storeLE<uint32_t>(p + Chunk::Length, d.Length);
    storeLE<uint32_t>(p + Chunk::Address32, uint32_t(address));
    storeLE<uint64_t>(p + Chunk::Pointer, address);
}

// Fills `block` (Chunk::ChunkReadLength bytes) for a chunk read of the record at `position`.
inline void storeChunkRead(uint32_t position, const ChunkDescriptor& d, void* block) {
    auto* p = static_cast<unsigned char*>(block);
    storeLE<uint32_t>(p, position);
    storeChunkDescriptor(d, p + 4);
}

} // namespace RecordManager
