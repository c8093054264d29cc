#include "print/D_Print.h"

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

void TStdPrint::AddColumnText(int column, const QString& text, double row) {
    AddColumnField(TPrintSection::Body, column, row, TFieldKind::Text, text);
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
