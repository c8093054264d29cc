// The standings the result list appends, in a meet in a program folder: a decathlon's disciplines and
// standings, the class standings of combined events, and a team competition's club grid, HTML sections
// and results-board template.
#include "print/D_UdskriftResultatliste.h"

#include "ListFixture.h"
#include "PrintRecorder.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "support/Test.h"

namespace {

using namespace ResultatField;

// The disciplines of the decathlon in their order.
const QStringList Decathlon = {"C100", "CLÆ", "CKU", "CHØ", "C400", "C110H", "CDI", "CST", "CSP", "C1500"};

class TStillingTest : public TResultatlisteListTest {
protected:
    // A decathlon of class M with automatic totals. Ane has too much wind on average and a long jump
    // with little wind to count instead; Bo's winds are legal; Carl has too much wind and no such jump. Every
    // row in the heat given (0: none, as rows typed before any seeding).
    void AddDecathlon(qint32 heat = 1) {
        for (const QString& ovelse : Decathlon)
            AddProgramme({{"M", ovelse, "F"}});
        AddProgramme({{"M", "10K", "F"}});
        int disciplineNr = 0;
        for (const QString& ovelse : Decathlon + QStringList{"10K"}) {
            TOvelseRkElement* row = Ov().FindOvelseRk("M", ovelse);
            row->GetField(OvelseRkField::MKOvelse)->SetAsString("10K");
            row->GetField(OvelseRkField::MKOvelseNr)->SetAsInteger(++disciplineNr);
        }
        Ov().Save();
        Ov().Reload();
        SetRunde(Round("M", "10K"), OvelseRnField::AutoCalcPoint, 1);
        AddKlub(1, "AGF", "AGF");
        AddKlub(2, "Sparta", "Sparta");
        AddDeltager(21, "Ane Kamp", 2000, 1);
        AddDeltager(22, "Bo Kamp", 2001, 2);
        AddDeltager(23, "Carl Kamp", 2002, 1);
        const auto discipline = [&](const QString& ovelse, qint32 nr, qint32 resultat, qint32 vind,
                                    double point, qint32 point3) {
            AddResultat(Round("M", ovelse), nr, [=](TResultatTable& t) {
                Fields({{Heat, heat}, {Resultat, resultat}, {Vind, vind}, {Point3, point3}})(t);
                t.GetField(Point)->SetAsFloat(point);
            });
        };
        const auto longJump = [&](qint32 nr, double point, std::vector<std::array<qint32, 3>> jumps) {
            TSerier serier;
            for (const auto& [value, vind, point1] : jumps) {
                TSerie& serie = *serier.GetSerie(serier.Add());
                serie.Value = value;
                serie.Kode = vind;
                serie.Point1 = point1;
            }
            AddResultat(
                Round("M", "CLÆ"), nr,
                [=](TResultatTable& t) {
                    t.GetField(Heat)->SetAsInteger(heat);
                    t.GetField(Point)->SetAsFloat(point);
                },
                serier.SaveToString());
        };
        discipline("C100", 21, 1100, 30, 850, 860);
        discipline("C100", 22, 1120, 10, 800, 810);
        discipline("C100", 23, 1150, 30, 780, 790);
        longJump(21, 800, {{700, 30, 800}, {680, 2, 760}});
        longJump(22, 700, {{650, 15, 700}});
        longJump(23, 750, {{690, 30, 750}});
        discipline("CKU", 21, 1400, 0, 700, 0);
        discipline("CKU", 22, 1300, 0, 650, 0);
        discipline("CKU", 23, 0, 0, 0, 0);
        discipline("C110H", 21, 1500, 25, 830, 0);
        discipline("C110H", 22, 1520, 5, 810, 0);
        discipline("C110H", 23, 1600, 30, 700, 0);
        for (const qint32 nr : {21, 22, 23})
            AddResultat(Round("M", "10K"), nr, Fields({{Heat, heat}}));
        // The event editor stores the totals it computes.
        TResultatManager editor;
        editor.LoadOvelse(&Round("M", "10K"));
        editor.SaveResultater();
    }

    // A team competition of 17 clubs, one athlete each: all score in the long jump, five in the high jump,
    // the shot put is held without points, the other events have no entries; clubs 1 and 2 bring points
    // from round 1.
    void AddTeamCompetition() {
        Settings().EgenTurnering = true;
        Settings().FlereRunder = true;
        for (int k = 1; k <= 17; ++k) {
            AddKlub(k, k == 3 ? QStringLiteral("Sparta & <Co>") : QStringLiteral("Klub %1").arg(k),
                    QStringLiteral("K%1").arg(k));
            AddDeltager(100 + k, QStringLiteral("Atlet %1").arg(k), 2000, k);
            const auto score = [&](TOvelseInfo& round, qint32 place, double point) {
                AddResultat(round, 100 + k, [=](TResultatTable& t) {
                    Fields({{Heat, 1}, {Resultat, 500 + 10 * (18 - place)}, {Placering, place}})(t);
                    t.GetField(Point)->SetAsFloat(point);
                });
            };
            score(Round("M", "LÆ"), k, 18 - k);
            if (k <= 5)
                score(Round("M", "HØ"), k, 6 - k);
            score(Round("M", "KU"), k, 0);
        }
        for (const auto& [klubNr, point] : {std::pair{1, 10.0}, std::pair{2, 7.5}}) {
            TKlubTable klubber;
            klubber.Open();
            for (bool found = klubber.First(); found; found = klubber.Next())
                if (klubber.GetField(KlubField::KlubNr)->GetAsInteger() == klubNr) {
                    klubber.Edit();
                    klubber.GetField(KlubField::PointRunde1)->SetAsFloat(point);
                    klubber.Post();
                }
        }
    }
};

// ---------------------------------------------------------------- combined events

TEST_F(TStillingTest, ADecathlonsDisciplinesWithTheirWindsAndTheApprovedSeries) {
    AddDecathlon();
    Load(Round("M", "10K"));
    const QStringList lines = Print("decathlon");
    EXPECT_EQ(Matching(lines, "^(Ane|Bo|Carl) Kamp R"),
              QStringList({"Ane Kamp R 11.00 7.00 14.00 15.00", "Bo Kamp R 11.20 6.50 13.00 15.20",
                           "Carl Kamp R 11.50 6.90 X 16.00"}))
        << lines.join("\n").toStdString();
    EXPECT_EQ(Matching(lines, "^AGF P|^Sparta P"),
              QStringList({"AGF P 850 800 700 830", "Sparta P 800 700 650 810", "AGF P 780 750 0 700"}));
    EXPECT_EQ(Matching(lines, "^\\d+p W"),
              QStringList({"3180p W +3.0 +3.0 +2.5", "2960p W +1.0 +1.5 +0.5", "2230p W +3.0 +3.0 +3.0"}));
    EXPECT_EQ(Matching(lines, "^Godkendt serie"),
              QStringList({"Godkendt serie: 3140p med Mangekamp: Længdespring: 6.80 (+0.2) 760p i stedet for "
                           "7.00 (+3.0) 800p"}));
    EXPECT_EQ(Matching(lines, "^Ingen godkendt serie$").size(), 1);
    EXPECT_TRUE(TooWide.isEmpty()) << TooWide.join("\n").toStdString();

    const QString page = Html("decathlon");
    EXPECT_EQ(HtmlErrors(page), "");
    EXPECT_EQ(HtmlXPath(page, "count(//table[@class='rs']//tr[1]/td[@class='ar1'])"), "10");
    EXPECT_EQ(HtmlXPath(page, "string(//table[@class='rs']//tr[td='Ane Kamp']/td[4])"), "7.00");
    EXPECT_EQ(
        HtmlXPath(page, "string(//table[@class='rs']//td[@colspan='12'][starts-with(.,'Godkendt')]/@class)"),
        "l2");
    EXPECT_EQ(HtmlXPath(page, "count(//table[@class='rs']//tr)"), "12");

    // The second model: its totals from the disciplines' second points, placed anew in a table of their own.
    Settings().D3TMangekamp = true;
    const QStringList daf = Print("decathlon-daf");
    const qsizetype title = IndexOf(daf, "^DAF MODEL$");
    ASSERT_GE(title, 0) << daf.join("\n").toStdString();
    EXPECT_EQ(Matching(daf.mid(title), "(AGF|Sparta) \\d+$"),
              QStringList({"1 860 KAMP Ane -2000 AGF 860", "2 810 KAMP Bo -2001 Sparta 810",
                           "3 790 KAMP Carl -2002 AGF 790"}));
    EXPECT_EQ(Row(Data(), 21).Point3, 860);
    EXPECT_EQ(Row(Data(), 21).Point, 0);
    EXPECT_EQ(Row(Data(), 21).Resultat, 3180);
}

TEST_F(TStillingTest, ADecathlonNeverSeededHasItsPlacesOnPaperAndInHtml_WhateverTheMeetLeavesOut) {
    AddDecathlon(0);
    Load(Round("M", "10K"));
    for (const bool leftOut : {false, true}) {
        Settings().UdeladRettelserFoerSeedning = leftOut;
        const QString name = leftOut ? "decathlon-unseeded-left-out" : "decathlon-unseeded";
        const QStringList lines = Print(name);
        EXPECT_TRUE(Matching(lines, "RETTELSER").isEmpty()) << lines.join("\n").toStdString();
        EXPECT_EQ(Matching(lines, "^\\d \\d+ KAMP"),
                  QStringList({"1 3180 KAMP Ane -2000 AGF", "2 2960 KAMP Bo -2001 Sparta",
                               "3 2230 KAMP Carl -2002 AGF"}))
            << lines.join("\n").toStdString();
        EXPECT_EQ(Matching(lines, "^Ane Kamp R").size(), 1) << "the disciplines as before";

        const QString page = Html(name);
        EXPECT_EQ(HtmlErrors(page), "");
        EXPECT_EQ(HtmlXPath(page, "count(//td[contains(.,'RETTELSER')])"), "0");
        EXPECT_EQ(HtmlXPath(page, "string(//table[@class='rl']//tr[td='KAMP Bo -2001']/td[1])"), "2");
    }
}

TEST_F(TStillingTest, StandingsAfterADiscipline_AndTheSecondModelsTablesWhenTheMeetCountsIt) {
    AddDecathlon();
    TResultatManager& data = Load(Round("M", "CLÆ"));
    QStringList lines = Print("decathlon-lj");
    const qsizetype standings = IndexOf(lines, "^STILLING EFTER 2 ØVELSER$");
    ASSERT_GE(standings, 0) << lines.join("\n").toStdString();
    EXPECT_EQ(lines.mid(standings + 1, 3),
              QStringList({"1 1650p KAMP Ane -2000 AGF", "2 1530p KAMP Carl -2002 AGF",
                           "3 1500p KAMP Bo -2001 Sparta"}));
    EXPECT_TRUE(Matching(lines, "DAF MODEL|RETFÆRDIGE").isEmpty());

    Settings().D3TMangekamp = true;
    const QList<qint32> order = Startnumre(data);
    lines = Print("decathlon-lj-daf");
    EXPECT_EQ(Matching(lines, "^STILLING EFTER"),
              QStringList({"STILLING EFTER 2 ØVELSER - DEN RETFÆRDIGE MODEL",
                           "STILLING EFTER 2 ØVELSER - DAF MODEL"}));
    const qsizetype daf = lines.indexOf("STILLING EFTER 2 ØVELSER - DAF MODEL");
    EXPECT_EQ(lines.mid(daf + 1, 3), QStringList({"1 860p KAMP Ane -2000 AGF", "2 810p KAMP Bo -2001 Sparta",
                                                  "3 790p KAMP Carl -2002 AGF"}));
    // The caller's rows keep their points and order.
    EXPECT_EQ(Startnumre(data), order);
    EXPECT_EQ(Row(data, 21).Point, 800);

    const QString page = Html("decathlon-lj");
    EXPECT_EQ(HtmlErrors(page), "");
    EXPECT_EQ(HtmlXPath(page, "string(//table[@class='o'][2]//b)"),
              "STILLING EFTER 2 ØVELSER - DEN RETFÆRDIGE MODEL");
    EXPECT_EQ(HtmlXPath(page, "string(//table[@class='o'][2]/following-sibling::table[1]//tr[1]/td[3])"),
              "1650p");
    EXPECT_EQ(
        HtmlXPath(page, "string(//table[@class='o'][2]/following-sibling::table[1]//tr[1]/td[1]/@class)"),
        "ka1");
}

TEST_F(TStillingTest, TheClassStandingsLoadOtherRoundsWithoutTouchingTheCallersRows) {
    AddDecathlon();
    TResultatManager& data = Load(Round("M", "C100"));
    Row(data, 22).SetPoint(999);
    Row(data, 22).SetBem("ny");
    const QStringList lines =
        Print("class-standings", [](TResultatlisteUdskrift& job) { job.InklusivMangekampStilling = true; });
    const qsizetype heading = IndexOf(lines, "^MÆND SENIOR - MANGEKAMP: STILLING EFTER");
    ASSERT_GE(heading, 0) << lines.join("\n").toStdString();
    // The combined event's own round counts as held, as its rows have results.
    EXPECT_EQ(lines[heading], "MÆND SENIOR - MANGEKAMP: STILLING EFTER 5 ØVELSER");
    // The stored points: the caller's unsaved 999 is no part of them.
    EXPECT_EQ(lines.mid(heading + 1, 3),
              QStringList({"1 3180 KAMP Ane -2000 AGF 4", "2 2960 KAMP Bo -2001 Sparta 4",
                           "3 2230 KAMP Carl -2002 AGF 3"}));
    EXPECT_EQ(Row(data, 22).Point, 999);
    EXPECT_EQ(Row(data, 22).Bem, "ny");
    EXPECT_TRUE(Row(data, 22).IsModified());
    EXPECT_EQ(data.OvelseInfo(), &Round("M", "C100"));

    // A class whose rounds give no points has no standings, not even a heading; a meet's own title.
    AddResultat(Round("K", "100"), 23, Fields({{Heat, 1}, {Resultat, 1200}}));
    Load(Round("K", "100"));
    const QStringList none = Print("class-standings-none",
                                   [](TResultatlisteUdskrift& job) { job.InklusivMangekampStilling = true; });
    EXPECT_TRUE(Matching(none, "STILLING").isEmpty()) << none.join("\n").toStdString();
    Settings().MangekampOverskrift = "  TIKAMP  ";
    Load(Round("M", "C100"));
    EXPECT_EQ(Matching(Print("class-standings-title",
                             [](TResultatlisteUdskrift& job) { job.InklusivMangekampStilling = true; }),
                       "TIKAMP"),
              QStringList({"MÆND SENIOR - TIKAMP"}));
}

// ---------------------------------------------------------------- club standings

TEST_F(TStillingTest, SeventeenClubsInThreeBands_WithTheirEarlierPoints_AndTheEventsStillToCome) {
    AddTeamCompetition();
    Load(Round("M", "LÆ"));
    const QStringList lines =
        Print("clubs", [](TResultatlisteUdskrift& job) { job.InklusivKlubstilling = true; });
    EXPECT_EQ(Matching(lines, "^SAMLET STILLING$").size(), 1) << lines.join("\n").toStdString();
    EXPECT_EQ(Matching(lines, "^TOTAL ").size(), 3);
    EXPECT_EQ(Matching(lines, "^FØR( |$)").size(), 3);
    EXPECT_EQ(Matching(lines, "^NU( |$)").size(), 3);
    // Club 1: 17 + 5 here, 10 before; club 2: 16 + 4 and 7.5; club 3 has no earlier points.
    EXPECT_EQ(Matching(lines, "^K1 K2 K3"), QStringList({"K1 K2 K3 K4 K5 K6 K7 K8"}));
    EXPECT_EQ(Matching(lines, "^TOTAL 32p"), QStringList({"TOTAL 32p 27½p 18p 16p 14p 12p 11p 10p"}));
    EXPECT_EQ(Matching(lines, "^FØR 10p"), QStringList({"FØR 10p 7½p"}));
    EXPECT_EQ(Matching(lines, "^NU 22p"), QStringList({"NU 22p 20p 18p 16p 14p 12p 11p 10p"}));
    EXPECT_EQ(Matching(lines, "^K17$").size(), 1);
    EXPECT_EQ(Matching(lines, "^Længdespring 17p").size(), 1);
    EXPECT_EQ(Matching(lines, "^Højdespring 5p 4p 3p 2p 1p$").size(), 1);
    EXPECT_EQ(Matching(lines, "^Længdespring 1p$").size(), 1);
    EXPECT_EQ(Matching(lines, "^AFVIKLET"), QStringList({"AFVIKLET 2 ØVELSER UD AF 3"}));
    EXPECT_EQ(Matching(lines, "^MANGLER"),
              QStringList({"MANGLER: 100 meter løb, Stafet 4 x 100 meter, Kuglestød"}));
    EXPECT_TRUE(TooWide.isEmpty()) << TooWide.join("\n").toStdString();
}

TEST_F(TStillingTest, TheClubStandingsAsHtmlSections_AndTheResultsBoardsTemplate) {
    AddTeamCompetition();
    Load(Round("M", "LÆ"));
    const QString page = Html("clubs", [](TResultatlisteUdskrift& job) {
        job.InklusivKlubstilling = true;
        job.BoardFile = true;
    });
    EXPECT_EQ(HtmlErrors(page), "");
    EXPECT_EQ(HtmlXPath(page, "count(//table[@class='o']//td[@class='l3']/b)"), "6");
    // The total section's three bands, the third with one club and seven empty name cells.
    EXPECT_EQ(HtmlXPath(page, "count((//table[@class='ho1'])[3]//tr[1]/td[@class='oc'][.='\u00a0'])"), "7");
    EXPECT_EQ(HtmlXPath(page, "string((//table[@class='ho1'])[1]//tr[1]/td[4])"), "K3");
    EXPECT_EQ(HtmlXPath(page, "string((//table[@class='ho1'])[1]//tr[td='FØR']/td[3])"), "7½p");
    EXPECT_EQ(HtmlXPath(page, "string((//table[@class='ho1'])[1]//tr[td='TOTAL']/td[2]/b)"), "32p");
    // The jumps' section: its total row, then a row for each jump with the shading of its own.
    EXPECT_EQ(HtmlXPath(page, "string(//table[@class='o'][.//b[normalize-space(translate(.,'\u00a0',' "
                              "'))='SPRING']]/following-sibling::table[2]//tr[1]/td[1])"),
              "HØ");
    EXPECT_EQ(HtmlXPath(page, "string(//table[@class='o'][.//b[normalize-space(translate(.,'\u00a0',' "
                              "'))='SPRING']]/following-sibling::table[2]//tr[1]/td[1]/@class)"),
              "al1");

    const QString board = Manager().GetStaevneDir() + "/klubstilling.xml";
    EXPECT_EQ(XmlErrors(board), "");
    const QStringList xml = PageLines(board);
    EXPECT_EQ(xml.value(0), "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>");
    EXPECT_EQ(xml.value(1), "<Klubstilling>");
    EXPECT_EQ(xml.value(2), "  <TextArea X=\"+DT-header-1+\" Y=\"+DT-header-2+\"  FontSize=\"+DT-font-1+\" "
                            "FontColor=\"+Color-3+\" Text=\"M  (2 / 7)\" />");
    EXPECT_EQ(xml.value(3), "  <TextArea X=\"+DT-col-1+\" Y=\"+DT-line-1+\" FontSize=\"+DT-font-2+\" "
                            "FontColor=\"+Color-3+\" Right =\"true\" Text=\"22\" />");
    EXPECT_EQ(xml.value(4), "  <TextArea X=\"+DT-col-2+\" Y=\"+DT-line-1+\" FontSize=\"+DT-font-2+\" "
                            "FontColor=\"+Color-3+\" Text=\"Klub 1\" />");
    EXPECT_EQ(xml.count(), 2 + 1 + 2 * 17 + 1);
    EXPECT_EQ(xml.last(), "</Klubstilling>");
    EXPECT_EQ(Matching(xml, "Sparta &amp; &lt;Co&gt;").size(), 1);
}

TEST_F(TStillingTest, OutsideTeamCompetitionsThereAreNoClubStandings) {
    AddTeamCompetition();
    Settings().EgenTurnering = false;
    Load(Round("M", "LÆ"));
    const QStringList lines =
        Print("no-clubs", [](TResultatlisteUdskrift& job) { job.InklusivKlubstilling = true; });
    EXPECT_TRUE(Matching(lines, "SAMLET|TOTAL").isEmpty());
}

TEST_F(TStillingTest, TheClassFilterComparesWholeCodesOrTheAgeDigitsOfAnEastTeamLeague) {
    TResultatlisteUdskrift job;
    EXPECT_TRUE(MatchesClassFilter(job, "M"));
    job.KlasseFilter = " m ";
    EXPECT_TRUE(MatchesClassFilter(job, "M"));
    EXPECT_FALSE(MatchesClassFilter(job, "M35"));
    job.KlasseFilter = "D12";
    EXPECT_FALSE(MatchesClassFilter(job, "P12"));
    Settings().OstHoldTurnering = true;
    EXPECT_TRUE(MatchesClassFilter(job, "P12"));
    EXPECT_FALSE(MatchesClassFilter(job, "P13"));
}

} // namespace
