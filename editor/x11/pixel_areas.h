#pragma once
// The parts of a new frame that differ from the one the window shows: only those travel to the
// X server.

#include "editor/pixel_box.h"

#include <cstdint>
#include <vector>

namespace vrn::editor_platform
{

/// Most rectangles FindChangedAreas answers: more are joined into one (each is one request to
/// the server).
constexpr std::size_t kMostChangedAreas = 16;

/// The parts of `area` where the frame `now` differs from `before` (32-bit pixels, `stride`
/// pixels a row, both alike in layout) into `changed`, which is emptied first: each run of
/// consecutive rows holding a difference becomes one rectangle, from its leftmost to its
/// rightmost differing pixel. Allocates only when `changed` must grow past what it held before.
void FindChangedAreas(const std::uint32_t* now, const std::uint32_t* before, int stride,
                      const PixelBox& area, std::vector<PixelBox>& changed);

} // namespace vrn::editor_platform
