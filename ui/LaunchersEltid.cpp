#include "ui/LaunchersEltid.h"

#include "ui/eltid/EltidReaderForm.h"

#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"

bool KoerEltidReader(QWidget* owner, TResultatManager& manager, const TOvelseInfo& info, int heat) {
    if (ModelContext().SpeakerMode)
        return false;
    TEltidReaderForm form(owner, TEltidRun{&manager, info.GetKlasseText(), info.GetOvelseText(), heat,
                                           manager.CountHeat(heat), info.HasVindmaaling()});
    return form.Run();
}
