#include "print/D_Print.h"

#include "foundation/Messages.h"

namespace {

// The preview flag off while the preview window is open, so that its print button prints.
class TPreviewOffScope {
public:
    explicit TPreviewOffScope(TStdPrint& print)
        : print_(print) {
        print_.SetPreview(false);
    }
    ~TPreviewOffScope() { print_.SetPreview(true); }
    TPreviewOffScope(const TPreviewOffScope&) = delete;
    TPreviewOffScope& operator=(const TPreviewOffScope&) = delete;

private:
    TStdPrint& print_;
};

constexpr int RuleFontSize = 8;

// A4 in cm.
constexpr double A4Short = 21.0;
constexpr double A4Long = 29.7;

} // namespace

TStdPrint::TStdPrint(QObject* owner)
    : TPrint(owner) {}

void TStdPrint::Print() {
    if (preview_) {
        const TPreviewOffScope previewOff(*this);
        TPrint::Preview();
    } else {
        TPrint::Print();
    }
}

double TStdPrint::PrintableWidth() const {
    const double page = Orientation == TPrintOrientation::Portrait ? A4Short : A4Long;
    return page - LeftMargin() - RightMargin();
}

bool TStdPrint::HasColumn(int column, const QString& text) {
    if (column >= 0 && static_cast<std::size_t>(column) < Columns().size())
        return true;
    if (!text.isEmpty() && !missingColumnShown_) {
        missingColumnShown_ = true;
        ShowError(Owner(), QStringLiteral("Sektionen [%1] i rapportfilen %2 har ingen kolonne %3 (nøglerne "
                                          "Kol_ nummereres fra 0), så teksten \"%4\" og andre i den kolonne "
                                          "kommer ikke med på listen.")
                               .arg(section_.isEmpty() ? QStringLiteral("?") : section_,
                                    fileName_.isEmpty() ? QStringLiteral("?") : fileName_)
                               .arg(column)
                               .arg(text));
    }
    return false;
}

void TStdPrint::AddColumnText(int column, const QString& text, double row) {
    if (HasColumn(column, text))
        AddColumnField(TPrintSection::Body, column, row, TFieldKind::Text, text);
}

void TStdPrint::AddColumnText(int column, const QString& text, double row, TFieldKind kind,
                              TPrintVAlign vAlign) {
    if (!HasColumn(column, text))
        return;
    const TColumnField& field = Columns()[static_cast<std::size_t>(column)];
    AddFieldEx(TPrintSection::Body, field.Alignment, field.GetLeft(), row, field.GetWidth(), vAlign, kind,
               text);
}

void TStdPrint::AddBodyHeading(const QString& text, double row, double sizeFactor) {
    const TPrintFontScope saved(LineFont());
    LineFont().Style |= PrintFontStyle::Bold;
    LineFont().Size = RoundHalfEven(LineFont().Size * sizeFactor);
    AddBodyText(TPrintAlignment::Left, text, 0, row);
}

void TStdPrint::AddBodyText(TPrintAlignment alignment, const QString& text, double x, double row) {
    AddField(TPrintSection::Body, alignment, x, row, 0, TFieldKind::Text, text);
}

void TStdPrint::AddHeaderText(TPrintAlignment alignment, const QString& text, double x, double row) {
    AddField(TPrintSection::Header, alignment, x, row, 0, TFieldKind::Text, text);
}

void TStdPrint::AddFooterText(TPrintAlignment alignment, const QString& text, double x, double row) {
    AddField(TPrintSection::Footer, alignment, x, row, 0, TFieldKind::Text, text);
}

void TStdPrint::AddBodyRule(const QString& thickness, double row) {
    AddRule(TPrintSection::Body, LineFont(), thickness, row);
}

void TStdPrint::AddHeaderRule(const QString& thickness, double row) {
    AddRule(TPrintSection::Header, HeaderFont(), thickness, row);
}

void TStdPrint::AddRule(TPrintSection section, TPrintFont& font, const QString& thickness, double row) {
    const TPrintFontScope saved(font);
    font.Size = RuleFontSize;
    AddField(section, TPrintAlignment::Left, 0, row, 0, TFieldKind::HorizontalRule, thickness);
}

QStringList SplitCommaText(const QString& text) {
    const auto blank = [&](qsizetype i) { return i < text.size() && text.at(i) <= u' '; };
    QStringList items;
    qsizetype i = 0;
    while (blank(i))
        ++i;
    while (i < text.size()) {
        QString item;
        if (text.at(i) == u'"') {
            for (++i; i < text.size(); ++i) {
                if (text.at(i) == u'"') {
                    if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                        item += u'"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text.at(i);
            }
        } else {
            const qsizetype start = i;
            while (i < text.size() && text.at(i) > u' ' && text.at(i) != u',')
                ++i;
            item = text.mid(start, i - start);
        }
        items.append(item);
        while (blank(i))
            ++i;
        if (i < text.size() && text.at(i) == u',') {
            if (i + 1 == text.size())
                items.append(QString());
            do
                ++i;
            while (blank(i));
        }
    }
    return items;
}
