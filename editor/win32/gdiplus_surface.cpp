// Drawing with the GDI+ flat interface.
#include "editor/win32/gdiplus_surface.h"

#include "editor/font_desc.h"
#include "editor/win32/platform_objects.h"
#include "editor/win32/wide_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vrn
{

using namespace gdip;

namespace
{
constexpr ARGB kOpaqueBlack = 0xFF000000u;
// Longest font family name handed to GDI+, UTF-16 units.
constexpr std::size_t kMaxFontName = 199;

/// What decides a font's rendering: its face, size and style (not the description's address,
/// which a later description may reuse).
std::uint64_t FontIdentity(const CFontDesc& font)
{
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    const auto mix = [&hash](const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            hash = (hash ^ bytes[i]) * 1099511628211ull;
    };
    mix(font.getName().data(), font.getName().size());
    const double size = font.getSize();
    const std::int32_t style = font.getStyle();
    mix(&size, sizeof size);
    mix(&style, sizeof style);
    return hash;
}

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

std::unique_ptr<GdiplusSurface> GdiplusSurface::onDibSection(HDC memoryContext,
                                                             std::uint8_t* pixels, int width,
                                                             int height, int stride)
{
    if (!pixels || width <= 0 || height <= 0 || stride < 4 * width)
        return nullptr;
    std::unique_ptr<GdiplusSurface> surface = onDeviceContext(memoryContext, nullptr);
    if (!surface)
        return nullptr;
    surface->pixels = pixels;
    surface->pixelBounds = {0, 0, width, height};
    surface->pixelStride = stride;
    surface->drawMemo = std::make_unique<DrawMemo>(pixels, width, height, 4, stride);
    return surface;
}

GdiplusSurface::GdiplusSurface(GraphicsPtr graphicsObject, HWND borrowedFrom, HDC borrowedContext)
    : graphics(std::move(graphicsObject)), window(borrowedFrom),
      windowDeviceContext(borrowedContext)
{
    keep(GdipSetInterpolationMode(graphics.get(), InterpolationModeLowQuality));
    keep(GdipSetPageUnit(graphics.get(), UnitPixel));
    keep(GdipSetPixelOffsetMode(graphics.get(), PixelOffsetModeNone));
    // GDI+ is told as much as `applied` says it knows.
    keep(GdipSetSmoothingMode(graphics.get(), SmoothingModeNone));
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

GpGraphics* GdiplusSurface::nativeGraphics()
{
    applyState();
    return graphics.get();
}

// --- state: kept here, told to GDI+ when a drawing call needs it

void GdiplusSurface::setPenColor(ViewColor color)
{
    wanted.penColor = color;
}

void GdiplusSurface::setPenWidth(float width)
{
    wanted.penWidth = width;
}

void GdiplusSurface::setPenDotted(bool dotted)
{
    wanted.penDotted = dotted;
}

void GdiplusSurface::setFillColor(ViewColor color)
{
    wanted.fillColor = color;
}

void GdiplusSurface::setFontColor(ViewColor color)
{
    wanted.fontColor = color;
}

void GdiplusSurface::setAntiAlias(bool antiAlias)
{
    wanted.antiAlias = antiAlias;
}

void GdiplusSurface::setClip(int x, int y, int width, int height)
{
    wanted.clipped = true;
    wanted.clip = {x, y, x + width, y + height};
}

void GdiplusSurface::applyState()
{
    if (wanted.penColor != applied.penColor)
        keep(GdipSetPenColor(pen.get(), wanted.penColor.argb()));
    if (wanted.penWidth != applied.penWidth)
        keep(GdipSetPenWidth(pen.get(), wanted.penWidth));
    if (wanted.penDotted != applied.penDotted)
        keep(GdipSetPenDashStyle(pen.get(), wanted.penDotted ? DashStyleDot : DashStyleSolid));
    if (wanted.fillColor != applied.fillColor)
        keep(GdipSetSolidFillColor(fillBrush.get(), wanted.fillColor.argb()));
    if (wanted.fontColor != applied.fontColor)
        keep(GdipSetSolidFillColor(fontBrush.get(), wanted.fontColor.argb()));
    if (wanted.antiAlias != applied.antiAlias)
        keep(GdipSetSmoothingMode(graphics.get(),
                                  wanted.antiAlias ? SmoothingModeAntiAlias : SmoothingModeNone));
    if (wanted.textAntiAlias != applied.textAntiAlias)
        keep(GdipSetTextRenderingHint(graphics.get(), wanted.textAntiAlias
                                                          ? TextRenderingHintClearTypeGridFit
                                                          : TextRenderingHintSystemDefault));
    const PixelBox& c = wanted.clip;
    if (wanted.clipped &&
        (!applied.clipped || c.left != applied.clip.left || c.top != applied.clip.top ||
         c.right != applied.clip.right || c.bottom != applied.clip.bottom))
        keep(GdipSetClipRectI(graphics.get(), c.left, c.top, c.width(), c.height(),
                              CombineModeReplace));
    applied = wanted;
}

template <class Draw>
void GdiplusSurface::drawRemembered(const DrawCallKey& key, const PixelBox& box, Draw draw)
{
    if (!drawMemo)
    {
        applyState();
        draw();
        return;
    }
    // Only what the clip lets through can change.
    PixelBox changeable = box.within(pixelBounds);
    if (wanted.clipped)
        changeable = changeable.within(wanted.clip);
    // GDI may still hold drawing for these pixels in its batch.
    GdiFlush();
    if (drawMemo->replay(key, changeable))
        return;
    drawMemo->beginDrawing(key, changeable);
    applyState();
    draw();
    GdiFlush();
    drawMemo->endDrawing();
}

// --- shapes

void GdiplusSurface::drawLine(int x0, int y0, int x1, int y1)
{
    applyState();
    keep(GdipDrawLineI(graphics.get(), pen.get(), x0, y0, x1, y1));
}

void GdiplusSurface::fillRect(float x, float y, float width, float height)
{
    DrawCallKey key;
    key.call = 1;
    key.colour = wanted.fillColor.argb();
    key.flags = wanted.antiAlias;
    key.setReal(0, x);
    key.setReal(1, y);
    key.setReal(2, width);
    key.setReal(3, height);
    const PixelBox box{static_cast<int>(std::floor(x)) - 2, static_cast<int>(std::floor(y)) - 2,
                       static_cast<int>(std::ceil(x + width)) + 2,
                       static_cast<int>(std::ceil(y + height)) + 2};
    drawRemembered(
        key, box,
        [&] { keep(GdipFillRectangle(graphics.get(), fillBrush.get(), x, y, width, height)); });
}

void GdiplusSurface::strokeRect(float x, float y, float width, float height)
{
    applyState();
    keep(GdipDrawRectangle(graphics.get(), pen.get(), x, y, width, height));
}

void GdiplusSurface::fillEllipse(int x, int y, int width, int height)
{
    DrawCallKey key;
    key.call = 2;
    key.colour = wanted.fillColor.argb();
    key.flags = wanted.antiAlias;
    key.numbers[0] = x;
    key.numbers[1] = y;
    key.numbers[2] = width;
    key.numbers[3] = height;
    const PixelBox box{x - 2, y - 2, x + width + 3, y + height + 3};
    drawRemembered(
        key, box,
        [&] { keep(GdipFillEllipseI(graphics.get(), fillBrush.get(), x, y, width, height)); });
}

void GdiplusSurface::strokeEllipse(int x, int y, int width, int height)
{
    applyState();
    keep(GdipDrawEllipseI(graphics.get(), pen.get(), x, y, width, height));
}

void GdiplusSurface::drawArc(float x, float y, float width, float height, float startDegrees,
                             float sweepDegrees, bool fill, bool stroke)
{
    applyState();
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
    applyState();
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
    // Texts are measured every frame, mostly the same ones: a measurement depends only on the
    // font and the text, so it is remembered.
    const std::uint64_t identity = FontIdentity(font);
    const bool rememberable = text.size() < DrawCallKey::kMaxText;
    if (rememberable)
        for (const MeasuredText& m : measured)
            if (m.font == identity && m.length == static_cast<int>(text.size()) &&
                std::memcmp(m.text, text.data(), text.size()) == 0)
                return m.width;
    GpFont* gdiplusFont = fontFor(font);
    if (!gdiplusFont)
        return 0.0;
    const WideText wide(text);
    const RectF layout(0.0f, 0.0f, 0.0f, 0.0f);
    RectF bounds(0.0f, 0.0f, 0.0f, 0.0f);
    keep(GdipMeasureString(graphics.get(), wide.data(), wide.size(), gdiplusFont, &layout, nullptr,
                           &bounds, nullptr, nullptr));
    if (rememberable && status == Ok)
    {
        MeasuredText& m = measured[nextMeasured];
        nextMeasured = (nextMeasured + 1) % measured.size();
        m.font = identity;
        m.length = static_cast<int>(text.size());
        std::memcpy(m.text, text.data(), text.size());
        m.width = bounds.Width;
    }
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
    wanted.textAntiAlias = antiAlias;
    const auto draw = [&]
    {
        const WideText wide(text);
        const RectF layout(x, y, 0.0f, 0.0f);
        keep(GdipDrawString(graphics.get(), wide.data(), wide.size(), gdiplusFont, &layout, nullptr,
                            fontBrush.get()));
    };
    if (text.size() >= DrawCallKey::kMaxText)
    {
        applyState();
        draw();
        return;
    }
    DrawCallKey key;
    key.call = 3;
    key.colour = wanted.fontColor.argb();
    key.flags = antiAlias;
    key.setReal(0, x);
    key.setReal(1, y);
    key.object = FontIdentity(font);
    key.textLength = static_cast<std::uint32_t>(text.size());
    std::memcpy(key.text, text.data(), text.size());
    // Glyphs start a little after the layout point and may reach a little past the measured
    // width and below the line: a box of half a font size before and a font size or two after
    // holds them (a drawing that reaches past it is never replayed).
    const int em = static_cast<int>(std::ceil(font.getSize()));
    const double width = stringWidth(text, font);
    const PixelBox box{
        static_cast<int>(std::floor(x)) - em / 2 - 1, static_cast<int>(std::floor(y)) - em / 2 - 1,
        static_cast<int>(std::ceil(x + width)) + em, static_cast<int>(std::ceil(y)) + 2 * em};
    drawRemembered(key, box, draw);
}

bool GdiplusSurface::copyOpaque(const PlatformBitmap& bitmap, int x, int y, int width, int height,
                                int sourceX, int sourceY)
{
    if (!pixels || bitmap.opaqueRows.empty())
        return false;
    // Destination pixels that lie in the rectangle, the clip, the surface and the picture.
    PixelBox target = PixelBox{x, y, x + width, y + height}
                          .within(pixelBounds)
                          .within({x - sourceX, y - sourceY, x - sourceX + bitmap.width,
                                   y - sourceY + bitmap.height});
    if (wanted.clipped)
        target = target.within(wanted.clip);
    if (target.empty())
        return true;
    // GDI may still hold drawing for these pixels in its batch.
    GdiFlush();
    const auto bytes = static_cast<std::size_t>(target.width()) * sizeof(std::uint32_t);
    for (int row = target.top; row < target.bottom; ++row)
    {
        const std::uint32_t* from = bitmap.opaqueRows.data() +
                                    static_cast<std::ptrdiff_t>(row - y + sourceY) * bitmap.width +
                                    (target.left - x + sourceX);
        std::memcpy(pixels + static_cast<std::ptrdiff_t>(row) * pixelStride +
                        static_cast<std::ptrdiff_t>(target.left) * 4,
                    from, bytes);
    }
    return true;
}

void GdiplusSurface::drawBitmap(PlatformBitmap& bitmap, int x, int y, int width, int height,
                                int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                                std::uint8_t alpha)
{
    // An opaque picture drawn 1:1 replaces what lies under it: a copy of its pixels, which is
    // what GDI+ would draw, without converting and blending them every frame.
    const bool oneToOne = sourceWidth == width && sourceHeight == height;
    if (alpha == 255 && oneToOne && copyOpaque(bitmap, x, y, width, height, sourceX, sourceY))
        return;
    const auto draw = [&]
    {
        drawBitmapWithGdiplus(bitmap, x, y, width, height, sourceX, sourceY, sourceWidth,
                              sourceHeight, alpha);
    };
    if (bitmap.pictureSerial == 0)
    {
        applyState(); // drawn into since it was made: its pixels may differ next time
        draw();
        return;
    }
    DrawCallKey key;
    key.call = 4;
    key.object = bitmap.pictureSerial;
    key.numbers[0] = x;
    key.numbers[1] = y;
    key.numbers[2] = width;
    key.numbers[3] = height;
    key.numbers[4] = sourceX;
    key.numbers[5] = sourceY;
    key.numbers[6] = alpha;
    key.setReal(0, static_cast<float>(sourceWidth));
    key.setReal(1, static_cast<float>(sourceHeight));
    drawRemembered(key, {x - 1, y - 1, x + width + 1, y + height + 1}, draw);
}

namespace
{
// Attributes for scaling a picture: the pixels beyond its edges repeat those at the edges, so
// that a scaled picture's border does not fade into what lies outside it.
AttributesPtr ScalingAttributes()
{
    GpImageAttributes* made = nullptr;
    if (GdipCreateImageAttributes(&made) != Ok)
        return nullptr;
    AttributesPtr attributes(made);
    GdipSetImageAttributesWrapMode(attributes.get(), WrapModeTileFlipXY, 0, FALSE);
    return attributes;
}
} // namespace

void GdiplusSurface::drawBitmapWithGdiplus(PlatformBitmap& bitmap, int x, int y, int width,
                                           int height, int sourceX, int sourceY, int sourceWidth,
                                           int sourceHeight, std::uint8_t alpha)
{
    const AttributesPtr scaling =
        sourceWidth == width && sourceHeight == height ? nullptr : ScalingAttributes();
    if (alpha == 255)
    {
        keep(GdipDrawImageRectRectI(graphics.get(), bitmap.bitmap, x, y, width, height, sourceX,
                                    sourceY, sourceWidth, sourceHeight, UnitPixel, scaling.get(),
                                    nullptr, nullptr));
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
                                sourceY, sourceWidth, sourceHeight, UnitPixel, scaling.get(),
                                nullptr, nullptr));
    copyGraphics.reset();
    keep(GdipDrawImageRectRectI(graphics.get(), copy.get(), x, y, width, height, 0, 0, width,
                                height, UnitPixel, attributes.get(), nullptr, nullptr));
}

} // namespace vrn
