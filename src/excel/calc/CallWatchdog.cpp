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

CallWatchdog::Watch::Watch(CallWatchdog& watchdog, std::chrono::milliseconds limit)
    : watchdog_(watchdog) {
    watchdog_.arm(std::chrono::steady_clock::now() + limit);
}

CallWatchdog::Watch::~Watch() {
    watchdog_.disarm();
}

bool CallWatchdog::expired() const {
    std::lock_guard lock(mutex_);
    return expired_;
}

void CallWatchdog::arm(std::chrono::steady_clock::time_point deadline) {
    {
        std::lock_guard lock(mutex_);
        deadline_ = deadline;
    }
    changed_.notify_all();
}

void CallWatchdog::disarm() {
    std::lock_guard lock(mutex_);
    deadline_.reset();
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
            *deadline_ == deadline) {
            deadline_.reset();
            expired_ = true;
            lock.unlock();
            onExpiry_();
            lock.lock();
        }
    }
}

}  // namespace tarvo::calc
