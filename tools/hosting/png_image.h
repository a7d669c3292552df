#pragma once
// An RGB picture in memory, written as a PNG file.

#include <cstdint>
#include <string>
#include <vector>

namespace vrn
{

/// 8-bit RGB pixels, rows top to bottom; colours are 0xRRGGBB.
struct Image
{
    int width = 0;                 ///< pixels, > 0
    int height = 0;                ///< pixels, > 0
    std::vector<std::uint8_t> rgb; ///< width * height * 3 bytes

    /// A picture of `width` x `height` pixels filled with `colour`.
    Image(int width, int height, std::uint32_t colour);

    /// Sets the pixel at (x, y); ignores points outside the picture.
    void Set(int x, int y, std::uint32_t colour);

    /// Fills the rectangle [x0, x1) x [y0, y1), clipped to the picture.
    void Fill(int x0, int y0, int x1, int y1, std::uint32_t colour);
};

/// The PNG file image of `image` (8-bit RGB, stored deflate blocks).
std::vector<std::uint8_t> EncodePng(const Image& image);

/// Writes `image` as a PNG file to `path`; false with `error` saying why.
[[nodiscard]] bool WritePng(const std::string& path, const Image& image, std::string& error);

} // namespace vrn
