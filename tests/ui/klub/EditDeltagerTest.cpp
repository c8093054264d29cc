#include "ui/klub/EditDeltager.h"

#include "controls/Gui.h"
#include "foundation/controls/EditUtil.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "support/ResultFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include <memory>

namespace {

// A meet of single registrations: the participant dialog driven by typing and Enter.
class EditDeltager : public TResultTest {
protected:
    EditDeltager() { Manager().SystemData().Gribben = true; }

    TEditDeltagerForm& Open() {
        form_ = std::make_unique<TEditDeltagerForm>();
        ShowActive(*form_);
        form_->StartNr->setFocus();
        Settle();
        return *form_;
    }
    // Types the text into the focused edit (over what it held) and presses Enter.
    static void Enter(const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        Press(Qt::Key_Return);
    }
    static QWidget* Focused() { return QApplication::focusWidget(); }
    static QStringList Stored3() {
        return Stored<TKlubTable>({KlubField::KlubNr, KlubField::Navn, KlubField::Email}) +
               Stored<TDeltagerTable>({DeltagerField::Startnummer, DeltagerField::KlubNr, DeltagerField::Navn,
                                       DeltagerField::Aargang}) +
               Stored<TResultatTable>(
                   {ResultatField::Startnummer, ResultatField::Klasse, ResultatField::Ovelse});
    }

    std::unique_ptr<TEditDeltagerForm> form_;
};

TEST_F(EditDeltager, ANumberTypedIsFoundOrMadeAndTheDetailsAreStoredFieldByField) {
    TEditDeltagerForm& form = Open();
    EXPECT_EQ(form.windowTitle(), "Tilmeld deltager");
    EXPECT_TRUE(form.KlasseMaend->isChecked() && form.Distance42->isChecked());
    EXPECT_FALSE(form.AutoNummer->isChecked());

    Enter("0");
    EXPECT_EQ(Focused(), form.StartNr) << "0 does nothing";
    EXPECT_EQ(Stored3(), QStringList());

    form.KlasseKvinder->setChecked(true);
    form.Distance77->setChecked(true);
    Enter("17");
    // The three records at once, before anything else is typed.
    EXPECT_EQ(Stored3(), QStringList({"17//", "17/17//0", "17/K/77"}));
    EXPECT_EQ(Focused(), form.Navn);
    EXPECT_EQ(form.KlasseDistance->text(), "K77");
    Enter("Ida Holm");
    EXPECT_EQ(Focused(), form.Aargang);
    Enter("1980");
    EXPECT_EQ(Focused(), form.Klub);
    Enter("Løbeklubben");
    EXPECT_EQ(Focused(), form.KlasseDistance);
    form.EMail->setText("ida@x.dk");
    Enter("m42");
    EXPECT_EQ(Stored3(), QStringList({"17/Løbeklubben/ida@x.dk", "17/17/Ida Holm/1980", "17/M/42"}));
    EXPECT_EQ(Focused(), form.StartNr);
    EXPECT_EQ(form.StartNr->text(), "") << "no proposal without Autonummerering";
    EXPECT_EQ(form.Navn->text(), "");

    // Found again with its details.
    Enter("17");
    EXPECT_EQ(form.Navn->text(), "Ida Holm");
    EXPECT_EQ(form.Aargang->text(), "1980");
    EXPECT_EQ(form.EMail->text(), "ida@x.dk");
    EXPECT_EQ(form.KlasseDistance->text(), "M42");
    EXPECT_EQ(Shown(), QStringList());
}

TEST_F(EditDeltager, WithAutonummereringSeventeenIsFollowedByEighteen) {
    TEditDeltagerForm& form = Open();
    form.AutoNummer->setChecked(true);
    Enter("17");
    Enter("Ida");
    Enter("");
    Enter("");
    Enter("m77");
    EXPECT_EQ(form.StartNr->text(), "18");
    EXPECT_EQ(Focused(), form.StartNr);
    Enter("18");
    EXPECT_EQ(
        Stored<TResultatTable>({ResultatField::Startnummer, ResultatField::Klasse, ResultatField::Ovelse}),
        QStringList({"18/M/42", "17/M/77"}));
}

TEST_F(EditDeltager, AWrongCodeANumberTooLargeAndANumberTypedOverAreRefusedAndNothingIsStored) {
    TEditDeltagerForm& form = Open();
    Enter("5");
    Enter("Bo");
    Enter("");
    Enter("");
    Enter("M 42");
    EXPECT_EQ(Shown(), QStringList({"Forkert klasse eller distance"}));
    EXPECT_EQ(Focused(), form.KlasseDistance) << "the focus stays";
    EXPECT_EQ(Stored3(), QStringList({"5//", "5/5//0", "5/M/42"}));

    // The number changed without Enter: not stored into another's records.
    form.StartNr->setText("6");
    form.KlasseDistance->setFocus();
    Enter("K42");
    EXPECT_EQ(Shown(), QStringList({"Startnummer 6 er ikke hentet frem: tast Enter i Startnr først"}));
    EXPECT_EQ(Stored3(), QStringList({"5//", "5/5//0", "5/M/42"}));

    form.StartNr->setFocus();
    Enter("40000");
    EXPECT_EQ(Shown(), QStringList({"Startnummer 40000 er for stort: det højeste er 32767"}));
    EXPECT_EQ(Focused(), form.StartNr);
    EXPECT_EQ(Stored3().size(), 3);
}

TEST_F(EditDeltager, ANumberAnotherAthleteHasIsRefusedNamingHimAndNothingIsWritten) {
    // Clubs 1 Aarhus (Bent 1, Anna 2) and 2 Odense (Carl 123), with their entries; an entry of 40 whose
    // participant is gone.
    AddAarhusAndOdense();
    AddResultat(Round("M", "HØ"), 40);
    const QStringList before = Stored3();
    TEditDeltagerForm& form = Open();
    const std::pair<const char*, const char*> refused[] = {
        // Club 2 is Odense, but 2 is Anna's of Aarhus.
        {"2", "Startnummer 2 er allerede givet til Anna, Aarhus"},
        // No club 123: it would have been made, with a second, empty participant 123.
        {"123", "Startnummer 123 er allerede givet til Carl, Odense"},
        // Bent's number and club, but his club is Anna's too.
        {"1", "Startnummer 1 er allerede givet til Bent, Aarhus"},
        {"40", "Startnummer 40 er allerede givet til en tilmelding uden deltager i klasse M, øvelse HØ"},
    };
    for (const auto& [number, message] : refused) {
        SCOPED_TRACE(number);
        Enter(number);
        EXPECT_EQ(Shown(), QStringList({message}));
        EXPECT_EQ(Focused(), form.StartNr);
        EXPECT_EQ(form.Navn->text(), "") << "nobody shown";
        EXPECT_EQ(Stored3(), before);
    }
    // Typed on regardless: stored into nobody's records.
    form.Navn->setText("Ny");
    form.KlasseDistance->setFocus();
    Enter("M42");
    EXPECT_EQ(Shown(), QStringList({"Startnummer 40 er ikke hentet frem: tast Enter i Startnr først"}));
    EXPECT_EQ(Stored3(), before);

    // A free number is still a registration of its own.
    form.StartNr->setFocus();
    Enter("7");
    Enter("Ida");
    Enter("");
    Enter("Løbeklubben");
    Enter("K77");
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(Stored3().size(), before.size() + 3);
    EXPECT_TRUE(Stored3().contains("7/7/Ida/0"));
}

} // namespace
