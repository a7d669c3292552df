#pragma once
// The drawing seam: what a platform's drawing library does for a draw context. Coordinates
// arrive final (drawing offset applied, edges ordered); state setters are only called when the
// value changed. One implementation per platform, and a recording one for tests.

#include "editor/view_types.h"

#include <cstdint>
#include <string_view>

namespace vrn
{

class CFontDesc;
struct PlatformBitmap;

/// One drawing target: a window's device context or a bitmap.
class DrawSurface
{
public:
    virtual ~DrawSurface() = default;

    /// Stroke colour.
    virtual void setPenColor(ViewColor color) = 0;
    /// Stroke width, pixels.
    virtual void setPenWidth(float width) = 0;
    /// Stroke dash: false solid, true dotted.
    virtual void setPenDotted(bool dotted) = 0;
    /// Fill colour.
    virtual void setFillColor(ViewColor color) = 0;
    /// Text colour.
    virtual void setFontColor(ViewColor color) = 0;
    /// Anti-aliased shapes (true) or none (false).
    virtual void setAntiAlias(bool antiAlias) = 0;
    /// Clips all drawing to the rectangle (replacing the previous clip), pixels.
    virtual void setClip(int x, int y, int width, int height) = 0;

    /// A line between two pixels with the pen.
    virtual void drawLine(int x0, int y0, int x1, int y1) = 0;
    /// Fills the rectangle (x, y, width, height).
    virtual void fillRect(float x, float y, float width, float height) = 0;
    /// Strokes the rectangle's outline with the pen.
    virtual void strokeRect(float x, float y, float width, float height) = 0;
    /// Fills the ellipse inscribed in the rectangle.
    virtual void fillEllipse(int x, int y, int width, int height) = 0;
    /// Strokes the ellipse inscribed in the rectangle.
    virtual void strokeEllipse(int x, int y, int width, int height) = 0;
    /// An arc of the ellipse inscribed in the rectangle, degrees clockwise from 3 o'clock,
    /// filled and/or stroked as one path.
    virtual void drawArc(float x, float y, float width, float height, float startDegrees,
                         float sweepDegrees, bool fill, bool stroke) = 0;
    /// A polygon of `count` points (x, y pairs), filled (alternate rule) and/or stroked;
    /// `closed` strokes the closing edge too.
    virtual void drawPolygon(const float* xy, int count, bool fill, bool stroke, bool closed) = 0;

    /// Width of UTF-8 `text` in `font`, pixels.
    virtual double stringWidth(std::string_view text, CFontDesc& font) = 0;
    /// Line height of `font` at the surface's vertical resolution, pixels.
    virtual double fontHeight(CFontDesc& font) = 0;
    /// Draws UTF-8 `text` with its layout box's top-left corner at (x, y) in the font colour;
    /// `antiAlias` selects grid-fitted ClearType text, else the system default.
    virtual void drawString(std::string_view text, CFontDesc& font, float x, float y,
                            bool antiAlias) = 0;

    /// Draws the `sourceWidth` × `sourceHeight` pixels at (sourceX, sourceY) of `bitmap` into
    /// the `width` × `height` pixels at (x, y) (a copy when the sizes are equal, else scaled),
    /// with the opacity scaled by `alpha` / 255 when `alpha` is below 255.
    virtual void drawBitmap(PlatformBitmap& bitmap, int x, int y, int width, int height,
                            int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                            std::uint8_t alpha) = 0;
};

} // namespace vrn
