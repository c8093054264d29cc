// Points of a round by the meet's competition form and the round's points method, computed by the result
// manager over records stored in a program folder.
#include "model/D_Result.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Ovelser.h"
#include "model/D_PointBeregning.h"
#include "model/D_ResultHold.h"
#include "model/D_Staevne.h"

#include <QMap>

#include <array>
#include <tuple>
#include <vector>

namespace {

using namespace ResultatField;

using TRowPoints = QMap<qint32, double>;

// A row: start number, club number, result, status code, out-of-competition code.
struct TRow {
    qint32 Startnummer;
    qint32 KlubNr;
    qint32 Resultat;
    const char* RK = "";
    const char* UK = "";
};

class ResultPoint : public TResultTest {
protected:
    // Clubs 1..8 with the team codes A, B, ..., club 9 without one.
    void SetUp() override { AddHoldKlubber(8); }

    void AddRows(const TOvelseInfo& round, std::initializer_list<TRow> rows, qint32 aargang = 0) {
        for (const TRow& row : rows) {
            AddDeltager(row.Startnummer, QStringLiteral("Deltager %1").arg(row.Startnummer), aargang,
                        row.KlubNr);
            AddResultat(round, row.Startnummer, [=](TResultatTable& t) {
                Fields({{Heat, 1}, {Resultat, row.Resultat}})(t);
                SetCode(t, ResultatKode, row.RK);
                SetCode(t, UdenforKonk, row.UK);
            });
        }
    }
    static void SetCode(TResultatTable& t, int fieldNo, const char* code) {
        static_cast<TStringField*>(t.GetField(fieldNo))->TStringField::SetAsString(code);
    }

    // The event row's own points method.
    void SetMethod(const QString& klasse, const QString& ovelse, PointBeregning method) {
        Ov().FindOvelseRk(klasse, ovelse)
            ->GetField(OvelseRkField::PointBeregning)
            ->SetAsInteger(qint32(method) + 1);
        Ov().Save();
    }

    static TRowPoints Points(const TResultatManager& manager) {
        TRowPoints points;
        for (const TResultat* row : manager.GetResultater())
            points[row->Startnummer] = row->Point;
        return points;
    }

    // Loads and scores the round; the messages are the manager's to return, never shown.
    TRowPoints Score(TOvelseInfo& round, QStringList* messages = nullptr) {
        TResultatManager manager;
        manager.LoadOvelse(&round);
        const QStringList told = manager.CalcPoint();
        if (messages)
            *messages = told;
        EXPECT_EQ(Shown(), QStringList());
        return Points(manager);
    }

    TSystemData& Data() { return Manager().SystemData(); }
};

} // namespace

TEST(ResultPointType, TheNaturalMethodFollowsTheClassCode) {
    // Women and men: youth table below 14, formula to 22, its veteran form from 30, none between. Girls
    // and boys: youth table to 13, formula to 22; a single digit 5..9 is youth too. Ages that are no
    // number count as 0; other letters and other lengths have no method.
    // clang-format off
    const std::pair<const char*, qint32> cases[] = {
        {"K13", 5}, {"M14", 2}, {"M22", 2}, {"M23", -1}, {"M29", -1}, {"M30", 4}, {"K95", 4}, {"K", 2},
        {"m35", 4}, {" M35 ", 4}, {"D12", 5}, {"P13", 5}, {"D14", 2}, {"P22", 2}, {"D23", -1}, {"P5", 5},
        {"D9", 5}, {"D4", -1}, {"D", -1}, {"MXX", 5}, {"DXX", 5}, {"S", -1}, {"X12", -1}, {"M355", -1}, {"", -1}};
    // clang-format on
    for (const auto& [klasse, method] : cases)
        EXPECT_EQ(GetNaturligPointType(klasse), method) << klasse;
}

TEST_F(ResultPoint, TheRoundsMethodIsItsEventRowsOrTheMeetsWithTheNaturalOneResolved) {
    AddProgramme({{"M35", "100", "F"}});
    TResultatManager manager;
    manager.LoadOvelse(&Round("M35", "100"));
    Data().PointBeregning = qint32(PointBeregning::NaturligAldersgruppe);
    EXPECT_EQ(manager.GetPointType(), qint32(PointBeregning::WmaMangekamp));
    SetMethod("M35", "100", PointBeregning::IaafBluePoints);
    EXPECT_EQ(manager.GetPointType(), qint32(PointBeregning::IaafBluePoints));
}

TEST_F(ResultPoint, FormulasScoreValidRowsInCompetitionAndCountedForTeams) {
    AddProgramme({{"M35", "100", "F"}, {"P14", "80H", "F"}});
    SetMethod("M", "100", PointBeregning::IaafMangekamp);
    AddRows(Round("M", "100"),
            {{1, 1, 1080}, {2, 1, 1080, "", "U"}, {3, 1, 1080, "", "-"}, {4, 1, 1080, "D"}, {5, 1, 0}});
    EXPECT_EQ(Score(Round("M", "100")), (TRowPoints{{1, 906}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}));

    // The natural method of M35 is the veteran formula with the age 35.
    Data().PointBeregning = qint32(PointBeregning::NaturligAldersgruppe);
    AddRows(Round("M35", "100"), {{11, 1, 1180}});
    EXPECT_EQ(Score(Round("M35", "100")),
              (TRowPoints{{11, CalcMKPoint(false, "100", MKVariant::Veteran, 1180, 35)}}));

    // Girls of 14 score by the youth rows of the hurdles, the second of them in Point3.
    AddRows(Round("P14", "80H"), {{21, 1, 1250}});
    TResultatManager manager;
    manager.LoadOvelse(&Round("P14", "80H"));
    manager.CalcPoint();
    const TResultat& row = Row(manager, 21);
    EXPECT_EQ(row.Point, CalcMKPoint(true, "80H", MKVariant::Youth, 1250, NoAge));
    EXPECT_EQ(row.Point3, CalcMKPoint(true, "80H", MKVariant::YouthSecond, 1250, NoAge));
    EXPECT_NE(row.Point, row.Point3);
}

TEST_F(ResultPoint, TheAttemptsOfACombinedEventsJumpAreScoredToo) {
    TOvelseRkElement* longJump = Ov().FindOvelseRk("M", "LÆ");
    longJump->GetField(OvelseRkField::MKOvelse)->SetAsString("10K");
    longJump->GetField(OvelseRkField::MKOvelseNr)->SetAsInteger(2);
    SetMethod("M", "LÆ", PointBeregning::IaafMangekamp);
    AddDeltager(1, "Tikæmper");
    AddResultat(Round("M", "LÆ"), 1, Fields({{Heat, 1}}), Serie({{712, 0}, {0, 0}, {SeriePas, 0}, {695, 0}}));

    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "LÆ"));
    manager.CalcPoint();
    const TResultat& row = Row(manager, 1);
    const int best = CalcMKPoint(false, "LÆ", MKVariant::Any, 712, NoAge);
    EXPECT_GT(best, 0);
    EXPECT_EQ(row.Point, best);
    QList<qint32> attempts;
    for (int i = 0; i < row.GetSerieCount(); ++i)
        attempts << row.GetSerie(i)->Point1;
    EXPECT_EQ(attempts, (QList<qint32>{best, 0, 0, CalcMKPoint(false, "LÆ", MKVariant::Any, 695, NoAge)}));
}

TEST_F(ResultPoint, PointsTablesWithHandTimesAndTheFileOfTheClasssSex) {
    // A table of the class and event in the configured folder; a hand time gets the timing correction.
    WriteFile(Path("tabeller/M100.txt"), "Eltidkorr: 24\r\n    1200  800\r\n    1210  780\r\n"
                                         "    1220  760\r\n    1230  740\r\n");
    Data().TabelOpslagPath = "tabeller";
    SetMethod("M", "100", PointBeregning::Tabelopslag);
    AddRows(Round("M", "100"), {{1, 1, 1200}, {2, 1, 1205}, {3, 1, -120}, {4, 1, 1300}});
    EXPECT_EQ(Score(Round("M", "100")), (TRowPoints{{1, 800}, {2, 780}, {3, 740}, {4, 0}}));

    // Blue points: girls by the women's table.
    AddProgramme({{"P12", "100", "F"}});
    SetMethod("P12", "100", PointBeregning::IaafBluePoints);
    AddRows(Round("P12", "100"), {{11, 1, 1350}});
    TPointTabel women;
    women.LoadFromCSV(Path("_t_blue/iaaf-blue-points-women.csv"), "100");
    TPointTabel men;
    men.LoadFromCSV(Path("_t_blue/iaaf-blue-points-men.csv"), "100");
    ASSERT_NE(women.GetPoint(1350), men.GetPoint(1350));
    EXPECT_EQ(Score(Round("P12", "100")), (TRowPoints{{11, women.GetPoint(1350)}}));
}

TEST_F(ResultPoint, ATableThatCannotBeReadIsReportedOnceForAllRoundsAndScoresNothing) {
    SetMethod("M", "100", PointBeregning::Tabelopslag);
    Data().TabelOpslagPath = "mangler";
    for (const char* runde : {"I", "F"})
        AddRows(Round("M", "100", runde), {{1, 1, 1100}});
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "100", "I"));
    manager.GetResultat(0)->SetPoint(12);
    manager.SaveResultater();

    const QStringList messages = manager.CalcPointOvelser({&Round("M", "100", "I"), &Round("M", "100", "F")});
    EXPECT_EQ(messages, QStringList{"Kan ikke indlæse pointtabel \"" + Dir() + "mangler\\M100.txt\""});
    EXPECT_EQ(Shown(), QStringList());
    manager.LoadOvelse(&Round("M", "100", "I"));
    EXPECT_EQ(manager.GetResultat(0)->Point, 0);
}

TEST_F(ResultPoint, PointsByPlaceThenTheBestOfEachTeamUpToTheLimit) {
    SetMethod("M", "100", PointBeregning::Placering1);
    Data().PlaceringsPoint1 = "10,8,6,5,4,3,2,1";
    AddRows(Round("M", "100"), {{11, 1, 1050}, {12, 1, 1060}, {21, 2, 1070}, {13, 1, 1080}, {14, 1, 0}});
    EXPECT_EQ(Score(Round("M", "100")), (TRowPoints{{11, 10}, {12, 8}, {21, 6}, {13, 5}, {14, 0}}));

    // Two count per team: the third of team A in points order scores nothing.
    Data().EgenTurnering = true;
    Data().AntalTaellendeDeltagere = 2;
    EXPECT_EQ(Score(Round("M", "100")), (TRowPoints{{11, 10}, {12, 8}, {21, 6}, {13, 0}, {14, 0}}));
}

// The placings of one calculation share their sort's keys: equal jumps still go by the next best jump
// when the points are given, when the scorers are limited and when the round is placed at the end.
TEST_F(ResultPoint, PointsByPlaceFollowTheTieBrokenPlacesThroughTheScorerLimit) {
    SetMethod("M", "LÆ", PointBeregning::Placering1);
    Data().PlaceringsPoint1 = "10,8,6,5,4,3,2,1";
    Data().EgenTurnering = true;
    Data().AntalTaellendeDeltagere = 1;
    TOvelseInfo& round = Round("M", "LÆ");
    // Start number, club (team A..C), jumps.
    const std::vector<std::tuple<qint32, qint32, std::vector<std::pair<qint32, qint32>>>> rows{
        {11, 1, {{650, 0}, {600, 0}}},
        {21, 2, {{620, 0}, {650, 0}}},
        {12, 1, {{640, 0}}},
        {31, 3, {{650, 0}, {610, 0}}}};
    for (const auto& [nr, klubNr, jumps] : rows) {
        AddDeltager(nr, QStringLiteral("Deltager %1").arg(nr), 0, klubNr);
        AddResultat(round, nr, Fields({{Heat, 1}, {Resultat, 650 - (nr == 12 ? 10 : 0)}}), Serie(jumps));
    }
    SetRunde(round, OvelseRnField::AntalPrHold, 1);
    TResultatManager manager;
    manager.LoadOvelse(&round);
    EXPECT_EQ(manager.CalcPoint(), QStringList());
    // The teams of one are made after the limit: team A's two and one each of B and C.
    ASSERT_TRUE(manager.HoldResultater());
    EXPECT_EQ(manager.HoldResultater()->Count(), 4);
    // 21, 31, 11 by their second jumps; 12 is team A's second scorer.
    EXPECT_EQ(Points(manager), (TRowPoints{{21, 10}, {31, 8}, {11, 6}, {12, 0}}));
    QMap<qint32, qint32> places;
    for (const TResultat* row : manager.GetResultater())
        places[row->Startnummer] = row->Plac;
    EXPECT_EQ(places, (QMap<qint32, qint32>{{21, 1}, {31, 2}, {11, 3}, {12, 4}}));

    // Without a limit the placing the points are given on makes the teams.
    Data().AntalTaellendeDeltagere = 0;
    EXPECT_EQ(manager.CalcPoint(), QStringList());
    ASSERT_TRUE(manager.HoldResultater());
    EXPECT_EQ(manager.HoldResultater()->Count(), 4);
    EXPECT_EQ(Points(manager), (TRowPoints{{21, 10}, {31, 8}, {11, 6}, {12, 5}}));
}

TEST_F(ResultPoint, TeamLeaguePointsByScoringPlaceWithSharedPlacesAndHalfPoints) {
    Data().DT = true;
    Data().AntalDTHold = 8;
    // The out-of-team-scoring 51 ties with 21 and 31 but takes no scoring place; 12 is team A's
    // second; 61 has no team; 42 is disqualified.
    AddRows(Round("M", "100"), {{11, 1, 1050},
                                {21, 2, 1060},
                                {31, 3, 1060},
                                {51, 5, 1060, "", "-"},
                                {12, 1, 1070},
                                {41, 4, 1080},
                                {61, 9, 1085},
                                {42, 4, 1000, "D"}});
    const TRowPoints first{{11, 9}, {21, 6.5}, {31, 6.5}, {51, 0}, {12, 0}, {41, 5}, {61, 0}, {42, 0}};
    EXPECT_EQ(Score(Round("M", "100")), first);

    // On the half-points list the teams' next rows are ranked again from the first scoring place.
    Data().DTOvelserHalvePoints = QStringList{"LÆ", "100"};
    TRowPoints half = first;
    half[12] = 4.5;
    EXPECT_EQ(Score(Round("M", "100")), half);

    // European Cup points outside a team league: the winner gets N.
    Data().DT = false;
    Data().DTOvelserHalvePoints.clear();
    Data().ECup2007 = true;
    TRowPoints eCup = first;
    eCup[11] = 8;
    EXPECT_EQ(Score(Round("M", "100")), eCup);
}

// Places per heat (a new round's default) do not rank the heats' winners alike: the points go by the
// result order over all heats, equal marks in different heats sharing theirs; lettered finals go by
// their places, the A final first.
TEST_F(ResultPoint, TeamLeaguePointsGoByTheOrderOverAllHeats) {
    Data().DT = true;
    Data().AntalDTHold = 8;
    TOvelseInfo& round = Round("M", "100");
    // Start number, club (team A..D), heat, time.
    const std::array<std::array<qint32, 4>, 4> rows{
        {{11, 1, 1, 1100}, {21, 2, 1, 1120}, {31, 3, 2, 1050}, {41, 4, 2, 1100}}};
    for (const auto& [nr, klubNr, heat, tid] : rows) {
        AddDeltager(nr, QStringLiteral("Deltager %1").arg(nr), 0, klubNr);
        AddResultat(round, nr, Fields({{Heat, heat}, {Resultat, tid}}));
    }
    EXPECT_EQ(Score(round), (TRowPoints{{11, 6.5}, {21, 5}, {31, 9}, {41, 6.5}}));

    // Heat 2 is the A final.
    SetRunde(round, OvelseRnField::FinaleType, 2);
    EXPECT_EQ(Score(round), (TRowPoints{{11, 6}, {21, 5}, {31, 9}, {41, 7}}));
    // Heat 1 is.
    SetRunde(round, OvelseRnField::FinaleType, 1);
    EXPECT_EQ(Score(round), (TRowPoints{{11, 9}, {21, 7}, {31, 6}, {41, 5}}));
}

TEST_F(ResultPoint, TeamLeagueScoringPlacesBeyondTheTableAreWorthNothingAndScoreOnlyOnce) {
    Data().DT = true;
    Data().AntalDTHold = 2; // at least 6 teams
    Data().DTOvelserHalvePoints = QStringList{"100"};
    for (int nr = 1; nr <= 8; ++nr)
        AddRows(Round("M", "100"), {{nr * 10 + 1, nr, 1000 + nr}});
    AddRows(Round("M", "100"), {{12, 1, 1100}});
    // Teams G and H scored 0 points in the first pass; they have scored, and the half points go to A.
    EXPECT_EQ(
        Score(Round("M", "100")),
        (TRowPoints{{11, 7}, {21, 5}, {31, 4}, {41, 3}, {51, 2}, {61, 1}, {71, 0}, {81, 0}, {12, 3.5}}));

    Data().AntalDTHold = 40; // at most 26 teams
    EXPECT_EQ(Score(Round("M", "100"))[11], 27);
}

TEST_F(ResultPoint, VeteransShareARankOnEqualPointsAndTheBestOfEachTeamScoreByIt) {
    AddProgramme({{"M40", "100", "F"}});
    Data().VT = true;
    Data().AntalTaellendeDeltagere = 2;
    Data().PlaceringsPoint1 = "10,8,6,5,4,3,2,1";
    TOvelseInfo& round = Round("M40", "100");
    AddRows(round, {{1, 1, 1200}, {2, 2, 1200}, {3, 1, 1250}, {4, 1, 1280}, {5, 3, 1300}}, 1984);

    TResultatManager manager;
    manager.LoadOvelse(&round);
    EXPECT_EQ(manager.CalcPoint(), QStringList());
    const auto vt = [&](qint32 startnummer) { return Row(manager, startnummer).VTPoint; };
    EXPECT_GT(vt(5), 0);
    EXPECT_EQ(vt(1), vt(2));
    EXPECT_GT(vt(2), vt(3));
    EXPECT_GT(vt(3), vt(4));
    EXPECT_GT(vt(4), vt(5));
    // 1 and 2 share rank 1; 4 is the third of team A; 5 is the fourth scorer.
    EXPECT_EQ(Points(manager), (TRowPoints{{1, 10}, {2, 10}, {3, 6}, {4, 0}, {5, 5}}));

    // Without the check every row keeps its veteran points.
    Data().UndladKontrol = true;
    manager.CalcPoint();
    for (const TResultat* row : manager.GetResultater())
        EXPECT_EQ(row->Point, row->VTPoint) << row->Startnummer;

    // The men's table missing: reported, and its rows score nothing.
    QFile::remove(Path("_t_blue/iaaf-blue-points-men.csv"));
    EXPECT_EQ(manager.CalcPoint(),
              QStringList{"Kan ikke indlæse pointtabel \"" + Dir() + "_t_blue\\iaaf-blue-points-men.csv\""});
    EXPECT_EQ(Points(manager), (TRowPoints{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}));
}

TEST_F(ResultPoint, EventsAMethodsTablesDoNotHoldAreNamedOncePerEventAndClass) {
    // No youth rows are shipped: the natural method of D12 is the youth table.
    AddProgramme(
        {{"D12", "LÆ", "F"}, {"K", "55", "F"}, {"K", "10000", "F"}, {"M40", "3000", "F"}, {"M", "60", "IF"}});
    Data().PointBeregning = qint32(PointBeregning::NaturligAldersgruppe);
    QStringList told;
    AddRows(Round("D12", "LÆ"), {{1, 1, 400}});
    EXPECT_EQ(Score(Round("D12", "LÆ"), &told), (TRowPoints{{1, 0}}));
    EXPECT_EQ(told, QStringList{"Ingen point for LÆ i klassen D12: DAF ungdomstabel har ingen værdier for "
                                "øvelsen i klassen"});

    // No combined-events constants for the women's 55 m; the men's 3000 m has no age factors.
    AddRows(Round("K", "55"), {{11, 1, 750}});
    Score(Round("K", "55"), &told);
    EXPECT_EQ(told,
              QStringList{"Ingen point for 55 i klassen K: IAAF mangekamp har ingen værdier for øvelsen "
                          "i klassen"});
    AddRows(Round("M40", "3000"), {{21, 1, 90000}});
    Score(Round("M40", "3000"), &told);
    EXPECT_EQ(told, QStringList{"Ingen point for 3000 i klassen M40: WMA (veteran) mangekamp har ingen "
                                "værdier for øvelsen i klassen"});

    // A points file without a column for the event, over two rounds: told once.
    SetMethod("M", "60", PointBeregning::IaafBluePoints);
    for (const char* runde : {"I", "F"})
        AddRows(Round("M", "60", runde), {{31, 1, 700}});
    TResultatManager manager;
    EXPECT_EQ(manager.CalcPointOvelser({&Round("M", "60", "I"), &Round("M", "60", "F")}),
              QStringList{"Ingen point for 60 i klassen M: pointtabellen \"" + Dir() +
                          "_t_blue\\iaaf-blue-points-men.csv\" har ingen værdier for øvelsen i klassen"});

    // An event the tables hold, or rows with nothing to score, give no message.
    AddRows(Round("M", "100", "I"), {{41, 1, 1080}});
    SetMethod("M", "100", PointBeregning::IaafMangekamp);
    EXPECT_EQ(Score(Round("M", "100", "I"), &told), (TRowPoints{{41, 906}}));
    EXPECT_EQ(told, QStringList());
    AddRows(Round("K", "10000"), {{12, 1, 0}, {13, 1, 700000, "D"}});
    Score(Round("K", "10000"), &told);
    EXPECT_EQ(told, QStringList());
}

TEST_F(ResultPoint, VeteranEventsWithoutAgeFactorsOrBluePointsAreNamed) {
    AddProgramme({{"M40", "1000ST", "F"}, {"M40", "100", "F"}});
    Data().VT = true;
    QStringList told;
    AddRows(Round("M40", "1000ST"), {{1, 1, 30000}}, 1984);
    EXPECT_EQ(Score(Round("M40", "1000ST"), &told), (TRowPoints{{1, 0}}));
    EXPECT_EQ(told,
              QStringList{"Ingen point for 1000ST i klassen M40: aldersfaktortabellen har ingen værdier "
                          "for øvelsen i klassen"});
    AddRows(Round("M40", "100"), {{2, 1, 1200}}, 1984);
    Score(Round("M40", "100"), &told);
    EXPECT_EQ(told, QStringList());
}
