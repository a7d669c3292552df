#pragma once
// The graphics bridge: free functions that take the host wrapper as first argument, fetch the
// draw context of the paint in progress and make one call on it. Each answers 1 when the call
// was made and 0 without a host, a context (outside a paint) or an image. UI thread only.

#include "editor/view_types.h"

#include <cstdint>
#include <string>

namespace vrn
{

class IGraphicsHost;
class IHostServices;
class ImageHolder;

/// Editor size in pixels from the host's editor (no context needed); 0 without an editor.
int gfxViewSize(IHostServices* host, std::int32_t& width, std::int32_t& height);

/// Draw mode: 3 anti-aliased, anything else plain copy.
int gfxSetDrawMode(IGraphicsHost* host, std::int32_t mode);
/// Text colour, bytes.
int gfxSetFontColor(IGraphicsHost* host, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                    std::uint8_t alpha);
/// Fill colour, bytes.
int gfxSetFillColor(IGraphicsHost* host, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                    std::uint8_t alpha);
/// Line colour, bytes.
int gfxSetFrameColor(IGraphicsHost* host, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                     std::uint8_t alpha);
/// Width of `text` in the context's current font, pixels; 0 without a context.
double gfxTextWidth(IGraphicsHost* host, const std::string& text);
/// Size of the context's current font, pixels; 0 without a context.
double gfxFontHeight(IGraphicsHost* host);
/// Moves the context's line pen.
int gfxMoveTo(IGraphicsHost* host, double x, double y);
/// A line from the context's pen in the frame colour; the pen moves to (x, y).
int gfxLineTo(IGraphicsHost* host, double x, double y);
/// An arc of the ellipse inscribed in the rectangle, degrees; style 0 stroked, 1 filled, 2 both.
int gfxArc(IGraphicsHost* host, double left, double top, double right, double bottom,
           double startAngle, double endAngle, std::int32_t style);
/// A rectangle; style 0 stroked, 1 filled, 2 filled and stroked.
int gfxRect(IGraphicsHost* host, double left, double top, double right, double bottom,
            std::int32_t style);
/// The ellipse inscribed in the rectangle; styles as gfxRect.
int gfxEllipse(IGraphicsHost* host, double left, double top, double right, double bottom,
               std::int32_t style);
/// One line of text in the rectangle in the font colour; alignment 0 left, 1 centre, 2 right.
/// `opaque` is accepted for compatibility; the context draws no text background.
int gfxTextInRect(IGraphicsHost* host, const std::string& text, double left, double top,
                  double right, double bottom, std::int32_t opaque, std::int32_t alignment);
/// Text with its baseline at (x, y).
int gfxTextAt(IGraphicsHost* host, const std::string& text, double x, double y,
              std::int32_t antiAlias);
/// One pixel in the given colour.
int gfxPoint(IGraphicsHost* host, double x, double y, std::uint8_t red, std::uint8_t green,
             std::uint8_t blue, std::uint8_t alpha);
/// Reads a pixel's colour as the context answers it.
int gfxGetPoint(IGraphicsHost* host, double x, double y, std::uint8_t& red, std::uint8_t& green,
                std::uint8_t& blue, std::uint8_t& alpha);
/// Selects the font `face` (found in, or added to, the host's font cache) at `size` pixels with
/// style bits (1 bold, 2 italic, 4 underline).
int gfxSetFont(IGraphicsHost* host, const std::string& face, std::int32_t size, std::int32_t style);

/// Draws the holder's image 1:1 into the rectangle from the source offset; 0 without a bitmap.
int gfxImageDraw(IGraphicsHost* host, const ImageHolder* holder, double left, double top,
                 double right, double bottom, double sourceX, double sourceY);
/// The same with the opacity scaled by `alpha` / 255.
int gfxImageDrawAlpha(IGraphicsHost* host, const ImageHolder* holder, double left, double top,
                      double right, double bottom, double sourceX, double sourceY,
                      std::uint8_t alpha);
/// The same with the bitmap's transparent colour.
int gfxImageDrawTransparent(IGraphicsHost* host, const ImageHolder* holder, double left, double top,
                            double right, double bottom, double sourceX, double sourceY);
/// The bitmap's transparent colour (no context needed).
int gfxImageGetTransparentColor(const ImageHolder* holder, ViewColor& color);
int gfxImageSetTransparentColor(ImageHolder* holder, ViewColor color);
/// The bitmap's no-alpha flag (no context needed).
int gfxImageGetNoAlpha(const ImageHolder* holder, bool& noAlpha);
int gfxImageSetNoAlpha(ImageHolder* holder, bool noAlpha);

} // namespace vrn
