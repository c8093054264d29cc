#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QUrl>

#include <sys/syscall.h>
#include <unistd.h>

namespace Platform {

namespace {

// A descriptor that becomes readable when the process ends (a child or not); -1 when it has ended
// already or cannot be watched.
int WatchProcess(qint64 pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
}

// Serves the window thread's events until the process ends or the application quits.
void AwaitProcess(qint64 pid) {
    QCoreApplication* app = QCoreApplication::instance();
    const int watch = WatchProcess(pid);
    if (watch < 0 || !app || QCoreApplication::closingDown()) {
        if (watch >= 0)
            close(watch);
        return;
    }
    {
        QEventLoop loop;
        QSocketNotifier ended(watch, QSocketNotifier::Read);
        QObject::connect(&ended, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        QObject::connect(app, &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
        loop.exec();
    }
    close(watch);
}

bool IsAddress(const QString& file) {
    return file.contains(QStringLiteral("://")) ||
           file.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive);
}

} // namespace

bool RunShellCommand(const QString& commandLine, const QString& directory, TShowMode, bool wait) {
    const QString line = commandLine.trimmed();
    const qsizetype blank = line.indexOf(u' ');
    const QString file = blank < 0 ? line : line.left(blank);
    const QString parameters = blank < 0 ? QString() : line.mid(blank + 1);
    if (file.isEmpty())
        return false;
    if (IsAddress(file))
        return QDesktopServices::openUrl(QUrl(file));

    QString folder = directory;
    folder.replace(u'\\', u'/');
    folder = QDir(QDir::currentPath()).absoluteFilePath(folder.isEmpty() ? QStringLiteral(".") : folder);
    QString path = file;
    path.replace(u'\\', u'/');
    path = QDir::cleanPath(QDir(folder).absoluteFilePath(path));
    const QFileInfo info(path);

    QString program;
    if (info.isFile() && info.isExecutable())
        program = path;
    else if (!info.exists() && !file.contains(u'/') && !file.contains(u'\\'))
        program = QStandardPaths::findExecutable(file); // a bare name is looked up as a command
    if (!program.isEmpty()) {
        qint64 pid = 0;
        if (QProcess::startDetached(program, QProcess::splitCommand(parameters), QDir::cleanPath(folder),
                                    &pid)) {
            if (wait)
                AwaitProcess(pid);
            return true;
        }
        // An executable file that will not run (a document on a disk that marks every file
        // executable) is still a document.
    }
    return info.isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool StartShellCommand(const QString& commandLine, const QString& directory, TShowMode showMode) {
    return RunShellCommand(commandLine, directory, showMode, false);
}

} // namespace Platform
