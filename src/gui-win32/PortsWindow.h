#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "device/CoalescedRescan.h"
#include "device/PortsDialogLogic.h"
#include "gui-win32/OwnWindow.h"

namespace tarvo::win32 {

// "Ports": the serial ports Windows has, and for COM1..COM4 the port each
// stands for and whether it is there, and the instrument on it with its baud
// rate. Picking a listed port ("Use") or typing a name (Enter) writes [Ports]
// at once; choosing an instrument or a rate writes [Instruments] at once. The
// list is looked at again every second, and once after each burst of the
// system's device-change broadcasts, so adapters plugged in or out show up
// while it is open; it keeps the port selected and the part of the list in
// view. The main window waits while it is open, as no port may be opened
// meanwhile.
class PortsWindow final : public OwnWindow {
  public:
    static constexpr int kDeviceListId = 1401;
    static constexpr int kPathId = 1410;        // + COM number
    static constexpr int kUseId = 1420;         // + COM number
    static constexpr int kStatusId = 1430;      // + COM number
    static constexpr int kInstrumentId = 1440;  // + COM number
    static constexpr int kBaudId = 1450;        // + COM number
    static constexpr UINT kRefreshMs = 1000;
    static constexpr UINT_PTR kRefreshTimer = 1;
    static constexpr UINT_PTR kDeviceChangeTimer = 2;

    PortsWindow(HINSTANCE instance, HWND owner, IniFile& ini, PortListing& listing);
    ~PortsWindow() override;

    // Shows the window and returns once it is closed.
    void run();

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void createControls(HINSTANCE instance);
    // place: left, top, width and height at 96 dots per inch.
    HWND control(const char* type, const char* text, DWORD style, int id, RECT place);
    void command(int id, int code);
    void refresh();
    void deviceChanged();
    void deviceChangeTimer();
    void showDevices();
    std::string listedPath(LRESULT index) const;
    void showComPorts();
    void useSelected(int comPort);
    void useTyped(int comPort);
    void createInstrumentBoxes(int comPort, int x, int y);
    void showInstruments();
    void chooseInstrument(int comPort);
    void chooseBaudRate(int comPort);

    PortsDialogLogic logic_;
    CoalescedRescan rescan_;
    HWND owner_;
    HINSTANCE instance_;
    std::vector<std::string> shownPaths_;  // the ports the list shows, in its order
    std::array<bool, 4> typing_{};         // a name the operator is typing is left alone
    bool showing_ = false;
};

}  // namespace tarvo::win32
