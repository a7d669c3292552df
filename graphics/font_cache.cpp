// The wrapper's font cache.
#include "graphics/font_cache.h"

#include "editor/font_desc.h"

#include <cctype>

namespace vrn
{

namespace
{
bool SameFace(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
} // namespace

FontCache::~FontCache()
{
    for (CFontDesc* font : variants)
        font->release();
    for (CFontDesc* font : fonts)
        font->release();
}

CFontDesc* FontCache::Find(const std::string& face)
{
    for (auto it = fonts.rbegin(); it != fonts.rend(); ++it)
        if (SameFace((*it)->getName(), face))
            return *it;
    fonts.push_back(new CFontDesc(face, 0));
    return fonts.back();
}

CFontDesc* FontCache::Variant(CFontDesc* face, double size, std::int32_t style)
{
    const double wantedSize = size <= 0 ? face->getSize() : size;
    const std::int32_t wantedStyle = style == -1 ? face->getStyle() : style;
    if (wantedSize == face->getSize() && wantedStyle == face->getStyle())
        return face;
    for (CFontDesc* variant : variants)
        if (variant->getName() == face->getName() && variant->getSize() == wantedSize &&
            variant->getStyle() == wantedStyle)
            return variant;
    variants.push_back(new CFontDesc(face->getName(), wantedSize, wantedStyle));
    return variants.back();
}

} // namespace vrn
