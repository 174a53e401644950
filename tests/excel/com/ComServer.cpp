// The client under test reaches the fake server through real COM: it looks
// up "Excel.Application", which the test prefix registers as the test
// automation server, and that server answers with the fake's objects.
#include <gtest/gtest.h>
#include <windows.h>

#include "ComTestSession.h"
#include "ExcelLinkServer.h"
#include "TestExcelServer.h"
#include "excel/com/ComAutomation.h"

namespace tarvo::test {

namespace {

UseServerFactory useServer = nullptr;
WatchServerArrivals watchServer = nullptr;

class TestServerEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_TRUE(startOleWithTestServer(kTestExcelServerClsid, "wine_excel_server"));
        // COM loads the server; its chooser is taken from the very module COM loaded.
        IClassFactory* factory = nullptr;
        ASSERT_TRUE(
            SUCCEEDED(CoGetClassObject(kTestExcelServerClsid, CLSCTX_INPROC_SERVER, nullptr,
                                       IID_IClassFactory, reinterpret_cast<void**>(&factory))));
        factory->Release();
        HMODULE server = GetModuleHandleA(kTestExcelServerDll);
        ASSERT_NE(server, nullptr);
        useServer = reinterpret_cast<UseServerFactory>(
            reinterpret_cast<void*>(GetProcAddress(server, "tarvoTestExcelServerUse")));
        ASSERT_NE(useServer, nullptr);
        watchServer = reinterpret_cast<WatchServerArrivals>(
            reinterpret_cast<void*>(GetProcAddress(server, "tarvoTestExcelServerWatch")));
        ASSERT_NE(watchServer, nullptr);
    }
    void TearDown() override {
        if (useServer != nullptr) {
            useServer(nullptr);
        }
        OleUninitialize();
    }
};

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new TestServerEnvironment);

}  // namespace

AutomationServerFactory serverFor(FakeExcel& excel) {
    const ServerFactory chosen = excel.factory();
    if (useServer != nullptr) {
        useServer(&chosen);
    }
    return makeComAutomation(oleMessages());
}

ArrivalWatching::ArrivalWatching(const ArrivalWatch& watch) {
    if (watchServer != nullptr) {
        watchServer(&watch);
    }
}

ArrivalWatching::~ArrivalWatching() {
    if (watchServer != nullptr) {
        watchServer(nullptr);
    }
}

}  // namespace tarvo::test
