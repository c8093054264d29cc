#pragma once
// Starting another program or opening a document, as the platform shell would. A program starts with
// its parameters as an argument list (never through a shell that reads the text again); a document or
// an address goes to the desktop's opener.
#include <QString>

namespace Platform {

// How the started program's window should show; a wish the desktop may ignore.
enum class TShowMode { Normal, Minimized, Maximized, Hidden };

// The text before the first blank is the file to run or open, the rest (split at blanks, "..." keeping
// blanks together) its parameters. A relative file is taken from directory (the current folder when
// empty), which is also the program's working folder; "\" separates as "/". With wait, a started program
// is awaited while the window thread goes on serving events; the wait ends as the program ends, or when
// the application quits. A document opened by the desktop is not awaited. Returns whether it started.
bool RunShellCommand(const QString& commandLine, const QString& directory, TShowMode showMode, bool wait);
bool StartShellCommand(const QString& commandLine, const QString& directory, TShowMode showMode);

} // namespace Platform
