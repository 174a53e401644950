#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "app/ui/ReaderApp.h"

namespace {

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
    QApplication application(argc, argv);
    return runProgram(QApplication::arguments());
}
