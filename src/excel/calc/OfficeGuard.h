#pragma once

#include <signal.h>
#include <sys/types.h>

namespace tarvo::calc {

// The office is not this program's child but its grandchild, under a small
// guard process forked from this one (no exec). The guard starts the office,
// starts it again when its first run on a fresh profile asks for that, and
// ends with the office's exit code, so waiting for the guard is waiting for
// the office. The office dies with the guard, the guard with the thread that
// forked it; only a released guard lets its office outlive this program.
//
// Signals to the guard:
inline constexpr int kEndOffice = SIGTERM;      // kill the office, reap it, end
inline constexpr int kReleaseOffice = SIGUSR1;  // from now on the office outlives this program

// Forks the guard, which executes `argv` (argv[0] the program) with the
// environment `envp`; answers the guard's process id. The calling thread
// must live as long as the office.
pid_t startGuardedOffice(char* const* argv, char* const* envp);

}  // namespace tarvo::calc
