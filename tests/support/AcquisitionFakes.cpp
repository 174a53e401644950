#include "AcquisitionFakes.h"

namespace tarvo::test {

int ScriptedLink::open(int comNumber, std::string& message) {
    openedComNumbers.push_back(comNumber);
    int result = 0;
    if (!openResults.empty()) {
        result = openResults.front();
        openResults.pop_front();
    }
    if (result == -1) {
        message = openMessage;
    } else {
        isOpen = true;
    }
    return result;
}

void ScriptedLink::close() {
    ++closes;
    isOpen = false;
}

int ScriptedLink::exchange(ReadingValues& values) {
    ++exchanges;
    if (steps.empty()) {
        values[0] = 0;
        return 0;
    }
    Step step = steps.front();
    steps.pop_front();
    if (step.result >= 0)
        values = step.values;
    return step.result;
}

void RecordingInputWatch::watch(const SerialPort& watched) {
    ++watches;
    watching = true;
    port = &watched;
}

void RecordingInputWatch::unwatch() {
    ++unwatches;
    watching = false;
}

bool ManualTimer::install(std::chrono::milliseconds p) {
    ++installs;
    if (failInstall)
        return false;
    running = true;
    period = p;
    return true;
}

void ManualTimer::kill() {
    ++kills;
    running = false;
}

void RecordingBeeper::beep(int frequencyHz, std::chrono::milliseconds duration) {
    events.push_back("beep " + std::to_string(frequencyHz) + "/" +
                     std::to_string(duration.count()));
}

void RecordingBeeper::pause(std::chrono::milliseconds duration) {
    events.push_back("pause " + std::to_string(duration.count()));
}

}  // namespace tarvo::test
