#include "app/strip/StripProgress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "RecordingMessageBoxes.h"
#include "files/Render.h"

namespace tarvo {
namespace {

constexpr int kDst34 = 0, kDst21 = 1, kDstCustom = 2, kAsciiBw = 4, kDisplay = 5;

// Reading j (1 is the oldest) has the densities j.1, j.2, j.3 and j.4 for
// cyan to black, so every point tells which reading it came from.
void addReadings(ReadingTable& table, int count) {
    for (int j = table.rowCount() + 1, last = j + count - 1; j <= last; ++j) {
        table.addRow();
        for (int ink = 0; ink < 4; ++ink) {
            char text[16];
            std::snprintf(text, sizeof text, "%.2f", j + 0.1 * (ink + 1));
            table.setCell(0, 2 + ink, text);
        }
    }
}

std::vector<double> densities(const DensityCurve& curve) {
    std::vector<double> values;
    for (const CurvePoint& point : curve.points)
        values.push_back(point.density);
    return values;
}

class StripCount : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(StripCount, NamesTheNextPatchCountedFromTheOldestRow) {
    const auto [fileType, n] = GetParam();
    const std::string of = " of " + std::to_string(n), strip = std::to_string(4 * n);
    const std::pair<int, std::string> expected[] = {
        {0, "Cyan 1" + of},
        {1, "Cyan 2" + of},
        {n - 1, "Cyan " + std::to_string(n) + of},
        {n, "Magenta 1" + of},
        {4 * n - 1, "Black " + std::to_string(n) + of},
        {4 * n, "Strip complete: " + strip + " readings"},
        {4 * n + 6, "Too many readings: " + std::to_string(4 * n + 6) + " of " + strip},
    };
    for (const auto& [rows, text] : expected) {
        ReadingTable table;
        StripProgress progress(table, fileType);
        addReadings(table, rows);
        EXPECT_EQ(progress.text(), text) << rows << " rows";
    }
}

INSTANTIATE_TEST_SUITE_P(FixedStrips, StripCount,
                         ::testing::Values(std::pair{kDst34, 34}, std::pair{kDst21, 21}));

TEST(StripCurves, FourBlocksOf1Dst21GiveTheInksTheSavedFileHolds) {
    ReadingTable table;
    StripProgress progress(table, kDst21);
    addReadings(table, 84);
    const StripPicture picture = progress.picture();
    ASSERT_EQ(picture.curves.size(), 4u);
    EXPECT_EQ(picture.patches, 21);
    EXPECT_EQ(picture.curves[3].ink, CurveInk::Black);
    EXPECT_EQ(picture.curves[1].points[4].patch, 5);
    EXPECT_DOUBLE_EQ(picture.curves[1].points[4].density, 26.2);

    // Line p of the file holds patch p of each curve, cyan to black.
    test::RecordingMessageBoxes boxes;
    std::istringstream file(renderTable({table, kDst21, "1.1.2026", 'M'}, boxes));
    std::string line;
    for (int header = 0; header < 4; ++header)
        std::getline(file, line);
    int patch = 0;
    for (; std::getline(file, line); ++patch) {
        std::istringstream fields(line);
        double value = 0;
        fields >> value;
        for (const DensityCurve& curve : picture.curves) {
            fields >> value;
            ASSERT_EQ(curve.points.size(), 21u);
            EXPECT_DOUBLE_EQ(value, curve.points[patch].density) << line;
        }
    }
    EXPECT_EQ(patch, 21);
}

TEST(StripCurves, OnlyMeasuredBlocksHavePointsAndAnEmptyCellIsAGap) {
    ReadingTable table;
    StripProgress progress(table, kDst34);
    addReadings(table, 37);
    table.setCell(1, 3, "");
    table.setCell(0, 3, "-0.10");
    const StripPicture picture = progress.picture();
    EXPECT_EQ(picture.curves[0].points.size(), 34u);
    EXPECT_EQ(densities(picture.curves[1]), (std::vector<double>{35.2, -0.1}));
    EXPECT_EQ(picture.curves[1].points[1].patch, 3);
    EXPECT_TRUE(picture.curves[2].points.empty());
    EXPECT_EQ(picture.lowest, -0.5);
    EXPECT_EQ(picture.highest, 35.5);
}

TEST(StripFollowsTable, ChangeAndDeleteMoveTheCountAndThePoints) {
    ReadingTable table;
    StripProgress progress(table, kDst21);
    int changes = 0;
    progress.setChangeListener([&] { ++changes; });
    addReadings(table, 25);

    // Magenta patch 2 measured again: the row keeps its place in the strip.
    table.setSelected(2, true);
    table.change();
    table.setCell(table.replaceRow(), 3, "0.77");
    EXPECT_EQ(progress.text(), "Magenta 5 of 21");
    EXPECT_EQ(densities(progress.picture().curves[1]),
              (std::vector<double>{22.2, 0.77, 24.2, 25.2}));

    // A stray cyan reading deleted: every later reading moves one patch down.
    changes = 0;
    table.setSelected(24, true);
    table.deleteSelected();
    EXPECT_GT(changes, 0);
    EXPECT_EQ(progress.text(), "Magenta 4 of 21");
    EXPECT_EQ(densities(progress.picture().curves[1]), (std::vector<double>{0.77, 24.2, 25.2}));
}

TEST(StripFollowsTable, DensityReadingsAreNoStripAndShowTheirOwnCurve) {
    ReadingTable table;
    StripProgress progress(table, kDst34);
    int changes = 0;
    progress.setChangeListener([&] { ++changes; });
    addReadings(table, 5);
    table.switchMode(ReadingKind::Density, 600);
    EXPECT_GT(changes, 0);
    table.addRow();
    table.setCell(0, 2, "1.234");
    const StripPicture picture = progress.picture();
    EXPECT_EQ(picture.text, "Density readings: no strip");
    ASSERT_EQ(picture.curves.size(), 1u);
    EXPECT_EQ(picture.curves[0].ink, CurveInk::Density);
    EXPECT_EQ(densities(picture.curves[0]), (std::vector<double>{1.234}));
}

TEST(StripFileTypes, OtherTypesAreNoStripAndShowTheLastFiftyReadings) {
    ReadingTable table;
    StripProgress progress(table, kDst34);
    int changes = 0;
    progress.setChangeListener([&] { ++changes; });
    addReadings(table, 60);
    changes = 0;
    progress.setFileType(kDisplay);
    EXPECT_EQ(changes, 1);
    const StripPicture picture = progress.picture();
    EXPECT_EQ(picture.text, "DISPLAY is no strip type: the last 50 readings");
    EXPECT_EQ(picture.patches, 50);
    EXPECT_DOUBLE_EQ(picture.curves[3].points.front().density, 11.4);
    EXPECT_DOUBLE_EQ(picture.curves[3].points.back().density, 60.4);
    progress.setFileType(kAsciiBw);
    EXPECT_EQ(progress.text(), "ASCIIBW is no strip type: the last 50 readings");
    progress.setFileType(42);
    EXPECT_EQ(progress.text(), "No file type chosen: the last 50 readings");
}

TEST(StripFileTypes, CustomStripIsSplitIntoFourEqualBlocksAsItsLayoutDoes) {
    ReadingTable table;
    StripProgress progress(table, kDstCustom);
    addReadings(table, 8);
    EXPECT_EQ(progress.text(), "Strip complete: 8 readings");
    addReadings(table, 1);
    EXPECT_EQ(progress.text(), "1DSTCustom: 9 readings, 2 per ink, 1 over");
    EXPECT_EQ(densities(progress.picture().curves[3]), (std::vector<double>{7.4, 8.4}));
}

TEST(StripFollowsTable, ProgressGoneBeforeTheTableNoLongerHearsFromIt) {
    ReadingTable table;
    int changes = 0;
    StripProgress(table, kDst21).setChangeListener([&] { ++changes; });
    addReadings(table, 1);
    EXPECT_EQ(changes, 0);
}

}  // namespace
}  // namespace tarvo
