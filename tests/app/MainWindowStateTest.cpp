#include "app/MainWindowState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "AcquisitionFakes.h"
#include "TempDir.h"
#include "res/ControlIds.h"

namespace tarvo {
namespace {

class MainWindowStateTest : public ::testing::Test {
  protected:
    void put(const std::string& text) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string value(const char* key) const { return ini.value("Generic", key).value_or("?"); }
    MainWindowState& started() {
        state.initialise();
        return state;
    }
    void addRows(int count) {
        for (int i = 0; i < count; ++i)
            state.table().addRow();
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "tarvo" / "Tarvo.ini";
    IniFile ini{path};
    test::ManualClock clock;
    MainWindowState state{ini, clock, 900};
};

TEST_F(MainWindowStateTest, FreshSystemShowsCom1DisplayTypeAndBeep) {
    started();
    EXPECT_TRUE(state.isChecked(id::kCom1));
    EXPECT_FALSE(state.isChecked(id::kCom2));
    EXPECT_EQ(state.fileTypeSelection(), 5);
    EXPECT_TRUE(state.isChecked(id::kBeep));
    EXPECT_EQ(value("COMMNO"), "1");
    EXPECT_EQ(value("BEEP"), "1");
}

TEST_F(MainWindowStateTest, StartUpEnablesAllButTheSixRowAndFileButtons) {
    started();
    for (int enabled : {id::kTable, id::kStartDev, id::kCom1, id::kCom2, id::kCom3, id::kCom4,
                        id::kBeep, id::kFileType, id::kComment, id::kCommentEdit, id::kExcel})
        EXPECT_TRUE(state.isEnabled(enabled)) << enabled;
    for (int disabled :
         {id::kSave, id::kInstantSave, id::kDelete, id::kChange, id::kClear, id::kPrint})
        EXPECT_FALSE(state.isEnabled(disabled)) << disabled;
    EXPECT_FALSE(state.isVisible(id::kInstantSave));
    EXPECT_TRUE(state.stopped());
    EXPECT_STREQ(state.startButtonText(), "Start Dev.");
    EXPECT_TRUE(state.welcomeShown());
}

// The windows show only what these lists hold: a control missing from them
// would keep the state the template gave it.
TEST_F(MainWindowStateTest, PublishedControlsHoldEveryComAndCheckableButtonComOneFirst) {
    const auto controls = MainWindowState::controls();
    EXPECT_EQ(controls.size(), 18u);
    for (int id : MainWindowState::checkableButtons())
        EXPECT_NE(std::find(controls.begin(), controls.end(), id), controls.end()) << id;
    const auto coms = MainWindowState::comButtons();
    EXPECT_EQ(std::vector<int>(coms.begin(), coms.end()),
              (std::vector<int>{id::kCom1, id::kCom2, id::kCom3, id::kCom4}));
    started();
    state.comClicked(coms[3]);
    EXPECT_EQ(value("COMMNO"), "4");
}

TEST_F(MainWindowStateTest, InstantSaveInTheFileIsForcedOffButKeptInTheFile) {
    put("[Generic]\nINSTANTSAVE=1\n");
    started();
    EXPECT_EQ(state.settings().instantSave, 0);
    EXPECT_FALSE(state.isChecked(id::kInstantSave));
    EXPECT_EQ(value("INSTANTSAVE"), "1");
}

TEST_F(MainWindowStateTest, PortSevenChecksCom1ButTheRecordKeepsSevenUntilAClick) {
    put("[Generic]\nCOMMNO=7\n");
    started();
    EXPECT_TRUE(state.isChecked(id::kCom1));
    EXPECT_EQ(state.settings().comNumber, 7);
    state.comClicked(id::kCom2);
    EXPECT_EQ(state.settings().comNumber, 2);
    EXPECT_TRUE(state.isChecked(id::kCom2));
    EXPECT_FALSE(state.isChecked(id::kCom1));
    EXPECT_EQ(value("COMMNO"), "2");
}

TEST_F(MainWindowStateTest, Port259ChecksCom3AndTheFileKeeps259) {
    put("[Generic]\nCOMMNO=259\n");
    started();
    EXPECT_TRUE(state.isChecked(id::kCom3));
    EXPECT_EQ(value("COMMNO"), "259");
    state.comClicked(id::kCom4);
    EXPECT_EQ(value("COMMNO"), "4");
}

TEST_F(MainWindowStateTest, PortZeroOrFiveChecksCom1) {
    for (const char* number : {"0", "5", "-1", "x"}) {
        put(std::string("[Generic]\nCOMMNO=") + number + "\n");
        started();
        EXPECT_TRUE(state.isChecked(id::kCom1)) << number;
    }
}

TEST_F(MainWindowStateTest, FileTypeNineLeavesNoSelectionAndAChoiceIsWritten) {
    put("[Generic]\nFILETYPE=9\n");
    started();
    EXPECT_FALSE(state.fileTypeSelection().has_value());
    EXPECT_EQ(state.settings().fileType, 9);
    state.fileTypeChosen(3);
    EXPECT_EQ(state.fileTypeSelection(), 3);
    EXPECT_EQ(value("FILETYPE"), "3");
}

TEST_F(MainWindowStateTest, BeepTwoTicksTheBoxAndOneClickWritesZero) {
    put("[Generic]\nBEEP=2\n");
    started();
    EXPECT_TRUE(state.isChecked(id::kBeep));
    state.beepClicked();
    EXPECT_FALSE(state.isChecked(id::kBeep));
    EXPECT_EQ(value("BEEP"), "0");
    state.beepClicked();
    EXPECT_EQ(value("BEEP"), "1");
}

TEST_F(MainWindowStateTest, UnwritableFileLeavesTheClickInMemory) {
    started();
    // A folder where the file was: no write can replace it (root included).
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    state.comClicked(id::kCom4);
    state.beepClicked();
    state.fileTypeChosen(2);
    EXPECT_EQ(state.settings().comNumber, 4);
    EXPECT_EQ(state.settings().beep, 0);
    EXPECT_EQ(state.settings().fileType, 2);
    EXPECT_TRUE(state.isChecked(id::kCom4));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(MainWindowStateTest, SettingsFileInPlaceOfAFolderLeavesDefaultsInMemory) {
    std::ofstream(dir / "tarvo") << "not a folder";
    started();
    EXPECT_EQ(state.settings().comNumber, 1);
    state.comClicked(id::kCom3);
    EXPECT_EQ(state.settings().comNumber, 3);
}

TEST_F(MainWindowStateTest, DateTextHasNoLeadingZeros) {
    clock.time = {2026, 12, 6, 9, 5, 3};
    started();
    EXPECT_EQ(state.dateText(), "6.12.2026");
    state.updateDate({2027, 1, 2, 0, 0, 0});
    EXPECT_EQ(state.dateText(), "2.1.2027");
}

TEST_F(MainWindowStateTest, StartEnablesRowAndFileButtonsAndLocksThePort) {
    started().acquisitionStarted();
    for (int enabled : {id::kSave, id::kDelete, id::kChange, id::kClear, id::kPrint, id::kExcel})
        EXPECT_TRUE(state.isEnabled(enabled)) << enabled;
    for (int disabled : {id::kCom1, id::kCom2, id::kCom3, id::kCom4, id::kInstantSave})
        EXPECT_FALSE(state.isEnabled(disabled)) << disabled;
    EXPECT_STREQ(state.startButtonText(), "Stop Dev.");
    EXPECT_FALSE(state.welcomeShown());
    EXPECT_FALSE(state.stopped());
}

TEST_F(MainWindowStateTest, StopDisablesRowAndFileButtonsAgainAndShowsWelcome) {
    started().acquisitionStarted();
    state.acquisitionStopped();
    for (int enabled : {id::kCom1, id::kCom2, id::kCom3, id::kCom4, id::kExcel, id::kStartDev})
        EXPECT_TRUE(state.isEnabled(enabled)) << enabled;
    for (int disabled :
         {id::kSave, id::kInstantSave, id::kDelete, id::kChange, id::kClear, id::kPrint})
        EXPECT_FALSE(state.isEnabled(disabled)) << disabled;
    EXPECT_STREQ(state.startButtonText(), "Start Dev.");
    EXPECT_TRUE(state.welcomeShown());
}

TEST_F(MainWindowStateTest, SpreadsheetDialogDisablesDeleteUntilItClosesOrAStart) {
    started().acquisitionStarted();
    state.excelDialogOpened();
    EXPECT_FALSE(state.isEnabled(id::kDelete));
    state.excelDialogClosed();
    EXPECT_TRUE(state.isEnabled(id::kDelete));
    state.excelDialogOpened();
    state.acquisitionStopped();
    state.acquisitionStarted();
    EXPECT_TRUE(state.isEnabled(id::kDelete));
}

TEST_F(MainWindowStateTest, EveryChangeIsToldToTheWindow) {
    int told = 0;
    state.setChangeListener([&] { ++told; });
    started();
    state.comClicked(id::kCom2);
    state.beepClicked();
    state.fileTypeChosen(1);
    state.acquisitionStarted();
    EXPECT_EQ(told, 5);
}

TEST_F(MainWindowStateTest, CommentWithoutSelectionGoesToTheNewestRowAndEmptiesTheEdit) {
    started();
    addRows(3);
    state.commentEdited("patch 4");
    state.commentClicked();
    EXPECT_EQ(state.table().cell(0, 9), "patch 4");
    EXPECT_EQ(state.commentEdit(), "");
    state.commentClicked();  // an empty edit clears the comment
    EXPECT_EQ(state.table().cell(0, 9), "");
}

TEST_F(MainWindowStateTest, CommentGoesToTheFirstSelectedRowCutTo19) {
    started();
    addRows(3);
    state.table().setSelected(2, true);
    state.table().setSelected(1, true);
    state.commentEdited("a comment longer than nineteen");
    state.commentClicked();
    EXPECT_EQ(state.table().cell(1, 9), "a comment longer th");
    EXPECT_EQ(state.table().cell(2, 9), "");
}

TEST_F(MainWindowStateTest, CommentOnAnEmptyTableOnlyEmptiesTheEdit) {
    started();
    state.commentEdited("lost");
    state.commentClicked();
    EXPECT_EQ(state.commentEdit(), "");
    EXPECT_EQ(state.table().rowCount(), 0);
}

TEST_F(MainWindowStateTest, ReadingTakesAtMost19CharactersAndEmptiesTheEdit) {
    started();
    EXPECT_EQ(state.takeComment(), "");
    state.commentEdited("twenty characters!!!");
    EXPECT_EQ(state.takeComment(), "twenty characters!!");
    EXPECT_EQ(state.commentEdit(), "");
}

TEST_F(MainWindowStateTest, RowButtonsActOnTheTable) {
    started();
    addRows(5);
    state.table().setSelected(1, true);
    state.table().setSelected(3, true);
    state.deleteClicked();
    EXPECT_EQ(state.table().rowCount(), 4);
    EXPECT_EQ(state.table().cell(0, 0), "4");
    EXPECT_EQ(state.table().cell(3, 0), "1");
    state.changeClicked();
    EXPECT_TRUE(state.table().changePending());
    EXPECT_EQ(state.table().changeTarget(), 2);
    state.clearClicked();
    EXPECT_EQ(state.table().rowCount(), 0);
}

TEST(SystemCommand, SixteenToThirtyOneOpenAbout) {
    for (int command = 16; command <= 31; ++command)
        EXPECT_TRUE(opensAbout(command)) << command;
    for (int command : {0, 15, 32, 0xF060, 0xF020})
        EXPECT_FALSE(opensAbout(command)) << command;
}

}  // namespace
}  // namespace tarvo
