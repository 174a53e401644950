#include "app/strip/ReferenceChecks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <fstream>

#include "ReferenceSamples.h"
#include "TempDir.h"
#include "app/strip/StripProgress.h"

namespace tarvo {
namespace {

using test::kDst21Type;
using test::kDst34Type;
using Texts = std::vector<std::string>;

constexpr int kPatches = 21;

StripReference reference21() {
    return *readReference(test::tarvoFiery(kDst21Type), "press.cm1").reference;
}

// Reading k (1 is the oldest) of the table's strip gets its own ink moved by delta.
void moveOwnInk(ReadingTable& table, int k, double delta) {
    const int block = (k - 1) / kPatches;
    const int row = table.rowCount() - k;
    const double value = test::rampDensity(block, (k - 1) % kPatches + 1, kPatches) + delta;
    table.setCell(row, 2 + block, test::twoDecimals(value));
}

Texts texts(const std::vector<StripCheck>& checks) {
    Texts result;
    for (const StripCheck& check : checks)
        result.push_back(check.text);
    return result;
}

TEST(ReferenceChecks, TodaysStripAsTheReferenceHasNone) {
    const ReadingTable table = test::stripTable(kPatches);
    EXPECT_TRUE(referenceChecks(table, kDst21Type, reference21(), kReferenceTolerance).empty());
}

TEST(ReferenceChecks, TheToleranceItselfPassesAHundredthMoreIsNamed) {
    ReadingTable table = test::stripTable(kPatches);
    moveOwnInk(table, 7, 0.05);    // Cyan 7, at the edge
    moveOwnInk(table, 8, -0.05);   // Cyan 8, at the edge below
    moveOwnInk(table, 9, 0.06);    // Cyan 9
    moveOwnInk(table, 30, -0.06);  // Magenta 9
    EXPECT_EQ(
        texts(referenceChecks(table, kDst21Type, reference21(), kReferenceTolerance)),
        (Texts{"Check Cyan 9: 0.06 above reference", "Check Magenta 9: 0.06 below reference"}));
    // A tolerance of the settings' own.
    EXPECT_TRUE(referenceChecks(table, kDst21Type, reference21(), 0.06).empty());
    EXPECT_EQ(referenceChecks(table, kDst21Type, reference21(), 0.04).size(), 4u);
}

TEST(ReferenceChecks, FirstAndLastPatchOfEveryBlockAndTheirRows) {
    ReadingTable table = test::stripTable(kPatches);
    for (int block = 0; block < 4; ++block) {
        moveOwnInk(table, block * kPatches + 1, 0.12);
        moveOwnInk(table, (block + 1) * kPatches, -0.12);
    }
    const auto checks = referenceChecks(table, kDst21Type, reference21(), kReferenceTolerance);
    EXPECT_EQ(
        texts(checks),
        (Texts{"Check Cyan 1: 0.12 above reference", "Check Cyan 21: 0.12 below reference",
               "Check Magenta 1: 0.12 above reference", "Check Magenta 21: 0.12 below reference",
               "Check Yellow 1: 0.12 above reference", "Check Yellow 21: 0.12 below reference",
               "Check Black 1: 0.12 above reference", "Check Black 21: 0.12 below reference"}));
    EXPECT_EQ(checks.front().row, 4 * kPatches - 1);  // the oldest reading
    EXPECT_EQ(checks.back().row, 0);                  // the newest
}

TEST(ReferenceChecks, OnlyTheMeasuredPatchesAndNothingBeyondTheStrip) {
    ReadingTable table;
    test::addStripReadings(table, kPatches, 1, 23, 0.2);  // cyan and two magenta patches
    EXPECT_EQ(referenceChecks(table, kDst21Type, reference21(), kReferenceTolerance).size(), 23u);
    ReadingTable over = test::stripTable(kPatches);
    test::addStripReadings(over, kPatches, 85, 85, 0.5);  // one reading too many
    EXPECT_TRUE(referenceChecks(over, kDst21Type, reference21(), kReferenceTolerance).empty());
}

TEST(ReferenceChecks, ChangeMeasuresThePatchAgainAndDeleteMovesTheLaterPatchesUp) {
    ReadingTable table = test::stripTable(kPatches);
    moveOwnInk(table, 7, 0.2);
    ASSERT_EQ(referenceChecks(table, kDst21Type, reference21(), kReferenceTolerance).size(), 1u);
    table.setSelected(table.rowCount() - 7, true);
    table.change();
    const int row = table.replaceRow();
    table.setCell(row, 2, test::twoDecimals(test::rampDensity(0, 7, kPatches)));
    EXPECT_TRUE(referenceChecks(table, kDst21Type, reference21(), kReferenceTolerance).empty());

    // Without Cyan 7 every later reading stands one patch early.
    table.setSelected(table.rowCount() - 7, true);
    table.deleteSelected();
    const auto checks = referenceChecks(table, kDst21Type, reference21(), kReferenceTolerance);
    ASSERT_FALSE(checks.empty());
    EXPECT_EQ(checks.front().text, "Check Cyan 7: 0.07 above reference");
}

TEST(ReferenceChecks, NoComparisonForADensityTableOrAnotherStrip) {
    ReadingTable density;
    density.switchMode(ReadingKind::Density, 600);
    density.addRow();
    density.setCell(0, 2, "1.50");
    const StripReference reference = reference21();
    EXPECT_TRUE(referenceChecks(density, kDst21Type, reference, kReferenceTolerance).empty());
    EXPECT_EQ(referenceLine(density, kDst21Type, reference), "Reference: press.cm1");

    const ReadingTable strip34 = test::stripTable(34, 0.3);
    EXPECT_TRUE(referenceChecks(strip34, kDst34Type, reference, kReferenceTolerance).empty());
    EXPECT_EQ(referenceLine(strip34, kDst34Type, reference),
              "Reference: press.cm1 (1DST21, not held against this type)");
    EXPECT_EQ(referenceLine(test::stripTable(kPatches), kDst21Type, reference),
              "Reference: press.cm1");
}

TEST(ReferenceChecks, CurvesOfEachInkInPatchOrder) {
    const auto curves = referenceCurves(reference21());
    ASSERT_EQ(curves.size(), 4u);
    EXPECT_EQ(curves[2].ink, CurveInk::Yellow);
    ASSERT_EQ(curves[2].points.size(), 21u);
    EXPECT_EQ(curves[2].points.front().patch, 1);
    EXPECT_DOUBLE_EQ(curves[2].points.back().density, 1.00);
}

// The Strip window's picture: both rules' checks in one list along the strip,
// counted together, and the reference drawn and named.
class ReferencePicture : public ::testing::Test {
  protected:
    test::TempDir dir_;
    IniFile ini_{dir_ / "Tarvo.ini"};
    struct Quiet final : MessageBoxes {
        MessageAnswer show(std::string_view, std::string_view, MessageButtons,
                           MessageIcon) override {
            return MessageAnswer::Ok;
        }
    } quiet_;
    ChosenReference chosen_{ini_};

    void chooseFile(const std::string& text) {
        const std::string path = (dir_ / "press.cm1").string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        ini_.write(kStripSection, kReferenceKey, path);
        chosen_.load(quiet_);
    }
};

TEST_F(ReferencePicture, ChecksOfBothRulesInStripOrderAndCountedTogether) {
    ReadingTable table = test::stripTable(kPatches);
    StripProgress progress(table, kDst21Type);
    progress.setReference(&chosen_);
    chooseFile(test::tarvoFiery(kDst21Type));
    moveOwnInk(table, 30, 0.09);                  // Magenta 9 drifted
    table.setCell(table.rowCount() - 3, 7, "M");  // Cyan 3 looks like magenta
    const StripPicture picture = progress.picture();
    EXPECT_EQ(texts(picture.checks),
              (Texts{"Check Cyan 3: looks like Magenta", "Check Magenta 9: 0.09 above reference"}));
    EXPECT_EQ(checksHeadline(picture.checks.size()), "2 checks");
    EXPECT_EQ(picture.reference, "Reference: press.cm1");
    EXPECT_EQ(picture.referenceCurves.size(), 4u);
}

TEST_F(ReferencePicture, TheDensityAxisTakesInTheReferenceAndDroppingItTellsTheWindow) {
    ReadingTable table;
    test::addStripReadings(table, kPatches, 1, 3);
    StripProgress progress(table, kDst21Type);
    int told = 0;
    progress.setChangeListener([&] { ++told; });
    progress.setReference(&chosen_);
    chooseFile(test::tarvoFiery(kDst21Type, 1.2));  // solids up to 2.90
    EXPECT_EQ(progress.picture().highest, 3.0);
    EXPECT_EQ(progress.picture().checks.size(), 3u);
    const int before = told;
    chosen_.drop();
    EXPECT_GT(told, before);
    const StripPicture dropped = progress.picture();
    EXPECT_TRUE(dropped.reference.empty());
    EXPECT_TRUE(dropped.referenceCurves.empty());
    EXPECT_TRUE(dropped.checks.empty());
    EXPECT_EQ(dropped.highest, 2.0);
}

}  // namespace
}  // namespace tarvo
