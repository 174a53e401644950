#pragma once

#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/table/XCellRange.hpp>

#include <memory>

#include "excel/AutomationValue.h"
#include "excel/calc/CalcDocument.h"
#include "excel/calc/CalcSession.h"

// The spreadsheet server's objects as Calc carries them out. Each answers the
// member numbers the client uses and fails every other one.
namespace tarvo::calc {

class CalcObject : public Dispatch {
  public:
    std::optional<AutomationValue> get(DispId, std::span<const AutomationValue>) override {
        return std::nullopt;
    }
    bool put(DispId, const AutomationValue&) override { return false; }
    std::optional<AutomationValue> call(DispId, std::span<const AutomationValue>) override {
        return std::nullopt;
    }
    std::shared_ptr<ConnectionPoint> findConnectionPoint(std::string_view) override {
        return nullptr;
    }

  protected:
    explicit CalcObject(std::shared_ptr<CalcSession> session) : session_(std::move(session)) {}

    std::shared_ptr<CalcSession> session_;
};

class CalcApplication final : public CalcObject {
  public:
    explicit CalcApplication(std::shared_ptr<CalcSession> session)
        : CalcObject(std::move(session)) {}
    std::optional<AutomationValue> get(DispId id, std::span<const AutomationValue> args) override;
    bool put(DispId id, const AutomationValue& value) override;
    std::optional<AutomationValue> call(DispId id, std::span<const AutomationValue> args) override;

  private:
    bool forEachWindow(const std::function<void(CalcDocument&)>& action);
};

class CalcWorkbooks final : public CalcObject {
  public:
    explicit CalcWorkbooks(std::shared_ptr<CalcSession> session) : CalcObject(std::move(session)) {}
    std::optional<AutomationValue> get(DispId id, std::span<const AutomationValue> args) override;
    std::optional<AutomationValue> call(DispId id, std::span<const AutomationValue> args) override;

  private:
    std::optional<AutomationValue> load(const rtl::OUString& url);
};

// The frame window of one workbook.
class CalcWindow final : public CalcObject {
  public:
    CalcWindow(std::shared_ptr<CalcSession> session, std::shared_ptr<CalcDocument> document)
        : CalcObject(std::move(session)), document_(std::move(document)) {}
    bool put(DispId id, const AutomationValue& value) override;

  private:
    std::shared_ptr<CalcDocument> document_;
};

class CalcWorkbook final : public CalcObject {
  public:
    CalcWorkbook(std::shared_ptr<CalcSession> session, std::shared_ptr<CalcDocument> document)
        : CalcObject(std::move(session)), document_(std::move(document)) {}
    std::optional<AutomationValue> get(DispId id, std::span<const AutomationValue> args) override;
    std::optional<AutomationValue> call(DispId id, std::span<const AutomationValue> args) override;
    std::shared_ptr<ConnectionPoint> findConnectionPoint(std::string_view interfaceId) override;

  private:
    std::optional<AutomationValue> saveCopyAs(std::span<const AutomationValue> args);

    std::shared_ptr<CalcDocument> document_;
};

class CalcWorksheets final : public CalcObject {
  public:
    CalcWorksheets(std::shared_ptr<CalcSession> session, std::shared_ptr<CalcDocument> document,
                   css::uno::Reference<css::sheet::XSpreadsheets> sheets)
        : CalcObject(std::move(session)),
          document_(std::move(document)),
          sheets_(std::move(sheets)) {}
    std::optional<AutomationValue> get(DispId id, std::span<const AutomationValue> args) override;
    std::optional<AutomationValue> call(DispId id, std::span<const AutomationValue> args) override;

  private:
    AutomationValue sheetValue(css::uno::Reference<css::sheet::XSpreadsheet> sheet);

    std::shared_ptr<CalcDocument> document_;
    css::uno::Reference<css::sheet::XSpreadsheets> sheets_;
};

class CalcWorksheet final : public CalcObject {
  public:
    CalcWorksheet(std::shared_ptr<CalcSession> session, std::shared_ptr<CalcDocument> document,
                  css::uno::Reference<css::sheet::XSpreadsheet> sheet)
        : CalcObject(std::move(session)),
          document_(std::move(document)),
          sheet_(std::move(sheet)) {}
    std::optional<AutomationValue> get(DispId id, std::span<const AutomationValue> args) override;
    std::optional<AutomationValue> call(DispId id, std::span<const AutomationValue> args) override;

  private:
    std::shared_ptr<CalcDocument> document_;
    css::uno::Reference<css::sheet::XSpreadsheet> sheet_;
};

class CalcRange final : public CalcObject {
  public:
    CalcRange(std::shared_ptr<CalcSession> session, std::shared_ptr<CalcDocument> document,
              css::uno::Reference<css::table::XCellRange> range)
        : CalcObject(std::move(session)),
          document_(std::move(document)),
          range_(std::move(range)) {}
    bool put(DispId id, const AutomationValue& value) override;
    std::optional<AutomationValue> call(DispId id, std::span<const AutomationValue> args) override;

  private:
    std::shared_ptr<CalcDocument> document_;
    css::uno::Reference<css::table::XCellRange> range_;
};

// The answer of a call that succeeded without a result, or failed.
inline std::optional<AutomationValue> noResult(bool succeeded) {
    return succeeded ? std::optional<AutomationValue>(std::in_place) : std::nullopt;
}

// Arguments as the client sends them; nullopt for a missing one or another kind.
std::optional<std::int32_t> integerArgument(std::span<const AutomationValue> args,
                                            std::size_t index);
std::optional<std::string> stringArgument(std::span<const AutomationValue> args, std::size_t index);
std::optional<double> numberArgument(const AutomationValue& value);

}  // namespace tarvo::calc
