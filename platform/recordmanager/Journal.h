#pragma once
// A transaction that changed several record files commits all of them or none, whenever the process
// dies. Before the first file commits, the records it changed in every file (as they stand at the end,
// or gone) are written to a journal in the files' folder and synced; the journal goes once every file
// has committed and synced. A journal left behind by a process that died is applied again by whoever
// next opens or creates a record file of that folder: it deletes every changed position and writes the
// records back as the journal has them, which gives the same files whether a file had committed or not.
//
// The journal is locked while it is written, applied or removed, so a process that opens a file while
// another commits waits for that commit to end.
#include "platform/recordmanager/JournalWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace RecordManager {

class RecordFile;

// The length a null key is written with.
std::string journalPathFor(const std::string& recordFilePath);

// Commits the transaction's part of every file, all or none: with a journal when more than one file
// changed, else each on its own. Throws the status of a failure. Before the journal is kept a failure
// rolls every file back; after it, the transaction is decided: the files that could not commit are
// written from the journal at once, and when even that fails `pending` is set to the journal's path,
// which then still holds the transaction for recoverJournal.
void commitFiles(const std::vector<RecordFile*>& files, std::string& pending);

// Applies and removes the journal at path when there is one (a valid one: a journal cut short was
// never acted on and is only removed). Throws the status when it cannot.
void recoverJournal(const std::string& journalPath);

} // namespace RecordManager
