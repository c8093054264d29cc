#include "EditKlubTestSupport.h"

#include "model/D_Context.h"

namespace {

constexpr int Deltagere = 300;

class EditKlubMass : public TEditKlubTest {
protected:
    // The fees of price group 2 of the two events typed.
    EditKlubMass() {
        Round("M", "100").OvelseRk().GetField(OvelseRkField::Startgebyr2)->SetAsFloat(60);
        Round("M", "LÆ").OvelseRk().GetField(OvelseRkField::Startgebyr2)->SetAsFloat(45.5);
        Round("M", "LÆ").OvelseRk().GetField(OvelseRkField::Startgebyr1)->SetAsFloat(30);
        Ov().Save();
        AddKlub(1, QStringLiteral("Aarhus"));
    }

    // The program as it starts again: new managers, nothing remembered from this run.
    void RestartProgram() {
        const QString meet = Manager().GetStaevneNavn(Manager().GetCurrentIndex());
        form_.reset();
        Restart();
        ModelContext().HighestStartnummer.clear();
        ModelContext().HighestKlubNr.clear();
        Ov();
        Manager().OpenStaevne(Manager().IndexOfStaevneNavn(meet));
    }
};

TEST_F(EditKlubMass, ThreeHundredParticipantsWithTwoEntriesEachTypedWithAutoTabAreAllThereAfterARestart) {
    TEditKlubForm& form = Open();
    form.PrisgruppeCheckBox->setChecked(true);
    form.TabulatorTool->trigger();
    Goto(C::StartnummerCol, 1);
    Enter("1");
    for (int n = 1; n <= Deltagere; ++n) {
        ASSERT_EQ(Grid().Col(), int(C::NavnCol)) << n;
        ASSERT_EQ(Cell(C::StartnummerCol, Grid().Row()), QString::number(n));
        EnterAll({QStringLiteral("Deltager %1").arg(n, 3, 10, QLatin1Char('0')),
                  QString::number(1990 + n % 20), "M", "100",
                  QStringLiteral("12,%1").arg(n % 100, 2, 10, QLatin1Char('0')), "", ""});
        EnterAll({"LÆ", "5,50", "", ""});
        if (n < Deltagere)
            Enter("");
    }
    ASSERT_EQ(Shown(), QStringList());
    Save();
    ASSERT_EQ(Shown(), QStringList());
    EXPECT_EQ(Grid().RowCount(), 2 * Deltagere + 1);

    RestartProgram();
    TKlubManager klub(1);
    ASSERT_EQ(klub.GetKlubCount(), 1);
    EXPECT_NE(klub.GetCurrentKlub()->GetField(KlubField::Prisgruppe)->GetAsInteger(), 0);
    ASSERT_EQ(klub.DeltagerList().GetCount(), Deltagere);
    ASSERT_EQ(klub.ResultatList().GetCount(), 2 * Deltagere);
    double gebyr = 0;
    for (int n = 1; n <= Deltagere; ++n) {
        const TDeltagerElement& deltager = klub.GetDeltager(n - 1);
        EXPECT_EQ(deltager.GetTrimmedString(DeltagerField::Navn),
                  QStringLiteral("Deltager %1").arg(n, 3, 10, QLatin1Char('0')));
        EXPECT_EQ(deltager.GetField(DeltagerField::Startnummer)->GetAsInteger(), n);
        EXPECT_EQ(deltager.GetField(DeltagerField::Aargang)->GetAsInteger(), 1990 + n % 20);
        const std::vector<TResultatElement*> entries = klub.GetResultater(n);
        ASSERT_EQ(entries.size(), 2u) << n;
        EXPECT_EQ(entries[0]->GetTrimmedString(ResultatField::Ovelse), "100");
        EXPECT_EQ(entries[0]->GetField(ResultatField::Seedning)->GetAsInteger(), 1200 + n % 100);
        EXPECT_EQ(entries[1]->GetTrimmedString(ResultatField::Ovelse), "LÆ");
        for (TResultatElement* entry : entries) {
            klub.ResultatList().IndexOf(entry);
            gebyr += klub.CalcStartgebyr(Ov().FindOvelseInfoByRecord(*entry)->OvelseRk());
        }
    }
    EXPECT_DOUBLE_EQ(gebyr, Deltagere * (60 + 45.5)) << "the fees of price group 2";

    // The dialog shows them all again.
    Open();
    EXPECT_EQ(Grid().RowCount(), 2 * Deltagere + 1);
    EXPECT_EQ(Cell(C::NavnCol, 2 * Deltagere - 1), "Deltager 300");
}
} // namespace
