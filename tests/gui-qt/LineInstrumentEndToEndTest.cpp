// The operator's road with an instrument that sends its readings as lines of
// text: the real main window (offscreen) wired as the program wires it, the
// socket notifier and gap timer on the event loop, and the simulator playing
// an X-Rite on a pty behind COM1.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>
#include <QTimer>
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

constexpr int kDeadlineMs = 20000;

class LineInstrumentEndToEnd : public ::testing::Test {
  protected:
    void startSimulator(const std::vector<std::string>& arguments, const char* instrument) {
        simulator = std::make_unique<test::SimulatorProcess>(arguments, dir / "sim.log");
        ASSERT_FALSE(simulator->devicePath().empty()) << "the simulator did not start";
        ini.write("Ports", "COM1", simulator->devicePath());
        ini.write("Instruments", "COM1", instrument);
        window = std::make_unique<MainDialog>(MainDialogServices{ini, clock, boxes, dir.path()});
        MainWiringParts parts =
            platformParts(*window, std::make_unique<DeviceLink>(posixPortOpener({}), nullptr),
                          [] { return AutomationObject(); }, {});
        parts.beeper = std::move(beeperPart);
        wiring = std::make_unique<MainWiring>(*window, std::move(parts));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void startAcquisition() {
        QTest::mouseClick(window->button(id::kStartDev), Qt::LeftButton);
        ASSERT_FALSE(window->state().stopped()) << "boxes: " << boxes.texts().size();
    }

    bool waitForRows(int rows) {
        return QTest::qWaitFor([&] { return table().rowCount() >= rows; }, kDeadlineMs);
    }

    Strings row(int index) { return test::rowCells(table(), index); }

    ReadingTable& table() { return window->state().table(); }

    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    test::ManualClock clock;
    test::RecordingMessageBoxes boxes;
    std::unique_ptr<test::RecordingBeeper> beeperPart = std::make_unique<test::RecordingBeeper>();
    test::RecordingBeeper& beeper = *beeperPart;
    std::unique_ptr<test::SimulatorProcess> simulator;
    std::unique_ptr<MainDialog> window;
    std::unique_ptr<MainWiring> wiring;
};

TEST_F(LineInstrumentEndToEnd, X400LinesBecomeRowsNumberedByTarvoWithoutAPoll) {
    startSimulator({"--instrument", "xrite-400", "--baud", "9600",
                    "colour=11,1500,200,300,1000,455", "colour=12,1000,900,950,800,1000"},
                   "xrite-400,9600");
    startAcquisition();
    ASSERT_TRUE(waitForRows(2)) << "rows: " << table().rowCount();
    EXPECT_EQ(row(0),
              (Strings{"2", "  2", "1.00", "0.90", "0.95", "0.80", "0.00", "K", "14: 5: 9", ""}));
    EXPECT_EQ(row(1),
              (Strings{"1", "  1", "1.50", "0.20", "0.30", "1.00", "0.00", "C", "14: 5: 9", ""}));
    EXPECT_TRUE(simulator->commands().empty()) << "nothing is asked of the instrument";
    EXPECT_TRUE(wiring->inputWatch().isWatching());
    EXPECT_TRUE(boxes.texts().empty());
}

// Fields separated and the line ended by CRs leave only the quiet after the
// last byte to end a reading; header and noise lines, the top bit set by odd
// parity and values without a point must not change a cell.
TEST_F(LineInstrumentEndToEnd, X500WithEveryOptionGivesTheSameRowsThroughTheGap) {
    startSimulator(
        {"--instrument", "xrite-500", "--cr-separator", "--cr-end", "--no-point", "--header",
         "--noise", "--parity", "odd", "colour=1,1500,200,300,1000,0", "density=2,1455,0"},
        "xrite-500");
    startAcquisition();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return table().mode() == ReadingKind::Density; }, kDeadlineMs));
    EXPECT_EQ(row(0), (Strings{"1", "  2", "1.460", "0.000", "14: 5: 9", ""}));
    EXPECT_TRUE(simulator->waitForEvent("reading density 2,1460,0", std::chrono::seconds(1)));
}

TEST_F(LineInstrumentEndToEnd, UnpluggedInstrumentStopsWithTwoBeepsAndKeepsEveryRow) {
    startSimulator({"--instrument", "xrite-400", "--baud", "9600", "density=1,500,0",
                    "density=2,600,0", "hangup-after=2"},
                   "xrite-400,9600");
    window->state().settings().beep = 0;
    startAcquisition();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->state().stopped(); }, kDeadlineMs));
    EXPECT_EQ(beeper.events, (Strings{"beep 1000/50", "pause 50", "beep 1000/50"}));
    ASSERT_EQ(table().rowCount(), 2);
    EXPECT_EQ(row(0)[1], "  2");
    EXPECT_FALSE(wiring->inputWatch().isWatching());
    EXPECT_TRUE(window->state().welcomeShown());
}

TEST_F(LineInstrumentEndToEnd, UnknownInstrumentIsNamedAndNothingStarts) {
    startSimulator({"--instrument", "xrite-400"}, "xrite-9000");
    QTest::mouseClick(window->button(id::kStartDev), Qt::LeftButton);
    EXPECT_TRUE(window->state().stopped());
    EXPECT_EQ(boxes.texts(), Strings{"Unknown instrument \"xrite-9000\" for COM1 in Tarvo.ini."});
    EXPECT_EQ(boxes.shown.at(0).caption, "tarvo");
    EXPECT_FALSE(simulator->waitForEvent("client", std::chrono::milliseconds(200)));
}

// 100 lines a second for a minute, compressed: the same 6000 lines as fast as
// a 460800-baud line carries them (about 2,700 a second), each after a line
// of noise. Every reading must become a row, in order, and the window must
// keep taking its other events meanwhile.
TEST_F(LineInstrumentEndToEnd, AFloodOfLinesLosesNoneAndHoldsNothingUp) {
    constexpr int kLines = 6000;
    startSimulator({"--instrument", "xrite-400", "--baud", "460800", "--noise", "density-every=1",
                    "burst=" + std::to_string(kLines)},
                   "xrite-400");
    window->state().settings().beep = 0;
    int ticksDuringFlood = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const int rows = table().rowCount();
        ticksDuringFlood += rows > 0 && rows < kLines ? 1 : 0;
    });
    ticker.start(5);
    startAcquisition();
    ASSERT_TRUE(QTest::qWaitFor([&] { return table().rowCount() >= kLines; }, 120000))
        << "rows: " << table().rowCount();
    ASSERT_TRUE(simulator->waitForEvent("reading density 6000,", std::chrono::seconds(5)));
    EXPECT_EQ(table().rowCount(), kLines);
    for (int index = 0; index < kLines; ++index) {
        ASSERT_EQ(std::string(table().cell(index, 1)), "  " + std::to_string(kLines - index))
            << index;
    }
    EXPECT_GT(ticksDuringFlood, 0) << "the window took no other event during the flood";
    EXPECT_FALSE(window->state().stopped());
}

}  // namespace
}  // namespace tarvo
