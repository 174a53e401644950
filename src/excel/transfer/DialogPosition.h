#pragma once

#include <optional>
#include <vector>

#include "files/IniFile.h"

namespace tarvo {

// A window's outer rectangle (frame included) in screen pixels.
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

// Where the Excel dialog's top-left corner goes when it opens. The place the
// operator last left it wins while enough of the dialog would still be on one
// of the screens to grab it (a monitor may have gone since). Otherwise the
// dialog goes beside the main window, not over the table: right of it, else
// left, else below, else above, on the main window's screen; where none fits,
// it is kept on that screen with as little of the table covered as the
// screen allows.
ScreenPoint excelDialogPosition(const ScreenRect& mainWindow, int dialogWidth, int dialogHeight,
                                const std::vector<ScreenRect>& screens,
                                std::optional<ScreenPoint> remembered);

// The position kept in the settings file between runs, in a section of its
// own so the transfer layout's section stays as other tools expect it.
std::optional<ScreenPoint> rememberedExcelDialogPosition(const IniFile& ini);
void rememberExcelDialogPosition(IniFile& ini, ScreenPoint position);

}  // namespace tarvo
