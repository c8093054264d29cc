#include "foundation/PathResolver.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

bool EntryExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink(); // a dangling link is still an entry of its folder
}

QString Child(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// The entry of folder that equals name without regard to case; several candidates that differ only by
// case give the first in sorted order, so the choice never depends on the file system's listing order.
QString MatchWithoutCase(const QString& folder, const QString& name) {
    QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    entries.sort(Qt::CaseSensitive);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
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
