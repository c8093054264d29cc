#include "print/PrUtil.h"
#include "print/PrUtilCanvas.h"

#include "PrintRecorder.h"
#include "support/Test.h"

namespace {

constexpr auto Body = TPrintSection::Body;

// Body rows 1..count, each a text of fixed height (units) with spaceBefore above it.
void AddRows(TPrint& print, int count, int height, int spaceBefore = 0) {
    for (int row = 1; row <= count; ++row) {
        print.AddField(Body, TPrintAlignment::Left, 0, row, 0, TFieldKind::Text, QString::number(row));
        TPrintLine& line = print.GetLine(Body, row);
        line.Height = -height;
        line.SpaceBefore = static_cast<quint16>(spaceBefore);
    }
}

// Each page as "first-last" (0-based line indexes).
QStringList PagesOf(TPrint& print, int pageHeight) {
    print.Measure();
    print.Paginate(pageHeight);
    QStringList pages;
    for (const TPrintPage& page : print.Pages())
        pages.append(QStringLiteral("%1-%2").arg(page.First).arg(page.Last));
    return pages;
}

TEST(PrUtilLayoutTest, NewPageBreaksExceptAtTheTopOfAPage) {
    TPrint print;
    AddRows(print, 10, 100);
    print.GetLine(Body, 6).NewPage = true; // the first line of page 2 anyway
    EXPECT_EQ(PagesOf(print, 500), QStringList({"0-4", "5-9"}));
    print.GetLine(Body, 3).NewPage = true;
    print.GetLine(Body, 1).NewPage = true;
    EXPECT_EQ(PagesOf(print, 500), QStringList({"0-1", "2-4", "5-9"}));
}

TEST(PrUtilLayoutTest, ABlockMovesToTheNextPageWholeUnlessItIsTallerThanAPage) {
    // Rows of 100 units on pages of 500: a block of 300 where 200 are left moves; one taller than a page
    // is cut where it falls; one exactly a page high is not moved either.
    const struct {
        int From, To;
        QStringList Pages;
    } cases[] = {{4, 6, {"0-2", "3-7", "8-9"}}, {2, 8, {"0-4", "5-9"}}, {3, 7, {"0-4", "5-9"}}};
    for (const auto& block : cases) {
        TPrint print;
        AddRows(print, 10, 100);
        print.AddBlock(block.From, block.To);
        EXPECT_EQ(PagesOf(print, 500), block.Pages) << block.From;
    }
}

TEST(PrUtilLayoutTest, SpaceBeforeIsDroppedAtTheTopOfEveryPageAndTheHeaderAndFooterTakeTheirRoom) {
    TPrint print;
    print.SetTopMargin(0.1); // 100 units
    print.SetBottomMargin(0.05);
    print.AddField(TPrintSection::Header, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Text, "H");
    print.GetLine(TPrintSection::Header, 1).Height = -200;
    print.AddField(TPrintSection::Footer, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Text, "F");
    print.GetLine(TPrintSection::Footer, 1).Height = -100;
    AddRows(print, 7, 100, 50);
    // 1000 units less a header of 300 and a footer of 150: 550 for 100 + 150 + 150 + 150.
    EXPECT_EQ(PagesOf(print, 1000), QStringList({"0-3", "4-6"}));
    QList<int> tops;
    for (int i = 0; i < print.Lines(Body).Count(); ++i)
        tops.append(print.Lines(Body)[i].Top);
    EXPECT_EQ(tops, QList<int>({300, 450, 600, 750, 300, 450, 600}));
}

TEST(PrUtilLayoutTest, OneLongPageHasTheHeaderOnceNoFooterAndNoForcedBreaks) {
    TPrint print;
    print.OneLongPage = true;
    print.AddField(TPrintSection::Header, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Text, "Hoved");
    print.GetLine(TPrintSection::Header, 1).Height = -3000;
    print.AddField(TPrintSection::Footer, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Text, "Fod");
    print.GetLine(TPrintSection::Footer, 1).Height = -1000;
    AddRows(print, 12, 1000);
    print.GetLine(Body, 3).NewPage = true;
    print.AddBlock(5, 7);
    // A page of 4 inches (10,160 units): the first holds 10,160 - 3,000, the next ones all of it.
    EXPECT_EQ(PagesOf(print, 10160), QStringList({"0-6", "7-11"}));

    TRecordingDevice device(300, QSizeF(8.5, 4));
    RecordPrint(print, device);
    EXPECT_EQ(device.Page, 1);
    EXPECT_EQ(device.TextsOf(0).count("Hoved"), 1);
    EXPECT_FALSE(device.TextsOf(1).contains("Hoved"));
    EXPECT_FALSE(device.Find("Fod"));
}

TEST(PrUtilLayoutTest, LineHeightsAreFixedMinimumOrTheTallestField) {
    TPrint print;
    TUnitMetrics metrics;
    const int fontHeight = metrics.Height(TPrintFont());
    ASSERT_GT(fontHeight, 300); // Arial 10 is about 4 mm high
    for (int row = 1; row <= 3; ++row)
        print.AddField(Body, TPrintAlignment::Left, 0, row, 0, TFieldKind::Text, "x");
    print.GetLine(Body, 1).Height = -150;
    print.GetLine(Body, 2).Height = 150;
    print.GetLine(Body, 3).Height = 900;
    print.AddField(Body, TPrintAlignment::Left, 0, 4, 0, TFieldKind::Text, "");
    print.LineFont().Size = 20;
    print.AddField(Body, TPrintAlignment::Left, 5, 4, 0, TFieldKind::Text, "stor");
    print.Measure();
    QList<int> heights;
    for (int i = 0; i < 4; ++i)
        heights.append(print.Lines(Body)[i].MeasuredHeight);
    EXPECT_EQ(heights, QList<int>({150, fontHeight, 900, metrics.Height(print.LineFont())}));
}

TEST(PrUtilLayoutTest, MultiLineTextWrapsAtBlanksAndKeepsAnOverlongWordWhole) {
    TPrint print;
    TUnitMetrics metrics;
    const TPrintFont font;
    const double twoWords = metrics.Width(font, "aaaa bbbb");
    const double width = (twoWords + 1) / 1000; // cm
    print.AddField(Body, TPrintAlignment::Left, 0, 1, width, TFieldKind::MultiLine,
                   "aaaa bbbb cccc Overordentligtlangtord dd\r\nny linje\r\n");
    print.AddField(Body, TPrintAlignment::Left, 0, 2, width, TFieldKind::MultiLine, "");
    print.Measure();
    const TPrintLine& line = print.GetLine(Body, 1);
    EXPECT_EQ(line.Fields[0].Lines,
              QStringList({"aaaa bbbb", "cccc", "Overordentligtlangtord", "dd", "ny linje"}));
    EXPECT_EQ(line.MeasuredHeight, 5 * metrics.Height(font));
    EXPECT_EQ(print.GetLine(Body, 2).Fields[0].Lines, QStringList({""}));

    print.SetMultiLineSeparator("|");
    print.Measure();
    EXPECT_EQ(print.GetLine(Body, 2).Fields[0].Lines, QStringList({""}));
    EXPECT_FALSE(print.GetLine(Body, 1).Fields[0].Lines.contains("ny linje")); // CR LF separates no more
}

TEST(PrUtilLayoutTest, PageNumbersCountOnAndRestartWhereALineSaysSo) {
    TPrint print;
    print.AddField(TPrintSection::Footer, TPrintAlignment::CenterMargins, 0, 1, 0, TFieldKind::PageNumber,
                   "Side ");
    AddRows(print, 4, 100);
    print.GetLine(Body, 2).NewPage = true;
    print.GetLine(Body, 3).NewPage = true;
    print.GetLine(Body, 3).NewPageNo = 7;
    print.GetLine(Body, 4).NewPage = true;
    TRecordingDevice device(300);
    RecordPrint(print, device);
    RecordPrint(print, device); // a second run goes on counting
    QStringList numbers;
    for (const TRecordedText& text : device.Texts)
        if (text.Text.startsWith("Side"))
            numbers.append(text.Text);
    EXPECT_EQ(numbers,
              QStringList({"Side 1", "Side 2", "Side 7", "Side 8", "Side 9", "Side 10", "Side 7", "Side 8"}));
}

} // namespace
