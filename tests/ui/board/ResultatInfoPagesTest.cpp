// The results board's cycle without a window: the rounds of its file, pages of rows sorted by result, rounds
// without results passed over, the title screen, a changed file, pictures, and the fitted font.
#include "BoardFixture.h"
#include "FolderFiles.h"

#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "ui/board/ResultatInfoJpeg.h"

#include <QBuffer>
#include <QImageWriter>

#include <map>
#include <set>

namespace {

// A JPEG picture of 32 x 24 pixels.
const char PictureBytes[] =
    "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xdb\x00\x43"
    "\x00\x06\x04\x05\x06\x05\x04\x06\x06\x05\x06\x07\x07\x06\x08\x0a\x10\x0a\x0a\x09\x09\x0a\x14\x0e"
    "\x0f\x0c\x10\x17\x14\x18\x18\x17\x14\x16\x16\x1a\x1d\x25\x1f\x1a\x1b\x23\x1c\x16\x16\x20\x2c\x20"
    "\x23\x26\x27\x29\x2a\x29\x19\x1f\x2d\x30\x2d\x28\x30\x25\x28\x29\x28\xff\xdb\x00\x43\x01\x07\x07"
    "\x07\x0a\x08\x0a\x13\x0a\x0a\x13\x28\x1a\x16\x1a\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28"
    "\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28"
    "\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\xff\xc0\x00\x11\x08\x00\x18\x00\x20\x03"
    "\x01\x22\x00\x02\x11\x01\x03\x11\x01\xff\xc4\x00\x16\x00\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x05\x07\xff\xc4\x00\x16\x10\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x13\x61\xff\xc4\x00\x16\x01\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x07\x04\xff\xc4\x00\x19\x11\x00\x01\x05\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x03\x14\x16\x51\x61\xff\xda\x00\x0c\x03\x01\x00\x02\x11\x03\x11\x00"
    "\x3f\x00\xcc\x2f\xa5\xf5\x2a\xfa\x5f\x5b\xa3\x38\x56\xe4\x3a\x55\xbe\x97\xd4\xab\xe9\x7d\x23\x38"
    "\x24\x3a\x48\xbe\x97\xd0\x5c\xd8\x21\x44\x6d\xea\xd6\x2f\xa5\xf4\x06\x08\x50\x7a\xb5\x9f\xff\xd9";

QByteArray Picture() {
    return QByteArray(PictureBytes, sizeof(PictureBytes) - 1);
}

class BoardPagesTest : public TBoardTest {};

TEST_F(BoardPagesTest, FortyResultsShowOnPagesOfFifteenSortedByResultThenTheNextRound) {
    // Start number n runs 20.00 - n/100: the last start number is the fastest.
    Results(Round("M", "100", "I"), 1, 40, [](qint32 nr) { return 2000 - nr; });
    Results(Round("M", "LÆ"), 101, 3, [](qint32 nr) { return 600 + nr; });
    WriteBoard({"M  100", "M  LÆ"});
    TBoardPages board(1);
    board.Read(false);
    ASSERT_EQ(board.Ovelser().size(), 3u) << "100 m I and F, long jump";
    QStringList shown;
    for (const int rows : {15, 15, 10}) {
        ASSERT_EQ(board.Screen().Kind, TBoardScreenKind::Round);
        EXPECT_EQ(board.Screen().Rows.size(), std::size_t(rows)) << board.Page();
        EXPECT_EQ(board.PageCount(), 3);
        shown << Startnumre(board.Screen());
        board.Read(true);
    }
    QStringList fastestFirst;
    for (qint32 nr = 40; nr >= 1; --nr)
        fastestFirst << QString::number(nr);
    EXPECT_EQ(shown, fastestFirst);
    // The final has no results: the long jump follows, longest first, and then the first round again.
    EXPECT_EQ(board.Screen().OvelseText, Round("M", "LÆ").GetOvelseText());
    EXPECT_EQ(Startnumre(board.Screen()), QStringList({"103", "102", "101"}));
    EXPECT_EQ(board.Screen().Rows.front().Resultat, "7.03");
    EXPECT_EQ(board.Screen().Rows.front().Plac, "1");
    EXPECT_EQ(board.Screen().Counts, "    I mål: 3  Tilmeldt: 3");
    board.Read(true);
    EXPECT_EQ(board.Item(), 0);
    EXPECT_EQ(board.Page(), 0);
    EXPECT_EQ(board.Screen().Rows.front().Startnr, "40");
    EXPECT_EQ(board.Screen().Rows.front().Resultat, "19.60");
}

TEST_F(BoardPagesTest, OnlyStartersWithAResultAreShownAndOnlyValidRowsHavePlaces) {
    Results(Round("M", "HØ"), 1, 2, [](qint32 nr) { return 150 + nr; });
    Results(Round("M", "HØ"), 3, 1, [](qint32) { return 0; }); // no result yet
    Results(
        Round("M", "HØ"), 4, 1, [](qint32) { return 160; }, "A"); // did not start
    Results(
        Round("M", "HØ"), 5, 1, [](qint32) { return 170; }, "D"); // disqualified
    WriteBoard({"M  HØ"});
    TBoardPages board(1);
    board.Read(false);
    const std::vector<TBoardRow> rows = board.Screen().Rows;
    ASSERT_EQ(Startnumre(board.Screen()), QStringList({"2", "1", "5"}));
    EXPECT_EQ(rows[0].Plac, "1");
    EXPECT_EQ(rows[0].Resultat, "1.52");
    EXPECT_EQ(rows[0].Navn, "Deltager 2");
    EXPECT_EQ(rows[2].Plac, "");
    EXPECT_EQ(rows[2].Resultat, "D");
    EXPECT_EQ(board.Screen().Counts, "    I mål: 3  Tilmeldt: 4");
    EXPECT_EQ(board.Screen().KlasseText, Round("M", "HØ").GetKlasseText());
}

TEST_F(BoardPagesTest, AJumpWhoseMarkIsOnlyInItsSeriesIsShown) {
    AddDeltager(1, "Deltager 1");
    AddResultat(Round("M", "LÆ"), 1, {}, Serie({{612, 999}, {0, 999}}));
    WriteBoard({"M  LÆ"});
    TBoardPages board(1);
    board.Read(false);
    ASSERT_EQ(board.Screen().Kind, TBoardScreenKind::Round);
    EXPECT_EQ(board.Screen().Rows.front().Resultat, "6.12");
}

TEST_F(BoardPagesTest, RoundsWithoutResultsArePassedOverAndWithNoneLeftTheTitleShows) {
    Manager().SystemData().Overskrift1 = "Stævnet";
    Manager().SystemData().Overskrift2 = "Stadion";
    Manager().SystemData().Arrangor = "IF Zuno";
    Results(Round("M", "100", "I"), 1, 4, [](qint32) { return 0; });
    Results(Round("K", "100"), 11, 2, [](qint32 nr) { return 1200 + nr; });
    WriteBoard({"M  100", "M  KU", "K  100"});
    TBoardPages board(1);
    board.Read(false);
    EXPECT_EQ(board.Screen().Kind, TBoardScreenKind::Round);
    EXPECT_EQ(board.Item(), 3) << "past both 100 m rounds of M and the shot put";
    board.Read(true);
    EXPECT_EQ(board.Item(), 3) << "the only round with results comes round again";

    WriteBoard({"M  100", "M  KU", "X  100"});
    board.Read(true);
    EXPECT_EQ(board.Screen().Kind, TBoardScreenKind::Title);
    EXPECT_EQ(board.Screen().TitleLines, QStringList({"Stævnet", "Stadion", "", "Arrangør: IF Zuno"}));
    EXPECT_EQ(board.Screen().Footer, "Board #1,  Zuno version " + ProgramVersion +
                                         "    Reload: " + QString::number(board.ReloadCount()));
    // The same with no file, and with a file that names no round.
    QFile::remove(Path("BOARD1"));
    board.Read(true);
    EXPECT_EQ(board.Screen().Kind, TBoardScreenKind::Title);
    EXPECT_TRUE(board.Ovelser().empty());
    TBoardPages none(2);
    none.Read(false);
    EXPECT_EQ(none.Screen().Kind, TBoardScreenKind::Title);
    EXPECT_TRUE(none.Screen().Footer.startsWith("Board #2,"));
}

TEST_F(BoardPagesTest, ANewerFileStartsAtItsFirstRoundAndAFileWithoutTimerIsReadAgainToo) {
    Results(Round("M", "100", "I"), 1, 20, [](qint32 nr) { return 1100 + nr; });
    Results(Round("M", "LÆ"), 101, 2, [](qint32 nr) { return 600 + nr; });
    Results(Round("K", "100"), 201, 2, [](qint32 nr) { return 1200 + nr; });
    WriteBoard({"M  100", "TIMER"});
    TBoardPages board(1);
    board.Read(false);
    EXPECT_TRUE(board.Cycling());
    board.Read(true);
    EXPECT_EQ(board.Page(), 1);
    WriteBoard({"K  100", "M  LÆ"});
    board.Read(true);
    EXPECT_FALSE(board.Cycling());
    EXPECT_EQ(board.Item(), 0);
    EXPECT_EQ(board.Page(), 0);
    EXPECT_EQ(board.Screen().OvelseText, Round("K", "100").GetOvelseText());
    board.Read(true);
    EXPECT_EQ(board.Screen().OvelseText, Round("M", "LÆ").GetOvelseText());
    // The same lines again, written anew: read anew, from the first round.
    WriteBoard({"K  100", "M  LÆ"});
    board.Read(true);
    EXPECT_EQ(board.Screen().OvelseText, Round("K", "100").GetOvelseText());
    // A key twice is one round.
    WriteBoard({"M  LÆ", "  M  LÆ", "m  læ"});
    board.Read(true);
    EXPECT_EQ(board.Ovelser().size(), 1u);
}

TEST_F(BoardPagesTest, AChangedFileFindsRoundsTheEditorAddedMeanwhile) {
    WriteBoard({"K  100"});
    TBoardPages board(1);
    board.Read(false);
    // Another program adds the women's long jump with its results; this one's programme does not know it.
    StoreRecord<TOvelseRkTable>({{OvelseRkField::Klasse, QStringLiteral("K")},
                                 {OvelseRkField::Ovelse, QStringLiteral("LÆ")},
                                 {OvelseRkField::Runder, QStringLiteral("F")}});
    StoreRecord<TOvelseRnTable>({{OvelseRnField::Klasse, QStringLiteral("K")},
                                 {OvelseRnField::Ovelse, QStringLiteral("LÆ")},
                                 {OvelseRnField::Sted, QStringLiteral("STADION")},
                                 {OvelseRnField::DatoTid, 45444.5}});
    TResultatTable resultater;
    resultater.Open();
    resultater.Insert();
    resultater.GetField(ResultatField::StID)->SetAsInteger(CurrentStID());
    resultater.GetField(ResultatField::Klasse)->SetAsString("K");
    resultater.GetField(ResultatField::Ovelse)->SetAsString("LÆ");
    resultater.GetField(ResultatField::Startnummer)->SetAsInteger(7);
    resultater.GetField(ResultatField::Resultat)->SetAsInteger(512);
    resultater.Post();
    EXPECT_EQ(Ov().FindOvelseInfo("K", "LÆ", ""), nullptr);
    WriteBoard({"K  LÆ"});
    board.Read(true);
    ASSERT_EQ(board.Screen().Kind, TBoardScreenKind::Round);
    EXPECT_EQ(Startnumre(board.Screen()), QStringList{"7"});
    EXPECT_EQ(board.Screen().Rows.front().Resultat, "5.12");
}

TEST_F(BoardPagesTest, AFileWrittenAgainOverAnUnchangedProgrammeKeepsTheProgrammeAsRead) {
    Results(Round("K", "100"), 1, 2, [](qint32 nr) { return 1200 + nr; });
    WriteBoard({"K  100"});
    // The board's program opens the meet.
    Ov().Reload();
    TBoardPages board(1);
    board.Read(false);
    // A mark on a round the board does not show: it goes only when the programme is read anew.
    Ov().FindOvelseInfo("M", "HØ", "")->AntalHeat = 99;
    WriteBoard({"K  100", "M  LÆ"});
    board.Read(true);
    EXPECT_EQ(Ov().FindOvelseInfo("M", "HØ", "")->AntalHeat, 99) << "the programme was read again";
    EXPECT_EQ(board.Ovelser().size(), 2u);
    EXPECT_EQ(board.Screen().OvelseText, Round("K", "100").GetOvelseText());

    // A round moved by another program: the programme is read anew.
    TOvelseRnTable runder;
    runder.Open();
    ASSERT_TRUE(runder.First());
    runder.Edit();
    runder.GetField(OvelseRnField::DatoTid)->SetAsFloat(45444.75);
    runder.Post();
    WriteBoard({"K  100"});
    board.Read(true);
    EXPECT_EQ(Ov().FindOvelseInfo("M", "HØ", "")->AntalHeat, 0);
}

TEST_F(BoardPagesTest, AStepLoadsOnlyTheRoundItShowsWithOneResultManager) {
    Results(Round("M", "LÆ"), 1, 10, [](qint32 nr) { return 500 + nr; });
    Results(Round("K", "100"), 11, 10, [](qint32 nr) { return 1200 + nr; });
    WriteBoard({"M  LÆ", "M  HØ", "M  KU", "K  100"});
    Results(Round("M", "HØ"), 21, 5, [](qint32) { return 0; });
    TBoardPages board(1);
    board.Read(false);
    EXPECT_EQ(board.LoadCount(), 1) << "the long jump";
    board.Read(true);
    // High jump (entries without results) and shot put (no entries) passed over on their records.
    EXPECT_EQ(board.LoadCount(), 2);
    EXPECT_EQ(board.Item(), 3);
    board.Read(true);
    board.Read(true);
    EXPECT_EQ(board.LoadCount(), 4) << "the long jump and the 100 m, each once";
}

TEST_F(BoardPagesTest, PicturesComeAfterTheRoundsAndAMissingOrDamagedOneIsLeftOut) {
    Results(Round("M", "LÆ"), 1, 2, [](qint32 nr) { return 500 + nr; });
    WriteFile(Path("sponsor.jpg"), Picture());
    WriteFile(Path("halv.jpg"), Picture().left(Picture().size() / 2));
    WriteFile(Path("tekst.jpg"), "ingen jpeg");
    WriteBoard({"PICTURE,sponsor.jpg", "PICTURE,halv.jpg", "PICTURE,findes-ikke.jpg", "PICTURE,tekst.jpg",
                "M  LÆ", "PICTURE," + Path("SPONSOR.JPG")});
    TBoardPages board(1);
    board.Read(false);
    ASSERT_EQ(board.Pictures().size(), 2u);
    EXPECT_EQ(board.Pictures().front().size(), QSize(32, 24));
    EXPECT_EQ(board.Screen().Kind, TBoardScreenKind::Round);
    board.Read(true);
    EXPECT_EQ(board.Screen().Kind, TBoardScreenKind::Picture);
    EXPECT_EQ(board.Screen().Picture, 0);
    board.Read(true);
    EXPECT_EQ(board.Screen().Picture, 1);
    board.Read(true);
    EXPECT_EQ(board.Screen().Kind, TBoardScreenKind::Round);
}

// The picture at that size, written progressive as a camera may write it.
QByteArray ProgressivePicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return buffer.data();
}

TEST(BoardJpegTest, APictureFarLargerThanTheScreenIsLeftOutAtItsHeader) {
    // Sixteen times the screen's pixels is the most.
    EXPECT_EQ(DecodeJpeg(Picture(), QSize(8, 6)).size(), QSize(8, 6));
    EXPECT_TRUE(DecodeJpeg(Picture(), QSize(7, 6)).isNull());
    EXPECT_TRUE(DecodeJpeg(Picture(), QSize(4, 3)).isNull());
    const QByteArray progressive = ProgressivePicture(QSize(64, 48));
    EXPECT_EQ(DecodeJpeg(progressive, QSize(16, 12)).size(), QSize(16, 12));
    EXPECT_EQ(DecodeJpeg(progressive).size(), QSize(64, 48));
    // A few hundred bytes that declare 63742 x 58145 pixels: gigabytes, had the decoder believed them.
    QByteArray huge = progressive;
    const qsizetype frame = huge.indexOf("\xff\xc2");
    ASSERT_GT(frame, 0);
    huge.replace(frame + 5, 4, QByteArray("\xe3\x21\xf8\xfe", 4));
    EXPECT_TRUE(DecodeJpeg(huge).isNull());
    EXPECT_TRUE(DecodeJpeg(huge, QSize(1920, 1080)).isNull());
}

TEST_F(BoardPagesTest, APictureOrAFileTooLargeForTheScreenIsLeftOut) {
    WriteFile(Path("sponsor.jpg"), Picture());
    // The same picture with more bytes after it than a picture of its size could need.
    WriteFile(Path("lang.jpg"), Picture() + QByteArray(int(MaxJpegFileBytes(QSize(8, 6))), '\0'));
    WriteBoard({"PICTURE,sponsor.jpg", "PICTURE,lang.jpg"});
    TBoardPages board(1);
    board.SetScreenSize(QSize(8, 6));
    board.Read(false);
    ASSERT_EQ(board.Pictures().size(), 1u);
    EXPECT_EQ(board.Pictures().front().size(), QSize(8, 6));
    TBoardPages small(1);
    small.SetScreenSize(QSize(4, 3));
    small.Read(false);
    EXPECT_TRUE(small.Pictures().empty());
    EXPECT_EQ(small.Screen().Kind, TBoardScreenKind::Title);
}

TEST(BoardJpegTest, APictureDecodesWholeOrNotAtAll) {
    const QImage whole = DecodeJpeg(Picture());
    ASSERT_EQ(whole.size(), QSize(32, 24));
    EXPECT_GT(qRed(whole.pixel(16, 0)), 150) << "red at the top";
    EXPECT_GT(qBlue(whole.pixel(16, 23)), 150) << "blue at the bottom";
    EXPECT_EQ(DecodeJpeg(Picture(), QSize(8, 6)).size(), QSize(8, 6)) << "a quarter is enough";
    EXPECT_EQ(DecodeJpeg(Picture(), QSize(20, 10)).size(), QSize(32, 24));
    for (const QByteArray& damaged :
         {Picture().left(320), Picture().left(200), Picture().left(20), QByteArray("GIF89a"), QByteArray()})
        EXPECT_TRUE(DecodeJpeg(damaged).isNull()) << damaged.size();
}

TEST_F(BoardPagesTest, AFunRunShowsTheTimeRunAndKeepsTheLastLineForItsCounts) {
    Manager().SystemData().Motionsloeb = true;
    // Started at 13:00 (the fixture's time); finishes at 13:42:07 and 14:05:30, as packed times of day.
    Results(Round("K", "100"), 1, 1, [](qint32) { return 134207; });
    Results(Round("K", "100"), 2, 1, [](qint32) { return 140530; });
    WriteBoard({"K  100"});
    TBoardPages board(1);
    board.Read(false);
    ASSERT_EQ(board.Screen().Rows.size(), 2u);
    EXPECT_EQ(board.Screen().Rows[0].Resultat, "0:42:07");
    EXPECT_EQ(board.Screen().Rows[1].Resultat, "1:05:30");
    EXPECT_EQ(board.Screen().MotionCounts, "I mål: 2  Tilmeldt: 2");
    EXPECT_EQ(board.RowsPerPage(), 14);
    Manager().SystemData().Motionsloeb = false;
    EXPECT_EQ(board.RowsPerPage(), 15);
}

TEST_F(BoardPagesTest, TheBoardWritesNothing) {
    Results(Round("M", "LÆ"), 1, 20, [](qint32 nr) { return 500 + nr; });
    WriteBoard({"M  LÆ"});
    const auto files = [this] { return FolderFiles({Dir(), qEnvironmentVariable("XDG_CONFIG_HOME")}); };
    const auto before = files();
    {
        TBoardPages board(1);
        for (int step = 0; step < 5; ++step)
            board.Read(step > 0);
        WriteBoard({"K  100", "M  LÆ"});
        board.Read(true);
        EXPECT_EQ(board.Ovelser().size(), 2u);
    }
    auto after = files();
    after.erase(Path("BOARD1"));
    auto expected = before;
    expected.erase(Path("BOARD1"));
    EXPECT_EQ(after, expected);
}

TEST(BoardLayoutTest, TheFontGrowsUntilItsTextFillsARowAndTheColumnsArePercentages) {
    const TTextHeight height = [](int size) { return size * 6 / 5; };
    // Height 60 is first reached at size 50.
    EXPECT_EQ(FitFontSize(60, height), 47);
    EXPECT_EQ(FitFontSize(5, height), 7) << "at least the first size, less 3";
    EXPECT_GT(FitFontSize(100, [](int) { return 0; }), 0) << "a measure that never reaches stops";
    const TBoardLayout layout = BoardLayout(QSize(1000, 1020), 17, height);
    EXPECT_EQ(layout.RowHeight, 60);
    EXPECT_EQ(layout.FontSize, 47);
    EXPECT_EQ(layout.SmallSize, 38);
    EXPECT_EQ(layout.SmallDrop, height(47) - height(38) - 1);
    EXPECT_EQ(layout.HeadingSize, 23);
    EXPECT_EQ(std::vector<int>({layout.NrRight, layout.StartnrRight, layout.ResultatRight, layout.NavnLeft}),
              std::vector<int>({90, 180, 400, 450}));
    EXPECT_EQ(BoardLayout(QSize(1366, 768), 17, height).NrRight, 123) << "rounded";
}

} // namespace

namespace {

TEST(BoardHeadLine, OnANarrowBoardTheClassAndCountsEndBeforeTheEventTextAndOnAWideOneStandWhole) {
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(30);
    const QFontMetrics metrics(font);
    TBoardScreen screen;
    screen.KlasseText = QStringLiteral("Mænd senior");
    screen.Counts = QStringLiteral("    I mål: 12  Tilmeldt: 12");
    screen.OvelseText = QStringLiteral("100 m - indledende");

    const TBoardHeadLine wide = FitHeadLine(screen, 1600, metrics);
    EXPECT_EQ(wide.KlasseText, screen.KlasseText);
    EXPECT_EQ(wide.Counts, screen.Counts);
    EXPECT_EQ(wide.OvelseLeft, 1600 - BoardRightMargin - metrics.horizontalAdvance(screen.OvelseText));

    for (const int width : {800, 500}) {
        const TBoardHeadLine narrow = FitHeadLine(screen, width, metrics);
        const int countsEnd = narrow.CountsLeft + metrics.horizontalAdvance(narrow.Counts);
        EXPECT_LE(BoardLeftMargin + metrics.horizontalAdvance(narrow.KlasseText), narrow.OvelseLeft) << width;
        if (!narrow.Counts.isEmpty()) {
            EXPECT_LE(countsEnd, narrow.OvelseLeft) << width;
        }
    }
    EXPECT_TRUE(FitHeadLine(screen, 800, metrics).Counts.endsWith(QChar(0x2026)));
    // Where the event text alone fills the line, nothing stands left of it.
    const TBoardHeadLine tiny = FitHeadLine(screen, 200, metrics);
    EXPECT_TRUE(tiny.KlasseText.isEmpty() && tiny.Counts.isEmpty());
}

} // namespace
