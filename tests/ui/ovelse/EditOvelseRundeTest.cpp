// Deleting a round and adding one from the overview: the refusals, the question, and a programme whose
// other event rows and rounds stay exactly as they were.
#include "EditOvelseTestSupport.h"

#include "model/D_Result.h"

#include <QAction>

namespace {

class Runder : public TEditOvelseTest {
protected:
    // Class K also runs the 200 m in heats, semi-finals and a final, and the 400 m in four rounds.
    Runder() {
        AddProgramme({{"K", "200", "ISF"}, {"K", "400", "IMSF"}});
        Place(Round("K", "200", "S"), Loerdag(), QTime(15, 0), "LØB");
        Place(Round("K", "200", "F"), Loerdag(), QTime(17, 30), "LØB");
        SetRunde(Round("K", "200", "F"), OvelseRnField::AntalPrHeat, 6);
        Manager().Registry().VisNulOvelser = true;
    }
    // The stored rounds of the meet: class/event/letter/time/heat size, in file order.
    static QStringList StoredRunder() {
        QStringList rounds;
        TOvelseRnTable table;
        table.Open();
        for (bool found = table.First(); found; found = table.Next())
            rounds << QStringLiteral("%1/%2/%3/%4/%5")
                          .arg(table.GetField(OvelseRnField::Klasse)->GetTrimmedString(),
                               table.GetField(OvelseRnField::Ovelse)->GetTrimmedString(),
                               table.GetField(OvelseRnField::Runde)->GetTrimmedString(),
                               DateTimeToQDateTime(table.GetField(OvelseRnField::DatoTid)->GetAsFloat())
                                   .toString("hh:mm"))
                          .arg(table.GetField(OvelseRnField::AntalPrHeat)->GetAsInteger());
        return rounds;
    }
    static QString StoredRunderOf(const QString& klasse, const QString& ovelse) {
        TOvelseRkTable table;
        table.Open();
        for (bool found = table.First(); found; found = table.Next())
            if (table.GetField(OvelseRkField::Klasse)->GetTrimmedString() == klasse &&
                table.GetField(OvelseRkField::Ovelse)->GetTrimmedString() == ovelse)
                return table.GetField(OvelseRkField::Runder)->GetTrimmedString();
        return QStringLiteral("none");
    }
    // Runs the command on the round in an editor opened as the launcher opens it; true when it closed to
    // be reopened.
    bool Command(const TOvelseInfo& round, QAction* const TEditOvelseForm::*command, bool ja = true) {
        const auto form = Open();
        Click(*form, round);
        if (ja)
            Recorder().QueueAnswer(mrYes);
        ((*form).*command)->trigger();
        Settle();
        return ReopenOvelseEditor && !form->isVisible() && form->result() == mrOk;
    }
};

TEST_F(Runder, TheSemiFinalOfISFGoesAndLeavesIFWithTheFinalAsItWas) {
    const QStringList before = StoredRunder();
    ASSERT_TRUE(before.contains("K/200/S/15:00/8"));
    ASSERT_TRUE(Command(Round("K", "200", "S"), &TEditOvelseForm::SletOvelseMenu));
    EXPECT_EQ(Shown(), QStringList{"Slet øvelse?"});
    EXPECT_EQ(Recorder().Shown().back().DefaultButton, 1);
    EXPECT_EQ(StoredRunderOf("K", "200"), "IF");
    QStringList after = before;
    after.removeOne("K/200/S/15:00/8");
    EXPECT_EQ(StoredRunder(), after) << "every other round as it was, the final's time and heat size too";
    EXPECT_EQ(Ov().FindOvelseInfo("K", "200", "F")->GetRundeNr(), 2) << "the programme read anew";
}

TEST_F(Runder, RoundsGoOnlyLastFirstAndWithoutEntries) {
    const QStringList before = StoredRunder();
    EXPECT_FALSE(Command(Round("K", "200", "I"), &TEditOvelseForm::SletOvelseMenu, false));
    EXPECT_EQ(Shown(), QStringList{"Kan ikke slette runde 1 før alle efterfølgende runder er slettet"});
    EXPECT_FALSE(Command(Round("K", "400", "S"), &TEditOvelseForm::SletOvelseMenu, false));
    EXPECT_EQ(Shown(), QStringList{"Kan ikke slette øvelsen. Øvelser skal slettes i rigtig rækkefølge, dvs "
                                   "mellemheats før semifinale og semifinale før finale"});
    Enter(Round("K", "200", "F"), 1, 1);
    EXPECT_FALSE(Command(Round("K", "200", "F"), &TEditOvelseForm::SletOvelseMenu, false));
    EXPECT_EQ(Shown(), QStringList{"Kan ikke slette øvelse, da der er tilmeldte deltagere"});
    // Nej changes nothing.
    EXPECT_FALSE(Command(Round("K", "400", "M"), &TEditOvelseForm::SletOvelseMenu, false));
    EXPECT_EQ(Shown(), QStringList{"Slet øvelse?"});
    EXPECT_EQ(StoredRunder(), before);

    // The only round of an event takes its event row along.
    ASSERT_TRUE(Command(Round("M", "KU"), &TEditOvelseForm::SletOvelseMenu));
    EXPECT_EQ(StoredRunderOf("M", "KU"), "none");
    EXPECT_EQ(Ov().FindOvelseInfo("M", "KU", ""), nullptr);
}

TEST_F(Runder, AnAddedRoundTakesTheSettingsOfTheRoundItGoesBeforeAndAFifthIsRefused) {
    const QStringList before = StoredRunder();
    ASSERT_TRUE(Command(Round("K", "200", "I"), &TEditOvelseForm::TilfoejRundeMenu));
    EXPECT_EQ(Shown(), QStringList{"Tilføj ekstra runde?"});
    // ISF has four rounds now: a second round before the semi-final, on its settings.
    EXPECT_EQ(StoredRunderOf("K", "200"), "IMSF");
    QStringList expected = before + QStringList{"K/200/M/15:00/8"};
    QStringList stored = StoredRunder();
    expected.sort();
    stored.sort();
    EXPECT_EQ(stored, expected);

    // A one-round throw becomes qualification and final; a timed event becomes heats and final.
    ASSERT_TRUE(Command(Round("M", "KU"), &TEditOvelseForm::TilfoejRundeMenu));
    EXPECT_EQ(StoredRunderOf("M", "KU"), "KF");
    ASSERT_TRUE(Command(Round("K", "100"), &TEditOvelseForm::TilfoejRundeMenu));
    EXPECT_EQ(StoredRunderOf("K", "100"), "IF");
    EXPECT_EQ(Ov().FindOvelseInfo("K", "100", "F")->GetRundeNr(), 2);
    EXPECT_EQ(Ov().FindOvelseInfo("K", "100", "I")->GetRundeNr(), 1);
    EXPECT_EQ(Shown(), QStringList({"Tilføj ekstra runde?", "Tilføj ekstra runde?"}));

    const QStringList full = StoredRunder();
    EXPECT_FALSE(Command(Round("K", "400", "I"), &TEditOvelseForm::TilfoejRundeMenu, false));
    EXPECT_EQ(Shown(), QStringList{"Kan ikke tilføje flere runder"});
    EXPECT_FALSE(Command(*Ov().FindOvelseInfo("M", "KU", "F"), &TEditOvelseForm::TilfoejRundeMenu, false));
    EXPECT_EQ(Shown(), QStringList{"Kan ikke tilføje flere runder"});
    EXPECT_EQ(StoredRunder(), full);
}

TEST_F(Runder, ACombinedEventTakesNoRoundsAndOnlyOneRoundIsHandledAtATime) {
    AddProgramme({{"M", "10K", "F"}});
    EXPECT_FALSE(Command(Round("M", "10K"), &TEditOvelseForm::TilfoejRundeMenu, false));
    EXPECT_EQ(Shown(), QStringList{"Kan ikke tilføje runder til denne øvelse"});

    const auto form = Open();
    Click(*form, Round("K", "200", "I"));
    const auto cell = form->Oversigt().Find(&Round("K", "200", "F"));
    form->OversigtGrid->SetSelection(
        {form->OversigtGrid->Col(), form->OversigtGrid->Row(), cell->first, cell->second});
    Settle();
    ASSERT_GE(form->SelectedOvelser().size(), 2u);
    form->SletOvelseMenu->trigger();
    form->TilfoejRundeMenu->trigger();
    Settle();
    EXPECT_EQ(Shown(), QStringList({"Kan kun slette 1 øvelse ad gangen", "Vælg kun 1 øvelse ad gangen"}));
    EXPECT_TRUE(form->isVisible());
}

} // namespace
