#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <span>
#include <string>

#include "app/DateText.h"
#include "app/strip/ChosenReference.h"
#include "files/ExportFormat.h"
#include "files/IniFile.h"
#include "files/Settings.h"
#include "table/ReadingTable.h"

namespace tarvo {

// True for the system-menu commands that open the About box: the framework
// keeps the low four bits of a command for itself, so 16 to 31 all mean About.
bool opensAbout(int systemCommand);

// Everything the main window shows besides the rows of its table, and the
// rules behind its controls. The window only shows this state and reports the
// operator's actions; later parts of the program (the acquisition cycle, the
// spreadsheet dialog) drive it through the same operations.
class MainWindowState {
  public:
    MainWindowState(IniFile& ini, const Clock& clock, int tableClientWidth);

    // The controls this class governs, for the windows to loop over: every
    // control with an enabled and visible state, the COM radio buttons (COM1
    // first), and the buttons with a checked state.
    static std::span<const int> controls();
    static std::span<const int> comButtons();
    static std::span<const int> checkableButtons();

    // Start-up: loads the settings and shows them, forces instant save off,
    // writes today's date text. Every control's enabled state is set as after
    // the window's creation.
    void initialise();

    // Told after every change of what the window shows (not of the rows).
    void setChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

    bool isEnabled(int id) const;
    bool isVisible(int id) const;
    bool isChecked(int id) const;
    // Nothing for a file type outside the combo box's items.
    std::optional<int> fileTypeSelection() const { return fileTypeSelection_; }
    const std::string& dateText() const { return dateText_; }
    const char* startButtonText() const;
    bool welcomeShown() const { return welcomeShown_; }
    const std::string& commentEdit() const { return commentEdit_; }
    bool stopped() const { return stopped_; }
    // The port mapping may change only while no port is held.
    bool mayOpenPorts() const { return stopped_; }

    // The operator's actions.
    void comClicked(int id);
    void beepClicked();
    void fileTypeChosen(int index);
    void commentEdited(std::string text) { commentEdit_ = std::move(text); }
    void commentClicked();
    void clearClicked() { table_.clear(); }
    void deleteClicked() { table_.deleteSelected(); }
    void changeClicked() { table_.change(); }

    // Used by the acquisition cycle and the spreadsheet dialog.
    void acquisitionStarted();
    void acquisitionStopped();
    void excelDialogOpened();
    void excelDialogClosed();
    void setWelcomeShown(bool shown);
    // The date text of the given moment, so a reading's date and time agree.
    void updateDate(const LocalTime& now);
    // At most 19 characters of the comment edit for a new reading; a text that
    // is taken empties the edit.
    std::string takeComment();

    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    ReadingTable& table() { return table_; }
    const ReadingTable& table() const { return table_; }
    // The strip the Strip window holds today's readings against.
    ChosenReference& reference() { return reference_; }
    // The list's client width in pixels, from which a mode switch builds
    // columns: measured anew each time once the window gives a way to.
    int tableClientWidth() const { return measureWidth_ ? measureWidth_() : tableClientWidth_; }
    void setTableWidthMeasure(std::function<int()> measure) { measureWidth_ = std::move(measure); }
    IniFile& ini() { return ini_; }
    const Clock& clock() const { return clock_; }

  private:
    void setEnabled(std::initializer_list<int> ids, bool enabled);
    void checkCom(int id);
    void changed();

    IniFile& ini_;
    const Clock& clock_;
    Settings settings_;
    int tableClientWidth_;
    ReadingTable table_;
    ChosenReference reference_{ini_};
    std::map<int, bool> enabled_;
    int checkedCom_;
    std::optional<int> fileTypeSelection_;
    std::string dateText_;
    std::string commentEdit_;
    bool stopped_ = true;
    bool welcomeShown_ = true;
    std::function<void()> listener_;
    std::function<int()> measureWidth_;
};

}  // namespace tarvo
