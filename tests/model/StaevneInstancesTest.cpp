// Two programs on one data folder: the second works with the meet list it read at its start, while the
// first creates, renames and deletes meets. What it writes is checked against the meets as stored.
#include "model/D_Staevne.h"

#include "support/Test.h"

#include "ProgramFolderFixture.h"
#include "foundation/LxDisk.h"
#include "model/D_Globals.h"
#include "model/D_StaevneTransfer.h"

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <utility>

namespace {

// Answers with the name once; asked again, it cancels.
struct TNamedOnce : TImportStaevneQuestion {
    explicit TNamedOnce(QString navn)
        : Navn(std::move(navn)) {}
    bool AskStaevneNavn(const TSystemData&, QString& navn) override {
        navn = Navn;
        return !std::exchange(Asked, true);
    }
    QString Navn;
    bool Asked = false;
};

class StaevneInstancesTest : public TProgramFolderTest {
protected:
    // A second program on this data folder, a child process: it starts its meet manager (reading the meet
    // list) and runs `start`; then `meanwhile` runs here; then the second program runs each of `works`
    // with what it read at its start. The error text of each work, "<no error>" when it had none.
    QStringList SecondProgram(const std::function<void()>& start, const std::function<void()>& meanwhile,
                              const std::vector<std::function<void()>>& works) {
        OvelseManager.reset();
        StaevneManager.reset();
        StopRecordManager(); // the child opens every file anew
        int ready[2];
        int go[2];
        int result[2];
        if (pipe(ready) != 0 || pipe(go) != 0 || pipe(result) != 0) {
            ADD_FAILURE() << "pipe";
            return {};
        }
        const pid_t child = fork();
        if (child == 0) {
            ::close(ready[0]);
            ::close(go[1]);
            ::close(result[0]);
            QStringList errors;
            errors << ErrorText([&] {
                Manager();
                if (start)
                    start();
            });
            char c = 0;
            if (::write(ready[1], "r", 1) != 1 || ::read(go[0], &c, 1) != 1)
                _exit(2);
            for (const auto& work : works)
                errors << ErrorText(work);
            const QByteArray text = errors.join(u'\x1e').toUtf8();
            const bool written =
                ::write(result[1], text.constData(), std::size_t(text.size())) == text.size();
            _exit(written ? 0 : 3);
        }
        ::close(ready[1]);
        ::close(go[0]);
        ::close(result[1]);
        char c = 0;
        const bool started = ::read(ready[0], &c, 1) == 1;
        if (started && meanwhile)
            meanwhile();
        const bool went = ::write(go[1], "g", 1) == 1;
        ::close(go[1]);
        QByteArray text;
        char buffer[4096];
        for (ssize_t n; (n = ::read(result[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, n);
        ::close(ready[0]);
        ::close(result[0]);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(started && went && WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        QStringList errors = QString::fromUtf8(text).split(u'\x1e');
        EXPECT_EQ(errors.takeFirst(), "<no error>") << "the second program's start";
        return errors;
    }
    // The stored meets' names, as the next start lists them.
    QStringList StoredNames() {
        QStringList names;
        for (int i = 0; i < Restart().GetStaevneCount(); ++i)
            names << Manager().GetStaevneNavn(i);
        return names;
    }
    static void Open(const QString& navn) {
        StaevneManager->OpenStaevne(StaevneManager->IndexOfStaevneNavn(navn));
    }
};

TEST_F(StaevneInstancesTest, ANameTheFirstProgramHasJustTakenIsRefusedInTheSecond) {
    CreateMeet("Forår");
    WriteFile(Path("Forår/side.htm"), "<p>forår</p>");
    const QString taken = QStringLiteral("Illegalt stævnenavn: %1\r\nStævnenavnet er allerede brugt");

    // Its folder is there: the name is refused by it.
    EXPECT_EQ(SecondProgram([] { Open("Forår"); }, [this] { CreateMeet("Sommer"); },
                            {[] { StaevneManager->RenameStaevne("Sommer"); }}),
              QStringList{"Illegalt stævnenavn: Sommer\r\nDer findes allerede en mappe eller fil med navnet "
                          "Sommer i datamappen"});
    // Its folder is gone (by hand): the stored meet still has the name, in any letter case.
    const auto takeWithoutFolder = [this](const QString& navn) {
        CreateMeet(navn);
        ASSERT_TRUE(RemoveTree(Path(navn)));
    };
    EXPECT_EQ(SecondProgram([] { Open("Forår"); }, [&] { takeWithoutFolder("Vinter"); },
                            {[] { StaevneManager->RenameStaevne("VINTER"); }}),
              QStringList{taken.arg("VINTER")});
    Manager().OpenStaevne(Manager().IndexOfStaevneNavn("Forår"));
    Manager().ExportStaevne(Path("kilde.kip"));
    EXPECT_EQ(SecondProgram({}, [&] { takeWithoutFolder("Høst"); },
                            {[] { StaevneManager->CreateStaevne("høst"); },
                             [this] {
                                 TNamedOnce question("Høst");
                                 StaevneManager->ImportStaevne(Path("kilde.kip"), 0, question);
                             }}),
              QStringList({taken.arg("høst"), taken.arg("Høst")}));

    EXPECT_EQ(StoredNames(), QStringList({"Forår", "Sommer", "Vinter", "Høst"}));
    EXPECT_EQ(ReadFile(Path("Forår/side.htm")), "<p>forår</p>");
    EXPECT_FALSE(QFileInfo::exists(Path("høst")) || QFileInfo::exists(Path("VINTER")));
}

TEST_F(StaevneInstancesTest, AMeetTheFirstProgramHasDeletedIsNeitherExportedRenamedNorDeletedInTheSecond) {
    CreateMeet("Forår");
    StoreRecord<TKlubTable>({{KlubField::Navn, QStringLiteral("IF Forår")}});
    CreateMeet("Sommer");
    const QString gone =
        QStringLiteral("Stævnet Forår findes ikke længere\r\nDet kan være slettet fra en anden "
                       "ZUNO, der bruger samme datamappe.");
    EXPECT_EQ(SecondProgram([] { Open("Forår"); },
                            [this] {
                                Manager().OpenStaevne(0);
                                Manager().DeleteStaevne();
                            },
                            {[this] { StaevneManager->ExportStaevne(Path("forår.kip")); },
                             [this] { StaevneManager->ExportStaevneToNewFile(Path("forår.kip")); },
                             [] { StaevneManager->RenameStaevne("Forårsstævne"); },
                             [] { StaevneManager->DeleteStaevne(); }}),
              QStringList({gone, gone, gone, gone}));
    EXPECT_FALSE(QFileInfo::exists(Path("forår.kip")) || QFileInfo::exists(Path("Forårsstævne")));
    EXPECT_EQ(StoredNames(), QStringList{"Sommer"});
    EXPECT_TRUE(QFileInfo(Path("Sommer")).isDir());
}

TEST_F(StaevneInstancesTest, AMeetTheFirstProgramHasRenamedIsDeletedInTheSecondWithTheFolderOfItsNewName) {
    CreateMeet("Forår");
    WriteFile(Path("Forår/side.htm"), "<p>");
    CreateMeet("Sommer");
    EXPECT_EQ(SecondProgram([] { Open("Forår"); },
                            [this] {
                                Manager().OpenStaevne(0);
                                Manager().RenameStaevne("Vår");
                            },
                            {[] { StaevneManager->DeleteStaevne(); }}),
              QStringList{"<no error>"});
    EXPECT_EQ(StoredNames(), QStringList{"Sommer"});
    EXPECT_FALSE(QFileInfo::exists(Path("Vår")) || QFileInfo::exists(Path("Forår")));
}

} // namespace
