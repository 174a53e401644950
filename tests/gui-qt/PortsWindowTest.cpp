#include "gui-qt/PortsWindow.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "FakeDeviceProbe.h"
#include "QtTyping.h"
#include "TempDir.h"
#include "files/IniFile.h"

namespace tarvo {
namespace {

class PortsWindowTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::FakeDeviceProbe probe{dir / "root"};
    IniFile ini{dir / "Tarvo.ini"};
};

TEST_F(PortsWindowTest, PluggedInAdapterAppearsWhileTheWindowIsOpen) {
    PortsWindow dialog(ini, probe.root(), probe);
    dialog.show();
    probe.addNode("ttyUSB0");
    probe.addById("usb-FTDI_FT232R_A1B2-if00-port0", "ttyUSB0");
    // Well beyond the one-second look, for a loaded machine.
    QTRY_COMPARE_WITH_TIMEOUT(dialog.deviceList()->count(), 2, 10000);
    EXPECT_EQ(dialog.deviceList()->item(0)->text(), "usb-FTDI_FT232R_A1B2-if00-port0 (ttyUSB0)");
}

TEST_F(PortsWindowTest, UseWritesTheSelectedDeviceToPortsAndShowsItPresent) {
    const auto node = probe.addNode("ttyACM0");
    PortsWindow dialog(ini, probe.root(), probe);
    dialog.deviceList()->setCurrentRow(0);
    dialog.useButton(2)->click();
    EXPECT_EQ(ini.value("Ports", "COM2"), node.string());
    EXPECT_EQ(dialog.pathEdit(2)->text().toStdString(), node.string());
    EXPECT_EQ(dialog.statusLabel(2)->text(), "present");
}

TEST_F(PortsWindowTest, TypedPathIsWrittenOnEnterAndADeniedDeviceSaysHowToFixIt) {
    probe.addNode("ttyUSB3");
    probe.deny("ttyUSB3");
    PortsWindow dialog(ini, probe.root(), probe);
    EXPECT_TRUE(dialog.deviceList()->item(0)->text().contains("sudo usermod -aG dialout $USER"));
    QLineEdit* edit = dialog.pathEdit(1);
    edit->selectAll();
    QTest::keyClicks(edit, "/dev/ttyUSB9");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(ini.value("Ports", "COM1"), "/dev/ttyUSB9");
    EXPECT_EQ(dialog.statusLabel(1)->text(), "missing");
}

// [Ports] holds CP1252 like every setting; the file system spells the name in UTF-8.
TEST_F(PortsWindowTest, TypedPathIsCp1252InPortsAndOneTheCodePageCannotHoldIsRefused) {
    const auto node = probe.addNode("k\u00E4se\u20AC");
    PortsWindow dialog(ini, probe.root(), probe);
    QLineEdit* edit = dialog.pathEdit(1);
    edit->clear();
    test::typeText(edit, QString::fromStdString(node.string()));
    test::typeText(edit, QString::fromUtf8("\u03A9"));
    QTest::keyClick(edit, Qt::Key_Return);
    const std::string inPorts = (probe.root() / "dev" / "k\xE4se\x80").string();
    EXPECT_EQ(ini.value("Ports", "COM1"), inPorts);
    EXPECT_EQ(edit->text().toStdString(), node.string());
    EXPECT_EQ(dialog.statusLabel(1)->text(), "present") << "the node is asked by its UTF-8 name";
}

// The operator picks with the keyboard, as a combo box is used.
void pick(QComboBox* box, const QString& text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int step = 0; step < box->count() && box->currentText() != text; ++step) {
        QTest::keyClick(box, Qt::Key_Down);
    }
}

TEST_F(PortsWindowTest, InstrumentAndBaudRateAreWrittenToInstrumentsAtOnce) {
    PortsWindow dialog(ini, probe.root(), probe);
    EXPECT_EQ(dialog.instrumentBox(2)->currentText(), "Densitometer (polled)");
    EXPECT_FALSE(dialog.baudBox(2)->isEnabled()) << "the polled densitometer runs at 4800 only";
    EXPECT_EQ(dialog.instrumentBox(2)->count(), 3);

    pick(dialog.instrumentBox(2), "X-Rite 400 series");
    EXPECT_EQ(ini.value("Instruments", "COM2"), "xrite-400");
    EXPECT_TRUE(dialog.baudBox(2)->isEnabled());
    EXPECT_EQ(dialog.baudBox(2)->currentText(), "1200");
    EXPECT_EQ(dialog.baudBox(2)->count(), 6);

    pick(dialog.baudBox(2), "9600");
    EXPECT_EQ(ini.value("Instruments", "COM2"), "xrite-400,9600");
    pick(dialog.instrumentBox(2), "X-Rite 500 series");
    EXPECT_EQ(ini.value("Instruments", "COM2"), "xrite-500");
    EXPECT_EQ(dialog.baudBox(2)->currentText(), "9600");
    pick(dialog.instrumentBox(2), "Densitometer (polled)");
    EXPECT_EQ(ini.value("Instruments", "COM2"), "poll");
    EXPECT_FALSE(dialog.baudBox(2)->isEnabled());
    EXPECT_EQ(ini.value("Instruments", "COM1"), std::nullopt) << "only the chosen port is written";
}

TEST_F(PortsWindowTest, AnInstrumentNameTarvoDoesNotKnowShowsNoChoiceUntilOneIsMade) {
    ini.write("Instruments", "COM3", "spectro-9");
    PortsWindow dialog(ini, probe.root(), probe);
    EXPECT_EQ(dialog.instrumentBox(3)->currentIndex(), -1);
    EXPECT_EQ(dialog.instrumentBox(3)->toolTip(),
              "Unknown instrument \"spectro-9\" for COM3 in Tarvo.ini.");
    EXPECT_FALSE(dialog.baudBox(3)->isEnabled());
    pick(dialog.instrumentBox(3), "X-Rite 500 series");
    EXPECT_EQ(ini.value("Instruments", "COM3"), "xrite-500");
}

}  // namespace
}  // namespace tarvo
