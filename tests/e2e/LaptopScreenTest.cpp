// Every window and dialog of the program on a laptop's screen: opened the way the organiser opens it, each
// page of it looked at, nothing may lie past the screen's edge, sit on another control, be squeezed or have
// its caption, heading or list text cut. CTest runs these tests with the offscreen platform given a screen
// of 1366x768 and again of 1280x800 (tests/data/screens); pictures of every page go to the folder
// ZUNO_SCREENSHOTS names.
#include "E2eSupport.h"
#include "ScreenFit.h"
#include "support/ResultFixture.h"

#include "foundation/controls/MsgForm.h"
#include "foundation/controls/Tablist.h"
#include "model/D_Globals.h"
#include "model/D_Indlaes.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "print/PrUtil.h"
#include "server/HttpServerForm.h"
#include "ui/LaunchersEltid.h"
#include "ui/PrUtilPrintForm.h"
#include "ui/board/ResultatInfo.h"
#include "ui/klub/EditDeltager.h"
#include "ui/klub/EditKlub.h"
#include "ui/ovelse/EditOvelse.h"
#include "ui/staevne/EditStaevneData.h"
#include "ui/staevne/RetOvelseData.h"
#include "ui/staevne/StaevneDef.h"
#include "ui/staevne/ValgStaevne2.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <map>

namespace {

QRect Screen() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Shows every dialog that comes through the runner, notes what keeps it from fitting the screen and takes
// pictures of its pages, lets the test open from it what it opens, and cancels it.
class TInspectingRunner : public TDialogRunner {
public:
    int Run(QDialog& dialog) override {
        const QString name = QString::fromLatin1(dialog.metaObject()->className());
        ShowActive(dialog);
        Settle();
        Inspect(dialog);
        const auto explore = Explore.find(name);
        if (explore != Explore.end()) {
            const std::function<void(QDialog&)> work = explore->second;
            Explore.erase(explore);
            work(dialog);
            Settle();
        }
        return mrCancel;
    }

    void Inspect(QWidget& window, const QString& state = {}) {
        QString name = QString::fromLatin1(window.metaObject()->className()) + state;
        if (const int times = ++shown_[name]; times > 1)
            name += u'#' + QString::number(times);
        Seen << QString::fromLatin1(window.metaObject()->className());
        const QString folder = qEnvironmentVariable("ZUNO_SCREENSHOTS");
        const QString size = QStringLiteral("%1x%2").arg(Screen().width()).arg(Screen().height());
        Faults << ScreenFaultsOfEveryPage(window, Screen(), [&](int page) {
            if (!folder.isEmpty()) {
                EXPECT_TRUE(
                    window.grab().save(QStringLiteral("%1/%2-%3-%4.png").arg(folder, size, name).arg(page)));
            }
        });
    }

    std::map<QString, std::function<void(QDialog&)>> Explore;
    QStringList Seen;
    QStringList Faults;

private:
    std::map<QString, int> shown_;
};

class LaptopScreen : public TResultTest {
protected:
    LaptopScreen()
        : preview_(SetPrintPreviewWindow(ShowPrintPreviewForm)) {
        AddKlub(1, QStringLiteral("Aarhus Atletik og Motion"));
        AddKlub(2, QStringLiteral("Odense"));
        for (qint32 nr = 1; nr <= 12; ++nr) {
            AddDeltager(nr, QStringLiteral("Løber med et langt navn %1").arg(nr), 1995, 1 + nr % 2);
            AddResultat(Round("M", "100", "I"), nr, Fields({{ResultatField::Heat, 1 + nr % 2}}));
            AddResultat(Round("M", "4X100"), nr);
            AddResultat(Round("M", "LÆ"), nr);
        }
        Manager().SetLastUsedName(QStringLiteral("Stævne"));
        Manager().SaveRegistry();
        OvelseManager.reset();
        StaevneManager.reset();
    }
    ~LaptopScreen() override {
        window_.Reset();
        SetPrintPreviewWindow(preview_);
    }

    TInspectingRunner& Runner() { return static_cast<TInspectingRunner&>(DialogRunner()); }
    TKelvo2MainProgForm& Window() { return window_.Over(Dir()); }
    // Opens a dialog from the main window, and what explore opens from it.
    template <typename Dialog>
    void From(QAbstractButton* button, std::function<void(Dialog&)> explore = {}) {
        if (explore)
            Runner().Explore[QString::fromLatin1(Dialog::staticMetaObject.className())] =
                [explore](QDialog& dialog) { explore(static_cast<Dialog&>(dialog)); };
        button->click();
        Settle();
    }
    static void FrontPage(TStaevneDefForm& form) {
        form.StaevneNavn->setText(QStringLiteral("Sommerstævne"));
        form.Stadion->setText(QStringLiteral("Østerbro Stadion"));
        form.Arrangor->setText(QStringLiteral("Sparta"));
        Settle();
    }
    static void SelectAll(QListWidget* list) {
        for (int row = 0; row < list->count(); ++row)
            list->item(row)->setSelected(true);
        Settle();
    }
    void ExpectFitting(const QStringList& windows) {
        EXPECT_EQ(Runner().Faults, QStringList());
        for (const QString& window : windows)
            EXPECT_TRUE(Runner().Seen.contains(window)) << "not opened: " << window.toStdString();
    }

    TScopedDialogRunner runner_{std::make_unique<TInspectingRunner>()};
    TScriptedFiles files_;
    TPrintPreviewWindow preview_;
    TStartedMainWindow window_;
};

TEST_F(LaptopScreen, TheMainWindowAndTheMeetDialogsFitWithEveryPage) {
    ASSERT_GE(Screen().width(), 1280) << "run with a laptop's screen (tests/data/screens)";
    TKelvo2MainProgForm& window = Window();
    QKeyEvent reveal(QEvent::KeyPress, Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::sendEvent(&window, &reveal);
    Settle();
    Runner().Inspect(window);
    // A new meet's wizard page by page, its lists filled; then the first page of each team template.
    From<TStaevneDefForm>(window.NytStaevneButton, [this](TStaevneDefForm& form) {
        FrontPage(form);
        form.NaesteButton->click();
        form.Ungdom->click();
        SelectAll(form.StandardKlasser);
        form.OpretKlasser->click();
        Runner().Inspect(form, QStringLiteral("-Klasser"));
        form.NaesteButton->click();
        SelectAll(form.KlasseListbox2);
        SelectAll(form.StandardOvelser);
        form.OpretOvelser->click();
        Runner().Inspect(form, QStringLiteral("-Ovelser"));
        form.NaesteButton->click();
        Runner().Inspect(form, QStringLiteral("-Runder"));
    });
    for (const char* skabelon : {"Danmarksturnering", "VeteranHoldturnering", "DMUHold"}) {
        From<TStaevneDefForm>(window.NytStaevneButton, [this, skabelon](TStaevneDefForm& form) {
            FrontPage(form);
            form.findChild<QRadioButton*>(QString::fromLatin1(skabelon))->click();
            form.NaesteButton->click();
            Settle();
            Runner().Inspect(form, u'-' + QString::fromLatin1(skabelon));
        });
    }
    From<TValgStaevne2Form>(window.VaelgStaevneButton, [](TValgStaevne2Form& form) {
        form.RetButton->click();
        form.SletButton->click();
    });
    From<TEditStaevneDataForm>(window.StaevneDataButton,
                               [](TEditStaevneDataForm& form) { form.RedigerButton->click(); });
    QTest::mouseDClick(window.StaevneLabel, Qt::LeftButton);
    Settle();
    TRetOvelseDataForm ovelseData(&window);
    RunDialog(ovelseData);
    ExpectFitting({"TKelvo2MainProgForm", "TStaevneDefForm", "TValgStaevne2Form", "TRetStaevneForm",
                   "TSletStaevneForm", "TEditStaevneDataForm", "TEditTabelForm", "TRetOvelseDataForm"});
}

TEST_F(LaptopScreen, TheClubsDialogFitsWithEachOfItsPanelsAndTheParticipantDialog) {
    TKelvo2MainProgForm& window = Window();
    From<TEditKlubForm>(window.KlubberButton, [this](TEditKlubForm& form) {
        Runner().Inspect(form, QStringLiteral("-Deltagere"));
        form.AutoTilmeldTool->trigger();
        Settle();
        Runner().Inspect(form, QStringLiteral("-Import"));
        form.AutoTilmeldTool->trigger();
        form.UdskriftTool->trigger();
        Settle();
        Runner().Inspect(form, QStringLiteral("-Udskrift"));
        form.UdskriftTool->trigger();
        form.VisBetalingTool->trigger();
        Settle();
        Runner().Inspect(form, QStringLiteral("-Betaling"));
    });
    TEditDeltagerForm deltager(&window);
    RunDialog(deltager);
    ExpectFitting({"TEditKlubForm", "TEditDeltagerForm"});
}

TEST_F(LaptopScreen, TheEventEditorFitsWithEveryDialogItOpensTheTimingReaderAndThePreview) {
    TKelvo2MainProgForm& window = Window();
    From<TEditOvelseForm>(window.OvelserButton, [this](TEditOvelseForm& form) {
        const auto select = [&form](const TOvelseInfo* round) {
            const auto cell = form.Oversigt().Find(round);
            ASSERT_TRUE(cell.has_value());
            form.OversigtGrid->setFocus();
            form.OversigtGrid->GotoCell(cell->first, cell->second, true);
            Settle();
        };
        select(OvelseManager->FindOvelseInfo("M", "100", "I"));
        form.OvelseEgenskaberToolButton->trigger();
        form.SeedningToolButton->trigger();
        form.UdskrivTilSkaerm->setChecked(true);
        form.UdskrivTilPrinter->setChecked(false);
        form.StartlisteToolButton->trigger();
        Settle();
        form.OpenOvelsePage();
        Settle();
        Runner().Inspect(form, QStringLiteral("-Loeb"));
        form.KorrigerToolButton->trigger();
        form.PageControl->setCurrentWidget(form.OversigtPage);
        Settle();
        select(OvelseManager->FindOvelseInfo("M", "LÆ", ""));
        form.OpenOvelsePage();
        Settle();
        Runner().Inspect(form, QStringLiteral("-Teknik"));
        form.PageControl->setCurrentWidget(form.OversigtPage);
        Settle();
        select(OvelseManager->FindOvelseInfo("M", "4X100", ""));
        form.OpenOvelsePage();
        Settle();
        form.OvelseGrid->GotoCell(form.OvelseGridCol(TResultColumn::Navn), 1, true);
        Settle();
        form.Stafetnavne->trigger();
        Settle();
    });
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "100", "I"));
    KoerEltidReader(&window, manager, Round("M", "100", "I"), 1);
    ExpectFitting({"TEditOvelseForm", "TOvelsePropertyForm", "TSeedningForm", "TPrUtilPrintForm",
                   "TResultatKorrektionForm", "TStafetNavneForm", "TEltidReaderForm"});
}

TEST_F(LaptopScreen, TheBoardTheServerWindowAndAReportOfManyRemarksFit) {
    TKelvo2MainProgForm& window = Window();
    VisResultatInfo(1);

    THttpServerForm server(Dir());
    server.show();
    Settle();
    Runner().Inspect(server);
    server.close();

    // An import's report of more remarks than a box shows.
    TIndlaesRapport rapport;
    for (int line = 0; line < 60; ++line)
        rapport.Problemer.push_back(
            QStringLiteral("Klasse: DRENGE-14, Øvelse: 1500M-FORHINDRING, StartNr: %1, line = %1").arg(line));
    TMessageForm box(&window);
    box.Setup(MakeMessageBox(TMessageKind::Information, IndlaesRapportText(rapport, 40), 0));
    box.PlaceOver(&window);
    box.show();
    Settle();
    Runner().Inspect(box);
    EXPECT_TRUE(Screen().contains(QRect(box.OKBtn->mapToGlobal(QPoint(0, 0)), box.OKBtn->size())));
    ExpectFitting({"TResultatInfoForm", "THttpServerForm", "TMessageForm"});
}

} // namespace
