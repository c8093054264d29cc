#include "print/D_Udskrift.h"

#include "PrintRecorder.h"
#include "foundation/Windows1252.h"
#include "model/D_Ovelser.h"
#include "model/D_Rekord.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "storage/DBFieldDate.h"
#include "support/Golden.h"
#include "support/ResultFixture.h"
#include "support/Test.h"

#include <QRegularExpression>

namespace {

constexpr auto Body = TPrintSection::Body;
constexpr auto Header = TPrintSection::Header;

// A job that notes its steps and writes the page "testliste".
class TTestJob : public TUdskrift {
public:
    using TUdskrift::TUdskrift;

    void BeforeRun() override { Steps.append("BeforeRun"); }
    void AfterRun() override { Steps.append("AfterRun"); }
    void KlasseChanged() override { Steps.append("KlasseChanged"); }
    void PrintOvelse() override {
        TUdskrift::PrintOvelse();
        Print().AddBodyText(TPrintAlignment::Left, "række", 0, Row);
        Row += 1;
        Steps.append("PrintOvelse " + Data->OvelseInfo()->GetKlasseOvelseKode());
    }
    void WriteOvelseHtml() override {
        TUdskrift::WriteOvelseHtml();
        Steps.append("WriteOvelseHtml " + Data->OvelseInfo()->GetKlasseOvelseKode());
    }
    void OpenHtml() override {
        Steps.append("OpenHtml");
        Html = std::make_unique<THtmlMaker>(HtmlPageFileName("TestListe"), "TEST", false);
    }
    void CloseHtml() override {
        Steps.append("CloseHtml");
        TUdskrift::CloseHtml();
    }
    bool ShowsHeatCount() const override { return HeatCount; }
    bool ShowsLangtekst() const override { return Langtekst; }

    QStringList Steps;
    bool HeatCount = false;
    bool Langtekst = true;
};

class TUdskriftTest : public TResultTest {
protected:
    TUdskriftTest() {
        AddKlub(1, "AGF");
        AddDeltager(1, "Hans Jensen", 1999);
        AddDeltager(2, "Ole Holm", 98);
        AddDeltager(3, "Per Berg");
        AddResultat(Round("M", "100", "I"), 1);
        AddResultat(Round("M", "LÆ"), 2);
        job.SetData(&data);
        previous_ = SetPrintPreviewWindow([this](TPrint& print) {
            QStringList run;
            const TPrintLines& body = print.Lines(Body);
            for (int i = 0; i < body.Count(); ++i)
                for (const TPrintField& field : body[i].Fields)
                    if (field.Kind == TFieldKind::Text && !field.Text.isEmpty())
                        run.append(field.Text);
            Runs.append(run.join(", "));
        });
    }
    ~TUdskriftTest() override { SetPrintPreviewWindow(previous_); }

    TSystemData& Settings() { return Manager().SystemData(); }
    void SetField(const QString& klasse, const QString& ovelse, const QString& runde, int fieldNo,
                  qint32 value) {
        Round(klasse, ovelse, runde).OvelseRn().GetField(fieldNo)->SetAsInteger(value);
    }
    // The text of the 100 m preliminaries with so many on from each heat and in all.
    QString Qualification(int perHeat, int total) {
        SetField("M", "100", "I", OvelseRnField::AntalViderePlac, perHeat);
        SetField("M", "100", "I", OvelseRnField::AntalVidereIalt, total);
        return job.QualificationText();
    }
    // A records list read from its file, its records attached to the round.
    TRekorder& Rekorder(const QString& name, const QString& lines, TOvelseInfo& round) {
        WriteFile(Path(name + ".TXT"), Windows1252::Encode(lines));
        auto& list = *rekorder_.emplace_back(std::make_unique<TRekorder>());
        EXPECT_TRUE(list.LoadFromFile(Path(name)));
        for (int i = 0; i < list.GetCount(); ++i)
            round.Rekorder().push_back(list.GetRekord(i));
        return list;
    }

    // Two rounds shown together, each counted from its records.
    void LoadTogether(TOvelseInfo& a, TOvelseInfo& b) {
        data.CalcOvelseInfo(a);
        data.CalcOvelseInfo(b);
        data.LoadOvelser({&a, &b});
        ASSERT_EQ(data.OvelseCount(), 2);
    }

    TResultatManager data;
    TTestJob job;
    QStringList Runs;

private:
    TPrintPreviewWindow previous_;
    std::vector<std::unique_ptr<TRekorder>> rekorder_;
};

TEST_F(TUdskriftTest, ThePreviewFollowsTheScreenOptionAndTheTextsRunFromOneToNine) {
    job.SetUdskrivTilSkaerm(true);
    job.SetUdskrivTilPrinter(true);
    EXPECT_TRUE(job.Print().GetPreview());
    job.SetUdskrivTilSkaerm(false);
    job.SetUdskrivTilPrinter(true);
    EXPECT_FALSE(job.Print().GetPreview());
    job.SetStartPage(5);
    EXPECT_EQ(job.Print().PageNo, 4);

    EXPECT_THROW(job.SetText(0, "x"), EListError);
    EXPECT_THROW(job.GetText(10), EListError);

    job.Print().GetColumnField(0).SetLeft(1.5);
    job.AddHeaderSpacer();
    EXPECT_EQ(job.Print().GetLine(Header, 1002).Fields.at(0).X, 1500);
}

TEST_F(TUdskriftTest, OnlyHtmlAndNoRows_TheListStillWritesItsPageWhileOneRoundWritesNothing) {
    job.HtmlUdskrift = true;
    data.LoadOvelse(&Round("K", "100"));
    job.RunOne();
    EXPECT_TRUE(job.Steps.isEmpty());
    EXPECT_FALSE(QFile::exists(Manager().GetStaevneDir() + "/testliste.htm"));

    job.RunList({&Round("K", "100"), nullptr});
    EXPECT_EQ(job.Steps, QStringList({"OpenHtml", "BeforeRun", "KlasseChanged", "AfterRun", "CloseHtml"}));
    const QString page = Manager().GetStaevneDir() + "/testliste.htm";
    EXPECT_EQ(HtmlXPath(page, "string(//td[@class='c6'])"), "TEST");
    EXPECT_EQ(HtmlXPath(page, "count(//p[@class='s'])"), "1");
    EXPECT_TRUE(job.InList);

    // Print output wins over HTML: nothing is written.
    job.Steps.clear();
    job.SetUdskrivTilSkaerm(true);
    data.LoadOvelse(&Round("M", "LÆ"));
    job.RunOne();
    EXPECT_EQ(job.Steps, QStringList({"PrintOvelse M - LÆ"}));
    EXPECT_FALSE(job.InList);
    EXPECT_EQ(Runs.size(), 1);
}

TEST_F(TUdskriftTest, AClassBreakComesAtTheEndOfTheListEvenWhenTheLastClassPrintedNothing) {
    job.SetUdskrivTilSkaerm(true);
    job.HeadingInBody = true;
    job.SideskiftPrKlasse = true;
    job.RunList({&Round("M", "100", "I"), &Round("M", "HØ"), &Round("M", "LÆ"), &Round("K", "100")});
    EXPECT_EQ(job.Steps, QStringList({"BeforeRun", "PrintOvelse M - 100", "PrintOvelse M - LÆ",
                                      "KlasseChanged", "KlasseChanged", "AfterRun"}));
    ASSERT_EQ(Runs.size(), 1); // class M; K printed nothing, and the run at the end has an empty body
    EXPECT_EQ(Runs[0], "MÆND SENIOR - 100 M - INDLEDENDE, LØR  KL. 13.00, ( 100 meter løb ), række, "
                       "MÆND SENIOR - LÆNGDESPRING, LØR  KL. 13.00, ( Længdespring ), række");

    // Without page breaks the classes print in one run.
    AddResultat(Round("K", "100"), 3);
    Runs.clear();
    job.SideskiftPrKlasse = false;
    job.RunList({&Round("M", "LÆ"), &Round("K", "100")});
    ASSERT_EQ(Runs.size(), 1);
    EXPECT_TRUE(Runs[0].endsWith("MÆND SENIOR - LÆNGDESPRING, LØR  KL. 13.00, ( Længdespring ), række, "
                                 "KVINDER SENIOR - 100 M, LØR  KL. 13.00, ( 100 meter løb ), række"));
}

TEST_F(TUdskriftTest, EachStartTimeIsAPrintRunOfItsOwn) {
    const auto at = [&](const QString& ovelse, int hour) {
        Round("M", ovelse)
            .OvelseRn()
            .GetField(OvelseRnField::DatoTid)
            ->SetAsFloat(QDateToDateTime(QDate(2024, 6, 1)) + hour / 24.0);
    };
    AddResultat(Round("M", "HØ"), 3);
    AddResultat(Round("M", "KU"), 1);
    at("LÆ", 10);
    at("HØ", 10);
    at("KU", 11);
    job.SetUdskrivTilSkaerm(true);
    job.HeadingInBody = true;
    job.SideskiftPrTidspunkt = true;
    job.RunList({&Round("M", "LÆ"), &Round("M", "HØ"), &Round("M", "KU")});
    ASSERT_EQ(Runs.size(), 2);
    EXPECT_EQ(Runs[0].count("SENIOR"), 2) << Runs[0].toStdString();
    EXPECT_EQ(Runs[1].count("SENIOR"), 1) << Runs[1].toStdString();
    EXPECT_EQ(job.Print().Lines(Body).Count(), 0);
}

TEST_F(TUdskriftTest, QualificationRulesOfRunningEventsInDanishAndEnglish) {
    data.LoadOvelse(&Round("M", "100", "I"));
    Round("M", "100", "I").AntalHeat = 3;
    EXPECT_EQ(Qualification(2, 8), "Til finale: 2 bedste i hvert heat, samt de 2 bedste tider");
    EXPECT_EQ(Qualification(2, 6), "Til finale: 2 bedste i hvert heat");
    EXPECT_EQ(Qualification(1, 6), "Til finale: 3 heatvindere, samt de 3 bedste tider");
    EXPECT_EQ(Qualification(0, 6), "Til finale: 6 bedste tider");
    EXPECT_EQ(Qualification(0, 0), ""); // no qualifiers named

    SetField("M", "100", "F", OvelseRnField::FinaleType, 1);
    EXPECT_EQ(Qualification(2, 8), "Til finale (AB-finale): 2 bedste i hvert heat, samt de 2 bedste tider");
    job.HeatCount = true;
    EXPECT_EQ(job.QualificationText(),
              "Antal heats: 3 - Til finale (AB-finale): 2 bedste i hvert heat, samt de 2 bedste tider");
    job.HeatCount = false;
    SetField("M", "100", "F", OvelseRnField::FinaleType, 0);

    Settings().Redid = true; // English rules, Danish round names
    EXPECT_EQ(job.QualificationText(),
              "Qualification for finale: top 2 from each heat plus 2 fastest losers");
    Settings().Redid = false;
    Settings().Engelsk = true;
    EXPECT_EQ(job.QualificationText(), "Qualification for final: top 2 from each heat plus 2 fastest losers");
    EXPECT_EQ(Qualification(1, 8), "Qualification for final: winner of each heat plus 5 fastest losers");
    EXPECT_EQ(Qualification(0, 8), "Qualification for final: 8 best times");
    job.HeatCount = true;
    EXPECT_EQ(job.QualificationText(), "No of heats: 3 - Qualification for final: 8 best times");
    Round("M", "100", "I").AntalHeat = 1;
    EXPECT_EQ(job.QualificationText(), "Qualification for final: 8 best times");

    // A next round missing from the programme, and the last round.
    Round("M", "100", "I").OvelseRk().GetField(OvelseRkField::Runder)->SetAsString("IMF");
    EXPECT_EQ(job.QualificationText(), "Qualification for next round: 8 best times");
    Settings().Engelsk = false;
    EXPECT_EQ(job.QualificationText(), "Til næste runde: 8 bedste tider");
    data.LoadOvelse(&Round("M", "100", "F"));
    EXPECT_EQ(job.QualificationText(), "");
}

TEST_F(TUdskriftTest, FieldEventsQualifyByAMarkUnlessTheyAreTheLastRound) {
    data.LoadOvelse(&Round("M", "LÆ"));
    SetField("M", "LÆ", "", OvelseRnField::FinaleKrav, 750);
    EXPECT_EQ(job.QualificationText(), ""); // the only round
    Round("M", "LÆ").OvelseRk().GetField(OvelseRkField::Runder)->SetAsString("FX");
    EXPECT_EQ(job.QualificationText(), "Finalekrav: 7.50");
    Settings().Engelsk = true;
    EXPECT_EQ(job.QualificationText(), "Qualification: 7.50");
    SetField("M", "LÆ", "", OvelseRnField::FinaleKrav, 0);
    EXPECT_EQ(job.QualificationText(), "");
}

TEST_F(TUdskriftTest, RecordLinesNameTheirCategoryOnlyWhereOneListHasSeveral) {
    TOvelseInfo& round = Round("M", "100", "I");
    Rekorder("DM",
             "=DM-rekorder\n100;SEN;10.25;Hans Peter Jensen;AGF;Århus;12.06.2019;\n"
             "100;U20;10.80;Ole Holm (Sverige);Hansen & Søn <B>;;2018;\n",
             round);
    Rekorder("KLUB", "=Klubrekorder\n100;SEN;10.90;Per Berg;;;;\n", round);
    data.LoadOvelse(&round);
    job.HeadingInBody = true;
    job.PrintOvelse();
    QStringList lines = SectionLines(job.Print(), Body, 4);
    EXPECT_EQ(job.Row, 9);

    Settings().ECup2007 = true;
    Settings().UndladInternationaltNavn = true;
    job.Print().ClearAll();
    job.Row = 0;
    job.PrintOvelse();
    EXPECT_GOLDEN(lines << "-- names as written" << SectionLines(job.Print(), Body, 4, 6),
                  "print/record-lines.txt");

    // Relays put the team's club in brackets.
    TOvelseInfo& stafet = Round("M", "4X100");
    Rekorder("STAFET", "=DM-rekorder\n4X100;SEN;39.90;Hold 1;AGF;;;\n", stafet);
    data.LoadOvelse(&stafet);
    EXPECT_EQ(job.GetRecordHolderText(*stafet.Rekorder().at(0)), "Hold 1 (AGF)");
    // Several rounds shown together have no record lines.
    LoadTogether(round, Round("M", "LÆ"));
    job.Print().ClearAll();
    job.PrintOvelse();
    EXPECT_EQ(job.Print().Lines(Body).Count(), 5);
}

TEST_F(TUdskriftTest, TheHeadingInTheBodyHasRulesTitleDateAndItalicInfoLines) {
    Settings().Overskrift1 = "DM";
    data.LoadOvelse(&Round("M", "100", "I"));
    Round("M", "100", "I").AntalHeat = 2;
    SetField("M", "100", "I", OvelseRnField::AntalVidereIalt, 8);
    Round("M", "100", "I").OvelseRn().SetExtraText("vindmåler ved 50 m");
    job.Row = 3;
    job.HeadingInBody = true;
    job.PrintOvelse();
    EXPECT_EQ(job.SavedRow, 3);
    QStringList lines = SectionLines(job.Print(), Body);
    EXPECT_EQ(job.Print().LineFont(), TPrintFont());

    // The result list shows no long text; an unofficial timetable no time; VT
    // meets no info lines.
    Settings().TidsskemaUofficielt = true;
    job.Langtekst = false;
    job.Print().ClearAll();
    job.PrintOvelse();
    lines << "-- no long text, no time" << SectionLines(job.Print(), Body, 11, 14);
    EXPECT_GOLDEN(lines, "print/heading-in-body.txt");
    Settings().VT = true;
    job.Print().ClearAll();
    job.Row = 0;
    job.PrintOvelse();
    EXPECT_EQ(job.Print().Lines(Body).Count(), 4);
}

TEST_F(TUdskriftTest, TheHeadingInThePageHeaderGrowsWithLargeHeaderLines) {
    data.LoadOvelse(&Round("M", "100", "I"));
    SetField("M", "100", "I", OvelseRnField::AntalVidereIalt, 8);
    job.Print().LargeHeaderLines = 3;
    job.PrintOvelse();
    QStringList lines = SectionLines(job.Print(), Header);
    EXPECT_EQ(job.Print().HeaderFont(), TPrintFont());

    Settings().TidsskemaUofficielt = true;
    Rekorder("DM", "=DM-rekorder\n100;SEN;10.25;Hans Jensen;AGF;;;\n", Round("M", "100", "I"));
    job.Print().LineFont().Size = 9;
    job.Print().LargeHeaderLines = 4;
    job.Print().ClearAll();
    job.PrintOvelse();
    lines << "-- four large lines, no time, a record" << SectionLines(job.Print(), Header, 4);

    // Two rounds together: the event and the time.
    Settings().TidsskemaUofficielt = false;
    LoadTogether(Round("M", "100", "I"), Round("M", "LÆ"));
    job.Print().ClearAll();
    job.PrintOvelse();
    lines << "-- two rounds" << SectionLines(job.Print(), Header, 0, 3);
    EXPECT_GOLDEN(lines, "print/heading-in-header.txt");
}

TEST_F(TUdskriftTest, TheHtmlHeadingEscapesEveryText) {
    TOvelseInfo& round = Round("M", "100", "I");
    Rekorder("DM",
             "=DM <rekorder>\n100;SEN;10.25;Hans Jensen;Hansen & Søn <B>;;;\n"
             "100;SEN;10.26;Per Berg;;;;\n",
             round);
    round.OvelseRn().SetExtraText("<i>vind</i> & mål");
    SetField("M", "100", "I", OvelseRnField::AntalVidereIalt, 8);
    job.HtmlUdskrift = true;
    data.LoadOvelse(&round);
    const QString page = Manager().GetStaevneDir() + "/testliste.htm";
    // The event's tables: its heading, its records and its info lines.
    const auto tables = [&] {
        job.RunOne();
        return PageLines(page).filter(QRegularExpression("<table class=(o|rs) "));
    };
    QStringList lines = tables();
    EXPECT_EQ(job.Steps, QStringList({"OpenHtml", "WriteOvelseHtml M - 100", "CloseHtml"}));
    // The page heading's two bold elements, the event's two and none from data.
    EXPECT_EQ(HtmlXPath(page, "count(//b)"), "4");
    // Redid: one cell per record; several rounds: OVERALL and no records.
    Settings().Redid = true;
    lines << "-- Redid" << tables();
    LoadTogether(round, Round("M", "LÆ"));
    lines << "-- two rounds" << tables();
    EXPECT_GOLDEN(lines, "print/html-heading.txt");
}

TEST_F(TUdskriftTest, RelayMembersTwoToALineOrOneToAnHtmlLine) {
    AddDeltager(4, "Anna & Bo <B>", 0);
    AddDeltager(50, "AGF 1");
    AddResultat(Round("M", "4X100"), 50, {}, Serie({{1, 0}, {2, 0}, {4, 0}, {99, 0}, {SerieTom, 0}}));
    data.LoadOvelse(&Round("M", "4X100"));
    ASSERT_EQ(data.Count(), 1);
    const TResultat& hold = *data.GetResultat(0);
    job.Print().GetColumnField(5).SetLeft(8);
    job.Row = 10;
    EXPECT_EQ(job.PrintRelayMembers(hold, 5), 2);
    EXPECT_GOLDEN(SectionLines(job.Print(), Body), "print/relay-members.txt");
    EXPECT_EQ(job.RelayMembersHtml(hold),
              "Hans Jensen -1999<br>Ole Holm -98<br>Anna &amp; Bo &lt;B&gt;<br>Startnummer 99");
    EXPECT_EQ(job.RelayStartNumbersHtml(hold), "1<br>2<br>4<br>99");

    Settings().ECup2007 = true;
    job.Print().ClearAll();
    EXPECT_EQ(job.PrintRelayMembers(hold, 5), 2);
    EXPECT_EQ(job.Print().GetLine(Body, 11).Fields[0].Text, "Hans Jensen -1999 / Ole Holm -98");
}

} // namespace
