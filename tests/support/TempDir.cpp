#include "TempDir.h"

#include <random>
#include <string>
#include <system_error>

namespace tarvo::test {

// A random name created with create_directory, which fails on an existing one:
// the same on every system, where mkdtemp is POSIX only.
TempDir::TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("tarvo-test-" + std::to_string(random() % 1000000000000ULL));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            std::filesystem::permissions(candidate, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace, error);
            path_ = candidate;
            return;
        }
        if (error)
            throw std::system_error(error, "create_directory " + candidate.string());
    }
    throw std::system_error(std::make_error_code(std::errc::file_exists), "TempDir");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace tarvo::test
