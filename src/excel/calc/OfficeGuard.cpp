#include "excel/calc/OfficeGuard.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tarvo::calc {

namespace {

// Everything below runs in forked children of a program with threads: only
// async-signal-safe calls, no allocation, no locks.

// The office ends its first run on a fresh profile with this code and expects
// its launcher to start it again; the launcher script is not used, so the
// guard does.
constexpr int kRestartRequested = 81;
constexpr int kMostRestarts = 2;
constexpr int kCannotStart = 127;

void detachStandardFiles() {
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
    }
    ::close_range(3, ~0U, 0);
}

pid_t startOffice(char* const* argv, char* const* envp, const sigset_t& officeMask) {
    const pid_t guard = ::getpid();
    const pid_t office = ::fork();
    if (office == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != guard) {
            ::_exit(kCannotStart);
        }
        ::sigprocmask(SIG_SETMASK, &officeMask, nullptr);
        ::execve(argv[0], argv, envp);
        ::_exit(kCannotStart);
    }
    return office;
}

int exitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

[[noreturn]] void guard(char* const* argv, char* const* envp, pid_t parent,
                        const sigset_t& officeMask) {
    // The handlers of the program are no use here; the signals are taken one
    // by one from the blocked set instead.
    for (int number : {kEndOffice, kReleaseOffice, SIGCHLD}) {
        ::signal(number, SIG_DFL);
    }
    ::prctl(PR_SET_PDEATHSIG, kEndOffice);
    if (::getppid() != parent) {
        ::_exit(kCannotStart);
    }
    detachStandardFiles();
    sigset_t awaited;
    ::sigemptyset(&awaited);
    for (int number : {kEndOffice, kReleaseOffice, SIGCHLD}) {
        ::sigaddset(&awaited, number);
    }
    pid_t office = startOffice(argv, envp, officeMask);
    if (office < 0) {
        ::_exit(kCannotStart);
    }
    bool released = false;
    int restarts = 0;
    while (true) {
        int received = 0;
        if (::sigwait(&awaited, &received) != 0) {
            continue;
        }
        if (received == kReleaseOffice) {
            // The program's end no longer reaches the office; its own
            // kEndOffice, already pending, comes after this lower number.
            released = true;
            ::prctl(PR_SET_PDEATHSIG, 0);
        } else if (received == kEndOffice && !released) {
            ::kill(office, SIGKILL);
            int status = 0;
            ::waitpid(office, &status, 0);
            ::_exit(exitCodeOf(status));
        } else if (received == SIGCHLD) {
            int status = 0;
            if (::waitpid(office, &status, WNOHANG) != office) {
                continue;
            }
            if (WIFEXITED(status) && WEXITSTATUS(status) == kRestartRequested &&
                restarts < kMostRestarts) {
                ++restarts;
                office = startOffice(argv, envp, officeMask);
                if (office > 0) {
                    continue;
                }
            }
            ::_exit(exitCodeOf(status));
        }
    }
}

}  // namespace

pid_t startGuardedOffice(char* const* argv, char* const* envp) {
    sigset_t awaited;
    ::sigemptyset(&awaited);
    for (int number : {kEndOffice, kReleaseOffice, SIGCHLD}) {
        ::sigaddset(&awaited, number);
    }
    // Blocked from the fork on, so no signal to the guard comes before it waits.
    sigset_t previous;
    ::pthread_sigmask(SIG_BLOCK, &awaited, &previous);
    const pid_t parent = ::getpid();
    const pid_t guardPid = ::fork();
    if (guardPid == 0) {
        guard(argv, envp, parent, previous);
    }
    const int forkError = errno;
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (guardPid < 0) {
        throw std::system_error(forkError, std::generic_category(), "fork");
    }
    return guardPid;
}

}  // namespace tarvo::calc
