#include "model/D_Globals.h"

#include "support/Test.h"

#include "model/D_DBDef.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "platform/Registry.h"
#include "platform/Version.h"
#include "support/RecordedMessages.h"
#include "tools/setup/Installation.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace {

// The rounds layout of the older generation: the fields up to FinaleKrav.
TZunoFieldList OldRoundsFields() {
    return TOvelseRnTable::Fields().first(OvelseRnField::FinaleKrav + 1);
}

// Start-up makes the program folder the current one; a test gives the old one back.
class TCurrentDirGuard {
public:
    ~TCurrentDirGuard() { QDir::setCurrent(saved_); }

private:
    QString saved_ = QDir::currentPath();
};

class Startup : public ::testing::Test {
protected:
    Startup() { ClearRegistry(); }
    ~Startup() override { ClearRegistry(); }

    static void ClearRegistry() {
        Platform::TRegistry().DeleteKey(Platform::TRegistry::ProgramKey(QStringLiteral(".cfg")));
    }
    // A new empty folder under the test's own, with a trailing "/".
    QString Folder(const QString& name) {
        const QString dir = root_.path() + u'/' + name + u'/';
        EXPECT_TRUE(QDir().mkpath(dir));
        return dir;
    }
    QString Installed(const QString& name) {
        const QString dir = Folder(name);
        InstallProgramFolder(dir, QStringLiteral(ZUNO_SOURCE_DIR "/data"));
        return dir;
    }
    // The 14 files of the older generation, the rounds file with its shorter records and one round,
    // and the report file; except the one named.
    QString OldFolder(const QString& name, const QString& without = {}) {
        const QString dir = Folder(name);
        for (TRecordFileDef recordFile : RecordFileDefs()) {
            const QString fileName =
                QString::fromLatin1(recordFile.FileName).toLower().replace(".zu2", ".zun");
            if (fileName == "ovelsern.zun")
                recordFile.Fields = OldRoundsFields();
            EXPECT_TRUE(fileName == without || recordFile.Create(dir + fileName));
        }
        TZunoDataTable rounds("ovelsern.zun", "rn", OldRoundsFields());
        rounds.SetDirectory(dir);
        rounds.Open();
        rounds.Insert();
        rounds.GetField(OvelseRnField::StID)->SetAsInteger(3);
        for (const auto& [fieldNo, text] : {std::pair(OvelseRnField::Klasse, "M"),
                                            {OvelseRnField::Ovelse, "100"},
                                            {OvelseRnField::Sted, "LØB"}})
            rounds.GetField(fieldNo)->SetAsString(QString::fromUtf8(text));
        rounds.GetField(OvelseRnField::FinaleKrav)->SetAsInteger(1234);
        rounds.Post();
        rounds.Close();
        WriteFile(dir + "zuno2.rpt", "rapport");
        return dir;
    }
    QStringList Shown() { return messages_.Shown(); }

    TCurrentDirGuard cwd_;
    QTemporaryDir root_;

private:
    TRecordedMessages messages_;
    // Start-up's globals live in this test's own context.
    const TModelContextScope context_;
};

QString SetupAdvice(const QString& dir) {
    return "\r\n\r\nInstallationsprogrammet zuno2-setup opretter de manglende filer:\r\nzuno2-setup \"" +
           dir + '"';
}

const QString NoConversion =
    QStringLiteral("ZUNO konvertering er ikke tilendebragt korrekt, og ZUNO kan derfor ikke startes");

} // namespace

TEST_F(Startup, MarkersComeFirstThenABlankInThePath) {
    const QString dir = Installed("markers");
    WriteFile(dir + "zuno-installation", "");
    WriteFile(dir + "zuno-konvertering", "");
    EXPECT_FALSE(CheckStartup(dir));
    EXPECT_EQ(Shown(), QStringList{NoConversion});
    EXPECT_EQ(ProgramDir, dir);
    EXPECT_EQ(QDir::currentPath() + u'/', dir);
    QFile::remove(dir + "zuno-konvertering");
    EXPECT_FALSE(CheckStartup(dir.chopped(1)));
    EXPECT_EQ(Shown(), QStringList{QString(NoConversion).replace("konvertering", "installation")});

    // The blank is refused before anything is converted.
    const QString blank = OldFolder("med blank");
    EXPECT_FALSE(CheckStartup(blank));
    EXPECT_EQ(Shown(),
              QStringList{QStringLiteral("Der må ikke være blanktegn (mellemrum) i stien til ZUNO2.EXE. "
                                         "Sti = \"") +
                          blank + u'"'});
    EXPECT_TRUE(QFile::exists(blank + "ovelsern.zun"));
    EXPECT_FALSE(QFile::exists(blank + "zuno-konvertering"));
}

TEST_F(Startup, EveryMissingFileIsNamedInListOrder) {
    // One box for all, saying how to make them.
    const QString empty = Folder("tom");
    EXPECT_FALSE(CheckStartup(empty));
    QStringList expected;
    for (const QString& file : DataFileNames())
        expected << "Systemfejl 1: filen " + file + " findes ikke";
    EXPECT_EQ(Shown(), QStringList{expected.join("\r\n") + SetupAdvice(empty)});

    const QString dir = Installed("uden-rapport");
    ASSERT_TRUE(QFile::remove(dir + "ZUNO2.RPT"));
    EXPECT_FALSE(InitGlobals(dir));
    EXPECT_EQ(Shown(), QStringList{"Systemfejl 1: filen zuno2.rpt findes ikke" + SetupAdvice(dir)});
    EXPECT_FALSE(StaevneManager || OvelseManager);

    WriteFile(dir + "Zuno2.Rpt", "rapport");
    EXPECT_TRUE(InitGlobals(dir));
    EXPECT_EQ(Shown(), QStringList{});
    EXPECT_TRUE(StaevneManager && OvelseManager && !SpeakerMode);
    EXPECT_EQ(ProgramVersion, Platform::VersionText());
    FreeGlobals();
    EXPECT_FALSE(StaevneManager || OvelseManager);
    EXPECT_TRUE(ProgramVersion.isEmpty());
}

// A folder that cannot be written is refused in so many words before any record file is opened (the
// record manager would fail with a bare status). Root writes anywhere, so the start runs as an ordinary
// user then.
TEST_F(Startup, AFolderOrRecordFileThatCannotBeWrittenIsRefusedInOneMessage) {
    const QString dir = Installed("skrivebeskyttet");
    const auto startAsUser = [&] {
        int channel[2];
        EXPECT_EQ(pipe(channel), 0);
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                _exit(3);
            const bool started = InitGlobals(dir);
            const QByteArray told = Shown().join("\n").toUtf8();
            if (write(channel[1], told.constData(), told.size()) != told.size())
                _exit(4);
            _exit(started ? 1 : 0);
        }
        close(channel[1]);
        QByteArray told;
        char buffer[4096];
        for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
            told.append(buffer, n);
        close(channel[0]);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        return QString::fromUtf8(told);
    };
    const auto permissions = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                             QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(root_.path(), permissions | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(dir, permissions));
    EXPECT_EQ(startAsUser(),
              "Der kan ikke skrives i programmappen \"" + dir + "\", og ZUNO kan derfor ikke startes");

    // A writable folder with record files that are not: named all in one message.
    const bool root = geteuid() == 0;
    for (const QString& file : QDir(dir).entryList(QDir::Files))
        QFile::setPermissions(dir + file,
                              permissions | (root ? QFileDevice::WriteOther : QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(dir, permissions | QFileDevice::WriteOwner | QFileDevice::WriteOther));
    for (const char* file : {"KLUB.ZU2", "RESULTAT.ZU2"})
        QFile::setPermissions(dir + file, permissions);
    EXPECT_EQ(startAsUser(), "Der kan ikke skrives i filerne KLUB.ZU2, RESULTAT.ZU2 i programmappen \"" +
                                 dir + "\", og ZUNO kan derfor ikke startes");
    for (const QString& file : QDir(dir).entryList(QDir::Files))
        QFile::setPermissions(dir + file, permissions | QFileDevice::WriteOwner);
    ASSERT_TRUE(QFile::setPermissions(dir, permissions | QFileDevice::WriteOwner));
    EXPECT_TRUE(CheckStartup(dir));
}

TEST_F(Startup, OlderDataFilesAreConvertedAndBackedUp) {
    const QString dir = OldFolder("gammel");
    ASSERT_TRUE(CheckStartup(dir));
    EXPECT_EQ(Shown(), QStringList{});
    EXPECT_FALSE(QFile::exists(dir + "zuno-konvertering"));
    EXPECT_EQ(QDir(dir).entryList({"*.zun"}, QDir::Files), QStringList{});
    EXPECT_EQ(QDir(dir + "_xyz_backup_1").entryList(QDir::Files).size(), 14);

    TOvelseRnTable rounds;
    rounds.Open();
    EXPECT_EQ(rounds.GetRecordLength(), 110);
    rounds.StepFirst();
    ASSERT_FALSE(rounds.GetEof());
    QStringList fields;
    for (const int fieldNo :
         {OvelseRnField::Klasse, OvelseRnField::Sted, OvelseRnField::FinaleKrav, OvelseRnField::AntalPrHeat})
        fields << rounds.GetField(fieldNo)->GetTrimmedString();
    EXPECT_EQ(fields, QStringList({"M", "LØB", "1234", "0"}));
    rounds.Close();
    EXPECT_TRUE(InitGlobals(dir));
}

TEST_F(Startup, AConversionThatFailsKeepsTheMarkerAndTheOldFiles) {
    const QString dir = OldFolder("uden-resultat", "resultat.zun");
    EXPECT_FALSE(CheckStartup(dir));
    EXPECT_EQ(Shown(), QStringList{"Systemfejl 5: filen resultat.zun findes ikke"});
    EXPECT_TRUE(QFile::exists(dir + "zuno-konvertering"));
    EXPECT_TRUE(QFile::exists(dir + "ovelsern.zun"));
    EXPECT_EQ(QDir(dir + "_xyz_backup_1").entryList(QDir::Files).size(), 13);
    EXPECT_FALSE(CheckStartup(dir));
    EXPECT_EQ(Shown(), QStringList{NoConversion});

    // A rounds file that cannot be copied stops before anything is deleted or renamed.
    const QString broken = OldFolder("ødelagt");
    ASSERT_TRUE(QFile::remove(broken + "ovelsern.zun"));
    WriteFile(broken + "ovelsern.zun", "ikke en postfil");
    EXPECT_FALSE(CheckStartup(broken));
    EXPECT_TRUE(Shown().join("").startsWith(
        "Systemfejl 6: kunne ikke konvertere filen ovelsern.zun til ovelsern.zu2"));
    EXPECT_EQ(ReadFile(broken + "ovelsern.zun"), "ikke en postfil");
    EXPECT_FALSE(QFile::exists(broken + "ovelsern.zu2"));
    EXPECT_TRUE(QFile::exists(broken + "staevne.zun") && QFile::exists(broken + "zuno-konvertering"));

    // A current file of the same name is never replaced.
    const QString both = OldFolder("begge");
    WriteFile(both + "KLUB.ZU2", "nyere");
    EXPECT_FALSE(CheckStartup(both));
    EXPECT_EQ(Shown(), QStringList{"Systemfejl 2: kunne ikke omdøbe filen klub.zun til klub.zu2"});
    EXPECT_EQ(ReadFile(both + "KLUB.ZU2"), "nyere");
    for (const char* file : {"klub.zun", "deltager.zu2", "zuno-konvertering"})
        EXPECT_TRUE(QFile::exists(both + file)) << file;
}

TEST_F(Startup, TheProgramEndsSoundlyWhateverMainLeavesBehind) {
    // Main ends with both managers alive; once also after stopping the record manager first.
    for (const bool stopFirst : {false, true}) {
        const QString dir = Installed(stopFirst ? "stoppet" : "glemt");
        const pid_t child = fork();
        if (child == 0) {
            if (!InitGlobals(dir))
                _exit(10);
            StaevneManager->CreateStaevne(QStringLiteral("Stævne"));
            if (stopFirst)
                StopRecordManager();
            std::exit(0); // the program's end: no FreeGlobals
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0);
        // Every file was closed: nothing waits in a WAL, and the meet is there at the next start.
        EXPECT_EQ(QDir(dir).entryList({"*-wal"}, QDir::Files), QStringList());
        ASSERT_TRUE(InitGlobals(dir));
        EXPECT_EQ(StaevneManager->GetStaevneCount(), 1);
        FreeGlobals();
    }
}
