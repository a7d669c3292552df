#pragma once
// Font slots of the effect: what a slot holds, the size rule and the style letters.

#include <cstdint>
#include <string>

namespace vrn
{

/// One font slot: face, pixel size and style bits (1 bold, 2 italic, 4 underline).
struct FontSlot
{
    std::string face;
    double size = 1.0; ///< pixels, at least 1
    std::int32_t style = 0;
};

/// What a requested font size means: the pixel size and the line height of text.
struct FontSize
{
    double pixels = 0.0;     ///< font size given to the context
    double textHeight = 0.0; ///< line height, pixels
};

/// The size rule: a negative size is pixels (the line is a little taller), a positive one is
/// the line height (the font a little smaller), 0 means 16 pixels.
inline FontSize FontSizeRule(double size)
{
    if (size < 0.0)
        return {-size, -size / 0.85};
    if (size > 0.0)
    {
        const double pixels = size * 0.85;
        return {pixels, pixels / 0.85};
    }
    return {16.0, 16.0 / 0.85};
}

/// Style bits from letters packed into an integer, lowest byte first: "b" bold, "i" italic,
/// "u" underline (98, the letter "b", is bold; 0x6269, "i" then "b", bold italic).
inline std::int32_t FontStyleFromLetters(std::int32_t letters)
{
    const auto packed = static_cast<std::uint32_t>(letters);
    std::int32_t style = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        const auto letter = static_cast<char>((packed >> shift) & 0xFFu);
        if (letter == 'b')
            style |= 1;
        else if (letter == 'i')
            style |= 2;
        else if (letter == 'u')
            style |= 4;
    }
    return style;
}

} // namespace vrn
