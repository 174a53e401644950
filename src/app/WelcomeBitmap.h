#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace tarvo {

inline constexpr const char* kWelcomeBitmapName = "TRWelcome.bmp";
// The welcome window's client area; the picture is stretched or shrunk to it.
inline constexpr int kWelcomeWidth = 376;
inline constexpr int kWelcomeHeight = 200;
// A picture larger than this is not a welcome picture; refusing it keeps a
// stray huge file from stalling start-up.
inline constexpr std::uintmax_t kMaxWelcomeFileSize = 64u * 1024u * 1024u;

// The welcome picture: a Windows BMP file without its 14-byte file header,
// i.e. the info header, the colour table and the pixels, and the offset of the
// pixels in that block.
struct WelcomeBitmap {
    std::vector<std::uint8_t> block;
    std::size_t pixelOffset = 0;  // the file header's bfOffBits minus 14
    bool loaded = false;

    // biWidth and biHeight of the info header; 0 when not loaded.
    int width() const;
    int height() const;
    // The file as it was read (file header rebuilt), for a decoder that wants one.
    std::vector<std::uint8_t> fileBytes() const;
};

// Reads the whole file. A missing, short, non-"BM" or truncated file, or one
// whose header promises more pixels than it holds, gives an unloaded bitmap:
// the welcome window then stays blank and nothing is reported.
WelcomeBitmap loadWelcomeBitmap(const std::filesystem::path& file);

// Where the picture lives: beside the program.
std::filesystem::path welcomeBitmapPath(const std::filesystem::path& programFolder);

}  // namespace tarvo
