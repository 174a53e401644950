#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "AnsweringFileChooser.h"
#include "CycleRig.h"
#include "LittleCmsReader.h"
#include "files/Cgats.h"
#include "files/posix/PosixFileCreator.h"

namespace tarvo {
namespace {

using test::CgatsRow;

// The same four colour readings under each VERSION letter the cycle tells
// apart: "M", "L" (no percent; letter, time and the comment typed before the
// reading one column to the left) and any other (rows as "M", with a warning).
class CgatsVersionsTest : public ::testing::TestWithParam<char>, protected test::CycleRig {
  protected:
    CgatsVersionsTest() {
        window.initialise();
        window.settings().version = GetParam();
        cycle.startStopClicked();
    }

    void reading(const ReadingValues& values, std::string typedBefore = {}) {
        window.commentEdited(std::move(typedBefore));
        link.queueReading(ReadingKind::Colour, values);
        cycle.tick();
    }
    void commentAfter(std::string text) {
        window.commentEdited(std::move(text));
        window.commentClicked();
    }

    // Exported as the operator does it, into a real file.
    std::string exported() {
        const auto path = dir / "strip.txt";
        chooser.answerNext(path.string());
        PosixFileCreator files;
        EXPECT_TRUE(exportCgats(
            {window.table(), {1, "6.12.2026", "2026-12-06T14:05:09"}, "", boxes, chooser, files}));
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    bool withPercent() const { return GetParam() != 'L'; }
    // A row as the file should hold it: the percent only where one was measured.
    CgatsRow row(CgatsRow cells, const std::string& percent) const {
        if (withPercent()) {
            cells.insert(cells.begin() + 5, percent);
        }
        return cells;
    }

    test::AnsweringFileChooser chooser;
};

TEST_P(CgatsVersionsTest, EveryCellInItsOwnFieldWhereverTheVersionPutIt) {
    reading({1, 1500, 200, 300, 1000, 455}, "strip \"A\"");  // typed before
    reading({2, 1000, 900, 950, 800, 1000});
    commentAfter("after \x80");                // the euro sign in the program's 8-bit text
    reading({3, 0, -10, 0, 0, 52}, "before");  // no value above 0: no letter
    commentAfter("late");
    reading({4, 1200, 1200, 100, 100, 0});
    const std::string text = exported();

    // "M" lets the later comment take the earlier's cell; "L" keeps both.
    const std::string third = withPercent() ? "late" : "before; late";
    const std::string data = text.substr(text.find("BEGIN_DATA\r\n"));
    EXPECT_EQ(data, withPercent()
                        ? "BEGIN_DATA\r\n"
                          "1 1.50 0.20 0.30 1.00 45.50 \"C\" \"14: 5: 9\" \"strip 'A'\"\r\n"
                          "2 1.00 0.90 0.95 0.80 100.00 \"K\" \"14: 5: 9\" \"after \x80\"\r\n"
                          "3 0.00 -0.01 0.00 0.00 5.20 \"\" \"14: 5: 9\" \"late\"\r\n"
                          "4 1.20 1.20 0.10 0.10 0.00 \"C\" \"14: 5: 9\" \"\"\r\n"
                          "END_DATA\r\n"
                        : "BEGIN_DATA\r\n"
                          "1 1.50 0.20 0.30 1.00 \"C\" \"14: 5: 9\" \"strip 'A'\"\r\n"
                          "2 1.00 0.90 0.95 0.80 \"K\" \"14: 5: 9\" \"after \x80\"\r\n"
                          "3 0.00 -0.01 0.00 0.00 \"\" \"14: 5: 9\" \"before; late\"\r\n"
                          "4 1.20 1.20 0.10 0.10 \"C\" \"14: 5: 9\" \"\"\r\n"
                          "END_DATA\r\n");

    expectReadAs(
        test::readTextWithLittleCms(text),
        row({"SAMPLE_ID", "D_RED", "D_GREEN", "D_BLUE", "D_VIS", "COLOR", "TIME", "COMMENT"},
            "PERCENT"),
        {row({"1", "1.50", "0.20", "0.30", "1.00", "C", "14: 5: 9", "strip 'A'"}, "45.50"),
         row({"2", "1.00", "0.90", "0.95", "0.80", "K", "14: 5: 9", "after \x80"}, "100"),
         row({"3", "0.00", "-0.01", "0.00", "0.00", "", "14: 5: 9", third}, "5.20"),
         row({"4", "1.20", "1.20", "0.10", "0.10", "C", "14: 5: 9", ""}, "0")});
    EXPECT_NE(window.table().cell(3, withPercent() ? 9 : 8).find('"'), std::string::npos)
        << "the table keeps its text";
}

INSTANTIATE_TEST_SUITE_P(Letters, CgatsVersionsTest, ::testing::Values('M', 'L', 'X', 'A', '\0'),
                         [](const ::testing::TestParamInfo<char>& info) {
                             return info.param ? std::string(1, info.param) : std::string("Empty");
                         });

}  // namespace
}  // namespace tarvo
