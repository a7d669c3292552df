#pragma once
// A frame window's paint buffer: the editor draws each frame into it, then one copy shows it.

#include "editor/win32/gdiplus_surface.h"

#include <windows.h>

#include <cstdint>
#include <memory>

namespace vrn
{

/// 32-bit pixels in a DIB section, drawn by GDI+ through a memory device context exactly as it
/// would draw on the window, then copied to the window with one BitBlt. The panel's opaque
/// background is copied straight into the pixels instead of being blended by GDI+, and calls
/// repeated over the same pixels are replayed from the surface's memo.
/// Made at the first paint, kept from paint to paint, remade when the window's size changes.
/// UI thread only.
class PaintBuffer
{
public:
    ~PaintBuffer();

    /// The buffer of `window` at `width` × `height` pixels (made or remade as needed); null when
    /// the system refuses the memory.
    static PaintBuffer* For(HWND window, int width, int height);
    /// Frees `window`'s buffer (when the window goes).
    static void Free(HWND window);

    GdiplusSurface& Surface() { return *surface; }
    /// Row `y` of the buffer's pixels (0x00RRGGBB each; tests).
    const std::uint32_t* Row(int y) const
    {
        return reinterpret_cast<const std::uint32_t*>(pixels +
                                                      static_cast<std::ptrdiff_t>(y) * 4 * width);
    }
    /// Copies `area` of the buffer to the same place in `target`.
    void CopyTo(HDC target, const RECT& area) const;

private:
    PaintBuffer() = default;
    bool Make(int width, int height);

    HDC memoryContext = nullptr;
    HBITMAP section = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    std::uint8_t* pixels = nullptr; ///< the section's rows, top to bottom
    int width = 0;
    int height = 0;
    std::unique_ptr<GdiplusSurface> surface;
};

} // namespace vrn
