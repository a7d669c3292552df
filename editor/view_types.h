#pragma once
// Geometry, colour and input types shared by the view tree, the draw contexts and the window.

#include <cstdint>

namespace vrn
{

/// A point in pixels, x to the right, y downward.
struct ViewPoint
{
    double h = 0.0; ///< x, pixels
    double v = 0.0; ///< y, pixels

    ViewPoint offset(double dh, double dv) const { return {h + dh, v + dv}; }
    bool operator==(const ViewPoint& o) const { return h == o.h && v == o.v; }
    bool operator!=(const ViewPoint& o) const { return !(*this == o); }
};

/// A rectangle in pixels. Empty when its width or height is not positive.
struct ViewRect
{
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;

    double width() const { return right - left; }
    double height() const { return bottom - top; }
    bool isEmpty() const { return width() <= 0.0 || height() <= 0.0; }
    /// All four edges count as inside.
    bool contains(ViewPoint p) const
    {
        return left <= p.h && p.h <= right && top <= p.v && p.v <= bottom;
    }
    /// Touching edges count as overlap.
    bool overlaps(const ViewRect& o) const
    {
        return !(o.right < left || o.left > right || o.bottom < top || o.top > bottom);
    }
    /// This rectangle bounded by `o`: larger left/top, smaller right/bottom.
    ViewRect boundedBy(const ViewRect& o) const
    {
        return {left > o.left ? left : o.left, top > o.top ? top : o.top,
                right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
    }
    ViewRect offset(double dh, double dv) const
    {
        return {left + dh, top + dv, right + dh, bottom + dv};
    }
    bool operator==(const ViewRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const ViewRect& o) const { return !(*this == o); }
};

/// A colour, 8 bits per channel; as one 32-bit word red is the lowest byte.
struct ViewColor
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;

    std::uint32_t packed() const
    {
        return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
               static_cast<std::uint32_t>(blue) << 16 | static_cast<std::uint32_t>(alpha) << 24;
    }
    /// The 32-bit ARGB word of the drawing library: alpha high, then red, green, blue.
    std::uint32_t argb() const
    {
        return static_cast<std::uint32_t>(alpha) << 24 | static_cast<std::uint32_t>(red) << 16 |
               static_cast<std::uint32_t>(green) << 8 | static_cast<std::uint32_t>(blue);
    }
    bool operator==(const ViewColor& o) const { return packed() == o.packed(); }
    bool operator!=(const ViewColor& o) const { return !(*this == o); }
};

constexpr ViewColor kWhiteColor{255, 255, 255, 255};
constexpr ViewColor kBlackColor{0, 0, 0, 255};

/// Mouse buttons and modifier keys held during a mouse event (a bit set).
using ButtonState = std::int32_t;
constexpr ButtonState kLButton = 0x2;
constexpr ButtonState kMButton = 0x4;
constexpr ButtonState kRButton = 0x8;
constexpr ButtonState kShift = 0x10;
constexpr ButtonState kControl = 0x20;
constexpr ButtonState kAlt = 0x40;
constexpr ButtonState kButton4 = 0x100;
constexpr ButtonState kButton5 = 0x200;
constexpr ButtonState kDoubleClick = 0x400;

/// Wheel axes.
enum CMouseWheelAxis : std::int32_t
{
    kMouseWheelHorizontal = 0,
    kMouseWheelVertical = 1,
};

/// What a mouse handler answers.
enum MouseResult : std::int32_t
{
    kMouseEventNotImplemented = 0,
    kMouseEventHandled = 1,
    kMouseEventNotHandled = 2,
};

/// Cursor shapes the frame can show (CFrame::setCursorShape).
enum CCursorType : std::int32_t
{
    kCursorDefault = 0,    ///< the cursor shown before the first change
    kCursorWait = 1,       ///< busy
    kCursorHSize = 2,      ///< west-east arrows
    kCursorVSize = 3,      ///< north-south arrows
    kCursorSizeAll = 4,    ///< four arrows
    kCursorNESWSize = 5,   ///< north-east/south-west arrows
    kCursorNWSESize = 6,   ///< north-west/south-east arrows
    kCursorCopy = 7,       ///< shown as the default cursor
    kCursorNotAllowed = 8, ///< slashed circle
    kCursorHand = 9,       ///< pointing hand
};

/// A key as the host reports it: character, virtual key and modifier bits (shift 0x1).
struct KeyCode
{
    std::int32_t character = 0;
    std::uint8_t virt = 0;
    std::uint8_t modifier = 0;
};

} // namespace vrn
