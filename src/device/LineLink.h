#pragma once

#include <memory>
#include <string>

#include "device/LineParser.h"
#include "device/SerialPort.h"

namespace tarvo {

// The link to an instrument that sends each reading as a line of text by
// itself (X-Rite's 400 and 500 series): nothing is asked of it and nothing
// identifies it, so opening the port is all there is to starting. The
// instrument does not number its readings; the link numbers them from 1 at
// every open. It never waits: whoever owns it is told when bytes wait on the
// port (SerialPort::waitHandle) and calls receive, then exchange until no
// reading is left, and gapPassed once LineParser::kReadingGap has passed
// without a byte while readingBegun.
class LineLink {
  public:
    static constexpr int ReadFailed = -2;  // the port broke, as when an adapter is pulled out

    explicit LineLink(SerialPortOpener opener);
    ~LineLink();
    LineLink(const LineLink&) = delete;
    LineLink& operator=(const LineLink&) = delete;

    // 0 when the port is open at baudRate, 8 data bits, no parity, one stop
    // bit (the top bit is dropped, so 7 data bits with any parity read the
    // same); -1 with "Cannot open COM%d ! E4" in message otherwise. Whatever
    // waited on the port before is dropped.
    int open(int comNumber, int baudRate, std::string& message);
    void close();

    // Takes what has come on the port, without waiting: 0, or ReadFailed.
    int receive();
    // The ReadingKind of the oldest reading received and not handed out, with
    // its number in values[0]; 0 with values[0] = 0 when there is none.
    int exchange(ReadingValues& values);

    bool readingBegun() const { return parser_.lineBegun(); }
    void gapPassed() { parser_.gapPassed(); }

    int droppedLines() const { return parser_.droppedLines(); }
    const std::string& lastDropped() const { return parser_.lastDropped(); }

    // The open port, to be watched for input; nullptr while closed.
    const SerialPort* port() const { return port_.get(); }
    // Why the last open or receive failed (path and reason), for a diagnostic line.
    const std::string& failureReason() const { return failureReason_; }

  private:
    SerialPortOpener opener_;
    std::unique_ptr<SerialPort> port_;
    LineParser parser_;
    int lastNumber_ = 0;
    std::string failureReason_;
};

}  // namespace tarvo
