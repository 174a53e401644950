#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include "RecordingMessageBoxes.h"

namespace tarvo::test {

// OLE for the test program's thread, once "Excel.Application" is found to
// name the test server `server` that `fixture` registers: a failed
// registration must not pass unnoticed, and a real Excel is never driven.
::testing::AssertionResult startOleWithTestServer(const CLSID& server, const char* fixture);

// Where the COM layer tells of a failed OLE start in the tests.
RecordingMessageBoxes& oleMessages();

}  // namespace tarvo::test
