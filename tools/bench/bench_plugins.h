#pragma once
// The plug-ins of a gate_bench run: opened side by side, set up as the command line says, and
// what was measured of each.

#include "tools/bench/bench_options.h"
#include "tools/hosting/host_session.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vrn
{

/// What a plug-in made of the signal, from one untimed pass.
struct OutputCheck
{
    double inputEnergy[4] = {};      ///< by SignalPhase of the input
    double outputEnergy[4] = {};     ///< by SignalPhase of the input the output frame answers
    std::vector<double> segmentPeak; ///< largest |output| per segment
    std::uint64_t subnormals = 0;    ///< subnormal output samples
    std::uint64_t nonFinite = 0;     ///< NaN or infinite output samples
};

/// A plug-in given on the command line, measured or skipped.
struct BenchPlugin
{
    std::size_t index = 0;                    ///< position on the command line, from 0
    std::string path;                         ///< as given
    std::string label;                        ///< name in the tables
    std::unique_ptr<HostSession> session;     ///< the open instance; null when it did not open
    std::string skipped;                      ///< why it is not measured; empty while it is
    std::vector<std::string> applied;         ///< "name = display" of each setting made
    std::vector<std::vector<double>> roundNs; ///< [segment][round], ns per frame
    OutputCheck check;                        ///< from the checked pass

    /// True while the plug-in is open and has not been given up.
    [[nodiscard]] bool Measured() const { return session != nullptr && skipped.empty(); }

    /// Readies the next block: copies `frames` frames of `left` and `right` into the first two
    /// inputs, silence into any others, and zeroes the outputs. False with `error` when the
    /// plug-in has changed to a shape it cannot be driven with any more.
    [[nodiscard]] bool LoadBlock(const float* left, const float* right, int32 frames,
                                 std::string& error);

    /// Output channel 0 (left) or 1 (right) of the last processed block.
    const float* Output(int channel) const
    {
        return session->FloatBuffers().Output(static_cast<std::size_t>(channel));
    }
};

/// Opens every plug-in of `options` at kBenchSampleRate with `blockSize`-frame blocks; a
/// plug-in that cannot be opened, or is not stereo, is kept as skipped.
std::vector<BenchPlugin> OpenPlugins(const BenchOptions& options, int32 blockSize);

/// Makes the parameter settings of `options`, noting each on its plug-in; false with `error`
/// for a setting that cannot be made.
[[nodiscard]] bool ApplySettings(const BenchOptions& options, std::vector<BenchPlugin>& plugins,
                                 std::string& error);

/// Sets parameter `index` to the normalised value whose display reads closest to `target`
/// (in the parameter's own unit), assuming the display is monotonic over 0..1. False with
/// `error` when the display is not a number or does not change; `note` tells when the target
/// lies outside the range and the nearer end was taken.
[[nodiscard]] bool SetParameterByDisplay(HostSession& session, int32 index, double target,
                                         std::string& note, std::string& error);

} // namespace vrn
