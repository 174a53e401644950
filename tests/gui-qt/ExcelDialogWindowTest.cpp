#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "AnsweringFileChooser.h"
#include "QtTyping.h"
#include "TempDir.h"
#include "TransferFixture.h"
#include "gui-qt/ExcelDialog.h"
#include "gui-qt/ExcelDialogOpener.h"
#include "res/ControlIds.h"

namespace tarvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kWait = 5000;

class ExcelDialogWindowTest : public ::testing::Test {
  protected:
    ExcelDialog& openDialog() {
        opener.open();
        EXPECT_NE(opener.dialog(), nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(opener.dialog()));
        return *opener.dialog();
    }
    template <typename T = QWidget>
    T* control(int id) const {
        return opener.dialog()->findChild<T*>(QString::number(id));
    }
    void click(int id) { QTest::mouseClick(control<QAbstractButton>(id), Qt::LeftButton); }
    std::string edit(int id) const { return control<QLineEdit>(id)->text().toStdString(); }
    bool waitClosed() {
        return QTest::qWaitFor([&] { return opener.dialog() == nullptr; }, kWait);
    }

    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    test::FakeExcel excel;
    test::RecordingMessageBoxes boxes;
    test::AnsweringFileChooser chooser;
    int opened = 0;
    int closed = 0;
    ExcelDialogOpener opener{
        nullptr, {ini, boxes, chooser, excel.factory()}, {[&] { ++opened; }, [&] { ++closed; }}};
};

TEST_F(ExcelDialogWindowTest, EveryControlCarriesItsIdAndLabel) {
    ExcelDialog& dialog = openDialog();
    EXPECT_EQ(dialog.windowTitle(), "Excel Automation");
    EXPECT_FALSE(dialog.isModal());
    const std::pair<int, const char*> buttons[] = {
        {id::kBrowse, "Browse"},         {id::kInitExcel, "InitEXCEL"},
        {id::kShowExcel, "ShowEXCEL"},   {id::kHideExcel, "HideEXCEL"},
        {id::kCloseExcel, "CloseEXCEL"}, {id::kSaveExcel, "SaveEXCEL"},
        {id::kInitValues, "InitValues"}, {id::kExcelClose, "Close"},
        {id::kExcelCancel, "Cancel"},    {id::kHorizontal, "Horizontal"},
        {id::kVertical, "Vertical"}};
    for (auto [id, label] : buttons) {
        ASSERT_NE(control<QAbstractButton>(id), nullptr) << id;
        EXPECT_EQ(control<QAbstractButton>(id)->text(), label);
    }
    EXPECT_EQ(control<QGroupBox>(id::kSet1Group)->title(), "Set1");
    EXPECT_EQ(control<QGroupBox>(id::kSet2Group)->title(), "Set2");
    EXPECT_EQ(control<QLabel>(id::kFileNameLabel)->text(), "FileName:");
    EXPECT_EQ(control<QLabel>(id::kSheetNameLabel)->text(), "SheetName:");
    EXPECT_NE(control<QComboBox>(id::kSheetName), nullptr);
    for (int id :
         {id::kFileName, id::kSet1Row, id::kSet1Column, id::kSet1FirstListColumn, id::kSet1Length,
          id::kSet2Row, id::kSet2Column, id::kSet2FirstListColumn, id::kSet2Length}) {
        EXPECT_NE(control<QLineEdit>(id), nullptr) << id;
    }
    EXPECT_TRUE(control<QLineEdit>(id::kFileName)->isReadOnly());
    EXPECT_TRUE(control<QPushButton>(id::kExcelClose)->isDefault());
    EXPECT_FALSE(control(id::kExcelCancel)->isVisible());
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        labels.append(label->text());
    }
    for (const char* text :
         {"Direction:", "FirstCell:", "Row", "Column", "FirstListColumn:", "Length:"}) {
        EXPECT_TRUE(labels.contains(text)) << text;
    }
}

TEST_F(ExcelDialogWindowTest, OpeningShowsTheStoredLayoutAndDisablesTheExcelButtons) {
    ini.write(kExcelSection, "ColumnInit1", "ab");
    ini.write(kExcelSection, "Direction", "1");
    openDialog();
    EXPECT_EQ(edit(id::kSet1Column), "AB");
    EXPECT_EQ(edit(id::kSet1Length), "6");
    EXPECT_EQ(edit(id::kSet2Length), "0");
    EXPECT_TRUE(control<QRadioButton>(id::kHorizontal)->isChecked());
    EXPECT_FALSE(control<QRadioButton>(id::kVertical)->isChecked());
    for (int id : {id::kShowExcel, id::kHideExcel, id::kSaveExcel}) {
        EXPECT_FALSE(control(id)->isEnabled()) << id;
    }
    EXPECT_EQ(opened, 1);
}

TEST_F(ExcelDialogWindowTest, SecondPressBringsTheOpenDialogForward) {
    openDialog();
    QPointer<ExcelDialog> first = opener.dialog();
    opener.open();
    EXPECT_EQ(opener.dialog(), first.data());
    EXPECT_EQ(opened, 1);
}

TEST_F(ExcelDialogWindowTest, ColumnFieldDropsTypedDigitsAndKeepsLetters) {
    openDialog();
    auto* column = control<QLineEdit>(id::kSet1Column);
    column->clear();
    QTest::keyClicks(column, "1");
    EXPECT_EQ(edit(id::kSet1Column), "");
    QTest::keyClicks(column, "g");
    EXPECT_EQ(edit(id::kSet1Column), "g");
    click(id::kInitValues);
    EXPECT_EQ(opener.session().layout.set1.firstColumn, 7);
    EXPECT_EQ(ini.value(kExcelSection, "ColumnInit1").value_or(""), "G");
}

// The program's text is CP1252: a sheet name shows as Unicode, a character the
// code page cannot hold is refused as it is typed instead of becoming a "?".
TEST_F(ExcelDialogWindowTest, TextIsCp1252BothWaysAndTheColumnFieldRefusesWhatItCannotHold) {
    excel.worksheet->answer("get", 0x6E, AutomationValue::string("K\xE4se \x80"));
    openDialog();
    click(id::kInitExcel);
    EXPECT_EQ(control<QComboBox>(id::kSheetName)->itemText(0), QString::fromUtf8("Käse €"));

    auto* column = control<QLineEdit>(id::kSet1Column);
    column->clear();
    test::typeText(column, QString::fromUtf8("g\u03A9"));
    EXPECT_EQ(edit(id::kSet1Column), "g") << "Omega has no byte in CP1252";
    EXPECT_EQ(opener.dialog()->logic().text(id::kSet1Column), "g");

    chooser.answerNext("/data/K\xE4se.xls");
    click(id::kBrowse);
    EXPECT_EQ(edit(id::kFileName), "/data/K\u00E4se.xls");
}

TEST_F(ExcelDialogWindowTest, DigitFieldsRefuseLetters) {
    openDialog();
    auto* row = control<QLineEdit>(id::kSet2Row);
    row->clear();
    QTest::keyClicks(row, "a3");
    EXPECT_EQ(edit(id::kSet2Row), "3");
}

TEST_F(ExcelDialogWindowTest, DirectionButtonsWriteAtOnce) {
    openDialog();
    click(id::kHorizontal);
    EXPECT_EQ(ini.value(kExcelSection, "Direction").value_or(""), "1");
    EXPECT_TRUE(control<QRadioButton>(id::kHorizontal)->isChecked());
    click(id::kVertical);
    EXPECT_EQ(ini.value(kExcelSection, "Direction").value_or(""), "2");
}

TEST_F(ExcelDialogWindowTest, InitExcelListsTheSheetsAndEnablesTheButtons) {
    excel.worksheets->answer("get", 0x76, AutomationValue::int32(3));
    openDialog();
    click(id::kInitExcel);
    auto* sheets = control<QComboBox>(id::kSheetName);
    EXPECT_EQ(sheets->count(), 3);
    EXPECT_EQ(sheets->currentIndex(), 0);
    EXPECT_EQ(sheets->itemText(0), "Sheet1");
    for (int id : {id::kShowExcel, id::kHideExcel, id::kSaveExcel}) {
        EXPECT_TRUE(control(id)->isEnabled()) << id;
    }
    click(id::kCloseExcel);
    EXPECT_EQ(sheets->count(), 0);
    EXPECT_FALSE(control(id::kShowExcel)->isEnabled());
}

TEST_F(ExcelDialogWindowTest, BrowseShowsTheChosenFile) {
    openDialog();
    chooser.answerNext("/data/lot.xls");
    click(id::kBrowse);
    EXPECT_EQ(edit(id::kFileName), "/data/lot.xls");
}

TEST_F(ExcelDialogWindowTest, CloseIsRefusedWhileTheSpreadsheetRuns) {
    openDialog();
    click(id::kInitExcel);
    click(id::kExcelClose);
    EXPECT_THAT(boxes.texts(), ElementsAre("Close Excel Automation first !"));
    EXPECT_NE(opener.dialog(), nullptr);
    EXPECT_TRUE(opener.dialog()->isVisible());
    EXPECT_EQ(closed, 0);
}

TEST_F(ExcelDialogWindowTest, CloseBoxAndEscapeAreRefusedWhileTheSpreadsheetRuns) {
    ExcelDialog& dialog = openDialog();
    click(id::kInitExcel);
    EXPECT_FALSE(dialog.close());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(boxes.texts().size(), 2u);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(closed, 0);
}

TEST_F(ExcelDialogWindowTest, CloseButtonEndsTheDialogLikeTheCloseBox) {
    openDialog();
    click(id::kInitExcel);
    click(id::kCloseExcel);
    QPointer<ExcelDialog> dialog = opener.dialog();
    click(id::kExcelClose);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(opener.dialog(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.isNull(); }, kWait));
    EXPECT_THAT(boxes.texts(), IsEmpty());
}

TEST_F(ExcelDialogWindowTest, CloseBoxEndsTheDialogWhenNoSpreadsheetRuns) {
    openDialog();
    QPointer<ExcelDialog> dialog = opener.dialog();
    EXPECT_TRUE(dialog->close());
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.isNull(); }, kWait));
    // The next press builds a fresh dialog.
    openDialog();
    EXPECT_EQ(opened, 2);
}

// A close asked for while one of the dialog's own boxes or file dialogs is
// open goes ahead once the handler that opened it has let go.
TEST_F(ExcelDialogWindowTest, CloseBoxDuringBrowseClosesOnceTheFileDialogIsGone) {
    ExcelDialog& dialog = openDialog();
    chooser.answerNext("/data/lot.xls");
    chooser.duringNext([&] { EXPECT_FALSE(dialog.close()); });
    click(id::kBrowse);
    EXPECT_TRUE(waitClosed());
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(ini.value(kExcelSection, "FilePath"), std::nullopt);
}

TEST_F(ExcelDialogWindowTest, EscapeDuringTheCreateQuestionClosesOnceTheBoxIsGone) {
    ExcelDialog& dialog = openDialog();
    chooser.answerNext("/gone.xls");
    click(id::kBrowse);
    excel.fail("Workbooks.call 0x2AA");  // the file is not there
    boxes.duringNext([&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    click(id::kInitExcel);
    EXPECT_TRUE(waitClosed());
    EXPECT_EQ(closed, 1);
}

TEST_F(ExcelDialogWindowTest, ReadingsArePlacedOnlyWhileTheDialogIsOpen) {
    const ReadingTable table = test::tableOfReadings(1);
    const auto place = opener.placement();
    openDialog();
    click(id::kInitExcel);
    excel.clearCalls();
    place(table, 0);
    EXPECT_EQ(test::writtenCells(excel.calls()).size(), 6u);
    click(id::kCloseExcel);
    click(id::kExcelClose);
    excel.clearCalls();
    place(table, 0);
    EXPECT_THAT(excel.calls(), IsEmpty());
}

TEST_F(ExcelDialogWindowTest, StartingServerShowsTheNoticeAndTheBusyCursor) {
    QString noticeWhileStarting;
    Qt::CursorShape cursorWhileStarting = Qt::ArrowCursor;
    ExcelDialog* shown = nullptr;
    ExcelDialogServices services{ini, boxes, chooser, [&, factory = excel.factory()] {
                                     noticeWhileStarting = shown->noticeLine()->text();
                                     if (const QCursor* cursor = QApplication::overrideCursor()) {
                                         cursorWhileStarting = cursor->shape();
                                     }
                                     return factory();
                                 }};
    services.startingNotice = "Starting LibreOffice Calc...";
    ExcelDialogOpener starting{nullptr, services, {}};
    starting.open();
    shown = starting.dialog();
    QTest::mouseClick(static_cast<QAbstractButton*>(shown->control(id::kInitExcel)),
                      Qt::LeftButton);
    EXPECT_EQ(noticeWhileStarting, "Starting LibreOffice Calc...");
    EXPECT_EQ(cursorWhileStarting, Qt::WaitCursor);
    EXPECT_EQ(shown->noticeLine()->text(), "");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ExcelDialogWindowTest, ClosingTheProgramQuitsARunningSpreadsheet) {
    auto owner = std::make_unique<ExcelDialogOpener>(
        nullptr, ExcelDialogServices{ini, boxes, chooser, excel.factory()}, ExcelDialogHooks{});
    owner->open();
    owner->dialog()->logic().initExcelClicked();
    excel.clearCalls();
    owner.reset();
    EXPECT_THAT(excel.calls(), ::testing::Contains("Application.call 0x12E"));
}

TEST(ExcelDialogPlacementTest, OpensBesideTheMainWindowThenWhereTheOperatorLeftIt) {
    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    test::FakeExcel excel;
    test::RecordingMessageBoxes boxes;
    test::AnsweringFileChooser chooser;
    QWidget mainWindow;
    mainWindow.setGeometry(20, 20, 300, 200);
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    ExcelDialogOpener opener{&mainWindow, {ini, boxes, chooser, excel.factory()}, {}};

    opener.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(opener.dialog()));
    EXPECT_FALSE(opener.dialog()->frameGeometry().intersects(mainWindow.frameGeometry()));

    opener.dialog()->move(45, 65);
    opener.dialog()->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return opener.dialog() == nullptr; }, kWait));
    opener.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(opener.dialog()));
    EXPECT_EQ(opener.dialog()->pos(), QPoint(45, 65));
}

}  // namespace
}  // namespace tarvo
