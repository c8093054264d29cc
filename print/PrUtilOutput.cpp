// Output on the current printer, on any paged device, and for the preview window.
#include "platform/Printer.h"
#include "print/PrUtil.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

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

TNoPrinterChoice& NoPrinterChoiceSlot() {
    static TNoPrinterChoice choice;
    return choice;
}

const QString PrinterStartFailure = QStringLiteral("Udskriften kan ikke startes på printeren");

// Why a file cannot be written where it is named, as the user can mend it; empty when nothing is seen.
QString FileWriteCause(const QString& fileName) {
    const QFileInfo file(fileName);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("mappen \"%1\" findes ikke").arg(QDir::toNativeSeparators(folder.filePath()));
    if (file.isDir())
        return QStringLiteral("\"%1\" er en mappe").arg(QDir::toNativeSeparators(fileName));
    if (file.exists() && !file.isWritable())
        return QStringLiteral("filen \"%1\" er skrivebeskyttet").arg(QDir::toNativeSeparators(fileName));
    if (!file.exists() && !folder.isWritable())
        return QStringLiteral("der må ikke skrives i mappen \"%1\"")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    return {};
}

// Why the printer of that name took no job.
QString PrinterCause(const QString& name) {
    if (!QPrinterInfo::availablePrinterNames().contains(name))
        return QStringLiteral("printeren \"%1\" er ikke installeret").arg(name);
    return QStringLiteral("printeren \"%1\" tager ikke imod udskrifter (er den slukket eller i fejl?)")
        .arg(name);
}

// The file of the nth run (from 1) to the chosen PDF file: the first run has the chosen name, later ones
// a number before its extension.
QString NumberedFileName(const QString& chosen, int run) {
    if (run <= 1)
        return chosen;
    const QFileInfo file(chosen);
    const QString suffix = file.suffix().isEmpty() ? QString() : u'.' + file.suffix();
    const QString base = chosen.left(chosen.size() - suffix.size());
    return base + QStringLiteral("-%1").arg(run) + suffix;
}

} // namespace

TNoPrinterChoice SetNoPrinterChoice(TNoPrinterChoice choice) {
    std::swap(NoPrinterChoiceSlot(), choice);
    return choice;
}

void TPrint::Print() {
    if (Lines(TPrintSection::Body).Count() == 0)
        return;
    QPrinter& printer = Platform::CurrentPrinter();
    const TOrientationScope orientation(printer, Orientation);
    if (Platform::PrinterIsSetUp()) {
        PrintOnPrinter();
        return;
    }
    if (!pdfChoice_) {
        const TNoPrinterChoice& choice = NoPrinterChoiceSlot();
        if (!choice)
            throw EPrintError(QStringLiteral("Der er ingen printer sat op, så listen kan ikke udskrives."));
        pdfChoice_ = choice(*this);
        pdfRuns_ = 0;
    }
    // The user chose to print nothing.
    if (pdfChoice_->isEmpty())
        return;
    PrintToPdfFile(NumberedFileName(*pdfChoice_, pdfRuns_ + 1));
    ++pdfRuns_;
}

void TPrint::PrintOnPrinter() {
    QPrinter& printer = Platform::CurrentPrinter();
    printer.setDocName(Title);
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    const QString target = toFile ? printer.outputFileName() : printer.printerName();
    if (toFile) {
        if (const QString cause = FileWriteCause(target); !cause.isEmpty())
            throw EPrintError(PrinterStartFailure + QStringLiteral(": ") + cause + u'.');
    }
    try {
        PrintOn(printer);
    } catch (const EPrintError&) {
        const QString cause = toFile ? FileWriteCause(target) : PrinterCause(target);
        throw EPrintError(PrinterStartFailure + QStringLiteral(": ") +
                          (cause.isEmpty() ? QStringLiteral("\"%1\" kan ikke skrives").arg(target) : cause) +
                          u'.');
    }
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        throw EPrintError(
            QStringLiteral("Udskriften mislykkedes: ") +
            (toFile ? QStringLiteral("\"%1\" kunne ikke skrives færdig").arg(target) : PrinterCause(target)) +
            u'.');
    Printed = true;
}

void TPrint::PrintToPdfFile(const QString& fileName) {
    const QString shown = QDir::toNativeSeparators(fileName);
    const QString failure = QStringLiteral("Listen kan ikke gemmes som PDF-filen \"%1\": ").arg(shown);
    if (const QString cause = FileWriteCause(fileName); !cause.isEmpty())
        throw EPrintError(failure + cause + u'.');
    // Written beside the file and put in its place only when whole: a failure leaves the old file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EPrintError(failure + file.errorString() + u'.');
    {
        const QPrinter& printer = Platform::CurrentPrinter();
        QPdfWriter writer(&file);
        writer.setTitle(Title);
        writer.setCreator(QStringLiteral("Zuno"));
        writer.setPageLayout(printer.pageLayout());
        writer.setResolution(printer.resolution());
        PrintOn(writer);
    }
    if (!file.commit())
        throw EPrintError(failure + file.errorString() + u'.');
    Printed = true;
}

void TPrint::PrintOn(QPagedPaintDevice& device) {
    if (Lines(TPrintSection::Body).Count() == 0)
        return;
    const TResolutionScope resolution(*this, device.logicalDpiX());
    QPainter painter;
    if (!painter.begin(&device))
        throw EPrintError(PrinterStartFailure);
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
