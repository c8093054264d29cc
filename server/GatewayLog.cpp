#include "server/GatewayLog.h"

#include "foundation/Windows1252.h"

#include <cstring>

namespace {
// Room for the lines a connection logs between two writes, so that they seldom move.
constexpr qsizetype LinesReserve = 2048;
} // namespace

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
    if (lines.parts_.empty() || lines.parts_.back().first != stamp.FileName) {
        lines.parts_.emplace_back(stamp.FileName, QByteArray());
        lines.parts_.back().second.reserve(LinesReserve);
    }
    QByteArray& bytes = lines.parts_.back().second;
    // Room for the lines at their longest, written in place; what is left over is cut off.
    qsizetype room = 0;
    for (const QString& text : texts)
        room += stamp.Text.size() + prefix.size() + text.size() + 1;
    qsizetype used = bytes.size();
    bytes.resize(used + room);
    char* out = bytes.data();
    for (const QString& text : texts) {
        std::memcpy(out + used, stamp.Text.constData(), std::size_t(stamp.Text.size()));
        used += stamp.Text.size();
        used += Windows1252::EncodeTo(prefix, out + used);
        used += Windows1252::EncodeTo(text, out + used);
        out[used++] = '\n';
    }
    bytes.truncate(used);
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
