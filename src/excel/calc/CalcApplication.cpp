#include <com/sun/star/awt/PosSize.hpp>
#include <com/sun/star/awt/XTopWindow2.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <filesystem>

#include "excel/ExcelMembers.h"
#include "excel/calc/CalcObjects.h"
#include "excel/calc/UnoSupport.h"

namespace tarvo::calc {

using namespace excel;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

constexpr std::int32_t xlMinimized = -4140;

AutomationValue objectValue(std::shared_ptr<Dispatch> object) {
    return AutomationValue::object(AutomationObject(std::move(object)));
}

void applyWindowState(CalcDocument& document, std::int32_t state) {
    Reference<css::awt::XTopWindow2> window(document.window(), UNO_QUERY);
    if (!window.is()) {
        return;
    }
    window->setIsMinimized(state == xlMinimized);
    window->setIsMaximized(state == xlMaximized);
}

// The client speaks Excel's points; the office places windows in pixels.
sal_Int32 pixels(double points) {
    return static_cast<sal_Int32>(points * 96.0 / 72.0);
}

void placeSide(CalcDocument& document, DispId side, double points) {
    auto window = document.window();
    if (!window.is()) {
        return;
    }
    const sal_Int32 value = pixels(points);
    switch (side) {
        case kLeft:
            window->setPosSize(value, 0, 0, 0, css::awt::PosSize::X);
            break;
        case kTop:
            window->setPosSize(0, value, 0, 0, css::awt::PosSize::Y);
            break;
        case kWidth:
            window->setPosSize(0, 0, value, 0, css::awt::PosSize::WIDTH);
            break;
        case kHeight:
            window->setPosSize(0, 0, 0, value, css::awt::PosSize::HEIGHT);
            break;
    }
}

}  // namespace

std::optional<AutomationValue> CalcApplication::get(DispId id, std::span<const AutomationValue>) {
    if (!session_->alive()) {
        return std::nullopt;
    }
    if (id == kWorkbooks) {
        return objectValue(std::make_shared<CalcWorkbooks>(session_));
    }
    if (id == kActiveWindow) {
        auto documents = session_->openDocuments();
        if (documents.empty()) {
            return std::nullopt;
        }
        return objectValue(std::make_shared<CalcWindow>(session_, documents.front()));
    }
    return std::nullopt;
}

bool CalcApplication::forEachWindow(const std::function<void(CalcDocument&)>& action) {
    return session_->run([&] {
        for (const auto& document : session_->openDocuments()) {
            action(*document);
        }
        return true;
    });
}

bool CalcApplication::put(DispId id, const AutomationValue& value) {
    switch (id) {
        // Only Quit asks: about the operator's own documents in the office.
        case kDisplayAlerts:
            if (!session_->alive() || value.kind() != AutomationKind::Bool) {
                return false;
            }
            session_->displayAlerts = value.asBool();
            return true;
        case kVisible: {
            if (value.kind() != AutomationKind::Bool) {
                return false;
            }
            session_->visible = value.asBool();
            return forEachWindow([&](CalcDocument& document) {
                if (auto window = document.window(); window.is()) {
                    window->setVisible(value.asBool());
                }
            });
        }
        case kWindowState: {
            auto state = value.integer();
            return state && forEachWindow([&](CalcDocument& document) {
                       applyWindowState(document, *state);
                   });
        }
        case kLeft:
        case kTop:
        case kWidth:
        case kHeight: {
            auto points = numberArgument(value);
            return points &&
                   forEachWindow([&](CalcDocument& document) { placeSide(document, id, *points); });
        }
    }
    return false;
}

std::optional<AutomationValue> CalcApplication::call(DispId id, std::span<const AutomationValue>) {
    if (id == kQuit && session_->quit()) {
        return noResult(true);
    }
    return std::nullopt;
}

std::optional<AutomationValue> CalcWorkbooks::get(DispId id,
                                                  std::span<const AutomationValue> args) {
    if (!session_->alive()) {
        return std::nullopt;
    }
    auto documents = session_->openDocuments();
    if (id == kCount) {
        return AutomationValue::int32(static_cast<std::int32_t>(documents.size()));
    }
    if (id == kItem) {
        auto index = integerArgument(args, 0);
        if (!index || *index < 1 || static_cast<std::size_t>(*index) > documents.size()) {
            return std::nullopt;
        }
        return objectValue(std::make_shared<CalcWorkbook>(session_, documents[*index - 1]));
    }
    return std::nullopt;
}

std::optional<AutomationValue> CalcWorkbooks::call(DispId id,
                                                   std::span<const AutomationValue> args) {
    if (id == kAdd) {
        return load("private:factory/scalc");
    }
    if (id == kOpen) {
        auto path = stringArgument(args, 0);
        std::error_code error;
        if (!path || !std::filesystem::is_regular_file(*path, error)) {
            return std::nullopt;
        }
        const rtl::OUString url = fileUrl(*path);
        if (url.isEmpty()) {
            return std::nullopt;
        }
        return load(url);
    }
    return std::nullopt;
}

// Workbooks load hidden and follow Application.Visible afterwards. A file
// opened by the client runs no macros and updates no links. A new workbook is
// loaded too, from the office's own template, and a shown office builds its
// window meanwhile: on a busy machine that takes as long as a file, so both
// have the file's deadline, not a cell write's.
std::optional<AutomationValue> CalcWorkbooks::load(const rtl::OUString& url) {
    std::optional<AutomationValue> result;
    session_->run(
        [&] {
            auto component = session_->desktop()->loadComponentFromURL(
                url, "_blank", 0,
                properties({
                    property("Hidden", Any(true)),
                    property("MacroExecutionMode",
                             Any(css::document::MacroExecMode::NEVER_EXECUTE)),
                    property("UpdateDocMode", Any(css::document::UpdateDocMode::NO_UPDATE)),
                }));
            Reference<css::sheet::XSpreadsheetDocument> spreadsheet(component, UNO_QUERY);
            if (!spreadsheet.is()) {
                // A file the office reads as something other than a workbook.
                Reference<css::util::XCloseable> other(component, UNO_QUERY);
                if (other.is()) {
                    other->close(true);
                }
                return false;
            }
            auto document = std::make_shared<CalcDocument>(spreadsheet, !session_->headless());
            if (session_->visible) {
                if (auto window = document->window(); window.is()) {
                    window->setVisible(true);
                }
            }
            session_->addDocument(document);
            result = objectValue(std::make_shared<CalcWorkbook>(session_, document));
            return true;
        },
        CalcSession::Limit::File);
    return result;
}

// Excel maximises a workbook's window inside the application's window. The
// office has one window per workbook, the one Left, Top, Width and Height
// placed: maximising it would undo the placement, so only minimising counts.
bool CalcWindow::put(DispId id, const AutomationValue& value) {
    auto state = value.integer();
    if (id != kWindowState || !state || document_->closed()) {
        return false;
    }
    return session_->run([&] {
        Reference<css::awt::XTopWindow2> window(document_->window(), UNO_QUERY);
        if (window.is()) {
            window->setIsMinimized(*state == xlMinimized);
        }
        return true;
    });
}

std::optional<std::int32_t> integerArgument(std::span<const AutomationValue> args,
                                            std::size_t index) {
    return index < args.size() ? args[index].integer() : std::nullopt;
}

std::optional<std::string> stringArgument(std::span<const AutomationValue> args,
                                          std::size_t index) {
    if (index >= args.size() || args[index].kind() != AutomationKind::String) {
        return std::nullopt;
    }
    return args[index].asString();
}

std::optional<double> numberArgument(const AutomationValue& value) {
    if (value.kind() == AutomationKind::Double) {
        return value.asReal();
    }
    if (auto integer = value.integer()) {
        return *integer;
    }
    return std::nullopt;
}

}  // namespace tarvo::calc
