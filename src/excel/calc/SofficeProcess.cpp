#include "excel/calc/SofficeProcess.h"

#include "excel/calc/OfficeGuard.h"

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
    environment_ = environment(launch);
    spawn();
}

// An office that quit took its pipe with it; one that was killed did not.
SofficeProcess::~SofficeProcess() {
    if (released_) {
        return;
    }
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

// A shown office draws with its own X11 toolkit unless told otherwise: under
// the GTK one every change of the selection waits for a frame of the screen,
// some 16 ms, and each cell written selects itself.
std::vector<std::string> SofficeProcess::environment(const Launch& launch) {
    std::vector<std::string> result;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        result.emplace_back(*variable);
    }
    const char* display = std::getenv("DISPLAY");
    if (!launch.headless && display != nullptr && *display != '\0' &&
        std::getenv("SAL_USE_VCLPLUGIN") == nullptr) {
        result.emplace_back("SAL_USE_VCLPLUGIN=gen");
    }
    return result;
}

namespace {

std::vector<char*> pointersTo(const std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (const std::string& text : texts) {
        pointers.push_back(const_cast<char*>(text.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

void SofficeProcess::spawn() {
    auto argv = pointersTo(arguments_);
    auto envp = pointersTo(environment_);
    guard_ = startGuardedOffice(argv.data(), envp.data());
}

void SofficeProcess::reap(bool block) {
    if (reaped_ || guard_ <= 0) {
        return;
    }
    int status = 0;
    const pid_t result = ::waitpid(guard_, &status, block ? 0 : WNOHANG);
    if (result == guard_ || (result < 0 && errno == ECHILD)) {
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
    const int descriptor = static_cast<int>(::syscall(SYS_pidfd_open, guard_, 0));
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
    if (guard_ > 0 && !reaped_ && !released_) {
        ::kill(guard_, kEndOffice);
    }
}

void SofficeProcess::stop() {
    if (!running() || released_) {
        return;
    }
    kill();
    reap(true);
}

// The guard outlives the office, so it is the folder's owner from now on.
void SofficeProcess::release() {
    if (!running() || released_.exchange(true)) {
        return;
    }
    ::kill(guard_, kReleaseOffice);
    if (auto owner = ProcessStamp::of(guard_)) {
        profile_->handOver(*owner);
    }
}

}  // namespace tarvo::calc
