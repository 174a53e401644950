#pragma once

#include <string>

#include "base/MessageBoxes.h"
#include "excel/ExcelLink.h"

namespace tarvo {

// Excel over OLE Automation: each start looks up the ProgID, creates and runs
// an instance and answers its Application object; an empty object when no
// such server is registered or it will not start (the client reports -110).
// OLE is initialised for the calling thread at the first start; when that
// fails the operator is told "Could not initialize COM services" and the start
// finds no server. OLE is let go when the last copy of the factory goes.
AutomationServerFactory makeComAutomation(MessageBoxes& messages,
                                          std::string progId = "Excel.Application");

}  // namespace tarvo
