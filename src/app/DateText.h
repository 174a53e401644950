#pragma once

#include <string>

namespace tarvo {

// Local date and time of day, as the clock gives them.
struct LocalTime {
    int year = 1970;  // four digits
    int month = 1;    // 1 to 12
    int day = 1;      // 1 to 31
    int hour = 0;     // 0 to 23
    int minute = 0;
    int second = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
};

// The computer's local clock (posix/ and win32/ each read it their own way).
class SystemClock final : public Clock {
  public:
    LocalTime now() const override;
};

// "%d.%d.%d" of day, month and year, without leading zeros: 6.12.2026.
std::string dateText(const LocalTime& time);
// "%2d:%2d:%2d" of hour, minute and second: "14: 5: 9".
std::string timeText(const LocalTime& time);
// ISO 8601 date and time, as files exchanged with other programs carry it:
// "2026-12-06T14:05:09".
std::string isoDateTime(const LocalTime& time);

}  // namespace tarvo
