#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvo::sim {

using Bytes = std::vector<std::uint8_t>;

// One reading waiting in the device: a colour reading sends six words, a
// density reading three.
struct SimReading {
    bool density = false;
    std::vector<std::int16_t> words;
    // Cut the data reply to this many bytes (a fault).
    std::optional<std::size_t> shortTo;
    // Made up by the simulator (every=, endless=) rather than scripted.
    bool madeUp = false;
};

// What the simulated densitometer does, as read from script items such as
// "colour=7,1234,-200,0,3000,500" or "every=2".
struct SimScript {
    std::vector<SimReading> readings;
    double everySeconds = 0;        // timed readings with plausible values, 0: none
    int densityEvery = 0;           // every n-th timed reading is a density reading
    std::optional<bool> endless;    // a fresh reading at every poll (true: density)
    std::uint8_t idleStatus = '#';  // the poll answer while nothing waits
    std::optional<std::uint8_t> firstIdentifyAnswer;  // a wrong byte before the '!'
    bool identifySilent = false;
    Bytes afterIdentify;                     // bytes sent right after the '!'
    std::optional<int> silentAfterReadings;  // polls go unanswered after this many fetches
    std::vector<Bytes> garbage;              // answers to the first polls instead of a status
    std::optional<int> hangupAfterPolls;     // close the line on the poll after this many
    std::optional<double> hangupAtSeconds;
    std::optional<std::size_t> nextShort;  // "short=" waiting for its reading
};

// Adds one item to the script; false with a reason for an item it does not know.
bool applyScriptItem(SimScript& script, const std::string& item, std::string& error);

// Items separated by blanks or line ends; '#' starts a comment.
bool applyScriptText(SimScript& script, const std::string& text, std::string& error);

// The data reply of a reading: words high byte first, cut short if so scripted.
Bytes replyBytes(const SimReading& reading);

// A plausible reading for demonstrations, numbered as given.
SimReading plausibleReading(int number, bool density);

// The shortest every= period: one poll's time.
extern const double kShortestEverySeconds;

extern const char* const ScriptHelp;

}  // namespace tarvo::sim
