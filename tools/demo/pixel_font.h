#pragma once
// A small bitmap font for labelling pictures: 5 x 7 pixel glyphs with two rows of descenders.

#include "tools/hosting/png_image.h"

#include <cstdint>
#include <string>

namespace vrn
{

constexpr int kGlyphWidth = 5;   ///< pixels of a glyph's cell at scale 1
constexpr int kGlyphHeight = 9;  ///< 7 rows above the baseline, 2 below
constexpr int kGlyphAdvance = 6; ///< pixels from one glyph to the next at scale 1

/// Width of `text` drawn at `scale` (pixels).
int TextWidth(const std::string& text, int scale = 1);

/// Draws `text` with its top-left corner at (x, y), each font pixel `scale` pixels square.
/// Letters, digits, space and - . , : % ( ) / + = _ have glyphs; others draw as blanks.
void DrawText(Image& image, int x, int y, const std::string& text, std::uint32_t colour,
              int scale = 1);

} // namespace vrn
