#include "LineSender.h"

#include <poll.h>

#include <algorithm>
#include <thread>

namespace tarvo::sim {

namespace {

std::string hex(const Bytes& bytes) {
    std::string text;
    char pair[3];
    for (const std::uint8_t byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", byte);
        text += pair;
    }
    return text;
}

std::string valuesText(int number, const LineValues& line) {
    std::string text = std::to_string(number);
    const std::size_t count = line.density ? 1 : 4;
    for (std::size_t i = 0; i < count; ++i) {
        text += "," + std::to_string(line.values[i]);
    }
    return text + ",0";
}

}  // namespace

LineSender::LineSender(SimLine& line, SimScript script, const LineOptions& options, std::FILE* log,
                       Clock::duration byteTime, const volatile std::sig_atomic_t& stopRequested)
    : line_(line),
      script_(std::move(script)),
      options_(options),
      log_(log),
      byteTime_(byteTime),
      stopRequested_(stopRequested),
      scripted_(script_.readings.begin(), script_.readings.end()) {}

int LineSender::run() {
    while (!stopRequested_ && line_.isUp()) {
        if (line_.releaseStaleLock()) {
            record("unlocked");
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
        if (script_.hangupAtSeconds && elapsed >= *script_.hangupAtSeconds) {
            hangUp();
            break;
        }
        followClient();
        drainInput();
        const auto due = nextDue();
        if (due && Clock::now() >= *due) {
            sendReading();
            if (script_.hangupAfterPolls && sentTotal_ >= *script_.hangupAfterPolls) {
                // The cable is pulled after the last line went through: a
                // pty drops what its reader has not taken when it hangs up.
                std::this_thread::sleep_for(kLinePause);
                hangUp();
                break;
            }
            continue;
        }
        waitForWork(due);
    }
    return 0;
}

void LineSender::followClient() {
    const bool holds = line_.clientHolds();
    if (holds && !client_) {
        record("client");
        clientSince_ = Clock::now();
        lineFree_ = clientSince_ + kSettle;
        sent_ = 0;
    } else if (!holds && client_) {
        record("released");
    }
    client_ = holds;
}

// The client should send nothing; whatever it sends is logged and dropped.
void LineSender::drainInput() {
    Bytes bytes(256);
    pollfd ready{line_.fd(), POLLIN, 0};
    while (::poll(&ready, 1, 0) > 0 && (ready.revents & POLLIN)) {
        const long n = line_.receive(bytes.data(), bytes.size());
        if (n <= 0) {
            return;
        }
        record("junk " + hex(Bytes(bytes.begin(), bytes.begin() + n)));
    }
}

std::optional<LineSender::Clock::time_point> LineSender::nextDue() const {
    if (!client_) {
        return std::nullopt;
    }
    if (!scripted_.empty()) {
        return lineFree_;
    }
    if (script_.everySeconds <= 0) {
        return std::nullopt;
    }
    const auto period = std::chrono::duration<double>(script_.everySeconds);
    const auto due =
        clientSince_ + kSettle + std::chrono::duration_cast<Clock::duration>(period * (sent_ + 1));
    return std::max(due, lineFree_);
}

void LineSender::sendReading() {
    SimReading reading;
    if (!scripted_.empty()) {
        reading = scripted_.front();
        scripted_.pop_front();
    } else {
        const int next = sentTotal_ + 1;
        reading =
            plausibleReading(next, script_.densityEvery > 0 && next % script_.densityEvery == 0);
    }
    if (options_.header) {
        sendLine(headerLine(options_));
    }
    if (options_.noise) {
        sendLine(noiseLine(options_, sentTotal_));
    }
    const LineValues values = lineValues(reading);
    const Clock::time_point lastByte = sendLine(readingLine(values, options_));
    ++sent_;
    ++sentTotal_;
    record("reading " + std::string(values.density ? "density " : "colour ") +
               valuesText(sent_, values),
           lastByte);
}

// A byte reaches the other end when its last bit has gone out; the bytes
// that are due by the time the sender wakes go out together, so a fast line
// is not slowed down by one wake-up a byte.
LineSender::Clock::time_point LineSender::sendLine(const Bytes& bytes) {
    record("line " + hex(bytes));
    // Lines sent back to back keep the line's schedule, so that a late
    // wake-up is caught up on instead of slowing the line down.
    const auto now = Clock::now();
    auto due = now - lineFree_ < std::chrono::milliseconds(50) ? lineFree_ : now;
    std::size_t sent = 0;
    Clock::time_point lastSend{};
    while (sent < bytes.size()) {
        std::this_thread::sleep_until(due + byteTime_);
        const auto now = Clock::now();
        std::size_t ready = sent;
        while (ready < bytes.size() && due + byteTime_ <= now) {
            due += byteTime_;
            ++ready;
        }
        lastSend = Clock::now();
        line_.send(bytes.data() + sent, ready - sent);
        sent = ready;
    }
    lineFree_ = due + (options_.crEnd ? Clock::duration(kLinePause) : Clock::duration::zero());
    return lastSend;
}

// Until a byte comes from the client or the next reading is due, and never
// so long that a client coming or going is seen late.
void LineSender::waitForWork(std::optional<Clock::time_point> due) {
    auto wait = std::chrono::milliseconds(20);
    if (due) {
        wait = std::clamp(std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now()),
                          std::chrono::milliseconds(0), wait);
    }
    pollfd ready{line_.fd(), POLLIN, 0};
    ::poll(&ready, 1, static_cast<int>(wait.count()));
}

void LineSender::hangUp() {
    record("hangup");
    line_.hangUp();
}

void LineSender::record(const std::string& event, Clock::time_point at) {
    const double seconds = std::chrono::duration<double>(at.time_since_epoch()).count();
    std::fprintf(log_, "%.6f %s\n", seconds, event.c_str());
    std::fflush(log_);
}

}  // namespace tarvo::sim
