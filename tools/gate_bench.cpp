// gate_bench: the processing cost of VST2 plug-ins per stereo frame, side by side in one process:
// timed rounds that alternate between the plug-ins, or instruction counts under callgrind.
#include "tools/gate_bench_plugin.h"
#include "tools/gate_bench_signal.h"
#include "tools/instruction_counter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vrn
{
namespace
{

constexpr double kSampleRate = 48000.0;
constexpr int32 kBlockSize = 512;

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;   // bad command line or a setting that cannot be applied
constexpr int kExitNothing = 2; // no plug-in could be measured, or no dump could be read

// Callgrind dump names: prefix|plug-in|segment index|frames|segment name|label.
constexpr char kDumpPrefix[] = "gate_bench";
constexpr char kDumpTrigger[] = "desc: Trigger: Client Request: ";

constexpr char kUsage[] =
    "usage: gate_bench [options] PLUGIN...\n"
    "       gate_bench --callgrind-report [--title TEXT] DUMP...\n"
    "Processes one test signal through every PLUGIN (48000 Hz, 512-frame blocks, float\n"
    "processReplacing, separate input and output buffers) and prints the cost per stereo frame;\n"
    "the first plug-in is the reference of the ratios. I below is a PLUGIN's position, from 0.\n"
    "options:\n"
    "  --signal gating|silent-tail  bursts over a noise floor (default), or one burst and silence\n"
    "  --seconds S                  length of the gating signal (default 4)\n"
    "  --silence S                  silence of the silent-tail signal, >= 2 (default 10)\n"
    "  --rounds N                   timed rounds, plug-ins alternating in each (default 15)\n"
    "  --warmup N                   untimed passes per plug-in first (default 2)\n"
    "  --count                      one pass per plug-in counted under callgrind instead\n"
    "                               (valgrind --tool=callgrind --collect-atstart=no)\n"
    "  --name I:TEXT                label of plug-in I in the table\n"
    "  --set I:P=X                  parameter P (index or name) of plug-in I to normalised X\n"
    "  --set-display I:P=V          parameter P of plug-in I to the value displayed as V\n"
    "  --title TEXT                 heading of the table\n"
    "  --tsv                        also print 'result' lines: index, segment, median, min,\n"
    "                               max (ns per frame), label, separated by tabs\n"
    "  --callgrind-report           read the dumps of a --count run and print the table\n";

using Clock = std::chrono::steady_clock;

// One --set or --set-display, applied in command-line order.
struct ParameterSetting
{
    std::size_t plugin = 0;
    std::string key;
    double value = 0.0;
    bool byDisplay = false;
};

enum class Mode
{
    Time,
    Count,
    Report,
};

struct Options
{
    Mode mode = Mode::Time;
    bool silentTail = false;
    double seconds = 4.0;
    double silence = 10.0;
    int rounds = 15;
    int warmup = 2;
    bool tsv = false;
    std::string title;
    std::vector<std::string> files; // plug-ins, or dumps for the report
    std::map<std::size_t, std::string> names;
    std::vector<ParameterSetting> settings;
};

// What a plug-in made of the signal, from one untimed pass.
struct OutputCheck
{
    double inputEnergy[4] = {};      // by SignalPhase of the input
    double outputEnergy[4] = {};     // by SignalPhase of the input the output frame answers
    std::vector<double> segmentPeak; // largest |output| per segment
    std::uint64_t subnormals = 0;
    std::uint64_t nonFinite = 0;
};

// A plug-in given on the command line, measured or skipped.
struct Entry
{
    std::size_t index = 0;
    std::string path;
    std::string label;
    std::unique_ptr<GateBenchPlugin> plugin;
    std::string skipped; // why it is not measured; empty while it is
    std::vector<std::string> applied;
    std::vector<std::vector<double>> roundNs; // [segment][round], ns per frame
    OutputCheck check;

    [[nodiscard]] bool Measured() const { return plugin != nullptr && skipped.empty(); }
};

// Which segment each block belongs to (by its first frame), and the frames each segment gets.
struct BlockPlan
{
    std::vector<std::size_t> blockSegment;
    std::vector<std::uint64_t> segmentFrames;
};

void PrintError(const std::string& message)
{
    std::fflush(stdout);
    std::fprintf(stderr, "gate_bench: %s\n", message.c_str());
}

std::string Format(const char* format, double value)
{
    char text[64] = {};
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Pad(const std::string& text, std::size_t width, bool right)
{
    if (text.size() >= width)
        return text;
    const std::string fill(width - text.size(), ' ');
    return right ? fill + text : text + fill;
}

// Plug-in text as one printable line.
std::string Printable(const std::string& text)
{
    std::string line = text;
    for (char& c : line)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '|')
            c = '?';
    }
    return line;
}

std::string FileStem(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

bool ParseDouble(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

bool ParseCount(const std::string& text, int low, int high, int& value)
{
    double number = 0.0;
    if (!ParseDouble(text, number) || number != std::floor(number) || number < low || number > high)
        return false;
    value = static_cast<int>(number);
    return true;
}

// "I:REST" into the plug-in position and the rest.
bool SplitIndex(const std::string& text, std::size_t& index, std::string& rest)
{
    const std::size_t colon = text.find(':');
    int number = 0;
    if (colon == std::string::npos || !ParseCount(text.substr(0, colon), 0, 999, number))
        return false;
    index = static_cast<std::size_t>(number);
    rest = text.substr(colon + 1);
    return true;
}

// "I:P=X": the value follows the last '=' so that names may hold one.
/// "bad " + option + middle + value + hint, for a command-line error.
std::string BadArgument(const std::string& option, const char* middle, const std::string& value,
                        const char* hint)
{
    std::string text = "bad ";
    text.append(option).append(middle).append(value).append(hint);
    return text;
}

bool ParseSetting(const std::string& text, bool byDisplay, ParameterSetting& setting)
{
    std::string rest;
    if (!SplitIndex(text, setting.plugin, rest))
        return false;
    const std::size_t equals = rest.find_last_of('=');
    if (equals == std::string::npos || equals == 0)
        return false;
    setting.key = rest.substr(0, equals);
    setting.byDisplay = byDisplay;
    return ParseDouble(rest.substr(equals + 1), setting.value);
}

[[nodiscard]] bool ParseOptions(int argc, char** argv, Options& options, std::string& error)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        const std::string value = hasValue ? argv[i + 1] : "";
        auto needValue = [&]()
        {
            if (!hasValue)
                error = arg + " needs a value";
            return hasValue;
        };
        if (arg == "--help" || arg == "-h")
        {
            std::fputs(kUsage, stdout);
            std::exit(kExitOk);
        }
        else if (arg == "--callgrind-report")
            options.mode = Mode::Report;
        else if (arg == "--count")
            options.mode = Mode::Count;
        else if (arg == "--tsv")
            options.tsv = true;
        else if (arg == "--signal")
        {
            if (!needValue())
                return false;
            if (value != "gating" && value != "silent-tail")
            {
                error = "unknown signal " + value + " (gating or silent-tail)";
                return false;
            }
            options.silentTail = value == "silent-tail";
            ++i;
        }
        else if (arg == "--seconds" || arg == "--silence")
        {
            if (!needValue())
                return false;
            double seconds = 0.0;
            const double least = arg == "--silence" ? 2.0 : 0.01;
            if (!ParseDouble(value, seconds) || seconds < least || seconds > 600.0)
            {
                error = BadArgument(arg, " value ", value, "");
                return false;
            }
            (arg == "--silence" ? options.silence : options.seconds) = seconds;
            ++i;
        }
        else if (arg == "--rounds" || arg == "--warmup")
        {
            if (!needValue())
                return false;
            int& target = arg == "--rounds" ? options.rounds : options.warmup;
            if (!ParseCount(value, arg == "--rounds" ? 1 : 0, 100000, target))
            {
                error = BadArgument(arg, " value ", value, "");
                return false;
            }
            ++i;
        }
        else if (arg == "--title")
        {
            if (!needValue())
                return false;
            options.title = value;
            ++i;
        }
        else if (arg == "--name")
        {
            if (!needValue())
                return false;
            std::size_t index = 0;
            std::string name;
            if (!SplitIndex(value, index, name) || name.empty())
            {
                error = "bad --name " + value + " (I:TEXT)";
                return false;
            }
            options.names[index] = Printable(name);
            ++i;
        }
        else if (arg == "--set" || arg == "--set-display")
        {
            if (!needValue())
                return false;
            ParameterSetting setting;
            if (!ParseSetting(value, arg == "--set-display", setting))
            {
                error = BadArgument(arg, " ", value, " (I:PARAMETER=VALUE)");
                return false;
            }
            options.settings.push_back(setting);
            ++i;
        }
        else if (arg.size() > 1 && arg[0] == '-' && arg.rfind("--", 0) == 0)
        {
            error = "unknown option " + arg;
            return false;
        }
        else
            options.files.push_back(arg);
    }
    if (options.files.empty())
    {
        error = options.mode == Mode::Report ? "no dump files given" : "no plug-in given";
        return false;
    }
    for (const ParameterSetting& setting : options.settings)
    {
        if (setting.plugin >= options.files.size())
        {
            error = "a setting names plug-in " + std::to_string(setting.plugin) + " of " +
                    std::to_string(options.files.size());
            return false;
        }
    }
    return true;
}

BlockPlan PlanBlocks(const TestSignal& signal)
{
    BlockPlan plan;
    plan.segmentFrames.assign(signal.segments.size(), 0);
    const auto block = static_cast<std::size_t>(kBlockSize);
    for (std::size_t start = 0; start < signal.Frames(); start += block)
    {
        std::size_t segment = 0;
        while (segment + 1 < signal.segments.size() && start >= signal.segments[segment].end)
            ++segment;
        plan.blockSegment.push_back(segment);
        plan.segmentFrames[segment] += std::min(block, signal.Frames() - start);
    }
    return plan;
}

// Runs the whole signal through the plug-in, calling `around(block, start, frames)` for each
// loaded block; `around` must call Process.
template <typename Around>
bool RunPass(Entry& entry, const TestSignal& signal, Around around)
{
    const auto block = static_cast<std::size_t>(kBlockSize);
    std::size_t number = 0;
    for (std::size_t start = 0; start < signal.Frames(); start += block, ++number)
    {
        const auto frames = static_cast<int32>(std::min(block, signal.Frames() - start));
        std::string error;
        if (!entry.plugin->LoadBlock(signal.left.data() + start, signal.right.data() + start,
                                     frames, error))
        {
            entry.skipped = "stopped while processing: " + error;
            return false;
        }
        around(number, start, frames);
    }
    return true;
}

void PlainPass(Entry& entry, const TestSignal& signal)
{
    RunPass(entry, signal,
            [&](std::size_t, std::size_t, int32 frames) { entry.plugin->Process(frames); });
}

void TimedPass(Entry& entry, const TestSignal& signal, const BlockPlan& plan)
{
    std::vector<double> ns(signal.segments.size(), 0.0);
    const bool complete =
        RunPass(entry, signal,
                [&](std::size_t number, std::size_t, int32 frames)
                {
                    const Clock::time_point start = Clock::now();
                    entry.plugin->Process(frames);
                    const Clock::time_point stop = Clock::now();
                    ns[plan.blockSegment[number]] +=
                        std::chrono::duration<double, std::nano>(stop - start).count();
                });
    if (!complete)
        return;
    entry.roundNs.resize(signal.segments.size());
    for (std::size_t s = 0; s < ns.size(); ++s)
    {
        if (plan.segmentFrames[s] > 0)
            entry.roundNs[s].push_back(ns[s] / static_cast<double>(plan.segmentFrames[s]));
    }
}

std::string DumpName(const Entry& entry, const TestSignal& signal, const BlockPlan& plan,
                     std::size_t segment)
{
    return std::string(kDumpPrefix) + "|" + std::to_string(entry.index) + "|" +
           std::to_string(segment) + "|" + std::to_string(plan.segmentFrames[segment]) + "|" +
           signal.segments[segment].name + "|" + entry.label;
}

// Counting covers the process calls only: it is toggled on and off around each of them.
void CountedPass(Entry& entry, const TestSignal& signal, const BlockPlan& plan)
{
    const std::size_t blocks = plan.blockSegment.size();
    InstructionCounterZero();
    RunPass(entry, signal,
            [&](std::size_t number, std::size_t, int32 frames)
            {
                InstructionCounterToggle();
                entry.plugin->Process(frames);
                InstructionCounterToggle();
                const std::size_t segment = plan.blockSegment[number];
                if (number + 1 == blocks || plan.blockSegment[number + 1] != segment)
                    InstructionCounterDump(DumpName(entry, signal, plan, segment).c_str());
            });
}

std::size_t SegmentOf(const TestSignal& signal, std::size_t frame)
{
    std::size_t segment = 0;
    while (segment + 1 < signal.segments.size() && frame >= signal.segments[segment].end)
        ++segment;
    return segment;
}

void CheckedPass(Entry& entry, const TestSignal& signal)
{
    OutputCheck& check = entry.check;
    check = OutputCheck{};
    check.segmentPeak.assign(signal.segments.size(), 0.0);
    const auto latency = static_cast<std::size_t>(std::max(entry.plugin->Latency(), int32{0}));
    RunPass(entry, signal,
            [&](std::size_t, std::size_t start, int32 frames)
            {
                entry.plugin->Process(frames);
                for (int channel = 0; channel < 2; ++channel)
                {
                    const float* out = entry.plugin->Output(channel);
                    const std::vector<float>& in = channel == 0 ? signal.left : signal.right;
                    for (std::size_t i = 0; i < static_cast<std::size_t>(frames); ++i)
                    {
                        const std::size_t frame = start + i;
                        if (!std::isfinite(out[i]))
                        {
                            ++check.nonFinite;
                            continue;
                        }
                        if (std::fpclassify(out[i]) == FP_SUBNORMAL)
                            ++check.subnormals;
                        const double y = static_cast<double>(out[i]);
                        double& peak = check.segmentPeak[SegmentOf(signal, frame)];
                        peak = std::max(peak, std::fabs(y));
                        // The output answers the input `latency` frames earlier.
                        if (frame < latency)
                            continue;
                        const std::size_t source = frame - latency;
                        const auto phase = static_cast<std::size_t>(signal.phases[source]);
                        const double x = static_cast<double>(in[source]);
                        check.inputEnergy[phase] += x * x;
                        check.outputEnergy[phase] += y * y;
                    }
                }
            });
}

struct Summary
{
    double median = 0.0;
    double low = 0.0;
    double high = 0.0;
};

Summary Summarise(std::vector<double> values)
{
    Summary summary;
    if (values.empty())
        return summary;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    summary.median = n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
    summary.low = values.front();
    summary.high = values.back();
    return summary;
}

std::string GainDb(double output, double input)
{
    if (input <= 0.0)
        return "-";
    if (output <= 0.0)
        return "-inf";
    return Format("%.1f", 10.0 * std::log10(output / input));
}

std::string PeakDb(double peak)
{
    return peak > 0.0 ? Format("%.1f", 20.0 * std::log10(peak)) : "-inf";
}

std::string Ratio(double value, double reference)
{
    return reference > 0.0 ? Format("%.2f", value / reference) : "-";
}

// Median over the rounds of value / reference within the same round: the two were measured a
// moment apart, so load on the machine that lasts longer than a round drops out.
double PairedRatio(const std::vector<double>& values, const std::vector<double>& references)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < values.size() && i < references.size(); ++i)
    {
        if (references[i] > 0.0)
            ratios.push_back(values[i] / references[i]);
    }
    return ratios.empty() ? -1.0 : Summarise(ratios).median;
}

std::string FormatRatio(double ratio)
{
    return ratio >= 0.0 ? Format("%.2f", ratio) : "-";
}

void OpenEntries(const Options& options, std::vector<Entry>& entries)
{
    for (std::size_t i = 0; i < options.files.size(); ++i)
    {
        Entry entry;
        entry.index = i;
        entry.path = options.files[i];
        entry.plugin = std::make_unique<GateBenchPlugin>();
        std::string error;
        if (!entry.plugin->Open(entry.path, kSampleRate, kBlockSize, error))
        {
            entry.skipped = error;
            entry.plugin.reset();
        }
        const auto name = options.names.find(i);
        if (name != options.names.end())
            entry.label = name->second;
        else if (entry.plugin != nullptr)
            entry.label = Printable(entry.plugin->EffectName());
        if (entry.label.empty())
            entry.label = FileStem(entry.path);
        entries.push_back(std::move(entry));
    }
}

[[nodiscard]] bool ApplySettings(const Options& options, std::vector<Entry>& entries,
                                 std::string& error)
{
    for (const ParameterSetting& setting : options.settings)
    {
        Entry& entry = entries[setting.plugin];
        if (!entry.Measured())
            continue;
        GateBenchPlugin& plugin = *entry.plugin;
        const int32 index = plugin.FindParameter(setting.key);
        if (index < 0)
        {
            error = entry.label + " has no parameter " + setting.key;
            return false;
        }
        if (setting.byDisplay)
        {
            std::string note;
            if (!plugin.SetParameterByDisplay(index, setting.value, note, error))
            {
                error.insert(0, entry.label + ": ");
                return false;
            }
            if (!note.empty())
                std::printf("note: %s %s: %s\n", entry.label.c_str(),
                            plugin.ParameterName(index).c_str(), note.c_str());
        }
        else
        {
            if (setting.value < 0.0 || setting.value > 1.0)
            {
                error = "normalised value " + Format("%g", setting.value) + " for " + setting.key +
                        " lies outside 0..1";
                return false;
            }
            plugin.SetParameter(index, static_cast<float>(setting.value));
        }
        std::string label = Printable(plugin.ParameterLabel(index));
        entry.applied.push_back(Printable(plugin.ParameterName(index)) + " = " +
                                Printable(plugin.ParameterDisplay(index)) +
                                (label.empty() ? "" : " " + label));
    }
    return true;
}

void PrintPlugins(const std::vector<Entry>& entries)
{
    std::printf("plug-ins:\n");
    for (const Entry& entry : entries)
    {
        if (!entry.Measured())
        {
            std::printf("  [%zu] %s: skipped, %s\n", entry.index, entry.path.c_str(),
                        entry.skipped.c_str());
            continue;
        }
        std::printf("  [%zu] %s (%s; %d in, %d out, latency %d)\n", entry.index,
                    entry.label.c_str(), entry.path.c_str(), entry.plugin->NumInputs(),
                    entry.plugin->NumOutputs(), entry.plugin->Latency());
        // Settings wrapped into lines of about 100 columns.
        std::string line;
        for (const std::string& applied : entry.applied)
        {
            if (!line.empty() && line.size() + applied.size() > 92)
            {
                std::printf("      %s;\n", line.c_str());
                line.clear();
            }
            line += (line.empty() ? "" : "; ") + applied;
        }
        std::printf("      %s\n", entry.applied.empty() ? "defaults" : line.c_str());
    }
}

std::size_t LabelWidth(const std::vector<Entry>& entries)
{
    std::size_t width = 8;
    for (const Entry& entry : entries)
        width = std::max(width, entry.label.size());
    return width + 2;
}

void PrintTimeTable(const Options& options, const TestSignal& signal, int rounds,
                    const std::vector<Entry>& entries)
{
    const Entry* reference = nullptr;
    for (const Entry& entry : entries)
    {
        if (entry.Measured() && reference == nullptr)
            reference = &entry;
    }
    if (reference == nullptr)
        return;
    const std::size_t last = signal.segments.size() - 1;
    const double frameNs = 1e9 / kSampleRate;
    const std::size_t width = LabelWidth(entries);

    std::printf("\n== %s\n", options.title.empty() ? "gate_bench" : options.title.c_str());
    std::printf("signal: %s; %.0f Hz, %d-frame blocks, float processReplacing\n",
                signal.description.c_str(), kSampleRate, kBlockSize);
    std::printf("ns per stereo frame over %d rounds (the plug-ins take turns within each round); "
                "ratio: median over the rounds of ns per frame over that of %s in the same "
                "round\n",
                rounds, reference->label.c_str());
    const std::vector<double>& ref = reference->roundNs[last];

    if (signal.segments.size() == 1)
    {
        std::printf("%s%9s%9s%9s%7s%8s%10s%10s\n", Pad("plug-in", width, false).c_str(), "median",
                    "min", "max", "ratio", "% core", "burst dB", "tails dB");
        for (const Entry& entry : entries)
        {
            if (!entry.Measured())
                continue;
            const Summary s = Summarise(entry.roundNs[0]);
            const OutputCheck& c = entry.check;
            const auto burst = static_cast<std::size_t>(SignalPhase::Burst);
            const auto floor = static_cast<std::size_t>(SignalPhase::Floor);
            std::printf("%s%9.1f%9.1f%9.1f%7s%8.2f%10s%10s\n",
                        Pad(entry.label, width, false).c_str(), s.median, s.low, s.high,
                        FormatRatio(PairedRatio(entry.roundNs[0], ref)).c_str(),
                        100.0 * s.median / frameNs,
                        GainDb(c.outputEnergy[burst], c.inputEnergy[burst]).c_str(),
                        GainDb(c.outputEnergy[floor], c.inputEnergy[floor]).c_str());
        }
        std::printf("%% core: share of one core at %.0f Hz; burst dB / tails dB: output over "
                    "input level in the bursts and in the quiet tails (gate closed), latency "
                    "compensated\n",
                    kSampleRate);
    }
    else
    {
        std::printf("%s", Pad("plug-in", width, false).c_str());
        for (const SignalSegment& segment : signal.segments)
            std::printf(
                "%s",
                Pad(segment.name, std::max<std::size_t>(segment.name.size(), 7) + 2, true).c_str());
        std::printf("%9s%9s%10s%7s%12s%11s\n", "min", "max", "slowdown", "ratio", "subnormals",
                    "peak dBFS");
        for (const Entry& entry : entries)
        {
            if (!entry.Measured())
                continue;
            std::printf("%s", Pad(entry.label, width, false).c_str());
            for (std::size_t s = 0; s < signal.segments.size(); ++s)
            {
                const std::size_t column = std::max<std::size_t>(signal.segments[s].name.size(), 7);
                std::printf(
                    "%s", Pad(Format("%.1f", Summarise(entry.roundNs[s]).median), column + 2, true)
                              .c_str());
            }
            const Summary tail = Summarise(entry.roundNs[last]);
            double slowdown = -1.0;
            for (std::size_t seg = 1; seg < signal.segments.size(); ++seg)
                slowdown = std::max(slowdown, PairedRatio(entry.roundNs[seg], entry.roundNs[0]));
            std::printf("%9.1f%9.1f%10s%7s%12llu%11s\n", tail.low, tail.high,
                        FormatRatio(slowdown).c_str(),
                        FormatRatio(PairedRatio(entry.roundNs[last], ref)).c_str(),
                        static_cast<unsigned long long>(entry.check.subnormals),
                        PeakDb(entry.check.segmentPeak[last]).c_str());
        }
        std::printf(
            "median ns per frame in each stretch; min, max and ratio: of the last "
            "stretch; slowdown: the slower silence stretch over the first stretch, median of "
            "the rounds (far above 1: arithmetic on denormals); subnormals: subnormal output "
            "samples; "
            "peak: largest output in the last stretch\n");
    }
    for (const Entry& entry : entries)
    {
        if (entry.Measured() && entry.check.nonFinite > 0)
            std::printf("note: %s produced %llu non-finite output samples\n", entry.label.c_str(),
                        static_cast<unsigned long long>(entry.check.nonFinite));
        if (!entry.Measured())
            std::printf("note: skipped %s: %s\n", entry.path.c_str(), entry.skipped.c_str());
    }
    if (options.tsv)
    {
        for (const Entry& entry : entries)
        {
            if (!entry.Measured())
                continue;
            for (std::size_t s = 0; s < signal.segments.size(); ++s)
            {
                const Summary summary = Summarise(entry.roundNs[s]);
                std::printf("result\t%zu\t%s\t%.3f\t%.3f\t%.3f\t%s\n", entry.index,
                            signal.segments[s].name.c_str(), summary.median, summary.low,
                            summary.high, entry.label.c_str());
            }
        }
    }
}

int RunMeasurement(const Options& options)
{
    const TestSignal signal = options.silentTail
                                  ? MakeSilentTailSignal(kSampleRate, options.silence)
                                  : MakeGatingSignal(kSampleRate, options.seconds);
    const BlockPlan plan = PlanBlocks(signal);

    std::vector<Entry> entries;
    OpenEntries(options, entries);
    std::string error;
    if (!ApplySettings(options, entries, error))
    {
        PrintError(error);
        return kExitUsage;
    }
    const bool any =
        std::any_of(entries.begin(), entries.end(), [](const Entry& e) { return e.Measured(); });
    if (!any)
    {
        PrintPlugins(entries);
        PrintError("no plug-in could be measured");
        return kExitNothing;
    }

    const bool counting = options.mode == Mode::Count;
    const int warmup = counting ? std::max(options.warmup, 1) : options.warmup;
    for (int pass = 0; pass < warmup; ++pass)
    {
        for (Entry& entry : entries)
        {
            if (entry.Measured())
                PlainPass(entry, signal);
        }
    }

    // After the warm-up: plug-ins may settle their latency only once they have processed.
    PrintPlugins(entries);

    if (counting)
    {
        if (!InstructionCounterAvailable())
            std::printf("note: not running under valgrind; nothing is counted\n");
        InstructionCounterBegin();
        for (Entry& entry : entries)
        {
            if (entry.Measured())
                CountedPass(entry, signal, plan);
        }
        InstructionCounterEnd();
        for (const Entry& entry : entries)
        {
            if (!entry.Measured())
                std::printf("note: skipped %s: %s\n", entry.path.c_str(), entry.skipped.c_str());
        }
        return kExitOk;
    }

    for (int round = 0; round < options.rounds; ++round)
    {
        for (Entry& entry : entries)
        {
            if (entry.Measured())
                TimedPass(entry, signal, plan);
        }
    }
    for (Entry& entry : entries)
    {
        if (entry.Measured())
            CheckedPass(entry, signal);
    }
    PrintTimeTable(options, signal, options.rounds, entries);
    return kExitOk;
}

// One dump of a --count run.
struct CountRecord
{
    std::size_t plugin = 0;
    std::size_t segment = 0;
    std::uint64_t frames = 0;
    std::string segmentName;
    std::string label;
    std::uint64_t instructions = 0;
};

std::vector<std::string> SplitFields(const std::string& text, char separator, std::size_t count)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() + 1 < count)
    {
        const std::size_t next = text.find(separator, start);
        if (next == std::string::npos)
            break;
        fields.push_back(text.substr(start, next - start));
        start = next + 1;
    }
    fields.push_back(text.substr(start));
    return fields;
}

// The dump's trigger name and its total instruction count; false for dumps of other origin.
bool ReadDump(const std::string& path, CountRecord& record)
{
    std::ifstream file(path);
    std::string line;
    std::string name;
    bool haveTotal = false;
    while (std::getline(file, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind(kDumpTrigger, 0) == 0)
            name = line.substr(sizeof kDumpTrigger - 1);
        else if (line.rfind("totals:", 0) == 0 || (!haveTotal && line.rfind("summary:", 0) == 0))
        {
            const std::size_t colon = line.find(':');
            record.instructions = std::strtoull(line.c_str() + colon + 1, nullptr, 10);
            haveTotal = true;
        }
    }
    const std::vector<std::string> fields = SplitFields(name, '|', 6);
    if (fields.size() != 6 || fields[0] != kDumpPrefix || !haveTotal)
        return false;
    int plugin = 0;
    int segment = 0;
    if (!ParseCount(fields[1], 0, 999, plugin) || !ParseCount(fields[2], 0, 999, segment))
        return false;
    record.plugin = static_cast<std::size_t>(plugin);
    record.segment = static_cast<std::size_t>(segment);
    record.frames = std::strtoull(fields[3].c_str(), nullptr, 10);
    record.segmentName = fields[4];
    record.label = fields[5];
    return record.frames > 0;
}

int RunReport(const Options& options)
{
    std::map<std::size_t, std::vector<CountRecord>> byPlugin;
    std::vector<std::string> segments;
    for (const std::string& path : options.files)
    {
        CountRecord record;
        if (!ReadDump(path, record))
            continue;
        if (segments.size() <= record.segment)
            segments.resize(record.segment + 1);
        segments[record.segment] = record.segmentName;
        byPlugin[record.plugin].push_back(record);
    }
    if (byPlugin.empty())
    {
        PrintError("no gate_bench dump among the files given");
        return kExitNothing;
    }
    std::size_t width = 10;
    for (const auto& plugin : byPlugin)
        width = std::max(width, plugin.second.front().label.size() + 2);

    // Instructions per frame, [plug-in][segment]; negative where a dump is missing.
    std::map<std::size_t, std::vector<double>> perFrame;
    for (const auto& plugin : byPlugin)
    {
        std::vector<double>& row = perFrame[plugin.first];
        row.assign(segments.size(), -1.0);
        for (const CountRecord& record : plugin.second)
            row[record.segment] =
                static_cast<double>(record.instructions) / static_cast<double>(record.frames);
    }
    const auto& reference = *byPlugin.begin();
    const double referenceValue = perFrame[reference.first].back();

    std::printf("\n== %s\n", options.title.empty() ? "gate_bench" : options.title.c_str());
    std::printf("instructions per stereo frame (callgrind Ir, process calls only, one pass after "
                "a warm-up); ratio: %s over that of %s\n",
                segments.size() == 1 ? "Ir per frame" : segments.back().c_str(),
                reference.second.front().label.c_str());
    std::printf("%s", Pad("plug-in", width, false).c_str());
    for (const std::string& segment : segments)
        std::printf("%s", Pad(segment, std::max<std::size_t>(segment.size(), 9) + 2, true).c_str());
    std::printf("%7s\n", "ratio");
    for (const auto& plugin : byPlugin)
    {
        const std::vector<double>& row = perFrame[plugin.first];
        std::printf("%s", Pad(plugin.second.front().label, width, false).c_str());
        for (std::size_t s = 0; s < segments.size(); ++s)
        {
            const std::size_t column = std::max<std::size_t>(segments[s].size(), 9) + 2;
            std::printf("%s",
                        Pad(row[s] < 0.0 ? "-" : Format("%.1f", row[s]), column, true).c_str());
        }
        std::printf("%7s\n", Ratio(row.back(), referenceValue).c_str());
    }
    return kExitOk;
}

int RunTool(int argc, char** argv)
{
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error))
    {
        PrintError(error);
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    const int status = options.mode == Mode::Report ? RunReport(options) : RunMeasurement(options);
    std::fflush(stdout);
    return status;
}

} // namespace
} // namespace vrn

int main(int argc, char** argv)
{
    try
    {
        return vrn::RunTool(argc, argv);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "gate_bench: error: %s\n", e.what());
    }
    catch (...)
    {
        std::fprintf(stderr, "gate_bench: unknown error\n");
    }
    return vrn::kExitUsage;
}
