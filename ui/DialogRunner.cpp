#include "ui/DialogRunner.h"

#include <QDialog>

namespace {

std::unique_ptr<TDialogRunner>& InstalledRunner() {
    static std::unique_ptr<TDialogRunner> runner;
    return runner;
}

} // namespace

TDialogRunner::~TDialogRunner() = default;

int TModalDialogRunner::Run(QDialog& dialog) {
    return dialog.exec();
}

TDialogRunner& DialogRunner() {
    std::unique_ptr<TDialogRunner>& runner = InstalledRunner();
    if (!runner)
        runner = std::make_unique<TModalDialogRunner>();
    return *runner;
}

std::unique_ptr<TDialogRunner> InstallDialogRunner(std::unique_ptr<TDialogRunner> runner) {
    std::unique_ptr<TDialogRunner> previous = std::move(InstalledRunner());
    InstalledRunner() = std::move(runner);
    return previous;
}

int RunDialog(QDialog& dialog) {
    return DialogRunner().Run(dialog);
}
