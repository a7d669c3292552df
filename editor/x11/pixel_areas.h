#pragma once
// Rectangles of window pixels: the area waiting to be painted, and the parts of a new frame
// that differ from the one the window shows (only those travel to the X server).

#include <cstdint>
#include <vector>

namespace vrn::editor_platform
{

/// A rectangle of window pixels (right and bottom exclusive); empty when it has no pixel.
struct PixelArea
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool isEmpty() const { return right <= left || bottom <= top; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    /// Grows to hold the rectangle as well, bounded by `width` × `height`.
    void add(int l, int t, int r, int b, int width, int height);
};

/// Most rectangles FindChangedAreas answers: more are joined into one (each is one request to
/// the server).
constexpr std::size_t kMostChangedAreas = 16;

/// The parts of `area` where the frame `now` differs from `before` (32-bit pixels, `stride`
/// pixels a row, both alike in layout) into `changed`, which is emptied first: each run of
/// consecutive rows holding a difference becomes one rectangle, from its leftmost to its
/// rightmost differing pixel. Allocates only when `changed` must grow past what it held before.
void FindChangedAreas(const std::uint32_t* now, const std::uint32_t* before, int stride,
                      const PixelArea& area, std::vector<PixelArea>& changed);

} // namespace vrn::editor_platform
