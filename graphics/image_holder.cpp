// The image holder and its bridge functions.
#include "graphics/image_holder.h"

#include "editor/platform.h"

namespace vrn
{

namespace
{
// Keeps `bitmap` in the holder when it holds an image of positive size, else drops it.
int KeepIfLoaded(ImageHolder& holder, CBitmap* bitmap)
{
    if (!bitmap->isLoaded() || !(bitmap->getWidth() > 0.0) || !(bitmap->getHeight() > 0.0))
    {
        bitmap->release();
        return 0;
    }
    holder.adopt(bitmap);
    return 1;
}
} // namespace

ImageHolder* gfxImageNew()
{
    return new ImageHolder;
}

int gfxImageFree(ImageHolder* holder)
{
    if (!holder)
        return 0;
    delete holder;
    return 1;
}

int gfxImageFromFile(ImageHolder* holder, const std::string& path)
{
    if (!holder)
        return 0;
    holder->clear();
    PlatformBitmap* decoded = editor_platform::LoadFileBitmap(path);
    if (!decoded)
        return 0;
    // The bitmap takes its own copy; the decoded file image is not needed afterwards. Its
    // variants for high-density screens are files beside it.
    auto* bitmap = new CBitmap(*decoded);
    editor_platform::DestroyBitmap(decoded);
    bitmap->setVariantFile(path);
    return KeepIfLoaded(*holder, bitmap);
}

int gfxImageFromResourceId(ImageHolder* holder, std::int32_t id)
{
    if (!holder)
        return 0;
    holder->clear();
    return KeepIfLoaded(*holder, new CBitmap(CResourceDescription::fromId(id)));
}

int gfxImageFromResourceName(ImageHolder* holder, const std::string& name)
{
    if (!holder)
        return 0;
    holder->clear();
    return KeepIfLoaded(*holder, new CBitmap(CResourceDescription::fromName(name)));
}

std::int32_t gfxImageWidth(const ImageHolder* holder)
{
    return holder && holder->bitmap() ? static_cast<std::int32_t>(holder->bitmap()->getWidth()) : 0;
}

std::int32_t gfxImageHeight(const ImageHolder* holder)
{
    return holder && holder->bitmap() ? static_cast<std::int32_t>(holder->bitmap()->getHeight())
                                      : 0;
}

} // namespace vrn
