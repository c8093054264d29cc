#include "ui/Launchers.h"

#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/PathResolver.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "platform/Shell.h"
#include "ui/DialogButtons.h"
#include "ui/ImportStaevne.h"
#include "ui/RetStaevne.h"
#include "ui/SletStaevne.h"
#include "ui/StaevneDef.h"
#include "ui/ValgStaevne2.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace {

const QString KipExtension = QStringLiteral(".kip");

std::unique_ptr<TFileChooser>& InstalledChooser() {
    static std::unique_ptr<TFileChooser> chooser;
    return chooser;
}

QString ChosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

// Opens again the meet with number stID, when it is still listed and not the open one. The meet
// manager cannot close a meet: with none open before, the meet that was offered stays open.
void OpenAgain(qint32 stID) {
    const int index = StaevneManager->IndexOfStID(stID);
    if (index >= 0 && index != StaevneManager->GetCurrentIndex())
        StaevneManager->OpenStaevne(index);
}

// Shows the dialog about the meet at index, which is the current one meanwhile, and on OK runs onOk.
// Afterwards the meet that was open before is open again, also when onOk fails. True on OK.
template <typename Form>
bool AskAboutMeet(QWidget* owner, int index, const std::function<void(Form&)>& onOk) {
    const qint32 before = StaevneManager->GetCurrentStID();
    StaevneManager->OpenStaevne(index);
    bool ok = false;
    try {
        Form form(owner);
        ok = form.exec() == mrOk;
        if (ok)
            onOk(form);
    } catch (...) {
        OpenAgain(before);
        throw;
    }
    OpenAgain(before);
    return ok;
}

} // namespace

// ---------------------------------------------------------------- file dialogs

TFileChooser::~TFileChooser() = default;

std::unique_ptr<QFileDialog> TQtFileChooser::MakeDialog(QWidget* owner, TMode mode, const QString& path) {
    auto dialog = std::make_unique<QFileDialog>(owner);
    dialog->setObjectName(QStringLiteral("KipFileDialog"));
    // Qt's own dialog, whose filter can ignore letter case: "x.KIP" is as much a transfer file as "x.kip".
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFilter(QDir::AllEntries | QDir::AllDirs | QDir::NoDotAndDotDot);
    dialog->setNameFilters(KipFileFilters());
    if (mode == TMode::Save) {
        dialog->setWindowTitle(QStringLiteral("Exporter stævne"));
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        // The question is asked for the final name, once ".kip" is added.
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        dialog->setDirectory(QFileInfo(path).absolutePath());
        dialog->selectFile(QFileInfo(path).fileName());
    } else {
        dialog->setWindowTitle(QStringLiteral("Importér stævne"));
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setDirectory(path);
    }
    return dialog;
}

QString TQtFileChooser::SaveFileName(QWidget* owner, const QString& initialName) {
    return ChosenFile(*MakeDialog(owner, TMode::Save, initialName));
}

QString TQtFileChooser::OpenFileName(QWidget* owner, const QString& folder) {
    return ChosenFile(*MakeDialog(owner, TMode::Open, folder));
}

TFileChooser& FileChooser() {
    std::unique_ptr<TFileChooser>& chooser = InstalledChooser();
    if (!chooser)
        chooser = std::make_unique<TQtFileChooser>();
    return *chooser;
}

std::unique_ptr<TFileChooser> InstallFileChooser(std::unique_ptr<TFileChooser> chooser) {
    std::unique_ptr<TFileChooser> previous = std::move(InstalledChooser());
    InstalledChooser() = std::move(chooser);
    return previous;
}

QStringList KipFileFilters() {
    return {QStringLiteral("ZUNO import files (*.kip)"), QStringLiteral("Alle filer (*)")};
}

QString KipFileName(const QString& chosen) {
    if (chosen.right(KipExtension.size()).compare(KipExtension, Qt::CaseInsensitive) == 0)
        return chosen;
    return chosen + KipExtension;
}

bool RunShowingErrors(QWidget* owner, const std::function<void()>& work) {
    const std::optional<QString> failure = FailureOf(work);
    if (failure)
        ShowError(owner, *failure);
    return !failure;
}

// ---------------------------------------------------------------- the launchers

bool RetStaevne(QWidget* owner, int index) {
    return AskAboutMeet<TRetStaevneForm>(
        owner, index, [](TRetStaevneForm& form) { StaevneManager->RenameStaevne(form.StaevneNavn->text()); });
}

bool SletStaevne(QWidget* owner, int index) {
    return AskAboutMeet<TSletStaevneForm>(owner, index,
                                          [](TSletStaevneForm&) { StaevneManager->DeleteStaevne(); });
}

bool NytStaevne(QWidget* owner) {
    TStaevneDefForm form(owner);
    form.SetupNytStaevne();
    if (form.exec() != mrOk)
        return false;
    StaevneManager->OpenStaevne(StaevneManager->GetStaevneCount() - 1);
    return true;
}

bool VaelgStaevne(QWidget* owner) {
    TValgStaevne2Form form(owner);
    return form.exec() == mrOk;
}

bool EksporterStaevne(QWidget* owner) {
    if (!StaevneManager || StaevneManager->GetCurrentIndex() < 0)
        return false;
    QString offered = ResolvePath(PathJoin(StaevneManager->GetStaevneDir(), CurrentStaevneNavn()));
    for (;;) {
        const QString chosen = FileChooser().SaveFileName(owner, offered);
        if (chosen.isEmpty())
            return false;
        const QString fileName = KipFileName(chosen);
        if (QFileInfo::exists(ResolvePath(fileName))) {
            MessageDefaultButton = 1;
            if (!AskConfirm(owner, QStringLiteral("Filen ") + fileName + QStringLiteral(" findes allerede.") +
                                       CrLf + QStringLiteral("Vil du erstatte den"))) {
                offered = fileName;
                continue;
            }
        }
        StaevneManager->ExportStaevne(fileName);
        return true;
    }
}

bool ImporterStaevne(QWidget* owner, int level) {
    const QString fileName = FileChooser().OpenFileName(owner, ProgramDir);
    if (fileName.isEmpty())
        return false;
    TImportStaevneForm question(owner);
    StaevneManager->ImportStaevne(fileName, level, question);
    return true;
}

bool VisRettelser() {
    return Platform::StartShellCommand(QStringLiteral(".\\zuno2.htm"), ProgramDir,
                                       Platform::TShowMode::Maximized);
}
