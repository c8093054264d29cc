#include "print/D_UdskriftBatch.h"

#include "model/D_Ovelser.h"
#include "print/D_Udskrift.h"
#include "support/ResultFixture.h"
#include "support/Test.h"

#include <utility>

namespace {

// The fixture's programme: class K 100 m; class M 100 m (rounds I and F), 4 x 100 m, high jump, long jump
// and shot put, in programme order.
class UdskriftBatchTest : public TResultTest {
protected:
    // An event row with one round of a class of the meet's own, made when missing.
    void AddOwnClassEvent(const QString& klasse, const QString& ovelse) {
        TKlasseElement* element = Ov().FindKlasse(klasse);
        if (!element) {
            element = Ov().AddKlasse(klasse);
            element->GetField(KlasseField::Sortkode)->SetAsInteger(90);
            element->GetField(KlasseField::Korttekst)->SetAsString(klasse);
        }
        TOvelseRkElement& row = Ov().AddOvelseRk(*element, *Ov().FindOvelse(ovelse), nullptr);
        row.GetField(OvelseRkField::Runder)->SetAsString("F");
        Ov().AddOvelseRn(row).GetField(OvelseRnField::Sted)->SetAsString("STADION");
        Ov().Save();
        Ov().Reload();
    }

    static QStringList Names(const std::vector<TOvelseInfo*>& rounds) {
        QStringList names;
        for (const TOvelseInfo* info : rounds)
            names << info->GetKlasseKode() + ' ' + info->GetOvelseKode() + ' ' + info->GetRunde();
        return names;
    }
    static QStringList Suffixes(const std::vector<TListeSet>& sets) {
        QStringList suffixes;
        for (const TListeSet& set : sets)
            suffixes << set.Suffix;
        return suffixes;
    }
    std::vector<TListeSet> Plan(const TListePlanOptions& options) { return PlanListeSets(Ov(), options); }
    // Men's 100 m heats, long jump and shot put on the first day with the women's 100 m; the 100 m final,
    // the relay and the high jump on the second.
    void ScheduleTwoDays() {
        Schedule({{"K 100 F", "2024-06-01 12:00"},
                  {"M 100 I", "2024-06-01 13:00"},
                  {"M 100 F", "2024-06-02 10:00"},
                  {"M 4X100 F", "2024-06-02 11:00"},
                  {"M HØ F", "2024-06-02 09:00"},
                  {"M LÆ F", "2024-06-01 14:00"},
                  {"M KU F", "2024-06-01 15:00"}});
    }

    const QStringList programme{"K 100 F", "M 100 I", "M 100 F", "M 4X100 F", "M HØ F", "M LÆ F", "M KU F"};
};

TEST_F(UdskriftBatchTest, EveryRoundInOneSetInProgrammeOrderOrInTimeOrder) {
    Schedule({{"K 100 F", "2024-06-01 15:00"},
              {"M 100 I", "2024-06-01 09:00"},
              {"M 100 F", "2024-06-01 16:00"},
              {"M 4X100 F", "2024-06-01 17:00"},
              {"M HØ F", "2024-06-01 10:00"},
              {"M LÆ F", "2024-06-01 11:00"},
              {"M KU F", "2024-06-01 12:00"}});
    std::vector<TListeSet> sets = Plan({});
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].Suffix, "");
    EXPECT_EQ(Names(sets[0].Rounds), programme);

    sets = Plan({.OrderByTime = true});
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(Names(sets[0].Rounds),
              QStringList({"M 100 I", "M HØ F", "M LÆ F", "M KU F", "K 100 F", "M 100 F", "M 4X100 F"}));
}

TEST_F(UdskriftBatchTest, ByAgeGroupPutsACombinedEventFirstThenItsDisciplinesThenTheClassesOtherEvents) {
    AddProgramme(
        {{"K", "200", "F"}, {"K", "100H", "F"}, {"K", "LÆ", "F"}, {"K", "KU", "F"}, {"K", "7K", "F"}});
    // The disciplines numbered out of programme order; the heptathlon's own row is the last number.
    int nr = 0;
    for (const char* ovelse : {"100H", "KU", "200", "LÆ", "7K"}) {
        TOvelseRkElement* row = Ov().FindOvelseRk("K", ovelse);
        row->GetField(OvelseRkField::MKOvelse)->SetAsString("7K");
        row->GetField(OvelseRkField::MKOvelseNr)->SetAsInteger(++nr);
    }
    Ov().Save();
    Ov().Reload();

    std::vector<TListeSet> sets = Plan({.ByAgeGroup = true, .ByDay = true});
    EXPECT_EQ(Suffixes(sets), QStringList({"_K", "_M"}));
    EXPECT_EQ(Names(sets[0].Rounds),
              QStringList({"K 100 F", "K 200 F", "K 100H F", "K LÆ F", "K KU F", "K 7K F"}));
    EXPECT_EQ(Names(sets[1].Rounds), programme.mid(1));

    sets = Plan({.ByAgeGroup = true, .OrderByEventNo = true});
    EXPECT_EQ(Names(sets[0].Rounds),
              QStringList({"K 7K F", "K 100H F", "K KU F", "K 200 F", "K LÆ F", "K 100 F"}));
    EXPECT_EQ(Names(sets[1].Rounds), programme.mid(1)) << "a class without combined events keeps its order";

    // Time order is asked for first.
    const std::vector<TListeSet> byTime = Plan({.ByAgeGroup = true, .OrderByTime = true});
    sets = Plan({.ByAgeGroup = true, .OrderByTime = true, .OrderByEventNo = true});
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(Names(sets[0].Rounds), Names(byTime[0].Rounds));
    EXPECT_NE(Names(sets[0].Rounds).front(), "K 7K F");
}

TEST_F(UdskriftBatchTest, ByDayMakesASetPerDateAndOneForTheRoundsWithoutADate) {
    Schedule({{"K 100 F", "2024-06-01 12:00"},
              {"M 100 I", "2024-06-01 13:00"},
              {"M 100 F", "2024-06-02 10:00"},
              {"M 4X100 F", "2024-06-02 11:00"},
              {"M HØ F", "2024-06-02 09:00"},
              {"M LÆ F", ""},
              {"M KU F", "2024-06-01 14:00"}});
    std::vector<TListeSet> sets = Plan({.ByDay = true});
    EXPECT_EQ(Suffixes(sets), QStringList({"_00000000", "_20240601", "_20240602"}));
    EXPECT_EQ(Names(sets[0].Rounds), QStringList{"M LÆ F"});
    EXPECT_EQ(Names(sets[1].Rounds), QStringList({"K 100 F", "M 100 I", "M KU F"}));
    EXPECT_EQ(Names(sets[2].Rounds), QStringList({"M 100 F", "M 4X100 F", "M HØ F"}));

    sets = Plan({.ByDay = true, .OrderByTime = true});
    EXPECT_EQ(Names(sets[2].Rounds), QStringList({"M HØ F", "M 100 F", "M 4X100 F"}));
}

TEST_F(UdskriftBatchTest, RedidListsEveryRoundThenFridayAndSaturdayAndAnUndatedRoundOnNoDay) {
    Schedule({{"K 100 F", "2024-05-31 09:00"}, // a Friday
              {"M 100 I", "2024-05-31 08:00"},
              {"M 100 F", "2024-06-01 10:00"}, // Saturday
              {"M 4X100 F", "2024-06-02 11:00"},
              {"M HØ F", "2024-06-02 09:00"},
              {"M LÆ F", ""}, // day 0 of the calendar was a Saturday
              {"M KU F", "2024-06-03 14:00"}});
    const std::vector<TListeSet> sets = PlanRedidSets(Ov());
    EXPECT_EQ(Suffixes(sets), QStringList({"_all", "_friday", "_saturday"}));
    EXPECT_EQ(Names(sets[0].Rounds), programme);
    EXPECT_EQ(Names(sets[1].Rounds), QStringList({"M 100 I", "K 100 F"}));
    EXPECT_EQ(Names(sets[2].Rounds), QStringList{"M 100 F"});
}

TEST_F(UdskriftBatchTest, OneFilePagesAreNamedByClassEventAndFirstRoundAndTwoEventsNeverShareAName) {
    EXPECT_EQ(TOneFileNames::BaseName("x", "MÆ", "ÅB"), "xma-ab");
    EXPECT_EQ(TOneFileNames::BaseName("", "mø", "HØ"), "mo-ho");
    EXPECT_EQ(TOneFileNames::BaseName("../Web ", "K", "100"), ".._web k-100");

    for (const char* klasse : {"MÆ", "MA", "MÅ", "MAE"})
        AddOwnClassEvent(klasse, "100");
    const TOneFileNames names(Ov(), "x");
    QStringList pages;
    for (const char* klasse : {"MÆ", "MA", "MÅ", "MAE"})
        pages << names.Name(Round(klasse, "100"));
    EXPECT_EQ(pages, QStringList({"xma-100_3-1", "xma-100-1", "xma-100_2-1", "xmae-100-1"}));
    EXPECT_EQ(names.Name(Round("M", "100", "F")), "xm-100-2");
}

TEST_F(UdskriftBatchTest, AOneFilePageBeginsAtItsEventsFirstRoundInTheSetSoAFinalOnDayTwoIsWritten) {
    ScheduleTwoDays();
    const TOneFileNames names(Ov(), {});
    const auto pages = [&](const TListeSet& set) {
        QStringList written;
        for (const TListePage& page : PlanOneFilePages(set, names))
            written << page.Name + ": " + Names(page.Rounds).join(", ");
        return written;
    };
    const std::vector<TListeSet> days = Plan({.ByDay = true, .OneFile = true});
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(pages(days[0]),
              QStringList({"k-100-1: K 100 F", "m-100-1: M 100 I", "m-la-1: M LÆ F", "m-ku-1: M KU F"}));
    EXPECT_EQ(pages(days[1]), QStringList({"m-100-2: M 100 F", "m-4x100-1: M 4X100 F", "m-ho-1: M HØ F"}));
    // Over the whole meet the event's page holds both rounds, from the first, whichever comes first.
    EXPECT_EQ(pages(Plan({.OrderByTime = true, .OneFile = true}).front()).mid(0, 3),
              QStringList({"k-100-1: K 100 F", "m-100-1: M 100 I, M 100 F", "m-la-1: M LÆ F"}));
}

// A job that notes the pages it opens and the rounds it writes, instead of writing them.
class TNotingJob : public TUdskrift {
public:
    bool HasData() override { return true; }
    void OpenHtml() override { Pages << (HtmlFileName.isEmpty() ? "liste" + HtmlNameSuffix : HtmlFileName); }
    void WriteOvelseHtml() override {
        const TOvelseInfo& info = *Data->OvelseInfo();
        Pages.last() += ' ' + info.GetKlasseKode() + '/' + info.GetOvelseKode() + '/' + info.GetRunde();
    }
    QStringList Pages;
};

TEST_F(UdskriftBatchTest, TheRunWritesEachSetUnderItsSuffixOrEachPageUnderItsName) {
    ScheduleTwoDays();
    TResultatManager data;
    TNotingJob job;
    SetUpBatchHtml(job, data, false);
    EXPECT_TRUE(job.OnlyHtml() && job.HeadingInBody && job.ListUnseeded);
    RunListeSets(job, Plan({.ByDay = true}));
    EXPECT_EQ(job.Pages, QStringList({"liste_20240601 K/100/F M/100/I M/LÆ/F M/KU/F",
                                      "liste_20240602 M/100/F M/4X100/F M/HØ/F"}));

    job.Pages.clear();
    const TOneFileNames names(Ov(), "p");
    RunListeSets(job, Plan({.ByAgeGroup = true, .OneFile = true}), &names);
    EXPECT_EQ(job.Pages, QStringList({"pk-100-1 K/100/F", "pm-100-1 M/100/I M/100/F", "pm-4x100-1 M/4X100/F",
                                      "pm-ho-1 M/HØ/F", "pm-la-1 M/LÆ/F", "pm-ku-1 M/KU/F"}));
    EXPECT_EQ(job.HtmlFileName, "");
}

} // namespace
