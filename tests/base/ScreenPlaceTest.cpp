#include "base/ScreenPlace.h"

#include <gtest/gtest.h>

#include "ScreenRects.h"

namespace tarvo {
namespace {

using test::coversPartOf;
using test::liesOn;

const ScreenRect kScreen{0, 0, 1280, 1024};
const std::vector<ScreenRect> kOneScreen{kScreen};
// The Strip window at 96 and at 144 dots per inch.
constexpr int kWidth = 700, kHeight = 540;
constexpr int kLargeWidth = 1050, kLargeHeight = 810;

TEST(StripWindowPlace, OpensWholeBesideTheMainWindowWhereASideHoldsIt) {
    const ScreenRect main{10, 40, 555, 440};
    const ScreenRect strip = shrunkBesideMainWindow(main, kWidth, kHeight, kOneScreen);
    EXPECT_EQ(strip, (ScreenRect{main.right() + 8, 40, kWidth, kHeight}));
}

// The main window centred on a 1280 by 1024 screen leaves no side the whole
// Strip window fits: it opens narrower beside the table, not over it.
TEST(StripWindowPlace, ShrinksBesideTheCentredMainWindowRatherThanCoverItsTable) {
    const ScreenRect main{362, 292, 555, 440};
    const ScreenRect strip = shrunkBesideMainWindow(main, kWidth, kHeight, kOneScreen);
    EXPECT_FALSE(coversPartOf(strip, main));
    EXPECT_TRUE(liesOn(strip, kScreen));
    EXPECT_GE(2 * strip.width, kWidth);
    EXPECT_EQ(strip.height, kHeight);
    EXPECT_EQ(strip.top, main.top) << "lined up with the main window";
}

// At 144 DPI the main window fills most of the screen: the Strip window
// keeps its size and the screen, and covers no more of the table than it must.
TEST(StripWindowPlace, WithNoRoomBesideItStaysWholeOnTheScreenAtTheSideWithMoreRoom) {
    const ScreenRect main{224, 182, 832, 660};
    const ScreenRect strip = shrunkBesideMainWindow(main, kLargeWidth, kLargeHeight, kOneScreen);
    EXPECT_TRUE(liesOn(strip, kScreen));
    EXPECT_EQ(strip.width, kLargeWidth);
    EXPECT_EQ(strip.height, kLargeHeight);
    EXPECT_EQ(strip.right(), kScreen.right());
}

TEST(StripWindowPlace, AWindowLargerThanTheScreenIsMadeToFitIt) {
    EXPECT_EQ(shrunkBesideMainWindow({100, 100, 1000, 800}, 2000, 1500, kOneScreen), kScreen);
    EXPECT_EQ(shrunkBesideMainWindow({0, 0, 600, 400}, 2000, 1500, kOneScreen),
              (ScreenRect{608, 0, 672, 1024}))
        << "made to fit the screen, then beside the main window";
}

TEST(StripWindowPlace, OpensOnTheMainWindowsScreen) {
    const std::vector<ScreenRect> screens{kScreen, {1280, 0, 1920, 1080}};
    const ScreenRect main{1300, 40, 555, 440};
    const ScreenRect strip = shrunkBesideMainWindow(main, kWidth, kHeight, screens);
    EXPECT_TRUE(liesOn(strip, screens[1]));
    EXPECT_FALSE(coversPartOf(strip, main));
    EXPECT_EQ(strip.width, kWidth);
}

}  // namespace
}  // namespace tarvo
