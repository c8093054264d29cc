#pragma once
// The page-independent model of a printed list: fonts, layout columns, blocks that keep rows on one page,
// and the numbered lines of the three sections with their fields and variables.
#include "foundation/Exception.h"
#include "foundation/LxClass.h"

#include <QString>
#include <QStringList>

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <vector>

// The print engine's own failures.
class EPrintError : public Exception {
public:
    using Exception::Exception;
};

// Lengths in the model are unsigned 16-bit counts of 0.01 mm: 1 cm is 1000 units, at most 65.535 cm.
constexpr double UnitsPerCm = 1000;
constexpr double UnitsPerInch = 2540;

// Sizes beyond any page, as damaged print data or a report file may give them, are bounded where they
// are read, so that no measure or position outgrows its integer.
// The largest font size (points): letters 14 cm tall, more than any list asks for; the fonts' metrics
// stay sound a good way beyond it.
constexpr int MaxFontSize = 400;
// The tallest a line may be made (units): the longest length the model holds.
constexpr qint32 MaxLineHeight = 65535;
// The most any measured height, position or sum of them may reach (units): 2.6 km of paper.
constexpr int MaxExtentUnits = 1 << 28;
// The most any position on a device may reach (pixels), so that a position plus a length stays an int.
constexpr int MaxDevicePixels = 1 << 29;

// A font size as drawn: 1 to MaxFontSize points.
int BoundedFontSize(qint64 size);
// Units within ±MaxExtentUnits.
int BoundedUnits(qint64 units);
// A device position rounded as RoundHalfEven, within ±MaxDevicePixels.
int BoundedPixels(double pixels);

// "Programmeringsfejl (SPrintFieldSetXError): <value> er ikke en gyldig værdi".
[[noreturn]] void RaisePrintValueError(double value);
// Trunc(cm × 1000). A negative value, or one whose units do not fit 16 bits, raises EPrintError.
quint16 CmToUnits(double cm);
double UnitsToCm(qint64 units);
// Delphi's Round: halves go to the even neighbour. Values beyond the range of int give its ends, and a
// value that is not a number gives 0.
int RoundHalfEven(double value);

enum class TPrintSection : int { Body = 0, Header = 1, Footer = 2 };

enum class TPrintAlignment : quint8 {
    Left = 0,          // starts at X
    Right = 1,         // ends at X, or at the right edge of the box
    Center = 2,        // centred on X, or in the box
    RightMargin = 3,   // ends at the right margin; X and Width ignored
    CenterMargins = 4, // centred between the margins; X and Width ignored
};

// Any value other than Top and Center places the field at the bottom of its line.
enum class TPrintVAlign : quint8 { Center = 2, Top = 5, Bottom = 6 };

enum class TFieldKind : quint8 {
    Text = 0,             // clipped to the box when Width is set
    FitText = 1,          // like Text, the size lowered until it fits the box
    SmallDecimals = 2,    // decimals after "." or "," at half size
    FitSmallDecimals = 3, // like SmallDecimals, the size lowered by 2 until it fits
    Ean13 = 4,            // EAN-13 / UPC-A barcode in the box
    Interleaved2of5 = 5,  // Interleaved 2 of 5 barcode in the box
    PageNumber = 6,       // Text followed by the page number
    DateTime = 7,         // now, with Text as the format pattern
    HorizontalRule = 8,   // Text is the thickness in cm
    Variable = 9,         // Text names a variable
    MultiLine = 10,       // paragraphs at the separator, word-wrapped to Width
    VerticalRule = 11,    // Text is the width in cm
};

// Bits of TPrintFont::Style.
namespace PrintFontStyle {
constexpr quint8 Bold = 1;
constexpr quint8 Italic = 2;
constexpr quint8 Underline = 4;
constexpr quint8 StrikeOut = 8;
} // namespace PrintFontStyle

// A font as the lists name it. Color is a Windows colour value (0x00BBGGRR).
struct TPrintFont {
    QString Name = QStringLiteral("Arial");
    int Size = 10; // points
    quint8 Style = 0;
    qint32 Color = 0;

    bool operator==(const TPrintFont&) const = default;
};

// One distinct font of the model's fields, with the height of " " in it (units), measured before output.
struct TPrintProp {
    TPrintFont Font;
    int Height = 0;
};

// The font records, in the order they were added; fields point at them.
class TPrintPropList {
public:
    // The record equal to font, appended when there is none.
    TPrintProp& FindOrAdd(const TPrintFont& font);
    TPrintProp& Add(const TPrintFont& font);
    int IndexOf(const TPrintProp* prop) const;
    int Count() const { return static_cast<int>(props_.size()); }
    TPrintProp& Items(int index) { return *props_.at(static_cast<std::size_t>(index)); }
    const TPrintProp& Items(int index) const { return *props_.at(static_cast<std::size_t>(index)); }
    void Clear() { props_.clear(); }

private:
    std::vector<std::unique_ptr<TPrintProp>> props_;
};

// One column of a layout.
struct TColumnField {
    quint16 Left = 0;
    quint16 Width = 0;
    TPrintAlignment Alignment = TPrintAlignment::Left;

    double GetLeft() const { return UnitsToCm(Left); }
    void SetLeft(double cm) { Left = CmToUnits(cm); }
    double GetWidth() const { return UnitsToCm(Width); }
    void SetWidth(double cm) { Width = CmToUnits(cm); }
};
// Appending keeps the columns already handed out where they are.
using TColumnFieldList = std::deque<TColumnField>;

// Body rows From to To (whole numbers) that go on one page when they fit on one.
struct TPrintBlock {
    double From = 0;
    double To = 0;
    int Height = 0; // units, measured
};

// The blocks in the order they were added; no two overlap.
class TPrintBlockList {
public:
    // False, adding nothing, when the block overlaps one already there.
    bool Add(double from, double to);
    const TPrintBlock* StartingAt(double row) const;
    int Count() const { return static_cast<int>(blocks_.size()); }
    TPrintBlock& Items(int index) { return blocks_.at(static_cast<std::size_t>(index)); }
    const TPrintBlock& Items(int index) const { return blocks_.at(static_cast<std::size_t>(index)); }
    void Clear();

private:
    std::deque<TPrintBlock> blocks_;
    std::map<double, std::size_t> byFrom_;
};

// One text or drawing on a line.
struct TPrintField {
    quint16 X = 0;     // units from the left margin
    quint16 Width = 0; // units; 0 = unclipped text at X
    TPrintAlignment Alignment = TPrintAlignment::Left;
    TPrintVAlign VAlign = TPrintVAlign::Bottom;
    TFieldKind Kind = TFieldKind::Text;
    quint16 VOffset = 0;        // units below the top of the line; when set VAlign is ignored
    TPrintProp* Font = nullptr; // not owned
    QString Text;
    QStringList Lines; // kind 10, wrapped when measured

    void SetX(double cm) { X = CmToUnits(cm); }
    void SetWidth(double cm) { Width = CmToUnits(cm); }
};

struct TVariable {
    QString Name;
    QString Value;
};

// Variables by name, without regard to case.
class TVariableList : public TSortedList<TVariable, QString> {
public:
    int Compare(const QString& key1, const QString& key2) const override;
    QString GetKey(const TVariable& item) const override { return item.Name; }
    void SetValue(const QString& name, const QString& value);
    // The value, or "? <" + name + "> ?" when there is no such variable.
    QString GetValue(const QString& name) const;
};

// One row of a section.
struct TPrintLine {
    explicit TPrintLine(double row)
        : Row(row) {}

    double Row;
    bool NewPage = false;  // body: start a new page before this line
    qint32 NewPageNo = -1; // the number of the page this line starts; -1 none
    quint16 SpaceBefore = 0;
    // Negative: fixed height of |Height| units; positive: minimum height; 0: from the fields. Measured
    // within ±MaxLineHeight.
    qint32 Height = 0;
    int Top = 0;            // units from the top of the page, set by pagination and layout
    int MeasuredHeight = 0; // units
    std::vector<TPrintField> Fields;
    TVariableList Variables;

    void SetSpaceBefore(double cm) { SpaceBefore = CmToUnits(cm); }
    // A height beyond MaxLineHeight raises EPrintError.
    void SetFixedHeight(double cm);
};

// The lines of one section in row order.
class TPrintLines : public TSortedList<std::unique_ptr<TPrintLine>, double> {
public:
    int Compare(const double& key1, const double& key2) const override;
    double GetKey(const std::unique_ptr<TPrintLine>& item) const override { return item->Row; }
    TPrintLine& FindOrAdd(double row);
    TPrintLine& operator[](int index) { return *Items(index); }
    const TPrintLine& operator[](int index) const { return *Items(index); }
};

// What a stream holds of an engine's model.
struct TPrintModel {
    TColumnFieldList Columns;
    TPrintBlockList Blocks;
    TPrintPropList Props;
    std::array<TPrintLines, 3> Lines; // body, header, footer
};

// The body lines First to Last of one page; BodyEnd is where the last one ends (units from the top).
struct TPrintPage {
    int First = 0;
    int Last = -1;
    int BodyEnd = 0;
};
