#include "app/WelcomeBitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "BmpFile.h"
#include "TempDir.h"

namespace tarvo {
namespace {

using test::bmpFile;
using test::Bytes;
using test::putU16;
using test::putU32;

class WelcomeBitmapLoad : public ::testing::Test {
  protected:
    std::filesystem::path write(const Bytes& bytes) {
        const auto path = folder / kWelcomeBitmapName;
        test::writeFile(path, bytes);
        return path;
    }

    test::TempDir folder;
};

TEST_F(WelcomeBitmapLoad, ValidFileKeepsEverythingAfterTheFileHeader) {
    const Bytes file = bmpFile(3, 2);
    const WelcomeBitmap bitmap = loadWelcomeBitmap(write(file));
    ASSERT_TRUE(bitmap.loaded);
    EXPECT_EQ(bitmap.block.size(), file.size() - 14);
    EXPECT_EQ(bitmap.pixelOffset, 40u);  // bfOffBits 54 minus the file header
    EXPECT_EQ(bitmap.width(), 3);
    EXPECT_EQ(bitmap.height(), 2);
    EXPECT_EQ(bitmap.fileBytes(), file);
}

TEST_F(WelcomeBitmapLoad, FileBesideTheProgramIsTheOneRead) {
    write(bmpFile(2, 2));
    EXPECT_EQ(welcomeBitmapPath(folder.path()), folder / "TRWelcome.bmp");
    EXPECT_TRUE(loadWelcomeBitmap(welcomeBitmapPath(folder.path())).loaded);
}

TEST_F(WelcomeBitmapLoad, MissingFileIsNotLoaded) {
    EXPECT_FALSE(loadWelcomeBitmap(folder / kWelcomeBitmapName).loaded);
}

TEST_F(WelcomeBitmapLoad, FolderInPlaceOfTheFileIsNotLoaded) {
    std::filesystem::create_directory(folder / kWelcomeBitmapName);
    EXPECT_FALSE(loadWelcomeBitmap(folder / kWelcomeBitmapName).loaded);
}

TEST_F(WelcomeBitmapLoad, FileShorterThanTheFileHeaderIsNotLoaded) {
    Bytes file = bmpFile(2, 2);
    file.resize(13);
    EXPECT_FALSE(loadWelcomeBitmap(write(file)).loaded);
}

TEST_F(WelcomeBitmapLoad, FileWithoutTheBmMarkIsNotLoadedWhateverFollows) {
    Bytes file = bmpFile(2, 2);
    file[0] = 'M';
    file[1] = 'B';
    EXPECT_FALSE(loadWelcomeBitmap(write(file)).loaded);
    file[0] = 'b';
    file[1] = 'm';
    EXPECT_FALSE(loadWelcomeBitmap(write(file)).loaded);
}

TEST_F(WelcomeBitmapLoad, TruncatedPixelsAreNotLoaded) {
    Bytes file = bmpFile(4, 4);
    file.resize(file.size() - 1);  // the header still promises every row
    const WelcomeBitmap bitmap = loadWelcomeBitmap(write(file));
    EXPECT_FALSE(bitmap.loaded);
    EXPECT_TRUE(bitmap.block.empty());
}

TEST_F(WelcomeBitmapLoad, HeaderOnlyFileIsNotLoaded) {
    Bytes file = bmpFile(4, 4);
    file.resize(54);
    EXPECT_FALSE(loadWelcomeBitmap(write(file)).loaded);
}

TEST_F(WelcomeBitmapLoad, PixelOffsetBeyondTheFileIsNotLoaded) {
    Bytes file = bmpFile(2, 2);
    putU32(file, 10, static_cast<std::uint32_t>(file.size() + 100));
    EXPECT_FALSE(loadWelcomeBitmap(write(file)).loaded);
    putU32(file, 10, 4);  // before the file header's end
    EXPECT_FALSE(loadWelcomeBitmap(write(file)).loaded);
}

TEST_F(WelcomeBitmapLoad, HugeDimensionsDoNotOverflowTheSizeCheck) {
    Bytes file = bmpFile(2, 2);
    putU32(file, 18, 0x7FFFFFFF);
    putU32(file, 22, 0x80000001);  // top-down, as tall as can be
    EXPECT_FALSE(loadWelcomeBitmap(write(file)).loaded);
}

TEST_F(WelcomeBitmapLoad, TopDownPictureIsLoaded) {
    Bytes file = bmpFile(2, 2);
    putU32(file, 22, static_cast<std::uint32_t>(-2));
    const WelcomeBitmap bitmap = loadWelcomeBitmap(write(file));
    EXPECT_TRUE(bitmap.loaded);
    EXPECT_EQ(bitmap.height(), -2);
}

TEST_F(WelcomeBitmapLoad, UnpaintableBitDepthIsNotLoaded) {
    Bytes file = bmpFile(2, 2);
    putU16(file, 28, 7);
    EXPECT_FALSE(loadWelcomeBitmap(write(file)).loaded);
}

TEST_F(WelcomeBitmapLoad, OldStyleCoreHeaderIsLoaded) {
    // 12-byte header: width, height, planes and bit count as 16-bit words.
    Bytes file(14 + 12 + 2 * 8, 0);  // 2 x 2 at 24 bits: rows of 8 bytes
    file[0] = 'B';
    file[1] = 'M';
    putU32(file, 10, 26);
    putU32(file, 14, 12);
    putU16(file, 18, 2);
    putU16(file, 20, 2);
    putU16(file, 22, 1);
    putU16(file, 24, 24);
    EXPECT_TRUE(loadWelcomeBitmap(write(file)).loaded);
    file.pop_back();
    EXPECT_FALSE(loadWelcomeBitmap(write(file)).loaded);
}

}  // namespace
}  // namespace tarvo
