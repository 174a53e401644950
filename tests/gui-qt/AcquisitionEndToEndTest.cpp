#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <memory>
#include <string>
#include <vector>

#include "AcquisitionFakes.h"
#include "RecordingMessageBoxes.h"
#include "SimulatorProcess.h"
#include "TableRows.h"
#include "TempDir.h"
#include "device/posix/PosixDeviceLink.h"
#include "gui-qt/MainDialog.h"
#include "gui-qt/MainWiring.h"
#include "gui-qt/PlatformParts.h"
#include "gui-qt/ReadingTableView.h"
#include "res/ControlIds.h"

namespace tarvo {
namespace {

using Strings = std::vector<std::string>;

constexpr int kDeadlineMs = 10000;

// Keeps the C library's numeric locale as it was before the test, whatever the
// test sets.
class NumericLocale {
  public:
    NumericLocale() : saved_(std::setlocale(LC_NUMERIC, nullptr)) {}
    ~NumericLocale() { std::setlocale(LC_NUMERIC, saved_.c_str()); }

  private:
    std::string saved_;
};

// The operator's road with a device: the real main window (offscreen) wired as
// the program wires it, the poll timer on the event loop, and the densitometer
// simulator on a pty as COM1. Only the beeper records instead of sounding, and
// the clock is fixed so that every row's time is known.
class AcquisitionEndToEnd : public ::testing::Test {
  protected:
    void startSimulator(const std::vector<std::string>& script) {
        simulator = std::make_unique<test::SimulatorProcess>(script, dir / "sim.log");
        ASSERT_FALSE(simulator->devicePath().empty()) << "the simulator did not start";
        devicePart = std::make_unique<DeviceLink>(
            posixPortOpener({simulator->devicePath(), "/nonexistent/ttyS1", "", ""}), nullptr);
        device = devicePart.get();
    }

    void openMainWindow() {
        window = std::make_unique<MainDialog>(MainDialogServices{ini, clock, boxes, dir.path()});
        MainWiringParts parts =
            platformParts(*window, std::move(devicePart), [] { return AutomationObject(); }, {});
        parts.beeper = std::move(beeperPart);
        wiring = std::make_unique<MainWiring>(*window, std::move(parts));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void clickStartStop() {
        QAbstractButton* button = window->button(id::kStartDev);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void startAcquisition() {
        clickStartStop();
        ASSERT_FALSE(window->state().stopped()) << "boxes shown: " << boxes.texts().size();
    }

    bool waitForRows(int rows) {
        return QTest::qWaitFor([&] { return table().rowCount() >= rows; }, kDeadlineMs);
    }

    Strings row(int index) { return test::rowCells(table(), index); }

    int rowsShownByTheView() const { return window->tableView()->model()->rowCount(); }

    std::vector<double> pollTimes() const {
        std::vector<double> times;
        for (const auto& event : simulator->events()) {
            if (event.what == "cmd XK")
                times.push_back(event.seconds);
        }
        return times;
    }

    ReadingTable& table() { return window->state().table(); }

    NumericLocale locale;
    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    test::ManualClock clock;
    test::RecordingMessageBoxes boxes;
    std::unique_ptr<test::RecordingBeeper> beeperPart = std::make_unique<test::RecordingBeeper>();
    test::RecordingBeeper& beeper = *beeperPart;
    std::unique_ptr<test::SimulatorProcess> simulator;
    std::unique_ptr<DeviceLink> devicePart;
    DeviceLink* device = nullptr;  // owned by the wiring once the window is open
    std::unique_ptr<MainDialog> window;
    std::unique_ptr<MainWiring> wiring;
};

// Qt hands the desktop's locale to the C library at start-up; a German desktop
// must still see decimal points, as the files written from these cells do.
TEST_F(AcquisitionEndToEnd, ThreeColourReadingsBecomeRowsThreeTwoOneWithDecimalPoints) {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        GTEST_LOG_(WARNING) << "de_DE.UTF-8 is not installed; decimal commas go unchecked";
    startSimulator({"colour=11,1500,200,300,1000,455", "colour=12,1000,900,950,800,1000",
                    "colour=13,1235,-105,4,1239,52"});
    openMainWindow();
    auto* comment = qobject_cast<QLineEdit*>(window->control(id::kCommentEdit));
    ASSERT_NE(comment, nullptr);
    QTest::keyClicks(comment, "patch A");

    startAcquisition();
    ASSERT_TRUE(waitForRows(3)) << "rows: " << table().rowCount();

    EXPECT_EQ(row(0), (Strings{"3", "  13", "1.23", "-0.10", "-0.00", "1.23", "5.20", "K",
                               "14: 5: 9", ""}));
    EXPECT_EQ(row(1), (Strings{"2", "  12", "1.00", "0.90", "0.95", "0.80", "100.00", "K",
                               "14: 5: 9", ""}));
    EXPECT_EQ(row(2), (Strings{"1", "  11", "1.50", "0.20", "0.30", "1.00", "45.50", "C",
                               "14: 5: 9", "patch A"}));
    EXPECT_EQ(comment->text(), "") << "a comment that was taken must leave the edit";
    EXPECT_EQ(rowsShownByTheView(), 3);
    EXPECT_EQ(window->control(id::kDateText)->property("text").toString(), "6.12.2026");
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_FALSE(window->state().stopped()) << "polling must go on after the readings";
}

TEST_F(AcquisitionEndToEnd, DensityReadingRebuildsTheTableWithSixColumnsAsRowOne) {
    startSimulator({"colour=11,1500,200,300,1000,455", "density=21,1235,125"});
    openMainWindow();
    startAcquisition();

    ASSERT_TRUE(
        QTest::qWaitFor([&] { return table().mode() == ReadingKind::Density; }, kDeadlineMs));
    EXPECT_EQ(table().columnCount(), 6);
    ASSERT_EQ(table().rowCount(), 1) << "the colour row must go with the colour layout";
    EXPECT_EQ(row(0), (Strings{"1", "  21", "1.235", "12.500", "14: 5: 9", ""}));
    EXPECT_EQ(rowsShownByTheView(), 1);
    EXPECT_EQ(window->tableView()->model()->columnCount(), 6);
    Strings commands = simulator->commands();
    commands.resize(std::min<std::size_t>(commands.size(), 5));
    EXPECT_EQ(commands, (Strings{"XR", "XK", "XD", "XK", "XD"}))
        << "each reading is one poll and one fetch, right after the identify";
}

TEST_F(AcquisitionEndToEnd, UnpluggedDeviceStopsWithTwoBeepsAndKeepsEveryRow) {
    startSimulator(
        {"colour=11,1500,200,300,1000,455", "colour=12,1000,900,950,800,1000", "hangup-after=4"});
    openMainWindow();
    startAcquisition();
    ASSERT_TRUE(waitForRows(2));
    const Strings readingBeeps(2, "beep 1000/50");
    EXPECT_EQ(beeper.events, readingBeeps) << "one beep for each reading";

    ASSERT_TRUE(QTest::qWaitFor([&] { return window->state().stopped(); }, kDeadlineMs))
        << "acquisition goes on after the hang-up";
    EXPECT_TRUE(simulator->waitForEvent("hangup", std::chrono::milliseconds(100)));

    Strings expected = readingBeeps;
    expected.insert(expected.end(), {"beep 1000/50", "pause 50", "beep 1000/50"});
    EXPECT_EQ(beeper.events, expected);
    EXPECT_TRUE(boxes.texts().empty()) << "a lost device is told by beeps, not by a box";
    ASSERT_EQ(table().rowCount(), 2);
    EXPECT_EQ(row(0)[1], "  12");
    EXPECT_EQ(row(1)[1], "  11");
    EXPECT_EQ(rowsShownByTheView(), 2);
    EXPECT_EQ(window->button(id::kStartDev)->text(), "Start Dev.");
    EXPECT_TRUE(window->state().welcomeShown());
    EXPECT_TRUE(window->button(id::kCom1)->isEnabled());
    EXPECT_FALSE(window->button(id::kSave)->isEnabled());
    EXPECT_FALSE(device->isOpen());

    EXPECT_FALSE(wiring->timer().isRunning()) << "a stopped cycle must not poll";
}

TEST_F(AcquisitionEndToEnd, DevicePolledWithXKAboutEveryQuarterSecond) {
    startSimulator({});
    openMainWindow();
    startAcquisition();
    constexpr std::size_t kPolls = 9;
    ASSERT_TRUE(QTest::qWaitFor([&] { return pollTimes().size() >= kPolls; }, kDeadlineMs));
    clickStartStop();
    ASSERT_TRUE(window->state().stopped());

    const Strings commands = simulator->commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), "XR") << "the identify comes first";
    EXPECT_TRUE(std::all_of(commands.begin() + 1, commands.end(), [](const std::string& command) {
        return command == "XK";
    })) << "a device with nothing new is only polled";

    const std::vector<double> times = pollTimes();
    std::vector<double> gaps;
    for (std::size_t i = 1; i < times.size(); ++i)
        gaps.push_back((times[i] - times[i - 1]) * 1000);
    for (double gap : gaps) {
        EXPECT_GT(gap, 150) << "polls too close together";
        EXPECT_LT(gap, 750) << "a poll came late";
    }
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    const double median = gaps[gaps.size() / 2];
    EXPECT_GT(median, 220);
    EXPECT_LT(median, 300);
}

}  // namespace
}  // namespace tarvo
