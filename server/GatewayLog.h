#pragma once
// The gateway's daily log, written to from all its threads at once. The lines of one call are stamped
// in a moment under a small lock, then go into the file with one write() of their own beside the other
// threads' (the file is opened for appending, so writes never mix), and only opening another file
// shuts the others out. Nothing waits in a buffer: a call returns once its lines are in the file.
#include "foundation/LxClass.h"

#include <QString>
#include <QStringList>

#include <mutex>
#include <shared_mutex>

class GatewayLog {
public:
    GatewayLog() = default;
    GatewayLog(const GatewayLog&) = delete;
    GatewayLog& operator=(const GatewayLog&) = delete;

    // Appends lines, one after the other; a failure to write them reaches the caller.
    void Write(const QStringList& texts);
    void SetPrefix(const QString& prefix);
    void SetSuffix(const QString& suffix);

private:
    TDateLog log_;
    std::mutex stampMutex_;       // stamping, and the names of the files
    std::shared_mutex fileMutex_; // shared while writing to the open file, alone while opening one
};
