#pragma once
// What the portable editor code holds as PlatformBitmap and PlatformFont with cairo.

#include <cairo.h>

namespace vrn
{

/// A decoded image or an offscreen bitmap: one cairo image surface, owned.
struct PlatformBitmap
{
    cairo_surface_t* surface = nullptr;
};

/// A cairo font made for one CFontDesc, owned, with the metrics the draw surface places text by.
struct PlatformFont
{
    cairo_scaled_font_t* font = nullptr;
    double ascent = 0.0;     ///< baseline below the top of a line, pixels
    double lineHeight = 0.0; ///< ascent, descent and line gap, pixels
    bool underline = false;  ///< drawn by the surface: cairo fonts carry no underline
};

} // namespace vrn
