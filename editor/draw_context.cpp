// Drawing contexts: state kept here, pixels drawn by the surface.
#include "editor/draw_context.h"

#include "editor/draw_surface.h"
#include "editor/font_desc.h"
#include "editor/frame.h"
#include "editor/platform.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace vrn
{

namespace
{
// Edges ordered so that left ≤ right and top ≤ bottom.
ViewRect Ordered(const ViewRect& r)
{
    return {std::fmin(r.left, r.right), std::fmin(r.top, r.bottom), std::fmax(r.left, r.right),
            std::fmax(r.top, r.bottom)};
}

int Truncated(double value)
{
    return static_cast<int>(value);
}
} // namespace

CDrawContext::CDrawContext(CFrame* ownerFrame, const ViewRect& bounds, void* deviceContext,
                           void* window)
    : CDrawContext(ownerFrame, bounds, editor_platform::CreateContextSurface(deviceContext, window))
{
    screenWindow = window;
}

CDrawContext::CDrawContext(CFrame* ownerFrame, const ViewRect& bounds,
                           std::unique_ptr<DrawSurface> surfaceToUse)
    : defaultClip(ownerFrame ? bounds : ViewRect{0, 0, 1000, 1000}), frame(ownerFrame),
      scale(ownerFrame ? ownerFrame->getScale() : 1.0), ownedTarget(std::move(surfaceToUse)),
      target(ownedTarget.get())
{
    clipRect = defaultClip;
    applyDefaults();
}

CDrawContext::CDrawContext(CFrame* ownerFrame, const ViewRect& bounds, DrawSurface& borrowed)
    : defaultClip(ownerFrame ? bounds : ViewRect{0, 0, 1000, 1000}), frame(ownerFrame),
      scale(ownerFrame ? ownerFrame->getScale() : 1.0), target(&borrowed)
{
    clipRect = defaultClip;
    // A kept surface may still clip as its last user left it.
    applyClip();
    applyDefaults();
}

CDrawContext::~CDrawContext()
{
    if (font)
        font->release();
}

void CDrawContext::releaseSurface()
{
    target = nullptr;
    ownedTarget.reset();
}

void CDrawContext::applyDefaults()
{
    // The surface starts with an opaque black pen and brushes: bring it to the defaults.
    frameColor = kBlackColor;
    setFrameColor(kWhiteColor);
    lineStyle = kLineOnOffDash;
    setLineStyle(kLineSolid);
    setLineWidth(1.0);
    fillColor = kWhiteColor;
    setFillColor(kBlackColor);
    setFontColor(kWhiteColor);
    setFont(StandardFont(1));
    drawMode = kAntiAliasMode;
    setDrawMode(kCopyMode);
}

void CDrawContext::setFrameColor(ViewColor color)
{
    if (color == frameColor)
        return;
    frameColor = color;
    if (target)
        target->setPenColor(color);
}

void CDrawContext::setFillColor(ViewColor color)
{
    if (color == fillColor)
        return;
    fillColor = color;
    if (target)
        target->setFillColor(color);
}

void CDrawContext::setFontColor(ViewColor color)
{
    fontColor = color;
    if (target)
        target->setFontColor(color);
}

void CDrawContext::setLineWidth(double width)
{
    lineWidth = width;
    if (target)
        target->setPenWidth(static_cast<float>(width * scale));
}

void CDrawContext::setLineStyle(CLineStyle style)
{
    if (style == lineStyle)
        return;
    lineStyle = style;
    if (target)
        target->setPenDotted(style == kLineOnOffDash);
}

void CDrawContext::setDrawMode(CDrawMode mode)
{
    if (mode == drawMode)
        return;
    drawMode = mode;
    if (target)
        target->setAntiAlias(mode == kAntiAliasMode);
}

void CDrawContext::setClipRect(const ViewRect& clip)
{
    const ViewRect moved = clip.offset(drawingOffset.h, drawingOffset.v);
    if (moved == clipRect)
        return;
    clipRect = moved;
    applyClip();
}

void CDrawContext::applyClip()
{
    if (!target)
        return;
    const ViewRect r = toSurface(clipRect);
    target->setClip(Truncated(r.left), Truncated(r.top), Truncated(r.width()),
                    Truncated(r.height()));
}

ViewRect CDrawContext::toSurface(const ViewRect& r) const
{
    return {r.left * scale, r.top * scale, r.right * scale, r.bottom * scale};
}

void CDrawContext::setScale(double newScale)
{
    if (!(newScale > 0.0) || newScale == scale)
        return;
    scale = newScale;
    applyClip();
    if (target)
        target->setPenWidth(static_cast<float>(lineWidth * scale));
}

CFontDesc& CDrawContext::surfaceFont() const
{
    return *font->scaledVariant(scale);
}

ViewRect CDrawContext::getClipRect() const
{
    return clipRect.offset(-drawingOffset.h, -drawingOffset.v);
}

void CDrawContext::resetClipRect()
{
    setClipRect(defaultClip.offset(-drawingOffset.h, -drawingOffset.v));
}

void CDrawContext::setFont(CFontDesc* newFont, double size, std::int32_t style)
{
    if (!newFont)
        return;
    CFontDesc* previous = font;
    const bool sameSize = size <= 0 || size == newFont->getSize();
    const bool sameStyle = style == -1 || style == newFont->getStyle();
    if (sameSize && sameStyle)
    {
        newFont->retain();
        font = newFont;
    }
    else
    {
        font = new CFontDesc(newFont->getName(), size <= 0 ? newFont->getSize() : size,
                             style == -1 ? newFont->getStyle() : style);
    }
    // Released after taking the new one: `newFont` may be the current font itself.
    if (previous)
        previous->release();
}

void CDrawContext::moveTo(ViewPoint point)
{
    penPosition = point.offset(drawingOffset.h, drawingOffset.v);
}

void CDrawContext::lineTo(ViewPoint point)
{
    const ViewPoint end = point.offset(drawingOffset.h, drawingOffset.v);
    if (target)
        target->drawLine(Truncated(penPosition.h * scale), Truncated(penPosition.v * scale),
                         Truncated(end.h * scale), Truncated(end.v * scale));
    penPosition = end;
}

void CDrawContext::drawLines(const ViewPoint* pairs, int pairCount)
{
    if (!pairs)
        return;
    for (std::ptrdiff_t i = 0; i < pairCount; ++i)
    {
        const std::ptrdiff_t first = 2 * static_cast<std::ptrdiff_t>(i);
        moveTo(pairs[first]);
        lineTo(pairs[first + 1]);
    }
}

void CDrawContext::drawPolygon(const ViewPoint* points, int count, CDrawStyle style, bool closed)
{
    if (!points || count <= 0 || !target)
        return;
    // Most polygons are small: a fixed buffer, the heap only beyond 30 points.
    constexpr int kStackPoints = 30;
    float stackBuffer[2 * kStackPoints];
    std::vector<float> heapBuffer;
    float* xy = stackBuffer;
    if (count > kStackPoints)
    {
        heapBuffer.resize(2 * static_cast<std::size_t>(count));
        xy = heapBuffer.data();
    }
    for (std::ptrdiff_t i = 0; i < count; ++i)
    {
        const std::ptrdiff_t x = 2 * static_cast<std::ptrdiff_t>(i);
        xy[x] = static_cast<float>((points[i].h + drawingOffset.h) * scale);
        xy[x + 1] = static_cast<float>((points[i].v + drawingOffset.v) * scale);
    }
    target->drawPolygon(xy, count, style != kDrawStroked, style != kDrawFilled, closed);
}

void CDrawContext::drawRect(const ViewRect& rect, CDrawStyle style)
{
    if (!target)
        return;
    const ViewRect r = toSurface(Ordered(rect).offset(drawingOffset.h, drawingOffset.v));
    const auto x = static_cast<float>(r.left);
    const auto y = static_cast<float>(r.top);
    const auto w = static_cast<float>(r.width());
    const auto h = static_cast<float>(r.height());
    if (style != kDrawStroked)
        target->fillRect(x, y, w, h);
    if (style != kDrawFilled)
        target->strokeRect(x, y, w - 1.0f, h - 1.0f);
}

void CDrawContext::fillRect(const ViewRect& rect)
{
    if (!target)
        return;
    const ViewRect r = toSurface(Ordered(rect).offset(drawingOffset.h, drawingOffset.v));
    target->fillRect(static_cast<float>(r.left), static_cast<float>(r.top),
                     static_cast<float>(r.width()), static_cast<float>(r.height()));
}

void CDrawContext::drawEllipse(const ViewRect& rect, CDrawStyle style)
{
    if (!target)
        return;
    const ViewRect r = toSurface(Ordered(rect).offset(drawingOffset.h, drawingOffset.v));
    const int x = Truncated(r.left);
    const int y = Truncated(r.top);
    const int w = Truncated(r.width()) - 1;
    const int h = Truncated(r.height()) - 1;
    if (style != kDrawStroked)
        target->fillEllipse(x, y, w, h);
    if (style != kDrawFilled)
        target->strokeEllipse(x, y, w, h);
}

void CDrawContext::drawArc(const ViewRect& rect, double startAngle, double endAngle,
                           CDrawStyle style)
{
    if (!target)
        return;
    const ViewRect r = toSurface(Ordered(rect).offset(drawingOffset.h, drawingOffset.v));
    const double end = endAngle < startAngle ? endAngle + 360.0 : endAngle;
    const double sweep = std::fabs(end - startAngle);
    target->drawArc(static_cast<float>(r.left), static_cast<float>(r.top),
                    static_cast<float>(r.width()), static_cast<float>(r.height()),
                    static_cast<float>(startAngle), static_cast<float>(sweep),
                    style != kDrawStroked, style != kDrawFilled);
}

void CDrawContext::drawPoint(ViewPoint point, ViewColor color)
{
    const ViewColor savedColor = frameColor;
    const double savedWidth = lineWidth;
    const ViewPoint savedPen = penPosition;
    setLineWidth(1.0);
    setFrameColor(color);
    moveTo(point);
    lineTo(point.offset(1.0, 0.0));
    setFrameColor(savedColor);
    setLineWidth(savedWidth);
    penPosition = savedPen;
}

ViewColor CDrawContext::getPoint(ViewPoint) const
{
    return kBlackColor;
}

double CDrawContext::getStringWidth(const char* text)
{
    if (!text || !font || !target)
        return -1.0;
    return target->stringWidth(text, surfaceFont()) / scale;
}

double CDrawContext::fontHeight()
{
    return (font && target) ? target->fontHeight(surfaceFont()) / scale : 0.0;
}

void CDrawContext::drawStringAt(const char* text, ViewPoint point, bool antiAlias)
{
    if (!text || !font || !target)
        return;
    const double x = point.h + drawingOffset.h;
    const double y = point.v + drawingOffset.v + 1.0 - fontHeight();
    target->drawString(text, surfaceFont(), static_cast<float>(x * scale),
                       static_cast<float>(y * scale), antiAlias);
}

void CDrawContext::drawString(const char* text, const ViewRect& rect, CHoriTxtAlign align,
                              bool antiAlias)
{
    if (!text || !font || !target)
        return;
    const double baseline = rect.bottom - (rect.height() / 2.0 - font->getSize() / 2.0 + 1.0);
    double h = rect.left;
    if (align != kLeftText)
    {
        const double width = getStringWidth(text);
        h = align == kCenterText ? rect.left + rect.width() / 2.0 - width / 2.0
                                 : rect.right - width;
    }
    const ViewRect savedClip = getClipRect();
    setClipRect(rect.boundedBy(savedClip));
    drawStringAt(text, {h, baseline}, antiAlias);
    setClipRect(savedClip);
}

void CDrawContext::drawBitmap(PlatformBitmap& image, double density, const ViewRect& rect,
                              ViewPoint source, std::uint8_t alpha)
{
    if (!target)
        return;
    const ViewRect r = toSurface(rect.offset(drawingOffset.h, drawingOffset.v));
    target->drawBitmap(image, Truncated(r.left), Truncated(r.top), Truncated(rect.width() * scale),
                       Truncated(rect.height() * scale), Truncated(source.h * density),
                       Truncated(source.v * density), Truncated(rect.width() * density),
                       Truncated(rect.height() * density), alpha);
}

ViewPoint CDrawContext::getMousePosition() const
{
    const ViewPoint cursor = editor_platform::CursorScreenPosition();
    // The window's place on the screen is asked only now: a context is made for every paint,
    // and on X11 the question is a round trip to the server.
    const ViewPoint origin = editor_platform::WindowScreenOrigin(screenWindow);
    return {(cursor.h - origin.h) / scale, (cursor.v - origin.v) / scale};
}

} // namespace vrn
