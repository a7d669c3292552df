#pragma once
// How the effect's drawing values (doubles) become what a draw context takes.

#include "editor/view_types.h"

#include <cmath>
#include <cstdint>

namespace vrn
{

/// Colour channel 0..1 → byte: × 255, 0.0001 toward the sign, truncated, clamped to 0..255
/// (0.8 → 204, 0.2 → 51; NaN → 0).
inline std::uint8_t ColorByte(double channel)
{
    const double scaled = channel * 255.0;
    const double nudged = scaled >= 0.0 ? scaled + 0.0001 : scaled - 0.0001;
    if (!(nudged > 0.0))
        return 0;
    if (nudged >= 255.0)
        return 255;
    return static_cast<std::uint8_t>(nudged);
}

/// Four channels 0..1 → a colour.
inline ViewColor ColorFromChannels(double red, double green, double blue, double alpha)
{
    return {ColorByte(red), ColorByte(green), ColorByte(blue), ColorByte(alpha)};
}

/// Coordinate → whole pixel (toward minus infinity), as the rectangle primitives use it.
inline double PixelFloor(double value)
{
    return std::floor(value);
}

} // namespace vrn
