// The summary lists over many rounds of a meet in a program folder: the club competition, the medal
// table, the reaction times and a team competition's standings per age group, printed (A4 PDF pages read
// back) and written as HTML pages (parsed) that carry their rows.
#include "print/D_UdskriftKlubKonkurrence.h"

#include "ListFixture.h"
#include "PrintRecorder.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "print/D_UdskriftKlubstilling.h"
#include "print/D_UdskriftMedaljeliste.h"
#include "print/D_UdskriftReaktionstider.h"
#include "support/Test.h"

namespace {

using namespace ResultatField;

class TOversigtTest : public TListTest {
protected:
    TOversigtTest() {
        AddKlub(1, "AGF", "AGF");
        AddKlub(2, "Sparta & <Co>", "Sparta");
        AddKlub(3, "Ballerup", "Ballerup");
        AddKlub(4, "Viborg", "Viborg");
        AddDeltager(1, "Hans Jensen", 1999, 1);
        AddDeltager(4, "Kim Lund", 2001, 2);
        AddDeltager(9, "Per Berg", 2000, 3);
        AddDeltager(10, "Eva Sø", 2002, 3);
        AddDeltager(11, "Ida Ny", 2003, 3);
        AddDeltager(12, "Bo Ask", 2001, 1);
        AddDeltager(13, "Lars Vig", 1998, 4);
    }

    void Score(const TOvelseInfo& round, qint32 nr, qint32 heat, qint32 resultat, double point = 0,
               qint32 reaktion = 0) {
        AddResultat(round, nr, [=](TResultatTable& t) {
            Fields({{Heat, heat}, {Resultat, resultat}, {Reaktion, reaktion}})(t);
            t.GetField(Point)->SetAsFloat(point);
        });
    }

    // The rows of the page's table of rows, their cells joined by "|".
    static QStringList Rows(const QString& page) {
        QStringList rows;
        const int count = HtmlXPath(page, "count(//table[@class='rl']//tr[@valign='top'])").toInt();
        for (int r = 1; r <= count; ++r) {
            QStringList cells;
            const QString row = QString("(//table[@class='rl']//tr[@valign='top'])[%1]").arg(r);
            const int n = HtmlXPath(page, "count(" + row + "/td)").toInt();
            for (int c = 1; c <= n; ++c)
                cells.append(HtmlXPath(page, QString("string(%1/td[%2])").arg(row).arg(c)));
            rows.append(cells.join('|'));
        }
        return rows;
    }
};

// ---------------------------------------------------------------- club competition

TEST_F(TOversigtTest, TheClubCompetitionNumbersEveryClub_TiesInTheOrderFirstMet) {
    Score(Round("M", "LÆ"), 1, 1, 700, 5);
    Score(Round("M", "LÆ"), 4, 1, 650, 3);
    Score(Round("M", "HØ"), 9, 1, 180, 5);
    Score(Round("M", "HØ"), 4, 1, 170, 2);
    Score(Round("M", "HØ"), 13, 1, 160, 1.5);
    // Held, without points: the club is met all the same.
    Score(Round("M", "KU"), 12, 1, 1200);
    Load(Round("M", "LÆ"));
    const std::vector<TOvelseInfo*> rounds = {&Round("M", "LÆ"), &Round("M", "HØ"), &Round("M", "KU"),
                                              &Round("M", "100", "I")};
    TKlubKonkurrenceUdskrift job;
    const QStringList lines = PrintedBy(job, "klubkonkurrence", [&] { job.Run(rounds); });
    EXPECT_EQ(Matching(lines, "^\\d "), QStringList({"1 AGF 5p 5p 0p", "2 Sparta & <Co> 5p 5p 0p",
                                                     "3 Ballerup 5p 5p 0p", "4 Viborg 1½p 1½p 0p"}));
    EXPECT_EQ(Matching(lines, "^Nr Klub Total Individuel Hold$").size(), 1);
    // A blank row after every third club.
    EXPECT_EQ(Matching(Model, "^3: 0 0 0 Arial 10 0  $").size(), 1) << Model.join("\n").toStdString();

    TKlubKonkurrenceUdskrift html;
    const QString page = WrittenBy(html, "klubkonkurrence", "klubkonkurrence.htm", [&] { html.Run(rounds); });
    EXPECT_EQ(Rows(page), QStringList({"1|AGF|5p|5p|0p", "2|Sparta & <Co>|5p|5p|0p", "3|Ballerup|5p|5p|0p",
                                       "4|Viborg|1½p|1½p|0p"}));
    EXPECT_EQ(HtmlXPath(page, "string((//table[@class='rl']//tr)[1]/td[2])"), "Klub");
    EXPECT_EQ(HtmlXPath(page, "string((//table[@class='rl']//tr[@valign='top'])[1]/td[1]/@class)"), "ka3");
}

// ---------------------------------------------------------------- medals

TEST_F(TOversigtTest, MedalsFromTheLastRoundsOfOfficialEvents_TheAFinalOnly_EqualClubsByName) {
    Score(Round("M", "100", "F"), 1, 1, 1050);
    Score(Round("M", "100", "F"), 4, 1, 1060);
    Score(Round("M", "100", "F"), 9, 1, 1070);
    Score(Round("M", "LÆ"), 4, 1, 720);
    Score(Round("M", "LÆ"), 1, 1, 700);
    Score(Round("M", "LÆ"), 9, 1, 690);
    // Neither an unofficial event nor a round before the last gives medals.
    Score(Round("M", "HØ"), 9, 1, 200);
    TOvelseRkElement* hoejde = Ov().FindOvelseRk("M", "HØ");
    hoejde->GetField(OvelseRkField::Uofficiel)->SetAsInteger(1);
    Ov().Save();
    Score(Round("M", "100", "I"), 9, 1, 1000);
    // Lettered finals: the B final's winner is placed third over both, and wins nothing.
    TOvelseInfo& women = Round("K", "100");
    SetRunde(women, OvelseRnField::FinaleType, 1);
    Score(women, 10, 1, 1200);
    Score(women, 11, 1, 1210);
    Score(women, 12, 2, 1300);
    Load(Round("M", "100", "F"));

    TMedaljelisteUdskrift job;
    const QStringList lines = PrintedBy(job, "medaljer", [&] { job.Run(); });
    EXPECT_EQ(Matching(lines, "(AGF|Co>|Ballerup) \\d"),
              QStringList({"1 Ballerup 1 1 2 4", "2 AGF 1 1 0 2", "Sparta & <Co> 1 1 0 2"}));
    EXPECT_EQ(Matching(lines, "^Nr Klub Guld Sølv Bronze I alt$").size(), 1);

    TMedaljelisteUdskrift html;
    const QString page = WrittenBy(html, "medaljer", "medaljer.htm", [&] { html.Run(); });
    EXPECT_EQ(Rows(page), QStringList({"1|Ballerup|1|1|2|4", "2|AGF|1|1|0|2", "|Sparta & <Co>|1|1|0|2"}));
    EXPECT_EQ(HtmlXPath(page, "string(//head/title)").contains("MEDALJER"), true);
}

// ---------------------------------------------------------------- reaction times

TEST_F(TOversigtTest, ReactionTimesFastestFirst_AnEqualTimeRankedWithEquals) {
    Score(Round("M", "100", "I"), 1, 1, 1050, 0, 150);
    Score(Round("M", "100", "I"), 4, 1, 1060, 0, 120);
    Score(Round("M", "100", "I"), 9, 2, 1070, 0, 150);
    Score(Round("M", "100", "I"), 13, 2, 1080);
    Score(Round("K", "100"), 10, 1, 1200, 0, 180);
    Load(Round("M", "100", "I"));
    TReaktionstiderUdskrift job;
    const QStringList lines = PrintedBy(job, "reaktion", [&] { job.Run(); });
    EXPECT_EQ(Matching(lines, "^(\\d|=) 0\\."),
              QStringList({"1 0.120 LUND Kim Sparta & <Co> M / 100 - indledende",
                           "2 0.150 JENSEN Hans AGF M / 100 - indledende",
                           "= 0.150 BERG Per Ballerup M / 100 - indledende",
                           "4 0.180 SØ Eva Ballerup K / 100 - finale"}));

    TReaktionstiderUdskrift html;
    const QString page = WrittenBy(html, "reaktion", "reaktion.htm", [&] { html.Run(); });
    EXPECT_EQ(Rows(page).size(), 4);
    EXPECT_EQ(Rows(page).value(2), "=|0.150|BERG Per|Ballerup|M / 100 - indledende");
    EXPECT_EQ(Rows(page).value(0), "1|0.120|LUND Kim|Sparta & <Co>|M / 100 - indledende");
}

// ---------------------------------------------------------------- team standings

TEST_F(TOversigtTest, AnEastTeamLeaguesStandingsOncePerAgeGroup) {
    Settings().OstHoldTurnering = true;
    AddProgramme({{"P12", "LÆ", "F"}, {"P13", "LÆ", "F"}});
    Score(Round("P12", "LÆ"), 1, 1, 500, 7);
    Score(Round("P12", "LÆ"), 4, 1, 480, 5);
    Score(Round("P13", "LÆ"), 9, 1, 520, 7);
    Load(Round("P12", "LÆ"));
    EXPECT_EQ(TKlubstillingHoldUdskrift::AgeGroups(), QStringList({"12", "13"}));

    TKlubstillingHoldUdskrift job;
    const QStringList lines = PrintedBy(job, "klubstilling", [&] { job.Run(); });
    EXPECT_EQ(Matching(lines, "^SAMLET STILLING"),
              QStringList({"SAMLET STILLING - 12 ÅR", "SAMLET STILLING - 13 ÅR"}));
    const qsizetype twelve = IndexOf(lines, "12 ÅR");
    const qsizetype thirteen = IndexOf(lines, "13 ÅR");
    EXPECT_EQ(Matching(lines.mid(twelve, thirteen - twelve), "^TOTAL"), QStringList({"TOTAL 7p 5p"}));
    EXPECT_EQ(Matching(lines.mid(thirteen), "^TOTAL"), QStringList({"TOTAL 7p"}));
    EXPECT_TRUE(job.KlasseFilter.isEmpty());

    TKlubstillingHoldUdskrift html;
    const QString page = WrittenBy(html, "klubstilling", "klubstilling.htm", [&] { html.Run(); });
    // Each age group's sections hold its own clubs only.
    EXPECT_EQ(HtmlXPath(page, "count(//td[@class='l1']/b[contains(.,'ÅR')])"), "2");
    EXPECT_EQ(HtmlXPath(page, "string((//table[@class='ho1'])[1]//tr[td='TOTAL']/td[3]/b)"), "5p");
    EXPECT_EQ(HtmlXPath(page, "count((//table[@class='o'][.//b[contains(.,'SAMLET')]])[2]/following-sibling::"
                              "table[@class='ho1'][1]//tr[1]/td[@class='oc'][.!='\u00a0'])"),
              "1");
}

} // namespace
