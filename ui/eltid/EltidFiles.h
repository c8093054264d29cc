#pragma once
// The timing reader's file work, apart from what the lines mean: the small text files beside the record
// files (".path", ".files"), the listing of a timing system's folder, and the watch on one heat's result
// and wind files, which runs off the calling thread so that a folder that hangs never holds up a window.
#include "foundation/LxString.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

// ---------------------------------------------------------------- small text files

// The lines of a Windows-1252 text file, without their line ends; none when it cannot be read.
QStringList ReadTextLines(const QString& fileName);
// Writes the lines as Windows-1252 with CRLF, replacing the file only once it is written whole. Raises
// Exception with a Danish message when it cannot be written.
void WriteTextLines(const QString& fileName, const QStringList& lines);

// ---------------------------------------------------------------- the folder

// What a timing system's folder offers: the base names of its result files, or why there are none.
struct TEltidFileList {
    // The folder as the ".path" file names it; empty when there is no such file or it names none.
    QString Folder;
    QStringList Names;
    // Why the folder gave no names, for the window to show; empty when nothing went wrong.
    QString Fejl;
};

// How a timing system's folder is listed: the files of one extension, else of another, else (when
// folders is set) the names of its sub-folders. Extensions are given with their dot ("*.COL" as ".COL").
struct TEltidListing {
    QString Primary;
    QString Secondary;
    bool Folders = false;
};

// The base names the folder offers (extensions compared without regard to case, hidden entries left
// out), without those whose upper-cased name is in skip, sorted without regard to case. The folder is a
// real path.
QStringList ListEltidFolder(const QString& folder, const TEltidListing& listing, const QSet<QString>& skip);

// ---------------------------------------------------------------- the watch

// A file's date (nanoseconds) and size as the last look found them; size -1 when it was not there.
struct TFileStamp {
    qint64 Time = 0;
    qint64 Size = -1;

    bool operator==(const TFileStamp&) const = default;
    bool Exists() const { return Size >= 0; }
};

// What one look at the watched files found: the bytes of each file read anew, or why the look failed.
struct TEltidCheck {
    std::optional<QByteArray> Result;
    std::optional<QByteArray> Wind;
    QString Fejl;

    bool HasNews() const { return Result || Wind; }
};

// The result file and the wind file of one heat in a folder (both names as the system gives them,
// found without regard to case). Not thread-safe: one thread at a time looks.
class TEltidFileWatch {
public:
    TEltidFileWatch(QString folder, QString resultName, QString windName);
    ~TEltidFileWatch();
    TEltidFileWatch(const TEltidFileWatch&) = delete;
    TEltidFileWatch& operator=(const TEltidFileWatch&) = delete;

    // Reads each file whose date or size differs from those of its last reading. A file still being
    // written is left for the next look: one that changed while it was read, or one that does not end
    // in a line end and changed since the look before. Nothing changed costs one stat call a file.
    TEltidCheck Check();

private:
    struct TWatched;
    std::unique_ptr<TWatched> result_;
    std::unique_ptr<TWatched> wind_;
    QString folder_;
    // The folder as the resolver found it; empty until the first look.
    QByteArray resolvedFolder_;
    TFileStamp folderStamp_;
    bool sameFile_;

    void Resolve(TWatched& file);
    std::optional<QByteArray> Look(TWatched& file, QString& fejl);
};

// Runs a watch's looks on a thread of its own, one look per Poll. A look that does not end in time is
// left running while the caller goes on; a later Poll takes its outcome. A look that hangs for good is
// given up with its poller, never waited for.
class TEltidPoller {
public:
    explicit TEltidPoller(std::unique_ptr<TEltidFileWatch> watch);
    ~TEltidPoller();
    TEltidPoller(const TEltidPoller&) = delete;
    TEltidPoller& operator=(const TEltidPoller&) = delete;

    // Starts a look unless one runs, and waits for it at most wait; none while it still runs.
    std::optional<TEltidCheck> Poll(std::chrono::milliseconds wait);
    // A look on the calling thread; none while a look runs on the other.
    std::optional<TEltidCheck> PollNow();
    // How long the look in progress has run; zero when none runs.
    std::chrono::milliseconds Running() const;

private:
    struct TShared;
    std::shared_ptr<TShared> shared_;
    std::thread thread_;
};
