// The lists of who takes part before a round is held, in a meet in a program folder: the start list by
// heat and lane or in seeding order, the programme, the check-in list, diplomas and judges' sheets,
// printed (A4 PDF pages read back) and, where they exist as pages, written as HTML (parsed).
#include "print/D_UdskriftStartliste.h"

#include "ListFixture.h"
#include "PrintRecorder.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "print/D_UdskriftAfkrydsningsliste.h"
#include "print/D_UdskriftDiplom.h"
#include "print/D_UdskriftDommerliste.h"
#include "print/D_UdskriftProgramliste.h"
#include "print/PrUtilCanvas.h"
#include "storage/DBFieldDate.h"
#include "support/RecordedMessages.h"
#include "support/Test.h"

#include <QFontInfo>

namespace {

using namespace ResultatField;

class TStartlisteTest : public TListTest {
protected:
    TStartlisteTest() { AddAthletes(); }

    struct TEntry {
        qint32 Nr;
        qint32 Heat = 0;
        qint32 Bane = 0;
        qint32 Seedning = 0;
        qint32 PR = 0;
        QString Status = {};
        QString UK = {};
        qint32 SG = 0;
        qint32 Resultat = 0;
        qint32 Plac = 0;
    };
    void Add(const TOvelseInfo& round, const TEntry& e, const std::optional<QByteArray>& serie = {}) {
        AddResultat(
            round, e.Nr,
            [=](TResultatTable& t) {
                Fields({{Heat, e.Heat},
                        {Banenummer, e.Bane},
                        {Seedning, e.Seedning},
                        {PersonligRekord, e.PR},
                        {SeedningsGruppe, e.SG},
                        {Resultat, e.Resultat},
                        {Placering, e.Plac}})(t);
                t.GetField(ResultatKode)->SetAsString(e.Status);
                t.GetField(UdenforKonk)->SetAsString(e.UK);
            },
            serie);
    }

    // The 100 m preliminaries seeded in two heats five minutes apart: a withdrawal, a waiting athlete, one
    // out of competition and one absent.
    TOvelseInfo& Heats() {
        TOvelseInfo& round = Round("M", "100", "I");
        SetRunde(round, OvelseRnField::TidPrHeat, 300);
        Add(round, {.Nr = 1, .Heat = 1, .Bane = 3, .Seedning = 1100, .PR = 1080});
        Add(round, {.Nr = 2, .Heat = 1, .Bane = 4, .Seedning = 1120, .Status = "A"});
        Add(round, {.Nr = 3, .Heat = 1, .Bane = 5, .Status = "V"});
        Add(round, {.Nr = 4, .Heat = 2, .Bane = 3, .Seedning = 1090, .UK = "U"});
        Add(round, {.Nr = 5, .Heat = 2, .Bane = 4, .PR = 1150});
        Add(round, {.Nr = 6, .Heat = 2, .Bane = 5, .Status = "E"});
        return round;
    }

    // The relay's two teams, AGF's with its four runners.
    TOvelseInfo& Relay() {
        AddDeltager(50, "AGF 1");
        AddDeltager(51, "Sparta 1", 0, 2);
        AddDeltager(52, "AGF 2");
        TSerier legs;
        for (const qint32 nr : {1, 2, 3, 77})
            legs.GetSerie(legs.Add())->Value = nr;
        TOvelseInfo& relay = Round("M", "4X100");
        Add(relay, {.Nr = 50, .Heat = 1, .Bane = 4, .Seedning = 4300}, legs.SaveToString());
        Add(relay, {.Nr = 51, .Heat = 1, .Bane = 5, .Seedning = 4400});
        Add(relay, {.Nr = 52, .Heat = 1, .Bane = 6, .Status = "A"});
        return relay;
    }
};

// The cells of each row of the page's lists table (class rl).
QStringList CellCounts(const QString& page) {
    QStringList counts;
    const int rows = HtmlXPath(page, "count(//table[@class='rl']//tr)").toInt();
    for (int r = 1; r <= rows; ++r)
        counts.append(HtmlXPath(page, QString("count((//table[@class='rl']//tr)[%1]/td)").arg(r)));
    return counts;
}

// ---------------------------------------------------------------- start list

TEST_F(TStartlisteTest, ASeededRoundByHeatAndLane_StartTimesPerHeat_WithdrawalsStruckThrough) {
    Load(Heats());
    TStartlisteUdskrift job;
    const QStringList lines = Printed(job, "startliste-heats");
    EXPECT_EQ(
        Matching(lines, "(AGF|<Co>)"),
        QStringList({"13:00 1 3 1 JENSEN Hans -1999, AGF 10.80 11.00", "DNS 1 4 2 HOLM Ole -98, AGF 11.20",
                     "Venter 1 5 3 BERG Per, AGF", "UK 13:05 2 3 4 LUND Kim -2001, Sparta & <Co> 10.90",
                     "2 4 5 ASK Bo, Sparta & <Co> 11.50", "DNS 2 5 6 IB Jens -2000, Sparta & <Co>"}));
    // A withdrawn or absent athlete's row is struck through after the bold status; a waiting one's not.
    EXPECT_EQ(Matching(Model, "Arial 9 8 HOLM Ole").size(), 1);
    EXPECT_EQ(Matching(Model, "Arial 9 8 IB Jens").size(), 1);
    EXPECT_EQ(Matching(Model, "Arial 9 1 Venter \\| .* Arial 9 0 BERG Per").size(), 1);
    // Each heat kept on a page, the second 0.5 cm below the first.
    ASSERT_EQ(job.Print().Blocks().Count(), 2);
    EXPECT_EQ(Matching(Model, "13:05.*\\[500\\]$").size(), 1);

    const QString page = Written(*std::make_unique<TStartlisteUdskrift>(), "startliste-heats", "startliste");
    EXPECT_EQ(HtmlXPath(page, "count(//td[@class='l1' and @colspan='7'])"), "2");
    EXPECT_EQ(HtmlXPath(page, "normalize-space(translate((//td[@colspan='7'])[2],'\u00a0',' '))"),
              "HEAT 2 / 2 - 13:05");
    // The lane in the first cell; the status in place of the personal best.
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td='LUND Kim -2001']/td[1])"), "3");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td='HOLM Ole -98']/td[4])"), "DNS");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td='ASK Bo']/td[7])"), "Sparta & <Co>");
    // The header and every row have seven cells; a heat's heading spans them.
    EXPECT_EQ(CellCounts(page), QStringList({"7", "1", "7", "7", "7", "1", "7", "7", "7"}));
}

TEST_F(TStartlisteTest, OneHeatShowsNoStartTimeAndNoHeading) {
    TOvelseInfo& round = Round("M", "100", "I");
    SetRunde(round, OvelseRnField::TidPrHeat, 300);
    Add(round, {.Nr = 1, .Heat = 1, .Bane = 3});
    Add(round, {.Nr = 4, .Heat = 1, .Bane = 4});
    Load(round);
    // Printed at another hour than the heats', which the footer names.
    const TClockScope clock(EncodeDateTime(QDate(2024, 8, 17), QTime(9, 30, 0)));
    TStartlisteUdskrift job;
    EXPECT_TRUE(Matching(Printed(job, "startliste-one-heat"), "13:0").isEmpty());
    const QString page =
        Written(*std::make_unique<TStartlisteUdskrift>(), "startliste-one-heat", "startliste");
    EXPECT_EQ(HtmlXPath(page, "count(//table[@class='rl']//td[@class='l1'])"), "0");
    EXPECT_EQ(HtmlXPath(page, "count(//table[@class='rl']//tr[@valign='top'])"), "2");
}

TEST_F(TStartlisteTest, APartlySeededRoundGivesNoStartList_ButTheBatchJobsListItInSeedingOrder) {
    TOvelseInfo& round = Round("M", "100", "I");
    Add(round, {.Nr = 1, .Heat = 1, .Bane = 3, .Seedning = 1100});
    Add(round, {.Nr = 4, .Seedning = 1050});
    Add(round, {.Nr = 5, .Status = "A"});
    Load(round);
    TStartlisteUdskrift job;
    EXPECT_EQ(Printed(job, "startliste-unseeded"), QStringList({""}));

    TStartlisteUdskrift batch;
    batch.ListUnseeded = true;
    const QString page = Written(batch, "startliste-unseeded", "startliste");
    // The seeding-order form: running numbers, no heat headings, the best entered result first.
    EXPECT_EQ(HtmlXPath(page, "count(//table[@class='rl']//td[@class='l1'])"), "0");
    EXPECT_EQ(HtmlXPath(page, "string((//table[@class='rl']//tr[@valign='top'])[1]/td[6])"),
              "LUND Kim -2001");
    EXPECT_EQ(HtmlXPath(page, "string((//table[@class='rl']//tr[@valign='top'])[2]/td[1])"), "2");
}

TEST_F(TStartlisteTest, WithRedidTheHeaderHasACellForEveryCellOfTheRows_AndGroupsAreLetters) {
    Settings().Redid = true;
    TOvelseInfo& round = Round("M", "100", "I");
    Add(round, {.Nr = 1, .Heat = 1, .Bane = 3, .Seedning = 1100, .PR = 1080, .SG = 1});
    Add(round, {.Nr = 4, .Heat = 1, .Bane = 4, .SG = 26});
    Add(round, {.Nr = 5, .Heat = 2, .Bane = 3, .SG = 27});
    Add(round, {.Nr = 6, .Heat = 2, .Bane = 4, .SG = -1});
    Load(round);
    TStartlisteUdskrift job;
    // Neither personal best nor entered result on paper.
    EXPECT_EQ(Matching(Printed(job, "startliste-redid"), "JENSEN"),
              QStringList({"1 3 1 JENSEN Hans -1999, AGF"}));
    const QString page = Written(*std::make_unique<TStartlisteUdskrift>(), "startliste-redid", "startliste");
    // By heat: an empty cell, the lane, the start number, the group, ...: eight cells in every row.
    EXPECT_EQ(CellCounts(page), QStringList({"8", "1", "8", "8", "1", "8", "8"}));
    EXPECT_EQ(HtmlXPath(page, "string((//table[@class='rl']//tr)[1]/td[2])"), "Lane");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td='JENSEN Hans -1999']/td[4])"), "A");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td='LUND Kim -2001']/td[4])"), "Z");
    // A group outside 1..26 has no letter (the empty cell reads as "").
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td='ASK Bo']/td[4])"), "");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td='IB Jens -2000']/td[4])"), "");
    // No personal best under the header's empty cell.
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td='JENSEN Hans -1999']/td[5])"), "");
}

TEST_F(TStartlisteTest, ARelaysTeamWithItsRunners_EscapedOnThePage_InAFileNameMadeSafe) {
    Load(Relay());
    TStartlisteUdskrift job;
    const QStringList lines = Printed(job, "startliste-relay");
    const qsizetype team = IndexOf(lines, "^1 4 AGF 1 43.00$");
    ASSERT_GE(team, 0) << lines.join("\n").toStdString();
    EXPECT_EQ(lines.mid(team + 1, 2),
              QStringList({"(1) Hans Jensen -1999 / (2) Ole Holm -98", "(3) Per Berg / Startnummer 77"}));

    AddDeltager(51, "Sparta <1>", 0, 2);
    Load(Round("M", "4X100"));
    TStartlisteUdskrift html;
    html.HtmlFileName = "Stafet: 4/100";
    html.SetData(&Data());
    html.HtmlUdskrift = true;
    html.RunOne();
    const QString page = Manager().GetStaevneDir() + "/stafet_ 4_100.htm";
    ASSERT_TRUE(QFile::exists(page));
    EXPECT_EQ(HtmlErrors(page), "");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td[7]='AGF 1']/td[6])"),
              "Hans Jensen -1999Ole Holm -98Per BergStartnummer 77");
    EXPECT_EQ(HtmlXPath(page, "count(//tr[td[7]='AGF 1']/td[6]/br)"), "3");
    EXPECT_EQ(HtmlXPath(page, "string(//tr[td[7]='Sparta <1>']/td[2])"), "");
}

TEST_F(TStartlisteTest, ACombinedEventAndItsFirstDisciplineHaveTheirStartListsAndJudgesSheets) {
    AddProgramme({{"M", "C100", "F"}, {"M", "10K", "F"}});
    for (const auto& [ovelse, nr] : {std::pair{"C100", 1}, std::pair{"10K", 2}}) {
        TOvelseRkElement* row = Ov().FindOvelseRk("M", ovelse);
        row->GetField(OvelseRkField::MKOvelse)->SetAsString("10K");
        row->GetField(OvelseRkField::MKOvelseNr)->SetAsInteger(nr);
    }
    Ov().Save();
    Ov().Reload();
    for (const char* ovelse : {"C100", "10K"}) {
        Add(Round("M", ovelse), {.Nr = 1, .Heat = 1, .Bane = 2});
        Add(Round("M", ovelse), {.Nr = 4, .Heat = 1, .Bane = 3});
    }
    for (const char* ovelse : {"C100", "10K"}) {
        SCOPED_TRACE(ovelse);
        Load(Round("M", ovelse));
        TStartlisteUdskrift job;
        EXPECT_EQ(Matching(Printed(job, QString("startliste-") + ovelse), "(AGF|<Co>)$").size(), 2);
        TDommerlisteUdskrift dommer;
        EXPECT_EQ(Matching(Printed(dommer, QString("dommer-") + ovelse), "^4 3 LUND Kim -2001$").size(), 1);
        const QString page =
            Written(*std::make_unique<TStartlisteUdskrift>(), QString("startliste-") + ovelse, "startliste");
        EXPECT_EQ(HtmlXPath(page, "count(//table[@class='rl']//tr[@valign='top'])"), "2");
    }
}

// ---------------------------------------------------------------- programme

TEST_F(TStartlisteTest, TheProgrammeListsEveryEntryInSeedingOrderOnOnePage) {
    Load(Heats());
    TProgramlisteUdskrift job;
    const QStringList lines = Printed(job, "program");
    EXPECT_EQ(Matching(lines, "(AGF|<Co>)$"),
              QStringList({"1 4 10.90 LUND Kim -2001 Sparta & <Co>", "2 1 10.80 11.00 JENSEN Hans -1999 AGF",
                           "3 5 11.50 ASK Bo Sparta & <Co>", "4 3 Venter BERG Per AGF",
                           "5 2 DNS 11.20 HOLM Ole -98 AGF", "6 6 DNS IB Jens -2000 Sparta & <Co>"}));
    ASSERT_EQ(job.Print().Blocks().Count(), 1);
    EXPECT_EQ(job.Print().Blocks().Items(0).To - job.Print().Blocks().Items(0).From, 5);

    const QString page = Written(*std::make_unique<TProgramlisteUdskrift>(), "program", "program");
    EXPECT_EQ(HtmlXPath(page, "string(//head/title)").contains("PROGRAM"), true);
    EXPECT_EQ(HtmlXPath(page, "count(//table[@class='rl']//td[@class='l1'])"), "0");
    EXPECT_EQ(HtmlXPath(page, "string((//table[@class='rl']//tr[@valign='top'])[1]/td[1])"), "1");
    EXPECT_EQ(HtmlXPath(page, "string((//table[@class='rl']//tr[@valign='top'])[1]/td[6])"),
              "LUND Kim -2001");
}

// ---------------------------------------------------------------- check-in list

TEST_F(TStartlisteTest, TheCheckInListRulesALinePerAthlete_WithTheHeatOnlyWhenThereAreTwo) {
    Load(Heats());
    TAfkrydsningslisteUdskrift job;
    const QStringList lines = Printed(job, "afkrydsning");
    EXPECT_EQ(Matching(lines, "^HEAT").size(), 6);
    EXPECT_EQ(Matching(lines, "(AGF|<Co>)"),
              QStringList({"1 JENSEN Hans -1999 AGF 11.00", "Venter 3 BERG Per AGF",
                           "DNS 2 HOLM Ole -98 AGF 11.20", "UK 4 LUND Kim -2001 Sparta & <Co> 10.90",
                           "5 ASK Bo Sparta & <Co> (11.50)", "DNS 6 IB Jens -2000 Sparta & <Co>"}));
    EXPECT_EQ(job.Print().Blocks().Count(), 6);

    TOvelseInfo& final = Round("M", "100", "F");
    Add(final, {.Nr = 1, .Heat = 1, .Bane = 3});
    Load(final);
    TAfkrydsningslisteUdskrift one;
    EXPECT_TRUE(Matching(Printed(one, "afkrydsning-one-heat"), "HEAT").isEmpty());
}

TEST_F(TStartlisteTest, TheRelayCheckInFormLeavesWithdrawnTeamsOut) {
    Load(Relay());
    TAfkrydsningslisteUdskrift job;
    const QStringList lines = Printed(job, "afkrydsning-relay");
    EXPECT_EQ(Matching(lines, "^(AGF|Sparta) \\d$"), QStringList({"AGF 1", "Sparta 1"}));
    EXPECT_EQ(Matching(lines, "^Tur \\d: \\.{19} \\.+$").size(), 8);
    EXPECT_EQ(Matching(lines, "^Reserve:").size(), 4);
    EXPECT_EQ(Matching(lines, "^Startnr Navn$").size(), 12);
    // Each team's form is kept on a page.
    EXPECT_EQ(job.Print().Blocks().Count(), 2);
}

TEST_F(TStartlisteTest, ThePaperListsAskedForAsHtmlOnlySaySoOnceAndWriteNothing) {
    Load(Heats());
    TRecordedMessages messages;
    TDommerlisteUdskrift job;
    job.SetData(&Data());
    job.HtmlUdskrift = true;
    job.RunOne();
    job.RunList({&Round("M", "100", "I"), &Round("M", "100", "I")});
    EXPECT_EQ(messages.Shown(),
              QStringList({"Dommerlister kan kun udskrives på papir eller vises på skærmen, ikke "
                           "skrives som HTML."}));
    TAfkrydsningslisteUdskrift afkrydsning;
    afkrydsning.SetData(&Data());
    afkrydsning.HtmlUdskrift = true;
    afkrydsning.RunOne();
    EXPECT_EQ(messages.Shown().size(), 1);
    EXPECT_TRUE(QDir(Manager().GetStaevneDir()).entryList({"*.htm"}).isEmpty());
}

// ---------------------------------------------------------------- judges' sheets

// The X positions (units) of the vertical rules of a body line of the model.
QStringList RuleXs(const QStringList& model, const QString& pattern) {
    const qsizetype line = IndexOf(model, pattern);
    if (line < 0)
        return {"<no line " + pattern + ">"};
    QStringList xs;
    const QString fields = model[line].mid(model[line].indexOf(": ") + 2);
    for (const QString& field : fields.split(" | "))
        if (const QStringList parts = field.split(' '); parts.value(1) == "11")
            xs.append(parts.value(2));
    return xs;
}

TEST_F(TStartlisteTest, TheJudgesSheetsBoxesStandAgainstLayoutColumnThree) {
    Load(Heats());
    TDommerlisteUdskrift job;
    const QStringList lines = Printed(job, "dommer-100");
    // The officials' boxes first, then each heat under its heading.
    EXPECT_EQ(Matching(lines, "^Start klokken Slut klokken Øvelsesleder$").size(), 1);
    EXPECT_EQ(Matching(lines, "HEAT \\d"), QStringList({"13:00 HEAT 1 VIND:", "13:05 HEAT 2 VIND:"}));
    EXPECT_EQ(Matching(lines, "^(\\d|DNS|Venter) \\d [A-Z]+"),
              QStringList({"1 3 JENSEN Hans -1999", "DNS 4 HOLM Ole -98", "Venter 5 BERG Per",
                           "4 3 LUND Kim -2001", "5 4 ASK Bo", "DNS 5 IB Jens -2000"}));
    ASSERT_GE(job.Print().Columns().size(), 4u);
    const int left = job.Print().Columns()[3].Left;
    EXPECT_EQ(left, 14000);
    // The running sheet: the left edge, six rules 1.63 cm apart from column 3, the right margin.
    const QStringList running = RuleXs(Model, "JENSEN");
    ASSERT_EQ(running.size(), 8);
    EXPECT_EQ(running[0], "0");
    for (int k = 0; k < 6; ++k)
        EXPECT_NEAR(running[1 + k].toInt(), left + 1630 * k, 1) << k;
    EXPECT_EQ(running[7].toInt(), int(job.Print().PrintableWidth() * 1000) - 30 - 1);
    EXPECT_EQ(RuleXs(Model, "Øvelsesleder"), QStringList({"0", "2500", "5000", running[7]}));
    EXPECT_EQ(Matching(Model, "Arial 10 8 HOLM Ole -98").size(), 1);
    EXPECT_EQ(job.Print().Blocks().Count(), 2);

    // A page per heat, the officials' boxes on each.
    TDommerlisteUdskrift perHeat;
    perHeat.SideskiftPrHeat = true;
    Printed(perHeat, "dommer-100-per-heat");
    EXPECT_EQ(Pages.size(), 2);
    EXPECT_TRUE(Pages[1].contains("Start klokken") && Pages[1].contains("HEAT 2"));
}

TEST_F(TStartlisteTest, FieldSheets_SixBoxesWithTheirWinds_TwelveNarrowOnesForTheHeightsOfAHighJump) {
    TOvelseInfo& jump = Round("M", "LÆ");
    Add(jump, {.Nr = 1, .Heat = 1, .Bane = 1});
    Add(jump, {.Nr = 4, .Heat = 1, .Bane = 2});
    Load(jump);
    TDommerlisteUdskrift job;
    const QStringList lines = Printed(job, "dommer-lae");
    EXPECT_EQ(RuleXs(Model, "JENSEN").size(), 1 + 7 + 1);
    EXPECT_EQ(Matching(Model, "Arial 7 2 w:").size(), 2);
    EXPECT_EQ(Matching(lines, "w: w: w: w: w: w:$").size(), 2);

    TOvelseInfo& high = Round("M", "HØ");
    Add(high, {.Nr = 1, .Heat = 1, .Bane = 1});
    Load(high);
    TDommerlisteUdskrift hoejde;
    const QStringList heights = Printed(hoejde, "dommer-hoe");
    EXPECT_EQ(Matching(heights, "^SPRINGHØJDER ANFØRES HER ===>$").size(), 1);
    const QStringList narrow = RuleXs(Model, "JENSEN");
    ASSERT_EQ(narrow.size(), 1 + 13 + 1);
    EXPECT_NEAR(narrow[13].toInt() - narrow[1].toInt(), 12 * 815, 2);
    // The heights' text ends 0.2 cm before the boxes.
    EXPECT_EQ(Matching(Model, "^\\d+: 1 0 13800 .*SPRINGHØJDER").size(), 1);
}

TEST_F(TStartlisteTest, ARoundWithUnseededRowsGivesNoJudgesSheets) {
    TOvelseInfo& round = Round("M", "100", "I");
    Add(round, {.Nr = 1, .Heat = 1, .Bane = 3});
    Add(round, {.Nr = 4});
    Load(round);
    TDommerlisteUdskrift job;
    EXPECT_EQ(Printed(job, "dommer-unseeded"), QStringList({""}));
}

// ---------------------------------------------------------------- diplomas

TEST_F(TStartlisteTest, FirstStyleDiplomasForThePlacesAsked_InABoldFaceForArialBlack) {
    TOvelseInfo& final = Round("M", "100", "F");
    Add(final, {.Nr = 1, .Heat = 1, .Resultat = 1050, .Plac = 1});
    Add(final, {.Nr = 4, .Heat = 1, .Resultat = 1060, .Plac = 2});
    Add(final, {.Nr = 5, .Heat = 1, .Resultat = 1070, .Plac = 3});
    Add(final, {.Nr = 6, .Heat = 1, .Status = "D"});
    Load(final);
    Settings().DiplomIndent = 2;
    TDiplomUdskrift job(nullptr, TDiplomUdskrift::Plads1 | TDiplomUdskrift::Plads3, -1);
    Printed(job, "diplom");
    ASSERT_EQ(Pages.size(), 2);
    EXPECT_TRUE(Pages[0].startsWith(
        "1. PRÆMIE\nHans Jensen AGF M\nNavn Klub Klasse\nØvelse Resultat\n100 m - finale 10.50"))
        << Pages[0].toStdString();
    EXPECT_TRUE(Pages[1].startsWith("3. PRÆMIE\nBo Ask Sparta & <Co> M")) << Pages[1].toStdString();
    EXPECT_EQ(Matching(Model, "^\\d+: 0 0 5500 Arial black 40 1 3. PRÆMIE").size(), 1)
        << Model.join("\n").toStdString();

    TDiplomUdskrift none(nullptr, 0, -1);
    Printed(none, "diplom-none");
    EXPECT_TRUE(Pages.isEmpty());

    TPrintFont black{"Arial black", 40, 0, 0};
    EXPECT_EQ(DeviceFontFamily(black.Name), "Liberation Sans");
    EXPECT_TRUE(DeviceFont(black, 40, 300).bold());
    EXPECT_TRUE(QFontInfo(DeviceFont(black, 40, 300)).bold());
}

TEST_F(TStartlisteTest, SecondStyleDiplomas_EveryCompetitorOrOneRow_AndARowThatIsNotThereIsSaid) {
    Settings().DiplomLayout = 2;
    TOvelseInfo& final = Round("M", "100", "F");
    Add(final, {.Nr = 1, .Heat = 1, .Resultat = 1050, .Plac = 1});
    Add(final, {.Nr = 4, .Heat = 1, .Resultat = 1060, .Plac = 2});
    Add(final, {.Nr = 6, .Heat = 1, .Status = "A"});
    Load(final);
    TDiplomUdskrift all(nullptr, 0, -1);
    Printed(all, "diplom2");
    EXPECT_EQ(Pages.size(), 2);

    const int withdrawn = Data().IndexOfStartnummer(6);
    TDiplomUdskrift one(nullptr, 0, withdrawn);
    Printed(one, "diplom2-withdrawn");
    EXPECT_TRUE(Pages.isEmpty());

    TRecordedMessages messages;
    TDiplomUdskrift outside(nullptr, 0, 3);
    Printed(outside, "diplom2-outside");
    EXPECT_TRUE(Pages.isEmpty());
    EXPECT_EQ(messages.Shown(),
              QStringList({"Der kan ikke udskrives diplom for række 4: runden har 3 deltagere."}));
}

} // namespace
