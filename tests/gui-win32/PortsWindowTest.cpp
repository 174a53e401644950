// The Win32 Ports window in this process under wine, over the ports the test
// makes in the prefix's registry: two at first, one with a friendly name, and
// a third plugged in while the window is open.
#include "gui-win32/PortsWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "SystemPortFixture.h"
#include "TempDir.h"
#include "WindowPump.h"
#include "device/win32/Win32SystemPorts.h"
#include "files/IniFile.h"

namespace tarvo {
namespace {

using ::testing::Contains;

std::vector<std::string> listed(HWND window) {
    HWND list = GetDlgItem(window, win32::PortsWindow::kDeviceListId);
    std::vector<std::string> items;
    const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

std::string itemText(HWND window, int id) {
    char text[256] = {};
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

// The window over the system's ports, opened after the fixture's first ports.
class Win32Ports : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fixture.addPort("COM21"));
        ASSERT_TRUE(fixture.addPort("COM22", "USB Serial Port (COM22)"));
        ports =
            std::make_unique<win32::PortsWindow>(GetModuleHandleA(nullptr), nullptr, ini, listing);
        window = ports->handle();
        ASSERT_NE(window, nullptr);
    }

    test::SystemPortFixture fixture;
    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    Win32SystemPorts system;
    SystemPortListing listing{system};
    std::unique_ptr<win32::PortsWindow> ports;
    HWND window = nullptr;
};

TEST_F(Win32Ports, ListsTheSystemsPortsSeesOnePluggedInAndMapsCom1ToIt) {
    EXPECT_THAT(listed(window), Contains("COM21"));
    EXPECT_THAT(listed(window), Contains("USB Serial Port (COM22)"));
    EXPECT_EQ(itemText(window, win32::PortsWindow::kPathId + 1), "COM1");

    ASSERT_TRUE(fixture.addPort("COM23", "USB Serial Port (COM23)"));
    const std::string plugged = "USB Serial Port (COM23)";
    ASSERT_TRUE(test::pumpUntil([&] {
        const auto items = listed(window);
        return std::find(items.begin(), items.end(), plugged) != items.end();
    })) << "the port plugged in was not listed";

    const auto items = listed(window);
    const auto index = std::find(items.begin(), items.end(), plugged) - items.begin();
    SendDlgItemMessageA(window, win32::PortsWindow::kDeviceListId, LB_SETCURSEL,
                        static_cast<WPARAM>(index), 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(win32::PortsWindow::kUseId + 1, BN_CLICKED), 0);
    EXPECT_EQ(ini.value("Ports", "COM1"), "COM23");
    EXPECT_EQ(itemText(window, win32::PortsWindow::kPathId + 1), "COM23");
    EXPECT_EQ(itemText(window, win32::PortsWindow::kStatusId + 1), "present");
}

TEST_F(Win32Ports, EnterInAComEditWritesTheTypedNameAsThePortsName) {
    ShowWindow(window, SW_SHOW);
    const HWND edit = GetDlgItem(window, win32::PortsWindow::kPathId + 2);
    SetWindowTextA(edit, " com42 ");
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(ini.value("Ports", "COM2"), "COM42");
    EXPECT_EQ(itemText(window, win32::PortsWindow::kPathId + 2), "COM42");
    EXPECT_EQ(itemText(window, win32::PortsWindow::kStatusId + 2), "missing");
    EXPECT_FALSE(ini.value("Ports", "COM1")) << "only the edit with the focus is used";
}

// The listing as the window asks it, counting the looks at the system's ports.
class CountingListing final : public PortListing {
  public:
    explicit CountingListing(PortListing& listing) : listing_(listing) {}
    PortNaming naming() const override { return listing_.naming(); }
    std::vector<ListedDevice> listNow() override {
        ++looks;
        return listing_.listNow();
    }
    std::string status(const std::string& path) override { return listing_.status(path); }
    std::string preferredPath(const std::string& path) override {
        return listing_.preferredPath(path);
    }

    int looks = 0;

  private:
    PortListing& listing_;
};

// Windows sends a burst of broadcasts for one adapter; each waits for the
// window's answer, so the look at the ports comes after them, once.
TEST_F(Win32Ports, ABurstOfDeviceChangesIsLookedAtOnceAndNotWhileAnsweringIt) {
    constexpr WPARAM kDevNodesChanged = 0x0007;
    CountingListing counting(listing);
    win32::PortsWindow counted(GetModuleHandleA(nullptr), nullptr, ini, counting);
    KillTimer(counted.handle(), win32::PortsWindow::kRefreshTimer);  // only the broadcasts look
    const int before = counting.looks;
    ASSERT_TRUE(fixture.addPort("COM24"));
    for (int broadcast = 0; broadcast < 5; ++broadcast) {
        EXPECT_EQ(SendMessageA(counted.handle(), WM_DEVICECHANGE, kDevNodesChanged, 0), TRUE);
    }
    EXPECT_EQ(counting.looks, before) << "looked while the broadcast waited";
    ASSERT_TRUE(test::pumpUntil([&] {
        const auto items = listed(counted.handle());
        return std::find(items.begin(), items.end(), "COM24") != items.end();
    })) << "the port plugged in was not listed";
    EXPECT_EQ(counting.looks, before + 1);

    SendMessageA(counted.handle(), WM_DEVICECHANGE, kDevNodesChanged, 0);
    EXPECT_TRUE(test::pumpUntil([&] { return counting.looks == before + 2; }))
        << "a later broadcast was not looked at";
}

std::string listItem(HWND window, LRESULT index) {
    const auto items = listed(window);
    return index >= 0 && static_cast<std::size_t>(index) < items.size()
               ? items[static_cast<std::size_t>(index)]
               : std::string("(none)");
}

// A port plugged in while the operator has scrolled down and picked one must
// neither take the pick away nor throw the list back to its top.
TEST_F(Win32Ports, APortPluggedInKeepsTheSelectionAndTheViewOfTheList) {
    const std::size_t first = listed(window).size();
    for (int port = 30; port < 50; ++port) {
        ASSERT_TRUE(fixture.addPort("COM" + std::to_string(port)));
    }
    ASSERT_TRUE(test::pumpUntil([&] { return listed(window).size() == first + 20; }));
    HWND list = GetDlgItem(window, win32::PortsWindow::kDeviceListId);
    SendMessageA(list, LB_SETTOPINDEX, 12, 0);
    SendMessageA(list, LB_SETCURSEL, 15, 0);
    const std::string top = listItem(window, SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    const std::string chosen = listItem(window, 15);
    ASSERT_NE(top, listItem(window, 0)) << "the list did not scroll";

    ASSERT_TRUE(fixture.addPort("COM8"));  // listed above everything in view
    ASSERT_TRUE(test::pumpUntil([&] { return listed(window).size() == first + 21; }));
    EXPECT_EQ(listItem(window, SendMessageA(list, LB_GETCURSEL, 0, 0)), chosen);
    EXPECT_EQ(listItem(window, SendMessageA(list, LB_GETTOPINDEX, 0, 0)), top);
}

// A listing that says a port cannot be used.
class PortInUse final : public PortListing {
  public:
    PortNaming naming() const override { return PortNaming::SystemPorts; }
    std::vector<ListedDevice> listNow() override {
        return {{{"COM9", "COM9", "COM9", false}, "in use"}};
    }
    std::string status(const std::string&) override { return "present"; }
    std::string preferredPath(const std::string& path) override { return path; }
};

// The dash between a port and its status is a character of the list: as the
// byte 0x97 it would be a dash only where the system's code page is 1252.
TEST(Win32PortsText, TheDashOfAPortsStatusReachesTheListAsACharacter) {
    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    PortInUse listing;
    win32::PortsWindow ports(GetModuleHandleA(nullptr), nullptr, ini, listing);
    HWND list = GetDlgItem(ports.handle(), win32::PortsWindow::kDeviceListId);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowUnicode(list)) << "the list keeps its text in the ANSI code page";
    wchar_t text[64] = {};
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), L"COM9 \u2014 in use");
}

// Picks an entry of a drop-down list as the operator's click does.
void choose(HWND window, int id, int index) {
    SendDlgItemMessageA(window, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

LRESULT selection(HWND window, int id) {
    return SendDlgItemMessageA(window, id, CB_GETCURSEL, 0, 0);
}

TEST_F(Win32Ports, AnInstrumentAndItsRateChosenAreWrittenToInstrumentsAtOnce) {
    using win32::PortsWindow;
    const HWND com1Baud = GetDlgItem(window, PortsWindow::kBaudId + 1);
    EXPECT_EQ(itemText(window, PortsWindow::kInstrumentId + 1), "Densitometer (polled)");
    EXPECT_FALSE(IsWindowEnabled(com1Baud)) << "the polled densitometer has no rate to choose";

    choose(window, PortsWindow::kInstrumentId + 1, 1);
    EXPECT_EQ(ini.value("Instruments", "COM1"), "xrite-400");
    EXPECT_EQ(itemText(window, PortsWindow::kBaudId + 1), "1200") << "the series' own rate";
    EXPECT_TRUE(IsWindowEnabled(com1Baud));

    choose(window, PortsWindow::kBaudId + 1, 5);
    EXPECT_EQ(ini.value("Instruments", "COM1"), "xrite-400,9600");
    choose(window, PortsWindow::kInstrumentId + 4, 2);
    EXPECT_EQ(ini.value("Instruments", "COM4"), "xrite-500");
    EXPECT_EQ(itemText(window, PortsWindow::kBaudId + 4), "9600");

    ini.write("Instruments", "COM2", "xrite-999");
    choose(window, PortsWindow::kInstrumentId + 1, 0);
    EXPECT_EQ(ini.value("Instruments", "COM1"), "poll");
    EXPECT_FALSE(IsWindowEnabled(com1Baud));
    EXPECT_EQ(selection(window, PortsWindow::kInstrumentId + 2), CB_ERR)
        << "a name tarvo does not know is shown as no choice, not guessed at";
}

}  // namespace
}  // namespace tarvo
