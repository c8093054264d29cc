#include "ui/LaunchersKlub.h"

#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "ui/DialogRunner.h"
#include "ui/klub/EditDeltager.h"
#include "ui/klub/EditKlub.h"

void RedigerKlubber(QWidget* owner) {
    if (!StaevneManager || StaevneManager->GetCurrentIndex() < 0)
        return;
    if (StaevneManager->SystemData().Gribben) {
        TEditDeltagerForm form(owner);
        RunDialog(form);
        return;
    }
    TEditKlubForm form(owner);
    RunDialog(form);
}
