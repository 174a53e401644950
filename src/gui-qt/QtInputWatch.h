#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "app/AcquisitionPorts.h"

namespace tarvo {

// The input watch as a socket notifier on the port's file descriptor: the
// event loop wakes the cycle when bytes wait, and sleeps while none come.
class QtInputWatch final : public InputWatch {
  public:
    explicit QtInputWatch(std::function<void()> bytesWaiting)
        : bytesWaiting_(std::move(bytesWaiting)) {}

    void watch(const SerialPort& port) override;
    void unwatch() override;
    bool isWatching() const;

  private:
    std::function<void()> bytesWaiting_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tarvo
