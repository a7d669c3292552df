// Bitmaps and fonts with cairo: PNG images decoded from the library's embedded resources or from
// files, empty ARGB surfaces and ARGB copies. cairo needs no start-up.
#include "editor/bitmap.h"
#include "editor/platform.h"

#include "editor/x11/cairo_surface.h"
#include "editor/x11/embedded_resources.h"
#include "editor/x11/platform_objects.h"

#include <cstring>

namespace vrn::editor_platform
{

namespace
{
// Takes an image surface cairo made; null (and the surface freed) when making it failed.
PlatformBitmap* Wrap(cairo_surface_t* surface)
{
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return new PlatformBitmap{surface};
}

// Reads an embedded file for cairo's PNG decoder.
struct MemoryReader
{
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;

    static cairo_status_t Read(void* closure, unsigned char* out, unsigned int length)
    {
        auto* reader = static_cast<MemoryReader*>(closure);
        if (length > reader->size - reader->position)
            return CAIRO_STATUS_READ_ERROR;
        std::memcpy(out, reader->data + reader->position, length);
        reader->position += length;
        return CAIRO_STATUS_SUCCESS;
    }
};
} // namespace

std::uintptr_t StartupGraphics()
{
    return 1;
}

void ShutdownGraphics(std::uintptr_t) {}

std::unique_ptr<DrawSurface> CreateBitmapSurface(PlatformBitmap* bitmap)
{
    if (!bitmap || !bitmap->surface)
        return nullptr;
    return CairoSurface::onImage(bitmap->surface);
}

PlatformBitmap* LoadResourceBitmap(const CResourceDescription& resource)
{
    // Resources are numbered only (as the pictures are on Windows); there are no named ones.
    if (resource.kind != CResourceDescription::kIntegerType)
        return nullptr;
    const EmbeddedResource* found = EmbeddedResourceTable::Find(resource.id);
    if (!found)
        return nullptr;
    // PNG decoding gives cairo's own pixel formats (ARGB32 with alpha, RGB24 without), which it
    // draws from directly: nothing is converted per frame.
    MemoryReader reader{found->data, found->size};
    return Wrap(cairo_image_surface_create_from_png_stream(&MemoryReader::Read, &reader));
}

PlatformBitmap* LoadFileBitmap(const std::string& path)
{
    if (path.empty())
        return nullptr;
    return Wrap(cairo_image_surface_create_from_png(path.c_str()));
}

PlatformBitmap* CreateEmptyBitmap(int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    return Wrap(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
}

PlatformBitmap* CopyBitmap(PlatformBitmap& source)
{
    if (!source.surface)
        return nullptr;
    const int width = cairo_image_surface_get_width(source.surface);
    const int height = cairo_image_surface_get_height(source.surface);
    PlatformBitmap* copy = CreateEmptyBitmap(width, height);
    if (!copy)
        return nullptr;
    cairo_t* cr = cairo_create(copy->surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, source.surface, 0.0, 0.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return copy;
}

void BitmapSize(PlatformBitmap& bitmap, double& width, double& height)
{
    width = bitmap.surface ? cairo_image_surface_get_width(bitmap.surface) : 0;
    height = bitmap.surface ? cairo_image_surface_get_height(bitmap.surface) : 0;
}

void DestroyBitmap(PlatformBitmap* bitmap)
{
    if (!bitmap)
        return;
    cairo_surface_destroy(bitmap->surface);
    delete bitmap;
}

void DestroyFont(PlatformFont* font)
{
    if (!font)
        return;
    cairo_scaled_font_destroy(font->font);
    delete font;
}

} // namespace vrn::editor_platform
