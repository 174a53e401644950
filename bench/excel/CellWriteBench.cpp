// Cell writes through LibreOffice Calc: one writeCell is Range, Value and two
// Activate calls. A reading of the colour table writes six cells, which must
// take under 20 ms so the acquisition cycle keeps its 250 ms tick.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "excel/ExcelLink.h"
#include "excel/calc/CalcAutomationServer.h"

namespace tarvo {
namespace {

class SilentBoxes final : public MessageBoxes {
  public:
    MessageAnswer show(std::string_view text, std::string_view, MessageButtons,
                       MessageIcon) override {
        std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
        return MessageAnswer::Ok;
    }
};

// One office for the whole program: starting it is not what is measured.
ExcelLink& startedLink() {
    static SilentBoxes boxes;
    static auto link = [] {
        CalcServerOptions options;
        options.headless = true;
        options.startDeadline = std::chrono::seconds(60);
        auto started = std::make_unique<ExcelLink>(makeCalcAutomationServer(options), boxes);
        if (started->newWorkbook() != ExcelError::Success) {
            std::fprintf(stderr, "LibreOffice Calc did not start\n");
        }
        return started;
    }();
    return *link;
}

void BM_WriteNumberCell(benchmark::State& state) {
    ExcelLink& link = startedLink();
    std::int32_t row = 1;
    for (auto _ : state) {
        if (link.writeCell(row, 1, CellValueKind::Integer, 0, row, 0.0, "") !=
            ExcelError::Success) {
            state.SkipWithError("write failed");
            break;
        }
        row = row % 60000 + 1;
    }
}
BENCHMARK(BM_WriteNumberCell)->Unit(benchmark::kMillisecond);

void BM_WriteTextCell(benchmark::State& state) {
    ExcelLink& link = startedLink();
    std::int32_t row = 1;
    for (auto _ : state) {
        if (link.writeText(row, 2, " 1.23") != ExcelError::Success) {
            state.SkipWithError("write failed");
            break;
        }
        row = row % 60000 + 1;
    }
}
BENCHMARK(BM_WriteTextCell)->Unit(benchmark::kMillisecond);

// The number and five texts of one reading, as the transfer writes them.
void BM_WriteOneReading(benchmark::State& state) {
    ExcelLink& link = startedLink();
    std::int32_t row = 1;
    for (auto _ : state) {
        bool written =
            link.writeCell(row, 1, CellValueKind::Integer, 0, row, 0.0, "") == ExcelError::Success;
        for (std::int32_t column = 2; column <= 6 && written; ++column) {
            written = link.writeText(row, column, " 1.23") == ExcelError::Success;
        }
        if (!written) {
            state.SkipWithError("write failed");
            break;
        }
        row = row % 60000 + 1;
    }
}
BENCHMARK(BM_WriteOneReading)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvo

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The office quits with the client, before the runtime's statics go.
    tarvo::startedLink().close();
    return 0;
}
