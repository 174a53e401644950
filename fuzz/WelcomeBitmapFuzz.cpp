// The welcome picture over any file: a loaded picture always holds the
// pixels its header promises, so painting never reads past the block.
#include "FuzzSupport.h"
#include "app/WelcomeBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo::fuzz;
    const auto path = scratchFile("TRWelcome.bmp");
    writeBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
    const tarvo::WelcomeBitmap bitmap = tarvo::loadWelcomeBitmap(path);
    if (!bitmap.loaded) {
        require(bitmap.block.empty(), "a refused picture keeps nothing");
        require(bitmap.width() == 0 && bitmap.height() == 0, "a refused picture has no size");
        return 0;
    }
    require(bitmap.block.size() + 14 == size, "the whole file is read");
    require(bitmap.pixelOffset <= bitmap.block.size(), "the pixels start inside the block");
    require(bitmap.width() > 0 && bitmap.height() != 0, "a loaded picture has a size");
    const auto bytes = bitmap.fileBytes();
    require(bytes.size() == size && bytes[0] == 'B' && bytes[1] == 'M',
            "the file header is rebuilt whole");
    require(std::equal(bytes.begin() + 14, bytes.end(), data + 14), "the block is the file's");
    return 0;
}
