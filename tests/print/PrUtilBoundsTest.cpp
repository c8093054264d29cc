#include "print/D_Print.h"
#include "print/PrUtil.h"
#include "print/PrUtilCanvas.h"

#include "PrintMeet.h"
#include "PrintRecorder.h"
#include "PrintStream.h"
#include "foundation/Windows1252.h"
#include "support/RecordedMessages.h"
#include "support/Test.h"

#include <QImage>
#include <QPainter>

#include <limits>

// Damaged print data and report files with sizes far beyond any page: read, measured, paginated and drawn
// on the printer and in the preview, every size bounded where it is read.
namespace {

constexpr auto Body = TPrintSection::Body;
constexpr qint32 Huge = 2000000000;

QByteArray Integer(qint32 value) {
    const auto u = static_cast<quint32>(value);
    return QByteArray("\x02", 1) + char(u & 0xFF) + char((u >> 8) & 0xFF) + char((u >> 16) & 0xFF) +
           char((u >> 24) & 0xFF);
}

// Every stored integer `from` replaced by `to`.
QByteArray Patched(QByteArray bytes, qint32 from, qint32 to) {
    EXPECT_TRUE(bytes.contains(Integer(from))) << from;
    return bytes.replace(Integer(from), Integer(to));
}

// Fields of every kind that sizes its text, a barcode and rules, in the body, header and footer.
void AddEveryKind(TPrint& print, int rows) {
    for (int row = 1; row <= rows; ++row) {
        print.AddField(Body, TPrintAlignment::Left, 0, row, 0, TFieldKind::Text, "tekst");
        print.AddField(Body, TPrintAlignment::Right, 2, row, 3, TFieldKind::FitText, "Atletikstævne");
        print.AddField(Body, TPrintAlignment::Center, 6, row, 2, TFieldKind::SmallDecimals, "12,34");
        print.AddField(Body, TPrintAlignment::Right, 9, row, 2, TFieldKind::FitSmallDecimals, "1234.56");
        print.AddField(Body, TPrintAlignment::Left, 12, row, 2, TFieldKind::MultiLine, "to ord\r\nmere");
        print.AddField(Body, TPrintAlignment::Left, 15, row, 4, TFieldKind::Ean13, "5701234567899");
        print.AddField(Body, TPrintAlignment::Left, 0, row + 0.5, 0, TFieldKind::HorizontalRule, "0,02");
    }
    print.AddField(TPrintSection::Header, TPrintAlignment::RightMargin, 0, 1, 0, TFieldKind::Text, "hoved");
    print.AddField(TPrintSection::Footer, TPrintAlignment::CenterMargins, 0, 1, 0, TFieldKind::PageNumber,
                   "Side ");
}

// Printed at 600 dpi and shown in the preview; the texts printed.
QStringList PrintedAndPreviewed(TPrint& print) {
    TRecordingDevice device(600);
    RecordPrint(print, device);
    const TPrintPreviewLayout layout = print.DrawPreview(96);
    EXPECT_FALSE(layout.IsEmpty());
    QImage image(200, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    for (const TPrintPreviewPage& page : layout.Pages)
        print.PaintPreview(painter, layout, QRect(0, page.Top, 200, 200));
    QStringList texts;
    for (const TRecordedText& text : device.Texts)
        texts << text.Text;
    return texts;
}

TEST(PrUtilBoundsTest, AStreamWithAHugeFontSizeIsDrawnAtTheLargestSize) {
    TPrint original;
    original.LineFont().Size = 7777;
    AddEveryKind(original, 2);
    for (const qint32 size : {Huge, std::numeric_limits<qint32>::max(), -Huge, 0}) {
        TPrint print;
        Read(print, Patched(Streamed(original), 7777, size));
        const int bounded = size > 0 ? MaxFontSize : 1;
        EXPECT_EQ(print.GetLine(Body, 1).Fields.at(0).Font->Font.Size, bounded);
        print.Measure();
        EXPECT_GT(print.GetLine(Body, 1).MeasuredHeight, 0); // the font's own measure holds at that size
        const QStringList texts = PrintedAndPreviewed(print);
        EXPECT_TRUE(texts.contains("tekst")) << size;
        EXPECT_TRUE(texts.contains("hoved")) << size;
    }
}

TEST(PrUtilBoundsTest, AStreamWithAHugeLineHeightIsPaginatedAndDrawn) {
    TPrint original;
    AddEveryKind(original, 40);
    original.GetLine(Body, 2).Height = -4321;    // fixed
    original.GetLine(Body, 3).Height = 4322;     // at least
    original.GetLine(Body, 4).SpaceBefore = 999; // before
    original.AddBlock(5, 30);
    for (const qint32 height :
         {Huge, -Huge, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()}) {
        TPrint print;
        Read(print, Patched(Patched(Streamed(original), -4321, height), 4322, height));
        EXPECT_EQ(print.GetLine(Body, 2).Height, height < 0 ? -MaxLineHeight : MaxLineHeight);
        const QStringList texts = PrintedAndPreviewed(print);
        EXPECT_EQ(texts.count("tekst"), 40) << height;
    }
}

TEST(PrUtilBoundsTest, SizesSetInTheModelItselfAreBoundedWhenMeasuredAndDrawn) {
    TPrint print;
    print.LineFont().Size = std::numeric_limits<int>::max();
    AddEveryKind(print, 3);
    print.LineFont().Size = std::numeric_limits<int>::min();
    print.AddField(Body, TPrintAlignment::Left, 0, 4, 0, TFieldKind::Text, "lille");
    print.GetLine(Body, 1).Height = std::numeric_limits<qint32>::min();
    print.GetLine(Body, 2).Height = std::numeric_limits<qint32>::max();
    // A rule thicker than any number of pages, and paragraphs that wrap to far more lines than a page holds.
    print.AddField(Body, TPrintAlignment::Left, 0, 5, 0, TFieldKind::HorizontalRule, "1e300");
    print.AddField(Body, TPrintAlignment::Left, 0, 5, 0, TFieldKind::VerticalRule, "99999999999");
    print.AddField(Body, TPrintAlignment::Left, 0, 6, 1, TFieldKind::MultiLine,
                   QStringList(20000, "x").join("\r\n"));
    print.OneLongPage = true;
    const QStringList texts = PrintedAndPreviewed(print);
    EXPECT_TRUE(texts.contains("lille"));
    print.OneLongPage = false;
    EXPECT_TRUE(PrintedAndPreviewed(print).contains("tekst"));
}

class TStdPrintBoundsTest : public ::testing::Test {
protected:
    // Writes the report file with one section "Liste" of these lines and loads it.
    void Load(const QString& lines) {
        const QString fileName = folder.filePath("ZUNO2.RPT");
        WriteFile(fileName, Windows1252::Encode("[Liste]\r\n" + lines));
        print.LoadLayout("Liste", fileName);
    }

    QTemporaryDir folder;
    TPrintMeet meet;
    TRecordedMessages messages;
    TStdPrint print;
};

TEST_F(TStdPrintBoundsTest, AReportFileWithAHugeFontSizeIsDrawnAtTheLargestSize) {
    Load("FontSize=2000000000\r\nHeaderFontSize=2000000000\r\nFooterFontSize=-2000000000\r\n"
         "LargeHeaderLines=4\r\nKol_1=0|3|taLeft\r\nFelt_1=Navn|0|0|0|Navn\r\n");
    EXPECT_EQ(print.LineFont().Size, MaxFontSize);
    EXPECT_EQ(print.HeaderFont().Size, MaxFontSize);
    print.AddColumnText(0, "Bjørn", 1);
    print.AddBodyRule(RuleListHeading, 2);
    const QStringList texts = PrintedAndPreviewed(print);
    EXPECT_TRUE(texts.contains("Bjørn"));
    EXPECT_TRUE(texts.contains("Navn"));
}

TEST_F(TStdPrintBoundsTest, MarginsAndColumnsBeyondThePageAreBoundedAndPrinted) {
    Load("TopMargin=2000000000\r\nBottomMargin=-2000000000\r\nLeftMargin=-1\r\nRightMargin=6554\r\n"
         "Kol_1=-3|1e300|taRight\r\nKol_2=99999|-2|taLeft\r\n");
    EXPECT_EQ(
        QList<double>({print.TopMargin(), print.BottomMargin(), print.LeftMargin(), print.RightMargin()}),
        QList<double>({65.535, 0, 0, 65.535}));
    EXPECT_EQ(std::tuple(print.Columns().at(0).Left, print.Columns().at(0).Width), std::tuple(0, 0xFFFF));
    EXPECT_EQ(std::tuple(print.Columns().at(1).Left, print.Columns().at(1).Width), std::tuple(0xFFFF, 0));
    print.AddColumnText(0, "højre", 1);
    print.AddColumnText(1, "venstre", 1);
    EXPECT_TRUE(PrintedAndPreviewed(print).contains("højre"));
}

} // namespace
