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
    dropVariants();
    freePlatformFont();
}

void CFontDesc::setName(const std::string& newName)
{
    if (newName == name)
        return;
    name = newName;
    dropVariants();
    freePlatformFont();
}

void CFontDesc::setSize(double newSize)
{
    if (newSize == size)
        return;
    size = newSize;
    dropVariants();
    freePlatformFont();
}

void CFontDesc::setStyle(std::int32_t newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    dropVariants();
    freePlatformFont();
}

CFontDesc* CFontDesc::scaledVariant(double scale)
{
    if (scale == 1.0)
        return this;
    for (const auto& [variantScale, variant] : variants)
        if (variantScale == scale)
            return variant;
    auto* made = new CFontDesc(name, size * scale, style);
    // A standard font's variant lives as long as it and gives its platform font back with it
    // when the drawing library shuts down.
    made->standard = standard;
    variants.emplace_back(scale, made);
    return made;
}

void CFontDesc::dropVariants()
{
    for (const auto& variant : variants)
        variant.second->release();
    variants.clear();
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

namespace
{
bool standardFontsBuilt = false;
} // namespace

// Built on first use, given back when the library unloads (below): contexts may refer to them
// as long as the library runs, and their platform fonts are freed when the drawing library shuts
// down.
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
        standardFontsBuilt = true;
        return made;
    }();
    return fonts;
}

namespace
{
// A host may load and unload the plug-in many times (scans, projects): each unload gives the
// standard fonts back. A context still holding one (none should, once every editor is closed)
// keeps it.
struct StandardFontsRelease
{
    StandardFontsRelease() = default;
    StandardFontsRelease(const StandardFontsRelease&) = delete;
    StandardFontsRelease& operator=(const StandardFontsRelease&) = delete;
    ~StandardFontsRelease()
    {
        if (standardFontsBuilt)
            for (CFontDesc* font : StandardFonts())
                font->release();
    }
};
const StandardFontsRelease standardFontsRelease;
} // namespace

CFontDesc* StandardFont(int number)
{
    if (number < 1 || number > 8)
        return nullptr;
    return StandardFonts()[static_cast<std::size_t>(number - 1)];
}

void FreeStandardPlatformFonts()
{
    for (CFontDesc* font : StandardFonts())
    {
        font->freePlatformFont();
        for (const auto& variant : font->variants)
            variant.second->freePlatformFont();
    }
}

} // namespace vrn
