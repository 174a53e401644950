#pragma once

#include <string>
#include <vector>

namespace tarvo::test {

// A Linux path as programs inside wine see it, through drive Z:.
std::string windowsPath(const std::string& unixPath);

// A fresh folder under /tmp for one test, seen from both sides; removed with
// the object.
class SharedFolder {
  public:
    SharedFolder();
    ~SharedFolder();
    SharedFolder(const SharedFolder&) = delete;
    SharedFolder& operator=(const SharedFolder&) = delete;

    const std::string& unixPath() const { return unix_; }
    std::string windowsPath() const { return test::windowsPath(unix_); }
    std::string windowsPath(const std::string& name) const;
    std::string unixPath(const std::string& name) const { return unix_ + "/" + name; }
    // The whole file, or empty when it cannot be read.
    std::string read(const std::string& name) const;

  private:
    std::string unix_;
};

// The densitometer simulator, a Linux program, started from inside wine: its
// pseudo-terminal becomes the wine prefix's COMn, so the program under test
// opens "\\.\COMn" and talks to it. Needs TARVO_DENSITOMETER_SIM (the
// simulator's Linux path) and WINEPREFIX.
class WineSimulator {
  public:
    WineSimulator(const std::vector<std::string>& script, int comNumber);
    // Ends the simulator and waits until it has removed its link.
    ~WineSimulator();
    WineSimulator(const WineSimulator&) = delete;
    WineSimulator& operator=(const WineSimulator&) = delete;

    // An instrument that sends unasked (--instrument) sends only while a
    // client holds its terminal exclusively, which a Linux client does and
    // wine's serial driver does not: once the program under test has opened
    // the port, this takes the lock for it. False when that failed.
    bool lockForClient();

    // Empty when the simulator runs, otherwise why not.
    const std::string& problem() const { return problem_; }
    std::string log() const { return folder_.read("sim.log"); }

  private:
    SharedFolder folder_;
    std::string link_;
    std::string problem_;
};

}  // namespace tarvo::test
