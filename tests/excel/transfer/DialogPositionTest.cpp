#include "excel/transfer/DialogPosition.h"

#include <gtest/gtest.h>

#include "ScreenRects.h"
#include "TempDir.h"

namespace tarvo {
namespace {

using test::coversPartOf;
using test::liesOn;

constexpr int kWidth = 400;
constexpr int kHeight = 300;
const std::vector<ScreenRect> kOneScreen{{0, 0, 1280, 1024}};

ScreenRect dialogAt(ScreenPoint at) {
    return {at.x, at.y, kWidth, kHeight};
}

TEST(ExcelDialogPosition, GoesBesideTheMainWindowOnTheSideWithRoom) {
    struct Case {
        const char* where;
        ScreenRect main;
    };
    const Case cases[] = {
        {"room on the right", {10, 10, 560, 420}},
        {"only room on the left", {700, 100, 560, 420}},
        {"only room below", {100, 10, 1100, 500}},
        {"only room above", {100, 600, 1100, 420}},
    };
    for (const Case& c : cases) {
        const ScreenRect dialog =
            dialogAt(excelDialogPosition(c.main, kWidth, kHeight, kOneScreen, std::nullopt));
        EXPECT_FALSE(coversPartOf(dialog, c.main)) << c.where;
        EXPECT_TRUE(liesOn(dialog, kOneScreen[0])) << c.where;
    }
}

TEST(ExcelDialogPosition, RightOfTheMainWindowTopsAlign) {
    const ScreenPoint at =
        excelDialogPosition({10, 50, 560, 420}, kWidth, kHeight, kOneScreen, std::nullopt);
    EXPECT_GT(at.x, 570);
    EXPECT_EQ(at.y, 50);
}

TEST(ExcelDialogPosition, AMainWindowFillingTheScreenLeavesTheDialogOnTheScreen) {
    const ScreenRect main{0, 0, 1200, 1000};
    const ScreenRect dialog =
        dialogAt(excelDialogPosition(main, kWidth, kHeight, kOneScreen, std::nullopt));
    EXPECT_TRUE(liesOn(dialog, kOneScreen[0]));
    EXPECT_EQ(dialog.right(), 1280) << "the side with more room";
}

TEST(ExcelDialogPosition, ADialogLargerThanTheScreenKeepsItsTitleBarOnIt) {
    const ScreenPoint at =
        excelDialogPosition({0, 0, 1200, 1000}, 2000, 1500, kOneScreen, std::nullopt);
    EXPECT_EQ(at, (ScreenPoint{0, 0}));
}

TEST(ExcelDialogPosition, FollowsTheMainWindowToItsScreen) {
    const std::vector<ScreenRect> screens{{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    const ScreenRect dialog =
        dialogAt(excelDialogPosition({1300, 40, 560, 420}, kWidth, kHeight, screens, std::nullopt));
    EXPECT_TRUE(liesOn(dialog, screens[1]));
}

TEST(ExcelDialogPosition, TheOperatorsPlaceWinsWhileItCanStillBeGrabbed) {
    const ScreenRect main{10, 10, 560, 420};
    EXPECT_EQ(excelDialogPosition(main, kWidth, kHeight, kOneScreen, ScreenPoint{30, 40}),
              (ScreenPoint{30, 40}))
        << "even over the table, where the operator put it";
    EXPECT_EQ(excelDialogPosition(main, kWidth, kHeight, kOneScreen, ScreenPoint{-300, 900}),
              (ScreenPoint{-300, 900}))
        << "half off the screen, title bar still on it";
}

TEST(ExcelDialogPosition, APlaceNoLongerOnAnyScreenFallsBackBesideTheMainWindow) {
    const ScreenRect main{10, 10, 560, 420};
    const ScreenPoint gone[] = {{1300, 40}, {-390, 40}, {30, -5}, {30, 1010}};
    for (ScreenPoint remembered : gone) {
        const ScreenRect dialog =
            dialogAt(excelDialogPosition(main, kWidth, kHeight, kOneScreen, remembered));
        EXPECT_FALSE(coversPartOf(dialog, main)) << remembered.x << "," << remembered.y;
    }
}

TEST(ExcelDialogPosition, IsKeptInItsOwnSectionAndIgnoredWhenBroken) {
    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    EXPECT_EQ(rememberedExcelDialogPosition(ini), std::nullopt);
    rememberExcelDialogPosition(ini, {-120, 35});
    EXPECT_EQ(rememberedExcelDialogPosition(ini), (ScreenPoint{-120, 35}));
    EXPECT_EQ(ini.value("ExcelAuto", "Left"), std::nullopt);
    for (const char* broken : {"", "abc", "12px", "99999999999"}) {
        ini.write("ExcelDialog", "Top", broken);
        EXPECT_EQ(rememberedExcelDialogPosition(ini), std::nullopt) << broken;
    }
}

}  // namespace
}  // namespace tarvo
