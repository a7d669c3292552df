#pragma once
// A rectangle of whole pixels, as the pixel-buffer code (drawing memo, X11 damage) uses them.

#include <algorithm>

namespace vrn
{

/// A rectangle of pixels, right and bottom exclusive; empty when it holds no pixel.
struct PixelBox
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }

    /// The part of this box inside `other`.
    PixelBox within(const PixelBox& other) const
    {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }
    /// This box grown by `pixels` on every side.
    PixelBox grown(int pixels) const
    {
        return {left - pixels, top - pixels, right + pixels, bottom + pixels};
    }
    /// The smallest box holding this one and `other`; an empty box adds nothing.
    PixelBox joined(const PixelBox& other) const
    {
        if (other.empty())
            return *this;
        if (empty())
            return other;
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
};

} // namespace vrn
