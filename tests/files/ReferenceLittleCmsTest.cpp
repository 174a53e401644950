// Every CGATS text the tests hold is read by LittleCMS too, the reader most
// colour tools share: what the program's own reader finds must be what
// LittleCMS finds, set by set.
#include <gtest/gtest.h>
#include <lcms2.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "ReferenceSamples.h"
#include "TempDir.h"
#include "files/ReferenceFile.h"

namespace tarvo {
namespace {

constexpr const char* kFields[] = {"SAMPLE_ID", "D_RED", "D_GREEN", "D_BLUE", "D_VIS"};

struct It8Free {
    void operator()(void* handle) const { cmsIT8Free(handle); }
};
using It8 = std::unique_ptr<void, It8Free>;

void quiet(cmsContext, cmsUInt32Number, const char*) {}

It8 loadWithLittleCms(const test::TempDir& dir, const std::string& text) {
    cmsSetLogErrorHandler(quiet);
    const std::string path = (dir / "sample.txt").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    return It8(cmsIT8LoadFromFile(nullptr, path.c_str()));
}

std::string cell(const It8& it8, int set, const char* field) {
    const char* text = cmsIT8GetDataRowCol(it8.get(), set, cmsIT8FindDataFormat(it8.get(), field));
    return text ? text : "";
}

bool isWholeNumber(const std::string& text) {
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

void expectSameSets(const CgatsSets& ours, const It8& theirs) {
    const auto count = static_cast<int>(cmsIT8GetPropertyDbl(theirs.get(), "NUMBER_OF_SETS"));
    ASSERT_EQ(static_cast<int>(ours.sets.size()), count);
    for (int set = 0; set < count; ++set) {
        const CgatsSet& mine = ours.sets[static_cast<std::size_t>(set)];
        EXPECT_EQ(mine.sampleId, cell(theirs, set, kFields[0])) << "set " << set + 1;
        for (int i = 0; i < 4; ++i) {
            const int field = cmsIT8FindDataFormat(theirs.get(), kFields[i + 1]);
            EXPECT_NEAR(mine.densities[static_cast<std::size_t>(i)],
                        cmsIT8GetDataRowColDbl(theirs.get(), set, field), 1e-12)
                << "set " << set + 1 << " " << kFields[i + 1];
        }
    }
}

TEST(ReferenceAgainstLittleCms, EveryCgatsSampleGivesTheSameSetsOrIsRefusedByBoth) {
    test::TempDir dir;
    for (const auto& [name, text] : test::cgatsSamples()) {
        SCOPED_TRACE(name);
        const CgatsSets ours = readCgatsSets(text);
        const It8 theirs = loadWithLittleCms(dir, text);
        if (!ours.problem) {
            ASSERT_TRUE(theirs) << "LittleCMS refuses what the program reads";
            expectSameSets(ours, theirs);
        } else if (theirs) {
            // LittleCMS keeps any word as a value; the program wants a number
            // there, and only there may the two part.
            const std::string& what = ours.problem->what;
            ASSERT_NE(what.find("is no number"), std::string::npos) << what;
            const std::string word = what.substr(1, what.find('"', 1) - 1);
            EXPECT_NE(text.find(word), std::string::npos);
            EXPECT_FALSE(isWholeNumber(word));
        }
    }
}

// A strip written by LittleCMS's own writer, as another colour tool would.
std::string savedByLittleCms(const test::TempDir& dir, int patches) {
    It8 it8(cmsIT8Alloc(nullptr));
    cmsIT8SetSheetType(it8.get(), "CGATS.17");
    cmsIT8SetPropertyStr(it8.get(), "ORIGINATOR", "LittleCMS");
    cmsIT8SetPropertyDbl(it8.get(), "NUMBER_OF_FIELDS", 5);
    for (int field = 0; field < 5; ++field)
        cmsIT8SetDataFormat(it8.get(), field, kFields[field]);
    const int sets = 4 * patches;
    cmsIT8SetPropertyDbl(it8.get(), "NUMBER_OF_SETS", sets);
    for (int k = 0; k < sets; ++k) {
        const int block = k / patches;
        cmsIT8SetDataRowCol(it8.get(), k, 0, ("P" + std::to_string(k + 1)).c_str());
        for (int ink = 0; ink < 4; ++ink) {
            const double value =
                ink == block ? test::rampDensity(block, k % patches + 1, patches) : test::kPaper;
            cmsIT8SetDataRowColDbl(it8.get(), k, ink + 1, value);
        }
    }
    const std::string path = (dir / "littlecms.it8").string();
    EXPECT_TRUE(cmsIT8SaveToFile(it8.get(), path.c_str()));
    return path;
}

TEST(ReferenceAgainstLittleCms, AStripLittleCmsWroteIsAReference) {
    test::TempDir dir;
    for (int patches : {34, 21}) {
        const std::string path = savedByLittleCms(dir, patches);
        const ReferenceRead read = loadReference(path);
        ASSERT_TRUE(read.reference) << read.problem->line << ": " << read.problem->what;
        EXPECT_EQ(read.reference->patches, patches);
        EXPECT_EQ(read.reference->name, "littlecms.it8");
        for (int block = 0; block < 4; ++block) {
            EXPECT_DOUBLE_EQ(read.reference->inks[static_cast<std::size_t>(block)].back(),
                             test::kSolids[static_cast<std::size_t>(block)]);
        }
        std::ifstream in(path, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        expectSameSets(readCgatsSets(text), loadWithLittleCms(dir, text));
    }
}

}  // namespace
}  // namespace tarvo
