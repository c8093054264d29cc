#include "StaevneDefTestSupport.h"

#include "support/RecordedMessages.h"

#include "foundation/LxString.h"
#include "foundation/controls/EditUtil.h"
#include "model/D_Context.h"
#include "platform/recordmanager/FileSystem.h"
#include "ui/staevne/RetOvelseData.h"
#include "ui/staevne/StaevneDefHold.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

TEST_F(TStaevneDefTest, PagesShowOneAfterAnotherAsEachIsComplete) {
    const TClockScope today(EncodeDateTime(QDate(2025, 5, 17), QTime(8, 30)));
    TStaevneDefForm form;
    form.SetupNytStaevne();
    EXPECT_EQ(form.Dato->date(), QDate(2025, 5, 17));
    EXPECT_EQ(VisibleTabs(form), QStringList({"ForsidePage"}));
    QTest::keyClicks(form.StaevneNavn, "Forår");
    QTest::keyClicks(form.Stadion, "Fælledparken");
    QTest::keyClicks(form.Arrangor, "   ");
    EXPECT_FALSE(form.NaesteButton->isEnabled()) << "an organiser of blanks is none";
    QTest::keyClicks(form.Arrangor, "Sparta");
    EXPECT_EQ(VisibleTabs(form), QStringList({"ForsidePage", "Side1Page"}));

    form.NaesteButton->click();
    EXPECT_FALSE(form.NaesteButton->isEnabled());
    ChooseKlasser(form, {"P12"});
    ChooseOvelser(form, {"P12"}, {"80"});
    EXPECT_EQ(VisibleTabs(form), QStringList({"ForsidePage", "Side1Page", "Side2Page", "Side3Page"}));
    form.NaesteButton->click();
    EXPECT_EQ(form.PageControl->currentWidget(), form.Side3Page);
    EXPECT_TRUE(form.NaesteButton->isHidden());
    EXPECT_TRUE(form.UdfoerButton->isEnabled());

    // Blanking the name on the front page hides every later tab again.
    form.StaevneNavn->clear();
    EXPECT_EQ(VisibleTabs(form), QStringList({"ForsidePage"}));
    // A team-league template skips the standard pages.
    form.Danmarksturnering->click();
    form.StaevneNavn->setText("Forår");
    EXPECT_EQ(VisibleTabs(form), QStringList({"ForsidePage", "DTSide1Page"}));
    form.DMUHold->click();
    EXPECT_EQ(VisibleTabs(form), QStringList({"ForsidePage", "LTUSide1Page"}));
}

TEST_F(TStaevneDefTest, ClassesOfTheChosenBlockAreAddedOnceInTableOrder) {
    auto form = NewWizard();
    EXPECT_EQ(form->StandardKlasser->count(), 34); // 17 girls and women, 17 boys and men
    EXPECT_EQ(Lines(form->StandardKlasser).front(), "P5\tPiger 4-5 år");

    form->Veteraner->click();
    const QStringList veteraner = Column(form->StandardKlasser, 0);
    EXPECT_EQ(veteraner.size(), 28);
    EXPECT_EQ(veteraner.front(), "K30");
    EXPECT_EQ(veteraner.at(13), "K95");
    EXPECT_EQ(veteraner.at(14), "M30");
    EXPECT_EQ(veteraner.back(), "M95");
    form->Drenge->click();
    EXPECT_EQ(Column(form->StandardKlasser, 0).front(), "M30");
    EXPECT_EQ(form->StandardKlasser->count(), 14);
    form->Piger->click();
    form->Ungdom->click();
    EXPECT_EQ(Column(form->StandardKlasser, 0),
              QStringList({"P5", "P6", "P7", "P8", "P9", "P10", "P11", "P12", "P13", "P14", "P15", "P16",
                           "P17", "P18", "P19", "P22", "K"}));

    form->Begge->click();
    ChooseKlasser(*form, {"M", "P12"});
    ChooseKlasser(*form, {"K50", "M50"}, true);
    ChooseKlasser(*form, {"P12", "D12"});
    EXPECT_EQ(Column(form->KlasseListbox1, 0), QStringList({"P12", "D12", "M", "K50", "M50"}));
    EXPECT_EQ(form->ValgteKlasser(), std::vector<int>({7, 24, 33, 38, 52}));
    EXPECT_TRUE(form->StandardKlasser->selectedItems().isEmpty());

    Select(form->KlasseListbox1, {"D12", "K50"});
    form->SletKlasser->click();
    EXPECT_EQ(Column(form->KlasseListbox1, 0), QStringList({"P12", "M", "M50"}));
}

TEST_F(TStaevneDefTest, NaturalEventsAreThoseTheSelectedClassesShare) {
    auto form = NewWizard();
    ChooseKlasser(*form, {"P12", "D12", "P16"});
    form->NaesteButton->click();
    EXPECT_EQ(Column(form->KlasseListbox2, 0), QStringList({"P12", "P16", "D12"}));
    EXPECT_EQ(form->StandardOvelser->count(), 0);
    for (QCheckBox* box : form->OvelseTyper2)
        EXPECT_FALSE(box->isEnabled());

    Select(form->KlasseListbox2, {"P12", "D12"});
    EXPECT_EQ(Lines(form->StandardOvelser), QStringList({"80", "200", "600", "1000", "4X80", "LÆ\tAfsætszone",
                                                         "HØ", "ST", "DI\t0,75 kg", "SP\t400 g"}));
    Select(form->KlasseListbox2, {"P16"});
    EXPECT_EQ(form->StandardOvelser->count(), 31);

    // The whole catalogue, an event with attribute definitions once for each, filtered by type.
    form->NaturligeOvelser->click();
    for (QCheckBox* box : form->OvelseTyper2)
        EXPECT_TRUE(box->isEnabled());
    for (QCheckBox* box :
         {form->OvelseTyper2[0], form->OvelseTyper2[1], form->OvelseTyper2[3], form->OvelseTyper2[4]})
        box->click();
    const QStringList kast = Lines(form->StandardOvelser);
    EXPECT_EQ(kast.front(), "KU\t2 kg");
    EXPECT_EQ(kast.at(6), "DI\t0,75 kg") << "an event's attributes in their order, then the next event";
    EXPECT_TRUE(kast.contains("HA\t4 kg, wire 116 cm"));
    EXPECT_TRUE(kast.contains("BO\t250 g"));
    EXPECT_FALSE(kast.contains("100"));
    EXPECT_FALSE(kast.contains("HØ"));
    form->OvelseTyper2[3]->click();
    const QStringList stafet = Lines(form->StandardOvelser);
    EXPECT_TRUE(stafet.contains("4X100"));
    EXPECT_TRUE(stafet.contains("1000ST"));
    EXPECT_FALSE(stafet.contains("100"));
}

TEST_F(TStaevneDefTest, EventDetailsSortFilterAndShowEachView) {
    auto form = NewWizard();
    ToSide3(*form, {"P12", "D12"}, {"80", "HØ", "DI"});
    form->OvelseKlasse->click();
    form->OvelseTyper3[0]->click(); // no running events
    EXPECT_EQ(Column(form->OvelserListbox, 1), QStringList({"HØ", "HØ", "DI", "DI"}));
    form->OvelseTyper3[0]->click();
    form->KlasseOvelse->click();

    form->Informationer->setCurrentIndex(int(TStaevneDefForm::TVisning::RundeInfo));
    EXPECT_EQ(Lines(form->OvelserListbox).front(), "P12\t80\tF\t09.08.25 10:00\t0");
    Select(form->OvelserListbox, {"P12"});
    EXPECT_FALSE(form->RetButton->isEnabled());
    form->Informationer->setCurrentIndex(int(TStaevneDefForm::TVisning::AntalPrHeat));
    EXPECT_EQ(form->SelectedRows().size(), 3U) << "the rows stay selected in another view";
    EXPECT_TRUE(form->RetButton->isEnabled());

    Select(form->OvelserListbox, {"D12"});
    {
        TRecordedMessages answers;
        answers.Recorder().QueueAnswer(mrNo);
        form->SletButton->click();
        EXPECT_EQ(answers.Shown(), QStringList({"Slet alle markerede øvelser?"}));
        EXPECT_EQ(form->Raekke().GetCount(), 6);
    }
    form->SletButton->click();
    EXPECT_EQ(Column(form->OvelserListbox, 0), QStringList({"P12", "P12", "P12"}));
    EXPECT_EQ(form->Raekke().GetCount(), 3);
}

TEST_F(TStaevneDefTest, TheEditDialogAppliesOnlyTheTickedValues) {
    auto form = NewWizard();
    form->Starttidspunkt->setTime(QTime(9, 15));
    ToSide3(*form, {"P12"}, {"80", "HØ", "DI"});
    TEditOvelseData& hoejde = *form->Raekke().GetItem(1);
    hoejde.Startgebyr2 = 30;
    hoejde.Slot(2).DatoTid = QDateToDateTime(QDate(2025, 8, 10)) + 0.125; // a time of its own
    Select(form->OvelserListbox, {"P12"});
    form->OvelserListbox->item(0)->setSelected(false); // 80 m stays as it is

    OnNextModal<TRetOvelseDataForm>([](TRetOvelseDataForm& dialog) {
        dialog.Startgebyr1->selectAll();
        QTest::keyClicks(dialog.Startgebyr1, "45,5");
        EXPECT_TRUE(dialog.RetStartgebyr1->isChecked()) << "typing ticks the box";
        dialog.Strafgebyr1->SetValue(99); // shown, not ticked
        dialog.AntalPrHeat->SetValue(12);
        dialog.RetAntalPrHeat->setChecked(true);
        dialog.Runder->findChildren<QRadioButton*>().at(2)->click(); // "Indledende - finale"
        dialog.OKButton->click();
    });
    form->RetButton->click();

    EXPECT_EQ(std::tuple(form->Raekke().GetItem(0)->Startgebyr1, form->Raekke().GetItem(0)->Runder),
              std::tuple(0.0, QString("F")));
    EXPECT_EQ(std::tuple(hoejde.Startgebyr1, hoejde.Strafgebyr1, hoejde.Startgebyr2, hoejde.AntalPrHeat),
              std::tuple(45.5, 0.0, 30.0, 12));
    EXPECT_EQ(hoejde.Runder, "IF");
    EXPECT_EQ(hoejde.Slot(1).DatoTid, QDateToDateTime(QDate(2025, 8, 9)));
    EXPECT_EQ(hoejde.Slot(2).DatoTid, QDateToDateTime(QDate(2025, 8, 10)) + 0.125);
    EXPECT_EQ(form->Raekke().GetItem(2)->Startgebyr1, 45.5);
    EXPECT_EQ(form->SelectedRows().size(), 2U) << "the rows stay selected for the next change";

    // Escape changes nothing; a ticked value that is no number keeps the dialog open.
    OnNextModal<TRetOvelseDataForm>([](TRetOvelseDataForm& dialog) {
        dialog.RetStartgebyr1->setChecked(true);
        dialog.Startgebyr1->setText("x");
        dialog.OKButton->click();
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    form->RetButton->click();
    EXPECT_EQ(hoejde.Startgebyr1, 45.5);
}

TEST_F(TStaevneDefTest, FinishingANewMeetWritesItsProgrammeAtTheTimesTyped) {
    Manager().CreateStaevne("Gammelt");
    Manager().SystemData().Indendors = true;
    auto form = NewWizard();
    form->Starttidspunkt->setTime(QTime(11, 30));
    ChooseKlasser(*form, {"P12", "D12"});
    ChooseOvelser(*form, {"P12", "D12"}, {"80", "HØ"});
    EXPECT_FALSE(form->OpretOvelser->isEnabled());
    // The same class and event again, with one new event: each is made once.
    Select(form->KlasseListbox2, {"P12"});
    Select(form->StandardOvelser, {"80", "DI"});
    form->OpretOvelser->click();
    form->NaesteButton->click();
    form->UdfoerButton->click();
    EXPECT_EQ(form->result(), mrOk);
    EXPECT_EQ(Shown(), QStringList());

    const TSystemData& data = Reopen("Sommerstævne").SystemData();
    EXPECT_EQ(QStringList({data.Overskrift3, data.Stadion, data.Arrangor}),
              QStringList({"den 9.aug 2025 på Østerbro Stadion", "Østerbro Stadion", "Sparta"}));
    EXPECT_FALSE(data.Indendors);
    EXPECT_EQ(DateTimeToQDateTime(data.Dato), QDateTime(QDate(2025, 8, 9), QTime(11, 30)));
    EXPECT_EQ(Runder(), QStringList({"P12 80 F", "P12 HØ F", "P12 DI F", "D12 80 F", "D12 HØ F"}));
    for (const auto& [key, info] : OvelseManager->KlasseIndex())
        EXPECT_EQ(info->GetDatoTidText(), "Lør  kl. 11.30") << info->GetKlasseOvelseKode().toStdString();
    EXPECT_EQ(OvelseManager->FindOvelseInfo("P12", "DI", "")->GetStedKode(), "DI");
    EXPECT_EQ(OvelseManager->FindOvelseInfo("P12", "80", "")->GetStedKode(), "LØB");
}

TEST_F(TStaevneDefTest, ANameInUseCreatesNothingAndTheWizardStaysOpen) {
    Manager().CreateStaevne("Sommerstævne");
    auto form = NewWizard("sommerstævne");
    ToSide3(*form, {"M"}, {"100"});
    form->UdfoerButton->click();
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().startsWith("Fejl ved oprettelse af stævne: sommerstævne\r\n"));
    EXPECT_TRUE(shown.front().contains("Stævnenavnet er allerede brugt"));
    EXPECT_NE(form->result(), mrOk);
    EXPECT_EQ(Manager().GetStaevneCount(), 1);
    EXPECT_EQ(Klasser(), QStringList());
}

// A disk on which the record files of one kind cannot be written.
// Refuses every write to the files whose names hold one of the words.
class TFullDisk : public RecordManager::FileSystem {
public:
    explicit TFullDisk(std::initializer_list<const char*> files)
        : files_(files) {}
    int beforeWrite(const char* path) override {
        for (const char* file : files_)
            if (std::strstr(path, file))
                return ENOSPC;
        return FileSystem::beforeWrite(path);
    }

private:
    std::vector<const char*> files_;
};

TEST_F(TStaevneDefTest, AMeetLeftHalfMadeIsRemovedSoThatARetryWorks) {
    Manager().CreateStaevne("Åbent");
    auto form = NewWizard();
    ToSide3(*form, {"M"}, {"100", "HØ"});
    {
        // The journal cannot be written either: nothing of the meet is stored.
        TFullDisk disk({"OVELSERN", ".zrm-journal"});
        const RecordManager::ScopedFileSystem full(disk);
        form->UdfoerButton->click();
    }
    EXPECT_FALSE(Shown().isEmpty());
    EXPECT_NE(form->result(), mrOk);
    EXPECT_EQ(Manager().IndexOfStaevneNavn("Sommerstævne"), -1);
    EXPECT_FALSE(QFileInfo::exists(Path("Sommerstævne")));
    EXPECT_EQ(CurrentStaevneNavn(), "Åbent") << "the meet open before";

    form->UdfoerButton->click();
    EXPECT_EQ(form->result(), mrOk) << Shown().join("|").toStdString();
    Reopen("Sommerstævne");
    EXPECT_EQ(Runder(), QStringList({"M 100 F", "M HØ F"}));
}

TEST_F(TStaevneDefTest, AFinishWhoseCommitFailsAfterItsJournalIsStoredWholeAndNeverTwice) {
    Manager().CreateStaevne("Åbent");
    auto form = NewWizard();
    ToSide3(*form, {"M"}, {"100", "HØ"});
    {
        // The journal is written, a file's commit fails: the record manager completes it at its next call.
        TFullDisk disk({"OVELSERN"});
        const RecordManager::ScopedFileSystem full(disk);
        form->UdfoerButton->click();
    }
    EXPECT_FALSE(Shown().isEmpty());
    EXPECT_NE(form->result(), mrOk);
    // A retry finds the meet as stored, whole, and does not make a second one of its name.
    form->UdfoerButton->click();
    EXPECT_NE(form->result(), mrOk);
    EXPECT_TRUE(Shown().join("|").contains("Stævnenavnet er allerede brugt"))
        << Shown().join("|").toStdString();
    Manager().LoadStaevneList();
    int named = 0;
    for (int i = 0; i < Manager().GetStaevneCount(); ++i)
        named += Manager().GetStaevneNavn(i) == "Sommerstævne";
    EXPECT_EQ(named, 1);
    Reopen("Sommerstævne");
    EXPECT_EQ(Runder(), QStringList({"M 100 F", "M HØ F"}));
}

// A meet with classes P12 (with events), M50 (without) and the own classes X1 and X2, whose rows share the
// class number of own classes and the event 100.
class TRetStaevneTest : public TStaevneDefTest {
protected:
    TRetStaevneTest() {
        TStaevneManager& manager = Manager();
        manager.CreateStaevne("Klubmesterskab");
        TSystemData& data = manager.SystemData();
        data.Indendors = true;
        data.BrugPersonligRekord = true;
        data.PointBeregning = 3;
        data.Overskrift1 = "Klubmesterskaber";
        data.Stadion = "Banen";
        data.Arrangor = "Klubben";
        manager.SetDato(EncodeDateTime(QDate(2025, 3, 1), QTime(9, 0)));
        manager.SaveStaevneData();

        TOvelseManager& ovelser = *OvelseManager;
        TEditOvelsesRaekke raekke;
        for (const char* ovelse : {"80", "HØ"}) {
            auto row = std::make_unique<TEditOvelseData>();
            row->KlasseNr = FindStdKlasse("P12");
            row->Klasse = "P12";
            row->Ovelse = ovelse;
            row->Runder = "F";
            row->Slot(1).Sted = ovelse;
            row->Slot(1).DatoTid = QDateToDateTime(QDate(2025, 3, 1)) + 1.0 / 24; // 10:00
            raekke.Add(std::move(row));
        }
        const std::vector<int> klasser = {FindStdKlasse("P12"), FindStdKlasse("M50")};
        ovelser.SaveEditOvelsesRaekke(&klasser, raekke);
        raekke.Clear();
        for (const char* klasse : {"X1", "X2"}) {
            ovelser.AddKlasse(klasse);
            auto row = std::make_unique<TEditOvelseData>();
            row->KlasseNr = NoStdKlasse;
            row->Klasse = klasse;
            row->Ovelse = "100";
            row->Runder = "F";
            row->Slot(1).Sted = "LØB";
            raekke.Add(std::move(row));
        }
        ovelser.SaveEditOvelsesRaekke(nullptr, raekke);
        Reopen("Klubmesterskab");
    }
};

TEST_F(TRetStaevneTest, EditModeKeepsTheSettingsAndEveryClassAndRemovesOnlyWhatTheUserRemoved) {
    {
        TStaevneDefForm form;
        form.SetupRetStaevne();
        EXPECT_FALSE(form.Danmarksturnering->isEnabled());
        EXPECT_EQ(form.Starttidspunkt->time(), QTime(9, 0));
        // The standard classes the meet has, the one without events included.
        EXPECT_EQ(Column(form.KlasseListbox1, 0), QStringList({"P12", "M50"}));
        form.Informationer->setCurrentIndex(int(TStaevneDefForm::TVisning::RundeInfo));
        EXPECT_EQ(Lines(form.OvelserListbox),
                  QStringList({"X1\t100\tF\t\t0", "X2\t100\tF\t\t0", "P12\t80\tF\t01.03.25 10:00\t0",
                               "P12\tHØ\tF\t01.03.25 10:00\t0"}));
        form.Stadion->setText("Hallen");
        form.PageControl->setCurrentWidget(form.Side3Page);
        form.UdfoerButton->click();
        EXPECT_EQ(form.result(), mrOk);
        EXPECT_EQ(Shown(), QStringList());
    }
    const TSystemData& data = Reopen("Klubmesterskab").SystemData();
    EXPECT_TRUE(data.Indendors && data.BrugPersonligRekord);
    EXPECT_EQ(data.PointBeregning, 3);
    EXPECT_EQ(QStringList({data.Overskrift1, data.Overskrift3}),
              QStringList({"Klubmesterskaber", "den 1.mar 2025 på Hallen"}));
    EXPECT_EQ(Klasser(), QStringList({"X1", "X2", "P12", "M50"}));
    EXPECT_EQ(Runder(), QStringList({"X1 100 F", "X2 100 F", "P12 80 F", "P12 HØ F"}));
    EXPECT_EQ(DateTimeToQTime(OvelseManager->FindOvelseInfo("P12", "HØ", "")->GetTid()), QTime(10, 0));

    TStaevneDefForm again;
    again.SetupRetStaevne();
    again.PageControl->setCurrentWidget(again.Side1Page);
    Select(again.KlasseListbox1, {"M50"});
    again.SletKlasser->click();
    ToSide3(again, {"D12"}, {"80"});
    Select(again.OvelserListbox, {"X2"});
    again.SletButton->click();
    again.UdfoerButton->click();
    ASSERT_EQ(again.result(), mrOk);
    Reopen("Klubmesterskab");
    EXPECT_EQ(Klasser(), QStringList({"X1", "X2", "P12", "D12"}));
    EXPECT_EQ(Runder(), QStringList({"X1 100 F", "P12 80 F", "P12 HØ F", "D12 80 F"}));
}

} // namespace
