#include "print/D_Print.h"
#include "print/D_PrintIniFile.h"

#include "PrintMeet.h"
#include "PrintRecorder.h"
#include "foundation/LxString.h"
#include "foundation/Windows1252.h"
#include "support/Golden.h"
#include "support/PrinterToPdf.h"
#include "support/RecordedMessages.h"
#include "support/Test.h"

namespace {

constexpr auto Header = TPrintSection::Header;
constexpr auto Footer = TPrintSection::Footer;

class TStdPrintTest : public ::testing::Test {
protected:
    // Writes the report file (Windows-1252, CRLF) and loads its section into a cleared engine.
    void Load(const QString& text, const QString& section = QStringLiteral("Liste")) {
        print.ClearAll();
        WriteFile(FileName(), Windows1252::Encode(QString(text).replace("\n", "\r\n")));
        print.LoadLayout(section, FileName());
    }
    QString FileName() const { return folder.filePath(QStringLiteral("ZUNO2.RPT")); }

    QTemporaryDir folder;
    TPrintMeet meet;
    TRecordedMessages messages;
    TStdPrint print;
};

TEST(OrderedIniFileTest, KeysComeInFileOrderFromWindows1252WithEitherLineEnd) {
    const TOrderedIniFile ini = TOrderedIniFile::FromBytes(Windows1252::Encode(
        "; kommentar\r\n[Første]\r\nZeta = sidst\nAlfa=\"i citat\"\r\n; Beta=væk\r\nuden lighedstegn\n"
        "Kol_2 =  Århus  \r\n[første]\nAlfa=anden sektion\n[Tom]\n[Tal]\nN=12\nM=12a\n"));
    QStringList entries;
    for (const TIniEntry& entry : ini.ReadSection("FØRSTE"))
        entries << entry.Key + "|" + entry.Value;
    EXPECT_EQ(entries, QStringList({"Zeta|sidst", "Alfa|i citat", "Kol_2|Århus"}));
    // A repeated section adds nothing; names are compared without regard to case.
    EXPECT_EQ(ini.ReadString("første", "ALFA", "?"), "i citat");
    EXPECT_TRUE(ini.SectionExists("Tom") && ini.ReadSection("Tom").empty());
    EXPECT_EQ(ini.ReadString("Ingen", "Alfa", "standard"), "standard");
    EXPECT_EQ(QList<int>({ini.ReadInteger("Tal", "N", 5), ini.ReadInteger("Tal", "M", 5)}),
              QList<int>({12, 5}));
    EXPECT_FALSE(TOrderedIniFile(QStringLiteral("/nowhere/ZUNO2.RPT")).SectionExists("Første"));
}

TEST_F(TStdPrintTest, FontsOrientationMarginsAndTitleComeFromTheSectionOrKeepTheirDefaults) {
    Load("[Liste]\nFontName=Verdana\nFontSize=9\nFontStyle=[fsBold,fsItalic]\nHeaderFontSize=12\n"
         "HeaderFontStyle=fsUnderline\nFooterFontName=Times New Roman\nOrientation=p\nCSVSeparator=,\n"
         "TopMargin=30\nLeftMargin=125\nTitle=Resultatliste\n");
    EXPECT_EQ(print.LineFont(), (TPrintFont{"Verdana", 9, PrintFontStyle::Bold | PrintFontStyle::Italic, 0}));
    EXPECT_EQ(print.HeaderFont(), (TPrintFont{"Arial", 12, PrintFontStyle::Underline, 0}));
    EXPECT_EQ(print.FooterFont().Name, "Times New Roman");
    EXPECT_EQ(print.Orientation, TPrintOrientation::Landscape); // only a capital P is portrait
    EXPECT_EQ(print.CSVSeparator, ",");
    EXPECT_EQ(
        QList<double>({print.TopMargin(), print.BottomMargin(), print.LeftMargin(), print.RightMargin()}),
        QList<double>({0.3, 0.5, 1.25, 0}));
    EXPECT_EQ(print.Title, "Resultatliste");

    // Keys left out keep the fonts as they are; a style that names none makes the font regular.
    Load("[Liste]\nFontStyle=fsNormal\nOrientation=P\n");
    EXPECT_EQ(print.LineFont(), (TPrintFont{"Verdana", 9, 0, 0}));
    EXPECT_EQ(print.Orientation, TPrintOrientation::Portrait);
    EXPECT_EQ(print.CSVSeparator, ";");
    EXPECT_EQ(print.Title, "???????????");
    Load("[Liste]\nFontSize=11\n");
    EXPECT_EQ(print.Orientation, TPrintOrientation::Portrait); // empty: unchanged
}

TEST_F(TStdPrintTest, ColumnsAreNumberedInFileOrderWhateverTheirKeysSay) {
    Load("[Liste]\nKol_7=1,5|2.25|taRight\nFelt_Navn=Navn|0|0|0|Navn\nKol_1= 4 | 6 |taCenter\n"
         "kol_2=9|1|\nKol_X=10|2\n");
    ASSERT_EQ(print.Columns().size(), 3u);
    const TColumnField& first = print.Columns()[0];
    EXPECT_EQ(std::tuple(first.Left, first.Width, first.Alignment),
              std::tuple(1500, 2250, TPrintAlignment::Right));
    EXPECT_EQ(print.Columns()[1].Alignment, TPrintAlignment::Center);
    const TColumnField& third = print.Columns()[2]; // "kol_2" is no column key
    EXPECT_EQ(std::tuple(third.Left, third.Width, third.Alignment),
              std::tuple(10000, 2000, TPrintAlignment::Left));

    EXPECT_EQ(ErrorText([&] { Load("[Liste]\nKol_1=1|bred\nFelt_A=A|0|0|0|A\n"); }),
              "\"bred\" er ikke et gyldigt tal");
    EXPECT_TRUE(print.FeltDefs().empty()); // loading stopped at the bad column
}

TEST_F(TStdPrintTest, FieldHeadingsAreCommaTextLaidInTheirColumnsInABoldFooterFont) {
    Load("[Liste]\nHeaderFontSize=14\nFooterFontName=Verdana\nKol_0=0|1\nKol_1=2|5\n"
         "Felt_Plac=Plac|0|3|-4|Nr\nFelt_Navn = Navn | 1 | 0 | 0 | \"Bedste tid\",Navn Klub\n"
         "Felt_Tom=Tom|1|0|0|\n");
    ASSERT_EQ(print.FeltDefs().size(), 3u);
    const TFeltDef& plac = print.FeltDefs()[0];
    EXPECT_EQ(std::tuple(plac.Name, plac.Column, plac.Value1, plac.Value2, plac.Heading),
              std::tuple(QString("Plac"), 0, 3, -4, QString("Nr")));
    EXPECT_EQ(print.FeltDefs()[1].Heading, "\"Bedste tid\",Navn Klub");
    // The footer font is regular 8 pt once the footer is laid; its bold copy sets the headings.
    EXPECT_GOLDEN(SectionLines(print, Header, 101, 103), "print/field-headings.txt");
    EXPECT_EQ(print.HeaderFont(), (TPrintFont{"Arial", 14, 0, 0}));

    // A new load frees the old definitions.
    Load("[Liste]\nFelt_A=A|0|0|0|A\n");
    ASSERT_EQ(print.FeltDefs().size(), 1u);

    // A field without its parts fails on the empty column.
    EXPECT_EQ(ErrorText([&] { Load("[Liste]\nFelt_=Navn\n"); }), "\"\" er ikke et gyldigt tal");
    EXPECT_EQ(ErrorText([&] { Load("[Liste]\nFelt_X=Navn|1|en|0|X\n"); }), "\"en\" er ikke et gyldigt tal");
}

TEST(StdPrintCommaTextTest, BlanksAndCommasSeparateUnlessQuoted) {
    EXPECT_EQ(SplitCommaText("Navn,Klub"), QStringList({"Navn", "Klub"}));
    EXPECT_EQ(SplitCommaText("  Bedste tid "), QStringList({"Bedste", "tid"}));
    EXPECT_EQ(SplitCommaText("\"Bedste tid\", \"sagde \"\"hun\"\"\""),
              QStringList({"Bedste tid", "sagde \"hun\""}));
    EXPECT_EQ(SplitCommaText("a,,b,"), QStringList({"a", "", "b", ""}));
    EXPECT_EQ(SplitCommaText(""), QStringList());
}

TEST_F(TStdPrintTest, ASectionWithoutKeysIsReportedAndKeepsWhatWasAppliedBeforeIt) {
    Load("[Liste]\nFelt_A=A|0|0|0|A\n");
    Load("[Anden]\nFontSize=12\n[Liste]\n");
    EXPECT_EQ(messages.Shown(),
              QStringList({"Der er ingen værdier i sektionen Liste i INI-filen: " + FileName()}));
    EXPECT_TRUE(print.FeltDefs().empty());
    EXPECT_EQ(print.Title, "???????????");
    EXPECT_GT(print.Lines(Footer).Count(), 0);

    print.ClearAll();
    print.LoadLayout("Resultatliste", folder.filePath("MANGLER.RPT"));
    EXPECT_EQ(messages.Shown().size(), 1);
    EXPECT_DOUBLE_EQ(print.BottomMargin(), 0.5);
}

TEST_F(TStdPrintTest, TheMeetsHeaderLinesPrintAtDoubleSizeAsFarAsLargeHeaderLinesSays) {
    meet.Data.Overskrift1 = "DM";
    meet.Data.Overskrift2 = "Stadion";
    meet.Data.Overskrift3 = "Juni";
    meet.Data.Arrangor = "Hansen & Søn";
    Load("[Liste]\nHeaderFontSize=11\nTitle=Startliste\n");
    QStringList lines = SectionLines(print, Header); // the title at Round(16.5)
    EXPECT_EQ(print.HeaderFont().Size, 11);
    Load("[Liste]\nHeaderFontSize=10\nLargeHeaderLines=0\n");
    lines << "-- LargeHeaderLines=0" << SectionLines(print, Header, 1, 1);
    Load("[Liste]\nLargeHeaderLines=4\n");
    lines << "-- LargeHeaderLines=4" << SectionLines(print, Header, 4, 4);
    meet.Data.Oversattelse = true;
    meet.Data.OversattelsesTekster = QStringList({"Organizer: "});
    Load("[Liste]\nTitle=x\n");
    lines << "-- translated" << SectionLines(print, Header, 4, 4);
    EXPECT_GOLDEN(lines, "print/meet-header.txt");
}

TEST_F(TStdPrintTest, TheFooterNamesTheMeetThePlaceThePageTheDateAndTheVersion) {
    meet.Data.Overskrift1 = "DM";
    meet.Data.Arrangor = "AGF";
    Load("[Liste]\nTitle=x\n");
    QStringList lines = SectionLines(print, Footer);
    meet.Data.Engelsk = true;
    meet.Data.Stadion = "Århus Stadion";
    Load("[Liste]\nTitle=x\n");
    lines << "-- English, with a stadium" << SectionLines(print, Footer);
    meet.Data.Oversattelse = true;
    meet.Data.OversattelsesTekster = QStringList({"Host: "});
    Load("[Liste]\nTitle=x\n");
    EXPECT_GOLDEN(lines << "-- translated organiser" << SectionLines(print, Footer, 2, 2),
                  "print/footer.txt");
}

TEST_F(TStdPrintTest, PrintShowsThePreviewWithItsFlagClearedOrPrints) {
    const TPrinterToPdf pdf;
    bool flagInWindow = true;
    const TPrintPreviewWindow previous = SetPrintPreviewWindow(
        [&](TPrint& shown) { flagInWindow = static_cast<TStdPrint&>(shown).GetPreview(); });
    print.AddBodyText(TPrintAlignment::Left, "linje", 0, 1);
    print.SetPreview(true);
    print.Print();
    EXPECT_FALSE(flagInWindow);
    EXPECT_TRUE(print.GetPreview());
    print.SetPreview(false);
    print.Print();
    EXPECT_TRUE(print.Printed);
    SetPrintPreviewWindow(previous);
}

TEST_F(TStdPrintTest, TheShippedReportFileLaysOutEveryListWithItsDanishTitle) {
    const QString shipped = QStringLiteral(ZUNO_SOURCE_DIR "/data/ZUNO2.RPT");
    // Each list's section, with ":" and its title where that is not the section's name.
    const QStringList lists =
        QString(
            "Resultatliste,Motion_Resultatliste:Resultatliste,Startliste,Program,Afkrydsningsliste,"
            "Dommerliste,Klubstilling_Hold:Klubstilling,KlubKonkurrence:Klubkonkurrence,Medaljeliste,"
            "Reaktionstider,TidsskemaTidsorden:Tidsskema,TidsskemaTidsorden2:Tidsskema,"
            "KlubInfoListeStarttid:Klubliste med starttider,KlubInfoListeResultat:Klubliste med resultater,"
            "Motion_KlubInfoListeStarttid:Klubliste med starttider,"
            "Motion_KlubInfoListeResultat:Klubliste med resultater,KlubSaldoListe:Saldoliste")
            .split(u',');
    const TOrderedIniFile ini(shipped);
    for (const QString& list : lists) {
        const QString section = list.section(u':', 0, 0);
        SCOPED_TRACE(section.toStdString());
        for (const char* key : {"FontName", "FontSize", "HeaderFontName", "HeaderFontSize",
                                "LargeHeaderLines", "FooterFontName", "FooterFontSize", "Orientation",
                                "TopMargin", "BottomMargin", "LeftMargin", "RightMargin", "Title"})
            EXPECT_NE(ini.ReadString(section, key, "<mangler>"), "<mangler>") << key;
        TStdPrint loaded;
        loaded.LoadLayout(section, shipped);
        EXPECT_EQ(loaded.Title, list.section(u':', -1));
        EXPECT_EQ(loaded.LineFont().Name, "Arial");
        EXPECT_GT(loaded.LeftMargin(), 0);
    }
    EXPECT_TRUE(messages.Shown().isEmpty());
    TStdPrint wide;
    wide.LoadLayout("TidsskemaTidsorden2", shipped);
    EXPECT_EQ(wide.Orientation, TPrintOrientation::Landscape);
}

} // namespace
