#include "excel/transfer/DialogPosition.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace tarvo {
namespace {

constexpr int kGap = 8;
// A title bar's worth of the dialog, and enough of its width, must be on a
// screen for the operator to drag it back.
constexpr int kGrabHeight = 24;
constexpr int kGrabWidth = 100;

constexpr const char* kSection = "ExcelDialog";
constexpr const char* kLeftKey = "Left";
constexpr const char* kTopKey = "Top";

int overlap(int lowA, int highA, int lowB, int highB) {
    return std::max(0, std::min(highA, highB) - std::max(lowA, lowB));
}

long long sharedArea(const ScreenRect& a, const ScreenRect& b) {
    return static_cast<long long>(overlap(a.left, a.right(), b.left, b.right())) *
           overlap(a.top, a.bottom(), b.top, b.bottom());
}

bool canBeGrabbed(ScreenPoint at, int width, const std::vector<ScreenRect>& screens) {
    return std::any_of(screens.begin(), screens.end(), [&](const ScreenRect& screen) {
        return at.y >= screen.top && at.y + kGrabHeight <= screen.bottom() &&
               overlap(at.x, at.x + width, screen.left, screen.right()) >=
                   std::min(width, kGrabWidth);
    });
}

const ScreenRect& screenOf(const ScreenRect& window, const std::vector<ScreenRect>& screens) {
    return *std::max_element(screens.begin(), screens.end(),
                             [&](const ScreenRect& a, const ScreenRect& b) {
                                 return sharedArea(window, a) < sharedArea(window, b);
                             });
}

// Keeps [start, start + length) inside [low, high) where it can, its start
// on the screen where it cannot.
int keepInside(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length));
}

ScreenPoint besideMainWindow(const ScreenRect& main, int width, int height,
                             const ScreenRect& screen) {
    const int alongY = keepInside(main.top, height, screen.top, screen.bottom());
    const int alongX = keepInside(main.left, width, screen.left, screen.right());
    if (main.right() + kGap + width <= screen.right()) {
        return {main.right() + kGap, alongY};
    }
    if (main.left - kGap - width >= screen.left) {
        return {main.left - kGap - width, alongY};
    }
    if (main.bottom() + kGap + height <= screen.bottom()) {
        return {alongX, main.bottom() + kGap};
    }
    if (main.top - kGap - height >= screen.top) {
        return {alongX, main.top - kGap - height};
    }
    const bool moreRoomRight = screen.right() - main.right() >= main.left - screen.left;
    const int edge = moreRoomRight ? screen.right() - width : screen.left;
    return {std::max(screen.left, edge), alongY};
}

// A hand-edited or broken value is no position at all, rather than the
// screen corner atoi would make of it.
std::optional<int> wholeNumber(const std::optional<std::string>& text) {
    if (!text) {
        return std::nullopt;
    }
    int number = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, number);
    if (error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return number;
}

}  // namespace

ScreenPoint excelDialogPosition(const ScreenRect& mainWindow, int dialogWidth, int dialogHeight,
                                const std::vector<ScreenRect>& screens,
                                std::optional<ScreenPoint> remembered) {
    if (remembered && canBeGrabbed(*remembered, dialogWidth, screens)) {
        return *remembered;
    }
    if (screens.empty()) {
        return {mainWindow.right() + kGap, mainWindow.top};
    }
    return besideMainWindow(mainWindow, dialogWidth, dialogHeight, screenOf(mainWindow, screens));
}

std::optional<ScreenPoint> rememberedExcelDialogPosition(const IniFile& ini) {
    const std::optional<int> left = wholeNumber(ini.value(kSection, kLeftKey));
    const std::optional<int> top = wholeNumber(ini.value(kSection, kTopKey));
    if (!left || !top) {
        return std::nullopt;
    }
    return ScreenPoint{*left, *top};
}

void rememberExcelDialogPosition(IniFile& ini, ScreenPoint position) {
    ini.write(kSection, kLeftKey, std::to_string(position.x));
    ini.write(kSection, kTopKey, std::to_string(position.y));
}

}  // namespace tarvo
