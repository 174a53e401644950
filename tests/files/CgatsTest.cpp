#include "files/Cgats.h"

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <iterator>
#include <locale>
#include <string>

#include "AnsweringFileChooser.h"
#include "RecordingMessageBoxes.h"
#include "TempDir.h"
#include "TestTables.h"
#include "files/posix/PosixFileCreator.h"

namespace tarvo {
namespace {

using test::addReading;

constexpr int kDst21 = 1, kAsciiBw = 4;
const CgatsHeader kHeader{kDst21, "8.12.2026", "2026-12-08T14:05:09"};

std::string header(std::string_view descriptor) {
    return "CGATS.17\r\n"
           "ORIGINATOR \"tarvo 1.22\"\r\n"
           "CREATED \"2026-12-08T14:05:09\"\r\n"
           "DESCRIPTOR \"" +
           std::string(descriptor) +
           "\"\r\n"
           "INSTRUMENTATION \"densitometer\"\r\n"
           "KEYWORD \"PERCENT\"\r\n"
           "KEYWORD \"TIME\"\r\n"
           "KEYWORD \"COMMENT\"\r\n";
}

ReadingTable colourTable() {
    ReadingTable table;
    addReading(table,
               {"  345", "1.23", "0.98", "0.05", "1.50", "45.60", "C", "14: 5: 9", "strip 2"});
    // A quote, and the euro sign as the program's 8-bit text holds it.
    addReading(table, {"  346", "-0.01", "1.02", "12.34", "0.80", "100.00", "", " 9:30:12",
                       "\"A\" 5 \x80"});
    return table;
}

TEST(CgatsText, ColourTableOldestFirstInksThroughTheStatusFilters) {
    EXPECT_EQ(cgatsText(colourTable(), kHeader),
              header("8.12.2026 1DST21") +
                  "NUMBER_OF_FIELDS 8\r\n"
                  "BEGIN_DATA_FORMAT\r\n"
                  "SAMPLE_ID D_RED D_GREEN D_BLUE D_VIS PERCENT TIME COMMENT\r\n"
                  "END_DATA_FORMAT\r\n"
                  "NUMBER_OF_SETS 2\r\n"
                  "BEGIN_DATA\r\n"
                  "1 1.23 0.98 0.05 1.50 45.60 \"14: 5: 9\" \"strip 2\"\r\n"
                  "2 -0.01 1.02 12.34 0.80 100.00 \" 9:30:12\" \"\"\"A\"\" 5 \x80\"\r\n"
                  "END_DATA\r\n");
}

// A VERSION below "M" leaves the percent out of a colour row, so its letter
// and time stand one column to the left; a percent field would get the letter.
TEST(CgatsText, RowsWithoutPercentLeaveThePercentFieldOut) {
    ReadingTable table;
    addReading(table, {"  12", "1.23", "0.98", "0.05", "1.50", "C", "14: 5: 9", "", "old"});
    addReading(table, {"  13", "1.20", "0.90", "0.04", "1.40", "45.60", "C", "14: 6: 0", ""});
    const std::string text = cgatsText(table, kHeader);
    EXPECT_EQ(text.substr(text.find("KEYWORD")),
              "KEYWORD \"TIME\"\r\n"
              "KEYWORD \"COMMENT\"\r\n"
              "NUMBER_OF_FIELDS 7\r\n"
              "BEGIN_DATA_FORMAT\r\n"
              "SAMPLE_ID D_RED D_GREEN D_BLUE D_VIS TIME COMMENT\r\n"
              "END_DATA_FORMAT\r\n"
              "NUMBER_OF_SETS 2\r\n"
              "BEGIN_DATA\r\n"
              "1 1.23 0.98 0.05 1.50 \"14: 5: 9\" \"old\"\r\n"
              "2 1.20 0.90 0.04 1.40 \"14: 6: 0\" \"\"\r\n"
              "END_DATA\r\n");
}

TEST(CgatsText, DensityTableAndAFileTypeOutsideTheList) {
    ReadingTable table = test::densityTable();
    addReading(table, {"  77", "1.234", "45.600", "14: 5: 9", "wedge"});
    addReading(table, {"  78", "0.051", "0.000", "14: 6:10", ""});
    EXPECT_EQ(cgatsText(table, {kAsciiBw, "8.12.2026", kHeader.created}),
              header("8.12.2026 ASCIIBW") +
                  "NUMBER_OF_FIELDS 5\r\n"
                  "BEGIN_DATA_FORMAT\r\n"
                  "SAMPLE_ID DENSITY PERCENT TIME COMMENT\r\n"
                  "END_DATA_FORMAT\r\n"
                  "NUMBER_OF_SETS 2\r\n"
                  "BEGIN_DATA\r\n"
                  "1 1.234 45.600 \"14: 5: 9\" \"wedge\"\r\n"
                  "2 0.051 0.000 \"14: 6:10\" \"\"\r\n"
                  "END_DATA\r\n");
    EXPECT_NE(
        cgatsText(table, {42, "8.12.2026", kHeader.created}).find("DESCRIPTOR \"8.12.2026\"\r\n"),
        std::string::npos);
}

// Thousands grouped as "1.200" or a decimal comma would make the file
// unreadable to every colour tool.
TEST(CgatsText, GermanDesktopChangesNoNumber) {
    ReadingTable table;
    test::addNumberedReadings(table, 1200);
    const std::string expected = cgatsText(table, kHeader);
    try {
        std::locale::global(std::locale("de_DE.UTF-8"));
    } catch (const std::runtime_error&) {
        GTEST_SKIP() << "no German locale on this system";
    }
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const std::string german = cgatsText(table, kHeader);
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(german, expected);
    EXPECT_NE(german.find("\r\nNUMBER_OF_SETS 1200\r\n"), std::string::npos);
    EXPECT_NE(german.find("\r\n1200 c1200 m1200"), std::string::npos);
}

struct ExportRig {
    test::RecordingMessageBoxes boxes;
    test::AnsweringFileChooser chooser;
    PosixFileCreator files;
    test::TempDir dir;

    bool exportTable(const ReadingTable& table) {
        return exportCgats({table, kHeader, "/data/runs/strip.cm1", boxes, chooser, files});
    }
};

TEST(CgatsExport, EmptyTableAsksForNoFileAndSaysSo) {
    ExportRig rig;
    EXPECT_FALSE(rig.exportTable(ReadingTable()));
    EXPECT_TRUE(rig.chooser.requests.empty());
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].text, "No readings to export.");
    EXPECT_EQ(rig.boxes.shown[0].caption, "tarvo");
}

TEST(CgatsExport, WritesTheChosenFileInTheLastSavedFilesFolder) {
    ExportRig rig;
    const auto path = rig.dir / "strip.txt";
    rig.chooser.answerNext(path.string());
    ReadingTable table = colourTable();
    rig.chooser.duringNext([&] { addReading(table, {"  347", "0.10", "0.20", "0.30", "0.40"}); });
    EXPECT_TRUE(rig.exportTable(table));
    ASSERT_EQ(rig.chooser.requests.size(), 1u);
    const FileDialogRequest& request = rig.chooser.requests[0];
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].name, "CGATS (*.txt)");
    EXPECT_EQ(request.defaultExtension, "txt");
    EXPECT_EQ(request.initialFolder, "/data/runs/");
    EXPECT_TRUE(request.overwritePrompt);
    std::ifstream in(path, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(written, cgatsText(table, kHeader));
    EXPECT_NE(written.find("NUMBER_OF_SETS 3"), std::string::npos);  // taken while asking
    EXPECT_TRUE(rig.boxes.shown.empty());

    rig.chooser.answerNext((rig.dir / "missing" / "strip.txt").string());
    EXPECT_FALSE(rig.exportTable(table));
    EXPECT_EQ(rig.boxes.texts().back(),
              "Wrong Path or no Space: " + (rig.dir / "missing" / "strip.txt").string());
}

}  // namespace
}  // namespace tarvo
