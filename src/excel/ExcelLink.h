#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/MessageBoxes.h"
#include "excel/AutomationValue.h"
#include "excel/CellAddress.h"
#include "excel/ExcelError.h"
#include "excel/WorkbookEventSink.h"

namespace tarvo {

// Finds the spreadsheet server and starts an instance of it: answers its
// Application object, or an empty reference when no server is installed.
using AutomationServerFactory = std::function<AutomationObject()>;

// The message box of a result code, with the program's name as caption.
void reportExcelError(MessageBoxes& messageBoxes, int code);

enum class CellValueKind : int { SmallInteger = 1, Integer = 2, Real = 3, Text = 4 };

// Drives one spreadsheet server on behalf of the Excel dialog: one workbook,
// one selected worksheet, single cells. Every operation answers an ExcelError;
// only reportError and the destructor speak to the operator.
class ExcelLink {
  public:
    ExcelLink(AutomationServerFactory factory, MessageBoxes& messageBoxes);
    virtual ~ExcelLink();
    ExcelLink(const ExcelLink&) = delete;
    ExcelLink& operator=(const ExcelLink&) = delete;

    ExcelError newWorkbook();
    ExcelError openWorkbook(std::string_view path);
    ExcelError worksheetCount(std::int32_t& count);
    ExcelError worksheetName(std::int32_t index, std::string& name);
    ExcelError selectWorksheet(std::string_view name);
    ExcelError show();
    ExcelError hide();
    ExcelError placeWindow(std::int32_t left, std::int32_t top, std::int32_t width,
                           std::int32_t height);
    ExcelError saveCopy(std::string_view path);
    ExcelError writeCell(std::int32_t row, std::int32_t column, CellValueKind kind,
                         std::uint8_t small, std::int32_t integer, double real,
                         std::string_view text);
    ExcelError writeText(std::int32_t row, std::int32_t column, std::string_view text);
    ExcelError close();
    bool isRunning() const;

    static std::string cellAddress(std::int32_t row, std::int32_t column) {
        return tarvo::cellAddress(row, column);
    }
    void reportError(int code);
    void reportError(ExcelError code) { reportError(static_cast<int>(code)); }

  private:
    ExcelError start(bool createNew, std::string_view path, std::string_view sheetName,
                     std::int32_t sheetIndex);
    bool takeFirstWorkbookAndSheet();
    AutomationValue sheetIndexValue(std::string_view sheetName, std::int32_t sheetIndex) const;
    bool connectEvents();
    bool disconnectEvents();
    bool closeWorkbook();
    bool closeSteps(bool letGo);
    bool quit();
    void discard();
    ExcelError guard() const;
    void releaseAll();

    AutomationServerFactory factory_;
    MessageBoxes& messageBoxes_;

    AutomationObject application_;
    AutomationObject workbooks_;
    AutomationObject workbook_;
    AutomationObject worksheets_;
    AutomationObject worksheet_;
    AutomationValue optionalArgument_;
    WorkbookEventSink eventSink_;
    bool advised_ = false;
    std::shared_ptr<ConnectionPoint> connectionPoint_;
    std::uint32_t cookie_ = 0;
    bool closeFailed_ = false;
};

}  // namespace tarvo
