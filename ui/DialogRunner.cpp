#include "ui/DialogRunner.h"

#include <QDialog>

namespace {

TReplaceable<TDialogRunner, TModalDialogRunner>& Runner() {
    static TReplaceable<TDialogRunner, TModalDialogRunner> runner;
    return runner;
}

} // namespace

TDialogRunner::~TDialogRunner() = default;

int TModalDialogRunner::Run(QDialog& dialog) {
    return dialog.exec();
}

TDialogRunner& DialogRunner() {
    return Runner().Get();
}

std::unique_ptr<TDialogRunner> InstallDialogRunner(std::unique_ptr<TDialogRunner> runner) {
    return Runner().Install(std::move(runner));
}

int RunDialog(QDialog& dialog) {
    return DialogRunner().Run(dialog);
}
