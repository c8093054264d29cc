#include "platform/Version.h"

#include "ZunoVersion.h"

namespace Platform {
QString VersionText() {
    return QStringLiteral(ZUNO_VERSION_TEXT);
}
} // namespace Platform
