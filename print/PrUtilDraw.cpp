// Page layout and drawing: units become the device's pixels here, and only here.
#include "foundation/Barcode.h"
#include "foundation/LxString.h"
#include "print/PrUtil.h"
#include "print/PrUtilCanvas.h"
#include "print/PrUtilFormat.h"

#include <QPainter>

#include <algorithm>
#include <map>

namespace {

QColor PenColor(qint32 color) {
    // System colours (high bit set) are drawn black, as on paper.
    if (color < 0)
        return Qt::black;
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// The separator of a number with small decimals: the first ".", else the first ",".
qsizetype DecimalSeparatorAt(const QString& text) {
    const qsizetype point = text.indexOf(u'.');
    return point >= 0 ? point : text.indexOf(u',');
}

} // namespace

// One field placed on the page: where its line is and where the field goes, in units.
struct TPlacedField {
    const TPrintField* Field;
    int LineTop;
    int LineHeight;
    int Y;
    TPrintAlignment Alignment;
    int X;
    int Width;
    int FontOrder = 0;
};

class TPageDrawer {
public:
    TPageDrawer(TCustomPrint& print, QPainter& painter, int pageWidth, int originY)
        : print_(print)
        , painter_(painter)
        , pixelsPerUnit_(print.Resolution() / UnitsPerInch)
        , pageWidth_(pageWidth)
        , originY_(originY) {}

    void Place(const TPrintLine& line, int top) {
        for (const TPrintField& field : line.Fields) {
            const int fieldHeight = FieldHeight(field);
            TPlacedField placed{&field, top, line.MeasuredHeight, top, field.Alignment, field.X, field.Width};
            if (field.VOffset != 0)
                placed.Y = top + field.VOffset;
            else if (field.VAlign == TPrintVAlign::Center)
                placed.Y = top + (line.MeasuredHeight - fieldHeight) / 2;
            else if (field.VAlign != TPrintVAlign::Top)
                placed.Y = top + line.MeasuredHeight - fieldHeight;
            // The margin alignments are worked out for this page only, so that another page width (the
            // preview, then the printer) places them anew.
            if (field.Alignment == TPrintAlignment::RightMargin ||
                field.Alignment == TPrintAlignment::CenterMargins) {
                const bool right = field.Alignment == TPrintAlignment::RightMargin;
                placed.Alignment = right ? TPrintAlignment::Right : TPrintAlignment::Center;
                placed.X = right ? BetweenMargins() : BetweenMargins() / 2;
                placed.Width = 0;
            }
            placed_.push_back(placed);
        }
    }

    // Draws the placed fields that meet `area` (all when null), grouped by font.
    void Draw(const QRect* area) {
        if (area) {
            std::erase_if(placed_, [&](const TPlacedField& placed) { return !Meets(placed, *area); });
        }
        std::map<const TPrintProp*, int> order;
        for (int i = 0; i < print_.Fonts().Count(); ++i)
            order.emplace(&print_.Fonts().Items(i), i);
        for (TPlacedField& placed : placed_) {
            const auto it = order.find(placed.Field->Font);
            placed.FontOrder = it == order.end() ? -1 : it->second;
        }
        std::stable_sort(placed_.begin(), placed_.end(), [](const TPlacedField& a, const TPlacedField& b) {
            return a.FontOrder < b.FontOrder;
        });
        for (const TPlacedField& placed : placed_)
            DrawField(placed);
    }

private:
    struct TDeviceFont {
        QFont Font;
        double Ascent;
        int Height;
        QFontMetricsF Metrics;
    };

    int Px(double units) const { return BoundedPixels(units * pixelsPerUnit_); }
    int PxY(double units) const { return BoundedPixels(originY_ + units * pixelsPerUnit_); }
    int BetweenMargins() const { return pageWidth_ - print_.margins_[0] - print_.margins_[1]; }
    static int FieldHeight(const TPrintField& field) {
        const int height = field.Font ? field.Font->Height : 0;
        return field.Kind == TFieldKind::MultiLine ? BoundedUnits(qint64(height) * field.Lines.size())
                                                   : height;
    }

    bool Meets(const TPlacedField& placed, const QRect& area) const {
        const int top = std::min(placed.LineTop, placed.Y);
        const int bottom =
            std::max(placed.LineTop + placed.LineHeight, placed.Y + FieldHeight(*placed.Field));
        return PxY(bottom) >= area.top() - 1 && PxY(top) <= area.bottom();
    }

    const TDeviceFont& UseFont(const TPrintField& field, int size) {
        static const TPrintFont defaultFont;
        const TPrintFont& font = field.Font ? field.Font->Font : defaultFont;
        const auto key = std::make_pair(field.Font, size);
        auto it = fonts_.find(key);
        if (it == fonts_.end()) {
            const QFont qfont = DeviceFont(font, size, print_.Resolution());
            const QFontMetricsF metrics(qfont);
            it = fonts_
                     .emplace(key, TDeviceFont{qfont, metrics.ascent(),
                                               static_cast<int>(std::ceil(metrics.height())), metrics})
                     .first;
        }
        if (current_ != &it->second) {
            painter_.setFont(it->second.Font);
            painter_.setPen(PenColor(font.Color));
            current_ = &it->second;
        }
        return it->second;
    }

    // A text of the field's font at `size`, its top at y units: at X with the alignment when the field
    // has no width, else clipped to the box and aligned in it.
    void DrawText(const TPlacedField& placed, const QString& text, int size, int y) {
        const TDeviceFont& font = UseFont(*placed.Field, size);
        const int left = Px(print_.margins_[0] + placed.X);
        const int top = PxY(y);
        const double width = font.Metrics.horizontalAdvance(text);
        if (placed.Width == 0) {
            double x = left;
            if (placed.Alignment == TPrintAlignment::Right)
                x -= width;
            else if (placed.Alignment == TPrintAlignment::Center)
                x -= width / 2;
            painter_.drawText(QPointF(x, top + font.Ascent), text);
            return;
        }
        const int boxWidth = Px(placed.Width);
        double x = left;
        if (placed.Alignment == TPrintAlignment::Right)
            x += boxWidth - width;
        else if (placed.Alignment == TPrintAlignment::Center)
            x += (boxWidth - width) / 2;
        if (x >= left && x + width <= left + boxWidth) {
            painter_.drawText(QPointF(x, top + font.Ascent), text);
            return;
        }
        const int height = std::max(Px(placed.Field->Font ? placed.Field->Font->Height : 0), font.Height);
        painter_.save();
        painter_.setClipRect(QRect(left, top, boxWidth, height), Qt::IntersectClip);
        painter_.drawText(QPointF(x, top + font.Ascent), text);
        painter_.restore();
    }

    // Digits before the separator at `size`, the decimals at half of it right after them, both tops at
    // the field's Y, aligned in the box as one text.
    void DrawSmallDecimals(const TPlacedField& placed, bool fit) {
        const TPrintField& field = *placed.Field;
        const qsizetype separator = DecimalSeparatorAt(field.Text);
        if (placed.Width == 0 || separator < 0)
            return;
        const QString whole = field.Text.left(separator);
        const QString decimals = field.Text.mid(separator + 1);
        const TPrintFont font = field.Font ? field.Font->Font : TPrintFont();
        int size = BoundedFontSize(font.Size);
        if (fit) {
            TUnitMetrics& metrics = *print_.metrics_;
            while (size > 2 &&
                   metrics.Width(font, size, whole) + metrics.Width(font, size >> 1, decimals) > placed.Width)
                size -= 2;
        }
        const TDeviceFont& small = UseFont(field, size >> 1);
        const double decimalsWidth = small.Metrics.horizontalAdvance(decimals);
        const double smallAscent = small.Ascent;
        const TDeviceFont& large = UseFont(field, size);
        const double wholeWidth = large.Metrics.horizontalAdvance(whole);
        const int left = Px(print_.margins_[0] + placed.X);
        const int boxWidth = Px(placed.Width);
        const double free = boxWidth - wholeWidth - decimalsWidth;
        double x = left;
        if (placed.Alignment == TPrintAlignment::Right)
            x += free;
        else if (placed.Alignment == TPrintAlignment::Center)
            x += free / 2;
        const int top = PxY(placed.Y);
        painter_.save();
        painter_.setClipRect(QRect(left, top, boxWidth, large.Height), Qt::IntersectClip);
        painter_.drawText(QPointF(x, top + large.Ascent), whole);
        UseFont(field, size >> 1);
        painter_.drawText(QPointF(x + wholeWidth, top + smallAscent), decimals);
        painter_.restore();
        current_ = nullptr; // the restore put back the font of before
    }

    // A solid black bar; a thickness that is no number draws nothing.
    void DrawRule(const TPlacedField& placed, bool horizontal) {
        const double thickness = CommaStrToFloatDef(placed.Field->Text, 0) * UnitsPerCm;
        if (!(thickness > 0))
            return;
        const int bar = std::max(1, Px(thickness));
        const int left = Px(print_.margins_[0] + placed.X);
        const int lineTop = PxY(placed.LineTop);
        const int lineHeight = Px(placed.LineHeight);
        if (horizontal) {
            const int length = placed.Width != 0 ? placed.Width : BetweenMargins();
            painter_.fillRect(QRect(left, lineTop + (lineHeight - bar) / 2, Px(length), bar), Qt::black);
        } else {
            painter_.fillRect(QRect(left, lineTop, bar, lineHeight), Qt::black);
        }
    }

    void DrawField(const TPlacedField& placed) {
        const TPrintField& field = *placed.Field;
        const int size = BoundedFontSize(field.Font ? field.Font->Font.Size : TPrintFont().Size);
        switch (field.Kind) {
        case TFieldKind::Text:
            DrawText(placed, field.Text, size, placed.Y);
            break;
        case TFieldKind::FitText: {
            int fitted = size;
            if (placed.Width != 0) {
                const TPrintFont font = field.Font ? field.Font->Font : TPrintFont();
                while (fitted > 1 && print_.metrics_->Width(font, fitted, field.Text) > placed.Width)
                    --fitted;
            }
            DrawText(placed, field.Text, fitted, placed.Y);
            break;
        }
        case TFieldKind::SmallDecimals:
        case TFieldKind::FitSmallDecimals:
            DrawSmallDecimals(placed, field.Kind == TFieldKind::FitSmallDecimals);
            break;
        case TFieldKind::Ean13:
        case TFieldKind::Interleaved2of5:
            DrawBarcode(painter_, field.Text.trimmed(),
                        field.Kind == TFieldKind::Ean13 ? TBarcodeKind::Ean13 : TBarcodeKind::Interleaved2of5,
                        Px(print_.margins_[0] + placed.X), PxY(placed.Y),
                        Px(field.Font ? field.Font->Height : 0), Px(placed.Width));
            break;
        case TFieldKind::PageNumber:
            DrawText(placed, field.Text + QString::number(print_.PageNo), size, placed.Y);
            break;
        case TFieldKind::DateTime:
            DrawText(placed, FormatDateTime(field.Text, QDateTime::currentDateTime()), size, placed.Y);
            break;
        case TFieldKind::HorizontalRule:
            DrawRule(placed, true);
            break;
        case TFieldKind::Variable:
            DrawText(placed, print_.Variables().GetValue(field.Text), size, placed.Y);
            break;
        case TFieldKind::MultiLine: {
            const qint64 lineHeight = field.Font ? field.Font->Height : 0;
            // Lines beyond the furthest position lie on no page.
            for (qsizetype i = 0; i < field.Lines.size() && placed.Y + i * lineHeight <= MaxExtentUnits; ++i)
                DrawText(placed, field.Lines.at(i), size, static_cast<int>(placed.Y + i * lineHeight));
            break;
        }
        case TFieldKind::VerticalRule:
            DrawRule(placed, false);
            break;
        }
    }

    TCustomPrint& print_;
    QPainter& painter_;
    const double pixelsPerUnit_;
    const int pageWidth_;
    const int originY_;
    std::vector<TPlacedField> placed_;
    std::map<std::pair<const TPrintProp*, int>, TDeviceFont> fonts_;
    const TDeviceFont* current_ = nullptr;
};

quint16 TCustomPrint::NextPageNo(int index) const {
    const TPrintLine& first = Lines(TPrintSection::Body)[pages_.at(static_cast<std::size_t>(index)).First];
    return first.NewPage && first.NewPageNo >= 0 ? static_cast<quint16>(first.NewPageNo)
                                                 : static_cast<quint16>(PageNo + 1);
}

void TCustomPrint::DrawPage(QPainter& painter, int index, int pageWidth, int pageHeight, int originY) {
    PageNo = NextPageNo(index);
    DrawPageUnits(painter, index, PixelsToUnits(pageWidth), PixelsToUnits(pageHeight), originY, nullptr);
}

int TCustomPrint::PixelsToUnits(int pixels) const {
    return RoundHalfEven(pixels * UnitsPerInch / resolution_);
}

void TCustomPrint::DrawPageUnits(QPainter& painter, int index, int pageWidth, int pageHeight, int originY,
                                 const QRect* area) {
    const TPrintPage& page = pages_.at(static_cast<std::size_t>(index));
    TPageDrawer drawer(*this, painter, pageWidth, originY);
    const auto stack = [&drawer](const TPrintLines& lines, qint64 y) {
        for (int i = 0; i < lines.Count(); ++i) {
            const TPrintLine& line = lines[i];
            drawer.Place(line, BoundedUnits(y + line.SpaceBefore));
            y += line.SpaceBefore + line.MeasuredHeight;
        }
    };
    if (!(OneLongPage && index > 0))
        stack(Lines(TPrintSection::Header), 0);
    const TPrintLines& body = Lines(TPrintSection::Body);
    for (int i = page.First; i <= page.Last; ++i) {
        for (const TVariable& variable : body[i].Variables)
            variables_.SetValue(variable.Name, variable.Value);
        drawer.Place(body[i], body[i].Top);
    }
    if (!OneLongPage)
        stack(Lines(TPrintSection::Footer), pageHeight - SectionHeight(TPrintSection::Footer));

    DoBeforePrintPage();
    drawer.Draw(area);
    DoAfterPrintPage();
}

void TCustomPrint::OutputPages(QPainter& painter, int pageWidth, int pageHeight,
                               const std::function<void()>& newPage) {
    Measure();
    Paginate(PixelsToUnits(pageHeight));
    for (int i = 0; i < static_cast<int>(pages_.size()); ++i) {
        if (i > 0 && newPage)
            newPage();
        DrawPage(painter, i, pageWidth, pageHeight);
    }
}
