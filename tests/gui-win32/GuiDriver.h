#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace tarvo::test {

using std::chrono::milliseconds;

// Waits, checking every few milliseconds, until the condition holds or the
// deadline passes; true when it held.
bool waitUntil(const std::function<bool()>& condition, milliseconds deadline);

// A program started for the test, ended (window closed, else killed) with it.
class RunningProgram {
  public:
    RunningProgram(const std::string& commandLine, const std::string& folder);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return process_.hProcess != nullptr; }
    DWORD id() const { return process_.dwProcessId; }
    bool hasEnded(milliseconds deadline) const;
    // Closes the given window and waits for the program to end; kills it if it does not.
    void closeWindow(HWND window);
    // Ends the program at once, as a crash or the task manager would.
    void kill();

  private:
    PROCESS_INFORMATION process_{};
};

// The top-level dialog (class "#32770") of the process with this caption;
// null when none appears before the deadline.
HWND waitForDialog(DWORD processId, const std::string& caption, milliseconds deadline);
// The visible dialogs (class "#32770") of the process, whatever their caption.
std::vector<HWND> dialogsOf(DWORD processId);
// The visible top-level windows of the process that belong to the owner.
std::vector<HWND> ownedWindows(DWORD processId, HWND owner);

std::string textOf(HWND window);
std::string itemTextOf(HWND dialog, int id);
bool isEnabled(HWND dialog, int id);
bool isVisible(HWND dialog, int id);
bool isChecked(HWND dialog, int id);
// Posted, so that a button that opens a modal window does not hold the driver.
void click(HWND dialog, int id);
void setItemText(HWND dialog, int id, const std::string& text);
int comboSelection(HWND dialog, int id);
std::vector<std::string> comboItems(HWND dialog, int id);

// The clipboard's CF_TEXT, empty when it holds none; clearClipboard empties it.
std::string clipboardText();
void clearClipboard();

// A message box of the process: its caption and text.
struct MessageBoxSeen {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};
MessageBoxSeen waitForMessageBox(DWORD processId, const std::string& caption,
                                 milliseconds deadline);
void answer(const MessageBoxSeen& box, int button);

// Memory lent in another process, for the messages whose arguments point to
// memory: a record at the start, a text buffer it names after it.
class LentMemory {
  public:
    static constexpr std::size_t kTextOffset = 1024;

    explicit LentMemory(DWORD processId);
    ~LentMemory();
    LentMemory(const LentMemory&) = delete;
    LentMemory& operator=(const LentMemory&) = delete;

    bool lent() const { return remote_ != nullptr; }
    // Where the record and the text are, as the other process sees them.
    char* record() const { return remote_; }
    char* text() const { return remote_ + kTextOffset; }
    // Writes the record and empties the text buffer.
    void writeRecord(const void* record, std::size_t size) const;
    std::string readText() const;

  private:
    HANDLE process_ = nullptr;
    char* remote_ = nullptr;
};

// The text the tooltip of another process shows for a tool of owner, asked
// as the tooltip asks for it when it shows (TTM_GETTEXTA).
std::string toolTipText(DWORD processId, HWND owner, HWND tool);

// A list view of another process, read through memory lent in that process.
class RemoteListView {
  public:
    RemoteListView(HWND list, DWORD processId) : list_(list), memory_(processId) {}

    int rowCount() const;
    int columnCount() const;
    std::string cell(int row, int column) const;
    std::string heading(int column) const;
    std::vector<std::string> row(int index) const;
    bool isSelected(int row) const;

  private:
    HWND list_;
    LentMemory memory_;
};

}  // namespace tarvo::test
