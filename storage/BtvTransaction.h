#pragma once
// A record-manager transaction over every file it touches, aborted unless committed; a read scope that
// lets a run of reads share one snapshot.
#include "storage/BtvFile.h"

#include <memory>

class RecordManagerReadScope;

// One record-manager transaction: every record file the program touches while it runs joins it. It is
// aborted when it goes out of scope without Commit, so a failing piece of work leaves the files as they
// were. Only one can be active at a time.
class TBtvTransaction {
public:
    // Begins; raises EBtvException when the record manager refuses (one is already active).
    TBtvTransaction();
    ~TBtvTransaction();
    TBtvTransaction(const TBtvTransaction&) = delete;
    TBtvTransaction& operator=(const TBtvTransaction&) = delete;

    // Ends the transaction, keeping its changes; raises EBtvException when that fails. Either way it
    // is over afterwards.
    void Commit();
    bool Active() const { return active_; }

private:
    bool active_ = false;
};

// A piece of work that reads much (a batch job, a round's load, a count over the meet): while it lives,
// the reads of each record file share one read transaction instead of one per record. Scopes nest. A write
// inside it commits as ever and what is read after the write sees it; another program's writes are seen
// after the scope.
class TBtvReadScope {
public:
    TBtvReadScope();
    ~TBtvReadScope();
    TBtvReadScope(const TBtvReadScope&) = delete;
    TBtvReadScope& operator=(const TBtvReadScope&) = delete;

private:
    std::unique_ptr<RecordManagerReadScope> scope_;
};
