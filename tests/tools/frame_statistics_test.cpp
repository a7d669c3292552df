// The editor benchmark's statistics.
#include "tools/vsthost/frame_statistics.h"

#include <gtest/gtest.h>

namespace vrn
{
namespace
{

TEST(FrameStatistics, NearestRankPercentilesOfAnyOrder)
{
    std::vector<double> times;
    for (int i = 100; i >= 1; --i)
        times.push_back(i);
    const FrameStatistics s = SummariseFrames(times);
    EXPECT_EQ(s.frames, 100u);
    EXPECT_EQ(s.median, 50.0);
    EXPECT_EQ(s.p95, 95.0);
    EXPECT_EQ(s.p99, 99.0);
    EXPECT_EQ(s.minimum, 1.0);
    EXPECT_EQ(s.maximum, 100.0);
    // Few frames: the slowest of three is the 99th percentile, not past the end.
    EXPECT_EQ(SummariseFrames({0.2, 0.9, 0.1}).p99, 0.9);
    EXPECT_EQ(SummariseFrames({}).frames, 0u);
}

TEST(FrameStatistics, TheLineSaysAllocationsPerFrameOnlyWhenCounted)
{
    const FrameStatistics s = SummariseFrames({0.25, 0.5});
    EXPECT_EQ(FrameCostLine(s, 3),
              "paint: 2 frames, 0.250 ms median, 0.500 ms 95th percentile, 0.500 ms 99th "
              "percentile (min 0.250, max 0.500), 0.8 % of one core at 30 frames per second, "
              "1.50 allocations per frame");
    EXPECT_EQ(FrameCostLine(s, -1).find("allocations"), std::string::npos);
}

} // namespace
} // namespace vrn
