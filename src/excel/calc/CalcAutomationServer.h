#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "excel/ExcelLink.h"

namespace tarvo {

struct CalcServerOptions {
    // The office binary itself; the launcher script would hide the real process.
    std::filesystem::path office = "/usr/lib/libreoffice/program/soffice.bin";
    // Name of the pipe the office listens on; a fresh unique one when empty.
    std::string pipeName;
    // Unset: with a display and an office that can draw windows it starts
    // invisible, so showing the workbook shows a real Calc window; otherwise
    // (no display, CI, the "nogui" office packages) it runs headless.
    std::optional<bool> headless;
    // From starting the office until it answers on its pipe.
    std::chrono::milliseconds startDeadline{30000};
    // Any single call; a server that takes longer is taken for hung and ended.
    std::chrono::milliseconds callDeadline{20000};
    // Loading and storing files may take longer than a cell write.
    std::chrono::milliseconds fileDeadline{45000};
    // From asking the office to quit until it is killed.
    std::chrono::milliseconds quitDeadline{5000};
};

// The Linux stand-in for "Excel.Application": starts a private LibreOffice
// Calc and answers its Application object; an empty object when no office is
// installed or it does not come up in time (the client then reports -110).
AutomationServerFactory makeCalcAutomationServer(CalcServerOptions options = {});

// The same server started ahead of the request: `prepare` starts a private
// office in the background, `factory` hands it over once it answers (or
// starts one when none was prepared). Both keep the starter alive.
struct PreparedServer {
    AutomationServerFactory factory;
    std::function<void()> prepare;
};
PreparedServer makePreparedCalcServer(CalcServerOptions options = {});

}  // namespace tarvo
