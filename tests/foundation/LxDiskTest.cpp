#include "foundation/LxDisk.h"

#include "foundation/LxTimer.h"
#include "support/Test.h"

namespace {
class Disk : public ::testing::Test {
protected:
    QString At(const QString& name) const { return dir.path() + '/' + name; }
    QStringList Listed(const QString& mask, bool recurse) const {
        QStringList list;
        ListFiles(list, At(mask), recurse);
        for (QString& name : list)
            name = QDir(dir.path()).relativeFilePath(name);
        return list;
    }
    QTemporaryDir dir;
};
} // namespace

TEST_F(Disk, SizeTimeAndAttributes) {
    WriteFile(At("Data/ZUNO2.RPT"), "0123456789");
    WriteFile(At("Data/.skjult"), "");
    EXPECT_EQ(FileSizeByName(At("data\\zuno2.rpt")), 10);
    EXPECT_EQ(FileSizeByName(At("data/none")), -1);
    EXPECT_EQ(FileDateTimeByName(At("DATA/Zuno2.Rpt")), QFileInfo(At("Data/ZUNO2.RPT")).lastModified());
    EXPECT_TRUE(FileHasAttr(At("data/.skjult"), faHidden));
    QFile::setPermissions(At("Data/ZUNO2.RPT"), QFileDevice::ReadOwner);
    EXPECT_TRUE(FileHasAttr(At("data/zuno2.rpt"), faReadOnly));
}

TEST_F(Disk, CopyReplacesAppendsSkipsAndKeepsTheTime) {
    WriteFile(At("src.txt"), "abcdef");
    QFile src(At("src.txt"));
    src.open(QIODevice::ReadWrite);
    const QDateTime stamp(QDate(2020, 5, 17), QTime(12, 0, 0));
    src.setFileTime(stamp, QFileDevice::FileModificationTime);
    src.close();

    WriteFile(At("dst.txt"), "old contents");
    EXPECT_EQ(CopyFileTo(At("SRC.TXT"), At("dst.txt")), 0);
    EXPECT_EQ(ReadFile(At("dst.txt")), "abcdef");
    EXPECT_EQ(QFileInfo(At("dst.txt")).lastModified(), stamp);

    EXPECT_EQ(CopyFileData(At("src.txt"), At("dst.txt"), true, 4), 0);
    EXPECT_EQ(ReadFile(At("dst.txt")), "abcdefef");

    QDir(dir.path()).mkdir("Ud");
    EXPECT_EQ(CopyFileTo(At("src.txt"), At("ud")), 0); // into a folder under its own name
    EXPECT_EQ(ReadFile(At("Ud/src.txt")), "abcdef");

    const QByteArray big = QByteArray(3 * 8192, 'x') + "tail"; // crosses the block boundary
    WriteFile(At("big.bin"), big);
    EXPECT_EQ(CopyFileTo(At("big.bin"), At("big2.bin")), 0);
    EXPECT_EQ(ReadFile(At("big2.bin")), big);
}

TEST_F(Disk, CopyOntoItselfOrFromNothingChangesNothing) {
    WriteFile(At("Same.txt"), "keep me");
    EXPECT_EQ(CopyFileTo(At("Same.txt"), At("same.txt")), CopyErrorSameFile);
    EXPECT_EQ(CopyFileData(At("Same.txt"), At("./Same.txt"), true, 0), CopyErrorSameFile);
    ASSERT_TRUE(QFile::link(At("Same.txt"), At("alias.txt")));
    EXPECT_EQ(CopyFileTo(At("alias.txt"), At("Same.txt")), CopyErrorSameFile);
    EXPECT_EQ(CopyFileTo(At("Same.txt"), At(".")), CopyErrorSameFile);
    EXPECT_EQ(ReadFile(At("Same.txt")), "keep me");

    EXPECT_EQ(CopyFileTo(At("missing.txt"), At("Same.txt")), CopyErrorSource);
    EXPECT_EQ(ReadFile(At("Same.txt")), "keep me");
}

TEST(PathJoin, ExactlyOneSeparator) {
    EXPECT_EQ(PathJoin("C:\\x\\", "\\y.txt"), "C:\\x\\y.txt");
    EXPECT_EQ(PathJoin("C:\\x", "y.txt"), "C:\\x\\y.txt");
    EXPECT_EQ(PathJoin("/home/x/", "/y"), "/home/x/y");
    EXPECT_EQ(PathJoin("", "\\y"), "\\y");
}

TEST_F(Disk, ListsMatchingFilesWithoutRegardToCase) {
    WriteFile(At("a.CSV"), "");
    WriteFile(At("b.csv"), "");
    WriteFile(At(".c.csv"), "");
    WriteFile(At("d.txt"), "");
    WriteFile(At("noext"), "");
    WriteFile(At("Sub/e.Csv"), "");
    WriteFile(At(".hid/f.csv"), "");
    QDir(dir.path()).mkdir("g.csv"); // a folder is no file
    ASSERT_TRUE(QFile::link(dir.path(), At("Sub/loop")));

    EXPECT_EQ(Listed("*.csv", false), QStringList({"a.CSV", "b.csv"}));
    EXPECT_EQ(Listed("*.csv", true), QStringList({"a.CSV", "b.csv", "Sub/e.Csv"}));
    EXPECT_EQ(Listed("sub\\*.*", false), QStringList({"Sub/e.Csv"}));
    EXPECT_EQ(Listed("none/*.csv", true), QStringList());
}

TEST_F(Disk, DeletesFilesAndTreesWithoutFollowingLinks) {
    WriteFile(At("Tree/a.csv"), "");
    WriteFile(At("Tree/Sub/b.CSV"), "");
    WriteFile(At("Tree/Sub/c.txt"), "");
    QFile::setPermissions(At("Tree/a.csv"), QFileDevice::ReadOwner);
    EXPECT_TRUE(DeleteFiles(At("tree/*.csv"), true));
    EXPECT_FALSE(QFile::exists(At("Tree/a.csv")));
    EXPECT_FALSE(QFile::exists(At("Tree/Sub/b.CSV")));
    EXPECT_TRUE(QFile::exists(At("Tree/Sub/c.txt")));

    WriteFile(At("Outside/keep.txt"), "x");
    ASSERT_TRUE(QFile::link(At("Outside"), At("Tree/Sub/link")));
    ASSERT_TRUE(QFile::link(At("Outside/keep.txt"), At("Tree/filelink")));
    WriteFile(At("Tree/.hidden"), "");
    EXPECT_TRUE(RemoveTree(At("TREE")));
    EXPECT_FALSE(QFileInfo::exists(At("Tree")));
    EXPECT_EQ(ReadFile(At("Outside/keep.txt")), "x");
    EXPECT_FALSE(RemoveTree(At("Tree")));
}

TEST(MsTick, DifferenceSurvivesTheWrap) {
    EXPECT_EQ(TickDiff(0xFFFFFFF0u, 0x10u), 0x20u);
}

TEST_F(Disk, ReadsTheLinesOfAWindows1252TextFile) {
    WriteFile(At("Lines.txt"), QByteArray("\xC6"
                                          "ble\r\nP\xE6re\r\n\r\nsidst"));
    WriteFile(At("Mac.txt"), QByteArray("a\rb\r"));
    EXPECT_EQ(ReadTextFileLines(At("lines.TXT")), QStringList({"Æble", "Pære", "", "sidst"}));
    EXPECT_EQ(ReadTextFileLines(At("Mac.txt")), QStringList({"a", "b"}));

    QString error;
    EXPECT_EQ(ReadTextFileLines(At("missing.txt"), &error), std::nullopt);
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(Disk, WritesLinesInWindows1252WholeOrLeavesTheOldFile) {
    ASSERT_TRUE(WriteTextFileLines(At("out.txt"), {"Æble", "", "sidst"}));
    EXPECT_EQ(ReadFile(At("out.txt")), QByteArray("\xC6"
                                                  "ble\r\n\r\nsidst\r\n"));
    EXPECT_EQ(ReadTextFileLines(At("out.txt")), QStringList({"Æble", "", "sidst"}));

    // A folder where the file should go: nothing written, the reason told.
    QDir(dir.path()).mkdir("folder.txt");
    QString error;
    EXPECT_FALSE(WriteTextFileLines(At("folder.txt"), {"x"}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(At("folder.txt")).isDir());
}
