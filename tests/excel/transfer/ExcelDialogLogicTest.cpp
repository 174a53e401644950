#include "excel/transfer/ExcelDialogLogic.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "AnsweringFileChooser.h"
#include "TempDir.h"
#include "TransferFixture.h"
#include "excel/ExcelMembers.h"
#include "res/ControlIds.h"

namespace tarvo {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

const std::string kOpenCall = "Workbooks.call 0x2AA";
const std::string kQuit = "Application.call 0x12E";
const std::string kNotFoundQuestion =
    "File does not exist, do you want to create a default Workbook file?";
const std::string kDiscardQuestion = "Open workbook: Do you want to discard the current workbook ?";

class ExcelDialogLogicTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog.setChangeListener([this] { ++changes; });
        dialog.start();
    }

    std::string key(const char* name) const {
        return ini.value(kExcelSection, name).value_or("<missing>");
    }
    bool called(const std::string& prefix) const {
        return std::any_of(excel.calls().begin(), excel.calls().end(),
                           [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    }
    bool buttonsEnabled() const {
        return dialog.isEnabled(id::kShowExcel) && dialog.isEnabled(id::kHideExcel) &&
               dialog.isEnabled(id::kSaveExcel);
    }
    bool buttonsDisabled() const {
        return !dialog.isEnabled(id::kShowExcel) && !dialog.isEnabled(id::kHideExcel) &&
               !dialog.isEnabled(id::kSaveExcel);
    }
    // Browse answered with a path, so InitEXCEL opens that file.
    void browseTo(const std::string& path) {
        chooser.answerNext(path);
        dialog.browseClicked();
    }
    void startNewWorkbook() {
        dialog.initExcelClicked();
        ASSERT_TRUE(session.client && session.client->isRunning());
        excel.clearCalls();
    }

    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    test::FakeExcel excel;
    test::RecordingMessageBoxes boxes;
    test::AnsweringFileChooser chooser;
    TransferSession session;
    ExcelDialogLogic dialog{session, {ini, boxes, chooser, excel.factory()}};
    int changes = 0;
};

// --- dialog start ----------------------------------------------------------

TEST_F(ExcelDialogLogicTest, StartShowsTheDefaultLayoutWithVerticalAndNoExcel) {
    EXPECT_EQ(dialog.text(id::kSet1Row), "1");
    EXPECT_EQ(dialog.text(id::kSet1Column), "A");
    EXPECT_EQ(dialog.text(id::kSet1FirstListColumn), "1");
    EXPECT_EQ(dialog.text(id::kSet1Length), "6");
    EXPECT_EQ(dialog.text(id::kSet2Row), "1");
    EXPECT_EQ(dialog.text(id::kSet2Column), "A");
    EXPECT_EQ(dialog.text(id::kSet2FirstListColumn), "1");
    EXPECT_EQ(dialog.text(id::kSet2Length), "0");
    EXPECT_EQ(dialog.text(id::kFileName), "");
    EXPECT_TRUE(dialog.isChecked(id::kVertical));
    EXPECT_FALSE(dialog.isChecked(id::kHorizontal));
    EXPECT_TRUE(buttonsDisabled());
    EXPECT_TRUE(dialog.sheetEntries().empty());
    EXPECT_EQ(key("Length1"), "6");
    EXPECT_EQ(session.client, nullptr);
    EXPECT_GT(changes, 0);
}

TEST_F(ExcelDialogLogicTest, StartQuitsASpreadsheetAnEarlierDialogLeftBehind) {
    startNewWorkbook();
    excel.fireBeforeClose();  // closed inside the spreadsheet: the dialog could close
    ASSERT_TRUE(dialog.closeRequested());

    ExcelDialogLogic next{session, {ini, boxes, chooser, excel.factory()}};
    next.start();
    EXPECT_EQ(session.client, nullptr);
    EXPECT_TRUE(called(kQuit));
}

// --- Browse ----------------------------------------------------------------

TEST_F(ExcelDialogLogicTest, BrowseAsksForAnExcelFileFromTheStoredPath) {
    ini.write(kExcelSection, "FilePath", "/data/runs/lot.xls");
    browseTo("/data/runs/next.xls");

    ASSERT_EQ(chooser.requests.size(), 1u);
    const FileDialogRequest& request = chooser.requests[0];
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Open);
    EXPECT_EQ(request.title, "Load Excel File");
    EXPECT_EQ(request.initialFileName, "/data/runs/lot.xls");
    EXPECT_EQ(request.initialFolder, "/data/runs/");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].name, " ExcelFile (*.xls)");
    EXPECT_EQ(request.filters[0].pattern, " *.xls");
    EXPECT_EQ(request.filters[1].name, " All (*.*)");
    EXPECT_EQ(request.filters[1].pattern, " *.*");
    EXPECT_TRUE(request.overwritePrompt);

    EXPECT_EQ(dialog.text(id::kFileName), "/data/runs/next.xls");
    EXPECT_EQ(key("FilePath"), "/data/runs/next.xls");
}

TEST_F(ExcelDialogLogicTest, BrowseStartsFromStarXlsWhenNothingIsStored) {
    browseTo("");
    EXPECT_EQ(chooser.requests.at(0).initialFileName, "*.xls");
    EXPECT_EQ(chooser.requests.at(0).initialFolder, "");
}

TEST_F(ExcelDialogLogicTest, BrowseRemembersTheFormerFileName) {
    browseTo("/a.xls");
    browseTo("/b.xls");
    EXPECT_EQ(dialog.previousFileName(), "/a.xls");
}

TEST_F(ExcelDialogLogicTest, CancelledBrowseEmptiesTheFileNameSoANewWorkbookStarts) {
    browseTo("/a.xls");
    browseTo("");
    EXPECT_EQ(dialog.text(id::kFileName), "");
    EXPECT_EQ(key("FilePath"), "/a.xls");
    dialog.initExcelClicked();
    EXPECT_FALSE(called(kOpenCall));
    EXPECT_TRUE(called("Workbooks.call 0xB5"));
}

// --- InitEXCEL -------------------------------------------------------------

TEST_F(ExcelDialogLogicTest, InitExcelWithoutFileStartsANewWorkbookAndListsItsSheets) {
    dialog.initExcelClicked();
    EXPECT_THAT(dialog.sheetEntries(), ElementsAre("Sheet1"));
    EXPECT_EQ(dialog.sheetSelection(), 0);
    EXPECT_EQ(dialog.sheetNames()[0], "Sheet1");
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_THAT(boxes.texts(), IsEmpty());
}

TEST_F(ExcelDialogLogicTest, InitExcelOpensTheChosenFile) {
    browseTo("/data/lot.xls");
    dialog.initExcelClicked();
    EXPECT_TRUE(called(kOpenCall + " BSTR \"/data/lot.xls\""));
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(ExcelDialogLogicTest, MissingFileAndOkEmptiesTheNameAndStartsANewWorkbook) {
    browseTo("/gone.xls");
    excel.fail(kOpenCall);
    dialog.initExcelClicked();
    EXPECT_THAT(boxes.texts(), ElementsAre(kNotFoundQuestion));
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialog.text(id::kFileName), "");
    EXPECT_THAT(dialog.sheetEntries(), ElementsAre("Sheet1"));
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(ExcelDialogLogicTest, MissingFileAndCancelListsNothingAndKeepsTheButtonsDisabled) {
    browseTo("/gone.xls");
    excel.fail(kOpenCall);
    boxes.answerNext(MessageAnswer::Cancel);
    dialog.initExcelClicked();
    EXPECT_TRUE(dialog.sheetEntries().empty());
    EXPECT_TRUE(buttonsDisabled());
    EXPECT_EQ(dialog.text(id::kFileName), "/gone.xls");
}

TEST_F(ExcelDialogLogicTest, MissingServerIsReportedAndNothingIsListed) {
    ExcelDialogLogic noServer{session, {ini, boxes, chooser, test::FakeExcel::missingServer()}};
    noServer.start();
    noServer.initExcelClicked();
    EXPECT_THAT(boxes.texts(), ElementsAre("MS Excel is probably not installed and can therefore "
                                           "not be used as an automation server."));
    EXPECT_TRUE(noServer.sheetEntries().empty());
    EXPECT_FALSE(noServer.isEnabled(id::kShowExcel));
}

// Notes whether the window was busy whenever a box asked the operator.
class BusyAtBoxes final : public MessageBoxes {
  public:
    MessageAnswer show(std::string_view, std::string_view, MessageButtons, MessageIcon) override {
        busy.push_back(dialog != nullptr && dialog->isBusy());
        return MessageAnswer::Ok;
    }
    const ExcelDialogLogic* dialog = nullptr;
    std::vector<bool> busy;
};

TEST_F(ExcelDialogLogicTest, ServerIsPreparedAtStartAndTheWindowIsBusyOnlyWhileItStarts) {
    int prepared = 0;
    std::vector<std::string> noticeAtStart;
    BusyAtBoxes busyBoxes;
    ExcelDialogLogic logic{session,
                           {ini, busyBoxes, chooser,
                            [&] {
                                noticeAtStart.push_back(logic.isBusy() ? logic.notice() : "idle");
                                return excel.factory()();
                            },
                            [&] { ++prepared; }, "Starting LibreOffice Calc..."}};
    busyBoxes.dialog = &logic;
    logic.start();
    EXPECT_EQ(prepared, 1);
    EXPECT_FALSE(logic.isBusy());

    // Not found, so the question comes between two starts.
    chooser.answerNext("/gone.xls");
    logic.browseClicked();
    excel.fail(kOpenCall);
    logic.initExcelClicked();
    EXPECT_THAT(noticeAtStart,
                ElementsAre("Starting LibreOffice Calc...", "Starting LibreOffice Calc..."));
    EXPECT_THAT(busyBoxes.busy, ElementsAre(false));
    EXPECT_FALSE(logic.isBusy());
    EXPECT_EQ(logic.notice(), "");
    EXPECT_THAT(logic.sheetEntries(), ElementsAre("Sheet1"));
    EXPECT_EQ(prepared, 1);
}

TEST_F(ExcelDialogLogicTest, AtMostTwentySheetsAreListed) {
    excel.worksheets->answer("get", tarvo::excel::kCount, AutomationValue::int32(25));
    dialog.initExcelClicked();
    EXPECT_EQ(dialog.sheetEntries().size(), 20u);
    EXPECT_TRUE(called("Worksheets.get 0xAA I4 20"));
    EXPECT_FALSE(called("Worksheets.get 0xAA I4 21"));
}

TEST_F(ExcelDialogLogicTest, InitExcelWhileRunningAndCancelRestoresThePreviousName) {
    browseTo("/a.xls");
    browseTo("/b.xls");
    dialog.initExcelClicked();
    excel.clearCalls();
    boxes.answerNext(MessageAnswer::Cancel);
    dialog.initExcelClicked();
    EXPECT_THAT(boxes.texts(), ElementsAre(kDiscardQuestion));
    EXPECT_EQ(dialog.text(id::kFileName), "/a.xls");
    EXPECT_FALSE(called(kQuit));
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(ExcelDialogLogicTest, InitExcelWhileRunningAndOkRestartsTheSpreadsheet) {
    startNewWorkbook();
    dialog.initExcelClicked();
    EXPECT_THAT(boxes.texts(), ElementsAre(kDiscardQuestion));
    EXPECT_TRUE(called(kQuit));
    EXPECT_EQ(excel.starts(), 2);
    EXPECT_THAT(dialog.sheetEntries(), ElementsAre("Sheet1"));
}

TEST_F(ExcelDialogLogicTest, FailedRestartLeavesTheEarlierWorkbookClosedAndTheListEmpty) {
    startNewWorkbook();
    excel.fail("Workbooks.call 0xB5");
    dialog.initExcelClicked();
    EXPECT_TRUE(dialog.sheetEntries().empty());
    EXPECT_TRUE(buttonsDisabled());
    EXPECT_THAT(boxes.texts(), ElementsAre(kDiscardQuestion, "An unspecified Error occurred."));
}

// --- sheet, direction, show, hide, save ------------------------------------

TEST_F(ExcelDialogLogicTest, ChosenSheetIsSelectedByName) {
    excel.worksheets->answer("get", tarvo::excel::kCount, AutomationValue::int32(2));
    startNewWorkbook();
    dialog.sheetChosen(1);
    EXPECT_EQ(dialog.sheetSelection(), 1);
    EXPECT_TRUE(called("Worksheets.get 0xAA BSTR \"Sheet1\""));
}

TEST_F(ExcelDialogLogicTest, SheetThatCannotBeSelectedIsReported) {
    startNewWorkbook();
    excel.fail("Worksheets.get 0xAA");
    dialog.sheetChosen(0);
    EXPECT_THAT(boxes.texts(), ElementsAre("Worksheet not found in active Workbook."));
}

TEST_F(ExcelDialogLogicTest, DirectionClicksTakeEffectAndAreWrittenAtOnce) {
    dialog.horizontalClicked();
    EXPECT_TRUE(dialog.isChecked(id::kHorizontal));
    EXPECT_FALSE(dialog.isChecked(id::kVertical));
    EXPECT_EQ(session.layout.direction, 1);
    EXPECT_EQ(key("Direction"), "1");
    dialog.verticalClicked();
    EXPECT_EQ(session.layout.direction, 2);
    EXPECT_EQ(key("Direction"), "2");
}

TEST_F(ExcelDialogLogicTest, ShowPlacesTheWindowThenShowsIt) {
    startNewWorkbook();
    dialog.showExcelClicked();
    EXPECT_TRUE(called("Application.put 0x18C I4 -4143"));
    EXPECT_TRUE(called("Application.put 0x7A R8 500"));
    EXPECT_TRUE(called("Application.put 0x7B R8 300"));
    EXPECT_TRUE(called("Application.put 0x22E BOOL true"));
    EXPECT_THAT(boxes.texts(), IsEmpty());
}

TEST_F(ExcelDialogLogicTest, RefusedPlacementIsReportedAndNothingIsShown) {
    startNewWorkbook();
    excel.fail("Application.put 0x7F");
    dialog.showExcelClicked();
    EXPECT_FALSE(called("Application.put 0x22E"));
    EXPECT_THAT(boxes.texts(), ElementsAre("Could not set window to given position or size."));
}

TEST_F(ExcelDialogLogicTest, HideHidesTheSpreadsheet) {
    startNewWorkbook();
    dialog.hideExcelClicked();
    EXPECT_THAT(excel.calls(), ElementsAre("Application.put 0x22E BOOL false"));
}

TEST_F(ExcelDialogLogicTest, SaveAsksForAPathAndSavesACopyWithoutRememberingIt) {
    ini.write(kExcelSection, "FilePath", "/data/lot.xls");
    startNewWorkbook();
    chooser.answerNext("/data/copy");
    dialog.saveExcelClicked();
    ASSERT_EQ(chooser.requests.size(), 1u);
    EXPECT_EQ(chooser.requests[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(chooser.requests[0].title, "Save Excel File");
    EXPECT_EQ(chooser.requests[0].initialFileName, "/data/lot.xls");
    EXPECT_TRUE(called("Workbook.call 0xAF BSTR \"/data/copy.xls\""));
    EXPECT_EQ(key("FilePath"), "/data/lot.xls");
}

TEST_F(ExcelDialogLogicTest, CancelledSaveSavesNothing) {
    startNewWorkbook();
    dialog.saveExcelClicked();
    EXPECT_FALSE(called("Workbook.call 0xAF"));
}

TEST_F(ExcelDialogLogicTest, SaveWithoutSpreadsheetAsksNothing) {
    dialog.saveExcelClicked();
    EXPECT_TRUE(chooser.requests.empty());
}

TEST_F(ExcelDialogLogicTest, RejectedSavePathIsReported) {
    startNewWorkbook();
    excel.fail("Workbook.call 0xAF");
    chooser.answerNext("/nowhere/copy.xls");
    dialog.saveExcelClicked();
    EXPECT_THAT(boxes.texts(), ElementsAre("Could not save File (Error in given Path)."));
}

// --- CloseEXCEL and closing the dialog -------------------------------------

TEST_F(ExcelDialogLogicTest, CloseExcelEmptiesTheDialogAndDropsTheClient) {
    browseTo("/data/lot.xls");
    dialog.initExcelClicked();
    dialog.closeExcelClicked();
    EXPECT_TRUE(dialog.sheetEntries().empty());
    EXPECT_EQ(dialog.text(id::kFileName), "");
    EXPECT_TRUE(buttonsDisabled());
    EXPECT_EQ(session.client, nullptr);
    EXPECT_TRUE(called(kQuit));
}

TEST_F(ExcelDialogLogicTest, FailedCloseIsReportedAndChangesNothing) {
    startNewWorkbook();
    excel.fail(kQuit);
    dialog.closeExcelClicked();
    EXPECT_THAT(boxes.texts(), ElementsAre("An unspecified Error occurred."));
    EXPECT_NE(session.client, nullptr);
    EXPECT_THAT(dialog.sheetEntries(), ElementsAre("Sheet1"));
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(ExcelDialogLogicTest, SecondCloseAfterADeadServerLeavesNoClientToComplainAtReadings) {
    startNewWorkbook();
    excel.die();
    dialog.closeExcelClicked();
    EXPECT_NE(session.client, nullptr);
    dialog.closeExcelClicked();
    EXPECT_THAT(boxes.texts(),
                ElementsAre("An unspecified Error occurred.", "An unspecified Error occurred."));
    EXPECT_EQ(session.client, nullptr);
    EXPECT_FALSE(buttonsEnabled());
    EXPECT_THAT(dialog.sheetEntries(), IsEmpty());
}

TEST_F(ExcelDialogLogicTest, InitExcelAfterADeadServerStartsAFreshOne) {
    startNewWorkbook();
    excel.die();
    dialog.closeExcelClicked();
    excel.heal();
    boxes.shown.clear();
    dialog.initExcelClicked();
    EXPECT_THAT(boxes.texts(),
                ElementsAre("Open workbook: Do you want to discard the current workbook ?"));
    EXPECT_TRUE(session.client && session.client->isRunning());
    EXPECT_THAT(dialog.sheetEntries(), ElementsAre("Sheet1"));
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(ExcelDialogLogicTest, DialogRefusesToCloseWhileTheSpreadsheetRuns) {
    startNewWorkbook();
    EXPECT_FALSE(dialog.closeRequested());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Close Excel Automation first !");
    EXPECT_EQ(boxes.shown[0].caption, "Tarvo");
    EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
    dialog.closeExcelClicked();
    EXPECT_TRUE(dialog.closeRequested());
}

TEST_F(ExcelDialogLogicTest, DialogClosesWhenTheWorkbookWasClosedInTheSpreadsheet) {
    startNewWorkbook();
    excel.fireBeforeClose();
    EXPECT_TRUE(dialog.closeRequested());
    EXPECT_THAT(boxes.texts(), IsEmpty());
}

// --- the operator acting elsewhere while a box or file dialog is open -------

// CloseEXCEL pressed while the discard question is open destroys the client
// the question was about: OK must not go on with it.
TEST_F(ExcelDialogLogicTest, CloseExcelDuringTheDiscardQuestionEndsInitExcel) {
    startNewWorkbook();
    boxes.duringNext([this] { dialog.closeExcelClicked(); });
    dialog.initExcelClicked();
    EXPECT_EQ(session.client, nullptr);
    EXPECT_EQ(excel.starts(), 1);
    EXPECT_THAT(dialog.sheetEntries(), IsEmpty());
    EXPECT_TRUE(buttonsDisabled());
}

TEST_F(ExcelDialogLogicTest, CloseExcelDuringTheCreateQuestionStartsNoWorkbook) {
    browseTo("/gone.xls");
    excel.fail(kOpenCall);
    boxes.duringNext([this] { dialog.closeExcelClicked(); });
    dialog.initExcelClicked();
    EXPECT_EQ(session.client, nullptr);
    EXPECT_FALSE(called("Workbooks.call 0xB5"));
    EXPECT_TRUE(buttonsDisabled());
}

// CloseEXCEL pressed while SaveEXCEL's file dialog is open leaves no client
// to save through.
TEST_F(ExcelDialogLogicTest, CloseExcelDuringTheSaveDialogSavesNothing) {
    startNewWorkbook();
    chooser.answerNext("/data/copy.xls");
    chooser.duringNext([this] { dialog.closeExcelClicked(); });
    dialog.saveExcelClicked();
    EXPECT_EQ(session.client, nullptr);
    EXPECT_FALSE(called("Workbook.call 0xAF"));
}

// The close box or Escape while Browse or the create question is open: the
// window may go only once the handler that opened the box has let go of it.
class ExcelDialogClosingTest : public ExcelDialogLogicTest {
  protected:
    void SetUp() override {
        owned->start();
        owned->setCloseListener([this] {
            ++closes;
            owned.reset();
        });
    }
    // What the window does on its close box: destroy itself when allowed.
    void closeBox() {
        if (owned->closeRequested()) {
            owned.reset();
        }
    }

    std::unique_ptr<ExcelDialogLogic> owned = std::make_unique<ExcelDialogLogic>(
        session, ExcelDialogServices{ini, boxes, chooser, excel.factory()});
    int closes = 0;
};

TEST_F(ExcelDialogClosingTest, CloseBoxDuringBrowseClosesAfterTheFileDialogAndStoresNothing) {
    chooser.answerNext("/data/lot.xls");
    chooser.duringNext([this] { closeBox(); });
    owned->browseClicked();
    EXPECT_EQ(owned, nullptr);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(key("FilePath"), "<missing>");
}

TEST_F(ExcelDialogClosingTest, CloseBoxDuringTheCreateQuestionStartsNothingAndCloses) {
    chooser.answerNext("/gone.xls");
    owned->browseClicked();
    excel.fail(kOpenCall);
    boxes.duringNext([this] { closeBox(); });
    owned->initExcelClicked();
    EXPECT_EQ(owned, nullptr);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(called("Workbooks.call 0xB5"));
}

TEST_F(ExcelDialogClosingTest, CloseBoxDuringTheDiscardQuestionIsRefusedWhileExcelRuns) {
    owned->initExcelClicked();
    boxes.answerNext(MessageAnswer::Cancel);
    boxes.duringNext([this] { closeBox(); });
    owned->initExcelClicked();
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(closes, 0);
    EXPECT_THAT(boxes.texts(), ElementsAre(kDiscardQuestion, "Close Excel Automation first !"));
}

// --- column fields and InitValues ------------------------------------------

TEST_F(ExcelDialogLogicTest, TypedDigitInAColumnFieldIsCleared) {
    dialog.textEdited(id::kSet1Column, "1");
    EXPECT_EQ(dialog.text(id::kSet1Column), "");
    dialog.textEdited(id::kSet2Column, "HA");
    EXPECT_EQ(dialog.text(id::kSet2Column), "");
}

TEST_F(ExcelDialogLogicTest, TypedLetterStaysAsTypedUntilInitValues) {
    dialog.textEdited(id::kSet1Column, "g");
    EXPECT_EQ(dialog.text(id::kSet1Column), "g");
    EXPECT_EQ(session.layout.set1.firstColumn, 1);
    dialog.initValuesClicked();
    EXPECT_EQ(session.layout.set1.firstColumn, 7);
    EXPECT_EQ(key("ColumnInit1"), "G");
}

TEST_F(ExcelDialogLogicTest, InitValuesTakesTheTypedLayoutAndDirection) {
    dialog.textEdited(id::kSet1Row, "4");
    dialog.textEdited(id::kSet1FirstListColumn, "0");
    dialog.textEdited(id::kSet1Length, "0");
    dialog.textEdited(id::kSet2Length, "2");
    dialog.horizontalClicked();
    dialog.initValuesClicked();
    EXPECT_EQ(session.layout.set1.firstRow, 4);
    EXPECT_EQ(session.layout.set1.firstListColumn, 0);
    EXPECT_EQ(session.layout.set1.length, 0);
    EXPECT_EQ(session.layout.set2.length, 2);
    EXPECT_EQ(session.layout.direction, 1);
    EXPECT_EQ(key("Start1"), "0");
    EXPECT_EQ(key("Length1"), "0");
}

TEST_F(ExcelDialogLogicTest, TypedValuesTakeNoEffectBeforeInitValues) {
    dialog.textEdited(id::kSet1Row, "9");
    EXPECT_EQ(session.layout.set1.firstRow, 1);
    EXPECT_EQ(key("RowInit1"), "1");
}

TEST(ChooseExcelFileTest, SaveModeAsksWithTheSameFiltersAndTitle) {
    test::AnsweringFileChooser chooser;
    chooser.answerNext("/x.xls");
    EXPECT_EQ(chooseExcelFile(chooser, FileDialogRequest::Mode::Save, "C:\\data\\a.xls", "T"),
              "/x.xls");
    const FileDialogRequest& request = chooser.requests.at(0);
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.initialFolder, "C:\\data\\");
    EXPECT_EQ(request.defaultExtension, "xls");
    EXPECT_EQ(request.title, "T");
}

}  // namespace
}  // namespace tarvo
