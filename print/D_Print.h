#pragma once
// The print engine set up from a section of the report file: fonts, orientation, margins, title and the
// columns with their headings, and the standard page header and footer of every list.
#include "print/PrUtil.h"

#include <QString>
#include <QStringList>

#include <vector>

// Rule thicknesses (cm) of the lists: under a list heading, in judges' sheets, under the page header.
inline const QString RuleListHeading = QStringLiteral("0,02");
inline const QString RuleJudgesSheet = QStringLiteral("0,03");
inline const QString RulePageHeader = QStringLiteral("0,08");

// Header rows of a layout: the rule under the page header, then the column headings, one row per line.
constexpr double PageHeaderRuleRow = 100;
constexpr double FirstColumnHeadingRow = 101;

// Puts a font back as it was when the scope ends, whatever changed it meanwhile.
class TPrintFontScope {
public:
    explicit TPrintFontScope(TPrintFont& font)
        : font_(font)
        , saved_(font) {}
    ~TPrintFontScope() { font_ = saved_; }
    TPrintFontScope(const TPrintFontScope&) = delete;
    TPrintFontScope& operator=(const TPrintFontScope&) = delete;

private:
    TPrintFont& font_;
    TPrintFont saved_;
};

// One field of a layout: where it goes and the heading over its column.
struct TFeltDef {
    QString Name;
    qint32 Column = 0;
    // Kept with the definition; nothing reads them.
    qint32 Value1 = 0;
    qint32 Value2 = 0;
    QString Heading;
};

// The heading of a layout field as comma text: items separated by "," or blanks, an item in double
// quotes kept whole (two quotes inside stand for one), an empty item where two commas meet.
QStringList SplitCommaText(const QString& text);

class TStdPrint : public TPrint {
public:
    explicit TStdPrint(QObject* owner = nullptr);

    // Applies a section of the report file: fonts, header lines at double size, orientation, CSV
    // separator, margins and title; the page footer and header with the current meet's texts; then the
    // section's columns and field definitions in file order, each heading laid in its column. A section
    // without keys (or a missing file) is reported in an information box and loads no definitions. A
    // column or field whose numbers do not read raises EConvertError, and loading stops there.
    void LoadLayout(const QString& section, const QString& fileName);

    // Shows the preview instead when the preview flag is set.
    void Print() override;
    bool GetPreview() const { return preview_; }
    void SetPreview(bool preview) { preview_ = preview; }

    // How many of the meet's header lines print at double size.
    int LargeHeaderLines = 1;
    // The layout's field definitions, in file order.
    const std::vector<TFeltDef>& FeltDefs() const { return feltDefs_; }

    // The width between the margins of an A4 page in the layout's orientation: the page the lists are
    // designed for (cm).
    double PrintableWidth() const;

    // ---- Shorthands: text fields of width 0 (AddColumnText: the column's position, width and alignment)
    // A text for a column the layout lacks is not printed: the first such text of the engine's life (a
    // job's run) is reported, naming the report file and the section.
    void AddColumnText(int column, const QString& text, double row);
    void AddColumnText(int column, const QString& text, double row, TFieldKind kind, TPrintVAlign vAlign);
    void AddBodyText(TPrintAlignment alignment, const QString& text, double x, double row);
    void AddHeaderText(TPrintAlignment alignment, const QString& text, double x, double row);
    void AddFooterText(TPrintAlignment alignment, const QString& text, double x, double row);
    // A rule of `thickness` cm across the line between the margins, in the section's font at 8 pt.
    void AddBodyRule(const QString& thickness, double row);
    void AddHeaderRule(const QString& thickness, double row);
    // A heading line of the body: bold at the line font's size times sizeFactor (rounded), left at the
    // margin, unclipped; the font stays as it was.
    void AddBodyHeading(const QString& text, double row, double sizeFactor);

private:
    void LayFooter();
    void LayHeader();
    void LoadColumn(int index, QString value);
    void LoadFeltDef(QString value);
    void AddRule(TPrintSection section, TPrintFont& font, const QString& thickness, double row);
    // False, after telling the user once, when the layout has no such column.
    bool HasColumn(int column, const QString& text);

    std::vector<TFeltDef> feltDefs_;
    bool preview_ = false;
    // Where the layout came from, for the message about a missing column.
    QString section_;
    QString fileName_;
    bool missingColumnShown_ = false;
};
