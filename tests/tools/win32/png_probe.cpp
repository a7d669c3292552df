// Test helper for the editor runs (Windows): reads a PNG with GDI+ and prints its size and the
// colour of chosen pixels.
//
//   png_probe FILE [X Y]...   prints "size: WxH", then "pixel X,Y: rrggbb" for each point
//   png_probe --compare FILE REFERENCE TOLERANCE
//                             prints "differing: N of M, largest difference D": the pixels of
//                             two pictures of one size whose colour channels differ by more
//                             than TOLERANCE (0..255) somewhere
#include <windows.h>

// GDI+ needs the property types of objidl.h, which WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

std::wstring Wide(const char* text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

int Probe(int argc, char** argv)
{
    Gdiplus::Bitmap image(Wide(argv[1]).c_str());
    if (image.GetLastStatus() != Gdiplus::Ok)
    {
        std::fprintf(stderr, "png_probe: cannot read %s\n", argv[1]);
        return 1;
    }
    std::printf("size: %ux%u\n", image.GetWidth(), image.GetHeight());
    for (int i = 2; i + 1 < argc; i += 2)
    {
        const int x = std::atoi(argv[i]);
        const int y = std::atoi(argv[i + 1]);
        Gdiplus::Color colour;
        if (image.GetPixel(x, y, &colour) != Gdiplus::Ok)
        {
            std::fprintf(stderr, "png_probe: no pixel %d,%d\n", x, y);
            return 1;
        }
        std::printf("pixel %d,%d: %02x%02x%02x\n", x, y, colour.GetR(), colour.GetG(),
                    colour.GetB());
    }
    return 0;
}

int Compare(const char* file, const char* reference, int tolerance)
{
    Gdiplus::Bitmap a(Wide(file).c_str());
    Gdiplus::Bitmap b(Wide(reference).c_str());
    if (a.GetLastStatus() != Gdiplus::Ok || b.GetLastStatus() != Gdiplus::Ok)
    {
        std::fprintf(stderr, "png_probe: cannot read %s or %s\n", file, reference);
        return 1;
    }
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
    {
        std::fprintf(stderr, "png_probe: sizes differ: %ux%u and %ux%u\n", a.GetWidth(),
                     a.GetHeight(), b.GetWidth(), b.GetHeight());
        return 1;
    }
    long differing = 0;
    int largest = 0;
    for (UINT y = 0; y < a.GetHeight(); ++y)
        for (UINT x = 0; x < a.GetWidth(); ++x)
        {
            Gdiplus::Color p;
            Gdiplus::Color q;
            a.GetPixel(static_cast<INT>(x), static_cast<INT>(y), &p);
            b.GetPixel(static_cast<INT>(x), static_cast<INT>(y), &q);
            const int difference =
                std::max({std::abs(p.GetR() - q.GetR()), std::abs(p.GetG() - q.GetG()),
                          std::abs(p.GetB() - q.GetB())});
            largest = std::max(largest, difference);
            if (difference > tolerance)
                ++differing;
        }
    std::printf("differing: %ld of %u, largest difference %d\n", differing,
                a.GetWidth() * a.GetHeight(), largest);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool compare = argc == 5 && std::string(argv[1]) == "--compare";
    if (!compare && (argc < 2 || argc % 2 != 0))
    {
        std::fprintf(stderr, "usage: png_probe FILE [X Y]... | png_probe --compare FILE "
                             "REFERENCE TOLERANCE\n");
        return 1;
    }
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return 1;
    const int code = compare ? Compare(argv[2], argv[3], std::atoi(argv[4])) : Probe(argc, argv);
    Gdiplus::GdiplusShutdown(token);
    return code;
}
