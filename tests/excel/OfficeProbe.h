#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tarvo::test {

// What a test sees of one cell of a stored workbook.
struct ProbedCell {
    enum class Kind { Empty, Number, Text, Formula } kind = Kind::Empty;
    double number = 0.0;
    std::string text;
    // The cell's number format shows a time of day.
    bool time = false;
};

// A second, independent connection to an office the client started: it looks
// at files and documents the way an operator at the office would.
class OfficeProbe {
  public:
    explicit OfficeProbe(const std::string& pipeName);
    ~OfficeProbe();

    // Reads one cell of a stored workbook by (sheet, row, column), 0-based.
    ProbedCell cell(const std::filesystem::path& file, int sheet, int row, int column);
    // The cells of the first rows and columns of a stored workbook, loaded once.
    std::vector<std::vector<ProbedCell>> cells(const std::filesystem::path& file, int sheet,
                                               int rows, int columns);
    // Closes every open workbook with the window's own Close command.
    void closeDocumentsAsTheUser();
    // Opens or closes Print Preview in every open workbook, as the operator
    // would from the File menu: each gets a view of its own.
    void togglePrintPreview();
    // A workbook of the operator's own, typed into and not saved.
    void changeAWorkbookOfTheOperator();
    // Throws the operator's changes away, closes every workbook and ends the office.
    void endOffice();
    // Waits up to `bound` for the office to show a question (a dialog of the
    // office's own toolkit), leaves it open for `thinking`, then cancels it.
    // False when no question came.
    bool cancelQuestion(std::chrono::milliseconds bound, std::chrono::milliseconds thinking);
    // The active cell of the first open workbook's view, e.g. "C4"; empty
    // when nothing single is selected.
    std::string activeCell();

  private:
    struct Impl;
    Impl* impl_;
};

// An X server of its own for as long as it lives (Xvfb), as DISPLAY.
class VirtualDisplay {
  public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    // False when Xvfb is not installed or did not start.
    bool running() const { return server_ > 0; }

  private:
    void stop();

    pid_t server_ = -1;
};

// The profile folder an office process was started with.
std::filesystem::path officeProfile(pid_t office);

// Ids of office processes that listen on `pipeName`.
std::vector<pid_t> officeProcesses(const std::string& pipeName);

// Waits for `condition` to hold, looking again every few milliseconds, up to `bound`.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound);

}  // namespace tarvo::test
