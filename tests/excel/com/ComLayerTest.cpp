#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>
#include <vector>

#include "ExcelLinkServer.h"
#include "RecordingAutomationObject.h"
#include "RecordingMessageBoxes.h"
#include "excel/ExcelMembers.h"
#include "excel/com/ComAutomation.h"
#include "excel/com/ComEventSink.h"
#include "excel/com/ComVariant.h"

namespace tarvo {
namespace {

using namespace com;
using test::FakeExcel;
using test::RecordingMessageBoxes;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// --- text and values ----------------------------------------------------------

// The prefix runs with the ANSI code page 1252 here; 1251 has a run of its own.
TEST(ComText, AnsiBytesBecomeTheirCharactersInTheSystemsCodePage) {
    ASSERT_EQ(GetACP(), 1252u);
    EXPECT_EQ(wideFromAnsi("Gr\xFC\xDF \x80 \x96"), L"Gr\u00FC\u00DF \u20AC \u2013");
    EXPECT_EQ(ansiFromWide(L"Gr\u00FC\u00DF \u20AC \u2013"), "Gr\xFC\xDF \x80 \x96");
    // A character the program's text cannot hold arrives as a question mark.
    EXPECT_EQ(ansiFromWide(L"\u0416a"), "?a");
    EXPECT_EQ(wideFromAnsi(""), L"");
}

TEST(ComVariants, EachValueTravelsAsTheKindExcelExpects) {
    auto sent = [](const AutomationValue& value) {
        auto variant = std::make_unique<Variant>();
        EXPECT_TRUE(toVariant(value, *variant->get(), nullptr));
        return variant;
    };
    // VARIANT_TRUE is -1: a 1 is not true to every server.
    EXPECT_EQ(V_BOOL(&**sent(AutomationValue::boolean(true))), VARIANT_TRUE);
    EXPECT_EQ(V_BOOL(&**sent(AutomationValue::boolean(false))), VARIANT_FALSE);
    EXPECT_EQ(V_VT(&**sent(AutomationValue::int16(1))), VT_I2);
    EXPECT_EQ(V_VT(&**sent(AutomationValue::int32(1))), VT_I4);
    EXPECT_EQ(V_VT(&**sent(AutomationValue::real(2.5))), VT_R8);
    auto omitted = sent(AutomationValue::error(excel::kParamNotFound));
    EXPECT_EQ(V_VT(&**omitted), VT_ERROR);
    EXPECT_EQ(static_cast<std::uint32_t>(V_ERROR(&**omitted)), excel::kParamNotFound);
    auto text = sent(AutomationValue::string("\xFC \x80"));
    ASSERT_EQ(V_VT(&**text), VT_BSTR);
    EXPECT_EQ(std::wstring(V_BSTR(&**text), SysStringLen(V_BSTR(&**text))), L"\u00FC \u20AC");
    EXPECT_EQ(fromVariant(**text)->asString(), "\xFC \x80");
}

TEST(ComVariants, AnswersOfAnotherKindAreNotTakenForValues) {
    Variant date;
    V_VT(date.get()) = VT_DATE;
    V_DATE(date.get()) = 1.0;
    EXPECT_FALSE(fromVariant(*date).has_value());
    Variant noObject;
    V_VT(noObject.get()) = VT_DISPATCH;
    V_DISPATCH(noObject.get()) = nullptr;
    EXPECT_TRUE(fromVariant(*noObject)->asObject().empty());
    Variant truth;
    V_VT(truth.get()) = VT_BOOL;
    V_BOOL(truth.get()) = VARIANT_TRUE;
    EXPECT_TRUE(fromVariant(*truth)->asBool());
}

// --- the event sink -----------------------------------------------------------

struct EventLog final : AutomationEventSink {
    void invoke(DispId id) override { ids.push_back(id); }
    std::vector<DispId> ids;
};

// {00024412-0000-0000-C000-000000000046}
constexpr IID kWorkbookEvents = {
    0x00024412, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

TEST(ComEventSinkTest, AnswersItsEventInterfaceAndRefusesOthersWithNull) {
    EventLog log;
    auto* sink = new ComEventSink(log, kWorkbookEvents);
    for (const IID& known : {IID_IUnknown, IID_IDispatch, kWorkbookEvents}) {
        void* answer = nullptr;
        EXPECT_EQ(sink->QueryInterface(known, &answer), S_OK);
        EXPECT_EQ(answer, static_cast<IDispatch*>(sink));
        sink->Release();
    }
    void* other = sink;
    EXPECT_EQ(sink->QueryInterface(IID_IClassFactory, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    UINT count = 5;
    EXPECT_EQ(sink->GetTypeInfoCount(&count), E_NOTIMPL);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(sink->Release(), 0u);
}

TEST(ComEventSinkTest, PassesEveryEventOnUntilDetachedThenIgnoresThem) {
    EventLog log;
    auto* sink = new ComEventSink(log, kWorkbookEvents);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(sink->Invoke(excel::kBeforeClose, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                           nullptr, nullptr),
              S_OK);
    EXPECT_EQ(sink->Invoke(0x60B, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              S_OK);
    sink->detach();
    EXPECT_EQ(sink->Invoke(excel::kBeforeClose, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                           nullptr, nullptr),
              S_OK);
    EXPECT_THAT(log.ids, ElementsAre(excel::kBeforeClose, 0x60B));
    sink->Release();
}

// --- starting the server ---------------------------------------------------------

TEST(ComAutomationTest, UnregisteredServerIsNotInstalledAndSaysNothingElse) {
    RecordingMessageBoxes boxes;
    ExcelLink link(makeComAutomation(boxes, "Tarvo.NoSuchServer"), boxes);
    EXPECT_EQ(link.newWorkbook(), ExcelError::NotInstalled);
    EXPECT_EQ(link.openWorkbook("run.xls"), ExcelError::NotInstalled);
    EXPECT_THAT(boxes.shown, IsEmpty());
}

// A thread already in the multi-threaded apartment cannot have OLE.
TEST(ComAutomationTest, RefusedOleIsToldAtEachStartWhichThenFindsNoServer) {
    RecordingMessageBoxes boxes;
    std::vector<ExcelError> results;
    std::thread apartment([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            ExcelLink link(makeComAutomation(boxes), boxes);
            results.push_back(link.newWorkbook());
            results.push_back(link.newWorkbook());
        }
        CoUninitialize();
    });
    apartment.join();
    EXPECT_THAT(results, ElementsAre(ExcelError::NotInstalled, ExcelError::NotInstalled));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Could not initialize COM services");
    EXPECT_EQ(boxes.shown[0].caption, "tarvo");
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::Ok);
}

// --- through the test server ------------------------------------------------------

TEST(ComThroughServer, TextReachesTheServerAsTheSameAnsiBytes) {
    FakeExcel excel;
    RecordingMessageBoxes boxes;
    ExcelLink link(test::serverFor(excel), boxes);
    ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
    ASSERT_EQ(link.writeText(1, 1, "Gr\xFCn \x80"), ExcelError::Success);
    ASSERT_EQ(link.saveCopy("C:\\M\xE4rz\\run"), ExcelError::Success);
    EXPECT_THAT(excel.calls(), Contains("Range.put 0x6 BSTR \"Gr\xFCn \x80\""));
    EXPECT_THAT(excel.calls(), Contains("Workbook.call 0xAF BSTR \"C:\\M\xE4rz\\run.xls\""));
}

// A server that will not disconnect may still call the sink it was given;
// that must reach nothing of a client that has gone.
TEST(ComThroughServer, LateEventAfterAFailedDisconnectReachesNoDestroyedClient) {
    FakeExcel excel;
    RecordingMessageBoxes boxes;
    {
        ExcelLink link(test::serverFor(excel), boxes);
        ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
        excel.die();
    }
    ASSERT_NE(excel.workbook->sink(), nullptr);
    excel.fireBeforeClose();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Error while closing Excel.");
}

}  // namespace
}  // namespace tarvo
