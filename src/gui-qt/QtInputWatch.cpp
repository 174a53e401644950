#include "gui-qt/QtInputWatch.h"

namespace tarvo {

// The notifier is switched off and on around each reading, from inside its
// own signal, so it is only replaced when another descriptor is watched (at
// Start Dev., never inside the signal). Qt polls a notifier's descriptor by
// its number, so a port opened again under the same number is watched right.
void QtInputWatch::watch(const SerialPort& port) {
    const std::intptr_t fd = port.waitHandle();
    if (fd < 0) {
        unwatch();
        return;
    }
    if (notifier_ && notifier_->socket() == static_cast<qintptr>(fd)) {
        notifier_->setEnabled(true);
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(static_cast<qintptr>(fd), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { bytesWaiting_(); });
}

void QtInputWatch::unwatch() {
    if (notifier_) {
        notifier_->setEnabled(false);
    }
}

bool QtInputWatch::isWatching() const {
    return notifier_ && notifier_->isEnabled();
}

}  // namespace tarvo
