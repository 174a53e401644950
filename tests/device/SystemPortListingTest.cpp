#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "TempDir.h"
#include "device/PortSettings.h"
#include "device/PortsDialogLogic.h"
#include "device/SystemPortListing.h"
#include "files/IniFile.h"

namespace tarvo {
namespace {

// The ports the system lists, changed by the test as an adapter comes or goes.
class ListedPorts final : public SystemPorts {
  public:
    std::vector<std::string> names() override { return names_; }
    std::map<std::string, std::string> friendlyNames() override { return friendly_; }

    std::vector<std::string> names_;
    std::map<std::string, std::string> friendly_;
};

std::vector<std::string> labels(const std::vector<ListedDevice>& devices) {
    std::vector<std::string> shown;
    for (const auto& listed : devices)
        shown.push_back(listed.device.label + " = " + listed.device.path);
    return shown;
}

class SystemPortRules : public ::testing::Test {
  protected:
    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    ListedPorts system;
    SystemPortListing listing{system};
};

TEST_F(SystemPortRules, PortsComeInNumberOrderUnderTheirFriendlyNameWhereTheyHaveOne) {
    system.names_ = {"COM10", "COM7", "COM1", "COM7"};
    system.friendly_ = {{"COM7", "USB Serial Port (COM7)"}, {"COM10", "Bluetooth link"}};
    EXPECT_EQ(labels(listing.listNow()),
              (std::vector<std::string>{"COM1 = COM1", "USB Serial Port (COM7) = COM7",
                                        "Bluetooth link (COM10) = COM10"}));
}

TEST_F(SystemPortRules, WithoutAnEntryComNIsTheSystemsComNAndSaysWhetherItIsThere) {
    system.names_ = {"COM1"};
    PortsDialogLogic logic(ini, listing);
    EXPECT_EQ(logic.comPort(1), (PortsDialogLogic::ComPortRow{"COM1", "present"}));
    EXPECT_EQ(logic.comPort(4), (PortsDialogLogic::ComPortRow{"COM4", "missing"}));
    EXPECT_EQ(comToolTipNow(ini, listing, 1), "COM1: COM1 (present)");
    EXPECT_FALSE(ini.value("Ports", "COM1")) << "nothing is written before a choice";
}

TEST_F(SystemPortRules, ChoiceIsWrittenAtOnceAsThePortNameHoweverItWasTyped) {
    system.names_ = {"COM7"};
    PortsDialogLogic logic(ini, listing);
    ASSERT_TRUE(logic.choose(1, " com7 "));
    EXPECT_EQ(ini.value("Ports", "COM1"), "COM7");
    EXPECT_EQ(portPath(ini, 1, PortNaming::SystemPorts), "COM7");
    EXPECT_EQ(logic.comPort(1), (PortsDialogLogic::ComPortRow{"COM7", "present"}));
    ASSERT_TRUE(logic.choose(2, "\\\\.\\COM12"));
    EXPECT_EQ(ini.value("Ports", "COM2"), "COM12");
    EXPECT_EQ(comToolTipNow(ini, listing, 2), "COM2: COM12 (missing)");
}

TEST_F(SystemPortRules, RefreshSeesAnAdapterPluggedInWhileTheWindowIsOpen) {
    system.names_ = {"COM1"};
    ASSERT_TRUE(writePortPath(ini, 3, "COM7"));
    PortsDialogLogic logic(ini, listing);
    EXPECT_EQ(logic.comPort(3).status, "missing");
    EXPECT_FALSE(logic.refresh());
    system.names_.push_back("COM7");
    system.friendly_["COM7"] = "USB Serial Port (COM7)";
    EXPECT_TRUE(logic.refresh());
    EXPECT_EQ(logic.comPort(3).status, "present");
    ASSERT_EQ(logic.devices().size(), 2u);
    EXPECT_EQ(logic.devices()[1].device.label, "USB Serial Port (COM7)");
}

TEST(SystemPortNames, OnlyComNamesAreCapitalisedAndTheDevicePrefixDropped) {
    EXPECT_EQ(systemPortName("\\\\.\\com3"), "COM3");
    EXPECT_EQ(systemPortName("cOm15"), "COM15");
    EXPECT_EQ(systemPortName("CNCA0"), "CNCA0");
    EXPECT_EQ(systemPortName("comx"), "comx");
}

}  // namespace
}  // namespace tarvo
