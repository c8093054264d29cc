#pragma once
// Scopes over the application's current printer for tests that print: it writes PDF to a file the scope
// names, and is put back as it was when the scope ends.
#include "platform/Printer.h"

#include <QPrinter>
#include <QTemporaryDir>

// The current printer writing PDF to fileName for as long as the object lives.
class TPrinterOutput {
public:
    explicit TPrinterOutput(const QString& fileName)
        : printer_(Platform::CurrentPrinter())
        , format_(printer_.outputFormat())
        , fileName_(printer_.outputFileName()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(fileName);
    }
    ~TPrinterOutput() {
        printer_.setOutputFileName(fileName_);
        printer_.setOutputFormat(format_);
    }
    TPrinterOutput(const TPrinterOutput&) = delete;
    TPrinterOutput& operator=(const TPrinterOutput&) = delete;

private:
    QPrinter& printer_;
    QPrinter::OutputFormat format_;
    QString fileName_;
};

// Sends the current printer to a PDF file of its own, so that a test that prints never reaches a real
// printer.
class TPrinterToPdf {
public:
    QString FileName() const { return folder_.filePath(QStringLiteral("printer.pdf")); }

private:
    QTemporaryDir folder_;
    TPrinterOutput output_{FileName()};
};

// The current printer as a machine without any printer has it: PDF output with no file to write.
class TNoPrinter {
private:
    TPrinterOutput output_{QString()};
};
