#include "app/DateText.h"

#include <cstdio>
#include <ctime>

namespace tarvo {

LocalTime SystemClock::now() const {
    std::time_t seconds = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

// Integers only: these formats do not depend on the C locale.
std::string dateText(const LocalTime& time) {
    char text[40];
    std::snprintf(text, sizeof text, "%d.%d.%d", time.day, time.month, time.year);
    return text;
}

std::string timeText(const LocalTime& time) {
    char text[40];
    std::snprintf(text, sizeof text, "%2d:%2d:%2d", time.hour, time.minute, time.second);
    return text;
}

}  // namespace tarvo
