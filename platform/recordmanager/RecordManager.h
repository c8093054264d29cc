#pragma once
// The record manager: keyed record files behind one call, BTRCALL.
// Every record file is one SQLite database file under the record file's own name.
#include <cstdint>

extern "C" int16_t BTRCALL(uint16_t Operation, void* PositionBlock, void* DataBuffer, uint32_t* DataLength,
                           void* KeyBuffer, uint8_t KeyLength, int8_t KeyNumber);

namespace RecordManager {

constexpr int PositionBlockSize = 128;
constexpr int StatBufferSize = 1920;

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
    StatusDataBufferTooShort = 22,
    StatusNotARecordFile = 30,
    StatusInvalidPosition = 43,
    StatusReadOnly = 46,
    StatusFileExists = 59,
    StatusFileLocked = 85,
    StatusChunkOffsetTooBig = 103,
};

} // namespace RecordManager
