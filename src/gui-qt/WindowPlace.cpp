#include "gui-qt/WindowPlace.h"

#include <QGuiApplication>
#include <QScreen>

namespace tarvo {

ScreenRect screenRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

std::vector<ScreenRect> availableScreens() {
    std::vector<ScreenRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.push_back(screenRect(screen->availableGeometry()));
    }
    return screens;
}

void placeBeside(QWidget& window, const QWidget& mainWindow) {
    const QSize frame = mainWindow.frameGeometry().size() - mainWindow.size();
    const QSize outer = window.size() + frame;
    const ScreenRect place = shrunkBesideMainWindow(
        screenRect(mainWindow.frameGeometry()), outer.width(), outer.height(), availableScreens());
    window.resize(place.width - frame.width(), place.height - frame.height());
    window.move(place.left, place.top);
}

}  // namespace tarvo
