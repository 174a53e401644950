#include "excel/calc/SofficeProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace tarvo::calc {

namespace {

constexpr std::string_view kFolderPrefix = "tarvo-calc-";

// The office's pipe named N is this socket; it stays when the office is killed.
std::filesystem::path pipeSocket(const std::string& name) {
    return "/tmp/OSL_PIPE_" + std::to_string(::getuid()) + "_" + name;
}

void removePipeSocket(const std::string& name) {
    std::error_code ignored;
    if (std::filesystem::is_socket(pipeSocket(name), ignored)) {
        std::filesystem::remove(pipeSocket(name), ignored);
    }
}

void removeAbandonedProfiles(const std::filesystem::path& parent) {
    for (const std::string& name : OwnedFolder::removeAbandoned(parent, kFolderPrefix)) {
        removePipeSocket(name);
    }
}

// In the child between fork and exec only async-signal-safe calls are allowed.
[[noreturn]] void execInChild(char* const* argv, pid_t parent) {
    // The office must not outlive the program, even when the program crashes.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) {
        ::_exit(127);
    }
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
    }
    ::close_range(3, ~0U, 0);
    ::execv(argv[0], argv);
    ::_exit(127);
}

// The office ends its first run on a fresh profile with this code and expects
// its launcher to start it again; the launcher is not used here, so this does.
constexpr int kRestartRequested = 81;
constexpr int kMostRestarts = 2;

}  // namespace

SofficeProcess::SofficeProcess(const Launch& launch) {
    if (::access(launch.program.c_str(), X_OK) != 0) {
        throw std::runtime_error("office program not found: " + launch.program.string());
    }
    const auto parent = std::filesystem::temp_directory_path();
    removeAbandonedProfiles(parent);
    profile_.emplace(parent, kFolderPrefix);
    pipeName_ = launch.pipeName.empty() ? profile_->name() : launch.pipeName;
    arguments_ = arguments(launch);
    spawn(arguments_);
}

// An office that quit took its pipe with it; one that was killed did not.
SofficeProcess::~SofficeProcess() {
    stop();
    removePipeSocket(pipeName_);
}

std::vector<std::string> SofficeProcess::arguments(const Launch& launch) const {
    std::vector<std::string> result{
        launch.program.string(),
        "-env:UserInstallation=file://" + profile_->path().string(),
        "--invisible",
        "--norestore",
        "--nologo",
        "--nodefault",
        "--nolockcheck",
        "--accept=pipe,name=" + pipeName_ + ";urp;StarOffice.ComponentContext",
    };
    if (launch.headless) {
        result.push_back("--headless");
    }
    return result;
}

void SofficeProcess::spawn(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ < 0) {
        throw std::system_error(errno, std::generic_category(), "fork");
    }
    if (pid_ == 0) {
        execInChild(argv.data(), parent);
    }
}

void SofficeProcess::reap(bool block) {
    if (reaped_ || pid_ <= 0) {
        return;
    }
    int status = 0;
    const pid_t result = ::waitpid(pid_, &status, block ? 0 : WNOHANG);
    if (result == pid_ && WIFEXITED(status) && WEXITSTATUS(status) == kRestartRequested &&
        restarts_ < kMostRestarts && !killed_) {
        ++restarts_;
        spawn(arguments_);
        // A kill() that came while the first run ended ends the second.
        if (killed_) {
            ::kill(pid_, SIGKILL);
        }
        return;
    }
    if (result == pid_ || (result < 0 && errno == ECHILD)) {
        reaped_ = true;
    }
}

bool SofficeProcess::running() {
    reap(false);
    return !reaped_;
}

bool SofficeProcess::waitForExit(std::chrono::milliseconds timeout) {
    if (!running()) {
        return true;
    }
    const int descriptor = static_cast<int>(::syscall(SYS_pidfd_open, pid_.load(), 0));
    if (descriptor >= 0) {
        pollfd exitEvent{descriptor, POLLIN, 0};
        ::poll(&exitEvent, 1, static_cast<int>(timeout.count()));
        ::close(descriptor);
        return !running();
    }
    // Kernels without pidfd: look again every few milliseconds.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return !running();
}

void SofficeProcess::kill() {
    // Not reaped yet means the id still names our child, never a stranger.
    killed_ = true;
    if (pid_ > 0 && !reaped_) {
        ::kill(pid_, SIGKILL);
    }
}

void SofficeProcess::stop() {
    if (!running()) {
        return;
    }
    kill();
    reap(true);
}

}  // namespace tarvo::calc
