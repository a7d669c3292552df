// Saving a window's client area, as it shows on screen, as a PNG file.
#include "tools/vsthost/win32/window_capture.h"

// GDI+ needs the property types of objidl.h, which WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vrn
{
namespace
{

// GDI+ for the lifetime of one save.
class GdiplusSession
{
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        ok = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession()
    {
        if (ok)
            Gdiplus::GdiplusShutdown(token);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool ok = false;

private:
    ULONG_PTR token = 0;
};

bool PngEncoder(CLSID& encoder)
{
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0)
        return false;
    std::vector<unsigned char> storage(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(storage.data());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i)
    {
        if (std::wstring(codecs[i].MimeType) == L"image/png")
        {
            encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

std::wstring Wide(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 1)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

// Reads the pixels from the screen where the client area shows: that is what a user sees,
// child windows of the plug-in included, whoever painted them.
bool CopyClientArea(HWND window, int width, int height, std::vector<std::uint32_t>& pixels)
{
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = memory != nullptr && bitmap != nullptr;
    if (ok)
    {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y,
                    SRCCOPY | CAPTUREBLT) != FALSE;
        GdiFlush();
        const auto* first = static_cast<const std::uint32_t*>(bits);
        pixels.assign(first, first + static_cast<std::size_t>(width) * height);
        SelectObject(memory, previous);
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    if (memory != nullptr)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

} // namespace

bool SaveWindowPng(HWND window, int width, int height, const std::string& path, std::string& error)
{
    std::vector<std::uint32_t> pixels;
    if (!CopyClientArea(window, width, height, pixels))
    {
        error = "cannot read the editor's pixels";
        return false;
    }
    GdiplusSession gdiplus;
    CLSID encoder{};
    if (!gdiplus.ok || !PngEncoder(encoder))
    {
        error = "no PNG encoder (GDI+)";
        return false;
    }
    Gdiplus::Bitmap image(width, height, width * 4, PixelFormat32bppRGB,
                          reinterpret_cast<BYTE*>(pixels.data()));
    if (image.Save(Wide(path).c_str(), &encoder, nullptr) != Gdiplus::Ok)
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace vrn
