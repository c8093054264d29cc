#include "StaevneDefTestSupport.h"

#include "ui/DialogButtons.h"
#include "ui/Kelvo2MainProg.h"
#include "ui/Launchers.h"

#include <QLabel>
#include <QToolButton>

namespace {

class NytStaevneTest : public TStaevneDefTest {
protected:
    // Answers the next wizard: a meet of the name with the men's 100 m, finished; or cancelled.
    static void AnswerWizard(const std::optional<QString>& navn) {
        OnNextModal<TStaevneDefForm>([navn](TStaevneDefForm& form) {
            if (!navn) {
                form.reject();
                return;
            }
            form.StaevneNavn->setText(*navn);
            form.Stadion->setText("Stadion");
            form.Arrangor->setText("Klub");
            form.NaesteButton->click();
            ToSide3(form, {"M"}, {"100"});
            form.UdfoerButton->click();
        });
    }
};

TEST_F(NytStaevneTest, TheLauncherOpensTheNewMeetAndACancelChangesNothing) {
    Manager().CreateStaevne("Gammelt");
    Manager().CreateStaevne("Andet");
    Manager().OpenStaevne(0);

    AnswerWizard(std::nullopt);
    EXPECT_FALSE(NytStaevne(nullptr));
    EXPECT_EQ(Manager().GetStaevneCount(), 2);
    EXPECT_EQ(CurrentStaevneNavn(), "Gammelt");

    AnswerWizard("Nyt");
    EXPECT_TRUE(NytStaevne(nullptr));
    EXPECT_EQ(Manager().GetStaevneCount(), 3);
    EXPECT_EQ(Manager().GetCurrentIndex(), 2);
    EXPECT_EQ(CurrentStaevneNavn(), "Nyt");
    EXPECT_EQ(Runder(), QStringList({"M 100 F"}));
}

TEST_F(NytStaevneTest, TheMainWindowsButtonRunsTheWizardAndShowsTheNewMeet) {
    OvelseManager.reset();
    StaevneManager.reset();
    TKelvo2MainProgForm window({}, Dir());
    window.show();
    QApplication::processEvents();
    QApplication::processEvents();
    ASSERT_TRUE(window.NytStaevneButton->isEnabled());
    EXPECT_EQ(window.StaevneLabel->text(), "");

    bool hidden = false;
    OnNextModal<TStaevneDefForm>([&hidden, &window](TStaevneDefForm& form) {
        hidden = !window.isVisible();
        form.reject();
    });
    window.NytStaevneButton->click();
    EXPECT_TRUE(hidden) << "the main window steps aside while the wizard is open";
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.StaevneLabel->text(), "");

    AnswerWizard("Efterår");
    window.NytStaevneButton->click();
    EXPECT_EQ(window.StaevneLabel->text(),
              "Efterår (" + QString::number(StaevneManager->GetCurrentStID()) + ")");
    EXPECT_TRUE(window.ExportButton->isEnabled());
}

} // namespace
