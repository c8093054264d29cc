#include "ui/LaunchersKlub.h"

#include "EditKlubTestSupport.h"
#include "model/D_StaevneSystemData.h"
#include "ui/Kelvo2MainProg.h"
#include "ui/klub/EditDeltager.h"

#include <QToolButton>

namespace {

class LaunchersKlub : public TEditKlubTest {};

TEST_F(LaunchersKlub, TheClubsButtonOpensTheClubsDialogOnTheOpenMeetWithTheMainWindowHidden) {
    AddKlub(1, QStringLiteral("Aarhus"));
    Manager().SetLastUsedName(QStringLiteral("Stævne"));
    Manager().SaveRegistry();
    OvelseManager.reset();
    StaevneManager.reset();
    TKelvo2MainProgForm window({}, Dir());
    window.show();
    Settle();
    ASSERT_TRUE(window.KlubberButton->isEnabled());
    TScriptedDialogs dialogs;
    bool hidden = false;
    dialogs->Answer<TEditKlubForm>([&](TEditKlubForm& form) {
        hidden = !window.isVisible();
        EXPECT_EQ(form.KlubNavnEdit->text(), "Aarhus");
        return mrCancel;
    });
    window.KlubberButton->click();
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(dialogs->Shown, QStringList({"TEditKlubForm"}));

    SpeakerMode = true;
    window.UpdateView();
    EXPECT_FALSE(window.KlubberButton->isEnabled()) << "nothing is changed in announcer mode";
    SpeakerMode = false;
}

TEST_F(LaunchersKlub, AMeetOfSingleRegistrationsOpensTheParticipantDialogInsteadOfTheClubsDialog) {
    TScriptedDialogs dialogs;
    StaevneManager->SystemData().Gribben = true;
    dialogs->Answer<TEditDeltagerForm>([](TEditDeltagerForm& form) {
        EXPECT_EQ(form.windowTitle(), "Tilmeld deltager");
        return mrCancel;
    });
    RedigerKlubber(nullptr);
    EXPECT_EQ(dialogs->Shown, QStringList({"TEditDeltagerForm"}));
    dialogs->Shown.clear();
    StaevneManager->SystemData().Gribben = false;
    dialogs->Answer<TEditKlubForm>([](TEditKlubForm&) { return mrCancel; });
    RedigerKlubber(nullptr);
    EXPECT_EQ(dialogs->Shown, QStringList({"TEditKlubForm"}));
}
} // namespace
