#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "gui-qt/ReaderApp.h"
#include "res/Texts.h"

namespace {

constexpr const char* kHelp =
    "usage: tarvo [--version] [--help]\n"
    "Collects densitometer readings from a serial port into a table.\n"
    "Settings: $XDG_CONFIG_HOME/tarvo/Tarvo.ini (else ~/.config/tarvo/Tarvo.ini).\n"
    "Right-click the window for About, Ports (F2) and Copy Rows (Ctrl+C).\n"
    "See tarvo(1).\n";

// Answered before any window system is asked for, so they work without a display.
int answerWithoutWindow(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tarvo %s\n", tarvo::text::kVersion);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kHelp, stdout);
            return 0;
        }
    }
    return -1;
}

int usage() {
    std::fprintf(stderr, "usage: tarvo [--screenshot <file.png>] [--demo <readings>]\n");
    return 2;
}

// The program itself takes no arguments; --screenshot and --demo serve
// machines without a display (demos, documentation).
int runProgram(const QStringList& arguments) {
    tarvo::ReaderApp app;
    const qsizetype shot = arguments.indexOf(QStringLiteral("--screenshot"));
    const qsizetype demo = arguments.indexOf(QStringLiteral("--demo"));
    if (shot < 0 && demo < 0)
        return app.run();
    if (shot < 0 || shot + 1 >= arguments.size())
        return usage();
    const QString file = arguments.at(shot + 1);
    if (demo < 0)
        return app.screenshot(file);
    bool number = false;
    const int readings = demo + 1 < arguments.size() ? arguments.at(demo + 1).toInt(&number) : 0;
    if (!number || readings < 1)
        return usage();
    return app.demo(readings, file);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const int answered = answerWithoutWindow(argc, argv); answered >= 0)
        return answered;
    QApplication application(argc, argv);
    return runProgram(QApplication::arguments());
}
