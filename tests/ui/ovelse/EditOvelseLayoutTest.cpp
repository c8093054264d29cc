// The overview's four layouts on the fixture meet, with the weekday filter, rounds without entries, the
// sums of the class/event layout, the combined events' numbering and the club points of a team meet.
#include "EditOvelseTestSupport.h"

#include "model/D_StaevneSystemData.h"
#include "ui/ovelse/OversigtInfo.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

namespace {

class OversigtLayout : public TEditOvelseTest {
protected:
    // Saturday: 100 m I (M) and 100 m F (K) on the track at 10:00, long jump M at 10:00 in its pit, high
    // jump M at 11:30; Sunday: 100 m F (M) at 10:00, shot put M and 4 x 100 m M at 12:00.
    OversigtLayout() {
        Place(Round("M", "100", "I"), Loerdag(), QTime(10, 0), "LØB");
        Place(Round("K", "100"), Loerdag(), QTime(10, 0), "LØB");
        Place(Round("M", "LÆ"), Loerdag(), QTime(10, 0), "LÆ");
        Place(Round("M", "HØ"), Loerdag(), QTime(11, 30), "HØ");
        Place(Round("M", "100", "F"), Loerdag().addDays(1), QTime(10, 0), "LØB");
        Place(Round("M", "KU"), Loerdag().addDays(1), QTime(12, 0), "KU");
        Place(Round("M", "4X100"), Loerdag().addDays(1), QTime(12, 0), "LØB");
        Enter(Round("M", "100", "I"), 1, 12);
        Enter(Round("K", "100"), 101, 5, 1);
        Enter(Round("M", "LÆ"), 1, 3, 1, 650);
        Enter(Round("M", "HØ"), 4, 2);
    }
};

TEST_F(OversigtLayout, TimeScheduleStacksRoundsOfOneTimeAndVenueAndCountsOnlyWhatHasEntries) {
    const auto form = Open();
    // The venues in their order, then the labels again.
    EXPECT_EQ(Headers(*form), QStringList({"", "STADION", "LØB", "LÆ", "HØ", "KU", ""}));
    EXPECT_EQ(Rows(*form), QStringList({"Lør 10:00||K (5)|M (3)|||Lør 10:00", "||M (12)||||",
                                        "Lør 11:30||||M (2)||Lør 11:30"}))
        << "one event to the track: the classes alone; rounds without entries left out";

    // With every round the track holds two events: each cell names its event, counts and round.
    form->VisNulOvelser->setChecked(true);
    Settle();
    EXPECT_EQ(Rows(*form), QStringList({"Lør 10:00||K 100 (5) F|M (3)|||Lør 10:00", "||M 100 (12/2) I||||",
                                        "Lør 11:30||||M (2)||Lør 11:30", "Søn 10:00||M 100 F||||Søn 10:00",
                                        "Søn 12:00||M 4X100 F|||M|Søn 12:00"}));
    EXPECT_EQ(form->OversigtGrid->ColWidths(2), 120) << "a column of two events is wider";
    EXPECT_EQ(form->OversigtGrid->ColWidths(3), 80);

    // Sunday alone.
    form->VisUgedagComboBox->setCurrentIndex(7);
    Settle();
    EXPECT_EQ(Rows(*form),
              QStringList({"Søn 10:00||M 100 F||||Søn 10:00", "Søn 12:00||M 4X100 F|||M|Søn 12:00"}));
    form->VisUgedagComboBox->setCurrentIndex(1);
    Settle();
    EXPECT_EQ(Rows(*form), QStringList({"||||||"})) << "no round on a Monday: the grid keeps a row";
}

TEST_F(OversigtLayout, ClassAndEventLayoutSumsStartersEntriesAndMedalsPerEventPerClassAndInAll) {
    const auto form = Open();
    Layout(*form, TOversigtSortering::KlasseOvelse);
    EXPECT_EQ(Headers(*form), QStringList({"", "K", "M", "AKTIVE", "TOTAL", "MEDALJER"}));
    EXPECT_EQ(Rows(*form), QStringList({"100 I||12/2|12|12|1-1-1", "100 F|5||5|5|1-1-1", "HØ F||2|2|2|1-1-0",
                                        "LÆ F||3|3|3|1-1-1", "|||||", "AKTIVE|5|17|22||", "TOTAL|5|17||22|",
                                        "MEDALJER|1-1-1|3-3-2|||4-4-3"}));

    // The times instead of the counts; the English headings.
    form->VisTidsskema->setChecked(true);
    StaevneManager->SystemData().Engelsk = true;
    form->FillOversigt();
    EXPECT_EQ(Headers(*form), QStringList({"", "K", "M", "ACTIVE", "TOTAL", "MEDALS"}));
    EXPECT_EQ(Rows(*form).first(), "100 I||10:00|12|12|1-1-1");
    EXPECT_EQ(Rows(*form).at(5), "ACTIVE|5|17|22||");
}

TEST_F(OversigtLayout, FiveMinuteScheduleFillsTheStepsOfAChosenDayOnlyAndGreysFieldEventsForTheirDuration) {
    Place(Round("M", "100", "I"), Loerdag(), QTime(10, 2), "LØB");
    Place(Round("K", "100"), Loerdag().addDays(7), QTime(10, 0), "LØB");
    Place(Round("M", "LÆ"), Loerdag(), QTime(10, 20), "LÆ");
    TOvelseRnElement& laengde = Round("M", "LÆ").OvelseRn();
    for (const auto& [field, value] :
         {std::pair(OvelseRnField::TidPrForsog, 60), std::pair(OvelseRnField::AntalForsog, 3),
          std::pair(OvelseRnField::AntalForsogFinale, 3), std::pair(OvelseRnField::AntalTilFinale, 8)})
        laengde.GetField(field)->SetAsInteger(value);
    Ov().Save();
    const auto form = Open();
    Layout(*form, TOversigtSortering::FemMinutter);
    QStringList labels;
    for (const QString& row : Rows(*form))
        labels << row.section(u'|', 0, 0);
    EXPECT_EQ(labels, QStringList({"Lør 10:02", "Lør 10:20", "Lør 11:30", "Lør 10:00"}))
        << "every day: no steps";

    form->VisUgedagComboBox->setCurrentIndex(6);
    Settle();
    labels.clear();
    for (const QString& row : Rows(*form))
        labels << row.section(u'|', 0, 0);
    QStringList expected = {"Lør 10:02", "Lør 10:05", "Lør 10:10", "Lør 10:15", "Lør 10:20"};
    for (int minute = 25; minute < 90; minute += 5)
        expected
            << QStringLiteral("Lør %1:%2").arg(10 + minute / 60).arg(minute % 60, 2, 10, QLatin1Char('0'));
    expected << "Lør 11:30"
             << "Lør 10:00";
    EXPECT_EQ(labels, expected) << "a week later starts anew, without the steps between";

    // Three long jumpers: 60 s × (3 × 3 + 3 × 3) = 18 min, 20 min in whole five minutes: grey from the
    // round down to the step at 10:40.
    const TOversigt& oversigt = form->Oversigt();
    const auto [col, row] = *oversigt.Find(&Round("M", "LÆ"));
    EXPECT_EQ(oversigt.Grey(col, row), 1200);
    for (int step = 1; step <= 4; ++step)
        EXPECT_EQ(oversigt.Grey(col, row + step), 1200) << "step " << step;
    EXPECT_FALSE(oversigt.Grey(col, row + 5).has_value()) << "10:45 is past the event";
    EXPECT_FALSE(oversigt.Grey(col - 1, row + 2).has_value()) << "the track is no field";
    form->OversigtGrid->GotoCell(col, row + 3, true);
    Settle();
    EXPECT_EQ(form->InfoLinie1->text(), "Tid: 20");
    EXPECT_TRUE(form->InfoLinie1->isVisibleTo(form.get()));
}

TEST_F(OversigtLayout, ARedidMeetShowsTheShortTextsOfClassesEventsAndVenues) {
    StaevneManager->SystemData().Redid = true;
    Round("M", "LÆ").AfvSted().GetField(AfvStedField::Tekst)->SetAsString("Springgrav 2");
    Round("M", "LÆ").Klasse().GetField(KlasseField::Korttekst)->SetAsString("Mænd");
    Round("M", "LÆ").Ovelse().GetField(OvelseField::Korttekst)->SetAsString("Længde");
    const auto form = Open();
    EXPECT_EQ(Headers(*form), QStringList({"", "STADION", "LØB", "Springgrav 2", "HØ", "KU", ""}))
        << "a venue's text when it has one";
    EXPECT_EQ(form->OversigtGrid->ColWidths(1), 100);
    EXPECT_EQ(Rows(*form).first(), "Lør 10:00||Kvinder senior (5)|Mænd (3)|||Lør 10:00");
    EXPECT_TRUE(form->RedidTest->isVisibleTo(form.get()));

    Layout(*form, TOversigtSortering::KlasseOvelse);
    EXPECT_EQ(Headers(*form).mid(1, 2), QStringList({"Kvinder senior", "Mænd"}));
    EXPECT_TRUE(Rows(*form).contains("Længde F||3|3|3|1-1-1"));
    EXPECT_EQ(form->OversigtGrid->ColWidths(0), 160);
}

TEST_F(OversigtLayout, StoredViewSettingsOutsideTheirListsAreTakenAsTheNearestItem) {
    TStaevneRegistry& registry = StaevneManager->Registry();
    registry.OversigtGridSortering = 9;
    registry.VisUgedag = 12;
    registry.PageTabPosition = -4;
    auto form = Open();
    EXPECT_EQ(form->OversigtSortering->currentIndex(), 3);
    EXPECT_EQ(form->VisUgedagComboBox->currentIndex(), 7);
    EXPECT_EQ(form->PageTabPosition->currentIndex(), 0);
    form.reset();
    registry.VisUgedag = -1;
    registry.OversigtKlasse = 2;
    form = Open();
    EXPECT_EQ(form->VisUgedagComboBox->currentIndex(), 0);
    EXPECT_EQ(form->OversigtKlasseComboBox->currentIndex(), 0) << "the class filter always starts at \"-\"";
}

// ---------------------------------------------------------------- combined events

class MangekampLayout : public TEditOvelseTest {
protected:
    // The pentathlon of class M: long jump, high jump and shot put as its disciplines 1 to 3, the
    // pentathlon itself as number 4.
    MangekampLayout() {
        AddProgramme({{"M", "5K", "F"}});
        Number({{"LÆ", 1}, {"HØ", 2}, {"KU", 3}, {"5K", 4}});
        Enter(Round("M", "LÆ"), 1, 3, 1, 650);
        Enter(Round("M", "HØ"), 1, 3, 0);
    }
    void Number(std::initializer_list<std::pair<const char*, int>> numbers) {
        for (const auto& [ovelse, nr] : numbers) {
            TOvelseRkElement& row = Round("M", ovelse).OvelseRk();
            row.GetField(OvelseRkField::MKOvelse)->SetAsString("M5K");
            row.GetField(OvelseRkField::MKOvelseNr)->SetAsInteger(nr);
        }
        Ov().Save();
        Ov().BuildInfos();
    }
};

TEST_F(MangekampLayout, TheCombinedEventHeadsItsColumnAndItsDisciplinesFollowByNumber) {
    auto form = Open();
    form->VisNulOvelser->setChecked(true);
    Layout(*form, TOversigtSortering::Mangekamp);
    EXPECT_EQ(Headers(*form), QStringList({"", "M5K"}));
    EXPECT_EQ(Rows(*form), QStringList({"1|5K", "2|", "3|LÆ (3)", "4|HØ (3)", "5|KU"}));
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(MangekampLayout, ANumberOutsideTheEventOrTakenTwiceHidesNoRoundAndIsReported) {
    Number({{"HØ", 1}, {"KU", 40}});
    auto form = Open();
    form->VisNulOvelser->setChecked(true);
    Layout(*form, TOversigtSortering::Mangekamp);
    // High jump comes first in programme order and keeps number 1; the pentathlon's own number no longer
    // follows its disciplines, so it stands as number 4.
    EXPECT_EQ(Rows(*form), QStringList({"1|", "2|", "3|HØ (3)", "4|LÆ (3)", "5|KU", "6|5K"}));
    Settle();
    EXPECT_EQ(Shown(),
              QStringList({"Mangekamp M5K: øvelse-nr. 1 bruges af både M HØ F og M LÆ F; M LÆ F er vist "
                           "i første ledige række",
                           "Mangekamp M5K: M KU F har øvelse-nr. 40, som ikke ligger mellem 1 og 4; den er "
                           "vist i første ledige række"}));
    form->FillOversigt();
    Settle();
    EXPECT_TRUE(Shown().isEmpty()) << "each told once";

    // No number at all is outside the event too.
    Number({{"KU", 0}});
    form = Open();
    form->VisNulOvelser->setChecked(true);
    Layout(*form, TOversigtSortering::Mangekamp);
    EXPECT_TRUE(Rows(*form).contains("4|KU")) << "first of the rounds out of place";
    Settle();
    EXPECT_TRUE(Shown().contains(
        "Mangekamp M5K: M KU F har øvelse-nr. 0, som ikke ligger mellem 1 og 4; den er vist i "
        "første ledige række"));
}

// ---------------------------------------------------------------- club points

class HoldLayout : public TEditOvelseTest {
protected:
    // A team meet of three clubs: 100 m I and long jump at 10:00 on Saturday, high jump at 11:00.
    HoldLayout() {
        StaevneManager->SystemData().EgenTurnering = true;
        AddKlub(1, "Sparta");
        AddKlub(2, "Hellas", "HEL");
        AddKlub(3, "Trio");
        Place(Round("M", "100", "I"), Loerdag(), QTime(10, 0), "LØB");
        Place(Round("M", "LÆ"), Loerdag(), QTime(10, 0), "LÆ");
        Place(Round("M", "HØ"), Loerdag(), QTime(11, 0), "HØ");
        Score(Round("M", "100", "I"), {{1, 1, 8}, {2, 2, 7}, {3, 3, 6}});
        Score(Round("M", "LÆ"), {{4, 2, 8}, {5, 1, 7}});
        Score(Round("M", "HØ"), {{6, 3, 8}, {7, 1, 7}});
    }
    // Entries of (start number, club, points).
    void Score(const TOvelseInfo& round, std::initializer_list<std::tuple<int, int, int>> entries) {
        for (const auto& [nr, klub, point] : entries) {
            AddDeltager(nr, QStringLiteral("Deltager %1").arg(nr), 2000, klub);
            AddResultat(round, nr, [points = point](TResultatTable& t) {
                t.GetField(ResultatField::Point)->SetAsFloat(points);
                t.GetField(ResultatField::Placering)->SetAsInteger(9 - points);
                t.GetField(ResultatField::Resultat)->SetAsInteger(1200);
            });
        }
    }
};

TEST_F(HoldLayout, ClubsFollowTheVenuesBestFirstWithEachRowsPointsAndTheTotals) {
    const auto form = Open();
    // Sparta 8 + 7 + 7 = 22, Hellas 7 + 8 = 15, Trio 6 + 8 = 14.
    EXPECT_EQ(Headers(*form), QStringList({"", "", "LØB", "LÆ", "HØ", "Sparta", "HEL", "Trio"}))
        << "no label column; the first venue's heading emptied";
    EXPECT_EQ(form->Oversigt().FirstPointsColumn(), 5);
    EXPECT_EQ(Rows(*form), QStringList({"Lør 10:00||M (3)|M (2)||15|15|6", "Lør 11:00||||M (2)|7||8",
                                        "|||||||", "POINTS|||||22|15|14"}));

    // With points brought from round 1: before, now and the totals, places beside the first two.
    StaevneManager->SystemData().FlereRunder = true;
    TKlubTable klub;
    klub.Open();
    for (bool found = klub.First(); found; found = klub.Next()) {
        if (klub.GetField(KlubField::KlubNr)->GetAsInteger() == 3) {
            klub.Edit();
            klub.GetField(KlubField::PointRunde1)->SetAsFloat(10);
            klub.Post();
        }
    }
    form->FillOversigt();
    EXPECT_EQ(Headers(*form).mid(5), QStringList({"Trio", "Sparta", "HEL"}));
    EXPECT_EQ(Rows(*form).mid(2),
              QStringList({"|||||||", "FØR|||||10 (1)||", "|||||||", "NU|||||14 (3)|22 (1)|15 (2)", "|||||||",
                           "POINTS|||||24|22|15"}));
}

} // namespace
