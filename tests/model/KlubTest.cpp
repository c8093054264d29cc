#include "model/D_Klub.h"

#include "support/Test.h"

#include "KlubRecords.h"
#include "model/D_Context.h"

namespace {

const QString KlubHarData =
    QStringLiteral("Der må ikke være registreret informationer på klubben, når den skal slettes");

class Klub : public TKlubMeetsTest {
protected:
    // Meet A: club 1 "Aarhus" with Bent (1) and Anna (3), club 2 "Odense" with Carl (7); meet B: club 1
    // "Bjerg" with Xenia (1). Each club has an entry per participant, a purchase and a payment.
    void TwoMeets() {
        OpenA();
        StoreKlub(1, QStringLiteral("Aarhus"));
        StoreKlub(2, QStringLiteral("Odense"));
        StoreDeltager(1, 1, QStringLiteral("Bent"));
        StoreDeltager(7, 2, QStringLiteral("Carl"));
        StoreDeltager(3, 1, QStringLiteral("Anna"));
        StoreResultat(3, QStringLiteral("100M"));
        StoreResultat(1, QStringLiteral("LÆNGDE"));
        StoreResultat(7, QStringLiteral("400M"));
        StoreResultat(1, QStringLiteral("200M"));
        StoreKlubkob(1, 10, 2);
        StoreKlubkob(2, 11, 5);
        StoreBetaling(1, 150);
        StoreBetaling(2, 75);
        OpenB();
        StoreKlub(1, QStringLiteral("Bjerg"));
        StoreDeltager(1, 1, QStringLiteral("Xenia"));
        StoreResultat(1, QStringLiteral("KUGLE"));
        StoreKlubkob(1, 12, 1);
        StoreBetaling(1, 999);
        OpenA();
    }

    // The fields of each element in the list's order, joined by "/".
    static QStringList Texts(TDataList& list, std::initializer_list<int> fieldNos) {
        QStringList rows;
        for (int i = 0; i < list.GetCount(); ++i) {
            QStringList fields;
            for (const int fieldNo : fieldNos)
                fields << list.GetElement(i)->GetTrimmedString(fieldNo);
            rows << fields.join(u'/');
        }
        return rows;
    }
    static QStringList Deltagere(TKlubManager& klubber) {
        return Texts(klubber.DeltagerList(), {DeltagerField::Navn});
    }
    static QStringList Resultater(TKlubManager& klubber) {
        return Texts(klubber.ResultatList(), {ResultatField::Startnummer, ResultatField::Ovelse});
    }
};

// ---------------------------------------------------------------- loading

TEST_F(Klub, OneClubIsLoadedWithItsOwnDataOfItsOwnMeet) {
    TwoMeets();
    TKlubManager klub(1);
    ASSERT_EQ(klub.GetKlubCount(), 1);
    EXPECT_EQ(klub.GetCurrentKlub()->GetTrimmedString(KlubField::Navn), "Aarhus");
    // By name, and the results in that order of the participants.
    EXPECT_EQ(Deltagere(klub), QStringList({"Anna", "Bent"}));
    EXPECT_EQ(Resultater(klub), QStringList({"3/100M", "1/LÆNGDE", "1/200M"}));
    EXPECT_EQ(Texts(klub.KlubkobList(), {KlubkobField::Varenummer}), QStringList({"10"}));
    EXPECT_EQ(Texts(klub.BetalingList(), {BetalingField::Belob}), QStringList({"150"}));

    klub.SelectKlub(*klub.GetCurrentKlub(), DeltagerField::Startnummer);
    EXPECT_EQ(Deltagere(klub), QStringList({"Bent", "Anna"}));
    EXPECT_EQ(Resultater(klub), QStringList({"1/LÆNGDE", "1/200M", "3/100M"}));

    klub.LoadKlubData(-1, DeltagerField::Navn);
    EXPECT_EQ(klub.DeltagerList().GetCount() + klub.ResultatList().GetCount() +
                  klub.KlubkobList().GetCount() + klub.BetalingList().GetCount(),
              0);
    EXPECT_EQ(TKlubManager(5).GetKlubCount(), 0);
}

TEST_F(Klub, EveryClubAndClubNamesByStartNumberWithinTheMeet) {
    TwoMeets();
    StoreDeltager(40, 9, QStringLiteral("Uden klub"));
    TKlubManager klubber;
    ASSERT_EQ(klubber.GetKlubCount(), 2);
    EXPECT_EQ(klubber.GetKlub(1).GetTrimmedString(KlubField::Navn), "Odense");
    EXPECT_EQ(klubber.FindKlubNavnByStartnummer(3), "Aarhus");
    EXPECT_EQ(klubber.FindKlubNavnByStartnummer(7), "Odense");
    EXPECT_EQ(klubber.FindKlubNavnByStartnummer(40), "");
    EXPECT_EQ(klubber.FindKlubNavnByStartnummer(8), "");
    OpenB();
    TKlubManager b;
    EXPECT_EQ(b.GetKlubCount(), 1);
    EXPECT_EQ(b.FindKlubNavnByStartnummer(1), "Bjerg");
    EXPECT_EQ(b.FindKlubNavnByStartnummer(3), "");
}

TEST_F(Klub, NewElementsBelongToTheMeetAndClubAndAreSavedTogether) {
    TwoMeets();
    TKlubManager klub(2);
    const int deltager = klub.NewDeltager();
    klub.GetDeltager(deltager).GetField(DeltagerField::Startnummer)->SetAsInteger(8);
    klub.GetDeltager(deltager).GetField(DeltagerField::Navn)->SetAsString(QStringLiteral("Dorte"));
    klub.GetResultat(klub.NewResultat()).GetField(ResultatField::Startnummer)->SetAsInteger(8);
    klub.GetKlubkob(klub.NewKlubkob()).GetField(KlubkobField::Varenummer)->SetAsInteger(11);
    klub.GetBetaling(klub.NewBetaling()).GetField(BetalingField::Belob)->SetAsFloat(20);
    EXPECT_EQ(klub.DeltagerList().GetCount(), 2);
    EXPECT_TRUE(klub.SaveAll());

    TKlubManager again(2);
    EXPECT_EQ(Deltagere(again), QStringList({"Carl", "Dorte"}));
    EXPECT_EQ(again.ResultatList().GetCount(), 2);
    EXPECT_EQ(again.KlubkobList().GetCount(), 2);
    EXPECT_EQ(again.BetalingList().GetCount(), 2);
    OpenB();
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Navn}), QStringList({"Xenia"}));
}

// ---------------------------------------------------------------- start numbers

TEST_F(Klub, NextStartNumberOfAMeetWithoutParticipantsIsOne) {
    OpenA();
    StoreDeltager(500, 1, QStringLiteral("Høj"));
    // Meet B comes after A in the files: A's numbers lie below B's search but are not B's.
    OpenB();
    TKlubManager b;
    EXPECT_EQ(b.GetNextStartnummer(), 1);
    StoreDeltager(90, 1, QStringLiteral("Sidst"));
    EXPECT_EQ(b.GetNextStartnummer(), 91);
    // B's numbers lie above A's search.
    OpenA();
    EXPECT_EQ(TKlubManager().GetNextStartnummer(), 501);
    // A third meet, after both.
    CreateMeet(QStringLiteral("Stævne C"));
    EXPECT_EQ(TKlubManager().GetNextStartnummer(), 1);
}

TEST_F(Klub, NextStartNumberCountsUnsavedParticipantsInAnyOrderAndLeavesGaps) {
    OpenA();
    StoreKlub(1, QStringLiteral("Aarhus"));
    StoreDeltager(9, 2, QStringLiteral("Ni"));
    StoreDeltager(2, 1, QStringLiteral("To"));
    StoreDeltager(5, 1, QStringLiteral("Fem"));
    TKlubManager klub(1);
    EXPECT_EQ(klub.GetNextStartnummer(), 10);
    // Unsaved numbers in no order, the highest first.
    for (const qint32 startnummer : {14, 3, 12})
        klub.GetDeltager(klub.NewDeltager()).GetField(DeltagerField::Startnummer)->SetAsInteger(startnummer);
    EXPECT_EQ(klub.GetNextStartnummer(), 15);
    // A loaded participant given a higher number not yet saved.
    klub.GetDeltager(0).GetField(DeltagerField::Startnummer)->SetAsInteger(30);
    EXPECT_EQ(klub.GetNextStartnummer(), 31);
}

TEST_F(Klub, DeletedHighestStartNumberIsNotHandedOutAgainInTheRun) {
    TwoMeets();
    // Carl (7) of club 2 has the meet's highest number.
    TKlubManager odense(2);
    EXPECT_EQ(odense.GetNextStartnummer(), 8);
    // Typed over before the delete: the stored number is the one freed.
    odense.GetDeltager(0).GetField(DeltagerField::Startnummer)->SetAsInteger(4);
    odense.GetDeltager(0).DeleteRequested = true;
    EXPECT_TRUE(odense.SaveAll());
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Startnummer}), QStringList({"1", "3"}));
    EXPECT_EQ(odense.GetNextStartnummer(), 8);
    EXPECT_EQ(TKlubManager(1).GetNextStartnummer(), 8);
    // Another meet is not held back by it.
    OpenB();
    EXPECT_EQ(TKlubManager().GetNextStartnummer(), 2);
}

// ---------------------------------------------------------------- club numbers

TEST_F(Klub, NewClubNumberFollowsTheMeetsHighestClub) {
    TwoMeets();
    StoreKlub(7, QStringLiteral("Syv"));
    TKlubManager a;
    TKlubElement& ny = a.NewKlub();
    EXPECT_EQ(ny.GetField(KlubField::KlubNr)->GetAsInteger(), 8);
    EXPECT_EQ(ny.GetTrimmedString(KlubField::Navn), "Ny klub");
    EXPECT_EQ(a.GetCurrentKlub(), &ny);
    EXPECT_EQ(a.GetKlubCount(), 4);
    EXPECT_EQ(Stored<TKlubTable>({KlubField::KlubNr, KlubField::Navn}),
              QStringList({"1/Aarhus", "2/Odense", "7/Syv", "8/Ny klub"}));

    CreateMeet(QStringLiteral("Stævne C"));
    TKlubManager c;
    EXPECT_EQ(c.NewKlub().GetField(KlubField::KlubNr)->GetAsInteger(), 1);
    EXPECT_EQ(c.NewKlub().GetField(KlubField::KlubNr)->GetAsInteger(), 2);
    OpenB();
    EXPECT_EQ(Stored<TKlubTable>({KlubField::KlubNr, KlubField::Navn}), QStringList({"1/Bjerg"}));
}

TEST_F(Klub, NewClubAfterTheHighestClubWasDeleted) {
    TwoMeets();
    StoreKlub(5, QStringLiteral("Tom"));
    {
        TKlubManager a;
        // A club stored before this run, then one made in it.
        a.GetKlub(2);
        ASSERT_TRUE(a.DeleteKlub());
        EXPECT_EQ(a.NewKlub().GetField(KlubField::KlubNr)->GetAsInteger(), 6);
        ASSERT_TRUE(a.DeleteKlub());
        EXPECT_EQ(a.GetKlubCount(), 2);
        EXPECT_EQ(a.NewKlub().GetField(KlubField::KlubNr)->GetAsInteger(), 7);
        a.GetKlub(2);
        ASSERT_TRUE(a.DeleteKlub());
    }
    EXPECT_EQ(Stored<TKlubTable>({KlubField::KlubNr}), QStringList({"1", "2"}));
    // A later manager in the same run, and the other meet, which has its own numbers.
    EXPECT_EQ(TKlubManager().NewKlub().GetField(KlubField::KlubNr)->GetAsInteger(), 8);
    OpenB();
    EXPECT_EQ(TKlubManager().NewKlub().GetField(KlubField::KlubNr)->GetAsInteger(), 2);
}

// ---------------------------------------------------------------- deleting a club

TEST_F(Klub, ClubWithStoredDataIsNotDeletedEvenWhenNoneIsLoaded) {
    TwoMeets();
    StoreKlub(3, QStringLiteral("Kun betaling"));
    StoreBetaling(3, 10);
    StoreKlub(4, QStringLiteral("Kun køb"));
    StoreKlubkob(4, 10, 1);
    StoreKlub(5, QStringLiteral("Kun deltager"));
    StoreDeltager(20, 5, QStringLiteral("Eva"));
    TKlubManager klubber;
    // Club 2's data is loaded; the others (in number order) are only made current.
    klubber.SelectKlub(klubber.GetKlub(1), DeltagerField::Navn);
    for (const qint32 klubNr : {1, 3, 4, 5}) {
        klubber.GetKlub(klubNr - 1);
        EXPECT_FALSE(klubber.DeleteKlub()) << klubNr;
        EXPECT_EQ(Shown(), QStringList({KlubHarData}));
    }
    EXPECT_EQ(klubber.GetKlubCount(), 5);
    EXPECT_EQ(Stored<TKlubTable>({KlubField::KlubNr}), QStringList({"1", "2", "3", "4", "5"}));
}

TEST_F(Klub, EmptyClubIsDeletedWhateverTheOtherMeetHolds) {
    TwoMeets();
    // Club 1 of meet A has everything; club 1 of meet B loses its data first.
    OpenB();
    {
        TKlubManager b(1);
        b.GetDeltager(0).DeleteRequested = true;
        b.GetResultat(0).DeleteRequested = true;
        b.GetKlubkob(0).DeleteRequested = true;
        b.GetBetaling(0).DeleteRequested = true;
        // Marked, not yet saved: still stored.
        EXPECT_FALSE(b.DeleteKlub());
        EXPECT_EQ(Shown(), QStringList({KlubHarData}));
        ASSERT_TRUE(b.SaveAll());
        // Waiting to be stored.
        b.NewBetaling();
        EXPECT_FALSE(b.DeleteKlub());
        EXPECT_EQ(Shown(), QStringList({KlubHarData}));
        b.GetBetaling(0).DeleteRequested = true;
        EXPECT_TRUE(b.DeleteKlub());
        EXPECT_EQ(b.GetKlubCount(), 0);
        EXPECT_FALSE(b.DeleteKlub());
    }
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_TRUE(Stored<TKlubTable>({KlubField::KlubNr}).isEmpty());
    OpenA();
    EXPECT_EQ(Stored<TKlubTable>({KlubField::KlubNr}), QStringList({"1", "2"}));
}

// ---------------------------------------------------------------- fees and amounts

TEST_F(Klub, EntryFeeByPriceGroupLateEntryAndStatus) {
    TwoMeets();
    TOvelseRkTable rkTable;
    rkTable.Open();
    TOvelseRkList rkList(rkTable);
    TOvelseRkElement& ovelseRk = *rkList.GetElement(rkList.AddNew());
    const std::pair<int, double> fees[] = {
        {OvelseRkField::Startgebyr1, 10},     {OvelseRkField::Efteranmgebyr1, 20},
        {OvelseRkField::Strafgebyr1, 40},     {OvelseRkField::Startgebyr2, 100},
        {OvelseRkField::Efteranmgebyr2, 200}, {OvelseRkField::Strafgebyr2, 400}};
    for (const auto& [fieldNo, fee] : fees)
        ovelseRk.GetField(fieldNo)->SetAsFloat(fee);

    struct TCase {
        int Prisgruppe;
        bool Efteranmeldt;
        const char* Kode;
        double Gebyr;
    };
    // A waiting entry pays nothing, a no-show pays its fee and the penalty, any other status its fee.
    // clang-format off
    const TCase cases[] = {
        {0, false, "", 10}, {0, true, "", 20}, {0, false, "V", 0}, {0, true, "V", 0}, {0, false, "E", 50},
        {0, true, "E", 60}, {0, false, "A", 10}, {0, true, "D", 20}, {1, false, "", 100}, {1, true, "", 200},
        {1, false, "E", 500}, {1, true, "E", 600}, {1, false, "U", 100}, {1, true, "Venter", 0},
        {2, false, "Ej mødt", 500}};
    // clang-format on
    TKlubManager klub(1);
    TResultatElement& entry = klub.GetResultat(0);
    for (const TCase& c : cases) {
        klub.GetCurrentKlub()->GetField(KlubField::Prisgruppe)->SetAsInteger(c.Prisgruppe);
        entry.GetField(ResultatField::Efteranmeldelse)->SetAsInteger(c.Efteranmeldt ? 1 : 0);
        entry.GetField(ResultatField::ResultatKode)->SetAsString(QString::fromUtf8(c.Kode));
        klub.GetResultat(0);
        EXPECT_EQ(klub.CalcStartgebyr(ovelseRk), c.Gebyr)
            << c.Prisgruppe << " " << c.Efteranmeldt << " " << c.Kode;
    }

    // A result of a later round is no entry and pays nothing.
    entry.GetField(ResultatField::Runde)->SetAsString(QStringLiteral("F"));
    EXPECT_EQ(klub.CalcStartgebyr(ovelseRk), 0);
    entry.GetField(ResultatField::Runde)->SetAsString(QStringLiteral(" "));
    EXPECT_EQ(klub.CalcStartgebyr(ovelseRk), 500);
}

TEST_F(Klub, PurchaseAmountIsQuantityTimesPriceOfKnownGoods) {
    TwoMeets();
    StoreVare(10, 1, 12.5);
    StoreVare(11, 1, 100);
    StoreKlubkob(1, 99, 3);
    OpenB();
    StoreVare(99, 1, 1000);
    OpenA();
    TKlubManager klub(1);
    ASSERT_EQ(klub.KlubkobList().GetCount(), 2);
    klub.GetKlubkob(0);
    EXPECT_EQ(klub.CalcKlubkobBelob(), 25);
    // Another goods item current beforehand lends its price to nothing.
    int pos = -1;
    ASSERT_TRUE(klub.VareManager()->FindVare(QStringLiteral("11"), pos));
    klub.GetKlubkob(1);
    EXPECT_EQ(klub.CalcKlubkobBelob(), 0);
    EXPECT_EQ(klub.VareManager()->CurrentVare()->GetField(VareField::Varenummer)->GetAsInteger(), 11);
}

} // namespace
