// The commands of the result page: qualification and transfer to the next round with their refusals
// and the stronger question, the seeding dialog and seeding, points and their messages, the correction,
// deleting a participant, relay legs, undo and the commands that only answer.
#include "EditOvelseTestSupport.h"

#include "foundation/controls/EditUtil.h"
#include "model/D_Result.h"
#include "model/D_StaevneSystemData.h"
#include "ui/ovelse/RadioGroup.h"
#include "ui/ovelse/ResultatKorrektion.h"
#include "ui/ovelse/Seedning.h"
#include "ui/ovelse/StafetNavne.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>

namespace {

class Commands : public TEditOvelseTest {
protected:
    // 100 m I of class M: runners 1-6 in two heats with times, 1 the fastest.
    Commands() {
        for (qint32 nr = 1; nr <= 6; ++nr)
            Enter(Round("M", "100", "I"), nr, 1, nr <= 3 ? 1 : 2, 1100 + nr);
    }
    // Answers the next seeding dialog with OK: at most maxPrHeat in a heat, the best first into heats and
    // lanes; check sees the dialog as it opened.
    static void AnswerSeedning(TScriptedDialogs& dialogs, int maxPrHeat,
                               std::function<void(TSeedningForm&)> check = {}) {
        dialogs->Answer<TSeedningForm>([maxPrHeat, check](TSeedningForm& seedning) {
            if (check)
                check(seedning);
            seedning.MaxPrHeat->SetValue(maxPrHeat);
            seedning.HeatInddeling->SetItemIndex(1);
            seedning.Banefordeling->SetItemIndex(1);
            seedning.OKButton->click();
            return mrNone;
        });
    }
    // The editor on the result page of 100 m I, and "Q" pressed there.
    std::unique_ptr<TEditOvelseForm> OpenAndPressQ() {
        auto form = Open();
        OpenResultPage(*form, Round("M", "100", "I"));
        EXPECT_TRUE(form->VidereDel1ToolButton->isEnabled());
        form->VidereDel1ToolButton->trigger();
        Settle();
        return form;
    }
    static qint32 StoredCount(TOvelseInfo& round) {
        TResultatManager fresh;
        fresh.LoadOvelse(&round);
        return fresh.Count();
    }
};

TEST_F(Commands, QWithoutAFollowingRoundIsRefusedAndChangesNothing) {
    Enter(Round("M", "LÆ"), 1, 2, 1, 600);
    const auto form = Open();
    OpenResultPage(*form, Round("M", "LÆ"));
    EXPECT_FALSE(form->VidereDel1ToolButton->isEnabled());
    EXPECT_FALSE(form->VidereDel2ToolButton->isEnabled());
    form->VidereDel1Click();
    form->VidereDel2Click();
    EXPECT_EQ(Shown(), QStringList({"Der er ikke mulighed for videre avancement herfra",
                                    "Der er ikke mulighed for videre avancement herfra"}));
    for (int row = 1; row <= 2; ++row)
        EXPECT_EQ(form->RowAt(row)->VK, "");
    EXPECT_EQ(form->PageControl->currentWidget(), form->OvelsePage);
}

TEST_F(Commands, QGivesTheCodesAndTellsWhenTiesTookMoreThanTheNextRoundHolds) {
    SetRunde(Round("M", "100", "I"), OvelseRnField::AntalViderePlac, 1);
    SetRunde(Round("M", "100", "I"), OvelseRnField::AntalVidereIalt, 4);
    // Runner 7 wins heat 2; runner 8 equals runner 3, the last to go on by time.
    AddResultat(Round("M", "100", "I"), 7,
                Fields({{ResultatField::Heat, 2}, {ResultatField::Resultat, 1100}}));
    AddResultat(Round("M", "100", "I"), 8,
                Fields({{ResultatField::Heat, 2}, {ResultatField::Resultat, 1103}}));
    AddDeltager(7, "Syv");
    AddDeltager(8, "Otte");
    const auto form = OpenAndPressQ();
    QStringList codes;
    for (int row = 1; row <= form->Manager().Count(); ++row)
        codes << QString::number(form->RowAt(row)->Startnummer) + Cell(*form, TResultColumn::VK, row);
    codes.sort();
    EXPECT_EQ(codes, QStringList({"1F", "2f", "3f", "4", "5", "6", "7F", "8f"}));
    EXPECT_EQ(Shown(),
              QStringList{"Der findes ens tider på sidste kvalifikationsplads, og der er derfor udtaget "
                          "flere end der er plads til i næste runde. Ret manuelt"});
}

TEST_F(Commands, QOnARoundWithNoNumberToTheNextRoundSaysWhereItIsSetAndClearsNoCode) {
    SetRunde(Round("M", "100", "I"), OvelseRnField::AntalViderePlac, 1);
    SetRunde(Round("M", "100", "I"), OvelseRnField::AntalVidereIalt, 0);
    AddResultat(Round("M", "100", "I"), 7, [](TResultatTable& t) {
        t.GetField(ResultatField::Heat)->SetAsInteger(2);
        t.GetField(ResultatField::Resultat)->SetAsInteger(1100);
        t.GetField(ResultatField::VidereKode)->SetAsString("F");
    });
    AddDeltager(7, "Syv");
    const auto form = OpenAndPressQ();
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().contains("Antal i alt til næste runde") && shown.front().contains("egenskaber"))
        << shown.front().toStdString();
    TResultatManager fresh;
    fresh.LoadOvelse(&Round("M", "100", "I"));
    EXPECT_EQ(Row(fresh, 7).VK, "F");
    EXPECT_EQ(Row(form->Manager(), 7).VK, "F");
}

TEST_F(Commands, TheStatusBarShowsTheRoundAsItIsAfterSeedingAndSaving) {
    Enter(Round("K", "100"), 21, 4);
    const auto form = Open();
    OpenResultPage(*form, Round("K", "100"));
    constexpr int Seedet = 5;
    constexpr int Resultater = 6;
    EXPECT_EQ(form->StatusText(Seedet), "NEJ");
    EXPECT_EQ(form->StatusText(Resultater), "NEJ");
    TScriptedDialogs dialogs;
    AnswerSeedning(dialogs, 4);
    form->SeedningToolButton->trigger();
    Settle();
    ASSERT_EQ(form->RowAt(1)->Heat, 1);
    EXPECT_EQ(form->StatusText(Seedet), "JA");
    EXPECT_EQ(form->StatusText(Resultater), "NEJ");

    TypeCell(*form, TResultColumn::Resultat, 1, "12.34", 0);
    form->GemToolButton->trigger();
    Settle();
    EXPECT_EQ(form->StatusText(Seedet), "JA");
    EXPECT_EQ(form->StatusText(Resultater), "JA");
    EXPECT_EQ(form->StatusText(3), "4") << "starters";
}

TEST_F(Commands, ATransferOfALetterNobodyCarriesIsRefusedWithTheLetter) {
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    Recorder().QueueAnswer(mrYes);
    form->VidereDel2ToolButton->trigger();
    Settle();
    EXPECT_EQ(Shown(), QStringList({"Flyt alle med viderekode F til 100 m finale?",
                                    "Der er ingen deltagere med viderekode F"}));
    EXPECT_EQ(StoredCount(Round("M", "100", "F")), 0);
    EXPECT_EQ(form->PageControl->currentWidget(), form->OvelsePage);
}

TEST_F(Commands, ATransferIntoAFinalWithResultsAsksNamingThemAndOpensTheFinalForSeeding) {
    SetRunde(Round("M", "100", "I"), OvelseRnField::AntalViderePlac, 1);
    SetRunde(Round("M", "100", "I"), OvelseRnField::AntalVidereIalt, 4);
    Enter(Round("M", "100", "F"), 1, 2, 1, 1050);
    TScriptedDialogs dialogs;
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    form->VidereDel1ToolButton->trigger();
    Settle();

    Recorder().QueueAnswer(mrYes);
    Recorder().QueueAnswer(mrNo);
    form->VidereDel2ToolButton->trigger();
    Settle();
    EXPECT_EQ(Shown(), QStringList({"Flyt alle med viderekode F til 100 m finale?",
                                    "100 m finale har allerede 2 resultater. De slettes, hvis deltagerne med "
                                    "viderekode F flyttes dertil. Flyt alligevel?"}));
    EXPECT_EQ(Recorder().Shown().back().DefaultButton, 1) << "Nej is the default";
    EXPECT_EQ(StoredCount(Round("M", "100", "F")), 2) << "Nej: the final as it was";
    EXPECT_EQ(form->PageControl->currentWidget(), form->OvelsePage);

    // Ja: the final holds the four qualifiers, opens, and its seeding is offered at once.
    bool offered = false;
    dialogs->Answer<TSeedningForm>([&](TSeedningForm& seedning) {
        offered = true;
        EXPECT_EQ(seedning.MaxPrHeat->GetValue(), 8) << "the final's own settings";
        return mrCancel;
    });
    Recorder().QueueAnswer(mrYes);
    Recorder().QueueAnswer(mrYes);
    form->VidereDel2ToolButton->trigger();
    Settle();
    EXPECT_TRUE(offered);
    EXPECT_EQ(form->PageControl->currentWidget(), form->OvelsePage);
    EXPECT_EQ(form->Manager().OvelseInfo(), &Round("M", "100", "F"));
    EXPECT_EQ(form->Manager().Count(), 4);
    EXPECT_EQ(Round("M", "100", "F").AntalDeltagere, 4);
    EXPECT_FALSE(Round("M", "100", "F").ResultaterFindes);
}

TEST_F(Commands, TheSeedingDialogSeedsTheRoundAndRefusesANegativeHeatSize) {
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    TScriptedDialogs dialogs;
    dialogs->Answer<TSeedningForm>([](TSeedningForm& seedning) {
        seedning.show();
        EXPECT_FALSE(seedning.AntalForsog->isEnabled()) << "only in a Redid meet";
        seedning.OvelseStandard->setChecked(true);
        EXPECT_FALSE(seedning.MaxPrHeat->isEnabled());
        EXPECT_FALSE(seedning.HeatInddeling->isEnabled());
        seedning.OvelseStandard->setChecked(false);
        seedning.MaxPrHeat->SetValue(-2);
        seedning.OKButton->click();
        EXPECT_EQ(seedning.result(), 0) << "still open";
        seedning.NulstilSeedning->setChecked(true);
        seedning.OKButton->click();
        return mrNone;
    });
    // The results are there: seeding is for rounds without them.
    EXPECT_FALSE(form->SeedningToolButton->isEnabled());
    form->SeedningClick();
    Settle();
    EXPECT_EQ(Shown(), QStringList{"Max. antal deltagere pr heat kan ikke være negativ"});
    for (int row = 1; row <= 6; ++row)
        EXPECT_EQ(form->RowAt(row)->Heat, 0);
    EXPECT_EQ(form->SortComboBox->currentIndex(), TEditOvelseForm::SortHeatBaneSide);
    EXPECT_EQ(form->OvelseGrid->Cells(TEditOvelseForm::MarkCol, 1), "*");
}

TEST_F(Commands, SeedingAndPointsFromTheOverviewWriteTheSelectedRoundsAndRefreshTheirCells) {
    Enter(Round("K", "100"), 21, 10);
    const auto form = Open();
    Click(*form, Round("K", "100"));
    ASSERT_TRUE(form->SeedningMenu->isEnabled());
    TScriptedDialogs dialogs;
    const int heatItem = Round("K", "100").GetHeatinddeling() + 1;
    AnswerSeedning(dialogs, 5, [heatItem](TSeedningForm& seedning) {
        EXPECT_EQ(seedning.HeatInddeling->ItemIndex(), heatItem);
    });
    form->SeedningMenu->trigger();
    Settle();
    EXPECT_TRUE(Round("K", "100").SeedningFindes);
    EXPECT_EQ(Round("K", "100").AntalHeat, 2);
    const auto [col, row] = *form->Oversigt().Find(&Round("K", "100"));
    EXPECT_TRUE(form->OversigtGrid->Cells(col, row).contains("10"))
        << form->OversigtGrid->Cells(col, row).toStdString();
    EXPECT_EQ(form->StatusText(5), "JA") << "seeded";
    TResultatManager fresh;
    fresh.LoadOvelse(&Round("K", "100"));
    EXPECT_EQ(fresh.GetHeatCount(), 2);

    // Points by a table file that is not there: the message once for the command.
    Round("M", "100", "I").OvelseRk().GetField(OvelseRkField::PointBeregning)->SetAsInteger(4);
    Ov().Save();
    Click(*form, Round("M", "100", "I"));
    form->BeregnPointMenu->trigger();
    Settle();
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().startsWith("Kan ikke indlæse pointtabel")) << shown.front().toStdString();
}

TEST_F(Commands, ACorrectionMovesEveryAttemptAndOneThatWouldMakeAFoulIsRefused) {
    AddResultat(Round("M", "KU"), 31, Fields({{ResultatField::Heat, 1}}),
                Serie({{1212, 0}, {0, 0}, {1305, 0}}));
    AddResultat(Round("M", "KU"), 32, Fields({{ResultatField::Heat, 1}}), Serie({{SeriePas, 0}, {40, 0}}));
    AddDeltager(31, "Kaster");
    AddDeltager(32, "Kort");
    const auto form = Open();
    OpenResultPage(*form, Round("M", "KU"));
    TScriptedDialogs dialogs;
    const auto korrektion = [&](qint32 value) {
        dialogs->Answer<TResultatKorrektionForm>([value](TResultatKorrektionForm& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "  Korriger resultater");
            dialog.Korrektion->SetValue(value);
            dialog.OKButton->click();
            return mrNone;
        });
        form->KorrigerToolButton->trigger();
        Settle();
    };
    korrektion(5);
    const TResultat& kaster = Row(form->Manager(), 31);
    EXPECT_EQ(kaster.GetSerie(0)->Value, 1217);
    EXPECT_TRUE(kaster.GetSerie(1)->IsFoul());
    EXPECT_EQ(kaster.GetSerie(2)->Value, 1310);
    EXPECT_EQ(kaster.Resultat, 1310);
    EXPECT_EQ(Row(form->Manager(), 32).GetSerie(1)->Value, 45);
    EXPECT_TRUE(Row(form->Manager(), 32).GetSerie(0)->IsPass());
    EXPECT_EQ(Cell(*form, TResultColumn::Resultat, form->Manager().IndexOfStartnummer(31) + 1),
              kaster.GetFieldText(TResultColumn::Resultat));

    korrektion(-45);
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().contains("startnummer 32")) << shown.front().toStdString();
    EXPECT_EQ(Row(form->Manager(), 32).GetSerie(1)->Value, 45) << "nothing changed";
    EXPECT_EQ(Row(form->Manager(), 31).GetSerie(0)->Value, 1217);
}

TEST_F(Commands, DeletingAParticipantAsksWithNejFirstAndTheLastOneGoesBackToTheOverview) {
    Enter(Round("M", "LÆ"), 41, 2, 1, 600);
    const auto form = Open();
    OpenResultPage(*form, Round("M", "LÆ"));
    form->OvelseGrid->GotoCell(TEditOvelseForm::FirstLayoutCol, 2, true);
    const QString navn = form->RowAt(2)->Navn;
    form->SletDeltager->trigger();
    Settle();
    EXPECT_EQ(Shown(), QStringList{"Slet " + navn + "?"});
    EXPECT_EQ(Recorder().Shown().back().DefaultButton, 1);
    EXPECT_EQ(form->Manager().Count(), 2) << "Nej";
    Recorder().QueueAnswer(mrYes);
    form->SletDeltager->trigger();
    Settle();
    EXPECT_EQ(form->Manager().Count(), 1);
    EXPECT_EQ(form->OvelseGrid->RowCount(), 2);
    EXPECT_EQ(form->OvelseGrid->Row(), 1) << "the new last row";
    EXPECT_EQ(StoredCount(Round("M", "LÆ")), 1);
    Recorder().QueueAnswer(mrYes);
    form->SletDeltager->trigger();
    Settle();
    EXPECT_EQ(form->PageControl->currentWidget(), form->OversigtPage);
    EXPECT_EQ(StoredCount(Round("M", "LÆ")), 0);
}

TEST_F(Commands, RelayLegsMustRunFromOneWithoutGapsOrTwinsAndAreStoredAsTheMembersNumbers) {
    AddKlub(1, "Klub 1");
    AddDeltager(50, "Klub 1 stafet", 0, 1);
    for (qint32 nr = 51; nr <= 55; ++nr)
        AddDeltager(nr, QStringLiteral("Løber %1").arg(nr), 2000, 1);
    AddResultat(Round("M", "4X100"), 50, Fields({{ResultatField::Heat, 1}}));
    const auto form = Open();
    OpenResultPage(*form, Round("M", "4X100"));
    ASSERT_TRUE(form->Stafetnavne->isEnabled());
    TScriptedDialogs dialogs;
    dialogs->Answer<TStafetNavneForm>([&](TStafetNavneForm& dialog) {
        TExtStringGrid& grid = *dialog.NavneStringGrid;
        EXPECT_EQ(grid.RowCount(), 1 + 11) << "the club's members but the team itself";
        const auto legs = [&](const QStringList& ture) {
            for (int row = 1; row < grid.RowCount(); ++row)
                grid.SetCells(TStafetNavneForm::TurCol, row, ture.value(row - 1));
            dialog.OKBitBtn->click();
        };
        legs({"1", "2", "4"});
        legs({"1", "1"});
        legs({"x"});
        legs({"0"});
        legs({"-1"});
        EXPECT_EQ(dialog.result(), 0) << "still open";
        legs({"2", "", "1", "4", "3"});
        return mrNone;
    });
    form->Stafetnavne->trigger();
    Settle();
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 5);
    EXPECT_EQ(shown.at(0), "Stafet-ture skal angives fortløbende");
    EXPECT_EQ(shown.at(1), "Der findes flere \"tur 1\"");
    EXPECT_TRUE(shown.at(2).startsWith("Turen \"x\"")) << shown.at(2).toStdString();
    const TResultat& hold = *form->RowAt(1);
    ASSERT_EQ(hold.GetSerieCount(), 4);
    // The grid lists the club's members by name: Deltager 1.., then Løber 51...
    EXPECT_EQ(form->OvelseGrid->Cells(TEditOvelseForm::MarkCol, 1), "*");

    // Opened again, the legs are shown where they are.
    dialogs->Answer<TStafetNavneForm>([&](TStafetNavneForm& dialog) {
        QStringList ture;
        for (int row = 1; row < dialog.NavneStringGrid->RowCount(); ++row)
            ture << dialog.NavneStringGrid->Cells(TStafetNavneForm::TurCol, row);
        EXPECT_EQ(ture.mid(0, 5), QStringList({"2", "", "1", "4", "3"}));
        return mrCancel;
    });
    form->Stafetnavne->trigger();
    Settle();
}

TEST_F(Commands, UndoAsksBeforeDroppingChangesAndTheUnsupportedCommandsSaySo) {
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    TypeCell(*form, TResultColumn::Resultat, 1, "9.99");
    form->FortrydToolButton->trigger();
    Settle();
    EXPECT_EQ(Shown(), QStringList{"Er du sikker på du vil overskrive ændringer?"});
    EXPECT_EQ(Recorder().Shown().back().DefaultButton, 1);
    EXPECT_TRUE(form->Manager().IsModified()) << "Nej keeps them";
    form->ErstatDeltager->trigger();
    Settle();
    EXPECT_EQ(Shown(), QStringList{"Ikke supporteret"});

    // The meet's club check, in a Redid meet.
    Manager().SystemData().Redid = true;
    form->UpdateControls();
    EXPECT_TRUE(form->RedidTest->isVisible());
    form->RedidTest->click();
    Settle();
    EXPECT_EQ(Shown(), QStringList{"OK"});
}

} // namespace
