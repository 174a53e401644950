#pragma once

#include <array>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "base/MessageBoxes.h"
#include "excel/ExcelLink.h"
#include "excel/transfer/TransferSession.h"
#include "files/FileChooser.h"
#include "files/IniFile.h"

namespace tarvo {

inline constexpr int kMaxSheetNames = 20;

// What the Excel dialog reaches outside itself; tests hand in their own.
struct ExcelDialogServices {
    IniFile& ini;
    MessageBoxes& messages;
    FileChooser& chooser;
    AutomationServerFactory serverFactory;
    // Told when the dialog opens, so a server that takes seconds to start can
    // start before InitEXCEL asks for it; may be empty.
    std::function<void()> prepareServer = {};
    // Shown while InitEXCEL waits for the server; empty shows nothing.
    std::string startingNotice = {};
};

// What the main window does while the Excel dialog is open: the Delete button
// is disabled and each new reading is placed in the sheet (opened), and the
// other way round (closed).
struct ExcelDialogHooks {
    std::function<void()> opened;
    std::function<void()> closed;
};

// The file dialog of Browse (open mode) and SaveEXCEL (save mode), starting
// at the given path. The chosen full path, or empty when cancelled.
std::string chooseExcelFile(FileChooser& chooser, FileDialogRequest::Mode mode,
                            const std::string& initialPath, const std::string& title);

// Everything the "Excel Automation" window shows and every rule behind its
// controls. The window only shows this state and reports the operator's
// actions; the spreadsheet client and the layout live in the shared session.
class ExcelDialogLogic {
  public:
    ExcelDialogLogic(TransferSession& session, ExcelDialogServices services);

    // The controls this class governs, for the windows to loop over: the
    // edits (FileName and the eight layout fields) and the buttons usable
    // only while the spreadsheet runs.
    static std::span<const int> edits();
    static std::span<const int> excelButtons();

    // Dialog start: a client an earlier dialog left behind is closed, the
    // layout is loaded from the settings file and shown.
    void start();

    // Told after every change of what the window shows.
    void setChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }
    // Told when a close the operator asked for while one of the dialog's boxes
    // or file dialogs was open may now go ahead; it may destroy this object.
    void setCloseListener(std::function<void()> listener) { closeListener_ = std::move(listener); }

    // Text of an edit (FileName and the eight layout fields).
    const std::string& text(int id) const;
    bool isChecked(int id) const;
    // ShowEXCEL, HideEXCEL and SaveEXCEL; every other control is always enabled.
    bool isEnabled(int id) const;
    const std::vector<std::string>& sheetEntries() const { return sheetEntries_; }
    int sheetSelection() const { return sheetSelection_; }  // -1: none
    const std::array<std::string, kMaxSheetNames>& sheetNames() const { return sheetNames_; }
    const std::string& previousFileName() const { return previousFileName_; }
    // While InitEXCEL waits for the server to start the window shows the
    // notice and a busy cursor; the listener is told when this begins and ends.
    bool isBusy() const { return busy_; }
    const std::string& notice() const;

    // The operator's actions.
    void textEdited(int id, std::string text);
    void browseClicked();
    void initExcelClicked();
    void sheetChosen(int index);
    void horizontalClicked();
    void verticalClicked();
    void showExcelClicked();
    void hideExcelClicked();
    void saveExcelClicked();
    void closeExcelClicked();
    void initValuesClicked();
    // The Close button, Escape or the close box: false (after telling the
    // operator) while the spreadsheet still runs. Asked while a box or file
    // dialog of this dialog is open, it is false too, and the close listener
    // is told once the handler that opened the box has given up.
    bool closeRequested();

    void setExcelButtons(bool enabled);

  private:
    // The operator may act elsewhere while a box or file dialog is open: each
    // of these runs one such modal call, and afterwards the handler goes on
    // only while goesOn() holds (the dialog is not closing and the client it
    // worked with is still the session's).
    MessageAnswer ask(const char* question);
    std::string chooseFile(FileDialogRequest::Mode mode, const char* title);
    void report(ExcelError error);
    bool goesOn(const ExcelLink* client) const;
    // Every handler that makes a modal call runs through this, so a close
    // asked for meanwhile happens after the handler has let go of this object.
    void act(const std::function<void()>& handler);
    void browse();
    void initExcel();
    void selectSheet(int index);
    void showExcel();
    void hideExcel();
    void saveExcel();
    void closeExcel();

    void closeLeftoverClient();
    bool startWorkbook(const std::string& fileName);
    ExcelError whileBusy(const std::function<ExcelError()>& start);
    void listSheets();
    void clearSheets();
    void showLayout(const TransferLayoutFields& fields);
    TransferLayoutFields typedLayout() const;
    void setText(int id, std::string text);
    void changed();

    TransferSession& session_;
    ExcelDialogServices services_;
    std::map<int, std::string> texts_;
    bool horizontal_ = false;
    bool excelButtons_ = false;
    bool busy_ = false;
    std::vector<std::string> sheetEntries_;
    int sheetSelection_ = -1;
    std::array<std::string, kMaxSheetNames> sheetNames_;
    std::string previousFileName_;
    std::function<void()> listener_;
    std::function<void()> closeListener_;
    int modalCalls_ = 0;
    bool closing_ = false;
};

}  // namespace tarvo
