#include "EditKlubTestSupport.h"

#include "model/D_StaevneSystemData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

namespace {

class EditKlub : public TEditKlubTest {};

// ---------------------------------------------------------------- opening

TEST_F(EditKlub, OpensOnTheFirstClubWithItsParticipantsAndEntries) {
    AddAarhusAndOdense();
    TEditKlubForm& form = Open();
    EXPECT_EQ(form.windowTitle(), " Redigering af klub - Stævne");
    ASSERT_EQ(form.KlubberListbox->count(), 2);
    // "Aa" is Å, after every other letter.
    EXPECT_EQ(form.KlubberListbox->currentItem()->text(), "Odense");
    EXPECT_EQ(form.KlubNavnEdit->text(), "Odense");
    EXPECT_EQ(Rows({C::StartnummerCol, C::NavnCol}), QStringList({"123/Carl"}));
    form.KlubberListbox->setCurrentRow(1);
    Settle();
    EXPECT_EQ(form.KlubNavnEdit->text(), "Aarhus");
    EXPECT_TRUE(form.TopPanel->isEnabled() && form.GridPanel->isEnabled());
    // By name; a further entry on a row of its own without the participant.
    EXPECT_EQ(Rows({C::StartnummerCol, C::NavnCol, C::AargangCol, C::KlasseCol, C::OvelseCol}),
              QStringList({"2/Anna/1992/M/KU", "1/Bent/1990/M/100", "///M/LÆ"}));
    EXPECT_EQ(Cell(C::GebyrCol, 1), "") << "the dialog leaves the fee empty";
    EXPECT_EQ(Cell(C::SeedningCol, 1), "") << "no entry mark";
    EXPECT_TRUE(form.TabulatorTool->isEnabled() && form.ForsteLedigeStartnrTool->isEnabled());
    for (QAction* print : {form.UdskriftTool, form.AutoTilmeldTool, form.Klubliste1Tool, form.Klubliste2Tool,
                           form.SaldolisteTool, form.KlublisteLabelTool, form.DiplomAlleToolButton,
                           form.DiplomValgtToolButton})
        EXPECT_TRUE(print->isEnabled()) << print->objectName().toStdString();

    form.DeltagerSortering->setCurrentIndex(1);
    EXPECT_EQ(Rows({C::StartnummerCol, C::OvelseCol}), QStringList({"1/100", "/LÆ", "2/KU"}));

    form.VisBetalingTool->trigger();
    EXPECT_TRUE(form.BetalingPanel->isVisibleTo(&form));
    EXPECT_FALSE(form.DeltagerPanel->isVisibleTo(&form));
    EXPECT_FALSE(form.TabulatorTool->isEnabled() || form.ForsteLedigeStartnrTool->isEnabled());
    form.VisDeltagerTool->trigger();
    EXPECT_TRUE(form.TabulatorTool->isEnabled());
    EXPECT_EQ(Shown(), QStringList());
}

TEST_F(EditKlub, AnEmptyMeetOpensWithNothingToEditAndSavingOrSearchingDoesNothing) {
    TEditKlubForm& form = Open();
    EXPECT_EQ(form.KlubberListbox->count(), 0);
    EXPECT_FALSE(form.TopPanel->isEnabled());
    EXPECT_FALSE(form.GridPanel->isEnabled());
    EXPECT_EQ(Grid().RowCount(), 2);
    EXPECT_EQ(form.KlubKobGrid->RowCount(), 2);
    EXPECT_EQ(form.BetalingGrid->RowCount(), 2);
    EXPECT_TRUE(form.SaveKlub());
    form.KlubEdit->setText("A");
    form.GemKlubTool->trigger();
    Settle();
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(StoredKlubber(), QStringList());
}

// ---------------------------------------------------------------- typing participants and entries

TEST_F(EditKlub, ParticipantsAndEntriesAreTypedCellByCellAndStoredOnSave) {
    AddKlub(1, QStringLiteral("Aarhus"));
    Open();
    Goto(C::StartnummerCol, 1);
    EnterAll({"7", "Ida Holm", "1999", "m", "100", "12,34"});
    EXPECT_EQ(Rows({C::StartnummerCol, C::NavnCol, C::KlasseCol, C::OvelseCol, C::SeedningCol}).front(),
              "7/Ida Holm/M/100/12.34");
    // The next entry of the same participant on a new row: its class from the row above.
    Press(Qt::Key_Down);
    EXPECT_EQ(std::pair(Grid().Col(), Grid().Row()), std::pair(int(C::StartnummerCol), 2));
    Goto(C::OvelseCol, 2);
    Enter("læ");
    EXPECT_EQ(Cell(C::KlasseCol, 2), "M");
    Enter("5,12");
    EXPECT_EQ(Cell(C::SeedningCol, 2), "5.12");
    Save();
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(StoredDeltagere(), QStringList({"7/Ida Holm/1"}));
    EXPECT_EQ(StoredResultater(), QStringList({"7/M/100/", "7/M/LÆ/"}));
    EXPECT_EQ(Stored<TResultatTable>({ResultatField::Seedning}), QStringList({"1234", "512"}));
}
} // namespace

namespace {

class EditKlubRows : public TEditKlubTest {
protected:
    void Delete() { Press(Qt::Key_Delete, Qt::ControlModifier); }
};

// ---------------------------------------------------------------- deleting rows

TEST_F(EditKlubRows, DeletingARowTakesWhatItShowsAndNeverLeavesAnEntryWithoutItsParticipant) {
    AddAarhusAndOdense();
    AddResultat(Round("M", "HØ"), 1);
    AddDeltager(3, QStringLiteral("Cilla"), 2001, 1);
    Open("Aarhus");
    ASSERT_EQ(Rows({C::StartnummerCol, C::NavnCol, C::OvelseCol}),
              QStringList({"2/Anna/KU", "1/Bent/100", "//LÆ", "//HØ", "3/Cilla/"}));

    // An entry without its participant on the row: the entry goes with the row.
    Goto(C::OvelseCol, 4);
    Delete();
    EXPECT_EQ(Rows({C::StartnummerCol, C::NavnCol, C::OvelseCol}),
              QStringList({"2/Anna/KU", "1/Bent/100", "//LÆ", "3/Cilla/"}));
    // A participant's row followed by a further entry: the participant moves down with it.
    Goto(C::NavnCol, 2);
    Delete();
    EXPECT_EQ(Rows({C::StartnummerCol, C::NavnCol, C::AargangCol, C::KlasseCol, C::OvelseCol}),
              QStringList({"2/Anna/1992/M/KU", "1/Bent/1990/M/LÆ", "3/Cilla/2001//"}));
    // The participant's only entry: the entry goes, the participant stays on its row.
    Goto(C::SeedningCol, 1);
    Delete();
    EXPECT_EQ(Rows({C::StartnummerCol, C::NavnCol, C::KlasseCol, C::OvelseCol, C::EfteranmCol, C::RankCol}),
              QStringList({"2/Anna////", "1/Bent/M/LÆ/Nej/0", "3/Cilla////"}));
    EXPECT_EQ(Grid().Col(), int(C::StartnummerCol)) << "the cursor goes back to the participant";
    // A participant without entries.
    Goto(C::NavnCol, 3);
    Delete();
    EXPECT_EQ(Rows({C::StartnummerCol, C::NavnCol, C::OvelseCol}), QStringList({"2/Anna/", "1/Bent/LÆ"}));

    EXPECT_EQ(StoredDeltagere().size(), 4) << "nothing is written before the club is saved";
    Save();
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(StoredDeltagere(), QStringList({"1/Bent/1", "2/Anna/1", "123/Carl/2"}));
    EXPECT_EQ(StoredResultater(), QStringList({"123/M/100/", "1/M/LÆ/"}));
    EXPECT_EQ(Rows({C::StartnummerCol, C::NavnCol, C::OvelseCol}), QStringList({"2/Anna/", "1/Bent/LÆ"}));
}

TEST_F(EditKlubRows, DeletingAParticipantTakesItsEntriesShownElsewhereWithIt) {
    AddKlub(1, QStringLiteral("Aarhus"));
    AddDeltager(4, QStringLiteral("Dan"), 2000, 1);
    Open();
    // An entry typed on a row of its own below an empty row that was put in between.
    Goto(C::NavnCol, 1);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    ASSERT_EQ(Grid().RowCount(), 3);
    Goto(C::KlasseCol, 2);
    EnterAll({"M", "KU"});
    Goto(C::NavnCol, 2);
    Press(Qt::Key_Insert);
    Goto(C::NavnCol, 1);
    ASSERT_EQ(Rows({C::StartnummerCol, C::OvelseCol}), QStringList({"4/", "/", "/KU"}));
    Delete();
    EXPECT_EQ(Rows({C::StartnummerCol, C::OvelseCol}), QStringList({"/"}));
    Save();
    EXPECT_EQ(StoredDeltagere(), QStringList());
    EXPECT_EQ(StoredResultater(), QStringList());
}

// ---------------------------------------------------------------- start numbers

TEST_F(EditKlubRows, AChangedStartNumberTakesTheClubsResultsAndTheRelayLegsWithIt) {
    AddAarhusAndOdense();
    AddDeltager(10, QStringLiteral("Aarhus stafet"), 0, 1);
    const quint32 stafet = AddResultat(Round("M", "4X100"), 10, {}, Serie({{2, 0}, {1, 0}}));
    Open("Aarhus");
    // By name in Danish order, "Aarhus stafet" last; Bent's second entry on a row of its own.
    ASSERT_EQ(Rows({C::StartnummerCol, C::NavnCol}),
              QStringList({"2/Anna", "1/Bent", "/", "10/Aarhus stafet"}));

    // A number another club's participant has is refused and changes nothing.
    Goto(C::StartnummerCol, 2);
    Enter("123");
    EXPECT_EQ(Shown(), QStringList({"Startnummer 123 er allerede givet til Carl, Odense"}));
    EXPECT_EQ(std::pair(Grid().Col(), Grid().Row()), std::pair(int(C::StartnummerCol), 2));
    Enter("0");
    EXPECT_EQ(Shown(), QStringList({"Startnummeret skal være større end 0"}));
    Enter("Bent");
    EXPECT_EQ(Shown(), QStringList({"\"Bent\" er ikke et gyldigt tal"}));
    EXPECT_EQ(Form().KlubManager().GetDeltager(1).GetField(DeltagerField::Startnummer)->GetAsInteger(), 1);

    Enter("5");
    EXPECT_EQ(Shown(), QStringList());
    Save();
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(StoredDeltagere(), QStringList({"2/Anna/1", "5/Bent/1", "10/Aarhus stafet/1", "123/Carl/2"}));
    EXPECT_EQ(StoredResultater(),
              QStringList({"5/M/100/", "123/M/100/", "10/M/4X100/", "2/M/KU/", "5/M/LÆ/"}));
    EXPECT_EQ(StoredTail(stafet), [] {
        QByteArray tail(4, '\0');
        const QByteArray serie = Serie({{2, 0}, {5, 0}});
        tail[0] = static_cast<char>(serie.size());
        return tail + serie;
    }());

    // The number freed is free again: another participant may take it.
    Goto(C::StartnummerCol, 1);
    Enter("1");
    Save();
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(StoredDeltagere().front(), "1/Anna/1");
}

TEST_F(EditKlubRows, AutomaticStartNumbersAndTheirRefusalWithoutThem) {
    AddAarhusAndOdense();
    Open("Aarhus");
    // Without automatic numbers a name needs a number first.
    Goto(C::NavnCol, 3);
    Press(Qt::Key_Down);
    Goto(C::NavnCol, 4);
    Enter("Dorte");
    EXPECT_EQ(
        Shown(),
        QStringList({"Det er ikke tilladt at indtaste data her, når der ikke er angivet et startnummer"}));
    EXPECT_EQ(Grid().Col(), int(C::NavnCol));
    form_.reset();

    StaevneManager->SystemData().AutoTildelStartnumre = true;
    Open("Aarhus");
    Goto(C::NavnCol, 3);
    Press(Qt::Key_Down);
    EXPECT_EQ(std::pair(Grid().Col(), Grid().Row()), std::pair(int(C::NavnCol), 4))
        << "new lines start at the name";
    EnterAll({"Dorte", "2003"});
    EXPECT_EQ(Cell(C::StartnummerCol, 4), "124") << "after the meet's highest";
    Form().ForsteLedigeStartnrTool->trigger();
    EXPECT_EQ(Shown(), QStringList({"Første ledige startnummer er 125"}));
    Save();
    EXPECT_EQ(StoredDeltagere().back(), "124/Dorte/1");
}

TEST_F(EditKlubRows, AnEntryIsCheckedBeforeItIsMadeAndASecondOneInTheSameEventIsRefused) {
    AddAarhusAndOdense();
    Open("Aarhus");
    // A further entry of Anna (row 1), on a row put in below her.
    Goto(C::NavnCol, 2);
    Press(Qt::Key_Insert);
    Goto(C::KlasseCol, 2);
    Enter("X");
    EXPECT_EQ(Shown().size(), 1) << "a class the meet does not have";
    EnterAll({"K", "LÆ"});
    EXPECT_EQ(
        Shown(),
        QStringList({EOvelseManagerError(TOvelseManagerErrorNo::OvelseRkUndefined, {"K", "LÆ"}).Message()}));
    EXPECT_EQ(Grid().Col(), int(C::OvelseCol));
    EXPECT_EQ(Form().KlubManager().ResultatList().GetCount(), 3) << "no entry is made for it";
    Enter("100");
    EXPECT_EQ(Shown(), QStringList());
    // The same class and event once more for the same participant.
    Goto(C::NavnCol, 3);
    Press(Qt::Key_Insert);
    Goto(C::KlasseCol, 3);
    EnterAll({"M", "KU"});
    EXPECT_EQ(Shown(), QStringList({"Startnummer 2 er allerede tilmeldt KU i klasse M"}));
    Enter("HØ");
    EXPECT_EQ(Shown(), QStringList());
    // Entering a mark's cell of a row that names no event row of the meet is refused.
    Goto(C::NavnCol, 4);
    Press(Qt::Key_Insert);
    Goto(C::KlasseCol, 4);
    EnterAll({"K", ""});
    EXPECT_EQ(Shown().size(), 1);
    EXPECT_EQ(Grid().Col(), int(C::OvelseCol));
    Press(Qt::Key_Left);
    Enter("");
    Press(Qt::Key_Up);
    Save();
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(StoredResultater(),
              QStringList({"2/K/100/", "1/M/100/", "123/M/100/", "2/M/HØ/", "2/M/KU/", "1/M/LÆ/"}));
}

// ---------------------------------------------------------------- auto-tab

TEST_F(EditKlubRows, AutoTabSavesBeforeEachNewParticipantNumberedAfterTheOneAbove) {
    AddKlub(1, QStringLiteral("Aarhus"));
    TEditKlubForm& form = Open();
    form.TabulatorTool->trigger();
    Goto(C::StartnummerCol, 1);
    EnterAll({"41", "Ane", "2001", "M", "100"});
    EXPECT_EQ(Grid().Col(), int(C::SeedningCol));
    Enter("12,50");
    EXPECT_EQ(Grid().Col(), int(C::PRCol)) << "the auto-tab columns only";
    EnterAll({"", ""});
    EXPECT_EQ(std::pair(Grid().Col(), Grid().Row()), std::pair(int(C::OvelseCol), 2)) << "the next entry";
    EnterAll({"LÆ", "5,50", "", ""});
    EXPECT_EQ(StoredDeltagere(), QStringList());
    // Enter on an empty event: the club is saved and the next participant gets the next number.
    Enter("");
    EXPECT_EQ(std::pair(Grid().Col(), Grid().Row()), std::pair(int(C::NavnCol), 3));
    EXPECT_EQ(Cell(C::StartnummerCol, 3), "42");
    EXPECT_EQ(StoredDeltagere(), QStringList({"41/Ane/1"}));
    EXPECT_EQ(StoredResultater(), QStringList({"41/M/100/", "41/M/LÆ/"}));
    EnterAll({"Bo", "2002", "K", "100", "13,10", "", "", ""});
    EXPECT_EQ(Cell(C::StartnummerCol, 4), "43");
    EXPECT_EQ(StoredDeltagere(), QStringList({"41/Ane/1", "42/Bo/1"}));
    EXPECT_EQ(
        Stored<TResultatTable>({ResultatField::Startnummer, ResultatField::Klasse, ResultatField::Seedning}),
        QStringList({"42/K/1310", "41/M/1250", "41/M/550"}));
    EXPECT_EQ(Shown(), QStringList());
}

// ---------------------------------------------------------------- finding and switching clubs

TEST_F(EditKlubRows, SwitchingClubSavesTheOneLeftAndARefusedRowKeepsItOpen) {
    AddAarhusAndOdense();
    TEditKlubForm& form = Open("Aarhus");
    Goto(C::NavnCol, 3);
    Press(Qt::Key_Down);
    Goto(C::StartnummerCol, 4);
    EnterAll({"9", "Dorte"});
    form.KlubNavnEdit->setText("Aarhus AK");
    // Through the list.
    form.KlubberListbox->setCurrentRow(0);
    Settle();
    EXPECT_EQ(form.KlubNavnEdit->text(), "Odense");
    EXPECT_EQ(StoredDeltagere(), QStringList({"1/Bent/1", "2/Anna/1", "9/Dorte/1", "123/Carl/2"}));
    EXPECT_EQ(StoredKlubber(), QStringList({"1/Aarhus AK", "2/Odense"}));

    // Through the search box, a half-typed entry of the club being left refused first.
    Goto(C::NavnCol, 1);
    Press(Qt::Key_Down);
    Goto(C::KlasseCol, 2);
    Enter("M");
    form.KlubEdit->setFocus();
    Settle();
    QTest::keyClicks(form.KlubEdit, "Aa");
    Settle();
    const QStringList refused = Shown();
    ASSERT_FALSE(refused.isEmpty());
    for (const QString& text : refused)
        EXPECT_EQ(text, EOvelseManagerError(TOvelseManagerErrorNo::OvelseRkUndefined, {"M", ""}).Message());
    EXPECT_EQ(form.KlubNavnEdit->text(), "Odense") << "the club with the refused row stays";
    Goto(C::OvelseCol, 2);
    Enter("KU");
    form.KlubEdit->setFocus();
    Settle();
    QTest::keyClicks(form.KlubEdit, "Aa");
    Settle();
    EXPECT_EQ(form.KlubNavnEdit->text(), "Aarhus AK");
    EXPECT_EQ(StoredResultater().filter("123/M/KU").size(), 1);
    EXPECT_EQ(Shown(), QStringList());
}

TEST_F(EditKlub, TheListIsInDanishOrderAndTheSearchStopsWhereTheListShowsTheName) {
    AddKlub(1, QStringLiteral("Ørsted AK"));
    AddKlub(2, QStringLiteral("Esbjerg AF"));
    AddKlub(3, QStringLiteral("Aarhus 1900"));
    AddKlub(4, QStringLiteral("Zulu IF"));
    TEditKlubForm& form = Open();
    QStringList list;
    for (int i = 0; i < form.KlubberListbox->count(); ++i)
        list << form.KlubberListbox->item(i)->text();
    EXPECT_EQ(list, QStringList({"Esbjerg AF", "Zulu IF", "Ørsted AK", "Aarhus 1900"}));
    const auto search = [&form](const QString& text) {
        form.KlubEdit->setText(text);
        Settle();
        return form.KlubberListbox->currentItem()->text();
    };
    EXPECT_EQ(search("ø"), "Ørsted AK");
    EXPECT_EQ(search("ESB"), "Esbjerg AF");
    EXPECT_EQ(search("aar"), "Aarhus 1900") << "Aa is Å";
    EXPECT_EQ(search("æ"), "Ørsted AK");
    EXPECT_EQ(search("zulu if"), "Zulu IF");
    EXPECT_EQ(search("ål"), "Aarhus 1900");
    EXPECT_EQ(search("åz"), "Aarhus 1900") << "past every name: the club stays";
    EXPECT_EQ(form.KlubNavnEdit->text(), "Aarhus 1900");
    EXPECT_EQ(Shown(), QStringList());
}

TEST_F(EditKlubRows, AStarAndAStartNumberFindTheParticipantsClub) {
    AddAarhusAndOdense();
    TEditKlubForm& form = Open("Aarhus");
    form.KlubEdit->setFocus();
    Settle();
    QTest::keyClicks(form.KlubEdit, "*123");
    Press(Qt::Key_Return);
    EXPECT_EQ(form.KlubberListbox->currentItem()->text(), "Odense");
    EXPECT_EQ(form.KlubEdit->text(), "Odense");
    form.KlubEdit->clear();
    QTest::keyClicks(form.KlubEdit, "*12a");
    Press(Qt::Key_Return);
    EXPECT_EQ(Shown(), QStringList({"Der må kun indtastes tal når man søger efter startnummer"}));
    form.KlubEdit->clear();
    QTest::keyClicks(form.KlubEdit, "*77");
    Press(Qt::Key_Return);
    EXPECT_EQ(Shown(), QStringList({"Der er ingen deltager med startnummer 77"}));
    EXPECT_EQ(form.KlubberListbox->currentItem()->text(), "Odense");
    // Entering and leaving the box empties it.
    Focus(*form.DeltagerGrid);
    EXPECT_EQ(form.KlubEdit->text(), "");
}

TEST_F(EditKlubRows, TypingTheClubsNameRenamesItsListItemWithoutLeavingTheClub) {
    AddAarhusAndOdense();
    TEditKlubForm& form = Open("Aarhus");
    Goto(C::NavnCol, 3);
    Press(Qt::Key_Down);
    Goto(C::StartnummerCol, 4);
    EnterAll({"9", "Dorte"});
    form.KlubNavnEdit->setFocus();
    form.KlubNavnEdit->selectAll();
    QTest::keyClicks(form.KlubNavnEdit, "Viborg");
    Settle();
    EXPECT_EQ(form.KlubberListbox->currentItem()->text(), "Viborg");
    EXPECT_EQ(form.KlubberListbox->item(0)->text(), "Odense") << "sorted into its place";
    EXPECT_EQ(Cell(C::NavnCol, 4), "Dorte") << "the club is not shown again";
    EXPECT_EQ(StoredDeltagere().size(), 3) << "nor saved";
}

// ---------------------------------------------------------------- clubs

TEST_F(EditKlubRows, ANewClubIsMadeAfterTheOneOnShowIsSavedAndAClubWithDataIsNotDeleted) {
    AddAarhusAndOdense();
    TEditKlubForm& form = Open("Aarhus");
    form.PrisgruppeCheckBox->setChecked(true);
    form.NyKlubTool->trigger();
    Settle();
    EXPECT_EQ(form.KlubNavnEdit->text(), "Ny klub");
    EXPECT_EQ(form.KlubnrLabel->text(), "Nr. 3");
    EXPECT_EQ(Stored<TKlubTable>({KlubField::Navn, KlubField::Prisgruppe}),
              QStringList({"Aarhus/1", "Odense/0", "Ny klub/0"}));
    form.KlubNavnEdit->setText("Viborg");
    TRecordedMessages answers;
    answers.Recorder().QueueAnswer(mrNo);
    form.SletKlubTool->trigger();
    Settle();
    EXPECT_EQ(form.KlubberListbox->count(), 3);
    EXPECT_EQ(answers.Recorder().Shown().front().DefaultResult(), mrNo) << "Nej is the default";
    answers.Recorder().QueueAnswer(mrYes);
    form.SletKlubTool->trigger();
    Settle();
    EXPECT_EQ(StoredKlubber(), QStringList({"1/Aarhus", "2/Odense"}));
    EXPECT_EQ(form.KlubberListbox->count(), 2);
    EXPECT_EQ(form.KlubNavnEdit->text(), "Odense") << "the item at the same place, or the one before";
    answers.Recorder().QueueAnswer(mrYes);
    form.SletKlubTool->trigger();
    Settle();
    EXPECT_EQ(answers.Shown(),
              QStringList({"Skal klubben slettes?", "Skal klubben slettes?", "Skal klubben slettes?",
                           "Der må ikke være registreret informationer på klubben, når den skal slettes"}));
    EXPECT_EQ(StoredKlubber(), QStringList({"1/Aarhus", "2/Odense"}));
}

TEST_F(EditKlubRows, ClosingWithEditsNotSavedAsks) {
    AddAarhusAndOdense();
    TEditKlubForm& form = Open();
    TRecordedMessages answers;
    form.KlubNavnEdit->setText("Aarhus AK");
    answers.Recorder().QueueAnswer(mrCancel);
    form.reject();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(answers.Shown(), QStringList({"Klubben har ændringer, som ikke er gemt. Skal de gemmes?"}));
    answers.Recorder().QueueAnswer(mrNo);
    form.reject();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(StoredKlubber(), QStringList({"1/Aarhus", "2/Odense"}));

    TEditKlubForm& again = Open("Aarhus");
    Goto(C::NavnCol, 1);
    Enter("Anne");
    answers.Recorder().QueueAnswer(mrYes);
    again.reject();
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(StoredDeltagere().at(1), "2/Anne/1");
    EXPECT_EQ(answers.Shown().size(), 2);

    TEditKlubForm& unchanged = Open();
    unchanged.reject();
    EXPECT_FALSE(unchanged.isVisible());
    EXPECT_EQ(answers.Shown(), QStringList()) << "nothing to ask";
}

// ---------------------------------------------------------------- purchases and payments

TEST_F(EditKlubRows, PurchasesShowTheirGoodsAndPaymentsAreTyped) {
    AddAarhusAndOdense();
    StoreRecord<TGruppeTable>(
        {{GruppeField::Gruppe, qint64(1)}, {GruppeField::Tekst, QStringLiteral("Tøj")}});
    StoreRecord<TVareTable>({{VareField::Varenummer, qint64(10)},
                             {VareField::Gruppe, qint64(1)},
                             {VareField::Korttekst, QStringLiteral("T-shirt")},
                             {VareField::Pris, 100.0}});
    StoreRecord<TKlubkobTable>({{KlubkobField::Klubnr, qint64(1)},
                                {KlubkobField::Varenummer, qint64(10)},
                                {KlubkobField::Antal, qint64(3)}});
    TEditKlubForm& form = Open("Aarhus");
    form.VisBetalingTool->trigger();
    TExtStringGrid& kob = *form.KlubKobGrid;
    EXPECT_EQ(Rows(kob, {0, 1, 2, 3}), QStringList({"10/3/Tøj - T-shirt/100.00"}));
    Goto(kob, 1, 1);
    Press(Qt::Key_Down);
    EnterAll({"11"});
    EXPECT_EQ(Shown(), QStringList({EVareManagerError(TVareManagerErrorNo::VareUndefined, "11").Message()}));
    EnterAll({"10", "2"});
    EXPECT_EQ(Rows(kob, {0, 1, 2, 3}),
              QStringList({"10/3/Tøj - T-shirt/100.00", "10/2/Tøj - T-shirt/100.00"}));

    TExtStringGrid& betaling = *form.BetalingGrid;
    Goto(betaling, 0, 1);
    EnterAll({"1-6-2024", "Kontant", "150,5"});
    EXPECT_EQ(Rows(betaling, {0, 1, 2}).front(), "01-06-2024/Kontant/150.5");
    Save();
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(Stored<TKlubkobTable>({KlubkobField::Klubnr, KlubkobField::Varenummer, KlubkobField::Antal}),
              QStringList({"1/10/3", "1/10/2"}));
    EXPECT_EQ(Stored<TBetalingTable>({KlubkobField::Klubnr, BetalingField::Tekst, BetalingField::Belob}),
              QStringList({"1/Kontant/150.5"}));
    // Deleting a purchase row.
    Goto(kob, 0, 1);
    Press(Qt::Key_Delete, Qt::ControlModifier);
    Save();
    EXPECT_EQ(Stored<TKlubkobTable>({KlubkobField::Antal}), QStringList({"2"}));
}
} // namespace
