#include "app/strip/StripChartLook.h"

#include <algorithm>

namespace tarvo {

namespace {

// Yellow a little darker than the ink, so that its curve shows on white.
constexpr InkLook kInks[] = {
    {CurveInk::Cyan, "Cyan", {0, 160, 227}},      {CurveInk::Magenta, "Magenta", {228, 0, 124}},
    {CurveInk::Yellow, "Yellow", {230, 190, 0}},  {CurveInk::Black, "Black", {0, 0, 0}},
    {CurveInk::Density, "Density", {96, 96, 96}},
};

constexpr int kLongAxis = 25;  // patches above which the axis is labelled every fifth

}  // namespace

std::span<const InkLook> inkLooks() {
    return kInks;
}

const InkLook& inkLook(CurveInk ink) {
    return *std::find_if(std::begin(kInks), std::end(kInks),
                         [ink](const InkLook& look) { return look.ink == ink; });
}

// A line needs two patches, so an empty table still shows an axis.
PatchAxis patchAxis(const StripPicture& picture) {
    const int last = std::max(picture.patches, 2);
    return {last, last > kLongAxis ? 5 : 1};
}

}  // namespace tarvo
