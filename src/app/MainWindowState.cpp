#include "app/MainWindowState.h"

#include "res/ControlIds.h"

namespace tarvo {

namespace {

constexpr int kComIds[] = {id::kCom1, id::kCom2, id::kCom3, id::kCom4};

// The controls of the main window; all but these six are enabled after start-up.
constexpr int kAllControls[] = {
    id::kTable, id::kStartDev,    id::kSave,        id::kCom1,    id::kCom2, id::kFileType,
    id::kClear, id::kInstantSave, id::kDelete,      id::kChange,  id::kBeep, id::kPrint,
    id::kExcel, id::kDateText,    id::kCommentEdit, id::kComment, id::kCom3, id::kCom4,
};

constexpr int kCheckable[] = {id::kBeep, id::kCom1, id::kCom2,
                              id::kCom3, id::kCom4, id::kInstantSave};

// The radio button a port number checks: anything outside 2 to 4 shows COM 1,
// although the record keeps the number until the operator clicks a button.
int comButtonFor(int comNumber) {
    switch (comNumber) {
        case 2:
            return id::kCom2;
        case 3:
            return id::kCom3;
        case 4:
            return id::kCom4;
        default:
            return id::kCom1;
    }
}

int comNumberOf(int buttonId) {
    for (int i = 0; i < 4; ++i) {
        if (kComIds[i] == buttonId) {
            return i + 1;
        }
    }
    return 0;
}

}  // namespace

bool opensAbout(int systemCommand) {
    return (systemCommand & ~0xF) == id::kAboutCommand;
}

std::span<const int> MainWindowState::controls() {
    return kAllControls;
}

std::span<const int> MainWindowState::comButtons() {
    return kComIds;
}

std::span<const int> MainWindowState::checkableButtons() {
    return kCheckable;
}

MainWindowState::MainWindowState(IniFile& ini, const Clock& clock, int tableClientWidth)
    : ini_(ini),
      clock_(clock),
      tableClientWidth_(tableClientWidth),
      table_(tableClientWidth),
      checkedCom_(id::kCom1) {
    for (int control : kAllControls) {
        enabled_[control] = true;
    }
}

void MainWindowState::initialise() {
    setEnabled({id::kSave, id::kInstantSave, id::kDelete, id::kChange, id::kClear, id::kPrint},
               false);
    settings_.load(ini_);
    fileTypeSelection_.reset();
    if (exportFormatFromIndex(settings_.fileType)) {
        fileTypeSelection_ = settings_.fileType;
    }
    checkedCom_ = comButtonFor(settings_.comNumber);
    // The file may say otherwise, but saving on every reading is not offered.
    settings_.instantSave = 0;
    stopped_ = true;
    welcomeShown_ = true;
    dateText_ = tarvo::dateText(clock_.now());
    changed();
}

bool MainWindowState::isEnabled(int id) const {
    auto found = enabled_.find(id);
    return found != enabled_.end() && found->second;
}

bool MainWindowState::isVisible(int id) const {
    return id != id::kInstantSave;
}

bool MainWindowState::isChecked(int id) const {
    if (id == id::kBeep) {
        return settings_.beep != 0;
    }
    if (id == id::kInstantSave) {
        return settings_.instantSave != 0;
    }
    return comNumberOf(id) != 0 && id == checkedCom_;
}

const char* MainWindowState::startButtonText() const {
    return stopped_ ? "Start Dev." : "Stop Dev.";
}

void MainWindowState::comClicked(int id) {
    const int number = comNumberOf(id);
    if (number == 0) {
        return;
    }
    checkedCom_ = id;
    settings_.comNumber = static_cast<std::int8_t>(number);
    settings_.writeKey(ini_, SettingKey::ComNumber);
    changed();
}

void MainWindowState::beepClicked() {
    settings_.beep = settings_.beep == 0 ? 1 : 0;
    settings_.writeKey(ini_, SettingKey::Beep);
    changed();
}

void MainWindowState::fileTypeChosen(int index) {
    if (!exportFormatFromIndex(index)) {
        return;
    }
    fileTypeSelection_ = index;
    settings_.fileType = static_cast<std::int8_t>(index);
    settings_.writeKey(ini_, SettingKey::FileType);
    changed();
}

void MainWindowState::commentClicked() {
    table_.comment(commentEdit_);
    commentEdit_.clear();
    changed();
}

void MainWindowState::acquisitionStarted() {
    stopped_ = false;
    welcomeShown_ = false;
    setEnabled({id::kSave}, settings_.instantSave == 0);
    setEnabled({id::kDelete, id::kChange, id::kClear, id::kPrint, id::kExcel}, true);
    setEnabled({id::kCom1, id::kCom2, id::kCom3, id::kCom4, id::kInstantSave}, false);
    changed();
}

void MainWindowState::acquisitionStopped() {
    stopped_ = true;
    welcomeShown_ = true;
    setEnabled({id::kCom1, id::kCom2, id::kCom3, id::kCom4}, true);
    setEnabled({id::kSave, id::kInstantSave, id::kDelete, id::kChange, id::kClear, id::kPrint},
               false);
    changed();
}

void MainWindowState::excelDialogOpened() {
    setEnabled({id::kDelete}, false);
    changed();
}

void MainWindowState::excelDialogClosed() {
    setEnabled({id::kDelete}, true);
    changed();
}

void MainWindowState::setWelcomeShown(bool shown) {
    welcomeShown_ = shown;
    changed();
}

void MainWindowState::updateDate(const LocalTime& now) {
    dateText_ = tarvo::dateText(now);
    changed();
}

std::string MainWindowState::takeComment() {
    std::string text = commentEdit_.substr(0, kMaxCommentLength);
    if (!text.empty()) {
        commentEdit_.clear();
        changed();
    }
    return text;
}

void MainWindowState::setEnabled(std::initializer_list<int> ids, bool enabled) {
    for (int control : ids) {
        enabled_[control] = enabled;
    }
}

void MainWindowState::changed() {
    if (listener_) {
        listener_();
    }
}

}  // namespace tarvo
