#pragma once
// The files under some folders with their sizes and times, to show that a program wrote none of them.
#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>

#include <map>
#include <utility>

using TFolderFiles = std::map<QString, std::pair<qint64, QDateTime>>;

inline TFolderFiles FolderFiles(const QStringList& folders) {
    TFolderFiles found;
    for (const QString& folder : folders)
        for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             it.hasNext();) {
            const QFileInfo file(it.next());
            // The record manager's shared-memory and log files of its readers are its own business.
            if (!file.fileName().endsWith("-wal") && !file.fileName().endsWith("-shm"))
                found[file.filePath()] = {file.size(), file.lastModified()};
        }
    return found;
}
