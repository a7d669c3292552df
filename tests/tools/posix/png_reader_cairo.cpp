// Reading a PNG file's pixels with cairo (Linux test helpers).
#include "tests/tools/png_reader.h"

#include <cairo.h>

#include <cstring>

namespace vrn
{

bool ReadPng(const char* path, int& width, int& height, std::vector<std::uint32_t>& pixels)
{
    cairo_surface_t* image = cairo_image_surface_create_from_png(path);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(image);
        return false;
    }
    cairo_surface_flush(image);
    width = cairo_image_surface_get_width(image);
    height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y)
    {
        // The pictures compared here are opaque: cairo's premultiplied words are the colours.
        std::memcpy(&pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)],
                    data + static_cast<std::ptrdiff_t>(y) * stride,
                    static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    }
    for (std::uint32_t& pixel : pixels)
        pixel &= 0xFFFFFFu;
    cairo_surface_destroy(image);
    return true;
}

} // namespace vrn
