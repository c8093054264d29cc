#include "platform/Printer.h"

#include "support/Test.h"

#include <QPrinter>

namespace {

TEST(Printer, ChoiceFallsBackToTheDefaultThenTheFirstThenNone) {
    const QStringList installed = {"Kontor", "Stævne-laser", "PDF"};
    EXPECT_EQ(Platform::ChoosePrinter("Stævne-laser", installed, "PDF"), "Stævne-laser");
    EXPECT_EQ(Platform::ChoosePrinter("stævne-laser", installed, "PDF"), "PDF");
    EXPECT_EQ(Platform::ChoosePrinter(QString(), installed, "PDF"), "PDF");
    EXPECT_EQ(Platform::ChoosePrinter("Væk", installed, QString()), "Kontor");
    EXPECT_EQ(Platform::ChoosePrinter("Kontor", {}, QString()), QString());
}

TEST(Printer, TheCurrentPrinterIsUsableWhateverIsInstalled) {
    const QStringList installed = Platform::PrinterNames();
    const int index = Platform::SelectPrinter(QStringLiteral("Ingen printer hedder sådan"));
    EXPECT_EQ(index, installed.isEmpty() ? -1 : int(installed.indexOf(Platform::CurrentPrinterName())));
    if (installed.isEmpty()) {
        EXPECT_EQ(Platform::CurrentPrinterName(), QString());
        EXPECT_EQ(Platform::CurrentPrinter().outputFormat(), QPrinter::PdfFormat);
    }
    const QPrinter& printer = Platform::CurrentPrinter();
    EXPECT_GT(printer.pageLayout().fullRectPixels(printer.resolution()).width(), 0);
    EXPECT_EQ(Platform::SelectPrinter(QString()), installed.isEmpty() ? -1 : index);
}

} // namespace
