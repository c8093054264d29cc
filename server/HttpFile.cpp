#include "server/HttpFile.h"

#include "foundation/PathResolver.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

THttpFile::THttpFile(int descriptor, QString name, qint64 size)
    : fd_(descriptor)
    , name_(std::move(name))
    , size_(size) {}

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
    return std::make_unique<THttpFile>(fd, resolved, qint64(info.st_size));
}

bool THttpFile::ReadAll(QByteArray& content) const {
    // One more than the size, so that a file that has not changed is read whole with one call.
    content.resize(qsizetype(std::max<qint64>(size_, 0)) + 1);
    qsizetype used = 0;
    for (;;) {
        if (used == content.size())
            content.resize(content.size() * 2);
        const ssize_t count = ::read(fd_, content.data() + used, std::size_t(content.size() - used));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            break;
        used += count;
        // A regular file gives less than asked only at its end.
        if (used < content.size())
            break;
    }
    content.resize(used);
    return true;
}
