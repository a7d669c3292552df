#pragma once
// The cairo drawing surface: one cairo context on an image surface (an offscreen bitmap, or a
// window's offscreen image that is copied to the window after painting).

#include "editor/draw_surface.h"

#include <cairo.h>

#include <memory>

namespace vrn
{

struct PlatformFont;

/// Draws with cairo into an image surface. Coordinates are those of the Windows surface, whose
/// pixel centres lie on whole numbers: shapes are moved by half a pixel so that they cover the
/// same pixels; bitmaps are copied 1:1 (or scaled when the source's size differs). Text is placed
/// as there: a layout box whose top-left corner is given, an inner margin of a sixth of the font
/// size on either side.
class CairoSurface final : public DrawSurface
{
public:
    /// Called when the surface goes, with the argument given (copies a window's image).
    using FinishHook = void (*)(void* argument);

    /// Draws into `image`, which must outlive the surface; `finish` (may be null) runs when the
    /// surface goes. Null when cairo refuses the image.
    static std::unique_ptr<CairoSurface>
    onImage(cairo_surface_t* image, FinishHook finish = nullptr, void* finishArgument = nullptr);
    ~CairoSurface() override;
    CairoSurface(const CairoSurface&) = delete;
    CairoSurface& operator=(const CairoSurface&) = delete;

    void setPenColor(ViewColor color) override;
    void setPenWidth(float width) override;
    void setPenDotted(bool dotted) override;
    void setFillColor(ViewColor color) override;
    void setFontColor(ViewColor color) override;
    void setAntiAlias(bool antiAlias) override;
    void setClip(int x, int y, int width, int height) override;

    void drawLine(int x0, int y0, int x1, int y1) override;
    void fillRect(float x, float y, float width, float height) override;
    void strokeRect(float x, float y, float width, float height) override;
    void fillEllipse(int x, int y, int width, int height) override;
    void strokeEllipse(int x, int y, int width, int height) override;
    void drawArc(float x, float y, float width, float height, float startDegrees,
                 float sweepDegrees, bool fill, bool stroke) override;
    void drawPolygon(const float* xy, int count, bool fill, bool stroke, bool closed) override;

    double stringWidth(std::string_view text, CFontDesc& font) override;
    double fontHeight(CFontDesc& font) override;
    void drawString(std::string_view text, CFontDesc& font, float x, float y,
                    bool antiAlias) override;

    void drawBitmap(PlatformBitmap& bitmap, int x, int y, int width, int height, int sourceX,
                    int sourceY, int sourceWidth, int sourceHeight, std::uint8_t alpha) override;

    /// The cairo context (tests).
    cairo_t* context() const { return cr; }

private:
    CairoSurface(cairo_t* context, FinishHook finish, void* finishArgument);
    /// Fills and/or strokes the current path with the fill colour and the pen.
    void paintPath(bool fill, bool stroke);
    /// Selects `color` as the source.
    void useColor(ViewColor color);

    cairo_t* cr;
    FinishHook finishHook;
    void* finishArgument;
    ViewColor penColor{0, 0, 0, 255};
    ViewColor fillColor{0, 0, 0, 255};
    ViewColor fontColor{0, 0, 0, 255};
    double penWidth = 1.0;
    bool penDotted = false;
};

/// The cairo font of `font`, made (and stored in it) on first use; null when cairo cannot make
/// it. Faces are found through fontconfig, which also gives metric-compatible stand-ins (for
/// "Arial" Liberation Sans where Arial is missing).
PlatformFont* CairoFontFor(CFontDesc& font);

} // namespace vrn
