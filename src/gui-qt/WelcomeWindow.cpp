#include "gui-qt/WelcomeWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "gui-qt/TaskBarEntry.h"

namespace tarvo {

namespace {

QImage decode(const WelcomeBitmap& bitmap) {
    if (!bitmap.loaded) {
        return {};
    }
    const std::vector<std::uint8_t> bytes = bitmap.fileBytes();
    return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
}

}  // namespace

WelcomeWindow::WelcomeWindow(const WelcomeBitmap& bitmap, QWidget* owner)
    // Owned by the main window as every other window is: a tool window stays
    // in front of its owner, has no task-bar entry and no minimise button.
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      picture_(decode(bitmap)) {
    setObjectName("welcome");
    // The operator goes on typing in the main window while the picture shows.
    setAttribute(Qt::WA_ShowWithoutActivating);
    // A blank, as Qt would fill an empty title with the program's name.
    setWindowTitle(QStringLiteral(" "));
    setFixedSize(kWelcomeWidth, kWelcomeHeight);
    centreOnScreen();
}

void WelcomeWindow::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void WelcomeWindow::setVisible(bool visible) {
    // Asked at every show, before and after the map: window managers forget a
    // hidden window's state, and one that takes the window after the request
    // would not hear it.
    if (visible && !isVisible()) {
        keepOffTaskBar(*this);
    }
    QWidget::setVisible(visible);
    if (visible) {
        keepOffTaskBar(*this);
    }
}

void WelcomeWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void WelcomeWindow::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(QRect(0, 0, kWelcomeWidth, kWelcomeHeight), picture_);
}

}  // namespace tarvo
