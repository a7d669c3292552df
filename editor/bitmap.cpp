// Bitmaps over the platform's images.
#include "editor/bitmap.h"

#include "editor/draw_context.h"
#include "editor/draw_surface.h"
#include "editor/graphics_library.h"
#include "editor/platform.h"

namespace vrn
{

CBitmap::CBitmap(const CResourceDescription& resource)
{
    GDIPlusGlobals::enter();
    loadFromResource(resource);
}

CBitmap::CBitmap(PlatformBitmap& source)
{
    GDIPlusGlobals::enter();
    image = editor_platform::CopyBitmap(source);
    takeSize();
}

CBitmap::CBitmap(double bitmapWidth, double bitmapHeight)
{
    GDIPlusGlobals::enter();
    image = editor_platform::CreateEmptyBitmap(static_cast<int>(bitmapWidth),
                                               static_cast<int>(bitmapHeight));
    takeSize();
}

CBitmap::~CBitmap()
{
    freeImage();
    GDIPlusGlobals::leave();
}

void CBitmap::takeSize()
{
    width = 0.0;
    height = 0.0;
    if (image)
        editor_platform::BitmapSize(*image, width, height);
}

bool CBitmap::loadFromResource(const CResourceDescription& resource)
{
    freeImage();
    resourceDescription = resource;
    image = editor_platform::LoadResourceBitmap(resource);
    takeSize();
    return image != nullptr;
}

void CBitmap::freeImage()
{
    if (!image)
        return;
    editor_platform::DestroyBitmap(image);
    image = nullptr;
    noAlpha = false;
}

void CBitmap::draw(CDrawContext* context, const ViewRect& rect, ViewPoint offset)
{
    drawAlphaBlend(context, rect, offset, 255);
}

void CBitmap::drawTransparent(CDrawContext* context, const ViewRect& rect, ViewPoint offset)
{
    drawAlphaBlend(context, rect, offset, 255);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const ViewRect& rect, ViewPoint offset,
                             std::uint8_t alpha)
{
    if (!image || !context || !context->surface())
        return;
    const ViewPoint origin = context->getDrawingOffset();
    context->surface()->drawBitmap(*image, static_cast<int>(rect.left + origin.h),
                                   static_cast<int>(rect.top + origin.v),
                                   static_cast<int>(rect.width()), static_cast<int>(rect.height()),
                                   static_cast<int>(offset.h), static_cast<int>(offset.v), alpha);
}

} // namespace vrn
