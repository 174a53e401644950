#pragma once

#include <cstdint>

#include "excel/AutomationValue.h"

// The members of the spreadsheet server that the client calls, by the numbers
// of Excel's published type library. Any server behind `AutomationObject`
// answers these numbers.
namespace tarvo::excel {

// Application
inline constexpr DispId kWorkbooks = 0x23C;
inline constexpr DispId kDisplayAlerts = 0x157;
inline constexpr DispId kVisible = 0x22E;
inline constexpr DispId kWindowState = 0x18C;  // Application and Window
inline constexpr DispId kLeft = 0x7F;
inline constexpr DispId kTop = 0x7E;
inline constexpr DispId kWidth = 0x7A;
inline constexpr DispId kHeight = 0x7B;
inline constexpr DispId kActiveWindow = 0x2F7;
inline constexpr DispId kQuit = 0x12E;

// Workbooks and Worksheets
inline constexpr DispId kCount = 0x76;
inline constexpr DispId kAdd = 0xB5;
inline constexpr DispId kItem = 0xAA;
inline constexpr DispId kOpen = 0x2AA;

// Workbook
inline constexpr DispId kWorksheets = 0x1EE;
inline constexpr DispId kClose = 0x115;
inline constexpr DispId kSaveCopyAs = 0xAF;
inline constexpr DispId kActivate = 0x130;  // Workbook, Worksheet and Range

// Worksheet and Range
inline constexpr DispId kName = 0x6E;
inline constexpr DispId kRange = 0xC5;
inline constexpr DispId kValue = 0x6;

// Workbook events
inline constexpr DispId kBeforeClose = 0x60A;

inline constexpr std::int32_t xlNormal = -4143;
inline constexpr std::int32_t xlMaximized = -4137;

// Stands for an optional argument the caller leaves out.
inline constexpr std::uint32_t kParamNotFound = 0x80020004;

inline constexpr const char* kConnectionPointContainerId = "{B196B284-BAB4-101A-B69C-00AA00341D07}";
inline constexpr const char* kWorkbookEventsId = "{00024412-0000-0000-C000-000000000046}";

}  // namespace tarvo::excel
