#include "gui-win32/ReaderApp.h"

#include <commctrl.h>

#include <string_view>

#include "files/win32/Win32Files.h"
#include "gui-win32/MainDialog.h"
#include "gui-win32/MainWiring.h"
#include "gui-win32/PlatformParts.h"

namespace tarvo::win32 {

namespace {

bool hasClass(HWND window, std::string_view wanted) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return std::string_view(name) == wanted;
}

// Ctrl+C in the main window copies rows, except in the comment edit, which
// copies its own text.
bool copiesRows(const MSG& message, HWND root, HWND mainWindow) {
    return message.message == WM_KEYDOWN && message.wParam == 'C' &&
           (GetKeyState(VK_CONTROL) & 0x8000) != 0 && root == mainWindow &&
           !hasClass(message.hwnd, "Edit");
}

// F2 opens the Ports window and F3 the Strip window from the main window,
// as their system-menu entries do; 0 for every other message.
int functionKeyEntry(const MSG& message, HWND root, HWND mainWindow) {
    if (message.message != WM_KEYDOWN || root != mainWindow) {
        return 0;
    }
    switch (message.wParam) {
        case VK_F2:
            return MainDialog::kPortsCommand;
        case VK_F3:
            return MainDialog::kStripCommand;
        default:
            return 0;
    }
}

// Dialogs, and the windows of the program's own classes that are laid out as
// dialogs (WS_EX_CONTROLPARENT), take Tab, Esc and Enter as a dialog does.
bool takesDialogKeys(HWND root) {
    return root && (hasClass(root, "#32770") ||
                    (GetWindowLongA(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0);
}

}  // namespace

ReaderApp::ReaderApp(HINSTANCE instance) : instance_(instance), ini_(settingsFilePath()) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

int ReaderApp::run() {
    MainDialog dialog({instance_, ini_, clock_, programFolder()});
    if (!dialog.create()) {
        return 1;
    }
    messages_.setOwner(dialog.handle());
    MainWiring wiring(dialog, messages_, platformParts(ini_));
    dialog.show();
    wiring.beginJournal();
    wiring.loadReference();
    return runMessageLoop(dialog.handle());
}

int runMessageLoop(HWND mainWindow) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (copiesRows(message, root, mainWindow)) {
            SendMessageA(mainWindow, WM_COMMAND, MainDialog::kCopyRowsCommand, 0);
            continue;
        }
        if (const int entry = functionKeyEntry(message, root, mainWindow)) {
            SendMessageA(mainWindow, WM_SYSCOMMAND, static_cast<WPARAM>(entry), 0);
            continue;
        }
        if (takesDialogKeys(root) && IsDialogMessageA(root, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

}  // namespace tarvo::win32
