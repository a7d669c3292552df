// Drawing with the GDI+ flat interface.
#include "editor/win32/gdiplus_surface.h"

#include "editor/font_desc.h"
#include "editor/win32/platform_objects.h"
#include "editor/win32/wide_text.h"

namespace vrn
{

using namespace gdip;

namespace
{
constexpr ARGB kOpaqueBlack = 0xFF000000u;
// Longest font family name handed to GDI+, UTF-16 units.
constexpr std::size_t kMaxFontName = 199;

// One style bit reaches GDI+: underline before italic before bold.
INT GdiplusFontStyle(std::int32_t style)
{
    if (style & kUnderlineFace)
        return FontStyleUnderline;
    if (style & kItalicFace)
        return FontStyleItalic;
    return style & kBoldFace;
}
} // namespace

std::unique_ptr<GdiplusSurface> GdiplusSurface::onDeviceContext(HDC deviceContext, HWND window)
{
    if (!deviceContext && !window)
        return nullptr;
    HDC borrowed = deviceContext ? nullptr : GetDC(window);
    HDC target = deviceContext ? deviceContext : borrowed;
    GpGraphics* made = nullptr;
    if (!target || GdipCreateFromHDC(target, &made) != Ok || !made)
    {
        if (borrowed)
            ReleaseDC(window, borrowed);
        return nullptr;
    }
    return std::unique_ptr<GdiplusSurface>(
        new GdiplusSurface(GraphicsPtr(made), borrowed ? window : nullptr, borrowed));
}

std::unique_ptr<GdiplusSurface> GdiplusSurface::onBitmap(GpBitmap* bitmap)
{
    GpGraphics* made = nullptr;
    if (!bitmap || GdipGetImageGraphicsContext(bitmap, &made) != Ok || !made)
        return nullptr;
    return std::unique_ptr<GdiplusSurface>(new GdiplusSurface(GraphicsPtr(made), nullptr, nullptr));
}

GdiplusSurface::GdiplusSurface(GraphicsPtr graphicsObject, HWND borrowedFrom, HDC borrowedContext)
    : graphics(std::move(graphicsObject)), window(borrowedFrom),
      windowDeviceContext(borrowedContext)
{
    keep(GdipSetInterpolationMode(graphics.get(), InterpolationModeLowQuality));
    keep(GdipSetPageUnit(graphics.get(), UnitPixel));
    keep(GdipSetPixelOffsetMode(graphics.get(), PixelOffsetModeNone));
    GpPen* madePen = nullptr;
    keep(GdipCreatePen1(kOpaqueBlack, 1.0f, UnitWorld, &madePen));
    pen.reset(madePen);
    GpSolidFill* madeFill = nullptr;
    keep(GdipCreateSolidFill(kOpaqueBlack, &madeFill));
    fillBrush.reset(madeFill);
    GpSolidFill* madeFontBrush = nullptr;
    keep(GdipCreateSolidFill(kOpaqueBlack, &madeFontBrush));
    fontBrush.reset(madeFontBrush);
}

GdiplusSurface::~GdiplusSurface()
{
    // The graphics object draws on the borrowed device context: it goes first.
    graphics.reset();
    if (windowDeviceContext)
        ReleaseDC(window, windowDeviceContext);
}

GpStatus GdiplusSurface::keep(GpStatus result)
{
    status = result;
    return result;
}

void GdiplusSurface::setPenColor(ViewColor color)
{
    keep(GdipSetPenColor(pen.get(), color.argb()));
}

void GdiplusSurface::setPenWidth(float width)
{
    keep(GdipSetPenWidth(pen.get(), width));
}

void GdiplusSurface::setPenDotted(bool dotted)
{
    keep(GdipSetPenDashStyle(pen.get(), dotted ? DashStyleDot : DashStyleSolid));
}

void GdiplusSurface::setFillColor(ViewColor color)
{
    keep(GdipSetSolidFillColor(fillBrush.get(), color.argb()));
}

void GdiplusSurface::setFontColor(ViewColor color)
{
    keep(GdipSetSolidFillColor(fontBrush.get(), color.argb()));
}

void GdiplusSurface::setAntiAlias(bool antiAlias)
{
    keep(GdipSetSmoothingMode(graphics.get(),
                              antiAlias ? SmoothingModeAntiAlias : SmoothingModeNone));
}

void GdiplusSurface::setClip(int x, int y, int width, int height)
{
    keep(GdipSetClipRectI(graphics.get(), x, y, width, height, CombineModeReplace));
}

void GdiplusSurface::drawLine(int x0, int y0, int x1, int y1)
{
    keep(GdipDrawLineI(graphics.get(), pen.get(), x0, y0, x1, y1));
}

void GdiplusSurface::fillRect(float x, float y, float width, float height)
{
    keep(GdipFillRectangle(graphics.get(), fillBrush.get(), x, y, width, height));
}

void GdiplusSurface::strokeRect(float x, float y, float width, float height)
{
    keep(GdipDrawRectangle(graphics.get(), pen.get(), x, y, width, height));
}

void GdiplusSurface::fillEllipse(int x, int y, int width, int height)
{
    keep(GdipFillEllipseI(graphics.get(), fillBrush.get(), x, y, width, height));
}

void GdiplusSurface::strokeEllipse(int x, int y, int width, int height)
{
    keep(GdipDrawEllipseI(graphics.get(), pen.get(), x, y, width, height));
}

void GdiplusSurface::drawArc(float x, float y, float width, float height, float startDegrees,
                             float sweepDegrees, bool fill, bool stroke)
{
    GpPath* made = nullptr;
    if (keep(GdipCreatePath(FillModeAlternate, &made)) != Ok)
        return;
    const PathPtr path(made);
    keep(GdipAddPathArc(path.get(), x, y, width, height, startDegrees, sweepDegrees));
    if (fill)
        keep(GdipFillPath(graphics.get(), fillBrush.get(), path.get()));
    if (stroke)
        keep(GdipDrawPath(graphics.get(), pen.get(), path.get()));
}

void GdiplusSurface::drawPolygon(const float* xy, int count, bool fill, bool stroke, bool closed)
{
    // GDI+ reads the (x, y) pairs as its own point records, which have the same layout.
    static_assert(sizeof(PointF) == 2 * sizeof(float), "PointF is two floats");
    const auto* points = reinterpret_cast<const PointF*>(xy);
    if (fill)
        keep(GdipFillPolygon(graphics.get(), fillBrush.get(), points, count, FillModeAlternate));
    if (stroke)
        keep(closed ? GdipDrawPolygon(graphics.get(), pen.get(), points, count)
                    : GdipDrawLines(graphics.get(), pen.get(), points, count));
}

GpFont* GdiplusSurface::fontFor(CFontDesc& font)
{
    if (PlatformFont* made = font.platformFont())
        return made->font;
    std::wstring name = Widen(font.getName());
    if (name.size() > kMaxFontName)
        name.resize(kMaxFontName);
    GpFontFamily* family = nullptr;
    if (keep(GdipCreateFontFamilyFromName(name.c_str(), nullptr, &family)) != Ok)
        return nullptr;
    const FontFamilyPtr familyOwner(family);
    GpFont* gdiplusFont = nullptr;
    if (keep(GdipCreateFont(family, static_cast<REAL>(font.getSize()),
                            GdiplusFontStyle(font.getStyle()), UnitPixel, &gdiplusFont)) != Ok)
        return nullptr;
    font.setPlatformFont(new PlatformFont{gdiplusFont});
    return gdiplusFont;
}

double GdiplusSurface::stringWidth(std::string_view text, CFontDesc& font)
{
    GpFont* gdiplusFont = fontFor(font);
    if (!gdiplusFont)
        return 0.0;
    const std::wstring wide = Widen(text);
    const RectF layout(0.0f, 0.0f, 0.0f, 0.0f);
    RectF bounds(0.0f, 0.0f, 0.0f, 0.0f);
    keep(GdipMeasureString(graphics.get(), wide.c_str(), static_cast<INT>(wide.size()), gdiplusFont,
                           &layout, nullptr, &bounds, nullptr, nullptr));
    return bounds.Width;
}

double GdiplusSurface::fontHeight(CFontDesc& font)
{
    GpFont* gdiplusFont = fontFor(font);
    if (!gdiplusFont)
        return 0.0;
    REAL dpi = 0.0f;
    keep(GdipGetDpiY(graphics.get(), &dpi));
    REAL height = 0.0f;
    keep(GdipGetFontHeightGivenDPI(gdiplusFont, dpi, &height));
    return height;
}

void GdiplusSurface::drawString(std::string_view text, CFontDesc& font, float x, float y,
                                bool antiAlias)
{
    GpFont* gdiplusFont = fontFor(font);
    if (!gdiplusFont)
        return;
    keep(GdipSetTextRenderingHint(graphics.get(), antiAlias ? TextRenderingHintClearTypeGridFit
                                                            : TextRenderingHintSystemDefault));
    const std::wstring wide = Widen(text);
    const RectF layout(x, y, 0.0f, 0.0f);
    keep(GdipDrawString(graphics.get(), wide.c_str(), static_cast<INT>(wide.size()), gdiplusFont,
                        &layout, nullptr, fontBrush.get()));
}

void GdiplusSurface::drawBitmap(PlatformBitmap& bitmap, int x, int y, int width, int height,
                                int sourceX, int sourceY, std::uint8_t alpha)
{
    if (alpha == 255)
    {
        keep(GdipDrawImageRectRectI(graphics.get(), bitmap.bitmap, x, y, width, height, sourceX,
                                    sourceY, width, height, UnitPixel, nullptr, nullptr, nullptr));
        return;
    }
    // Other opacities: the source area is copied into a bitmap of its own, which is then drawn
    // with its alpha channel scaled by a colour matrix.
    GpImageAttributes* madeAttributes = nullptr;
    if (keep(GdipCreateImageAttributes(&madeAttributes)) != Ok)
        return;
    const AttributesPtr attributes(madeAttributes);
    ColorMatrix matrix{};
    matrix.m[0][0] = 1.0f;
    matrix.m[1][1] = 1.0f;
    matrix.m[2][2] = 1.0f;
    matrix.m[3][3] = static_cast<REAL>(alpha) / 255.0f;
    keep(GdipSetImageAttributesColorMatrix(attributes.get(), ColorAdjustTypeBitmap, TRUE, &matrix,
                                           nullptr, ColorMatrixFlagsDefault));
    GpBitmap* madeCopy = nullptr;
    if (keep(GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr,
                                       &madeCopy)) != Ok)
        return;
    const BitmapPtr copy(madeCopy);
    GpGraphics* madeCopyGraphics = nullptr;
    if (keep(GdipGetImageGraphicsContext(copy.get(), &madeCopyGraphics)) != Ok)
        return;
    GraphicsPtr copyGraphics(madeCopyGraphics);
    keep(GdipDrawImageRectRectI(copyGraphics.get(), bitmap.bitmap, 0, 0, width, height, sourceX,
                                sourceY, width, height, UnitPixel, nullptr, nullptr, nullptr));
    copyGraphics.reset();
    keep(GdipDrawImageRectRectI(graphics.get(), copy.get(), x, y, width, height, 0, 0, width,
                                height, UnitPixel, attributes.get(), nullptr, nullptr));
}

} // namespace vrn
