#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/AcquisitionPorts.h"
#include "app/MainWindowState.h"
#include "base/MessageBoxes.h"

namespace tarvo {

// Turns the densitometer's readings into rows of the table: "Start Dev." opens
// the link and installs the poll timer; every tick polls once, and a tick that
// brings a reading writes its row. Polling ends on "Stop Dev.", when the device
// is lost (two beeps) or after a long stretch without readings.
// An instrument that sends its readings unasked is not polled: the input watch
// wakes the cycle when bytes wait, a one-shot gap timer ends a reading that
// came without a line end, and the timer only measures the idle stretch.
class AcquisitionCycle {
  public:
    static constexpr std::chrono::milliseconds kPollPeriod{250};
    static constexpr int kIdleLimit = 4000;
    // The polled device stops on the tick after kIdleLimit + 1 idle ticks.
    static constexpr std::chrono::milliseconds kIdleSpan = kPollPeriod * (kIdleLimit + 2);
    static constexpr int kBeepHz = 1000;
    static constexpr std::chrono::milliseconds kBeepLength{50};

    // Called with the row that has just received a reading, while the
    // spreadsheet transfer is active. Everything else that follows the
    // readings (the views, the journal, the Strip window) observes the table.
    using Placement = std::function<void(const ReadingTable& table, int row)>;

    AcquisitionCycle(MainWindowState& window, ReadingLink& link, PollTimer& timer, Beeper& beeper,
                     MessageBoxes& boxes);

    void startStopClicked();
    // The stop routine: also run when the device is lost or the idle limit is reached.
    void stop();
    void tick();

    // What wakes the cycle for an instrument that sends unasked: the watch
    // calls inputWaiting, the gap timer gapPassed. Without them such an
    // instrument's port is opened but never read.
    void setInputWatch(InputWatch& watch, PollTimer& gapTimer) {
        input_ = &watch;
        gapTimer_ = &gapTimer;
    }
    void inputWaiting();
    void gapPassed();

    void setPlacement(Placement placement) { placement_ = std::move(placement); }
    // Told one line when the operator is shown a failed open: the box keeps its
    // fixed text, the line says which path failed and why.
    void setDiagnostics(std::function<void(const std::string&)> diagnostics) {
        diagnostics_ = std::move(diagnostics);
    }
    int idleCount() const { return idleCount_; }

  private:
    bool openLink();
    void deviceLost();
    std::chrono::milliseconds timerPeriod() const { return unasked_ ? kIdleSpan : kPollPeriod; }
    void showWaitingReadings();
    void holdInput();
    void resumeInput();
    void reportDroppedLines();
    void showReading(ReadingKind kind, const ReadingValues& values);
    std::vector<CellText> readingCells(ReadingKind kind, const ReadingValues& values,
                                       const std::string& time);
    void warnIfWrongVersion();

    MainWindowState& window_;
    ReadingLink& link_;
    PollTimer& timer_;
    Beeper& beeper_;
    MessageBoxes& boxes_;
    Placement placement_;
    std::function<void(const std::string&)> diagnostics_;
    InputWatch* input_ = nullptr;
    PollTimer* gapTimer_ = nullptr;
    bool unasked_ = false;
    int idleCount_ = 0;
};

}  // namespace tarvo
