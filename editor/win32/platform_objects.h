#pragma once
// What the portable editor code holds as PlatformBitmap and PlatformFont on Windows.

#include "editor/win32/gdiplus_api.h"

#include <cstdint>
#include <vector>

namespace vrn
{

/// An image: one GDI+ bitmap, owned. A decoded opaque picture (never drawn into) also keeps its
/// pixels as the paint buffer holds them (0x00RRGGBB), made once when it is loaded, so that
/// drawing it is a copy.
struct PlatformBitmap
{
    gdip::GpBitmap* bitmap = nullptr;
    /// Names a decoded picture for as long as the process runs (its pixels never change); 0 for
    /// bitmaps that are drawn into.
    std::uint64_t pictureSerial = 0;
    std::vector<std::uint32_t> opaqueRows; ///< rows top to bottom; empty unless opaque
    int width = 0;                         ///< of `opaqueRows`, pixels
    int height = 0;
};

/// A GDI+ font made for one CFontDesc, owned.
struct PlatformFont
{
    gdip::GpFont* font = nullptr;
};

} // namespace vrn
