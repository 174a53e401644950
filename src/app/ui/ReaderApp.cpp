#include "app/ui/ReaderApp.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "app/ui/MainDialog.h"
#include "app/ui/Screenshot.h"

namespace tarvo {

namespace {

std::filesystem::path programFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

}  // namespace

ReaderApp::ReaderApp() : ini_(settingsFilePath()) {}

int ReaderApp::run() {
    MainDialog dialog({ini_, clock_, messages_, programFolder()});
    messages_.setOwner(&dialog);
    dialog.exec();
    return 0;
}

int ReaderApp::screenshot(const QString& file) {
    MainDialog dialog({ini_, clock_, messages_, programFolder()});
    messages_.setOwner(&dialog);
    QString error;
    if (!saveScreenshot(dialog, file, error)) {
        std::fprintf(stderr, "tarvo: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("tarvo: screenshot of the main window saved to %s\n",
                qPrintable(QFileInfo(file).absoluteFilePath()));
    return 0;
}

}  // namespace tarvo
