#include "ui/LaunchersKlub.h"

#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "ui/DialogRunner.h"
#include "ui/klub/EditKlub.h"

void RedigerKlubber(QWidget* owner) {
    if (!StaevneManager || StaevneManager->GetCurrentIndex() < 0 || StaevneManager->SystemData().Gribben)
        return;
    TEditKlubForm form(owner);
    RunDialog(form);
}
