#include "LineFormat.h"

#include <cstdlib>

namespace tarvo::sim {

namespace {

// Each channel's letter and where the reading keeps its value, in the order
// the series writes them: the 400 series begins with the visual channel.
struct Field {
    char letter;
    std::size_t index;
};
constexpr std::array<Field, 4> kFields400{{{'V', 3}, {'C', 0}, {'M', 1}, {'Y', 2}}};
constexpr std::array<Field, 4> kFields500{{{'C', 0}, {'M', 1}, {'Y', 2}, {'V', 3}}};

int roundedToHundredths(int thousandths) {
    const int magnitude = (std::abs(thousandths) + 5) / 10 * 10;
    return thousandths < 0 ? -magnitude : magnitude;
}

std::string valueText(int thousandths, bool noPoint) {
    const int hundredths = std::abs(thousandths) / 10;
    std::string text = thousandths < 0 && hundredths != 0 ? "-" : "";
    if (noPoint) {
        return text + std::to_string(hundredths);
    }
    const int cents = hundredths % 100;
    return text + std::to_string(hundredths / 100) + "." + (cents < 10 ? "0" : "") +
           std::to_string(cents);
}

std::string fieldText(const Field& field, int value, const LineOptions& options) {
    const bool series500 = options.series == LineOptions::Series::XRite500;
    return std::string(1, field.letter) + (series500 ? " " : "") +
           valueText(value, options.noPoint);
}

// The 400 series ends every field with its separator; the 500 series puts
// one between fields.
std::string fieldsText(const LineValues& line, const LineOptions& options) {
    const bool series500 = options.series == LineOptions::Series::XRite500;
    const std::string separator = options.crSeparator ? "\r" : series500 ? "," : " ";
    const auto& fields = series500 ? kFields500 : kFields400;
    std::string text;
    for (const Field& field : fields) {
        if (line.density && field.letter != 'V') {
            continue;
        }
        const int value = line.values[line.density ? 0 : field.index];
        if (series500 && !text.empty()) {
            text += separator;
        }
        text += fieldText(field, value, options);
        if (!series500 && !line.density) {
            text += separator;
        }
    }
    return text;
}

bool oddBits(std::uint8_t c) {
    bool odd = false;
    for (; c != 0; c &= static_cast<std::uint8_t>(c - 1)) {
        odd = !odd;
    }
    return odd;
}

Bytes onTheWire(const std::string& text, const LineOptions& options) {
    Bytes bytes;
    for (const char c : text) {
        auto byte = static_cast<std::uint8_t>(c & 0x7F);
        bool top = false;
        switch (options.parity) {
            case LineOptions::Parity::Space:
                break;
            case LineOptions::Parity::Mark:
                top = true;
                break;
            case LineOptions::Parity::Even:
                top = oddBits(byte);
                break;
            case LineOptions::Parity::Odd:
                top = !oddBits(byte);
                break;
        }
        bytes.push_back(static_cast<std::uint8_t>(byte | (top ? 0x80 : 0)));
    }
    return bytes;
}

std::string lineEnd(const LineOptions& options) {
    return options.crEnd ? "\r" : "\r\n";
}

}  // namespace

bool parseSeries(const std::string& name, LineOptions::Series& series) {
    if (name == "xrite-400" || name == "xrite-500") {
        series =
            name == "xrite-400" ? LineOptions::Series::XRite400 : LineOptions::Series::XRite500;
        return true;
    }
    return false;
}

bool parseParity(const std::string& name, LineOptions::Parity& parity) {
    const std::array<std::pair<const char*, LineOptions::Parity>, 4> names{{
        {"space", LineOptions::Parity::Space},
        {"mark", LineOptions::Parity::Mark},
        {"even", LineOptions::Parity::Even},
        {"odd", LineOptions::Parity::Odd},
    }};
    for (const auto& [text, value] : names) {
        if (name == text) {
            parity = value;
            return true;
        }
    }
    return false;
}

int seriesBaudRate(LineOptions::Series series) {
    return series == LineOptions::Series::XRite400 ? 1200 : 9600;
}

LineValues lineValues(const SimReading& reading) {
    LineValues line;
    line.density = reading.density;
    const std::size_t count = reading.density ? 1 : 4;
    for (std::size_t i = 0; i < count && i + 1 < reading.words.size(); ++i) {
        line.values[i] = roundedToHundredths(reading.words[i + 1]);
    }
    return line;
}

Bytes readingLine(const LineValues& values, const LineOptions& options) {
    return onTheWire(fieldsText(values, options) + lineEnd(options), options);
}

Bytes headerLine(const LineOptions& options) {
    const bool series400 = options.series == LineOptions::Series::XRite400;
    return onTheWire(
        std::string(series400 ? "X-Rite 418" : "X-Rite 530") + " Status T" + lineEnd(options),
        options);
}

Bytes noiseLine(const LineOptions& options, int n) {
    Bytes bytes = onTheWire("~#" + std::to_string(n) + "\x07\x1B", options);
    bytes.push_back(0x00);
    bytes.push_back(static_cast<std::uint8_t>(0x80 | ('A' + n % 26)));
    const Bytes end = onTheWire(lineEnd(options), options);
    bytes.insert(bytes.end(), end.begin(), end.end());
    return bytes;
}

}  // namespace tarvo::sim
