#include "StaevneDefTestSupport.h"

#include "ui/Kelvo2MainProg.h"
#include "ui/LaunchersStaevne.h"

#include <QLabel>
#include <QToolButton>

namespace {

class NytStaevneTest : public TStaevneDefTest {
protected:
    // Answers the next wizard: a meet of the name with the men's 100 m, finished.
    static void AnswerWizard(const QString& navn) {
        OnNextModal<TStaevneDefForm>([navn](TStaevneDefForm& form) {
            form.StaevneNavn->setText(navn);
            form.Stadion->setText("Stadion");
            form.Arrangor->setText("Klub");
            form.NaesteButton->click();
            ToSide3(form, {"M"}, {"100"});
            form.UdfoerButton->click();
        });
    }
};

TEST_F(NytStaevneTest, TheMainWindowsButtonRunsTheWizardAndShowsTheNewMeetOrChangesNothing) {
    Manager().CreateStaevne("Gammelt");
    OvelseManager.reset();
    StaevneManager.reset();
    TKelvo2MainProgForm window({}, Dir());
    window.show();
    QApplication::processEvents();
    QApplication::processEvents();
    const QString before = window.StaevneLabel->text();

    bool hidden = false;
    OnNextModal<TStaevneDefForm>([&hidden, &window](TStaevneDefForm& form) {
        hidden = !window.isVisible();
        form.reject();
    });
    window.NytStaevneButton->click();
    EXPECT_TRUE(hidden) << "the main window steps aside while the wizard is open";
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.StaevneLabel->text(), before);
    EXPECT_EQ(StaevneManager->GetStaevneCount(), 1);

    AnswerWizard("Efterår");
    window.NytStaevneButton->click();
    EXPECT_EQ(window.StaevneLabel->text(),
              "Efterår (" + QString::number(StaevneManager->GetCurrentStID()) + ")");
    EXPECT_EQ(StaevneManager->GetStaevneCount(), 2);
    EXPECT_EQ(Runder(), QStringList({"M 100 F"}));
}

} // namespace
