// The graphics bridge over the draw context of the paint in progress.
#include "graphics/gfx_bridge.h"

#include "editor/bitmap.h"
#include "editor/draw_context.h"
#include "editor/font_desc.h"
#include "graphics/font_cache.h"
#include "graphics/graphics_host.h"
#include "graphics/image_holder.h"
#include "runtime/host_services.h"

namespace vrn
{

namespace
{
CDrawContext* ContextOf(IGraphicsHost* host)
{
    return host ? host->PaintContext() : nullptr;
}

CDrawStyle StyleOf(std::int32_t style)
{
    if (style == kDrawFilled)
        return kDrawFilled;
    return style == kDrawFilledAndStroked ? kDrawFilledAndStroked : kDrawStroked;
}

CHoriTxtAlign AlignmentOf(std::int32_t alignment)
{
    if (alignment == kCenterText)
        return kCenterText;
    return alignment == kRightText ? kRightText : kLeftText;
}

CBitmap* BitmapOf(const ImageHolder* holder)
{
    return holder ? holder->bitmap() : nullptr;
}

/// Runs `draw` on the paint's context: 1, or 0 without one.
template <class Draw>
int OnContext(IGraphicsHost* host, Draw&& draw)
{
    CDrawContext* context = ContextOf(host);
    if (!context)
        return 0;
    draw(*context);
    return 1;
}

/// Runs `draw` with the paint's context and the holder's bitmap: 1, or 0 without either.
template <class Draw>
int OnBitmap(IGraphicsHost* host, const ImageHolder* holder, Draw&& draw)
{
    CDrawContext* context = ContextOf(host);
    CBitmap* bitmap = BitmapOf(holder);
    if (!context || !bitmap)
        return 0;
    draw(*context, *bitmap);
    return 1;
}
} // namespace

int gfxViewSize(IHostServices* host, std::int32_t& width, std::int32_t& height)
{
    return host && host->EditorSize(width, height) ? 1 : 0;
}

int gfxSetDrawMode(IGraphicsHost* host, std::int32_t mode)
{
    return OnContext(host, [&](CDrawContext& c)
                     { c.setDrawMode(mode == kAntiAliasMode ? kAntiAliasMode : kCopyMode); });
}

int gfxSetFontColor(IGraphicsHost* host, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                    std::uint8_t alpha)
{
    return OnContext(host, [&](CDrawContext& c) { c.setFontColor({red, green, blue, alpha}); });
}

int gfxSetFillColor(IGraphicsHost* host, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                    std::uint8_t alpha)
{
    return OnContext(host, [&](CDrawContext& c) { c.setFillColor({red, green, blue, alpha}); });
}

int gfxSetFrameColor(IGraphicsHost* host, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                     std::uint8_t alpha)
{
    return OnContext(host, [&](CDrawContext& c) { c.setFrameColor({red, green, blue, alpha}); });
}

double gfxTextWidth(IGraphicsHost* host, const std::string& text)
{
    CDrawContext* context = ContextOf(host);
    if (!context)
        return 0.0;
    const double width = context->getStringWidth(text.c_str());
    return width > 0.0 ? width : 0.0;
}

double gfxFontHeight(IGraphicsHost* host)
{
    CDrawContext* context = ContextOf(host);
    return context && context->getFont() ? context->getFont()->getSize() : 0.0;
}

int gfxMoveTo(IGraphicsHost* host, double x, double y)
{
    return OnContext(host, [&](CDrawContext& c) { c.moveTo({x, y}); });
}

int gfxLineTo(IGraphicsHost* host, double x, double y)
{
    return OnContext(host, [&](CDrawContext& c) { c.lineTo({x, y}); });
}

int gfxArc(IGraphicsHost* host, double left, double top, double right, double bottom,
           double startAngle, double endAngle, std::int32_t style)
{
    return OnContext(
        host,
        [&](CDrawContext& c) {
            c.drawArc({left, top, right, bottom}, startAngle, endAngle, StyleOf(style));
        });
}

int gfxRect(IGraphicsHost* host, double left, double top, double right, double bottom,
            std::int32_t style)
{
    return OnContext(host,
                     [&](CDrawContext& c) {
                         c.drawRect({left, top, right, bottom}, StyleOf(style));
                     });
}

int gfxEllipse(IGraphicsHost* host, double left, double top, double right, double bottom,
               std::int32_t style)
{
    return OnContext(host,
                     [&](CDrawContext& c) {
                         c.drawEllipse({left, top, right, bottom}, StyleOf(style));
                     });
}

int gfxTextInRect(IGraphicsHost* host, const std::string& text, double left, double top,
                  double right, double bottom, std::int32_t /*opaque*/, std::int32_t alignment)
{
    return OnContext(
        host,
        [&](CDrawContext& c) {
            c.drawString(text.c_str(), {left, top, right, bottom}, AlignmentOf(alignment));
        });
}

int gfxTextAt(IGraphicsHost* host, const std::string& text, double x, double y,
              std::int32_t antiAlias)
{
    return OnContext(host,
                     [&](CDrawContext& c) {
                         c.drawStringAt(text.c_str(), {x, y}, antiAlias != 0);
                     });
}

int gfxPoint(IGraphicsHost* host, double x, double y, std::uint8_t red, std::uint8_t green,
             std::uint8_t blue, std::uint8_t alpha)
{
    return OnContext(host,
                     [&](CDrawContext& c) {
                         c.drawPoint({x, y}, {red, green, blue, alpha});
                     });
}

int gfxGetPoint(IGraphicsHost* host, double x, double y, std::uint8_t& red, std::uint8_t& green,
                std::uint8_t& blue, std::uint8_t& alpha)
{
    return OnContext(host,
                     [&](CDrawContext& c)
                     {
                         const ViewColor color = c.getPoint({x, y});
                         red = color.red;
                         green = color.green;
                         blue = color.blue;
                         alpha = color.alpha;
                     });
}

int gfxSetFont(IGraphicsHost* host, const std::string& face, std::int32_t size, std::int32_t style)
{
    return OnContext(host,
                     [&](CDrawContext& c)
                     {
                         FontCache& cache = host->Fonts();
                         // The same choice as selecting the cached face with this size and
                         // style, without a new description (and platform font) per frame.
                         c.setFont(cache.Variant(cache.Find(face), size, style));
                     });
}

int gfxImageDraw(IGraphicsHost* host, const ImageHolder* holder, double left, double top,
                 double right, double bottom, double sourceX, double sourceY)
{
    return OnBitmap(host, holder,
                    [&](CDrawContext& c, CBitmap& b) {
                        b.draw(&c, {left, top, right, bottom}, {sourceX, sourceY});
                    });
}

int gfxImageDrawAlpha(IGraphicsHost* host, const ImageHolder* holder, double left, double top,
                      double right, double bottom, double sourceX, double sourceY,
                      std::uint8_t alpha)
{
    return OnBitmap(host, holder,
                    [&](CDrawContext& c, CBitmap& b) {
                        b.drawAlphaBlend(&c, {left, top, right, bottom}, {sourceX, sourceY}, alpha);
                    });
}

int gfxImageDrawTransparent(IGraphicsHost* host, const ImageHolder* holder, double left, double top,
                            double right, double bottom, double sourceX, double sourceY)
{
    return OnBitmap(host, holder,
                    [&](CDrawContext& c, CBitmap& b) {
                        b.drawTransparent(&c, {left, top, right, bottom}, {sourceX, sourceY});
                    });
}

int gfxImageGetTransparentColor(const ImageHolder* holder, ViewColor& color)
{
    CBitmap* bitmap = BitmapOf(holder);
    if (bitmap)
        color = bitmap->getTransparentColor();
    return bitmap ? 1 : 0;
}

int gfxImageSetTransparentColor(ImageHolder* holder, ViewColor color)
{
    CBitmap* bitmap = BitmapOf(holder);
    if (bitmap)
        bitmap->setTransparentColor(color);
    return bitmap ? 1 : 0;
}

int gfxImageGetNoAlpha(const ImageHolder* holder, bool& noAlpha)
{
    CBitmap* bitmap = BitmapOf(holder);
    if (bitmap)
        noAlpha = bitmap->getNoAlpha();
    return bitmap ? 1 : 0;
}

int gfxImageSetNoAlpha(ImageHolder* holder, bool noAlpha)
{
    CBitmap* bitmap = BitmapOf(holder);
    if (bitmap)
        bitmap->setNoAlpha(noAlpha);
    return bitmap ? 1 : 0;
}

} // namespace vrn
