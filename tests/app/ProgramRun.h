#pragma once
// The program itself, copied into a program folder and started there as a script on a server starts it:
// without a display, its exit status and standard error read back.
#include "model/D_Globals.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

struct TRun {
    int ExitCode = -1;
    QString Errors;
};

// Copies the built program into the folder as "zuno2" and returns its path.
inline QString InstallProgram(const QString& folder) {
    const QString program = QDir(folder).filePath(QStringLiteral("zuno2"));
    EXPECT_TRUE(QFile::copy(QStringLiteral(ZUNO2_EXECUTABLE), program));
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
    return program;
}

// Runs the program without a display; a run that does not end fails the test instead of hanging it. The
// test's own managers are freed first: the program opens the record files itself.
inline TRun RunProgram(const QString& program, const QStringList& arguments) {
    OvelseManager.reset();
    StaevneManager.reset();
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QDir::tempPath());
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "zuno2 " << arguments.join(' ').toStdString() << " did not end";
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}
