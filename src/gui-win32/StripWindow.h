#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "app/strip/StripProgress.h"
#include "base/MessageBoxes.h"
#include "files/FileChooser.h"
#include "gui-win32/OwnWindow.h"
#include "gui-win32/Win32FileChooser.h"
#include "gui-win32/Win32MessageBoxes.h"

namespace tarvo::win32 {

// The "Strip" window: the next patch to measure in a static text control (so
// screen readers and UI tests read it) and the density curves drawn with GDI,
// following the reading table as readings come. It shows a StripProgress and
// decides nothing itself. Closing it (Esc too) only hides it. It answers the
// keyboard as a dialog does: Tab goes from the check list to "Save Picture..."
// and back, and the control that had the focus gets it again when the window
// is activated. It opens beside the main window.
class StripWindow final : public OwnWindow {
  public:
    static constexpr int kTextId = 1301;
    static constexpr int kSavePictureId = 1302;
    // The checks' headline (static text) and the checks, one list-view item each.
    static constexpr int kChecksHeadlineId = 1303;
    static constexpr int kChecksListId = 1304;
    // "Reference: NAME" under the next-patch line; empty while there is none.
    static constexpr int kReferenceLineId = 1305;

    // Save Picture's file dialog and its message boxes are the window's own.
    StripWindow(HINSTANCE instance, HWND owner, ReadingTable& table, int fileType);
    // The boxes given instead (a test's).
    StripWindow(HINSTANCE instance, HWND owner, ReadingTable& table, int fileType,
                MessageBoxes& messages, FileChooser& chooser);
    ~StripWindow() override;

    void setFileType(int fileType) { progress_.setFileType(fileType); }
    // The reference the strip is held against; null: none.
    void setReference(ChosenReference* reference) { progress_.setReference(reference); }
    // Brings the row of a chosen check into the main table's view.
    void setRowShower(std::function<void(int)> shower) { showRow_ = std::move(shower); }
    // Shows the window and brings it to the front; the first time beside its
    // owner.
    void show();
    // Shows the table as it is now; changes are otherwise shown together once
    // the message loop runs, so a reading's cell writes draw one picture.
    void refresh();
    // The chart as a PNG file, through GDI+; false when it could not be written.
    bool writePng(const std::string& path) const;

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void createControls(HINSTANCE instance);
    void layout();
    void paint();
    void tableChanged();
    void createChecksList(HINSTANCE instance);
    void showChecks(const std::vector<StripCheck>& checks);
    void showText(HWND control, const std::string& text);
    void checksNotified(const NMHDR& header);
    void checkChosen(int index);
    void activated(WPARAM how);
    static int checksHeight(int clientHeight);
    RECT chartArea() const;

    HWND owner_;
    ReadingTable& table_;
    StripProgress progress_;
    Win32MessageBoxes ownMessages_;
    Win32FileChooser ownChooser_;
    MessageBoxes& messages_;
    FileChooser& chooser_;
    StripPicture picture_;
    HWND text_ = nullptr;
    HWND reference_ = nullptr;
    HWND save_ = nullptr;
    HWND checksHeadline_ = nullptr;
    HWND checksList_ = nullptr;
    ListedChecks listed_;
    bool fillingChecks_ = false;
    std::function<void(int)> showRow_;
    HFONT textFont_ = nullptr;
    HFONT verticalFont_ = nullptr;
    bool refreshPending_ = false;
    bool placed_ = false;
    HWND focused_ = nullptr;  // the control that gets the focus back on activation
};

}  // namespace tarvo::win32
