#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "TempDir.h"
#include "excel/calc/OwnedFolder.h"

namespace tarvo::calc {
namespace {

constexpr const char* kPrefix = "office-";

// A program that made its folder and was then killed: the folder stays, its
// owner is gone.
std::filesystem::path folderOfAKilledProgram(const std::filesystem::path& parent) {
    int channel[2];
    EXPECT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        auto* folder = new OwnedFolder(parent, kPrefix);
        const std::string name = folder->name();
        (void)!::write(channel[1], name.data(), name.size());
        ::_exit(0);  // no destructor runs, as after kill -9
    }
    ::close(channel[1]);
    char name[64] = {};
    const auto length = ::read(channel[0], name, sizeof name - 1);
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    EXPECT_GT(length, 0);
    return parent / std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

TEST(OwnedFolder, FolderOfADeadOwnerGoesALiveOneAndStrangersStay) {
    test::TempDir parent;
    const auto abandoned = folderOfAKilledProgram(parent.path());
    ASSERT_TRUE(std::filesystem::is_directory(abandoned));
    std::ofstream(abandoned / "registrymodifications.xcu") << "profile";

    OwnedFolder live(parent.path(), kPrefix);
    // The id of a process that ended is given to a new one, started later.
    ProcessStamp reused = ProcessStamp::self();
    ++reused.startTime;
    OwnedFolder reusedId(parent.path(), kPrefix, reused);
    // Being made right now by another program: no record yet.
    std::filesystem::create_directory(parent / "office-unrecorded");
    std::filesystem::create_directory(parent / "other-folder");
    std::ofstream(parent / "office-file") << "not a folder";

    const auto removed = OwnedFolder::removeAbandoned(parent.path(), kPrefix);

    EXPECT_EQ(removed.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(abandoned));
    EXPECT_FALSE(std::filesystem::exists(reusedId.path()));
    EXPECT_TRUE(std::filesystem::is_directory(live.path()));
    EXPECT_TRUE(std::filesystem::is_directory(parent / "office-unrecorded"));
    EXPECT_TRUE(std::filesystem::is_directory(parent / "other-folder"));
    EXPECT_TRUE(std::filesystem::is_regular_file(parent / "office-file"));
    EXPECT_TRUE(OwnedFolder::removeAbandoned(parent.path(), kPrefix).empty());
}

TEST(OwnedFolder, FolderGoesWithItsObjectAndNamesAreFresh) {
    test::TempDir parent;
    std::filesystem::path first;
    {
        OwnedFolder one(parent.path(), kPrefix);
        OwnedFolder two(parent.path(), kPrefix);
        first = one.path();
        EXPECT_NE(one.name(), two.name());
        EXPECT_TRUE(one.name().starts_with(kPrefix));
        std::ofstream(one.path() / "inside") << "x";
    }
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::is_empty(parent.path()));
}

TEST(ProcessStamp, ThisProcessIsKnownAndAnEndedOneIsNot) {
    const auto self = ProcessStamp::of(::getpid());
    ASSERT_TRUE(self.has_value());
    EXPECT_EQ(*self, ProcessStamp::self());
    EXPECT_GT(self->startTime, 0u);

    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(ProcessStamp::of(child).has_value());
}

}  // namespace
}  // namespace tarvo::calc
