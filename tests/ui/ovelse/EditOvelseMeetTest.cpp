// A competition run through the editor as an organiser runs it, with keys and clicks: 24 sprinters
// seeded into three heats, their times typed, placed, qualified two by place and two by time, moved into
// the final and seeded there, the final's times typed and scored; a high jump typed as attempt series;
// then the program started anew and everything read back from the record files.
#include "EditOvelseTestSupport.h"

#include "foundation/controls/EditUtil.h"
#include "model/D_Result.h"
#include "ui/ovelse/RadioGroup.h"
#include "ui/ovelse/Seedning.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QToolBar>

#include <map>

namespace {

class WholeMeet : public TEditOvelseTest {
protected:
    static constexpr int Loebere = 24;

    WholeMeet() {
        TOvelseInfo& heats = Round("M", "100", "I");
        SetRunde(heats, OvelseRnField::AntalViderePlac, 2);
        SetRunde(heats, OvelseRnField::AntalVidereIalt, 8);
        // Points by the combined-events formula ("IAAF mangekamp", stored one above its code).
        heats.OvelseRk().GetField(OvelseRkField::PointBeregning)->SetAsInteger(3);
        Ov().Save();
        Enter(heats, 1, Loebere);
        Enter(Round("M", "HØ"), 31, 3, 1);
    }
    // A runner's time in hundredths: runner 1 the fastest.
    static qint32 Tid(qint32 startnummer, int offset = 0) { return 1050 + 4 * startnummer + offset; }
    static QString TidText(qint32 tid) {
        return QStringLiteral("%1.%2").arg(tid / 100).arg(tid % 100, 2, 10, QChar(u'0'));
    }
    // A tool-bar button clicked with the mouse.
    static void ClickTool(TEditOvelseForm& form, QAction* action) {
        ASSERT_TRUE(action->isEnabled()) << action->objectName().toStdString();
        QWidget* button = form.OvelseToolBar->widgetForAction(action);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        Settle();
    }
    // Types each row's time into the result column, row after row with Down, as a time keeper reads them.
    static void TypeTimes(TEditOvelseForm& form, int offset) {
        form.OvelseGrid->setFocus();
        form.OvelseGrid->GotoCell(form.OvelseGridCol(TResultColumn::Resultat), 1, true);
        Settle();
        for (int row = 1; row <= form.Manager().Count(); ++row) {
            TypeKeys(TidText(Tid(form.RowAt(row)->Startnummer, offset)));
            Press(Qt::Key_Down);
        }
    }
};

TEST_F(WholeMeet, HeatsQualifyIntoASeededScoredFinalAndAHighJumpIsTypedAsSeriesAllReadBackAfterARestart) {
    TScriptedDialogs dialogs;
    std::map<qint32, qint32> heatOf;
    {
        const auto form = Open();
        Click(*form, Round("M", "100", "I"));
        form->OversigtGrid->setFocus();
        Press(Qt::Key_Return);
        ASSERT_EQ(form->PageControl->currentWidget(), form->OvelsePage);
        ASSERT_EQ(form->Manager().Count(), Loebere);

        // Seeding: heats of 8 by spreading the seeding marks, lanes by draw.
        dialogs->Answer<TSeedningForm>([](TSeedningForm& seedning) {
            seedning.MaxPrHeat->SetValue(8);
            seedning.HeatInddeling->SetItemIndex(3);
            seedning.Banefordeling->SetItemIndex(5);
            QTest::mouseClick(seedning.OKButton, Qt::LeftButton);
            return mrNone;
        });
        ClickTool(*form, form->SeedningToolButton);
        for (int row = 1; row <= Loebere; ++row) {
            const TResultat& runner = *form->RowAt(row);
            ASSERT_GE(runner.Heat, 1);
            ASSERT_LE(runner.Heat, 3);
            heatOf[runner.Startnummer] = runner.Heat;
        }
        EXPECT_EQ(form->Manager().GetHeatCount(), 3);

        // The times, then saved: placed per heat.
        TypeTimes(*form, 0);
        ClickTool(*form, form->GemToolButton);
        EXPECT_EQ(form->SortComboBox->currentIndex(), TEditOvelseForm::SortHeatResultat);
        for (int row = 1; row <= Loebere; ++row) {
            const TResultat& runner = *form->RowAt(row);
            EXPECT_EQ(runner.Resultat, Tid(runner.Startnummer));
            EXPECT_EQ(Cell(*form, TResultColumn::Plac, row), QString::number(runner.Plac));
        }

        // Two by place from each heat, two by time; the final opens for its seeding, by its own settings.
        ClickTool(*form, form->VidereDel1ToolButton);
        ClickTool(*form, form->GemToolButton);
        dialogs->Answer<TSeedningForm>([](TSeedningForm& seedning) {
            seedning.OvelseStandard->setChecked(true);
            QTest::mouseClick(seedning.OKButton, Qt::LeftButton);
            return mrNone;
        });
        Recorder().QueueAnswer(mrYes);
        ClickTool(*form, form->VidereDel2ToolButton);
        ASSERT_EQ(form->Manager().OvelseInfo(), &Round("M", "100", "F"));
        ASSERT_EQ(form->Manager().Count(), 8);
        EXPECT_EQ(form->SortComboBox->currentIndex(), TEditOvelseForm::SortHeatBaneSide);
        ClickTool(*form, form->GemToolButton);

        // The final's times (each a little faster), saved, then scored.
        TypeTimes(*form, -10);
        ClickTool(*form, form->GemToolButton);
        ClickTool(*form, form->BeregnPointToolButton);
        ClickTool(*form, form->GemToolButton);
        EXPECT_GT(form->RowAt(1)->Point, 0);

        // The high jump, typed as series.
        Press(Qt::Key_Escape);
        ASSERT_EQ(form->PageControl->currentWidget(), form->OversigtPage);
        Click(*form, Round("M", "HØ"));
        form->OversigtGrid->setFocus();
        Press(Qt::Key_Return);
        ClickTool(*form, form->ResultatSerieToolButton);
        ASSERT_TRUE(form->SerieMode());
        const QStringList series[] = {{"1701", "1751", "1804"}, {"1702", "1801", "1854"}, {"1704"}};
        for (int row = 1; row <= 3; ++row) {
            form->SerieGrid->GotoCell(TEditOvelseForm::FirstAttemptCol, row, true);
            Settle();
            for (const QString& attempt : series[row - 1]) {
                TypeKeys(attempt);
                Press(Qt::Key_Right);
            }
        }
        form->SerieGrid->GotoCell(TEditOvelseForm::SerieRKodeCol, 1, true);
        Settle();
        ClickTool(*form, form->ResultatSerieToolButton);
        ClickTool(*form, form->GemToolButton);
        const QStringList shown = Shown();
        EXPECT_EQ(shown, QStringList{"Flyt alle med viderekode F til 100 m finale?"})
            << "nothing else was said";
        form->reject();
        EXPECT_FALSE(form->isVisible());
    }

    // The program started anew: everything from the record files.
    OvelseManager.reset();
    StaevneManager.reset();
    Manager();
    Ov();
    Manager().OpenStaevne(Manager().IndexOfStaevneNavn("Stævne"));
    TResultatManager heats;
    heats.LoadOvelse(&Round("M", "100", "I"));
    ASSERT_EQ(heats.Count(), Loebere);
    std::map<qint32, QList<qint32>> byHeat;
    QStringList fromHeats;
    for (int i = 0; i < heats.Count(); ++i) {
        const TResultat& runner = *heats.GetResultat(i);
        EXPECT_EQ(runner.Heat, heatOf[runner.Startnummer]);
        EXPECT_EQ(runner.Resultat, Tid(runner.Startnummer));
        byHeat[runner.Heat] << runner.Startnummer;
        if (!runner.VK.isEmpty())
            fromHeats << QString::number(runner.Startnummer) + runner.VK;
    }
    // Expected: the two fastest of each heat by place, then the two fastest of the rest by time.
    QStringList expected;
    QList<qint32> rest;
    for (auto& [heat, runners] : byHeat) {
        std::sort(runners.begin(), runners.end());
        for (int i = 0; i < runners.size(); ++i) {
            const TResultat& runner = Row(heats, runners[i]);
            EXPECT_EQ(runner.Plac, i + 1) << "placed within heat " << heat;
            if (i < 2)
                expected << QString::number(runners[i]) + "F";
            else
                rest << runners[i];
        }
    }
    std::sort(rest.begin(), rest.end());
    expected << QString::number(rest[0]) + "f" << QString::number(rest[1]) + "f";
    expected.sort();
    fromHeats.sort();
    EXPECT_EQ(fromHeats, expected);

    TResultatManager final;
    final.LoadOvelse(&Round("M", "100", "F"));
    ASSERT_EQ(final.Count(), 8);
    final.SortHeatBaneSide();
    QList<qint32> lanes;
    for (int i = 0; i < final.Count(); ++i) {
        const TResultat& finalist = *final.GetResultat(i);
        EXPECT_EQ(finalist.Seedning, Tid(finalist.Startnummer)) << "seeded by the heats' times";
        EXPECT_EQ(finalist.Resultat, Tid(finalist.Startnummer, -10));
        EXPECT_EQ(finalist.Heat, 1);
        lanes << finalist.Bane;
        EXPECT_GT(finalist.Point, 0);
    }
    EXPECT_EQ(lanes, QList<qint32>({1, 2, 3, 4, 5, 6, 7, 8}));
    // The best seed in lane 1, and places in the order of the final's times.
    EXPECT_EQ(final.GetResultat(0)->Startnummer, 1);
    final.SortResultatHeat();
    for (int i = 0; i < final.Count(); ++i)
        EXPECT_EQ(final.GetResultat(i)->Plac, i + 1);
    EXPECT_GT(final.GetResultat(0)->Point, final.GetResultat(7)->Point);

    TResultatManager hoejde;
    hoejde.LoadOvelse(&Round("M", "HØ"));
    const TResultat& a = Row(hoejde, 31);
    const TResultat& b = Row(hoejde, 32);
    const TResultat& c = Row(hoejde, 33);
    EXPECT_EQ(a.GetSerieCount(), 3);
    EXPECT_EQ(a.Resultat, 175);
    EXPECT_EQ(b.Resultat, 180);
    EXPECT_EQ(c.Resultat, 0) << "no height cleared";
    EXPECT_EQ(b.Plac, 1);
    EXPECT_EQ(a.Plac, 2);
    EXPECT_EQ(b.GetSerieEditText(1), "180,+");
}

} // namespace
