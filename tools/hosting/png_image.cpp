// An RGB picture in memory, written as a PNG file.
#include "tools/hosting/png_image.h"

#include "tools/command_line.h"

#include <algorithm>
#include <cstddef>

namespace vrn
{
namespace
{

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0)
{
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
    {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& png, const char* type,
              const std::vector<std::uint8_t>& data)
{
    PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    PutBigEndian(png, Crc32(typed.data(), typed.size()));
}

} // namespace

Image::Image(int w, int h, std::uint32_t colour) : width(w), height(h)
{
    rgb.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3);
    Fill(0, 0, w, h, colour);
}

void Image::Set(int x, int y, std::uint32_t colour)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    const auto at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)) *
                    3;
    rgb[at] = static_cast<std::uint8_t>(colour >> 16);
    rgb[at + 1] = static_cast<std::uint8_t>(colour >> 8);
    rgb[at + 2] = static_cast<std::uint8_t>(colour);
}

void Image::Fill(int x0, int y0, int x1, int y1, std::uint32_t colour)
{
    for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, width); ++x)
            Set(x, y, colour);
}

std::vector<std::uint8_t> EncodePng(const Image& image)
{
    std::vector<std::uint8_t> raw;
    const auto rowBytes = static_cast<std::size_t>(image.width) * 3;
    for (int y = 0; y < image.height; ++y)
    {
        raw.push_back(0); // no row filter
        const auto* row = image.rgb.data() + static_cast<std::size_t>(y) * rowBytes;
        raw.insert(raw.end(), row, row + rowBytes);
    }
    std::vector<std::uint8_t> zlib{0x78, 0x01};
    for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535)
    {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        zlib.push_back(at + n >= raw.size() ? 1 : 0);
        zlib.push_back(static_cast<std::uint8_t>(n));
        zlib.push_back(static_cast<std::uint8_t>(n >> 8));
        zlib.push_back(static_cast<std::uint8_t>(~n));
        zlib.push_back(static_cast<std::uint8_t>(~n >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                    raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        if (raw.empty())
            break;
    }
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw)
    {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(zlib, (b << 16) | a);

    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(image.width));
    PutBigEndian(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

bool WritePng(const std::string& path, const Image& image, std::string& error)
{
    const std::vector<std::uint8_t> png = EncodePng(image);
    return WriteFile(path, std::vector<unsigned char>(png.begin(), png.end()), error);
}

} // namespace vrn
