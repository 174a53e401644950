#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XText.hpp>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>

#include "excel/ExcelMembers.h"
#include "excel/calc/CalcObjects.h"
#include "excel/calc/UnoSupport.h"

namespace tarvo::calc {

using namespace excel;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

AutomationValue objectValue(std::shared_ptr<Dispatch> object) {
    return AutomationValue::object(AutomationObject(std::move(object)));
}

// The store filter the extension names; Excel writes its own format for any
// other name, so does this.
const char* filterFor(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".xlsx") {
        return "Calc MS Excel 2007 XML";
    }
    if (extension == ".ods") {
        return "calc8";
    }
    return "MS Excel 97";
}

// The office would make the missing folders of a copy's path; Excel refuses
// such a path, and so does this server.
bool folderExists(const std::filesystem::path& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return !error && std::filesystem::is_directory(absolute.parent_path(), error);
}

// Attaches the client's sink to the unloading of one workbook.
class CalcConnectionPoint final : public ConnectionPoint {
  public:
    explicit CalcConnectionPoint(std::shared_ptr<CalcDocument> document)
        : document_(std::move(document)) {}

    std::optional<std::uint32_t> advise(AutomationEventSink& sink) override {
        document_->watch().connect(&sink);
        return kCookie;
    }
    bool unadvise(std::uint32_t cookie) override {
        if (cookie != kCookie) {
            return false;
        }
        document_->watch().connect(nullptr);
        return true;
    }

  private:
    static constexpr std::uint32_t kCookie = 1;
    std::shared_ptr<CalcDocument> document_;
};

}  // namespace

// --- Workbook ---------------------------------------------------------------

std::optional<AutomationValue> CalcWorkbook::get(DispId id, std::span<const AutomationValue>) {
    if (id != kWorksheets || document_->closed()) {
        return std::nullopt;
    }
    std::optional<AutomationValue> result;
    session_->run([&] {
        auto sheets = document_->spreadsheet()->getSheets();
        if (!sheets.is()) {
            return false;
        }
        result = objectValue(std::make_shared<CalcWorksheets>(session_, document_, sheets));
        return true;
    });
    return result;
}

std::optional<AutomationValue> CalcWorkbook::call(DispId id,
                                                  std::span<const AutomationValue> args) {
    if (document_->closed()) {
        return std::nullopt;
    }
    bool done = false;
    switch (id) {
        case kClose:
            done = session_->run([&] {
                document_->close();
                return true;
            });
            break;
        case kActivate:
            done = session_->run([&] {
                document_->activate();
                return true;
            });
            break;
        case kSaveCopyAs:
            return saveCopyAs(args);
    }
    return noResult(done);
}

// Stores a copy; the workbook in the office keeps its own name and state.
std::optional<AutomationValue> CalcWorkbook::saveCopyAs(std::span<const AutomationValue> args) {
    auto path = stringArgument(args, 0);
    if (!path || path->empty() || !folderExists(*path)) {
        return std::nullopt;
    }
    const rtl::OUString url = fileUrl(*path);
    if (url.isEmpty()) {
        return std::nullopt;
    }
    const bool stored = session_->run(
        [&] {
            Reference<css::frame::XStorable> storable(document_->spreadsheet(), UNO_QUERY_THROW);
            const rtl::OUString filter = rtl::OUString::createFromAscii(filterFor(*path));
            storable->storeToURL(url, properties({property("FilterName", Any(filter)),
                                                  property("Overwrite", Any(true))}));
            return true;
        },
        CalcSession::Limit::File);
    return noResult(stored);
}

std::shared_ptr<ConnectionPoint> CalcWorkbook::findConnectionPoint(std::string_view interfaceId) {
    if (interfaceId != kWorkbookEventsId || document_->closed()) {
        return nullptr;
    }
    return std::make_shared<CalcConnectionPoint>(document_);
}

// --- Worksheets -------------------------------------------------------------

AutomationValue CalcWorksheets::sheetValue(Reference<css::sheet::XSpreadsheet> sheet) {
    return objectValue(std::make_shared<CalcWorksheet>(session_, document_, std::move(sheet)));
}

std::optional<AutomationValue> CalcWorksheets::get(DispId id,
                                                   std::span<const AutomationValue> args) {
    if (document_->closed()) {
        return std::nullopt;
    }
    std::optional<AutomationValue> result;
    session_->run([&] {
        Reference<css::container::XIndexAccess> byIndex(sheets_, UNO_QUERY_THROW);
        if (id == kCount) {
            result = AutomationValue::int32(byIndex->getCount());
        } else if (id == kItem) {
            Reference<css::sheet::XSpreadsheet> sheet;
            if (auto index = integerArgument(args, 0)) {
                if (*index >= 1 && *index <= byIndex->getCount()) {
                    byIndex->getByIndex(*index - 1) >>= sheet;
                }
            } else if (auto name = stringArgument(args, 0)) {
                const rtl::OUString key = toOUString(*name);
                if (sheets_->hasByName(key)) {
                    sheets_->getByName(key) >>= sheet;
                }
            }
            if (sheet.is()) {
                result = sheetValue(sheet);
            }
        }
        return result.has_value();
    });
    return result;
}

// A new sheet goes in front, where Excel puts it, under the first free "SheetN".
std::optional<AutomationValue> CalcWorksheets::call(DispId id, std::span<const AutomationValue>) {
    if (id != kAdd || document_->closed()) {
        return std::nullopt;
    }
    std::optional<AutomationValue> result;
    session_->run([&] {
        rtl::OUString name;
        for (int number = 1; name.isEmpty() || sheets_->hasByName(name); ++number) {
            name = toOUString("Sheet" + std::to_string(number));
        }
        sheets_->insertNewByName(name, 0);
        Reference<css::sheet::XSpreadsheet> sheet;
        sheets_->getByName(name) >>= sheet;
        if (sheet.is()) {
            result = sheetValue(sheet);
        }
        return sheet.is();
    });
    return result;
}

// --- Worksheet --------------------------------------------------------------

std::optional<AutomationValue> CalcWorksheet::get(DispId id,
                                                  std::span<const AutomationValue> args) {
    if (document_->closed()) {
        return std::nullopt;
    }
    std::optional<AutomationValue> result;
    if (id == kName) {
        session_->run([&] {
            Reference<css::container::XNamed> named(sheet_, UNO_QUERY_THROW);
            result = AutomationValue::string(toUtf8(named->getName()));
            return true;
        });
    } else if (id == kRange) {
        auto first = stringArgument(args, 0);
        auto last = stringArgument(args, 1);
        if (!first) {
            return std::nullopt;
        }
        const std::string name = !last || *last == *first ? *first : *first + ":" + *last;
        session_->run([&] {
            auto range = sheet_->getCellRangeByName(toOUString(name));
            if (range.is()) {
                result = objectValue(std::make_shared<CalcRange>(session_, document_, range));
            }
            return range.is();
        });
    }
    return result;
}

std::optional<AutomationValue> CalcWorksheet::call(DispId id, std::span<const AutomationValue>) {
    if (id != kActivate || document_->closed()) {
        return std::nullopt;
    }
    const bool done = session_->run([&] {
        auto view = document_->sheetView();
        if (view.is()) {
            view->setActiveSheet(sheet_);
        }
        return true;
    });
    return noResult(done);
}

// --- Range ------------------------------------------------------------------

namespace {

// A text lands as Excel would take it; numbers and booleans as they are.
bool setCell(const Reference<css::table::XCell>& cell, const AutomationValue& value,
             const std::function<CellInput&()>& input) {
    if (value.isEmpty() || (value.kind() == AutomationKind::String && value.asString().empty())) {
        Reference<css::text::XText>(cell, UNO_QUERY_THROW)->setString(rtl::OUString());
        return true;
    }
    if (value.kind() == AutomationKind::String) {
        input().enter(cell, toOUString(value.asString()));
        return true;
    }
    if (value.kind() == AutomationKind::Bool) {
        cell->setValue(value.asBool() ? 1.0 : 0.0);
        return true;
    }
    auto number = numberArgument(value);
    if (!number) {
        return false;
    }
    cell->setValue(*number);
    return true;
}

}  // namespace

bool CalcRange::put(DispId id, const AutomationValue& value) {
    if (id != kValue || document_->closed()) {
        return false;
    }
    return session_->run([&] {
        const auto input = [&]() -> CellInput& { return document_->input(session_->context()); };
        if (Reference<css::table::XCell> cell(range_, UNO_QUERY); cell.is()) {
            return setCell(cell, value, input);
        }
        Reference<css::sheet::XCellRangeAddressable> addressable(range_, UNO_QUERY_THROW);
        const auto area = addressable->getRangeAddress();
        for (sal_Int32 row = 0; row <= area.EndRow - area.StartRow; ++row) {
            for (sal_Int32 column = 0; column <= area.EndColumn - area.StartColumn; ++column) {
                if (!setCell(range_->getCellByPosition(column, row), value, input)) {
                    return false;
                }
            }
        }
        return true;
    });
}

std::optional<AutomationValue> CalcRange::call(DispId id, std::span<const AutomationValue>) {
    if (id != kActivate || document_->closed()) {
        return std::nullopt;
    }
    const bool done = session_->run([&] {
        auto selection = document_->selection();
        if (selection.is()) {
            selection->select(Any(range_));
        }
        return true;
    });
    return noResult(done);
}

}  // namespace tarvo::calc
