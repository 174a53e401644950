#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeDeviceProbe.h"
#include "TempDir.h"
#include "device/PortSettings.h"
#include "device/PortsDialogLogic.h"
#include "device/SerialDeviceList.h"
#include "files/IniFile.h"

namespace tarvo {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> labels(const SerialDeviceList& list) {
    std::vector<std::string> shown;
    for (const auto& device : list.devices())
        shown.push_back(device.label);
    return shown;
}

class PortListing : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::FakeDeviceProbe probe{dir / "root"};
    SerialDeviceList list{probe.root(), probe};
};

TEST_F(PortListing, ByIdLinksComeFirstNamingTheirNodeThenUsbAcmAndUartsInNaturalOrder) {
    probe.addNode("ttyUSB10");
    probe.addNode("ttyUSB2");
    probe.addNode("ttyACM0");
    probe.addNode("ttyS0");
    probe.addNode("ttyS1");
    probe.addNode("ttyUSBx");
    probe.addNode("tty0");
    probe.giveUart("ttyS1");
    probe.addById("usb-FTDI_FT232R_A1B2-if00-port0", "ttyUSB2");
    EXPECT_TRUE(list.refresh());
    EXPECT_THAT(labels(list),
                ElementsAre("usb-FTDI_FT232R_A1B2-if00-port0 (ttyUSB2)", "/dev/ttyUSB2",
                            "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyS1"));
    EXPECT_EQ(list.devices()[0].path,
              (probe.root() / "dev/serial/by-id/usb-FTDI_FT232R_A1B2-if00-port0").string());
}

TEST_F(PortListing, ByIdLinkWhoseNodeIsGoneIsLeftOut) {
    probe.addById("usb-Gone-if00-port0", "ttyUSB0");
    list.refresh();
    EXPECT_TRUE(list.devices().empty());
}

TEST_F(PortListing, HotPlugShowsAnAddedAdapterAndDropsARemovedOne) {
    probe.addNode("ttyUSB0");
    EXPECT_TRUE(list.refresh());
    EXPECT_FALSE(list.refresh());
    probe.addNode("ttyACM0");
    EXPECT_TRUE(list.refresh());
    EXPECT_THAT(labels(list), ElementsAre("/dev/ttyUSB0", "/dev/ttyACM0"));
    probe.removeNode("ttyUSB0");
    EXPECT_TRUE(list.refresh());
    EXPECT_THAT(labels(list), ElementsAre("/dev/ttyACM0"));
}

TEST_F(PortListing, UartOfATtySIsAskedOnceNotAtEveryRefresh) {
    probe.addNode("ttyS0");
    list.refresh();
    list.refresh();
    list.refresh();
    EXPECT_EQ(probe.uartQuestions(), 1);
}

TEST_F(PortListing, PreferredPathIsTheByIdLinkOfTheSameNode) {
    const auto node = probe.addNode("ttyUSB0");
    const auto link = probe.addById("usb-A-if00-port0", "ttyUSB0");
    const auto other = probe.addNode("ttyUSB1");
    list.refresh();
    EXPECT_EQ(list.preferredPath(node.string()), link.string());
    EXPECT_EQ(list.preferredPath(other.string()), other.string());
    EXPECT_EQ(list.preferredPath("/nonexistent/ttyUSB9"), "/nonexistent/ttyUSB9");
}

TEST(NaturalOrder, NumbersCompareAsNumbers) {
    EXPECT_TRUE(naturalLess("ttyUSB2", "ttyUSB10"));
    EXPECT_FALSE(naturalLess("ttyUSB10", "ttyUSB2"));
    EXPECT_TRUE(naturalLess("ttyACM9", "ttyUSB0"));
    EXPECT_FALSE(naturalLess("ttyS1", "ttyS1"));
}

class PortsDialogRules : public PortListing {
  protected:
    std::string value(const char* key) const { return ini.value("Ports", key).value_or("?"); }

    IniFile ini{dir / "Tarvo.ini"};
};

TEST_F(PortsDialogRules, ChoiceIsWrittenToPortsAtOnceAsTheByIdLink) {
    const auto node = probe.addNode("ttyUSB0");
    const auto link = probe.addById("usb-A-if00-port0", "ttyUSB0");
    PortsDialogLogic logic(ini, probe.root(), probe);
    ASSERT_TRUE(logic.choose(2, node.string()));
    EXPECT_EQ(value("COM2"), link.string());
    EXPECT_EQ(logic.comPort(2).path, link.string());
    EXPECT_EQ(logic.comPort(2).status, "present");
    EXPECT_EQ(portPath(ini, 2), link.string());
}

TEST_F(PortsDialogRules, TypedPathIsTrimmedAndAnEmptyOneOrABadNumberRefused) {
    PortsDialogLogic logic(ini, probe.root(), probe);
    EXPECT_TRUE(logic.choose(4, "  /dev/ttyUSB7 "));
    EXPECT_EQ(value("COM4"), "/dev/ttyUSB7");
    EXPECT_EQ(logic.comPort(4).status, "missing");
    EXPECT_FALSE(logic.choose(1, "   "));
    EXPECT_FALSE(logic.choose(5, "/dev/ttyUSB7"));
    EXPECT_EQ(value("COM1"), "?");
}

TEST_F(PortsDialogRules, DeniedDeviceSaysWhyAndHowToFixIt) {
    probe.addNode("ttyUSB0");
    probe.deny("ttyUSB0");
    PortsDialogLogic logic(ini, probe.root(), probe);
    ASSERT_EQ(logic.devices().size(), 1u);
    EXPECT_EQ(logic.devices()[0].status,
              "no access: add yourself to the group dialout (sudo usermod -aG dialout $USER), "
              "then log in again");
}

TEST_F(PortsDialogRules, TtySWithoutUartIsPresentButSaysSo) {
    const auto node = probe.addNode("ttyS0");
    ASSERT_TRUE(writePortPath(ini, 1, node.string()));
    PortsDialogLogic logic(ini, probe.root(), probe);
    EXPECT_TRUE(logic.devices().empty());
    EXPECT_EQ(logic.comPort(1).status, "present, but no UART answers");
}

TEST_F(PortsDialogRules, RefreshReportsAComPortWhoseDeviceCameOrWent) {
    const auto node = probe.root() / "dev" / "ttyUSB0";
    ASSERT_TRUE(writePortPath(ini, 3, node.string()));
    PortsDialogLogic logic(ini, probe.root(), probe);
    EXPECT_EQ(logic.comPort(3).status, "missing");
    EXPECT_FALSE(logic.refresh());
    probe.addNode("ttyUSB0");
    EXPECT_TRUE(logic.refresh());
    EXPECT_EQ(logic.comPort(3).status, "present");
    EXPECT_EQ(comToolTip(3, logic.comPort(3).path, logic.comPort(3).status),
              "COM3: " + node.string() + " (present)");
}

TEST_F(PortsDialogRules, OnlyALineInstrumentTakesABaudRateAndTheTooltipNamesIt) {
    PortsDialogLogic logic(ini, probe.root(), probe);
    EXPECT_FALSE(logic.chooseBaudRate(1, 9600)) << "the polled densitometer runs at 4800";
    EXPECT_EQ(ini.value("Instruments", "COM1"), std::nullopt);
    ASSERT_TRUE(logic.chooseInstrument(1, Instrument::XRite400));
    EXPECT_FALSE(logic.chooseBaudRate(1, 19200));
    EXPECT_FALSE(logic.chooseInstrument(5, Instrument::XRite400));
    ASSERT_TRUE(logic.chooseBaudRate(1, 2400));
    EXPECT_EQ(ini.value("Instruments", "COM1"), "xrite-400,2400");
    const auto node = probe.addNode("ttyUSB0");
    ASSERT_TRUE(writePortPath(ini, 1, node.string()));
    ASSERT_TRUE(writePortPath(ini, 2, node.string()));
    NodePortListing nodes(probe.root(), probe);
    EXPECT_EQ(comToolTipNow(ini, nodes, 1),
              "COM1: " + node.string() + " (present), X-Rite 400 series at 2400 baud");
    EXPECT_EQ(comToolTipNow(ini, nodes, 2), "COM2: " + node.string() + " (present)");
}

}  // namespace
}  // namespace tarvo
