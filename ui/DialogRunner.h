#pragma once
// Every dialog a window or launcher opens is shown through the one runner: the window program's runs the
// dialog's own modal loop; a test installs one that answers the dialog (sets its controls and gives its
// modal result) without a loop, so no test waits on a window.
#include "foundation/Replaceable.h"

#include <QString>

#include <memory>

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
using TScopedDialogRunner = TScopedInstall<InstallDialogRunner>;
