// Rectangles of window pixels.
#include "editor/x11/pixel_areas.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace vrn::editor_platform
{

void PixelArea::add(int l, int t, int r, int b, int width, int height)
{
    l = std::max(l, 0);
    t = std::max(t, 0);
    r = std::min(r, width);
    b = std::min(b, height);
    if (r <= l || b <= t)
        return;
    if (isEmpty())
    {
        *this = PixelArea{l, t, r, b};
        return;
    }
    left = std::min(left, l);
    top = std::min(top, t);
    right = std::max(right, r);
    bottom = std::max(bottom, b);
}

void FindChangedAreas(const std::uint32_t* now, const std::uint32_t* before, int stride,
                      const PixelArea& area, std::vector<PixelArea>& changed)
{
    changed.clear();
    if (area.isEmpty())
        return;
    const auto width = static_cast<std::size_t>(area.width());
    PixelArea run; // the rows changed so far in a row of rows
    for (int y = area.top; y < area.bottom; ++y)
    {
        const std::ptrdiff_t start = static_cast<std::ptrdiff_t>(y) * stride + area.left;
        const std::uint32_t* a = now + start;
        const std::uint32_t* b = before + start;
        if (std::memcmp(a, b, width * sizeof(std::uint32_t)) == 0)
        {
            if (!run.isEmpty())
                changed.push_back(run);
            run = PixelArea{};
            continue;
        }
        std::size_t first = 0;
        while (a[first] == b[first])
            ++first;
        std::size_t last = width - 1;
        while (a[last] == b[last])
            --last;
        const int l = area.left + static_cast<int>(first);
        const int r = area.left + static_cast<int>(last) + 1;
        if (run.isEmpty())
            run = PixelArea{l, y, r, y + 1};
        else
            run = PixelArea{std::min(run.left, l), run.top, std::max(run.right, r), y + 1};
    }
    if (!run.isEmpty())
        changed.push_back(run);
    if (changed.size() <= kMostChangedAreas)
        return;
    PixelArea all = changed.front();
    for (const PixelArea& part : changed)
        all = PixelArea{std::min(all.left, part.left), std::min(all.top, part.top),
                        std::max(all.right, part.right), std::max(all.bottom, part.bottom)};
    changed.assign(1, all);
}

} // namespace vrn::editor_platform
