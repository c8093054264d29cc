#include "foundation/LxDisk.h"

#include "foundation/LxString.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <sys/stat.h>

namespace {

bool IsSeparator(QChar c) {
    return c == u'\\' || c == u'/';
}

bool SameFile(const QString& a, const QString& b) {
    struct stat sa {};
    struct stat sb {};
    const QByteArray pa = QFile::encodeName(a);
    const QByteArray pb = QFile::encodeName(b);
    if (::stat(pa.constData(), &sa) != 0 || ::stat(pb.constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Copies the rest of in to out; 0 or a CopyError value.
int CopyBlocks(QFile& in, QIODevice& out) {
    std::array<char, 8192> block{};
    for (;;) {
        const qint64 count = in.read(block.data(), block.size());
        if (count < 0)
            return CopyErrorRead;
        if (count == 0)
            return 0;
        if (out.write(block.data(), count) != count)
            return CopyErrorWrite;
    }
}

// Paths here are real ones already and are not resolved again: a Linux name may hold a backslash.
bool RemoveTreeAt(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink())
        return QFile::remove(path); // the link goes, what it points at stays
    if (!info.isDir())
        return false;
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir() && !entry.isSymLink())
            RemoveTreeAt(entry.absoluteFilePath());
        else
            QFile::remove(entry.absoluteFilePath());
    }
    return QDir().rmdir(path);
}

void ListFilesIn(QStringList& list, const QDir& dir, const QString& pattern, bool recurse) {
    // Without QDir::CaseSensitive the name filter ignores case; without Hidden, dot-names stay out.
    for (const QFileInfo& file : dir.entryInfoList({pattern}, QDir::Files, QDir::Name))
        list.append(file.absoluteFilePath());
    if (!recurse)
        return;
    for (const QFileInfo& sub :
         dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name))
        ListFilesIn(list, QDir(sub.absoluteFilePath()), pattern, true);
}

} // namespace

std::optional<QStringList> ReadTextFileLines(const QString& name, QString* error) {
    QFile file(ResolvePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return SplitTextLines(Windows1252::Decode(file.readAll()));
}

bool WriteTextFileLines(const QString& name, const QStringList& lines, QString* error) {
    QString text;
    for (const QString& line : lines)
        text += line + CrLf;
    QSaveFile file(ResolvePath(name));
    if (file.open(QIODevice::WriteOnly) && file.write(Windows1252::Encode(text)) >= 0 && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

qint64 FileSizeByName(const QString& name) {
    const QFileInfo info(ResolvePath(name));
    if (!info.exists())
        return -1;
    return info.isDir() ? 0 : info.size();
}

QDateTime FileDateTimeByName(const QString& name) {
    const QFileInfo info(ResolvePath(name));
    return info.exists() ? info.lastModified() : QDateTime();
}

bool FileHasAttr(const QString& name, int attr) {
    const QFileInfo info(ResolvePath(name));
    if (!info.exists())
        return false;
    int has = 0;
    if (!(info.permissions() & QFileDevice::WriteOwner))
        has |= faReadOnly;
    if (info.fileName().startsWith(u'.'))
        has |= faHidden;
    if (info.isDir())
        has |= faDirectory;
    return (has & attr) == attr;
}

int CopyFileData(const QString& source, const QString& dest, bool append, qint64 skipBytes) {
    const QString from = ResolvePath(source);
    QString to = ResolvePath(dest);
    if (QFileInfo(to).isDir())
        to = ResolvePath(PathJoin(to, QFileInfo(from).fileName()));

    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return CopyErrorSource;
    // Writing a file onto itself would empty it (or, appending, never end).
    if (SameFile(from, to))
        return CopyErrorSameFile;
    if (skipBytes > 0 && !in.seek(std::min(skipBytes, in.size())))
        return CopyErrorRead;

    if (append && QFileInfo::exists(to)) {
        QFile out(to);
        if (!out.open(QIODevice::ReadWrite))
            return CopyErrorDest;
        if (!out.seek(out.size()))
            return CopyErrorSeek;
        return CopyBlocks(in, out);
    }

    QSaveFile out(to);
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly))
        return CopyErrorDest;
    if (const int result = CopyBlocks(in, out); result != 0)
        return result; // the old dest stays as it was
    if (!out.commit())
        return CopyErrorWrite;
    QFile done(to);
    if (!append && done.open(QIODevice::ReadOnly))
        done.setFileTime(in.fileTime(QFileDevice::FileModificationTime), QFileDevice::FileModificationTime);
    return 0;
}

int CopyFileTo(const QString& source, const QString& dest) {
    return CopyFileData(source, dest, false, 0);
}

QString PathJoin(const QString& dir, const QString& name) {
    if (dir.isEmpty())
        return name;
    const bool dirEnds = IsSeparator(dir.back());
    const bool nameStarts = !name.isEmpty() && IsSeparator(name.front());
    if (dirEnds && nameStarts)
        return dir + name.mid(1);
    if (dirEnds || nameStarts)
        return dir + name;
    return dir + QLatin1Char('\\') + name;
}

void ListFiles(QStringList& list, const QString& mask, bool recurse) {
    qsizetype cut = mask.size();
    while (cut > 0 && !IsSeparator(mask.at(cut - 1)))
        --cut;
    const QString folder = ResolvePath(cut > 0 ? mask.left(cut) : QStringLiteral("."));
    QString pattern = mask.mid(cut);
    if (pattern == QLatin1String("*.*"))
        pattern = QStringLiteral("*"); // every name, with or without a dot

    ListFilesIn(list, QDir(folder), pattern, recurse);
}

bool DeleteFiles(const QString& mask, bool recurse) {
    QStringList files;
    ListFiles(files, mask, recurse);
    for (const QString& file : files) {
        const QFileInfo info(file);
        if (!info.isSymLink()) // a link's permissions are its target's
            QFile::setPermissions(file, info.permissions() | QFileDevice::WriteOwner);
        if (!QFile::remove(file))
            return false;
    }
    return true;
}

bool RemoveTree(const QString& dir) {
    return RemoveTreeAt(ResolvePath(dir));
}
