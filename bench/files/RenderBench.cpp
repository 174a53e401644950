// How long one press of Save or Print spends turning the table into text.
// Target: under 50 ms for 100,000 colour rows, growing linearly with the rows.
#include <benchmark/benchmark.h>

#include <string>

#include "files/Render.h"
#include "table/ReadingTable.h"

namespace tarvo {
namespace {

class SilentBoxes final : public MessageBoxes {
  public:
    MessageAnswer show(std::string_view, std::string_view, MessageButtons, MessageIcon) override {
        return MessageAnswer::Ok;
    }
};

// A colour table as a long session leaves it: rows numbered 1 upwards,
// typical cell texts, a comment on every tenth row.
ReadingTable colourTable(int rows) {
    ReadingTable table;
    for (int j = 1; j <= rows; ++j) {
        table.addRow();
        const std::string cells[] = {
            "  " + std::to_string(j),    "1.23", "0.98", "0.05", "1.50", "45.60", "C", "14: 5: 9",
            j % 10 == 0 ? "strip 2" : ""};
        for (int column = 1; column <= 9; ++column) {
            table.setCell(0, column, cells[column - 1]);
        }
    }
    return table;
}

void renderColourTable(benchmark::State& state, ExportFormat format) {
    const ReadingTable table = colourTable(static_cast<int>(state.range(0)));
    SilentBoxes boxes;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text =
            renderTable({table, static_cast<int>(format), "6.12.2026", 'M'}, boxes);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetComplexityN(state.range(0));
    state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_RenderDisplay(benchmark::State& state) {
    renderColourTable(state, ExportFormat::Display);
}
void BM_RenderDst34(benchmark::State& state) {
    renderColourTable(state, ExportFormat::Dst34);
}

BENCHMARK(BM_RenderDisplay)
    ->Arg(136)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_RenderDst34)
    ->Arg(136)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace tarvo
