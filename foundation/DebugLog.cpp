#include "foundation/DebugLog.h"

#include "foundation/LxClass.h"

#include <atomic>

namespace {

std::atomic<bool> enabled{true};

} // namespace

void SetDebugLogEnabled(bool on) {
    enabled = on;
}

bool DebugLogEnabled() {
    return enabled;
}

void WriteDebugLog(const QString& text) {
    if (!enabled)
        return;
    TDateLog log;
    log.FilenamePrefix = QStringLiteral(".\\");
    log.FilenameSuffix = QStringLiteral(".LOG");
    log.Log(text);
}
