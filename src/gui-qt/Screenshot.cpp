#include "gui-qt/Screenshot.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPainter>
#include <QWindow>

#include "gui-qt/MainDialog.h"
#include "gui-qt/WelcomeWindow.h"

namespace tarvo {

namespace {

constexpr int kExposeDeadlineMs = 5000;

bool waitUntilExposed(QWidget& widget) {
    QDeadlineTimer deadline(kExposeDeadlineMs);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (widget.windowHandle() && widget.windowHandle()->isExposed()) {
            QCoreApplication::processEvents();
            return true;
        }
    }
    return false;
}

}  // namespace

QImage pictureOf(MainDialog& dialog) {
    dialog.show();
    if (!waitUntilExposed(dialog)) {
        return {};
    }
    QWidget* welcome = dialog.welcomeWindow();
    const bool withWelcome = welcome && welcome->isVisible() && waitUntilExposed(*welcome);
    QRect area = dialog.geometry();
    if (withWelcome) {
        area = area.united(welcome->geometry());
    }
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(QColor(0x3a, 0x6e, 0xa5));
    QPainter painter(&picture);
    painter.drawPixmap(dialog.geometry().topLeft() - area.topLeft(), dialog.grab());
    if (withWelcome) {
        painter.drawPixmap(welcome->geometry().topLeft() - area.topLeft(), welcome->grab());
    }
    return picture;
}

bool saveScreenshot(MainDialog& dialog, const QString& file, QString& error) {
    const QImage picture = pictureOf(dialog);
    if (picture.isNull()) {
        error = QStringLiteral("the main window did not come up within %1 s")
                    .arg(kExposeDeadlineMs / 1000);
        return false;
    }
    if (!picture.save(file, "PNG")) {
        error = QStringLiteral("cannot write the screenshot to %1").arg(file);
        return false;
    }
    return true;
}

}  // namespace tarvo
