#include "ui/PrUtilPrintForm.h"

#include "UiTestSupport.h"
#include "support/PrinterToPdf.h"
#include "support/Test.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPrintDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>

namespace {

void AddRows(TPrint& print, int count) {
    for (int row = 1; row <= count; ++row)
        print.AddField(TPrintSection::Body, TPrintAlignment::Left, 0, row, 0, TFieldKind::Text,
                       QStringLiteral("Række %1").arg(row));
}

TEST(PrUtilPrintFormTest, ThePrintButtonPrintsFromPageOneAndACancelledSetUpPrintsNothing) {
    const TPrinterToPdf pdf;
    TPrint print;
    AddRows(print, 3);
    print.AddField(TPrintSection::Footer, TPrintAlignment::Left, 0, 1, 0, TFieldKind::PageNumber, "Side ");
    TPrUtilPrintForm form(print);
    form.DrawPreview();

    bool setUpShown = false;
    OnNextModal<QPrintDialog>([&](QPrintDialog& setUp) {
        setUpShown = true;
        setUp.reject();
    });
    form.PrinterSetupClick();
    EXPECT_TRUE(setUpShown);
    EXPECT_FALSE(QFile::exists(pdf.FileName()));
    EXPECT_FALSE(print.Printed);

    print.PageNo = 9;
    form.UdskrivTilPrinter->trigger();
    EXPECT_TRUE(print.Printed);
    EXPECT_EQ(print.PageNo, 1);
    EXPECT_TRUE(ReadFile(pdf.FileName()).startsWith("%PDF"));
    EXPECT_FALSE(form.PrintImage->Layout().IsEmpty()); // laid out again for the window
}

TEST(PrUtilPrintFormTest, PreviewOpensTheWindowModallyOnceTheWindowProgramInstalledIt) {
    TPrint print;
    AddRows(print, 5);
    print.Preview(); // nothing installed: nothing shown, nothing waits
    InstallPrintPreviewWindow();
    print.HideToolbar = true;
    bool toolbar = true; // false once the window came without it
    OnNextModal<TPrUtilPrintForm>([&](TPrUtilPrintForm& form) {
        toolbar = form.MenuToolBar->isVisible();
        form.close();
    });
    print.Preview();
    SetPrintPreviewWindow(nullptr);
    EXPECT_FALSE(toolbar);
    EXPECT_FALSE(print.Printed);
}

// Page Up and Page Down move the picture by the view's height less 20 pixels, End and Home to its ends;
// the keys reach the form before the scroll box takes them as its own.
TEST(PrUtilPrintFormTest, PageKeysMoveThePictureByAViewLessTwentyPixels) {
    TPrint print;
    AddRows(print, 300);
    TPrUtilPrintForm form(print);
    form.DrawPreview();
    form.show();
    QScrollBar* bar = form.PrintScrollBox->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 1000);
    const auto press = [&](Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(form.PrintScrollBox, &event);
        return bar->value();
    };
    const int page = form.PrintScrollBox->height() - 20;
    EXPECT_EQ(press(Qt::Key_PageDown), page);
    EXPECT_EQ(press(Qt::Key_PageDown), 2 * page);
    EXPECT_EQ(press(Qt::Key_PageUp), page);
    EXPECT_EQ(press(Qt::Key_End), bar->maximum());
    EXPECT_EQ(press(Qt::Key_PageDown), bar->maximum()) << "never past the end";
    EXPECT_EQ(press(Qt::Key_Home), 0);
    EXPECT_EQ(press(Qt::Key_PageUp), 0) << "never before the start";
}

} // namespace
