#include "StaevneDefTestSupport.h"

#include "foundation/controls/EditUtil.h"
#include "foundation/controls/Extstrgr.h"
#include "model/D_Klub.h"
#include "ui/staevne/StaevneDefHold.h"

#include <QCheckBox>
#include <QCoreApplication>

namespace {

class TStaevneDefHoldTest : public TStaevneDefTest {
protected:
    // The wizard on the page of a team-league template.
    std::unique_ptr<TStaevneDefForm> HoldWizard(QRadioButton* const TStaevneDefForm::*skabelon) {
        auto form = NewWizard(QStringLiteral("Holdkamp"));
        (form.get()->*skabelon)->click();
        form->NaesteButton->click();
        return form;
    }
    static void SetKlubber(THoldSide& side, const QStringList& klubber) {
        for (int row = 1; row <= klubber.size(); ++row)
            side.HoldGrid->SetCells(THoldSide::KlubCol, row, klubber[row - 1]);
    }
    static TOvelseInfo& Info(const QString& ovelse) {
        TOvelseInfo* info =
            OvelseManager->FindOvelseInfo(OvelseManager->GetInfo(0)->GetKlasseKode(), ovelse, "");
        EXPECT_NE(info, nullptr) << ovelse.toStdString();
        return *info;
    }
    static QTime Tid(const QString& ovelse) { return DateTimeToQTime(Info(ovelse).GetTid()); }
    static QString BaneFordeling(const QString& ovelse) {
        return Info(ovelse).OvelseRk().GetTrimmedString(OvelseRkField::HoldBaneFordeling);
    }
    static QStringList Overskrifter(const TSystemData& data) { return {data.Overskrift1, data.Overskrift2}; }
    // Each club as "team code name points".
    static QStringList Klubber() {
        TKlubManager klubber(AlleKlubber);
        QStringList texts;
        for (int i = 0; i < klubber.GetKlubCount(); ++i) {
            const TKlubElement& klub = klubber.GetKlub(i);
            texts.append(klub.GetTrimmedString(KlubField::HoldKode) + u' ' +
                         klub.GetTrimmedString(KlubField::Navn) + u' ' +
                         QString::number(klub.GetField(KlubField::PointRunde1)->GetAsFloat()));
        }
        return texts;
    }
};

TEST_F(TStaevneDefHoldTest, DanmarksturneringEliteWithADoubleMatch) {
    auto form = HoldWizard(&TStaevneDefForm::Danmarksturnering);
    TDTSide1Page& dt = *form->DTSide1Page;
    ASSERT_EQ(form->PageControl->currentWidget(), &dt);
    EXPECT_EQ(dt.HoldGrid->Cells(THoldSide::HoldCol, 26), "Z");
    for (QWidget* later : std::initializer_list<QWidget*>{dt.EliteDivision, dt.HoldGrid, dt.DTDobbeltMatch})
        EXPECT_FALSE(later->isEnabled()) << later->objectName().toStdString();
    dt.DTKvinder->click();
    dt.EliteDivision->click();
    EXPECT_FALSE(dt.DTOest->isEnabled());
    dt.DTIndledende->click();
    EXPECT_EQ(dt.AntalDTHold->text(), "8");
    dt.DTDobbeltMatch->click();
    EXPECT_FALSE(form->UdfoerButton->isEnabled()) << "no team yet";
    SetKlubber(dt, {"AK", "", "   ", " Sparta "});
    form->UdfoerButton->click();
    ASSERT_EQ(form->result(), mrOk);
    EXPECT_EQ(Shown(), QStringList());

    TStaevneManager& manager = Reopen("Holdkamp");
    const TSystemData& data = manager.SystemData();
    EXPECT_TRUE(data.DT && manager.Registry().VisNulOvelser);
    EXPECT_FALSE(data.VT || data.LTU || data.FlereRunder || data.Indendors || data.BrugPersonligRekord);
    EXPECT_EQ(std::tuple(data.AntalDTHold, data.AntalDeltagerePrOvelse, data.MaxAntalOvelserPrDeltager),
              std::tuple(8, 2, 3));
    EXPECT_EQ(Overskrifter(data), QStringList({"DT - KVINDER", "Elitedivisionen, indledende"}));
    EXPECT_EQ(data.DTOvelserHalvePoints, QStringList({"100", "1500", "LÆ", "KU"}));
    EXPECT_EQ(Klasser(), QStringList({"K"}));
    EXPECT_EQ(OvelseManager->GetInfoCount(), 18);
    // The double times after the start at 10:00.
    EXPECT_EQ(std::tuple(Tid("100"), Tid("4X400"), Tid("DI")),
              std::tuple(QTime(10, 45), QTime(15, 30), QTime(10, 0)));
    EXPECT_EQ(QStringList({BaneFordeling("100"), BaneFordeling("HØ")}),
              QStringList({"12345678", "78123456"}));
    EXPECT_EQ(std::tuple(Info("100").GetAntalPrHeat(), Info("100").GetHeatinddeling()), std::tuple(8, 4));
    EXPECT_EQ(Info("HA").GetAttributKode(), "4/116");
    // An empty cell gives no club; one of blanks gives "Hold " and its letter.
    EXPECT_EQ(Klubber(), QStringList({"A AK 0", "C Hold C 0", "D Sparta 0"}));
}

TEST_F(TStaevneDefHoldTest, DanmarksturneringChoicesAndTheDoubleMatchOffer) {
    auto form = HoldWizard(&TStaevneDefForm::Danmarksturnering);
    TDTSide1Page& dt = *form->DTSide1Page;
    dt.DTMaend->click();
    dt.EliteDivision->click();
    dt.DTFinale->click();
    EXPECT_FALSE(dt.Divisioner[1]->isEnabled()) << "a final is the elite division's";
    EXPECT_EQ(dt.AntalDTHold->text(), "6");
    dt.DTKvalifikation->click();
    EXPECT_TRUE(dt.Divisioner[1]->isEnabled());

    dt.Divisioner[3]->click();
    EXPECT_FALSE(dt.DTFinale->isEnabled());
    EXPECT_TRUE(dt.DTOest->isEnabled());
    EXPECT_FALSE(form->UdfoerButton->isEnabled());
    dt.DTOest->click();
    dt.DTIndledende->click();
    EXPECT_FALSE(dt.EliteDivision->isEnabled()) << "a district belongs below the elite division";
    EXPECT_FALSE(dt.DTDobbeltMatch->isEnabled()) << "the 3rd division has no double times";
    dt.Divisioner[2]->click();
    ASSERT_TRUE(dt.DTDobbeltMatch->isEnabled());
    dt.DTDobbeltMatch->click();
    dt.Divisioner[3]->click();
    EXPECT_FALSE(dt.DTDobbeltMatch->isChecked());
    EXPECT_FALSE(dt.DTDobbeltMatch->isEnabled());

    dt.AntalDTHold->setText("0");
    SetKlubber(dt, {"AK", "Sparta"});
    EXPECT_FALSE(form->UdfoerButton->isEnabled()) << "no teams to score";
    dt.AntalDTHold->setText("6");
    form->UdfoerButton->click();
    ASSERT_EQ(form->result(), mrOk);

    const TSystemData& data = Reopen("Holdkamp").SystemData();
    EXPECT_EQ(Overskrifter(data).mid(0, 2), QStringList({"DT - MÆND", "3. division øst, indledende"}));
    EXPECT_EQ(data.AntalDTHold, 6);
    EXPECT_EQ(data.DTOvelserHalvePoints, QStringList());
    EXPECT_EQ(Klasser(), QStringList({"M"}));
    EXPECT_EQ(OvelseManager->GetInfoCount(), 15);
    EXPECT_EQ(std::tuple(Tid("100"), Tid("4X100")), std::tuple(QTime(10, 45), QTime(12, 15)));
    EXPECT_EQ(BaneFordeling("4X100"), "561234");
}

TEST_F(TStaevneDefHoldTest, VeteranLeagueSecondRoundBringsTheFirstRoundsPoints) {
    auto form = HoldWizard(&TStaevneDefForm::VeteranHoldturnering);
    TVTSide1Page& vt = *form->VTSide1Page;
    vt.VTMaend->click();
    vt.VTRunde2->click();
    EXPECT_FALSE(vt.HoldGrid->isEnabled()) << "a district first";
    vt.VTVest->click();
    SetKlubber(vt, {"AK", "Sparta"});
    vt.HoldGrid->SetCells(TVTSide1Page::PointCol, 1, "12,5");
    vt.HoldGrid->SetCells(TVTSide1Page::PointCol, 2, "x");
    EXPECT_FALSE(form->UdfoerButton->isEnabled()) << "points that are no number";
    ASSERT_TRUE(vt.HoldGrid->GotoCell(TVTSide1Page::PointCol, 2, false));
    EXPECT_FALSE(vt.HoldGrid->GotoCell(THoldSide::KlubCol, 3, false));
    QCoreApplication::processEvents();
    EXPECT_EQ(Shown(), QStringList({"Forkert angivelse af points"}));

    // Another round takes the points away, and the second brings the column back empty.
    vt.VTRunde1->click();
    EXPECT_FALSE(vt.PointsEditable());
    vt.VTRunde2->click();
    EXPECT_EQ(vt.HoldGrid->Cells(TVTSide1Page::PointCol, 1), "");
    vt.HoldGrid->SetCells(TVTSide1Page::PointCol, 1, "12,5");
    EXPECT_FALSE(form->UdfoerButton->isEnabled()) << "Sparta's points are missing";
    vt.HoldGrid->SetCells(TVTSide1Page::PointCol, 2, " 7.5 ");
    form->UdfoerButton->click();
    ASSERT_EQ(form->result(), mrOk);

    const TSystemData& data = Reopen("Holdkamp").SystemData();
    EXPECT_TRUE(data.VT && data.FlereRunder);
    EXPECT_FALSE(data.DT || data.LTU);
    EXPECT_EQ(Overskrifter(data), QStringList({"VT - MÆND", "2. runde, Vest"}));
    EXPECT_EQ(OvelseManager->GetInfoCount(), 12);
    // 12 in a heat; heat allocation is DT's.
    EXPECT_EQ(std::pair(Info("1500").GetAntalPrHeat(), Info("1500").GetHeatinddeling()), std::pair(12, 0));
    EXPECT_EQ(Klubber(), QStringList({"A AK 12.5", "B Sparta 7.5"}));
}

} // namespace

TEST_F(TStaevneDefHoldTest, DMUHoldFinalOfTheGirls15) {
    auto form = HoldWizard(&TStaevneDefForm::DMUHold);
    TLTUSide1Page& ltu = *form->LTUSide1Page;
    ltu.LTUP15->click();
    ltu.LTUFinale->click();
    EXPECT_FALSE(ltu.LTUOest->isEnabled());
    ASSERT_TRUE(ltu.HoldGrid->isEnabled()) << "a final needs no district";
    SetKlubber(ltu, {"Fyn"});
    form->UdfoerButton->click();
    ASSERT_EQ(form->result(), mrOk);

    const TSystemData& data = Reopen("Holdkamp").SystemData();
    EXPECT_TRUE(data.LTU);
    EXPECT_FALSE(data.DT || data.VT || data.FlereRunder);
    EXPECT_EQ(std::tuple(data.PointBeregning, data.MaxAntalOvelserPrDeltager, data.AntalTaellendeDeltagere),
              std::tuple(5, 2, 1));
    EXPECT_EQ(Overskrifter(data).mid(0, 2), QStringList({"DMU hold - P15", "Finale"}));
    EXPECT_EQ(Klasser(), QStringList({"P15"}));
    EXPECT_EQ(OvelseManager->GetInfoCount(), 13);
    EXPECT_EQ(Tid("4X100"), QTime(16, 15));
    EXPECT_EQ(Info("80H").GetAttributKode(), "76");
    EXPECT_EQ(Klubber(), QStringList({"A Fyn 0"}));
}
