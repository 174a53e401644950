#pragma once

#include <windows.h>

#include <functional>

#include "excel/AutomationValue.h"

namespace tarvo::test {

// The test automation server's class, registered as "Excel.Application" in
// the test prefix: {6F1C2B7A-3D4E-4B8F-9A21-5C7E0D3B9F14}.
inline constexpr CLSID kTestExcelServerClsid = {
    0x6F1C2B7A, 0x3D4E, 0x4B8F, {0x9A, 0x21, 0x5C, 0x7E, 0x0D, 0x3B, 0x9F, 0x14}};
inline constexpr const char* kTestExcelServerDll = "tarvo_test_excel.dll";

// Each instance COM creates is the Application object this factory answers;
// an empty one makes the creation fail. Exported by the server's DLL as
// "tarvoTestExcelServerUse"; the server copies the factory.
using ServerFactory = std::function<AutomationObject()>;
using UseServerFactory = void (*)(const ServerFactory* factory);

}  // namespace tarvo::test
