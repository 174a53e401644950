#include "app/DateText.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(DateText, HasNoLeadingZeros) {
    EXPECT_EQ(dateText({2026, 12, 6, 9, 5, 3}), "6.12.2026");
    EXPECT_EQ(dateText({2027, 1, 31, 0, 0, 0}), "31.1.2027");
}

TEST(TimeText, PadsEachPartWithABlank) {
    EXPECT_EQ(timeText({2026, 12, 6, 14, 5, 9}), "14: 5: 9");
    EXPECT_EQ(timeText({2026, 12, 6, 9, 30, 12}), " 9:30:12");
}

TEST(IsoDateTime, PadsWithZerosAsOtherProgramsReadIt) {
    EXPECT_EQ(isoDateTime({2026, 12, 6, 9, 5, 3}), "2026-12-06T09:05:03");
}

}  // namespace
}  // namespace tarvo
