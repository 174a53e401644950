#pragma once

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/DateText.h"
#include "app/MainWindowState.h"
#include "files/IniFile.h"
#include "gui-win32/ReadingTableView.h"
#include "gui-win32/StripWindow.h"
#include "gui-win32/WelcomeWindow.h"

namespace tarvo::win32 {

// What the main window needs from outside.
struct MainDialogServices {
    HINSTANCE instance;
    IniFile& ini;
    const Clock& clock;
    std::filesystem::path programFolder;  // where TRWelcome.bmp lies
};

// The program's one main window, template 102: the reading table and its 17
// other controls. It shows a MainWindowState and reports the operator's
// actions to it; it decides nothing itself. Enter and Esc do not end it; the
// close box does, and ends the program.
class MainDialog {
  public:
    // "&Copy Rows" in the system menu and Ctrl+C: the rows to the clipboard.
    static constexpr int kCopyRowsCommand = 32;
    // "Export CGATS..." in the system menu; its handler is set as a button's.
    static constexpr int kExportCgatsCommand = 48;
    // "&Ports..." (F2, refused while a port is held) and "&Strip..." (F3).
    static constexpr int kPortsCommand = 64;
    static constexpr int kStripCommand = 80;
    // "Reference..." and "No reference": the strip the Strip window compares with.
    static constexpr int kReferenceCommand = 512;
    static constexpr int kNoReferenceCommand = 528;

    explicit MainDialog(MainDialogServices services);
    ~MainDialog();
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    // Creates the window from its template; false when that failed.
    bool create();
    // Shows the window, then the welcome picture over it.
    void show();
    HWND handle() const { return window_; }
    HINSTANCE instance() const { return services_.instance; }
    MainWindowState& state() { return *state_; }

    // What Start Dev., Save, Print and EXCEL, and the Ports and Strip entries
    // of the system menu do; until set, they do nothing.
    void setButtonHandler(int id, std::function<void()> handler);
    // The tooltip of the COM button of the number given, asked as it is shown.
    void setComToolTip(std::function<std::string(int comPort)> text) {
        comToolTip_ = std::move(text);
    }
    // Opens the Strip window, or brings it to the front.
    void showStrip();
    StripWindow* stripWindow() const { return strip_.get(); }
    // What a tick of the window timer of the id given does.
    void setTimerHandler(UINT_PTR id, std::function<void()> handler) {
        timerHandlers_[id] = std::move(handler);
    }
    // Runs the function from the message loop, once the message being handled
    // is done with.
    void post(std::function<void()> later);

  private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void initialise();
    void addAboutEntry();
    void setIcons();
    void command(int id, int code);
    void notify(const NMHDR& header, LPARAM lParam);
    bool systemCommand(WPARAM command);
    void copyRows();
    bool paintMinimised();
    void showState();
    void showEntriesAndStrip(const MainWindowState& state);
    void addComToolTips();
    void showComToolTip(NMTTDISPINFOA& request);
    void runPosted();
    HWND item(int id) const { return GetDlgItem(window_, id); }

    MainDialogServices services_;
    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::unique_ptr<ReadingTableView> list_;
    std::unique_ptr<MainWindowState> state_;
    std::unique_ptr<WelcomeWindow> welcome_;
    std::unique_ptr<StripWindow> strip_;
    std::function<std::string(int)> comToolTip_;
    std::string toolTipText_;
    std::map<int, std::function<void()>> handlers_;
    std::map<UINT_PTR, std::function<void()>> timerHandlers_;
    std::deque<std::function<void()>> posted_;
    bool showing_ = false;
};

}  // namespace tarvo::win32
