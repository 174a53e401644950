#include "gui-qt/MainDialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <fstream>
#include <memory>

#include "AcquisitionFakes.h"
#include "BmpFile.h"
#include "QtTyping.h"
#include "RecordingMessageBoxes.h"
#include "TempDir.h"
#include "gui-qt/AboutDialog.h"
#include "gui-qt/DialogUnits.h"
#include "gui-qt/ReadingTableView.h"
#include "gui-qt/Screenshot.h"
#include "gui-qt/WelcomeWindow.h"
#include "res/ControlIds.h"

namespace tarvo {
namespace {

class MainDialogTest : public ::testing::Test {
  protected:
    void put(const std::string& text) {
        std::filesystem::create_directories(iniPath.parent_path());
        std::ofstream(iniPath, std::ios::binary) << text;
    }
    MainDialog& open() {
        dialog = std::make_unique<MainDialog>(MainDialogServices{ini, clock, messages, dir.path()});
        return *dialog;
    }
    MainDialog& shown() {
        open().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return *dialog;
    }
    template <typename T = QWidget>
    T* control(int id) const {
        return dialog->findChild<T*>(QString::number(id));
    }
    std::string value(const char* key) const { return ini.value("Generic", key).value_or("?"); }
    ReadingTable& table() { return dialog->state().table(); }
    QItemSelectionModel* viewSelection() { return dialog->tableView()->selectionModel(); }
    void addRows(int count) {
        for (int i = 0; i < count; ++i)
            table().addRow();
    }

    test::TempDir dir;
    std::filesystem::path iniPath = dir / "config" / "Tarvo.ini";
    IniFile ini{iniPath};
    test::ManualClock clock;
    test::RecordingMessageBoxes messages;
    std::unique_ptr<MainDialog> dialog;
};

// Runs body on the modal window that the next action opens, then closes it.
void onNextModal(std::function<void(QWidget*)> body) {
    QTimer::singleShot(0, [body] {
        QWidget* modal = QApplication::activeModalWidget();
        body(modal);
        if (modal)
            modal->close();
    });
}

struct ExpectedControl {
    int id;
    const char* className;
    const char* text;
    bool enabled;
};

TEST_F(MainDialogTest, EveryControlByIdWithItsTextAndStartUpState) {
    const ExpectedControl expected[] = {
        {id::kTable, "tarvo::ReadingTableView", "", true},
        {id::kDateText, "QLabel", "6.12.2026", true},
        {id::kBeep, "QCheckBox", "Beep", true},
        {id::kCom1, "QRadioButton", "COM 1", true},
        {id::kCom2, "QRadioButton", "COM 2", true},
        {id::kCom3, "QRadioButton", "COM 3", true},
        {id::kCom4, "QRadioButton", "COM 4", true},
        {id::kInstantSave, "QCheckBox", "Instant Save", false},
        {id::kComment, "QPushButton", "Comment", true},
        {id::kCommentEdit, "QLineEdit", "", true},
        {id::kStartDev, "QPushButton", "Start Dev.", true},
        {id::kSave, "QPushButton", "Save", false},
        {id::kFileType, "QComboBox", "DISPLAY[*.txt]", true},
        {id::kClear, "QPushButton", "Clear", false},
        {id::kDelete, "QPushButton", "Delete", false},
        {id::kChange, "QPushButton", "Change", false},
        {id::kPrint, "QPushButton", "Print", false},
        {id::kExcel, "QPushButton", "EXCEL", true},
    };
    shown();
    for (const auto& e : expected) {
        QWidget* widget = control(e.id);
        ASSERT_NE(widget, nullptr) << e.id;
        EXPECT_STREQ(widget->metaObject()->className(), e.className) << e.id;
        EXPECT_EQ(widget->isEnabled(), e.enabled) << e.id;
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            text = combo->currentText();
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            text = edit->text();
        EXPECT_EQ(text.toStdString(), e.text) << e.id;
    }
    EXPECT_FALSE(control(id::kInstantSave)->isVisible());
    EXPECT_TRUE(control(id::kTable)->isVisible());
    EXPECT_TRUE(control<QRadioButton>(id::kCom1)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(id::kBeep)->isChecked());
    EXPECT_EQ(dialog->windowTitle(), "tarvo V 1.22");
    EXPECT_FALSE(dialog->windowIcon().isNull());
}

TEST_F(MainDialogTest, ComboHoldsTheSixFileTypesInOrder) {
    open();
    auto* combo = control<QComboBox>(id::kFileType);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    EXPECT_EQ(items, QStringList({"1DST34 (*.cm1)", "1DST21 (*.cm1)", "1DSTCustom (*.cm1)",
                                  "ASCII (*.den)", "ASCIIBW(*.den)", "DISPLAY[*.txt]"}));
}

TEST_F(MainDialogTest, ControlsSitWhereTheirDialogUnitsSay) {
    open();
    const DialogUnits units = DialogUnits::of(dialog->font());
    EXPECT_EQ(dialog->size(), QSize(units.x(366), units.y(252)));
    EXPECT_EQ(control(id::kTable)->geometry(), units.rect(7, 7, 351, 203));
    EXPECT_EQ(control(id::kStartDev)->geometry(), units.rect(7, 230, 37, 14));
    EXPECT_EQ(control(id::kCommentEdit)->geometry(), units.rect(284, 213, 74, 14));
    EXPECT_EQ(control(id::kExcel)->geometry(), units.rect(321, 230, 37, 14));
}

TEST_F(MainDialogTest, ComClickWritesCommnoAtOnce) {
    shown();
    QTest::mouseClick(control(id::kCom3), Qt::LeftButton);
    EXPECT_EQ(value("COMMNO"), "3");
    EXPECT_TRUE(control<QRadioButton>(id::kCom3)->isChecked());
    EXPECT_FALSE(control<QRadioButton>(id::kCom1)->isChecked());
    EXPECT_EQ(dialog->state().settings().comNumber, 3);
}

TEST_F(MainDialogTest, PortSevenShowsCom1AndAClickOnCom1WritesOne) {
    put("[Generic]\nCOMMNO=7\n");
    open();
    EXPECT_TRUE(control<QRadioButton>(id::kCom1)->isChecked());
    EXPECT_EQ(value("COMMNO"), "7");
    control<QRadioButton>(id::kCom1)->click();
    EXPECT_EQ(value("COMMNO"), "1");
}

TEST_F(MainDialogTest, BeepClickWritesTheFlippedFlag) {
    put("[Generic]\nBEEP=2\n");
    open();
    EXPECT_TRUE(control<QCheckBox>(id::kBeep)->isChecked());
    control<QCheckBox>(id::kBeep)->click();
    EXPECT_FALSE(control<QCheckBox>(id::kBeep)->isChecked());
    EXPECT_EQ(value("BEEP"), "0");
}

TEST_F(MainDialogTest, FileTypeChoiceWritesFiletype) {
    shown();
    auto* combo = control<QComboBox>(id::kFileType);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(combo->currentIndex(), 4);
    EXPECT_EQ(value("FILETYPE"), "4");
}

TEST_F(MainDialogTest, FileTypeOutsideTheItemsLeavesNoSelection) {
    put("[Generic]\nFILETYPE=9\n");
    open();
    EXPECT_EQ(control<QComboBox>(id::kFileType)->currentIndex(), -1);
    EXPECT_EQ(value("FILETYPE"), "9");
}

TEST_F(MainDialogTest, EscapeAndEnterDoNotCloseTheWindow) {
    shown();
    int starts = 0;
    dialog->setButtonHandler(id::kStartDev, [&] { ++starts; });
    addRows(2);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    auto* edit = control<QLineEdit>(id::kCommentEdit);
    edit->setFocus();
    QTest::keyClicks(edit, "patch");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(starts, 0);  // Enter in the edit presses no button either
    EXPECT_EQ(table().rowCount(), 2);
}

TEST_F(MainDialogTest, EnterOnAFocusedButtonPressesIt) {
    shown();
    int starts = 0;
    dialog->setButtonHandler(id::kStartDev, [&] { ++starts; });
    control(id::kStartDev)->setFocus();
    QTest::keyClick(control(id::kStartDev), Qt::Key_Return);
    EXPECT_EQ(starts, 1);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(MainDialogTest, CloseBoxEndsTheModalRun) {
    open();
    QTimer::singleShot(0, dialog.get(), [this] { dialog->close(); });
    dialog->exec();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(dialog->welcomeWindow()->isVisible());
}

TEST_F(MainDialogTest, HookedButtonsRunTheirHandlersOnly) {
    open();
    dialog->state().acquisitionStarted();
    for (int id : {id::kSave, id::kPrint, id::kExcel})
        control<QPushButton>(id)->click();  // nothing plugged in yet: nothing happens
    std::vector<int> pressed;
    for (int id : {id::kStartDev, id::kSave, id::kPrint, id::kExcel})
        dialog->setButtonHandler(id, [&pressed, id] { pressed.push_back(id); });
    for (int id : {id::kExcel, id::kStartDev, id::kPrint, id::kSave})
        control<QPushButton>(id)->click();
    EXPECT_EQ(pressed, (std::vector<int>{id::kExcel, id::kStartDev, id::kPrint, id::kSave}));
}

TEST_F(MainDialogTest, F1OpensTheAboutBoxWithNameAndVersion) {
    shown();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QString version;
    onNextModal([&](QWidget* modal) {
        if (auto* about = qobject_cast<AboutDialog*>(modal))
            version = about->findChild<QLabel*>("aboutVersion")->text();
    });
    QTest::keyClick(dialog.get(), Qt::Key_F1);
    EXPECT_EQ(version, "tarvo Version 1.22");
}

TEST_F(MainDialogTest, ContextMenuOffersTheAboutEntry) {
    shown();
    QStringList entries;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                entries << action->text();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            dialog->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(dialog.get(), &event);
    EXPECT_EQ(entries, (QStringList{"&About tarvo...", "&Ports...", "&Copy Rows", "&Strip...",
                                    "Export CGATS...", "", "Reference...", "No reference"}));
}

TEST_F(MainDialogTest, WindowMenuCommands16To31OpenAbout) {
    open();
    int opened = 0;
    for (int command : {16, 31, 32, 0xF060}) {
        onNextModal([&](QWidget* modal) { opened += qobject_cast<AboutDialog*>(modal) ? 1 : 0; });
        dialog->systemCommand(command);
        QApplication::processEvents();  // lets a timer that found no modal box expire
    }
    EXPECT_EQ(opened, 2);
}

TEST_F(MainDialogTest, ListShowsTheTableHeadingsWidthsAndRows) {
    open();
    auto* model = dialog->tableView()->model();
    ASSERT_EQ(model->columnCount(), 10);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "3:   Cyan");
    EXPECT_EQ(model->headerData(9, Qt::Horizontal).toString(), " Comment");
    const int w = dialog->tableView()->clientWidth() / 9;
    EXPECT_EQ(dialog->tableView()->horizontalHeader()->sectionSize(0), w - 25);
    EXPECT_EQ(dialog->tableView()->horizontalHeader()->sectionSize(7), w - 20);
    addRows(2);
    table().setCell(0, 1, "  17");
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), "2");
    EXPECT_EQ(model->data(model->index(0, 1)).toString(), "  17");
    EXPECT_EQ(model->data(model->index(1, 0)).toString(), "1");
}

TEST_F(MainDialogTest, DensityReadingRebuildsTheListWithSixColumns) {
    open();
    addRows(3);
    table().switchMode(ReadingKind::Density, dialog->state().tableClientWidth());
    auto* model = dialog->tableView()->model();
    EXPECT_EQ(model->columnCount(), 6);
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "Density");
    const int w = dialog->state().tableClientWidth() / 6;
    EXPECT_EQ(dialog->tableView()->horizontalHeader()->sectionSize(4), w - 10);
}

TEST_F(MainDialogTest, ModeSwitchMeasuresTheListAnewWithoutItsScrollBar) {
    shown();
    ReadingTableView* view = dialog->tableView();
    const int before = dialog->state().tableClientWidth();
    view->resize(view->width() - 60, view->height());
    addRows(200);
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->verticalScrollBar()->isVisible(); }, 10000));
    const int measured = dialog->state().tableClientWidth();
    EXPECT_EQ(measured, view->viewport()->width());
    EXPECT_LT(measured, before - 60);
    table().switchMode(ReadingKind::Density, measured);
    EXPECT_EQ(view->horizontalHeader()->sectionSize(2), measured / 6);
}

TEST_F(MainDialogTest, RowsSelectedInTheListAreTheTablesSelection) {
    shown();
    addRows(5);
    auto* model = dialog->tableView()->model();
    for (int row : {1, 3})
        viewSelection()->select(model->index(row, 0),
                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(table().firstSelected(), 1);
    EXPECT_TRUE(table().isSelected(3));
    EXPECT_FALSE(table().isSelected(2));
}

TEST_F(MainDialogTest, DeleteRemovesTheFirstSelectedRowAndKeepsTheOtherSelected) {
    shown();
    dialog->state().acquisitionStarted();
    addRows(5);
    auto* model = dialog->tableView()->model();
    for (int row : {1, 3})
        viewSelection()->select(model->index(row, 0),
                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    control<QPushButton>(id::kDelete)->click();
    ASSERT_EQ(model->rowCount(), 4);
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), "4");
    EXPECT_EQ(model->data(model->index(3, 0)).toString(), "1");
    EXPECT_TRUE(table().isSelected(2));
    EXPECT_TRUE(viewSelection()->isRowSelected(2, {}));
    EXPECT_EQ(viewSelection()->selectedRows().size(), 1);
}

TEST_F(MainDialogTest, ReplacedRowLosesItsSelectionInTheList) {
    shown();
    dialog->state().acquisitionStarted();
    addRows(3);
    viewSelection()->select(dialog->tableView()->model()->index(1, 0),
                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    control<QPushButton>(id::kChange)->click();
    EXPECT_EQ(table().replaceRow(), 1);
    EXPECT_FALSE(viewSelection()->isRowSelected(1, {}));
}

TEST_F(MainDialogTest, NewRowOnTopKeepsTheSelectionOnTheSameReading) {
    shown();
    addRows(3);
    viewSelection()->select(dialog->tableView()->model()->index(1, 0),
                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    table().addRow();
    EXPECT_TRUE(viewSelection()->isRowSelected(2, {}));
    EXPECT_FALSE(viewSelection()->isRowSelected(1, {}));
    EXPECT_EQ(table().firstSelected(), 2);
}

TEST_F(MainDialogTest, ClearKeepsTheColumnWidthsTheOperatorDragged) {
    shown();
    dialog->state().acquisitionStarted();
    addRows(3);
    dialog->tableView()->horizontalHeader()->resizeSection(3, 50);
    control<QPushButton>(id::kClear)->click();
    EXPECT_EQ(dialog->tableView()->model()->rowCount(), 0);
    EXPECT_EQ(dialog->tableView()->horizontalHeader()->sectionSize(3), 50);
}

TEST_F(MainDialogTest, CommentButtonWritesTheEditIntoTheNewestRowAndEmptiesIt) {
    shown();
    addRows(2);
    auto* edit = control<QLineEdit>(id::kCommentEdit);
    QTest::keyClicks(edit, "Kunde Meier");
    control<QPushButton>(id::kComment)->click();
    EXPECT_EQ(table().cell(0, 9), "Kunde Meier");
    EXPECT_EQ(dialog->tableView()->model()->index(0, 9).data().toString(), "Kunde Meier");
    EXPECT_TRUE(edit->text().isEmpty());
}

TEST_F(MainDialogTest, CommentKeepsTheEuroAsByte0x80AndRefusesWhatCp1252CannotHold) {
    shown();
    addRows(1);
    auto* edit = control<QLineEdit>(id::kCommentEdit);
    test::typeText(edit, QString::fromUtf8("5 \u20AC M\u00FCller"));
    test::typeText(edit, QString::fromUtf8("\u0416"));
    EXPECT_EQ(edit->text(), QString::fromUtf8("5 \u20AC M\u00FCller")) << "refused as typed";
    control<QPushButton>(id::kComment)->click();
    EXPECT_EQ(table().cell(0, 9), "5 \x80 M\xFCller");
    EXPECT_EQ(dialog->tableView()->model()->index(0, 9).data().toString(),
              QString::fromUtf8("5 \u20AC M\u00FCller"));
}

TEST_F(MainDialogTest, StartAndStopSwitchButtonsAndTheWelcomeWindow) {
    shown();
    EXPECT_TRUE(dialog->welcomeWindow()->isVisible());
    dialog->state().acquisitionStarted();
    EXPECT_EQ(control<QPushButton>(id::kStartDev)->text(), "Stop Dev.");
    EXPECT_TRUE(control(id::kSave)->isEnabled());
    EXPECT_FALSE(control(id::kCom2)->isEnabled());
    EXPECT_FALSE(control(id::kInstantSave)->isVisible());
    EXPECT_FALSE(dialog->welcomeWindow()->isVisible());
    dialog->state().acquisitionStopped();
    EXPECT_EQ(control<QPushButton>(id::kStartDev)->text(), "Start Dev.");
    EXPECT_FALSE(control(id::kSave)->isEnabled());
    EXPECT_TRUE(dialog->welcomeWindow()->isVisible());
}

TEST_F(MainDialogTest, WelcomeWindowIsOwnedByTheMainWindowWithoutATaskBarEntry) {
    shown();
    WelcomeWindow* welcome = dialog->welcomeWindow();
    ASSERT_TRUE(QTest::qWaitFor([welcome] { return welcome->isVisible(); }, 10000));
    ASSERT_NE(welcome->windowHandle(), nullptr);
    EXPECT_EQ(welcome->windowHandle()->transientParent(), dialog->windowHandle());
    EXPECT_EQ(welcome->windowType(), Qt::Tool);
    EXPECT_FALSE(welcome->windowFlags() & Qt::WindowMinMaxButtonsHint);
}

TEST_F(MainDialogTest, WelcomePictureComesFromTheProgramFolder) {
    test::writeFile(welcomeBitmapPath(dir.path()), test::bmpFile(8, 8));
    shown();
    EXPECT_TRUE(dialog->welcomeWindow()->hasPicture());
    EXPECT_TRUE(dialog->welcomeWindow()->isVisible());
}

TEST_F(MainDialogTest, MissingWelcomePictureShowsABlankWelcomeAndNoMessage) {
    shown();
    EXPECT_FALSE(dialog->welcomeWindow()->hasPicture());
    EXPECT_TRUE(dialog->welcomeWindow()->isVisible());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainDialogTest, ScreenshotShowsTheWelcomePictureOverTheMainWindow) {
    test::writeFile(welcomeBitmapPath(dir.path()), test::bmpFile(8, 8, {255, 0, 0}));
    open();
    const QImage picture = pictureOf(*dialog);
    ASSERT_FALSE(picture.isNull());
    const QRect area = dialog->geometry().united(dialog->welcomeWindow()->geometry());
    EXPECT_EQ(picture.size(), area.size());
    const QPoint welcomeCentre = dialog->welcomeWindow()->geometry().center() - area.topLeft();
    EXPECT_EQ(picture.pixelColor(welcomeCentre), QColor(255, 0, 0));
    const QRect start = control(id::kStartDev)->geometry();
    const QPoint inMain = dialog->geometry().topLeft() - area.topLeft();
    EXPECT_NE(picture.pixelColor(inMain + start.center()), QColor(255, 0, 0));
}

TEST_F(MainDialogTest, CtrlCOnTheListCopiesWholeRowsWithHeadingsNotOneCell) {
    shown();
    addRows(2);
    table().setCell(0, 2, "1.50");
    dialog->tableView()->setFocus();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(dialog->tableView(), Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("1: No.\tNo. Dens\t3:   Cyan\t")) << copied.toStdString();
    EXPECT_EQ(copied.count('\n'), 3);
    EXPECT_TRUE(copied.contains("2\t\t1.50\t"));
}

TEST_F(MainDialogTest, CtrlEOnTheListExportsCgats) {
    shown();
    int exports = 0;
    dialog->setExportCgatsHandler([&] { ++exports; });
    dialog->tableView()->setFocus();
    QTest::keyClick(dialog->tableView(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(exports, 1);
}

TEST_F(MainDialogTest, CopyRowsWorksWhileAcquiringAndTakesOnlySelectedRows) {
    shown();
    addRows(3);
    dialog->state().acquisitionStarted();
    table().setSelected(1, true);
    ASSERT_TRUE(dialog->copyRowsAction()->isEnabled());
    dialog->copyRowsAction()->trigger();
    const QStringList lines = QGuiApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].startsWith("2\t"));
}

TEST_F(MainDialogTest, PortsEntryIsRefusedWhileAcquisitionRuns) {
    shown();
    int opened = 0;
    dialog->setPortsHandler([&] { ++opened; });
    dialog->state().acquisitionStarted();
    EXPECT_FALSE(dialog->portsAction()->isEnabled());
    QTest::keyClick(dialog.get(), Qt::Key_F2);
    dialog->portsAction()->trigger();
    EXPECT_EQ(opened, 0);
    dialog->state().acquisitionStopped();
    EXPECT_TRUE(dialog->portsAction()->isEnabled());
    QTest::keyClick(dialog.get(), Qt::Key_F2);
    EXPECT_EQ(opened, 1);
}

}  // namespace
}  // namespace tarvo
