#include "gui-qt/PlatformParts.h"

#include <QApplication>

#include "app/journal/posix/PosixJournalFiles.h"
#include "app/posix/AlsaBeeper.h"
#include "device/posix/PosixDeviceLink.h"
#include "device/posix/PosixDeviceProbe.h"
#include "files/posix/PosixFileCreator.h"
#include "gui-qt/MainDialog.h"
#include "gui-qt/QtFileChooser.h"
#include "gui-qt/QtPrinter.h"

namespace tarvo {

MainWiringParts platformParts(MainDialog& dialog, std::unique_ptr<DeviceLink> device,
                              AutomationServerFactory spreadsheetServer,
                              std::filesystem::path journal) {
    MainWiringParts parts;
    parts.device = std::move(device);
    parts.linePorts = posixSettingsPortOpener(dialog.state().ini());
    parts.spreadsheetServer = std::move(spreadsheetServer);
    parts.journal = std::move(journal);
    parts.beeper = std::make_unique<AlsaBeeper>([] { QApplication::beep(); });
    parts.chooser = std::make_unique<QtFileChooser>(&dialog);
    parts.files = std::make_unique<PosixFileCreator>();
    parts.printDialog = std::make_unique<QtPrintDialog>();
    parts.probe = std::make_unique<PosixDeviceProbe>();
    parts.journalFiles = std::make_unique<PosixJournalFiles>();
    return parts;
}

}  // namespace tarvo
