#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "TempDir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kUsr = fs::path(TARVO_STAGED_TREE) / "usr";
const fs::path kProgramFolder = kUsr / "lib/tarvo";
constexpr int kRunDeadlineMs = 60000;

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

QString text(const fs::path& path) {
    return QString::fromStdString(path.string());
}

// Started through its link in usr/bin, with settings and state folders of its
// own so that the user's are never touched.
ProgramRun runInstalled(const std::string& program, const QStringList& arguments,
                        const fs::path& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", text(home));
    environment.insert("XDG_CONFIG_HOME", text(home / "config"));
    environment.insert("XDG_STATE_HOME", text(home / "state"));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(text(kUsr / "bin" / program), arguments);
    ProgramRun run;
    if (!process.waitForFinished(kRunDeadlineMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// The value of "Key=" in a desktop entry, empty when the key is missing.
std::string entryValue(const std::string& entry, const std::string& key) {
    const std::string start = "\n" + key + "=";
    const auto at = entry.find(start);
    if (at == std::string::npos)
        return {};
    const auto from = at + start.size();
    return entry.substr(from, entry.find('\n', from) - from);
}

int pixelsOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff) ? 1 : 0;
    return count;
}

TEST(PackageLayout, ProgramsLieInTheirFolderAndRelativeBinLinksLeadThere) {
    for (const std::string name : {"tarvo", "densitometer-sim"}) {
        SCOPED_TRACE(name);
        const fs::path link = kUsr / "bin" / name;
        ASSERT_TRUE(fs::is_symlink(link));
        // A relative link stays right wherever the tree is unpacked.
        EXPECT_TRUE(fs::read_symlink(link).is_relative());
        EXPECT_TRUE(fs::is_regular_file(kProgramFolder / name));
        EXPECT_EQ(fs::canonical(link), fs::canonical(kProgramFolder / name));
    }
    EXPECT_TRUE(fs::is_regular_file(kProgramFolder / "TRWelcome.bmp"));
    for (const char* file : {"share/man/man1/tarvo.1.gz", "share/man/man1/densitometer-sim.1.gz",
                             "share/doc/tarvo/copyright", "share/doc/tarvo/changelog.gz"}) {
        EXPECT_TRUE(fs::is_regular_file(kUsr / file)) << file;
    }
}

TEST(PackageLayout, ProgramsStartThroughTheirLinks) {
    tarvo::test::TempDir home;
    const ProgramRun version = runInstalled("tarvo", {"--version"}, home.path());
    EXPECT_EQ(version.exitCode, 0) << version.err;
    EXPECT_EQ(version.out, "tarvo 1.22\n");
    const ProgramRun simulator = runInstalled("densitometer-sim", {"--help"}, home.path());
    EXPECT_EQ(simulator.exitCode, 0) << simulator.err;
    EXPECT_EQ(simulator.out.rfind("usage: densitometer-sim", 0), 0u) << simulator.out;
}

// Started through the link, the program must look for its picture where the
// link leads: there is none beside the link.
TEST(PackageLayout, WelcomePictureIsFoundThroughTheBinLink) {
    ASSERT_FALSE(fs::exists(kUsr / "bin/TRWelcome.bmp"));
    tarvo::test::TempDir home;
    const fs::path shot = home / "main-window.png";
    const ProgramRun run = runInstalled("tarvo", {"--screenshot", text(shot)}, home.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QImage picture(text(shot));
    ASSERT_FALSE(picture.isNull());
    // The welcome picture's two cyan patches, 36 x 30 pixels each.
    EXPECT_GE(pixelsOf(picture, qRgb(0, 160, 227)), 2 * 36 * 30);
}

// The desktop's menu and software centre reach the program only through the
// names these files give; a name that misses its file is no validator's error.
TEST(PackageLayout, DesktopEntryNamesTheLinkAndIconsOfEachSize) {
    const std::string id = TARVO_APP_ID;
    const std::string entry = readFile(kUsr / "share/applications" / (id + ".desktop"));
    const std::string command = entryValue(entry, "Exec");
    ASSERT_FALSE(command.empty());
    EXPECT_TRUE(fs::is_symlink(kUsr / "bin" / command)) << command;
    const std::string icon = entryValue(entry, "Icon");
    ASSERT_FALSE(icon.empty());
    for (const int size : {48, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const QImage picture(
            text(kUsr / "share/icons/hicolor" / folder / "apps" / (icon + ".png")));
        EXPECT_EQ(picture.size(), QSize(size, size)) << folder;
    }
    EXPECT_TRUE(fs::is_regular_file(kUsr / "share/icons/hicolor/scalable/apps" / (icon + ".svg")));
    const std::string metainfo = readFile(kUsr / "share/metainfo" / (id + ".metainfo.xml"));
    EXPECT_NE(metainfo.find("<launchable type=\"desktop-id\">" + id + ".desktop</launchable>"),
              std::string::npos);
    EXPECT_NE(metainfo.find("<release version=\"1.22\""), std::string::npos);
}

}  // namespace
