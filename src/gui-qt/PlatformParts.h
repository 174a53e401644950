#pragma once

#include <filesystem>
#include <memory>

#include "gui-qt/MainWiring.h"

namespace tarvo {

// This system's parts: ALSA, Qt's file and print dialogs, POSIX files and devices.
MainWiringParts platformParts(MainDialog& dialog, std::unique_ptr<DeviceLink> device,
                              AutomationServerFactory spreadsheetServer,
                              std::filesystem::path journal);

}  // namespace tarvo
