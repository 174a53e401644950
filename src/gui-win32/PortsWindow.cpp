#include "gui-win32/PortsWindow.h"

#include <algorithm>
#include <string>
#include <vector>

#include "gui-win32/ScreenScale.h"
#include "gui-win32/WindowText.h"

namespace tarvo::win32 {

namespace {

constexpr int kMargin = 10;
constexpr int kRowHeight = 24;
constexpr int kListHeight = 140;
constexpr int kLabelWidth = 44;
constexpr int kPathWidth = 200;
constexpr int kUseWidth = 50;
constexpr int kInstrumentWidth = 130;
constexpr int kBaudWidth = 60;
constexpr int kDropDownHeight = 160;
constexpr int kStatusWidth = 220;
constexpr int kClientWidth = 2 * kMargin + kLabelWidth + kPathWidth + kUseWidth + kInstrumentWidth +
                             kBaudWidth + kStatusWidth + 36;
constexpr int kClientHeight = 2 * kMargin + 20 + kListHeight + 4 * kRowHeight + 50;
constexpr std::size_t kPathChars = 255;

std::wstring wideFromAnsi(const std::string& ansi) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return wide;
}

// The system names its ports in the ANSI code page; the dash is added as a
// character, so it shows on every code page (as a byte it is one only in 1252).
std::wstring deviceText(const ListedDevice& listed) {
    std::wstring text = wideFromAnsi(listed.device.label);
    if (listed.status != "present") {
        text += L" \u2014 " + wideFromAnsi(listed.status);
    }
    return text;
}

}  // namespace

PortsWindow::PortsWindow(HINSTANCE instance, HWND owner, IniFile& ini, PortListing& listing)
    : logic_(ini, listing), owner_(owner), instance_(instance) {
    RECT frame{0, 0, scaled(kClientWidth), scaled(kClientHeight)};
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_DLGMODALFRAME);
    RECT ownerPlace{};
    GetWindowRect(owner, &ownerPlace);
    create(instance, "TarvoPorts", WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kStyle, "Ports",
           {ownerPlace.left + 40, ownerPlace.top + 40, frame.right - frame.left,
            frame.bottom - frame.top},
           owner);
    if (window_) {
        createControls(instance);
        showDevices();
        showComPorts();
        showInstruments();
        SetTimer(window_, kRefreshTimer, kRefreshMs, nullptr);
    }
}

PortsWindow::~PortsWindow() {
    destroy();
}

void PortsWindow::run() {
    if (!window_) {
        return;
    }
    EnableWindow(owner_, FALSE);
    ShowWindow(window_, SW_SHOW);
    SetFocus(GetDlgItem(window_, kDeviceListId));
    MSG message;
    while (window_) {
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the main loop to see
            break;
        }
        if (!IsDialogMessageA(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    // Enabled before the window goes, so the owner gets the activation back.
    EnableWindow(owner_, TRUE);
    if (window_) {
        DestroyWindow(window_);
    }
    SetActiveWindow(owner_);
}

// Unicode controls, so the list shows its dash on every code page.
HWND PortsWindow::control(const char* type, const char* text, DWORD style, int id, RECT place) {
    HWND made = CreateWindowExW(type == std::string("EDIT") ? WS_EX_CLIENTEDGE : 0,
                                wideFromAnsi(type).c_str(), wideFromAnsi(text).c_str(),
                                WS_CHILD | WS_VISIBLE | style, scaled(place.left),
                                scaled(place.top), scaled(place.right), scaled(place.bottom),
                                window_, reinterpret_cast<HMENU>(id), instance_, nullptr);
    SendMessageA(made, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    return made;
}

void PortsWindow::createControls(HINSTANCE) {
    const int listWidth = kClientWidth - 2 * kMargin;
    control("STATIC", "Serial ports present:", SS_LEFT, -1, {kMargin, kMargin, listWidth, 16});
    control("LISTBOX", "", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, kDeviceListId,
            {kMargin, kMargin + 20, listWidth, kListHeight});
    int y = kMargin + 28 + kListHeight;
    for (int com = 1; com <= 4; ++com, y += kRowHeight) {
        int x = kMargin;
        const std::string label = "COM" + std::to_string(com);
        control("STATIC", label.c_str(), SS_LEFT, -1, {x, y + 3, kLabelWidth, 16});
        x += kLabelWidth;
        control("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, kPathId + com, {x, y, kPathWidth, 21});
        x += kPathWidth + 4;
        control("BUTTON", "Use", BS_PUSHBUTTON | WS_TABSTOP, kUseId + com, {x, y, kUseWidth, 21});
        x += kUseWidth + 8;
        createInstrumentBoxes(com, x, y);
        x += kInstrumentWidth + 4 + kBaudWidth + 8;
        control("STATIC", "", SS_LEFT | SS_NOPREFIX, kStatusId + com, {x, y + 3, kStatusWidth, 16});
    }
    control("BUTTON", "Close", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL,
            {kClientWidth - kMargin - 80, y + 12, 80, 24});
}

LRESULT PortsWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kRefreshTimer) {
                refresh();
            } else if (wParam == kDeviceChangeTimer) {
                deviceChangeTimer();
            }
            return 0;
        case WM_DEVICECHANGE:  // an adapter came or went: shown soon, not at the next tick
            deviceChanged();
            return TRUE;
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CLOSE:
            KillTimer(window_, kRefreshTimer);
            KillTimer(window_, kDeviceChangeTimer);
            EnableWindow(owner_, TRUE);
            DestroyWindow(window_);
            return 0;
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void PortsWindow::command(int id, int code) {
    if (showing_) {
        return;
    }
    if (id == IDCANCEL) {
        SendMessageA(window_, WM_CLOSE, 0, 0);
    } else if (id == IDOK) {  // Enter: the edit that has the focus is used
        const int focused = GetDlgCtrlID(GetFocus());
        if (focused > kPathId && focused <= kPathId + 4) {
            useTyped(focused - kPathId);
        }
    } else if (id > kUseId && id <= kUseId + 4 && code == BN_CLICKED) {
        useSelected(id - kUseId);
    } else if (id > kPathId && id <= kPathId + 4 && code == EN_CHANGE) {
        typing_[static_cast<std::size_t>(id - kPathId - 1)] = true;
    } else if (id > kInstrumentId && id <= kInstrumentId + 4 && code == CBN_SELCHANGE) {
        chooseInstrument(id - kInstrumentId);
    } else if (id > kBaudId && id <= kBaudId + 4 && code == CBN_SELCHANGE) {
        chooseBaudRate(id - kBaudId);
    }
}

void PortsWindow::refresh() {
    if (logic_.refresh()) {
        showDevices();
        showComPorts();
    }
}

// Not while the broadcast waits for the answer: the look is taken once the
// burst is over, from the timer.
void PortsWindow::deviceChanged() {
    const auto wait = rescan_.announced(CoalescedRescan::Clock::now());
    SetTimer(window_, kDeviceChangeTimer, static_cast<UINT>(wait.count()), nullptr);
}

void PortsWindow::deviceChangeTimer() {
    KillTimer(window_, kDeviceChangeTimer);
    const auto now = CoalescedRescan::Clock::now();
    if (rescan_.lookNow(now)) {
        refresh();
    } else if (rescan_.pending()) {
        SetTimer(window_, kDeviceChangeTimer, static_cast<UINT>(rescan_.remaining(now).count()),
                 nullptr);
    }
}

// Rebuilt without a flicker, with the port that was selected still selected
// and the port that was at the top of the view still there.
void PortsWindow::showDevices() {
    HWND list = GetDlgItem(window_, kDeviceListId);
    const std::string selected = listedPath(SendMessageW(list, LB_GETCURSEL, 0, 0));
    const std::string top = listedPath(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    WPARAM index = 0;
    WPARAM topIndex = 0;
    for (const ListedDevice& listed : logic_.devices()) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(deviceText(listed).c_str()));
        if (!selected.empty() && listed.device.path == selected) {
            SendMessageW(list, LB_SETCURSEL, index, 0);
        }
        if (!top.empty() && listed.device.path == top) {
            topIndex = index;
        }
        ++index;
    }
    // Once the list is whole: it does not scroll past its last entries.
    SendMessageW(list, LB_SETTOPINDEX, topIndex, 0);
    if (logic_.devices().empty()) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"(no serial port found)"));
    }
    shownPaths_.clear();
    for (const ListedDevice& listed : logic_.devices()) {
        shownPaths_.push_back(listed.device.path);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

std::string PortsWindow::listedPath(LRESULT index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= shownPaths_.size()) {
        return {};
    }
    return shownPaths_[static_cast<std::size_t>(index)];
}

void PortsWindow::showComPorts() {
    showing_ = true;
    for (int com = 1; com <= 4; ++com) {
        const auto& port = logic_.comPort(com);
        if (!typing_[static_cast<std::size_t>(com - 1)]) {
            setItemText(window_, kPathId + com, port.path);
        }
        setItemText(window_, kStatusId + com, port.status);
    }
    showing_ = false;
}

void PortsWindow::useSelected(int comPort) {
    const LRESULT selected = SendDlgItemMessageA(window_, kDeviceListId, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR || static_cast<std::size_t>(selected) >= logic_.devices().size()) {
        return;
    }
    logic_.choose(comPort, logic_.devices()[static_cast<std::size_t>(selected)].device.path);
    typing_[static_cast<std::size_t>(comPort - 1)] = false;
    showComPorts();
}

void PortsWindow::useTyped(int comPort) {
    logic_.choose(comPort, itemText(window_, kPathId + comPort, kPathChars));
    typing_[static_cast<std::size_t>(comPort - 1)] = false;
    showComPorts();
}

void PortsWindow::createInstrumentBoxes(int comPort, int x, int y) {
    HWND instrument = control("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                              kInstrumentId + comPort, {x, y, kInstrumentWidth, kDropDownHeight});
    for (const Instrument each : instruments()) {
        SendMessageA(instrument, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(instrumentTitle(each)));
    }
    HWND baud =
        control("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kBaudId + comPort,
                {x + kInstrumentWidth + 4, y, kBaudWidth, kDropDownHeight});
    for (const int rate : lineBaudRates()) {
        SendMessageA(baud, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(rate).c_str()));
    }
}

// A name the file holds that tarvo does not know shows as no choice until the
// operator chooses one; the polled densitometer has no rate to choose.
void PortsWindow::showInstruments() {
    const auto instrumentList = instruments();
    const auto rates = lineBaudRates();
    for (int com = 1; com <= 4; ++com) {
        const InstrumentSetting setting = logic_.instrument(com);
        LRESULT instrument = -1;
        LRESULT rate = -1;
        if (setting.choice) {
            instrument = std::find(instrumentList.begin(), instrumentList.end(),
                                   setting.choice->instrument) -
                         instrumentList.begin();
        }
        const bool rateChoosable = logic_.baudRateChoosable(com);
        if (rateChoosable) {
            const auto found = std::find(rates.begin(), rates.end(), setting.choice->baudRate);
            rate = found == rates.end() ? -1 : found - rates.begin();
        }
        SendDlgItemMessageA(window_, kInstrumentId + com, CB_SETCURSEL,
                            static_cast<WPARAM>(instrument), 0);
        SendDlgItemMessageA(window_, kBaudId + com, CB_SETCURSEL, static_cast<WPARAM>(rate), 0);
        EnableWindow(GetDlgItem(window_, kBaudId + com), rateChoosable ? TRUE : FALSE);
    }
}

void PortsWindow::chooseInstrument(int comPort) {
    const LRESULT chosen =
        SendDlgItemMessageA(window_, kInstrumentId + comPort, CB_GETCURSEL, 0, 0);
    const auto instrumentList = instruments();
    if (chosen >= 0 && static_cast<std::size_t>(chosen) < instrumentList.size()) {
        logic_.chooseInstrument(comPort, instrumentList[static_cast<std::size_t>(chosen)]);
    }
    showInstruments();
}

void PortsWindow::chooseBaudRate(int comPort) {
    const LRESULT chosen = SendDlgItemMessageA(window_, kBaudId + comPort, CB_GETCURSEL, 0, 0);
    const auto rates = lineBaudRates();
    if (chosen >= 0 && static_cast<std::size_t>(chosen) < rates.size()) {
        logic_.chooseBaudRate(comPort, rates[static_cast<std::size_t>(chosen)]);
    }
    showInstruments();
}

}  // namespace tarvo::win32
