#include "EditKlubTestSupport.h"

#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"
#include "ui/klub/EditKlubHold.h"

namespace {

using H = THoldGridRules;

// A DT meet: three members per event at most, three events per member at most. Team A ("Klub 1") has
// Anne (1) first and Bo (2) second in M 100 round I, Carl (3) first in M LÆ, Anne first in K 100, and Anne
// a result of a round the meet does not have (M 100 round S).
class EditKlubHold : public TEditKlubTest {
protected:
    EditKlubHold() {
        TSystemData& data = StaevneManager->SystemData();
        data.DT = true;
        data.AntalDeltagerePrOvelse = 3;
        data.MaxAntalOvelserPrDeltager = 3;
    }
    void Team() {
        AddHoldKlubber(2);
        AddDeltager(1, QStringLiteral("Anne"), 1990, 1, QStringLiteral("K"));
        AddDeltager(2, QStringLiteral("Bo"), 1991, 1, QStringLiteral("M"));
        AddDeltager(3, QStringLiteral("Carl"), 1992, 1, QStringLiteral("M"));
        AddResultat(Round("M", "100"), 1, Fields({{ResultatField::Rank, 1}}));
        AddResultat(Round("M", "100"), 2, Fields({{ResultatField::Rank, 2}}));
        AddResultat(Round("M", "LÆ"), 3, Fields({{ResultatField::Rank, 1}}));
        AddResultat(Round("K", "100"), 1,
                    Fields({{ResultatField::Rank, 1}, {ResultatField::Seedning, 1234}}));
        StoreRecord<TResultatTable>({{ResultatField::Startnummer, qint64(1)},
                                     {ResultatField::Klasse, QStringLiteral("M")},
                                     {ResultatField::Ovelse, QStringLiteral("100")},
                                     {ResultatField::Runde, QStringLiteral("S")}});
    }
    TExtStringGrid& Sheet() { return *Form().DTDeltagerGrid; }
    // The sheet's column of the round.
    int Col(const QString& klasse, const QString& ovelse, const QString& runde = {}) {
        const TOvelseInfo* info = &Round(klasse, ovelse, runde);
        const std::vector<TOvelseInfo*> columns = HoldColumns(*OvelseManager);
        const auto at = std::find(columns.begin(), columns.end(), info);
        return H::FirstEventCol + static_cast<int>(at - columns.begin());
    }
    // Types the text into the cell, which is then left as a command leaves it.
    void Put(int col, int row, const QString& text) {
        Goto(Sheet(), col, row);
        if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
        }
        QTest::keyClicks(QApplication::focusWidget(), text);
        Sheet().CommitCell();
        Settle();
    }
    QString At(int col, int row) { return Sheet().Cells(col, row); }
    // "number/class/event/round/rank/outside competition" of every result of the meet.
    static QStringList StoredHold() {
        return Stored<TResultatTable>({ResultatField::Startnummer, ResultatField::Klasse,
                                       ResultatField::Ovelse, ResultatField::Runde, ResultatField::Rank,
                                       ResultatField::UdenforKonk});
    }
};

TEST_F(EditKlubHold, TheSheetShowsEachResultInTheColumnOfItsOwnRound) {
    Team();
    TEditKlubForm& form = Open();
    EXPECT_TRUE(form.DTDeltagerPanel->isVisibleTo(&form));
    EXPECT_FALSE(form.DeltagerPanel->isVisibleTo(&form));
    for (QAction* off : {form.VisDeltagerTool, form.VisBetalingTool, form.UdskriftTool, form.TabulatorTool,
                         form.ForsteLedigeStartnrTool})
        EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
    EXPECT_EQ(Sheet().ColCount(), H::FirstEventCol + OvelseManager->GetInfoCount());
    EXPECT_EQ(Sheet().Cells(Col("M", "100", "F"), 0), "100");
    EXPECT_EQ(Rows(Sheet(), {H::NrCol, H::DeltagerCol, H::AargCol, H::KoenCol}),
              QStringList({"1/Anne/1990/K", "2/Bo/1991/M", "3/Carl/1992/M"}));
    EXPECT_EQ(Rows(Sheet(), {Col("M", "100"), Col("M", "100", "F"), Col("M", "LÆ"), Col("K", "100")}),
              QStringList({"1///1", "2///", "//1/"}))
        << "the rank, each in its own round";
    EXPECT_GE(Sheet().ColWidths(Col("M", "LÆ")), 30);
    EXPECT_EQ(form.HoldkodeEdit->text(), "A");
}

TEST_F(EditKlubHold, NumbersStayUniqueInTheirColumnAndWithinTheLimits) {
    Team();
    Open();
    const int m100 = Col("M", "100");
    Put(m100, 3, "3");
    EXPECT_EQ(Rows(Sheet(), {m100}), QStringList({"1", "2", "3"}));
    // A number taken from another gets that one the number the cell held: all three stay distinct.
    Put(m100, 3, "1");
    EXPECT_EQ(Rows(Sheet(), {m100}), QStringList({"3", "2", "1"}));
    Put(m100, 2, "3");
    EXPECT_EQ(Rows(Sheet(), {m100}), QStringList({"2", "3", "1"}));
    // Into an empty cell: the other holder of the number gives it up.
    const int hoej = Col("M", "HØ");
    Put(hoej, 1, "1");
    Put(hoej, 2, "1");
    EXPECT_EQ(Rows(Sheet(), {hoej}), QStringList({"", "1", ""}));
    EXPECT_EQ(Shown(), QStringList());

    Put(m100, 1, "4");
    EXPECT_EQ(Shown(), QStringList({"Der kan kun være 3 deltagere pr. øvelse"}));
    Put(m100, 1, "x");
    EXPECT_EQ(Shown(), QStringList({"Der kan kun være 3 deltagere pr. øvelse"}));
    Put(m100, 1, "2");
    // Outside competition is taken whatever the number per event.
    Put(Col("M", "KU"), 3, "-");
    EXPECT_EQ(At(Col("M", "KU"), 3), FormatUdenforKonk("-"));
    // Carl has 100, LÆ and KU: a fourth event is refused.
    Put(hoej, 3, "2");
    EXPECT_EQ(Shown(), QStringList({"En deltager kan maksimalt have 3 øvelser"}));
    Put(hoej, 3, "");
    EXPECT_EQ(Shown(), QStringList());
}

TEST_F(EditKlubHold, SavingWritesChangedCellsIntoTheirRoundsAndKeepsWhatNoCellShows) {
    Team();
    TEditKlubForm& form = Open();
    const int m100 = Col("M", "100");
    Put(m100, 2, "");                  // Bo leaves M 100: his result goes
    Put(Col("M", "LÆ"), 3, "2");       // Carl's rank changes
    Put(Col("M", "100", "F"), 1, "1"); // a new result in round F
    // A new member, and a row with a cell but no name, which is passed over.
    Goto(Sheet(), H::DeltagerCol, 3);
    Press(Qt::Key_Down);
    EXPECT_EQ(std::pair(Sheet().Col(), Sheet().Row()), std::pair(int(H::DeltagerCol), 4));
    Put(H::DeltagerCol, 4, "Dorte");
    Put(Col("M", "KU"), 4, "1");
    Press(Qt::Key_Down);
    Put(Col("M", "KU"), 5, "2");
    EXPECT_EQ(Sheet().RowCount(), 6);
    Save();
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(StoredDeltagere(), QStringList({"1/Anne/1", "2/Bo/1", "3/Carl/1", "4/Dorte/1"}));
    EXPECT_EQ(StoredHold(), QStringList({"1/K/100//1/", "1/M/100//1/", "1/M/100/F/1/", "1/M/100/S/0/",
                                         "4/M/KU//1/", "3/M/LÆ//2/"}));
    EXPECT_EQ(Stored<TResultatTable>({ResultatField::Seedning}).front(), "1234")
        << "an unchanged cell is left alone";
    EXPECT_EQ(Rows(Sheet(), {H::NrCol, H::DeltagerCol}),
              QStringList({"1/Anne", "2/Bo", "3/Carl", "4/Dorte"}));

    // The team code must be a letter.
    form.HoldkodeEdit->setText("");
    Put(Col("M", "KU"), 3, "2");
    Save();
    EXPECT_EQ(Shown(), QStringList({"Holdkoden skal være A - Z"}));
    EXPECT_EQ(StoredHold().filter("M/KU").size(), 1);
    QTest::keyClicks(form.HoldkodeEdit, "a");
    EXPECT_EQ(form.HoldkodeEdit->text(), "A");
    Save();
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(StoredHold().filter("M/KU").size(), 2);
}

TEST_F(EditKlubHold, ARowThatFailsIsReportedAndTheOthersAreSaved) {
    Team();
    Open();
    Put(H::AargCol, 1, "19x");
    Put(Col("M", "KU"), 1, "1");
    Put(H::DeltagerCol, 2, "Bo Ib");
    Save();
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().startsWith("Error in SaveHoldturnering (1): ")) << shown.front().toStdString();
    EXPECT_EQ(StoredDeltagere(), QStringList({"1/Anne/1", "2/Bo Ib/1", "3/Carl/1"}));
    EXPECT_EQ(StoredHold().filter("1/M/KU").size(), 1) << "the failing row's cells are still written";
}

TEST_F(EditKlubHold, WithEntryMarksTheCellsTakeMarksOfTheirRound) {
    Team();
    StaevneManager->SystemData().IndtastSeedning = true;
    Open();
    const int k100 = Col("K", "100");
    EXPECT_EQ(At(k100, 1), "12.34");
    Put(k100, 1, "abc");
    EXPECT_EQ(Shown().size(), 1);
    Put(k100, 1, "12,01");
    Put(Col("M", "100", "F"), 2, "11,90");
    Save();
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(Stored<TResultatTable>({ResultatField::Startnummer, ResultatField::Klasse, ResultatField::Runde,
                                      ResultatField::Seedning}),
              QStringList({"1/K//1201", "1/M//0", "2/M//0", "2/M/F/1190", "1/M/S/0", "3/M//0"}));
}

TEST_F(EditKlubHold, TheTwentySixthTeamCanBeMadeTheTwentySeventhCannot) {
    AddHoldKlubber(24);
    TEditKlubForm& form = Open();
    ASSERT_EQ(form.KlubberListbox->count(), 25);
    form.NyKlubTool->trigger();
    Settle();
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(form.KlubberListbox->count(), 26);
    EXPECT_EQ(form.KlubNavnEdit->text(), "Ny klub");
    form.NyKlubTool->trigger();
    Settle();
    EXPECT_EQ(Shown(), QStringList({"Der kan højst oprettes 26 klubber/hold"}));
    EXPECT_EQ(form.KlubberListbox->count(), 26);
    EXPECT_EQ(StoredKlubber().size(), 26);
    // The new team has no code yet: it is not left without one.
    form.KlubberListbox->setCurrentRow(0);
    Settle();
    EXPECT_EQ(Shown(), QStringList({"Holdkoden skal være A - Z"}));
    EXPECT_EQ(form.KlubNavnEdit->text(), "Ny klub");
}
} // namespace
