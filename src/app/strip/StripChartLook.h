#pragma once

#include <cstdint>
#include <span>

#include "app/strip/StripProgress.h"

namespace tarvo {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// How a curve of the Strip window is drawn, the same in both front-ends.
struct InkLook {
    CurveInk ink;
    const char* name;
    Rgb colour;
};

// Every curve's look, in the order the inks are measured.
std::span<const InkLook> inkLooks();
const InkLook& inkLook(CurveInk ink);

// The patch axis of a picture: 1 to last, a tick at every step-th patch.
struct PatchAxis {
    int last = 2;
    int step = 1;
};
PatchAxis patchAxis(const StripPicture& picture);

// The density axis's labels and ticks are this far apart.
inline constexpr double kDensityStep = 0.5;

}  // namespace tarvo
