#include "SimScript.h"

#include <array>
#include <cstdlib>
#include <random>
#include <sstream>

namespace tarvo::sim {

namespace {

bool parseInt(const std::string& text, long& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return *end == '\0';
}

bool parseWords(const std::string& text, std::size_t count, std::vector<std::int16_t>& words) {
    std::stringstream list(text);
    std::string field;
    while (std::getline(list, field, ',')) {
        long value = 0;
        if (!parseInt(field, value) || value < -32768 || value > 32767) {
            return false;
        }
        words.push_back(static_cast<std::int16_t>(value));
    }
    return words.size() == count;
}

bool parseHex(const std::string& text, Bytes& bytes) {
    if (text.empty() || text.size() % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); i += 2) {
        char* end = nullptr;
        const std::string pair = text.substr(i, 2);
        const long value = std::strtol(pair.c_str(), &end, 16);
        if (*end != '\0') {
            return false;
        }
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return true;
}

bool parseSeconds(const std::string& text, double& seconds) {
    char* end = nullptr;
    seconds = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && seconds > 0;
}

bool parseCount(const std::string& text, int& count) {
    long value = 0;
    if (!parseInt(text, value) || value < 0 || value > 1'000'000) {
        return false;
    }
    count = static_cast<int>(value);
    return true;
}

bool applyReading(SimScript& script, bool density, const std::string& value,
                  std::optional<std::size_t>& pendingShort) {
    SimReading reading;
    reading.density = density;
    if (!parseWords(value, density ? 3 : 6, reading.words)) {
        return false;
    }
    reading.shortTo = pendingShort;
    pendingShort.reset();
    script.readings.push_back(reading);
    return true;
}

void queueBurst(SimScript& script, int count) {
    for (int i = 0; i < count; ++i) {
        const int number = static_cast<int>(script.readings.size()) % 32767 + 1;
        const bool density = script.densityEvery > 0 && number % script.densityEvery == 0;
        script.readings.push_back(plausibleReading(number, density));
        script.readings.back().madeUp = true;
    }
}

}  // namespace

// The program polls four times a second and fetches at most one reading a
// poll; a device that measured faster would only overwrite its readings.
const double kShortestEverySeconds = 0.25;

const char* const ScriptHelp =
    "Script items (arguments, or lines of --script FILE; '#' starts a comment):\n"
    "  colour=N,C,M,Y,K,P   queue a colour reading (status '1', 12-byte reply);\n"
    "                       number, densities x1000, percent x10\n"
    "  density=N,D,P        queue a density reading (status '!', 6-byte reply)\n"
    "  short=B              cut the next queued reading's reply to B bytes\n"
    "  every=S              a new colour reading with plausible values every S seconds\n"
    "                       (at least 0.25, the time between two polls)\n"
    "  density-every=K      with every= or burst=: each K-th made-up reading is a\n"
    "                       density reading\n"
    "  burst=N              queue N made-up readings at once (with --instrument: sent\n"
    "                       back to back at the line's pace, a flood)\n"
    "  endless=colour|density  a fresh plausible reading is ready at every poll\n"
    "  idle=HH              poll answer while nothing waits (hex, default 23 '#')\n"
    "  identify-first=HH    answer the first identify with byte HH, then '!'\n"
    "  identify=silent      never answer the identify command\n"
    "  after-identify=HEX   bytes sent right after the '!' (e.g. 3131)\n"
    "  garbage=HEX          answer the next poll with these bytes (repeatable)\n"
    "  silent-after=K       answer no poll once K readings were fetched\n"
    "  hangup-after=K       close the line when poll K+1 arrives (with --instrument:\n"
    "                       once K readings were sent)\n"
    "  hangup-at=S          close the line S seconds after start\n";

bool applyScriptItem(SimScript& script, const std::string& item, std::string& error) {
    const auto equals = item.find('=');
    const std::string key = item.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : item.substr(equals + 1);
    bool ok = false;
    int count = 0;
    double seconds = 0;
    Bytes bytes;
    if (key == "colour" || key == "color") {
        ok = applyReading(script, false, value, script.nextShort);
    } else if (key == "density") {
        ok = applyReading(script, true, value, script.nextShort);
    } else if (key == "short") {
        ok = parseCount(value, count);
        script.nextShort = static_cast<std::size_t>(count);
    } else if (key == "every") {
        ok = parseSeconds(value, script.everySeconds);
        if (ok && script.everySeconds < kShortestEverySeconds) {
            error = "every=" + value + ": shorter than the 0.25 s between two polls, so no poll " +
                    "could fetch most of its readings (endless= has one ready at every poll)";
            return false;
        }
    } else if (key == "endless" && (value == "colour" || value == "density")) {
        script.endless = value == "density";
        ok = true;
    } else if (key == "density-every") {
        ok = parseCount(value, script.densityEvery);
    } else if (key == "burst" && parseCount(value, count)) {
        queueBurst(script, count);
        ok = true;
    } else if (key == "idle" && parseHex(value, bytes) && bytes.size() == 1) {
        script.idleStatus = bytes[0];
        ok = true;
    } else if (key == "identify-first" && parseHex(value, bytes) && bytes.size() == 1) {
        script.firstIdentifyAnswer = bytes[0];
        ok = true;
    } else if (key == "identify" && value == "silent") {
        script.identifySilent = ok = true;
    } else if (key == "after-identify" && parseHex(value, bytes)) {
        script.afterIdentify = bytes;
        ok = true;
    } else if (key == "garbage" && parseHex(value, bytes)) {
        script.garbage.push_back(bytes);
        ok = true;
    } else if (key == "silent-after" && parseCount(value, count)) {
        script.silentAfterReadings = count;
        ok = true;
    } else if (key == "hangup-after" && parseCount(value, count)) {
        script.hangupAfterPolls = count;
        ok = true;
    } else if (key == "hangup-at" && parseSeconds(value, seconds)) {
        script.hangupAtSeconds = seconds;
        ok = true;
    }
    if (!ok) {
        error = "bad script item \"" + item + "\"";
    }
    return ok;
}

bool applyScriptText(SimScript& script, const std::string& text, std::string& error) {
    std::stringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::stringstream items(line.substr(0, line.find('#')));
        std::string item;
        while (items >> item) {
            if (!applyScriptItem(script, item, error)) {
                return false;
            }
        }
    }
    return true;
}

Bytes replyBytes(const SimReading& reading) {
    Bytes bytes;
    for (const std::int16_t word : reading.words) {
        const auto raw = static_cast<std::uint16_t>(word);
        bytes.push_back(static_cast<std::uint8_t>(raw >> 8));
        bytes.push_back(static_cast<std::uint8_t>(raw & 0xFF));
    }
    if (reading.shortTo && *reading.shortTo < bytes.size()) {
        bytes.resize(*reading.shortTo);
    }
    return bytes;
}

SimReading plausibleReading(int number, bool density) {
    std::mt19937 random(static_cast<unsigned>(number));
    auto around = [&random](int centre, int spread) {
        return static_cast<std::int16_t>(
            centre + std::uniform_int_distribution<int>(-spread, spread)(random));
    };
    SimReading reading;
    reading.density = density;
    const auto id = static_cast<std::int16_t>(number);
    if (density) {
        reading.words = {id, around(1450, 150), around(500, 300)};
    } else {
        // Patches as on a colour bar: solids of cyan, magenta, yellow and
        // black in turn (the measured ink high, the others low), then a grey.
        const int patch = (number - 1) % 5;
        std::array<std::int16_t, 4> inks{};
        for (int ink = 0; ink < 4; ++ink) {
            inks[ink] = patch == 4     ? around(800, 60)
                        : ink == patch ? around(1450, 150)
                                       : around(120, 60);
        }
        reading.words = {id, inks[0], inks[1], inks[2], inks[3], around(450, 200)};
    }
    return reading;
}

}  // namespace tarvo::sim
