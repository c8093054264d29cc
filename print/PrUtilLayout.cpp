// Measuring, word wrapping and pagination, all in units.
#include "print/PrUtil.h"
#include "print/PrUtilCanvas.h"

#include <algorithm>

namespace {

// Greedy wrapping at blanks: the longest prefix before a blank that fits is a line; a word wider than the
// limit alone stays whole on a line of its own.
QStringList WrapText(const QString& text, const QString& separator, double limit,
                     const std::function<double(const QString&)>& width) {
    QStringList paragraphs = (text.endsWith(separator) ? text : text + separator).split(separator);
    paragraphs.removeLast(); // after the final separator
    QStringList lines;
    for (QString rest : std::as_const(paragraphs)) {
        while (width(rest) > limit) {
            qsizetype cut = -1;
            for (qsizetype blank = rest.indexOf(u' '); blank >= 0; blank = rest.indexOf(u' ', blank + 1)) {
                if (width(rest.left(blank)) > limit)
                    break;
                cut = blank;
            }
            if (cut < 0) {
                cut = rest.indexOf(u' ');
                if (cut < 0)
                    break; // one word, too wide
            }
            lines.append(rest.left(cut));
            rest = rest.mid(cut + 1);
        }
        lines.append(rest);
    }
    return lines;
}

} // namespace

void TCustomPrint::Measure() {
    if (!metrics_)
        metrics_ = std::make_unique<TUnitMetrics>();
    TPrintPropList& props = Fonts();
    for (int i = 0; i < props.Count(); ++i)
        props.Items(i).Height = metrics_->Height(props.Items(i).Font);

    for (TPrintLines& lines : model_->Lines) {
        for (int i = 0; i < lines.Count(); ++i) {
            TPrintLine& line = lines[i];
            qint64 tallest = 0;
            for (TPrintField& field : line.Fields) {
                qint64 height = field.Font ? field.Font->Height : 0;
                if (field.Kind == TFieldKind::MultiLine) {
                    const TPrintFont font = field.Font ? field.Font->Font : TPrintFont();
                    field.Lines = WrapText(field.Text, multiLineSeparator_, field.Width,
                                           [&](const QString& text) { return metrics_->Width(font, text); });
                    height *= field.Lines.size();
                }
                tallest = std::max(tallest, height);
            }
            const qint64 set = std::clamp<qint64>(line.Height, -MaxLineHeight, MaxLineHeight);
            line.MeasuredHeight = BoundedUnits(set < 0 ? -set : std::max(set, tallest));
        }
    }

    // Rows of a block that have no line count nothing.
    const TPrintLines& body = Lines(TPrintSection::Body);
    for (int b = 0; b < model_->Blocks.Count(); ++b) {
        TPrintBlock& block = model_->Blocks.Items(b);
        qint64 height = 0;
        int i = 0;
        body.Find(block.From, i);
        for (; i < body.Count() && body[i].Row <= block.To; ++i)
            height += body[i].SpaceBefore + body[i].MeasuredHeight;
        block.Height = BoundedUnits(height);
    }
}

int TCustomPrint::SectionHeight(TPrintSection section) const {
    const TPrintLines& lines = Lines(section);
    qint64 height = 0;
    for (int i = 0; i < lines.Count(); ++i)
        height += lines[i].SpaceBefore + lines[i].MeasuredHeight;
    return BoundedUnits(height);
}

int TCustomPrint::HeaderHeight() const {
    return SectionHeight(TPrintSection::Header) + margins_[2];
}

int TCustomPrint::FooterHeight() const {
    return SectionHeight(TPrintSection::Footer) + margins_[3];
}

int TCustomPrint::BodyHeight() const {
    return SectionHeight(TPrintSection::Body);
}

void TCustomPrint::Paginate(int pageHeight) {
    pages_.clear();
    TPrintLines& body = Lines(TPrintSection::Body);
    if (body.Count() == 0)
        return;
    // In 64 bits: a long body on one long page may add up to more than an int holds.
    const qint64 headerHeight = HeaderHeight();
    const qint64 pageBody = qint64(pageHeight) - headerHeight - FooterHeight();
    qint64 space = OneLongPage ? pageHeight - headerHeight : pageBody;
    qint64 y = headerHeight;
    int first = 0;
    for (int i = 0; i < body.Count(); ++i) {
        TPrintLine& line = body[i];
        qint64 height = line.SpaceBefore + line.MeasuredHeight;
        bool newPage = false;
        if (!OneLongPage) {
            if (line.NewPage) {
                newPage = true;
            } else if (const TPrintBlock* block = model_->Blocks.StartingAt(line.Row)) {
                // A block that fits on an empty page but not in what is left goes to the next page whole.
                newPage = block->Height < pageBody && block->Height > space;
            }
        }
        // A page is closed only when it holds lines: a forced break or a tall line at the top of a page
        // makes no empty page.
        if (i > first && (newPage || height > space)) {
            pages_.push_back(TPrintPage{first, i - 1, BoundedUnits(y)});
            space = OneLongPage ? pageHeight : pageBody;
            y = OneLongPage ? 0 : headerHeight;
            first = i;
        }
        if (i == first) {
            line.Top = BoundedUnits(y);
            height -= line.SpaceBefore;
        } else {
            line.Top = BoundedUnits(y + line.SpaceBefore);
        }
        y += height;
        space -= height;
    }
    pages_.push_back(TPrintPage{first, body.Count() - 1, BoundedUnits(y)});
}
