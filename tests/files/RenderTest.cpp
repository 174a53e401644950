#include "files/Render.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "RecordingMessageBoxes.h"
#include "TestTables.h"

namespace tarvo {
namespace {

using test::addNumberedReadings;
using test::addReading;
using test::bodyLines;
using test::RecordingMessageBoxes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kCreatorLine = "# Creator: Tarvo, Lindquart GmbH 0049-5521-604718 \r\n";
const std::string kDisplayColourHeader =
    "# Creator: Tarvo, Lindquart GmbH 0049-5521-604718\r\n#Type: Display\r\n#Day: 6.12.2026\r\n"
    "No\tNo TR\tCyan   Mag.   Yel.   Black  %    Col. Time    Comment\r\n\r\n";
const std::string kDisplayDensityHeader =
    "# Creator: Tarvo, Lindquart GmbH 0049-5521-604718\r\n#Type: Display\r\n#Day: 6.12.2026\r\n"
    "No\tNo TR\tDensity\tPercent\tTime\tComment\r\n\r\n";
const std::string kDst34Header =
    kCreatorLine + "#!EFI 3\r\ntype: 1DST34\r\n#  Cyan  Magenta Yellow Black \r\n";
const std::string kDst21Header =
    kCreatorLine + "#!EFI 3\r\ntype: 1DST21\r\n#  Cyan  Magenta Yellow Black \r\n";
const std::string kDstCustomHeader =
    kCreatorLine + "#!EFI 3\r\ntype: 1DST\r\n# Percent  Cyan  Magenta Yellow Black \r\n";

std::string render(const ReadingTable& table, ExportFormat format, MessageBoxes& boxes,
                   char version = 'M') {
    return renderTable({table, static_cast<int>(format), "6.12.2026", version}, boxes);
}

// The two colour readings and the density reading the layouts are checked with.
ReadingTable twoColourReadings() {
    ReadingTable table;
    addReading(table,
               {"  345", "1.23", "0.98", "0.05", "1.50", "45.60", "C", "14: 5: 9", "strip 2"});
    addReading(table, {"  346", "-0.01", "1.02", "12.34", "0.80", "100.00", "", " 9:30:12", ""});
    table.setCell(1, 0, "12");
    table.setCell(0, 0, "13");
    return table;
}

ReadingTable oneDensityReading() {
    ReadingTable table = test::densityTable();
    addReading(table, {"  77", "1.234", "45.600", "14: 5: 9", "wedge"});
    table.setCell(0, 0, "3");
    return table;
}

TEST(DisplayLayout, ColourTableMatchesGoldenBytesNewestFirst) {
    RecordingMessageBoxes boxes;
    EXPECT_EQ(render(twoColourReadings(), ExportFormat::Display, boxes),
              kDisplayColourHeader +
                  "13\t  346\t-0.01  1.02   12.34  0.80   100.00 \tN   9:30:12  \t\r\n"
                  "12\t  345\t1.23   0.98   0.05   1.50   45.60 \tC  14: 5: 9  strip 2\t\r\n");
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST(DisplayLayout, DensityLineEndsWithTabBeforeCrLf) {
    RecordingMessageBoxes boxes;
    EXPECT_EQ(render(oneDensityReading(), ExportFormat::Display, boxes),
              kDisplayDensityHeader + "3\t  77\t1.234\t45.600\t14: 5: 9\twedge\t\r\n");
}

TEST(DisplayLayout, EmptyTableGivesHeaderWithDateAndEmptyLine) {
    RecordingMessageBoxes boxes;
    EXPECT_EQ(render(ReadingTable{}, ExportFormat::Display, boxes), kDisplayColourHeader);
    EXPECT_EQ(render(test::densityTable(), ExportFormat::Display, boxes), kDisplayDensityHeader);
}

std::string displayPercentField(std::string percent) {
    LineTexts texts;
    texts.last = 9;
    texts.at[6] = percent;
    std::string line;
    formatLine(ExportFormat::Display, texts, 'M', line);
    // Positions 0 and 1 give a TAB each, 2 to 5 "N" and two blanks each.
    const std::size_t start = 2 + 4 * 3;
    return line.substr(start, line.find('\t', start) + 1 - start);
}

TEST(DisplayLayout, PercentGetsThreeBlanksBelowThreeCharactersAndNoneFromSeven) {
    EXPECT_EQ(displayPercentField(""), "   \t");
    EXPECT_EQ(displayPercentField("5."), "5.   \t");
    EXPECT_EQ(displayPercentField("5.2"), "5.2  \t");
    EXPECT_EQ(displayPercentField("5.20"), "5.20  \t");
    EXPECT_EQ(displayPercentField("45.60"), "45.60 \t");
    EXPECT_EQ(displayPercentField("100.00"), "100.00 \t");
    EXPECT_EQ(displayPercentField("1000.00"), "1000.00\t");
}

TEST(DisplayLayout, VersionLRowsAreLaidOutByPosition) {
    // Such a device sends no percent: letter, time and comment stand one column further left.
    ReadingTable table;
    addReading(table, {"  88", "1.10", "1.20", "1.30", "1.40", "C", "10:11:12", ""});
    RecordingMessageBoxes boxes;
    EXPECT_EQ(
        render(table, ExportFormat::Display, boxes, 'L'),
        kDisplayColourHeader + "1\t  88\t1.10   1.20   1.30   1.40   C   \t10:11:12  N  \t\r\n");
}

TEST(AsciiBwLayout, ListsOldestFirstWithoutDeviceNumberAndComment) {
    ReadingTable table = oneDensityReading();
    addReading(table, {"  78", "0.456", "12.500", "14: 6: 0", "second"});
    RecordingMessageBoxes boxes;
    EXPECT_EQ(render(table, ExportFormat::AsciiBw, boxes),
              "#  Density  Percentage \r\n"
              "3  1.234  45.600  14: 5: 9  \r\n"
              "2  0.456  12.500  14: 6: 0  \r\n");
}

TEST(AsciiBwLayout, ColourTableIsRefusedWithNoBytes) {
    RecordingMessageBoxes boxes;
    EXPECT_EQ(render(twoColourReadings(), ExportFormat::AsciiBw, boxes), "");
    EXPECT_THAT(boxes.texts(), ElementsAre("No Colour-Format"));
    EXPECT_EQ(render(ReadingTable{}, ExportFormat::AsciiBw, boxes), "");
    EXPECT_EQ(boxes.shown.back().caption, "tarvo");
}

TEST(AsciiLayout, ListsBlackFirstOldestFirst) {
    RecordingMessageBoxes boxes;
    EXPECT_EQ(render(twoColourReadings(), ExportFormat::Ascii, boxes),
              kCreatorLine + "# \r\n" + "V1.50 C1.23 M0.98 Y0.05 \r\n" +
                  "V0.80 C-0.01 M1.02 Y12.34 \r\n");
}

TEST(AsciiLayout, DensityTableIsRefusedWithNoBytes) {
    RecordingMessageBoxes boxes;
    EXPECT_EQ(render(oneDensityReading(), ExportFormat::Ascii, boxes), "");
    EXPECT_THAT(boxes.texts(), ElementsAre("No BW-Format"));
}

TEST(StripLayouts, Dst34JoinsTheFourBlocksIntoGoldenLines) {
    ReadingTable table;
    addNumberedReadings(table, 136);
    // Reading 1 and its magenta, yellow and black partners 34 readings apart.
    table.setCell(135, 2, "0.05");
    table.setCell(135 - 34, 3, "0.07");
    table.setCell(135 - 68, 4, "0.06");
    table.setCell(135 - 102, 5, "0.08");
    RecordingMessageBoxes boxes;
    const std::string text = render(table, ExportFormat::Dst34, boxes);

    EXPECT_THAT(boxes.shown, IsEmpty());
    ASSERT_EQ(text.substr(0, kDst34Header.size()), kDst34Header);
    const auto lines = bodyLines(text, 4);
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines.front(), "1 0.05 0.07 0.06 0.08 ");
    EXPECT_EQ(lines[1], "2 c2 m36 y70 k104 ");
    EXPECT_EQ(lines.back(), "34 c34 m68 y102 k136 ");
    EXPECT_EQ(text.substr(text.size() - 3), " \r\n");
}

TEST(StripLayouts, Dst21WithNinetyRowsWarnsAndTakesBlackFromTheNewest) {
    ReadingTable table;
    addNumberedReadings(table, 90);
    RecordingMessageBoxes boxes;
    const std::string text = render(table, ExportFormat::Dst21, boxes);

    EXPECT_THAT(boxes.texts(), ElementsAre("Number of samples missmatches the file type!"));
    EXPECT_EQ(boxes.shown[0].caption, "tarvo");
    ASSERT_EQ(text.substr(0, kDst21Header.size()), kDst21Header);
    const auto lines = bodyLines(text, 4);
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(lines.front(), "1 c1 m22 y43 k64 ");
    EXPECT_EQ(lines.back(), "27 c27 m48 y69 k90 ");
}

TEST(StripLayouts, TooFewRowsWarnAndGiveTheHeaderAlone) {
    ReadingTable table;
    addNumberedReadings(table, 50);
    RecordingMessageBoxes boxes;
    EXPECT_EQ(render(table, ExportFormat::Dst34, boxes), kDst34Header);
    EXPECT_EQ(render(ReadingTable{}, ExportFormat::Dst34, boxes), kDst34Header);
    EXPECT_THAT(boxes.texts(), ElementsAre("Number of samples missmatches the file type!",
                                           "Number of samples missmatches the file type!"));
}

TEST(StripLayouts, DensityTableGetsCountWarningBeforeRefusal) {
    RecordingMessageBoxes boxes;
    EXPECT_EQ(render(oneDensityReading(), ExportFormat::Dst21, boxes), "");
    EXPECT_THAT(boxes.texts(),
                ElementsAre("Number of samples missmatches the file type!", "No BW-Format"));
}

TEST(StripLayouts, DstCustomTakesAQuarterOfTheRowsAsPatchCountWithPercentFirst) {
    ReadingTable table;
    addNumberedReadings(table, 12);
    RecordingMessageBoxes boxes;
    EXPECT_EQ(render(table, ExportFormat::DstCustom, boxes),
              kDstCustomHeader + "p1 c1 m4 y7 k10 \r\np2 c2 m5 y8 k11 \r\np3 c3 m6 y9 k12 \r\n");
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST(StripLayouts, DstCustomLeavesPercentOutForVersionsBelowM) {
    ReadingTable table;
    addNumberedReadings(table, 4);
    RecordingMessageBoxes boxes;
    EXPECT_EQ(render(table, ExportFormat::DstCustom, boxes, 'L'),
              kDstCustomHeader + "c1 m2 y3 k4 \r\n");
    EXPECT_EQ(render(table, ExportFormat::DstCustom, boxes, '\0'),
              kDstCustomHeader + "c1 m2 y3 k4 \r\n");
    EXPECT_EQ(render(table, ExportFormat::DstCustom, boxes, 'm'),
              kDstCustomHeader + "p1 c1 m2 y3 k4 \r\n");
}

TEST(StripLayouts, DstCustomBelowFourRowsGivesTheHeaderAlone) {
    ReadingTable table;
    addNumberedReadings(table, 3);
    RecordingMessageBoxes boxes;
    EXPECT_EQ(render(table, ExportFormat::DstCustom, boxes), kDstCustomHeader);
}

TEST(StripLayouts, DstCustomWithSurplusRowsContinuesLikeTheFixedCounts) {
    ReadingTable table;
    addNumberedReadings(table, 9);  // patch count 2, one reading over
    RecordingMessageBoxes boxes;
    const auto lines = bodyLines(render(table, ExportFormat::DstCustom, boxes), 4);
    EXPECT_THAT(lines, ElementsAre("p1 c1 m3 y5 k7 ", "p2 c2 m4 y6 k8 ", "p3 c3 m5 y7 k9 "));
}

// Readings keep arriving while a warning is shown; the operator may even have
// cleared the table by then.
class ClearingBoxes final : public MessageBoxes {
  public:
    explicit ClearingBoxes(ReadingTable& table) : table_(table) {}
    MessageAnswer show(std::string_view, std::string_view, MessageButtons, MessageIcon) override {
        table_.clear();
        return MessageAnswer::Ok;
    }

  private:
    ReadingTable& table_;
};

TEST(RenderTable, RowsGoneDuringTheCountWarningReadAsEmptyCells) {
    ReadingTable table;
    addNumberedReadings(table, 140);
    ClearingBoxes boxes(table);
    const auto lines = bodyLines(render(table, ExportFormat::Dst34, boxes), 4);
    ASSERT_EQ(lines.size(), 38u) << "the row count taken before the warning holds";
    EXPECT_EQ(lines.front(), "     ");
}

// A density reading that arrives while the count warning is open switches
// the table to the density layout before the layout check looks at it.
class DensityReadingBoxes final : public MessageBoxes {
  public:
    explicit DensityReadingBoxes(ReadingTable& table) : table_(table) {}
    MessageAnswer show(std::string_view text, std::string_view, MessageButtons,
                       MessageIcon) override {
        texts.emplace_back(text);
        if (table_.mode() == ReadingKind::Colour) {
            table_.switchMode(ReadingKind::Density, 600);
            addReading(table_, {"  77", "1.234", "45.600", "14: 5: 9", ""});
        }
        return MessageAnswer::Ok;
    }
    std::vector<std::string> texts;

  private:
    ReadingTable& table_;
};

TEST(RenderTable, ModeIsReadAfterTheCountWarningCloses) {
    ReadingTable table;
    addNumberedReadings(table, 140);
    DensityReadingBoxes boxes(table);
    EXPECT_EQ(render(table, ExportFormat::Dst34, boxes), "");
    EXPECT_THAT(boxes.texts,
                ElementsAre("Number of samples missmatches the file type!", "No BW-Format"));
}

TEST(RenderTable, FileTypeOutsideTheListGivesNothingAndNoMessage) {
    RecordingMessageBoxes boxes;
    for (int fileType : {-1, 6, 127}) {
        EXPECT_EQ(renderTable({twoColourReadings(), fileType, "1.1.2026", 'M'}, boxes), "");
    }
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST(RenderTable, OutputDoesNotDependOnTheLocale) {
    RecordingMessageBoxes boxes;
    const std::string before = render(twoColourReadings(), ExportFormat::Display, boxes);
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    const std::string after = render(twoColourReadings(), ExportFormat::Display, boxes);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(after, before);
}

TEST(RenderTable, HundredThousandRowsAreRenderedInFull) {
    ReadingTable table;
    constexpr int kRows = 100000;
    addNumberedReadings(table, kRows);
    RecordingMessageBoxes boxes;
    const std::string display = render(table, ExportFormat::Display, boxes);
    const auto lines = bodyLines(display, 5);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kRows));
    EXPECT_EQ(lines.front().substr(0, 16), "100000\t  100000\t");
    EXPECT_EQ(lines.back().substr(0, 6), "1\t  1\t");

    const auto ascii = bodyLines(render(table, ExportFormat::Ascii, boxes), 2);
    ASSERT_EQ(ascii.size(), static_cast<std::size_t>(kRows));
    EXPECT_EQ(ascii.back(), "Vk100000 Cc100000 Mm100000 Yy100000 ");
}

}  // namespace
}  // namespace tarvo
