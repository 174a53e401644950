#include "device/ReadingLine.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tarvo {

namespace {

// Enough for any density with a few decimals; more digits are noise, and
// stopping there keeps the sums far from overflowing.
constexpr int kMostDigits = 9;

constexpr std::size_t kCyan = 1;
constexpr std::size_t kMagenta = 2;
constexpr std::size_t kYellow = 3;
constexpr std::size_t kBlack = 4;

bool isSeparator(char c) {
    return c == ' ' || c == ',' || c == '\t' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The slot of ReadingValues a channel letter fills; 0 for any other character.
std::size_t channelSlot(char letter) {
    switch (letter) {
        case 'C':
        case 'c':
            return kCyan;
        case 'M':
        case 'm':
            return kMagenta;
        case 'Y':
        case 'y':
            return kYellow;
        case 'V':
        case 'v':
            return kBlack;
        default:
            return 0;
    }
}

// Reads the number at `at` and moves past it. The instrument writes two
// decimals; a third is kept, a fourth rounds.
class NumberReader {
  public:
    NumberReader(std::string_view text, std::size_t& at) : text_(text), at_(at) {}

    std::optional<int> thousandths() {
        const bool negative = sign();
        std::int64_t whole = 0;
        int wholeDigits = 0;
        if (!digits(whole, wholeDigits, kMostDigits)) {
            return std::nullopt;
        }
        std::int64_t value = 0;
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            value = whole * 1000 + fraction(kMostDigits - wholeDigits);
        } else {
            // No decimal point: the instrument sends hundredths.
            value = whole * 10;
        }
        if (digitsSeen_ == 0 || tooLong_ || value > kLargestLineValue) {
            return std::nullopt;
        }
        return static_cast<int>(negative ? -value : value);
    }

  private:
    bool sign() {
        if (at_ < text_.size() && (text_[at_] == '-' || text_[at_] == '+')) {
            return text_[at_++] == '-';
        }
        return false;
    }

    // False once more digits come than a density can have.
    bool digits(std::int64_t& value, int& count, int most) {
        for (; at_ < text_.size() && isDigit(text_[at_]); ++at_, ++count) {
            if (count >= most) {
                tooLong_ = true;
                return false;
            }
            value = value * 10 + (text_[at_] - '0');
        }
        digitsSeen_ += count;
        return true;
    }

    // The digits after the point in thousandths.
    std::int64_t fraction(int most) {
        std::int64_t value = 0;
        int count = 0;
        if (!digits(value, count, most)) {
            return 0;
        }
        for (; count < 3; ++count) {
            value *= 10;
        }
        std::int64_t divisor = 1;
        for (; count > 3; --count) {
            divisor *= 10;
        }
        return (value + divisor / 2) / divisor;
    }

    std::string_view text_;
    std::size_t& at_;
    int digitsSeen_ = 0;
    bool tooLong_ = false;
};

struct Fields {
    std::array<std::optional<int>, 5> bySlot{};
    int count = 0;
    std::size_t lastSlot = 0;
};

// One field at `at` into fields; false when what stands there is no field or
// its channel came before.
bool readField(std::string_view line, std::size_t& at, Fields& fields) {
    const std::size_t slot = channelSlot(line[at]);
    if (slot == 0 || fields.bySlot[slot]) {
        return false;
    }
    ++at;
    while (at < line.size() && line[at] == ' ') {
        ++at;
    }
    const std::optional<int> value = NumberReader(line, at).thousandths();
    if (!value || (at < line.size() && !isSeparator(line[at]))) {
        return false;
    }
    fields.bySlot[slot] = value;
    fields.lastSlot = slot;
    ++fields.count;
    return true;
}

LineOutcome dropped() {
    LineOutcome outcome;
    outcome.kind = LineOutcome::Kind::Dropped;
    return outcome;
}

}  // namespace

LineOutcome readLine(std::string_view line) {
    Fields fields;
    std::size_t at = 0;
    while (true) {
        while (at < line.size() && isSeparator(line[at])) {
            ++at;
        }
        if (at == line.size()) {
            break;
        }
        if (!readField(line, at, fields)) {
            return dropped();
        }
    }
    LineOutcome outcome;
    if (fields.count == 0) {
        return outcome;
    }
    if (fields.count == 1) {
        outcome.kind = LineOutcome::Kind::Reading;
        outcome.reading = ReadingKind::Density;
        outcome.values[1] = *fields.bySlot[fields.lastSlot];
        return outcome;
    }
    if (fields.count != 4) {
        return dropped();
    }
    // Four fields, each channel once: all four are there.
    outcome.kind = LineOutcome::Kind::Reading;
    outcome.reading = ReadingKind::Colour;
    for (std::size_t slot = kCyan; slot <= kBlack; ++slot) {
        outcome.values[slot] = *fields.bySlot[slot];
    }
    return outcome;
}

}  // namespace tarvo
