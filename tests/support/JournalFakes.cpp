#include "JournalFakes.h"

#include <fstream>
#include <iterator>
#include <system_error>

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

class FakeJournalClaim final : public JournalClaim {
  public:
    FakeJournalClaim(FillingJournalFiles& owner, std::filesystem::path path)
        : owner_(owner), path_(std::move(path)) {}
    ~FakeJournalClaim() override { owner_.claimed.erase(path_); }
    FakeJournalClaim(const FakeJournalClaim&) = delete;
    FakeJournalClaim& operator=(const FakeJournalClaim&) = delete;

  private:
    FillingJournalFiles& owner_;
    std::filesystem::path path_;
};

}  // namespace

std::unique_ptr<JournalClaim> FillingJournalFiles::claim(const std::filesystem::path& path) {
    claimsAsked.push_back(path);
    if (!claimed.insert(path).second)
        return nullptr;
    return std::make_unique<FakeJournalClaim>(*this, path);
}

bool FillingJournalFiles::inUse(const std::filesystem::path& path) {
    std::error_code error;
    return claimed.contains(path) || std::filesystem::exists(path, error);
}

std::unique_ptr<JournalFile> FillingJournalFiles::create(const std::filesystem::path& path,
                                                         std::string& reason) {
    ++creates;
    if (!refuseCreate.empty()) {
        reason = refuseCreate;
        return nullptr;
    }
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (!error && !std::ofstream(path, std::ios::binary | std::ios::trunc))
        error = std::make_error_code(std::errc::permission_denied);
    if (error) {
        reason = error.message();
        return nullptr;
    }
    return std::make_unique<FillingJournalFile>(*this, path);
}

JournalText FillingJournalFiles::read(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error)
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in || !std::filesystem::is_regular_file(path, error))
        return {JournalText::State::Unreadable, {}};
    return {JournalText::State::Read,
            {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}};
}

Renamed FillingJournalFiles::rename(const std::filesystem::path& from,
                                    const std::filesystem::path& to, std::string& reason) {
    std::error_code error;
    if (std::filesystem::exists(to, error))
        return Renamed::NameTaken;
    if (!error)
        std::filesystem::rename(from, to, error);
    if (!error)
        return Renamed::Done;
    reason = error.message();
    return Renamed::Failed;
}

}  // namespace tarvo::test
