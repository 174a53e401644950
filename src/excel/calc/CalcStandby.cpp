#include "excel/calc/CalcStandby.h"

#include "excel/calc/CalcSession.h"

namespace tarvo::calc {

CalcStandby::CalcStandby(CalcServerOptions options) : options_(std::move(options)) {
    prepareUno();
    worker_ = std::thread([this] { work(); });
}

CalcStandby::~CalcStandby() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        if (launching_) {
            launching_->abandon();
        }
    }
    changed_.notify_all();
    worker_.join();
    spare_.reset();
}

void CalcStandby::prepare() {
    {
        std::lock_guard lock(mutex_);
        const auto inUse = handedOver_.lock();
        if (wanted_ || starting_ || spare_ || (inUse && inUse->usable())) {
            return;
        }
        wanted_ = true;
    }
    changed_.notify_all();
}

std::shared_ptr<CalcSession> CalcStandby::take() {
    std::unique_lock lock(mutex_);
    // At most two starts: the spare may have died while it waited.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!spare_ && !starting_) {
            wanted_ = true;
            changed_.notify_all();
        }
        // Each start ends within the start limit, so this wait does too.
        changed_.wait(lock, [&] { return stopping_ || (!wanted_ && !starting_); });
        auto session = std::move(spare_);
        if (!session || stopping_) {
            return nullptr;
        }
        if (session->usable()) {
            handedOver_ = session;
            return session;
        }
    }
    return nullptr;
}

void CalcStandby::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [&] { return stopping_ || wanted_; });
        if (stopping_) {
            return;
        }
        wanted_ = false;
        starting_ = true;
        lock.unlock();
        auto session = startOne();
        lock.lock();
        launching_.reset();
        spare_ = std::move(session);
        starting_ = false;
        changed_.notify_all();
    }
}

// Known to the destructor before its slow part, so that can be cut short.
std::shared_ptr<CalcSession> CalcStandby::startOne() {
    std::shared_ptr<CalcSession> session;
    try {
        session = std::make_shared<CalcSession>(options_);
    } catch (...) {
        return nullptr;
    }
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return nullptr;
        }
        launching_ = session;
    }
    if (!session->connect()) {
        return nullptr;
    }
    session->warmUp();
    return session;
}

}  // namespace tarvo::calc
