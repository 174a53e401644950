#include "app/WelcomeBitmap.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <system_error>

namespace tarvo {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint16_t kBmMark = 0x4D42;  // "BM" read little-endian
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

enum Compression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

std::uint32_t readU32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

std::uint16_t readU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

void writeU32(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// What the info header says about the pixels that matters for painting.
struct PixelLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative for top-down pictures
    std::uint32_t bitCount = 0;
    std::uint32_t compression = Rgb;
    std::uint32_t imageSize = 0;
};

bool readLayout(const std::vector<std::uint8_t>& block, PixelLayout& layout) {
    if (block.size() < 4) {
        return false;
    }
    const std::uint8_t* p = block.data();
    const std::uint32_t headerSize = readU32(p);
    if (headerSize == kCoreHeaderSize && block.size() >= kCoreHeaderSize) {
        layout.width = readU16(p + 4);
        layout.height = readU16(p + 6);
        layout.bitCount = readU16(p + 10);
        return true;
    }
    if (headerSize < kInfoHeaderSize || block.size() < headerSize) {
        return false;
    }
    layout.width = static_cast<std::int32_t>(readU32(p + 4));
    layout.height = static_cast<std::int32_t>(readU32(p + 8));
    layout.bitCount = readU16(p + 14);
    layout.compression = readU32(p + 16);
    layout.imageSize = readU32(p + 20);
    return true;
}

bool knownBitCount(std::uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Whether the pixels the header promises fit in room bytes. Sizes are
// compared by division: a header's width times height may not fit 64 bits.
bool promisedPixelsFit(const PixelLayout& layout, std::int64_t room) {
    if (layout.width <= 0 || layout.height == 0 || !knownBitCount(layout.bitCount)) {
        return false;
    }
    switch (layout.compression) {
        case Rgb:
        case BitFields: {
            const std::int64_t stride = (layout.width * layout.bitCount + 31) / 32 * 4;
            const std::int64_t rows = layout.height < 0 ? -layout.height : layout.height;
            return rows <= room / stride;
        }
        case Rle8:
        case Rle4:
            return layout.imageSize > 0 && std::int64_t{layout.imageSize} <= room;
        default:
            return false;  // embedded JPEG or PNG: not a picture to stretch here
    }
}

// Painting reads the pixels at the offset; it must never read past the block.
bool pixelsFit(const WelcomeBitmap& bitmap) {
    PixelLayout layout;
    if (!readLayout(bitmap.block, layout)) {
        return false;
    }
    const auto available = static_cast<std::int64_t>(bitmap.block.size());
    const auto offset = static_cast<std::int64_t>(bitmap.pixelOffset);
    return offset <= available && promisedPixelsFit(layout, available - offset);
}

bool isSizedRegularFile(const std::filesystem::path& file, std::uintmax_t& size) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    size = std::filesystem::file_size(file, error);
    return !error && size <= kMaxWelcomeFileSize;
}

}  // namespace

int WelcomeBitmap::width() const {
    PixelLayout layout;
    return loaded && readLayout(block, layout) ? static_cast<int>(layout.width) : 0;
}

int WelcomeBitmap::height() const {
    PixelLayout layout;
    return loaded && readLayout(block, layout) ? static_cast<int>(layout.height) : 0;
}

std::vector<std::uint8_t> WelcomeBitmap::fileBytes() const {
    std::vector<std::uint8_t> bytes(kFileHeaderSize + block.size());
    bytes[0] = 'B';
    bytes[1] = 'M';
    writeU32(&bytes[2], static_cast<std::uint32_t>(bytes.size()));
    writeU32(&bytes[10], static_cast<std::uint32_t>(pixelOffset + kFileHeaderSize));
    std::copy(block.begin(), block.end(), bytes.begin() + kFileHeaderSize);
    return bytes;
}

WelcomeBitmap loadWelcomeBitmap(const std::filesystem::path& file) {
    WelcomeBitmap bitmap;
    std::uintmax_t length = 0;
    if (!isSizedRegularFile(file, length)) {
        return bitmap;
    }
    std::ifstream in(file, std::ios::binary);
    std::array<std::uint8_t, kFileHeaderSize> header{};
    if (!in || !in.read(reinterpret_cast<char*>(header.data()), header.size())) {
        return bitmap;
    }
    if (readU16(header.data()) != kBmMark) {
        return bitmap;
    }
    const std::uint32_t offBits = readU32(&header[10]);
    if (offBits < kFileHeaderSize) {
        return bitmap;
    }
    bitmap.pixelOffset = offBits - kFileHeaderSize;
    bitmap.block.resize(length - kFileHeaderSize);
    in.read(reinterpret_cast<char*>(bitmap.block.data()),
            static_cast<std::streamsize>(bitmap.block.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) != bitmap.block.size()) {
        bitmap.block.clear();
        return bitmap;
    }
    bitmap.loaded = pixelsFit(bitmap);
    if (!bitmap.loaded) {
        bitmap.block.clear();
    }
    return bitmap;
}

std::filesystem::path welcomeBitmapPath(const std::filesystem::path& programFolder) {
    return programFolder / kWelcomeBitmapName;
}

}  // namespace tarvo
