#pragma once
// The gateway's daily log, written to from all its threads at once. The lines of one call are stamped
// in a moment under a small lock, then go into the file with one write() of their own beside the other
// threads' (the file is opened for appending, so writes never mix), and only opening another file
// shuts the others out. Write returns once its lines are in the file; a connection may instead stamp
// its lines as they come and write them together later (Stamp, Flush), one write for many lines.
#include "foundation/LxClass.h"

#include <QString>
#include <QStringList>

#include <mutex>
#include <shared_mutex>
#include <utility>
#include <vector>

// Lines stamped and not yet written, in order; a line of another day starts another file's part.
class GatewayLogLines {
public:
    bool IsEmpty() const { return parts_.empty(); }

private:
    friend class GatewayLog;
    std::vector<std::pair<QString, QByteArray>> parts_; // file name, lines
};

class GatewayLog {
public:
    GatewayLog() = default;
    GatewayLog(const GatewayLog&) = delete;
    GatewayLog& operator=(const GatewayLog&) = delete;

    // Appends lines, one after the other; a failure to write them reaches the caller.
    void Write(const QStringList& texts);
    // Stamps lines now and keeps them in lines, each after the prefix.
    void Stamp(GatewayLogLines& lines, const QString& prefix, const QStringList& texts);
    // Writes what lines keeps and empties it, also when writing fails; the failure reaches the caller.
    void Flush(GatewayLogLines& lines);
    void SetPrefix(const QString& prefix);
    void SetSuffix(const QString& suffix);

private:
    void WriteToFile(const QString& fileName, const QByteArray& bytes);

    TDateLog log_;
    std::mutex stampMutex_;       // stamping, and the names of the files
    std::shared_mutex fileMutex_; // shared while writing to the open file, alone while opening one
};
