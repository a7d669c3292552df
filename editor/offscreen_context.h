#pragma once
// A drawing context over a bitmap of its own: back buffers and offscreen container drawing.

#include "editor/draw_context.h"

namespace vrn
{

class CBitmap;

/// Draws into an empty 32-bit ARGB bitmap of the given size.
class COffscreenContext : public CDrawContext
{
public:
    /// `width` × `height` pixels at the frame's scale (a bitmap of that many window pixels);
    /// `background` is kept for callers, no fill is made.
    COffscreenContext(CFrame* frame, double width, double height, ViewColor background);
    ~COffscreenContext() override;

    /// Copies the bitmap's area at `source` into `rect` of `destination`.
    void copyFrom(CDrawContext* destination, const ViewRect& rect, ViewPoint source = {});

    CBitmap* getBitmap() const { return bitmap; }
    double getWidth() const { return width; }
    double getHeight() const { return height; }
    ViewColor getBackgroundColor() const { return backgroundColor; }

private:
    COffscreenContext(CFrame* frame, CBitmap* surfaceBitmap, double width, double height,
                      ViewColor background);

    CBitmap* bitmap;
    double height;
    double width;
    ViewColor backgroundColor;
};

} // namespace vrn
