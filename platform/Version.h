#pragma once
// The program's version text.
#include <QString>

namespace Platform {
// The program's version text, from the build's project version; never empty.
QString VersionText();
} // namespace Platform
