#include "server/ServedFiles.h"

#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"
#include "server/HttpFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <array>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Not blocking: a pipe must not hold the handler until a writer comes.
constexpr int OpenFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

bool IsControl(QChar ch) {
    const char16_t code = ch.unicode();
    return code < 0x20 || (code >= 0x7f && code <= 0x9f);
}

bool RefusedPart(const QString& part) {
    if (part == u"." || part == u"..")
        return true;
    for (const QChar ch : part)
        if (IsControl(ch) || ch == u':')
            return true;
    return false;
}

int HexValue(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// "%" and two hexadecimal digits become their byte; any other "%" stays as it is.
QByteArray PercentDecoded(const QByteArray& bytes) {
    QByteArray decoded;
    decoded.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int high = bytes[i] == '%' && i + 2 < bytes.size() ? HexValue(bytes[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(bytes[i + 2]) : -1;
        if (low >= 0) {
            decoded += char(high * 16 + low);
            i += 2;
        } else {
            decoded += bytes[i];
        }
    }
    return decoded;
}

QString DecodeBytes(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? Windows1252::Decode(bytes) : text;
}

// The canonical name of an open file, as the system followed every link to it; empty when unknown.
QString OpenFileName(int fd) {
    std::array<char, PATH_MAX> name{};
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t length = ::readlink(link.constData(), name.data(), name.size());
    return length > 0 && std::size_t(length) < name.size()
               ? QFile::decodeName(QByteArray(name.data(), qsizetype(length)))
               : QString();
}

// Opens relative inside the folder of dirFd, the system refusing every way out of it ("..", a link
// that leads out or is absolute); -1 with errno when it cannot or will not.
int OpenBeneath(int dirFd, const QByteArray& relative) {
#ifdef SYS_openat2
    open_how how{};
    how.flags = OpenFlags;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    return static_cast<int>(::syscall(SYS_openat2, dirFd, relative.constData(), &how, sizeof how));
#else
    errno = ENOSYS;
    return -1;
#endif
}

} // namespace

std::optional<QStringList> RequestPathParts(const QString& path) {
    // Whatever the bytes of the request line were, they come back as they came.
    const QString decoded = DecodeBytes(PercentDecoded(Windows1252::Encode(path)));
    QStringList parts;
    for (const QString& part : QString(decoded).replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts)) {
        if (RefusedPart(part))
            return std::nullopt;
        parts.append(part);
    }
    return parts;
}

QString LowerExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

TServedFolder::TServedFolder(const QString& folder)
    : folder_(QFileInfo(ResolvePath(folder)).canonicalFilePath()) {
    if (!folder_.isEmpty())
        dirFd_ = ::open(QFile::encodeName(folder_).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

TServedFolder::~TServedFolder() {
    if (dirFd_ >= 0)
        ::close(dirFd_);
}

bool TServedFolder::Inside(const QString& canonical) const {
    return canonical.size() > folder_.size() + 1 && canonical.startsWith(folder_) &&
           canonical[folder_.size()] == u'/';
}

int TServedFolder::OpenInside(const QString& relative, bool& missing) const {
    int fd = OpenBeneath(dirFd_, QFile::encodeName(relative));
    missing = fd < 0 && (errno == ENOENT || errno == ENOTDIR);
    // The system would not, or could not, tell: an absolute link may still lead inside, so the file is
    // opened by its full name and the name it turns out to have is checked.
    if (fd < 0 && (errno == EXDEV || errno == ELOOP || errno == ENOSYS || errno == EPERM)) {
        const QString path = folder_ + u'/' + relative;
        fd = ::open(QFile::encodeName(path).constData(), OpenFlags);
        missing = fd < 0 && (errno == ENOENT || errno == ENOTDIR);
        if (fd >= 0) {
            QString canonical = OpenFileName(fd);
            if (canonical.isEmpty()) // no /proc: the name as it is now
                canonical = QFileInfo(path).canonicalFilePath();
            if (!Inside(canonical)) {
                ::close(fd);
                return -1;
            }
        }
    }
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::unique_ptr<THttpFile> TServedFolder::Open(const QStringList& parts) const {
    if (dirFd_ < 0 || parts.isEmpty())
        return nullptr;
    QString relative = parts.join(u'/');
    bool missing = false;
    int fd = OpenInside(relative, missing);
    // Not there by that name: in another letter case, perhaps.
    if (missing) {
        const QString resolved = ResolvePath(folder_ + u'/' + relative);
        if (Inside(resolved) && resolved.mid(folder_.size() + 1) != relative) {
            relative = resolved.mid(folder_.size() + 1);
            fd = OpenInside(relative, missing);
        }
    }
    if (fd < 0)
        return nullptr;
    return std::make_unique<THttpFile>(fd, folder_ + u'/' + relative);
}
