// The HTML page writer against writing the same rows straight to a file, in the same run: a result page of
// 20,000 rows of nine cells, every data text escaped as it goes in, the page put in place when closed. The
// straight writer puts the same markup, unescaped, into the file with one encoding at the end. The page is
// also timed at 2,000, 20,000 and 200,000 rows, to show that its cost grows with the rows.
#include "print/D_Html.h"

#include "foundation/LxString.h"
#include "foundation/Windows1252.h"
#include "support/RatioReporter.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int PageRows = 20000;

QString Cell(int row, int column) {
    switch (column) {
    case 1:
        return QString::number(row);
    case 3:
        return QStringLiteral("%1.%2").arg(10 + row % 50).arg(row % 100, 2, 10, QChar(u'0'));
    case 6:
        return QStringLiteral("Søren Ærø Åberg <%1>").arg(row);
    case 7:
        return QStringLiteral("Hansen & Søn %1").arg(row % 40);
    default:
        return QString();
    }
}

QString Row(int row, bool escaped) {
    QString line = QStringLiteral("<tr valign=top>");
    const QString shade = row % 2 ? QStringLiteral("ka") : QStringLiteral("ko");
    for (int column = 1; column <= 9; ++column) {
        const QString text = Cell(row, column);
        line += QStringLiteral("<td class=") + shade + QString::number(column) + u'>' +
                (text.isEmpty() ? QStringLiteral("&nbsp;")
                 : escaped      ? HtmlEscape(text)
                                : text);
    }
    return line;
}

QTemporaryDir& Folder() {
    static QTemporaryDir folder;
    return folder;
}

void Maker(benchmark::State& state) {
    const QString fileName = Folder().filePath(QStringLiteral("resultatliste.htm"));
    for (auto _ : state) {
        THtmlMaker html(fileName, QStringLiteral("RESULTATER"), false);
        for (int row = 1; row <= state.range(0); ++row)
            html.WriteLn(Row(row, true));
        html.Close();
    }
}

void Straight(benchmark::State& state) {
    const QString fileName = Folder().filePath(QStringLiteral("straight.htm"));
    for (auto _ : state) {
        QString page;
        for (int row = 1; row <= state.range(0); ++row)
            page += Row(row, false) + CrLf;
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            state.SkipWithError("cannot write");
        file.write(Windows1252::Encode(page));
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("straight", Straight)->Arg(PageRows)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("maker", Maker)->Arg(PageRows)->Unit(benchmark::kMillisecond);
    for (const int rows : {2000, 20000, 200000})
        benchmark::RegisterBenchmark(("rows" + std::to_string(rows)).c_str(), Maker)
            ->Arg(rows)
            ->Unit(benchmark::kMillisecond);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios("straight (ms)", {{"page", "maker", "straight"}});
    reporter.PrintRatios("10x fewer (ms)", {{"20000 rows", "rows20000", "rows2000"},
                                            {"200000 rows", "rows200000", "rows20000"}});
    return 0;
}
