#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

namespace tarvo::test {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
};

inline void putU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void putU16(Bytes& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// A whole 24-bit bottom-up BMP file; colour(x, y) counts y from the top.
inline Bytes bmpFile(int width, int height, const std::function<Rgb(int, int)>& colour) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const std::size_t pixels = stride * static_cast<std::size_t>(height);
    Bytes file(54 + pixels, 0);
    file[0] = 'B';
    file[1] = 'M';
    putU32(file, 2, static_cast<std::uint32_t>(file.size()));
    putU32(file, 10, 54);
    putU32(file, 14, 40);
    putU32(file, 18, static_cast<std::uint32_t>(width));
    putU32(file, 22, static_cast<std::uint32_t>(height));
    putU16(file, 26, 1);
    putU16(file, 28, 24);
    putU32(file, 34, static_cast<std::uint32_t>(pixels));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = colour(x, height - 1 - y);
            const std::size_t at =
                54 + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3;
            file[at] = c.blue;
            file[at + 1] = c.green;
            file[at + 2] = c.red;
        }
    }
    return file;
}

inline Bytes bmpFile(int width, int height, Rgb colour = {255, 0, 0}) {
    return bmpFile(width, height, [colour](int, int) { return colour; });
}

inline void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

}  // namespace tarvo::test
