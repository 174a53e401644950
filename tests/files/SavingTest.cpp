#include "files/Saving.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sys/ioctl.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "AnsweringFileChooser.h"
#include "RecordingMessageBoxes.h"
#include "TempDir.h"
#include "TestTables.h"
#include "files/FilePath.h"
#include "files/Render.h"
#include "files/posix/PosixFileCreator.h"

namespace tarvo {
namespace {

using test::AnsweringFileChooser;
using test::RecordingMessageBoxes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> filterNames(const std::vector<FileFilter>& filters) {
    std::vector<std::string> names;
    for (const FileFilter& filter : filters) {
        names.push_back(filter.name + "|" + filter.pattern);
    }
    return names;
}

TEST(SplitPath, UnderstandsDrivesAndBothKindsOfSlash) {
    const PathParts windows = splitPath("D:\\data\\strip1.txt");
    EXPECT_EQ(windows.drive, "D:");
    EXPECT_EQ(windows.folder, "\\data\\");
    EXPECT_EQ(windows.baseName, "strip1");
    EXPECT_EQ(windows.extension, ".txt");

    const PathParts posix = splitPath("/home/op/run.2/strip");
    EXPECT_EQ(posix.drive, "");
    EXPECT_EQ(posix.folder, "/home/op/run.2/");
    EXPECT_EQ(posix.baseName, "strip");
    EXPECT_EQ(posix.extension, "");

    const PathParts mixed = splitPath("C:/a\\b/c.d.e");
    EXPECT_EQ(mixed.folder, "/a\\b/");
    EXPECT_EQ(mixed.baseName, "c.d");
    EXPECT_EQ(mixed.extension, ".e");
}

TEST(SaveDialog, FiltersStartWithTheFormatsFamilyAndKeepTheirLeadingBlanks) {
    const auto fiery =
        ElementsAre(" Fiery (*.cm1)| *.cm1", " Display (*.txt)| *.txt", " ColorBus (*.den)| *.den");
    const auto colorBus =
        ElementsAre(" ColorBus (*.den)| *.den", " Fiery (*.cm1)| *.cm1", " Display (*.txt)| *.txt");
    const auto display =
        ElementsAre(" Display (*.txt)| *.txt", " Fiery (*.cm1)| *.cm1", " ColorBus (*.den)| *.den");
    EXPECT_THAT(filterNames(saveFilters(0)), fiery);
    EXPECT_THAT(filterNames(saveFilters(1)), fiery);
    EXPECT_THAT(filterNames(saveFilters(2)), fiery);
    EXPECT_THAT(filterNames(saveFilters(3)), colorBus);
    EXPECT_THAT(filterNames(saveFilters(4)), colorBus);
    EXPECT_THAT(filterNames(saveFilters(5)), display);
    EXPECT_THAT(filterNames(saveFilters(9)), display);
    EXPECT_EQ(defaultSaveExtension(9), "txt");
}

TEST(SaveDialog, OffersTheStoredPathWithTheFormatsExtension) {
    struct Case {
        std::string stored;
        int fileType;
        std::string offered;
        std::string folder;
    };
    const Case cases[] = {{"C:\\tarvo", 5, "C:\\tarvo.txt", "C:\\"},
                          {"D:\\data\\strip1.txt", 1, "D:\\data\\strip1.cm1", "D:\\data\\"},
                          {"C:\\", 5, "C:\\.txt", "C:\\"},
                          {"/home/op/strip.txt", 3, "/home/op/strip.den", "/home/op/"}};
    for (const Case& c : cases) {
        AnsweringFileChooser chooser;
        std::string stored = c.stored;
        EXPECT_EQ(chooseSaveFile(stored, c.fileType, "Save File", chooser), "");
        ASSERT_EQ(chooser.requests.size(), 1u);
        const FileDialogRequest& request = chooser.requests[0];
        EXPECT_EQ(request.initialFileName, c.offered);
        EXPECT_EQ(request.initialFolder, c.folder);
        EXPECT_EQ(stored, c.offered) << "the caller's path takes the offered name";
    }
}

TEST(SaveDialog, IsASaveAsDialogWithOverwritePromptAndFirstFilterSelected) {
    AnsweringFileChooser chooser;
    chooser.answerNext("/tmp/x.den");
    std::string stored = "C:\\tarvo";
    EXPECT_EQ(chooseSaveFile(stored, 4, "Save File", chooser), "/tmp/x.den");
    const FileDialogRequest& request = chooser.requests.at(0);
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(request.title, "Save File");
    EXPECT_EQ(request.defaultExtension, "den");
    EXPECT_EQ(request.selectedFilter, 0);
    EXPECT_TRUE(request.overwritePrompt);
}

// A Save button press against a settings file in a scratch folder.
class SaveTable : public ::testing::Test {
  protected:
    SaveTable() : ini(dir / "Tarvo.ini") {
        settings.load(ini);
        test::addReading(
            table, {"  345", "1.23", "0.98", "0.05", "1.50", "45.60", "C", "14: 5: 9", "strip 2"});
    }

    void save(int fileType) {
        settings.fileType = static_cast<std::int8_t>(fileType);
        saveTable({table, settings, ini, "6.12.2026", boxes, chooser, files});
    }
    std::string storedPath() const { return ini.value("Generic", "FILEPATH").value_or("<none>"); }
    std::string rendered(int fileType) {
        RecordingMessageBoxes quiet;
        return renderTable({table, fileType, "6.12.2026", 'M'}, quiet);
    }

    test::TempDir dir;
    IniFile ini;
    Settings settings;
    ReadingTable table;
    RecordingMessageBoxes boxes;
    AnsweringFileChooser chooser;
    PosixFileCreator files;
};

TEST_F(SaveTable, CancelCreatesNothingAndKeepsFilePath) {
    save(5);
    EXPECT_EQ(storedPath(), "C:\\tarvo");
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "only the settings file";
}

TEST_F(SaveTable, MissingFilePathKeyStartsAtTheDriveRoot) {
    std::filesystem::remove(dir / "Tarvo.ini");
    save(5);
    EXPECT_EQ(chooser.requests.at(0).initialFileName, "C:\\.txt");
}

TEST_F(SaveTable, WritesExactlyTheRenderedBytesAndStoresTheName) {
    const std::string name = (dir / "strip1.txt").string();
    chooser.answerNext(name);
    save(5);
    EXPECT_EQ(contents(name), rendered(5));
    EXPECT_EQ(storedPath(), name);
    EXPECT_EQ(settings.filePath, name);
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(SaveTable, Cp1252NameIsSpelledInUtf8OnDiskAndKeptInCp1252InTheSettings) {
    const std::string name = (dir / "D\xFCrer \x80.txt").string();
    chooser.answerNext(name);
    save(5);
    EXPECT_EQ(contents(dir / "D\u00FCrer \u20AC.txt"), rendered(5));
    EXPECT_FALSE(std::filesystem::exists(name));
    EXPECT_EQ(storedPath(), name);
}

TEST_F(SaveTable, NextSaveOffersTheLastNameWithTheNewFormatsExtension) {
    ini.write("Generic", "FILEPATH", "D:\\data\\strip1.txt");
    save(3);
    const FileDialogRequest& request = chooser.requests.at(0);
    EXPECT_EQ(request.initialFileName, "D:\\data\\strip1.den");
    EXPECT_EQ(request.filters.at(0).name, " ColorBus (*.den)");

    chooser.answerNext((dir / "strip1.txt").string());
    save(5);
    save(3);
    EXPECT_EQ(chooser.requests.at(2).initialFileName, (dir / "strip1.den").string());
}

TEST_F(SaveTable, ExistingFileIsReplacedWhole) {
    const auto name = dir / "old.txt";
    std::ofstream(name) << std::string(10000, 'x');
    chooser.answerNext(name.string());
    save(5);
    EXPECT_EQ(contents(name), rendered(5));
}

TEST_F(SaveTable, DstCustomIsRefusedAfterTheDialogWithoutAFile) {
    const auto name = dir / "custom.cm1";
    chooser.answerNext(name.string());
    save(2);
    ASSERT_EQ(chooser.requests.size(), 1u);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "This Filetype is not supported yet !");
    EXPECT_EQ(boxes.shown[0].caption, "Warning");
    EXPECT_FALSE(std::filesystem::exists(name));
    EXPECT_EQ(storedPath(), "C:\\tarvo");
}

TEST_F(SaveTable, RefusedLayoutLeavesAnEmptyFileWhoseNameIsStored) {
    const auto name = dir / "bw.den";
    chooser.answerNext(name.string());
    save(4);
    EXPECT_THAT(boxes.texts(), ElementsAre("No Colour-Format"));
    ASSERT_TRUE(std::filesystem::exists(name));
    EXPECT_EQ(std::filesystem::file_size(name), 0u);
    EXPECT_EQ(storedPath(), name.string());
}

TEST_F(SaveTable, FullDiskReportsWriteFailedAndStillStoresTheName) {
    if (::access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    chooser.answerNext("/dev/full");
    save(5);
    EXPECT_THAT(boxes.texts(), ElementsAre("Write file failed!"));
    EXPECT_EQ(boxes.shown[0].caption, "tarvo");
    EXPECT_EQ(storedPath(), "/dev/full");
}

TEST_F(SaveTable, UncreatableFileReportsWrongPathAndKeepsFilePath) {
    std::ofstream(dir / "plain") << "not a folder";
    for (const auto& name : {dir / "missing" / "a.txt", dir / "plain" / "a.txt"}) {
        chooser.answerNext(name.string());
        save(5);
        EXPECT_EQ(boxes.shown.back().text, "Wrong Path or no Space: " + name.string());
        EXPECT_EQ(boxes.shown.back().caption, "tarvo");
        EXPECT_FALSE(std::filesystem::exists(name));
    }
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(storedPath(), "C:\\tarvo");
}

TEST_F(SaveTable, FileLockedByAnotherProgramIsRefusedAndKeepsItsContents) {
    const auto name = dir / "held.txt";
    std::ofstream(name) << "theirs";
    const int fd = ::open(name.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    chooser.answerNext(name.string());
    save(5);
    ::close(fd);
    EXPECT_THAT(boxes.texts(), ElementsAre("Wrong Path or no Space: " + name.string()));
    EXPECT_EQ(contents(name), "theirs");
}

TEST_F(SaveTable, NamedPipeWithoutReaderIsRefusedInsteadOfHanging) {
    const auto name = dir / "pipe";
    ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
    chooser.answerNext(name.string());
    save(5);
    EXPECT_THAT(boxes.texts(), ElementsAre("Wrong Path or no Space: " + name.string()));
}

TEST_F(SaveTable, NameWithALineBreakIsRefusedAndPlantsNoKey) {
    std::vector<std::string> expected;
    for (const char* breakChar : {"\n", "\r"}) {
        const std::string name = (dir / "a").string() + breakChar + "COMMNO=9";
        chooser.answerNext(name);
        save(5);
        expected.push_back("Wrong Path or no Space: " + name);
        EXPECT_FALSE(std::filesystem::exists(name));
    }
    EXPECT_EQ(boxes.texts(), expected);
    EXPECT_EQ(storedPath(), "C:\\tarvo");
    EXPECT_EQ(ini.value("Generic", "COMMNO"), "1");
}

// The reader drains the pipe only once it is full, so a writer that does not
// wait for it loses the rest.
TEST_F(SaveTable, SlowReaderOfANamedPipeGetsEveryByte) {
    const auto name = dir / "pipe";
    ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0);
    const int reader = ::open(name.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    test::addNumberedReadings(table, 3000);
    const std::string expected = rendered(5);
    const int capacity = ::fcntl(reader, F_GETPIPE_SZ);
    ASSERT_GT(expected.size(), static_cast<std::size_t>(capacity));
    std::atomic<bool> saved = false;
    std::string received;
    std::thread drain([&] {
        int queued = 0;
        for (int spins = 0; spins < 20'000'000 && !saved && queued < capacity; ++spins) {
            ::ioctl(reader, FIONREAD, &queued);
        }
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(reader, buffer, sizeof buffer);
            if (got > 0) {
                received.append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 && saved) {
                break;
            }
        }
    });
    chooser.answerNext(name.string());
    save(5);
    saved = true;
    drain.join();
    ::close(reader);
    EXPECT_THAT(boxes.texts(), IsEmpty());
    EXPECT_EQ(received.size(), expected.size());
    EXPECT_TRUE(received == expected);
}

TEST_F(SaveTable, LongNameIsStoredCutTo255Characters) {
    const auto folder = dir / std::string(200, 'f');
    std::filesystem::create_directory(folder);
    const std::string name = (folder / (std::string(100, 'n') + ".txt")).string();
    chooser.answerNext(name);
    save(5);
    EXPECT_EQ(contents(name), rendered(5));
    EXPECT_EQ(storedPath(), name.substr(0, 255));
    EXPECT_EQ(settings.filePath.size(), 255u);
}

// Fails the way a disk that fills up during the write does.
class FailingFiles final : public FileCreator {
  public:
    bool failWrite = false;
    bool failClose = false;
    std::string written;

    std::unique_ptr<OutputFile> create(const std::string&) override {
        return std::make_unique<File>(*this);
    }

  private:
    class File final : public OutputFile {
      public:
        explicit File(FailingFiles& owner) : owner_(owner) {}
        bool write(std::string_view bytes) override {
            owner_.written.append(bytes.substr(0, bytes.size() / 2));
            return !owner_.failWrite;
        }
        bool close() override { return !owner_.failClose; }

      private:
        FailingFiles& owner_;
    };
};

TEST_F(SaveTable, ShortWriteOrFailedCloseIsNeverReportedAsSuccess) {
    FailingFiles failing;
    for (bool closeFails : {false, true}) {
        failing.failWrite = !closeFails;
        failing.failClose = closeFails;
        chooser.answerNext("/anywhere/strip.txt");
        settings.fileType = 5;
        EXPECT_FALSE(saveTable({table, settings, ini, "6.12.2026", boxes, chooser, failing}));
    }
    EXPECT_THAT(boxes.texts(), ElementsAre("Write file failed!", "Write file failed!"));
}

// The reading journal counts a table as saved only on a true answer.
TEST_F(SaveTable, OnlyAFileWrittenWholeCountsAsSaved) {
    const auto saveAs = [&](int fileType, const std::string& name) {
        settings.fileType = static_cast<std::int8_t>(fileType);
        if (!name.empty())
            chooser.answerNext((dir / name).string());
        return saveTable({table, settings, ini, "6.12.2026", boxes, chooser, files});
    };
    EXPECT_TRUE(saveAs(5, "strip.txt"));
    EXPECT_FALSE(saveAs(5, "")) << "cancelled";
    EXPECT_FALSE(saveAs(2, "custom.cm1")) << "1DSTCustom is not saved";
    EXPECT_FALSE(saveAs(4, "bw.den")) << "a colour table refused by the density layout";
    EXPECT_FALSE(saveAs(5, "missing/strip.txt")) << "no such folder";
}

}  // namespace
}  // namespace tarvo
