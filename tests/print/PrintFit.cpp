#include "PrintFit.h"

#include "print/D_Print.h"
#include "print/PrUtilCanvas.h"

namespace {

// A hundredth of a millimetre of slack for rounding.
constexpr double Slack = 1;

QString Cm(double units) {
    return QString::number(units / UnitsPerCm, 'f', 2);
}

} // namespace

QStringList TextsPastRightMargin(const TStdPrint& print) {
    TUnitMetrics metrics;
    const double width = print.PrintableWidth() * UnitsPerCm;
    const double pageLeft = -print.LeftMargin() * UnitsPerCm;
    QStringList past;
    for (const TPrintSection section : {TPrintSection::Body, TPrintSection::Header}) {
        const TPrintLines& lines = print.Lines(section);
        for (int i = 0; i < lines.Count(); ++i) {
            for (const TPrintField& field : lines[i].Fields) {
                const bool text = field.Kind == TFieldKind::Text || field.Kind == TFieldKind::FitText ||
                                  field.Kind == TFieldKind::MultiLine ||
                                  field.Kind == TFieldKind::SmallDecimals ||
                                  field.Kind == TFieldKind::FitSmallDecimals;
                if (!text || field.Text.trimmed().isEmpty() ||
                    field.Alignment == TPrintAlignment::RightMargin ||
                    field.Alignment == TPrintAlignment::CenterMargins)
                    continue;
                double left = field.X;
                double right = field.X + field.Width;
                if (field.Width == 0) {
                    const double w = metrics.Width(field.Font ? field.Font->Font : TPrintFont(), field.Text);
                    if (field.Alignment == TPrintAlignment::Right) {
                        left = field.X - w;
                        right = field.X;
                    } else if (field.Alignment == TPrintAlignment::Center) {
                        left = field.X - w / 2;
                        right = field.X + w / 2;
                    } else {
                        right = field.X + w;
                    }
                }
                if (right > width + Slack || left < pageLeft - Slack)
                    past.append(QStringLiteral("%1 %2: %3 (%4 > %5)")
                                    .arg(section == TPrintSection::Body ? "body" : "header")
                                    .arg(lines[i].Row)
                                    .arg(field.Text, Cm(right), Cm(width)));
            }
        }
    }
    return past;
}

QStringList ColumnsPastRightMargin(TStdPrint& print) {
    const double width = print.PrintableWidth() * UnitsPerCm;
    QStringList past;
    const TColumnFieldList& columns = print.Columns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].Left + columns[i].Width > width + Slack)
            past.append(QStringLiteral("Kol %1: %2 + %3 > %4")
                            .arg(i)
                            .arg(Cm(columns[i].Left), Cm(columns[i].Width), Cm(width)));
    return past;
}
