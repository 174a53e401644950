// The acquisition cycle with an instrument that sends its readings unasked:
// the real links over the scripted serial port, the input watch, the gap
// timer and the idle timer all driven by hand.
#include <gtest/gtest.h>

#include "AcquisitionFakes.h"
#include "FakeSerialPort.h"
#include "RecordingMessageBoxes.h"
#include "TableRows.h"
#include "TempDir.h"
#include "app/AcquisitionCycle.h"
#include "app/InstrumentReadingLink.h"
#include "app/MainWindowState.h"
#include "device/LineParser.h"
#include "files/IniFile.h"
#include "res/ControlIds.h"

namespace tarvo {
namespace {

using Strings = std::vector<std::string>;

class LineAcquisitionTest : public ::testing::Test {
  protected:
    LineAcquisitionTest() {
        window.initialise();
        ini.write("Instruments", "COM1", "xrite-400");
        cycle.setInputWatch(watch, gapTimer);
        cycle.setDiagnostics([this](const std::string& line) { diagnostics.push_back(line); });
    }

    void start() {
        cycle.startStopClicked();
        ASSERT_FALSE(window.stopped());
    }
    // Bytes come on the port and the watch wakes the cycle, as a real one would.
    void send(std::string_view text) {
        device.deliver(test::Bytes(text.begin(), text.end()));
        ASSERT_TRUE(watch.watching);
        cycle.inputWaiting();
    }
    Strings row(int index) const { return test::rowCells(window.table(), index); }

    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    test::ManualClock clock;
    MainWindowState window{ini, clock, 900};
    test::FakeSerialDevice device;
    DeviceLink polled{device.opener(), nullptr};
    LineLink lines{device.opener()};
    InstrumentReadingLink link{ini, polled, lines};
    test::ManualTimer timer;
    test::ManualTimer gapTimer;
    test::RecordingInputWatch watch;
    test::RecordingBeeper beeper;
    test::RecordingMessageBoxes boxes;
    AcquisitionCycle cycle{window, link, timer, beeper, boxes};
    Strings diagnostics;
};

TEST_F(LineAcquisitionTest, StartOpensThePortAndWaitsOnItWithoutPolling) {
    ini.write("Instruments", "COM1", "xrite-500,2400");
    start();
    EXPECT_EQ(device.events(), (Strings{"open COM1", "line 2400 8N1", "timeouts", "purge"}));
    EXPECT_TRUE(device.commands().empty());
    EXPECT_TRUE(watch.watching);
    EXPECT_EQ(watch.port, lines.port());
    // The timer only measures the idle stretch.
    EXPECT_EQ(timer.period, AcquisitionCycle::kIdleSpan);
    EXPECT_FALSE(gapTimer.running);
    EXPECT_STREQ(window.startButtonText(), "Stop Dev.");
}

TEST_F(LineAcquisitionTest, EachLineBecomesARowNumberedByTarvo) {
    start();
    send("V1.45 C1.38 M1.41 Y1.02 \r\n");
    send("C 0.10,M 1.20,Y 0.30,V 0.40\r\n");
    EXPECT_EQ(row(0),
              (Strings{"2", "  2", "0.10", "1.20", "0.30", "0.40", "0.00", "M", "14: 5: 9", ""}));
    EXPECT_EQ(row(1),
              (Strings{"1", "  1", "1.38", "1.41", "1.02", "1.45", "0.00", "K", "14: 5: 9", ""}));
    EXPECT_TRUE(watch.watching);
    EXPECT_FALSE(gapTimer.running);
}

TEST_F(LineAcquisitionTest, ASingleChannelLineIsADensityRow) {
    start();
    send("V1.45\r\n");
    ASSERT_EQ(window.table().mode(), ReadingKind::Density);
    EXPECT_EQ(row(0), (Strings{"1", "  1", "1.450", "0.000", "14: 5: 9", ""}));
}

TEST_F(LineAcquisitionTest, NumbersStartFromOneAtEveryStart) {
    start();
    send("V0.50\r\nV0.60\r\n");
    cycle.startStopClicked();
    start();
    send("V0.70\r\n");
    EXPECT_EQ(row(0)[1], "  1");
    EXPECT_EQ(row(0)[0], "3");
}

TEST_F(LineAcquisitionTest, EveryLineOfOneReadIsShownBeforeTheCycleWaitsAgain) {
    start();
    std::string burst;
    for (int i = 0; i < 300; ++i) {
        burst += "V0.50\r\n";
    }
    send(burst);  // more than one read takes: the watch wakes the cycle again
    while (device.pendingBytes() > 0) {
        cycle.inputWaiting();
    }
    EXPECT_EQ(window.table().rowCount(), 300);
    EXPECT_EQ(row(0)[1], "  300");
}

TEST_F(LineAcquisitionTest, AReadingWithoutLineEndWaitsForTheGap) {
    start();
    send("V1.45 C1.38 ");
    EXPECT_TRUE(gapTimer.running);
    EXPECT_EQ(gapTimer.period, LineParser::kReadingGap);
    EXPECT_EQ(gapTimer.period, std::chrono::milliseconds(150));
    send("M1.41 Y1.02 \r");
    EXPECT_EQ(gapTimer.installs, 2);  // each byte starts the gap anew
    EXPECT_EQ(window.table().rowCount(), 0);
    cycle.gapPassed();
    EXPECT_EQ(window.table().rowCount(), 1);
    EXPECT_EQ(row(0)[2], "1.38");
    EXPECT_FALSE(gapTimer.running);
}

TEST_F(LineAcquisitionTest, NothingIsReadWhileAReadingIsBeingShown) {
    window.settings().version = 'X';  // a message box with every reading
    start();
    bool watchedDuringBox = true;
    bool gapDuringBox = true;
    boxes.duringNext([&] {
        watchedDuringBox = watch.watching;
        gapDuringBox = gapTimer.running;
    });
    send("V0.50\r\nV0.6");
    EXPECT_EQ(boxes.texts(), Strings{"Wrong Version in INI-File"});
    EXPECT_FALSE(watchedDuringBox);
    EXPECT_FALSE(gapDuringBox);
    EXPECT_TRUE(watch.watching);
    EXPECT_TRUE(gapTimer.running);
}

TEST_F(LineAcquisitionTest, AFailedReadStopsWithTwoBeepsLikeALostDevice) {
    start();
    device.unplug();
    cycle.inputWaiting();
    EXPECT_TRUE(window.stopped());
    EXPECT_TRUE(window.welcomeShown());
    EXPECT_FALSE(watch.watching);
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(beeper.events, (Strings{"beep 1000/50", "pause 50", "beep 1000/50"}));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(device.portOpen());
}

TEST_F(LineAcquisitionTest, TheIdleStretchStopsWithoutAWord) {
    window.settings().beep = 0;
    start();
    send("V0.50\r\n");
    EXPECT_EQ(timer.installs, 2);  // the reading started the stretch anew
    cycle.tick();
    EXPECT_TRUE(window.stopped());
    EXPECT_TRUE(window.welcomeShown());
    EXPECT_FALSE(watch.watching);
    EXPECT_TRUE(beeper.events.empty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LineAcquisitionTest, StopDevStopsWatchingAndClosesThePort) {
    start();
    send("V0.5");
    cycle.startStopClicked();
    EXPECT_TRUE(window.stopped());
    EXPECT_FALSE(watch.watching);
    EXPECT_FALSE(gapTimer.running);
    EXPECT_FALSE(device.portOpen());
    cycle.gapPassed();  // a gap timer that fired just before it was killed
    cycle.inputWaiting();
    EXPECT_EQ(window.table().rowCount(), 0);
}

TEST_F(LineAcquisitionTest, AnUnknownInstrumentIsNamedAndNothingStarts) {
    ini.write("Instruments", "COM1", "spectro-9");
    cycle.startStopClicked();
    EXPECT_TRUE(window.stopped());
    EXPECT_EQ(boxes.texts(), Strings{"Unknown instrument \"spectro-9\" for COM1 in Tarvo.ini."});
    EXPECT_EQ(boxes.shown[0].caption, "tarvo");
    EXPECT_TRUE(device.events().empty());
    EXPECT_EQ(diagnostics,
              Strings{"COM1: [Instruments] COM1=spectro-9 names no instrument tarvo knows"});
}

TEST_F(LineAcquisitionTest, APortThatCannotOpenGivesE4) {
    device.holdPort(1);
    cycle.startStopClicked();
    EXPECT_TRUE(window.stopped());
    EXPECT_EQ(boxes.texts(), Strings{"Cannot open COM1 ! E4"});
    EXPECT_FALSE(watch.watching);
}

TEST_F(LineAcquisitionTest, LinesThatAreNoReadingAreCountedAtTheStop) {
    start();
    send("X-Rite 408\r\nV1.45 C1.38\r\nV0.50\r\n");
    cycle.startStopClicked();
    EXPECT_EQ(window.table().rowCount(), 1);
    EXPECT_EQ(diagnostics,
              Strings{"COM1: 2 lines were no reading, the last: \"V1.45 C1.38\\x0D\""});
}

TEST_F(LineAcquisitionTest, EachPortHasItsOwnInstrumentAndThePolledOneStaysTheDefault) {
    window.comClicked(id::kCom2);
    device.answer("!");
    start();
    EXPECT_EQ(device.commands(), Strings{"XR"});
    EXPECT_EQ(timer.period, AcquisitionCycle::kPollPeriod);
    EXPECT_FALSE(watch.watching);
    cycle.inputWaiting();  // a stray wake-up polls nothing
    EXPECT_EQ(device.commands(), Strings{"XR"});
}

}  // namespace
}  // namespace tarvo
