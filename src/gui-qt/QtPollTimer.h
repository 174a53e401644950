#pragma once

#include <QTimer>
#include <functional>

#include "app/AcquisitionPorts.h"

namespace tarvo {

// The poll timer as a QTimer on the user-interface thread. A tick that blocks
// (the serial reads may) delays the next one; ticks never pile up or overlap.
class QtPollTimer final : public PollTimer {
  public:
    explicit QtPollTimer(std::function<void()> tick);

    bool install(std::chrono::milliseconds period) override;
    void kill() override { timer_.stop(); }
    bool isRunning() const { return timer_.isActive(); }

  private:
    QTimer timer_;
};

}  // namespace tarvo
