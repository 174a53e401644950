// The reading journal: what one record costs with its flush to the disk, and
// how long the program takes at start-up to put a 10,000-row journal back into
// the shown table.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "JournalFakes.h"
#include "TempDir.h"
#include "app/journal/JournalRecord.h"
#include "app/journal/ReadingJournal.h"
#include "app/journal/posix/PosixJournalFiles.h"
#include "device/posix/PosixDeviceLink.h"
#include "gui-qt/MainDialog.h"
#include "gui-qt/MainWiring.h"
#include "gui-qt/ReadingTableView.h"

namespace tarvo {
namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr int kRestoredRows = 10000;

// Benchmarks write their settings and journals into a fresh folder removed afterwards.
using ScratchFolder = test::TempDir;

// The restore question is answered Yes; anything else would be a fault.
class YesMessageBoxes final : public MessageBoxes {
  public:
    MessageAnswer show(std::string_view, std::string_view, MessageButtons, MessageIcon) override {
        ++shown;
        return MessageAnswer::Yes;
    }
    int shown = 0;
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100 * values.size()));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

std::vector<std::string> readingCells(int number) {
    return {"", std::to_string(number), "C", "1.50", "0.20", "0.30", "1.00", "0.45", "", ""};
}

void JournalRecordWithFlush(benchmark::State& state) {
    ScratchFolder folder;
    PosixJournalFiles files;
    std::string reason;
    const auto file = files.create(folder.path() / "journal", reason);
    if (!file) {
        state.SkipWithError(reason.c_str());
        return;
    }
    std::vector<double> times;
    int number = 0;
    for (auto _ : state) {
        const std::string line = encodeRecord({"add", readingCells(++number)});
        const auto before = Clock::now();
        const std::string failed = file->append(line);
        times.push_back(Millis(Clock::now() - before).count());
        if (!failed.empty()) {
            state.SkipWithError(failed.c_str());
            return;
        }
    }
    state.counters["p50_ms"] = percentile(times, 50);
    state.counters["p99_ms"] = percentile(times, 99);
    state.counters["max_ms"] = percentile(times, 100);
}

// A journal of many unsaved readings, written without flushes to be quick.
void writeUnsavedJournal(const std::filesystem::path& path, int rows) {
    ReadingTable table;
    test::FillingJournalFiles files;
    ReadingJournal journal(table, files, path);
    journal.begin();
    for (int number = 1; number <= rows; ++number) {
        const auto cells = readingCells(number);
        std::vector<CellText> reading;
        for (std::size_t column = 1; column < cells.size(); ++column)
            reading.push_back({static_cast<int>(column), cells[column]});
        table.writeReading(std::move(reading));
    }
}

void RestoreTenThousandRows(benchmark::State& state) {
    ScratchFolder folder;
    const auto model = folder.path() / "model-journal";
    writeUnsavedJournal(model, kRestoredRows);
    IniFile ini(folder.path() / "Tarvo.ini");
    SystemClock clock;
    for (auto _ : state) {
        state.PauseTiming();
        const auto journal = folder.path() / "state" / "journal";
        std::filesystem::remove_all(folder.path() / "state");
        std::filesystem::create_directories(journal.parent_path());
        std::filesystem::copy_file(model, journal);
        YesMessageBoxes boxes;
        MainDialog dialog(MainDialogServices{ini, clock, boxes, folder.path()});
        MainWiring wiring(
            dialog, makePosixDeviceLink(ini), [] { return AutomationObject(); }, journal);
        dialog.show();
        QApplication::processEvents();
        state.ResumeTiming();

        wiring.beginJournal();
        QApplication::processEvents();

        state.PauseTiming();
        const int shown = dialog.tableView()->model()->rowCount();
        if (shown != kRestoredRows || boxes.shown != 1) {
            state.SkipWithError(("rows shown: " + std::to_string(shown)).c_str());
            return;
        }
        state.ResumeTiming();
    }
    state.counters["rows"] = kRestoredRows;
}

BENCHMARK(JournalRecordWithFlush)->Iterations(500)->Unit(benchmark::kMillisecond);
BENCHMARK(RestoreTenThousandRows)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tarvo

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
