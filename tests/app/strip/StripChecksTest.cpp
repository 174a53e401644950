#include "app/strip/StripChecks.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "ModelStrip.h"
#include "app/strip/StripProgress.h"
#include "files/StripBlocks.h"

namespace tarvo {
namespace {

constexpr int kDst34 = 0, kDst21 = 1, kDstCustom = 2, kDisplay = 5;
constexpr int kPatches = 21;

std::string twoDecimals(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// Writes reading k (1 is the oldest) of a table of its final size.
void setReading(ReadingTable& table, int k, const std::array<double, 4>& inks,
                const std::string& letter) {
    const int row = table.rowCount() - k;
    for (int ink = 0; ink < 4; ++ink)
        table.setCell(row, 2 + ink, twoDecimals(inks[ink]));
    table.setCell(row, 7, letter);
}

// A clean ramp: each block's own ink rises by 0.07 a patch over paper white
// in the other inks, and reads as its own ink's letter.
std::array<double, 4> rampPatch(int block, int patch) {
    std::array<double, 4> inks{0.05, 0.06, 0.07, 0.08};
    inks[block] = 0.10 + 0.07 * patch;
    return inks;
}

void addStrip(ReadingTable& table, int count, int patches = kPatches) {
    for (int k = table.rowCount() + 1, last = k + count - 1; k <= last; ++k) {
        table.addRow();
        const int block = ((k - 1) / patches) % 4;
        setReading(table, k, rampPatch(block, (k - 1) % patches + 1),
                   std::string(1, "CMYK"[block]));
    }
}

// Reading k of the strip is given another block's patch or another value.
void setOwnInk(ReadingTable& table, int k, double value) {
    const int block = (k - 1) / kPatches;
    auto inks = rampPatch(block, (k - 1) % kPatches + 1);
    inks[block] = value;
    setReading(table, k, inks, std::string(1, "CMYK"[block]));
}

std::vector<std::string> texts(const std::vector<StripCheck>& checks) {
    std::vector<std::string> result;
    for (const StripCheck& check : checks)
        result.push_back(check.text);
    return result;
}

using Texts = std::vector<std::string>;

TEST(StripChecksWrongInk, ChromaticLetterOfAnotherInkAtTheBlockEdges) {
    ReadingTable table;
    addStrip(table, 4 * kPatches + 1);
    EXPECT_TRUE(stripChecks(table, kDst21).empty());

    setReading(table, 1, rampPatch(1, 1), "M");              // first cyan patch
    setReading(table, kPatches, rampPatch(1, 1), "Y");       // last cyan patch
    setReading(table, kPatches + 1, rampPatch(0, 21), "C");  // one cyan too many
    setReading(table, 3 * kPatches + 3, rampPatch(2, 3), "Y");
    setReading(table, 2 * kPatches + 2, rampPatch(2, 2), "K");  // a light patch reads neutral
    setReading(table, 4 * kPatches + 1, rampPatch(1, 1), "M");  // beyond the strip
    const auto checks = stripChecks(table, kDst21);
    EXPECT_EQ(texts(checks),
              (Texts{"Check Cyan 1: looks like Magenta", "Check Cyan 21: looks like Yellow",
                     "Check Cyan 21: out of order", "Check Magenta 1: looks like Cyan",
                     "Check Black 3: looks like Yellow", "Check Black 3: out of order"}));
    EXPECT_EQ(checks[0].row, table.rowCount() - 1);
    EXPECT_EQ(checks[4].row, table.rowCount() - (3 * kPatches + 3));
}

TEST(StripChecksWrongInk, ShortColourRowKeepsItsLetterOneColumnLeft) {
    ReadingTable table;
    addStrip(table, 3);
    table.setCell(1, 7, "14: 5: 9");  // where the short row keeps its time
    table.setCell(1, 6, "Y");
    EXPECT_EQ(texts(stripChecks(table, kDst21)), (Texts{"Check Cyan 2: looks like Yellow"}));
}

TEST(StripChecksTwice, EveryInkWithinAHundredthOfThePreviousPatchOfTheBlock) {
    ReadingTable table;
    addStrip(table, 4 * kPatches + 1);
    auto seventh = rampPatch(0, 7);
    setReading(table, 8, {seventh[0] + 0.01, seventh[1], seventh[2] - 0.01, seventh[3]}, "C");
    // Magenta 6 repeats 5, but black is further off: another patch.
    auto magenta = rampPatch(1, 5);
    magenta[3] += 0.02;
    setReading(table, kPatches + 6, magenta, "M");
    // The first patch of a block is never the same as the last of the one before.
    setReading(table, 3 * kPatches + 1, rampPatch(2, kPatches), "K");
    // Nor is a reading beyond the strip the same as its last patch.
    setReading(table, 4 * kPatches + 1, rampPatch(3, kPatches), "K");
    EXPECT_EQ(texts(stripChecks(table, kDst21)), (Texts{"Check Cyan 8: same as Cyan 7"}));

    setReading(table, 4 * kPatches, rampPatch(3, kPatches - 1), "K");
    EXPECT_EQ(texts(stripChecks(table, kDst21)).back(), "Check Black 21: same as Black 20");
}

TEST(StripChecksOrder, OnlyThePatchThatBreaksTheTrendIsNamed) {
    ReadingTable table;
    addStrip(table, 4 * kPatches);
    setOwnInk(table, 12, 0.50);                // cyan 12 from further down the ramp
    setOwnInk(table, kPatches + 6, 1.40);      // magenta 6 from further up
    setOwnInk(table, 2 * kPatches + 1, 0.60);  // yellow 1 too dark
    setOwnInk(table, 4 * kPatches, 1.30);      // black 21 too light
    EXPECT_EQ(texts(stripChecks(table, kDst21)),
              (Texts{"Check Cyan 12: out of order", "Check Magenta 6: out of order",
                     "Check Yellow 1: out of order", "Check Black 21: out of order"}));
}

// Cyan readings of the given values; magenta differs from patch to patch, so
// no two are the same reading.
void addCyan(ReadingTable& table, const std::vector<double>& cyan) {
    for (double value : cyan) {
        table.addRow();
        const int k = table.rowCount();
        setReading(table, k, {value, 0.05 + 0.03 * k, 0.07, 0.08}, "C");
    }
}

TEST(StripChecksOrder, FallingBlockAStepOfExactlyATenthAndTheNewestPatch) {
    ReadingTable table;
    // 1.10 - 1.00 is a little above 0.1 in doubles: the step back, and how far
    // the patch lies off the line through its neighbours, is not more than a tenth.
    addCyan(table, {1.00, 1.00, 1.10, 1.00, 0.90, 0.80, 0.70});
    EXPECT_TRUE(stripChecks(table, kDst21).empty());
    setReading(table, 3, {1.11, 0.14, 0.07, 0.08}, "C");
    EXPECT_EQ(texts(stripChecks(table, kDst21)), (Texts{"Check Cyan 3: out of order"}));
    setReading(table, 3, {1.10, 0.14, 0.07, 0.08}, "C");
    // Against the trend from both patches before it; the one before lies off
    // the line through its neighbours too, but half as far.
    addCyan(table, {0.95});
    EXPECT_EQ(texts(stripChecks(table, kDst21)), (Texts{"Check Cyan 8: out of order"}));
}

TEST(StripChecksOrder, APatchOffTheLineOfItsNeighboursThatStepsBackFromNeither) {
    ReadingTable table;
    // Cyan 3 is 0.17 above the line from 0.60 to 0.76, yet it steps back only
    // 0.09 to the patch after it and not at all from those before.
    addCyan(table, {0.50, 0.60, 0.85, 0.76, 0.90});
    EXPECT_EQ(texts(stripChecks(table, kDst21)), (Texts{"Check Cyan 3: out of order"}));
    // The same shape on a falling ramp, named once two patches after it are in:
    // with one, the line that patch draws from it runs further off.
    ReadingTable falling;
    addCyan(falling, {0.90, 0.80, 0.55, 0.64});
    EXPECT_TRUE(stripChecks(falling, kDst21).empty());
    addCyan(falling, {0.50});
    EXPECT_EQ(texts(stripChecks(falling, kDst21)), (Texts{"Check Cyan 3: out of order"}));
}

// The strips a press prints and the instrument reads, rounded as it sends them.
TEST(StripChecksModelStrip, TheInstrumentReadsAboutFifteenPercentDotGainAtHalfTone) {
    for (int ink = 0; ink < 4; ++ink)
        EXPECT_NEAR(test::patchReading(ink, 50)[5] / 10.0, 65.0, 3.0) << kStripInkNames[ink];
}

TEST(StripChecksModelStrip, NoCheckAtAnyReadingOfAGoodStrip) {
    // At both ends of a 1DST34 ramp neighbouring patches read within a
    // hundredth of each other in every ink; a press with heavy dot gain too.
    for (const test::Press& press : {test::Press{}, test::Press{0.15, 1.7}}) {
        for (int fileType : {kDst34, kDst21}) {
            ReadingTable table;
            for (const ReadingValues& reading : test::goodStrip(fileType, press)) {
                test::addReading(table, reading);
                ASSERT_EQ(texts(stripChecks(table, fileType)), Texts{})
                    << "file type " << fileType << ", spread " << press.spread << ", reading "
                    << table.rowCount();
            }
        }
    }
}

TEST(StripChecksModelStrip, NoCheckOnGoodStripsOfOtherPressesAsTheInstrumentScattersThem) {
    for (double spread : {0.0, 0.03, 0.08, 0.15}) {
        for (double yuleNielsen : {1.4, 1.7, 2.0}) {
            for (int fileType : {kDst34, kDst21}) {
                for (unsigned seed = 1; seed <= 5; ++seed) {
                    ReadingTable table;
                    const auto strip = test::goodStrip(fileType, {spread, yuleNielsen});
                    for (const ReadingValues& reading : test::scattered(strip, 5, seed)) {
                        test::addReading(table, reading);
                        ASSERT_EQ(texts(stripChecks(table, fileType)), Texts{})
                            << "file type " << fileType << ", spread " << spread << ", n "
                            << yuleNielsen << ", seed " << seed << ", reading " << table.rowCount();
                    }
                }
            }
        }
    }
}

// A good strip with one slip of the operator in it.
class SlippedStrip {
  public:
    explicit SlippedStrip(int fileType)
        : fileType_(fileType),
          tones_(test::stripTones(fileType)),
          readings_(test::goodStrip(fileType)) {}

    // The reading taken for patch (from 1) of the block of ink (0 cyan).
    ReadingValues& patch(int ink, int patch) {
        return readings_[ink * tones_.size() + static_cast<std::size_t>(patch - 1)];
    }
    // What another ink's patch at the same place reads.
    ReadingValues inkAt(int ink, int patch) const {
        return test::patchReading(ink, tones_[static_cast<std::size_t>(patch - 1)]);
    }
    Texts checks() const {
        ReadingTable table;
        test::addReadings(table, readings_);
        return texts(stripChecks(table, fileType_));
    }

  private:
    int fileType_;
    std::vector<double> tones_;
    std::vector<ReadingValues> readings_;
};

TEST(StripChecksModelStrip, ARepeatAWrongInkAndAPatchOutOfOrderAreEachNamed) {
    for (int fileType : {kDst21, kDst34}) {
        SlippedStrip good(fileType);
        EXPECT_EQ(good.checks(), Texts{}) << fileType;
    }
    SlippedStrip repeat(kDst21);  // cyan 10 measured again where 11 belongs
    repeat.patch(0, 11) = repeat.patch(0, 10);
    EXPECT_EQ(repeat.checks(), (Texts{"Check Cyan 11: same as Cyan 10"}));
    SlippedStrip fineRepeat(kDst34);
    fineRepeat.patch(1, 23) = fineRepeat.patch(1, 22);
    EXPECT_EQ(fineRepeat.checks(), (Texts{"Check Magenta 23: same as Magenta 22"}));

    SlippedStrip wrongInk(kDst21);  // the yellow patch of the row below
    wrongInk.patch(1, 15) = wrongInk.inkAt(2, 15);
    EXPECT_EQ(wrongInk.checks(),
              (Texts{"Check Magenta 15: looks like Yellow", "Check Magenta 15: out of order"}));
    SlippedStrip fineWrongInk(kDst34);
    fineWrongInk.patch(0, 20) = fineWrongInk.inkAt(1, 20);
    EXPECT_EQ(fineWrongInk.checks(),
              (Texts{"Check Cyan 20: looks like Magenta", "Check Cyan 20: out of order"}));

    SlippedStrip farAhead(kDst21);  // yellow 15 measured for yellow 5
    farAhead.patch(2, 5) = farAhead.patch(2, 15);
    EXPECT_EQ(farAhead.checks(), (Texts{"Check Yellow 5: out of order"}));
    // Two patches ahead: it steps back from neither both later patches nor
    // both earlier ones, but lies far off the line through its neighbours.
    SlippedStrip twoAhead(kDst21);
    twoAhead.patch(3, 15) = twoAhead.patch(3, 17);
    EXPECT_EQ(twoAhead.checks(), (Texts{"Check Black 15: out of order"}));
    SlippedStrip fineTwoAhead(kDst34);
    fineTwoAhead.patch(3, 25) = fineTwoAhead.patch(3, 27);
    EXPECT_EQ(fineTwoAhead.checks(), (Texts{"Check Black 25: out of order"}));
}

TEST(StripChecksFollowTable, ChangeAndDeleteClearTheirCheck) {
    ReadingTable table;
    StripProgress progress(table, kDst21);
    addStrip(table, 10);
    setReading(table, 8, rampPatch(0, 7), "C");
    ASSERT_EQ(progress.picture().checks.size(), 1u);

    // Change re-measures the row in place.
    selectCheckedRow(table, progress.picture().checks[0]);
    table.change();
    const int row = table.replaceRow();
    EXPECT_EQ(row, table.rowCount() - 8);
    for (int ink = 0; ink < 4; ++ink)
        table.setCell(row, 2 + ink, twoDecimals(rampPatch(0, 8)[ink]));
    EXPECT_TRUE(progress.picture().checks.empty());

    // A patch measured twice by mistake is named once the next one is in, and
    // deleted; the later ones move up.
    table.addRow();
    const auto tenth = rampPatch(0, 10);
    for (int ink = 0; ink < 4; ++ink)
        table.setCell(0, 2 + ink, twoDecimals(tenth[ink]));
    EXPECT_TRUE(progress.picture().checks.empty());
    table.addRow();
    setReading(table, 12, rampPatch(0, 11), "C");
    EXPECT_EQ(texts(progress.picture().checks), (Texts{"Check Cyan 11: same as Cyan 10"}));
    selectCheckedRow(table, progress.picture().checks[0]);
    table.deleteSelected();
    EXPECT_TRUE(progress.picture().checks.empty());
}

TEST(StripChecksFollowTable, OnlyTheFixedStripsOfAColourTableAreChecked) {
    ReadingTable table;
    addStrip(table, 40, 34);
    setReading(table, 2, rampPatch(0, 2), "Y");
    EXPECT_EQ(texts(stripChecks(table, kDst34)), (Texts{"Check Cyan 2: looks like Yellow"}));
    EXPECT_TRUE(stripChecks(table, kDstCustom).empty());
    EXPECT_TRUE(stripChecks(table, kDisplay).empty());
    EXPECT_TRUE(stripChecks(table, 42).empty());
    table.switchMode(ReadingKind::Density, 600);
    table.addRow();
    table.setCell(0, 2, "1.234");
    EXPECT_TRUE(stripChecks(table, kDst34).empty());
}

TEST(StripChecksFollowTable, HeadlineCountsAndAChosenCheckIsTheOnlySelectedRowWhereverItMoved) {
    EXPECT_EQ(checksHeadline(0), "No checks");
    EXPECT_EQ(checksHeadline(1), "1 check");
    EXPECT_EQ(checksHeadline(3), "3 checks");
    ReadingTable table;
    addStrip(table, 5);
    table.setSelected(0, true);
    table.setSelected(3, true);
    ListedChecks listed;
    EXPECT_EQ(listed.update({{2, "Check Cyan 3: out of order"}}), 0u);
    EXPECT_EQ(listed.choose(0, table), 2);
    EXPECT_EQ(table.firstSelected(), 2);
    EXPECT_FALSE(table.isSelected(3));

    // A new reading moves the row: the list stays, the choice finds the row anew.
    EXPECT_EQ(listed.update({{3, "Check Cyan 3: out of order"}}), std::nullopt);
    EXPECT_EQ(listed.choose(0, table), 3);
    EXPECT_EQ(listed.choose(1, table), std::nullopt);
    // A check more at the end is written from there on; none left empties the list.
    EXPECT_EQ(listed.update({{3, "Check Cyan 3: out of order"}, {0, "Check Cyan 5: out of order"}}),
              1u);
    EXPECT_EQ(listed.update({}), 0u);
}

}  // namespace
}  // namespace tarvo
