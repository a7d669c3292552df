// One VST2 plug-in instance of the benchmark; any number of them live in one process at once.
#include "tools/gate_bench_plugin.h"

#include "tools/host_answers.h"
#include "tools/parameter_lookup.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vrn
{
namespace
{

constexpr char kProductString[] = "gate_bench";
constexpr std::size_t kTextBufferSize = 512;
// More channels than this is taken as a broken record, not as a plug-in to drive.
constexpr int32 kMaxChannels = 64;
constexpr double kTempo = 120.0;
// Buffers start on a cache line so that no plug-in is measured with split loads.
constexpr std::size_t kAlignFloats = 16;
constexpr int kBisectionSteps = 40;

// Instances a callback may come from. The benchmark drives its plug-ins from one thread only.
std::vector<GateBenchPlugin*>& OpenInstances()
{
    static std::vector<GateBenchPlugin*> instances;
    return instances;
}

// The instance whose entry point is running: its record does not exist yet, so callbacks made
// from inside the entry point cannot be told apart by the record.
GateBenchPlugin* opening = nullptr;

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y)
                      {
                          return std::tolower(static_cast<unsigned char>(x)) ==
                                 std::tolower(static_cast<unsigned char>(y));
                      });
}

} // namespace

GateBenchPlugin::~GateBenchPlugin()
{
    Close();
}

bool GateBenchPlugin::Open(const std::string& path, double rate, int32 block, std::string& error)
{
    Close();
    sampleRate = rate;
    blockSize = std::clamp(block, int32{1}, int32{65536});
    samplePosition = 0.0;
    if (!library.Load(path, error))
        return false;
    const char* entryName = nullptr;
    const PluginEntryProc entry = library.FindEntry(entryName);
    if (entry == nullptr)
    {
        error = "exports none of VSTPluginMain, main, MAIN";
        library.Unload();
        return false;
    }

    opening = this;
    AEffect* created = entry(&HostCallback);
    opening = nullptr;
    if (created == nullptr)
    {
        error = std::string("the entry point ") + entryName + " returned no effect";
        library.Unload();
        return false;
    }
    if (created->magic != kEffectMagic)
    {
        // Nothing may be called through a record of unknown layout, not even effClose.
        error = "the entry point returned a record without the VST magic";
        library.Unload();
        return false;
    }
    effect = created;
    OpenInstances().push_back(this);
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    Dispatch(effSetBlockSize, 0, blockSize);

    // Channel counts are read after effOpen: some plug-ins settle them only there.
    if (effect->processReplacing == nullptr)
    {
        error = "the plug-in has no processReplacing";
        Close();
        return false;
    }
    if (!LayOutBuffers(error))
    {
        Close();
        return false;
    }
    Dispatch(effMainsChanged, 0, 1);
    resumed = true;
    return true;
}

void GateBenchPlugin::Close() noexcept
{
    if (effect != nullptr)
    {
        if (resumed)
            Dispatch(effMainsChanged, 0, 0);
        resumed = false;
        Dispatch(effClose);
        effect = nullptr;
        auto& instances = OpenInstances();
        instances.erase(std::remove(instances.begin(), instances.end(), this), instances.end());
    }
    library.Unload();
    laidInputs = -1;
    laidOutputs = -1;
}

std::string GateBenchPlugin::EffectName()
{
    std::string name = QueryText(effGetEffectName, 0);
    if (name.empty())
        name = QueryText(effGetProductString, 0);
    return name;
}

int32 GateBenchPlugin::NumParameters() const
{
    return effect != nullptr ? std::max(effect->numParams, int32{0}) : 0;
}

int32 GateBenchPlugin::FindParameter(const std::string& key)
{
    const int32 count = NumParameters();
    const int32 exact =
        FindParameterIndex(key, count, [this](int32 index) { return ParameterName(index); });
    if (exact >= 0)
        return exact;
    // Peers spell their names as they like: a second look ignores case.
    for (int32 index = 0; index < count; ++index)
    {
        if (SameIgnoringCase(ParameterName(index), key))
            return index;
    }
    return -1;
}

void GateBenchPlugin::SetParameter(int32 index, float value)
{
    if (effect != nullptr && effect->setParameter != nullptr)
        effect->setParameter(effect, index, value);
}

bool GateBenchPlugin::DisplayNumber(int32 index, float value, double& number)
{
    SetParameter(index, value);
    const std::string text = ParameterDisplay(index);
    const char* begin = text.c_str();
    char* end = nullptr;
    number = std::strtod(begin, &end);
    // strtod also reads "-inf", which some plug-ins show at the end of a dB range.
    return end != begin && !std::isnan(number);
}

bool GateBenchPlugin::SetParameterByDisplay(int32 index, double target, std::string& note,
                                            std::string& error)
{
    note.clear();
    double low = 0.0;
    double high = 0.0;
    if (!DisplayNumber(index, 0.0f, low) || !DisplayNumber(index, 1.0f, high))
    {
        error = "the display of " + ParameterName(index) + " (\"" + ParameterDisplay(index) +
                "\") is not a number; set a normalised value instead";
        return false;
    }
    if (low == high)
    {
        error = "the display of " + ParameterName(index) + " does not change over 0..1";
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
        SetParameter(index, atHigh ? 1.0f : 0.0f);
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
        if (!DisplayNumber(index, middle, shown))
        {
            error = "the display of " + ParameterName(index) + " is not a number everywhere";
            return false;
        }
        if ((shown < target) == rising)
            below = middle;
        else
            above = middle;
    }
    double shownBelow = 0.0;
    double shownAbove = 0.0;
    const bool belowOk = DisplayNumber(index, below, shownBelow);
    const bool aboveOk = DisplayNumber(index, above, shownAbove);
    const bool takeBelow =
        belowOk && (!aboveOk || std::fabs(shownBelow - target) < std::fabs(shownAbove - target));
    SetParameter(index, takeBelow ? below : above);
    return true;
}

bool GateBenchPlugin::LayOutBuffers(std::string& error)
{
    const int32 numInputs = effect->numInputs;
    const int32 numOutputs = effect->numOutputs;
    if (numInputs < 2 || numOutputs < 2 || numInputs > kMaxChannels || numOutputs > kMaxChannels)
    {
        error = "the plug-in declares " + std::to_string(numInputs) + " in / " +
                std::to_string(numOutputs) + " out channels; stereo needs at least 2 of each";
        return false;
    }
    const auto ins = static_cast<std::size_t>(numInputs);
    const auto outs = static_cast<std::size_t>(numOutputs);
    const std::size_t stride =
        (static_cast<std::size_t>(blockSize) + kAlignFloats - 1) / kAlignFloats * kAlignFloats;
    storage.assign((ins + outs) * stride + kAlignFloats, 0.0f);
    const auto address = reinterpret_cast<std::uintptr_t>(storage.data());
    const std::uintptr_t alignBytes = kAlignFloats * sizeof(float);
    const auto skip = static_cast<std::size_t>(((alignBytes - address % alignBytes) % alignBytes) /
                                               sizeof(float));
    float* base = storage.data() + skip;
    inputs.assign(ins, nullptr);
    outputs.assign(outs, nullptr);
    for (std::size_t c = 0; c < ins; ++c)
        inputs[c] = base + c * stride;
    for (std::size_t c = 0; c < outs; ++c)
        outputs[c] = base + (ins + c) * stride;
    laidInputs = numInputs;
    laidOutputs = numOutputs;
    return true;
}

bool GateBenchPlugin::LoadBlock(const float* left, const float* right, int32 frames,
                                std::string& error)
{
    if (effect == nullptr)
    {
        error = "the plug-in is not open";
        return false;
    }
    // A plug-in may change its channel counts from inside a call (audioMasterIOChanged).
    if ((effect->numInputs != laidInputs || effect->numOutputs != laidOutputs) &&
        !LayOutBuffers(error))
        return false;
    const auto count = static_cast<std::size_t>(std::clamp(frames, int32{0}, blockSize));
    std::memcpy(inputs[0], left, count * sizeof(float));
    std::memcpy(inputs[1], right, count * sizeof(float));
    // Extra inputs (a side chain) get silence; every output starts zeroed so that a plug-in that
    // leaves a channel untouched shows silence rather than the previous block.
    for (std::size_t c = 2; c < inputs.size(); ++c)
        std::fill(inputs[c], inputs[c] + count, 0.0f);
    for (float* output : outputs)
        std::fill(output, output + count, 0.0f);
    return true;
}

intptr GateBenchPlugin::Dispatch(int32 opcode, int32 index, intptr value, void* ptr, float opt)
{
    if (effect == nullptr || effect->dispatcher == nullptr)
        return 0;
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string GateBenchPlugin::QueryText(int32 opcode, int32 index)
{
    char text[kTextBufferSize] = {};
    Dispatch(opcode, index, 0, text);
    text[kTextBufferSize - 1] = '\0';
    return text;
}

intptr VRN_VST_CALL GateBenchPlugin::HostCallback(AEffect* effect, int32 opcode, int32 index,
                                                  intptr value, void* ptr, float /*opt*/) noexcept
{
    try
    {
        GateBenchPlugin* instance = nullptr;
        for (GateBenchPlugin* candidate : OpenInstances())
        {
            if (effect != nullptr && candidate->effect == effect)
                instance = candidate;
        }
        if (instance == nullptr)
            instance = opening;
        if (instance == nullptr)
            return opcode == audioMasterVersion ? kVstVersion : 0;
        return instance->HandleCallback(opcode, index, value, ptr);
    }
    catch (...)
    {
        return 0;
    }
}

intptr GateBenchPlugin::HandleCallback(int32 opcode, int32 /*index*/, intptr /*value*/, void* ptr)
{
    if (opcode == audioMasterVersion)
        return kVstVersion;
    if (opcode == audioMasterGetTime)
    {
        timeInfo = TransportAt(samplePosition, sampleRate, kTempo);
        return reinterpret_cast<intptr>(&timeInfo);
    }
    return AnswerHostQuery(opcode, ptr, sampleRate, blockSize, kProductString);
}

} // namespace vrn
