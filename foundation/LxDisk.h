#pragma once
// File and folder routines, every name found as Windows would find it.
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// File routines. Every name goes through ResolvePath, so "\" and "/" both separate and a name that is
// not there in its exact case is found without regard to case.

// Attribute bits as Linux allows them: read-only is a file its owner may not write, hidden a name
// beginning with ".".
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faDirectory = 0x10;

// Results of CopyFileData other than 0.
constexpr int CopyErrorSeek = -1;
constexpr int CopyErrorSource = -2;
constexpr int CopyErrorDest = -3;
constexpr int CopyErrorRead = -4;
constexpr int CopyErrorWrite = -5;
constexpr int CopyErrorSameFile = -6;

// The lines of a Windows-1252 text file, as SplitTextLines gives them; nothing when the file cannot be
// read, with the reason in error when one is given.
std::optional<QStringList> ReadTextFileLines(const QString& name, QString* error = nullptr);
// Writes the lines, each ended by CR LF, in Windows-1252 under a temporary name put in place whole, so a
// reader never sees half a file. False when it could not, with the reason in error when one is given.
bool WriteTextFileLines(const QString& name, const QStringList& lines, QString* error = nullptr);
// Size in bytes, 0 for a folder, -1 when there is nothing by that name.
qint64 FileSizeByName(const QString& name);
// The modification time; invalid when there is nothing by that name.
QDateTime FileDateTimeByName(const QString& name);
// True when the entry exists and has every bit of attr.
bool FileHasAttr(const QString& name, int attr);
// Copies source to dest in blocks of 8192 bytes, leaving out the first skipBytes bytes. An existing
// folder as dest receives the file under its own name. With append and an existing dest the data goes
// at its end; otherwise dest is replaced only once the copy is complete and, when not appending, gets
// source's modification time. Source and dest being one file is refused. Returns 0 or a CopyError value.
int CopyFileData(const QString& source, const QString& dest, bool append, qint64 skipBytes);
int CopyFileTo(const QString& source, const QString& dest);
// dir and name with exactly one separator between them ("\" when one is added); an empty dir gives name.
QString PathJoin(const QString& dir, const QString& name);
// Adds the full name of every file matching mask (wildcards * and ?, without regard to case), leaving
// out hidden entries and folders; with recurse also from every subfolder, never through a link.
void ListFiles(QStringList& list, const QString& mask, bool recurse);
// Deletes what ListFiles lists, stopping at the first failure; true when all were deleted.
bool DeleteFiles(const QString& mask, bool recurse);
// Deletes everything in dir and then dir itself; links are removed, never followed. The result is
// that of removing dir.
bool RemoveTree(const QString& dir);
