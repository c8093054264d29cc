// The program itself, started in a program folder of its own as a script on a server would start it.
#include "ProgramRun.h"
#include "support/ProgramFolderFixture.h"
#include "support/Test.h"

#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneTransfer.h"

namespace {

class Zuno2ProgramTest : public TProgramFolderTest {
protected:
    Zuno2ProgramTest()
        : program_(InstallProgram(Dir())) {}

    TRun Run(const QStringList& arguments) { return RunProgram(program_, arguments); }
    TRun RunIn(const QString& program, const QStringList& arguments) {
        return RunProgram(program, arguments);
    }
    QStringList KipFiles(const QString& meet) const {
        return QDir(Path(meet)).entryList({"_kip_*.kip"}, QDir::Files);
    }

private:
    QString program_;
};

struct TNamed : TImportStaevneQuestion {
    bool AskStaevneNavn(const TSystemData&, QString& navn) override {
        navn = "Igen";
        return true;
    }
};

TEST_F(Zuno2ProgramTest, KipWritesATransferFileThatImportsAgain) {
    const qint32 stID = CreateMeet("Stævne på server");
    Manager().SystemData().Overskrift1 = "Sommerstævne";
    Manager().SaveStaevneData();
    CreateMeet("Et andet"); // the last used would be this one

    const TRun run = Run({"ID=" + QString::number(stID), "/KIP"});
    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_EQ(run.Errors, "");
    const QStringList written = KipFiles("Stævne på server");
    ASSERT_EQ(written.size(), 1);
    EXPECT_TRUE(KipFiles("Et andet").isEmpty());

    TNamed question;
    Manager().ImportStaevne(Path("Stævne på server/" + written.front()), 0, question);
    EXPECT_EQ(Manager().GetStaevneNavn(Manager().GetCurrentIndex()), "Igen");
    EXPECT_EQ(Manager().SystemData().Overskrift1, "Sommerstævne");
}

TEST_F(Zuno2ProgramTest, ABadIdNoMeetOrAnUnfinishedInstallationEndsWithAnError) {
    const qint32 stID = CreateMeet("Stævne");
    const TRun unknown = Run({"ID=" + QString::number(stID + 1), "/KIP"});
    EXPECT_NE(unknown.ExitCode, 0);
    EXPECT_TRUE(unknown.Errors.contains("Der findes intet stævne med ID=")) << unknown.Errors.toStdString();

    const TRun noMeet = Run({"/KIP"});
    EXPECT_NE(noMeet.ExitCode, 0);
    EXPECT_TRUE(noMeet.Errors.contains("der er ikke åbnet noget stævne")) << noMeet.Errors.toStdString();
    EXPECT_TRUE(KipFiles("Stævne").isEmpty());

    WriteFile(Path("zuno-installation"), {});
    const TRun marker = Run({"ID=" + QString::number(stID), "/KIP"});
    EXPECT_NE(marker.ExitCode, 0);
    EXPECT_TRUE(marker.Errors.contains("ZUNO installation er ikke tilendebragt korrekt"))
        << marker.Errors.toStdString();
    EXPECT_TRUE(KipFiles("Stævne").isEmpty());
}

TEST_F(Zuno2ProgramTest, AFolderOfOnlyTheProgramSaysInOneMessageWhatIsMissingAndWhatMakesIt) {
    QTemporaryDir alone;
    const QString program = alone.path() + "/zuno2";
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZUNO2_EXECUTABLE), program));
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
    const TRun run = RunIn(program, {"/KIP"});
    EXPECT_NE(run.ExitCode, 0);
    EXPECT_EQ(run.Errors.count("Fejl: "), 1) << run.Errors.toStdString();
    EXPECT_EQ(run.Errors.count("Systemfejl 1: filen "), 15) << run.Errors.toStdString();
    EXPECT_TRUE(run.Errors.contains("zuno2-setup \"" + alone.path() + "/\"")) << run.Errors.toStdString();
}

TEST_F(Zuno2ProgramTest, WithoutADisplayOnlyABatchJobRuns) {
    for (const auto& [arguments, error] : {std::pair(QStringList(), "der er ingen skærm"),
                                           std::pair(QStringList({"/SERVER", "/KIP"}), "/SERVER")}) {
        const TRun run = Run(arguments);
        EXPECT_NE(run.ExitCode, 0);
        EXPECT_TRUE(run.Errors.contains(error)) << run.Errors.toStdString();
    }
}

} // namespace
