#include "gui-win32/StripWindow.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>
// clang-format on

#include <algorithm>
#include <string>

#include "app/strip/PictureSaving.h"
#include "gui-win32/ScreenScale.h"
#include "gui-win32/StripChart.h"
#include "gui-win32/WindowPlace.h"

namespace tarvo::win32 {

namespace {

// The message that shows the table's changes, posted once however many came.
constexpr UINT kRefreshMessage = WM_APP + 2;
// The layout in pixels of this screen.
const int kMargin = scaled(8);
const int kTextHeight = scaled(30);
const int kHeadlineHeight = scaled(18);
const int kReferenceHeight = scaled(18);
const int kChecksHeight = scaled(92);  // five checks before the list scrolls
const int kFewChecksHeight = scaled(36);
const int kSmallestChart = scaled(150);
const int kButtonWidth = scaled(110);
const int kButtonHeight = scaled(26);
const int kWidth = scaled(700);
const int kHeight = scaled(540);

// The PNG encoder GDI+ has had since its first version.
constexpr CLSID kPngEncoder = {
    0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

HFONT makeFont(HFONT base, int heightPercent, int weight, int escapement) {
    LOGFONTA look{};
    GetObjectA(base, sizeof look, &look);
    look.lfHeight = look.lfHeight * heightPercent / 100;
    look.lfWeight = weight;
    look.lfEscapement = escapement;
    look.lfOrientation = escapement;
    return CreateFontIndirectA(&look);
}

// The file dialog gives the name in the ANSI code page.
std::wstring wideName(const std::string& ansi) {
    std::wstring wide(ansi.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0);
    return wide;
}

}  // namespace

StripWindow::StripWindow(HINSTANCE instance, HWND owner, ReadingTable& table, int fileType)
    : StripWindow(instance, owner, table, fileType, ownMessages_, ownChooser_) {}

StripWindow::StripWindow(HINSTANCE instance, HWND owner, ReadingTable& table, int fileType,
                         MessageBoxes& messages, FileChooser& chooser)
    : owner_(owner),
      table_(table),
      progress_(table, fileType),
      messages_(messages),
      chooser_(chooser) {
    HFONT base = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    textFont_ = makeFont(base, 150, FW_BOLD, 0);
    verticalFont_ = makeFont(base, 100, FW_NORMAL, 900);
    // WS_EX_CONTROLPARENT: the dialog manager's Tab goes into the controls.
    create(instance, "TarvoStrip", WS_EX_CONTROLPARENT, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
           "Strip", {CW_USEDEFAULT, CW_USEDEFAULT, kWidth, kHeight}, owner);
    if (window_) {
        ownMessages_.setOwner(window_);
        ownChooser_.setOwner(window_);
        createControls(instance);
        focused_ = checksList_;
        progress_.setChangeListener([this] { tableChanged(); });
        refresh();
    }
}

StripWindow::~StripWindow() {
    progress_.setChangeListener(nullptr);
    destroy();
    DeleteObject(textFont_);
    DeleteObject(verticalFont_);
}

void StripWindow::createControls(HINSTANCE instance) {
    text_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0,
                            0, window_, reinterpret_cast<HMENU>(kTextId), instance, nullptr);
    reference_ =
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                        window_, reinterpret_cast<HMENU>(kReferenceLineId), instance, nullptr);
    SendMessageA(reference_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    save_ = CreateWindowExA(0, "BUTTON", "Save Picture...",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(kSavePictureId), instance, nullptr);
    SendMessageA(text_, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_), FALSE);
    createChecksList(instance);
    SendMessageA(save_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    layout();
}

// A headline and a list a screen reader can read; choosing a check selects
// its row in the main table, ready for Change.
void StripWindow::createChecksList(HINSTANCE instance) {
    checksHeadline_ =
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                        window_, reinterpret_cast<HMENU>(kChecksHeadlineId), instance, nullptr);
    checksList_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "Checks",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT |
                                      LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                                  0, 0, 0, 0, window_, reinterpret_cast<HMENU>(kChecksListId),
                                  instance, nullptr);
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(checksHeadline_, WM_SETFONT, font, FALSE);
    SendMessageA(checksList_, WM_SETFONT, font, FALSE);
    ListView_SetExtendedListViewStyle(checksList_, LVS_EX_FULLROWSELECT);
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = kWidth;
    ListView_InsertColumn(checksList_, 0, &column);
}

void StripWindow::show() {
    refresh();
    if (!placed_ && owner_) {
        placeBeside(window_, owner_);
        placed_ = true;
    }
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
}

LRESULT StripWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            layout();
            return 0;
        case WM_PAINT:
            paint();
            return 0;
        case WM_CLOSE:  // the window stays, with what it follows, until the program ends
            ShowWindow(window_, SW_HIDE);
            return 0;
        case WM_ACTIVATE:
            activated(wParam);
            return 0;
        case WM_SETFOCUS:
            if (focused_) {
                SetFocus(focused_);
            }
            return 0;
        case WM_NOTIFY:
            checksNotified(*reinterpret_cast<const NMHDR*>(lParam));
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {  // Esc, from the dialog manager
                ShowWindow(window_, SW_HIDE);
            } else if (LOWORD(wParam) == kSavePictureId && HIWORD(wParam) == BN_CLICKED) {
                refresh();
                savePicture(chooser_, messages_,
                            [this](const std::string& path) { return writePng(path); });
            }
            return 0;
        case kRefreshMessage:
            refresh();
            return 0;
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

// As the dialog manager does for a dialog: the control that had the focus
// when the window was left gets it back, the check list the first time.
void StripWindow::activated(WPARAM how) {
    if (LOWORD(how) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) {
            focused_ = focus;
        }
    } else if (!HIWORD(how) && focused_) {  // not while minimised
        SetFocus(focused_);
    }
}

// A short window (one made smaller to open beside the main window) keeps
// room for the chart: the check list scrolls sooner.
int StripWindow::checksHeight(int clientHeight) {
    const int fixed =
        6 * kMargin + kTextHeight + kReferenceHeight + kHeadlineHeight + kButtonHeight;
    return std::clamp(clientHeight - fixed - kSmallestChart, kFewChecksHeight, kChecksHeight);
}

RECT StripWindow::chartArea() const {
    RECT client{};
    GetClientRect(window_, &client);
    return {kMargin,
            4 * kMargin + kTextHeight + kReferenceHeight + kHeadlineHeight +
                checksHeight(client.bottom),
            client.right - kMargin, client.bottom - 2 * kMargin - kButtonHeight};
}

void StripWindow::layout() {
    if (!text_ || !save_) {
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    MoveWindow(text_, kMargin, kMargin, client.right - 2 * kMargin, kTextHeight, TRUE);
    MoveWindow(reference_, kMargin, kMargin + kTextHeight, client.right - 2 * kMargin,
               kReferenceHeight, TRUE);
    const int headlineTop = 2 * kMargin + kTextHeight + kReferenceHeight;
    MoveWindow(checksHeadline_, kMargin, headlineTop, client.right - 2 * kMargin, kHeadlineHeight,
               TRUE);
    MoveWindow(checksList_, kMargin, headlineTop + kHeadlineHeight + kMargin,
               client.right - 2 * kMargin, checksHeight(client.bottom), TRUE);
    ListView_SetColumnWidth(checksList_, 0, LVSCW_AUTOSIZE_USEHEADER);
    MoveWindow(save_, client.right - kMargin - kButtonWidth,
               client.bottom - kMargin - kButtonHeight, kButtonWidth, kButtonHeight, TRUE);
    InvalidateRect(window_, nullptr, TRUE);
}

// A hidden window is brought up to date when it is shown again; until then a
// reading costs it nothing.
void StripWindow::tableChanged() {
    if (!refreshPending_ && window_ && IsWindowVisible(window_)) {
        refreshPending_ = true;
        PostMessageA(window_, kRefreshMessage, 0, 0);
    }
}

void StripWindow::refresh() {
    refreshPending_ = false;
    picture_ = progress_.picture();
    showText(text_, picture_.text);
    showText(reference_, picture_.reference);
    showChecks(picture_.checks);
    const RECT area = chartArea();
    InvalidateRect(window_, &area, FALSE);
}

// Only a text that changed is set: each setting redraws the control.
void StripWindow::showText(HWND control, const std::string& text) {
    char shown[512] = {};
    GetWindowTextA(control, shown, sizeof shown);
    if (text != shown) {
        SetWindowTextA(control, text.c_str());
    }
}

void StripWindow::showChecks(const std::vector<StripCheck>& checks) {
    SetWindowTextA(checksHeadline_, checksHeadline(checks.size()).c_str());
    const auto changed = listed_.update(checks);
    if (!changed) {
        return;
    }
    fillingChecks_ = true;
    const auto& listed = listed_.checks();
    const int shown = ListView_GetItemCount(checksList_);
    for (auto i = static_cast<int>(*changed); i < static_cast<int>(listed.size()); ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<char*>(listed[static_cast<std::size_t>(i)].text.c_str());
        SendMessageA(checksList_, i < shown ? LVM_SETITEMA : LVM_INSERTITEMA, 0,
                     reinterpret_cast<LPARAM>(&item));
    }
    for (int i = shown - 1; i >= static_cast<int>(listed.size()); --i) {
        ListView_DeleteItem(checksList_, i);
    }
    fillingChecks_ = false;
}

void StripWindow::checksNotified(const NMHDR& header) {
    if (header.idFrom != static_cast<UINT_PTR>(kChecksListId) || fillingChecks_) {
        return;
    }
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) {
            checkChosen(change.iItem);
        }
    } else if (header.code == NM_CLICK) {
        // Also the check already selected, chosen again after a click into the table.
        checkChosen(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
    }
}

void StripWindow::checkChosen(int index) {
    if (const auto row = listed_.choose(index, table_); row && showRow_) {
        showRow_(*row);
    }
}

// Drawn into a bitmap first, so the chart does not flicker as it is redrawn.
void StripWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    const RECT area = chartArea();
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width > 0 && height > 0) {
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        drawStripChart(memory, RECT{0, 0, width, height}, picture_, verticalFont_);
        BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
    EndPaint(window_, &ps);
}

bool StripWindow::writePng(const std::string& path) const {
    const RECT area = chartArea();
    const int width = std::max<int>(area.right - area.left, 320);
    const int height = std::max<int>(area.bottom - area.top, 200);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    drawStripChart(memory, RECT{0, 0, width, height}, picture_, verticalFont_);
    SelectObject(memory, old);

    bool written = false;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
        {
            Gdiplus::Bitmap image(bitmap, nullptr);
            written = image.Save(wideName(path).c_str(), &kPngEncoder, nullptr) == Gdiplus::Ok;
        }
        Gdiplus::GdiplusShutdown(token);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    return written;
}

}  // namespace tarvo::win32
