#include "ui/LaunchersStaevne.h"

#include "UiTestSupport.h"
#include "support/ProgramFolderFixture.h"
#include "support/Test.h"

#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "ui/staevne/ImportStaevne.h"
#include "ui/staevne/RetStaevne.h"
#include "ui/staevne/SletStaevne.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class LaunchersTest : public TProgramFolderTest {
protected:
    // Answers the next rename dialog with the name.
    void RenameTo(const QString& navn) {
        dialogs_->Answer<TRetStaevneForm>([navn](TRetStaevneForm& form) {
            form.StaevneNavn->setText(navn);
            form.OKButton->click();
            return mrNone;
        });
    }
    void DeleteWith(const std::optional<QString>& word, QString* offered = nullptr) {
        dialogs_->Answer<TSletStaevneForm>([word, offered](TSletStaevneForm& form) {
            if (offered)
                *offered = form.StaevneNavn->text();
            if (!word) {
                form.AnnullerButton->click();
                return mrNone;
            }
            form.SletteKode->setText(*word);
            form.OKButton->click();
            return mrNone;
        });
    }

    static TRecordingPresenter& Recorder() { return static_cast<TRecordingPresenter&>(MessagePresenter()); }

    TScriptedFiles files_;
    TScriptedDialogs dialogs_;
};

// The export names of the launcher below, and these: ".kip" alone is a name, "kip" is no extension.
TEST(KipFileNameTest, KipInAnyCaseIsKeptAndEverythingElseGetsIt) {
    EXPECT_EQ(KipFileName(".kip"), ".kip");
    EXPECT_EQ(KipFileName("/a/.KIP"), "/a/.KIP");
    EXPECT_EQ(KipFileName("/a/kip"), "/a/kip.kip");
}

TEST_F(LaunchersTest, ExportWritesUnderTheFinalNameAndAsksBeforeReplacingIt) {
    EXPECT_FALSE(EksporterStaevne(nullptr)); // no meet open: not even a dialog
    EXPECT_TRUE(files_->Offered.isEmpty());

    CreateMeet("Stævne");
    files_->Answers = {Path("x"), Path("y.KIP"), Path("z.Kip"), Path("a.txt"), Path("ab")};
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(EksporterStaevne(nullptr));
    EXPECT_EQ(files_->Offered.front(), Path("Stævne/Stævne"));
    for (const QString& name : QStringList{"x.kip", "y.KIP", "z.Kip", "a.txt.kip", "ab.kip"})
        EXPECT_TRUE(QFileInfo(Path(name)).isFile()) << name.toStdString();
    EXPECT_TRUE(Shown().isEmpty());

    // "x" becomes "x.kip", which is there: the question names it, and "Nej" offers the dialog again.
    WriteFile(Path("x.kip"), "gammel");
    files_->Offered.clear();
    files_->Answers = {Path("x")};
    Recorder().QueueAnswer(mrNo);
    EXPECT_FALSE(EksporterStaevne(nullptr));
    EXPECT_EQ(Shown(), QStringList{"Filen " + Path("x.kip") + " findes allerede.\r\nVil du erstatte den?"});
    EXPECT_EQ(Recorder().Shown().back().DefaultButton, 1);
    EXPECT_EQ(files_->Offered, QStringList({Path("Stævne/Stævne"), Path("x.kip")}));
    EXPECT_EQ(ReadFile(Path("x.kip")), "gammel");

    files_->Answers = {Path("x")};
    Recorder().QueueAnswer(mrYes);
    EXPECT_TRUE(EksporterStaevne(nullptr));
    EXPECT_NE(ReadFile(Path("x.kip")), "gammel");
    EXPECT_EQ(Shown().size(), 1);

    // Names are found as Windows finds them: "X.KIP" is the file "x.kip".
    files_->Answers = {Path("X.KIP")};
    Recorder().QueueAnswer(mrNo);
    EXPECT_FALSE(EksporterStaevne(nullptr));
    EXPECT_EQ(Shown().size(), 1);
}

TEST_F(LaunchersTest, ImportOffersTheProgramFolderAndOpensTheImportedMeet) {
    CreateMeet("Kilde");
    Manager().ExportStaevne(Path("kilde.kip"));
    EXPECT_FALSE(ImporterStaevne(nullptr, 0)); // cancelled
    EXPECT_EQ(files_->Offered, QStringList{Dir()});
    EXPECT_EQ(Manager().GetStaevneCount(), 1);

    files_->Answers = {Path("kilde.kip")};
    dialogs_->Answer<TImportStaevneForm>([](TImportStaevneForm& form) {
        form.StaevneNavn->setText("Kopi");
        form.OKButton->click();
        return mrNone;
    });
    EXPECT_TRUE(ImporterStaevne(nullptr, 1));
    EXPECT_EQ(CurrentStaevneNavn(), "Kopi");
    EXPECT_EQ(Manager().GetStaevneCount(), 2);
}

TEST_F(LaunchersTest, RenameLeavesTheMeetThatWasOpenOpenWhateverHappens) {
    CreateMeet("Første");
    CreateMeet("Anden");
    CreateMeet("Tredje"); // open
    RenameTo("  Nummer to  ");
    EXPECT_TRUE(RetStaevne(nullptr, 1));
    EXPECT_EQ(Manager().GetStaevneNavn(1), "Nummer to");
    EXPECT_EQ(CurrentStaevneNavn(), "Tredje");

    // A refused name passes on, and the open meet is still the one that was.
    RenameTo("Første");
    EXPECT_EQ(ErrorText([] { RetStaevne(nullptr, 1); }),
              "Illegalt stævnenavn: Første\r\nStævnenavnet er allerede brugt");
    EXPECT_EQ(CurrentStaevneNavn(), "Tredje");
    EXPECT_EQ(Manager().GetStaevneNavn(1), "Nummer to");

    // The open meet itself.
    RenameTo("Tre");
    EXPECT_TRUE(RetStaevne(nullptr, 2));
    EXPECT_EQ(CurrentStaevneNavn(), "Tre");
    EXPECT_TRUE(QFileInfo(Path("Tre")).isDir());
}

TEST_F(LaunchersTest, DeleteOffersTheChosenMeetAndLeavesTheOpenOneOpen) {
    CreateMeet("Første");
    const qint32 anden = CreateMeet("Anden");
    CreateMeet("Tredje"); // open
    QString offered;
    DeleteWith(std::nullopt, &offered);
    EXPECT_FALSE(SletStaevne(nullptr, 1));
    EXPECT_EQ(offered, "Anden");
    EXPECT_EQ(CurrentStaevneNavn(), "Tredje");

    DeleteWith("ZUNO", &offered);
    EXPECT_TRUE(SletStaevne(nullptr, 1));
    EXPECT_EQ(Manager().IndexOfStID(anden), -1);
    EXPECT_EQ(CurrentStaevneNavn(), "Tredje");
    EXPECT_FALSE(QFileInfo::exists(Path("Anden")));

    // Deleting the open meet leaves none open.
    DeleteWith("ZUNO");
    EXPECT_TRUE(SletStaevne(nullptr, 1));
    EXPECT_EQ(CurrentStaevneNavn(), "");
    EXPECT_EQ(Manager().GetStaevneCount(), 1);
}

TEST_F(LaunchersTest, TheDialogsOfferTheOpenMeetAndTheDeleteWordIsZunoInCapitals) {
    CreateMeet("Stævne");
    EXPECT_EQ(TRetStaevneForm().StaevneNavn->text(), "Stævne");
    TSletStaevneForm form;
    EXPECT_EQ(form.StaevneNavn->text(), "Stævne");
    int finished = 0;
    QObject::connect(&form, &QDialog::finished, [&finished] { ++finished; });
    for (const QString& word : QStringList{"zuno", "Zuno", "ZUNO ", ""}) {
        form.SletteKode->setText(word);
        form.OKButton->click();
        EXPECT_EQ(Shown(), QStringList{"Forkert slettekode - stævnet er ikke slettet"}) << word.toStdString();
    }
    EXPECT_EQ(finished, 0);
    form.SletteKode->setText("ZUNO");
    form.OKButton->click();
    EXPECT_EQ(form.result(), mrOk);
    EXPECT_EQ(Manager().GetStaevneCount(), 1); // the launcher deletes, not the dialog
}

// The dialog's list: transfer files in any letter case are offered, other files are not.
TEST_F(LaunchersTest, TheTransferFileFilterIgnoresLetterCase) {
    for (const QString& name : QStringList{"a.kip", "B.KIP", "c.Kip", "d.txt", "kip"})
        WriteFile(Path("filer/" + name), "x");
    const auto dialog = TQtFileChooser::MakeDialog(nullptr, TQtFileChooser::TMode::Open, Path("filer"));
    auto* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    // The model reads the folder on a thread of its own.
    const QString filer = QDir(Path("filer")).absolutePath();
    bool loaded = false;
    QObject::connect(model, &QFileSystemModel::directoryLoaded,
                     [&](const QString& path) { loaded = loaded || QDir(path).absolutePath() == filer; });
    dialog->show();
    for (int turn = 0; !loaded && turn < 5000; ++turn)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    ASSERT_TRUE(loaded);
    const QModelIndex folder = model->index(filer);
    QStringList offered;
    for (int row = 0; row < model->rowCount(folder); ++row) {
        const QModelIndex file = model->index(row, 0, folder);
        if (model->flags(file) & Qt::ItemIsEnabled)
            offered.append(model->fileName(file));
    }
    offered.sort();
    EXPECT_EQ(offered, QStringList({"B.KIP", "a.kip", "c.Kip"}));
    dialog->close();

    const auto save =
        TQtFileChooser::MakeDialog(nullptr, TQtFileChooser::TMode::Save, Path("filer/Mit stævne"));
    EXPECT_TRUE(save->testOption(QFileDialog::DontConfirmOverwrite)) << "asked for the final name instead";
    EXPECT_EQ(save->directory().absolutePath(), QDir(Path("filer")).absolutePath());
}

} // namespace
