#pragma once
// A paint device that records what the engine draws (texts with their font, baseline and clip, filled
// rectangles) page by page, the engine's output on it or on a PDF read back with pdftotext, and HTML
// pages read back.
#include "print/PrUtil.h"

#include <QFont>
#include <QPaintDevice>
#include <QRectF>
#include <QSizeF>
#include <QStringList>

#include <memory>
#include <vector>

struct TRecordedText {
    QString Text;
    QPointF Baseline;
    QFont Font;
    QRectF Clip; // empty when unclipped
    int Page;
};

struct TRecordedRect {
    QRectF Rect;
    int Page;
};

class TRecordingDevice : public QPaintDevice {
public:
    // A page of `inches` at dpi dots per inch; US Letter by default, a whole number of pixels at any dpi.
    explicit TRecordingDevice(int dpi, QSizeF inches = QSizeF(8.5, 11));
    ~TRecordingDevice() override;

    QPaintEngine* paintEngine() const override;
    int Dpi() const { return dpi_; }

    std::vector<TRecordedText> Texts;
    std::vector<TRecordedRect> Rects;
    int Page = 0;

    // The texts of one page, in drawing order.
    QStringList TextsOf(int page) const;
    const TRecordedText* Find(const QString& text) const;

protected:
    int metric(PaintDeviceMetric metricKind) const override;

private:
    int dpi_;
    QSizeF inches_;
    std::unique_ptr<QPaintEngine> engine_;
};

// Outputs every page as the printer does (the page width a hair narrower), at the device's resolution.
void RecordPrint(TPrint& print, TRecordingDevice& device);

// Prints on a PDF of US Letter pages at dpi and gives each page's text as pdftotext -layout reads it.
QStringList PdfPages(TPrint& print, int dpi);
// The text of every page of a PDF file.
QStringList PdfFilePages(const QString& fileName);

// The lines of a section between two rows, each as "row: field | field", a field as "alignment kind x font
// size style text", with the line's space before in brackets where it has one.
QStringList SectionLines(const TCustomPrint& print, TPrintSection section, double fromRow = 0,
                         double toRow = 1e9);

// The lines of a Windows-1252 page with CRLF line ends (the last line end dropped).
QStringList PageLines(const QString& fileName);
// What libxml2's HTML parser finds at an XPath in a page: the page is parsed, not searched.
QString HtmlXPath(const QString& fileName, const QString& xpath);
