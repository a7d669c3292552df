#pragma once
// The GDI+ drawing surface: one graphics object on a device context or on a bitmap, with the
// pen and brushes the draw context's state is applied to.

#include "editor/draw_surface.h"
#include "editor/win32/gdiplus_api.h"

#include <memory>

namespace vrn
{

/// Draws with GDI+. The status of every GDI+ call is kept as the last status; nothing is
/// reported to the caller (a failed call draws nothing).
class GdiplusSurface final : public DrawSurface
{
public:
    /// Draws on `deviceContext`, or on `window`'s own device context when the former is null
    /// (given back when the surface goes). Null when both are null or GDI+ refuses the context.
    static std::unique_ptr<GdiplusSurface> onDeviceContext(HDC deviceContext, HWND window);
    /// Draws into `bitmap`, which must outlive the surface. Null when GDI+ refuses it.
    static std::unique_ptr<GdiplusSurface> onBitmap(gdip::GpBitmap* bitmap);
    ~GdiplusSurface() override;

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
                    int sourceY, std::uint8_t alpha) override;

    /// Status of the most recent GDI+ call (gdip::Ok when it succeeded).
    gdip::GpStatus lastStatus() const { return status; }
    /// The graphics object (tests).
    gdip::GpGraphics* nativeGraphics() const { return graphics.get(); }

private:
    GdiplusSurface(gdip::GraphicsPtr graphicsObject, HWND window, HDC windowDeviceContext);
    /// Keeps `result` as the last status and answers it.
    gdip::GpStatus keep(gdip::GpStatus result);
    /// The GDI+ font of `font`, made (and stored in it) on first use; null when GDI+ cannot make
    /// it.
    gdip::GpFont* fontFor(CFontDesc& font);

    gdip::GraphicsPtr graphics;
    gdip::PenPtr pen;
    gdip::BrushPtr fillBrush;
    gdip::BrushPtr fontBrush;
    HWND window;             ///< window whose device context this surface borrowed, or null
    HDC windowDeviceContext; ///< borrowed with GetDC, given back with ReleaseDC; or null
    gdip::GpStatus status = gdip::Ok;
};

} // namespace vrn
