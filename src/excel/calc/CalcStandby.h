#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "excel/calc/CalcAutomationServer.h"

namespace tarvo::calc {

class CalcSession;

// A private office started before it is asked for: the office takes seconds
// to come up, so it starts while the operator is still at the Excel dialog.
// Every office is started on this object's own thread, which lives as long as
// the object: an office dies with the thread that started it.
class CalcStandby {
  public:
    explicit CalcStandby(CalcServerOptions options);
    // A spare not taken is ended; a start in progress is cut short.
    ~CalcStandby();
    CalcStandby(const CalcStandby&) = delete;
    CalcStandby& operator=(const CalcStandby&) = delete;

    // Starts a spare in the background unless one is starting or waiting, or
    // the office handed over last still runs: one office at a time is enough.
    void prepare();
    // The spare, after its start has ended; a fresh start when there is none
    // or it has died since. Null when the office does not come up.
    std::shared_ptr<CalcSession> take();

  private:
    void work();
    std::shared_ptr<CalcSession> startOne();

    CalcServerOptions options_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool wanted_ = false;
    bool starting_ = false;
    bool stopping_ = false;
    std::shared_ptr<CalcSession> launching_;
    std::shared_ptr<CalcSession> spare_;
    std::weak_ptr<CalcSession> handedOver_;
    std::thread worker_;
};

}  // namespace tarvo::calc
