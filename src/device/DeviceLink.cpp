#include "device/DeviceLink.h"

#include <cstdio>
#include <utility>

#include "device/LineChoice.h"

namespace tarvo {

namespace {

constexpr std::uint8_t CommandPrefix = 'X';
constexpr std::uint8_t IdentifyLetter = 'R';
constexpr std::uint8_t IdentifyVariantLetter = 'A';
constexpr std::uint8_t PollLetter = 'K';
constexpr std::uint8_t FetchLetter = 'D';

constexpr std::uint8_t IdentifiedAnswer = '!';
constexpr std::uint8_t ColourReady = '1';
constexpr std::uint8_t DensityReady = '!';

constexpr std::size_t ColourReplySize = 12;
constexpr std::size_t DensityReplySize = 6;

// Misses tolerated before a silent device counts as lost.
constexpr int ToleratedMisses = 3;

constexpr std::chrono::milliseconds LineSettleTime{200};

constexpr int Colour = static_cast<int>(ReadingKind::Colour);
constexpr int Density = static_cast<int>(ReadingKind::Density);

std::string formatted(const char* format, int comNumber) {
    char text[200];
    std::snprintf(text, sizeof text, format, comNumber);
    return text;
}

std::string notIdentifiedText(int comNumber) {
    return formatted(
        "Cannot write to open COM%d ! E1, \rprobably device not connected or switched off.",
        comNumber);
}

}  // namespace

DeviceLink::DeviceLink(SerialPortOpener opener, Pause pause)
    : opener_(std::move(opener)), pause_(std::move(pause)) {}

DeviceLink::~DeviceLink() {
    close();
}

int DeviceLink::open(int comNumber, int baudRate, int dataBits, int stopBits, int parity,
                     int identifyVariant, const PortTimeouts* timeouts, std::string& message) {
    close();
    comPort_ = choosePort(comNumber);
    failureReason_.clear();
    port_ = opener_ ? opener_(comPort_, failureReason_) : nullptr;
    if (!port_) {
        message = cannotOpenText(comNumber);
        return -1;
    }
    port_->setLine(chooseLineSettings(baudRate, dataBits, stopBits, parity));
    if (pause_) {
        pause_(LineSettleTime);
    }
    port_->setTimeouts(timeouts ? *timeouts : PortTimeouts{});
    if (identify(identifyVariant == 1 ? IdentifyVariantLetter : IdentifyLetter)) {
        return 0;
    }
    message = notIdentifiedText(comNumber);
    // A failed open leaves nothing held, so the same port can be tried again at once.
    port_.reset();
    return -1;
}

int DeviceLink::close() {
    if (port_) {
        port_->purge(PurgeMode::ClearQueues);
        port_.reset();
    }
    return 0;
}

IoResult DeviceLink::sendCommand(std::uint8_t letter) {
    command_ = {CommandPrefix, letter};
    return port_->write(command_.data(), command_.size());
}

// Two attempts, because a device may still be finishing something else when
// the first command arrives; a device that does not answer at all is not asked twice.
bool DeviceLink::identify(std::uint8_t letter) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        port_->purge(PurgeMode::AbortAndClear);
        if (!sendCommand(letter).ok) {
            failureReason_ = port_->name() + ": the identify command could not be sent";
            return false;
        }
        std::uint8_t answer = 0;
        const IoResult read = port_->read(&answer, 1);
        if (read.ok && read.count == 1 && answer == IdentifiedAnswer) {
            return true;
        }
        explainFailedIdentify(read, answer);
        if (!read.ok || read.count == 0) {
            return false;
        }
    }
    return false;
}

void DeviceLink::explainFailedIdentify(const IoResult& read, std::uint8_t answer) {
    if (!read.ok) {
        failureReason_ = port_->name() + ": the line broke while waiting for the answer";
    } else if (read.count == 0) {
        failureReason_ = port_->name() + ": no answer to the identify command";
    } else {
        char text[80];
        std::snprintf(text, sizeof text, ": answered 0x%02X instead of '!'", answer);
        failureReason_ = port_->name() + text;
    }
}

int DeviceLink::exchange(ReadingValues& values) {
    if (!port_) {
        return WriteFailed;
    }
    int result = Colour;
    port_->purge(PurgeMode::ClearQueues);
    const IoResult poll = sendCommand(PollLetter);
    if (!poll.ok) {
        return WriteFailed;
    }
    if (poll.count == command_.size()) {
        result = readStatusAndFetch();
        if (result < 0) {
            return result;
        }
    }
    handOut(values);
    reply_[0] = 0;
    reply_[1] = 0;
    return result;
}

int DeviceLink::readStatusAndFetch() {
    std::uint8_t status = 0;
    const IoResult read = port_->read(&status, 1);
    if (!read.ok || read.count == 0) {
        return handleMissingStatus(read);
    }
    switch (status) {
        case ColourReady:
            fetchColour();
            failureCount_ = 0;
            return Colour;
        case DensityReady:
            return fetchDensity();
        default:
            failureCount_ = 0;
            return Colour;
    }
}

// A failed read right after a quiet one, or twice running, means the port is
// gone; a poll without answer is forgiven a few times, as the device may be busy.
int DeviceLink::handleMissingStatus(const IoResult& read) {
    if (!read.ok) {
        if (failureCount_ > 0) {
            failureCount_ = 0;
            return ReadFailed;
        }
        failureCount_ = 1;
        return Colour;
    }
    port_->purge(PurgeMode::ClearQueues);
    if (failureCount_ > ToleratedMisses) {
        failureCount_ = 0;
        return DeviceLost;
    }
    ++failureCount_;
    return Colour;
}

void DeviceLink::fetchColour() {
    if (!sendCommand(FetchLetter).ok) {
        return;
    }
    const IoResult read = port_->read(reply_.data(), ColourReplySize);
    if (read.ok && read.count == ColourReplySize) {
        decodeReply(ColourReplySize / 2);
    }
}

int DeviceLink::fetchDensity() {
    if (!sendCommand(FetchLetter).ok) {
        failureCount_ = 0;
        return Density;
    }
    const IoResult read = port_->read(reply_.data(), DensityReplySize);
    if (!read.ok) {
        failureCount_ = 0;
        return Density;
    }
    if (read.count == DensityReplySize) {
        decodeReply(DensityReplySize / 2);
        failureCount_ = 0;
        return Density;
    }
    port_->purge(PurgeMode::ClearQueues);
    if (failureCount_ > ToleratedMisses) {
        failureCount_ = 0;
        return DeviceLost;
    }
    failureCount_ = 0;
    return Density;
}

// Words are big-endian two's-complement 16-bit numbers.
void DeviceLink::decodeReply(std::size_t words) {
    for (std::size_t i = 0; i < words; ++i) {
        const auto word = static_cast<std::uint16_t>(reply_[2 * i] << 8 | reply_[2 * i + 1]);
        store_[i] = static_cast<std::int16_t>(word);
    }
    newValues_ = true;
}

void DeviceLink::handOut(ReadingValues& values) {
    if (newValues_) {
        values = store_;
        newValues_ = false;
    } else {
        values[0] = 0;
    }
}

}  // namespace tarvo
