#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "SimulatorProcess.h"
#include "TempDir.h"
#include "device/posix/PosixDeviceLink.h"
#include "files/IniFile.h"

namespace tarvo {
namespace {

using ::testing::ElementsAre;

TEST(PortPaths, MissingSectionGivesTtySDefaultsWrittenBack) {
    test::TempDir dir;
    IniFile settings(dir / "Tarvo.ini");
    EXPECT_THAT(loadPortPaths(settings),
                ElementsAre("/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"));
    EXPECT_EQ(settings.value("Ports", "COM1"), "/dev/ttyS0");
    EXPECT_EQ(settings.value("Ports", "COM4"), "/dev/ttyS3");
}

TEST(PortPaths, ConfiguredPathsAreKeptAndEmptyOnesDefaulted) {
    test::TempDir dir;
    IniFile settings(dir / "Tarvo.ini");
    ASSERT_TRUE(settings.write("ports", "com1", "/dev/serial/by-id/usb-Adapter-if00-port0"));
    ASSERT_TRUE(settings.write("Ports", "COM3", ""));
    const PortPaths paths = loadPortPaths(settings);
    EXPECT_EQ(paths[0], "/dev/serial/by-id/usb-Adapter-if00-port0");
    EXPECT_EQ(paths[2], "/dev/ttyS2");
    EXPECT_EQ(settings.value("Ports", "COM3"), "/dev/ttyS2");
}

TEST(PortPaths, OpenerRefusesNumbersWithoutAPath) {
    const SerialPortOpener opener = posixPortOpener({"/nonexistent/a", "", "", ""});
    std::string why;
    EXPECT_EQ(opener(0, why), nullptr);
    EXPECT_EQ(opener(5, why), nullptr);
    EXPECT_EQ(opener(1, why), nullptr);
    EXPECT_EQ(why, "/nonexistent/a: No such file or directory");
}

TEST(PosixDeviceLink, Com1FollowsTheConfiguredSymlinkNamedInCp1252ToTheDevice) {
    test::TempDir dir;
    const auto linkPath = dir / "ttyDensitometer-\u00E4\u20AC";
    test::SimulatorProcess simulator({"--link", linkPath.string(), "colour=3,1,2,3,4,5"},
                                     dir / "sim.log");
    ASSERT_FALSE(simulator.devicePath().empty());
    IniFile settings(dir / "Tarvo.ini");
    ASSERT_TRUE(settings.write("Ports", "COM1", (dir / "ttyDensitometer-\xE4\x80").string()));
    const auto link = makePosixDeviceLink(settings);
    std::string message;
    ASSERT_EQ(link->open(1, 4800, 8, 0, 0, 2, nullptr, message), 0) << message;
    ReadingValues values{};
    EXPECT_EQ(link->exchange(values), 0);
    EXPECT_THAT(values, ElementsAre(3, 1, 2, 3, 4, 5));
}

}  // namespace
}  // namespace tarvo
