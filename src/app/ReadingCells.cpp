#include "app/ReadingCells.h"

#include <charconv>

namespace tarvo {
namespace {

constexpr float kDensityScale = 0.001f;
constexpr float kPercentScale = 0.1f;
// Shifting toward zero makes the two-decimal text show the value cut after
// the second decimal instead of rounded.
constexpr float kDisplayCorrection = 0.0049f;
constexpr double kNeutralRatio = 0.37037037037037035;  // 10/27
constexpr int kNoMinimumYet = 9000;

float corrected(float x) {
    return x > 0 ? x - kDisplayCorrection : x + kDisplayCorrection;
}

}  // namespace

std::string fixedText(float value, int decimals) {
    char text[64];
    auto end = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                             std::chars_format::fixed, decimals)
                   .ptr;
    return std::string(text, end);
}

std::string colourLetter(const ReadingValues& v) {
    int max = 0;
    int maxIndex = 0;
    int min = kNoMinimumYet;
    for (int i = 1; i <= 4; ++i) {
        if (v[i] > max) {
            max = v[i];
            maxIndex = i;
        }
        if (v[i] < min)
            min = v[i];
    }
    if (max * kNeutralRatio > max - min)
        return "K";
    static const char* const kLetters[] = {"", "C", "M", "Y", "K"};
    return kLetters[maxIndex];
}

std::vector<CellText> colourCells(const ReadingValues& v, char version, const std::string& time) {
    const int n = version == 'L' ? 5 : 6;
    std::vector<CellText> cells;
    for (int i = 1; i <= n - 1; ++i) {
        float x = i == 5 ? static_cast<float>(v[5]) * kPercentScale
                         : static_cast<float>(v[i]) * kDensityScale;
        cells.push_back({i + 1, fixedText(corrected(x), 2)});
    }
    cells.push_back({n + 1, colourLetter(v)});
    cells.push_back({n + 2, time});
    return cells;
}

std::vector<CellText> densityCells(const ReadingValues& v, const std::string& time) {
    return {{2, fixedText(static_cast<float>(v[1]) * kDensityScale, 3)},
            {3, fixedText(static_cast<float>(v[2]) * kPercentScale, 3)},
            {4, time}};
}

}  // namespace tarvo
