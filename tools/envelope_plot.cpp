// Draws the level envelopes of a gate's input and of its outputs as a PNG: one panel per output,
// the input in grey and the output in colour, -100 … 0 dBFS over the file's length.
#include "tools/wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

constexpr int kWidth = 900;
constexpr int kPanelHeight = 160;
constexpr double kFloorDb = -100.0;

struct Image
{
    int width;
    int height;
    std::vector<std::uint8_t> rgb;

    void Set(int x, int y, std::uint32_t colour)
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
};

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

/// A PNG of the image; the pixel data goes into uncompressed deflate blocks.
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

/// Peak level in dBFS of both channels per column of the plot.
std::vector<double> Envelope(const vrn::WavAudio& audio, std::size_t frames)
{
    std::vector<double> db(kWidth, kFloorDb);
    for (int x = 0; x < kWidth; ++x)
    {
        const std::size_t begin = frames * static_cast<std::size_t>(x) / kWidth;
        const std::size_t end = frames * static_cast<std::size_t>(x + 1) / kWidth;
        double peak = 0.0;
        for (const auto& channel : audio.channels)
            for (std::size_t j = begin; j < end && j < channel.size(); ++j)
                peak = std::max(peak, std::fabs(channel[j]));
        db[static_cast<std::size_t>(x)] = std::max(kFloorDb, 20.0 * std::log10(peak + 1e-30));
    }
    return db;
}

void DrawCurve(Image& image, int top, const std::vector<double>& db, std::uint32_t colour)
{
    auto yOf = [top](double level)
    { return top + static_cast<int>((level / kFloorDb) * (kPanelHeight - 11)) + 5; };
    for (int x = 0; x < kWidth; ++x)
    {
        const int y = yOf(db[static_cast<std::size_t>(x)]);
        const int previous = x > 0 ? yOf(db[static_cast<std::size_t>(x - 1)]) : y;
        for (int v = std::min(y, previous); v <= std::max(y, previous); ++v)
            image.Set(x, v, colour);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
    {
        std::fprintf(stderr, "usage: envelope_plot OUT.png IN.wav OUTPUT.wav...\n");
        return 1;
    }
    std::vector<vrn::WavAudio> files(static_cast<std::size_t>(argc - 2));
    for (int i = 2; i < argc; ++i)
    {
        const vrn::WavStatus status = vrn::ReadWav(argv[i], files[static_cast<std::size_t>(i - 2)]);
        if (!status.ok)
        {
            std::fprintf(stderr, "envelope_plot: %s: %s\n", argv[i], status.message.c_str());
            return 4;
        }
    }
    const std::size_t frames = files[0].Frames();
    const std::vector<double> input = Envelope(files[0], frames);
    const int panels = argc - 3;
    Image image{kWidth, panels * kPanelHeight, {}};
    image.rgb.assign(
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3, 255);
    const std::uint32_t colours[] = {0x1f77b4, 0xd62728, 0x2ca02c, 0x9467bd, 0xff7f0e};
    for (int p = 0; p < panels; ++p)
    {
        const int top = p * kPanelHeight;
        for (int x = 0; x < kWidth; ++x)
        {
            image.Set(x, top, 0x000000); // panel border
            for (double level = -20.0; level > kFloorDb; level -= 20.0)
                image.Set(x, top + static_cast<int>((level / kFloorDb) * (kPanelHeight - 11)) + 5,
                          0xdddddd);
        }
        DrawCurve(image, top, input, 0x999999);
        DrawCurve(image, top, Envelope(files[static_cast<std::size_t>(p) + 1], frames),
                  colours[p % 5]);
    }
    const std::vector<std::uint8_t> png = EncodePng(image);
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(png.data(), 1, png.size(), out) != png.size())
    {
        std::fprintf(stderr, "envelope_plot: cannot write %s\n", argv[1]);
        if (out)
            std::fclose(out);
        return 4;
    }
    std::fclose(out);
    return 0;
}
