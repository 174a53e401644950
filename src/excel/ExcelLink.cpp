#include "excel/ExcelLink.h"

#include <array>
#include <utility>

#include "excel/ExcelMembers.h"
#include "res/Texts.h"

namespace tarvo {

using namespace excel;

ExcelLink::ExcelLink(AutomationServerFactory factory, MessageBoxes& messageBoxes)
    : factory_(std::move(factory)),
      messageBoxes_(messageBoxes),
      optionalArgument_(AutomationValue::error(kParamNotFound)) {}

// Leaving the server running would leave an invisible spreadsheet program
// behind; unsaved work in it is meant to go.
ExcelLink::~ExcelLink() {
    if (application_) {
        const bool disconnected = disconnectEvents();
        const bool quitted = application_.call(kQuit).has_value();
        application_.release();
        if (!disconnected || !quitted) {
            messageBoxes_.show("Error while closing Excel.", text::kProgramName);
        }
    }
    releaseAll();
}

void ExcelLink::releaseAll() {
    worksheet_.release();
    worksheets_.release();
    workbook_.release();
    workbooks_.release();
    application_.release();
}

ExcelError ExcelLink::guard() const {
    if (application_.empty()) {
        return ExcelError::NotInitialized;
    }
    if (eventSink_.closedByUser()) {
        return ExcelError::ClosedByUser;
    }
    return ExcelError::Success;
}

bool ExcelLink::isRunning() const {
    return !application_.empty() && !eventSink_.closedByUser();
}

ExcelError ExcelLink::newWorkbook() {
    return start(true, {}, {}, 0);
}

ExcelError ExcelLink::openWorkbook(std::string_view path) {
    const ExcelError started = start(false, path, {}, 0);
    if (started != ExcelError::Success) {
        return started;
    }
    if (!worksheet_.call(kActivate)) {
        discard();
        return ExcelError::Unspecified;
    }
    return ExcelError::Success;
}

ExcelError ExcelLink::start(bool createNew, std::string_view path, std::string_view sheetName,
                            std::int32_t sheetIndex) {
    if (application_) {
        return ExcelError::InitializedTwice;
    }
    try {
        application_ = factory_ ? factory_() : AutomationObject();
    } catch (...) {
        application_.release();
    }
    if (application_.empty()) {
        return ExcelError::NotInstalled;
    }

    auto workbooks = application_.put(kDisplayAlerts, AutomationValue::boolean(false))
                         ? application_.getObject(kWorkbooks)
                         : std::nullopt;
    if (!workbooks) {
        quit();
        return ExcelError::Unspecified;
    }
    workbooks_ = *workbooks;

    if (createNew) {
        if (!takeFirstWorkbookAndSheet()) {
            quit();
            return ExcelError::Unspecified;
        }
    } else {
        std::array<AutomationValue, 13> openArguments;
        openArguments.fill(optionalArgument_);
        openArguments[0] = AutomationValue::string(std::string(path));
        auto workbook = workbooks_.callObject(kOpen, openArguments);
        if (!workbook) {
            quit();
            return ExcelError::WorkbookNotFound;
        }
        workbook_ = *workbook;
        auto worksheets = workbook_.getObject(kWorksheets);
        if (!worksheets) {
            discard();
            return ExcelError::Unspecified;
        }
        worksheets_ = *worksheets;
        const AutomationValue index = sheetIndexValue(sheetName, sheetIndex);
        auto worksheet = worksheets_.getObject(kItem, std::span(&index, 1));
        if (!worksheet) {
            discard();
            return ExcelError::WorksheetNotFound;
        }
        worksheet_ = *worksheet;
    }

    if (!connectEvents()) {
        discard();
        return ExcelError::Unspecified;
    }
    eventSink_.reset();
    return ExcelError::Success;
}

// A server started by the operator may already hold a workbook: that one and
// its first sheet are used rather than adding another.
bool ExcelLink::takeFirstWorkbookAndSheet() {
    const AutomationValue first = AutomationValue::int16(1);
    auto workbookCount = workbooks_.getInteger(kCount);
    if (!workbookCount) {
        return false;
    }
    auto workbook = *workbookCount < 1
                        ? workbooks_.callObject(kAdd, std::span(&optionalArgument_, 1))
                        : workbooks_.getObject(kItem, std::span(&first, 1));
    if (!workbook) {
        return false;
    }
    workbook_ = *workbook;

    auto worksheets = workbook_.getObject(kWorksheets);
    if (!worksheets) {
        return false;
    }
    worksheets_ = *worksheets;
    auto sheetCount = worksheets_.getInteger(kCount);
    if (!sheetCount) {
        return false;
    }
    std::array<AutomationValue, 4> addArguments;
    addArguments.fill(optionalArgument_);
    auto worksheet = *sheetCount < 1 ? worksheets_.callObject(kAdd, addArguments)
                                     : worksheets_.getObject(kItem, std::span(&first, 1));
    if (!worksheet) {
        return false;
    }
    worksheet_ = *worksheet;
    return true;
}

AutomationValue ExcelLink::sheetIndexValue(std::string_view sheetName,
                                           std::int32_t sheetIndex) const {
    if (sheetIndex >= 1) {
        return AutomationValue::int32(sheetIndex);
    }
    if (!sheetName.empty()) {
        return AutomationValue::string(std::string(sheetName));
    }
    return AutomationValue::int32(1);
}

// A server without events is not an error: the client then only learns of a
// closed workbook from failing calls.
bool ExcelLink::connectEvents() {
    auto point =
        workbook_.empty() ? nullptr : workbook_.target()->findConnectionPoint(kWorkbookEventsId);
    if (!point) {
        return false;
    }
    std::optional<std::uint32_t> cookie;
    try {
        cookie = point->advise(eventSink_);
    } catch (...) {
        cookie.reset();
    }
    if (cookie) {
        connectionPoint_ = std::move(point);
        cookie_ = *cookie;
        advised_ = true;
    }
    return true;
}

bool ExcelLink::disconnectEvents() {
    if (!advised_) {
        return true;
    }
    bool done = false;
    try {
        done = connectionPoint_->unadvise(cookie_);
    } catch (...) {
        done = false;
    }
    connectionPoint_.reset();
    advised_ = false;
    return done;
}

bool ExcelLink::closeWorkbook() {
    const std::array<AutomationValue, 3> arguments{AutomationValue::int16(0), optionalArgument_,
                                                   optionalArgument_};
    return workbook_.call(kClose, arguments).has_value();
}

// The objects of a quit server are worthless: they are dropped with it, so a
// later start begins from nothing.
bool ExcelLink::quit() {
    const bool alertsOn = application_.put(kDisplayAlerts, AutomationValue::boolean(true));
    const bool quitted = application_.call(kQuit).has_value();
    releaseAll();
    return alertsOn && quitted;
}

// The workbook goes away with the server, so nothing may stay connected to it.
void ExcelLink::discard() {
    disconnectEvents();
    closeWorkbook();
    quit();
}

ExcelError ExcelLink::worksheetCount(std::int32_t& count) {
    if (const ExcelError refused = guard(); refused != ExcelError::Success) {
        return refused;
    }
    auto value = worksheets_.getInteger(kCount);
    if (!value) {
        return ExcelError::Unspecified;
    }
    count = *value;
    return ExcelError::Success;
}

ExcelError ExcelLink::worksheetName(std::int32_t index, std::string& name) {
    if (const ExcelError refused = guard(); refused != ExcelError::Success) {
        return refused;
    }
    const AutomationValue position = AutomationValue::int32(index);
    auto sheet = worksheets_.getObject(kItem, std::span(&position, 1));
    auto value = sheet ? sheet->get(kName) : std::nullopt;
    if (!value || value->kind() != AutomationKind::String) {
        return ExcelError::Unspecified;
    }
    name = value->asString();
    return ExcelError::Success;
}

ExcelError ExcelLink::selectWorksheet(std::string_view name) {
    if (const ExcelError refused = guard(); refused != ExcelError::Success) {
        return refused;
    }
    const AutomationValue key = AutomationValue::string(std::string(name));
    auto sheet = worksheets_.getObject(kItem, std::span(&key, 1));
    if (!sheet) {
        return ExcelError::WorksheetNotFound;
    }
    worksheet_ = *sheet;
    if (!worksheet_.call(kActivate)) {
        return ExcelError::WorksheetNotFound;
    }
    return ExcelError::Success;
}

ExcelError ExcelLink::show() {
    if (const ExcelError refused = guard(); refused != ExcelError::Success) {
        return refused;
    }
    if (!application_.put(kVisible, AutomationValue::boolean(true)) || !workbook_.call(kActivate)) {
        return ExcelError::Unspecified;
    }
    auto window = application_.getObject(kActiveWindow);
    if (!window || !window->put(kWindowState, AutomationValue::int32(xlMaximized))) {
        return ExcelError::Unspecified;
    }
    return ExcelError::Success;
}

ExcelError ExcelLink::hide() {
    if (const ExcelError refused = guard(); refused != ExcelError::Success) {
        return refused;
    }
    if (!application_.put(kVisible, AutomationValue::boolean(false))) {
        return ExcelError::Unspecified;
    }
    return ExcelError::Success;
}

ExcelError ExcelLink::placeWindow(std::int32_t left, std::int32_t top, std::int32_t width,
                                  std::int32_t height) {
    if (const ExcelError refused = guard(); refused != ExcelError::Success) {
        return refused;
    }
    if (!application_.put(kWindowState, AutomationValue::int32(xlNormal))) {
        return ExcelError::Unspecified;
    }
    const std::array<std::pair<DispId, std::int32_t>, 4> sides{
        {{kLeft, left}, {kTop, top}, {kWidth, width}, {kHeight, height}}};
    for (const auto& [member, value] : sides) {
        if (!application_.put(member, AutomationValue::real(value))) {
            return ExcelError::WindowPlacementFailed;
        }
    }
    return ExcelError::Success;
}

ExcelError ExcelLink::saveCopy(std::string_view path) {
    if (const ExcelError refused = guard(); refused != ExcelError::Success) {
        return refused;
    }
    const AutomationValue target = AutomationValue::string(copyPathWithExtension(path));
    if (!workbook_.call(kSaveCopyAs, std::span(&target, 1))) {
        return ExcelError::SaveFailed;
    }
    return ExcelError::Success;
}

namespace {

// The value a cell receives; empty for a kind the client does not know.
AutomationValue cellValue(CellValueKind kind, std::uint8_t small, std::int32_t integer, double real,
                          std::string_view text) {
    switch (kind) {
        case CellValueKind::SmallInteger:
            return AutomationValue::int32(small);
        case CellValueKind::Integer:
            return AutomationValue::int32(integer);
        case CellValueKind::Real:
            return AutomationValue::real(real);
        case CellValueKind::Text:
            return AutomationValue::string(std::string(text));
    }
    return {};
}

}  // namespace

ExcelError ExcelLink::writeCell(std::int32_t row, std::int32_t column, CellValueKind kind,
                                std::uint8_t small, std::int32_t integer, double real,
                                std::string_view text) {
    if (const ExcelError refused = guard(); refused != ExcelError::Success) {
        return refused;
    }
    const std::string address = cellAddress(row, column);
    if (address.empty()) {
        return ExcelError::OutOfRange;
    }
    const std::array<AutomationValue, 2> corners{AutomationValue::string(address),
                                                 AutomationValue::string(address)};
    auto range = worksheet_.getObject(kRange, corners);
    if (!range) {
        return ExcelError::Unspecified;
    }
    const AutomationValue value = cellValue(kind, small, integer, real, text);
    if (!value.isEmpty() && !range->put(kValue, value)) {
        return ExcelError::Unspecified;
    }
    if (!worksheet_.call(kActivate) || !range->call(kActivate)) {
        return ExcelError::Unspecified;
    }
    return ExcelError::Success;
}

ExcelError ExcelLink::writeText(std::int32_t row, std::int32_t column, std::string_view text) {
    return writeCell(row, column, CellValueKind::Text, 0, 0, 0.0, text);
}

// A failed step ends the close with the server kept, so an office whose
// operator cancelled the quit stays usable and the next close goes on where
// this one stopped. A close after a failed one lets the server go whatever
// fails, so a dead server never keeps the operator from closing or starting.
ExcelError ExcelLink::close() {
    if (application_.empty()) {
        return ExcelError::NotInitialized;
    }
    const bool letGo = closeFailed_;
    const bool done = closeSteps(letGo);
    if (!done && !letGo) {
        closeFailed_ = true;
        return ExcelError::Unspecified;
    }
    releaseAll();
    eventSink_.reset();
    closeFailed_ = false;
    return done ? ExcelError::Success : ExcelError::Unspecified;
}

// True when every step succeeded; without `letGo` it stops at the first failure.
bool ExcelLink::closeSteps(bool letGo) {
    bool done = disconnectEvents();
    if (!done && !letGo) {
        return false;
    }
    if (!eventSink_.closedByUser() && !workbook_.empty()) {
        const bool closed = closeWorkbook();
        if (!closed && !letGo) {
            return false;
        }
        if (closed) {
            // Closed for good: a close that goes on later does not send it again.
            worksheet_.release();
            worksheets_.release();
            workbook_.release();
        }
        done = done && closed;
    }
    const bool alertsOn = application_.put(kDisplayAlerts, AutomationValue::boolean(true));
    if (!alertsOn && !letGo) {
        return false;
    }
    const bool quitted = application_.call(kQuit).has_value();
    return done && alertsOn && quitted;
}

void reportExcelError(MessageBoxes& messageBoxes, int code) {
    messageBoxes.show(excelErrorText(code), text::kProgramName);
}

void ExcelLink::reportError(int code) {
    reportExcelError(messageBoxes_, code);
}

}  // namespace tarvo
