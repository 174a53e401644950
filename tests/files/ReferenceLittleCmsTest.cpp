// The references the tests hold and a strip LittleCMS wrote itself, read by
// LittleCMS, the CGATS reader most colour tools share: reading through
// readWithLittleCms, the program's own reader must find the same sets.
#include <gtest/gtest.h>
#include <lcms2.h>

#include <memory>
#include <string>

#include "LittleCmsReader.h"
#include "ReferenceSamples.h"
#include "TempDir.h"
#include "files/ReferenceFile.h"

namespace tarvo {
namespace {

constexpr const char* kFields[] = {"SAMPLE_ID", "D_RED", "D_GREEN", "D_BLUE", "D_VIS"};

TEST(ReferenceAgainstLittleCms, EveryCgatsSampleGivesTheSameSetsOrIsRefusedByBoth) {
    for (const auto& [name, text] : test::cgatsSamples()) {
        SCOPED_TRACE(name);
        const test::LittleCmsReading theirs = test::readTextWithLittleCms(text);
        const CgatsSets ours = readCgatsSets(text);
        EXPECT_EQ(theirs.error.empty(), !ours.problem || name == "a value that is no number")
            << theirs.error;
        EXPECT_EQ(theirs.rows.size(), ours.problem ? theirs.rows.size() : ours.sets.size());
    }
}

struct It8Free {
    void operator()(void* handle) const { cmsIT8Free(handle); }
};

// A strip written by LittleCMS's own writer, as another colour tool would.
void saveWithLittleCms(const std::string& path, int patches) {
    std::unique_ptr<void, It8Free> it8(cmsIT8Alloc(nullptr));
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
    ASSERT_TRUE(cmsIT8SaveToFile(it8.get(), path.c_str()));
}

TEST(ReferenceAgainstLittleCms, AStripLittleCmsWroteIsAReference) {
    test::TempDir dir;
    for (int patches : {34, 21}) {
        const std::string path = (dir / "littlecms.it8").string();
        saveWithLittleCms(path, patches);
        EXPECT_EQ(test::readWithLittleCms(path).rows.size(), 4u * patches);
        const ReferenceRead read = loadReference(path);
        ASSERT_TRUE(read.reference) << read.problem->line << ": " << read.problem->what;
        EXPECT_EQ(read.reference->patches, patches);
        EXPECT_EQ(read.reference->name, "littlecms.it8");
        for (int block = 0; block < 4; ++block) {
            const auto& ink = read.reference->inks[static_cast<std::size_t>(block)];
            EXPECT_DOUBLE_EQ(ink.front(), test::kPaper);
            EXPECT_DOUBLE_EQ(ink.back(), test::kSolids[static_cast<std::size_t>(block)]);
        }
    }
}

}  // namespace
}  // namespace tarvo
