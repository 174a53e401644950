#include "JournalFakes.h"

#include <fstream>

namespace tarvo::test {

namespace {

class FillingJournalFile final : public JournalFile {
  public:
    FillingJournalFile(FillingJournalFiles& owner, std::filesystem::path path)
        : owner_(owner), path_(std::move(path)) {}

    std::string append(std::string_view bytes) override {
        ++owner_.appends;
        std::size_t fits = bytes.size();
        if (owner_.spaceLeft)
            fits = std::min(fits, *owner_.spaceLeft);
        std::ofstream(path_, std::ios::binary | std::ios::app)
            .write(bytes.data(), static_cast<std::streamsize>(fits));
        if (owner_.spaceLeft)
            *owner_.spaceLeft -= fits;
        return fits == bytes.size() ? std::string() : "No space left on device";
    }

  private:
    FillingJournalFiles& owner_;
    std::filesystem::path path_;
};

}  // namespace

std::unique_ptr<JournalFile> FillingJournalFiles::create(const std::filesystem::path& path,
                                                         std::string& reason) {
    ++creates;
    if (!refuseCreate.empty()) {
        reason = refuseCreate;
        return nullptr;
    }
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc);
    return std::make_unique<FillingJournalFile>(*this, path);
}

}  // namespace tarvo::test
