// The batch jobs as a script runs them every minute to feed a web site: the program itself in a copied
// program folder without a display, every page loaded in headless Chromium and parsed by xmllint, every
// XML document checked by xmllint.
#include "ProgramRun.h"
#include "support/ResultFixture.h"
#include "support/Test.h"

#include "foundation/Windows1252.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <map>

namespace {

// What a program says of a file on standard error and its exit status: empty when all is well.
QString ToolSays(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(120000))
        return tool + QStringLiteral(" did not end");
    const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return process.exitCode() == 0 && said.isEmpty()
               ? QString()
               : said + QStringLiteral(" (exit %1)").arg(process.exitCode());
}

// Loads every page in one headless Chromium as the frames of a page of its own; for each page its title
// and the length of its text as the browser has them ("-" for a page it could not load).
std::map<QString, QString> LoadedInChromium(const QStringList& pages) {
    QTemporaryDir home;
    QString frames;
    for (const QString& page : pages)
        frames += QStringLiteral("<iframe src=\"%1\"></iframe>\n")
                      .arg(QString::fromLatin1(QUrl::fromLocalFile(page).toEncoded()));
    WriteFile(home.filePath("check.htm"),
              ("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><script>\n"
               "window.onload = function () {\n"
               "  var out = [];\n"
               "  document.querySelectorAll('iframe').forEach(function (f) {\n"
               "    var d = null;\n"
               "    try { d = f.contentDocument; } catch (e) {}\n"
               "    out.push(d && d.body ? d.title + '\\t' + d.body.innerText.length : '-');\n"
               "  });\n"
               "  document.getElementById('out').textContent = out.join('\\n');\n"
               "};\n</script></head><body>" +
               frames + "<pre id=\"out\"></pre></body></html>")
                  .toUtf8());
    QProcess chromium;
    chromium.start("chromium",
                   {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                    "--disable-background-networking", "--disable-component-update", "--disable-sync",
                    "--user-data-dir=" + home.filePath("profile"), "--allow-file-access-from-files",
                    "--dump-dom", QUrl::fromLocalFile(home.filePath("check.htm")).toString()});
    std::map<QString, QString> loaded;
    if (!chromium.waitForStarted()) {
        ADD_FAILURE() << "chromium did not start (scripts/install-deps.sh installs it)";
        return loaded;
    }
    if (!chromium.waitForFinished(120000)) {
        chromium.kill();
        chromium.waitForFinished();
        ADD_FAILURE() << "chromium did not end";
        return loaded;
    }
    const QString dom = QString::fromUtf8(chromium.readAllStandardOutput());
    const QRegularExpressionMatch out =
        QRegularExpression("<pre id=\"out\">(.*)</pre>", QRegularExpression::DotMatchesEverythingOption)
            .match(dom);
    EXPECT_TRUE(out.hasMatch()) << "chromium: " << chromium.errorString().toStdString();
    // The text as the dump writes it, with its own references.
    QString text = out.captured(1);
    text.replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < pages.size(); ++i)
        loaded[QFileInfo(pages[i]).fileName()] = lines.value(i, "-");
    return loaded;
}

// A team competition on two days: men's 100 m heats on the first and its final on the second, a long
// jump without a date, and the women's heptathlon of 100 m hurdles and long jump.
class Zuno2BatchTest : public TResultTest {
protected:
    Zuno2BatchTest()
        : program_(InstallProgram(Dir())) {
        AddProgramme({{"K", "100H", "F"}, {"K", "LÆ", "F"}, {"K", "7K", "F"}});
        int nr = 0;
        for (const char* ovelse : {"100H", "LÆ", "7K"}) {
            TOvelseRkElement* row = Ov().FindOvelseRk("K", ovelse);
            row->GetField(OvelseRkField::MKOvelse)->SetAsString("7K");
            row->GetField(OvelseRkField::MKOvelseNr)->SetAsInteger(++nr);
        }
        Schedule({{"M 100 I", "2024-06-01 10:00"},
                  {"M 100 F", "2024-06-02 15:00"},
                  {"M LÆ F", ""},
                  {"M 4X100 F", "2024-06-02 16:00"},
                  {"M HØ F", "2024-06-01 11:00"},
                  {"M KU F", "2024-06-01 12:00"},
                  {"K 100 F", "2024-06-01 13:00"},
                  {"K 100H F", "2024-06-01 09:00"},
                  {"K LÆ F", "2024-06-01 11:00"},
                  {"K 7K F", "2024-06-01 17:00"}});
        TSystemData& data = Manager().SystemData();
        data.Overskrift1 = "Sommerstævne";
        data.Overskrift2 = "Atletik & kast";
        data.EgenTurnering = true;
        Manager().SaveStaevneData();

        AddKlub(1, "Vikingerne");
        AddKlub(2, "Amager AK & Co");
        AddDeltager(11, "Ole Zeuthen", 1990, 1);
        AddDeltager(12, "Bo Andersen", 1991, 1);
        AddDeltager(21, "Eva Kragh", 1992, 2);
        const auto result = [](qint32 heat, qint32 resultat) {
            return Fields({{ResultatField::Heat, heat}, {ResultatField::Resultat, resultat}});
        };
        AddResultat(Round("M", "100", "I"), 11, result(1, 1111));
        AddResultat(Round("M", "100", "I"), 12, result(2, 1112));
        AddResultat(Round("M", "100", "F"), 12, result(1, 1099));
        AddResultat(Round("M", "LÆ"), 11, result(1, 650));
        AddResultat(Round("K", "100"), 21, result(1, 1250));
        AddResultat(Round("K", "100H"), 21, result(1, 1420));
        AddResultat(Round("K", "LÆ"), 21, result(1, 560));
        stID_ = Manager().GetCurrentStID();
    }

    TRun Run(const QStringList& arguments) {
        return RunProgram(program_, QStringList{"ID=" + QString::number(stID_)} + arguments);
    }
    QString Meet(const QString& name = {}) { return Path(QStringLiteral("Stævne/") + name); }
    QStringList Files() { return QDir(Meet()).entryList(QDir::Files, QDir::Name); }
    QString Page(const QString& name) { return Windows1252::Decode(ReadFile(Meet(name))); }

private:
    QString program_;
    qint32 stID_ = 0;
};

TEST_F(Zuno2BatchTest, EveryJobsPagesLoadInChromiumAndParseAndEveryXmlDocumentIsWellFormed) {
    const TRun html = Run({"/REDID", "/HTML_RESULTS", "/STANDINGS", "/HTML_ATHLETES", "/HTML_START_LIST",
                           "/HTML_TEAM", "/HTML_TEAM_START_LIST", "/HTML_TEAM_RESULTS"});
    EXPECT_EQ(html.ExitCode, 0) << html.Errors.toStdString();
    EXPECT_EQ(html.Errors, "");
    const QString xml = QDir(Dir()).filePath("xml/");
    ASSERT_TRUE(QDir().mkpath(xml));
    for (const QStringList& job :
         {QStringList{"/XML_OVELSE", "/KLASSE=M", "/OVELSE=100", "/RUNDE=I",
                      "/FILENAME=" + xml + "ovelse.xml"},
          // A relative name is found from the program's folder, whatever folder the script is in.
          QStringList{"/XML_STAEVNE_INFO", "/FILENAME=xml/info.xml"},
          QStringList{"/XML_STAEVNE", "/FILENAME=" + xml + "staevne.xml"}}) {
        const TRun run = Run(job);
        EXPECT_EQ(run.ExitCode, 0) << job.front().toStdString() << ": " << run.Errors.toStdString();
    }

    EXPECT_EQ(Files(),
              QStringList({"1.htm", "2.htm", "klubliste.htm", "klubstilling.htm", "klubstilling.xml",
                           "program.htm", "resultatliste.htm", "resultatliste_all.htm",
                           "resultatliste_friday.htm", "resultatliste_saturday.htm", "startliste.htm"}));
    QStringList pages;
    for (const QString& file : Files())
        if (file.endsWith(".htm")) {
            pages << Meet(file);
            EXPECT_EQ(ToolSays("xmllint", {"--html", "--noout", Meet(file)}), "") << file.toStdString();
        }
    const std::map<QString, QString> titles = {{"1.htm", "Vikingerne"},
                                               {"2.htm", "Amager AK & Co"},
                                               {"klubliste.htm", "KLUBLISTE"},
                                               {"klubstilling.htm", "KLUBSTILLING"},
                                               {"program.htm", "PROGRAM"},
                                               {"resultatliste.htm", "RESULTATER"},
                                               {"resultatliste_all.htm", "RESULTATER"},
                                               {"resultatliste_friday.htm", "RESULTATER"},
                                               {"resultatliste_saturday.htm", "RESULTATER"},
                                               {"startliste.htm", "STARTLISTER"}};
    for (const auto& [page, loaded] : LoadedInChromium(pages)) {
        const QStringList parts = loaded.split(u'\t');
        ASSERT_EQ(parts.size(), 2) << page.toStdString() << " did not load";
        EXPECT_EQ(parts[0], "Sommerstævne Atletik & kast , " + titles.at(page)) << page.toStdString();
        EXPECT_GT(parts[1].toInt(), 100) << page.toStdString();
    }

    for (const QString& document :
         {xml + "ovelse.xml", xml + "info.xml", xml + "staevne.xml", Meet("klubstilling.xml")})
        EXPECT_EQ(ToolSays("xmllint", {"--noout", document}), "") << document.toStdString();
    EXPECT_TRUE(Windows1252::Decode(ReadFile(xml + "ovelse.xml")).contains("<Heat Id=\"2\""));
    // Every page and document went into place whole: nothing was left under a temporary name.
    EXPECT_EQ(QDir(xml).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST_F(Zuno2BatchTest, ThePlannersCasesAsTheProgramWritesThem) {
    // A class's combined event first, then its disciplines, then its other events.
    TRun run = Run({"/HTML_RESULTS", "/BY_AGE_GROUP", "/ORDER_BY_EVENT_NO", "/PRINT_EMPTY"});
    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QString kvinder = Page("resultatliste_k.htm");
    const auto at = [&](const QString& heading) {
        return kvinder.indexOf("KVINDER SENIOR - " + heading + "</b>");
    };
    EXPECT_GE(at("SYVKAMP"), 0);
    EXPECT_LT(at("SYVKAMP"), at("100 M HÆK"));
    EXPECT_LT(at("100 M HÆK"), at("LÆNGDESPRING"));
    EXPECT_LT(at("LÆNGDESPRING"), at("100 M"));
    EXPECT_TRUE(Page("resultatliste_m.htm").contains("MÆND SENIOR - KUGLESTØD"));

    // A page set per day, suffixed by the date, and one for the rounds without a date.
    run = Run({"/HTML_START_LIST", "/BY_DAY"});
    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_TRUE(Page("startliste_00000000.htm").contains("MÆND SENIOR - LÆNGDESPRING"));
    EXPECT_TRUE(Page("startliste_20240601.htm").contains("MÆND SENIOR - 100 M - INDLEDENDE"));
    EXPECT_TRUE(Page("startliste_20240602.htm").contains("MÆND SENIOR - 100 M - FINALE"));

    // One page per event and day: the final on the second day has a page of its own.
    run = Run({"/HTML_RESULTS", "/BY_DAY", "/ONE_FILE", "/PREFIX=R-"});
    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QStringList onePerEvent = Files().filter(QRegularExpression("^r-"));
    EXPECT_EQ(onePerEvent, QStringList({"r-k-100-1.htm", "r-k-100h-1.htm", "r-k-7k-1.htm", "r-k-la-1.htm",
                                        "r-m-100-1.htm", "r-m-100-2.htm", "r-m-4x100-1.htm", "r-m-ho-1.htm",
                                        "r-m-ku-1.htm", "r-m-la-1.htm"}));
    EXPECT_TRUE(Page("r-m-100-2.htm").contains("10.99"));
    EXPECT_FALSE(Page("r-m-100-2.htm").contains("11.11"));
    EXPECT_TRUE(Page("r-m-100-1.htm").contains("11.11"));
}

TEST_F(Zuno2BatchTest, FailuresExitNonZeroWithTheReasonOnStandardErrorAndWriteNothing) {
    const QString file = QDir(Dir()).filePath("x.xml");
    struct TCase {
        QStringList Arguments;
        QString Error;
    };
    const TCase cases[] = {
        {{"/HTML_RESULTS", "/XML_OVELSE", "/KLASSE=M", "/OVELSE=100"}, "der er ikke givet noget filnavn"},
        {{"/XML_OVELSE", "/KLASSE=M", "/OVELSE=SP", "/FILENAME=" + file},
         "stævnet har ingen runde med klassen"},
        {{"/XML_OVELSE", "/KLASSE=M", "/OVELSE=100", "/HEAT=to", "/FILENAME=" + file},
         "er ikke et heatnummer"},
        {{"/XML_STAEVNE", "/FILENAME=" + QDir(Dir()).filePath("ingen mappe/x.xml")}, "kunne ikke gemmes"},
    };
    for (const TCase& test : cases) {
        const TRun run = Run(test.Arguments);
        EXPECT_EQ(run.ExitCode, 1) << test.Arguments.join(' ').toStdString();
        EXPECT_TRUE(run.Errors.contains(test.Error)) << run.Errors.toStdString();
    }
    EXPECT_EQ(Files(), QStringList());
    EXPECT_FALSE(QFile::exists(file));

    // A meet without classes has no team standings to write: said, and not a failure.
    Manager();
    const qint32 tom = CreateMeet("Uden øvelser");
    const TRun team = RunProgram(QDir(Dir()).filePath("zuno2"), {"ID=" + QString::number(tom), "/HTML_TEAM"});
    EXPECT_EQ(team.ExitCode, 0);
    EXPECT_TRUE(team.Errors.contains("/HTML_TEAM: stævnet har ingen klasse med øvelser"))
        << team.Errors.toStdString();
    EXPECT_EQ(QDir(Path("Uden øvelser")).entryList(QDir::Files), QStringList());
}

} // namespace
