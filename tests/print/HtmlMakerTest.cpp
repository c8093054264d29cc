#include "print/D_Html.h"

#include "PrintMeet.h"
#include "PrintRecorder.h"
#include "foundation/Windows1252.h"
#include "model/D_Context.h"
#include "support/Golden.h"
#include "support/Test.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

class THtmlMakerTest : public ::testing::Test {
protected:
    THtmlMakerTest()
        : meetDir(folder.filePath("Forårsstævne"))
        , meet(meetDir) {
        QDir().mkpath(meetDir);
        meet.Data.Overskrift1 = "DM";
        meet.Data.Overskrift2 = "Atletik";
        meet.Data.Overskrift3 = "13. juni";
        meet.Data.Arrangor = "AGF";
    }
    QString Page(const QString& name) const { return meetDir + "/" + name; }
    // Writes the page with the lines given and closes it; its lines as read back.
    QStringList Written(const QString& name, const QString& title, const QStringList& lines = {}) {
        THtmlMaker html(Page(name), title, false);
        for (const QString& line : lines)
            html.WriteLn(line);
        html.Close();
        return PageLines(Page(name));
    }

    QTemporaryDir folder;
    QString meetDir;
    TPrintMeet meet;
};

TEST_F(THtmlMakerTest, AFullPageHasTheDocumentTypeTheCharacterSetTheStylesAndTheMeetsHeading) {
    EXPECT_GOLDEN(Written("resultatliste.htm", "RESULTATER", {"<p>rækker</p>"}), "print/html-page.txt");
    // Danish letters as the page declares them.
    EXPECT_EQ(HtmlXPath(Page("resultatliste.htm"), "string((//td[@class='c4'])[3])"), "Arrangør: AGF");
}

TEST_F(THtmlMakerTest, EnglishPagesAndTranslatedOrganisersAndMeetsWithoutOrganiser) {
    meet.Data.Engelsk = true;
    meet.Data.Oversattelse = true;
    meet.Data.OversattelsesTekster = QStringList({"Host: "});
    QStringList lines = Written("a.htm", "RESULTS");
    EXPECT_EQ(lines[2], "<head><title>DM Atletik 13. juni, RESULTS, Host: AGF</title>");
    EXPECT_TRUE(lines[lines.size() - 4].endsWith("<tr><td class=c4>Host: AGF</td></tr></table>"));
    EXPECT_EQ(lines[lines.size() - 3],
              "<p class=s><br>Printed from Zuno version 2.0.0, 2026-06-13 14:05</p>");
    meet.Data.Arrangor.clear();
    lines = Written("b.htm", "RESULTS");
    EXPECT_EQ(lines[2], "<head><title>DM Atletik 13. juni, RESULTS</title>");
    EXPECT_FALSE(lines[lines.size() - 4].contains("Host"));
}

TEST_F(THtmlMakerTest, DataIsEscapedAsItGoesIntoThePageWhileMarkupIsWrittenAsGiven) {
    EXPECT_EQ(HtmlEscape("Hansen & Søn <B>"), "Hansen &amp; Søn &lt;B&gt;");
    EXPECT_EQ(HtmlEscape("\"O'Neil\" €"), "&quot;O&#39;Neil&quot; €");
    EXPECT_EQ(HtmlEscape(u"Łódź 🏃"_qs), "&#321;ód&#378; &#127939;");

    meet.Data.Overskrift1 = "Hansen & Søn <B>";
    meet.Data.Arrangor = "</table><script>alert(1)</script>";
    Written("side.htm", "Łódź <i>cup</i>",
            {"<table><tr><td class=ko6>" + HtmlEscape("Jensen <b>& co") + "</td></tr></table>"});
    const QString page = Page("side.htm");
    EXPECT_EQ(HtmlXPath(page, "string(//td[@class='c5'])"), "Hansen & Søn <B>");
    EXPECT_EQ(HtmlXPath(page, "string(//td[@class='c6'])"), "Łódź <i>cup</i>");
    EXPECT_EQ(HtmlXPath(page, "string((//td[@class='c4'])[3])"),
              "Arrangør: </table><script>alert(1)</script>");
    EXPECT_EQ(HtmlXPath(page, "string(//td[@class='ko6'])"), "Jensen <b>& co");
    EXPECT_EQ(
        HtmlXPath(page, "string(/html/head/title)"),
        "Hansen & Søn <B> Atletik 13. juni, Łódź <i>cup</i>, Arrangør: </table><script>alert(1)</script>");
    // The data made no elements of its own: the only bold elements are the heading's two.
    EXPECT_EQ(HtmlXPath(page, "count(//b)"), "2");
    EXPECT_EQ(HtmlXPath(page, "count(//script)"), "0");
    EXPECT_EQ(HtmlXPath(page, "count(//i)"), "0");
}

TEST_F(THtmlMakerTest, AnEmptyTitleWritesABareFragmentAndMissingIncludeFilesAreSkipped) {
    {
        THtmlMaker html(Page("stykke.htm"), "", false);
        html.Write("<tr>");
        html.WriteLn("<td>&nbsp;</td></tr>");
        html.IncludeFile(Page("ingen.txt"));
        html.Close();
    }
    EXPECT_EQ(ReadFile(Page("stykke.htm")), "<tr><td>&nbsp;</td></tr>\r\n");

    const QStringList lines = Written("side.htm", "T");
    EXPECT_EQ(lines[lines.indexOf("</head>") + 1], "<body>");
    EXPECT_EQ(lines.last(), "</html>");
}

TEST_F(THtmlMakerTest, TheMeetFolderSuppliesHeaderAndFooterFilesInAnyLetterCase) {
    WriteFile(meetDir + "/standard.header",
              Windows1252::Encode("<!-- hoved -->\r\n<meta name=x content=\"æ\">\n"));
    WriteFile(meetDir + "/STANDARD.FOOTER", "<p>fod</p>");
    const QStringList lines = Written("side.htm", "T");
    const qsizetype head = lines.indexOf("</head>");
    EXPECT_EQ(lines.mid(head + 1, 3),
              QStringList({"<!-- hoved -->", "<meta name=x content=\"æ\">", "<body>"}));
    EXPECT_EQ(lines.mid(lines.size() - 3), QStringList({"<p>fod</p>", "</body>", "</html>"}));
}

TEST_F(THtmlMakerTest, ThePagesOfARunReadTheIncludeFilesOnceAndAPageOnItsOwnReadsThemItself) {
    WriteFile(meetDir + "/Standard.Header", "<!-- hoved 1 -->");
    THtmlIncludes includes;
    const auto page = [&](const QString& name, THtmlIncludes* shared) {
        THtmlMaker html(Page(name), "T", false, shared);
        html.Close();
        return PageLines(Page(name)).join(u'\n');
    };
    EXPECT_TRUE(page("a.htm", &includes).contains("hoved 1"));
    WriteFile(meetDir + "/Standard.Header", "<!-- hoved 2 -->");
    WriteFile(meetDir + "/Standard.Footer", "<!-- fod -->");
    const QString later = page("b.htm", &includes);
    EXPECT_TRUE(later.contains("hoved 1"));
    EXPECT_FALSE(later.contains("fod")) << "looked for once, when the first page closed";
    const QString alone = page("c.htm", nullptr);
    EXPECT_TRUE(alone.contains("hoved 2") && alone.contains("fod"));
}

TEST_F(THtmlMakerTest, ABodyFragmentHasTheUpdateTableAndNoPageFrame) {
    meet.Data.OnlyHtmlBody = true;
    WriteFile(meetDir + "/body-header", "<div>\r\n<h1>Klub</h1>\r\n");
    EXPECT_GOLDEN(Written("resultatliste.body", "RESULTATER & mere", {"<p>x</p>"}),
                  "print/html-body-fragment.txt");
}

TEST_F(THtmlMakerTest, XmlModeWritesTheProlog_IndentsLines_AndNumbersCharactersAboveLatin1) {
    {
        THtmlMaker html(Page("klubstilling.xml"), "x", true);
        html.WriteLn("<stilling>");
        html.Indent = 2;
        html.WriteLn("<klub navn=\"" + HtmlEscape("Ålborg & € Łódź") + "\"/>");
        html.Write("<a/>");
        html.IncludeFile(Page("ingen"));
        html.Close();
        EXPECT_EQ(html.Indent, 0);
    }
    EXPECT_EQ(ReadFile(Page("klubstilling.xml")),
              QByteArray("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<stilling>\r\n"
                         "  <klub navn=\"\xC5lborg &amp; &#8364; &#321;&#243;d&#378;\"/>\r\n<a/>")
                  .replace("&#243;", "\xF3"));
}

TEST_F(THtmlMakerTest, OnlyThePagesOwnNameIsLowerCased) {
    {
        THtmlMaker html(meetDir + "\\StartListe - 20260613.HTM", "", false);
        EXPECT_EQ(html.FileName(), meetDir + "/startliste - 20260613.htm");
        html.Close();
    }
    EXPECT_EQ(QDir(meetDir).entryList(QDir::Files), QStringList({"startliste - 20260613.htm"}));

    // The folder is found whatever case the caller gives it.
    THtmlMaker html(folder.filePath("FORÅRSSTÆVNE/Program.htm"), "", false);
    EXPECT_EQ(html.FileName(), meetDir + "/program.htm");
}

TEST_F(THtmlMakerTest, APageTakesItsNameOnlyWhenClosedAndAPageNotClosedIsDropped) {
    WriteFile(Page("resultatliste.htm"), "gammel side");
    {
        THtmlMaker html(Page("resultatliste.htm"), "", false);
        html.WriteLn("ny side");
        EXPECT_EQ(ReadFile(Page("resultatliste.htm")), "gammel side");
        html.Close();
        EXPECT_EQ(ReadFile(Page("resultatliste.htm")), "ny side\r\n");
        html.Close(); // once is enough
    }
    {
        THtmlMaker html(Page("resultatliste.htm"), "T", false);
        html.WriteLn("afbrudt");
    }
    EXPECT_EQ(ReadFile(Page("resultatliste.htm")), "ny side\r\n");
    EXPECT_EQ(QDir(meetDir).entryList(QDir::Files), QStringList({"resultatliste.htm"}));
}

TEST_F(THtmlMakerTest, APageWithTheBytesAlreadyThereIsLeftAsItWasAndAChangedOneIsWritten) {
    const TClockScope clock(46000.5);
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-1);
    const auto setOld = [&] {
        QFile page(Page("resultatliste.htm"));
        ASSERT_TRUE(page.open(QIODevice::ReadWrite) &&
                    page.setFileTime(old, QFileDevice::FileModificationTime));
    };
    const QStringList first = Written("resultatliste.htm", "RESULTATER", {"<p>1. Ole</p>"});
    setOld();
    EXPECT_EQ(Written("resultatliste.htm", "RESULTATER", {"<p>1. Ole</p>"}), first);
    EXPECT_EQ(QFileInfo(Page("resultatliste.htm")).lastModified().toUTC(), old) << "not written again";
    EXPECT_EQ(QDir(meetDir).entryList(QDir::Files | QDir::Hidden), QStringList({"resultatliste.htm"}));

    // Other bytes of the same length, or a page of another length: written.
    EXPECT_TRUE(Written("resultatliste.htm", "RESULTATER", {"<p>1. Olé</p>"}).contains("<p>1. Olé</p>"));
    EXPECT_GT(QFileInfo(Page("resultatliste.htm")).lastModified().toUTC(), old);
    setOld();
    EXPECT_TRUE(Written("resultatliste.htm", "RESULTATER", {"<p>1. Ole Hansen</p>"})
                    .contains("<p>1. Ole Hansen</p>"));
    EXPECT_GT(QFileInfo(Page("resultatliste.htm")).lastModified().toUTC(), old);
}

TEST_F(THtmlMakerTest, APageThatDiffersOnlyInTheTimeItWasGeneratedIsLeftAsItWas) {
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-1);
    const auto written = [&](const char* name, TDateTime at, const QString& row) {
        const TClockScope clock(at);
        const QStringList lines = Written(name, "RESULTATER", {row});
        const bool rewritten = QFileInfo(Page(name)).lastModified().toUTC() != old;
        QFile page(Page(name));
        EXPECT_TRUE(page.open(QIODevice::ReadWrite) &&
                    page.setFileTime(old, QFileDevice::FileModificationTime));
        return std::pair(lines.join(u'\n'), rewritten);
    };
    // Danish footer, English footer and a body fragment's update line; a minute on, and a day and some
    // hours on (another day name, so another length).
    for (const auto& [name, engelsk, body] :
         {std::tuple("a.htm", false, false), std::tuple("b.htm", true, false),
          std::tuple("c.body", false, true)}) {
        meet.Data.Engelsk = engelsk;
        meet.Data.OnlyHtmlBody = body;
        const auto [first, wasWritten] = written(name, 46000.5, "<p>1. Ole</p>");
        EXPECT_TRUE(wasWritten);
        EXPECT_EQ(written(name, 46000.5 + 1.0 / 1440, "<p>1. Ole</p>"), std::pair(first, false)) << name;
        EXPECT_EQ(written(name, 46001.8, "<p>1. Ole</p>"), std::pair(first, false)) << name;
        // A change anywhere else is written, with its own time.
        const auto [changed, changedWritten] = written(name, 46001.8, "<p>1. Olé</p>");
        EXPECT_TRUE(changedWritten) << name;
        EXPECT_NE(changed, first);
        EXPECT_TRUE(changed.contains(engelsk || body ? "2025-12-10 19:12"
                                                     : "onsdag den 10. december 2025 klokken 19:12"))
            << name;
    }
    meet.Data.Engelsk = false;
    meet.Data.OnlyHtmlBody = false;

    // Markup where the time stood is a change.
    const TClockScope clock(46000.5);
    Written("d.htm", "RESULTATER", {"<p>x</p>"});
    QByteArray bytes = ReadFile(Page("d.htm"));
    bytes.replace("klokken", "<b>klokken</b>");
    WriteFile(Page("d.htm"), bytes);
    EXPECT_FALSE(Written("d.htm", "RESULTATER", {"<p>x</p>"}).join(u'\n').contains("<b>klokken"));
}

TEST_F(THtmlMakerTest, AFolderThatCannotBeWrittenRaisesAndLeavesNothingBehind) {
    const QString unwritable = folder.filePath("Ingen mappe/side.htm");
    EXPECT_TRUE(ErrorText([&] {
                    THtmlMaker(unwritable, "T", false);
                }).startsWith("Fejl ved skrivning af filen " + unwritable + ": "));

    // A page that cannot take its name (a folder stands there now) raises when closed, and its
    // temporary file goes.
    THtmlMaker html(Page("side.htm"), "T", false);
    html.WriteLn("række");
    ASSERT_TRUE(QDir().mkpath(Page("side.htm")));
    EXPECT_TRUE(
        ErrorText([&] { html.Close(); }).startsWith("Fejl ved skrivning af filen " + Page("side.htm")));
    EXPECT_EQ(QDir(meetDir).entryList(QDir::Files | QDir::Hidden), QStringList());
}

} // namespace
