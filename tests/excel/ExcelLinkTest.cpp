#include "excel/ExcelLink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExcelLinkServer.h"
#include "RecordingAutomationObject.h"
#include "RecordingMessageBoxes.h"

namespace tarvo {
namespace {

using test::FakeExcel;
using test::RecordingMessageBoxes;
using test::serverFor;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::string kOptional = "ERROR 0x80020004";
const std::string kAlertsOff = "Application.put 0x157 BOOL false";
const std::string kWorkbooks = "Application.get 0x23C";
const std::string kConnect = "Workbook.findConnectionPoint {00024412-0000-0000-C000-000000000046}";
const std::string kQuit = "Application.call 0x12E";
const std::vector<std::string> kQuitCalls{"Application.put 0x157 BOOL true", kQuit};
const std::string kCloseWorkbook = "Workbook.call 0x115 I2 0, " + kOptional + ", " + kOptional;

std::vector<std::string> discardCalls() {
    std::vector<std::string> calls{kCloseWorkbook};
    calls.insert(calls.end(), kQuitCalls.begin(), kQuitCalls.end());
    return calls;
}

std::string openCall(const std::string& path) {
    std::string line = "Workbooks.call 0x2AA BSTR \"" + path + "\"";
    for (int i = 0; i < 12; ++i) {
        line += ", " + kOptional;
    }
    return line;
}

std::vector<std::string> lastCalls(const FakeExcel& excel, std::size_t count) {
    const auto& calls = excel.calls();
    if (calls.size() < count) {
        return calls;
    }
    return {calls.end() - static_cast<long>(count), calls.end()};
}

class ExcelLinkTest : public ::testing::Test {
  protected:
    // A client started on a new workbook, with the start's calls forgotten.
    void startNew() {
        ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
        excel.clearCalls();
    }

    FakeExcel excel;
    RecordingMessageBoxes boxes;
    ExcelLink link{serverFor(excel), boxes};
};

// --- start -----------------------------------------------------------------

TEST_F(ExcelLinkTest, NewWorkbookOnAnEmptyServerAddsOneAndTakesItsFirstSheet) {
    EXPECT_EQ(link.newWorkbook(), ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAre(kAlertsOff, kWorkbooks, "Workbooks.get 0x76",
                                           "Workbooks.call 0xB5 " + kOptional, "Workbook.get 0x1EE",
                                           "Worksheets.get 0x76", "Worksheets.get 0xAA I2 1",
                                           kConnect, "Workbook.advise"));
    EXPECT_TRUE(link.isRunning());
}

TEST_F(ExcelLinkTest, NewWorkbookReusesTheOpenWorkbookAndAddsASheetToAnEmptyOne) {
    excel.workbooks->answer("get", 0x76, AutomationValue::int32(1));
    excel.worksheets->answer("get", 0x76, AutomationValue::int32(0));
    EXPECT_EQ(link.newWorkbook(), ExcelError::Success);
    EXPECT_THAT(excel.calls(),
                ElementsAre(kAlertsOff, kWorkbooks, "Workbooks.get 0x76", "Workbooks.get 0xAA I2 1",
                            "Workbook.get 0x1EE", "Worksheets.get 0x76",
                            "Worksheets.call 0xB5 " + kOptional + ", " + kOptional + ", " +
                                kOptional + ", " + kOptional,
                            kConnect, "Workbook.advise"));
}

TEST_F(ExcelLinkTest, OpenWorkbookPassesThePathAndTwelveOmittedArgumentsAndActivatesSheetOne) {
    EXPECT_EQ(link.openWorkbook("/data/run.xls"), ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAre(kAlertsOff, kWorkbooks, openCall("/data/run.xls"),
                                           "Workbook.get 0x1EE", "Worksheets.get 0xAA I4 1",
                                           kConnect, "Workbook.advise", "Worksheet.call 0x130"));
    EXPECT_TRUE(link.isRunning());
}

TEST_F(ExcelLinkTest, MissingServerGivesNotInstalledAndCallsNothing) {
    ExcelLink lonely(FakeExcel::missingServer(), boxes);
    EXPECT_EQ(lonely.newWorkbook(), ExcelError::NotInstalled);
    EXPECT_EQ(lonely.openWorkbook("run.xls"), ExcelError::NotInstalled);
    EXPECT_FALSE(lonely.isRunning());
}

TEST_F(ExcelLinkTest, SecondStartIsRefusedAndLeavesTheRunningServerAlone) {
    startNew();
    EXPECT_EQ(link.newWorkbook(), ExcelError::InitializedTwice);
    EXPECT_EQ(link.openWorkbook("run.xls"), ExcelError::InitializedTwice);
    EXPECT_THAT(excel.calls(), IsEmpty());
    EXPECT_EQ(excel.starts(), 1);
    EXPECT_TRUE(link.isRunning());
}

TEST_F(ExcelLinkTest, RefusedAdviseIsNotAnErrorAndCloseThenDisconnectsNothing) {
    excel.workbook->setAdviseRefused(true);
    ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
    excel.clearCalls();
    EXPECT_EQ(link.close(), ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAre(kCloseWorkbook, kQuitCalls[0], kQuitCalls[1]));
}

// --- clean-up of a failed start ---------------------------------------------

struct FailedStep {
    const char* name;
    bool createNew;
    const char* failingCall;  // empty: the workbook has no events
    ExcelError result;
    bool discards;  // Discard (close the workbook, then quit) rather than Quit
};

void PrintTo(const FailedStep& step, std::ostream* out) {
    *out << step.name;
}

class FailedStartTest : public ExcelLinkTest, public ::testing::WithParamInterface<FailedStep> {};

TEST_P(FailedStartTest, CleansUpAndAnswersTheCodeOfTheFailedStep) {
    const FailedStep& step = GetParam();
    if (std::string(step.failingCall).empty()) {
        excel.workbook->setEventsMissing(true);
    } else {
        excel.fail(step.failingCall);
    }
    const ExcelError result = step.createNew ? link.newWorkbook() : link.openWorkbook("run.xls");

    EXPECT_EQ(result, step.result);
    if (step.discards) {
        EXPECT_THAT(lastCalls(excel, 3), ElementsAreArray(discardCalls()));
    } else {
        EXPECT_THAT(lastCalls(excel, 3), ::testing::Not(::testing::Contains(kCloseWorkbook)));
        EXPECT_THAT(lastCalls(excel, 2), ElementsAreArray(kQuitCalls));
    }
    EXPECT_FALSE(link.isRunning());
    EXPECT_EQ(link.show(), ExcelError::NotInitialized);

    // The failed start left nothing behind: the next one may begin.
    excel = FakeExcel();
    ExcelLink again(serverFor(excel), boxes);
    EXPECT_EQ(again.newWorkbook(), ExcelError::Success);
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, FailedStartTest,
    ::testing::Values(
        FailedStep{"AlertsOff", true, "Application.put 0x157", ExcelError::Unspecified, false},
        FailedStep{"Workbooks", true, "Application.get 0x23C", ExcelError::Unspecified, false},
        FailedStep{"WorkbookCount", true, "Workbooks.get 0x76", ExcelError::Unspecified, false},
        FailedStep{"WorkbookAdd", true, "Workbooks.call 0xB5", ExcelError::Unspecified, false},
        FailedStep{"NewWorksheets", true, "Workbook.get 0x1EE", ExcelError::Unspecified, false},
        FailedStep{"SheetCount", true, "Worksheets.get 0x76", ExcelError::Unspecified, false},
        FailedStep{"FirstSheet", true, "Worksheets.get 0xAA", ExcelError::Unspecified, false},
        FailedStep{"NewEvents", true, "", ExcelError::Unspecified, true},
        FailedStep{"OpenAlertsOff", false, "Application.put 0x157", ExcelError::Unspecified, false},
        FailedStep{"Open", false, "Workbooks.call 0x2AA", ExcelError::WorkbookNotFound, false},
        FailedStep{"OpenWorksheets", false, "Workbook.get 0x1EE", ExcelError::Unspecified, true},
        FailedStep{"OpenSheet", false, "Worksheets.get 0xAA", ExcelError::WorksheetNotFound, true},
        FailedStep{"OpenEvents", false, "", ExcelError::Unspecified, true},
        FailedStep{"OpenActivate", false, "Worksheet.call 0x130", ExcelError::Unspecified, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExcelLinkTest, FailedActivationAfterOpenDisconnectsBeforeDiscarding) {
    excel.fail("Worksheet.call 0x130");
    EXPECT_EQ(link.openWorkbook("run.xls"), ExcelError::Unspecified);
    EXPECT_THAT(lastCalls(excel, 5), ElementsAre("Worksheet.call 0x130", "Workbook.unadvise 7",
                                                 kCloseWorkbook, kQuitCalls[0], kQuitCalls[1]));
    EXPECT_EQ(excel.workbook->sink(), nullptr);
}

// --- guards -----------------------------------------------------------------

// Runs every guarded operation once and collects the answers.
std::vector<ExcelError> everyGuardedOperation(ExcelLink& link) {
    std::int32_t count = -5;
    std::string name = "unchanged";
    std::vector<ExcelError> results{
        link.worksheetCount(count),
        link.worksheetName(1, name),
        link.selectWorksheet("Sheet1"),
        link.show(),
        link.hide(),
        link.placeWindow(1, 1, 500, 300),
        link.saveCopy("run"),
        link.writeCell(1, 1, CellValueKind::Integer, 0, 5, 0.0, ""),
        link.writeText(1, 1, "x"),
        link.writeCell(0, 0, CellValueKind::Integer, 0, 5, 0.0, ""),
    };
    EXPECT_EQ(count, -5);
    EXPECT_EQ(name, "unchanged");
    return results;
}

TEST_F(ExcelLinkTest, IdleClientRefusesEveryOperationWithoutCallingTheServer) {
    for (ExcelError result : everyGuardedOperation(link)) {
        EXPECT_EQ(result, ExcelError::NotInitialized);
    }
    EXPECT_EQ(link.close(), ExcelError::NotInitialized);
    EXPECT_THAT(excel.calls(), IsEmpty());
    EXPECT_EQ(excel.starts(), 0);
}

TEST_F(ExcelLinkTest, WorkbookClosedByTheUserRefusesEveryOperationWithoutCallingTheServer) {
    startNew();
    excel.fireBeforeClose();
    EXPECT_FALSE(link.isRunning());
    for (ExcelError result : everyGuardedOperation(link)) {
        EXPECT_EQ(result, ExcelError::ClosedByUser);
    }
    EXPECT_THAT(excel.calls(), IsEmpty());
}

TEST_F(ExcelLinkTest, OtherEventsDoNotCountAsClosing) {
    startNew();
    excel.workbook->sink()->invoke(0x60B);
    EXPECT_TRUE(link.isRunning());
}

TEST_F(ExcelLinkTest, CloseAfterTheUserClosedTheWorkbookSendsNoWorkbookClose) {
    startNew();
    excel.fireBeforeClose();
    EXPECT_EQ(link.close(), ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAre("Workbook.unadvise 7", kQuitCalls[0], kQuitCalls[1]));
    EXPECT_FALSE(link.isRunning());
    EXPECT_EQ(link.newWorkbook(), ExcelError::Success);
    EXPECT_TRUE(link.isRunning());
}

// --- close and destruction --------------------------------------------------

TEST_F(ExcelLinkTest, CloseDisconnectsDiscardsTheWorkbookAndQuits) {
    startNew();
    EXPECT_EQ(link.close(), ExcelError::Success);
    EXPECT_THAT(excel.calls(),
                ElementsAre("Workbook.unadvise 7", kCloseWorkbook, kQuitCalls[0], kQuitCalls[1]));
    EXPECT_FALSE(link.isRunning());
    EXPECT_EQ(link.close(), ExcelError::NotInitialized);
}

TEST_F(ExcelLinkTest, CloseStopsAtTheFirstFailedStepAndASecondCloseLetsADeadServerGo) {
    startNew();
    excel.die();
    EXPECT_EQ(link.close(), ExcelError::Unspecified);
    EXPECT_THAT(excel.calls(), ElementsAre("Workbook.unadvise 7"));
    EXPECT_TRUE(link.isRunning());

    EXPECT_EQ(link.close(), ExcelError::Unspecified);
    EXPECT_FALSE(link.isRunning());
    EXPECT_EQ(link.close(), ExcelError::NotInitialized);
    excel.heal();
    EXPECT_EQ(link.newWorkbook(), ExcelError::Success);
}

TEST_F(ExcelLinkTest, RefusedQuitKeepsTheServerAndTheNextCloseDoesNotCloseTheWorkbookAgain) {
    startNew();
    excel.fail(kQuit);
    EXPECT_EQ(link.close(), ExcelError::Unspecified);
    EXPECT_THAT(excel.calls(),
                ElementsAre("Workbook.unadvise 7", kCloseWorkbook, kQuitCalls[0], kQuitCalls[1]));
    EXPECT_TRUE(link.isRunning());

    excel.heal();
    excel.clearCalls();
    EXPECT_EQ(link.close(), ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAre(kQuitCalls[0], kQuitCalls[1]));
    EXPECT_FALSE(link.isRunning());
}

TEST_F(ExcelLinkTest, DestroyingARunningClientQuitsTheServerWithAlertsStillOff) {
    {
        ExcelLink running(serverFor(excel), boxes);
        ASSERT_EQ(running.newWorkbook(), ExcelError::Success);
        excel.clearCalls();
    }
    EXPECT_THAT(excel.calls(), ElementsAre("Workbook.unadvise 7", kQuit));
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(ExcelLinkTest, DestroyingAnIdleClientCallsNothing) {
    { ExcelLink idle(serverFor(excel), boxes); }
    EXPECT_THAT(excel.calls(), IsEmpty());
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(ExcelLinkTest, FailedQuitOnDestructionIsShownToTheOperator) {
    {
        ExcelLink running(serverFor(excel), boxes);
        ASSERT_EQ(running.newWorkbook(), ExcelError::Success);
        excel.fail("Application.call 0x12E");
    }
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Error while closing Excel.");
    EXPECT_EQ(boxes.shown[0].caption, "tarvo");
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::Ok);
}

// --- worksheets -------------------------------------------------------------

TEST_F(ExcelLinkTest, WorksheetCountAndNameReadTheSheets) {
    startNew();
    excel.worksheets->answer("get", 0x76, AutomationValue::int32(3));
    std::int32_t count = 0;
    std::string name;
    EXPECT_EQ(link.worksheetCount(count), ExcelError::Success);
    EXPECT_EQ(link.worksheetName(2, name), ExcelError::Success);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(name, "Sheet1");
    EXPECT_THAT(excel.calls(), ElementsAre("Worksheets.get 0x76", "Worksheets.get 0xAA I4 2",
                                           "Worksheet.get 0x6E"));
}

TEST_F(ExcelLinkTest, FailedSheetReadsAreUnspecifiedAndLeaveTheOutputsAlone) {
    startNew();
    excel.fail("Worksheets.get 0x76");
    excel.fail("Worksheet.get 0x6E");
    std::int32_t count = 9;
    std::string name = "old";
    EXPECT_EQ(link.worksheetCount(count), ExcelError::Unspecified);
    EXPECT_EQ(link.worksheetName(1, name), ExcelError::Unspecified);
    EXPECT_EQ(count, 9);
    EXPECT_EQ(name, "old");
}

TEST_F(ExcelLinkTest, SelectWorksheetFindsTheSheetByNameAndActivatesIt) {
    startNew();
    EXPECT_EQ(link.selectWorksheet("Run 2"), ExcelError::Success);
    EXPECT_THAT(excel.calls(),
                ElementsAre("Worksheets.get 0xAA BSTR \"Run 2\"", "Worksheet.call 0x130"));
}

TEST_F(ExcelLinkTest, MissingOrInactiveSheetIsNotFound) {
    startNew();
    excel.fail("Worksheets.get 0xAA");
    EXPECT_EQ(link.selectWorksheet("Nope"), ExcelError::WorksheetNotFound);
    excel = FakeExcel();
    ExcelLink other(serverFor(excel), boxes);
    ASSERT_EQ(other.newWorkbook(), ExcelError::Success);
    excel.fail("Worksheet.call 0x130");
    EXPECT_EQ(other.selectWorksheet("Sheet1"), ExcelError::WorksheetNotFound);
    EXPECT_TRUE(other.isRunning());
}

// --- window -----------------------------------------------------------------

TEST_F(ExcelLinkTest, ShowMakesTheServerVisibleAndMaximizesTheActiveWindow) {
    startNew();
    EXPECT_EQ(link.show(), ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAre("Application.put 0x22E BOOL true", "Workbook.call 0x130",
                                           "Application.get 0x2F7", "Window.put 0x18C I4 -4137"));
}

TEST_F(ExcelLinkTest, HideAndFailedShowOrHide) {
    startNew();
    EXPECT_EQ(link.hide(), ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAre("Application.put 0x22E BOOL false"));
    excel.fail("Window.put 0x18C");
    EXPECT_EQ(link.show(), ExcelError::Unspecified);
    excel.fail("Application.put 0x22E");
    EXPECT_EQ(link.hide(), ExcelError::Unspecified);
}

TEST_F(ExcelLinkTest, PlaceWindowSetsNormalStateThenEachSideAsDouble) {
    startNew();
    EXPECT_EQ(link.placeWindow(1, 2, 500, 300), ExcelError::Success);
    EXPECT_THAT(excel.calls(),
                ElementsAre("Application.put 0x18C I4 -4143", "Application.put 0x7F R8 1",
                            "Application.put 0x7E R8 2", "Application.put 0x7A R8 500",
                            "Application.put 0x7B R8 300"));
}

TEST_F(ExcelLinkTest, RefusedWindowStateIsUnspecifiedButRefusedSizeIsPlacementFailure) {
    startNew();
    excel.fail("Application.put 0x7B");
    EXPECT_EQ(link.placeWindow(1, 1, 500, 300), ExcelError::WindowPlacementFailed);
    excel.fail("Application.put 0x18C");
    EXPECT_EQ(link.placeWindow(1, 1, 500, 300), ExcelError::Unspecified);
}

// --- saving -----------------------------------------------------------------

TEST_F(ExcelLinkTest, SaveCopyAppendsXlsOnlyWhenTheNameHasNoExtension) {
    startNew();
    EXPECT_EQ(link.saveCopy("D:\\data\\run"), ExcelError::Success);
    EXPECT_EQ(link.saveCopy("D:\\data\\run.old"), ExcelError::Success);
    EXPECT_EQ(link.saveCopy("D:\\my.dir\\run"), ExcelError::Success);
    EXPECT_EQ(link.saveCopy("run"), ExcelError::Success);
    EXPECT_EQ(link.saveCopy("/home/ann/my.dir/run"), ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAre("Workbook.call 0xAF BSTR \"D:\\data\\run.xls\"",
                                           "Workbook.call 0xAF BSTR \"D:\\data\\run.old\"",
                                           "Workbook.call 0xAF BSTR \"D:\\my.dir\\run.xls\"",
                                           "Workbook.call 0xAF BSTR \"run.xls\"",
                                           "Workbook.call 0xAF BSTR \"/home/ann/my.dir/run.xls\""));
}

TEST_F(ExcelLinkTest, RejectedSavePathIsSaveFailedAndKeepsTheWorkbook) {
    startNew();
    excel.fail("Workbook.call 0xAF");
    EXPECT_EQ(link.saveCopy("/nowhere/run"), ExcelError::SaveFailed);
    EXPECT_TRUE(link.isRunning());
}

// --- cells ------------------------------------------------------------------

std::vector<std::string> writeCalls(const std::string& address, const std::string& value) {
    std::vector<std::string> calls{"Worksheet.get 0xC5 BSTR \"" + address + "\", BSTR \"" +
                                   address + "\""};
    if (!value.empty()) {
        calls.push_back("Range.put 0x6 " + value);
    }
    calls.push_back("Worksheet.call 0x130");
    calls.push_back("Range.call 0x130");
    return calls;
}

TEST_F(ExcelLinkTest, EachCellKindIsSentAsItsOwnValueKind) {
    startNew();
    EXPECT_EQ(link.writeCell(1, 1, CellValueKind::SmallInteger, 200, 7, 1.5, "t"),
              ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAreArray(writeCalls("A1", "I4 200")));
    excel.clearCalls();
    EXPECT_EQ(link.writeCell(10, 28, CellValueKind::Integer, 200, -7, 1.5, "t"),
              ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAreArray(writeCalls("AB10", "I4 -7")));
    excel.clearCalls();
    EXPECT_EQ(link.writeCell(2, 3, CellValueKind::Real, 200, 7, 1.5, "t"), ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAreArray(writeCalls("C2", "R8 1.5")));
    excel.clearCalls();
    EXPECT_EQ(link.writeText(65536, 256, " 1.23"), ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAreArray(writeCalls("IV65536", "BSTR \" 1.23\"")));
}

TEST_F(ExcelLinkTest, UnknownCellKindWritesNothingButStillActivatesTheCell) {
    startNew();
    EXPECT_EQ(link.writeCell(1, 1, static_cast<CellValueKind>(5), 1, 2, 3.0, "t"),
              ExcelError::Success);
    EXPECT_THAT(excel.calls(), ElementsAreArray(writeCalls("A1", "")));
}

TEST_F(ExcelLinkTest, CellOutsideTheSheetIsOutOfRangeBeforeAnyCall) {
    startNew();
    EXPECT_EQ(link.writeText(0, 1, "x"), ExcelError::OutOfRange);
    EXPECT_EQ(link.writeText(65537, 1, "x"), ExcelError::OutOfRange);
    EXPECT_EQ(link.writeText(1, 0, "x"), ExcelError::OutOfRange);
    EXPECT_EQ(link.writeCell(1, 257, CellValueKind::Integer, 0, 1, 0.0, ""),
              ExcelError::OutOfRange);
    EXPECT_THAT(excel.calls(), IsEmpty());
}

TEST_F(ExcelLinkTest, AnyFailedCallOfAWriteIsUnspecified) {
    startNew();
    for (const char* failing :
         {"Worksheet.get 0xC5", "Range.put 0x6", "Worksheet.call 0x130", "Range.call 0x130"}) {
        FakeExcel server;
        ExcelLink client(serverFor(server), boxes);
        ASSERT_EQ(client.newWorkbook(), ExcelError::Success);
        server.fail(failing);
        EXPECT_EQ(client.writeText(1, 1, "x"), ExcelError::Unspecified) << failing;
    }
}

// --- messages ---------------------------------------------------------------

TEST_F(ExcelLinkTest, ReportErrorShowsTheTextOfTheCodeWithTheProgramCaption) {
    link.reportError(ExcelError::ClosedByUser);
    link.reportError(-110);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Worksheet or Application was closed by user.");
    EXPECT_EQ(boxes.shown[0].caption, "tarvo");
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(boxes.shown[1].text,
              "MS Excel is probably not installed and can therefore not be used as an automation "
              "server.");
}

TEST_F(ExcelLinkTest, CodesWithoutATextReportTheUnspecifiedText) {
    for (int code : {1, -108, -109, 0, -99, -111}) {
        link.reportError(code);
    }
    ASSERT_EQ(boxes.shown.size(), 6u);
    for (const auto& shown : boxes.shown) {
        EXPECT_EQ(shown.text, "An unspecified Error occurred.");
    }
}

TEST(ExcelErrorText, EveryCodeHasItsExactText) {
    EXPECT_EQ(excelErrorText(-100),
              "Please initialize Excel before usage of the automation server.");
    EXPECT_EQ(excelErrorText(-101), "Excel was initialized twice.");
    EXPECT_EQ(excelErrorText(-103), "Workbook not found on HD.");
    EXPECT_EQ(excelErrorText(-104), "Worksheet not found in active Workbook.");
    EXPECT_EQ(excelErrorText(-105), "Row or Column Value out of Range.");
    EXPECT_EQ(excelErrorText(-106), "Could not save File (Error in given Path).");
    EXPECT_EQ(excelErrorText(-107), "Could not set window to given position or size.");
}

}  // namespace
}  // namespace tarvo
