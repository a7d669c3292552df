#pragma once
// The cost of editor frames as the host tool reports it.

#include <string>
#include <vector>

namespace vrn
{

/// Times of a run of frames, milliseconds.
struct FrameStatistics
{
    std::size_t frames = 0;
    double median = 0.0;
    double p95 = 0.0; ///< 95th percentile
    double p99 = 0.0; ///< 99th percentile
    double minimum = 0.0;
    double maximum = 0.0;
};

/// The statistics of `milliseconds` (one value per frame; none gives zeros).
FrameStatistics SummariseFrames(std::vector<double> milliseconds);

/// One line: frames, median, 95th and 99th percentile, extremes, the share of one core at 30
/// frames per second, and (when `allocations` ≥ 0) the plug-in's allocations per frame.
std::string FrameCostLine(const FrameStatistics& statistics, long allocations);

} // namespace vrn
