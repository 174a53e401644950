#include "excel/calc/OwnedFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

namespace tarvo::calc {

namespace {

constexpr const char* kRecordName = "owner";

// The start time is field 22 of /proc/<pid>/stat, counted after the command
// name, which is in parentheses and may itself hold spaces and parentheses.
std::optional<unsigned long long> startTimeOf(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string line((std::istreambuf_iterator<char>(file)), {});
    const auto nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(line.substr(nameEnd + 1));
    std::string field;
    for (int number = 3; number < 22 && fields >> field; ++number) {
    }
    unsigned long long startTime = 0;
    if (!(fields >> startTime)) {
        return std::nullopt;
    }
    return startTime;
}

// Written under another name and renamed, so a reader sees all of it or none.
void writeRecord(const std::filesystem::path& folder, const ProcessStamp& owner) {
    const auto partial = folder / (std::string(kRecordName) + ".new");
    {
        std::ofstream out(partial);
        out << owner.pid << ' ' << owner.startTime << '\n';
        if (!out.flush()) {
            throw std::system_error(errno, std::generic_category(), "owner record");
        }
    }
    std::filesystem::rename(partial, folder / kRecordName);
}

std::optional<ProcessStamp> readRecord(const std::filesystem::path& folder) {
    std::ifstream in(folder / kRecordName);
    ProcessStamp owner;
    if (!(in >> owner.pid >> owner.startTime) || owner.pid <= 0) {
        return std::nullopt;
    }
    return owner;
}

bool ownedByThisUser(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid();
}

bool abandoned(const std::filesystem::path& folder) {
    const auto owner = readRecord(folder);
    return owner && ProcessStamp::of(owner->pid) != owner;
}

}  // namespace

ProcessStamp ProcessStamp::self() {
    return of(::getpid()).value_or(ProcessStamp{::getpid(), 0});
}

std::optional<ProcessStamp> ProcessStamp::of(pid_t pid) {
    const auto startTime = startTimeOf(pid);
    if (!startTime) {
        return std::nullopt;
    }
    return ProcessStamp{pid, *startTime};
}

OwnedFolder::OwnedFolder(const std::filesystem::path& parent, std::string_view prefix,
                         ProcessStamp owner) {
    std::string pattern = (parent / (std::string(prefix) + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "private folder");
    }
    path_ = pattern;
    try {
        writeRecord(path_, owner);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        throw;
    }
}

OwnedFolder::~OwnedFolder() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

void OwnedFolder::handOver(const ProcessStamp& owner) {
    try {
        writeRecord(path_, owner);
    } catch (...) {
        // Without a record the folder is never taken for abandoned.
        std::error_code ignored;
        std::filesystem::remove(path_ / kRecordName, ignored);
    }
    path_.clear();
}

std::vector<std::string> OwnedFolder::removeAbandoned(const std::filesystem::path& parent,
                                                      std::string_view prefix) {
    std::vector<std::string> removed;
    // Without a record of its own (no /proc) a live owner could not be told
    // from a dead one.
    if (!ProcessStamp::of(::getpid())) {
        return removed;
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(parent, error)) {
        std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || !ownedByThisUser(entry.path()) ||
            !abandoned(entry.path())) {
            continue;
        }
        std::error_code failed;
        std::filesystem::remove_all(entry.path(), failed);
        if (!failed) {
            removed.push_back(std::move(name));
        }
    }
    return removed;
}

}  // namespace tarvo::calc
