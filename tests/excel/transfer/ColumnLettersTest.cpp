#include "excel/transfer/ColumnLetters.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace tarvo {
namespace {

struct Letters {
    std::string text;
    int column;
    std::string corrected;
};

void PrintTo(const Letters& letters, std::ostream* out) {
    *out << '"' << letters.text << '"';
}

class ColumnFromLettersTest : public ::testing::TestWithParam<Letters> {};

TEST_P(ColumnFromLettersTest, GivesTheColumnAndTheCorrectedText) {
    std::string text = GetParam().text;
    EXPECT_EQ(columnFromLetters(text), GetParam().column) << GetParam().text;
    EXPECT_EQ(text, GetParam().corrected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ColumnFromLettersTest,
    ::testing::Values(Letters{"A", 1, "A"}, Letters{"z", 26, "Z"}, Letters{"AB", 28, "AB"},
                      Letters{"ab", 28, "AB"}, Letters{"aB", 28, "AB"}, Letters{"GZ", 208, "GZ"},
                      Letters{"gz", 208, "GZ"}, Letters{"HA", -1, ""}, Letters{"ZZ", -1, ""},
                      Letters{"ABC", -1, ""}, Letters{"1", -1, ""}, Letters{"[", 27, "["},
                      Letters{"A@", 26, "A@"}, Letters{"A1", -1, ""}, Letters{"A[", -1, ""},
                      Letters{"", -1, ""}, Letters{"@", -1, ""}, Letters{"\xE9", -1, ""}));

}  // namespace
}  // namespace tarvo
