// Bitmaps over the platform's images.
#include "editor/bitmap.h"

#include "editor/draw_context.h"
#include "editor/draw_surface.h"
#include "editor/graphics_library.h"
#include "editor/platform.h"

#include <cmath>

namespace vrn
{

namespace
{
// `path` with `suffix` before the extension of its file name ("a/knob.png" → "a/knob@2x.png").
std::string VariantPath(const std::string& path, const char* suffix)
{
    const std::size_t name = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (name != std::string::npos && dot < name))
        return path + suffix;
    return path.substr(0, dot) + suffix + path.substr(dot);
}
} // namespace

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

CBitmap::CBitmap(double bitmapWidth, double bitmapHeight, double pixelDensity)
    : density(pixelDensity > 0.0 ? pixelDensity : 1.0)
{
    GDIPlusGlobals::enter();
    image = editor_platform::CreateEmptyBitmap(static_cast<int>(bitmapWidth * density),
                                               static_cast<int>(bitmapHeight * density));
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
    if (!image)
        return;
    editor_platform::BitmapSize(*image, width, height);
    width /= density;
    height /= density;
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
    freeVariants();
    if (!image)
        return;
    editor_platform::DestroyBitmap(image);
    image = nullptr;
    noAlpha = false;
}

void CBitmap::freeVariants()
{
    for (LoadedVariant& variant : variants)
    {
        editor_platform::DestroyBitmap(variant.image);
        variant = LoadedVariant{};
    }
}

void CBitmap::setVariantFile(const std::string& path)
{
    freeVariants();
    variantFile = path;
}

PlatformBitmap* CBitmap::imageForScale(double scale, double& imageDensity)
{
    imageDensity = density;
    if (!image)
        return nullptr;
    if (scale <= density)
        return image;
    for (std::size_t i = 0; i < kPictureVariants.size(); ++i)
    {
        if (kPictureVariants[i].density < scale)
            continue;
        LoadedVariant& variant = variants[i];
        if (!variant.tried)
        {
            variant.image = loadVariant(i);
            variant.tried = true;
        }
        if (variant.image)
        {
            imageDensity = kPictureVariants[i].density;
            return variant.image;
        }
    }
    return image;
}

PlatformBitmap* CBitmap::loadVariant(std::size_t index) const
{
    const PictureVariant& wanted = kPictureVariants[index];
    PlatformBitmap* loaded = nullptr;
    if (resourceDescription.kind == CResourceDescription::kIntegerType)
    {
        const int id = resourceDescription.id + wanted.resourceOffset;
        if (id <= 0xFFFF)
            loaded = editor_platform::LoadResourceBitmap(CResourceDescription::fromId(id));
    }
    else if (!variantFile.empty())
    {
        // As the picture itself: a copy, so that nothing keeps the file open.
        if (PlatformBitmap* decoded =
                editor_platform::LoadFileBitmap(VariantPath(variantFile, wanted.fileSuffix)))
        {
            loaded = editor_platform::CopyBitmap(*decoded);
            editor_platform::DestroyBitmap(decoded);
        }
    }
    if (!loaded)
        return nullptr;
    // Drawn for this picture, or it would be put where the picture's pixels go out of place.
    double loadedWidth = 0.0;
    double loadedHeight = 0.0;
    editor_platform::BitmapSize(*loaded, loadedWidth, loadedHeight);
    if (loadedWidth != std::round(width * wanted.density) ||
        loadedHeight != std::round(height * wanted.density))
    {
        editor_platform::DestroyBitmap(loaded);
        return nullptr;
    }
    return loaded;
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
    double imageDensity = 1.0;
    PlatformBitmap* drawn = imageForScale(context->getScale(), imageDensity);
    context->drawBitmap(*drawn, imageDensity, rect, offset, alpha);
}

} // namespace vrn
