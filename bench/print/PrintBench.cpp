// The print engine against drawing the same texts straight on the same device, in the same run: a
// result list of 20,000 lines (four columns, a bold heat line and a kept block every ninth line, a
// header and a page-number footer, the names as word-wrapped texts) on US Letter pages of a 150 dpi image.
// Measuring and paginating are also timed at 2,000, 20,000 and 200,000 lines, to show that their cost grows
// with the lines.
#include "print/PrUtil.h"
#include "support/BenchRuns.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int Dpi = 150;
constexpr int ListLines = 20000;

QString Cell(int row, int column) {
    switch (column) {
    case 0:
        return QString::number(row);
    case 1:
        return QStringLiteral("Deltager nummer %1").arg(row);
    case 2:
        return QStringLiteral("Klub %1").arg(row % 40);
    default:
        return QStringLiteral("%1.%2").arg(10 + row % 50).arg(row % 100, 2, 10, QChar(u'0'));
    }
}

bool IsHeat(int row) {
    return row % 9 == 1;
}

std::unique_ptr<TPrint> BuildList(int lines) {
    auto print = std::make_unique<TPrint>();
    print->SetTopMargin(0.5);
    print->SetLeftMargin(1.5);
    print->HeaderFont().Size = 14;
    print->AddField(TPrintSection::Header, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Text, "Resultatliste");
    print->AddField(TPrintSection::Footer, TPrintAlignment::CenterMargins, 0, 1, 0, TFieldKind::PageNumber,
                    "Side ");
    const double left[] = {0, 1.5, 8, 14};
    for (int c = 0; c < 4; ++c) {
        TColumnField& column = print->GetColumnField(c);
        column.SetLeft(left[c]);
        column.SetWidth(c == 1 ? 6 : 3);
        column.Alignment = c == 3 ? TPrintAlignment::Right : TPrintAlignment::Left;
    }
    for (int row = 1; row <= lines; ++row) {
        if (IsHeat(row)) {
            print->LineFont().Style = PrintFontStyle::Bold;
            print->AddColumnField(TPrintSection::Body, 1, row, TFieldKind::Text,
                                  QStringLiteral("Heat %1").arg(row / 9 + 1));
            print->LineFont().Style = 0;
            print->AddBlock(row, row + 8);
            continue;
        }
        // The names as multi-line texts: every line is word-wrapped when measured.
        for (int c = 0; c < 4; ++c)
            print->AddColumnField(TPrintSection::Body, c, row,
                                  c == 1 ? TFieldKind::MultiLine : TFieldKind::Text, Cell(row, c));
    }
    return print;
}

QImage Page() {
    QImage image(static_cast<int>(8.5 * Dpi), 11 * Dpi, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(qRound(Dpi / 0.0254));
    image.setDotsPerMeterY(qRound(Dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

QFont Font(int size, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(qRound(size * Dpi / 72.0));
    font.setBold(bold);
    return font;
}

// The best time of every kind of work over the rounds, in milliseconds, for the ratios at the end.
std::map<std::string, double>& BestMs() {
    static std::map<std::string, double> best;
    return best;
}

void Keep(const std::string& work, double seconds) {
    const auto [it, added] = BestMs().emplace(work, seconds * 1000);
    it->second = std::min(it->second, seconds * 1000);
}

// The same texts drawn one line below the other, a new page when the page is full.
void DrawStraight(benchmark::State& state) {
    QImage image = Page();
    const QFont regular = Font(10, false);
    const QFont bold = Font(10, true);
    const QFont header = Font(14, false);
    const double lineHeight = QFontMetricsF(regular).height();
    const double cm = Dpi / 2.54;
    const double left[] = {1.5 * cm, 3 * cm, 9.5 * cm, 15.5 * cm};
    Keep("draw", TimeEach(state, [&] {
             QPainter painter(&image);
             double y = image.height();
             int page = 0;
             for (int row = 1; row <= ListLines; ++row) {
                 if (y + lineHeight > image.height() - 2 * lineHeight) {
                     image.fill(Qt::white);
                     painter.setFont(header);
                     painter.drawText(QPointF(left[0], 0.5 * cm + lineHeight),
                                      QStringLiteral("Resultatliste"));
                     painter.setFont(regular);
                     painter.drawText(QPointF(image.width() / 2.0, image.height() - lineHeight),
                                      QStringLiteral("Side %1").arg(++page));
                     y = 0.5 * cm + 3 * lineHeight;
                 }
                 y += lineHeight;
                 if (IsHeat(row)) {
                     painter.setFont(bold);
                     painter.drawText(QPointF(left[1], y), QStringLiteral("Heat %1").arg(row / 9 + 1));
                     painter.setFont(regular);
                     continue;
                 }
                 for (int c = 0; c < 4; ++c)
                     painter.drawText(QPointF(left[c], y), Cell(row, c));
             }
         }));
}

void MeasureAndPaginate(benchmark::State& state) {
    const auto print = BuildList(static_cast<int>(state.range(0)));
    const QImage image = Page();
    print->SetResolution(Dpi);
    const int pageHeight = qRound(image.height() * UnitsPerInch / Dpi);
    Keep("measure " + std::to_string(state.range(0)), TimeEach(state, [&] {
             print->Measure();
             print->Paginate(pageHeight);
         }));
    benchmark::DoNotOptimize(print->Pages().size());
    state.counters["pages"] = static_cast<double>(print->Pages().size());
}

void PrintWhole(benchmark::State& state) {
    const auto print = BuildList(ListLines);
    QImage image = Page();
    print->SetResolution(Dpi);
    Keep("print", TimeEach(state, [&] {
             QPainter painter(&image);
             print->PageNo = 0;
             print->OutputPages(painter, static_cast<int>(image.width() * 0.99), image.height(),
                                [&image] { image.fill(Qt::white); });
         }));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (int round = 0; round < 3; ++round) {
        RegisterOnce("draw/straight", DrawStraight);
        RegisterOnce("engine/measure+paginate", MeasureAndPaginate)->Arg(ListLines);
        RegisterOnce("engine/print", PrintWhole);
        RegisterOnce("lines/measure+paginate", MeasureAndPaginate)->Arg(2000)->Arg(20000)->Arg(200000);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const std::map<std::string, double>& best = BestMs();
    const auto ms = [&best](const std::string& work) {
        const auto it = best.find(work);
        return it == best.end() ? 0.0 : it->second;
    };
    const double straight = ms("draw");
    std::printf("\n%-28s %10s %8s\n", "work (20,000 lines)", "ms", "ratio");
    for (const auto& [label, work] :
         {std::pair{"drawing straight", "draw"}, std::pair{"measure and paginate", "measure 20000"},
          std::pair{"print every page", "print"}})
        std::printf("%-28s %10.1f %8.2f\n", label, ms(work), straight > 0 ? ms(work) / straight : 0.0);
    std::printf("\n%-28s %10s %14s\n", "measure and paginate", "ms", "us per line");
    for (const int lines : {2000, 20000, 200000})
        std::printf("%-28d %10.1f %14.3f\n", lines, ms("measure " + std::to_string(lines)),
                    ms("measure " + std::to_string(lines)) * 1000 / lines);
    return 0;
}
