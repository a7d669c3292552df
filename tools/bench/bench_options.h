#pragma once
// gate_bench's command line: what to measure, how, and how to print it.

#include "host/vst2_abi.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace vrn
{

/// Sample rate every plug-in is opened at (Hz).
constexpr double kBenchSampleRate = 48000.0;

/// Block size when none is given (frames).
constexpr int32 kBenchDefaultBlock = 512;

/// What a run does.
enum class BenchMode
{
    Time,   ///< timed rounds, plug-ins taking turns
    Count,  ///< one pass per plug-in counted under callgrind
    Report, ///< read the dumps of a Count run and print their table
};

/// One --set or --set-display, applied in command-line order.
struct ParameterSetting
{
    std::size_t plugin = 0; ///< position of the plug-in on the command line, from 0
    std::string key;        ///< parameter index or name
    double value = 0.0;     ///< normalised 0..1, or as displayed
    bool byDisplay = false; ///< true: `value` is what the display shows
};

/// Everything the command line asks for.
struct BenchOptions
{
    BenchMode mode = BenchMode::Time;
    bool silentTail = false;                       ///< the silent-tail signal, else the gating one
    double seconds = 4.0;                          ///< length of the gating signal (s)
    double silence = 10.0;                         ///< silence of the silent-tail signal (s, >= 2)
    int rounds = 15;                               ///< timed rounds
    int warmup = 2;                                ///< untimed passes per plug-in first
    bool tsv = false;                              ///< also print tab-separated result lines
    std::vector<int32> blocks{kBenchDefaultBlock}; ///< block sizes measured, in order (frames)
    std::string title;                             ///< heading of the tables
    std::vector<std::string> files;                ///< plug-ins, or dumps for the report
    std::map<std::size_t, std::string> names;      ///< table labels by plug-in position
    std::vector<ParameterSetting> settings;        ///< parameter settings in order
};

/// The usage text.
extern const char kBenchUsage[];

/// Reads the command line into `options`; `help` becomes true for --help. False with `error`
/// on anything it cannot use.
[[nodiscard]] bool ParseBenchOptions(int argc, char** argv, BenchOptions& options, bool& help,
                                     std::string& error);

/// Plug-in text as a label: printable, and without the '|' that separates dump name fields.
std::string BenchLabel(const std::string& text);

} // namespace vrn
