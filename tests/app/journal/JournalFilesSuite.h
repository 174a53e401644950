#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "TempDir.h"
#include "app/journal/JournalFile.h"

namespace tarvo::test {

// One platform's journal files, or the fake, by name.
struct JournalFilesKind {
    const char* name;
    std::function<std::unique_ptr<JournalFiles>()> make;
    bool lockFiles = true;  // holds a name with a lock file beside the journal
    friend void PrintTo(const JournalFilesKind& kind, std::ostream* out) { *out << kind.name; }
};

// What the journal needs of a platform's files, checked on a scratch folder:
// each platform instantiates it for its own, and the tests' fake is checked
// against it too, so the journal's tests stand for the real thing.
class JournalFilesSuite : public ::testing::TestWithParam<JournalFilesKind> {
  protected:
    std::string readBack(const std::filesystem::path& path);

    std::unique_ptr<JournalFiles> files = GetParam().make();
    TempDir dir;
    std::filesystem::path path = dir / "state" / "tarvo" / "journal";
};

template <typename Files>
JournalFilesKind journalFilesOf(const char* name, bool lockFiles = true) {
    return {name, [] { return std::make_unique<Files>(); }, lockFiles};
}

}  // namespace tarvo::test
