// Test helper for the editor runs: reads PNG files and prints their size, the colour of chosen
// pixels, or how far two pictures differ.
//
//   png_probe FILE [X Y]...   prints "size: WxH", then "pixel X,Y: rrggbb" for each point
//   png_probe --compare FILE REFERENCE TOLERANCE [X0 Y0 X1 Y1]...
//                             prints "differing: N of M, largest difference D": of the M pixels
//                             of two pictures of one size outside the rectangles [X0, X1) x
//                             [Y0, Y1), the N whose colour channels differ by more than
//                             TOLERANCE (0..255) somewhere
#include "tests/tools/png_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

bool Read(const char* path, Picture& picture)
{
    if (vrn::ReadPng(path, picture.width, picture.height, picture.pixels))
        return true;
    std::fprintf(stderr, "png_probe: cannot read %s\n", path);
    return false;
}

int Channel(std::uint32_t colour, int shift)
{
    return static_cast<int>((colour >> shift) & 0xFFu);
}

int Probe(int argc, char** argv)
{
    Picture image;
    if (!Read(argv[1], image))
        return 1;
    std::printf("size: %dx%d\n", image.width, image.height);
    for (int i = 2; i + 1 < argc; i += 2)
    {
        const int x = std::atoi(argv[i]);
        const int y = std::atoi(argv[i + 1]);
        if (x < 0 || y < 0 || x >= image.width || y >= image.height)
        {
            std::fprintf(stderr, "png_probe: no pixel %d,%d\n", x, y);
            return 1;
        }
        std::printf("pixel %d,%d: %06x\n", x, y, image.At(x, y));
    }
    return 0;
}

int Compare(int argc, char** argv)
{
    Picture a;
    Picture b;
    if (!Read(argv[2], a) || !Read(argv[3], b))
        return 1;
    if (a.width != b.width || a.height != b.height)
    {
        std::fprintf(stderr, "png_probe: sizes differ: %dx%d and %dx%d\n", a.width, a.height,
                     b.width, b.height);
        return 1;
    }
    const int tolerance = std::atoi(argv[4]);
    auto ignored = [&](int x, int y)
    {
        for (int i = 5; i + 3 < argc; i += 4)
            if (x >= std::atoi(argv[i]) && y >= std::atoi(argv[i + 1]) &&
                x < std::atoi(argv[i + 2]) && y < std::atoi(argv[i + 3]))
                return true;
        return false;
    };
    long compared = 0;
    long differing = 0;
    int largest = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
        {
            if (ignored(x, y))
                continue;
            ++compared;
            const std::uint32_t p = a.At(x, y);
            const std::uint32_t q = b.At(x, y);
            int difference = 0;
            for (int shift : {0, 8, 16})
                difference = std::max(difference, std::abs(Channel(p, shift) - Channel(q, shift)));
            largest = std::max(largest, difference);
            if (difference > tolerance)
                ++differing;
        }
    std::printf("differing: %ld of %ld, largest difference %d\n", differing, compared, largest);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool compare = argc >= 5 && (argc - 5) % 4 == 0 && std::string(argv[1]) == "--compare";
    if (!compare && (argc < 2 || argc % 2 != 0))
    {
        std::fprintf(stderr, "usage: png_probe FILE [X Y]... | png_probe --compare FILE "
                             "REFERENCE TOLERANCE [X0 Y0 X1 Y1]...\n");
        return 1;
    }
    return compare ? Compare(argc, argv) : Probe(argc, argv);
}
