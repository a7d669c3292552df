#pragma once
// What the portable editor code holds as PlatformBitmap and PlatformFont on Windows.

#include "editor/win32/gdiplus_api.h"

namespace vrn
{

/// A decoded image: one GDI+ bitmap, owned.
struct PlatformBitmap
{
    gdip::GpBitmap* bitmap = nullptr;
};

/// A GDI+ font made for one CFontDesc, owned.
struct PlatformFont
{
    gdip::GpFont* font = nullptr;
};

} // namespace vrn
