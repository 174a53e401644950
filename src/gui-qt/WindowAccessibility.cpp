#include "gui-qt/WindowAccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace tarvo {

namespace {

// Asked for each class of an object from the most derived up, before Qt's
// own factory; a widget class Qt knows (QDialog, QMenu, QLabel ...) is
// answered by Qt before the lookup reaches plain QWidget.
QAccessibleInterface* plainWindow(const QString& className, QObject* object) {
    if (className != QLatin1String("QWidget") || !object || !object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    return widget->isWindow() ? new QAccessibleWidget(widget, QAccessible::Window) : nullptr;
}

}  // namespace

void reportPlainWindowsAsWindows() {
    static const bool installed = [] {
        QAccessible::installFactory(plainWindow);
        return true;
    }();
    (void)installed;
}

}  // namespace tarvo
