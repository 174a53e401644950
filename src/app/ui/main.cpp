#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "app/ui/ProgramIcon.h"
#include "app/ui/ReaderApp.h"

namespace {

// The program itself takes no arguments; --screenshot serves machines
// without a display (demos, documentation).
int runProgram(const QStringList& arguments) {
    tarvo::ReaderApp app;
    const qsizetype option = arguments.indexOf(QStringLiteral("--screenshot"));
    if (option < 0) {
        return app.run();
    }
    if (option + 1 >= arguments.size()) {
        std::fprintf(stderr, "usage: tarvo [--screenshot <file.png>]\n");
        return 2;
    }
    return app.screenshot(arguments.at(option + 1));
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(tarvo::programIcon());
    return runProgram(QApplication::arguments());
}
