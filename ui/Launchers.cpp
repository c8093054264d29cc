#include "ui/Launchers.h"

#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "platform/Shell.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

const QString KipExtension = QStringLiteral(".kip");

TReplaceable<TFileChooser, TQtFileChooser>& Chooser() {
    static TReplaceable<TFileChooser, TQtFileChooser> chooser;
    return chooser;
}

QString ChosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
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
    return Chooser().Get();
}

std::unique_ptr<TFileChooser> InstallFileChooser(std::unique_ptr<TFileChooser> chooser) {
    return Chooser().Install(std::move(chooser));
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

QString CurrentStaevneNavn() {
    if (!StaevneManager || StaevneManager->GetCurrentIndex() < 0)
        return {};
    return StaevneManager->GetStaevneNavn(StaevneManager->GetCurrentIndex());
}

// ---------------------------------------------------------------- the change notes

bool VisRettelser() {
    return Platform::StartShellCommand(QStringLiteral(".\\zuno2.htm"), ProgramDir,
                                       Platform::TShowMode::Maximized);
}
