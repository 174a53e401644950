#include "app/MainWindowActions.h"

#include <utility>

#include "app/DateText.h"
#include "app/journal/JournalRestore.h"
#include "device/InstrumentSettings.h"
#include "device/LineChoice.h"
#include "files/Cgats.h"
#include "files/Saving.h"
#include "res/Texts.h"

namespace tarvo {

MainWindowActions::MainWindowActions(MainWindowState& state, AcquisitionCycle& cycle,
                                     MainWindowOutputs outputs)
    : state_(state), cycle_(cycle), outputs_(std::move(outputs)) {
    if (outputs_.journal.empty())
        return;
    ClaimedJournal claimed = claimJournal(outputs_.journalFiles, outputs_.journal);
    journalClaim_ = std::move(claimed.claim);
    lastSession_ = std::move(claimed.last);
    if (claimed.path.empty())
        everyJournalHeld_ = true;
    else
        keepJournal(claimed.path);
}

void MainWindowActions::keepJournal(const std::filesystem::path& path) {
    journal_ = std::make_unique<ReadingJournal>(state_.table(), outputs_.journalFiles, path);
    // Shown after the change that failed is done with, not in its middle.
    journal_->setFailureListener([this](const std::string& message) {
        outputs_.later([this, message] { outputs_.messages.show(message, text::kProgramName); });
    });
}

void MainWindowActions::beginJournal() {
    if (everyJournalHeld_)
        outputs_.messages.show(journalFailureText("every journal is held by another running tarvo"),
                               text::kProgramName);
    if (journal_)
        beginJournalSession(*journal_, std::exchange(lastSession_, {}), state_.table(),
                            state_.tableClientWidth(), outputs_.messages, state_.clock());
}

void MainWindowActions::save() {
    const bool saved =
        saveTable({state_.table(), state_.settings(), state_.ini(), state_.dateText(),
                   outputs_.messages, outputs_.chooser, outputs_.files});
    if (saved && journal_)
        journal_->saved();
}

void MainWindowActions::print() {
    printTable({state_.table(), state_.settings(), state_.dateText(), outputs_.messages,
                outputs_.printDialog});
}

// The readings are named after the instrument on the main window's port.
void MainWindowActions::exportCgats() {
    const std::string created = isoDateTime(state_.clock().now());
    const std::string instrument =
        instrumentation(instrumentSetting(state_.ini(), choosePort(state_.settings().comNumber)));
    tarvo::exportCgats({state_.table(),
                        {state_.settings().fileType, state_.dateText(), created, instrument},
                        state_.settings().filePath,
                        outputs_.messages,
                        outputs_.chooser,
                        outputs_.files});
}

void MainWindowActions::excelOpened(AcquisitionCycle::Placement placement) {
    state_.excelDialogOpened();
    cycle_.setPlacement(std::move(placement));
}

void MainWindowActions::excelClosed() {
    state_.excelDialogClosed();
    cycle_.setPlacement({});
}

}  // namespace tarvo
