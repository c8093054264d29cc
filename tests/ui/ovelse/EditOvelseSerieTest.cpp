// Series mode of the result page: entering it only for a seeded round, attempts typed until an empty one
// ends the row, the results and places they give when the mode is left, and the attempt-series file.
#include "EditOvelseTestSupport.h"

#include "model/D_Result.h"
#include "model/D_ResultSerieFil.h"
#include "model/D_StaevneSystemData.h"

#include <QAction>
#include <QFile>

namespace {

class SerieMode : public TEditOvelseTest {
protected:
    static constexpr int Attempt1 = TEditOvelseForm::FirstAttemptCol;

    // High jump M: athletes 11-14 in group 1.
    SerieMode() { Enter(Round("M", "HØ"), 11, 4, 1); }

    static TResultat& SerieRow(TEditOvelseForm& form, int row) {
        return *form.Manager().GetResultat(row - 1);
    }
    // The round's result page from wherever the editor stands, and series mode asked for.
    static void EnterSerieMode(TEditOvelseForm& form, const TOvelseInfo& round) {
        form.PageControl->setCurrentWidget(form.OversigtPage);
        Settle();
        OpenResultPage(form, round);
        form.ResultatSerieToolButton->trigger();
        Settle();
    }
    static int RowOf(TEditOvelseForm& form, qint32 startnummer) {
        return form.Manager().IndexOfStartnummer(startnummer) + 1;
    }
    void WriteFile(const QString& name, const QByteArray& bytes) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(SerieMode, AttemptsAreTypedUntilAnEmptyOneEndsTheRowAndLeavingPlacesTheRows) {
    const auto form = Open();
    OpenResultPage(*form, Round("M", "HØ"));
    ASSERT_TRUE(form->ResultatSerieToolButton->isEnabled());
    form->ResultatSerieToolButton->trigger();
    Settle();
    ASSERT_TRUE(form->SerieMode());
    EXPECT_EQ(form->ResultatSerieToolButton->text(), "Godkend serier");
    EXPECT_TRUE(form->SerieGrid->isVisible());
    EXPECT_FALSE(form->OvelseGrid->isVisible());
    EXPECT_EQ(form->SerieGrid->Col(), Attempt1);
    EXPECT_EQ(form->SerieGrid->Row(), 1);
    EXPECT_FALSE(form->GemToolButton->isEnabled()) << "the commands wait for the series";
    EXPECT_FALSE(form->ResultatSerieToolButton->isEnabled()) << "only left of the attempts";

    // Row 1: 1.70 at the first try, 1.75 at the second, three failures at 1.80; then an empty attempt.
    form->SerieGrid->setFocus();
    TypeKeys("1701");
    Press(Qt::Key_Right);
    TypeKeys("1752");
    Press(Qt::Key_Right);
    TypeKeys("1804");
    Press(Qt::Key_Right);
    EXPECT_EQ(form->SerieGrid->Col(), Attempt1 + 3);
    Press(Qt::Key_Right);
    EXPECT_EQ(form->SerieGrid->Row(), 2) << "the empty attempt ended the row";
    EXPECT_EQ(form->SerieGrid->Col(), Attempt1);
    const TResultat& first = SerieRow(*form, 1);
    EXPECT_EQ(first.GetSerieCount(), 3);
    EXPECT_EQ(first.Resultat, 175);
    EXPECT_EQ(form->SerieGrid->Cells(TEditOvelseForm::SerieResultatCol, 1),
              first.GetFieldText(TResultColumn::Resultat));
    EXPECT_EQ(form->SerieGrid->Cells(Attempt1 + 1, 1), first.GetSerieText(1));

    // Row 2 clears 1.75 at the first try; a status typed into an attempt is the row's status.
    TypeKeys("1701");
    Press(Qt::Key_Right);
    TypeKeys("1751");
    Press(Qt::Key_Right);
    TypeKeys("1804");
    Press(Qt::Key_Down);
    TypeSerie(*form, Attempt1, 3, "e", Qt::Key_Down);
    EXPECT_EQ(SerieRow(*form, 3).RK, "E");
    EXPECT_EQ(SerieRow(*form, 3).GetSerieCount(), 0);

    // On the last row an empty attempt goes to its status.
    ASSERT_EQ(form->SerieGrid->Row(), 4);
    ASSERT_EQ(form->SerieGrid->Col(), Attempt1);
    Press(Qt::Key_Right);
    EXPECT_EQ(form->SerieGrid->Row(), 4);
    EXPECT_EQ(form->SerieGrid->Col(), TEditOvelseForm::SerieRKodeCol);
    EXPECT_TRUE(form->ResultatSerieToolButton->isEnabled());

    // Leaving: the rows placed and shown by result.
    const qint32 second = SerieRow(*form, 2).Startnummer;
    form->ResultatSerieToolButton->trigger();
    Settle();
    EXPECT_FALSE(form->SerieMode());
    EXPECT_EQ(form->ResultatSerieToolButton->text(), "Indtast resultater");
    EXPECT_TRUE(form->OvelseGrid->isVisible());
    EXPECT_EQ(form->RowAt(1)->Startnummer, second);
    EXPECT_EQ(form->RowAt(1)->Plac, 1);
    EXPECT_EQ(form->RowAt(2)->Plac, 2);
    EXPECT_EQ(Cell(*form, TResultColumn::Plac, 1), "1");
    EXPECT_TRUE(Shown().isEmpty());
    form->GemToolButton->trigger();
    Settle();
    TResultatManager fresh;
    fresh.LoadOvelse(&Round("M", "HØ"));
    EXPECT_EQ(Row(fresh, second).Resultat, 175);
    EXPECT_EQ(Row(fresh, second).GetSerieCount(), 3);
}

TEST_F(SerieMode, TriesThatCannotHappenAtAHeightAreRefusedAndAThrowOfOneDecimalIsInMetres) {
    Enter(Round("M", "KU"), 21, 1, 1);
    const auto form = Open();
    const auto toggleSerieMode = [&] {
        form->SerieGrid->GotoCell(TEditOvelseForm::SerieRKodeCol, 1, true);
        Settle();
        form->ResultatSerieToolButton->trigger();
        Settle();
    };
    EnterSerieMode(*form, Round("M", "HØ"));
    ASSERT_TRUE(form->SerieMode());
    // A try after a clearance or a pass, in one attempt or spread over two, and a fourth try at a height.
    const std::pair<const char*, const char*> impossible[] = {{"180,+-", nullptr},
                                                              {"180,*-", nullptr},
                                                              {"180,+", "180,-"},
                                                              {"180,--", "180,--"},
                                                              {"180,*", "180,+"}};
    for (const auto& [first, second] : impossible) {
        TypeSerie(*form, Attempt1, 1, first, Qt::Key_Right);
        if (second)
            TypeSerie(*form, Attempt1 + 1, 1, second, Qt::Key_Right);
        EXPECT_EQ(Shown().size(), 1) << first;
        EXPECT_EQ(SerieRow(*form, 1).GetSerieCount(), second ? 1 : 0) << first;
        EXPECT_EQ(form->SerieGrid->Col(), second ? Attempt1 + 1 : Attempt1) << "the refused attempt stays";
        // Emptied for the next case.
        Press(Qt::Key_A, Qt::ControlModifier);
        Press(Qt::Key_Backspace);
        form->SerieGrid->CommitCell();
        SerieRow(*form, 1).ClearSerier();
        form->FillSerieGrid();
        Settle();
    }
    // A failure and then a pass, and a failure and a clearance spread over two attempts, can happen.
    TypeSerie(*form, Attempt1, 1, "175,-*", Qt::Key_Right);
    TypeSerie(*form, Attempt1 + 1, 1, "180,-", Qt::Key_Right);
    TypeSerie(*form, Attempt1 + 2, 1, "180,+", Qt::Key_Right);
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_EQ(SerieRow(*form, 1).Resultat, 180);
    toggleSerieMode();
    ASSERT_FALSE(form->SerieMode());

    // In a throw "11.5" is 11.50 m, not 1.15 m.
    EnterSerieMode(*form, Round("M", "KU"));
    TypeSerie(*form, Attempt1, 1, "11.5", Qt::Key_Right);
    EXPECT_EQ(SerieRow(*form, 1).Resultat, 1150);
    toggleSerieMode();
    form->GemToolButton->trigger();
    Settle();
    TResultatManager fresh;
    fresh.LoadOvelse(&Round("M", "KU"));
    EXPECT_EQ(Row(fresh, 21).Resultat, 1150);
    EXPECT_EQ(Row(fresh, 21).GetSerie(0)->Value, 1150);
}

TEST_F(SerieMode, OnlyASeededRoundWithEveryStarterInAHeatTakesSeries) {
    Enter(Round("M", "KU"), 21, 2);
    const auto form = Open();
    EnterSerieMode(*form, Round("M", "KU"));
    EXPECT_EQ(Shown(), QStringList{"Der er ikke seedet, der skal seedes før resultater kan indtastes"});
    EXPECT_FALSE(form->SerieMode());

    form->PageControl->setCurrentWidget(form->OversigtPage);
    Settle();
    Enter(Round("M", "KU"), 23, 1, 1);
    EnterSerieMode(*form, Round("M", "KU"));
    EXPECT_EQ(Shown(), QStringList{"Der findes deltagere i heat 0, hvilket ikke er tilladt"});
    EXPECT_FALSE(form->SerieMode());

    // In series mode the page cannot be left and the window cannot close.
    EnterSerieMode(*form, Round("M", "HØ"));
    ASSERT_TRUE(form->SerieMode());
    form->PageControl->setCurrentWidget(form->OversigtPage);
    Settle();
    EXPECT_EQ(form->PageControl->currentWidget(), form->OvelsePage);
    form->reject();
    Settle();
    EXPECT_TRUE(form->isVisible());
}

TEST_F(SerieMode, TheHighJumpFileGivesItsOXAndDashAsTriesAtTheHeightsOfTheCompetition) {
    // Class K with an event coded HJ, as the file is named.
    {
        TOvelseTable catalogue;
        catalogue.Open();
        catalogue.Insert();
        catalogue.GetField(OvelseField::Sortkode)->SetAsInteger(601);
        catalogue.GetField(OvelseField::Ovelse)->SetAsString("HJ");
        catalogue.GetField(OvelseField::Korttekst)->SetAsString("Højdespring");
        catalogue.GetField(OvelseField::Ovtype)->SetAsInteger(int(TOvtype::VertikalSpring));
        catalogue.GetField(OvelseField::Restype)->SetAsInteger(2);
        catalogue.Post();
    }
    OvelseManager.reset();
    AddProgramme({{"K", "HJ", "F"}});
    TOvelseInfo& hj = Round("K", "HJ");
    Enter(hj, 11, 4, 1);
    Manager().SystemData().CsvLoadFilePath = Dir();
    EXPECT_EQ(ResultatSerieFilNavn(hj), "EVENT-K-HJ--0.CSV");

    const auto form = Open();
    OpenResultPage(*form, hj);
    form->ResultatSerieToolButton->trigger();
    Settle();
    ASSERT_TRUE(form->SerieMode());
    // The file is looked for in the folder of the setting, from left of the attempts.
    EXPECT_FALSE(form->ReadResultatSerieToolButton->isEnabled());
    form->SerieGrid->GotoCell(TEditOvelseForm::SerieRKodeCol, 1, true);
    Settle();
    ASSERT_TRUE(form->ReadResultatSerieToolButton->isEnabled());
    form->ReadResultatSerieToolButton->trigger();
    Settle();
    EXPECT_EQ(Shown(), QStringList{"Findes ikke: " + Path("EVENT-K-HJ--0.CSV")});

    // The heights come from the series typed so far.
    TypeSerie(*form, Attempt1, RowOf(*form, 11), "1501", Qt::Key_Right);
    TypeKeys("1551");
    Press(Qt::Key_Right);
    TypeKeys("1601");
    Press(Qt::Key_Right);
    form->SerieGrid->GotoCell(TEditOvelseForm::SerieRKodeCol, 1, true);
    Settle();
    WriteFile("event-k-hj--0.csv", "12;O;XO;XXX\r\n13;150:XO;\"155:-\"\r\nNr;150;155\r\n99;O\n14;O;D\n");
    form->ReadResultatSerieToolButton->trigger();
    Settle();
    const TResultat& twelve = *form->Manager().GetResultat(form->Manager().IndexOfStartnummer(12));
    ASSERT_EQ(twelve.GetSerieCount(), 3);
    EXPECT_EQ(twelve.GetSerieEditText(0), "150,+");
    EXPECT_EQ(twelve.GetSerieEditText(1), "155,-+");
    EXPECT_EQ(twelve.GetSerieEditText(2), "160,---");
    EXPECT_EQ(twelve.Resultat, 155);
    const TResultat& thirteen = *form->Manager().GetResultat(form->Manager().IndexOfStartnummer(13));
    EXPECT_EQ(thirteen.GetSerieEditText(0), "150,-+");
    EXPECT_EQ(thirteen.GetSerieEditText(1), "155,*") << "a lone dash is a passed height";
    const TResultat& fourteen = *form->Manager().GetResultat(form->Manager().IndexOfStartnummer(14));
    EXPECT_EQ(fourteen.RK, "D");
    EXPECT_EQ(form->SerieGrid->Cells(Attempt1, RowOf(*form, 12)), twelve.GetSerieText(0));
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(SerieMode, AThrowsFileReadsTwentyAttemptsAndNamesTheAthletesWithMore) {
    Enter(Round("M", "KU"), 21, 2, 1);
    Manager().SystemData().CsvLoadFilePath = Dir();
    QByteArray line = "21";
    for (int n = 1; n <= 22; ++n)
        line += ";" + QByteArray::number(1000 + n);
    WriteFile("EVENT-M-KU--0.CSV", line + "\r\n22;1234;X;-;abc\r\n");
    const auto form = Open();
    EnterSerieMode(*form, Round("M", "KU"));
    form->SerieGrid->GotoCell(TEditOvelseForm::SerieRKodeCol, 1, true);
    Settle();
    form->ReadResultatSerieToolButton->trigger();
    Settle();
    const TResultat& many = *form->Manager().GetResultat(form->Manager().IndexOfStartnummer(21));
    EXPECT_EQ(many.GetSerieCount(), 20);
    EXPECT_EQ(many.Resultat, 1020);
    const TResultat& few = *form->Manager().GetResultat(form->Manager().IndexOfStartnummer(22));
    ASSERT_EQ(few.GetSerieCount(), 3);
    EXPECT_TRUE(few.GetSerie(1)->IsFoul());
    EXPECT_TRUE(few.GetSerie(2)->IsPass()) << "a lone dash is a pass";
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().startsWith("Højst 20 forsøg læses; flere er ikke læst for startnummer 21\r\n"))
        << shown.front().toStdString();
    EXPECT_TRUE(shown.front().contains("Startnummer 22, forsøg 4")) << shown.front().toStdString();
}

} // namespace
