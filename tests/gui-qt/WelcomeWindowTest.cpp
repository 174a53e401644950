#include "gui-qt/WelcomeWindow.h"

#include <gtest/gtest.h>

#include <QImage>

#include "BmpFile.h"
#include "TempDir.h"
#include "app/WelcomeBitmap.h"

namespace tarvo {
namespace {

class WelcomeWindowTest : public ::testing::Test {
  protected:
    WelcomeBitmap load(const test::Bytes& file) {
        test::writeFile(welcomeBitmapPath(dir.path()), file);
        return loadWelcomeBitmap(welcomeBitmapPath(dir.path()));
    }
    static QColor at(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

    test::TempDir dir;
};

// Left half red, right half blue, top row green: where each lands on screen
// shows the picture was stretched, not cropped or tiled.
test::Bytes halvesPicture(int width, int height) {
    return test::bmpFile(width, height, [width](int x, int y) -> test::Rgb {
        if (y == 0)
            return {0, 255, 0};
        return x < width / 2 ? test::Rgb{255, 0, 0} : test::Rgb{0, 0, 255};
    });
}

TEST_F(WelcomeWindowTest, SmallPictureIsStretchedToTheWholeClientArea) {
    WelcomeWindow window(load(halvesPicture(4, 4)), nullptr);
    ASSERT_TRUE(window.hasPicture());
    EXPECT_EQ(window.size(), QSize(376, 200));
    const QImage shown = window.grab().toImage();
    EXPECT_EQ(at(shown, 2, 2), QColor(0, 255, 0));
    EXPECT_EQ(at(shown, 373, 45), QColor(0, 255, 0));
    EXPECT_EQ(at(shown, 2, 197), QColor(255, 0, 0));
    EXPECT_EQ(at(shown, 180, 120), QColor(255, 0, 0));
    EXPECT_EQ(at(shown, 196, 120), QColor(0, 0, 255));
    EXPECT_EQ(at(shown, 373, 197), QColor(0, 0, 255));
}

TEST_F(WelcomeWindowTest, LargePictureIsShrunkToTheClientArea) {
    WelcomeWindow window(load(halvesPicture(800, 500)), nullptr);
    const QImage shown = window.grab().toImage();
    EXPECT_EQ(at(shown, 10, 190), QColor(255, 0, 0));
    EXPECT_EQ(at(shown, 370, 190), QColor(0, 0, 255));
}

TEST_F(WelcomeWindowTest, MissingOrBrokenPictureLeavesTheWindowBlank) {
    test::Bytes notBm = test::bmpFile(4, 4);
    notBm[0] = 'X';
    for (const WelcomeBitmap& bitmap : {WelcomeBitmap{}, load(notBm)}) {
        WelcomeWindow window(bitmap, nullptr);
        EXPECT_FALSE(window.hasPicture());
        EXPECT_EQ(window.size(), QSize(376, 200));
        const QImage shown = window.grab().toImage();
        EXPECT_EQ(at(shown, 188, 100), window.palette().color(QPalette::Window));
    }
}

TEST_F(WelcomeWindowTest, CaptionHasNoTitleAndNoWindowMenuAndTheCloseBoxIsRefused) {
    WelcomeWindow window(WelcomeBitmap{}, nullptr);
    EXPECT_EQ(window.windowTitle(), " ")
        << "window systems show an empty title as the program name";
    EXPECT_TRUE(window.windowFlags() & Qt::WindowTitleHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
    window.show();
    EXPECT_FALSE(window.close()) << "a window manager's close box must not take the picture away";
    EXPECT_TRUE(window.isVisible());
    window.hide();
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace tarvo
