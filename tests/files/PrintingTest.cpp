#include "files/Printing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "RecordingMessageBoxes.h"
#include "TestTables.h"

namespace tarvo {
namespace {

using test::RecordingMessageBoxes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct PrintedJob {
    std::string name;
    std::vector<std::string> lines;
};

// A print dialog whose operator either cancels or picks a printer that keeps
// what it was given.
class FakePrintDialog final : public PrintDialog {
  public:
    bool cancel = false;
    int shown = 0;
    std::vector<PrintedJob> jobs;

    std::unique_ptr<PagePrinter> choosePrinter() override {
        ++shown;
        if (cancel) {
            return nullptr;
        }
        return std::make_unique<Printer>(jobs);
    }

  private:
    class Printer final : public PagePrinter {
      public:
        explicit Printer(std::vector<PrintedJob>& jobs) : jobs_(jobs) {}
        void printLines(std::string_view jobName,
                        const std::vector<std::string_view>& lines) override {
            jobs_.push_back({std::string(jobName), {lines.begin(), lines.end()}});
        }

      private:
        std::vector<PrintedJob>& jobs_;
    };
};

class PrintTable : public ::testing::Test {
  protected:
    PrintTable() {
        test::addReading(
            table, {"  345", "1.23", "0.98", "0.05", "1.50", "45.60", "C", "14: 5: 9", "strip 2"});
        settings.version = 'M';
    }
    void print(int fileType) {
        settings.fileType = static_cast<std::int8_t>(fileType);
        printTable({table, settings, "6.12.2026", boxes, dialog});
    }

    ReadingTable table;
    Settings settings;
    RecordingMessageBoxes boxes;
    FakePrintDialog dialog;
};

TEST_F(PrintTable, CancelledDialogRendersNothingAndShowsNoWarning) {
    dialog.cancel = true;
    print(0);  // one row in Dst34 would warn if it were rendered
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_THAT(dialog.jobs, IsEmpty());
}

TEST_F(PrintTable, RefusedLayoutPrintsNothing) {
    print(4);
    EXPECT_THAT(boxes.texts(), ElementsAre("No Colour-Format"));
    EXPECT_THAT(dialog.jobs, IsEmpty());
}

TEST_F(PrintTable, PrintsTheRenderedLinesAsJobLotcheck) {
    print(5);
    ASSERT_EQ(dialog.jobs.size(), 1u);
    EXPECT_EQ(dialog.jobs[0].name, "Lotcheck");
    EXPECT_THAT(
        dialog.jobs[0].lines,
        ElementsAre("# Creator: Tarvo, Lindquart GmbH 0049-5521-604718", "#Type: Display",
                    "#Day: 6.12.2026",
                    "No\tNo TR\tCyan   Mag.   Yel.   Black  %    Col. Time    Comment", "",
                    "1\t  345\t1.23   0.98   0.05   1.50   45.60 \tC  14: 5: 9  strip 2\t"));
}

TEST_F(PrintTable, WrongSampleCountWarnsAfterTheDialogAndStillPrints) {
    print(1);
    EXPECT_THAT(boxes.texts(), ElementsAre("Number of samples missmatches the file type!"));
    ASSERT_EQ(dialog.jobs.size(), 1u);
    EXPECT_EQ(dialog.jobs[0].lines.at(2), "type: 1DST21");
}

TEST_F(PrintTable, DstCustomIsPrintedThoughSavingRefusesIt) {
    for (int i = 0; i < 3; ++i) {
        test::addReading(table, {"  1", "1.00", "1.00", "1.00", "1.00", "50.00"});
    }
    print(2);
    ASSERT_EQ(dialog.jobs.size(), 1u);
    EXPECT_EQ(dialog.jobs[0].lines.at(2), "type: 1DST");
    EXPECT_EQ(dialog.jobs[0].lines.back(), "45.60 1.23 1.00 1.00 1.00 ");
}

TEST(SplitLines, EndsLinesAtCrLfWithoutAnEmptyLastLine) {
    EXPECT_THAT(splitLines("a\r\n\r\nb\r\n"), ElementsAre("a", "", "b"));
    EXPECT_THAT(splitLines("a\nb\rc"), ElementsAre("a", "b", "c"));
    EXPECT_THAT(splitLines(""), IsEmpty());
}

TEST(LayoutLine, TabsMoveToTheNextStopAfterTheText) {
    const auto tenPerCharacter = [](std::string_view text) {
        return static_cast<int>(text.size()) * 10;
    };
    const auto runs = layoutLine("ab\tcdefghij\t\tk", 80, tenPerCharacter);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].x, 0);
    EXPECT_EQ(runs[1].x, 80);
    EXPECT_EQ(runs[1].text, "cdefghij");
    // "cdefghij" ends exactly on a stop: its TAB moves a full stop further.
    EXPECT_EQ(runs[2].x, 320);
    EXPECT_EQ(runs[2].text, "k");
}

}  // namespace
}  // namespace tarvo
