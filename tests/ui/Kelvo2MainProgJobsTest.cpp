// The batch jobs run on the fixture's open meet, as the main window runs them after it first shows.
#include "ui/Kelvo2MainProgJobs.h"

#include "support/ErrorText.h"
#include "support/ResultFixture.h"
#include "support/Test.h"

#include "foundation/Windows1252.h"
#include "model/D_Context.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// Two clubs with three athletes; results in the heats of men's 100 m round I, their long jump and the
// women's 100 m.
class BatchJobsTest : public TResultTest {
protected:
    BatchJobsTest() {
        AddKlub(1, "Vikingerne");
        AddKlub(2, "Amager AK");
        AddDeltager(11, "Ole Zeuthen", 1990, 1);
        AddDeltager(12, "Bo Andersen", 1991, 1);
        AddDeltager(21, "Eva Kragh", 1992, 2);
        for (const auto& [startnummer, heat] : {std::pair(11, 1), std::pair(12, 2)})
            AddResultat(Round("M", "100", "I"), startnummer,
                        Fields({{ResultatField::Heat, heat}, {ResultatField::Resultat, 1100 + startnummer}}));
        AddResultat(Round("M", "LÆ"), 11, Fields({{ResultatField::Heat, 1}, {ResultatField::Resultat, 650}}));
        AddResultat(Round("K", "100"), 21,
                    Fields({{ResultatField::Heat, 1}, {ResultatField::Resultat, 1250}}));
    }

    // What the run raised; empty when it went well.
    static QString Run(const QStringList& arguments) {
        const QString error = ErrorText([&] { RunBatchJobs(arguments); });
        return error == "<no error>" ? QString() : error;
    }
    QString Meet(const QString& name = {}) { return Manager().GetStaevneDir() + u'/' + name; }
    QStringList Pages() { return QDir(Meet()).entryList(QDir::Files, QDir::Name); }
    QString Page(const QString& name) { return Windows1252::Decode(ReadFile(Meet(name))); }

    QTemporaryDir out;
};

TEST_F(BatchJobsTest, HtmlResultsWritesEveryRoundOnOnePageOrAPageSetPerClassOrAPagePerEvent) {
    EXPECT_EQ(Run({"/HTML_RESULTS"}), "");
    EXPECT_EQ(Pages(), QStringList{"resultatliste.htm"});
    EXPECT_TRUE(Page("resultatliste.htm").contains("Kragh", Qt::CaseInsensitive));
    EXPECT_TRUE(Page("resultatliste.htm").contains("Zeuthen", Qt::CaseInsensitive));

    EXPECT_EQ(Run({"/HTML_RESULTS", "/BY_AGE_GROUP"}), "");
    EXPECT_EQ(Pages(), QStringList({"resultatliste.htm", "resultatliste_k.htm", "resultatliste_m.htm"}));
    EXPECT_TRUE(Page("resultatliste_k.htm").contains("Kragh", Qt::CaseInsensitive));
    EXPECT_FALSE(Page("resultatliste_k.htm").contains("Zeuthen", Qt::CaseInsensitive));

    // A prefix is part of a name, never a way into another folder.
    for (const QString& page : Pages())
        QFile::remove(Meet(page));
    EXPECT_EQ(Run({"/HTML_RESULTS", "/ONE_FILE", "/PREFIX=Web/"}), "");
    EXPECT_EQ(Pages(), QStringList({"web_k-100-1.htm", "web_m-100-1.htm", "web_m-4x100-1.htm",
                                    "web_m-ho-1.htm", "web_m-ku-1.htm", "web_m-la-1.htm"}));
    EXPECT_TRUE(Page("web_m-100-1.htm").contains("Andersen", Qt::CaseInsensitive));
    EXPECT_FALSE(Page("web_m-100-1.htm").contains("Kragh", Qt::CaseInsensitive));
}

TEST_F(BatchJobsTest, AJobRemovesTheTemporaryPagesAStoppedRunLeftAndNothingElse) {
    const QDateTime old = QDateTime::currentDateTimeUtc().addSecs(-3600);
    const auto file = [&](const QString& name, const QDateTime& time) {
        WriteFile(Meet(name), "<html>halv side");
        QFile written(Meet(name));
        ASSERT_TRUE(written.open(QIODevice::ReadWrite) &&
                    written.setFileTime(time, QFileDevice::FileModificationTime));
    };
    file("klubliste.htm.lgTbvG", old);
    file("resultatliste_m.body.Ab12Cd", old);
    // Another run's page being written now, and files that are no temporary pages.
    file("program.htm.x1Y2z3", QDateTime::currentDateTimeUtc());
    for (const char* other : {"noter.txt.lgTbvG", "klubliste.htm.bak", "klubliste.htm.lgTbv", "logo.gif"})
        file(other, old);
    EXPECT_EQ(Run({"/HTML_RESULTS"}), "");
    EXPECT_EQ(Pages(), QStringList({"klubliste.htm.bak", "klubliste.htm.lgTbv", "logo.gif",
                                    "noter.txt.lgTbvG", "program.htm.x1Y2z3", "resultatliste.htm"}));
}

TEST_F(BatchJobsTest, ARunOverAnUnchangedMeetWritesNoPageAndAChangeWritesOnlyTheChangedPages) {
    const TClockScope clock(46000.5);
    EXPECT_EQ(Run({"/HTML_RESULTS", "/ONE_FILE"}), "");
    const QStringList pages = Pages();
    ASSERT_EQ(pages.size(), 6);
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-1);
    for (const QString& page : pages) {
        QFile written(Meet(page));
        ASSERT_TRUE(written.open(QIODevice::ReadWrite) &&
                    written.setFileTime(old, QFileDevice::FileModificationTime));
    }
    const auto rewritten = [&] {
        QStringList names;
        for (const QString& page : Pages())
            if (QFileInfo(Meet(page)).lastModified().toUTC() != old)
                names.append(page);
        return names;
    };
    EXPECT_EQ(Run({"/HTML_RESULTS", "/ONE_FILE"}), "");
    EXPECT_EQ(rewritten(), QStringList());
    EXPECT_EQ(Pages(), pages);
    // A minute on and a day on: only the time each page was made would differ.
    for (const TDateTime later : {46000.5 + 1.0 / 1440, 46001.8}) {
        const TClockScope laterClock(later);
        EXPECT_EQ(Run({"/HTML_RESULTS", "/ONE_FILE"}), "");
        EXPECT_EQ(rewritten(), QStringList());
    }

    AddDeltager(22, "Mia Holm", 1993, 2);
    AddResultat(Round("K", "100"), 22, Fields({{ResultatField::Heat, 1}, {ResultatField::Resultat, 1260}}));
    EXPECT_EQ(Run({"/HTML_RESULTS", "/ONE_FILE"}), "");
    EXPECT_EQ(rewritten(), QStringList{"k-100-1.htm"});
}

TEST_F(BatchJobsTest, StartListAndProgrammeTakeUnseededRoundsAndEmptyOnesOnlyWhenAsked) {
    EXPECT_EQ(Run({"/HTML_START_LIST", "/HTML_ATHLETES"}), "");
    EXPECT_EQ(Pages(), QStringList({"program.htm", "startliste.htm"}));
    EXPECT_TRUE(Page("program.htm").contains("Kragh", Qt::CaseInsensitive));
    EXPECT_TRUE(Page("startliste.htm").contains("Zeuthen", Qt::CaseInsensitive));
    EXPECT_FALSE(Page("startliste.htm").contains("KUGLESTØD")) << "no entries, not asked for";
    EXPECT_EQ(Run({"/HTML_START_LIST", "/PRINT_EMPTY"}), "");
    EXPECT_TRUE(Page("startliste.htm").contains("KUGLESTØD"));
}

TEST_F(BatchJobsTest, XmlOvelseWritesTheRoundItNamesWithTheHeatsAsked) {
    const QString file = out.filePath("ovelse.xml");
    const auto written = [&](const QStringList& switches) {
        QFile::remove(file);
        const QString error = Run(QStringList({"/XML_OVELSE", "/FILENAME=" + file}) + switches);
        return error.isEmpty() ? Windows1252::Decode(ReadFile(file)) : error;
    };
    // "F" of an event of one round and "I" of one of two are their first rounds.
    EXPECT_TRUE(written({"/KLASSE=M", "/OVELSE=LÆ", "/RUNDE=F"}).contains("<Deltager StartNr=\"11\""));
    EXPECT_TRUE(written({"/KLASSE=m", "/OVELSE=100", "/RUNDE=i"}).contains("RundeNr=\"1\""));
    EXPECT_TRUE(written({"/KLASSE=M", "/OVELSE=100", "/RUNDE=F"}).contains("RundeNr=\"2\""));

    const auto heats = [&](const QStringList& heat) {
        const QString xml = written(QStringList({"/KLASSE=M", "/OVELSE=100"}) + heat);
        return QString::number(xml.contains("<Heat Id=\"1\"")) +
               QString::number(xml.contains("<Heat Id=\"2\""));
    };
    EXPECT_EQ(heats({}), "11") << "every heat when none is named";
    EXPECT_EQ(heats({"/HEAT=0"}), "11");
    EXPECT_EQ(heats({"/HEAT=2"}), "01");
    EXPECT_EQ(heats({"/HEAT="}), "10");

    EXPECT_EQ(written({"/KLASSE=M", "/OVELSE=100", "/HEAT=A"}),
              "/XML_OVELSE: heatet \"A\" (/HEAT=) er ikke et heatnummer, så der er ikke skrevet noget");
    EXPECT_EQ(
        written({"/KLASSE=M", "/OVELSE=100", "/RUNDE=S"}),
        "/XML_OVELSE: stævnet har ingen runde med klassen \"M\", øvelsen \"100\" og runden \"S\", så der "
        "er ikke skrevet noget");
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(Run({"/XML_OVELSE", "/KLASSE=M", "/OVELSE=LÆ"}),
              "/XML_OVELSE: der er ikke givet noget filnavn med /FILENAME=, så der er ikke skrevet noget");
}

TEST_F(BatchJobsTest, TeamStandingsOfTheFirstClassWithTheBoardsTemplateAndNothingWithoutClasses) {
    Manager().SystemData().EgenTurnering = true;
    Manager().SaveStaevneData();
    EXPECT_EQ(Run({"/HTML_TEAM"}), "");
    EXPECT_EQ(Pages(), QStringList({"klubstilling.htm", "klubstilling.xml"}));
    EXPECT_TRUE(Page("klubstilling.htm").contains("SAMLET STILLING"));
    EXPECT_TRUE(Page("klubstilling.xml").startsWith("<?xml"));
    EXPECT_TRUE(Shown().isEmpty());

    CreateMeet("Uden øvelser");
    EXPECT_EQ(Run({"/HTML_TEAM"}), "");
    EXPECT_EQ(Shown(), QStringList{"/HTML_TEAM: stævnet har ingen klasse med øvelser, så der er ikke skrevet "
                                   "nogen klubstilling"});
    EXPECT_EQ(Pages(), QStringList());
}

TEST_F(BatchJobsTest, ClubPagesOfEveryClubByNameUnderThePrefixWithParticipantsByNameOrBib) {
    EXPECT_EQ(Run({"/HTML_TEAM_START_LIST", "/PREFIX=Klub"}), "");
    EXPECT_EQ(Pages(), QStringList({"klub1.htm", "klub2.htm", "klubliste.htm"}));
    const QString index = Page("klubliste.htm");
    EXPECT_LT(index.indexOf("Amager AK"), index.indexOf("Vikingerne"));
    QString club = Page("klub1.htm");
    EXPECT_LT(club.indexOf("Andersen", 0, Qt::CaseInsensitive),
              club.indexOf("Zeuthen", 0, Qt::CaseInsensitive));

    EXPECT_EQ(Run({"/HTML_TEAM_RESULTS", "/ORDER_BY_BIBNO", "/PREFIX=Klub"}), "");
    club = Page("klub1.htm");
    EXPECT_GT(club.indexOf("Andersen", 0, Qt::CaseInsensitive),
              club.indexOf("Zeuthen", 0, Qt::CaseInsensitive));
    EXPECT_TRUE(club.contains("6.50")) << "the long jump's result";
}

TEST_F(BatchJobsTest, RedidWritesEveryRoundAndTheFridayAndSaturdayPages) {
    EXPECT_EQ(Run({"/REDID", "/PRINT_EMPTY"}), "");
    EXPECT_EQ(Pages(), QStringList({"resultatliste_all.htm", "resultatliste_friday.htm",
                                    "resultatliste_saturday.htm"}));
    // The fixture's day is a Saturday; nothing of its programme falls on a Friday, and print-empty is off.
    EXPECT_TRUE(Page("resultatliste_saturday.htm").contains("Zeuthen", Qt::CaseInsensitive));
    EXPECT_FALSE(Page("resultatliste_friday.htm").contains("Zeuthen", Qt::CaseInsensitive));
    EXPECT_FALSE(Page("resultatliste_all.htm").contains("KUGLESTØD"));
}

} // namespace
