// What the meet wizard takes from the keyboard: texts that cannot be stored, fees and dates that are no
// fee or date, and leaving after something was entered.
#include "StaevneDefTestSupport.h"

#include "controls/Gui.h"
#include "ui/staevne/RetOvelseData.h"
#include "ui/staevne/StaevneDefHold.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>

namespace {

class TStaevneDefInputTest : public TStaevneDefTest {
protected:
    // Types text into the edit as the user would, then moves on to the next control.
    static void TypeAndLeave(QLineEdit* edit, const QString& text, QWidget* next) {
        edit->setFocus();
        Settle();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        next->setFocus();
        Settle();
    }
    TRecordingPresenter& Answers() { return *static_cast<TRecordingPresenter*>(&MessagePresenter()); }
};

TEST_F(TStaevneDefInputTest, AStadiumOrOrganiserOutsideWindows1252IsRefusedAndNothingIsCreated) {
    auto form = NewWizard();
    form->Stadion->setText(QStringLiteral("Stadion Łódź"));
    ToSide3(*form, {"M"}, {"100"});
    form->UdfoerButton->click();
    EXPECT_EQ(Shown(), QStringList({"Illegalt stadion: Stadion Łódź\r\n"
                                    "Et stadion kan kun indeholde tegn fra tegnsættet Windows-1252"}));
    EXPECT_NE(form->result(), mrOk);
    EXPECT_EQ(Manager().GetStaevneCount(), 0);

    form->Stadion->setText(QStringLiteral("Østerbro Stadion"));
    form->Arrangor->setText(QStringLiteral("Sparta ☺"));
    form->UdfoerButton->click();
    EXPECT_EQ(Shown(), QStringList({"Illegal arrangør: Sparta ☺\r\n"
                                    "En arrangør kan kun indeholde tegn fra tegnsættet Windows-1252"}));
    form->Arrangor->setText(QStringLiteral("Sparta"));
    form->UdfoerButton->click();
    ASSERT_EQ(form->result(), mrOk);
    EXPECT_EQ(Reopen("Sommerstævne").SystemData().Stadion, "Østerbro Stadion");
}

TEST_F(TStaevneDefInputTest, AFeeIsANumberOfZeroOrMoreOrTheDialogSaysWhyNot) {
    auto form = NewWizard();
    ToSide3(*form, {"M"}, {"100"});
    form->Informationer->setCurrentIndex(int(TStaevneDefForm::TVisning::Gebyrer1));
    Select(form->OvelserListbox, {"M"});
    bool checked = false;
    OnNextModal<TRetOvelseDataForm>([&](TRetOvelseDataForm& dialog) {
        ShowActive(dialog);
        // Typed, not dropped a character at a time: what stands is refused with the reason.
        TypeAndLeave(dialog.Startgebyr1, QStringLiteral("abc-5x"), dialog.Efteranmgebyr1);
        EXPECT_EQ(Shown(), QStringList{"\"abc-5x\" er ikke et gyldigt tal"});
        EXPECT_EQ(QApplication::focusWidget(), dialog.Startgebyr1) << "the focus stays on the fee";
        EXPECT_TRUE(dialog.RetStartgebyr1->isChecked());
        dialog.OKButton->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(Shown(), QStringList{"\"abc-5x\" er ikke et gyldigt tal"});

        dialog.Startgebyr1->setText(QStringLiteral("-5"));
        dialog.OKButton->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(Shown(), QStringList{"Et gebyr skal være 0 eller mere: -5"});
        dialog.Startgebyr1->setText(QStringLiteral("12,345"));
        dialog.OKButton->click();
        EXPECT_EQ(Shown(), QStringList{"Der må højst indtastes 2 decimaler"});

        dialog.Startgebyr1->setText(QStringLiteral("0"));
        dialog.RetEfteranmgebyr1->setChecked(true);
        dialog.Efteranmgebyr1->setText(QStringLiteral(" 12.5 "));
        checked = true;
        dialog.OKButton->click();
    });
    form->RetButton->click();
    ASSERT_TRUE(checked);
    const TEditOvelseData& row = *form->Raekke().GetItem(0);
    EXPECT_EQ(std::pair(row.Startgebyr1, row.Efteranmgebyr1), std::pair(0.0, 12.5));
}

TEST_F(TStaevneDefInputTest, AnImpossibleDateIsRefusedAndNeverMovedToAnotherDay) {
    auto form = NewWizard();
    ShowActive(*form);
    TypeAndLeave(form->Dato, QStringLiteral("31-02-2026"), form->Starttidspunkt);
    EXPECT_EQ(Shown(), QStringList{"\"31-02-2026\" er ikke en gyldig dato"});
    EXPECT_EQ(form->Dato->text(), "31-02-2026");
    EXPECT_EQ(QApplication::focusWidget(), form->Dato);
    EXPECT_FALSE(form->NaesteButton->isEnabled()) << "the front page is not complete without a date";
    EXPECT_FALSE(form->Dato->date().isValid());

    TypeAndLeave(form->Dato, QStringLiteral("29.2.28"), form->Starttidspunkt);
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(form->Dato->text(), "29-02-2028") << "shown in its normal form";
    EXPECT_TRUE(form->NaesteButton->isEnabled());
    EXPECT_EQ(TDatoEdit::ParseDato("31-04-2026"), QDate());
    EXPECT_EQ(TDatoEdit::ParseDato("1-13-2026"), QDate());
    EXPECT_EQ(TDatoEdit::ParseDato("01/05/1975"), QDate(1975, 5, 1));

    // A day picked in the calendar is taken as it stands.
    form->Dato->ShowCalendar();
    auto* kalender = form->Dato->findChild<QCalendarWidget*>("Kalender");
    ASSERT_NE(kalender, nullptr);
    EXPECT_EQ(kalender->selectedDate(), QDate(2028, 2, 29));
    emit kalender->clicked(QDate(2026, 3, 1));
    EXPECT_EQ(form->Dato->date(), QDate(2026, 3, 1));
}

TEST_F(TStaevneDefInputTest, LeavingAfterAnythingWasEnteredAsksFirst) {
    // Nothing entered: Escape closes at once.
    TStaevneDefForm form;
    form.SetupNytStaevne();
    ShowActive(form);
    Press(Qt::Key_Escape);
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), mrCancel);

    // A name typed: Escape and the close button ask, and "Nej" keeps the wizard open.
    ShowActive(form);
    form.StaevneNavn->setFocus();
    QTest::keyClicks(form.StaevneNavn, "Vinter");
    Answers().QueueAnswer(mrNo);
    Press(Qt::Key_Escape);
    EXPECT_EQ(Shown(), QStringList{"Stævnet er ikke oprettet, og det indtastede går tabt.\r\n"
                                   "Vil du lukke alligevel?"});
    EXPECT_TRUE(form.isVisible());
    Answers().QueueAnswer(mrNo);
    form.close();
    EXPECT_EQ(Shown().size(), 1);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(Answers().Shown().back().DefaultResult(), mrNo) << "losing the work is not the default";

    // What was entered back as it was: nothing to lose.
    form.StaevneNavn->clear();
    Press(Qt::Key_Escape);
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_FALSE(form.isVisible());

    // Classes chosen count as entered; "Ja" closes.
    ShowActive(form);
    ChooseKlasser(form, {"P12"});
    Answers().QueueAnswer(mrYes);
    form.close();
    EXPECT_EQ(Shown().size(), 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), mrCancel);
    EXPECT_EQ(Manager().GetStaevneCount(), 0);
}

TEST_F(TStaevneDefInputTest, ATeamPagesChoicesAndTheOpenMeetsRowsCountAsEntered) {
    auto form = NewWizard();
    form->DMUHold->click();
    form->NaesteButton->click();
    form->LTUSide1Page->LTUD15->click();
    Answers().QueueAnswer(mrNo);
    form->reject();
    EXPECT_EQ(Shown().size(), 1);

    // The open meet with P12's 80 m and high jump, as an earlier edit left it.
    auto rettes = NewWizard();
    ToSide3(*rettes, {"P12"}, {"80", "HØ"});
    ASSERT_EQ(rettes->Raekke().GetCount(), 2);
    Manager().CreateStaevne("Klubmesterskab");
    TStaevneDefValg valg;
    valg.Dato = EncodeDateTime(QDate(2025, 8, 9), QTime(10, 0));
    valg.Klasser = rettes->ValgteKlasser();
    valg.Raekke = &rettes->Raekke();
    UdfoerRetStaevne(valg);

    TStaevneDefForm form2;
    form2.SetupRetStaevne();
    form2.reject();
    EXPECT_EQ(Shown(), QStringList()) << "the open meet as it was loaded";
    form2.SetupRetStaevne();
    form2.PageControl->setCurrentWidget(form2.Side3Page);
    Select(form2.OvelserListbox, {"P12"});
    form2.OvelserListbox->item(1)->setSelected(false);
    Answers().QueueAnswer(mrYes);
    form2.SletButton->click();
    ASSERT_EQ(form2.Raekke().GetCount(), 1);
    Answers().QueueAnswer(mrNo);
    form2.reject();
    EXPECT_EQ(Shown(), QStringList({"Slet alle markerede øvelser?",
                                    "Ændringerne er ikke gemt og går tabt.\r\nVil du lukke alligevel?"}));
}

TEST_F(TStaevneDefInputTest, AChangeOfViewKeepsExactlyTheSelectedRowsSelected) {
    auto form = NewWizard();
    ToSide3(*form, {"P12", "D12"}, {"80", "200", "HØ", "ST"});
    ASSERT_EQ(form->OvelserListbox->count(), 8);
    // Lines 0, 2, 3 and 7: two runs and a single line.
    for (const int line : {0, 2, 3, 7})
        form->OvelserListbox->item(line)->setSelected(true);
    const std::vector<TEditOvelseData*> before = form->SelectedRows();
    ASSERT_EQ(before.size(), 4u);
    EXPECT_TRUE(form->RetButton->isEnabled());

    form->Informationer->setCurrentIndex(int(TStaevneDefForm::TVisning::AntalPrHeat));
    EXPECT_EQ(form->SelectedRows(), before);
    EXPECT_EQ(form->OvelserListbox->selectedItems().size(), 4);
    EXPECT_TRUE(form->RetButton->isEnabled());
    // The round view shows a line per round and gives each row once.
    form->Informationer->setCurrentIndex(int(TStaevneDefForm::TVisning::RundeInfo));
    EXPECT_EQ(form->SelectedRows(), before);
    EXPECT_FALSE(form->RetButton->isEnabled());
    form->OvelserListbox->clearSelection();
    form->Informationer->setCurrentIndex(int(TStaevneDefForm::TVisning::OvelsesInfo));
    EXPECT_TRUE(form->SelectedRows().empty());
    EXPECT_FALSE(form->SletButton->isEnabled());
}

} // namespace
