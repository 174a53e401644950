#pragma once

#include <windows.h>

#include "app/StripProgress.h"
#include "files/FileChooser.h"
#include "gui-win32/OwnWindow.h"
#include "res/MessageBoxes.h"

namespace tarvo::win32 {

// The "Strip" window: the next patch to measure in a static text control (so
// screen readers and UI tests read it) and the density curves drawn with GDI,
// following the reading table as readings come. It shows a StripProgress and
// decides nothing itself. Closing it only hides it.
class StripWindow final : public OwnWindow {
  public:
    static constexpr int kTextId = 1301;
    static constexpr int kSavePictureId = 1302;

    StripWindow(HINSTANCE instance, HWND owner, ReadingTable& table, int fileType,
                MessageBoxes& messages, FileChooser& chooser);
    ~StripWindow() override;

    void setFileType(int fileType) { progress_.setFileType(fileType); }
    // Shows the window and brings it to the front.
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
    RECT chartArea() const;

    StripProgress progress_;
    MessageBoxes& messages_;
    FileChooser& chooser_;
    StripPicture picture_;
    HWND text_ = nullptr;
    HWND save_ = nullptr;
    HFONT textFont_ = nullptr;
    HFONT verticalFont_ = nullptr;
    bool refreshPending_ = false;
};

}  // namespace tarvo::win32
