// Reading a PNG file's pixels with GDI+ (Windows test helpers).
#include "tests/tools/png_reader.h"

#include <windows.h>

// GDI+ needs the property types of objidl.h, which WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>

#include <gdiplus.h>

#include <string>

namespace vrn
{

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
} // namespace

bool ReadPng(const char* path, int& width, int& height, std::vector<std::uint32_t>& pixels)
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    bool ok = false;
    {
        Gdiplus::Bitmap image(Wide(path).c_str());
        if (image.GetLastStatus() == Gdiplus::Ok)
        {
            width = static_cast<int>(image.GetWidth());
            height = static_cast<int>(image.GetHeight());
            pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                {
                    Gdiplus::Color colour;
                    image.GetPixel(x, y, &colour);
                    pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(x)] = colour.GetValue() & 0xFFFFFFu;
                }
            ok = true;
        }
    }
    Gdiplus::GdiplusShutdown(token);
    return ok;
}

} // namespace vrn
