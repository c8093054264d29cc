#include "platform/Printer.h"

#include <QCoreApplication>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>
#include <optional>

namespace Platform {

namespace {

struct TCurrent {
    std::unique_ptr<QPrinter> Printer;
    // Asking the print system is slow: the same request again keeps the choice it gave.
    std::optional<QString> Request;
    int Index = -1;
};

TCurrent& Current() {
    static TCurrent current;
    return current;
}

void FreePrinter() {
    Current() = TCurrent();
}

} // namespace

QStringList PrinterNames() {
    return QPrinterInfo::availablePrinterNames();
}

QString ChoosePrinter(const QString& name, const QStringList& installed, const QString& defaultName) {
    if (!name.isEmpty() && installed.contains(name))
        return name;
    if (!defaultName.isEmpty() && installed.contains(defaultName))
        return defaultName;
    return installed.isEmpty() ? QString() : installed.first();
}

QPrinter& CurrentPrinter() {
    TCurrent& current = Current();
    if (!current.Printer) {
        current.Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // The printer must not outlive the print system that the application object holds.
        if (QCoreApplication::instance())
            qAddPostRoutine(FreePrinter);
    }
    return *current.Printer;
}

int SelectPrinter(const QString& name) {
    QPrinter& printer = CurrentPrinter();
    TCurrent& current = Current();
    if (current.Request == name)
        return current.Index;
    const QStringList installed = PrinterNames();
    const QString chosen = ChoosePrinter(name, installed, QPrinterInfo::defaultPrinterName());
    if (chosen.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(chosen);
    }
    current.Request = name;
    current.Index = static_cast<int>(installed.indexOf(chosen));
    return current.Index;
}

bool PrinterIsSetUp() {
    const QPrinter& printer = CurrentPrinter();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return !printer.printerName().isEmpty();
}

QString CurrentPrinterName() {
    return CurrentPrinter().printerName();
}

QString RequestedPrinter() {
    return Current().Request.value_or(QString());
}

} // namespace Platform
