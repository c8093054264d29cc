#include "foundation/DebugLog.h"

#include "support/Test.h"

#include <QDate>
#include <QRegularExpression>

namespace {

// Runs in a folder of its own, as the program runs in its program folder.
class DebugLog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
    }
    void TearDown() override {
        QDir::setCurrent(previous);
        SetDebugLogEnabled(true);
    }
    // The day's log, from either side of a midnight the write may have crossed.
    QByteArray LogOf(const QDate& before, const QDate& after) {
        const QByteArray first = ReadFile(folder.filePath(before.toString("yyyyMMdd") + ".LOG"));
        return first == "<missing>" ? ReadFile(folder.filePath(after.toString("yyyyMMdd") + ".LOG")) : first;
    }

    QTemporaryDir folder;
    QString previous;
};

TEST_F(DebugLog, IsOnAtStartAndWritesStampedLinesToTheDaysFileOfTheCurrentFolder) {
    EXPECT_TRUE(DebugLogEnabled());
    const QDate before = QDate::currentDate();
    WriteDebugLog("Start af Zuno");
    WriteDebugLog("Stævne åbnet");
    const QDate after = QDate::currentDate();
    const QStringList lines = QString::fromLatin1(LogOf(before, after)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(QRegularExpression("^\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d  Start af Zuno$")
                    .match(lines[0])
                    .hasMatch())
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith("  Stævne åbnet")) << "written in Windows-1252";
}

TEST_F(DebugLog, WritesNothingWhileSwitchedOffAndNeverFailsTheCaller) {
    SetDebugLogEnabled(false);
    WriteDebugLog("skjult");
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    SetDebugLogEnabled(true);
    // A folder in the way of the day's file makes the write fail.
    QDir(folder.path()).mkdir(QDate::currentDate().toString("yyyyMMdd") + ".LOG");
    WriteDebugLog("kan ikke skrives");
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

} // namespace
