#pragma once
// A font description (face, pixel size, style) with its lazily made platform font.

#include "editor/base_object.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vrn
{

struct PlatformFont;

/// Style bits of a font.
constexpr std::int32_t kBoldFace = 0x1;
constexpr std::int32_t kItalicFace = 0x2;
constexpr std::int32_t kUnderlineFace = 0x4;

/// Face name, size in pixels and style bits. The platform font is made on first use by a
/// drawing surface and dropped whenever the description changes.
class CFontDesc : public CBaseObject
{
public:
    /// `size` in pixels; `style` a combination of kBoldFace, kItalicFace, kUnderlineFace.
    CFontDesc(const std::string& name, double size, std::int32_t style = 0);
    ~CFontDesc() override;

    const std::string& getName() const { return name; }
    double getSize() const { return size; }
    std::int32_t getStyle() const { return style; }
    void setName(const std::string& newName);
    void setSize(double newSize);
    void setStyle(std::int32_t newStyle);

    /// This description at `scale` times its size (a window's pixels on a high-density
    /// screen): made on first use and kept with this one until it changes, so that drawing at a
    /// scale makes no description per frame. This description itself at scale 1.
    CFontDesc* scaledVariant(double scale);

    /// The platform font made for this description, or null (back ends only).
    PlatformFont* platformFont() const { return cachedFont; }
    /// Keeps `font` (owned from now on) as this description's platform font (back ends only).
    void setPlatformFont(PlatformFont* font);
    /// Drops the platform font, if any.
    void freePlatformFont();

private:
    friend std::array<CFontDesc*, 8>& StandardFonts(); // marks the standard fonts
    friend void FreeStandardPlatformFonts();

    /// Releases the scaled variants (the description changed).
    void dropVariants();

    std::string name;
    double size;
    std::int32_t style;
    PlatformFont* cachedFont = nullptr;
    bool standard = false; ///< one of the eight standard fonts, or a scaled variant of one
    std::vector<std::pair<double, CFontDesc*>> variants; ///< by scale, one reference each
};

/// The eight standard fonts, numbered 1 to 8 (1: "Arial" 12 px, every context's default font;
/// 8: "Symbol" 13 px). They live as long as the library. Null outside 1..8.
CFontDesc* StandardFont(int number);

/// Drops the platform fonts of the standard fonts (when the drawing library shuts down).
void FreeStandardPlatformFonts();

} // namespace vrn
