// The event properties dialog: settings that differ between the chosen rounds are blocked and kept, one
// round blocks nothing, a date unlocked alone keeps each round's time, start times given in turn, and
// everything (moved times included) written only by OK, from a copy; stored values the dialog has no
// choice for are kept, venues are chosen by their codes.
#include "EditOvelseTestSupport.h"

#include "foundation/controls/EditUtil.h"
#include "model/D_Result.h"
#include "ui/WidgetKitDato.h"
#include "ui/ovelse/OvelProp.h"
#include "ui/ovelse/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

namespace {

class OvelProp : public TEditOvelseTest {
protected:
    OvelProp() {
        Place(Round("M", "LÆ"), Loerdag(), QTime(10, 0), "LÆ");
        Place(Round("M", "KU"), Loerdag().addDays(1), QTime(14, 30), "KU");
    }
    // Runs the dialog on the rounds with answer; the modal result.
    int Run(std::vector<TOvelseInfo*> rounds, std::function<int(TOvelsePropertyForm&)> answer) {
        TScriptedDialogs dialogs;
        dialogs->Answer<TOvelsePropertyForm>(std::move(answer));
        TOvelsePropertyForm form;
        return form.Load(rounds);
    }
    static qint32 Setting(TOvelseInfo& round, int fieldNo) {
        return round.OvelseRn().GetField(fieldNo)->GetAsInteger();
    }
    static QDateTime Start(TOvelseInfo& round) {
        return DateTimeToQDateTime(round.OvelseRn().GetField(OvelseRnField::DatoTid)->GetAsFloat());
    }
    // The rounds' stored records, as the files hold them.
    static QStringList StoredStarts() {
        QStringList starts;
        TOvelseRnTable table;
        table.Open();
        for (bool found = table.First(); found; found = table.Next())
            starts << table.GetField(OvelseRnField::Ovelse)->GetTrimmedString() + u' ' +
                          DateTimeToQDateTime(table.GetField(OvelseRnField::DatoTid)->GetAsFloat())
                              .toString("dd-MM hh:mm");
        return starts;
    }
};

TEST_F(OvelProp, ASettingThatDiffersIsBlockedAndKeptUnlessUnlocked) {
    SetRunde(Round("M", "LÆ"), OvelseRnField::AntalForsog, 6);
    SetRunde(Round("M", "KU"), OvelseRnField::AntalForsog, 4);
    EXPECT_EQ(Run({&Round("M", "LÆ"), &Round("M", "KU")},
                  [](TOvelsePropertyForm& form) {
                      EXPECT_EQ(form.AntalForsog->GetValue(), 6) << "the first round's";
                      EXPECT_FALSE(form.AntalForsog->isEnabled());
                      EXPECT_TRUE(form.BlockedNames().contains("AntalForsog"));
                      EXPECT_TRUE(form.BlockedNames().contains("OvelseDato"));
                      EXPECT_TRUE(form.BlockedNames().contains("AfvSted"));
                      EXPECT_FALSE(form.BlockedNames().contains("AntalPrHeat")) << "8 in both";
                      form.AntalPrHeat->SetValue(7);
                      form.OKBitBtn->click();
                      return mrNone;
                  }),
              mrOk);
    EXPECT_EQ(Setting(Round("M", "LÆ"), OvelseRnField::AntalForsog), 6);
    EXPECT_EQ(Setting(Round("M", "KU"), OvelseRnField::AntalForsog), 4);
    EXPECT_EQ(Setting(Round("M", "KU"), OvelseRnField::AntalPrHeat), 7);

    Run({&Round("M", "LÆ"), &Round("M", "KU")}, [](TOvelsePropertyForm& form) {
        form.BlockedItems->setCurrentIndex(form.BlockedItems->findText("AntalForsog"));
        form.UnlockEditField->click();
        EXPECT_TRUE(form.AntalForsog->isEnabled());
        EXPECT_FALSE(form.BlockedNames().contains("AntalForsog"));
        form.AntalForsog->SetValue(3);
        form.OKBitBtn->click();
        return mrNone;
    });
    EXPECT_EQ(Setting(Round("M", "LÆ"), OvelseRnField::AntalForsog), 3);
    EXPECT_EQ(Setting(Round("M", "KU"), OvelseRnField::AntalForsog), 3);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(OvelProp, OneRoundBlocksNothingAndItsTimeShiftIsWrittenOnOKOnly) {
    const QStringList before = StoredStarts();
    Run({&Round("M", "LÆ")}, [](TOvelsePropertyForm& form) {
        EXPECT_TRUE(form.BlockedNames().isEmpty());
        EXPECT_TRUE(form.AntalForsog->isEnabled());
        EXPECT_FALSE(form.CalcAfvTid->isEnabled()) << "computed, never typed";
        form.PlusMinus->setTime(QTime(0, 45));
        form.PlusMinusButton->click();
        EXPECT_EQ(form.OvelseStarttid->time(), QTime(10, 45));
        return mrCancel;
    });
    EXPECT_EQ(StoredStarts(), before) << "cancelled: nothing moved";
    EXPECT_EQ(Start(Round("M", "LÆ")).time(), QTime(10, 0));

    Run({&Round("M", "LÆ")}, [](TOvelsePropertyForm& form) {
        form.PlusMinus->setTime(QTime(0, 45));
        form.Minus->setChecked(true);
        form.PlusMinusButton->click();
        form.OKBitBtn->click();
        return mrNone;
    });
    EXPECT_EQ(Start(Round("M", "LÆ")), QDateTime(Loerdag(), QTime(9, 15))) << "OK keeps the moved time";
    EXPECT_TRUE(StoredStarts().contains("LÆ 01-06 09:15"));

    // A round without a date cannot be moved before its first day.
    Round("M", "HØ").OvelseRn().GetField(OvelseRnField::DatoTid)->SetAsFloat(QTimeToDateTime(QTime(0, 30)));
    Ov().Save();
    Run({&Round("M", "HØ")}, [](TOvelsePropertyForm& form) {
        form.PlusMinus->setTime(QTime(1, 0));
        form.Minus->setChecked(true);
        form.PlusMinusButton->click();
        EXPECT_EQ(form.OvelseStarttid->time(), QTime(0, 30));
        form.OKBitBtn->click();
        return mrNone;
    });
    Settle();
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown.front().contains("ugyldigt")) << shown.front().toStdString();
    EXPECT_EQ(Start(Round("M", "HØ")).time(), QTime(0, 30));
}

TEST_F(OvelProp, ADateUnlockedAloneMovesEveryRoundToItAndKeepsEachOnesTime) {
    Run({&Round("M", "LÆ"), &Round("M", "KU")}, [](TOvelsePropertyForm& form) {
        EXPECT_FALSE(form.OvelseDato->isEnabled());
        EXPECT_FALSE(form.OvelseStarttid->isEnabled());
        form.BlockedItems->setCurrentIndex(form.BlockedItems->findText("OvelseDato"));
        form.UnlockEditField->click();
        form.OvelseDato->setDate(QDate(2024, 6, 8));
        form.OKBitBtn->click();
        return mrNone;
    });
    EXPECT_EQ(Start(Round("M", "LÆ")), QDateTime(QDate(2024, 6, 8), QTime(10, 0)));
    EXPECT_EQ(Start(Round("M", "KU")), QDateTime(QDate(2024, 6, 8), QTime(14, 30)));
}

TEST_F(OvelProp, StartTimesGivenInTurnRoundUpToFiveMinutesAndFollowTheHeats) {
    Round("M", "LÆ").AntalHeat = 3;
    Round("M", "KU").AntalHeat = 3;
    Run({&Round("M", "LÆ"), &Round("M", "KU")}, [](TOvelsePropertyForm& form) {
        form.StartKlokken->setTime(QTime(10, 2));
        form.TidPrHeatTime->setTime(QTime(0, 2));
        form.RundOp5Min->setChecked(true);
        form.AutoTildelingButton->click();
        const std::vector<TDateTime> tider = form.Starttider();
        EXPECT_EQ(DateTimeToQDateTime(tider.at(0)), QDateTime(QDate(2024, 6, 1), QTime(10, 5)));
        EXPECT_EQ(DateTimeToQDateTime(tider.at(1)), QDateTime(QDate(2024, 6, 2), QTime(10, 15)));
        form.OKBitBtn->click();
        return mrNone;
    });
    EXPECT_EQ(Start(Round("M", "LÆ")), QDateTime(QDate(2024, 6, 1), QTime(10, 5)));
    EXPECT_EQ(Start(Round("M", "KU")), QDateTime(QDate(2024, 6, 2), QTime(10, 15)));
}

TEST_F(OvelProp, StoredValuesWithoutAChoiceAreKeptAndVenuesAreChosenByCode) {
    Round("M", "LÆ").OvelseRk().GetField(OvelseRkField::PointBeregning)->SetAsInteger(2);
    SetRunde(Round("M", "LÆ"), OvelseRnField::Heatinddeling, 9);
    Ov().FindAfvSted("KU")->GetField(AfvStedField::Tekst)->SetAsString("Kastebur");
    Round("M", "LÆ").OvelseRn().SetExtraText("Finale i regnvejr med vind");
    Ov().Save();
    Run({&Round("M", "LÆ")}, [](TOvelsePropertyForm& form) {
        EXPECT_EQ(form.PointBeregning->ItemIndex(), -1);
        EXPECT_EQ(form.HeatInddeling->ItemIndex(), -1);
        EXPECT_EQ(form.ExtraText->GetValue(), "Finale i regnvejr med vind");
        const int kastebur = form.AfvSted->findData("KU");
        EXPECT_EQ(form.AfvSted->itemText(kastebur), "KU  (Kastebur)");
        form.AfvSted->setCurrentIndex(kastebur);
        form.ExtraText->SetValue("Kort");
        form.OKBitBtn->click();
        return mrNone;
    });
    EXPECT_EQ(Round("M", "LÆ").OvelseRk().GetField(OvelseRkField::PointBeregning)->GetAsInteger(), 2);
    EXPECT_EQ(Setting(Round("M", "LÆ"), OvelseRnField::Heatinddeling), 9);
    EXPECT_EQ(Round("M", "LÆ").OvelseRn().GetTrimmedString(OvelseRnField::Sted), "KU")
        << "the code, not the text";
    EXPECT_EQ(Round("M", "LÆ").OvelseRn().GetExtraText().trimmed(), "Kort");

    // A choice made is written as the stored code: "Tabelopslag" is method 3, stored 4.
    Run({&Round("M", "LÆ")}, [](TOvelsePropertyForm& form) {
        form.PointBeregning->SetItemIndex(5);
        form.OKBitBtn->click();
        return mrNone;
    });
    EXPECT_EQ(Round("M", "LÆ").OvelseRk().GetField(OvelseRkField::PointBeregning)->GetAsInteger(), 4);
}

TEST_F(OvelProp, TheEditorOpensItForTheSelectionAndShowsTheRoundsAnew) {
    Enter(Round("M", "LÆ"), 1, 2, 1);
    const auto form = Open();
    Click(*form, Round("M", "LÆ"));
    TScriptedDialogs dialogs;
    dialogs->Answer<TOvelsePropertyForm>([](TOvelsePropertyForm& dialog) {
        dialog.OvelseStarttid->setTime(QTime(8, 40));
        dialog.OKBitBtn->click();
        return mrNone;
    });
    form->OvelseEgenskaberToolButton->trigger();
    Settle();
    EXPECT_EQ(form->CurrentOvelse(), &Round("M", "LÆ"));
    EXPECT_EQ(form->StatusText(0), " 08:40");
    EXPECT_EQ(OvelseManager->TidIndex().GetItem(0), &Round("M", "LÆ")) << "re-indexed";
}

} // namespace

namespace {

// In a meet that starts at 10:00 a round's time is stored from the start: the dialog shows and takes the
// time of day, as the overview and the lists show it.
TEST_F(OvelProp, TheStartTimeIsTheTimeOfDayInAMeetThatStartsLater) {
    TSystemData& data = Manager().SystemData();
    data.Dato = EncodeDateTime(Loerdag(), QTime(10, 0));
    Manager().SaveStaevneData();
    Round("M", "LÆ").OvelseRn().GetField(OvelseRnField::DatoTid)->SetAsFloat(QDateToDateTime(Loerdag()));
    Ov().Save();
    Run({&Round("M", "LÆ")}, [](TOvelsePropertyForm& form) {
        EXPECT_EQ(form.OvelseStarttid->time(), QTime(10, 0)) << "the meet's start";
        EXPECT_EQ(form.StartKlokken->time(), QTime(10, 0));
        form.OvelseDato->setDate(Loerdag().addDays(1));
        form.OvelseStarttid->setTime(QTime(15, 0));
        form.OKBitBtn->click();
        return mrNone;
    });
    EXPECT_EQ(DateTimeToQDateTime(Round("M", "LÆ").GetTid()).time(), QTime(15, 0));
    EXPECT_EQ(DateTimeToQDate(Round("M", "LÆ").GetDato()), Loerdag().addDays(1));
    EXPECT_EQ(Start(Round("M", "LÆ")), QDateTime(Loerdag().addDays(1), QTime(5, 0)))
        << "stored from the start";
}

} // namespace
