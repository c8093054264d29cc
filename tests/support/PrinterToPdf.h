#pragma once
// Sends the application's current printer to a PDF file for as long as the object lives, so that a test
// that prints never reaches a real printer.
#include "platform/Printer.h"

#include <QPrinter>
#include <QTemporaryDir>

class TPrinterToPdf {
public:
    TPrinterToPdf()
        : printer_(Platform::CurrentPrinter())
        , format_(printer_.outputFormat())
        , fileName_(printer_.outputFileName()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(FileName());
    }
    ~TPrinterToPdf() {
        printer_.setOutputFileName(fileName_);
        printer_.setOutputFormat(format_);
    }
    TPrinterToPdf(const TPrinterToPdf&) = delete;
    TPrinterToPdf& operator=(const TPrinterToPdf&) = delete;

    QString FileName() const { return folder_.filePath(QStringLiteral("printer.pdf")); }

private:
    QTemporaryDir folder_;
    QPrinter& printer_;
    QPrinter::OutputFormat format_;
    QString fileName_;
};

// The current printer as a machine without any printer has it (PDF output with no file to write), for as
// long as the object lives.
class TNoPrinter {
public:
    TNoPrinter()
        : printer_(Platform::CurrentPrinter())
        , format_(printer_.outputFormat())
        , fileName_(printer_.outputFileName()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(QString());
    }
    ~TNoPrinter() {
        printer_.setOutputFileName(fileName_);
        printer_.setOutputFormat(format_);
    }
    TNoPrinter(const TNoPrinter&) = delete;
    TNoPrinter& operator=(const TNoPrinter&) = delete;

private:
    QPrinter& printer_;
    QPrinter::OutputFormat format_;
    QString fileName_;
};
