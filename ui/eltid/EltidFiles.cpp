#include "ui/eltid/EltidFiles.h"

#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/PathResolver.h"

#include <QFile>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// ---------------------------------------------------------------- small text files

QStringList ReadTextLines(const QString& fileName) {
    return ReadTextFileLines(fileName).value_or(QStringList());
}

void WriteTextLines(const QString& fileName, const QStringList& lines) {
    if (!WriteTextFileLines(fileName, lines))
        throw Exception(QStringLiteral("Filen ") + fileName + QStringLiteral(" kunne ikke skrives"));
}

// ---------------------------------------------------------------- the folder

namespace {

bool EndsWithNoCase(const char* name, std::size_t length, const QByteArray& extension) {
    const auto size = static_cast<std::size_t>(extension.size());
    return size > 0 && length > size && strncasecmp(name + length - size, extension.constData(), size) == 0;
}

enum class TEntryKind { File, Folder, Other };

TEntryKind KindOf(DIR* dir, const dirent& entry) {
    switch (entry.d_type) {
    case DT_REG:
        return TEntryKind::File;
    case DT_DIR:
        return TEntryKind::Folder;
    case DT_LNK:
    case DT_UNKNOWN: {
        // A link counts as what it leads to, as a Windows shortcut to a folder would not.
        struct stat st {};
        if (fstatat(dirfd(dir), entry.d_name, &st, 0) != 0)
            return TEntryKind::Other;
        return S_ISREG(st.st_mode)   ? TEntryKind::File
               : S_ISDIR(st.st_mode) ? TEntryKind::Folder
                                     : TEntryKind::Other;
    }
    default:
        return TEntryKind::Other;
    }
}

} // namespace

QStringList ListEltidFolder(const QString& folder, const TEltidListing& listing, const QSet<QString>& skip) {
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return {};
    const std::unique_ptr<DIR, int (*)(DIR*)> closer(dir, closedir);
    const QByteArray primary = listing.Primary.toLatin1();
    const QByteArray secondary = listing.Secondary.toLatin1();
    QStringList primaryNames;
    QStringList secondaryNames;
    QStringList folderNames;
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.')
            continue; // hidden, and the folder itself and its parent
        const std::size_t length = std::strlen(name);
        const TEntryKind kind = KindOf(dir, *entry);
        if (kind == TEntryKind::Folder && listing.Folders) {
            folderNames.append(QString::fromUtf8(name, qsizetype(length)));
        } else if (kind == TEntryKind::File) {
            if (EndsWithNoCase(name, length, primary))
                primaryNames.append(QString::fromUtf8(name, qsizetype(length - std::size_t(primary.size()))));
            else if (primaryNames.isEmpty() && EndsWithNoCase(name, length, secondary))
                secondaryNames.append(
                    QString::fromUtf8(name, qsizetype(length - std::size_t(secondary.size()))));
        }
    }
    QStringList& offered = !primaryNames.isEmpty()     ? primaryNames
                           : !secondaryNames.isEmpty() ? secondaryNames
                                                       : folderNames;
    QStringList names;
    for (const QString& name : std::as_const(offered)) {
        if (!skip.contains(name.toUpper()))
            names.append(name);
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

// ---------------------------------------------------------------- the watch

namespace {

TFileStamp StampOf(const struct stat& st) {
    return {qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, qint64(st.st_size)};
}

TFileStamp StampOf(const QByteArray& path) {
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return {};
    return StampOf(st);
}

// The whole file as one read finds it, with the date and size it had before and after; none when it
// cannot be opened or read.
struct TRead {
    QByteArray Bytes;
    TFileStamp Before;
    TFileStamp After;
};

class TOpenFile {
public:
    explicit TOpenFile(const QByteArray& path)
        : fd_(::open(path.constData(), O_RDONLY | O_CLOEXEC)) {}
    ~TOpenFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TOpenFile(const TOpenFile&) = delete;
    TOpenFile& operator=(const TOpenFile&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

std::optional<TRead> ReadWhole(const QByteArray& path) {
    const TOpenFile file(path);
    const int fd = file.Fd();
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    TRead read;
    read.Before = StampOf(st);
    // One byte more than its size shows a file that grew while it was read.
    read.Bytes.resize(read.Before.Size + 1);
    qsizetype filled = 0;
    while (filled < read.Bytes.size()) {
        const ssize_t n = ::read(fd, read.Bytes.data() + filled, std::size_t(read.Bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        filled += n;
    }
    read.Bytes.truncate(filled);
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    read.After = StampOf(st);
    return read;
}

bool EndsInLineEnd(const QByteArray& bytes) {
    return bytes.endsWith('\n') || bytes.endsWith('\r');
}

} // namespace

struct TEltidFileWatch::TWatched {
    QString Name;
    // The path the resolver found; empty until the first look.
    QByteArray Path;
    // The folder's stamp when the path was found: a file missing then is looked for again only once the
    // folder changed.
    TFileStamp FolderAtResolve;
    // The stamp of the bytes last handed out, and the stamp the last look saw.
    TFileStamp Read;
    TFileStamp Seen;
};

TEltidFileWatch::TEltidFileWatch(QString folder, QString resultName, QString windName)
    : result_(std::make_unique<TWatched>())
    , wind_(std::make_unique<TWatched>())
    , folder_(std::move(folder))
    , sameFile_(resultName.compare(windName, Qt::CaseInsensitive) == 0) {
    result_->Name = std::move(resultName);
    wind_->Name = std::move(windName);
}

TEltidFileWatch::~TEltidFileWatch() = default;

void TEltidFileWatch::Resolve(TWatched& file) {
    file.FolderAtResolve = StampOf(resolvedFolder_);
    file.Path = QFile::encodeName(ResolvePath(PathJoin(folder_, file.Name)));
}

std::optional<QByteArray> TEltidFileWatch::Look(TWatched& file, QString& fejl) {
    if (file.Path.isEmpty())
        Resolve(file);
    struct stat st {};
    if (::stat(file.Path.constData(), &st) != 0) {
        // It may have come since in another letter case: the folder changes when an entry comes.
        if (StampOf(resolvedFolder_) == file.FolderAtResolve)
            return std::nullopt;
        Resolve(file);
        if (::stat(file.Path.constData(), &st) != 0)
            return std::nullopt;
    }
    const TFileStamp stamp = StampOf(st);
    if (stamp == file.Read)
        return std::nullopt;
    const std::optional<TRead> read = ReadWhole(file.Path);
    if (!read) {
        fejl = QStringLiteral("Filen ") + file.Name + QStringLiteral(" kunne ikke læses");
        return std::nullopt;
    }
    const bool settled = read->Before == read->After && read->Bytes.size() == read->Before.Size;
    const bool whole = EndsInLineEnd(read->Bytes) || read->After == file.Seen;
    file.Seen = read->After;
    if (!settled || !whole)
        return std::nullopt;
    file.Read = read->After;
    return read->Bytes;
}

TEltidCheck TEltidFileWatch::Check() {
    if (resolvedFolder_.isEmpty())
        resolvedFolder_ = QFile::encodeName(ResolvePath(folder_));
    TEltidCheck check;
    check.Result = Look(*result_, check.Fejl);
    if (sameFile_)
        check.Wind = check.Result;
    else
        check.Wind = Look(*wind_, check.Fejl);
    return check;
}

// ---------------------------------------------------------------- the poller

namespace {

using SteadyClock = std::chrono::steady_clock;

TEltidCheck SafeCheck(TEltidFileWatch& watch) {
    try {
        return watch.Check();
    } catch (const std::exception& error) {
        TEltidCheck check;
        check.Fejl = MessageOf(error);
        return check;
    }
}

// How long a poller that goes waits for a look in progress before it leaves it running.
constexpr std::chrono::milliseconds GoingWait{250};

} // namespace

struct TEltidPoller::TShared {
    std::mutex Mutex;
    // The look thread waits on Wake for a request; Poll waits on Done for its outcome.
    std::condition_variable Wake;
    std::condition_variable Done;
    std::unique_ptr<TEltidFileWatch> Watch;
    bool Requested = false;
    bool Running = false;
    bool Stop = false;
    SteadyClock::time_point Started;
    std::optional<TEltidCheck> Outcome;

    bool Busy() const { return Requested || Running; }

    // The look thread: one look per request until it is told to stop.
    static void Looks(const std::shared_ptr<TShared>& shared) {
        std::unique_lock lock(shared->Mutex);
        for (;;) {
            shared->Wake.wait(lock, [&shared] { return shared->Stop || shared->Requested; });
            if (shared->Stop)
                return;
            shared->Requested = false;
            shared->Running = true;
            shared->Started = SteadyClock::now();
            lock.unlock();
            TEltidCheck check = SafeCheck(*shared->Watch);
            lock.lock();
            shared->Outcome = std::move(check);
            shared->Running = false;
            shared->Done.notify_all();
        }
    }
};

TEltidPoller::TEltidPoller(std::unique_ptr<TEltidFileWatch> watch)
    : shared_(std::make_shared<TShared>()) {
    shared_->Watch = std::move(watch);
}

TEltidPoller::~TEltidPoller() {
    if (!thread_.joinable())
        return;
    std::unique_lock lock(shared_->Mutex);
    shared_->Stop = true;
    shared_->Wake.notify_all();
    if (!shared_->Done.wait_for(lock, GoingWait, [this] { return !shared_->Running; })) {
        // The look holds its own share of the watch and ends whenever the folder answers.
        thread_.detach();
        return;
    }
    lock.unlock();
    thread_.join();
}

std::optional<TEltidCheck> TEltidPoller::Poll(std::chrono::milliseconds wait) {
    std::unique_lock lock(shared_->Mutex);
    if (!thread_.joinable())
        thread_ = std::thread(&TShared::Looks, shared_);
    if (!shared_->Busy() && !shared_->Outcome) {
        shared_->Requested = true;
        shared_->Wake.notify_one();
    }
    shared_->Done.wait_for(lock, wait, [this] { return !shared_->Busy(); });
    return std::exchange(shared_->Outcome, std::nullopt);
}

std::optional<TEltidCheck> TEltidPoller::PollNow() {
    {
        const std::lock_guard guard(shared_->Mutex);
        if (shared_->Busy())
            return std::nullopt;
        if (shared_->Outcome)
            return std::exchange(shared_->Outcome, std::nullopt);
    }
    // No look runs and only this caller asks for one: the watch is this thread's now.
    return SafeCheck(*shared_->Watch);
}

std::chrono::milliseconds TEltidPoller::Running() const {
    const std::lock_guard guard(shared_->Mutex);
    if (!shared_->Running)
        return std::chrono::milliseconds(0);
    return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - shared_->Started);
}
