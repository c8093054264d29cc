#include "print/D_Html.h"

#include "PrintMeet.h"
#include "foundation/Windows1252.h"
#include "support/Test.h"

#include <QProcess>

namespace {

// What libxml2's HTML parser finds at an XPath in a page: the page is parsed, not searched.
QString Parsed(const QString& fileName, const QString& xpath) {
    QProcess xmllint;
    xmllint.start("xmllint", {"--html", "--nowarning", "--xpath", xpath, fileName});
    if (!xmllint.waitForFinished())
        return "<xmllint did not run>";
    return QString::fromUtf8(xmllint.readAllStandardOutput()).trimmed();
}

QStringList Lines(const QString& fileName) {
    QString text = Windows1252::Decode(ReadFile(fileName));
    EXPECT_TRUE(text.endsWith("\r\n") || text.isEmpty());
    text.chop(2);
    return text.split("\r\n");
}

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

    QTemporaryDir folder;
    QString meetDir;
    TPrintMeet meet;
};

TEST_F(THtmlMakerTest, AFullPageHasTheDocumentTypeTheCharacterSetTheStylesAndTheMeetsHeading) {
    {
        THtmlMaker html(Page("resultatliste.htm"), "RESULTATER", false);
        html.WriteLn("<p>rækker</p>");
        html.Close();
    }
    const QStringList lines = Lines(Page("resultatliste.htm"));
    ASSERT_GT(lines.size(), 60);
    EXPECT_EQ(
        lines.mid(0, 6),
        QStringList(
            {"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">",
             "<html>", "<head><title>DM Atletik 13. juni, RESULTATER, Arrangør: AGF</title>",
             "<META NAME=\"generator\" CONTENT=\"Zuno version 2.0.0\">",
             "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">",
             "<META HTTP-EQUIV=\"expires\" CONTENT=\"Fri, 20 Nov 1998 10:00:00 GMT\">"}));
    EXPECT_EQ(lines.mid(6, 3),
              QStringList({"<style type=\"text/css\">", "<!--", "A:link {text-decoration:none;color:blue}"}));
    EXPECT_TRUE(lines.contains("td.l1{color:black;background-color:white;font-family:Arial,Helvetica;font-"
                               "size:10pt;text-align:left}"));
    EXPECT_TRUE(lines.contains("td.ka4{color:black;background-color:#e6e6fa;font-family:Arial,Helvetica;font-"
                               "size:8pt;text-align:right}"));
    EXPECT_TRUE(lines.contains("td.c6{color:white;background-color:black;font-family:Verdana,Arial,Helvetica;"
                               "font-size:48pt;text-align:center}"));
    const qsizetype body = lines.indexOf("<body>");
    ASSERT_GT(body, 0);
    EXPECT_EQ(lines[body - 1], "</head>");
    EXPECT_EQ(lines[body + 1],
              "<table class=h cellpadding=0 cellspacing=0><tr><td class=c6><b>RESULTATER</b></td></tr>"
              "<tr><td class=l><img src=\"c.gif\" alt=\"\" width=1 height=20></td></tr>"
              "<tr><td class=c5><b>DM</b></td></tr><tr><td class=c4>Atletik</td></tr>"
              "<tr><td class=c4>13. juni</td></tr>"
              "<tr><td class=l ><img src=\"c.gif\" alt=\"\" width=1 height=10></td></tr>"
              "<tr><td class=c4>Arrangør: AGF</td></tr></table>");
    EXPECT_EQ(
        lines.mid(body + 2),
        QStringList(
            {"<p>rækker</p>",
             "<p class=s><br>Genereret af Zuno version 2.0.0 lørdag den 13. juni 2026 klokken 14:05</p>",
             "</body>", "</html>"}));
    // Danish letters as the page declares them.
    EXPECT_EQ(Parsed(Page("resultatliste.htm"), "string((//td[@class='c4'])[3])"), "Arrangør: AGF");
}

TEST_F(THtmlMakerTest, EnglishPagesAndTranslatedOrganisersAndMeetsWithoutOrganiser) {
    meet.Data.Engelsk = true;
    meet.Data.Oversattelse = true;
    meet.Data.OversattelsesTekster = QStringList({"Host: "});
    {
        THtmlMaker html(Page("a.htm"), "RESULTS", false);
        html.Close();
    }
    QStringList lines = Lines(Page("a.htm"));
    EXPECT_EQ(lines[2], "<head><title>DM Atletik 13. juni, RESULTS, Host: AGF</title>");
    EXPECT_TRUE(lines[lines.size() - 4].endsWith("<tr><td class=c4>Host: AGF</td></tr></table>"));
    EXPECT_EQ(lines[lines.size() - 3],
              "<p class=s><br>Printed from Zuno version 2.0.0, 2026-06-13 14:05</p>");

    meet.Data.Arrangor.clear();
    {
        THtmlMaker html(Page("b.htm"), "RESULTS", false);
        html.Close();
    }
    lines = Lines(Page("b.htm"));
    EXPECT_EQ(lines[2], "<head><title>DM Atletik 13. juni, RESULTS</title>");
    EXPECT_FALSE(lines[lines.size() - 4].contains("Host"));
}

TEST_F(THtmlMakerTest, DataIsEscapedAsItGoesIntoThePageWhileMarkupIsWrittenAsGiven) {
    EXPECT_EQ(HtmlEscape("Hansen & Søn <B>"), "Hansen &amp; Søn &lt;B&gt;");
    EXPECT_EQ(HtmlEscape("\"O'Neil\" €"), "&quot;O&#39;Neil&quot; €");
    EXPECT_EQ(HtmlEscape(u"Łódź 🏃"_qs), "&#321;ód&#378; &#127939;");

    meet.Data.Overskrift1 = "Hansen & Søn <B>";
    meet.Data.Arrangor = "</table><script>alert(1)</script>";
    {
        THtmlMaker html(Page("side.htm"), "Łódź <i>cup</i>", false);
        html.WriteLn("<table><tr><td class=ko6>" + HtmlEscape("Jensen <b>& co") + "</td></tr></table>");
        html.Close();
    }
    const QString page = Page("side.htm");
    EXPECT_EQ(Parsed(page, "string(//td[@class='c5'])"), "Hansen & Søn <B>");
    EXPECT_EQ(Parsed(page, "string(//td[@class='c6'])"), "Łódź <i>cup</i>");
    EXPECT_EQ(Parsed(page, "string((//td[@class='c4'])[3])"), "Arrangør: </table><script>alert(1)</script>");
    EXPECT_EQ(Parsed(page, "string(//td[@class='ko6'])"), "Jensen <b>& co");
    EXPECT_EQ(
        Parsed(page, "string(/html/head/title)"),
        "Hansen & Søn <B> Atletik 13. juni, Łódź <i>cup</i>, Arrangør: </table><script>alert(1)</script>");
    // The data made no elements of its own: the only bold elements are the heading's two.
    EXPECT_EQ(Parsed(page, "count(//b)"), "2");
    EXPECT_EQ(Parsed(page, "count(//script)"), "0");
    EXPECT_EQ(Parsed(page, "count(//i)"), "0");
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

    {
        THtmlMaker html(Page("side.htm"), "T", false);
        html.Close();
    }
    const QStringList lines = Lines(Page("side.htm"));
    EXPECT_EQ(lines[lines.indexOf("</head>") + 1], "<body>");
    EXPECT_EQ(lines.last(), "</html>");
}

TEST_F(THtmlMakerTest, TheMeetFolderSuppliesHeaderAndFooterFilesInAnyLetterCase) {
    WriteFile(meetDir + "/standard.header",
              Windows1252::Encode("<!-- hoved -->\r\n<meta name=x content=\"æ\">\n"));
    WriteFile(meetDir + "/STANDARD.FOOTER", "<p>fod</p>");
    {
        THtmlMaker html(Page("side.htm"), "T", false);
        html.Close();
    }
    const QStringList lines = Lines(Page("side.htm"));
    const qsizetype head = lines.indexOf("</head>");
    EXPECT_EQ(lines.mid(head + 1, 3),
              QStringList({"<!-- hoved -->", "<meta name=x content=\"æ\">", "<body>"}));
    EXPECT_EQ(lines.mid(lines.size() - 3), QStringList({"<p>fod</p>", "</body>", "</html>"}));
}

TEST_F(THtmlMakerTest, ABodyFragmentHasTheUpdateTableAndNoPageFrame) {
    meet.Data.OnlyHtmlBody = true;
    WriteFile(meetDir + "/body-header", "<div>\r\n<h1>Klub</h1>\r\n");
    {
        THtmlMaker html(Page("resultatliste.body"), "RESULTATER & mere", false);
        html.WriteLn("<p>x</p>");
        html.Close();
    }
    EXPECT_EQ(
        Lines(Page("resultatliste.body")),
        QStringList(
            {"<div><h1>Klub</h1><table class=o cellpadding=0 cellspacing=0><col width=460><col width=200>"
             "<tr><td class=ol><b>&nbsp;&nbsp;RESULTATER &amp; mere</b></td>"
             "<td class=or><b>Updated: 2026-06-13 14:05&nbsp;&nbsp;</b></td></tr></table>",
             "<p>x</p>"}));
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
    EXPECT_TRUE(QFile::exists(meetDir + "/startliste - 20260613.htm"));
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

TEST_F(THtmlMakerTest, AFolderThatCannotBeWrittenRaisesAndLeavesNothingBehind) {
    EXPECT_TRUE(
        ErrorText([&] {
            THtmlMaker(folder.filePath("Ingen mappe/side.htm"), "T", false);
        }).startsWith("Fejl ved skrivning af filen " + folder.filePath("Ingen mappe/side.htm") + ": "));

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
