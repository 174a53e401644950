#include "files/posix/PosixFileCreator.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/Cp1252.h"
#include "base/posix/WriteAll.h"

namespace tarvo {

namespace {

class PosixOutputFile final : public OutputFile {
  public:
    PosixOutputFile(int fd, bool regular) : fd_(fd), regular_(regular) {}
    ~PosixOutputFile() override { close(); }

    bool write(std::string_view bytes) override { return writeAll(fd_, bytes) == 0; }

    // A full disk may show only when the data is flushed, so a file counts as
    // written only once fsync and close agree.
    bool close() override {
        if (fd_ < 0) {
            return true;
        }
        const bool synced = !regular_ || ::fsync(fd_) == 0 || errno == EINVAL;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return synced && closed;
    }

  private:
    int fd_;
    bool regular_;
};

}  // namespace

std::unique_ptr<OutputFile> PosixFileCreator::create(const std::string& path) {
    // Not O_TRUNC: the file is emptied only once it is known to be ours. Not
    // blocking: a named pipe without a reader is refused instead of hanging
    // the window.
    // The program names files in CP1252; the file system here spells them in UTF-8.
    const std::string onDisk = cp1252::fromCp1252(path);
    const int fd =
        ::open(onDisk.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    const bool regular = known && S_ISREG(info.st_mode);
    const bool ours = known && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    // Blocking again once open, so a slow reader of a pipe gets every byte.
    const int flags = ::fcntl(fd, F_GETFL);
    if (!ours || (regular && ::ftruncate(fd, 0) != 0) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<PosixOutputFile>(fd, regular);
}

}  // namespace tarvo
