#include "server/GatewayLog.h"

#include "support/Test.h"

#include <QRegularExpression>

#include <map>
#include <thread>
#include <vector>

TEST(GatewayLog, ThreadsWritingAtOnceLoseNoLineAndNeverMixTheirs) {
    QTemporaryDir dir;
    GatewayLog log;
    log.SetPrefix(dir.filePath("Http_"));
    log.SetSuffix(".LOG");
    constexpr int threadCount = 16, calls = 300;
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back([&log, t] {
            for (int c = 0; c < calls; ++c)
                log.Write({QStringLiteral("<t%1 c%2>").arg(t).arg(c), QStringLiteral("t%1 midt").arg(t),
                           QStringLiteral("</t%1 c%2>").arg(t).arg(c)});
        });
    for (std::thread& thread : threads)
        thread.join();

    const QStringList files = QDir(dir.path()).entryList({"Http_*.LOG"});
    QStringList lines;
    for (const QString& file : files)
        for (const QByteArray& line : ReadFile(dir.filePath(file)).split('\n'))
            if (!line.isEmpty())
                lines << QString::fromLatin1(line);
    ASSERT_EQ(lines.size(), threadCount * calls * 3);
    const QRegularExpression stamped("^\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d  (.*)$");
    std::map<int, int> next; // the call each thread is at
    for (qsizetype i = 0; i < lines.size(); i += 3) {
        const QStringList texts = {stamped.match(lines[i]).captured(1),
                                   stamped.match(lines[i + 1]).captured(1),
                                   stamped.match(lines[i + 2]).captured(1)};
        const QRegularExpressionMatch open = QRegularExpression("^<t(\\d+) c(\\d+)>$").match(texts[0]);
        ASSERT_TRUE(open.hasMatch()) << lines[i].toStdString();
        const int t = open.captured(1).toInt(), c = open.captured(2).toInt();
        EXPECT_EQ(c, next[t]++) << "thread " << t << " out of order";
        EXPECT_EQ(texts[1], QStringLiteral("t%1 midt").arg(t));
        EXPECT_EQ(texts[2], QStringLiteral("</t%1 c%2>").arg(t).arg(c));
    }
}

TEST(GatewayLog, AFailureReachesTheWriterAndTheLogRecovers) {
    QTemporaryDir dir;
    GatewayLog log;
    log.SetPrefix(dir.filePath("later/Http_"));
    EXPECT_THROW(log.Write({"tabt"}), Exception);
    ASSERT_TRUE(QDir(dir.path()).mkdir("later"));
    log.Write({"en", "to"});
    const QStringList files = QDir(dir.filePath("later")).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(QRegularExpression("^(\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d  )en\n\\1to\n$")
                    .match(QString::fromLatin1(ReadFile(dir.filePath("later/" + files[0]))))
                    .hasMatch());
}
