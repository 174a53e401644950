#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "SimulatorProcess.h"
#include "TempDir.h"

extern char** environ;

namespace tarvo {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kBound = std::chrono::seconds(60);

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Blocks until fd is readable or the bound has passed; false on the bound.
bool waitReadable(int fd, Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0)
        return false;
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, static_cast<int>(left.count())) > 0;
}

// The driver renames each of its files into place, so a move into the folder
// is the event to wake on.
bool waitForFile(const std::filesystem::path& path) {
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ::inotify_add_watch(watch, path.parent_path().c_str(), IN_MOVED_TO | IN_CREATE);
    const auto deadline = Clock::now() + kBound;
    bool found = std::filesystem::exists(path);
    while (!found && waitReadable(watch, deadline)) {
        char events[4096];
        [[maybe_unused]] auto read = ::read(watch, events, sizeof events);
        found = std::filesystem::exists(path);
    }
    ::close(watch);
    return found;
}

// The program on a settings and state folder of its own, offscreen.
class ProgramRun {
  public:
    ProgramRun(const test::TempDir& dir, std::vector<std::string> arguments) {
        std::vector<std::string> environment{
            "QT_QPA_PLATFORM=offscreen", "HOME=" + dir.path().string(),
            "XDG_CONFIG_HOME=" + (dir / "config").string(),
            "XDG_STATE_HOME=" + (dir / "state").string(), "XDG_RUNTIME_DIR=" + dir.path().string()};
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            if (text.rfind("PATH=", 0) == 0 || text.rfind("LD_LIBRARY_PATH=", 0) == 0)
                environment.push_back(text);
        }
        arguments.insert(arguments.begin(), TARVO_JOURNAL_SESSION_DRIVER);
        std::vector<char*> argv, envp;
        for (auto& argument : arguments)
            argv.push_back(argument.data());
        for (auto& entry : environment)
            envp.push_back(entry.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        if (::posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
    }
    ~ProgramRun() { kill(); }

    bool started() const { return pid_ > 0; }
    void signal(int number) { ::kill(pid_, number); }
    void kill() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    // True when the program ended by itself with status 0 within the bound.
    bool endsCleanly() {
        const int handle = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
        const bool ended = handle >= 0 && waitReadable(handle, Clock::now() + kBound);
        ::close(handle);
        int status = 0;
        if (!ended || ::waitpid(pid_, &status, 0) != pid_)
            return false;
        pid_ = -1;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

  private:
    pid_t pid_ = -1;
};

class JournalSession : public ::testing::Test {
  protected:
    // A fresh simulator holding three readings, named as COM1 in the settings.
    std::unique_ptr<test::SimulatorProcess> startDevice() {
        auto device = std::make_unique<test::SimulatorProcess>(
            std::vector<std::string>{"colour=11,1500,200,300,1000,455",
                                     "colour=12,1000,900,950,800,1000",
                                     "colour=13,1235,-105,4,1239,52"},
            dir_ / ("sim" + std::to_string(++devices_) + ".log"));
        EXPECT_FALSE(device->devicePath().empty());
        std::filesystem::create_directories(dir_ / "config" / "tarvo");
        std::ofstream(dir_ / "config" / "tarvo" / "Tarvo.ini")
            << "[Ports]\nCOM1=" << device->devicePath() << "\n[Generic]\nCOMMNO=1\nBEEP=0\n";
        return device;
    }

    // Three readings and a comment, left running; returns what the table showed.
    std::string measureThree(ProgramRun& run) {
        EXPECT_TRUE(run.started());
        EXPECT_TRUE(waitForFile(before_)) << "the first run never showed three readings";
        return contents(before_);
    }

    // A new run answering Yes must show exactly what the first one showed.
    void expectRestoredAs(const std::string& shown) {
        const auto after = dir_ / "after.txt";
        ProgramRun second(dir_, {"--answer-yes", "--shown", after.string()});
        ASSERT_TRUE(second.endsCleanly()) << "the second run did not end by itself";
        EXPECT_EQ(contents(after.string() + ".question"),
                  "Readings not saved in the last session: 3. Restore them?");
        EXPECT_NE(shown.find("patch A"), std::string::npos) << shown;
        EXPECT_NE(shown.find("3:   Cyan"), std::string::npos) << shown;
        EXPECT_EQ(contents(after), shown);
    }

    std::vector<std::string> firstArguments() const {
        return {"--readings", "3", "--comment", "patch A", "--shown", before_.string()};
    }

    test::TempDir dir_;
    int devices_ = 0;
    std::filesystem::path before_ = dir_ / "before.txt";
};

// A crash loses nothing the operator saw: kill -9 after three readings and a
// comment, start again, answer Yes.
TEST_F(JournalSession, KilledProgramRestartedWithYesShowsTheSameHeadingsAndCells) {
    const auto device = startDevice();
    ProgramRun first(dir_, firstArguments());
    const std::string shown = measureThree(first);
    first.kill();
    expectRestoredAs(shown);
}

// A desktop logout or a plain kill must close the window the normal way, not
// die inside the event loop, and leave the unsaved rows to be offered again.
TEST_F(JournalSession, TermAndHangupCloseTheWindowAndKeepTheUnsavedRows) {
    for (const int number : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(number));
        const auto device = startDevice();
        std::filesystem::remove_all(dir_ / "state");
        std::filesystem::remove(before_);
        ProgramRun first(dir_, firstArguments());
        const std::string shown = measureThree(first);
        first.signal(number);
        ASSERT_TRUE(first.endsCleanly()) << "the signal did not end the program normally";
        expectRestoredAs(shown);
    }
}

}  // namespace
}  // namespace tarvo
