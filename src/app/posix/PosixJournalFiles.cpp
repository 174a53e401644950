#include "app/posix/PosixJournalFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

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
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0)
                return errorText(errno);
            if (written == 0)
                return errorText(ENOSPC);
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
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

bool makeFolders(const std::filesystem::path& folder, std::string& reason) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        reason = error.message();
        return false;
    }
    return true;
}

}  // namespace

std::filesystem::path journalFilePath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::filesystem::path folder;
    if (state != nullptr && *state == '/') {
        folder = state;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::filesystem::path(home != nullptr ? home : ".") / ".local" / "state";
    }
    return folder / "tarvo" / "journal";
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

}  // namespace tarvo
