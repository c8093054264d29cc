#include "tools/setup/Installation.h"

#include "support/Test.h"

// The scoring tables go into the program folder; the tables built into the program do not.
TEST(ShippedPointTables, ScoringTablesAreInstalledAndBuiltInTablesAreNot) {
    QTemporaryDir dir;
    const QStringList done = InstallProgramFolder(dir.path(), QStringLiteral(ZUNO_SOURCE_DIR "/data"));
    for (const char* name : {"_t_blue/iaaf-blue-points-men.csv", "_t_blue/iaaf-blue-points-women.csv"}) {
        EXPECT_TRUE(done.contains(QStringLiteral("Kopieret: ") + QLatin1String(name))) << name;
        EXPECT_EQ(ReadFile(dir.filePath(QLatin1String(name))),
                  ReadFile(QStringLiteral(ZUNO_SOURCE_DIR "/data/") + QLatin1String(name)));
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("builtin")));
    for (const QString& line : done)
        EXPECT_FALSE(line.contains("builtin", Qt::CaseInsensitive)) << line.toStdString();
}
