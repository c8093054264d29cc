#include "print/PrUtil.h"
#include "print/PrUtilCanvas.h"

#include <cmath>
#include <limits>

namespace {

TPrintPreviewWindow& PreviewWindowSlot() {
    static TPrintPreviewWindow window;
    return window;
}

// The offset in units that a row's fraction gives (row 12.005 is 500 units below the top of line 12).
quint16 RowOffset(double row) {
    const double offset = std::nearbyint((row - std::trunc(row)) * 100000);
    if (!(offset >= 0 && offset <= std::numeric_limits<quint16>::max()))
        RaisePrintValueError(row);
    return static_cast<quint16>(offset);
}

} // namespace

TCustomPrint::TCustomPrint(QObject* owner)
    : owner_(owner)
    , model_(std::make_unique<TPrintModel>()) {}

TCustomPrint::~TCustomPrint() = default;

const TPrintFont& TCustomPrint::SectionFont(TPrintSection section) const {
    return fonts_[static_cast<std::size_t>(section)];
}

TPrintLine& TCustomPrint::GetLine(TPrintSection section, double row) {
    return Lines(section).FindOrAdd(row);
}

void TCustomPrint::AddField(TPrintSection section, TPrintAlignment alignment, double x, double row,
                            double width, TFieldKind kind, const QString& text) {
    AddFieldEx(section, alignment, x, row, width, TPrintVAlign::Bottom, kind, text);
}

void TCustomPrint::AddFieldEx(TPrintSection section, TPrintAlignment alignment, double x, double row,
                              double width, TPrintVAlign vAlign, TFieldKind kind, const QString& text) {
    AddUnitsField(section, alignment, CmToUnits(x), row, CmToUnits(width), vAlign, kind, text);
}

void TCustomPrint::AddUnitsField(TPrintSection section, TPrintAlignment alignment, quint16 x, double row,
                                 quint16 width, TPrintVAlign vAlign, TFieldKind kind, const QString& text) {
    TPrintField field;
    field.VOffset = RowOffset(row);
    field.X = x;
    field.Width = width;
    field.Alignment = alignment;
    field.VAlign = vAlign;
    field.Kind = kind == TFieldKind::MultiLine && width == 0 ? TFieldKind::Text : kind;
    field.Text = text;
    field.Font = &Fonts().FindOrAdd(SectionFont(section));
    GetLine(section, std::trunc(row)).Fields.push_back(std::move(field));
}

void TCustomPrint::AddColumnField(TPrintSection section, int column, double row, TFieldKind kind,
                                  const QString& text) {
    if (column < 0 || column >= static_cast<int>(Columns().size()))
        return;
    const TColumnField& layout = Columns()[static_cast<std::size_t>(column)];
    AddUnitsField(section, layout.Alignment, layout.Left, row, layout.Width, TPrintVAlign::Bottom, kind,
                  text);
}

TColumnField& TCustomPrint::GetColumnField(int index) {
    if (index < 0)
        RaiseListIndexError(index);
    while (static_cast<int>(Columns().size()) <= index)
        Columns().emplace_back();
    return Columns()[static_cast<std::size_t>(index)];
}

void TCustomPrint::AddBlock(double fromRow, double toRow) {
    fromRow = std::trunc(fromRow);
    toRow = std::trunc(toRow);
    if (!(toRow > fromRow))
        return;
    model_->Blocks.Add(fromRow, toRow);
}

void TCustomPrint::ClearSection(TPrintSection section) {
    Lines(section).Clear();
    if (section == TPrintSection::Body) {
        model_->Blocks.Clear();
        pages_.clear();
    }
}

void TCustomPrint::ClearAll() {
    ClearSection(TPrintSection::Header);
    ClearSection(TPrintSection::Footer);
    ClearSection(TPrintSection::Body);
    PageNo = 0;
}

void TCustomPrint::SetResolution(quint16 dpi) {
    if (dpi == 0)
        throw EPrintError(QStringLiteral("Programmeringsfejl: opløsningen må ikke være 0"));
    resolution_ = dpi;
}

void TCustomPrint::SetMultiLineSeparator(const QString& text) {
    if (text.isEmpty())
        throw EPrintError(QStringLiteral("Programmeringsfejl(SCustomPrintSetMultiLineSeparatorError): "
                                         "<MultiLineSeparator> må ikke være tom"));
    multiLineSeparator_ = text;
}

void TCustomPrint::DoBeforePrintPage() {
    if (BeforePrintPage)
        BeforePrintPage(*this);
}

void TCustomPrint::DoAfterPrintPage() {
    if (AfterPrintPage)
        AfterPrintPage(*this);
}

// ---------------------------------------------------------------- preview window

TPrintPreviewWindow SetPrintPreviewWindow(TPrintPreviewWindow window) {
    std::swap(PreviewWindowSlot(), window);
    return window;
}

void TPrint::ShowPreviewWindow() {
    if (const TPrintPreviewWindow& window = PreviewWindowSlot())
        window(*this);
}
