#include "server/GatewayLog.h"

void GatewayLog::Write(const QStringList& texts) {
    TDateLog::TStamp stamp;
    {
        std::lock_guard lock(stampMutex_);
        stamp = log_.Stamp();
    }
    QByteArray bytes;
    for (const QString& text : texts)
        bytes += TDateLog::Line(stamp, text);
    {
        std::shared_lock shared(fileMutex_);
        if (log_.AppendToOpen(stamp.FileName, bytes))
            return;
    }
    std::lock_guard alone(fileMutex_);
    log_.WriteStamped(stamp.FileName, bytes);
}

void GatewayLog::SetPrefix(const QString& prefix) {
    std::lock_guard lock(stampMutex_);
    log_.FilenamePrefix = prefix;
}

void GatewayLog::SetSuffix(const QString& suffix) {
    std::lock_guard lock(stampMutex_);
    log_.FilenameSuffix = suffix;
}
