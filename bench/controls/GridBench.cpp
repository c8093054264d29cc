// The extended string grid against a plain QTableWidget of the same size, in the same run: 5,000 rows of
// 20 columns filled cell by cell as a dialog fills them, then (ours only) sorted by two text columns.
// Both windows are shown on the offscreen platform and painted once after the work.
#include "foundation/controls/Extstrgr.h"
#include "support/BenchRuns.h"
#include "support/RatioReporter.h"

#include <QApplication>
#include <QTableWidget>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int Rows = 5000;
constexpr int Cols = 20;

// Texts as a participant grid holds them: names, clubs, numbers, some cells empty.
QString CellText(int row, int col) {
    const int key = (row * 7919 + col * 104729) % 9973;
    switch (col % 4) {
    case 0:
        return QString::number(key);
    case 1:
        return key % 11 == 0 ? QString() : QStringLiteral("Deltager %1 Ørsted").arg(key);
    case 2:
        return QStringLiteral("Klub %1").arg(key % 97);
    default:
        return QStringLiteral("%1,%2").arg(key % 60).arg(key % 100);
    }
}

void FillPlain(benchmark::State& state) {
    TimeEach(state, [] {
        QTableWidget table;
        table.show();
        table.setColumnCount(Cols);
        table.setRowCount(Rows);
        for (int row = 0; row < Rows; ++row)
            for (int col = 0; col < Cols; ++col)
                table.setItem(row, col, new QTableWidgetItem(CellText(row, col)));
        QApplication::processEvents();
    });
}

void FillSortOurs(benchmark::State& state) {
    TimeEach(state, [] {
        TExtStringGrid grid;
        grid.show();
        grid.SetColCount(Cols);
        grid.SetRowCount(Rows + 1);
        for (int row = 0; row < Rows; ++row)
            for (int col = 0; col < Cols; ++col)
                grid.SetCells(col, row + 1, CellText(row, col));
        grid.SortRows(TSortKind::Text, {1, 2}, false);
        QApplication::processEvents();
    });
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Rounds of the pair, so both sides meet the same load on the machine.
    for (int round = 0; round < 3; ++round) {
        RegisterOnce("fill/qtablewidget", FillPlain);
        RegisterOnce("fill+sort/extgrid", FillSortOurs);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios("plain (ms)", {{"5000 x 20 grid", "fill+sort/extgrid", "fill/qtablewidget"}});
    std::printf("(target: at most 1.5)\n");
    benchmark::Shutdown();
    return 0;
}
