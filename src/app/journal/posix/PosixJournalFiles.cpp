#include "app/journal/posix/PosixJournalFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/posix/WriteAll.h"
#include "base/posix/XdgFolder.h"

namespace tarvo {

namespace {

std::string errorText(int error) {
    return std::strerror(error);
}

class PosixJournalFile final : public JournalFile {
  public:
    explicit PosixJournalFile(int fd) : fd_(fd) {}
    ~PosixJournalFile() override { ::close(fd_); }
    PosixJournalFile(const PosixJournalFile&) = delete;
    PosixJournalFile& operator=(const PosixJournalFile&) = delete;

    std::string append(std::string_view bytes) override {
        if (const int error = writeAll(fd_, bytes))
            return errorText(error);
        // The data, not the file's times: enough to read it back after a power cut.
        while (::fdatasync(fd_) != 0) {
            if (errno != EINTR)
                return errorText(errno);
        }
        return {};
    }

  private:
    int fd_;
};

// Reads to the end; false with errno set when a read fails.
bool readAll(int fd, std::string& bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

// Where the file system cannot refuse to replace, the name is checked first.
Renamed renameUnlessTaken(const char* from, const char* to) {
    if (::access(to, F_OK) == 0)
        return Renamed::NameTaken;
    return ::rename(from, to) == 0 ? Renamed::Done : Renamed::Failed;
}

bool makeFolders(const std::filesystem::path& folder, std::string& reason) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        reason = error.message();
        return false;
    }
    return true;
}

// The lock sits in a file of its own beside the journal, which is renamed
// and started afresh under it. flock goes with the last descriptor, so with
// a session that dies however it dies. The holder removes the file before it
// lets go (see lockedFile).
class PosixJournalClaim final : public JournalClaim {
  public:
    PosixJournalClaim(int fd, std::filesystem::path lock) : fd_(fd), lock_(std::move(lock)) {}
    ~PosixJournalClaim() override {
        if (fd_ < 0)
            return;
        ::unlink(lock_.c_str());
        ::close(fd_);
    }
    PosixJournalClaim(const PosixJournalClaim&) = delete;
    PosixJournalClaim& operator=(const PosixJournalClaim&) = delete;

  private:
    int fd_;
    std::filesystem::path lock_;
};

bool sameFile(int fd, const char* path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path, &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

enum class Lock { Held, Taken, Impossible };

// A session that opened the lock file just before its holder removed it and
// let go would lock a file no longer in the folder, beside a new one another
// session locks: a lock counts only on the file that still bears the name.
Lock lockedFile(const std::filesystem::path& lock, int& fd) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return Lock::Impossible;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            return error == EWOULDBLOCK ? Lock::Taken : Lock::Impossible;
        }
        if (sameFile(fd, lock.c_str()))
            return Lock::Held;
        ::close(fd);
    }
    return Lock::Taken;
}

}  // namespace

std::filesystem::path journalFilePath() {
    return xdgFolder("XDG_STATE_HOME", std::filesystem::path(".local") / "state") / "tarvo" /
           "journal";
}

std::unique_ptr<JournalFile> PosixJournalFiles::create(const std::filesystem::path& path,
                                                       std::string& reason) {
    if (!makeFolders(path.parent_path(), reason))
        return nullptr;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
        reason = errorText(errno);
        return nullptr;
    }
    return std::make_unique<PosixJournalFile>(fd);
}

JournalText PosixJournalFiles::read(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {errno == ENOENT ? JournalText::State::Missing : JournalText::State::Unreadable, {}};
    JournalText text{JournalText::State::Read, {}};
    if (!readAll(fd, text.bytes))
        text = {JournalText::State::Unreadable, {}};
    ::close(fd);
    return text;
}

Renamed PosixJournalFiles::rename(const std::filesystem::path& from,
                                  const std::filesystem::path& to, std::string& reason) {
    Renamed renamed = Renamed::Done;
    // The system refuses a taken name in the same step as it renames, so an
    // older journal kept aside is never replaced.
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
        renamed = errno == EEXIST ? Renamed::NameTaken : Renamed::Failed;
        if (errno == EINVAL || errno == ENOSYS)
            renamed = renameUnlessTaken(from.c_str(), to.c_str());
    }
    if (renamed == Renamed::Failed)
        reason = errorText(errno);
    return renamed;
}

std::unique_ptr<JournalClaim> PosixJournalFiles::claim(const std::filesystem::path& path) {
    std::string ignored;
    makeFolders(path.parent_path(), ignored);
    std::filesystem::path lock = journalLockName(path);
    int fd = -1;
    switch (lockedFile(lock, fd)) {
        case Lock::Held:
            return std::make_unique<PosixJournalClaim>(fd, std::move(lock));
        case Lock::Taken:
            return nullptr;
        case Lock::Impossible:
            break;
    }
    return std::make_unique<PosixJournalClaim>(-1, std::filesystem::path());
}

bool PosixJournalFiles::inUse(const std::filesystem::path& path) {
    return ::access(path.c_str(), F_OK) == 0 || ::access(journalLockName(path).c_str(), F_OK) == 0;
}

}  // namespace tarvo
