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
    const auto written = [](int t, int c) {
        return QStringList({QStringLiteral("<t%1 c%2>").arg(t).arg(c), QStringLiteral("t%1 midt").arg(t),
                            QStringLiteral("</t%1 c%2>").arg(t).arg(c)});
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back([&, t] {
            for (int c = 0; c < calls; ++c)
                log.Write(written(t, c));
        });
    for (std::thread& thread : threads)
        thread.join();

    const QRegularExpression stamp("^\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d  ");
    QStringList texts;
    for (const QString& file : QDir(dir.path()).entryList({"Http_*.LOG"}))
        for (const QByteArray& line : ReadFile(dir.filePath(file)).split('\n'))
            if (!line.isEmpty())
                texts << QString::fromLatin1(line).remove(stamp);
    ASSERT_EQ(texts.size(), threadCount * calls * 3);
    std::map<int, int> next; // the call each thread is at
    for (qsizetype i = 0; i < texts.size(); i += 3) {
        const int t = texts[i + 1].section(u' ', 0, 0).mid(1).toInt();
        ASSERT_EQ(texts.mid(i, 3), written(t, next[t]++)) << "line " << i;
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
