// Font descriptions and the standard fonts.
#include "editor/font_desc.h"

#include "editor/graphics_library.h"
#include "editor/platform.h"

#include <array>

namespace vrn
{

CFontDesc::CFontDesc(const std::string& faceName, double sizePixels, std::int32_t styleBits)
    : name(faceName), size(sizePixels), style(styleBits)
{
}

CFontDesc::~CFontDesc()
{
    freePlatformFont();
}

void CFontDesc::setName(const std::string& newName)
{
    if (newName == name)
        return;
    name = newName;
    freePlatformFont();
}

void CFontDesc::setSize(double newSize)
{
    if (newSize == size)
        return;
    size = newSize;
    freePlatformFont();
}

void CFontDesc::setStyle(std::int32_t newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    freePlatformFont();
}

void CFontDesc::setPlatformFont(PlatformFont* font)
{
    if (font == cachedFont)
        return;
    freePlatformFont();
    cachedFont = font;
    // A platform font must go before the drawing library shuts down: hold it running. The
    // standard fonts are the exception; the shut-down frees theirs.
    if (cachedFont && !standard)
        GDIPlusGlobals::enter();
}

void CFontDesc::freePlatformFont()
{
    if (!cachedFont)
        return;
    editor_platform::DestroyFont(cachedFont);
    cachedFont = nullptr;
    if (!standard)
        GDIPlusGlobals::leave();
}

// Built on first use and never destroyed: contexts may still refer to them while the library
// unloads, and their platform fonts are freed when the drawing library shuts down.
std::array<CFontDesc*, 8>& StandardFonts()
{
    static std::array<CFontDesc*, 8> fonts = []
    {
        std::array<CFontDesc*, 8> made{new CFontDesc("Arial", 12), new CFontDesc("Arial", 18),
                                       new CFontDesc("Arial", 14), new CFontDesc("Arial", 12),
                                       new CFontDesc("Arial", 11), new CFontDesc("Arial", 10),
                                       new CFontDesc("Arial", 9),  new CFontDesc("Symbol", 13)};
        for (CFontDesc* font : made)
            font->standard = true;
        return made;
    }();
    return fonts;
}

CFontDesc* StandardFont(int number)
{
    if (number < 1 || number > 8)
        return nullptr;
    return StandardFonts()[static_cast<std::size_t>(number - 1)];
}

void FreeStandardPlatformFonts()
{
    for (CFontDesc* font : StandardFonts())
        font->freePlatformFont();
}

} // namespace vrn
