#include "ui/LaunchersTabel.h"

#include "foundation/BusyCursor.h"
#include "foundation/Messages.h"
#include "model/D_Globals.h"
#include "model/D_Indlaes.h"
#include "model/D_Staevne.h"
#include "ui/DialogRunner.h"
#include "ui/EditTabel.h"

namespace {

// The remarks a box shows; a longer report ends with the number of the others.
constexpr int ShownRemarks = 40;

// Lists the meets anew and opens the one that was open, when it is still listed.
void OpenAgain() {
    if (!StaevneManager)
        return;
    const qint32 stID = StaevneManager->GetCurrentStID();
    StaevneManager->LoadStaevneList();
    if (stID >= 0)
        StaevneManager->OpenStaevne(StaevneManager->IndexOfStID(stID));
}

void ShowRapport(QWidget* owner, const TIndlaesRapport& rapport) {
    ShowInformation(owner, IndlaesRapportText(rapport, ShownRemarks));
}

} // namespace

void RedigerTabeller(QWidget* owner) {
    try {
        TEditTabelForm form(owner);
        RunDialog(form);
    } catch (...) {
        OpenAgain();
        throw;
    }
    OpenAgain();
}

void IndlaesDeltagereFil(QWidget* owner) {
    TIndlaesRapport rapport;
    {
        const TBusyCursor busy;
        rapport = ImportDeltagereFile();
    }
    ShowRapport(owner, rapport);
}

void IndlaesRedidFil(QWidget* owner) {
    TIndlaesRapport rapport;
    {
        const TBusyCursor busy;
        rapport = ImportTilmeldingerFile();
    }
    ShowRapport(owner, rapport);
}
