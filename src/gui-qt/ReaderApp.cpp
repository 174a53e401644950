#include "gui-qt/ReaderApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

#include "app/journal/posix/PosixJournalFiles.h"
#include "device/posix/PosixDeviceLink.h"
#include "gui-qt/MainDialog.h"
#include "gui-qt/MainWiring.h"
#include "gui-qt/PlatformParts.h"
#include "gui-qt/QuitSignals.h"
#include "gui-qt/Screenshot.h"
#include "res/ControlIds.h"
#ifdef TARVO_HAVE_CALC
#include "excel/calc/CalcAutomationServer.h"
#endif

namespace tarvo {

namespace {

std::filesystem::path programFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

// The office takes seconds to start, so it starts when the Excel dialog opens.
void addSpreadsheetServer(MainWiringParts& parts) {
#ifdef TARVO_HAVE_CALC
    PreparedServer server = makePreparedCalcServer();
    parts.spreadsheetServer = std::move(server.factory);
    parts.prepareSpreadsheetServer = std::move(server.prepare);
    parts.spreadsheetStartingNotice = "Starting LibreOffice Calc...";
#else
    // Built without the office server: starting it reports "not installed".
    parts.spreadsheetServer = [] { return AutomationObject(); };
#endif
}

// Runs the event loop until the table holds the rows or the deadline passes.
bool waitForRows(MainDialog& dialog, int rows, int deadlineMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (dialog.state().table().rowCount() >= rows || elapsed.elapsed() > deadlineMs) {
            loop.quit();
        }
    });
    check.start(100);
    loop.exec();
    return dialog.state().table().rowCount() >= rows;
}

void printRows(const ReadingTable& table) {
    for (int row = 0; row < table.rowCount(); ++row) {
        std::string line;
        for (int column = 0; column < table.columnCount(); ++column) {
            if (column > 0)
                line += " | ";
            line += table.cell(row, column);
        }
        std::printf("%s\n", line.c_str());
    }
}

bool savePicture(MainDialog& dialog, const QString& file) {
    QString error;
    if (!saveScreenshot(dialog, file, error)) {
        std::fprintf(stderr, "tarvo: %s\n", qPrintable(error));
        return false;
    }
    std::printf("tarvo: screenshot of the main window saved to %s\n",
                qPrintable(QFileInfo(file).absoluteFilePath()));
    return true;
}

// A box or dialog waiting for an answer would hold the main window open.
void closeWindows(MainDialog& main) {
    for (int nested = 0; nested < 8; ++nested) {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (box == nullptr || box == &main)
            break;
        box->reject();
    }
    main.close();
}

}  // namespace

ReaderApp::ReaderApp() : ini_(settingsFilePath()) {}

ReaderApp::~ReaderApp() = default;

std::unique_ptr<MainWiring> ReaderApp::wire(MainDialog& dialog) {
    messages_.setOwner(&dialog);
    MainWiringParts parts = platformParts(dialog, makePosixDeviceLink(ini_), {}, journalFilePath());
    addSpreadsheetServer(parts);
    return std::make_unique<MainWiring>(dialog, std::move(parts));
}

int ReaderApp::run() {
    MainDialog dialog({ini_, clock_, messages_, programFolder()});
    auto wiring = wire(dialog);
    // Run until it closes, but not as a modal window: nothing else of the
    // program could be blocked, and window managers stack a modal window
    // above its own welcome window.
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.show();
    wiring->beginJournal();
    wiring->loadReference();
    // Only after the question: a kill while it is asked leaves the journal as it was.
    QuitSignals quit([&dialog] { closeWindows(dialog); });
    loop.exec();
    return 0;
}

int ReaderApp::screenshot(const QString& file) {
    MainDialog dialog({ini_, clock_, messages_, programFolder()});
    messages_.setOwner(&dialog);
    return savePicture(dialog, file) ? 0 : 1;
}

int ReaderApp::demo(int readings, const QString& file) {
    MainDialog dialog({ini_, clock_, messages_, programFolder()});
    auto wiring = wire(dialog);
    dialog.show();
    dialog.button(id::kStartDev)->click();
    if (dialog.state().stopped()) {
        std::fprintf(stderr, "tarvo: the densitometer did not answer on COM%d\n",
                     dialog.state().settings().comNumber);
        return 1;
    }
    const bool complete = waitForRows(dialog, readings, 20000 + readings * 5000);
    printRows(dialog.state().table());
    const bool saved = savePicture(dialog, file);
    if (!dialog.state().stopped())
        dialog.button(id::kStartDev)->click();
    if (!complete) {
        std::fprintf(stderr, "tarvo: only %d of %d readings arrived\n",
                     dialog.state().table().rowCount(), readings);
    }
    return complete && saved ? 0 : 1;
}

}  // namespace tarvo
