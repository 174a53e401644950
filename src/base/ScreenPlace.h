#pragma once

#include <vector>

namespace tarvo {

// A window's outer rectangle (frame included), or a screen's working area, in
// screen pixels.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// How much of [lowA, highA) lies in [lowB, highB).
int overlap(int lowA, int highA, int lowB, int highB);

// The screen a window lies on most; the first where it lies on none.
// screens must not be empty.
const ScreenRect& screenOf(const ScreenRect& window, const std::vector<ScreenRect>& screens);

// Where a window of this size opens beside the main window, not over its
// table: right of it, else left, else below, else above, on the main window's
// screen, lined up with the main window's top or left edge; where none holds
// it, it is kept on that screen with as little of the main window covered as
// the screen allows.
ScreenPoint besideMainWindow(const ScreenRect& mainWindow, int width, int height,
                             const std::vector<ScreenRect>& screens);

// The same for a window the operator may resize (the Strip window): never
// larger than the main window's screen, and where no side holds it whole, made
// smaller to fit beside the main window (on the first side, in the same
// order, where it keeps at least half its width and half its height): a
// smaller chart beside the table serves better than a whole one over it.
ScreenRect shrunkBesideMainWindow(const ScreenRect& mainWindow, int width, int height,
                                  const std::vector<ScreenRect>& screens);

}  // namespace tarvo
