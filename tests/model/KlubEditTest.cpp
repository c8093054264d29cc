#include "model/D_KlubEdit.h"

#include "ResultFixture.h"
#include "model/D_Context.h"
#include "model/D_Klub.h"
#include "model/D_KlubHold.h"
#include "model/D_Ovelser.h"
#include "model/D_Tekster.h"
#include "support/Test.h"

namespace {

class KlubEdit : public TResultTest {
protected:
    KlubEdit() { AddAarhusAndOdense(); }
    static TDeltagerElement& ByNumber(TKlubManager& klub, qint32 startnummer) {
        return *klub.GetDeltagere(startnummer).at(0);
    }
    static QStringList StoredNumbers() {
        return Stored<TDeltagerTable>({DeltagerField::Startnummer, DeltagerField::Navn});
    }
    static QStringList StoredEntries() {
        return Stored<TResultatTable>({ResultatField::Startnummer, ResultatField::Ovelse});
    }
    static QString Holder(TKlubManager& klub, qint32 startnummer, const TDataElement* self = nullptr) {
        QString holder;
        return klub.IsStartnummerUsed(startnummer, self, &holder) ? holder : QStringLiteral("-");
    }
};

// ---------------------------------------------------------------- start numbers

TEST_F(KlubEdit, AStartNumberIsUsedAsTheRecordsWillBeAfterTheNextSave) {
    TKlubManager klub(1);
    TDeltagerElement& bent = ByNumber(klub, 1);
    EXPECT_EQ(Holder(klub, 123), "Carl, Odense") << "stored, of another club";
    EXPECT_EQ(Holder(klub, 2), "Anna, Aarhus") << "loaded";
    EXPECT_EQ(Holder(klub, 1, &bent), "-") << "its own";
    EXPECT_EQ(Holder(klub, 7), "-");

    // Bent moves to 7: 1 is free, though still stored, and 7 is his.
    klub.ChangeStartnummer(bent, 7);
    EXPECT_EQ(Holder(klub, 1), "-");
    EXPECT_EQ(Holder(klub, 7), "Bent, Aarhus");
    // Anna is marked for deletion: 2 is free; a new participant takes it.
    klub.DeleteDeltager(ByNumber(klub, 2));
    EXPECT_EQ(Holder(klub, 2), "-");
    TDeltagerElement& ny = klub.GetDeltager(klub.NewDeltager());
    klub.ChangeStartnummer(ny, 2);
    ny.GetField(DeltagerField::Navn)->SetAsString(QStringLiteral("Dorte"));
    EXPECT_EQ(Holder(klub, 2, &bent), "Dorte, Aarhus");
    EXPECT_EQ(ErrorText([&] { klub.ChangeStartnummer(bent, 123); }),
              "Startnummer 123 er allerede givet til Carl, Odense");
    EXPECT_EQ(ErrorText([&] { klub.CheckStartnummer(0, nullptr); }), "Startnummeret skal være større end 0");
    EXPECT_EQ(bent.GetField(DeltagerField::Startnummer)->GetAsInteger(), 7)
        << "a refused number changes nothing";
    EXPECT_EQ(klub.GetNextStartnummer(), 124);

    ASSERT_TRUE(klub.SaveChanges());
    EXPECT_EQ(StoredNumbers(), QStringList({"2/Dorte", "7/Bent", "123/Carl"}));
    EXPECT_EQ(StoredEntries(), QStringList({"7/100", "123/100", "7/LÆ"})) << "Anna's entry is not the club's";
    // After the save the maps follow the saved records: 7 is Bent's still, and 1 is free.
    EXPECT_EQ(Holder(klub, 7, &bent), "-");
    EXPECT_EQ(Holder(klub, 1), "-");
    EXPECT_EQ(Holder(klub, 2), "Dorte, Aarhus");
}

TEST_F(KlubEdit, AChangedNumberTakesTheClubsResultsAndTheRelayLegsButNoOtherMarks) {
    AddDeltager(10, QStringLiteral("Aarhus stafet"), 0, 1);
    const quint32 stafet = AddResultat(Round("M", "4X100"), 10, {}, Serie({{2, 0}, {1, 0}, {77, 0}}));
    // A long jump whose attempt happens to be 1 (cm) is no leg.
    const quint32 spring = AddResultat(Round("M", "LÆ"), 123, {}, Serie({{1, 0}, {2, 0}}));
    TKlubManager klub(1);
    // 1 and 2 change places through 99.
    klub.ChangeStartnummer(ByNumber(klub, 1), 99);
    klub.ChangeStartnummer(ByNumber(klub, 2), 1);
    klub.ChangeStartnummer(ByNumber(klub, 99), 2);
    EXPECT_EQ(klub.GetResultater(2).size(), 2u) << "Bent's entries";
    ASSERT_TRUE(klub.SaveChanges());
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(StoredTail(stafet).mid(4), Serie({{1, 0}, {2, 0}, {77, 0}}));
    EXPECT_EQ(StoredTail(spring).mid(4), Serie({{1, 0}, {2, 0}}));
    EXPECT_EQ(StoredEntries(), QStringList({"2/100", "123/100", "10/4X100", "1/KU", "2/LÆ", "123/LÆ"}));

    // A damaged series is left as it is.
    TKlubManager again(1);
    EXPECT_TRUE(CarryStafetStartnumre({{1, 5}}));
    EXPECT_EQ(StoredTail(stafet).mid(4), Serie({{5, 0}, {2, 0}, {77, 0}}));
}

TEST_F(KlubEdit, OnlyWhatChangedIsWrittenAndAListSavedBehindTheManagersBackStaysSafe) {
    TKlubManager klub(1);
    ByNumber(klub, 1).GetField(DeltagerField::Navn)->SetAsString(QStringLiteral("Bent Ib"));
    // Behind the manager's back: Anna's record changes in the file.
    {
        TDeltagerTable table;
        table.Open();
        ASSERT_TRUE(table.FindStaevneKey(0, {2}));
        table.Edit();
        table.GetField(DeltagerField::Aargang)->SetAsInteger(1800);
        table.Post();
    }
    ASSERT_TRUE(klub.SaveChanges());
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Navn, DeltagerField::Aargang}),
              QStringList({"Bent Ib/1990", "Anna/1800", "Carl/1985"}));

    // Deleting through the list itself frees elements the manager knew; it follows.
    klub.GetResultater(1).at(0)->DeleteRequested = true;
    ASSERT_TRUE(klub.ResultatList().SaveAll());
    TResultatElement& ny = NewEntry(klub, Ov(), 1, QStringLiteral("m"), QStringLiteral("hø"));
    EXPECT_EQ(klub.GetResultater(1).size(), 2u);
    ASSERT_TRUE(klub.SaveChanges());
    EXPECT_FALSE(ny.IsNew);
    EXPECT_EQ(StoredEntries(), QStringList({"123/100", "1/HØ", "2/KU", "1/LÆ"}));
    // A deletion marked through the manager.
    klub.MarkDeleted(ny);
    ASSERT_TRUE(klub.SaveChanges());
    EXPECT_EQ(StoredEntries(), QStringList({"123/100", "2/KU", "1/LÆ"}));
    EXPECT_FALSE(klub.IsChanged());
}

// ---------------------------------------------------------------- entries

TEST_F(KlubEdit, AnEntryIsMadeOnlyForAnEventRowOfTheMeetAndOnlyOnce) {
    TKlubManager klub(1);
    const int before = klub.ResultatList().GetCount();
    EXPECT_EQ(ErrorText([&] { NewEntry(klub, Ov(), 1, "X", "100"); }),
              EOvelseManagerError(TOvelseManagerErrorNo::KlasseUndefined, {"X"}).Message());
    EXPECT_EQ(ErrorText([&] { NewEntry(klub, Ov(), 1, "K", "LÆ"); }),
              EOvelseManagerError(TOvelseManagerErrorNo::OvelseRkUndefined, {"K", "LÆ"}).Message());
    EXPECT_EQ(ErrorText([&] { NewEntry(klub, Ov(), 1, "m", " læ "); }),
              "Startnummer 1 er allerede tilmeldt LÆ i klasse M");
    EXPECT_EQ(klub.ResultatList().GetCount(), before) << "no record left behind";

    TResultatElement& kugle = NewEntry(klub, Ov(), 1, "m", "ku");
    EXPECT_EQ(EntryText(Ov(), kugle, ResultatField::Ovelse), "KU");
    EXPECT_EQ(SetEntryText(Ov(), kugle, ResultatField::Seedning, "14,25"), "14.25");
    EXPECT_EQ(ErrorText([&] { SetEntryText(Ov(), kugle, ResultatField::Seedning, "fjorten"); }),
              "\"fjorten\" er ikke et gyldigt resultat");
    EXPECT_EQ(kugle.GetField(ResultatField::Seedning)->GetAsInteger(), 1425);
    EXPECT_EQ(SetEntryText(Ov(), kugle, ResultatField::Seedning, ""), "") << "none shows empty";
    EXPECT_EQ(SetEntryText(Ov(), kugle, ResultatField::Efteranmeldelse, "ja"), "Ja");
    EXPECT_EQ(SetEntryText(Ov(), kugle, ResultatField::ResultatKode, "v"), "Venter");
    EXPECT_TRUE(ErrorText([&] {
                    SetEntryText(Ov(), kugle, ResultatField::Rank, "to");
                }).contains("Ulovlig \"integer\" værdi: to"));
    EXPECT_EQ(ErrorText([&] { SetEntryText(Ov(), kugle, ResultatField::Ovelse, "ZZ"); }),
              EOvelseManagerError(TOvelseManagerErrorNo::OvelseUndefined, {"ZZ"}).Message());
    // A second entry is checked against the others, not itself.
    EXPECT_NO_THROW(CheckSecondEntry(klub, 1, "M", "KU", &kugle));

    TDeltagerElement& bent = ByNumber(klub, 1);
    EXPECT_EQ(ErrorText([&] { SetDeltagerText(bent, DeltagerField::Navn, QStringLiteral("Łukasz")); }),
              "\"Łukasz\" kan kun indeholde tegn fra tegnsættet Windows-1252");
    EXPECT_TRUE(ErrorText([&] {
                    SetDeltagerText(bent, DeltagerField::Aargang, "19x");
                }).contains("Ulovlig \"integer\" værdi: 19x"));
    EXPECT_EQ(bent.GetField(DeltagerField::Aargang)->GetAsInteger(), 1990);
    EXPECT_EQ(ErrorText([] { ParseStartnummer("-3"); }), "Startnummeret skal være større end 0");
}

TEST_F(KlubEdit, TheRowsOfAClubShowEachResultOfARoundOnceUnderItsParticipant) {
    AddResultat(Round("M", "100", "F"), 1);
    // A result of no round of the meet, and a participant sharing another's number.
    StoreRecord<TResultatTable>({{ResultatField::Startnummer, qint64(2)},
                                 {ResultatField::Klasse, QStringLiteral("M")},
                                 {ResultatField::Ovelse, QStringLiteral("200")}});
    AddDeltager(2, QStringLiteral("Anna B"), 1992, 1);
    TKlubManager klub(1);
    QStringList rows;
    for (const TDeltagerRow& row : DeltagerRows(klub, Ov()))
        rows << (row.Deltager ? row.Deltager->GetTrimmedString(DeltagerField::Navn) : QString()) + u'/' +
                    (row.Resultat ? row.Info->GetOvelseKode() + row.Info->GetRunde() : QString());
    EXPECT_EQ(rows, QStringList({"Anna/KUF", "Anna B/", "Bent/100I", "/LÆF", "/100F"}));
}

// ---------------------------------------------------------------- the team sheet's rules

TEST_F(KlubEdit, TeamNumbersAreCheckedAndKeptUniqueInTheirColumn) {
    const TOvelseInfo& info = Round("M", "100");
    THoldSettings settings{false, false, false, 2, 3};
    EXPECT_EQ(CheckHoldCell(settings, info, " 2 "), "2");
    EXPECT_EQ(CheckHoldCell(settings, info, ""), "");
    EXPECT_EQ(CheckHoldCell(settings, info, "-"), FormatUdenforKonk("-"));
    EXPECT_EQ(ErrorText([&] { CheckHoldCell(settings, info, "3"); }),
              "Der kan kun være 2 deltagere pr. øvelse");
    EXPECT_EQ(ErrorText([&] { CheckHoldCell(settings, info, "0"); }),
              "Der kan kun være 2 deltagere pr. øvelse");
    settings.AntalDeltagerePrOvelse = 1;
    EXPECT_EQ(ErrorText([&] { CheckHoldCell(settings, info, "2"); }),
              "Der kan kun være 1 deltager pr. øvelse");
    EXPECT_EQ(ErrorText([&] { CheckHoldEvents(settings, 4); }), "En deltager kan maksimalt have 3 øvelser");
    EXPECT_NO_THROW(CheckHoldEvents(settings, 3));

    // Two per event: 2 typed where 1 stood makes the other holder of 2 the 1.
    settings.AntalDeltagerePrOvelse = 2;
    using Changes = std::vector<std::pair<int, QString>>;
    EXPECT_EQ(HoldColumnChanges(settings, {"2", "2"}, 0, "1", "2"), Changes({{1, "1"}}));
    // From an empty cell or a code, the other holder gives the number up.
    EXPECT_EQ(HoldColumnChanges(settings, {"1", "", "1"}, 0, "", "1"), Changes({{2, ""}}));
    EXPECT_EQ(HoldColumnChanges(settings, {"1", "1"}, 1, "UH", "1"), Changes({{0, ""}}));
    EXPECT_EQ(HoldColumnChanges(settings, {"1", "-"}, 1, "2", "UH"), Changes());
    // With the sheet's checks off, or marks typed, nothing moves.
    settings.UndladKontrol = true;
    EXPECT_EQ(CheckHoldCell(settings, info, "abc"), "ABC");
    EXPECT_EQ(HoldColumnChanges(settings, {"2", "2"}, 0, "1", "2"), Changes());
    EXPECT_NO_THROW(CheckHoldEvents(settings, 9));
    settings = {false, true, false, 2, 3};
    EXPECT_EQ(CheckHoldCell(settings, info, "11,9"), "11,9");
    EXPECT_EQ(ErrorText([&] { CheckHoldCell(settings, info, "elleve"); }),
              "\"ELLEVE\" er ikke et gyldigt resultat");
    // No limit set is no limit.
    settings = {};
    EXPECT_EQ(CheckHoldCell(settings, info, "17"), "17");
    EXPECT_NO_THROW(CheckHoldEvents(settings, 40));
}

TEST_F(KlubEdit, TheTeamSheetDeletesOnlyMembersWithoutARowAndCellsEmptied) {
    TKlubManager klub(1);
    const THoldSettings settings{false, false, false, 2, 3};
    std::vector<THoldRow> rows = HoldRows(klub, Ov(), settings, HoldColumns(Ov()));
    ASSERT_EQ(rows.size(), 2u);
    // Anna's row goes; Bent's 100 I emptied; a new member without a name and one with.
    rows.erase(rows.begin());
    for (THoldCell& cell : rows[0].Cells) {
        if (cell.Info == &Round("M", "100"))
            cell.Text.clear();
    }
    THoldRow nameless{nullptr, {}, {}, {}, rows[0].Cells};
    THoldRow dorte{nullptr, QStringLiteral("Dorte"), QStringLiteral("2004"), QStringLiteral("K"),
                   rows[0].Cells};
    for (THoldRow* row : {&nameless, &dorte}) {
        for (THoldCell& cell : row->Cells) {
            cell.Resultat = nullptr;
            cell.Text = cell.Info == &Round("M", "HØ") ? QStringLiteral("1") : QString();
        }
    }
    rows.push_back(nameless);
    rows.push_back(dorte);
    const THoldSaveResult saved = SaveHoldturnering(klub, settings, rows);
    EXPECT_EQ(saved.Errors, QStringList());
    EXPECT_EQ(saved.NewStartnumre, std::vector<qint32>({0, 0, 124}));
    ASSERT_TRUE(klub.SaveChanges());
    EXPECT_EQ(StoredNumbers(), QStringList({"1/Bent", "123/Carl", "124/Dorte"}));
    EXPECT_EQ(StoredEntries(), QStringList({"123/100", "124/HØ", "1/LÆ"}));
}
} // namespace
