#include "device/InstrumentSettings.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "files/IniFile.h"

namespace tarvo {

namespace {

constexpr const char* kInstrumentsSection = "Instruments";

struct Family {
    Instrument instrument;
    const char* key;
    const char* title;
    int baudRate;
};

constexpr std::array<Family, 3> kFamilies{{
    {Instrument::Polled, "poll", "Densitometer (polled)", 4800},
    {Instrument::XRite400, "xrite-400", "X-Rite 400 series", 1200},
    {Instrument::XRite500, "xrite-500", "X-Rite 500 series", 9600},
}};
constexpr std::array<Instrument, 3> kInstruments{Instrument::Polled, Instrument::XRite400,
                                                 Instrument::XRite500};
constexpr std::array<int, 6> kLineBaudRates{300, 600, 1200, 2400, 4800, 9600};

const Family& family(Instrument instrument) {
    return *std::find_if(kFamilies.begin(), kFamilies.end(),
                         [instrument](const Family& f) { return f.instrument == instrument; });
}

std::string lowered(std::string_view text) {
    std::string result;
    for (const char c : text) {
        result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<int> lineBaudRate(std::string_view text) {
    const std::string_view digits = trimmed(text);
    for (const int rate : kLineBaudRates) {
        if (digits == std::to_string(rate)) {
            return rate;
        }
    }
    return std::nullopt;
}

}  // namespace

std::span<const Instrument> instruments() {
    return kInstruments;
}

const char* instrumentTitle(Instrument instrument) {
    return family(instrument).title;
}

int defaultBaudRate(Instrument instrument) {
    return family(instrument).baudRate;
}

std::span<const int> lineBaudRates() {
    return kLineBaudRates;
}

std::optional<InstrumentChoice> parseInstrument(std::string_view value) {
    const std::string_view text = trimmed(value);
    const auto comma = text.find(',');
    const std::string name = lowered(trimmed(text.substr(0, comma)));
    if (name.empty() && comma == std::string_view::npos) {
        return InstrumentChoice{};
    }
    const auto known = std::find_if(kFamilies.begin(), kFamilies.end(),
                                    [&name](const Family& f) { return name == f.key; });
    if (known == kFamilies.end()) {
        return std::nullopt;
    }
    InstrumentChoice choice{known->instrument, known->baudRate};
    if (comma == std::string_view::npos) {
        return choice;
    }
    const std::optional<int> rate = lineBaudRate(text.substr(comma + 1));
    if (!rate || choice.instrument == Instrument::Polled) {
        return std::nullopt;
    }
    choice.baudRate = *rate;
    return choice;
}

std::string instrumentValue(const InstrumentChoice& choice) {
    const Family& chosen = family(choice.instrument);
    if (choice.instrument == Instrument::Polled || choice.baudRate == chosen.baudRate) {
        return chosen.key;
    }
    return std::string(chosen.key) + "," + std::to_string(choice.baudRate);
}

InstrumentSetting instrumentSetting(const IniFile& settings, int comPort) {
    InstrumentSetting setting;
    setting.value =
        settings.value(kInstrumentsSection, "COM" + std::to_string(comPort)).value_or("");
    setting.choice = parseInstrument(setting.value);
    return setting;
}

bool writeInstrument(IniFile& settings, int comPort, const InstrumentChoice& choice) {
    return comPort >= 1 && comPort <= 4 &&
           settings.write(kInstrumentsSection, "COM" + std::to_string(comPort),
                          instrumentValue(choice));
}

std::string unknownInstrumentText(std::string_view value, int comPort) {
    return "Unknown instrument \"" + std::string(value) + "\" for COM" + std::to_string(comPort) +
           " in Tarvo.ini.";
}

std::string instrumentation(const InstrumentSetting& setting) {
    if (!setting.choice || setting.choice->instrument == Instrument::Polled) {
        return "densitometer";
    }
    return instrumentTitle(setting.choice->instrument);
}

std::string instrumentToolTip(const InstrumentSetting& setting) {
    if (!setting.choice) {
        return ", unknown instrument \"" + setting.value + "\"";
    }
    if (setting.choice->instrument == Instrument::Polled) {
        return {};
    }
    return std::string(", ") + instrumentTitle(setting.choice->instrument) + " at " +
           std::to_string(setting.choice->baudRate) + " baud";
}

}  // namespace tarvo
