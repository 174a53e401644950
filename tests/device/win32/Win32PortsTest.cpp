// The system's serial ports as tarvo.exe lists and opens them, under wine
// (scripts/test-windows): the listing from ports made in the prefix's registry
// by the test itself, and [Ports] COM1=COM7 opening the simulator the script
// links as the prefix's COM7 (colour=9,1500,300,200,100,400). COM3 of the
// prefix is a folder, which CreateFileA refuses as a missing port.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "SystemPortFixture.h"
#include "TempDir.h"
#include "device/DeviceLink.h"
#include "device/PortSettings.h"
#include "device/PortsDialogLogic.h"
#include "device/win32/Win32DeviceLink.h"
#include "device/win32/Win32SystemPorts.h"
#include "files/IniFile.h"

namespace tarvo {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

std::vector<std::string> labels(const std::vector<ListedDevice>& devices) {
    std::vector<std::string> shown;
    for (const auto& listed : devices)
        shown.push_back(listed.device.label);
    return shown;
}

TEST(Win32SystemPorts, ListsTheRegistrysPortsWithTheSetupApisFriendlyNameAndSeesOneAdded) {
    test::SystemPortFixture fixture;
    ASSERT_TRUE(fixture.addPort("COM21"));
    ASSERT_TRUE(fixture.addPort("COM22", "USB Serial Port (COM22)"));
    Win32SystemPorts system;
    SystemPortListing listing(system);
    EXPECT_THAT(labels(listing.listNow()), Contains("COM21"));
    EXPECT_THAT(labels(listing.listNow()), Contains("USB Serial Port (COM22)"));
    EXPECT_EQ(listing.status("COM23"), "missing");

    ASSERT_TRUE(fixture.addPort("COM23"));
    EXPECT_THAT(labels(listing.listNow()), Contains("COM23"));
    EXPECT_EQ(listing.status("com23"), "present");
}

class MappedPort : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("TARVO_SIM_LOGS") == nullptr)
            GTEST_SKIP() << "needs the simulators of scripts/test-windows";
    }
    int openAsStartDev(int comNumber) {
        return link->open(comNumber, 4800, 8, 0, 0, 2, nullptr, message);
    }

    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    std::unique_ptr<DeviceLink> link = makeWin32DeviceLink(ini);
    std::string message;
};

TEST_F(MappedPort, Com1MappedToCom7OpensTheDeviceOnTheSystemsCom7) {
    ASSERT_TRUE(writePortPath(ini, 1, "COM7"));
    ASSERT_EQ(openAsStartDev(1), 0) << message;
    ReadingValues values{};
    EXPECT_EQ(link->exchange(values), 0);
    EXPECT_THAT(values, ElementsAre(9, 1500, 300, 200, 100, 400));
    link->close();
}

TEST_F(MappedPort, FailureTextNamesTheMainWindowsComNotTheSystemPort) {
    ASSERT_TRUE(writePortPath(ini, 2, "COM3"));
    EXPECT_EQ(openAsStartDev(2), -1);
    EXPECT_EQ(message, "Cannot open COM2 ! E4");
}

}  // namespace
}  // namespace tarvo
