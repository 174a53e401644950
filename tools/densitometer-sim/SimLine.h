#pragma once

#include <string>

#include "SimScript.h"

namespace tarvo::sim {

// The device's end of a pseudo-terminal. The simulator keeps the terminal
// side open too, so a client may close and reopen it without the line
// dropping; hangUp() drops it on purpose, as an unplugged cable would.
class SimLine {
  public:
    SimLine() = default;
    ~SimLine();
    SimLine(const SimLine&) = delete;
    SimLine& operator=(const SimLine&) = delete;

    bool open(std::string& error);
    // A symlink to the terminal, removed at the end. An older symlink there is
    // replaced; anything else at the path is refused.
    bool link(const std::string& path, std::string& error);
    void hangUp();

    // A client's exclusive flag (TIOCEXCL) outlives it when it is killed, as
    // the simulator's own descriptor keeps the terminal open, and then nobody
    // but root could open the line again. Lifts the flag when no client holds
    // the line's lock any more; true when it did.
    bool releaseStaleLock();

    // A client holds the line as tarvo does (its exclusive flag is set).
    bool clientHolds() const;

    const std::string& devicePath() const { return devicePath_; }
    int fd() const { return master_; }
    bool isUp() const { return master_ >= 0; }

    // Whatever the client sent, up to size bytes; -1 when the line is gone.
    long receive(std::uint8_t* data, std::size_t size);
    bool send(const std::uint8_t* data, std::size_t size);

  private:
    int master_ = -1;
    int terminal_ = -1;
    std::string devicePath_;
    std::string linkPath_;
};

}  // namespace tarvo::sim
