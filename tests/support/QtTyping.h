#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace tarvo::test {

// QTest's key clicks know ASCII only; a keyboard sends other characters as text.
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
        QCoreApplication::sendEvent(widget, &press);
    }
}

}  // namespace tarvo::test
