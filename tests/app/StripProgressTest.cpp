#include "app/StripProgress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "RecordingMessageBoxes.h"
#include "files/Render.h"

namespace tarvo {
namespace {

constexpr int kDst34 = 0;
constexpr int kDst21 = 1;
constexpr int kDstCustom = 2;
constexpr int kDisplay = 5;

std::string twoDecimals(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// Reading j (1 is the oldest) has the densities j.1, j.2, j.3 and j.4 for
// cyan to black, so every point tells which reading it came from.
void addReadings(ReadingTable& table, int count) {
    for (int j = table.rowCount() + 1, last = table.rowCount() + count; j <= last; ++j) {
        table.addRow();
        for (int ink = 0; ink < 4; ++ink)
            table.setCell(0, 2 + ink, twoDecimals(j + 0.1 * (ink + 1)));
    }
}

std::vector<double> densities(const DensityCurve& curve) {
    std::vector<double> values;
    for (const CurvePoint& point : curve.points)
        values.push_back(point.density);
    return values;
}

std::vector<int> patches(const DensityCurve& curve) {
    std::vector<int> numbers;
    for (const CurvePoint& point : curve.points)
        numbers.push_back(point.patch);
    return numbers;
}

class StripCount : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(StripCount, NamesTheNextPatchCountedFromTheOldestRow) {
    const auto [fileType, n] = GetParam();
    const std::string of = " of " + std::to_string(n);
    const std::pair<int, std::string> expected[] = {
        {0, "Cyan 1" + of},
        {1, "Cyan 2" + of},
        {n - 1, "Cyan " + std::to_string(n) + of},
        {n, "Magenta 1" + of},
        {3 * n, "Black 1" + of},
        {4 * n - 1, "Black " + std::to_string(n) + of},
        {4 * n, "Strip complete: " + std::to_string(4 * n) + " readings"},
        {4 * n + 6,
         "Too many readings: " + std::to_string(4 * n + 6) + " of " + std::to_string(4 * n)},
    };
    for (const auto& [rows, text] : expected) {
        ReadingTable table;
        StripProgress strip(table, fileType);
        addReadings(table, rows);
        EXPECT_EQ(strip.text(), text) << rows << " rows";
    }
}

INSTANTIATE_TEST_SUITE_P(FixedStrips, StripCount,
                         ::testing::Values(std::pair{kDst34, 34}, std::pair{kDst21, 21}));

TEST(StripCurves, FourBlocksOf1Dst21GiveTheInksTheFileHolds) {
    ReadingTable table;
    StripProgress strip(table, kDst21);
    addReadings(table, 84);
    const StripPicture picture = strip.picture();
    EXPECT_EQ(picture.patches, 21);
    ASSERT_EQ(picture.curves.size(), 4u);
    const CurveInk inks[] = {CurveInk::Cyan, CurveInk::Magenta, CurveInk::Yellow, CurveInk::Black};
    for (int block = 0; block < 4; ++block) {
        const DensityCurve& curve = picture.curves[block];
        EXPECT_EQ(curve.ink, inks[block]);
        ASSERT_EQ(curve.points.size(), 21u);
        for (int patch = 1; patch <= 21; ++patch) {
            EXPECT_EQ(curve.points[patch - 1].patch, patch);
            EXPECT_DOUBLE_EQ(curve.points[patch - 1].density,
                             block * 21 + patch + 0.1 * (block + 1));
        }
    }

    // Each line of the saved file holds one patch of the four curves.
    test::RecordingMessageBoxes boxes;
    std::istringstream file(renderTable({table, kDst21, "1.1.2026", 'M'}, boxes));
    std::string line;
    for (int header = 0; header < 4; ++header)
        std::getline(file, line);
    for (int patch = 1; std::getline(file, line); ++patch) {
        std::istringstream fields(line);
        double number = 0;
        fields >> number;
        for (const DensityCurve& curve : picture.curves) {
            double value = 0;
            fields >> value;
            EXPECT_DOUBLE_EQ(value, curve.points[patch - 1].density) << line;
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(StripCurves, OnlyTheBlocksMeasuredSoFarHavePoints) {
    ReadingTable table;
    StripProgress strip(table, kDst34);
    addReadings(table, 37);
    const StripPicture picture = strip.picture();
    EXPECT_EQ(picture.curves[0].points.size(), 34u);
    EXPECT_EQ(patches(picture.curves[1]), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(densities(picture.curves[1]), (std::vector<double>{35.2, 36.2, 37.2}));
    EXPECT_TRUE(picture.curves[2].points.empty());
    EXPECT_TRUE(picture.curves[3].points.empty());
}

TEST(StripCurves, AnEmptyCellLeavesAGapInsteadOfAZero) {
    ReadingTable table;
    StripProgress strip(table, kDst21);
    addReadings(table, 3);
    table.setCell(1, 2, "");
    EXPECT_EQ(patches(strip.picture().curves[0]), (std::vector<int>{1, 3}));
}

TEST(StripFollowsTable, ChangeAndDeleteMoveTheCountAndThePoints) {
    ReadingTable table;
    StripProgress strip(table, kDst21);
    int changes = 0;
    strip.setChangeListener([&] { ++changes; });
    addReadings(table, 25);
    EXPECT_EQ(strip.text(), "Magenta 5 of 21");

    // Magenta patch 2 measured again: the row keeps its place in the strip.
    table.setSelected(2, true);
    table.change();
    const int row = table.replaceRow();
    table.setCell(row, 3, "0.77");
    EXPECT_EQ(strip.text(), "Magenta 5 of 21");
    EXPECT_EQ(densities(strip.picture().curves[1]), (std::vector<double>{22.2, 0.77, 24.2, 25.2}));

    // A stray cyan reading deleted: every later reading moves one patch down.
    changes = 0;
    table.setSelected(24, true);
    table.deleteSelected();
    EXPECT_GT(changes, 0);
    EXPECT_EQ(strip.text(), "Magenta 4 of 21");
    EXPECT_EQ(densities(strip.picture().curves[1]), (std::vector<double>{0.77, 24.2, 25.2}));

    table.clear();
    EXPECT_EQ(strip.text(), "Cyan 1 of 21");
}

TEST(StripFollowsTable, DensityReadingsAreNoStripAndShowTheirOwnCurve) {
    ReadingTable table;
    StripProgress strip(table, kDst34);
    int changes = 0;
    strip.setChangeListener([&] { ++changes; });
    addReadings(table, 5);
    table.switchMode(ReadingKind::Density, 600);
    EXPECT_GT(changes, 0);
    table.addRow();
    table.setCell(0, 2, "1.234");
    const StripPicture picture = strip.picture();
    EXPECT_EQ(picture.text, "Density readings: no strip");
    ASSERT_EQ(picture.curves.size(), 1u);
    EXPECT_EQ(picture.curves[0].ink, CurveInk::Density);
    EXPECT_EQ(densities(picture.curves[0]), (std::vector<double>{1.234}));
}

TEST(StripFileTypes, OtherTypesAreNoStripAndShowTheLastFiftyReadings) {
    ReadingTable table;
    StripProgress strip(table, kDisplay);
    addReadings(table, 60);
    StripPicture picture = strip.picture();
    EXPECT_EQ(picture.text, "DISPLAY is no strip type: the last 50 readings");
    EXPECT_EQ(picture.patches, 50);
    ASSERT_EQ(picture.curves.size(), 4u);
    EXPECT_EQ(picture.curves[3].points.size(), 50u);
    EXPECT_DOUBLE_EQ(picture.curves[3].points.front().density, 11.4);
    EXPECT_DOUBLE_EQ(picture.curves[3].points.back().density, 60.4);

    strip.setFileType(4);
    EXPECT_EQ(strip.text(), "ASCIIBW is no strip type: the last 50 readings");
    strip.setFileType(42);
    EXPECT_EQ(strip.text(), "No file type chosen: the last 50 readings");
}

TEST(StripFileTypes, ChoosingAnotherTypeRecountsAndTellsTheListener) {
    ReadingTable table;
    StripProgress strip(table, kDst34);
    int changes = 0;
    strip.setChangeListener([&] { ++changes; });
    strip.setFileType(kDst34);
    EXPECT_EQ(changes, 0);
    strip.setFileType(kDst21);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(strip.text(), "Cyan 1 of 21");
}

TEST(StripFileTypes, CustomStripIsSplitIntoFourEqualBlocksAsItsLayoutDoes) {
    ReadingTable table;
    StripProgress strip(table, kDstCustom);
    EXPECT_EQ(strip.text(), "1DSTCustom: 0 readings, 0 per ink");
    addReadings(table, 8);
    EXPECT_EQ(strip.text(), "Strip complete: 8 readings");
    addReadings(table, 1);
    const StripPicture picture = strip.picture();
    EXPECT_EQ(picture.text, "1DSTCustom: 9 readings, 2 per ink, 1 over");
    EXPECT_EQ(picture.patches, 2);
    EXPECT_EQ(densities(picture.curves[3]), (std::vector<double>{7.4, 8.4}));
}

TEST(StripAxis, DensityAxisTakesInEveryPointInHalfSteps) {
    ReadingTable table;
    StripProgress strip(table, kDst21);
    EXPECT_EQ(strip.picture().lowest, 0);
    EXPECT_EQ(strip.picture().highest, 2);
    addReadings(table, 2);
    table.setCell(1, 2, "-0.10");
    table.setCell(0, 2, "2.70");
    EXPECT_EQ(strip.picture().lowest, -0.5);
    EXPECT_EQ(strip.picture().highest, 3);
}

TEST(StripFollowsTable, ProgressGoneBeforeTheTableNoLongerHearsFromIt) {
    ReadingTable table;
    int changes = 0;
    {
        StripProgress strip(table, kDst21);
        strip.setChangeListener([&] { ++changes; });
    }
    addReadings(table, 1);
    EXPECT_EQ(changes, 0);
}

}  // namespace
}  // namespace tarvo
