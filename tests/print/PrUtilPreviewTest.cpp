#include "print/PrUtil.h"

#include "PrintRecorder.h"
#include "support/PrinterToPdf.h"
#include "support/Test.h"

#include <QPageLayout>
#include <QPainter>

namespace {

constexpr auto Body = TPrintSection::Body;

// Records what Preview hands over, and the printer's orientation at that moment.
class PrUtilPreviewTest : public ::testing::Test {
protected:
    PrUtilPreviewTest()
        : previous_(SetPrintPreviewWindow([this](TPrint& print) {
            shown_.append(&print);
            orientation_ = Platform::CurrentPrinter().pageLayout().orientation();
        })) {}
    ~PrUtilPreviewTest() override { SetPrintPreviewWindow(std::move(previous_)); }

    TPrintPreviewWindow previous_;
    QList<TPrint*> shown_;
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    TPrinterToPdf pdf_;
};

TEST_F(PrUtilPreviewTest, AnEmptyBodyShowsAndPrintsNothing) {
    TPrint print;
    print.AddField(TPrintSection::Header, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Text, "kun hoved");
    print.Printed = true;
    print.Preview();
    EXPECT_TRUE(shown_.isEmpty());
    EXPECT_FALSE(print.Printed);
    print.Print();
    EXPECT_FALSE(QFile::exists(pdf_.FileName()));
    EXPECT_FALSE(print.Printed);
    EXPECT_TRUE(print.DrawPreview(96).IsEmpty());
}

TEST_F(PrUtilPreviewTest, ThePreviewAndThePrinterRunInTheListsOrientationAndPutThePrintersBack) {
    TPrint print;
    print.Orientation = TPrintOrientation::Landscape;
    print.Title = "Startliste";
    print.AddField(Body, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Text, "linje");
    print.Preview();
    ASSERT_EQ(shown_, QList<TPrint*>({&print}));
    EXPECT_EQ(orientation_, QPageLayout::Landscape);
    EXPECT_EQ(Platform::CurrentPrinter().pageLayout().orientation(), QPageLayout::Portrait);

    print.Print();
    EXPECT_TRUE(print.Printed);
    EXPECT_EQ(Platform::CurrentPrinter().pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(PdfFilePages(pdf_.FileName()).size(), 1);
    EXPECT_EQ(Platform::CurrentPrinter().docName(), "Startliste");
}

TEST_F(PrUtilPreviewTest, ThePreviewShowsEveryPageOneBelowTheOtherWithItsFooterAtTheBottom) {
    TPrint print;
    print.AddField(TPrintSection::Header, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Text, "Hoved");
    print.AddField(TPrintSection::Footer, TPrintAlignment::Left, 0, 1, 0, TFieldKind::PageNumber, "Side ");
    for (int row = 1; row <= 30; ++row)
        print.AddField(Body, TPrintAlignment::Left, 0, row, 0, TFieldKind::Text,
                       QStringLiteral("R%1").arg(row));
    print.GetLine(Body, 11).NewPage = true;
    print.PageNo = 3;

    const TPrintPreviewLayout layout = print.DrawPreview(96);
    EXPECT_EQ(print.PageNo, 5);
    ASSERT_EQ(layout.Pages.size(), 2u);
    const QPrinter& printer = Platform::CurrentPrinter();
    EXPECT_EQ(layout.Width, qRound(printer.width() * 96.0 / printer.logicalDpiX()));
    const TPrintPreviewPage& second = layout.Pages[1];
    EXPECT_EQ(second.Top, layout.Pages[0].Height + TPrintPreviewLayout::PageGap);
    EXPECT_EQ(layout.Height, second.Top + second.Height);
    EXPECT_GT(second.Height, layout.Pages[0].Height); // 20 lines against 10

    TRecordingDevice device(96, QSizeF(layout.Width / 96.0, layout.Height / 96.0));
    {
        QPainter painter(&device);
        print.PaintPreview(painter, layout, QRect(0, 0, layout.Width, layout.Height));
    }
    EXPECT_EQ(print.PageNo, 5);
    EXPECT_EQ(device.TextsOf(0).filter("Side"), QStringList({"Side 4", "Side 5"}));
    EXPECT_EQ(device.TextsOf(0).count("Hoved"), 2);
    EXPECT_GT(device.Find("R11")->Baseline.y(), second.Top);
    EXPECT_NEAR(device.Find("Side 5")->Baseline.y(), layout.Height, 6);

    // Only what meets the painted area is drawn.
    TRecordingDevice part(96, QSizeF(layout.Width / 96.0, layout.Height / 96.0));
    {
        QPainter painter(&part);
        print.PaintPreview(painter, layout, QRect(0, second.Top, layout.Width, 25));
    }
    EXPECT_EQ(part.TextsOf(0), QStringList({"Hoved", "R11"}));
}

} // namespace
