#include "ui/LaunchersOvelse.h"

#include "ui/DialogRunner.h"
#include "ui/Launchers.h"
#include "ui/eltid/EltidReaderForm.h"
#include "ui/ovelse/EditOvelse.h"

#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"

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

bool KoerEltidReader(QWidget* owner, TResultatManager& manager, const TOvelseInfo& info, int heat) {
    if (ModelContext().SpeakerMode)
        return false;
    TEltidReaderForm form(owner, TEltidRun{&manager, info.GetKlasseText(), info.GetOvelseText(), heat,
                                           manager.CountHeat(heat), info.HasVindmaaling()});
    return form.Run();
}
