#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>

#include "base/posix/WriteAll.h"
#include "base/posix/XdgFolder.h"
#include "files/IniFile.h"
#include "files/WholeFile.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkDepth = 40;

// The file a chain of symbolic links ends in, existing or not.
fs::path linkTarget(fs::path path) {
    std::error_code error;
    for (int depth = 0; depth < kMaxLinkDepth && fs::is_symlink(path, error); ++depth) {
        fs::path next = fs::read_symlink(path, error);
        if (error)
            break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

bool finish(int fd, bool ok) {
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// Not atomic, but the only way where the folder takes no new files; the old
// bytes are overwritten first and the rest cut off only once all is written.
bool rewriteInPlace(const fs::path& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    const bool ok =
        writeAll(fd, text) == 0 && ::ftruncate(fd, static_cast<off_t>(text.size())) == 0;
    return finish(fd, ok);
}

// A temporary file created as an ordinary new file would be, so a new
// settings file gets the user's usual permissions.
int createTemporary(const fs::path& path, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path.string() + "." + std::to_string(::getpid()) + "." + std::to_string(attempt);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Gives the temporary file the old file's mode and owner; false when the
// owner cannot be kept, as an ordinary user cannot give a file away.
bool takeOver(int fd, const std::optional<struct stat>& old) {
    if (!old)
        return true;
    if ((old->st_uid != ::geteuid() || old->st_gid != ::getegid()) &&
        ::fchown(fd, old->st_uid, old->st_gid) != 0)
        return false;
    return ::fchmod(fd, old->st_mode & 07777) == 0;
}

// Returns nothing when the file could not even be tried in this way.
std::optional<bool> replaceByRename(const fs::path& path, const std::string& text,
                                    const std::optional<struct stat>& old) {
    std::string temp;
    const int fd = createTemporary(path, temp);
    if (fd < 0)
        return std::nullopt;
    if (!takeOver(fd, old)) {
        ::close(fd);
        ::unlink(temp.c_str());
        return std::nullopt;
    }
    const bool ok =
        finish(fd, writeAll(fd, text) == 0) && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

bool folderTakesNewFiles(const fs::path& folder) {
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

bool replaceWholeFile(const fs::path& path, const std::string& text) {
    const fs::path target = linkTarget(path);
    std::error_code error;
    if (!target.parent_path().empty())
        fs::create_directories(target.parent_path(), error);
    struct stat info {};
    std::optional<struct stat> old;
    if (::stat(target.c_str(), &info) == 0)
        old = info;
    // The owner's write bit is the read-only mark; an administrator, whom
    // access() lets write anything, must respect it too.
    if (old && ((old->st_mode & S_IWUSR) == 0 || ::access(target.c_str(), W_OK) != 0))
        return false;
    if (old && !S_ISREG(old->st_mode))
        return false;
    if (old && old->st_nlink > 1)
        return rewriteInPlace(target, text);  // the file's other names must see the change
    if (folderTakesNewFiles(target.parent_path())) {
        if (auto replaced = replaceByRename(target, text, old))
            return *replaced;
    }
    return old && rewriteInPlace(target, text);
}

std::filesystem::path settingsFilePath() {
    return xdgFolder("XDG_CONFIG_HOME", ".config") / "tarvo" / "Tarvo.ini";
}

}  // namespace tarvo
