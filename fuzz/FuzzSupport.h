#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo::fuzz {

// A broken promise is a finding: libFuzzer keeps the input that led here.
inline void require(bool holds, const char* promise) {
    if (!holds) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

// A folder for one target's files, in memory where the system has a RAM disk:
// the settings writer syncs every write, which a disk would make slow.
inline const std::filesystem::path& scratchFolder() {
    // Never destroyed: the exit handler below still needs it.
    static const auto* folder = [] {
        std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
        std::string pattern = (base / "tarvo-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        // libFuzzer ends a timed run with exit(), so the folder goes with it.
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratchFolder(), ignored);
        });
        return new std::filesystem::path(pattern);
    }();
    return *folder;
}

// The file of that name in the scratch folder, for one input at a time.
inline std::filesystem::path scratchFile(const char* name) {
    return scratchFolder() / name;
}

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    require(out != nullptr, "the scratch file can be written");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
}

inline std::string readBytes(const std::filesystem::path& path) {
    std::string bytes;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) {
        return bytes;
    }
    char chunk[4096];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
        bytes.append(chunk, n);
    }
    std::fclose(in);
    return bytes;
}

// The lines of a settings file as its reader sees them: split at LF, one CR
// before the LF dropped.
inline std::vector<std::string> iniLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string line(text.substr(0, end));
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

// A name or value that the settings format carries unchanged: letters and digits.
inline std::string plainWord(std::string_view raw, std::size_t most) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string word;
    for (char c : raw.substr(0, most)) {
        word += kAlphabet[static_cast<unsigned char>(c) % (sizeof kAlphabet - 1)];
    }
    return word.empty() ? std::string("K") : word;
}

}  // namespace tarvo::fuzz
