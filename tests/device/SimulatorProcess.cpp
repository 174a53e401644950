#include "SimulatorProcess.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace tarvo::test {

namespace {

using Clock = std::chrono::steady_clock;

bool reaped(pid_t pid, std::chrono::milliseconds bound) {
    const auto deadline = Clock::now() + bound;
    while (Clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) != 0) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

}  // namespace

SimulatorProcess::SimulatorProcess(const std::vector<std::string>& arguments,
                                   const std::filesystem::path& log)
    : log_(log) {
    std::vector<std::string> all{TARVO_DENSITOMETER_SIM, "--log", log.string()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int output[2];
    if (::pipe(output) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    if (pid_ > 0) {
        readDevicePath(output[0], std::chrono::seconds(10));
    }
    ::close(output[0]);
}

SimulatorProcess::~SimulatorProcess() {
    if (pid_ <= 0) {
        return;
    }
    ::kill(pid_, SIGTERM);
    if (!reaped(pid_, std::chrono::seconds(5))) {
        ::kill(pid_, SIGKILL);
        reaped(pid_, std::chrono::seconds(5));
    }
}

void SimulatorProcess::readDevicePath(int pipe, std::chrono::milliseconds bound) {
    const auto deadline = Clock::now() + bound;
    std::string line;
    while (line.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd ready{pipe, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            return;
        }
        char chunk[128];
        const ssize_t n = ::read(pipe, chunk, sizeof chunk);
        if (n <= 0) {
            return;
        }
        line.append(chunk, static_cast<std::size_t>(n));
    }
    devicePath_ = line.substr(0, line.find('\n'));
}

std::vector<SimEvent> SimulatorProcess::events() const {
    std::vector<SimEvent> events;
    std::ifstream in(log_);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        SimEvent event;
        fields >> event.seconds;
        fields.ignore(1);
        std::getline(fields, event.what);
        events.push_back(event);
    }
    return events;
}

std::vector<std::string> SimulatorProcess::commands() const {
    std::vector<std::string> commands;
    for (const auto& event : events()) {
        if (event.what.rfind("cmd ", 0) == 0) {
            commands.push_back(event.what.substr(4));
        }
    }
    return commands;
}

bool SimulatorProcess::waitForEvent(const std::string& prefix,
                                    std::chrono::milliseconds bound) const {
    const auto deadline = Clock::now() + bound;
    while (Clock::now() < deadline) {
        for (const auto& event : events()) {
            if (event.what.rfind(prefix, 0) == 0) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

}  // namespace tarvo::test
