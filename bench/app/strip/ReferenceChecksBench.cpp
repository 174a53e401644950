// Today's strip against a reference at a full 1DST34 table: what one new
// reading costs the Strip window's picture with every patch drifted (the
// most checks there can be), the drift rule alone, and reading a reference
// file. The target is under 5 ms per reading at 136 rows.

#include <benchmark/benchmark.h>

#include <fstream>

#include "RecordingMessageBoxes.h"
#include "ReferenceSamples.h"
#include "TempDir.h"
#include "app/strip/ChosenReference.h"
#include "app/strip/ReferenceChecks.h"
#include "app/strip/StripProgress.h"

namespace tarvo {
namespace {

constexpr double kDrift = 0.2;  // every patch beyond the tolerance

// The reference of the settings, read from its file as at start-up.
class LoadedReference {
  public:
    LoadedReference() {
        const std::string path = (dir_ / "press.cm1").string();
        std::ofstream(path, std::ios::binary) << test::tarvoFiery(test::kDst34Type);
        ini_.write(kStripSection, kReferenceKey, path);
        chosen_.load(boxes_);
    }
    ChosenReference& chosen() { return chosen_; }

  private:
    test::TempDir dir_;
    IniFile ini_{dir_ / "Tarvo.ini"};
    test::RecordingMessageBoxes boxes_;
    ChosenReference chosen_{ini_};
};

// Takes the newest row away again so every reading is the 136th.
void dropNewest(ReadingTable& table) {
    table.setSelected(0, true);
    table.deleteSelected();
}

void StripPictureWithReferenceForOneReading(benchmark::State& state) {
    LoadedReference reference;
    ReadingTable table;
    test::addStripReadings(table, 34, 1, 135, kDrift);
    StripProgress progress(table, test::kDst34Type);
    progress.setReference(&reference.chosen());
    std::size_t checks = 0;
    for (auto _ : state) {
        test::addStripReadings(table, 34, 136, 136, kDrift);
        checks = progress.picture().checks.size();
        benchmark::DoNotOptimize(checks);
        state.PauseTiming();
        dropNewest(table);
        state.ResumeTiming();
    }
    state.counters["checks"] = static_cast<double>(checks);
}

void ReferenceChecksAtAFullStrip(benchmark::State& state) {
    LoadedReference reference;
    const ReadingTable table = test::stripTable(34, kDrift);
    for (auto _ : state) {
        benchmark::DoNotOptimize(referenceChecks(
            table, test::kDst34Type, *reference.chosen().reference(), kReferenceTolerance));
    }
}

void ReadingAReferenceFile(benchmark::State& state) {
    test::TempDir dir;
    const std::string path = (dir / "press.txt").string();
    std::ofstream(path, std::ios::binary) << test::tarvoCgats(test::kDst34Type);
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadReference(path));
    }
}

BENCHMARK(StripPictureWithReferenceForOneReading)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReferenceChecksAtAFullStrip)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadingAReferenceFile)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarvo

BENCHMARK_MAIN();
