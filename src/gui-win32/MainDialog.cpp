#include "gui-win32/MainDialog.h"

#include <algorithm>
#include <cstring>

#include "app/CopiedRows.h"
#include "gui-win32/AboutDialog.h"
#include "gui-win32/DialogInit.h"
#include "gui-win32/WindowPlace.h"
#include "gui-win32/WindowText.h"
#include "res/ControlIds.h"
#include "res/Texts.h"

namespace tarvo::win32 {

namespace {

constexpr int kMainTemplate = 102;
constexpr int kIconResource = 128;
constexpr int kAboutString = 101;

// The message that runs what post() was given.
constexpr UINT kRunPosted = WM_APP + 1;

}  // namespace

MainDialog::MainDialog(MainDialogServices services) : services_(std::move(services)) {
    icon_ = LoadIconA(services_.instance, MAKEINTRESOURCEA(kIconResource));
    smallIcon_ = static_cast<HICON>(LoadImageA(services_.instance, MAKEINTRESOURCEA(kIconResource),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
}

MainDialog::~MainDialog() {
    welcome_.reset();
    list_.reset();
    if (window_ && IsWindow(window_)) {
        DestroyWindow(window_);
    }
    if (smallIcon_) {
        DestroyIcon(smallIcon_);
    }
}

bool MainDialog::create() {
    CreateDialogParamA(services_.instance, MAKEINTRESOURCEA(kMainTemplate), nullptr, dialogProc,
                       reinterpret_cast<LPARAM>(this));
    return window_ != nullptr;
}

void MainDialog::show() {
    ShowWindow(window_, SW_SHOW);
    showState();
}

void MainDialog::setButtonHandler(int id, std::function<void()> handler) {
    handlers_[id] = std::move(handler);
}

void MainDialog::post(std::function<void()> later) {
    posted_.push_back(std::move(later));
    PostMessageA(window_, kRunPosted, 0, 0);
}

// One function a message: one that shows a box may see the next message
// arrive while its box is open.
void MainDialog::runPosted() {
    if (posted_.empty()) {
        return;
    }
    std::function<void()> next = std::move(posted_.front());
    posted_.pop_front();
    next();
}

INT_PTR CALLBACK MainDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<MainDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->window_ = window;
        self->initialise();
        return TRUE;
    }
    auto* self = reinterpret_cast<MainDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    return self ? self->handleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR MainDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY:
            notify(*reinterpret_cast<const NMHDR*>(lParam), lParam);
            return FALSE;
        case WM_TIMER:
            if (const auto handler = timerHandlers_.find(wParam); handler != timerHandlers_.end()) {
                handler->second();
            }
            return TRUE;
        case WM_SYSCOMMAND:
            return systemCommand(wParam) ? TRUE : FALSE;
        case WM_PAINT:
            return paintMinimised() ? TRUE : FALSE;
        case WM_QUERYDRAGICON:
            SetWindowLongPtrA(window_, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(icon_));
            return TRUE;
        case kRunPosted:
            runPosted();
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(window_);
            return TRUE;
        case WM_DESTROY:
            PostQuitMessage(0);
            return FALSE;
        case WM_NCDESTROY:
            window_ = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

// The window's initialisation, in the order the operator sees its effects:
// About entry, columns, the state (settings, date, enabled buttons), the icon,
// and last the welcome picture in front.
void MainDialog::initialise() {
    centreWindow(window_, nullptr);
    addAboutEntry();
    applyDialogInit(services_.instance, kMainTemplate, window_);
    list_ = std::make_unique<ReadingTableView>(item(id::kTable));
    state_ =
        std::make_unique<MainWindowState>(services_.ini, services_.clock, list_->clientWidth());
    list_->showTable(state_->table());
    state_->setChangeListener([this] { showState(); });
    state_->initialise();
    setIcons();
    addComToolTips();
    welcome_ = std::make_unique<WelcomeWindow>(
        services_.instance, window_, loadWelcomeBitmap(welcomeBitmapPath(services_.programFolder)));
    showState();
}

void MainDialog::addAboutEntry() {
    HMENU menu = GetSystemMenu(window_, FALSE);
    char entry[64] = {};
    if (menu && LoadStringA(services_.instance, kAboutString, entry, sizeof entry) > 0) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, id::kAboutCommand, entry);
    }
    if (menu) {
        AppendMenuA(menu, MF_STRING, MainDialog::kCopyRowsCommand, text::kCopyRowsEntry);
        AppendMenuA(menu, MF_STRING, MainDialog::kExportCgatsCommand, text::kExportCgatsEntry);
        AppendMenuA(menu, MF_STRING, MainDialog::kPortsCommand, text::kPortsEntry);
        AppendMenuA(menu, MF_STRING, MainDialog::kStripCommand, text::kStripEntry);
        AppendMenuA(menu, MF_STRING, MainDialog::kReferenceCommand, text::kReferenceEntry);
        AppendMenuA(menu, MF_STRING, MainDialog::kNoReferenceCommand, text::kNoReferenceEntry);
    }
}

void MainDialog::setIcons() {
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(window_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(smallIcon_ ? smallIcon_ : icon_));
}

void MainDialog::command(int id, int code) {
    if (showing_ || !state_) {
        return;
    }
    switch (id) {
        case id::kCom1:
        case id::kCom2:
        case id::kCom3:
        case id::kCom4:
            if (code == BN_CLICKED) {
                state_->comClicked(id);
            }
            return;
        case id::kBeep:
            if (code == BN_CLICKED) {
                state_->beepClicked();
            }
            return;
        case id::kFileType:
            if (code == CBN_SELCHANGE) {
                state_->fileTypeChosen(
                    static_cast<int>(SendDlgItemMessageA(window_, id, CB_GETCURSEL, 0, 0)));
            }
            return;
        case id::kCommentEdit:
            if (code == EN_CHANGE) {
                state_->commentEdited(itemText(window_, id, 255));
            }
            return;
        case id::kComment:
            state_->commentClicked();
            return;
        case id::kClear:
            state_->clearClicked();
            return;
        case id::kDelete:
            state_->deleteClicked();
            return;
        case id::kChange:
            state_->changeClicked();
            return;
        case kCopyRowsCommand:
            copyRows();
            return;
        default:
            break;
    }
    // IDOK and IDCANCEL (Enter and Esc) find no handler here and do nothing.
    auto found = handlers_.find(id);
    if (code == BN_CLICKED && found != handlers_.end() && found->second) {
        found->second();
    }
}

void MainDialog::notify(const NMHDR& header, LPARAM lParam) {
    if (header.code == TTN_GETDISPINFOA && comToolTip_) {
        showComToolTip(*reinterpret_cast<NMTTDISPINFOA*>(lParam));
        return;
    }
    if (header.idFrom == static_cast<UINT_PTR>(id::kTable) && header.code == LVN_ITEMCHANGED &&
        list_) {
        list_->itemChanged(*reinterpret_cast<const NMLISTVIEW*>(lParam));
    }
}

bool MainDialog::systemCommand(WPARAM command) {
    const int entry = static_cast<int>(command & 0xFFF0);
    if (entry == kCopyRowsCommand) {
        copyRows();
        return true;
    }
    if (entry == kExportCgatsCommand || entry == kPortsCommand || entry == kStripCommand ||
        entry == kReferenceCommand || entry == kNoReferenceCommand) {
        // The port mapping may change only while no port is held.
        const bool refused = entry == kPortsCommand && !state_->mayOpenPorts();
        auto found = handlers_.find(entry);
        if (!refused && found != handlers_.end() && found->second) {
            found->second();
        }
        return true;
    }
    if (!opensAbout(static_cast<int>(command))) {
        return false;
    }
    showAboutBox(services_.instance, window_);
    return true;
}

// CF_TEXT with CR LF line ends, as Windows programs paste it.
void MainDialog::copyRows() {
    const std::string text = copiedRowsText(state_->table(), "\r\n");
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (block == nullptr) {
        return;
    }
    char* bytes = static_cast<char*>(GlobalLock(block));
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    if (!OpenClipboard(window_)) {
        GlobalFree(block);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_TEXT, block) == nullptr) {
        GlobalFree(block);
    }
    CloseClipboard();
}

bool MainDialog::paintMinimised() {
    if (!IsIconic(window_)) {
        return false;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    SendMessageA(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    GetClientRect(window_, &client);
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon_);
    EndPaint(window_, &ps);
    return true;
}

void MainDialog::showState() {
    if (!state_ || !window_) {
        return;
    }
    // Setting a control raises its own notifications; they are not the operator's.
    showing_ = true;
    const MainWindowState& state = *state_;
    for (int id : MainWindowState::controls()) {
        EnableWindow(item(id), state.isEnabled(id) ? TRUE : FALSE);
        ShowWindow(item(id), state.isVisible(id) ? SW_SHOWNA : SW_HIDE);
    }
    for (int id : MainWindowState::checkableButtons()) {
        CheckDlgButton(window_, id, state.isChecked(id) ? BST_CHECKED : BST_UNCHECKED);
    }
    SendDlgItemMessageA(window_, id::kFileType, CB_SETCURSEL,
                        state.fileTypeSelection().value_or(-1), 0);
    setItemText(window_, id::kDateText, state.dateText());
    setItemText(window_, id::kStartDev, state.startButtonText());
    if (itemText(window_, id::kCommentEdit, 255) != state.commentEdit()) {
        setItemText(window_, id::kCommentEdit, state.commentEdit());
    }
    if (welcome_) {
        welcome_->setShown(state.welcomeShown());
    }
    showEntriesAndStrip(state);
    showing_ = false;
}

}  // namespace tarvo::win32

namespace tarvo::win32 {

void MainDialog::showEntriesAndStrip(const MainWindowState& state) {
    HMENU menu = GetSystemMenu(window_, FALSE);
    if (menu) {
        EnableMenuItem(menu, kPortsCommand,
                       MF_BYCOMMAND | (state.mayOpenPorts() ? MF_ENABLED : MF_GRAYED));
    }
    if (strip_) {
        strip_->setFileType(state.settings().fileType);
    }
}

// Each COM button asks for its tooltip when it is shown, so the text tells
// what the port is now, not when the window opened.
void MainDialog::addComToolTips() {
    HWND tips = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                                nullptr, services_.instance, nullptr);
    for (int id : MainWindowState::comButtons()) {
        TOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(item(id));
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void MainDialog::showComToolTip(NMTTDISPINFOA& request) {
    const int id = GetDlgCtrlID(reinterpret_cast<HWND>(request.hdr.idFrom));
    const auto buttons = MainWindowState::comButtons();
    const auto found = std::find(buttons.begin(), buttons.end(), id);
    if (found == buttons.end()) {
        return;
    }
    toolTipText_ = comToolTip_(static_cast<int>(found - buttons.begin()) + 1);
    request.lpszText = toolTipText_.data();
}

void MainDialog::showStrip() {
    if (!strip_) {
        strip_ = std::make_unique<StripWindow>(services_.instance, window_, state_->table(),
                                               state_->settings().fileType);
        strip_->setRowShower(
            [this](int row) { ListView_EnsureVisible(item(id::kTable), row, FALSE); });
        strip_->setReference(&state_->reference());
    }
    strip_->show();
}

}  // namespace tarvo::win32
