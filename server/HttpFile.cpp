#include "server/HttpFile.h"

#include "foundation/PathResolver.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

THttpFile::THttpFile(int descriptor, QString name)
    : fd_(descriptor)
    , name_(std::move(name)) {}

THttpFile::~THttpFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::unique_ptr<THttpFile> THttpFile::Open(const QString& path) {
    const QString resolved = ResolvePath(path);
    // Not blocking: a pipe must not hold the answer until a writer comes.
    const int fd =
        ::open(QFile::encodeName(resolved).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<THttpFile>(fd, resolved);
}

qint64 THttpFile::Size() const {
    struct stat info {};
    return ::fstat(fd_, &info) == 0 ? qint64(info.st_size) : -1;
}

qint64 THttpFile::Read(char* buffer, qint64 size) {
    qint64 used = 0;
    while (used < size) {
        const ssize_t count = ::read(fd_, buffer + used, std::size_t(size - used));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return -1;
        if (count == 0)
            break;
        used += count;
    }
    return used;
}
