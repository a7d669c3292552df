// Frame cost statistics: nearest-rank percentiles over the sorted frame times.
#include "tools/vsthost/frame_statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vrn
{

namespace
{
/// The nearest-rank percentile `p` (0 … 100) of sorted `values`.
double Percentile(const std::vector<double>& values, double p)
{
    const auto rank =
        static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(values.size())));
    return values[rank == 0 ? 0 : rank - 1];
}
} // namespace

FrameStatistics SummariseFrames(std::vector<double> milliseconds)
{
    FrameStatistics s;
    if (milliseconds.empty())
        return s;
    std::sort(milliseconds.begin(), milliseconds.end());
    s.frames = milliseconds.size();
    s.median = Percentile(milliseconds, 50.0);
    s.p95 = Percentile(milliseconds, 95.0);
    s.p99 = Percentile(milliseconds, 99.0);
    s.minimum = milliseconds.front();
    s.maximum = milliseconds.back();
    return s;
}

std::string FrameCostLine(const FrameStatistics& s, long allocations)
{
    char line[256];
    std::snprintf(line, sizeof line,
                  "paint: %zu frames, %.3f ms median, %.3f ms 95th percentile, %.3f ms 99th "
                  "percentile (min %.3f, max %.3f), %.1f %% of one core at 30 frames per second",
                  s.frames, s.median, s.p95, s.p99, s.minimum, s.maximum, s.median * 30.0 / 10.0);
    std::string text = line;
    if (allocations >= 0 && s.frames > 0)
    {
        std::snprintf(line, sizeof line, ", %.2f allocations per frame",
                      static_cast<double>(allocations) / static_cast<double>(s.frames));
        text += line;
    }
    return text;
}

} // namespace vrn
