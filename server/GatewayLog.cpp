#include "server/GatewayLog.h"

#include "foundation/Windows1252.h"

void GatewayLog::Write(const QStringList& texts) {
    GatewayLogLines lines;
    Stamp(lines, QString(), texts);
    Flush(lines);
}

void GatewayLog::Stamp(GatewayLogLines& lines, const QString& prefix, const QStringList& texts) {
    TDateLog::TStamp stamp;
    {
        std::lock_guard lock(stampMutex_);
        stamp = log_.Stamp();
    }
    if (lines.parts_.empty() || lines.parts_.back().first != stamp.FileName)
        lines.parts_.emplace_back(stamp.FileName, QByteArray());
    QByteArray& bytes = lines.parts_.back().second;
    const QByteArray start = stamp.Text + Windows1252::Encode(prefix);
    for (const QString& text : texts) {
        bytes += start;
        bytes += Windows1252::Encode(text);
        bytes += '\n';
    }
}

void GatewayLog::Flush(GatewayLogLines& lines) {
    const auto parts = std::exchange(lines.parts_, {});
    for (const auto& [fileName, bytes] : parts)
        WriteToFile(fileName, bytes);
}

void GatewayLog::WriteToFile(const QString& fileName, const QByteArray& bytes) {
    {
        std::shared_lock shared(fileMutex_);
        if (log_.AppendToOpen(fileName, bytes))
            return;
    }
    std::lock_guard alone(fileMutex_);
    log_.WriteStamped(fileName, bytes);
}

void GatewayLog::SetPrefix(const QString& prefix) {
    std::lock_guard lock(stampMutex_);
    log_.FilenamePrefix = prefix;
}

void GatewayLog::SetSuffix(const QString& suffix) {
    std::lock_guard lock(stampMutex_);
    log_.FilenameSuffix = suffix;
}
