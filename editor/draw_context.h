#pragma once
// A drawing context: colours, pen, font, clip and drawing offset over one drawing surface.

#include "editor/base_object.h"
#include "editor/view_types.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace vrn
{

class CFontDesc;
class CFrame;
class DrawSurface;
struct PlatformBitmap;

/// Line style of strokes.
enum CLineStyle : std::int32_t
{
    kLineSolid = 0,
    kLineOnOffDash = 1, ///< dotted
};

/// Draw mode: plain copy or anti-aliased shapes.
enum CDrawMode : std::int32_t
{
    kCopyMode = 0,
    kAntiAliasMode = 3,
};

/// Drawing style of closed shapes.
enum CDrawStyle : std::int32_t
{
    kDrawStroked = 0,
    kDrawFilled = 1,
    kDrawFilledAndStroked = 2,
};

/// Horizontal text alignment in a rectangle.
enum CHoriTxtAlign : std::int32_t
{
    kLeftText = 0,
    kCenterText = 1,
    kRightText = 2,
};

/// Draws through a DrawSurface. Every coordinate is moved by the drawing offset. The state
/// setters skip the surface call when the value is unchanged, because the drawing runtime sets
/// them before every primitive. Without a surface every state change is kept and nothing is
/// drawn.
///
/// Callers work in the frame's pixels; the surface gets window pixels: on a high-density
/// screen every coordinate, size, pen width, clip and font size is multiplied by the scale on
/// its way to the surface (here and nowhere else), and text measures come back divided by it.
/// At scale 1 the surface gets exactly the caller's values.
class CDrawContext : public CBaseObject
{
public:
    /// A context for a window or device context (native handles, either may be null).
    /// `frameBounds` is the frame's rectangle, the default clip (ignored without a frame). The
    /// scale is the frame's (1 without a frame).
    CDrawContext(CFrame* frame, const ViewRect& frameBounds, void* deviceContext, void* window);
    /// A context over a given surface (offscreen bitmaps, tests); null draws nothing.
    CDrawContext(CFrame* frame, const ViewRect& frameBounds, std::unique_ptr<DrawSurface> target);
    /// A context over a surface kept by someone else (a window's paint buffer), which must
    /// outlive the context.
    CDrawContext(CFrame* frame, const ViewRect& frameBounds, DrawSurface& borrowed);
    ~CDrawContext() override;

    // --- state
    void setFrameColor(ViewColor color);
    ViewColor getFrameColor() const { return frameColor; }
    void setFillColor(ViewColor color);
    ViewColor getFillColor() const { return fillColor; }
    /// Always reaches the surface (text colour changes are rare).
    void setFontColor(ViewColor color);
    ViewColor getFontColor() const { return fontColor; }
    /// Pen width, pixels.
    void setLineWidth(double width);
    double getLineWidth() const { return lineWidth; }
    void setLineStyle(CLineStyle style);
    CLineStyle getLineStyle() const { return lineStyle; }
    void setDrawMode(CDrawMode mode);
    CDrawMode getDrawMode() const { return drawMode; }
    /// Clip in this context's coordinates (the drawing offset is added).
    void setClipRect(const ViewRect& clip);
    /// The clip in this context's coordinates (the drawing offset taken off again).
    ViewRect getClipRect() const;
    /// Clip back to the frame's rectangle, or (0, 0, 1000, 1000) without a frame.
    void resetClipRect();
    void setDrawingOffset(ViewPoint offset) { drawingOffset = offset; }
    ViewPoint getDrawingOffset() const { return drawingOffset; }
    /// Selects a font. With `size` ≤ 0 or equal to the font's and `style` −1 or equal to the
    /// font's, `font` itself is used; otherwise a new description with its name and the given
    /// size (font's when ≤ 0) and style (font's when −1).
    void setFont(CFontDesc* font, double size = 0, std::int32_t style = -1);
    CFontDesc* getFont() const { return font; }

    // --- lines and shapes
    void moveTo(ViewPoint point);
    void lineTo(ViewPoint point);
    ViewPoint getPenPosition() const
    {
        return penPosition.offset(-drawingOffset.h, -drawingOffset.v);
    }
    /// For each pair: move to the first point, line to the second.
    void drawLines(const ViewPoint* pairs, int pairCount);
    void drawPolygon(const ViewPoint* points, int count, CDrawStyle style = kDrawStroked,
                     bool closed = true);
    /// A stroked rectangle covers one pixel less to the right and bottom than a filled one.
    void drawRect(const ViewRect& rect, CDrawStyle style = kDrawStroked);
    void fillRect(const ViewRect& rect);
    void drawEllipse(const ViewRect& rect, CDrawStyle style = kDrawStroked);
    /// Degrees clockwise from 3 o'clock; the sweep runs from start to end, past 360 if needed.
    void drawArc(const ViewRect& rect, double startAngle, double endAngle,
                 CDrawStyle style = kDrawStroked);
    /// One pixel in `color`; colour and line width are restored afterwards.
    void drawPoint(ViewPoint point, ViewColor color);
    /// Always opaque black: the surface is not read back.
    ViewColor getPoint(ViewPoint point) const;

    // --- text
    /// Width of UTF-8 `text` in the current font; −1 without text, font or surface.
    double getStringWidth(const char* text);
    /// Draws `text` with its baseline at `point`.
    void drawStringAt(const char* text, ViewPoint point, bool antiAlias = true);
    /// Draws `text` centred vertically in `rect` with the alignment, clipped to `rect`.
    void drawString(const char* text, const ViewRect& rect, CHoriTxtAlign align = kCenterText,
                    bool antiAlias = true);

    // --- bitmaps
    /// Draws the `rect`-sized area at `source` of `image` into `rect`, scaled by `alpha` / 255.
    /// `rect` and `source` are in this context's pixels; `density` is the image's pixels per
    /// such pixel (1 for a picture drawn at its size, 2 for its double-size variant): an image
    /// whose density is the context's scale is copied 1:1, any other is scaled.
    void drawBitmap(PlatformBitmap& image, double density, const ViewRect& rect, ViewPoint source,
                    std::uint8_t alpha);

    // --- scale
    /// Window pixels per pixel of this context (1 … 3).
    double getScale() const { return scale; }
    /// Draws at `newScale` window pixels per pixel from now on (contexts over surfaces of their
    /// own: offscreen bitmaps, tests); the surface's clip and pen follow.
    void setScale(double newScale);

    // --- misc
    /// Pointer position in this context's coordinates.
    ViewPoint getMousePosition() const;
    CFrame* getFrame() const { return frame; }
    /// The window whose top-left corner is the context's origin on the screen (for contexts
    /// over kept surfaces).
    void setScreenWindow(void* window) { screenWindow = window; }
    /// The drawing target, or null when the context draws nothing (back ends and bitmaps).
    DrawSurface* surface() const { return target; }

protected:
    /// Drops the surface before what it draws into goes (offscreen bitmaps).
    void releaseSurface();

    void* screenWindow = nullptr; ///< the window whose top-left is the context's origin, or null
    ViewPoint drawingOffset;      ///< added to every coordinate
    /// What resetClipRect clips to, without the drawing offset: the frame's rectangle, or
    /// (0, 0, 1000, 1000) without a frame; an offscreen context's own rectangle.
    ViewRect defaultClip;

private:
    void applyDefaults();
    double fontHeight();
    /// `r` (this context's pixels, offset applied) in window pixels.
    ViewRect toSurface(const ViewRect& r) const;
    /// Tells the surface the clip (window pixels, whole pixels toward zero).
    void applyClip();
    /// The current font at the surface's size.
    CFontDesc& surfaceFont() const;

    CFrame* frame;
    double scale = 1.0;
    std::unique_ptr<DrawSurface> ownedTarget;
    DrawSurface* target; ///< ownedTarget, a borrowed surface, or null
    CFontDesc* font = nullptr;
    ViewColor fontColor = kWhiteColor;
    ViewPoint penPosition;
    double lineWidth = 1.0;
    ViewColor frameColor = kWhiteColor;
    ViewColor fillColor = kBlackColor;
    CLineStyle lineStyle = kLineSolid;
    CDrawMode drawMode = kCopyMode;
    ViewRect clipRect;
};

} // namespace vrn
