#pragma once
// A record-manager transaction over every file it touches, aborted unless committed.
#include "storage/BtvFile.h"

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
