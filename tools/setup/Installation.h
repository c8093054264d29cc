#pragma once
// The installation of a program folder's data files.
#include <QString>
#include <QStringList>

// The installation of a program folder: the marker "zuno-installation" is written first; then every one
// of the 14 record files that is missing is created with its keys, the event catalogue files are filled
// from the catalogue source when they hold no records, and every shipped file that is missing is copied
// from shippedDir (the catalogue source files and the built-in tables excepted); the marker is removed
// last. Nothing that exists is replaced, so a second run changes nothing; only a report file exactly as an
// earlier installation shipped it, whose lists lack their columns, is replaced by the shipped one.
//
// Returns one line per thing done (none when the folder was complete). A failure raises Exception and
// leaves the marker, so that the program refuses to start on a half-made folder; a new run completes it.
QStringList InstallProgramFolder(const QString& programDir, const QString& shippedDir);

constexpr const char* InstallationMarker = "zuno-installation";
