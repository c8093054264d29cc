// The result list of a meet in a program folder, printed (A4 PDF pages read back) and written as HTML
// (parsed): track rounds by heat and by result, field events with their series, a relay, teams, the
// extra orders, and the caller's rows as they were.
#include "print/D_UdskriftResultatliste.h"

#include "ListFixture.h"
#include "PrintRecorder.h"
#include "foundation/PathResolver.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_ResultHold.h"
#include "model/D_Staevne.h"
#include "support/Test.h"

#include <QFontMetricsF>
#include <QRegularExpression>

namespace {

using namespace ResultatField;

class TResultatlisteTest : public TResultatlisteListTest {
protected:
    TResultatlisteTest() { AddAthletes(); }

    // A row of heat `heat` with its mark and wind.
    void AddRun(TOvelseInfo& round, qint32 nr, qint32 heat, qint32 resultat, qint32 vind,
                const QString& status = {}) {
        AddResultat(round, nr, [=](TResultatTable& t) {
            Fields({{Heat, heat}, {Resultat, resultat}, {Vind, vind}})(t);
            t.GetField(ResultatKode)->SetAsString(status);
        });
    }

    // The 100 m preliminaries in three heats: a tie in heat 1 and a disqualified runner, heat 2 begun by
    // a place 1 after heat 1's shared place 1, a hand time tied with an electronic one in heat 3 (too
    // much wind), and a correction before seeding.
    TOvelseInfo& HundredMetres() {
        TOvelseInfo& round = Round("M", "100", "I");
        AddRun(round, 1, 1, 1052, 12);
        AddRun(round, 2, 1, 1052, 12);
        AddRun(round, 3, 1, 0, 12, "D");
        AddRun(round, 4, 2, 1060, -4);
        AddRun(round, 5, 2, 0, -4);
        AddRun(round, 6, 3, -104, 23);
        AddRun(round, 7, 3, 1040, 23);
        AddRun(round, 8, 0, 0, 0);
        return round;
    }
};

// ---------------------------------------------------------------- track

TEST_F(TResultatlisteTest, HundredMetresInThreeHeats_HeadingsWithWinds_SharedPlacesRestartPerHeat) {
    Load(HundredMetres());
    const QStringList lines = Print("100m-heats");
    const QStringList heats = Matching(lines, "^(HEAT \\d|RETTELSER)");
    EXPECT_EQ(heats,
              QStringList({"HEAT 1 w: +1.2", "HEAT 2 w: -0.4", "HEAT 3 w: +2.3", "RETTELSER FØR SEEDNING"}));
    const QStringList rows = Matching(lines, "(AGF|<Co>)$");
    EXPECT_EQ(rows, QStringList({"1 10.52 JENSEN Hans -1999 AGF", "= 10.52 HOLM Ole -98 AGF",
                                 "DQ BERG Per AGF", "1 10.60 LUND Kim -2001 Sparta & <Co>",
                                 "ASK Bo Sparta & <Co>", "1 w10.4 IB Jens -2000 Sparta & <Co>",
                                 "= w10.40 NY Lars -2002 AGF", "SØ Eva AGF"}));
    // The headings of the columns from the layout, over every page.
    EXPECT_EQ(Matching(lines, "^Nr Resultat Navn Klub Point Reaktion$").size(), 1);
    // Without a heat column the result stands in layout column 3, right-aligned at its right edge.
    EXPECT_EQ(Matching(Model, " 1 0 2700 Arial 9 0 10.52 ").size(), 2) << Model.join("\n").toStdString();
    EXPECT_TRUE(TooWide.isEmpty()) << TooWide.join("\n").toStdString();

    const QString page = Html("100m-heats");
    EXPECT_EQ(HtmlErrors(page), "");
    EXPECT_EQ(HtmlXPath(page, "count(//table[@class='rl']//tr[@valign='top'])"), "8");
    EXPECT_EQ(HtmlXPath(page, "count(//td[.='='])"), "2");
    EXPECT_EQ(
        HtmlXPath(page, "string(//td[@class='ka1' or @class='ko1'][following-sibling::td[.='ASK Bo']])"), "");
    EXPECT_EQ(HtmlXPath(page, "string((//td[starts-with(@class,'k') and substring(@class,3)='7'])[4])"),
              "Sparta & <Co>");
    EXPECT_EQ(HtmlXPath(page, "string((//td[@colspan='8' and @class='l1'])[3])"),
              "HEAT 3\u00a0\u00a0w:\u00a0+2.3");
    // Heat 1's rows alternate from a shaded first row; a heading with a title starts them again.
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td='HOLM Ole -98']/td[1]/@class)"), "ko1");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td='LUND Kim -2001']/td[1]/@class)"), "ka1");
}

TEST_F(TResultatlisteTest, CorrectionsBeforeSeedingCanBeLeftOut_AndEnglishListsMarkQualifiersWithQ) {
    TOvelseInfo& round = HundredMetres();
    SetRunde(round, OvelseRnField::AntalViderePlac, 1);
    SetRunde(round, OvelseRnField::AntalVidereIalt, 4);
    Load(round);
    Data().CalcVidereKode(u'F');
    Row(Data(), 5).SetVK("f");
    Settings().UdeladRettelserFoerSeedning = true;
    Settings().Redid = true;
    const QStringList lines = Print("100m-english");
    EXPECT_TRUE(Matching(lines, "RETTELSER|SØ Eva|---").isEmpty());
    EXPECT_EQ(Matching(lines, " Q (JENSEN|HOLM|LUND|IB|NY) ").size(), 5) << lines.join("\n").toStdString();

    Settings().Engelsk = true;
    Settings().UdeladRettelserFoerSeedning = false;
    const QString page = Html("100m-english");
    EXPECT_EQ(HtmlErrors(page), "");
    EXPECT_EQ(HtmlXPath(page, "count(//td[.='Q'])"), "5");
    EXPECT_EQ(HtmlXPath(page, "count(//td[.='q'])"), "1");
    EXPECT_EQ(HtmlXPath(page, "string(//td[@class='l1']/b[contains(.,'---')])"), QString(40, u'-'));
}

TEST_F(TResultatlisteTest, ByResultOverTwoHeats_TheHeatColumnTheWindLineAndPhotoFinishLinks) {
    TOvelseInfo& round = Round("M", "100", "I");
    SetRunde(round, OvelseRnField::ResType, 1);
    AddRun(round, 1, 1, 1052, 12);
    AddRun(round, 4, 2, 1049, -4);
    AddRun(round, 7, 2, 1100, -4);
    Load(round);
    const QStringList lines = Print("100m-result");
    EXPECT_EQ(Matching(lines, "^w:"), QStringList({"w: 1h: +1.2 2h: -0.4"}));
    EXPECT_EQ(Matching(lines, "(AGF|<Co>)$"),
              QStringList({"1 10.49 2h LUND Kim -2001 Sparta & <Co>", "2 10.52 1h JENSEN Hans -1999 AGF",
                           "3 11.00 2h NY Lars -2002 AGF"}));
    // With the heat column the result stands in column 2.
    EXPECT_EQ(Matching(Model, " 1 0 1900 Arial 9 0 10.49 ").size(), 1);

    // The meet's photo folder in another letter case, a picture for heat 2 only.
    const QString photos = Manager().GetStaevneDir() + "/Photo";
    WriteFile(photos + "/M-100-1-2.jpg", "jpg");
    const QString page = Html("100m-photo");
    EXPECT_EQ(HtmlErrors(page), "");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[contains(.,'View photo finish:')]/td/a/@href)"),
              "Photo/M-100-1-2.jpg");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[contains(.,'View photo finish:')]/td/a)"), "Heat 2");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[contains(.,'View photo finish:')]/td/@class)"), "ko3");
    EXPECT_EQ(HtmlXPath(page, "string(//td[@colspan='9'][i])"), "w:  1h: +1.2  2h: -0.4");
}

TEST_F(TResultatlisteTest, PersonalRecordsFollowTheEventsDirection_AndTheImprovementsHaveATableOfTheirOwn) {
    Settings().UdskrivPR = true;
    TOvelseInfo& hundred = Round("M", "100", "I");
    SetRunde(hundred, OvelseRnField::UdskriftKode, 2);
    const auto run = [&](qint32 nr, qint32 resultat, qint32 pr, const QString& remark = {}) {
        AddResultat(hundred, nr, [=](TResultatTable& t) {
            Fields({{Heat, 1}, {Resultat, resultat}, {Vind, 10}, {PersonligRekord, pr}})(t);
            t.GetField(ResultatKom)->SetAsString(remark);
        });
    };
    run(1, 1050, 1062);
    run(2, 1060, 1060);
    run(4, 1070, 1060);
    run(6, 1080, 1100, "NR");
    Load(hundred);
    const QStringList lines = Print("100m-pr");
    EXPECT_EQ(
        Matching(lines, "AGF$|Sparta & <Co>$").mid(0, 4),
        QStringList({"1 PR 10.50 JENSEN Hans -1999 AGF", "2 =PR 10.60 HOLM Ole -98 AGF",
                     "3 10.70 LUND Kim -2001 Sparta & <Co>", "4 NR 10.80 IB Jens -2000 Sparta & <Co>"}));
    const qsizetype title = lines.indexOf("PR-FORBEDRING");
    ASSERT_GE(title, 0) << lines.join("\n").toStdString();
    // Improvements of hundredths, the largest first; rows without one left out.
    EXPECT_EQ(Matching(lines.mid(title), "AGF$|Sparta & <Co>$"),
              QStringList({"4 NR 0.20 IB Jens -2000 Sparta & <Co>", "1 PR 0.12 JENSEN Hans -1999 AGF"}));

    // In a long jump a longer mark is the better one.
    TOvelseInfo& jump = Round("M", "LÆ");
    AddResultat(jump, 1, Fields({{Heat, 1}, {PersonligRekord, 700}}), Serie({{720, 10}}));
    AddResultat(jump, 2, Fields({{Heat, 1}, {PersonligRekord, 740}}), Serie({{720, 10}}));
    Load(jump);
    const QStringList jumps = Print("lj-pr");
    EXPECT_EQ(Matching(jumps, "^1 PR 7.20|^= 7.20").size(), 2) << jumps.join("\n").toStdString();
}

// ---------------------------------------------------------------- field events

TEST_F(TResultatlisteTest, LongJumpWithWindPerAttempt_TheSeriesAndTheBestLegalMarkBelowAWindyOne) {
    TOvelseInfo& jump = Round("M", "LÆ");
    AddResultat(jump, 1, Fields({{Heat, 1}}), Serie({{745, 18}, {0, 0}, {760, 24}, {750, 10}}));
    AddResultat(jump, 4, Fields({{Heat, 1}}), Serie({{700, 999}, {SeriePas, 0}, {710, -3}}));
    AddResultat(jump, 6, Fields({{Heat, 1}}), Serie({{0, 0}, {0, 0}, {0, 0}}));
    AddResultat(jump, 3, [](TResultatTable& t) { t.GetField(ResultatKode)->SetAsString("A"); });
    Load(jump);
    const QStringList lines = Print("lj");
    EXPECT_EQ(Matching(lines, "(AGF|Sparta & <Co>)$"),
              QStringList({"1 w7.60 +2.4 JENSEN Hans -1999 AGF", "2 7.10 -0.3 LUND Kim -2001 Sparta & <Co>",
                           "X IB Jens -2000 Sparta & <Co>", "DNS BERG Per AGF"}));
    const qsizetype jensen = lines.indexOf("1 w7.60 +2.4 JENSEN Hans -1999 AGF");
    ASSERT_GE(jensen, 0);
    EXPECT_EQ(lines[jensen + 1], "7.50 +1.0");
    EXPECT_EQ(Matching(lines, "^Hans Jensen"), QStringList({"Hans Jensen 7.45 +1.8 x 7.60 +2.4 7.50 +1.0"}));
    EXPECT_EQ(Matching(lines, "^Kim Lund"), QStringList({"Kim Lund 7.00 x - 7.10 -0.3"}));
    // The best attempt in bold, its wind one point smaller.
    EXPECT_EQ(Matching(Model, " 1 0 8800 Arial 8 1 7.60 ").size(), 1) << Model.join("\n").toStdString();
    EXPECT_EQ(Matching(Model, " 0 0 8950 Arial 7 0 \\+2.4 ").size(), 1);
    EXPECT_TRUE(TooWide.isEmpty()) << TooWide.join("\n").toStdString();

    const QString page = Html("lj");
    EXPECT_EQ(HtmlErrors(page), "");
    EXPECT_EQ(HtmlXPath(page, "string(//table[@class='rs']//tr[1]/td[2])"), "1.runde");
    EXPECT_EQ(HtmlXPath(page, "string(//table[@class='rs']//tr[1]/td[2]/@colspan)"), "2");
    EXPECT_EQ(HtmlXPath(page, "string(//table[@class='rs']//tr[2]/td[6]/b)"), "7.60");
    EXPECT_EQ(HtmlXPath(page, "string(//table[@class='rs']//tr[2]/td[7])"), "+2.4");
    // A row gets cells for its own attempts only.
    EXPECT_EQ(HtmlXPath(page, "count(//table[@class='rs']//tr[3]/td)"), "7");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td='7.50']/td[1]/@class)"), "ko1");
}

TEST_F(TResultatlisteTest, AFieldRoundTypedBeforeSeedingIsPlacedAsItStands) {
    Settings().UdeladRettelserFoerSeedning = true;
    TOvelseInfo& jump = Round("M", "LÆ");
    AddResultat(jump, 1, Fields({{Heat, 0}}), Serie({{745, 18}}));
    AddResultat(jump, 4, Fields({{Heat, 0}}), Serie({{700, 999}, {710, -3}}));
    Load(jump);
    const QStringList lines = Print("lj-unseeded");
    EXPECT_EQ(Matching(lines, "(AGF|Sparta & <Co>)$"),
              QStringList({"1 7.45 +1.8 JENSEN Hans -1999 AGF", "2 7.10 -0.3 LUND Kim -2001 Sparta & <Co>"}))
        << lines.join("\n").toStdString();
    EXPECT_TRUE(Matching(lines, "RETTELSER").isEmpty());
    const QString page = Html("lj-unseeded");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td='LUND Kim -2001']/td[1])"), "2");
    EXPECT_EQ(HtmlXPath(page, "count(//td[contains(.,'RETTELSER')])"), "0");
}

// The heading of the result column stands where the results do: over layout column 2 beside the heat or
// wind column, else over column 3.
TEST_F(TResultatlisteTest, TheResultHeadingFollowsTheResultsColumn) {
    TOvelseInfo& byResult = Round("M", "100", "I");
    SetRunde(byResult, OvelseRnField::ResType, 1);
    AddRun(byResult, 1, 1, 1052, 12);
    AddRun(byResult, 4, 2, 1049, -4);
    AddRun(Round("M", "100", "F"), 7, 1, 1100, 5);
    TOvelseInfo& jump = Round("M", "LÆ");
    AddResultat(jump, 1, Fields({{Heat, 1}}), Serie({{745, 18}}));
    // The right ends (pixels at 300 dpi) of the heading and of the mark, both right-aligned in their columns.
    const auto rightEnds = [&](TOvelseInfo& round, const QString& mark) {
        Load(round);
        QList<double> found;
        const TPrintPreviewWindow previous = SetPrintPreviewWindow([&](TPrint& print) {
            TRecordingDevice device(300);
            RecordPrint(print, device);
            // The topmost of each text: the table's mark, not the series'.
            for (const QString& text : {QStringLiteral("Resultat"), mark}) {
                const TRecordedText* top = nullptr;
                for (const TRecordedText& drawn : device.Texts)
                    if (drawn.Text == text && (!top || drawn.Baseline.y() < top->Baseline.y()))
                        top = &drawn;
                if (top)
                    found.append(top->Baseline.x() + QFontMetricsF(top->Font).horizontalAdvance(top->Text));
            }
        });
        TResultatlisteUdskrift job;
        job.SetData(&Data());
        job.SetUdskrivTilSkaerm(true);
        job.RunOne();
        SetPrintPreviewWindow(previous);
        return found;
    };
    for (const auto& [round, mark] :
         {std::pair{&byResult, QStringLiteral("10.49")}, std::pair{&jump, QStringLiteral("7.45")},
          std::pair{&Round("M", "100", "F"), QStringLiteral("11.00")}}) {
        const QList<double> found = rightEnds(*round, mark);
        ASSERT_EQ(found.size(), 2) << mark.toStdString();
        EXPECT_NEAR(found[0], found[1], 4) << mark.toStdString();
    }
}

TEST_F(TResultatlisteTest, SeriesAreLeftOutOfPrintsOnlyWhenTheMeetSaysSo) {
    Settings().UndladSerier = true;
    TOvelseInfo& jump = Round("M", "LÆ");
    AddResultat(jump, 1, Fields({{Heat, 1}}), Serie({{745, 18}}));
    Load(jump);
    EXPECT_TRUE(Matching(Print("lj-no-series"), "^Hans Jensen").isEmpty());
    const QString page = Html("lj-no-series");
    EXPECT_EQ(HtmlXPath(page, "count(//table[@class='rs'])"), "1");
}

TEST_F(TResultatlisteTest, HighJumpHeights_AndTablesTooWideForThePageGoOnInAFurtherBlock) {
    TOvelseInfo& high = Round("M", "HØ");
    AddResultat(high, 1, Fields({{Heat, 1}}), Serie({{180, 3}, {185, 23}, {190, 222}}));
    AddResultat(high, 4, Fields({{Heat, 1}}), Serie({{180, 1}, {185, 3}, {190, 222}}));
    Load(high);
    QStringList lines = Print("hj");
    EXPECT_EQ(Matching(lines, "^1\\.80 "), QStringList({"1.80 1.85 1.90"}));
    EXPECT_EQ(Matching(lines, "^Hans Jensen"), QStringList({"Hans Jensen o xo xxx"}));
    EXPECT_EQ(Matching(lines, "^Kim Lund"), QStringList({"Kim Lund - o xxx"}));
    EXPECT_EQ(Matching(lines, "(AGF|Sparta & <Co>)$"),
              QStringList({"1 1.85 LUND Kim -2001 Sparta & <Co>", "2 1.85 JENSEN Hans -1999 AGF"}));
    const QString page = Html("hj");
    EXPECT_EQ(HtmlErrors(page), "");
    EXPECT_EQ(HtmlXPath(page, "string(//table[@class='rs']//tr[1]/td[2]/b)"), "1.80");
    EXPECT_EQ(HtmlXPath(page, "string(//table[@class='rs']//tr[2]/td[4])"), "xxx");

    // Nineteen heights, and a shot put with seven attempts and points for each.
    std::vector<std::pair<qint32, qint32>> heights;
    for (int i = 0; i < 19; ++i)
        heights.emplace_back(150 + 5 * i, i < 18 ? 3 : 222);
    AddResultat(high, 2, Fields({{Heat, 1}}), Serie(heights));
    Load(high);
    lines = Print("hj-19");
    EXPECT_EQ(Matching(lines, "^1\\.50 1\\.55").size(), 1);
    EXPECT_EQ(Matching(lines, "^2\\.4\\d"), QStringList({"2.40"})) << lines.join("\n").toStdString();
    EXPECT_EQ(Matching(lines, "^Ole Holm"),
              QStringList({"Ole Holm o o o o o o o o o o o o o o o o o o", "Ole Holm xxx"}));

    TOvelseInfo& shot = Round("M", "KU");
    TSerier serier;
    for (int i = 0; i < 7; ++i) {
        TSerie& serie = *serier.GetSerie(serier.Add());
        serie.Value = 1500 + 10 * i;
        serie.Point1 = 800 + i;
    }
    AddResultat(shot, 1, Fields({{Heat, 1}}), serier.SaveToString());
    Load(shot);
    lines = Print("sp-7");
    const qsizetype jensen = IndexOf(lines, "^Hans Jensen");
    ASSERT_GE(jensen, 0) << lines.join("\n").toStdString();
    EXPECT_EQ(lines[jensen], "Hans Jensen 15.00 800p 15.10 801p 15.20 802p 15.30 803p 15.40 804p 15.50 805p");
    EXPECT_EQ(lines[jensen + 1], "15.60 806p");
    EXPECT_TRUE(TooWide.isEmpty()) << TooWide.join("\n").toStdString();
}

// ---------------------------------------------------------------- relays and teams

TEST_F(TResultatlisteTest, ARelaysMembersStandOneToALine) {
    AddDeltager(50, "AGF 1");
    AddDeltager(9, "Ib <Ny>", 2003);
    TSerier legs;
    for (const qint32 nr : {1, 2, 9, 77})
        legs.GetSerie(legs.Add())->Value = nr;
    AddResultat(Round("M", "4X100"), 50, Fields({{Heat, 1}, {Resultat, 4210}}), legs.SaveToString());
    Load(Round("M", "4X100"));
    const QStringList lines = Print("relay");
    const qsizetype team = lines.indexOf("1 42.10 Hans Jensen -1999 AGF 1");
    ASSERT_GE(team, 0) << lines.join("\n").toStdString();
    EXPECT_EQ(lines.mid(team + 1, 3), QStringList({"Ole Holm -98", "Ib <Ny> -2003", "Startnummer 77"}));

    const QString page = Html("relay");
    EXPECT_EQ(HtmlErrors(page), "");
    EXPECT_EQ(HtmlXPath(page, "count(//td[@class='ka6']/br)"), "3");
    EXPECT_EQ(HtmlXPath(page, "string(//td[@class='ka6'])"),
              "Hans Jensen -1999Ole Holm -98Ib <Ny> -2003Startnummer 77");
}

TEST_F(TResultatlisteTest, TheTeamsOfARoundFollowItsRows) {
    TOvelseInfo& jump = Round("M", "LÆ");
    SetRunde(jump, OvelseRnField::AntalPrHold, 2);
    AddResultat(jump, 1, Fields({{Heat, 1}}), Serie({{700, 0}}));
    AddResultat(jump, 2, Fields({{Heat, 1}}), Serie({{650, 0}}));
    AddResultat(jump, 4, Fields({{Heat, 1}}), Serie({{720, 0}}));
    AddResultat(jump, 6, Fields({{Heat, 1}}), Serie({{600, 0}}));
    Load(jump);
    ASSERT_EQ(Data().HoldResultater()->Count(), 2);
    const QStringList lines = Print("teams");
    const qsizetype hold = lines.indexOf("HOLD");
    ASSERT_GE(hold, 0) << lines.join("\n").toStdString();
    EXPECT_EQ(lines.mid(hold + 1, 4),
              QStringList({"1 13.50 JENSEN Hans (7.00) AGF", "HOLM Ole (6.50)",
                           "2 13.20 LUND Kim (7.20) Sparta & <Co>", "IB Jens (6.00)"}));
    const QString page = Html("teams");
    EXPECT_EQ(HtmlErrors(page), "");
    EXPECT_EQ(HtmlXPath(page, "string(//table[@class='o'][tr/td/b[contains(.,'HOLD')]]/"
                              "following-sibling::table[1]//tr[3]/td[6])"),
              "Sparta & <Co>");
}

// ---------------------------------------------------------------- the caller's rows

TEST_F(TResultatlisteTest, PrintingLeavesTheCallersRowsTheirOrderAndTheirPointsAsTheyWere) {
    TOvelseInfo& hundred = HundredMetres();
    SetRunde(hundred, OvelseRnField::UdskriftKode, 1);
    TResultatManager& data = Load(hundred);
    data.SortStartnummer();
    Row(data, 4).SetPoint(12.5);
    Row(data, 1).SetBem("rettet");
    const auto state = [&] {
        QStringList rows;
        for (const TResultat* row : data.GetResultater())
            rows.append(QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                            .arg(row->Startnummer)
                            .arg(row->Point)
                            .arg(row->Point3)
                            .arg(row->VeteranPoint2)
                            .arg(row->Plac)
                            .arg(row->Modified)
                            .arg(row->Bem));
        return rows;
    };
    const QStringList before = state();
    const QStringList lines = Print("100m-veteran");
    EXPECT_TRUE(lines.contains("SORTERING EFTER VETERAN-KORRIGERET RESULTAT"))
        << lines.join("\n").toStdString();
    Html("100m-veteran");
    EXPECT_EQ(state(), before);
    EXPECT_EQ(Startnumre(data), QList<qint32>({1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(TResultatlisteTest, AListOfRoundsHasEachHeadingInTheBodyAndLeavesOutRoundsWithoutResults) {
    HundredMetres();
    AddResultat(Round("M", "LÆ"), 1, Fields({{Heat, 1}}), Serie({{745, 18}}));
    AddResultat(Round("M", "HØ"), 4, Fields({{Heat, 1}}));
    Load(Round("M", "100", "I"));
    TResultatlisteUdskrift job;
    job.HeadingInBody = true;
    const QStringList lines =
        PrintedList(job, {&Round("M", "100", "I"), &Round("M", "HØ"), &Round("M", "LÆ")}, "list");
    EXPECT_EQ(Matching(lines, "^MÆND SENIOR - "),
              QStringList({"MÆND SENIOR - 100 M - INDLEDENDE LØR KL. 13.00",
                           "MÆND SENIOR - LÆNGDESPRING LØR KL. 13.00"}))
        << lines.join("\n").toStdString();
    EXPECT_EQ(Matching(lines, "^Hans Jensen 7.45"), QStringList({"Hans Jensen 7.45 +1.8"}));
}

// ---------------------------------------------------------------- layout faults

TEST_F(TResultatlisteTest, ATextForAColumnTheLayoutLacksIsReportedOnceNamingTheFileAndTheSection) {
    WriteFile(Path("SMAL.RPT"), "[Resultatliste]\r\nOrientation=P\r\nKol_0=0|1|taRight\r\nKol_1=1|1|\r\n"
                                "Kol_2=2|2|taRight\r\nKol_3=4|2|taRight\r\n");
    Settings().ReportFilename = "SMAL.RPT";
    Load(HundredMetres());
    Shown();
    Print("narrow");
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1) << shown.join("\n").toStdString();
    EXPECT_TRUE(shown[0].contains("[Resultatliste]")) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains("SMAL.RPT")) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains("kolonne 5")) << shown[0].toStdString();
}

TEST_F(TResultatlisteTest, PageNamesMadeFromEventTextsStayOneFileInTheMeetsFolder) {
    Load(HundredMetres());
    TResultatlisteUdskrift job;
    job.HtmlUdskrift = true;
    job.HtmlNameSuffix = " - M/K: 100*?";
    EXPECT_EQ(QFileInfo(ResolvePath(job.HtmlPageFileName("resultatliste"))).fileName(),
              "resultatliste - M_K_ 100__.htm");
    job.SetData(&Data());
    job.RunOne();
    EXPECT_TRUE(QFile::exists(Manager().GetStaevneDir() + "/resultatliste - m_k_ 100__.htm"));
}

} // namespace
