#include "app/win32/ReaderApp.h"

#include <commctrl.h>

#include "app/win32/MainDialog.h"
#include "app/win32/MainWiring.h"
#include "app/win32/PlatformParts.h"

namespace tarvo::win32 {

namespace {

std::filesystem::path programFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(std::string(path, length)).parent_path();
}

bool isDialog(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return std::string_view(name) == "#32770";
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
    ShowWindow(dialog.handle(), SW_SHOW);
    return runMessageLoop();
}

int runMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (root && isDialog(root) && IsDialogMessageA(root, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

}  // namespace tarvo::win32
