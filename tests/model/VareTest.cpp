#include "model/D_Vare.h"

#include "support/Test.h"

#include "KlubRecords.h"
#include "storage/BtvFile.h"

namespace {

class Vare : public TKlubMeetsTest {
protected:
    // Meet A: groups 1 "Mad" and 2 "Tøj", goods 10 and 11 of group 1; meet B: group 3 "Andet" with
    // goods 12, and a purchase of A's goods number 11.
    void TwoMeets() {
        OpenA();
        StoreGruppe(1, QStringLiteral("Mad"));
        StoreGruppe(2, QStringLiteral("Tøj"));
        StoreVare(10, 1, 35);
        StoreVare(11, 1, 20);
        OpenB();
        StoreGruppe(3, QStringLiteral("Andet"));
        StoreVare(12, 3, 5);
        StoreVare(13, 2, 5);
        StoreKlubkob(1, 11, 2);
        OpenA();
    }
};

TEST_F(Vare, GroupsAndGoodsOfTheCurrentMeetAreFoundByTheirNumber) {
    TwoMeets();
    TVareManager varer;
    EXPECT_EQ(std::tuple(varer.GruppeList().GetCount(), varer.VareList().GetCount()), std::tuple(2, 2));
    int pos = -1;
    EXPECT_TRUE(varer.FindVare(QStringLiteral(" 11 "), pos) && pos == 1);
    EXPECT_EQ(varer.CurrentVare()->GetField(VareField::Pris)->GetAsFloat(), 20);
    // Not found: the current one stays.
    EXPECT_FALSE(varer.FindVare(QStringLiteral("12"), pos) || pos != -1);
    EXPECT_EQ(varer.CurrentVare()->GetTrimmedString(VareField::Varenummer), "11");
    EXPECT_EQ(varer.SelectGruppe(QStringLiteral("2")).GetTrimmedString(GruppeField::Tekst), "Tøj");
    EXPECT_EQ(varer.CurrentGruppe()->GetTrimmedString(GruppeField::Gruppe), "2");

    EXPECT_EQ(ErrorText([&] { varer.SelectVare(QStringLiteral(" 12")); }),
              "Object: TVareManager\r\nVare 12 er ikke defineret i stævnet");
    EXPECT_EQ(ErrorText([&] { varer.SelectGruppe(QStringLiteral("3")); }),
              "Object: TVareManager\r\nGruppe 3 er ikke defineret i stævnet");
}

TEST_F(Vare, AddedGroupsAndGoodsAreStoredInTheCurrentMeet) {
    TwoMeets();
    TVareManager varer;
    EXPECT_EQ(varer.AddGruppe(QStringLiteral("1")), nullptr);
    EXPECT_EQ(varer.AddVare(QStringLiteral("10")), nullptr);
    TGruppeElement* gruppe = varer.AddGruppe(QStringLiteral(" 4 "));
    ASSERT_NE(gruppe, nullptr);
    gruppe->GetField(GruppeField::Tekst)->SetAsString(QStringLiteral("Drikke"));
    EXPECT_EQ(ErrorText([&] { varer.AddVare(QStringLiteral("tolv")); }),
              "Object: TField\r\nUlovlig \"integer\" værdi: tolv");
    TVareElement* vare = varer.AddVare(QStringLiteral("12"));
    ASSERT_NE(vare, nullptr);
    EXPECT_EQ(varer.CurrentVare(), vare);
    vare->GetField(VareField::Gruppe)->SetAsInteger(4);
    EXPECT_TRUE(varer.IsChanged() && varer.Save());
    EXPECT_FALSE(varer.IsChanged());

    EXPECT_EQ(Stored<TGruppeTable>({GruppeField::Gruppe, GruppeField::Tekst}),
              QStringList({"1/Mad", "2/Tøj", "4/Drikke"}));
    EXPECT_EQ(Stored<TVareTable>({VareField::Varenummer, VareField::Gruppe}),
              QStringList({"10/1", "11/1", "12/4"}));
    OpenB();
    EXPECT_EQ(Stored<TVareTable>({VareField::Varenummer}), QStringList({"12", "13"}));
}

TEST_F(Vare, GroupInUseCannotBeDeleted) {
    TwoMeets();
    TVareManager varer;
    // Group 2 is used only by a goods item of meet B.
    EXPECT_FALSE(varer.IsGruppeUsed(2));
    EXPECT_FALSE(varer.DeleteGruppe(varer.SelectGruppe(QStringLiteral("1"))));
    EXPECT_EQ(Shown(), QStringList({"Kan ikke slette gruppe \"1\", da den er i brug."}));
    EXPECT_FALSE(varer.CurrentGruppe()->DeleteRequested);

    // Goods stored since this manager loaded its lists.
    {
        TVareManager andre;
        andre.AddVare(QStringLiteral("14"))->GetField(VareField::Gruppe)->SetAsInteger(2);
        ASSERT_TRUE(andre.Save());
    }
    EXPECT_FALSE(varer.DeleteGruppe(varer.SelectGruppe(QStringLiteral("2"))));
    EXPECT_EQ(Shown(), QStringList({"Kan ikke slette gruppe \"2\", da den er i brug."}));

    // Goods waiting to be stored use a group too; goods marked for deletion no longer do.
    varer.Load();
    varer.SelectVare(QStringLiteral("14")).GetField(VareField::Gruppe)->SetAsInteger(1);
    EXPECT_TRUE(varer.IsGruppeUsed(1) && !varer.IsGruppeUsed(2));
    varer.SelectVare(QStringLiteral("10")).DeleteRequested = true;
    varer.SelectVare(QStringLiteral("11")).DeleteRequested = true;
    varer.SelectVare(QStringLiteral("14")).DeleteRequested = true;
    EXPECT_TRUE(varer.DeleteGruppe(varer.SelectGruppe(QStringLiteral("1"))));
    EXPECT_TRUE(Shown().isEmpty());
    // A deleted number is no longer found, and may be given again.
    int pos = -1;
    EXPECT_FALSE(varer.FindGruppe(QStringLiteral("1"), pos));
    EXPECT_NE(varer.AddGruppe(QStringLiteral("1")), nullptr);
    ASSERT_TRUE(varer.Save());
    EXPECT_TRUE(Stored<TVareTable>({VareField::Varenummer}).isEmpty());
    EXPECT_EQ(Stored<TGruppeTable>({GruppeField::Gruppe}), QStringList({"1", "2"}));
}

TEST_F(Vare, GoodsWithPurchasesCannotBeDeleted) {
    TwoMeets();
    StoreKlubkob(1, 10, 3);
    TVareManager varer;
    // Meet B's purchase of number 11 is not one of this meet.
    EXPECT_TRUE(varer.IsVareUsed(10) && !varer.IsVareUsed(11));
    EXPECT_FALSE(varer.DeleteVare(varer.SelectVare(QStringLiteral("10"))));
    EXPECT_EQ(Shown(), QStringList({"Kan ikke slette vare \"10\", da der findes registreringer på varen."}));
    EXPECT_TRUE(varer.DeleteVare(varer.SelectVare(QStringLiteral("11"))));
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(Vare, PurchasesAreFoundInAnOlderFileWithoutTheGoodsKey) {
    // KLUBKOB.ZU2 with only the key the program has always relied on.
    const TRecordFileDef& def = RecordFileDef(TRecordFileNo::Klubkob);
    ASSERT_TRUE(QFile::remove(Path(QString::fromLatin1(def.FileName))));
    TRecordFileDef older = def;
    older.Keys.resize(1);
    ASSERT_TRUE(older.Create(Path(QString::fromLatin1(def.FileName))));
    TwoMeets();
    StoreKlubkob(2, 10, 1);
    TVareManager varer;
    EXPECT_TRUE(varer.IsVareUsed(10) && !varer.IsVareUsed(11));
}

} // namespace
