#include "excel/transfer/ExcelDialogLogic.h"

#include <algorithm>

#include "excel/transfer/ColumnLetters.h"
#include "files/FilePath.h"
#include "res/ControlIds.h"
#include "res/Texts.h"

namespace tarvo {

namespace {

constexpr std::size_t kFilePathBuffer = 256;
constexpr std::size_t kPreviousNameLength = 249;

constexpr const char* kDiscardQuestion =
    "Open workbook: Do you want to discard the current workbook ?";
constexpr const char* kCreateQuestion =
    "File does not exist, do you want to create a default Workbook file?";
constexpr const char* kCloseFirst = "Close Excel Automation first !";
constexpr const char* kCloseFirstCaption = "Tarvo";

// Excel's first window position after ShowEXCEL: left, top, width, height.
constexpr std::int32_t kWindowLeft = 1;
constexpr std::int32_t kWindowTop = 1;
constexpr std::int32_t kWindowWidth = 500;
constexpr std::int32_t kWindowHeight = 300;

constexpr int kEditIds[] = {
    id::kFileName,   id::kSet1Row, id::kSet1Column, id::kSet1FirstListColumn,
    id::kSet1Length, id::kSet2Row, id::kSet2Column, id::kSet2FirstListColumn,
    id::kSet2Length};
constexpr int kExcelButtonIds[] = {id::kShowExcel, id::kHideExcel, id::kSaveExcel};

bool isFailure(ExcelError result) {
    return result != ExcelError::Success;
}

}  // namespace

std::string chooseExcelFile(FileChooser& chooser, FileDialogRequest::Mode mode,
                            const std::string& initialPath, const std::string& title) {
    const PathParts parts = splitPath(initialPath);
    FileDialogRequest request;
    request.mode = mode;
    request.title = title;
    request.filters = {{" ExcelFile (*.xls)", " *.xls"}, {" All (*.*)", " *.*"}};
    request.selectedFilter = 0;
    request.defaultExtension = "xls";
    request.initialFolder = parts.drive + parts.folder;
    request.initialFileName = initialPath;
    request.overwritePrompt = true;
    return chooser.choose(request);
}

std::span<const int> ExcelDialogLogic::edits() {
    return kEditIds;
}

std::span<const int> ExcelDialogLogic::excelButtons() {
    return kExcelButtonIds;
}

ExcelDialogLogic::ExcelDialogLogic(TransferSession& session, ExcelDialogServices services)
    : session_(session), services_(std::move(services)) {
    for (int id : kEditIds) {
        texts_[id];
    }
}

// --- what the window shows -------------------------------------------------

const std::string& ExcelDialogLogic::text(int id) const {
    static const std::string none;
    auto found = texts_.find(id);
    return found == texts_.end() ? none : found->second;
}

bool ExcelDialogLogic::isChecked(int id) const {
    if (id == id::kHorizontal) {
        return horizontal_;
    }
    if (id == id::kVertical) {
        return !horizontal_;
    }
    return false;
}

bool ExcelDialogLogic::isEnabled(int id) const {
    const auto buttons = excelButtons();
    return std::find(buttons.begin(), buttons.end(), id) == buttons.end() || excelButtons_;
}

const std::string& ExcelDialogLogic::notice() const {
    static const std::string none;
    return busy_ ? services_.startingNotice : none;
}

void ExcelDialogLogic::setText(int id, std::string text) {
    texts_[id] = std::move(text);
}

void ExcelDialogLogic::setExcelButtons(bool enabled) {
    excelButtons_ = enabled;
    changed();
}

void ExcelDialogLogic::changed() {
    if (listener_) {
        listener_();
    }
}

// --- dialog start ----------------------------------------------------------

void ExcelDialogLogic::start() {
    closeLeftoverClient();
    showLayout(loadTransferLayout(services_.ini, session_.layout));
    excelButtons_ = false;
    previousFileName_.clear();
    changed();
    if (services_.prepareServer) {
        services_.prepareServer();
    }
}

// A client still held here belongs to a dialog the operator closed after the
// workbook was closed inside the spreadsheet program; its server would
// otherwise run on unseen.
void ExcelDialogLogic::closeLeftoverClient() {
    if (session_.client) {
        session_.client->close();
        session_.client.reset();
    }
}

void ExcelDialogLogic::showLayout(const TransferLayoutFields& fields) {
    setText(id::kSet1Row, fields.set1.row);
    setText(id::kSet1Column, fields.set1.column);
    setText(id::kSet1FirstListColumn, fields.set1.firstListColumn);
    setText(id::kSet1Length, fields.set1.length);
    setText(id::kSet2Row, fields.set2.row);
    setText(id::kSet2Column, fields.set2.column);
    setText(id::kSet2FirstListColumn, fields.set2.firstListColumn);
    setText(id::kSet2Length, fields.set2.length);
    horizontal_ = fields.horizontal;
}

TransferLayoutFields ExcelDialogLogic::typedLayout() const {
    TransferLayoutFields fields;
    fields.set1 = {text(id::kSet1Row), text(id::kSet1Column), text(id::kSet1FirstListColumn),
                   text(id::kSet1Length)};
    fields.set2 = {text(id::kSet2Row), text(id::kSet2Column), text(id::kSet2FirstListColumn),
                   text(id::kSet2Length)};
    fields.horizontal = horizontal_;
    return fields;
}

// --- the operator's actions ------------------------------------------------

void ExcelDialogLogic::textEdited(int id, std::string text) {
    if (texts_.find(id) == texts_.end()) {
        return;
    }
    // A column field never keeps letters that name no column; a valid entry
    // stays as typed until InitValues takes it.
    if ((id == id::kSet1Column || id == id::kSet2Column) && !text.empty()) {
        std::string letters = fieldText(text);
        if (columnFromLetters(letters) < 0) {
            text.clear();
        }
    }
    setText(id, std::move(text));
    changed();
}

void ExcelDialogLogic::browseClicked() {
    act([this] { browse(); });
}

void ExcelDialogLogic::browse() {
    const std::string chosen = chooseFile(FileDialogRequest::Mode::Open, "Load Excel File");
    if (!goesOn(session_.client.get())) {
        return;
    }
    if (chosen.empty()) {
        setText(id::kFileName, {});
    } else {
        previousFileName_ = text(id::kFileName).substr(0, kPreviousNameLength);
        setText(id::kFileName, chosen);
        services_.ini.write(kExcelSection, kFilePathKey, chosen);
    }
    changed();
}

void ExcelDialogLogic::initExcelClicked() {
    act([this] { initExcel(); });
}

void ExcelDialogLogic::initExcel() {
    const std::string fileName = text(id::kFileName);
    if (!session_.client) {
        session_.client = std::make_unique<ExcelLink>(services_.serverFactory, services_.messages);
    }
    ExcelLink& client = *session_.client;
    if (client.isRunning()) {
        const MessageAnswer answer = ask(kDiscardQuestion);
        if (!goesOn(&client)) {
            return;
        }
        if (answer == MessageAnswer::Cancel) {
            if (!previousFileName_.empty()) {
                setText(id::kFileName, previousFileName_);
                changed();
            }
            return;
        }
    }
    // A server that could not be closed (it died, or its quit was refused) is
    // let go by a second close, so the new start is not refused as a second one.
    if (client.close() == ExcelError::Unspecified) {
        client.close();
    }
    clearSheets();
    // The earlier workbook is gone: until a new one starts there is nothing
    // to show, hide or save.
    excelButtons_ = false;
    if (startWorkbook(fileName) && goesOn(&client)) {
        listSheets();
        excelButtons_ = true;
    }
    changed();
}

// Opens the named workbook, or a new one when no file is named or the
// operator agrees to start afresh. False when nothing was started.
bool ExcelDialogLogic::startWorkbook(const std::string& fileName) {
    ExcelLink& client = *session_.client;
    if (!fileName.empty()) {
        const ExcelError opened = whileBusy([&] { return client.openWorkbook(fileName); });
        if (opened == ExcelError::Success) {
            return true;
        }
        if (opened != ExcelError::WorkbookNotFound) {
            report(opened);
            return false;
        }
        const MessageAnswer answer = ask(kCreateQuestion);
        if (!goesOn(&client) || answer == MessageAnswer::Cancel) {
            return false;
        }
        setText(id::kFileName, {});
    }
    const ExcelError created = whileBusy([&] { return client.newWorkbook(); });
    if (isFailure(created)) {
        report(created);
        return false;
    }
    return true;
}

// Only the start itself: a question or an error box afterwards is not waited for.
ExcelError ExcelDialogLogic::whileBusy(const std::function<ExcelError()>& start) {
    busy_ = true;
    changed();
    const ExcelError result = start();
    busy_ = false;
    changed();
    return result;
}

void ExcelDialogLogic::listSheets() {
    ExcelLink& client = *session_.client;
    std::int32_t count = 0;
    if (isFailure(client.worksheetCount(count))) {
        count = 0;
    }
    const int listed = std::clamp(count, 0, kMaxSheetNames);
    for (int i = 1; i <= listed; ++i) {
        std::string name;
        client.worksheetName(i, name);
        sheetNames_[static_cast<std::size_t>(i - 1)] = name;
        sheetEntries_.push_back(name);
    }
    // The client already works on the first sheet, so nothing is sent.
    sheetSelection_ = sheetEntries_.empty() ? -1 : 0;
}

void ExcelDialogLogic::clearSheets() {
    sheetEntries_.clear();
    sheetSelection_ = -1;
}

void ExcelDialogLogic::sheetChosen(int index) {
    act([this, index] { selectSheet(index); });
}

void ExcelDialogLogic::selectSheet(int index) {
    if (index < 0 || index >= static_cast<int>(sheetEntries_.size())) {
        return;
    }
    sheetSelection_ = index;
    if (session_.client) {
        const ExcelError selected =
            session_.client->selectWorksheet(sheetNames_[static_cast<std::size_t>(index)]);
        if (isFailure(selected)) {
            report(selected);
        }
    }
    changed();
}

void ExcelDialogLogic::horizontalClicked() {
    horizontal_ = true;
    setDirection(services_.ini, session_.layout, Direction::Horizontal);
    changed();
}

void ExcelDialogLogic::verticalClicked() {
    horizontal_ = false;
    setDirection(services_.ini, session_.layout, Direction::Vertical);
    changed();
}

void ExcelDialogLogic::showExcelClicked() {
    act([this] { showExcel(); });
}

void ExcelDialogLogic::showExcel() {
    if (!session_.client) {
        return;
    }
    ExcelLink& client = *session_.client;
    ExcelError result = client.placeWindow(kWindowLeft, kWindowTop, kWindowWidth, kWindowHeight);
    if (!isFailure(result)) {
        result = client.show();
    }
    if (isFailure(result)) {
        report(result);
    }
}

void ExcelDialogLogic::hideExcelClicked() {
    act([this] { hideExcel(); });
}

void ExcelDialogLogic::hideExcel() {
    if (!session_.client) {
        return;
    }
    const ExcelError result = session_.client->hide();
    if (isFailure(result)) {
        report(result);
    }
}

void ExcelDialogLogic::saveExcelClicked() {
    act([this] { saveExcel(); });
}

void ExcelDialogLogic::saveExcel() {
    ExcelLink* client = session_.client.get();
    if (!client) {
        return;
    }
    // The copy's path is not remembered: FilePath names the workbook to load.
    const std::string chosen = chooseFile(FileDialogRequest::Mode::Save, "Save Excel File");
    if (chosen.empty() || !goesOn(client)) {
        return;
    }
    const ExcelError result = client->saveCopy(chosen);
    if (isFailure(result)) {
        report(result);
    }
}

void ExcelDialogLogic::closeExcelClicked() {
    act([this] { closeExcel(); });
}

void ExcelDialogLogic::closeExcel() {
    ExcelLink* client = session_.client.get();
    if (!client) {
        return;
    }
    const ExcelError result = client->close();
    if (isFailure(result)) {
        report(result);
        // A client that let its server go has nothing left to show or write.
        if (!goesOn(client) || client->isRunning()) {
            return;
        }
    }
    clearSheets();
    setText(id::kFileName, {});
    excelButtons_ = false;
    session_.client.reset();
    changed();
}

void ExcelDialogLogic::initValuesClicked() {
    showLayout(takeTransferLayout(services_.ini, session_.layout, typedLayout()));
    changed();
}

bool ExcelDialogLogic::closeRequested() {
    if (session_.client && session_.client->isRunning()) {
        services_.messages.show(kCloseFirst, kCloseFirstCaption, MessageButtons::Ok,
                                MessageIcon::Exclamation);
        return false;
    }
    if (modalCalls_ > 0) {
        closing_ = true;
        return false;
    }
    return true;
}

// --- modal calls -----------------------------------------------------------

MessageAnswer ExcelDialogLogic::ask(const char* question) {
    ++modalCalls_;
    const MessageAnswer answer = services_.messages.show(
        question, text::kDefaultCaption, MessageButtons::OkCancel, MessageIcon::Exclamation);
    --modalCalls_;
    return answer;
}

std::string ExcelDialogLogic::chooseFile(FileDialogRequest::Mode mode, const char* title) {
    const std::string stored =
        services_.ini.readString(kExcelSection, kFilePathKey, kDefaultExcelPath, kFilePathBuffer);
    ++modalCalls_;
    std::string chosen = chooseExcelFile(services_.chooser, mode, stored, title);
    --modalCalls_;
    return chosen;
}

// Through the dialog's own boxes, not the client's: the client may be gone
// when the box returns.
void ExcelDialogLogic::report(ExcelError error) {
    ++modalCalls_;
    reportExcelError(services_.messages, static_cast<int>(error));
    --modalCalls_;
}

bool ExcelDialogLogic::goesOn(const ExcelLink* client) const {
    return !closing_ && session_.client.get() == client;
}

void ExcelDialogLogic::act(const std::function<void()>& handler) {
    handler();
    if (closing_ && modalCalls_ == 0) {
        closing_ = false;
        // The last thing this object does: the listener may destroy it.
        if (closeListener_) {
            auto listener = closeListener_;
            listener();
        }
    }
}

}  // namespace tarvo
