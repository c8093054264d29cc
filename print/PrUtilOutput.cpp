// Output on the current printer, on any paged device, and for the preview window.
#include "platform/Printer.h"
#include "print/PrUtil.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

namespace {

// The engine's resolution for one output, put back afterwards.
class TResolutionScope {
public:
    TResolutionScope(TCustomPrint& print, int dpi)
        : print_(print)
        , saved_(print.Resolution()) {
        print_.SetResolution(static_cast<quint16>(std::clamp(dpi, 1, 0xFFFF)));
    }
    ~TResolutionScope() { print_.SetResolution(saved_); }
    TResolutionScope(const TResolutionScope&) = delete;
    TResolutionScope& operator=(const TResolutionScope&) = delete;

private:
    TCustomPrint& print_;
    quint16 saved_;
};

// The printer's orientation set for one output, put back afterwards.
class TOrientationScope {
public:
    TOrientationScope(QPrinter& printer, TPrintOrientation orientation)
        : printer_(printer)
        , saved_(printer.pageLayout().orientation()) {
        printer_.setPageOrientation(orientation == TPrintOrientation::Landscape ? QPageLayout::Landscape
                                                                                : QPageLayout::Portrait);
    }
    ~TOrientationScope() { printer_.setPageOrientation(saved_); }
    TOrientationScope(const TOrientationScope&) = delete;
    TOrientationScope& operator=(const TOrientationScope&) = delete;

private:
    QPrinter& printer_;
    QPageLayout::Orientation saved_;
};

} // namespace

void TPrint::Print() {
    if (Lines(TPrintSection::Body).Count() == 0)
        return;
    QPrinter& printer = Platform::CurrentPrinter();
    const TOrientationScope orientation(printer, Orientation);
    printer.setDocName(Title);
    PrintOn(printer);
    Printed = true;
}

void TPrint::PrintOn(QPagedPaintDevice& device) {
    if (Lines(TPrintSection::Body).Count() == 0)
        return;
    const TResolutionScope resolution(*this, device.logicalDpiX());
    QPainter painter;
    if (!painter.begin(&device))
        throw EPrintError(QStringLiteral("Udskriften kan ikke startes på printeren"));
    painter.setBackgroundMode(Qt::TransparentMode);
    // A hair narrower than the page, so that text ending at the right margin is never cut.
    const int pageWidth = static_cast<int>(device.width() * 0.99);
    OutputPages(painter, pageWidth, device.height(), [&device] { device.newPage(); });
    painter.end();
}

void TPrint::Preview() {
    Printed = false;
    if (Lines(TPrintSection::Body).Count() == 0)
        return;
    const TOrientationScope orientation(Platform::CurrentPrinter(), Orientation);
    ShowPreviewWindow();
}

TPrintPreviewLayout TPrint::DrawPreview(int pixelsPerInch) {
    TPrintPreviewLayout layout;
    if (Lines(TPrintSection::Body).Count() == 0)
        return layout;
    const TResolutionScope resolution(*this, pixelsPerInch);
    Measure();
    const QPrinter& printer = Platform::CurrentPrinter();
    layout.Resolution = Resolution();
    layout.Width = RoundHalfEven(double(printer.width()) * Resolution() / std::max(printer.logicalDpiX(), 1));
    layout.WidthUnits = PixelsToUnits(layout.Width);
    const int footer = OneLongPage ? 0 : FooterHeight();
    Paginate(HeaderHeight() + FooterHeight() + BodyHeight());
    qint64 top = 0;
    for (int i = 0; i < static_cast<int>(Pages().size()); ++i) {
        PageNo = NextPageNo(i);
        TPrintPreviewPage page;
        page.Index = i;
        page.Top = BoundedPixels(double(top));
        page.HeightUnits = BoundedUnits(qint64(Pages()[static_cast<std::size_t>(i)].BodyEnd) + footer);
        page.Height = BoundedPixels(page.HeightUnits * Resolution() / UnitsPerInch);
        page.Number = PageNo;
        layout.Pages.push_back(page);
        top += page.Height + TPrintPreviewLayout::PageGap;
    }
    layout.Height = BoundedPixels(double(top - TPrintPreviewLayout::PageGap));
    return layout;
}

void TPrint::PaintPreview(QPainter& painter, const TPrintPreviewLayout& layout, const QRect& area) {
    if (layout.IsEmpty())
        return;
    const TResolutionScope resolution(*this, layout.Resolution);
    const quint16 pageNo = PageNo;
    painter.fillRect(area, Qt::lightGray);
    for (const TPrintPreviewPage& page : layout.Pages) {
        const QRect band(0, page.Top, layout.Width, page.Height);
        if (!band.intersects(area))
            continue;
        painter.fillRect(band & area, Qt::white);
        PageNo = page.Number;
        DrawPageUnits(painter, page.Index, layout.WidthUnits, page.HeightUnits, page.Top, &area);
    }
    PageNo = pageNo;
}
