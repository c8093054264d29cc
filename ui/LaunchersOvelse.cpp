#include "ui/LaunchersOvelse.h"

#include "ui/DialogRunner.h"
#include "ui/Launchers.h"
#include "ui/ovelse/EditOvelse.h"

void RedigerOvelser(QWidget* owner) {
    TEditOvelseForm form(owner);
    RunDialog(form);
}

void RunOvelseEditor(QWidget* owner) {
    do {
        ReopenOvelseEditor = false;
        if (!RunShowingErrors(owner, [owner] { RedigerOvelser(owner); }))
            ReopenOvelseEditor = false;
    } while (ReopenOvelseEditor);
}
