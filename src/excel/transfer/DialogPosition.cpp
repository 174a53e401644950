#include "excel/transfer/DialogPosition.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace tarvo {
namespace {

// A title bar's worth of the dialog, and enough of its width, must be on a
// screen for the operator to drag it back.
constexpr int kGrabHeight = 24;
constexpr int kGrabWidth = 100;

constexpr const char* kSection = "ExcelDialog";
constexpr const char* kLeftKey = "Left";
constexpr const char* kTopKey = "Top";

bool canBeGrabbed(ScreenPoint at, int width, const std::vector<ScreenRect>& screens) {
    return std::any_of(screens.begin(), screens.end(), [&](const ScreenRect& screen) {
        return at.y >= screen.top && at.y + kGrabHeight <= screen.bottom() &&
               overlap(at.x, at.x + width, screen.left, screen.right()) >=
                   std::min(width, kGrabWidth);
    });
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
    return besideMainWindow(mainWindow, dialogWidth, dialogHeight, screens);
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
