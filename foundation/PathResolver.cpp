#include "foundation/PathResolver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstring>
#include <memory>

#include <dirent.h>

namespace {

bool EntryExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink(); // a dangling link is still an entry of its folder
}

QString Child(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

bool IsAscii(const char* text) {
    for (; *text != 0; ++text)
        if (static_cast<unsigned char>(*text) >= 0x80)
            return false;
    return true;
}

// Two ASCII texts equal but for the case of their letters (whatever the C locale says).
bool EqualAsciiWithoutCase(const char* a, const char* b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (; *a != 0 && *b != 0; ++a, ++b)
        if (lower(*a) != lower(*b))
            return false;
    return *a == *b;
}

struct TDirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// The entry of folder that equals name without regard to case; several candidates that differ only by
// case give the first in sorted order, so the choice never depends on the file system's listing order.
// A folder of many pages is searched for a file that is not there once per page written into it, so
// its names are read straight from the folder and plain ASCII names are compared as bytes.
QString MatchWithoutCase(const QString& folder, const QString& name) {
    const std::unique_ptr<DIR, TDirCloser> dir(opendir(QFile::encodeName(folder).constData()));
    if (!dir)
        return {};
    const QByteArray ascii = IsAscii(name.toUtf8().constData()) ? name.toLatin1() : QByteArray();
    QString match;
    while (const dirent* entry = readdir(dir.get())) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        if (!ascii.isEmpty() && IsAscii(entry->d_name) &&
            !EqualAsciiWithoutCase(entry->d_name, ascii.constData()))
            continue;
        const QString candidate = QFile::decodeName(entry->d_name);
        if (candidate.compare(name, Qt::CaseInsensitive) == 0 &&
            (match.isEmpty() || candidate.compare(match, Qt::CaseSensitive) < 0))
            match = candidate;
    }
    return match;
}

QString Parent(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace

QString ResolvePath(const QString& name) {
    if (name.isEmpty())
        return {};
    QString text = name;
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString path = text.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QDir::currentPath();

    const QStringList components = text.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& component : components) {
        if (component == QLatin1String("."))
            continue;
        if (component == QLatin1String("..")) {
            path = Parent(path);
            continue;
        }
        QString next = Child(path, component);
        if (!EntryExists(next)) {
            const QString match = MatchWithoutCase(path, component);
            if (!match.isEmpty())
                next = Child(path, match);
        }
        path = next;
    }
    return path;
}
