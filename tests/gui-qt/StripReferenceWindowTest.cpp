// The reference in the Linux windows: chosen and dropped from the table's
// context menu, drawn and named in the Strip window, its checks listed with
// the others, and read again when the program starts anew.
#include <gtest/gtest.h>

#include <QChart>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QListWidget>
#include <QTest>
#include <fstream>
#include <memory>

#include "AcquisitionFakes.h"
#include "AnsweringFileChooser.h"
#include "RecordingMessageBoxes.h"
#include "ReferenceSamples.h"
#include "TempDir.h"
#include "gui-qt/MainDialog.h"
#include "gui-qt/StripWindow.h"

namespace tarvo {
namespace {

using test::kDst21Type;

class StripReferenceWindow : public ::testing::Test {
  protected:
    MainDialog& started() {
        dialog = std::make_unique<MainDialog>(MainDialogServices{ini, clock, messages, dir.path()});
        // As the wiring does: "Reference..." asks through the file dialog.
        dialog->setReferenceHandler(
            [this] { dialog->state().reference().choose(chooser, messages); });
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->state().reference().load(messages);
        dialog->state().fileTypeChosen(kDst21Type);
        return *dialog;
    }

    StripWindow& strip() {
        dialog->showStrip();
        StripWindow* window = dialog->stripWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return *window;
    }

    std::string referenceFile() {
        const std::string path = (dir / "press 3.cm1").string();
        std::ofstream(path, std::ios::binary) << test::tarvoFiery(kDst21Type);
        return path;
    }

    // Today's strip so far: cyan 1 to 5, cyan 2 darker than the reference's.
    void measureFive() {
        ReadingTable& table = dialog->state().table();
        test::addStripReadings(table, 21, 1, 5);
        table.setCell(table.rowCount() - 2, 2, "0.32");
    }

    test::TempDir dir;
    IniFile ini{dir / "config" / "Tarvo.ini"};
    test::ManualClock clock;
    test::RecordingMessageBoxes messages;
    test::AnsweringFileChooser chooser;
    std::unique_ptr<MainDialog> dialog;
};

int indexOf(const QChart& chart, QLineSeries* series) {
    return static_cast<int>(chart.series().indexOf(series));
}

TEST_F(StripReferenceWindow, ChosenFromTheMenuItIsDrawnThinAndDashedBehindAndItsChecksListed) {
    started();
    measureFive();
    StripWindow& window = strip();
    EXPECT_FALSE(window.referenceLine()->isVisible());

    chooser.answerNext(referenceFile());
    dialog->referenceAction()->trigger();
    ASSERT_EQ(chooser.requests.size(), 1u);
    EXPECT_EQ(chooser.requests[0].mode, FileDialogRequest::Mode::Open);
    QTRY_COMPARE(window.referenceLine()->text(), QString("Reference: press 3.cm1"));
    EXPECT_TRUE(window.referenceLine()->isVisible());
    EXPECT_EQ(window.text(), "Cyan 6 of 21");
    EXPECT_EQ(window.checksHeadline()->text(), "1 check");
    ASSERT_EQ(window.checksList()->count(), 1);
    EXPECT_EQ(window.checksList()->item(0)->text(), "Check Cyan 2: 0.20 above reference");

    QLineSeries* reference = window.referenceSeries(CurveInk::Magenta);
    QLineSeries* live = window.series(CurveInk::Magenta);
    ASSERT_TRUE(reference->isVisible());
    EXPECT_EQ(reference->count(), 21);
    EXPECT_EQ(reference->pen().style(), Qt::DashLine);
    EXPECT_LT(reference->pen().widthF(), live->pen().widthF());
    EXPECT_EQ(reference->pen().color(), live->pen().color());
    QChart& chart = *reference->chart();
    EXPECT_LT(indexOf(chart, reference), indexOf(chart, live));  // drawn first, so behind
    for (QLegendMarker* marker : chart.legend()->markers(reference))
        EXPECT_FALSE(marker->isVisible());

    dialog->noReferenceAction()->trigger();
    QTRY_VERIFY(!window.referenceLine()->isVisible());
    EXPECT_FALSE(reference->isVisible());
    EXPECT_EQ(window.checksHeadline()->text(), "No checks");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StripReferenceWindow, KeptAcrossARestartAndAFileGoneMeanwhileIsToldOnce) {
    started();
    chooser.answerNext(referenceFile());
    dialog->referenceAction()->trigger();
    dialog.reset();

    started();
    measureFive();
    EXPECT_EQ(strip().referenceLine()->text(), "Reference: press 3.cm1");
    EXPECT_EQ(strip().checksList()->count(), 1);
    dialog.reset();

    std::filesystem::remove(dir / "press 3.cm1");
    started();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("press 3.cm1: the file cannot be read"),
              std::string::npos);
    EXPECT_FALSE(strip().referenceLine()->isVisible());
    dialog.reset();
    started();
    EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace tarvo
