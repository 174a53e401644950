#pragma once

#include <optional>
#include <vector>

#include "base/ScreenPlace.h"
#include "files/IniFile.h"

namespace tarvo {

// Where the Excel dialog's top-left corner goes when it opens. The place the
// operator last left it wins while enough of the dialog would still be on one
// of the screens to grab it (a monitor may have gone since). Otherwise the
// dialog goes beside the main window (besideMainWindow).
ScreenPoint excelDialogPosition(const ScreenRect& mainWindow, int dialogWidth, int dialogHeight,
                                const std::vector<ScreenRect>& screens,
                                std::optional<ScreenPoint> remembered);

// The position kept in the settings file between runs, in a section of its
// own so the transfer layout's section stays as other tools expect it.
std::optional<ScreenPoint> rememberedExcelDialogPosition(const IniFile& ini);
void rememberExcelDialogPosition(IniFile& ini, ScreenPoint position);

}  // namespace tarvo
