// Loading a layout from the report file, with the standard page header and footer.
#include "print/D_Print.h"
#include "print/D_PrintIniFile.h"
#include "print/D_PrintTexts.h"
#include "print/PrUtilFormat.h"

#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "model/D_Context.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_Tekster.h"

#include <algorithm>

namespace {

// The report file's default where a section leaves the title out.
const QString NoTitle = QStringLiteral("???????????");
constexpr int FooterLargeSize = 9;
constexpr int FooterSmallSize = 8;

// A font's keys: prefix + "FontName", "FontSize" and "FontStyle"; what a key leaves out stays.
void ReadFont(const TOrderedIniFile& ini, const QString& section, const QString& prefix, TPrintFont& font) {
    font.Name = ini.ReadString(section, prefix + QStringLiteral("FontName"), font.Name);
    font.Size = BoundedFontSize(ini.ReadInteger(section, prefix + QStringLiteral("FontSize"), font.Size));
    const QString style = ini.ReadString(section, prefix + QStringLiteral("FontStyle"), QString());
    if (style.isEmpty())
        return;
    font.Style = 0;
    if (style.contains(QStringLiteral("fsBold")))
        font.Style |= PrintFontStyle::Bold;
    if (style.contains(QStringLiteral("fsItalic")))
        font.Style |= PrintFontStyle::Italic;
    if (style.contains(QStringLiteral("fsUnderline")))
        font.Style |= PrintFontStyle::Underline;
}

// The longest length the model holds, in cm.
const double MaxLengthCm = UnitsToCm(0xFFFF);

// A length in cm within what the model holds: nothing below 0, nothing beyond the longest.
double BoundedCm(double cm) {
    return cm >= 0 ? std::min(cm, MaxLengthCm) : 0;
}

// Hundredths of a centimetre as centimetres.
double ReadMargin(const TOrderedIniFile& ini, const QString& section, const QString& key, int def) {
    return BoundedCm(ini.ReadInteger(section, key, def) / 100.0);
}

// The next "|"-separated part of a column or field value, the rest kept in value.
QString NextPart(QString& value) {
    value = TrimBlanks(value);
    return TrimBlanks(SplitFirst(value, QStringLiteral("|")));
}

TPrintAlignment ColumnAlignment(const QString& text) {
    if (text.contains(QStringLiteral("taRight")))
        return TPrintAlignment::Right;
    if (text.contains(QStringLiteral("taCenter")))
        return TPrintAlignment::Center;
    return TPrintAlignment::Left;
}

} // namespace

void TStdPrint::LoadLayout(const QString& section, const QString& fileName) {
    const TOrderedIniFile ini(fileName);
    section_ = section;
    fileName_ = fileName;
    ReadFont(ini, section, QString(), LineFont());
    ReadFont(ini, section, QStringLiteral("Header"), HeaderFont());
    LargeHeaderLines = ini.ReadInteger(section, QStringLiteral("LargeHeaderLines"), 1);
    ReadFont(ini, section, QStringLiteral("Footer"), FooterFont());
    const QString orientation = ini.ReadString(section, QStringLiteral("Orientation"), QString());
    if (!orientation.isEmpty())
        Orientation = orientation == u"P" ? TPrintOrientation::Portrait : TPrintOrientation::Landscape;
    CSVSeparator = ini.ReadString(section, QStringLiteral("CSVSeparator"), QStringLiteral(";"));
    SetTopMargin(ReadMargin(ini, section, QStringLiteral("TopMargin"), 0));
    SetBottomMargin(ReadMargin(ini, section, QStringLiteral("BottomMargin"), 50));
    SetLeftMargin(ReadMargin(ini, section, QStringLiteral("LeftMargin"), 0));
    SetRightMargin(ReadMargin(ini, section, QStringLiteral("RightMargin"), 0));
    Title = ini.ReadString(section, QStringLiteral("Title"), NoTitle);

    LayFooter();
    LayHeader();

    feltDefs_.clear();
    const std::vector<TIniEntry>& entries = ini.ReadSection(section);
    if (entries.empty()) {
        ShowInformation(
            Owner(),
            QStringLiteral("Der er ingen værdier i sektionen %1 i INI-filen: %2").arg(section, fileName));
        return;
    }
    int column = 0;
    for (const TIniEntry& entry : entries) {
        if (entry.Key.startsWith(QStringLiteral("Kol_")))
            LoadColumn(column++, entry.Value);
        else if (entry.Key.startsWith(QStringLiteral("Felt_")))
            LoadFeltDef(entry.Value);
    }
}

void TStdPrint::LoadColumn(int index, QString value) {
    const double left = CommaStrToFloat(NextPart(value));
    const double width = CommaStrToFloat(NextPart(value));
    const TPrintAlignment alignment = ColumnAlignment(NextPart(value));
    TColumnField& column = GetColumnField(index);
    column.SetLeft(BoundedCm(left));
    column.SetWidth(BoundedCm(width));
    column.Alignment = alignment;
}

void TStdPrint::LoadFeltDef(QString value) {
    TFeltDef def;
    def.Name = NextPart(value);
    def.Column = ParseOvelseInteger(NextPart(value));
    def.Value1 = ParseOvelseInteger(NextPart(value));
    def.Value2 = ParseOvelseInteger(NextPart(value));
    def.Heading = NextPart(value);
    feltDefs_.push_back(def);

    const TPrintFontScope headerFont(HeaderFont());
    HeaderFont() = FooterFont();
    HeaderFont().Style |= PrintFontStyle::Bold;
    const QStringList lines = SplitCommaText(def.Heading);
    for (int j = 0; j < lines.size(); ++j)
        AddColumnField(TPrintSection::Header, def.Column, FirstColumnHeadingRow + j, TFieldKind::Text,
                       lines[j]);
}

void TStdPrint::LayFooter() {
    const TSystemData& data = CurrentSystemData();
    const TModelContext& context = ModelContext();
    FooterFont().Style = PrintFontStyle::Bold;
    FooterFont().Size = FooterLargeSize;
    AddFooterText(TPrintAlignment::Left, data.Overskrift1, 0, 1);
    QString sted;
    if (data.Oversattelse)
        sted = MeetText(TMeetText::TextArrangor) + data.Arrangor;
    else if (!data.Stadion.isEmpty())
        sted = QStringLiteral("Stadion: ") + data.Stadion;
    else
        sted = QStringLiteral("Arrangør: ") + data.Arrangor;
    AddFooterText(TPrintAlignment::Left, sted, 0, 2);
    AddFooterText(TPrintAlignment::RightMargin, QStringLiteral("Zuno version ") + context.ProgramVersion, 0,
                  2);

    FooterFont().Style = 0;
    FooterFont().Size = FooterSmallSize;
    AddField(TPrintSection::Footer, TPrintAlignment::CenterMargins, 0, 1, 0, TFieldKind::PageNumber,
             data.Engelsk ? QStringLiteral("Page ") : QStringLiteral("Side "));
    const QString printed = data.Engelsk ? QStringLiteral("Printed ") : QStringLiteral("Udskrevet den ");
    AddFooterText(TPrintAlignment::CenterMargins,
                  printed + FormatDateTime(QStringLiteral("dddddd  t"), DateTimeToQDateTime(context.Now())),
                  0, 2);
}

void TStdPrint::LayHeader() {
    const TSystemData& data = CurrentSystemData();
    const int size = BoundedFontSize(HeaderFont().Size); // doubled below
    const TPrintFontScope restore(HeaderFont());
    const QString lines[] = {data.Overskrift1, data.Overskrift2, data.Overskrift3, ArrangorText()};
    for (int i = 0; i < 4; ++i) {
        HeaderFont().Size = i < LargeHeaderLines ? 2 * size : size;
        AddHeaderText(TPrintAlignment::RightMargin, lines[i], 0, i + 1);
    }
    HeaderFont().Size = RoundHalfEven(1.5 * size);
    AddHeaderText(TPrintAlignment::Left, Title, 0, 1);
    AddHeaderRule(RulePageHeader, PageHeaderRuleRow);
}
