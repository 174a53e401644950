#pragma once

#include <windows.h>

#include <functional>

#include "ServedObject.h"
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

// Exported as "tarvoTestExcelServerWatch": the server shows each call as it
// arrived to the watch (ServedObject.h); null ends the watching.
using WatchServerArrivals = void (*)(const ArrivalWatch* watch);

// The calls the test server takes go to the watch while this lives: what a
// test may compare with what it meant to send, untouched by the server's own
// decoding (ComServer.cpp).
class ArrivalWatching {
  public:
    explicit ArrivalWatching(const ArrivalWatch& watch);
    ~ArrivalWatching();
    ArrivalWatching(const ArrivalWatching&) = delete;
    ArrivalWatching& operator=(const ArrivalWatching&) = delete;
};

}  // namespace tarvo::test
