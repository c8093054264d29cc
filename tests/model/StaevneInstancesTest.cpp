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
    // list) and opens the meet `open`; then `meanwhile` runs here; then the second program runs each of
    // `works` with what it read at its start. The error text of each work, "<no error>" when it had none.
    QStringList SecondProgram(const QString& open, const std::function<void()>& meanwhile,
                              const std::vector<std::function<void()>>& works) {
        OvelseManager.reset();
        StaevneManager.reset();
        StopRecordManager(); // the child opens every file anew
        int go[2];
        int result[2];
        if (pipe(go) != 0 || pipe(result) != 0)
            return {"pipe"};
        if (fork() == 0) {
            Manager().OpenStaevne(Manager().IndexOfStaevneNavn(open));
            QStringList errors{"started"};
            char c = 0;
            if (::write(result[1], "r", 1) != 1 || ::read(go[0], &c, 1) != 1)
                _exit(2);
            for (const auto& work : works)
                errors << ErrorText(work);
            const QByteArray text = errors.join(u'\x1e').toUtf8();
            _exit(::write(result[1], text.constData(), std::size_t(text.size())) == text.size() ? 0 : 3);
        }
        ::close(result[1]);
        char c = 0;
        if (::read(result[0], &c, 1) == 1 && meanwhile)
            meanwhile();
        EXPECT_EQ(::write(go[1], "g", 1), 1);
        QByteArray text;
        char buffer[4096];
        for (ssize_t n; (n = ::read(result[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, n);
        int status = 0;
        wait(&status);
        for (const int fd : {go[0], go[1], result[0]})
            ::close(fd);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        return QString::fromUtf8(text).split(u'\x1e').mid(1);
    }
    // The stored meets' names, as the next start lists them.
    QStringList StoredNames() {
        QStringList names;
        for (int i = 0; i < Restart().GetStaevneCount(); ++i)
            names << Manager().GetStaevneNavn(i);
        return names;
    }
};

TEST_F(StaevneInstancesTest, ANameTheFirstProgramHasJustTakenIsRefusedInTheSecond) {
    CreateMeet("Forår");
    WriteFile(Path("Forår/side.htm"), "<p>forår</p>");
    Manager().ExportStaevne(Path("kilde.kip"));
    const QString taken = QStringLiteral("Illegalt stævnenavn: %1\r\nStævnenavnet er allerede brugt");
    // With its folder there, the folder refuses the name; with it gone (by hand), the stored meet does.
    EXPECT_EQ(SecondProgram("Forår", [this] { CreateMeet("Sommer"); },
                            {[] { StaevneManager->RenameStaevne("Sommer"); }}),
              QStringList{"Illegalt stævnenavn: Sommer\r\nDer findes allerede en mappe eller fil med navnet "
                          "Sommer i datamappen"});
    EXPECT_EQ(SecondProgram("Forår",
                            [this] {
                                CreateMeet("Høst");
                                ASSERT_TRUE(RemoveTree(Path("Høst")));
                            },
                            {[] { StaevneManager->RenameStaevne("HØST"); },
                             [] { StaevneManager->CreateStaevne("høst"); },
                             [this] {
                                 TNamedOnce question("Høst");
                                 StaevneManager->ImportStaevne(Path("kilde.kip"), 0, question);
                             }}),
              QStringList({taken.arg("HØST"), taken.arg("høst"), taken.arg("Høst")}));
    EXPECT_EQ(StoredNames(), QStringList({"Forår", "Sommer", "Høst"}));
    EXPECT_EQ(ReadFile(Path("Forår/side.htm")), "<p>forår</p>");
    EXPECT_FALSE(QFileInfo::exists(Path("høst")) || QFileInfo::exists(Path("HØST")));
}

TEST_F(StaevneInstancesTest, AMeetTheFirstProgramHasDeletedOrRenamedIsTakenAsItIsStored) {
    CreateMeet("Forår");
    StoreRecord<TKlubTable>({{KlubField::Navn, QStringLiteral("IF Forår")}});
    CreateMeet("Sommer");
    WriteFile(Path("Sommer/side.htm"), "<p>");
    const QString gone =
        QStringLiteral("Stævnet Forår findes ikke længere\r\nDet kan være slettet fra en anden "
                       "ZUNO, der bruger samme datamappe.");
    EXPECT_EQ(SecondProgram("Forår",
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
    // Renamed there, it is deleted here with the folder of its new name.
    EXPECT_EQ(SecondProgram("Sommer",
                            [this] {
                                Manager().OpenStaevne(0);
                                Manager().RenameStaevne("Vår");
                            },
                            {[] { StaevneManager->DeleteStaevne(); }}),
              QStringList{"<no error>"});
    EXPECT_TRUE(StoredNames().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Path("Vår")) || QFileInfo::exists(Path("Sommer")));
}

} // namespace
