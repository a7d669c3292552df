// The frame window's paint buffer.
#include "editor/win32/paint_buffer.h"

namespace vrn
{

namespace
{
// The buffer belongs to its window and goes with it: a later window that gets the same handle
// value starts without one.
constexpr wchar_t kBufferProperty[] = L"VarneGatePaintBuffer";
} // namespace

PaintBuffer* PaintBuffer::For(HWND window, int width, int height)
{
    auto* buffer = static_cast<PaintBuffer*>(GetPropW(window, kBufferProperty));
    if (buffer && buffer->width == width && buffer->height == height)
        return buffer;
    Free(window);
    std::unique_ptr<PaintBuffer> made(new PaintBuffer);
    if (!made->Make(width, height) || !SetPropW(window, kBufferProperty, made.get()))
        return nullptr;
    return made.release();
}

void PaintBuffer::Free(HWND window)
{
    delete static_cast<PaintBuffer*>(RemovePropW(window, kBufferProperty));
}

bool PaintBuffer::Make(int pixelsWide, int pixelsHigh)
{
    if (pixelsWide <= 0 || pixelsHigh <= 0)
        return false;
    // 32-bit pixels with explicit colour masks: laid out as the window's own pixels (so the copy
    // to the window converts nothing), yet without an alpha channel as far as GDI+ is concerned
    // (a plain 32-bit section would make GDI+ render text differently than on the window).
    struct
    {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } format{};
    format.header.biSize = sizeof format.header;
    format.header.biWidth = pixelsWide;
    format.header.biHeight = -pixelsHigh; // rows top to bottom
    format.header.biPlanes = 1;
    format.header.biBitCount = 32;
    format.header.biCompression = BI_BITFIELDS;
    format.masks[0] = 0x00FF0000; // red
    format.masks[1] = 0x0000FF00; // green
    format.masks[2] = 0x000000FF; // blue
    memoryContext = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    section = memoryContext
                  ? CreateDIBSection(memoryContext, reinterpret_cast<const BITMAPINFO*>(&format),
                                     DIB_RGB_COLORS, &bits, nullptr, 0)
                  : nullptr;
    if (!section || !bits)
        return false;
    previousBitmap = SelectObject(memoryContext, section);
    pixels = static_cast<std::uint8_t*>(bits);
    width = pixelsWide;
    height = pixelsHigh;
    surface = GdiplusSurface::onDibSection(memoryContext, pixels, width, height, 4 * width);
    return surface != nullptr;
}

PaintBuffer::~PaintBuffer()
{
    // GDI+ lets go of the pixels before they are freed.
    surface.reset();
    if (memoryContext && previousBitmap)
        SelectObject(memoryContext, previousBitmap);
    if (section)
        DeleteObject(section);
    if (memoryContext)
        DeleteDC(memoryContext);
}

void PaintBuffer::CopyTo(HDC target, const RECT& area) const
{
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top,
           memoryContext, area.left, area.top, SRCCOPY);
}

} // namespace vrn
