#include "excel/CellAddress.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(CellAddress, OutsideTheSheetIsEmpty) {
    EXPECT_EQ(cellAddress(0, 1), "");
    EXPECT_EQ(cellAddress(65537, 1), "");
    EXPECT_EQ(cellAddress(1, 0), "");
    EXPECT_EQ(cellAddress(1, 257), "");
    EXPECT_EQ(cellAddress(-1, -1), "");
}

TEST(CellAddress, SecondLetterStartsAfterZ) {
    EXPECT_EQ(cellAddress(1, 1), "A1");
    EXPECT_EQ(cellAddress(1, 26), "Z1");
    EXPECT_EQ(cellAddress(1, 27), "AA1");
    EXPECT_EQ(cellAddress(10, 28), "AB10");
    EXPECT_EQ(cellAddress(1, 52), "AZ1");
    EXPECT_EQ(cellAddress(1, 53), "BA1");
}

TEST(CellAddress, LastCellOfTheSheetIsIV65536) {
    EXPECT_EQ(cellAddress(65536, 256), "IV65536");
}

TEST(CopyPath, NameWithoutExtensionGetsXls) {
    EXPECT_EQ(copyPathWithExtension("D:\\data\\run"), "D:\\data\\run.xls");
    EXPECT_EQ(copyPathWithExtension("run"), "run.xls");
}

TEST(CopyPath, ExistingExtensionIsKept) {
    EXPECT_EQ(copyPathWithExtension("D:\\data\\run.old"), "D:\\data\\run.old");
    EXPECT_EQ(copyPathWithExtension("/home/ann/run.ods"), "/home/ann/run.ods");
}

TEST(CopyPath, DotInAFolderIsNotAnExtension) {
    EXPECT_EQ(copyPathWithExtension("D:\\my.dir\\run"), "D:\\my.dir\\run.xls");
    EXPECT_EQ(copyPathWithExtension("/home/ann/my.dir/run"), "/home/ann/my.dir/run.xls");
}

}  // namespace
}  // namespace tarvo
