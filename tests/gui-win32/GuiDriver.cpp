#include "GuiDriver.h"

#include <commctrl.h>

#include <thread>

namespace tarvo::test {

namespace {

constexpr milliseconds kCheckEvery{20};
constexpr milliseconds kEndDeadline{10000};
constexpr std::size_t kTextSize = 512;

struct Search {
    DWORD processId;
    std::function<bool(HWND)> matches;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && search->matches(window)) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> topLevelWindows(DWORD processId, std::function<bool(HWND)> matches) {
    Search search{processId, std::move(matches), {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool isDialogCalled(HWND window, const std::string& caption) {
    return className(window) == "#32770" && textOf(window) == caption;
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(kCheckEvery);
    }
    return true;
}

RunningProgram::RunningProgram(const std::string& commandLine, const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process_)) {
        process_ = {};
    }
}

RunningProgram::~RunningProgram() {
    if (!started()) {
        return;
    }
    if (!hasEnded(milliseconds(0))) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, static_cast<DWORD>(kEndDeadline.count()));
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool RunningProgram::hasEnded(milliseconds deadline) const {
    return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(deadline.count())) ==
           WAIT_OBJECT_0;
}

void RunningProgram::kill() {
    TerminateProcess(process_.hProcess, 1);
    hasEnded(kEndDeadline);
}

void RunningProgram::closeWindow(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (!hasEnded(kEndDeadline)) {
        TerminateProcess(process_.hProcess, 1);
    }
}

HWND waitForDialog(DWORD processId, const std::string& caption, milliseconds deadline) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            auto windows = topLevelWindows(
                processId, [&](HWND window) { return isDialogCalled(window, caption); });
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        deadline);
    return found;
}

std::vector<HWND> dialogsOf(DWORD processId) {
    return topLevelWindows(processId, [](HWND window) { return className(window) == "#32770"; });
}

std::vector<HWND> ownedWindows(DWORD processId, HWND owner) {
    return topLevelWindows(processId,
                           [owner](HWND window) { return GetWindow(window, GW_OWNER) == owner; });
}

std::string textOf(HWND window) {
    char text[kTextSize] = {};
    const LRESULT length =
        SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return std::string(text, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::string itemTextOf(HWND dialog, int id) {
    return textOf(GetDlgItem(dialog, id));
}

bool isEnabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

bool isVisible(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

bool isChecked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void click(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void setItemText(HWND dialog, int id, const std::string& text) {
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int comboSelection(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
}

std::vector<std::string> comboItems(HWND dialog, int id) {
    std::vector<std::string> items;
    const int count = static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
    // Asked in UTF-16: wine hands an item's text to another process as such.
    for (int i = 0; i < count; ++i) {
        wchar_t text[kTextSize] = {};
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        char bytes[kTextSize] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
        items.emplace_back(bytes);
    }
    return items;
}

std::string clipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) {
        return text;
    }
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void clearClipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

namespace {

BOOL CALLBACK collectStaticText(HWND child, LPARAM lParam) {
    auto* text = reinterpret_cast<std::string*>(lParam);
    if (className(child) == "Static") {
        const std::string piece = textOf(child);
        if (!piece.empty()) {
            *text += text->empty() ? piece : "\n" + piece;
        }
    }
    return TRUE;
}

}  // namespace

MessageBoxSeen waitForMessageBox(DWORD processId, const std::string& caption,
                                 milliseconds deadline) {
    MessageBoxSeen box;
    box.window = waitForDialog(processId, caption, deadline);
    if (box.window) {
        box.caption = caption;
        EnumChildWindows(box.window, collectStaticText, reinterpret_cast<LPARAM>(&box.text));
    }
    return box;
}

void answer(const MessageBoxSeen& box, int button) {
    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

LentMemory::LentMemory(DWORD processId) {
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_) {
        remote_ = static_cast<char*>(
            VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
}

LentMemory::~LentMemory() {
    if (remote_) {
        VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    }
    if (process_) {
        CloseHandle(process_);
    }
}

void LentMemory::writeRecord(const void* record, std::size_t size) const {
    const char empty[1] = {};
    WriteProcessMemory(process_, text(), empty, 1, nullptr);
    WriteProcessMemory(process_, remote_, record, size, nullptr);
}

std::string LentMemory::readText() const {
    char read[kTextSize] = {};
    SIZE_T count = 0;
    ReadProcessMemory(process_, text(), read, sizeof read - 1, &count);
    return read;
}

namespace {

BOOL CALLBACK collectToolTips(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && className(window) == TOOLTIPS_CLASSA) {
        search->found.push_back(window);
    }
    return TRUE;
}

}  // namespace

// Every tooltip window of the program is asked, shown or not: the list view
// keeps one of its own.
std::string toolTipText(DWORD processId, HWND owner, HWND tool) {
    Search search{processId, nullptr, {}};
    EnumWindows(collectToolTips, reinterpret_cast<LPARAM>(&search));
    LentMemory memory(processId);
    for (HWND tips : search.found) {
        TTTOOLINFOA info{};
        info.cbSize = sizeof info;
        info.hwnd = owner;
        info.uId = reinterpret_cast<UINT_PTR>(tool);
        info.lpszText = memory.text();
        memory.writeRecord(&info, sizeof info);
        SendMessageA(tips, TTM_GETTEXTA, kTextSize, reinterpret_cast<LPARAM>(memory.record()));
        if (std::string text = memory.readText(); !text.empty()) {
            return text;
        }
    }
    return {};
}

int RemoteListView::rowCount() const {
    return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
}

int RemoteListView::columnCount() const {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list_, LVM_GETHEADER, 0, 0));
    return static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

std::string RemoteListView::cell(int row, int column) const {
    if (!memory_.lent()) {
        return "<no access to the list>";
    }
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = memory_.text();
    item.cchTextMax = static_cast<int>(kTextSize);
    memory_.writeRecord(&item, sizeof item);
    SendMessageA(list_, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(memory_.record()));
    return memory_.readText();
}

std::string RemoteListView::heading(int column) const {
    if (!memory_.lent()) {
        return "<no access to the list>";
    }
    LVCOLUMNA info{};
    info.mask = LVCF_TEXT;
    info.pszText = memory_.text();
    info.cchTextMax = static_cast<int>(kTextSize);
    memory_.writeRecord(&info, sizeof info);
    SendMessageA(list_, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(memory_.record()));
    return memory_.readText();
}

std::vector<std::string> RemoteListView::row(int index) const {
    std::vector<std::string> cells;
    for (int column = 0; column < columnCount(); ++column) {
        cells.push_back(cell(index, column));
    }
    return cells;
}

bool RemoteListView::isSelected(int row) const {
    return (SendMessageA(list_, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

}  // namespace tarvo::test
