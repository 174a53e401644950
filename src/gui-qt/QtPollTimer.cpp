#include "gui-qt/QtPollTimer.h"

namespace tarvo {

QtPollTimer::QtPollTimer(std::function<void()> tick) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(tick));
}

bool QtPollTimer::install(std::chrono::milliseconds period) {
    timer_.start(period);
    return timer_.isActive();
}

}  // namespace tarvo
