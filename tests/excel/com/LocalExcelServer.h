#pragma once

#include <windows.h>

#include "excel/AutomationValue.h"

namespace tarvo::test {

// The test automation server that runs as a process of its own, as Excel
// does: registered as "Excel.Application" with a LocalServer32 only. It
// relays every call to the objects a test process hands it, so each call,
// value, object and event crosses from the client into the server's process
// and on into the test's: {347950AA-8653-4689-BA27-FEA19009C0DC}.
inline constexpr CLSID kLocalExcelServerClsid = {
    0x347950AA, 0x8653, 0x4689, {0xBA, 0x27, 0xFE, 0xA1, 0x90, 0x09, 0xC0, 0xDC}};
// The same server's control, through which a test hands it the objects to
// serve: {E99F82E0-353F-496D-927C-0CC745AAE9F9}.
inline constexpr CLSID kLocalServerControlClsid = {
    0xE99F82E0, 0x353F, 0x496D, {0x92, 0x7C, 0x0C, 0xC7, 0x45, 0xAA, 0xE9, 0xF9}};

// control.call(kServeApplications, starter, the test's process id): each
// Application the server is asked for from then on is the object
// starter.call(kStartApplication) answers (an empty one fails the creation),
// and the server ends when that process does.
inline constexpr DispId kServeApplications = 1;
inline constexpr DispId kStartApplication = 1;
// control.call(kServeOwnWorkbook, record file): without a test to relay to,
// each Application is the server's own recording fake (CellRecord.h), its
// cells recorded in the file, slow to add a workbook and to quit as Excel is;
// the server stays while the control does (a soak beside a real tarvo.exe).
inline constexpr DispId kServeOwnWorkbook = 2;
// Every object the server serves answers a get of this with the server's
// process id; Excel has no member of that number.
inline constexpr DispId kServerProcessId = 0x7FFF0001;

}  // namespace tarvo::test
