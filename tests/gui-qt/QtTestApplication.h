#pragma once

#include <QApplication>

#include <memory>

namespace tarvo::test {

// The one QApplication the Qt tests of this program need, made on first use.
inline QApplication& qtTestApplication() {
    static int argc = 1;
    static char name[] = "files_ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

}  // namespace tarvo::test
