#include "print/PrUtil.h"

#include "PrintRecorder.h"
#include "support/PrinterToPdf.h"
#include "support/Test.h"

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QTemporaryDir>

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

// ---------------------------------------------------------------- no printer

// No printer set up, and the no-printer choice replaced by one that notes each question and answers from a
// list.
class NoPrinter : public ::testing::Test {
protected:
    NoPrinter()
        : previous_(SetNoPrinterChoice([this](TPrint& print) {
            Asked.append(print.Title);
            return Answers.isEmpty() ? QString() : Answers.takeFirst();
        })) {}
    ~NoPrinter() override { SetNoPrinterChoice(previous_); }
    static void AddLine(TPrint& print, const QString& text) {
        print.AddField(Body, TPrintAlignment::Left, 0, print.Lines(Body).Count() + 1, 0, TFieldKind::Text,
                       text);
    }
    QString Path(const QString& name) const { return folder_.filePath(name); }

    QStringList Asked;
    QStringList Answers;

private:
    const TNoPrinter none_;
    QTemporaryDir folder_;
    TNoPrinterChoice previous_;
};

TEST_F(NoPrinter, TheChoiceIsAskedOnceAJob_ItsRunsGoToThePdfAndNumberedOnesBesideIt) {
    EXPECT_FALSE(Platform::PrinterIsSetUp());
    TPrint print;
    print.Title = "Resultatliste";
    AddLine(print, "første klasse");
    Answers = QStringList({Path("liste.pdf")});
    print.Print();
    EXPECT_TRUE(print.Printed);
    print.ClearSection(Body);
    AddLine(print, "anden klasse");
    print.Print();
    EXPECT_EQ(Asked, QStringList({"Resultatliste"}));
    EXPECT_EQ(PdfFilePages(Path("liste.pdf")).join("").simplified(), "første klasse");
    EXPECT_EQ(PdfFilePages(Path("liste-2.pdf")).join("").simplified(), "anden klasse");

    // A new print asks again, and an answer of nothing prints nothing, for the rest of the job too.
    print.ForgetPdfChoice();
    print.Printed = false;
    print.Print();
    print.Print();
    EXPECT_EQ(Asked.size(), 2);
    EXPECT_FALSE(print.Printed);
    EXPECT_FALSE(QFile::exists(Path("liste-3.pdf")));
}

TEST_F(NoPrinter, AFileThatCannotBeWrittenIsNamedWithItsCause_AndWithoutAChoiceThePrintFailsSayingSo) {
    TPrint print;
    AddLine(print, "linje");
    Answers = QStringList({Path("mangler/liste.pdf")});
    try {
        print.Print();
        ADD_FAILURE() << "no failure";
    } catch (const EPrintError& error) {
        EXPECT_TRUE(error.Message().startsWith("Listen kan ikke gemmes som PDF-filen"))
            << error.Message().toStdString();
        EXPECT_TRUE(error.Message().contains("mappen")) << error.Message().toStdString();
        EXPECT_TRUE(error.Message().contains("findes ikke")) << error.Message().toStdString();
    }
    EXPECT_FALSE(print.Printed);

    // A folder of the name is no file to write.
    ASSERT_TRUE(QDir().mkpath(Path("mappe.pdf")));
    TPrint other;
    AddLine(other, "linje");
    Answers = QStringList({Path("mappe.pdf")});
    try {
        other.Print();
        ADD_FAILURE() << "no failure";
    } catch (const EPrintError& error) {
        EXPECT_TRUE(error.Message().contains("er en mappe")) << error.Message().toStdString();
    }

    SetNoPrinterChoice(nullptr);
    TPrint alone;
    AddLine(alone, "linje");
    try {
        alone.Print();
        ADD_FAILURE() << "no failure";
    } catch (const EPrintError& error) {
        EXPECT_EQ(error.Message(), "Der er ingen printer sat op, så listen kan ikke udskrives.");
    }
}

} // namespace
