// What one journal record costs through WriteFile and FlushFileBuffers: the
// figure the Linux benchmark gives for write and fdatasync (scripts/test-windows
// runs this under wine, where the flush is wine's, not a Windows disk's).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/journal/JournalRecord.h"
#include "app/journal/win32/Win32JournalFiles.h"
#include "base/win32/AnsiPath.h"

int main(int argc, char** argv) {
    using namespace tarvo;
    using Millis = std::chrono::duration<double, std::milli>;
    const std::filesystem::path path =
        argc > 1 ? std::filesystem::path(argv[1]) : journalFilePath().parent_path() / "timing";
    Win32JournalFiles files;
    std::string reason;
    auto file = files.create(path, reason);
    if (!file) {
        std::printf("%s: %s\n", path.string().c_str(), reason.c_str());
        return 1;
    }
    constexpr int records = 500;
    std::vector<double> times;
    for (int number = 1; number <= records; ++number) {
        const std::string line = encodeRecord(
            {"add", {"", std::to_string(number), "C", "1.50", "0.20", "0.30", "1.00", "0.45"}});
        const auto before = std::chrono::steady_clock::now();
        reason = file->append(line);
        times.push_back(Millis(std::chrono::steady_clock::now() - before).count());
        if (!reason.empty()) {
            std::printf("record %d: %s\n", number, reason.c_str());
            return 1;
        }
    }
    file.reset();
    ::DeleteFileA(ansiName(path).c_str());
    std::sort(times.begin(), times.end());
    std::printf("%d records with FlushFileBuffers: p50 %.3f ms, p99 %.3f ms, max %.3f ms\n",
                records, times[records / 2], times[records * 99 / 100], times.back());
    return 0;
}
