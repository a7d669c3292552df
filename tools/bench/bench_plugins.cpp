// The plug-ins of a gate_bench run: opened side by side, set up as the command line says.
#include "tools/bench/bench_plugins.h"

#include "tools/command_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vrn
{
namespace
{

// More channels than this is taken as a broken record, not as a plug-in to drive.
constexpr int32 kMaxChannels = 64;
constexpr int kBisectionSteps = 40;

std::string FileStem(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// True when the instance can be driven as a stereo effect; else `error` says why.
bool IsStereo(const HostSession& session, std::string& error)
{
    const int32 ins = session.NumInputs();
    const int32 outs = session.NumOutputs();
    if (ins < 2 || outs < 2 || ins > kMaxChannels || outs > kMaxChannels)
    {
        error = "the plug-in declares " + std::to_string(ins) + " in / " + std::to_string(outs) +
                " out channels; stereo needs at least 2 of each";
        return false;
    }
    return true;
}

// Sets `value` and reads the display back as a number; false when it is none.
bool DisplayNumber(HostSession& session, int32 index, float value, double& number)
{
    session.SetParameter(index, value);
    const std::string text = session.ParameterDisplay(index);
    const char* begin = text.c_str();
    char* end = nullptr;
    number = std::strtod(begin, &end);
    // strtod also reads "-inf", which some plug-ins show at the end of a dB range.
    return end != begin && !std::isnan(number);
}

} // namespace

bool BenchPlugin::LoadBlock(const float* left, const float* right, int32 frames, std::string& error)
{
    // A plug-in may change its channel counts from inside a call (audioMasterIOChanged); the
    // session's buffers follow, and extra inputs (a side chain) get silence.
    if (!session->PrepareBlock(frames, error) || !IsStereo(*session, error))
        return false;
    BlockBuffers<float>& buffers = session->FloatBuffers();
    const auto count = static_cast<std::size_t>(frames);
    std::memcpy(buffers.Input(0), left, count * sizeof(float));
    std::memcpy(buffers.Input(1), right, count * sizeof(float));
    return true;
}

std::vector<BenchPlugin> OpenPlugins(const BenchOptions& options, int32 blockSize)
{
    std::vector<BenchPlugin> plugins;
    for (std::size_t i = 0; i < options.files.size(); ++i)
    {
        BenchPlugin plugin;
        plugin.index = i;
        plugin.path = options.files[i];
        HostSettings settings;
        settings.sampleRate = kBenchSampleRate;
        settings.maxBlockSize = blockSize;
        settings.product = "gate_bench";
        plugin.session = std::make_unique<HostSession>(settings);
        std::string error;
        if (plugin.session->Open(plugin.path, error) != OpenResult::Ok ||
            !plugin.session->CanProcess(error) || !IsStereo(*plugin.session, error))
        {
            plugin.skipped = error;
            plugin.session.reset();
        }
        const auto name = options.names.find(i);
        if (name != options.names.end())
            plugin.label = name->second;
        else if (plugin.session != nullptr)
            plugin.label = BenchLabel(plugin.session->EffectName());
        if (plugin.label.empty())
            plugin.label = FileStem(plugin.path);
        plugins.push_back(std::move(plugin));
    }
    return plugins;
}

bool ApplySettings(const BenchOptions& options, std::vector<BenchPlugin>& plugins,
                   std::string& error)
{
    for (const ParameterSetting& setting : options.settings)
    {
        BenchPlugin& plugin = plugins[setting.plugin];
        if (!plugin.Measured())
            continue;
        HostSession& session = *plugin.session;
        const int32 index = session.FindParameter(setting.key, NameMatch::IgnoringCase);
        if (index < 0)
        {
            error = plugin.label + " has no parameter " + setting.key;
            return false;
        }
        if (setting.byDisplay)
        {
            std::string note;
            if (!SetParameterByDisplay(session, index, setting.value, note, error))
            {
                error.insert(0, plugin.label + ": ");
                return false;
            }
            if (!note.empty())
                std::printf("note: %s %s: %s\n", plugin.label.c_str(),
                            session.ParameterName(index).c_str(), note.c_str());
        }
        else
        {
            if (setting.value < 0.0 || setting.value > 1.0)
            {
                error = "normalised value " + Format("%g", setting.value) + " for " + setting.key +
                        " lies outside 0..1";
                return false;
            }
            session.SetParameter(index, static_cast<float>(setting.value));
        }
        const std::string label = BenchLabel(session.ParameterLabel(index));
        plugin.applied.push_back(BenchLabel(session.ParameterName(index)) + " = " +
                                 BenchLabel(session.ParameterDisplay(index)) +
                                 (label.empty() ? "" : " " + label));
    }
    return true;
}

bool SetParameterByDisplay(HostSession& session, int32 index, double target, std::string& note,
                           std::string& error)
{
    note.clear();
    double low = 0.0;
    double high = 0.0;
    if (!DisplayNumber(session, index, 0.0f, low) || !DisplayNumber(session, index, 1.0f, high))
    {
        error = "the display of " + session.ParameterName(index) + " (\"" +
                session.ParameterDisplay(index) +
                "\") is not a number; set a normalised value "
                "instead";
        return false;
    }
    if (low == high)
    {
        error = "the display of " + session.ParameterName(index) + " does not change over 0..1";
        return false;
    }
    const bool rising = high > low;
    if (target <= std::min(low, high) || target >= std::max(low, high))
    {
        const bool atHigh = (target >= std::max(low, high)) == rising;
        if (std::fabs(target - (atHigh ? high : low)) > 1e-9 * std::max(1.0, std::fabs(target)))
        {
            char text[160] = {};
            std::snprintf(text, sizeof text, "%g lies outside %g..%g; took %g", target,
                          std::min(low, high), std::max(low, high), atHigh ? high : low);
            note = text;
        }
        session.SetParameter(index, atHigh ? 1.0f : 0.0f);
        return true;
    }
    // Bisection on the normalised value; the display is rounded, so the last two candidates are
    // compared and the nearer one kept.
    float below = 0.0f;
    float above = 1.0f;
    for (int step = 0; step < kBisectionSteps && above - below > 1e-7f; ++step)
    {
        const float middle = 0.5f * (below + above);
        double shown = 0.0;
        if (!DisplayNumber(session, index, middle, shown))
        {
            error =
                "the display of " + session.ParameterName(index) + " is not a number everywhere";
            return false;
        }
        if ((shown < target) == rising)
            below = middle;
        else
            above = middle;
    }
    double shownBelow = 0.0;
    double shownAbove = 0.0;
    const bool belowOk = DisplayNumber(session, index, below, shownBelow);
    const bool aboveOk = DisplayNumber(session, index, above, shownAbove);
    const bool takeBelow =
        belowOk && (!aboveOk || std::fabs(shownBelow - target) < std::fabs(shownAbove - target));
    session.SetParameter(index, takeBelow ? below : above);
    return true;
}

} // namespace vrn
