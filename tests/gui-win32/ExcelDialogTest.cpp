// The Win32 Excel dialog in this process under wine, built from the program's
// own template: whose its start-up boxes are, and the cursor while the
// spreadsheet starts.
#include "gui-win32/ExcelDialogOpener.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingAutomationObject.h"
#include "TempDir.h"
#include "files/IniFile.h"
#include "res/ControlIds.h"

namespace tarvo {
namespace {

// A visible top-level window standing in for the main window.
class StandIn {
  public:
    StandIn() {
        window_ = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                  300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~StandIn() { DestroyWindow(window_); }
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;
    HWND handle() const { return window_; }

  private:
    HWND window_;
};

// Each message box as it is activated: its owner, whether the main window and
// the Excel dialog took input meanwhile; answered at once with OK.
struct BoxSeen {
    HWND owner;
    bool mainEnabled;
    bool dialogEnabled;
};
std::vector<BoxSeen> boxesSeen;
HWND mainWindowWatched = nullptr;
HWND dialogWatched = nullptr;

LRESULT CALLBACK answerBoxes(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    char name[16] = {};
    if (code == HCBT_ACTIVATE && GetClassNameA(window, name, sizeof name) &&
        std::string(name) == "#32770" && window != dialogWatched) {
        boxesSeen.push_back({GetWindow(window, GW_OWNER), IsWindowEnabled(mainWindowWatched) != 0,
                             IsWindowEnabled(dialogWatched) != 0});
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class Win32ExcelDialog : public ::testing::Test {
  protected:
    void open(win32::ServerFactoryMaker server) {
        opener = std::make_unique<win32::ExcelDialogOpener>(
            GetModuleHandleA(nullptr), main.handle(), ini, std::move(server), ExcelDialogHooks{});
        opener->open();
        ASSERT_NE(opener->dialog(), nullptr);
        dialog = opener->dialog()->handle();
        ASSERT_NE(dialog, nullptr) << "the template of the Excel dialog is not in the program";
    }

    void clickInitExcel() {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id::kInitExcel, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id::kInitExcel)));
    }

    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    StandIn main;
    std::unique_ptr<win32::ExcelDialogOpener> opener;
    HWND dialog = nullptr;
};

// OLE failing to start tells so through the boxes the server is made with:
// those are the Excel dialog's, as InitEXCEL's own "no server" box is, and
// the main window takes no input while either is open.
TEST_F(Win32ExcelDialog, InitExcelsStartUpBoxesAreTheExcelDialogsAndHoldTheMainWindow) {
    open([](MessageBoxes& boxes) {
        return AutomationServerFactory([&boxes] {
            boxes.show("Could not initialize COM services", "tarvo");
            return AutomationObject();
        });
    });
    boxesSeen.clear();
    mainWindowWatched = main.handle();
    dialogWatched = dialog;
    HHOOK hook = SetWindowsHookExA(WH_CBT, answerBoxes, nullptr, GetCurrentThreadId());
    clickInitExcel();
    UnhookWindowsHookEx(hook);
    ASSERT_EQ(boxesSeen.size(), 2u) << "the start-up failure and InitEXCEL's own box";
    for (const BoxSeen& box : boxesSeen) {
        EXPECT_EQ(box.owner, dialog);
        EXPECT_FALSE(box.mainEnabled);
        EXPECT_FALSE(box.dialogEnabled);
    }
    EXPECT_TRUE(IsWindowEnabled(main.handle()) && IsWindowEnabled(dialog));
}

HCURSOR systemCursor(LPCSTR which) {
    return LoadCursorA(nullptr, which);
}

// While the server starts, COM's wait lets the mouse's messages through: the
// edit under the mouse must not put its I-beam over the wait cursor. Once
// started, the I-beam comes back over the edit rather than an arrow.
TEST_F(Win32ExcelDialog, TheWaitCursorHoldsWhileTheServerStartsAndTheEditsIBeamComesBack) {
    test::FakeExcel excel;
    HWND edit = nullptr;
    HCURSOR duringStart = nullptr;
    open([&](MessageBoxes&) {
        return AutomationServerFactory([&] {
            SendMessageA(edit, WM_SETCURSOR, reinterpret_cast<WPARAM>(edit),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            duringStart = GetCursor();
            return excel.factory()();
        });
    });
    edit = GetDlgItem(dialog, id::kFileName);
    ShowWindow(dialog, SW_SHOW);
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RECT place{};
    GetWindowRect(edit, &place);
    SetCursorPos((place.left + place.right) / 2, (place.top + place.bottom) / 2);
    clickInitExcel();
    ASSERT_EQ(excel.starts(), 1);
    EXPECT_EQ(duringStart, systemCursor(IDC_WAIT));
    EXPECT_EQ(GetCursor(), systemCursor(IDC_IBEAM)) << "an arrow was set over the edit";
}

}  // namespace
}  // namespace tarvo
