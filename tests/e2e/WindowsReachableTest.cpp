// Every window of the program is reached from the main window: each of its buttons is enabled with a
// meet open and opens its dialog; in the event editor every command that its page and selection call for
// is enabled and the dialogs of the result page's commands open.
#include "E2eSupport.h"
#include "support/ResultFixture.h"

#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "ui/EditTabel.h"
#include "ui/klub/EditKlub.h"
#include "ui/ovelse/EditOvelse.h"
#include "ui/ovelse/OvelProp.h"
#include "ui/ovelse/ResultatKorrektion.h"
#include "ui/ovelse/Seedning.h"
#include "ui/ovelse/StafetNavne.h"
#include "ui/staevne/EditStaevneData.h"
#include "ui/staevne/StaevneDef.h"
#include "ui/staevne/ValgStaevne2.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

namespace {

// Takes the URLs the desktop would open.
class TOpened : public QObject {
    Q_OBJECT
public slots:
    void Open(const QUrl& url) { Urls << url; }

public:
    QList<QUrl> Urls;
};

class WindowsReachable : public TResultTest {
protected:
    WindowsReachable() {
        AddKlub(1, QStringLiteral("Aarhus"));
        for (qint32 nr = 1; nr <= 4; ++nr) {
            AddDeltager(nr, QStringLiteral("Løber %1").arg(nr), 1995, 1);
            AddResultat(Round("M", "100", "I"), nr);
            AddResultat(Round("M", "4X100"), nr);
        }
        Manager().SetLastUsedName(QStringLiteral("Stævne"));
        Manager().SaveRegistry();
        OvelseManager.reset();
        StaevneManager.reset();
    }

    // The main window started over the folder, the meet open.
    TKelvo2MainProgForm& Window() { return window_.Over(Dir()); }
    // The button clicked, the dialog it opens expected and cancelled.
    template <typename Dialog>
    void Opens(QAbstractButton* button) {
        bool opened = false;
        dialogs_->Answer<Dialog>([&opened](Dialog&) {
            opened = true;
            return mrCancel;
        });
        button->click();
        Settle();
        EXPECT_TRUE(opened) << button->objectName().toStdString();
    }
    // The same for a command of the event editor.
    template <typename Dialog>
    void Opens(QAction* action) {
        bool opened = false;
        dialogs_->Answer<Dialog>([&opened](Dialog&) {
            opened = true;
            return mrCancel;
        });
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
        action->trigger();
        Settle();
        EXPECT_TRUE(opened) << action->objectName().toStdString();
    }

    // The editor's commands that the page calls for but that are disabled.
    static QStringList WantedButDisabled(const TEditOvelseForm& form) {
        QList<QAction*> actions = form.OvelseToolBar->actions() + form.PrintToolBar->actions();
        for (QMenu* menu : {form.OvelseGridPopup, form.OversigtGridPopup})
            actions += menu->actions();
        QStringList disabled;
        for (QAction* action : actions) {
            // A hidden command is not offered.
            if (action->isSeparator() || !action->isVisible() || !form.IsCommandWanted(action))
                continue;
            if (!action->isEnabled())
                disabled << action->objectName() + u' ' + action->text();
        }
        return disabled;
    }

    TScriptedDialogs dialogs_;
    TScriptedFiles files_;
    TStartedMainWindow window_;
};

TEST_F(WindowsReachable, EveryButtonOfTheMainWindowIsEnabledWithAMeetOpenAndOpensItsWindow) {
    TKelvo2MainProgForm& window = Window();
    ASSERT_EQ(CurrentStaevneNavn(), "Stævne");
    // Ctrl+Shift+F5 shows the registration import's button.
    QKeyEvent reveal(QEvent::KeyPress, Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::sendEvent(&window, &reveal);
    QList<QAbstractButton*> buttons = window.MainToolBar->findChildren<QAbstractButton*>();
    buttons << window.ImportButton;
    for (QAbstractButton* button : buttons) {
        if (button->objectName().isEmpty() || button->objectName().startsWith("qt_"))
            continue; // the tool bar's own extension arrow
        EXPECT_TRUE(button->isVisible() && button->isEnabled()) << button->objectName().toStdString();
    }

    Opens<TStaevneDefForm>(window.NytStaevneButton);
    Opens<TValgStaevne2Form>(window.VaelgStaevneButton);
    Opens<TEditStaevneDataForm>(window.StaevneDataButton);
    Opens<TEditKlubForm>(window.KlubberButton);
    Opens<TEditOvelseForm>(window.OvelserButton);
    window.ExportButton->click();
    Settle();
    EXPECT_EQ(files_->Offered.size(), 1) << "the file dialog of the export";
    TOpened opened;
    QDesktopServices::setUrlHandler("file", &opened, "Open");
    window.RettelserButton->click();
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_EQ(opened.Urls.size(), 1) << "the change notes";
    window.ImportButton->click();
    Settle();
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().contains("Deltagere.csv"))
        << "no file to read: " << shown.front().toStdString();
    bool tables = false;
    dialogs_->Answer<TEditTabelForm>([&tables](TEditTabelForm&) {
        tables = true;
        return mrCancel;
    });
    QTest::mouseDClick(window.StaevneLabel, Qt::LeftButton);
    Settle();
    EXPECT_TRUE(tables) << "the meet label's double click";
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowsReachable, EveryCommandTheEventEditorCallsForIsEnabledAndOpensItsDialog) {
    TKelvo2MainProgForm& window = Window();
    bool ran = false;
    dialogs_->Answer<TEditOvelseForm>([&](TEditOvelseForm& form) {
        ran = true;
        ShowActive(form);
        Settle();
        const auto click = [&form](const TOvelseInfo* round) {
            const auto cell = form.Oversigt().Find(round);
            EXPECT_TRUE(cell.has_value());
            if (!cell)
                return;
            form.OversigtGrid->setFocus();
            form.OversigtGrid->GotoCell(cell->first, cell->second, true);
            Settle();
        };
        // The overview with a round selected.
        click(OvelseManager->FindOvelseInfo("M", "100", "I"));
        EXPECT_EQ(WantedButDisabled(form), QStringList());
        Opens<TOvelsePropertyForm>(form.OvelseEgenskaberToolButton);
        Opens<TSeedningForm>(form.SeedningToolButton);

        // The result page of the heats.
        form.OpenOvelsePage();
        Settle();
        EXPECT_EQ(form.PageControl->currentWidget(), form.OvelsePage);
        EXPECT_EQ(WantedButDisabled(form), QStringList());
        Opens<TSeedningForm>(form.SeedningToolButton);
        Opens<TResultatKorrektionForm>(form.KorrigerToolButton);

        // The relay's page: the legs' names of a team.
        form.PageControl->setCurrentWidget(form.OversigtPage);
        Settle();
        click(OvelseManager->FindOvelseInfo("M", "4X100", ""));
        form.OpenOvelsePage();
        Settle();
        EXPECT_EQ(WantedButDisabled(form), QStringList());
        form.OvelseGrid->GotoCell(form.OvelseGridCol(TResultColumn::Navn), 1, true);
        Settle();
        Opens<TStafetNavneForm>(form.Stafetnavne);
        form.done(mrOk);
        return mrNone;
    });
    window.OvelserButton->click();
    Settle();
    EXPECT_TRUE(ran);
}

} // namespace

#include "WindowsReachableTest.moc"
