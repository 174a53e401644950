#pragma once

#include "app/AcquisitionPorts.h"
#include "app/DeviceReadingLink.h"
#include "device/DeviceLink.h"
#include "device/InstrumentSettings.h"
#include "device/LineLink.h"

namespace tarvo {

class IniFile;

// The reading link of the instrument that [Instruments] names for the port,
// chosen anew at every open: the polled densitometer (the default), or an
// instrument that sends each reading as a line of text. A name tarvo does not
// know fails the open with its own text and is not guessed at.
class InstrumentReadingLink final : public ReadingLink {
  public:
    InstrumentReadingLink(const IniFile& settings, DeviceLink& polled, LineLink& lines)
        : settings_(settings), polled_(polled), lines_(lines) {}

    int open(int comNumber, std::string& message) override;
    void close() override;
    int exchange(ReadingValues& values) override;
    void resetFailureCount() override;
    std::string failureReason() const override;

    const SerialPort* unaskedPort() const override { return lines_.port(); }
    int receive() override { return lines_.receive(); }
    std::optional<std::chrono::milliseconds> pendingGap() const override;
    void gapPassed() override { lines_.gapPassed(); }
    int droppedLines() const override { return linesChosen_ ? lines_.droppedLines() : 0; }
    std::string lastDropped() const override { return lines_.lastDropped(); }

  private:
    const IniFile& settings_;
    DeviceReadingLink polled_;
    LineLink& lines_;
    bool linesChosen_ = false;  // by the last open
    std::string unknownReason_;
};

}  // namespace tarvo
