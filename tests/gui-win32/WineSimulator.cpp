#include "WineSimulator.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "GuiDriver.h"

namespace tarvo::test {

namespace {

constexpr milliseconds kStartDeadline{15000};

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Runs a shell command line as a Linux process; wine starts a program that
// is not a Windows one as a native process.
void runShell(const std::string& command) {
    RunningProgram shell("/bin/sh -c \"" + command + "\"", "");
}

void removeTree(const std::string& windowsPath) {
    WIN32_FIND_DATAA entry;
    HANDLE found = FindFirstFileA((windowsPath + "\\*").c_str(), &entry);
    if (found != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") {
                DeleteFileA((windowsPath + "\\" + name).c_str());
            }
        } while (FindNextFileA(found, &entry));
        FindClose(found);
    }
    RemoveDirectoryA(windowsPath.c_str());
}

}  // namespace

std::string windowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

SharedFolder::SharedFolder() {
    static std::atomic<int> next{0};
    unix_ =
        "/tmp/tarvo-wingui-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(next++);
    CreateDirectoryA(windowsPath().c_str(), nullptr);
}

SharedFolder::~SharedFolder() {
    removeTree(windowsPath());
}

std::string SharedFolder::windowsPath(const std::string& name) const {
    return windowsPath() + "\\" + name;
}

std::string SharedFolder::read(const std::string& name) const {
    std::ifstream file(windowsPath(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

WineSimulator::WineSimulator(const std::vector<std::string>& script, int comNumber) {
    const std::string simulator = environment("TARVO_DENSITOMETER_SIM");
    const std::string prefix = environment("WINEPREFIX");
    if (simulator.empty() || prefix.empty()) {
        problem_ = "TARVO_DENSITOMETER_SIM and WINEPREFIX must name the simulator and the prefix";
        return;
    }
    link_ = prefix + "/dosdevices/com" + std::to_string(comNumber);
    std::string command = simulator + " --link " + link_ + " --log " + folder_.unixPath("sim.log");
    for (const std::string& item : script) {
        command += " " + item;
    }
    // The simulator prints its terminal's name once the link is in place and
    // removes the link before it ends; the shell says when it has ended.
    command += " > " + folder_.unixPath("ready") + " & echo $! > " + folder_.unixPath("pid") +
               "; wait; echo ended > " + folder_.unixPath("ended");
    runShell(command);
    if (!waitUntil([&] { return !folder_.read("ready").empty(); }, kStartDeadline)) {
        problem_ = "the simulator did not start: " + folder_.read("sim.log");
    }
}

bool WineSimulator::lockForClient() {
    // A Linux process holds the lock as the client would, flock included (the
    // simulator lifts a lock whose holder is gone), until the link goes.
    const std::string link = "\\\"" + link_ + "\\\"";
    const std::string locked = "\\\"" + folder_.unixPath("locked") + "\\\"";
    runShell("python3 -c 'import fcntl, os, termios, time; fd = os.open(" + link +
             ", os.O_RDWR | os.O_NOCTTY); fcntl.flock(fd, fcntl.LOCK_EX); "
             "fcntl.ioctl(fd, termios.TIOCEXCL); open(" +
             locked +
             ", \\\"w\\\").write(\\\"locked\\\"); "
             "[time.sleep(0.2) for _ in iter(lambda: os.path.exists(" +
             link + "), False)]' > /dev/null 2>&1 &");
    return waitUntil([&] { return !folder_.read("locked").empty(); }, kStartDeadline);
}

WineSimulator::~WineSimulator() {
    if (folder_.read("pid").empty()) {
        return;
    }
    runShell("kill $(cat " + folder_.unixPath("pid") + ")");
    // Not the link itself: Windows reads a name like "com3" in any folder as the port.
    waitUntil([&] { return !folder_.read("ended").empty(); }, kStartDeadline);
}

}  // namespace tarvo::test
