#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace tarvo {

// SIGTERM and SIGHUP (a kill, the end of the desktop session) end the program
// the way the close box does. The handler only writes a byte into a pipe; the
// event loop reads it and calls quit, so no window is touched inside a signal.
// One at a time; the default handling comes back when it goes.
class QuitSignals final : public QObject {
  public:
    explicit QuitSignals(std::function<void()> quit);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

  private:
    void received();

    std::function<void()> quit_;
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tarvo
