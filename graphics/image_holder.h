#pragma once
// The image holder of the graphics bridge: one owned bitmap reference, empty or set, and the
// bridge functions that fill, measure and free it.

#include "editor/base_object.h"
#include "editor/bitmap.h"

#include <cstdint>
#include <string>

namespace vrn
{

/// Holds at most one CBitmap reference and drops it when cleared or destroyed (UI thread).
class ImageHolder
{
public:
    ImageHolder() = default;
    ImageHolder(const ImageHolder&) = delete;
    ImageHolder& operator=(const ImageHolder&) = delete;
    ~ImageHolder() = default;

    /// The bitmap, or null while empty.
    CBitmap* bitmap() const { return held.get(); }
    /// Takes over one reference the caller holds (null empties the holder).
    void adopt(CBitmap* bitmap) { held = SharedPointer<CBitmap>::adopt(bitmap); }
    /// Drops the bitmap reference.
    void clear() { held.reset(); }

private:
    SharedPointer<CBitmap> held;
};

// Bridge functions: 1 = done, 0 = failed (no holder, no image).

/// A new empty holder (the caller frees it with gfxImageFree).
ImageHolder* gfxImageNew();
/// Drops the holder's bitmap and the holder itself; 0 for a null holder.
int gfxImageFree(ImageHolder* holder);
/// Replaces the holder's bitmap by the image file at `path` (UTF-8); 0 when it cannot be read.
int gfxImageFromFile(ImageHolder* holder, const std::string& path);
/// Replaces the holder's bitmap by module resource `id` of type "DATA"; 0 (holder left empty)
/// when that yields no image with a positive size.
int gfxImageFromResourceId(ImageHolder* holder, std::int32_t id);
/// The same with a resource name.
int gfxImageFromResourceName(ImageHolder* holder, const std::string& name);
/// Size of the holder's bitmap in whole pixels; 0 for an empty holder.
std::int32_t gfxImageWidth(const ImageHolder* holder);
std::int32_t gfxImageHeight(const ImageHolder* holder);

} // namespace vrn
