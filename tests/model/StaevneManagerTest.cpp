#include "model/D_Staevne.h"

#include "support/Test.h"

#include "ProgramFolderFixture.h"
#include "foundation/Exception.h"
#include "foundation/LxDisk.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "platform/LittleEndian.h"
#include "platform/Registry.h"
#include "platform/recordmanager/FileSystem.h"

#include <cerrno>

namespace {

QString BaseKey() {
    return Platform::TRegistry::ProgramKey(QStringLiteral(".cfg"));
}

QByteArray VariablePart(quint16 count, const QByteArray& fields) {
    QByteArray block(2, '\0');
    storeLE<quint16>(block.data(), count);
    block += fields;
    QByteArray part(4, '\0');
    storeLE<qint32>(part.data(), static_cast<qint32>(block.size()));
    return part + block;
}

// The variable part of the meet record with that number, as stored.
QByteArray StoredPart(qint32 stID) {
    TStaevneTable table;
    table.Open();
    for (table.GetFirst(); !table.GetEof(); table.GetNext()) {
        if (table.GetField(StaevneField::StID)->GetAsInteger() != stID)
            continue;
        QByteArray part(4096, '\0');
        part.truncate(table.ReadChunk(part.data(), 80, 4096));
        return part;
    }
    return {};
}

QString ReadRegistry(const QString& key, const QString& name) {
    Platform::TRegistry registry;
    return registry.OpenKey(key, false) && registry.ValueExists(name) ? registry.ReadString(name, {})
                                                                      : QStringLiteral("(ingen)");
}

// The folder's entries, without the record manager's journal files.
QStringList Entries(const QString& dir) {
    QStringList entries = QDir(dir).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    entries.removeIf([](const QString& e) { return e.endsWith("-wal") || e.endsWith("-shm"); });
    return entries;
}

class StaevneManagerTest : public TProgramFolderTest {
protected:
    // Records of the current meet in every meet-bound file.
    void AddRecords() {
        for (const TRecordFileDef& file : RecordFileDefs()) {
            if (!file.IsStaevneBound() || &file == &TStaevneTable::Def())
                continue;
            TZunoDataTable table(file);
            table.Open();
            table.Insert();
            table.GetField(StaevneField::StID)->SetAsInteger(StaevneManager->GetCurrentStID());
            table.Post();
        }
    }
    static qint32 Count(TZunoDataTable&& table) {
        table.Open();
        return table.GetRecordCount();
    }
    // The listed meets' names.
    QStringList Names() {
        QStringList names;
        for (int i = 0; i < Manager().GetStaevneCount(); ++i)
            names << Manager().GetStaevneNavn(i);
        return names;
    }
};

TEST_F(StaevneManagerTest, MeetsAreCreatedListedAndOpenedAgainAtTheNextStart) {
    EXPECT_EQ(Manager().GetCurrentStID(), -1);
    EXPECT_EQ(CreateMeet(QStringLiteral("Forårsstævne")), 1);
    EXPECT_EQ(CreateMeet(QStringLiteral("  Høstløb  ")), 2);
    EXPECT_TRUE(QFileInfo(Path("Forårsstævne")).isDir() && QFileInfo(Path("Høstløb")).isDir());
    EXPECT_EQ(Manager().GetStaevneDir(), Path("Høstløb"));
    Manager().SystemData().Overskrift1 = QStringLiteral("DM for hold");
    Manager().SetDato(QDateToDateTime(QDate(2026, 5, 17)) + 0.375);
    EXPECT_TRUE(Manager().SaveStaevneData());
    EXPECT_TRUE(Shown().isEmpty());

    TStaevneManager& again = Restart();
    EXPECT_EQ(again.GetCurrentStID(), -1);
    ASSERT_EQ(Names(), QStringList({"Forårsstævne", "Høstløb"}));
    EXPECT_EQ(again.GetStaevneDatoText(0) + "/" + again.GetStaevneDatoText(1), "/17-05-2026");
    EXPECT_EQ(again.IndexOfStaevneNavn(QStringLiteral("Høstløb")), 1);
    EXPECT_EQ(again.IndexOfStaevneNavn(QStringLiteral("høstløb")) + again.IndexOfStID(3), -2);
    again.OpenStaevne(1);
    EXPECT_EQ(again.GetCurrentStID(), 2);
    EXPECT_EQ(again.SystemData().Overskrift1, "DM for hold");
    again.OpenStaevne(5);
    EXPECT_EQ(again.GetCurrentStID(), 2);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(StaevneManagerTest, UnfinishedAndDamagedMeetsAreReported) {
    AddMeetRecord(QStringLiteral("Oprettes"), 1);
    AddMeetRecord(QStringLiteral("Slettes"), 2);
    AddMeetRecord(QStringLiteral("Importeres"), 3);
    AddMeetRecord(QStringLiteral("Skadet"), 0, VariablePart(90, QByteArray(3, '\x05')));
    AddMeetRecord(QStringLiteral("Uden data"), 0);
    ASSERT_EQ(Names(), QStringList({"Skadet", "Uden data"}));
    const QString tail = QStringLiteral("\r\nmen funktionen er ikke korrekt tilendebragt.\r\n\r\n"
                                        "Stævnet vil ikke optræde i stævneoversigten.");
    EXPECT_EQ(Shown(),
              QStringList({"Stævnet: Oprettes\r\ner ved at blive oprettet," + tail,
                           "Stævnet: Slettes\r\ner ved at blive slettet," + tail,
                           "Stævnet: Importeres\r\ner under import," + tail,
                           "Fejl i data for stævnet: Skadet\r\n\r\nData er nulstillet, husk at oprette "
                           "igen under \"StævneData\"."}));

    // A meet whose settings are the defaults still has a report file and usable counts.
    for (int index : {0, 1}) {
        Manager().OpenStaevne(index);
        EXPECT_EQ(Manager().GetRptFileName(), Path("ZUNO2.RPT"));
        EXPECT_EQ(Manager().SystemData().AntalTaellendeDeltagere, 1);
        EXPECT_EQ(Manager().SystemData().AntalDTHold, 6);
    }
}

// Until a meet is opened the settings are the last listed meet's, block and registry values both, as if
// every meet's had been read in turn; a damaged last one leaves the defaults.
TEST_F(StaevneManagerTest, AtStartTheSettingsAreTheLastListedMeets) {
    for (const auto& [navn, klasse] :
         {std::pair(QStringLiteral("A"), 3), std::pair(QStringLiteral("B"), 5)}) {
        CreateMeet(navn);
        Manager().SystemData().Overskrift1 = navn;
        Manager().Registry().OversigtKlasse = klasse;
        ASSERT_TRUE(Manager().SaveStaevneData());
    }
    AddMeetRecord(QStringLiteral("Oprettes"), 1);
    TStaevneManager& again = Restart();
    Shown();
    EXPECT_EQ(again.GetCurrentStID(), -1);
    EXPECT_EQ(again.SystemData().Overskrift1, "B");
    EXPECT_EQ(again.Registry().OversigtKlasse, 5);

    AddMeetRecord(QStringLiteral("Skadet"), 0, VariablePart(90, QByteArray(3, '\x05')));
    TStaevneManager& third = Restart();
    EXPECT_EQ(third.GetStaevneCount(), 3);
    EXPECT_EQ(third.SystemData().Overskrift1, "");
    EXPECT_EQ(third.Registry().OversigtKlasse, 0);
}

TEST_F(StaevneManagerTest, NamesThatCannotBeAFolderOrAreTakenAreRefused) {
    CreateMeet(QStringLiteral("Forårsstævne"));
    const QStringList before = Entries(Dir());
    const QString chars = QStringLiteral("\r\nEt stævnenavn må ikke indeholde: \\ / : * ? \" < > |");
    const struct {
        QString Navn;
        QString Message;
    } cases[] = {
        {QString(), "Der skal angives et stævnenavn"},
        {"   ", "Der skal angives et stævnenavn"},
        {"FORÅRSSTÆVNE", "Illegalt stævnenavn: FORÅRSSTÆVNE\r\nStævnenavnet er allerede brugt"},
        {"Løb?", "Illegalt stævnenavn: Løb?" + chars},
        {"a\\b", "Illegalt stævnenavn: a\\b" + chars},
        {"a\tb", "Illegalt stævnenavn: a\tb" + chars},
        {".", "Illegalt stævnenavn: .\r\nEt stævnenavn må ikke være \".\" eller \"..\""},
        {"..", "Illegalt stævnenavn: ..\r\nEt stævnenavn må ikke være \".\" eller \"..\""},
        {QString(31, u'Æ'),
         "Illegalt stævnenavn: " + QString(31, u'Æ') + "\r\nEt stævnenavn må højst være på 30 tegn"},
        {"Løb → mål", "Illegalt stævnenavn: Løb → mål\r\nEt stævnenavn kan kun indeholde tegn fra tegnsættet "
                      "Windows-1252"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorText([&] { Manager().CreateStaevne(c.Navn); }), c.Message);
    for (const char* bad : {"a/b", "a:b", "*", "\"x\"", "<>", "a|b", "a\x01"})
        EXPECT_TRUE(ErrorText([&] { Manager().CreateStaevne(bad); }).endsWith(chars)) << bad;
    EXPECT_EQ(Entries(Dir()), before);

    // Nothing in the data folder, in any letter case, becomes a meet's folder.
    WriteFile(Path("Arkiv/vigtig.txt"), "vigtig");
    const QStringList taken = Entries(Dir());
    for (const auto& [navn, found] : {std::pair("arkiv", "Arkiv"), {"staevne.zu2", "STAEVNE.ZU2"}})
        EXPECT_EQ(
            ErrorText([&, navn = navn] { Manager().CreateStaevne(navn); }),
            QStringLiteral("Illegalt stævnenavn: %1\r\nDer findes allerede en mappe eller fil med navnet "
                           "%2 i datamappen")
                .arg(navn, found));
    EXPECT_EQ(Entries(Dir()), taken);
    EXPECT_EQ(ReadFile(Path("Arkiv/vigtig.txt")), "vigtig");
    EXPECT_EQ(Manager().GetStaevneCount() + Count(TStaevneTable()), 2);

    EXPECT_EQ(Manager().CreateStaevne(QString(30, u'Æ')), 1);
    EXPECT_EQ(Restart().GetStaevneNavn(1), QString(30, u'Æ'));
}

TEST_F(StaevneManagerTest, RenameMovesFolderRecordAndRegistryKey) {
    CreateMeet(QStringLiteral("Andet stævne"));
    CreateMeet(QStringLiteral("Stævne"));
    WriteFile(Path("Stævne/resultater.htm"), "<p>");
    Manager().Registry().VisUgedag = 4;
    Manager().SetLastUsedName(QStringLiteral("Stævne"));
    Manager().SaveStaevneData();

    Manager().RenameStaevne(QStringLiteral(" Sommerstævne "));
    EXPECT_EQ(Names(), QStringList({"Andet stævne", "Sommerstævne"}));
    EXPECT_FALSE(QFileInfo::exists(Path("Stævne")));
    EXPECT_TRUE(QFile::exists(Path("Sommerstævne/resultater.htm")));
    EXPECT_EQ(ReadRegistry(BaseKey() + "\\Sommerstævne", "VisUgedag"), "4");
    EXPECT_FALSE(Platform::TRegistry().KeyExists(BaseKey() + "\\Stævne"));
    EXPECT_EQ(ReadRegistry(BaseKey(), "LastUsedName"), "Sommerstævne");

    // Letter case only: the folder follows the name.
    Manager().RenameStaevne(QStringLiteral("SOMMERSTÆVNE"));
    EXPECT_TRUE(QFile::exists(Path("SOMMERSTÆVNE/resultater.htm")));
    EXPECT_EQ(Entries(Dir()).filter("sommerstævne", Qt::CaseInsensitive), QStringList{"SOMMERSTÆVNE"});
    EXPECT_EQ(ReadRegistry(BaseKey() + "\\SOMMERSTÆVNE", "VisUgedag"), "4");

    // A folder the rename did not make is never removed to make room.
    WriteFile(Path("Arkiv/gammel.txt"), "vigtig");
    EXPECT_EQ(ErrorText([&] { Manager().RenameStaevne(QStringLiteral("Arkiv")); }),
              "Illegalt stævnenavn: Arkiv\r\nDer findes allerede en mappe eller fil med navnet Arkiv i "
              "datamappen");
    EXPECT_TRUE(QFile::exists(Path("Arkiv/gammel.txt")) &&
                QFile::exists(Path("SOMMERSTÆVNE/resultater.htm")));
    EXPECT_THROW(Manager().RenameStaevne(QStringLiteral("andet STÆVNE")), Exception);
    EXPECT_THROW(Manager().RenameStaevne(QStringLiteral("Ny?")), Exception);
    EXPECT_FALSE(QFileInfo::exists(Path("Ny?")));

    TStaevneManager& again = Restart();
    EXPECT_EQ(again.GetStaevneNavn(1), "SOMMERSTÆVNE");
    EXPECT_EQ(again.GetLastUsedName(), "SOMMERSTÆVNE");
}

TEST_F(StaevneManagerTest, DeleteTakesTheMeetsRecordsFolderAndKeyAndNothingElse) {
    CreateMeet(QStringLiteral("Bliver"));
    AddRecords();
    CreateMeet(QStringLiteral("Slettes"));
    AddRecords();
    Manager().SaveStaevneData();
    QTemporaryDir outside;
    WriteFile(outside.filePath("billede.jpg"), "jpeg");
    WriteFile(Path("Slettes/sub/side.htm"), "<p>");
    ASSERT_TRUE(QFile::link(outside.path(), Path("Slettes/link")));

    Manager().DeleteStaevne();
    EXPECT_EQ(Manager().GetCurrentStID(), -1);
    EXPECT_EQ(Names(), QStringList{"Bliver"});
    EXPECT_FALSE(QFileInfo::exists(Path("Slettes")));
    EXPECT_TRUE(QFile::exists(outside.filePath("billede.jpg")) && QFileInfo(Path("Bliver")).isDir());
    EXPECT_FALSE(Platform::TRegistry().KeyExists(BaseKey() + "\\Slettes"));
    EXPECT_EQ(Manager().GetRptFileName(), Path("ZUNO2.RPT"));
    for (const TRecordFileDef& file : RecordFileDefs())
        EXPECT_TRUE(!file.IsStaevneBound() || Count(TZunoDataTable(file)) == 1) << file.FileName;
    Manager().DeleteStaevne(); // no meet open: nothing happens
    EXPECT_EQ(Restart().GetStaevneCount(), 1);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(StaevneManagerTest, DeleteTakesAlongOnlyAFolderTheMeetMadeAndNeverLeavesIt) {
    // Records another version may have left: names that are no folder of their own, and meets that took
    // over the folders that were there.
    for (const char* navn : {"", "..", "Link", "Arkiv", "Tom"})
        AddMeetRecord(navn, 0);
    QTemporaryDir outside;
    WriteFile(outside.filePath("vigtig.txt"), "x");
    ASSERT_TRUE(QFile::link(outside.path(), Path("Link")));
    WriteFile(Path("ARKIV/vigtig.txt"), "vigtig");
    ASSERT_TRUE(QDir().mkpath(Path("Tom")));
    QStringList kept = Entries(Dir());
    ASSERT_TRUE(kept.removeOne("Tom")); // empty: nothing lost
    ASSERT_EQ(Manager().GetStaevneCount(), 5);
    for (int i = 0; i < 5; ++i) {
        Manager().OpenStaevne(0);
        Manager().DeleteStaevne();
    }
    EXPECT_EQ(Manager().GetStaevneCount(), 0);
    EXPECT_EQ(Entries(Dir()), kept);
    EXPECT_TRUE(QFile::exists(outside.filePath("vigtig.txt")));
    EXPECT_EQ(ReadFile(Path("ARKIV/vigtig.txt")), "vigtig");

    // A folder made again for a meet of this version, after it went, is the meet's own too.
    CreateMeet(QStringLiteral("Ny"));
    ASSERT_TRUE(RemoveTree(Path("Ny")));
    OvelseManager = std::make_unique<TOvelseManager>();
    Restart();
    OvelseManager = std::make_unique<TOvelseManager>();
    Manager().OpenStaevne(0);
    WriteFile(Path("Ny/side.htm"), "<p>");
    Manager().DeleteStaevne();
    EXPECT_FALSE(QFileInfo::exists(Path("Ny")));
    EXPECT_EQ(ReadFile(Path("ARKIV/vigtig.txt")), "vigtig");
}

TEST_F(StaevneManagerTest, ABlockOfANewerVersionIsNeverOverwritten) {
    const QByteArray newer = VariablePart(91, QByteArray(91, '\x01'));
    const qint32 stID = AddMeetRecord(QStringLiteral("Fremtid"), 0, newer);
    Manager();
    EXPECT_EQ(Shown(),
              QStringList({"ZUNO version er for gammel - systemdata indeholder nyere data. Opdater til "
                           "nyeste ZUNO version."}));
    Manager().OpenStaevne(0);
    EXPECT_EQ(Manager().SystemData().ReportFilename, "ZUNO2.RPT");
    Manager().SystemData().Overskrift1 = QStringLiteral("Ændret");
    Manager().Registry().VisUgedag = 2;
    EXPECT_FALSE(Manager().SaveStaevneData());
    Manager().RenameStaevne(QStringLiteral("Fremtiden"));
    Manager().SetOvelseRettet(45000.5);
    EXPECT_EQ(StoredPart(stID).left(newer.size()), newer);
    EXPECT_EQ(ReadRegistry(BaseKey() + "\\Fremtiden", "VisUgedag"), "2");
    EXPECT_EQ(Restart().GetStaevneNavn(0), "Fremtiden");
}

TEST_F(StaevneManagerTest, ANewMeetGetsTheDefaultsInItsOwnKeyAnOldOneWithoutAKeyReadsTheBaseKey) {
    {
        Platform::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(BaseKey(), true));
        registry.WriteInteger(QStringLiteral("visugedag"), 3);
        registry.WriteBool(QStringLiteral("UdskrivTilSkaerm"), false);
        registry.WriteString(QStringLiteral("PrinterNavn"), QStringLiteral("Fælles printer"));
        registry.WriteString(QStringLiteral("ScoreboardServer"), QStringLiteral("tavle"));
        registry.WriteString(QStringLiteral("LastUsedName"), QStringLiteral("B"));
        // What a deleted meet of the same name may have left behind.
        ASSERT_TRUE(registry.OpenKey(BaseKey() + "\\b", true));
        registry.WriteInteger(QStringLiteral("VisUgedag"), 6);
    }
    EXPECT_EQ(Manager().Scoreboard().ScoreboardServer + Manager().GetLastUsedName(), "tavleB");
    EXPECT_EQ(Manager().Scoreboard().ScoreboardServerPort, 2010);

    CreateMeet(QStringLiteral("A"));
    EXPECT_TRUE(Manager().Registry().VisUgedag == 0 && Manager().Registry().UdskrivTilSkaerm &&
                Manager().Registry().PrinterNavn.isEmpty());
    EXPECT_EQ(ReadRegistry(BaseKey() + "\\A", "UdskrivTilSkaerm") +
                  ReadRegistry(BaseKey() + "\\A", "PrinterNavn"),
              "1");
    Manager().Registry().VisUgedag = 5;
    Manager().Registry().PrinterNavn = QStringLiteral("Ingen printer af det navn");
    Manager().SetLastUsedName(QString());
    Manager().SaveStaevneData();
    EXPECT_EQ(ReadRegistry(BaseKey() + "\\A", "VisUgedag"), "5");
    EXPECT_EQ(ReadRegistry(BaseKey(), "VisUgedag"), "3");
    EXPECT_EQ(ReadRegistry(BaseKey(), "LastUsedName"), "(ingen)");

    CreateMeet(QStringLiteral("B"));
    EXPECT_EQ(ReadRegistry(BaseKey() + "\\B", "VisUgedag"), "0");
    Restart().OpenStaevne(0);
    EXPECT_EQ(Manager().Registry().VisUgedag, 5);
    EXPECT_EQ(Manager().Registry().PrinterNavn, "Ingen printer af det navn");

    // A meet of an older version, with no key of its own.
    AddMeetRecord(QStringLiteral("Gammel"), 0);
    Restart().OpenStaevne(2);
    EXPECT_EQ(Manager().Registry().VisUgedag, 3);
    EXPECT_EQ(Manager().Registry().PrinterNavn, "Fælles printer");
}

TEST_F(StaevneManagerTest, SettingsAnswerForTheCurrentMeet) {
    CreateMeet(QStringLiteral("Holdkamp"));
    TSystemData& data = Manager().SystemData();
    data.EgenTurnering = true;
    data.DTOvelserHalvePoints = {QStringLiteral("KU "), QStringLiteral("4X100")};
    data.ReportFilename = QStringLiteral("EGEN.RPT");
    EXPECT_EQ(Manager().GetRptFileName(), Path("EGEN.RPT"));
    EXPECT_TRUE(Manager().IsDTOvelseHalvePoints(QStringLiteral(" ku")));
    EXPECT_FALSE(Manager().IsDTOvelseHalvePoints(QStringLiteral("DI")));
    EXPECT_TRUE(CurrentSystemData().EgenTurnering);
    StaevneManager.reset();
    EXPECT_FALSE(CurrentSystemData().EgenTurnering);
}

TEST_F(StaevneManagerTest, TheFolderMarkLiesInsideTheFolderAndGoesWithItThroughRenameAndDelete) {
    // What an earlier version left: its mark beside the folder, under a name holding a backslash.
    const qint32 gammel = AddMeetRecord(QStringLiteral("Gammel"), 0);
    WriteFile(Path("Gammel/side.htm"), "<p>");
    WriteFile(Dir() + "Gammel\\.zuno-staevne", QByteArray::number(gammel));
    const qint32 stID = CreateMeet(QStringLiteral("Forår"));
    EXPECT_EQ(ReadFile(Path("Forår/.zuno-staevne")), QByteArray::number(stID));
    WriteFile(Path("Forår/side.htm"), "<p>");
    Manager().RenameStaevne(QStringLiteral("Sommer"));
    EXPECT_EQ(ReadFile(Path("Sommer/.zuno-staevne")), QByteArray::number(stID));
    // Deleting after the rename takes the folder with all it holds, the earlier version's meet with its
    // mark too; the names are free again.
    const QStringList before = Entries(Dir());
    for (int i = 0; i < 2; ++i) {
        Manager().OpenStaevne(0);
        Manager().DeleteStaevne();
    }
    QStringList gone = before;
    gone.removeIf([](const QString& entry) { return entry.startsWith("Gammel") || entry == "Sommer"; });
    EXPECT_EQ(Entries(Dir()), gone);
    CreateMeet(QStringLiteral("Sommer"));
    CreateMeet(QStringLiteral("Gammel"));
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(StaevneManagerTest, TheNameCheckOnlyChecksAndEveryReaderGetsTheResolvedFolder) {
    CreateMeet(QStringLiteral("Først"));
    Manager().CheckStaevneNavn(QStringLiteral(" Nyt "));
    EXPECT_FALSE(QFileInfo::exists(Path("Nyt")));
    // An empty folder in another letter case becomes the meet's.
    ASSERT_TRUE(QDir().mkpath(Path("arkiv")));
    CreateMeet(QStringLiteral("Arkiv"));
    EXPECT_EQ(Manager().GetStaevneDir() + " " + CurrentStaevneDir(), Path("arkiv") + " " + Path("arkiv"));
    Manager().DeleteStaevne();
    EXPECT_EQ(Manager().GetStaevneDir() + CurrentStaevneDir(), "");
}

TEST_F(StaevneManagerTest, AMeetNumberIsNeverGivenTwice) {
    CreateMeet(QStringLiteral("A"));
    CreateMeet(QStringLiteral("B"));
    Manager().DeleteStaevne();
    EXPECT_EQ(CreateMeet(QStringLiteral("C")), 3);
    // Also at the next start, after every meet is gone.
    for (int i = 0; i < 2; ++i) {
        Restart().OpenStaevne(0);
        Manager().DeleteStaevne();
    }
    EXPECT_EQ(CreateMeet(QStringLiteral("B")), 4);
}

// A disk that fills after a number of writes.
class TFillingDisk : public RecordManager::FileSystem {
public:
    explicit TFillingDisk(int writes)
        : writes_(writes) {}
    int beforeWrite(const char* path) override {
        return writes_-- > 0 ? FileSystem::beforeWrite(path) : ENOSPC;
    }

private:
    int writes_;
};

TEST_F(StaevneManagerTest, AMeetCreatedWhileTheDiskIsFullLeavesNoHalfMadeMeet) {
    CreateMeet(QStringLiteral("Først"));
    // The disk fills after each number of writes in turn, until the create gets through.
    for (int writes = 0;; ++writes) {
        ASSERT_LT(writes, 200);
        TFillingDisk disk(writes);
        QString error;
        {
            const RecordManager::ScopedFileSystem full(disk);
            error = ErrorText([&] { Manager().CreateStaevne(QStringLiteral("Nyt")); });
        }
        if (error == "<no error>")
            break;
        SCOPED_TRACE(writes);
        EXPECT_EQ(Manager().GetStaevneCount(), 1);
        EXPECT_FALSE(QFileInfo::exists(Path("Nyt")));
        Restart();
        EXPECT_EQ(Shown(), QStringList()); // no meet left unfinished
        EXPECT_EQ(Count(TStaevneTable()), 1);
    }
    EXPECT_EQ(Names(), QStringList({"Først", "Nyt"}));
    EXPECT_EQ(Manager().GetCurrentIndex(), 1);
}

} // namespace
