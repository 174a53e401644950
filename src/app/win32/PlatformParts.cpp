#include "app/win32/PlatformParts.h"

#include <windows.h>

#include <fstream>

#include "excel/com/ComAutomation.h"

namespace tarvo::win32 {

namespace {

// Stand-ins until the Win32 serial, file and COM layers are built.
class StreamFile final : public OutputFile {
  public:
    explicit StreamFile(const std::string& path) : stream_(path, std::ios::binary) {}
    bool isOpen() const { return stream_.is_open(); }
    bool write(std::string_view bytes) override {
        stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(stream_);
    }
    bool close() override {
        stream_.close();
        return !stream_.fail();
    }

  private:
    std::ofstream stream_;
};

class StreamFiles final : public FileCreator {
  public:
    std::unique_ptr<OutputFile> create(const std::string& path) override {
        auto file = std::make_unique<StreamFile>(path);
        if (!file->isOpen()) {
            return nullptr;
        }
        return file;
    }
};

}  // namespace

MainWiringParts platformParts(IniFile&, MessageBoxes& messages) {
    MainWiringParts parts;
    parts.device = std::make_unique<DeviceLink>(
        [](int, std::string&) { return std::unique_ptr<SerialPort>(); },
        [](std::chrono::milliseconds pause) { Sleep(static_cast<DWORD>(pause.count())); });
    parts.files = std::make_unique<StreamFiles>();
    parts.spreadsheetServer = makeComAutomation(messages);
    return parts;
}

}  // namespace tarvo::win32
