#include "foundation/LxClass.h"

#include "support/Test.h"

TEST(TraceLog, WritesOnlyWhenEnabledAndAppends) {
    QTemporaryDir dir;
    const QString path = dir.filePath("trace.log");
    TTraceLog log(path);
    log.Write("skjult");
    EXPECT_FALSE(QFile::exists(path));
    log.Enabled = true;
    log.Write("første");
    log.Write("anden");
    EXPECT_EQ(ReadFile(path), "f\xf8rste\nanden\n");
}

TEST(DateLog, OneFilePerDayWithStampedLines) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Logs");
    QDateTime now(QDate(2024, 3, 9), QTime(23, 59, 58));
    TDateLog log([&now] { return now; });
    // A Windows-style prefix whose folder differs in case.
    log.FilenamePrefix = dir.path() + "\\logs\\srv";
    log.FilenameSuffix = ".LOG";

    log.Write("Første linje");
    now = now.addSecs(1);
    log.Log("anden");
    now = now.addSecs(2); // past midnight
    log.Write("ny dag");

    EXPECT_EQ(ReadFile(dir.filePath("Logs/srv20240309.LOG")),
              "09-03-2024 23:59:58  F\xf8rste linje\n09-03-2024 23:59:59  anden\n");
    EXPECT_EQ(ReadFile(dir.filePath("Logs/srv20240310.LOG")), "10-03-2024 00:00:01  ny dag\n");

    // A changed prefix starts a new file the same day.
    log.FilenamePrefix = dir.path() + "/other";
    log.Write("x");
    EXPECT_EQ(ReadFile(dir.filePath("other20240310.LOG")), "10-03-2024 00:00:01  x\n");
}

TEST(DateLog, FollowsItsFileWhenItIsRemovedOrRenamedAway) {
    QTemporaryDir dir;
    TDateLog log([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)); });
    log.FilenamePrefix = dir.filePath("srv");
    log.FilenameSuffix = ".log";
    const QString path = dir.filePath("srv20240506.log");

    log.Write("a");
    ASSERT_TRUE(QFile::rename(path, dir.filePath("rotated.log")));
    log.Write("b"); // goes to a new file under the name, not after "a"
    ASSERT_TRUE(QFile::remove(path));
    log.Write("c");
    EXPECT_EQ(ReadFile(dir.filePath("rotated.log")), "06-05-2024 07:08:09  a\n");
    EXPECT_EQ(ReadFile(path), "06-05-2024 07:08:09  c\n");

    // A file put in its place by someone else is written to as found.
    WriteFile(path, "fremmed\n");
    log.Write("d");
    EXPECT_EQ(ReadFile(path), "fremmed\n06-05-2024 07:08:09  d\n");
}

TEST(DateLog, ARelativePrefixFollowsTheCurrentFolder) {
    QTemporaryDir first, second;
    const QString before = QDir::currentPath();
    TDateLog log([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)); });
    log.FilenamePrefix = ".\\Http_";
    ASSERT_TRUE(QDir::setCurrent(first.path()));
    log.Write("a");
    ASSERT_TRUE(QDir::setCurrent(second.path()));
    log.Write("b");
    QDir::setCurrent(before);
    EXPECT_EQ(ReadFile(first.filePath("Http_20240506")), "06-05-2024 07:08:09  a\n");
    EXPECT_EQ(ReadFile(second.filePath("Http_20240506")), "06-05-2024 07:08:09  b\n");
}

TEST(DateLog, StampedLinesWrittenTogetherReadAsSingleWrites) {
    QTemporaryDir dir;
    QDateTime now(QDate(2024, 12, 31), QTime(23, 59, 59));
    TDateLog log([&now] { return now; });
    log.FilenamePrefix = dir.filePath("g");

    const TDateLog::TStamp before = log.Stamp();
    now = now.addSecs(1);
    const TDateLog::TStamp after = log.Stamp();
    EXPECT_EQ(before.FileName, dir.filePath("g20241231"));
    EXPECT_EQ(after.FileName, dir.filePath("g20250101"));
    log.WriteStamped(after.FileName, TDateLog::Line(after, "efter") + TDateLog::Line(after, "også efter"));
    log.WriteStamped(before.FileName, TDateLog::Line(before, "før midnat"));
    log.Write("direkte");

    EXPECT_EQ(ReadFile(dir.filePath("g20241231")), "31-12-2024 23:59:59  f\xf8r midnat\n");
    EXPECT_EQ(ReadFile(dir.filePath("g20250101")), "01-01-2025 00:00:00  efter\n"
                                                   "01-01-2025 00:00:00  ogs\xe5 efter\n"
                                                   "01-01-2025 00:00:00  direkte\n");
}

TEST(DateLog, LogSwallowsWhatWriteRaisesAndWritesAgainOnceTheFolderIsThere) {
    QTemporaryDir dir;
    TDateLog log([] { return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)); });
    log.FilenamePrefix = dir.filePath("later/x");
    EXPECT_NO_THROW(log.Log("lost"));
    EXPECT_THROW(log.Write("lost"), Exception);
    ASSERT_TRUE(QDir(dir.path()).mkdir("later"));
    log.Write("kept");
    EXPECT_EQ(ReadFile(dir.filePath("later/x20240102")), "02-01-2024 03:04:05  kept\n");
}
