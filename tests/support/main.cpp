// Shared main of every test binary: an application object, the offscreen platform for windows,
// and a private configuration folder so no test touches the user's own settings.
#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef ZUNO_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A test that runs this binary again as its child, and may kill it, hands on its own folder: the
    // child's configuration and temporary folders lie inside it and go with it.
    const QString parent = qEnvironmentVariable("ZUNO_TEST_CONFIG_HOME");
    QTemporaryDir configHome(parent.isEmpty() ? QDir::tempPath() + QStringLiteral("/zuno-test-XXXXXX")
                                              : parent + QStringLiteral("/child-XXXXXX"));
    if (configHome.isValid()) {
        const QByteArray path = QDir::toNativeSeparators(configHome.path()).toLocal8Bit();
        qputenv("XDG_CONFIG_HOME", path);
        qputenv(parent.isEmpty() ? "ZUNO_TEST_CONFIG_HOME" : "TMPDIR", path);
    }
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
