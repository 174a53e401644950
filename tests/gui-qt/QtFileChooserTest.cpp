#include "gui-qt/QtFileChooser.h"

#include <QDir>
#include <QFileDialog>

#include <gtest/gtest.h>

#include "QtTestApplication.h"
#include "TempDir.h"
#include "files/Saving.h"

namespace tarvo {
namespace {

FileDialogRequest saveRequest(std::string storedPath, int fileType) {
    // The request the Save button makes, caught before any dialog shows.
    struct Catcher final : FileChooser {
        FileDialogRequest request;
        std::string choose(const FileDialogRequest& r) override {
            request = r;
            return {};
        }
    } catcher;
    chooseSaveFile(storedPath, fileType, kSaveTitle, catcher);
    return catcher.request;
}

class QtFileDialogSetup : public ::testing::Test {
  protected:
    QApplication& app = test::qtTestApplication();  // before any widget
    QFileDialog dialog;
};

TEST_F(QtFileDialogSetup, SaveAsShowsTitleAndFiltersInOrderAndSelectsTheFormats) {
    test::TempDir dir;
    configureFileDialog(dialog, saveRequest((dir / "strip1.txt").string(), 3));
    EXPECT_EQ(dialog.windowTitle(), "Save File");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    // Qt's dialog shows its type names without leading blanks.
    EXPECT_EQ(dialog.nameFilters(),
              QStringList({"ColorBus (*.den)", "Fiery (*.cm1)", "Display (*.txt)"}));
    EXPECT_EQ(dialog.selectedNameFilter(), "ColorBus (*.den)");
    EXPECT_EQ(dialog.defaultSuffix(), "den");
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(),
              QDir(QString::fromStdString(dir.path().string())).canonicalPath());
}

TEST_F(QtFileDialogSetup, FolderThatDoesNotExistHereStartsAtHome) {
    configureFileDialog(dialog, saveRequest("C:\\tarvo", 5));
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir::home().canonicalPath());
}

TEST(QtNameFilters, PatternIsAddedOnlyWhereTheNameDoesNotShowOne) {
    FileDialogRequest request;
    request.filters = {{" Fiery (*.cm1)", " *.cm1"}, {"Workbook", " *.xls"}};
    EXPECT_EQ(nameFilters(request), QStringList({" Fiery (*.cm1)", "Workbook (*.xls)"}));
}

}  // namespace
}  // namespace tarvo
