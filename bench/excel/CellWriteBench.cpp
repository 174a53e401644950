// Cell writes through LibreOffice Calc: one writeCell is Range, Value and two
// Activate calls. A reading of the colour table writes six cells, which must
// take under 20 ms so the acquisition cycle keeps its 250 ms tick, with the
// Calc window shown (run under a display, e.g. xvfb-run) as well as headless.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
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

SilentBoxes boxes;

std::unique_ptr<ExcelLink> startLink(bool shown) {
    CalcServerOptions options;
    options.headless = !shown;
    options.startDeadline = std::chrono::seconds(60);
    auto started = std::make_unique<ExcelLink>(makeCalcAutomationServer(options), boxes);
    if (started->newWorkbook() != ExcelError::Success) {
        std::fprintf(stderr, "LibreOffice Calc did not start\n");
    } else if (shown) {
        started->placeWindow(1, 1, 500, 300);
        started->show();
    }
    return started;
}

// One office of each kind for the whole program, started on first use:
// starting it is not what is measured.
std::unique_ptr<ExcelLink> headlessLink;
std::unique_ptr<ExcelLink> shownLink;

ExcelLink* startedLink(bool shown) {
    auto& link = shown ? shownLink : headlessLink;
    if (!link) {
        link = startLink(shown);
    }
    return link.get();
}

bool displayAvailable() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

// Argument 0: headless office; 1: a shown Calc window (skipped without a display).
ExcelLink* linkFor(benchmark::State& state) {
    const bool shown = state.range(0) != 0;
    if (shown && !displayAvailable()) {
        state.SkipWithError("no display for a shown window");
        return nullptr;
    }
    return startedLink(shown);
}

void BM_WriteNumberCell(benchmark::State& state) {
    ExcelLink* link = linkFor(state);
    std::int32_t row = 1;
    for (auto _ : state) {
        if (link == nullptr || link->writeCell(row, 1, CellValueKind::Integer, 0, row, 0.0, "") !=
                                   ExcelError::Success) {
            state.SkipWithError("write failed");
            break;
        }
        row = row % 60000 + 1;
    }
}
BENCHMARK(BM_WriteNumberCell)->ArgName("shown")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_WriteTextCell(benchmark::State& state) {
    ExcelLink* link = linkFor(state);
    std::int32_t row = 1;
    for (auto _ : state) {
        if (link == nullptr || link->writeText(row, 2, " 1.23") != ExcelError::Success) {
            state.SkipWithError("write failed");
            break;
        }
        row = row % 60000 + 1;
    }
}
BENCHMARK(BM_WriteTextCell)->ArgName("shown")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The number and five texts of one reading, as the transfer writes them.
void BM_WriteOneReading(benchmark::State& state) {
    ExcelLink* link = linkFor(state);
    std::int32_t row = 1;
    for (auto _ : state) {
        bool written = link != nullptr && link->writeCell(row, 1, CellValueKind::Integer, 0, row,
                                                          0.0, "") == ExcelError::Success;
        for (std::int32_t column = 2; column <= 6 && written; ++column) {
            written = link->writeText(row, column, " 1.23") == ExcelError::Success;
        }
        if (!written) {
            state.SkipWithError("write failed");
            break;
        }
        row = row % 60000 + 1;
    }
}
BENCHMARK(BM_WriteOneReading)->ArgName("shown")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvo

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The offices quit with their clients, before the runtime's statics go.
    for (auto* link : {tarvo::headlessLink.get(), tarvo::shownLink.get()}) {
        if (link != nullptr) {
            link->close();
        }
    }
    return 0;
}
