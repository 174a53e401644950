#include "app/AcquisitionCycle.h"

#include <gtest/gtest.h>

#include <clocale>

#include "CycleRig.h"
#include "TableRows.h"
#include "app/ReadingCells.h"
#include "res/ControlIds.h"

namespace tarvo {
namespace {

using Strings = std::vector<std::string>;

class AcquisitionCycleTest : public ::testing::Test, protected test::CycleRig {
  protected:
    AcquisitionCycleTest() { window.initialise(); }

    void start() {
        cycle.startStopClicked();
        ASSERT_FALSE(window.stopped());
    }
    Strings row(int index) const { return test::rowCells(window.table(), index); }
    void setVersion(char letter) { window.settings().version = letter; }
};

TEST_F(AcquisitionCycleTest, StartOpensTheConfiguredPortAndPollsEveryQuarterSecond) {
    window.comClicked(id::kCom3);
    start();
    EXPECT_EQ(link.openedComNumbers, (std::vector<int>{3}));
    EXPECT_EQ(link.failureResets, 1);
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.period, std::chrono::milliseconds(250));
    EXPECT_STREQ(window.startButtonText(), "Stop Dev.");
    EXPECT_FALSE(window.welcomeShown());
    EXPECT_TRUE(window.isEnabled(id::kSave));
    EXPECT_FALSE(window.isEnabled(id::kCom1));
}

TEST_F(AcquisitionCycleTest, ThreeColourReadingsBecomeRowsThreeTwoOne) {
    start();
    link.queueReading(ReadingKind::Colour, {1, 1500, 200, 300, 1000, 455});
    link.queueNothing();
    link.queueReading(ReadingKind::Colour, {2, 1000, 900, 950, 800, 1000});
    link.queueReading(ReadingKind::Colour, {3, 1200, 1200, 100, 100, 52});
    for (int i = 0; i < 4; ++i)
        cycle.tick();
    EXPECT_EQ(row(0),
              (Strings{"3", "  3", "1.20", "1.20", "0.10", "0.10", "5.20", "C", "14: 5: 9", ""}));
    EXPECT_EQ(row(1),
              (Strings{"2", "  2", "1.00", "0.90", "0.95", "0.80", "100.00", "K", "14: 5: 9", ""}));
    EXPECT_EQ(row(2),
              (Strings{"1", "  1", "1.50", "0.20", "0.30", "1.00", "45.50", "C", "14: 5: 9", ""}));
    EXPECT_TRUE(timer.running);
}

TEST(ReadingCells, ColourValuesAreCutTowardZeroAfterTheSecondDecimal) {
    auto text = [](int raw) { return colourCells({1, raw, 0, 0, 0, 0}, 'M', "")[0].text; };
    const int raws[] = {1235, 1239, 10, 5, 4, 0, -4, -105};
    const Strings shown = {"1.23", "1.23", "0.01", "0.00", "-0.00", "0.00", "0.00", "-0.10"};
    for (std::size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(text(raws[i]), shown[i]) << raws[i];
    EXPECT_EQ(colourCells({1, 0, 0, 0, 0, 125}, 'M', "")[4].text, "12.50");
}

TEST(ReadingCells, DensityValuesKeepThreeDecimalsWithoutCorrection) {
    auto cells = densityCells({1, 1235, 125, 0, 0, 0}, "9:30:12");
    EXPECT_EQ(cells[0].text, "1.235");
    EXPECT_EQ(cells[1].text, "12.500");
    EXPECT_EQ(cells[2].column, 4);
}

TEST(ReadingCells, NumbersKeepTheirDecimalPointUnderACommaLocale) {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no de_DE locale";
    EXPECT_EQ(colourCells({1, 1235, 0, 0, 0, 125}, 'M', "")[0].text, "1.23");
    EXPECT_EQ(densityCells({1, 1235, 125, 0, 0, 0}, "")[1].text, "12.500");
    std::setlocale(LC_ALL, "C");
}

TEST(ReadingCells, ColourLetterTakesTheLargestUnlessTheColourIsNeutral) {
    EXPECT_EQ(colourLetter({1, 1500, 200, 300, 1000, 0}), "C");
    EXPECT_EQ(colourLetter({1, 1000, 900, 950, 800, 0}), "K");
    EXPECT_EQ(colourLetter({1, 0, -5, 0, -20, 0}), "");
    EXPECT_EQ(colourLetter({1, 0, 0, 0, 0, 0}), "");
    EXPECT_EQ(colourLetter({1, 1200, 1200, 100, 100, 0}), "C");
    EXPECT_EQ(colourLetter({1, 100, 100, 1200, 1200, 0}), "Y");
    EXPECT_EQ(colourLetter({1, 10, 20, 30, 900, 0}), "K");
}

TEST_F(AcquisitionCycleTest, DensityReadingSwitchesToSixColumnsAsRowOne) {
    start();
    link.queueReading(ReadingKind::Colour, {1, 1500, 200, 300, 1000, 455});
    link.queueReading(ReadingKind::Density, {7, 1235, 125, 0, 0, 0});
    cycle.tick();
    cycle.tick();
    EXPECT_EQ(window.table().mode(), ReadingKind::Density);
    EXPECT_EQ(row(0), (Strings{"1", "  7", "1.235", "12.500", "14: 5: 9", ""}));
    EXPECT_EQ(window.table().rowCount(), 1);
}

TEST_F(AcquisitionCycleTest, ColourReadingAfterADensityOneRebuildsTheColourLayout) {
    start();
    link.queueReading(ReadingKind::Density, {7, 1235, 125, 0, 0, 0});
    link.queueReading(ReadingKind::Colour, {8, 1500, 200, 300, 1000, 455});
    cycle.tick();
    cycle.tick();
    const auto& columns = window.table().columns();
    ASSERT_EQ(columns.size(), 10u);
    EXPECT_EQ(columns[2].heading, "3:  Cyan");
    Strings widths;
    for (const auto& column : columns)
        widths.push_back(std::to_string(column.width));
    const int w = 900 / 9;
    EXPECT_EQ(widths, (Strings{std::to_string(w - 25), std::to_string(w - 3), std::to_string(w + 4),
                               std::to_string(w + 4), std::to_string(w + 4), std::to_string(w + 4),
                               std::to_string(w + 4), std::to_string(w - 30), std::to_string(w - 7),
                               std::to_string(w)}));
    EXPECT_EQ(row(0)[1], "  8");
    EXPECT_EQ(window.table().rowCount(), 1);
}

TEST_F(AcquisitionCycleTest, ModeSwitchTakesTheListsWidthOfThatMoment) {
    int listWidth = 900;
    window.setTableWidthMeasure([&] { return listWidth; });
    start();
    listWidth = 600;
    link.queueReading(ReadingKind::Density, {7, 1235, 125, 0, 0, 0});
    cycle.tick();
    EXPECT_EQ(window.table().columns()[2].width, 600 / 6);
}

TEST_F(AcquisitionCycleTest, ReadingNumberZeroIsNoReading) {
    start();
    link.queueReading(ReadingKind::Colour, {0, 1500, 200, 300, 1000, 455});
    cycle.tick();
    EXPECT_EQ(window.table().rowCount(), 0);
    EXPECT_EQ(timer.kills, 0);
}

TEST_F(AcquisitionCycleTest, TimerIsKilledWhileAReadingIsWrittenAndInstalledAfter) {
    start();
    bool runningDuringPlacement = true;
    cycle.setPlacement([&](const ReadingTable&, int) { runningDuringPlacement = timer.running; });
    link.queueReading(ReadingKind::Colour, {1, 1, 1, 1, 1, 1});
    cycle.tick();
    EXPECT_FALSE(runningDuringPlacement);
    EXPECT_TRUE(timer.running);
}

TEST_F(AcquisitionCycleTest, FailedExchangeStopsWithTwoBeepsAndNoMessage) {
    start();
    link.queueReading(ReadingKind::Colour, {1, 1, 1, 1, 1, 1});
    link.queueFailure(-3);
    cycle.tick();
    cycle.tick();
    EXPECT_TRUE(window.stopped());
    EXPECT_TRUE(window.welcomeShown());
    EXPECT_FALSE(timer.running);
    EXPECT_FALSE(link.isOpen);
    EXPECT_EQ(link.failureResets, 2);
    EXPECT_EQ(beeper.events, (Strings{"beep 1000/50", "beep 1000/50", "pause 50", "beep 1000/50"}));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(window.table().rowCount(), 1);
    EXPECT_STREQ(window.startButtonText(), "Start Dev.");
    EXPECT_FALSE(window.isEnabled(id::kSave));
}

TEST_F(AcquisitionCycleTest, IdleLimitStopsOnThe4002ndTickBeforeLookingAtItsReading) {
    start();
    link.queueNothing(4001);
    link.queueReading(ReadingKind::Colour, {5, 1, 1, 1, 1, 1});
    for (int i = 0; i < 4001; ++i)
        cycle.tick();
    EXPECT_FALSE(window.stopped());
    cycle.tick();
    EXPECT_TRUE(window.stopped());
    EXPECT_TRUE(window.welcomeShown());
    EXPECT_EQ(window.table().rowCount(), 0);
    EXPECT_EQ(cycle.idleCount(), 0);
    EXPECT_TRUE(beeper.events.empty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(AcquisitionCycleTest, ReadingStartsTheIdleCountAfresh) {
    start();
    link.queueNothing(3000);
    link.queueReading(ReadingKind::Colour, {1, 1, 1, 1, 1, 1});
    link.queueNothing(3000);
    for (int i = 0; i < 6001; ++i)
        cycle.tick();
    EXPECT_FALSE(window.stopped());
    EXPECT_EQ(cycle.idleCount(), 3000);
}

TEST_F(AcquisitionCycleTest, IdleCountGoesOnAcrossAStopByTheButton) {
    start();
    link.queueNothing(10);
    for (int i = 0; i < 10; ++i)
        cycle.tick();
    cycle.startStopClicked();
    start();
    EXPECT_EQ(cycle.idleCount(), 10);
}

TEST_F(AcquisitionCycleTest, FailedOpenIsTriedTwiceThenTheLinksTextIsShown) {
    link.openResults = {-1, -1};
    link.openMessage = "Cannot open COM7 ! E4";
    std::vector<std::string> diagnostics;
    cycle.setDiagnostics([&](const std::string& line) { diagnostics.push_back(line); });
    cycle.startStopClicked();
    EXPECT_EQ(diagnostics, std::vector<std::string>{"COM1: /dev/ttyUSB0: Permission denied"});
    EXPECT_EQ(link.openedComNumbers.size(), 2u);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Cannot open COM7 ! E4");
    EXPECT_EQ(boxes.shown[0].caption, "tarvo");
    EXPECT_TRUE(window.stopped());
    EXPECT_FALSE(timer.running);
}

TEST_F(AcquisitionCycleTest, SecondOpenThatSucceedsStartsSilently) {
    link.openResults = {-1, 0};
    start();
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(AcquisitionCycleTest, TimerFailureIsReportedAndThePortReleased) {
    timer.failInstall = true;
    cycle.startStopClicked();
    EXPECT_EQ(boxes.texts(), (Strings{"Timer installation failed !"}));
    EXPECT_TRUE(window.stopped());
    EXPECT_FALSE(link.isOpen);
    EXPECT_TRUE(window.welcomeShown());
    timer.failInstall = false;
    start();
}

TEST_F(AcquisitionCycleTest, WrongVersionWarnsAtEveryReadingButShowsIt) {
    setVersion('X');
    start();
    link.queueReading(ReadingKind::Colour, {1, 1235, 0, 0, 0, 125});
    link.queueReading(ReadingKind::Density, {2, 1235, 125, 0, 0, 0});
    cycle.tick();
    cycle.tick();
    EXPECT_EQ(boxes.texts(), (Strings{"Wrong Version in INI-File", "Wrong Version in INI-File"}));
    EXPECT_EQ(row(0)[2], "1.235");
}

// Remembers what the row held while the box was open.
class RowWatchingBoxes final : public MessageBoxes {
  public:
    explicit RowWatchingBoxes(const ReadingTable& table) : table_(table) {}
    MessageAnswer show(std::string_view, std::string_view, MessageButtons, MessageIcon) override {
        valueWhileShown = std::string(table_.cell(0, 2));
        return MessageAnswer::Ok;
    }
    std::string valueWhileShown = "no box";

  private:
    const ReadingTable& table_;
};

TEST_F(AcquisitionCycleTest, WrongVersionBoxComesBeforeTheValuesAreWritten) {
    setVersion('X');
    RowWatchingBoxes watching(window.table());
    AcquisitionCycle watched{window, link, timer, beeper, watching};
    watched.startStopClicked();
    link.queueReading(ReadingKind::Colour, {1, 1235, 0, 0, 0, 125});
    watched.tick();
    EXPECT_EQ(watching.valueWhileShown, "");
    EXPECT_EQ(row(0)[2], "1.23");
}

TEST_F(AcquisitionCycleTest, VersionLShowsNoPercentAndShiftsLetterTimeComment) {
    setVersion('L');
    start();
    window.commentEdited("strip 2");
    link.queueReading(ReadingKind::Colour, {1, 1500, 200, 300, 1000, 455});
    cycle.tick();
    EXPECT_EQ(row(0), (Strings{"1", "  1", "1.50", "0.20", "0.30", "1.00", "C", "14: 5: 9",
                               "strip 2", ""}));
    EXPECT_EQ(boxes.texts(), (Strings{"Wrong Version in INI-File"}));
}

TEST_F(AcquisitionCycleTest, TypedCommentLandsInTheReadingAndEmptiesTheEdit) {
    start();
    window.commentEdited("a comment longer than nineteen");
    link.queueReading(ReadingKind::Colour, {1, 1, 1, 1, 1, 1});
    link.queueReading(ReadingKind::Colour, {2, 1, 1, 1, 1, 1});
    cycle.tick();
    EXPECT_EQ(row(0)[9], "a comment longer th");
    EXPECT_EQ(window.commentEdit(), "");
    cycle.tick();
    EXPECT_EQ(row(0)[9], "");
}

TEST_F(AcquisitionCycleTest, EmptyEditLeavesTheCommentOfAChangedRow) {
    start();
    link.queueReading(ReadingKind::Colour, {1, 1, 1, 1, 1, 1});
    link.queueReading(ReadingKind::Colour, {2, 1, 1, 1, 1, 1});
    cycle.tick();
    window.table().comment("keep");
    window.table().setSelected(0, true);
    window.table().change();
    cycle.tick();
    EXPECT_EQ(row(0)[1], "  2");
    EXPECT_EQ(row(0)[9], "keep");
    EXPECT_EQ(window.table().rowCount(), 1);
}

TEST_F(AcquisitionCycleTest, PendingChangeSurvivesStopDev) {
    start();
    link.queueReading(ReadingKind::Colour, {1, 1, 1, 1, 1, 1});
    link.queueReading(ReadingKind::Colour, {2, 1, 1, 1, 1, 1});
    link.queueReading(ReadingKind::Colour, {3, 1, 1, 1, 1, 1});
    cycle.tick();
    cycle.tick();
    window.table().setSelected(1, true);
    window.table().change();
    cycle.startStopClicked();
    start();
    cycle.tick();
    EXPECT_EQ(window.table().rowCount(), 2);
    EXPECT_EQ(row(1)[0], "1");
    EXPECT_EQ(row(1)[1], "  3");
}

TEST_F(AcquisitionCycleTest, BeepFlagIsReadAtEachReading) {
    start();
    window.settings().beep = 0;
    link.queueReading(ReadingKind::Colour, {1, 1, 1, 1, 1, 1});
    cycle.tick();
    EXPECT_TRUE(beeper.events.empty());
    window.settings().beep = 2;
    link.queueReading(ReadingKind::Colour, {2, 1, 1, 1, 1, 1});
    cycle.tick();
    EXPECT_EQ(beeper.events, (Strings{"beep 1000/50"}));
}

TEST_F(AcquisitionCycleTest, ReadingRefreshesTheDateText) {
    start();
    clock.time = {2027, 1, 2, 0, 0, 1};
    link.queueReading(ReadingKind::Colour, {1, 1, 1, 1, 1, 1});
    cycle.tick();
    EXPECT_EQ(window.dateText(), "2.1.2027");
    EXPECT_EQ(row(0)[8], " 0: 0: 1");
}

}  // namespace
}  // namespace tarvo
