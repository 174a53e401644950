#include "gui-win32/ExcelDialog.h"

#include <vector>

#include "gui-win32/WindowText.h"
#include "res/ControlIds.h"

namespace tarvo::win32 {

namespace {

constexpr int kExcelTemplate = 132;
constexpr std::size_t kFieldChars = 255;

bool isEdit(int id) {
    for (int edit : ExcelDialogLogic::edits()) {
        if (edit == id) {
            return true;
        }
    }
    return false;
}

}  // namespace

ExcelDialog::ExcelDialog(HINSTANCE instance, HWND owner, TransferSession& session,
                         ExcelDialogServices services, std::function<void()> closed)
    : logic_(session, std::move(services)), closed_(std::move(closed)) {
    CreateDialogParamA(instance, MAKEINTRESOURCEA(kExcelTemplate), owner, dialogProc,
                       reinterpret_cast<LPARAM>(this));
}

ExcelDialog::~ExcelDialog() {
    logic_.setChangeListener(nullptr);
    if (window_ && IsWindow(window_)) {
        closed_ = nullptr;
        DestroyWindow(window_);
    }
}

INT_PTR CALLBACK ExcelDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<ExcelDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->window_ = window;
        self->logic_.setChangeListener([self] { self->showLogic(); });
        // Posted: the handler that asked for it is still on the stack.
        self->logic_.setCloseListener([self] { PostMessageA(self->window_, WM_CLOSE, 0, 0); });
        self->logic_.start();
        self->showLogic();
        return TRUE;
    }
    auto* self = reinterpret_cast<ExcelDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    return self ? self->handleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR ExcelDialog::handleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            closeRequested();
            return TRUE;
        case WM_SETCURSOR:
            // Also when COM's wait for the server lets the mouse's messages
            // through, and over the edits, which would show their I-beam.
            if (logic_.isBusy()) {
                SetCursor(LoadCursorA(nullptr, IDC_WAIT));
                SetWindowLongPtrA(window_, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case WM_NCDESTROY: {
            // The last message of the window: the object may go with it.
            SetWindowLongPtrA(window_, DWLP_USER, 0);
            window_ = nullptr;
            auto closed = std::move(closed_);
            if (closed) {
                closed();
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

void ExcelDialog::command(int id, int code) {
    if (showing_) {
        return;
    }
    if (isEdit(id)) {
        if (code == EN_CHANGE) {
            logic_.textEdited(id, itemText(window_, id, kFieldChars));
        }
        return;
    }
    if (id == id::kSheetName) {
        if (code == CBN_SELCHANGE) {
            logic_.sheetChosen(
                static_cast<int>(SendDlgItemMessageA(window_, id, CB_GETCURSEL, 0, 0)));
        }
        return;
    }
    if (code == BN_CLICKED) {
        click(id);
    }
}

void ExcelDialog::click(int id) {
    switch (id) {
        case id::kBrowse:
            return logic_.browseClicked();
        case id::kInitExcel:
            return logic_.initExcelClicked();
        case id::kHorizontal:
            return logic_.horizontalClicked();
        case id::kVertical:
            return logic_.verticalClicked();
        case id::kShowExcel:
            return logic_.showExcelClicked();
        case id::kHideExcel:
            return logic_.hideExcelClicked();
        case id::kSaveExcel:
            return logic_.saveExcelClicked();
        case id::kCloseExcel:
            return logic_.closeExcelClicked();
        case id::kInitValues:
            return logic_.initValuesClicked();
        // Close, the hidden Cancel and Escape end the window as its close
        // box does, so the main window always learns that it is gone.
        case id::kExcelClose:
        case id::kExcelCancel:
            return closeRequested();
        default:
            return;
    }
}

void ExcelDialog::closeRequested() {
    if (logic_.closeRequested()) {
        DestroyWindow(window_);
    }
}

void ExcelDialog::showLogic() {
    if (!window_) {
        return;
    }
    showing_ = true;
    for (int id : ExcelDialogLogic::edits()) {
        if (itemText(window_, id, kFieldChars) != logic_.text(id)) {
            setItemText(window_, id, logic_.text(id));
        }
    }
    for (int id : {id::kHorizontal, id::kVertical}) {
        CheckDlgButton(window_, id, logic_.isChecked(id) ? BST_CHECKED : BST_UNCHECKED);
    }
    for (int id : ExcelDialogLogic::excelButtons()) {
        EnableWindow(GetDlgItem(window_, id), logic_.isEnabled(id) ? TRUE : FALSE);
    }
    showSheets();
    showCursor();
    showing_ = false;
}

// Set at once: while the spreadsheet starts, a message reaches the window only
// when COM lets one through. Once it has started, the window under the mouse
// sets its own cursor again, the I-beam over an edit.
void ExcelDialog::showCursor() {
    if (logic_.isBusy() == waiting_) {
        return;
    }
    waiting_ = logic_.isBusy();
    if (waiting_) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return;
    }
    POINT at{};
    GetCursorPos(&at);
    HWND under = WindowFromPoint(at);
    if (under && (under == window_ || IsChild(window_, under))) {
        const LRESULT hit = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
        SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                     MAKELPARAM(hit, WM_MOUSEMOVE));
    } else {
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    }
}

// The list is rebuilt only when the names differ, entry 0 deleted until none
// is left and the names appended in order.
void ExcelDialog::showSheets() {
    HWND combo = GetDlgItem(window_, id::kSheetName);
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    std::vector<std::string> shown;
    for (int i = 0; i < count; ++i) {
        std::vector<char> text(
            static_cast<std::size_t>(SendMessageA(combo, CB_GETLBTEXTLEN, i, 0)) + 1);
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        shown.emplace_back(text.data());
    }
    if (shown != logic_.sheetEntries()) {
        for (int i = 0; i < count; ++i) {
            SendMessageA(combo, CB_DELETESTRING, 0, 0);
        }
        for (const std::string& name : logic_.sheetEntries()) {
            SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(name.c_str()));
        }
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(logic_.sheetSelection()), 0);
}

}  // namespace tarvo::win32
