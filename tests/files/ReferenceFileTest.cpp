#include "files/ReferenceFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ReferenceSamples.h"
#include "TempDir.h"

namespace tarvo {
namespace {

using test::kDst21Type;
using test::kDst34Type;
using test::rampDensity;

void expectStrip(const ReferenceRead& read, ExportFormat layout, int patches) {
    ASSERT_TRUE(read.reference) << read.problem->line << ": " << read.problem->what;
    const StripReference& reference = *read.reference;
    EXPECT_EQ(reference.layout, layout);
    EXPECT_EQ(reference.patches, patches);
    for (int block = 0; block < 4; ++block) {
        const auto& ink = reference.inks[static_cast<std::size_t>(block)];
        ASSERT_EQ(ink.size(), static_cast<std::size_t>(patches));
        for (int patch = 1; patch <= patches; ++patch) {
            ASSERT_DOUBLE_EQ(ink[static_cast<std::size_t>(patch - 1)],
                             rampDensity(block, patch, patches))
                << "block " << block << " patch " << patch;
        }
    }
}

FileProblem problemOf(const ReferenceRead& read) {
    EXPECT_FALSE(read.reference);
    return read.problem.value_or(FileProblem{-1, "read as a reference"});
}

// The line of the text that holds the given piece.
int lineOf(const std::string& text, const std::string& piece) {
    const auto at = text.find(piece);
    return static_cast<int>(std::count(text.begin(), text.begin() + at, '\n')) + 1;
}

TEST(ReferenceFromEachSource, FieryFilesOfBothTypesGiveEachInksPatchesInOrder) {
    expectStrip(readReference(test::tarvoFiery(kDst34Type), "a.cm1"), ExportFormat::Dst34, 34);
    expectStrip(readReference(test::tarvoFiery(kDst21Type), "a.cm1"), ExportFormat::Dst21, 21);
}

TEST(ReferenceFromEachSource, TarvoCgatsTakesTheSetsAsTheStripsReadingsThroughTheirFilters) {
    expectStrip(readReference(test::tarvoCgats(kDst34Type), "a.txt"), ExportFormat::Dst34, 34);
    expectStrip(readReference(test::tarvoCgats(kDst21Type), "a.txt"), ExportFormat::Dst21, 21);
}

TEST(ReferenceFromEachSource, ForeignCgatsWithOtherFieldsQuotesAndCommentsReadsAlike) {
    expectStrip(readReference(test::foreignCgats(84), "press.it8"), ExportFormat::Dst21, 21);
    const CgatsSets sets = readCgatsSets(test::foreignCgats(84));
    ASSERT_EQ(sets.sets.size(), 84u);
    EXPECT_EQ(sets.sets[0].sampleId, "A1");
    EXPECT_EQ(sets.sets[0].line, 10);
    // D_RED is written with a plus sign and stands after D_VIS.
    EXPECT_DOUBLE_EQ(sets.sets[0].densities[0], rampDensity(0, 1, 21));
    EXPECT_DOUBLE_EQ(sets.sets[83].densities[3], 1.70);
}

TEST(ReferenceFromEachSource, CrLfOrLfAndTrailingBlanksAlike) {
    std::string fiery = test::tarvoFiery(kDst21Type);
    std::string lf;
    for (char c : fiery)
        if (c != '\r')
            lf += c;
    expectStrip(readReference(lf, "a.cm1"), ExportFormat::Dst21, 21);
    expectStrip(readReference(lf + "\n\n", "a.cm1"), ExportFormat::Dst21, 21);
}

TEST(ReferenceRefused, EmptyBinaryAndNeitherLayout) {
    EXPECT_EQ(problemOf(readReference("", "a")), (FileProblem{0, "the file is empty"}));
    EXPECT_EQ(problemOf(readReference(std::string("PK\x03\x04\n\nab\0cd", 12), "a")),
              (FileProblem{3, "a binary file, no text"}));
    struct Quiet final : MessageBoxes {
        MessageAnswer show(std::string_view, std::string_view, MessageButtons,
                           MessageIcon) override {
            return MessageAnswer::Ok;
        }
    } quiet;
    const ReadingTable strip = test::stripTable(21);
    const std::string display = renderTable({strip, 5, "8.12.2026", 'M'}, quiet);
    EXPECT_EQ(problemOf(readReference(display, "a")),
              (FileProblem{1, "neither a Fiery file (#!EFI 3) nor a CGATS file"}));
    // The file type the strip has no patch count of: another layout.
    const std::string custom = renderTable({strip, 2, "8.12.2026", 'M'}, quiet);
    EXPECT_EQ(problemOf(readReference(custom, "a")),
              (FileProblem{3, "type 1DST is no 1DST34 or 1DST21 strip"}));
}

TEST(ReferenceRefused, FieryCutShortOrRunningOnNamesTheLastLine) {
    const std::string fiery = test::tarvoFiery(kDst21Type);
    const std::string cut = fiery.substr(0, fiery.find("17 "));  // 16 patch lines
    EXPECT_EQ(problemOf(readReference(cut, "a")),
              (FileProblem{20, "the strip ends after 16 of 21 patches"}));
    // Cut inside a line: the torn line has too few values.
    EXPECT_EQ(problemOf(readReference(fiery.substr(0, fiery.find("17 ") + 7), "a")),
              (FileProblem{21, "2 values where 5 belong"}));
    EXPECT_EQ(problemOf(readReference(fiery + "22 0.05 0.05 0.05 0.05 \r\n", "a")),
              (FileProblem{26, "more patches than the 21 of 1DST21"}));
    EXPECT_EQ(problemOf(readReference(fiery.substr(0, fiery.find("type:")), "a")),
              (FileProblem{2, "no type line"}));
}

TEST(ReferenceRefused, AValueThatIsNoNumberOrNoDensityNamesItsLine) {
    std::string fiery = test::tarvoFiery(kDst34Type);
    const int line = lineOf(fiery, "\n7 ") + 1;
    fiery.replace(fiery.find("\n7 ") + 3, 4, "0.O5");
    EXPECT_EQ(problemOf(readReference(fiery, "a")), (FileProblem{line, "\"0.O5\" is no number"}));

    std::string cgats = test::tarvoCgats(kDst21Type);
    const int setLine = lineOf(cgats, "\n30 ") + 1;
    cgats.replace(cgats.find("\n30 ") + 4, 4, "nan ");
    EXPECT_EQ(problemOf(readReference(cgats, "a")), (FileProblem{setLine, "\"nan\" is no number"}));

    std::string far = test::tarvoFiery(kDst21Type);
    far.replace(far.find("\n3 ") + 3, 4, "45.5");
    EXPECT_EQ(problemOf(readReference(far, "a")),
              (FileProblem{lineOf(far, "\n3 ") + 1, "45.50 is beyond any density"}));
}

TEST(ReferenceRefused, CgatsWithFewerSetsThanPatchesOrTornOrWithoutItsFields) {
    EXPECT_EQ(problemOf(readReference(test::foreignCgats(83), "a")),
              (FileProblem{92, "83 sets, where a strip has 136 (1DST34) or 84 (1DST21)"}));
    for (const auto& [name, text] : test::cgatsSamples()) {
        if (name == "truncated") {
            // Cut after a whole set: the last line of the file is named.
            const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
            const auto sets = lines - lineOf(text, "BEGIN_DATA\r\n");
            EXPECT_EQ(problemOf(readReference(text, "a")),
                      (FileProblem{lines, std::to_string(sets) + " sets, but NUMBER_OF_SETS 84"}));
        }
    }
    std::string noVis = test::foreignCgats(84);
    noVis.replace(noVis.find("D_VIS"), 5, "D_VIZ");
    EXPECT_EQ(problemOf(readReference(noVis, "a")), (FileProblem{7, "no field D_VIS"}));
    std::string open = test::foreignCgats(84);
    open.replace(open.find("\"patch 2\""), 9, "\"patch 2");
    EXPECT_EQ(problemOf(readReference(open, "a")),
              (FileProblem{11, "a string without its closing quote"}));
}

TEST(ReferenceRefusal, NamesTheFileAndTheLine) {
    EXPECT_EQ(referenceRefusal("/data/ok.cm1", {3, "type 1DST is no 1DST34 or 1DST21 strip"}),
              "Not a reference: /data/ok.cm1, line 3: type 1DST is no 1DST34 or 1DST21 strip.");
    EXPECT_EQ(referenceRefusal("C:\\ok.cm1", {0, "the file is empty"}),
              "Not a reference: C:\\ok.cm1: the file is empty.");
}

TEST(ReferenceLoad, TakesTheFilesNameAndTellsAFileThatCannotBeRead) {
    test::TempDir dir;
    const std::string path = (dir / "press 3.cm1").string();
    std::ofstream(path, std::ios::binary) << test::tarvoFiery(kDst21Type);
    const ReferenceRead read = loadReference(path);
    ASSERT_TRUE(read.reference);
    EXPECT_EQ(read.reference->name, "press 3.cm1");

    const FileProblem missing = problemOf(loadReference((dir / "gone.cm1").string()));
    EXPECT_EQ(missing.line, 0);
    EXPECT_EQ(missing.what.rfind("the file cannot be read", 0), 0u) << missing.what;
    EXPECT_EQ(problemOf(loadReference(dir.path().string())).line, 0);  // a folder
}

TEST(ReferenceLoad, AFileFarTooLargeIsNotReadWhole) {
    test::TempDir dir;
    const std::string path = (dir / "huge.txt").string();
    std::ofstream(path, std::ios::binary) << std::string(3 << 20, '#');
    EXPECT_EQ(problemOf(loadReference(path)), (FileProblem{0, "far too large for a reference"}));
}

}  // namespace
}  // namespace tarvo
