#include "app/AcquisitionCycle.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "app/ReadingCells.h"
#include "res/Texts.h"

namespace tarvo {

AcquisitionCycle::AcquisitionCycle(MainWindowState& window, ReadingLink& link, PollTimer& timer,
                                   Beeper& beeper, MessageBoxes& boxes)
    : window_(window), link_(link), timer_(timer), beeper_(beeper), boxes_(boxes) {}

void AcquisitionCycle::startStopClicked() {
    if (!window_.stopped()) {
        window_.setWelcomeShown(true);
        stop();
        return;
    }
    if (!openLink())
        return;
    link_.resetFailureCount();
    window_.setWelcomeShown(false);
    unasked_ = input_ != nullptr && gapTimer_ != nullptr && link_.unaskedPort() != nullptr;
    if (!timer_.install(timerPeriod())) {
        boxes_.show("Timer installation failed !", text::kProgramName);
        // Without a timer nothing would ever release the port again.
        link_.close();
        unasked_ = false;
        window_.setWelcomeShown(true);
        return;
    }
    window_.acquisitionStarted();
    resumeInput();
}

// A device that is just being switched on may miss the first identify, so a
// failed open is tried once more before the operator is told.
bool AcquisitionCycle::openLink() {
    std::string message;
    if (link_.open(window_.settings().comNumber, message) != -1)
        return true;
    if (link_.open(window_.settings().comNumber, message) == 0)
        return true;
    if (diagnostics_)
        diagnostics_("COM" + std::to_string(window_.settings().comNumber) + ": " +
                     link_.failureReason());
    boxes_.show(message, text::kProgramName);
    return false;
}

void AcquisitionCycle::stop() {
    timer_.kill();
    holdInput();
    reportDroppedLines();
    link_.close();
    unasked_ = false;
    window_.acquisitionStopped();
}

void AcquisitionCycle::tick() {
    if (unasked_) {
        // Nothing polls an instrument that sends unasked; the timer ran the
        // whole idle stretch without a reading.
        stop();
        return;
    }
    ReadingValues values{};
    const int result = link_.exchange(values);
    if (result < 0) {
        deviceLost();
        return;
    }
    if (idleCount_++ > kIdleLimit) {
        idleCount_ = 0;
        stop();
        return;
    }
    if (values[0] == 0)
        return;
    showReading(static_cast<ReadingKind>(result), values);
}

void AcquisitionCycle::inputWaiting() {
    if (!unasked_) {
        return;
    }
    if (link_.receive() < 0) {
        deviceLost();
        return;
    }
    showWaitingReadings();
}

void AcquisitionCycle::gapPassed() {
    if (gapTimer_) {
        gapTimer_->kill();
    }
    if (!unasked_) {
        return;
    }
    link_.gapPassed();
    showWaitingReadings();
}

// Every reading received is shown before the cycle waits again: nothing else
// would wake it for a reading that waits in the link.
void AcquisitionCycle::showWaitingReadings() {
    ReadingValues values{};
    for (int result = link_.exchange(values); unasked_ && result >= 0 && values[0] != 0;
         result = link_.exchange(values)) {
        showReading(static_cast<ReadingKind>(result), values);
        values = {};
    }
    if (!unasked_) {
        return;
    }
    if (const auto gap = link_.pendingGap()) {
        gapTimer_->install(*gap);
    } else {
        gapTimer_->kill();
    }
}

void AcquisitionCycle::holdInput() {
    if (unasked_) {
        input_->unwatch();
        gapTimer_->kill();
    }
}

void AcquisitionCycle::resumeInput() {
    if (unasked_) {
        input_->watch(*link_.unaskedPort());
    }
}

void AcquisitionCycle::reportDroppedLines() {
    const int dropped = link_.droppedLines();
    if (dropped == 0 || !diagnostics_) {
        return;
    }
    diagnostics_("COM" + std::to_string(window_.settings().comNumber) + ": " +
                 std::to_string(dropped) + (dropped == 1 ? " line was" : " lines were") +
                 " no reading, the last: \"" + link_.lastDropped() + "\"");
}

void AcquisitionCycle::deviceLost() {
    link_.resetFailureCount();
    stop();
    beeper_.beep(kBeepHz, kBeepLength);
    beeper_.pause(kBeepLength);
    beeper_.beep(kBeepHz, kBeepLength);
}

void AcquisitionCycle::showReading(ReadingKind kind, const ReadingValues& values) {
    idleCount_ = 0;
    // Message boxes and the spreadsheet let window messages run; no tick may
    // start, and no input be read, while this one is writing its row.
    timer_.kill();
    holdInput();
    const LocalTime now = window_.clock().now();
    const std::string time = timeText(now);
    window_.updateDate(now);
    if (window_.settings().beep != 0)
        beeper_.beep(kBeepHz, kBeepLength);

    ReadingTable& table = window_.table();
    if (kind != table.mode())
        table.switchMode(kind, window_.tableClientWidth());
    const int row = table.writeReading(readingCells(kind, values, time));
    if (placement_)
        placement_(table, row);
    timer_.install(timerPeriod());
    resumeInput();
}

// The row's texts from column 1 on: the device's reading number, the values
// and a comment typed since the last reading.
std::vector<CellText> AcquisitionCycle::readingCells(ReadingKind kind, const ReadingValues& values,
                                                     const std::string& time) {
    const char version = window_.settings().version;
    warnIfWrongVersion();
    std::vector<CellText> cells{{1, "  " + std::to_string(values[0])}};
    auto valueCells = kind == ReadingKind::Density ? densityCells(values, time)
                                                   : colourCells(values, version, time);
    const int commentColumn = valueCells.back().column + 1;
    std::move(valueCells.begin(), valueCells.end(), std::back_inserter(cells));
    std::string comment = window_.takeComment();
    if (!comment.empty())
        cells.push_back({commentColumn, std::move(comment)});
    return cells;
}

void AcquisitionCycle::warnIfWrongVersion() {
    if (window_.settings().version == 'M')
        return;
    boxes_.show("Wrong Version in INI-File", text::kDefaultCaption);
}

}  // namespace tarvo
