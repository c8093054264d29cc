#include "platform/Shell.h"

#include "support/Test.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace {

using Platform::RunShellCommand;
using Platform::StartShellCommand;
using Platform::TShowMode;

// Catches what would go to the desktop's opener.
class TOpener : public QObject {
    Q_OBJECT
public slots:
    void Open(const QUrl& url) { Opened << url; }

public:
    QList<QUrl> Opened;
};

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        // Writes its parameters to out.txt; with a file "wait" present it first waits for "go".
        WriteFile(folder.filePath("run.sh"),
                  "#!/bin/sh\n"
                  "if [ -f wait ]; then while [ ! -f go ]; do sleep 0.02; done; fi\n"
                  "echo \"$# $*\" > out.txt.part && mv out.txt.part out.txt\n");
        QFile::setPermissions(folder.filePath("run.sh"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDesktopServices::setUrlHandler("file", &opener, "Open");
    }
    // A program still waiting is let go and awaited, so that nothing outlives the test's folder.
    void TearDown() override {
        QDesktopServices::unsetUrlHandler("file");
        WriteFile(folder.filePath("go"), "");
        if (started)
            OutWhenWritten();
    }
    QByteArray Out() { return ReadFile(folder.filePath("out.txt")); }
    // For a program that was not awaited: its output, once it is there.
    QByteArray OutWhenWritten() {
        QElapsedTimer timer;
        timer.start();
        while (!QFile::exists(folder.filePath("out.txt")) && timer.elapsed() < 20000)
            QThread::msleep(10);
        return Out();
    }

    QTemporaryDir folder;
    TOpener opener;
    bool started = false; // run.sh was started
};

TEST_F(Shell, AnAwaitedProgramHasEndedWhenTheCallReturnsAndEventsWereServedMeanwhile) {
    WriteFile(folder.filePath("wait"), "");
    int ticks = 0;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] {
        if (++ticks == 3)
            WriteFile(folder.filePath("go"), ""); // the program goes on once the window thread has ticked
    });
    clock.start(10);
    EXPECT_TRUE(RunShellCommand("run.sh en \"to tre\"", folder.path(), TShowMode::Normal, true));
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(Out(), "2 en to tre\n") << "the parameters arrive as an argument list";
}

TEST_F(Shell, ACommandWithoutBlanksStartsWithNoParametersAndWithoutWaiting) {
    WriteFile(folder.filePath("wait"), "");
    started = StartShellCommand(".\\run.sh", folder.path(), TShowMode::Maximized);
    EXPECT_TRUE(started);
    EXPECT_FALSE(QFile::exists(folder.filePath("out.txt"))) << "the call did not wait for go";
    WriteFile(folder.filePath("go"), "");
    EXPECT_EQ(OutWhenWritten(), "0 \n");
}

TEST_F(Shell, TextIsNeverReadAgainByAShell) {
    EXPECT_TRUE(
        RunShellCommand("run.sh a;touch${IFS}hacked $(id) `id`", folder.path(), TShowMode::Normal, true));
    EXPECT_EQ(Out(), "3 a;touch${IFS}hacked $(id) `id`\n");
    EXPECT_FALSE(QFile::exists(folder.filePath("hacked")));
}

TEST_F(Shell, ADocumentGoesToTheDesktopsOpenerAndAMissingFileStartsNothing) {
    WriteFile(folder.filePath("hjælp/zuno2.htm"), "<html></html>");
    EXPECT_TRUE(RunShellCommand(".\\hjælp\\zuno2.htm", folder.path(), TShowMode::Maximized, true));
    EXPECT_EQ(opener.Opened, QList<QUrl>{QUrl::fromLocalFile(folder.filePath("hjælp/zuno2.htm"))});
    EXPECT_FALSE(RunShellCommand("mangler.htm", folder.path(), TShowMode::Normal, false));
    EXPECT_FALSE(RunShellCommand("   ", folder.path(), TShowMode::Normal, false));
    EXPECT_EQ(opener.Opened.size(), 1);
}

TEST_F(Shell, AQuittingApplicationEndsTheWait) {
    WriteFile(folder.filePath("wait"), "");
    QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
    started = RunShellCommand("run.sh", folder.path(), TShowMode::Normal, true);
    EXPECT_TRUE(started);
    EXPECT_FALSE(QFile::exists(folder.filePath("out.txt"))) << "the program still runs";
}

} // namespace

#include "ShellTest.moc"
