#pragma once
// The GDI+ drawing surface: one graphics object on a device context or on a bitmap, with the
// pen and brushes the draw context's state is applied to.

#include "editor/draw_memo.h"
#include "editor/draw_surface.h"
#include "editor/win32/gdiplus_api.h"

#include <array>
#include <memory>

namespace vrn
{

/// Draws with GDI+. The status of every GDI+ call is kept as the last status; nothing is
/// reported to the caller (a failed call draws nothing). State changes reach GDI+ only when a
/// drawing call needs them, so a frame whose calls are all replayed by the memo (see
/// onDibSection) makes no GDI+ call at all.
class GdiplusSurface final : public DrawSurface
{
public:
    /// Draws on `deviceContext`, or on `window`'s own device context when the former is null
    /// (given back when the surface goes). Null when both are null or GDI+ refuses the context.
    static std::unique_ptr<GdiplusSurface> onDeviceContext(HDC deviceContext, HWND window);
    /// Draws into `bitmap`, which must outlive the surface. Null when GDI+ refuses it.
    static std::unique_ptr<GdiplusSurface> onBitmap(gdip::GpBitmap* bitmap);
    /// Draws on `memoryContext`, a memory device context holding a 32-bit DIB section whose
    /// `width` × `height` pixels (rows top to bottom, `stride` bytes apart) start at `pixels`;
    /// both must outlive the surface. GDI+ draws as on a window's device context (the same
    /// pixels). Opaque pictures drawn 1:1 are copied straight into the pixels, and text, fills
    /// and pictures drawn again over the same pixels are replayed from a memo of their results.
    static std::unique_ptr<GdiplusSurface> onDibSection(HDC memoryContext, std::uint8_t* pixels,
                                                        int width, int height, int stride);
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
                    int sourceY, int sourceWidth, int sourceHeight, std::uint8_t alpha) override;

    /// Status of the most recent GDI+ call (gdip::Ok when it succeeded).
    gdip::GpStatus lastStatus() const { return status; }
    /// The graphics object (tests), with every state change applied.
    gdip::GpGraphics* nativeGraphics();
    /// The memo of drawing results, or null (surfaces over device contexts and bitmaps).
    const DrawMemo* memo() const { return drawMemo.get(); }

private:
    /// What the draw context asked for; `applied` says what GDI+ has already been told.
    struct State
    {
        ViewColor penColor = kBlackColor;
        float penWidth = 1.0f;
        bool penDotted = false;
        ViewColor fillColor = kBlackColor;
        ViewColor fontColor = kBlackColor;
        bool antiAlias = false;
        bool textAntiAlias = false;
        bool clipped = false;
        PixelBox clip;
    };

    GdiplusSurface(gdip::GraphicsPtr graphicsObject, HWND window, HDC windowDeviceContext);
    /// Keeps `result` as the last status and answers it.
    gdip::GpStatus keep(gdip::GpStatus result);
    /// Tells GDI+ every state change it has not been told yet.
    void applyState();
    /// The GDI+ font of `font`, made (and stored in it) on first use; null when GDI+ cannot make
    /// it.
    gdip::GpFont* fontFor(CFontDesc& font);
    /// Copies an opaque decoded picture 1:1 into `pixels` when it can (false: GDI+ draws it).
    bool copyOpaque(const PlatformBitmap& bitmap, int x, int y, int width, int height, int sourceX,
                    int sourceY);
    void drawBitmapWithGdiplus(PlatformBitmap& bitmap, int x, int y, int width, int height,
                               int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                               std::uint8_t alpha);
    /// Runs `draw` (GDI+ calls) through the memo: replayed when `key` was drawn over the same
    /// pixels of `box` before, else drawn and remembered. Without a memo it just draws.
    template <class Draw>
    void drawRemembered(const DrawCallKey& key, const PixelBox& box, Draw draw);

    gdip::GraphicsPtr graphics;
    gdip::PenPtr pen;
    gdip::BrushPtr fillBrush;
    gdip::BrushPtr fontBrush;
    HWND window;             ///< window whose device context this surface borrowed, or null
    HDC windowDeviceContext; ///< borrowed with GetDC, given back with ReleaseDC; or null
    State wanted;
    State applied;
    std::uint8_t* pixels = nullptr; ///< the target's 32-bit rows when the surface may write them
    PixelBox pixelBounds;
    int pixelStride = 0; ///< bytes from one row to the next
    std::unique_ptr<DrawMemo> drawMemo;
    /// Text widths already measured, by font and text (replaced in turn).
    struct MeasuredText
    {
        std::uint64_t font = 0;
        int length = -1;
        char text[DrawCallKey::kMaxText] = {};
        double width = 0.0;
    };
    std::array<MeasuredText, 64> measured{};
    std::size_t nextMeasured = 0;
    gdip::GpStatus status = gdip::Ok;
};

} // namespace vrn
