#pragma once
// The record manager: keyed record files behind one call, BTRCALL.
// Every record file is one SQLite database file under the record file's own name.
//
// Conventions of the call:
// - The position block (PositionBlockSize bytes, the caller's) names one cursor after a successful Open
//   and nothing after Close or Stop (status 3); Open on a block that is still open gives 1. Many blocks
//   may be open on one file, each with its own position.
// - Open: KeyBuffer = the file name, zero-terminated, relative to the current folder or absolute, used
//   as given; KeyNumber = the OpenMode. Create: KeyBuffer = the name, DataBuffer = the statistics buffer.
// - KeyLength is only checked against the key's length (status 21 when shorter). Keyed calls read the
//   key value from KeyBuffer and put the found record's key there; Insert and Update put the record's key
//   there too.
// - Gets return the record and its length in DataLength; a buffer shorter than the record gets the
//   bytes that fit, DataLength = the record's length, status 22. On 4 and 9 the buffers are left alone.
// - Get Equal on a key with duplicates finds the first of them, Get Less and Get Less or Equal the last.
// - Every call is its own transaction unless Begin (19) is active; then every file used joins it, and
//   a file closed before End or Abort stays open until then. Stop (25) aborts an active transaction and
//   closes every file of the process.
// - End (20) commits all files the transaction wrote or none, also when the process dies on the way: a
//   transaction that wrote several files keeps a journal in their folder until each has committed, and
//   the next Open or Create in that folder finishes it (Journal.h). Files written in one transaction must
//   lie in one folder (End refuses others with 1 and aborts). After a failure once the journal was kept,
//   every call but Close gives the failure's status until the journal is in.
// - Positions are 32-bit, start at 1, never change for a record and are never used again.
#include "platform/recordmanager/RecordManagerCodes.h"

#include <cstdint>

extern "C" int16_t BTRCALL(uint16_t Operation, void* PositionBlock, void* DataBuffer, uint32_t* DataLength,
                           void* KeyBuffer, uint8_t KeyLength, int8_t KeyNumber);

// While one lives, the process's reads of a file share one read transaction instead of starting and
// ending one per call: a long run of reads costs less, and sees the file as it stood at its first read.
// Scopes nest; the last to go ends the reading. A write, a Begin (19) or a Create ends the reading first,
// so a write commits exactly as without the scope, and the reads after it see it and whatever other
// processes had committed until then. Another process's writes are seen after the scope at the latest.
class RecordManagerReadScope {
public:
    RecordManagerReadScope();
    ~RecordManagerReadScope();
    RecordManagerReadScope(const RecordManagerReadScope&) = delete;
    RecordManagerReadScope& operator=(const RecordManagerReadScope&) = delete;
};
