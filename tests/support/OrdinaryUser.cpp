#include "OrdinaryUser.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvo::test {

namespace {

constexpr uid_t kNobody = 65534;
constexpr int kCouldNotDrop = 2;

}  // namespace

bool asOrdinaryUser(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ADD_FAILURE() << "fork failed";
        return false;
    }
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(kCouldNotDrop);
        }
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != kCouldNotDrop)
        << "the check could not run as nobody";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace tarvo::test
