#include "base/DecimalValue.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(DecimalValue, ConvertsLikeTheClassicLibrary) {
    EXPECT_EQ(decimalValue("  42abc"), 42);
    EXPECT_EQ(decimalValue("-7"), -7);
    EXPECT_EQ(decimalValue("+3"), 3);
    EXPECT_EQ(decimalValue("x1"), 0);
    EXPECT_EQ(decimalValue(""), 0);
    EXPECT_EQ(decimalValue("99999999999999999999"), 2147483647);
    EXPECT_EQ(decimalValue("-99999999999999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace tarvo
