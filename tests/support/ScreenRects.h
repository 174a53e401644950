#pragma once

#include "base/ScreenPlace.h"

namespace tarvo::test {

// Written out here rather than taken from the placing code, so a fault there
// cannot hide itself in the check.
inline bool coversPartOf(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

inline bool liesOn(const ScreenRect& window, const ScreenRect& screen) {
    return window.left >= screen.left && window.top >= screen.top &&
           window.right() <= screen.right() && window.bottom() <= screen.bottom();
}

}  // namespace tarvo::test
