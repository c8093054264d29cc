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

TEST(DateLog, LogSwallowsWhatWriteRaises) {
    QTemporaryDir dir;
    TDateLog log([] { return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)); });
    log.FilenamePrefix = dir.filePath("missing/folder/");
    EXPECT_NO_THROW(log.Log("x"));
    EXPECT_THROW(log.Write("x"), Exception);
}
