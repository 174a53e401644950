#include "base/ScreenPlace.h"

#include <algorithm>
#include <array>

namespace tarvo {
namespace {

constexpr int kGap = 8;

enum class Side { Right, Left, Below, Above };
constexpr std::array<Side, 4> kSides{Side::Right, Side::Left, Side::Below, Side::Above};

long long sharedArea(const ScreenRect& a, const ScreenRect& b) {
    return static_cast<long long>(overlap(a.left, a.right(), b.left, b.right())) *
           overlap(a.top, a.bottom(), b.top, b.bottom());
}

// Keeps [start, start + length) inside [low, high) where it can, its start
// on the screen where it cannot.
int keepInside(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length));
}

// The part of the screen on one side of the main window, a gap away from it;
// empty (or negative) where the main window reaches the screen's edge.
ScreenRect roomOn(Side side, const ScreenRect& main, const ScreenRect& screen) {
    switch (side) {
        case Side::Right:
            return {main.right() + kGap, screen.top, screen.right() - main.right() - kGap,
                    screen.height};
        case Side::Left:
            return {screen.left, screen.top, main.left - kGap - screen.left, screen.height};
        case Side::Below:
            return {screen.left, main.bottom() + kGap, screen.width,
                    screen.bottom() - main.bottom() - kGap};
        case Side::Above:
            return {screen.left, screen.top, screen.width, main.top - kGap - screen.top};
    }
    return {};
}

// A window in the room, against the main window and lined up with its edge.
ScreenRect placedIn(Side side, const ScreenRect& room, const ScreenRect& main, int width,
                    int height) {
    const int alongY = keepInside(main.top, height, room.top, room.bottom());
    const int alongX = keepInside(main.left, width, room.left, room.right());
    switch (side) {
        case Side::Right:
            return {room.left, alongY, width, height};
        case Side::Left:
            return {room.right() - width, alongY, width, height};
        case Side::Below:
            return {alongX, room.top, width, height};
        case Side::Above:
            return {alongX, room.bottom() - height, width, height};
    }
    return {};
}

bool holds(const ScreenRect& room, int width, int height) {
    return width <= room.width && height <= room.height;
}

// Against the screen's edge on the side with more room, so the window covers
// as little of the main window as it can.
ScreenPoint overTheMainWindow(const ScreenRect& main, int width, int height,
                              const ScreenRect& screen) {
    const bool moreRoomRight = screen.right() - main.right() >= main.left - screen.left;
    const int edge = moreRoomRight ? screen.right() - width : screen.left;
    return {std::max(screen.left, edge), keepInside(main.top, height, screen.top, screen.bottom())};
}

ScreenPoint onScreen(const ScreenRect& main, int width, int height, const ScreenRect& screen) {
    for (Side side : kSides) {
        const ScreenRect room = roomOn(side, main, screen);
        if (holds(room, width, height)) {
            const ScreenRect placed = placedIn(side, room, main, width, height);
            return {placed.left, placed.top};
        }
    }
    return overTheMainWindow(main, width, height, screen);
}

}  // namespace

int overlap(int lowA, int highA, int lowB, int highB) {
    return std::max(0, std::min(highA, highB) - std::max(lowA, lowB));
}

const ScreenRect& screenOf(const ScreenRect& window, const std::vector<ScreenRect>& screens) {
    return *std::max_element(screens.begin(), screens.end(),
                             [&](const ScreenRect& a, const ScreenRect& b) {
                                 return sharedArea(window, a) < sharedArea(window, b);
                             });
}

ScreenPoint besideMainWindow(const ScreenRect& mainWindow, int width, int height,
                             const std::vector<ScreenRect>& screens) {
    if (screens.empty()) {
        return {mainWindow.right() + kGap, mainWindow.top};
    }
    return onScreen(mainWindow, width, height, screenOf(mainWindow, screens));
}

ScreenRect shrunkBesideMainWindow(const ScreenRect& mainWindow, int width, int height,
                                  const std::vector<ScreenRect>& screens) {
    if (screens.empty()) {
        return {mainWindow.right() + kGap, mainWindow.top, width, height};
    }
    const ScreenRect& screen = screenOf(mainWindow, screens);
    width = std::min(width, screen.width);
    height = std::min(height, screen.height);
    for (Side side : kSides) {
        const ScreenRect room = roomOn(side, mainWindow, screen);
        if (holds(room, width, height)) {
            return placedIn(side, room, mainWindow, width, height);
        }
    }
    for (Side side : kSides) {
        const ScreenRect room = roomOn(side, mainWindow, screen);
        if (holds(room, (width + 1) / 2, (height + 1) / 2)) {
            return placedIn(side, room, mainWindow, std::min(width, room.width),
                            std::min(height, room.height));
        }
    }
    const ScreenPoint at = overTheMainWindow(mainWindow, width, height, screen);
    return {at.x, at.y, width, height};
}

}  // namespace tarvo
