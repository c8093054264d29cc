#include "tools/setup/Installation.h"

#include "support/Files.h"
#include "support/Test.h"

#include "foundation/Exception.h"
#include "model/D_DBDef.h"
#include "tools/setup/EventCatalogue.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QMap>

namespace {

const QString Shipped = QStringLiteral(ZUNO_SOURCE_DIR "/data");

const char* const FileNames[] = {"STAEVNE.ZU2",  "OVELSE.ZU2",  "OVDEF.ZU2",    "KLASSE.ZU2",  "OVELSERK.ZU2",
                                 "OVELSERN.ZU2", "AFVSTED.ZU2", "BETALING.ZU2", "KLUBKOB.ZU2", "VARE.ZU2",
                                 "GRUPPE.ZU2",   "KLUB.ZU2",    "DELTAGER.ZU2", "RESULTAT.ZU2"};

// Every file of the folder with a hash of its content and its modification time.
QMap<QString, QString> Snapshot(const QString& dir) {
    QMap<QString, QString> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files[QDir(dir).relativeFilePath(path)] =
            QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex() + u' ' +
            QString::number(it.fileInfo().lastModified().toMSecsSinceEpoch());
    }
    return files;
}

// A table of the installed folder, opened.
template <typename Table>
std::unique_ptr<Table> Opened(const QString& dir) {
    auto table = std::make_unique<Table>();
    table->SetDirectory(dir);
    table->Open();
    return table;
}

class InstallationTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(InstallationTest, EmptyFolderBecomesCompleteAndASecondRunChangesNothing) {
    const QStringList done = InstallProgramFolder(dir.path(), Shipped);
    for (const char* name : FileNames) {
        EXPECT_TRUE(QFile::exists(Path(QLatin1String(name)))) << name;
        EXPECT_TRUE(done.contains(QStringLiteral("Oprettet: ") + QLatin1String(name)));
    }
    EXPECT_TRUE(done.contains(QStringLiteral("Kopieret: ZUNO2.RPT")));
    EXPECT_TRUE(QFile::exists(Path("ZUNO2.RPT")));
    EXPECT_FALSE(QFile::exists(Path("ovelser.csv")));
    EXPECT_FALSE(QFile::exists(Path(InstallationMarker)));

    const EventCatalogue catalogue = EventCatalogue::Load(Shipped);
    EXPECT_EQ(Opened<TOvelseTable>(dir.path())->GetRecordCount(), qint32(catalogue.Ovelser().size()));
    EXPECT_EQ(Opened<TOvDefTable>(dir.path())->GetRecordCount(), qint32(catalogue.OvDef().size()));

    const auto before = Snapshot(dir.path());
    EXPECT_EQ(InstallProgramFolder(dir.path(), Shipped), QStringList());
    EXPECT_EQ(Snapshot(dir.path()), before);
}

TEST_F(InstallationTest, FilesCarryTheirKeysAndTheMeetFileNumbersNewMeets) {
    InstallProgramFolder(dir.path(), Shipped);
    for (const TRecordFileDef& recordFile : RecordFileDefs()) {
        SCOPED_TRACE(recordFile.FileName);
        TZunoDataTable table(QLatin1String(recordFile.FileName), QStringLiteral("xx"), recordFile.Fields);
        table.SetDirectory(dir.path());
        table.Open();
        const QString name = QLatin1String(recordFile.FileName);
        EXPECT_EQ(table.VariableLength(), name == "STAEVNE.ZU2" || name == "RESULTAT.ZU2");
        const TIndexDef& key0 = table.GetIndexDefs().GetItem(0);
        const bool meetBound = name != "OVELSE.ZU2" && name != "OVDEF.ZU2";
        if (meetBound) {
            EXPECT_EQ(key0.GetSegment(0).Position, 16);
            EXPECT_EQ(key0.GetSegment(0).Length, 4);
        }
    }
    // The keys the program searches by: file, key number, segment positions.
    const auto segments = [this](const char* fileName, int key) {
        QList<int> positions;
        for (const TRecordFileDef& recordFile : RecordFileDefs())
            if (QLatin1String(recordFile.FileName) == QLatin1String(fileName)) {
                TZunoDataTable table(QLatin1String(fileName), QStringLiteral("xx"), recordFile.Fields);
                table.SetDirectory(dir.path());
                table.Open();
                const TIndexDef& index = table.GetIndexDefs().GetItem(key);
                for (int i = 0; i < index.GetSegmentCount(); ++i)
                    positions.append(index.GetSegment(i).Position);
            }
        return positions;
    };
    const std::tuple<const char*, int, QList<int>> keys[] = {{"KLUB.ZU2", 0, {16, 20}},
                                                             {"DELTAGER.ZU2", 0, {16, 20}},
                                                             {"DELTAGER.ZU2", 1, {16, 24}},
                                                             {"RESULTAT.ZU2", 1, {16, 30}},
                                                             {"RESULTAT.ZU2", 0, {16, 20, 23, 29}},
                                                             {"OVELSERN.ZU2", 0, {16, 20, 23}},
                                                             {"KLUBKOB.ZU2", 0, {16, 20}},
                                                             {"BETALING.ZU2", 0, {16, 20}}};
    for (const auto& [fileName, key, positions] : keys)
        EXPECT_EQ(segments(fileName, key), positions) << fileName << " key " << key;

    auto meets = Opened<TStaevneTable>(dir.path());
    for (const char* navn : {"Første", "Anden"}) {
        meets->Insert();
        meets->GetField(StaevneField::Navn)->SetAsString(QString::fromUtf8(navn));
        meets->Post();
    }
    meets->GetFirst();
    EXPECT_EQ(meets->GetField(StaevneField::StID)->GetAsInteger(), 1);
    meets->GetNext();
    EXPECT_EQ(meets->GetField(StaevneField::StID)->GetAsInteger(), 2);
    EXPECT_EQ(meets->GetField(StaevneField::Navn)->GetAsString().trimmed(), "Anden");
}

// Files are made aside and put in place only once all of them are there and on the disk: a run cut
// short leaves its marker and nothing half-made, and the next run completes the folder.
TEST_F(InstallationTest, AnInterruptedRunLeavesOnlyTheMarkerAndTheNextRunCompletesTheFolder) {
    QTemporaryDir noCatalogue;
    QFile::copy(Shipped + "/ZUNO2.RPT", noCatalogue.filePath("ZUNO2.RPT"));
    EXPECT_THROW(InstallProgramFolder(dir.path(), noCatalogue.path()), Exception);
    EXPECT_TRUE(QFile::exists(Path(InstallationMarker)));
    for (const char* name : FileNames)
        EXPECT_FALSE(QFile::exists(Path(QLatin1String(name)))) << name;
    EXPECT_FALSE(QFile::exists(Path("ZUNO2.RPT")));

    const QStringList done = InstallProgramFolder(dir.path(), Shipped);
    EXPECT_TRUE(done.contains(QStringLiteral("Oprettet: OVELSE.ZU2")));
    EXPECT_TRUE(done.contains(QStringLiteral("Kopieret: ZUNO2.RPT")));
    EXPECT_GT(Opened<TOvelseTable>(dir.path())->GetRecordCount(), 0);
    EXPECT_FALSE(QFile::exists(Path(InstallationMarker)));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot).size(),
              int(std::size(FileNames)) + 4); // the record files, ZUNO2.RPT, zuno2.htm, _t_blue and images
    EXPECT_EQ(QFileInfo(Path("ZUNO2.RPT")).lastModified(), QFileInfo(Shipped + "/ZUNO2.RPT").lastModified());
}

// A catalogue file left empty (by an older version's run cut short) is filled where it is.
TEST_F(InstallationTest, AnEmptyCatalogueFileIsFilledInPlace) {
    InstallProgramFolder(dir.path(), Shipped);
    QFile::remove(Path("OVELSE.ZU2"));
    ASSERT_TRUE(TOvelseTable::Def().Create(Path("OVELSE.ZU2")));
    const QStringList done = InstallProgramFolder(dir.path(), Shipped);
    EXPECT_EQ(done, QStringList{QStringLiteral("Udfyldt: OVELSE.ZU2 med %1 øvelser")
                                    .arg(EventCatalogue::Load(Shipped).Ovelser().size())});
    EXPECT_GT(Opened<TOvelseTable>(dir.path())->GetRecordCount(), 0);
}

// The report files earlier installations shipped, whose lists had no columns, are replaced by the shipped
// one where they stand, in the letter case they have; one the user changed is the user's.
TEST_F(InstallationTest, AReportFileAsAnEarlierInstallationShippedItIsReplaced_OneTheUserChangedIsKept) {
    const QString earlier = QStringLiteral(ZUNO_SOURCE_DIR "/tests/data/earlier-report-files");
    const QByteArray shipped = ReadFile(Shipped + "/ZUNO2.RPT");
    const QStringList files = QDir(earlier).entryList({"*.RPT"}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 3);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        QTemporaryDir folder;
        InstallProgramFolder(folder.path(), Shipped);
        QFile::remove(folder.filePath("ZUNO2.RPT"));
        // Copied by hand with line ends of the other kind, and in lower case.
        QByteArray content = ReadFile(earlier + "/" + file);
        content = content.contains("\r\n") ? content.replace("\r\n", "\n") : content.replace("\n", "\r\n");
        WriteFile(folder.filePath("zuno2.rpt"), content);
        EXPECT_EQ(InstallProgramFolder(folder.path(), Shipped), QStringList({"Erstattet: zuno2.rpt"}));
        EXPECT_EQ(ReadFile(folder.filePath("zuno2.rpt")), shipped);
        EXPECT_FALSE(QFile::exists(folder.filePath("ZUNO2.RPT")));
        EXPECT_EQ(InstallProgramFolder(folder.path(), Shipped), QStringList());

        // The same file with a line of the user's.
        const QByteArray own = ReadFile(earlier + "/" + file) + "[Egen]\r\nTitle=Egen\r\n";
        WriteFile(folder.filePath("zuno2.rpt"), own);
        EXPECT_EQ(InstallProgramFolder(folder.path(), Shipped), QStringList());
        EXPECT_EQ(ReadFile(folder.filePath("zuno2.rpt")), own);
    }
}

TEST_F(InstallationTest, ExistingFilesInAnyLetterCaseAreNeverReplaced) {
    QFile report(Path("zuno2.rpt"));
    ASSERT_TRUE(report.open(QIODevice::WriteOnly));
    report.write("; egen\n");
    report.close();
    InstallProgramFolder(dir.path(), Shipped);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    EXPECT_EQ(report.readAll(), "; egen\n");
    EXPECT_FALSE(QFile::exists(Path("ZUNO2.RPT")));

    // An organiser's own catalogue stays as it is.
    auto events = Opened<TOvelseTable>(dir.path());
    events->StepFirst();
    events->Delete();
    const qint32 count = events->GetRecordCount();
    events->Close();
    QFile::rename(Path("OVELSE.ZU2"), Path("ovelse.zu2"));
    EXPECT_EQ(InstallProgramFolder(dir.path(), Shipped), QStringList());
    EXPECT_FALSE(QFile::exists(Path("OVELSE.ZU2")));
    EXPECT_EQ(Opened<TOvelseTable>(dir.path())->GetRecordCount(), count);
}

} // namespace
