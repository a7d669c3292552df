// Helpers of the Windows drawing tests.
#include "drawing_support.h"

#include "editor/graphics_library.h"
#include "editor/win32/platform_objects.h"

#include <algorithm>

namespace vrn::test
{

void DrawingTest::SetUp()
{
    GDIPlusGlobals::enter();
}

void DrawingTest::TearDown()
{
    GDIPlusGlobals::leave();
}

Offscreen MakeOffscreen(int width, int height)
{
    return Offscreen::adopt(new COffscreenContext(nullptr, width, height, kBlackColor));
}

std::uint32_t Pixel(const CBitmap& bitmap, int x, int y)
{
    gdip::ARGB value = 0;
    if (!bitmap.platformBitmap() ||
        gdip::GdipBitmapGetPixel(bitmap.platformBitmap()->bitmap, x, y, &value) != gdip::Ok)
    {
        ADD_FAILURE() << "no pixel at " << x << ", " << y;
        return 0xDEADBEEFu;
    }
    return value;
}

std::uint32_t Pixel(const Offscreen& context, int x, int y)
{
    return Pixel(*context->getBitmap(), x, y);
}

InkBox FindInk(const Offscreen& context, std::uint32_t background)
{
    InkBox box;
    const int width = static_cast<int>(context->getWidth());
    const int height = static_cast<int>(context->getHeight());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            if (Pixel(context, x, y) == background)
                continue;
            if (!box.found)
                box = {true, x, y, x, y};
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    return box;
}

bool InkNear(const Offscreen& context, int x, int y, int radius, std::uint32_t background)
{
    const int width = static_cast<int>(context->getWidth());
    const int height = static_cast<int>(context->getHeight());
    for (int v = y - radius; v <= y + radius; ++v)
        for (int h = x - radius; h <= x + radius; ++h)
            if (h >= 0 && v >= 0 && h < width && v < height && Pixel(context, h, v) != background)
                return true;
    return false;
}

} // namespace vrn::test
