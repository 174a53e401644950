// The client under test reaches the fake server across two processes: it
// creates "Excel.Application", which the test prefix registers as the local
// test server (an .exe of its own), and that server relays each call back to
// the fake's objects served from here. Outgoing calls of this thread take in
// the relayed ones meanwhile, as COM lets a single-threaded apartment do.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <array>

#include "ComTestSession.h"
#include "ExcelLinkServer.h"
#include "LocalExcelServer.h"
#include "ServedObject.h"
#include "excel/ExcelMembers.h"
#include "excel/com/ComAutomation.h"
#include "excel/com/ComDispatch.h"

namespace tarvo::test {

namespace {

std::function<AutomationObject()> chosen;

// Asked by the local server for each Application a client creates.
class ApplicationStarter final : public Dispatch {
  public:
    std::optional<AutomationValue> get(DispId, std::span<const AutomationValue>) override {
        return std::nullopt;
    }
    bool put(DispId, const AutomationValue&) override { return false; }
    std::optional<AutomationValue> call(DispId id, std::span<const AutomationValue>) override {
        if (id != kStartApplication) {
            return std::nullopt;
        }
        return AutomationValue::object(chosen ? chosen() : AutomationObject());
    }
    std::shared_ptr<ConnectionPoint> findConnectionPoint(std::string_view) override {
        return nullptr;
    }
};

AutomationObject control;

class LocalServerEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_TRUE(startOleWithTestServer(kLocalExcelServerClsid, "wine_excel_local_server"));
        IDispatch* dispatch = nullptr;
        ASSERT_TRUE(
            SUCCEEDED(CoCreateInstance(kLocalServerControlClsid, nullptr, CLSCTX_LOCAL_SERVER,
                                       IID_IDispatch, reinterpret_cast<void**>(&dispatch))));
        control = com::adoptDispatch(dispatch);
        // The starter travels as an object of this process.
        const auto starter = AutomationValue::object(com::adoptDispatch(
            new ServedObject(AutomationObject(std::make_shared<ApplicationStarter>()))));
        const std::array arguments{
            starter, AutomationValue::int32(static_cast<std::int32_t>(GetCurrentProcessId()))};
        ASSERT_TRUE(control.call(kServeApplications, arguments));
    }
    // The server ends as its control goes.
    void TearDown() override {
        control.release();
        chosen = nullptr;
        OleUninitialize();
    }
};

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new LocalServerEnvironment);

struct EventLog final : AutomationEventSink {
    void invoke(DispId id) override { ids.push_back(id); }
    std::vector<DispId> ids;
};

// The objects a client gets are the server's, in its own process, and the
// fake's BeforeClose comes back to the client through that process.
TEST(ComAcrossProcesses, TheWorkbookLivesInTheServersProcessAndItsEventsCrossBack) {
    FakeExcel excel;
    const AutomationObject application = serverFor(excel)();
    ASSERT_FALSE(application.empty());
    const auto serverProcess = application.getInteger(kServerProcessId);
    ASSERT_TRUE(serverProcess);
    EXPECT_NE(static_cast<DWORD>(*serverProcess), GetCurrentProcessId());
    const auto workbooks = application.getObject(excel::kWorkbooks);
    ASSERT_TRUE(workbooks);
    const auto workbook = workbooks->callObject(
        excel::kAdd, std::array{AutomationValue::error(excel::kParamNotFound)});
    ASSERT_TRUE(workbook);
    EXPECT_EQ(workbook->getInteger(kServerProcessId), serverProcess);

    EventLog events;
    const auto point = workbook->target()->findConnectionPoint(excel::kWorkbookEventsId);
    ASSERT_NE(point, nullptr);
    const auto cookie = point->advise(events);
    ASSERT_TRUE(cookie);
    excel.fireBeforeClose();
    EXPECT_THAT(events.ids, ::testing::ElementsAre(excel::kBeforeClose));
    EXPECT_TRUE(point->unadvise(*cookie));
}

}  // namespace

AutomationServerFactory serverFor(FakeExcel& excel) {
    chosen = excel.factory();
    return makeComAutomation(oleMessages());
}

}  // namespace tarvo::test
