#include "ui/LaunchersStaevne.h"

#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/PathResolver.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "ui/DialogRunner.h"
#include "ui/staevne/EditStaevneData.h"
#include "ui/staevne/ImportStaevne.h"
#include "ui/staevne/RetStaevne.h"
#include "ui/staevne/SletStaevne.h"
#include "ui/staevne/StaevneDef.h"

#include <QFileInfo>
#include <QLineEdit>

namespace {

// Opens again the meet with number stID, when it is still listed and not the open one. The meet
// manager cannot close a meet: with none open before, the meet that was offered stays open.
void OpenAgain(qint32 stID) {
    const int index = StaevneManager->IndexOfStID(stID);
    if (index >= 0 && index != StaevneManager->GetCurrentIndex())
        StaevneManager->OpenStaevne(index);
}

// Shows the dialog about the meet at index, which is the current one meanwhile, and on OK runs onOk.
// Afterwards the meet that was open before is open again, also when onOk fails. True on OK.
template <typename Form>
bool AskAboutMeet(QWidget* owner, int index, const std::function<void(Form&)>& onOk) {
    const qint32 before = StaevneManager->GetCurrentStID();
    StaevneManager->OpenStaevne(index);
    bool ok = false;
    try {
        Form form(owner);
        ok = RunDialog(form) == mrOk;
        if (ok)
            onOk(form);
    } catch (...) {
        OpenAgain(before);
        throw;
    }
    OpenAgain(before);
    return ok;
}

} // namespace

bool RetStaevne(QWidget* owner, int index) {
    return AskAboutMeet<TRetStaevneForm>(
        owner, index, [](TRetStaevneForm& form) { StaevneManager->RenameStaevne(form.StaevneNavn->text()); });
}

bool SletStaevne(QWidget* owner, int index) {
    return AskAboutMeet<TSletStaevneForm>(owner, index,
                                          [](TSletStaevneForm&) { StaevneManager->DeleteStaevne(); });
}

bool NytStaevne(QWidget* owner) {
    TStaevneDefForm form(owner);
    form.SetupNytStaevne();
    if (RunDialog(form) != mrOk)
        return false;
    StaevneManager->OpenStaevne(StaevneManager->GetStaevneCount() - 1);
    return true;
}

bool VaelgStaevne(QWidget* owner) {
    TValgStaevne2Form form(ValgStaevneActions(), owner);
    return RunDialog(form) == mrOk;
}

TValgStaevneActions ValgStaevneActions() {
    return {RetStaevne, SletStaevne, ImporterStaevne};
}

bool EksporterStaevne(QWidget* owner) {
    if (!StaevneManager || StaevneManager->GetCurrentIndex() < 0)
        return false;
    QString offered = ResolvePath(PathJoin(StaevneManager->GetStaevneDir(), CurrentStaevneNavn()));
    for (;;) {
        const QString chosen = FileChooser().SaveFileName(owner, offered);
        if (chosen.isEmpty())
            return false;
        const QString fileName = KipFileName(chosen);
        if (QFileInfo::exists(ResolvePath(fileName))) {
            MessageDefaultButton = 1;
            if (!AskConfirm(owner, QStringLiteral("Filen ") + fileName + QStringLiteral(" findes allerede.") +
                                       CrLf + QStringLiteral("Vil du erstatte den"))) {
                offered = fileName;
                continue;
            }
        }
        StaevneManager->ExportStaevne(fileName);
        return true;
    }
}

void RedigerStaevneData(QWidget* owner) {
    TEditStaevneDataForm form(owner);
    RunDialog(form);
}

bool ImporterStaevne(QWidget* owner, int level) {
    const QString fileName = FileChooser().OpenFileName(owner, ProgramDir);
    if (fileName.isEmpty())
        return false;
    TImportStaevneForm question(owner);
    StaevneManager->ImportStaevne(fileName, level, question);
    return true;
}
