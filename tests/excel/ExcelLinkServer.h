#pragma once

#include "RecordingAutomationObject.h"
#include "excel/ExcelLink.h"

namespace tarvo::test {

// How the client under test reaches the fake server: directly, or through
// real COM and the test automation server (the same expectations serve both).
AutomationServerFactory serverFor(FakeExcel& excel);

}  // namespace tarvo::test
