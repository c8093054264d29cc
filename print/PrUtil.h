#pragma once
// The print engine. A print job places fields on numbered rows of the body, page header and page footer,
// at X positions in centimetres, and marks blocks of body rows that must stay on one page. Output
// measures every row, cuts the body into pages and draws each page with its header and footer, on the
// printer, on a PDF writer or on the preview picture.
//
// Measuring and pagination work in the model's units with font metrics independent of the device's
// resolution, so a list breaks into the same pages on the printer, a PDF and the screen; only drawing
// turns units into the device's pixels (Resolution dots per inch).
#include "print/PrUtilModel.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QIODevice;
class QObject;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QRect;
class TUnitMetrics;

enum class TPrintOrientation : quint8 { Portrait = 0, Landscape = 1 };

class TCustomPrint {
public:
    using TPageEvent = std::function<void(TCustomPrint& sender)>;

    // owner: the window or job the engine works for (boxes it shows belong to it); may be null.
    explicit TCustomPrint(QObject* owner = nullptr);
    virtual ~TCustomPrint();
    TCustomPrint(const TCustomPrint&) = delete;
    TCustomPrint& operator=(const TCustomPrint&) = delete;

    QObject* Owner() const { return owner_; }

    // ---- Building the model
    // The section's font when a field is added decides the field's font.
    TPrintFont& LineFont() { return FontOf(TPrintSection::Body); }
    TPrintFont& HeaderFont() { return FontOf(TPrintSection::Header); }
    TPrintFont& FooterFont() { return FontOf(TPrintSection::Footer); }
    void SetLineFont(const TPrintFont& font) { FontOf(TPrintSection::Body) = font; }
    void SetHeaderFont(const TPrintFont& font) { FontOf(TPrintSection::Header) = font; }
    void SetFooterFont(const TPrintFont& font) { FontOf(TPrintSection::Footer) = font; }

    // The line of the section with exactly this row, created when missing.
    TPrintLine& GetLine(TPrintSection section, double row);
    TPrintLines& Lines(TPrintSection section) { return model_->Lines[static_cast<std::size_t>(section)]; }
    const TPrintLines& Lines(TPrintSection section) const {
        return model_->Lines[static_cast<std::size_t>(section)];
    }

    // A field with VAlign bottom; see AddFieldEx.
    void AddField(TPrintSection section, TPrintAlignment alignment, double x, double row, double width,
                  TFieldKind kind, const QString& text);
    // Appends a field to line Int(row) of the section: X and width in cm, the row's fraction × 100,000
    // (rounded) as its offset in units below the top of the line. A kind-10 field without width becomes
    // kind 0. A position, width or offset that does not fit its unit field raises EPrintError.
    void AddFieldEx(TPrintSection section, TPrintAlignment alignment, double x, double row, double width,
                    TPrintVAlign vAlign, TFieldKind kind, const QString& text);
    // A field at the position, width and alignment of layout column `column`; nothing when it does not exist.
    void AddColumnField(TPrintSection section, int column, double row, TFieldKind kind, const QString& text);
    // The column, empty columns appended until it exists.
    TColumnField& GetColumnField(int index);
    TColumnFieldList& Columns() { return model_->Columns; }

    // Rows fromRow to toRow (truncated) stay on one page. Ignored when toRow <= fromRow or when the range
    // overlaps a block already there.
    void AddBlock(double fromRow, double toRow);
    const TPrintBlockList& Blocks() const { return model_->Blocks; }

    TPrintPropList& Fonts() { return model_->Props; }
    TVariableList& Variables() { return variables_; }

    // Frees the lines of one section; for the body also the blocks.
    void ClearSection(TPrintSection section);
    // All three sections, and PageNo back to 0.
    void ClearAll();

    // ---- Page settings
    quint16 Resolution() const { return resolution_; }
    // Dots per inch of the device drawn on; 0 is refused.
    void SetResolution(quint16 dpi);
    double LeftMargin() const { return UnitsToCm(margins_[0]); }
    double RightMargin() const { return UnitsToCm(margins_[1]); }
    double TopMargin() const { return UnitsToCm(margins_[2]); }
    double BottomMargin() const { return UnitsToCm(margins_[3]); }
    void SetLeftMargin(double cm) { margins_[0] = CmToUnits(cm); }
    void SetRightMargin(double cm) { margins_[1] = CmToUnits(cm); }
    void SetTopMargin(double cm) { margins_[2] = CmToUnits(cm); }
    void SetBottomMargin(double cm) { margins_[3] = CmToUnits(cm); }
    const QString& MultiLineSeparator() const { return multiLineSeparator_; }
    // An empty separator raises EPrintError.
    void SetMultiLineSeparator(const QString& text);

    quint16 PageNo = 0; // the page being drawn; callers reset it before a new run
    QString Title;      // also the job's name in the printer queue
    TPrintOrientation Orientation = TPrintOrientation::Portrait;
    // Continuous output: no footer, the header on the first page only, no kept blocks or forced breaks.
    bool OneLongPage = false;
    TPageEvent BeforePrintPage;
    TPageEvent AfterPrintPage;

    // ---- Output
    // Measures every font, line and block, and wraps the kind-10 fields.
    void Measure();
    // Cuts the measured body into pages of pageHeight units (see Pages). A line with NewPage, or a block
    // that fits an empty page but not the rest of this one, starts a new page; no page is ever empty.
    void Paginate(int pageHeight);
    const std::vector<TPrintPage>& Pages() const { return pages_; }
    // Header, footer and both margins (units), as pagination takes them off a page.
    int HeaderHeight() const;
    int FooterHeight() const;
    // The sum of the body lines (units).
    int BodyHeight() const;
    // Draws page `index` of the last pagination with its top at originY (pixels), for a page of
    // pageWidth × pageHeight pixels at Resolution; advances PageNo and fires the page events.
    void DrawPage(QPainter& painter, int index, int pageWidth, int pageHeight, int originY = 0);
    // Measures, paginates and draws every page on the painter's device, calling newPage between pages.
    void OutputPages(QPainter& painter, int pageWidth, int pageHeight, const std::function<void()>& newPage);

    // ---- Streaming
    // Columns, blocks, font records and the lines of the three sections; variables, pages and measured
    // values are not written.
    void WriteToStream(QIODevice& stream) const;
    // Replaces the model by the one in the stream. Values a newer writer added are skipped. A stream
    // that is short, damaged or names an unknown font raises EPrintError and changes nothing.
    void ReadFromStream(QIODevice& stream);

protected:
    virtual void DoBeforePrintPage();
    virtual void DoAfterPrintPage();

    int PixelsToUnits(int pixels) const;
    // The number page `index` gets when drawn after page PageNo.
    quint16 NextPageNo(int index) const;
    // Draws a page of pageWidth × pageHeight units with its top at originY pixels; only the fields that
    // meet `area` (pixels) when given.
    void DrawPageUnits(QPainter& painter, int index, int pageWidth, int pageHeight, int originY,
                       const QRect* area);

private:
    friend class TPageDrawer;

    const TPrintFont& SectionFont(TPrintSection section) const;
    TPrintFont& FontOf(TPrintSection section) { return fonts_[static_cast<std::size_t>(section)]; }
    void AddUnitsField(TPrintSection section, TPrintAlignment alignment, quint16 x, double row, quint16 width,
                       TPrintVAlign vAlign, TFieldKind kind, const QString& text);
    int SectionHeight(TPrintSection section) const;

    QObject* owner_;
    std::array<TPrintFont, 3> fonts_;
    std::unique_ptr<TPrintModel> model_;
    TVariableList variables_;
    std::vector<TPrintPage> pages_;
    std::unique_ptr<TUnitMetrics> metrics_;
    quint16 resolution_ = 300;
    std::array<quint16, 4> margins_{}; // left, right, top, bottom
    QString multiLineSeparator_ = QStringLiteral("\r\n");
};

// The preview picture: every page the pagination makes, one below the other with a gap between them.
struct TPrintPreviewPage {
    int Index = 0;       // in the engine's pages
    int Top = 0;         // pixels
    int Height = 0;      // pixels
    int HeightUnits = 0; // header, the page's body lines and footer
    quint16 Number = 0;  // its page number
};

struct TPrintPreviewLayout {
    static constexpr int PageGap = 8; // pixels

    int Resolution = 0;
    int Width = 0;  // pixels: the width of the current printer's page
    int Height = 0; // pixels: all pages and the gaps between them
    int WidthUnits = 0;
    std::vector<TPrintPreviewPage> Pages;

    bool IsEmpty() const { return Pages.empty(); }
};

class TPrint : public TCustomPrint {
public:
    using TCustomPrint::TCustomPrint;

    QString CSVSeparator = QStringLiteral(";");
    // For the preview window.
    bool HideToolbar = false;
    bool ShowPrinterSetup = true;
    bool ShowPrintButton = true;
    // Set when a printer run has ended.
    bool Printed = false;

    // Prints every page on the application's current printer; nothing for an empty body. With no printer
    // set up the no-printer choice names a PDF file to write instead (the first run of this engine asks,
    // later runs write beside it, numbered); without a choice installed that raises EPrintError. A print
    // that fails raises EPrintError naming the cause; an existing PDF file is replaced only by a whole one.
    virtual void Print();
    // The next print run with no printer set up asks anew where the list goes.
    void ForgetPdfChoice() { pdfChoice_.reset(); }
    // Shows the model in the preview window, where the user may print it; nothing for an empty body or
    // where no window can be shown.
    virtual void Preview();
    // Lays the model out for the preview at pixelsPerInch: the width of the current printer's page, a page
    // height that holds the whole body, so that only forced breaks and blocks make more than one page.
    // Advances PageNo over those pages. Empty for an empty body.
    virtual TPrintPreviewLayout DrawPreview(int pixelsPerInch);
    // Paints what of the laid-out preview meets `area` (pixels of the picture), leaving PageNo as it was.
    void PaintPreview(QPainter& painter, const TPrintPreviewLayout& layout, const QRect& area);

    // Prints every page on a paged device (a printer or a PDF writer) at its resolution.
    void PrintOn(QPagedPaintDevice& device);

private:
    void ShowPreviewWindow();
    void PrintOnPrinter();
    void PrintToPdfFile(const QString& fileName);

    // With no printer: the PDF file chosen for this engine's runs (empty: print nothing), and the runs
    // written.
    std::optional<QString> pdfChoice_;
    int pdfRuns_ = 0;
};

// Shows the preview window of an engine, modally. The window program installs it; without one Preview
// shows nothing.
using TPrintPreviewWindow = std::function<void(TPrint& print)>;
// Installs window (empty: none) and hands back the one it replaces.
TPrintPreviewWindow SetPrintPreviewWindow(TPrintPreviewWindow window);

// Asked when a list is to be printed and no printer is set up: the PDF file to write it to instead, or
// empty to print nothing. The window program installs one that tells the user and offers a file dialog.
using TNoPrinterChoice = std::function<QString(TPrint& print)>;
// Installs choice (empty: none) and hands back the one it replaces.
TNoPrinterChoice SetNoPrinterChoice(TNoPrinterChoice choice);
