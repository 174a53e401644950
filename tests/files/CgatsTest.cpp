#include "files/Cgats.h"

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <iterator>
#include <locale>
#include <string>

#include "AnsweringFileChooser.h"
#include "LittleCmsReader.h"
#include "RecordingMessageBoxes.h"
#include "TempDir.h"
#include "TestTables.h"
#include "files/posix/PosixFileCreator.h"

namespace tarvo {
namespace {

using test::addReading;
using test::expectReadAs;
using test::readTextWithLittleCms;

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
           "KEYWORD \"PERCENT\"\r\n";
}

const std::vector<std::string> kColourFields = {"SAMPLE_ID", "D_RED", "D_GREEN", "D_BLUE", "D_VIS",
                                                "PERCENT",   "COLOR", "TIME",    "COMMENT"};

ReadingTable colourTable() {
    ReadingTable table;
    addReading(table,
               {"  345", "1.23", "0.98", "0.05", "1.50", "45.60", "C", "14: 5: 9", "strip 2"});
    // A quote, and the euro sign as the program's 8-bit text holds it.
    addReading(table, {"  346", "-0.01", "1.02", "12.34", "0.80", "100.00", "", " 9:30:12",
                       "\"A\" 5 \x80"});
    return table;
}

// A doubled quote inside a string ends it for LittleCMS, which then counts
// one field more than declared and refuses the whole file.
TEST(CgatsText, ColourTableOldestFirstEachCellInItsFieldAQuoteAsAnApostrophe) {
    const ReadingTable table = colourTable();
    const std::string text = cgatsText(table, kHeader);
    EXPECT_EQ(text, header("8.12.2026 1DST21") +
                        "KEYWORD \"COLOR\"\r\n"
                        "KEYWORD \"TIME\"\r\n"
                        "KEYWORD \"COMMENT\"\r\n"
                        "NUMBER_OF_FIELDS 9\r\n"
                        "BEGIN_DATA_FORMAT\r\n"
                        "SAMPLE_ID D_RED D_GREEN D_BLUE D_VIS PERCENT COLOR TIME COMMENT\r\n"
                        "END_DATA_FORMAT\r\n"
                        "NUMBER_OF_SETS 2\r\n"
                        "BEGIN_DATA\r\n"
                        "1 1.23 0.98 0.05 1.50 45.60 \"C\" \"14: 5: 9\" \"strip 2\"\r\n"
                        "2 -0.01 1.02 12.34 0.80 100.00 \"\" \" 9:30:12\" \"'A' 5 \x80\"\r\n"
                        "END_DATA\r\n");
    const auto read = readTextWithLittleCms(text);
    EXPECT_EQ(read.descriptor, "8.12.2026 1DST21");
    expectReadAs(read, kColourFields,
                 {{"1", "1.23", "0.98", "0.05", "1.50", "45.60", "C", "14: 5: 9", "strip 2"},
                  {"2", "-0.01", "1.02", "12.34", "0.80", "100.00", "", " 9:30:12", "'A' 5 \x80"}});
    EXPECT_EQ(table.cell(0, 9), "\"A\" 5 \x80") << "the table keeps its text";
}

// A journal of a session with another VERSION letter, continued: rows with
// and without a percent in one table. No row's percent is dropped for it.
TEST(CgatsText, TableMixingRowsWithAndWithoutPercentKeepsEveryPercent) {
    ReadingTable table;
    addReading(table, {"  12", "1.23", "0.98", "0.05", "1.50", "C", "14: 5: 9", "", "old"});
    addReading(table, {"  13", "1.20", "0.90", "0.04", "1.40", "45.60", "C", "14: 6: 0", ""});
    const std::string text = cgatsText(table, kHeader);
    EXPECT_EQ(text.substr(text.find("BEGIN_DATA\r\n")),
              "BEGIN_DATA\r\n"
              "1 1.23 0.98 0.05 1.50 \"\" \"C\" \"14: 5: 9\" \"old\"\r\n"
              "2 1.20 0.90 0.04 1.40 45.60 \"C\" \"14: 6: 0\" \"\"\r\n"
              "END_DATA\r\n");
    expectReadAs(readTextWithLittleCms(text), kColourFields,
                 {{"1", "1.23", "0.98", "0.05", "1.50", "", "C", "14: 5: 9", "old"},
                  {"2", "1.20", "0.90", "0.04", "1.40", "45.60", "C", "14: 6: 0", ""}});
}

TEST(CgatsText, DensityTableAndAFileTypeOutsideTheList) {
    ReadingTable table = test::densityTable();
    addReading(table, {"  77", "1.234", "45.600", "14: 5: 9", "wedge \"2\""});
    addReading(table, {"  78", "0.051", "0.000", "14: 6:10", ""});
    const std::string text = cgatsText(table, {kAsciiBw, "8.12.2026", kHeader.created});
    EXPECT_EQ(text, header("8.12.2026 ASCIIBW") +
                        "KEYWORD \"TIME\"\r\n"
                        "KEYWORD \"COMMENT\"\r\n"
                        "NUMBER_OF_FIELDS 5\r\n"
                        "BEGIN_DATA_FORMAT\r\n"
                        "SAMPLE_ID DENSITY PERCENT TIME COMMENT\r\n"
                        "END_DATA_FORMAT\r\n"
                        "NUMBER_OF_SETS 2\r\n"
                        "BEGIN_DATA\r\n"
                        "1 1.234 45.600 \"14: 5: 9\" \"wedge '2'\"\r\n"
                        "2 0.051 0.000 \"14: 6:10\" \"\"\r\n"
                        "END_DATA\r\n");
    expectReadAs(readTextWithLittleCms(text),
                 {"SAMPLE_ID", "DENSITY", "PERCENT", "TIME", "COMMENT"},
                 {{"1", "1.234", "45.600", "14: 5: 9", "wedge '2'"},
                  {"2", "0.051", "0.000", "14: 6:10", ""}});
    EXPECT_NE(
        cgatsText(table, {42, "8.12.2026", kHeader.created}).find("DESCRIPTOR \"8.12.2026\"\r\n"),
        std::string::npos);
}

// A line break would end the data line in the middle of its fields.
TEST(CgatsText, LineBreakInACommentBecomesABlank) {
    ReadingTable table;
    addReading(table, {"  1", "1.00", "0.90", "0.80", "0.70", "5.00", "C", "14: 5: 9", "a\r\nb"});
    const std::string text = cgatsText(table, kHeader);
    EXPECT_NE(text.find(" \"a  b\"\r\nEND_DATA"), std::string::npos);
    expectReadAs(readTextWithLittleCms(text), kColourFields,
                 {{"1", "1.00", "0.90", "0.80", "0.70", "5.00", "C", "14: 5: 9", "a  b"}});
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
    EXPECT_EQ(readTextWithLittleCms(german).rows.size(), 1200u);
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
    rig.chooser.duringNext([&] {
        addReading(table, {"  347", "0.10", "0.20", "0.30", "0.40", "5.00", "Y", " 9:31: 0"});
    });
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
    expectReadAs(test::readWithLittleCms(path), kColourFields,
                 {{"1", "1.23", "0.98", "0.05", "1.50", "45.60", "C", "14: 5: 9", "strip 2"},
                  {"2", "-0.01", "1.02", "12.34", "0.80", "100.00", "", " 9:30:12", "'A' 5 \x80"},
                  {"3", "0.10", "0.20", "0.30", "0.40", "5.00", "Y", " 9:31: 0", ""}});
    EXPECT_TRUE(rig.boxes.shown.empty());

    rig.chooser.answerNext((rig.dir / "missing" / "strip.txt").string());
    EXPECT_FALSE(rig.exportTable(table));
    EXPECT_EQ(rig.boxes.texts().back(),
              "Wrong Path or no Space: " + (rig.dir / "missing" / "strip.txt").string());
}

}  // namespace
}  // namespace tarvo
