#include "device/posix/PosixDeviceProbe.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempDir.h"

namespace tarvo {
namespace {

TEST(PosixDeviceProbe, OwnFileIsAllowedAbsentOneMissingAndNeitherIsAUart) {
    test::TempDir dir;
    const auto file = dir / "ttyS0";
    std::ofstream{file};
    PosixDeviceProbe probe;
    EXPECT_EQ(probe.access(file).state, NodeAccess::State::Allowed);
    EXPECT_FALSE(probe.access(file).group.empty());
    EXPECT_EQ(probe.access(dir / "ttyS9").state, NodeAccess::State::Missing);
    // A plain file answers no TIOCGSERIAL.
    EXPECT_FALSE(probe.hasUart(file));
}

}  // namespace
}  // namespace tarvo
