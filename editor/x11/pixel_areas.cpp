// The parts of a new frame that differ from the one the window shows.
#include "editor/x11/pixel_areas.h"

#include <cstddef>
#include <cstring>

namespace vrn::editor_platform
{

void FindChangedAreas(const std::uint32_t* now, const std::uint32_t* before, int stride,
                      const PixelBox& area, std::vector<PixelBox>& changed)
{
    changed.clear();
    if (area.empty())
        return;
    const auto width = static_cast<std::size_t>(area.width());
    PixelBox run; // the rows changed so far in a row of rows
    for (int y = area.top; y < area.bottom; ++y)
    {
        const std::ptrdiff_t start = static_cast<std::ptrdiff_t>(y) * stride + area.left;
        const std::uint32_t* a = now + start;
        const std::uint32_t* b = before + start;
        if (std::memcmp(a, b, width * sizeof(std::uint32_t)) == 0)
        {
            if (!run.empty())
                changed.push_back(run);
            run = PixelBox{};
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
        run = run.joined({l, y, r, y + 1});
    }
    if (!run.empty())
        changed.push_back(run);
    if (changed.size() <= kMostChangedAreas)
        return;
    PixelBox all;
    for (const PixelBox& part : changed)
        all = all.joined(part);
    changed.assign(1, all);
}

} // namespace vrn::editor_platform
