#include "app/InstrumentReadingLink.h"

#include "device/LineChoice.h"
#include "device/LineParser.h"

namespace tarvo {

int InstrumentReadingLink::open(int comNumber, std::string& message) {
    close();
    unknownReason_.clear();
    linesChosen_ = false;
    const int comPort = choosePort(comNumber);
    const InstrumentSetting setting = instrumentSetting(settings_, comPort);
    if (!setting.choice) {
        message = unknownInstrumentText(setting.value, comPort);
        unknownReason_ = "[Instruments] COM" + std::to_string(comPort) + "=" + setting.value +
                         " names no instrument tarvo knows";
        return -1;
    }
    if (setting.choice->instrument == Instrument::Polled) {
        return polled_.open(comNumber, message);
    }
    linesChosen_ = true;
    return lines_.open(comNumber, setting.choice->baudRate, message);
}

void InstrumentReadingLink::close() {
    polled_.close();
    lines_.close();
}

int InstrumentReadingLink::exchange(ReadingValues& values) {
    return lines_.port() ? lines_.exchange(values) : polled_.exchange(values);
}

void InstrumentReadingLink::resetFailureCount() {
    polled_.resetFailureCount();
}

std::string InstrumentReadingLink::failureReason() const {
    if (!unknownReason_.empty()) {
        return unknownReason_;
    }
    return linesChosen_ ? lines_.failureReason() : polled_.failureReason();
}

std::optional<std::chrono::milliseconds> InstrumentReadingLink::pendingGap() const {
    if (lines_.port() && lines_.readingBegun()) {
        return LineParser::kReadingGap;
    }
    return std::nullopt;
}

}  // namespace tarvo
