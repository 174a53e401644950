#include "excel/calc/CallWatchdog.h"

namespace tarvo::calc {

CallWatchdog::CallWatchdog(std::function<void()> onExpiry)
    : onExpiry_(std::move(onExpiry)), thread_([this] { run(); }) {}

CallWatchdog::~CallWatchdog() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

CallWatchdog::Watch::Watch(CallWatchdog& watchdog, std::chrono::milliseconds limit,
                           std::function<bool()> stillAnswering)
    : watchdog_(watchdog) {
    watchdog_.arm(limit, std::move(stillAnswering));
}

CallWatchdog::Watch::~Watch() {
    watchdog_.disarm();
}

bool CallWatchdog::expired() const {
    std::lock_guard lock(mutex_);
    return expired_;
}

void CallWatchdog::arm(std::chrono::milliseconds limit, std::function<bool()> stillAnswering) {
    {
        std::lock_guard lock(mutex_);
        deadline_ = std::chrono::steady_clock::now() + limit;
        limit_ = limit;
        stillAnswering_ = std::move(stillAnswering);
    }
    changed_.notify_all();
}

void CallWatchdog::disarm() {
    std::lock_guard lock(mutex_);
    deadline_.reset();
    stillAnswering_ = nullptr;
}

// Asks outside the lock: the question itself may take a while. True when the
// call got more time or ended meanwhile, so nothing is to be ended.
bool CallWatchdog::patient(std::unique_lock<std::mutex>& lock,
                           std::chrono::steady_clock::time_point deadline) {
    if (!stillAnswering_) {
        return false;
    }
    const auto stillAnswering = stillAnswering_;
    lock.unlock();
    const bool answering = stillAnswering();
    lock.lock();
    if (!deadline_ || *deadline_ != deadline) {
        return true;
    }
    if (answering) {
        deadline_ = std::chrono::steady_clock::now() + limit_;
    }
    return answering;
}

void CallWatchdog::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!deadline_) {
            changed_.wait(lock);
            continue;
        }
        const auto deadline = *deadline_;
        if (changed_.wait_until(lock, deadline) == std::cv_status::timeout && deadline_ &&
            *deadline_ == deadline && !patient(lock, deadline)) {
            deadline_.reset();
            expired_ = true;
            lock.unlock();
            onExpiry_();
            lock.lock();
        }
    }
}

}  // namespace tarvo::calc
