#include "gui-qt/StripWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QValueAxis>
#include <memory>

#include "AcquisitionFakes.h"
#include "AnsweringFileChooser.h"
#include "RecordingMessageBoxes.h"
#include "TempDir.h"
#include "gui-qt/MainDialog.h"
#include "gui-qt/ReadingTableView.h"

namespace tarvo {
namespace {

constexpr int kDst34 = 0;
constexpr int kDst21 = 1;

void addReading(ReadingTable& table, const char* cyan) {
    table.addRow();
    table.setCell(0, 2, cyan);
    for (int column = 3; column <= 5; ++column)
        table.setCell(0, column, "0.10");
}

class StripFromMainWindow : public ::testing::Test {
  protected:
    MainDialog& shown() {
        dialog = std::make_unique<MainDialog>(MainDialogServices{ini, clock, messages, dir.path()});
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return *dialog;
    }
    ReadingTable& table() { return dialog->state().table(); }

    test::TempDir dir;
    IniFile ini{dir / "config" / "Tarvo.ini"};
    test::ManualClock clock;
    test::RecordingMessageBoxes messages;
    std::unique_ptr<MainDialog> dialog;
};

TEST_F(StripFromMainWindow, F3OpensItAndItsTextFollowsEachReadingAndTheFileType) {
    shown().state().fileTypeChosen(kDst21);
    QTest::keyClick(dialog.get(), Qt::Key_F3);
    StripWindow* strip = dialog->stripWindow();
    ASSERT_NE(strip, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(strip));
    EXPECT_EQ(strip->windowTitle(), "Strip");
    EXPECT_EQ(strip->text(), "Cyan 1 of 21");

    addReading(table(), "1.23");
    QTRY_COMPARE(strip->text(), QString("Cyan 2 of 21"));
    ASSERT_EQ(strip->series(CurveInk::Cyan)->count(), 1);
    EXPECT_EQ(strip->series(CurveInk::Cyan)->at(0), QPointF(1, 1.23));
    EXPECT_EQ(strip->patchAxis()->max(), 21);

    dialog->state().fileTypeChosen(kDst34);
    QTRY_COMPARE(strip->text(), QString("Cyan 2 of 34"));
    EXPECT_EQ(strip->patchAxis()->max(), 34);

    table().switchMode(ReadingKind::Density, 600);
    QTRY_COMPARE(strip->text(), QString("Density readings: no strip"));
    EXPECT_FALSE(strip->series(CurveInk::Cyan)->isVisible());
    EXPECT_TRUE(strip->series(CurveInk::Density)->isVisible());
}

TEST_F(StripFromMainWindow, OpeningAgainBringsBackTheOneWindowWithReadingsTakenWhileClosed) {
    shown().state().fileTypeChosen(kDst21);
    dialog->stripAction()->trigger();
    StripWindow* strip = dialog->stripWindow();
    ASSERT_NE(strip, nullptr);
    strip->close();
    for (int i = 0; i < 22; ++i)
        addReading(table(), "0.50");
    dialog->stripAction()->trigger();
    EXPECT_EQ(dialog->stripWindow(), strip);
    EXPECT_TRUE(strip->isVisible());
    EXPECT_EQ(strip->text(), "Magenta 2 of 21");

    // The window goes with the main window, before the table it follows.
    dialog.reset();
}

TEST_F(StripFromMainWindow, ChosenCheckBringsItsRowIntoTheTablesView) {
    shown().state().fileTypeChosen(kDst34);
    addReading(table(), "0.20");
    addReading(table(), "0.20");  // the oldest patch measured twice, at the bottom
    for (int i = 1; i <= 40; ++i)
        addReading(table(), QByteArray::number(0.20 + 0.05 * i, 'f', 2).constData());
    QTest::keyClick(dialog.get(), Qt::Key_F3);
    StripWindow* strip = dialog->stripWindow();
    ASSERT_NE(strip, nullptr);
    QTRY_COMPARE(strip->checksList()->count(), 1);
    ReadingTableView* view = dialog->tableView();
    QTRY_VERIFY(view->verticalScrollBar()->maximum() > 0);  // the list laid out its rows
    strip->checksList()->setCurrentRow(0);
    EXPECT_EQ(table().firstSelected(), 40);
    const QModelIndex chosen = view->model()->index(40, 0);
    EXPECT_TRUE(view->viewport()->rect().intersects(view->visualRect(chosen)));
}

class StripWindowPicture : public ::testing::Test {
  protected:
    test::TempDir dir;
    ReadingTable table;
    test::RecordingMessageBoxes messages;
    test::AnsweringFileChooser chooser;
};

TEST_F(StripWindowPicture, SavePictureWritesThePngTheOperatorNamed) {
    StripWindow strip(table, kDst21, messages, &chooser);
    addReading(table, "1.00");
    strip.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip));
    const std::string path = (dir / "strip.png").string();
    chooser.answerNext(path);
    strip.savePictureButton()->click();
    QImage picture;
    ASSERT_TRUE(picture.load(QString::fromStdString(path), "PNG"));
    EXPECT_GE(picture.width(), 640);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StripWindowPicture, ChosenCheckSelectsItsRowAndChangeOrDeleteClearsItsCheck) {
    StripWindow strip(table, kDst21, messages, &chooser);
    for (const char* cyan : {"0.20", "0.30", "0.30", "0.50"})
        addReading(table, cyan);
    strip.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip));
    EXPECT_EQ(strip.checksHeadline()->text(), "1 check");
    QListWidget* list = strip.checksList();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "Check Cyan 3: same as Cyan 2");
    EXPECT_TRUE(list->isVisible());

    list->setCurrentRow(0);
    EXPECT_EQ(table.firstSelected(), 1);
    // A new slip is added below, named once the patch after it is in; the
    // chosen check stays chosen.
    addReading(table, "0.50");
    addReading(table, "0.70");
    QTRY_COMPARE(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "Check Cyan 5: same as Cyan 4");
    EXPECT_EQ(list->currentRow(), 0);

    table.change();
    table.setCell(table.replaceRow(), 2, "0.40");
    QTRY_COMPARE(strip.checksHeadline()->text(), QString("1 check"));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "Check Cyan 5: same as Cyan 4");
    table.setSelected(1, true);
    table.deleteSelected();
    QTRY_COMPARE(strip.checksHeadline()->text(), QString("No checks"));
    EXPECT_FALSE(list->isVisible());
}

}  // namespace
}  // namespace tarvo
