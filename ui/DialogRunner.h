#pragma once
// Every dialog a window or launcher opens is shown through the one runner: the window program's runs the
// dialog's own modal loop; a test installs one that answers the dialog (sets its controls and gives its
// modal result) without a loop, so no test waits on a window.
#include <QString>

#include <memory>
#include <utility>

class QDialog;

class TDialogRunner {
public:
    virtual ~TDialogRunner();
    // Shows dialog modally and gives its modal result (mrOk, mrCancel, ...).
    virtual int Run(QDialog& dialog) = 0;
};

// Runs the dialog's own modal loop.
class TModalDialogRunner : public TDialogRunner {
public:
    int Run(QDialog& dialog) override;
};

// The runner in use; the modal one until another is installed.
TDialogRunner& DialogRunner();
// Installs runner (null: the modal one) and hands back the one it replaces.
std::unique_ptr<TDialogRunner> InstallDialogRunner(std::unique_ptr<TDialogRunner> runner);

// Shows dialog through the runner in use; its modal result.
int RunDialog(QDialog& dialog);

// Installs a runner for its own lifetime and puts the previous one back.
class TScopedDialogRunner {
public:
    explicit TScopedDialogRunner(std::unique_ptr<TDialogRunner> runner)
        : previous_(InstallDialogRunner(std::move(runner))) {}
    ~TScopedDialogRunner() { InstallDialogRunner(std::move(previous_)); }
    TScopedDialogRunner(const TScopedDialogRunner&) = delete;
    TScopedDialogRunner& operator=(const TScopedDialogRunner&) = delete;

private:
    std::unique_ptr<TDialogRunner> previous_;
};
