// The acquisition cycle as the program wires it (main window, poll timer,
// densitometer link on a pty) against the densitometer simulator at 4800 baud:
// how long a reading takes from the device to the table, and what polling a
// quiet device costs. The same for a simulated X-Rite 400 that sends its
// readings unasked at 1200 baud: from a line's last byte to its row (LF-ended
// lines, and CR-ended ones that only the quiet after them ends), and what
// waiting on its port costs.
//
// Flags besides Google Benchmark's:
//   --readings=N       readings timed for the latency (default 60, at least 50)
//   --idle_seconds=S   how long the quiet device is polled (default 60)
//   --strip_window     with the Strip window open, following the table
//   --journal          with the reading journal kept (each row flushed to disk)

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SimulatorProcess.h"
#include "TempDir.h"
#include "device/posix/PosixDeviceLink.h"
#include "gui-qt/MainDialog.h"
#include "gui-qt/MainWiring.h"
#include "gui-qt/ReadingTableView.h"
#include "res/ControlIds.h"

namespace tarvo {
namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

int readingsToTime = 60;
int idleSeconds = 60;
bool stripWindowOpen = false;
bool journalKept = false;

// One poll period plus the wire time of a poll and a fetch at 4800 baud.
constexpr double kLatencyBoundMs = 250 + 35.4;

// A box would wait for a click that never comes; the runs only count them.
class CountingMessageBoxes final : public MessageBoxes {
  public:
    MessageAnswer show(std::string_view text, std::string_view, MessageButtons,
                       MessageIcon) override {
        std::fprintf(stderr, "message box: %.*s\n", static_cast<int>(text.size()), text.data());
        ++shown;
        return MessageAnswer::Ok;
    }
    int shown = 0;
};

// Benchmarks write their settings and journals into a fresh folder removed afterwards.
using ScratchFolder = test::TempDir;

// The program on its own settings file, COM1 pointing at the simulator, with
// the reading beep off so that the row is not held up by the tone.
class Session {
  public:
    // instrument: what [Instruments] puts on COM1 (empty: the polled densitometer).
    explicit Session(const std::vector<std::string>& script, const std::string& instrument = {})
        : simulator_(script, folder_.path() / "sim.log"), ini_(folder_.path() / "Tarvo.ini") {
        ini_.write("Ports", "COM1", simulator_.devicePath());
        if (!instrument.empty())
            ini_.write("Instruments", "COM1", instrument);
        ini_.write("Generic", "COMMNO", "1");
        ini_.write("Generic", "BEEP", "0");
        dialog_ =
            std::make_unique<MainDialog>(MainDialogServices{ini_, clock_, boxes_, folder_.path()});
        wiring_ = std::make_unique<MainWiring>(
            *dialog_, makePosixDeviceLink(ini_), [] { return AutomationObject(); },
            journalKept ? folder_.path() / "state" / "journal" : std::filesystem::path());
        dialog_->show();
        wiring_->beginJournal();
        if (stripWindowOpen)
            dialog_->showStrip();
    }
    ~Session() {
        if (dialog_ && !dialog_->state().stopped())
            dialog_->button(id::kStartDev)->click();
    }

    bool start() {
        if (simulator_.devicePath().empty())
            return false;
        dialog_->button(id::kStartDev)->click();
        return !dialog_->state().stopped();
    }

    MainDialog& dialog() { return *dialog_; }
    const test::SimulatorProcess& simulator() const { return simulator_; }
    int boxesShown() const { return boxes_.shown; }

  private:
    ScratchFolder folder_;
    test::SimulatorProcess simulator_;
    IniFile ini_;
    SystemClock clock_;
    CountingMessageBoxes boxes_;
    std::unique_ptr<MainDialog> dialog_;
    std::unique_ptr<MainWiring> wiring_;
};

// Nearest-rank percentile of sorted values.
double percentile(const std::vector<double>& sorted, double p) {
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100 * sorted.size()));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

double monotonicSeconds(Clock::time_point time) {
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

// When each timed reading became ready, by its number; readings made ready
// before the first poll waited for the start, not for the cycle, and are left
// out. A line instrument's reading is ready when its last byte went out.
std::map<int, double> readyTimes(const test::SimulatorProcess& simulator) {
    std::map<int, double> ready;
    double firstPoll = -1;
    for (const auto& event : simulator.events()) {
        if (event.what == "cmd XK" && firstPoll < 0)
            firstPoll = event.seconds;
        if (event.what.rfind("ready ", 0) == 0 && firstPoll >= 0)
            ready[std::stoi(event.what.substr(6))] = event.seconds;
        for (const char* sent : {"reading colour ", "reading density "}) {
            if (event.what.rfind(sent, 0) == 0)
                ready[std::stoi(event.what.substr(std::strlen(sent)))] = event.seconds;
        }
    }
    return ready;
}

// Runs the event loop until stop() says so or the deadline passes.
void runEventLoop(std::chrono::milliseconds deadline, QEventLoop& loop) {
    QTimer::singleShot(deadline, &loop, &QEventLoop::quit);
    loop.exec();
}

// Times readingsToTime readings from their readiness to their row.
void timeReadingsToRows(benchmark::State& state, Session& session, double boundMs) {
    if (!session.start()) {
        state.SkipWithError("the simulator did not answer on COM1");
        return;
    }
    MainDialog& dialog = session.dialog();
    std::vector<Clock::time_point> inserted;
    QEventLoop loop;
    const int wanted = readingsToTime + 2;
    QObject::connect(dialog.tableView()->model(), &QAbstractItemModel::rowsInserted, &loop, [&] {
        inserted.push_back(Clock::now());
        if (static_cast<int>(inserted.size()) >= wanted)
            loop.quit();
    });
    runEventLoop(std::chrono::milliseconds(wanted * 1000 + 20000), loop);
    dialog.button(id::kStartDev)->click();

    // The k-th row inserted is the k-th from the bottom of the table; its
    // second cell holds the device's number of the reading.
    const ReadingTable& table = dialog.state().table();
    const std::map<int, double> ready = readyTimes(session.simulator());
    std::vector<double> latencies;
    for (std::size_t k = 0; k < inserted.size(); ++k) {
        const int row = table.rowCount() - 1 - static_cast<int>(k);
        const int number = std::atoi(std::string(table.cell(row, 1)).c_str());
        const auto found = ready.find(number);
        if (found != ready.end())
            latencies.push_back((monotonicSeconds(inserted[k]) - found->second) * 1000);
    }
    if (latencies.size() < 50) {
        state.SkipWithError(
            ("only " + std::to_string(latencies.size()) + " readings timed").c_str());
        return;
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["readings"] = static_cast<double>(latencies.size());
    state.counters["p50_ms"] = percentile(latencies, 50);
    state.counters["p99_ms"] = percentile(latencies, 99);
    state.counters["max_ms"] = latencies.back();
    state.counters["min_ms"] = latencies.front();
    state.counters["bound_ms"] = boundMs;
    state.counters["boxes"] = session.boxesShown();
}

void ReadingToRowLatency(benchmark::State& state) {
    for (auto _ : state) {
        // A reading every 0.3855 s. The timer is installed afresh after each
        // reading, so each reading falls about 0.6 of a period later in the
        // poll cycle than the one before: the readings cover the period
        // evenly, and none is replaced before its poll comes.
        Session session({"--pace", "every=0.3855"});
        timeReadingsToRows(state, session, kLatencyBoundMs);
    }
}

// An X-Rite 400 at its own 1200 baud, a colour reading every 0.4 s (a line
// takes 0.22 s); the last byte is logged when it has gone out. With --cr-end
// nothing but the quiet after the last byte ends a reading.
void LineReadingToRowLatency(benchmark::State& state) {
    const bool crEnded = state.range(0) != 0;
    for (auto _ : state) {
        std::vector<std::string> script{"--instrument", "xrite-400", "every=0.4"};
        if (crEnded)
            script.push_back("--cr-end");
        Session session(script, "xrite-400");
        timeReadingsToRows(state, session, crEnded ? 150 + 60 : 60);
    }
}

double processCpuSeconds() {
    timespec used{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

// The CPU the program takes over idleSeconds while acquisition runs and no reading comes.
double idleCpuPercent(benchmark::State& state, Session& session) {
    if (!session.start()) {
        state.SkipWithError("the simulator did not answer on COM1");
        return 0;
    }
    QEventLoop loop;
    const double cpuBefore = processCpuSeconds();
    const auto wallBefore = Clock::now();
    runEventLoop(std::chrono::seconds(idleSeconds), loop);
    const double cpu = processCpuSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
    const bool stillRunning = !session.dialog().state().stopped();
    session.dialog().button(id::kStartDev)->click();
    if (!stillRunning) {
        state.SkipWithError("acquisition stopped before the end");
        return 0;
    }
    state.counters["wall_s"] = wall;
    state.counters["cpu_s"] = cpu;
    state.counters["cpu_percent_of_core"] = cpu / wall * 100;
    return cpu / wall * 100;
}

void IdlePollingCpu(benchmark::State& state) {
    for (auto _ : state) {
        Session session({"--pace"});
        idleCpuPercent(state, session);
        int polls = 0;
        for (const auto& event : session.simulator().events())
            polls += event.what == "cmd XK" ? 1 : 0;
        state.counters["polls"] = polls;
    }
}

// Waiting on an X-Rite's port that sends nothing: the bound is 0.5 % of a core.
void LineIdleCpu(benchmark::State& state) {
    for (auto _ : state) {
        Session session({"--instrument", "xrite-400"}, "xrite-400");
        idleCpuPercent(state, session);
        state.counters["bound_percent"] = 0.5;
    }
}

BENCHMARK(ReadingToRowLatency)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(IdlePollingCpu)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(LineReadingToRowLatency)
    ->ArgName("cr_end")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(LineIdleCpu)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// Takes this program's own flags out of the command line.
void takeOwnFlags(int& argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--readings=", 11) == 0)
            readingsToTime = std::max(50, std::atoi(argv[i] + 11));
        else if (std::strncmp(argv[i], "--idle_seconds=", 15) == 0)
            idleSeconds = std::max(1, std::atoi(argv[i] + 15));
        else if (std::strcmp(argv[i], "--strip_window") == 0)
            stripWindowOpen = true;
        else if (std::strcmp(argv[i], "--journal") == 0)
            journalKept = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
}

}  // namespace
}  // namespace tarvo

int main(int argc, char** argv) {
    tarvo::takeOwnFlags(argc, argv);
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
