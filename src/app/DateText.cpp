#include "app/DateText.h"

#include <cstdio>

namespace tarvo {

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

std::string isoDateTime(const LocalTime& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return text;
}

}  // namespace tarvo
