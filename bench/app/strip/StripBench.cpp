// The Strip window following a full 1DST34 strip: what one new reading costs,
// first in the counting and curves alone, then with the window redrawn. The
// target is under 5 ms per reading at 136 rows. Part of app_bench, which
// provides the application object: --benchmark_filter=Strip runs these alone.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>

#include "RecordingMessageBoxes.h"
#include "app/strip/StripProgress.h"
#include "gui-qt/StripWindow.h"

namespace tarvo {
namespace {

// A reading as the acquisition cycle writes it: a new row and its nine cells.
void addReading(ReadingTable& table, int number) {
    char density[16];
    std::snprintf(density, sizeof density, "%.2f", (number % 34) * 0.04);
    table.addRow();
    table.setCell(0, 1, "  " + std::to_string(number));
    for (int column = 2; column <= 5; ++column)
        table.setCell(0, column, density);
    table.setCell(0, 6, "50.00");
    table.setCell(0, 7, "C");
    table.setCell(0, 8, "12:34:56");
}

void fillTo135(ReadingTable& table) {
    for (int number = 1; number <= 135; ++number)
        addReading(table, number);
}

// Takes the newest row away again so every reading is the 136th.
void dropNewest(ReadingTable& table) {
    table.setSelected(0, true);
    table.deleteSelected();
}

void StripPictureForOneReading(benchmark::State& state) {
    ReadingTable table;
    fillTo135(table);
    StripProgress progress(table, 0);
    for (auto _ : state) {
        addReading(table, 136);
        benchmark::DoNotOptimize(progress.picture());
        state.PauseTiming();
        dropNewest(table);
        state.ResumeTiming();
    }
}

void StripWindowForOneReading(benchmark::State& state) {
    ReadingTable table;
    fillTo135(table);
    test::RecordingMessageBoxes boxes;
    StripWindow window(table, 0, boxes);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        // As in the program: the cell writes ask for one refresh, which the
        // event loop runs, and the chart's scene is drawn.
        addReading(table, 136);
        QApplication::processEvents();
        window.repaint();
        state.PauseTiming();
        dropNewest(table);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(StripPictureForOneReading)->Unit(benchmark::kMicrosecond);
BENCHMARK(StripWindowForOneReading)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvo
