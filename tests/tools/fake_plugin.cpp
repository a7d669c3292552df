// A tiny VST2 effect the host tool is tested against: stereo gain, two parameters, a chunk and a
// latency that changes on the next process call, plus a status report for the tests.
//
// Test hooks: the entry point returns null when the host answers audioMasterVersion with 0 and a
// record with a wrong magic when it answers 1. effVendorSpecific (50) writes a report into ptr:
// index 0 the dispatcher calls and block statistics, 1 the host's time info, 2 the host's strings,
// 3 what the test editor saw (Windows builds; see fake_editor.h).
// At gain 0 the process functions leave the outputs untouched, as plug-ins that skip silent work
// do; the host's pre-zeroed outputs must then come back as silence.
#include "host/vst2_abi.h"
#include "tests/tools/fake_editor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace
{

using namespace vrn;

constexpr int32 kFakeUniqueId = ('F' << 24) | ('A' << 16) | ('K' << 8) | 'E';
constexpr int32 kNumParams = 2;
constexpr unsigned char kChunkMagic[4] = {'F', 'K', 'C', '1'};
constexpr std::size_t kChunkSize = 4 + kNumParams * sizeof(float);
constexpr std::size_t kReportSize = 256;
constexpr const char* kParamNames[kNumParams] = {"Gain", "Latency"};
constexpr const char* kParamLabels[kNumParams] = {"x", "smp"};

struct FakePlugin
{
    AEffect effect{};
    audioMasterCallback host = nullptr;
    float params[kNumParams] = {0.5f, 0.064f};
    bool resumed = false;
    std::vector<int32> opcodes;
    int blocks = 0;
    int32 lastBlock = 0;
    int32 largestBlock = 0;
    int blocksWhileSuspended = 0;
    int aliasedBlocks = 0;
    double lastBlockPosition = -1.0;
    const char* precision = "none";
    unsigned char chunk[kChunkSize] = {};
    FakeEditor* editor = nullptr;
};

FakePlugin* FromEffect(AEffect* effect)
{
    return effect != nullptr ? static_cast<FakePlugin*>(effect->object) : nullptr;
}

void Copy(void* ptr, const std::string& text)
{
    if (ptr != nullptr)
    {
        const std::size_t length = std::min(text.size(), kReportSize - 1);
        std::memcpy(ptr, text.data(), length);
        static_cast<char*>(ptr)[length] = '\0';
    }
}

std::string Printf(const char* format, double value)
{
    char text[64] = {};
    std::snprintf(text, sizeof text, format, value);
    return text;
}

long LatencyOf(const FakePlugin& plugin)
{
    const double samples = static_cast<double>(plugin.params[1]) * 1000.0;
    return std::isfinite(samples) && samples >= 0.0 && samples <= 1.0e6
               ? std::lround(samples)
               : plugin.effect.initialDelay;
}

const VstTimeInfo* HostTime(FakePlugin& plugin)
{
    const intptr answer = plugin.host(&plugin.effect, audioMasterGetTime, 0,
                                      kVstPpqPosValid | kVstTempoValid, nullptr, 0.0f);
    // The interface returns the record's address as an integer.
    return reinterpret_cast<const VstTimeInfo*>(answer); // NOLINT(performance-no-int-to-ptr)
}

std::string StatusReport(const FakePlugin& plugin)
{
    std::string text = "opcodes=";
    for (std::size_t i = 0; i < plugin.opcodes.size(); ++i)
        text += (i == 0 ? "" : ",") + std::to_string(plugin.opcodes[i]);
    text +=
        " blocks=" + std::to_string(plugin.blocks) + " last=" + std::to_string(plugin.lastBlock) +
        " max=" + std::to_string(plugin.largestBlock) +
        " suspended=" + std::to_string(plugin.blocksWhileSuspended) +
        " aliased=" + std::to_string(plugin.aliasedBlocks) +
        " lastpos=" + Printf("%.0f", plugin.lastBlockPosition) + " precision=" + plugin.precision;
    return text;
}

std::string TimeReport(FakePlugin& plugin)
{
    const VstTimeInfo* time = HostTime(plugin);
    if (time == nullptr)
        return "time: none";
    char text[kReportSize] = {};
    std::snprintf(text, sizeof text,
                  "time: pos=%.0f rate=%g tempo=%g ppq=%.6f sig=%d/%d flags=0x%x", time->samplePos,
                  time->sampleRate, time->tempo, time->ppqPos,
                  static_cast<int>(time->timeSigNumerator),
                  static_cast<int>(time->timeSigDenominator), static_cast<unsigned>(time->flags));
    return text;
}

std::string HostReport(FakePlugin& plugin)
{
    char vendor[kReportSize] = {};
    char product[kReportSize] = {};
    plugin.host(&plugin.effect, audioMasterGetVendorString, 0, 0, vendor, 0.0f);
    plugin.host(&plugin.effect, audioMasterGetProductString, 0, 0, product, 0.0f);
    const intptr version = plugin.host(&plugin.effect, audioMasterVersion, 0, 0, nullptr, 0.0f);
    const intptr rate = plugin.host(&plugin.effect, audioMasterGetSampleRate, 0, 0, nullptr, 0.0f);
    const intptr block = plugin.host(&plugin.effect, audioMasterGetBlockSize, 0, 0, nullptr, 0.0f);
    return std::string("vendor=") + vendor + " product=" + product +
           " version=" + std::to_string(version) + " rate=" + std::to_string(rate) +
           " block=" + std::to_string(block);
}

std::string ParamDisplay(const FakePlugin& plugin, int32 index)
{
    if (index == 0)
        return Printf("%.3f", static_cast<double>(plugin.params[0]) * 2.0);
    return std::to_string(LatencyOf(plugin));
}

intptr VRN_VST_CALL Dispatcher(AEffect* effect, int32 opcode, int32 index, intptr value, void* ptr,
                               float /*opt*/)
{
    FakePlugin* plugin = FromEffect(effect);
    if (plugin == nullptr)
        return 0;
    if (opcode != effVendorSpecific && plugin->opcodes.size() < 64)
        plugin->opcodes.push_back(opcode);
    const bool validParam = index >= 0 && index < kNumParams;
    switch (opcode)
    {
    case effClose:
        CloseFakeEditor(plugin->editor);
        delete plugin;
        return 1;
    case effMainsChanged:
        plugin->resumed = value != 0;
        return 0;
    case effGetProgramName:
        Copy(ptr, "Default");
        return 0;
    case effGetParamName:
        Copy(ptr, validParam ? kParamNames[index] : "");
        return 0;
    case effGetParamLabel:
        Copy(ptr, validParam ? kParamLabels[index] : "");
        return 0;
    case effGetParamDisplay:
        Copy(ptr, validParam ? ParamDisplay(*plugin, index) : "");
        return 0;
    case effEditGetRect:
    {
        static ERect rect{0, 0, kFakeEditorHeight, kFakeEditorWidth};
        if (ptr != nullptr)
            *static_cast<ERect**>(ptr) = &rect;
        return 1;
    }
    case effEditOpen:
        if (plugin->editor == nullptr)
            plugin->editor = OpenFakeEditor(ptr, &plugin->params[0]);
        return plugin->editor != nullptr ? 1 : 0;
    case effEditClose:
        CloseFakeEditor(plugin->editor);
        plugin->editor = nullptr;
        return 0;
    case effEditIdle:
        IdleFakeEditor(plugin->editor);
        return 0;
    case effGetChunk:
    {
        std::memcpy(plugin->chunk, kChunkMagic, sizeof kChunkMagic);
        std::memcpy(plugin->chunk + 4, plugin->params, sizeof plugin->params);
        if (ptr == nullptr)
            return 0;
        *static_cast<void**>(ptr) = plugin->chunk;
        return static_cast<intptr>(kChunkSize);
    }
    case effSetChunk:
    {
        const auto* bytes = static_cast<const unsigned char*>(ptr);
        if (bytes == nullptr || value != static_cast<intptr>(kChunkSize) ||
            std::memcmp(bytes, kChunkMagic, sizeof kChunkMagic) != 0)
            return 0;
        std::memcpy(plugin->params, bytes + 4, sizeof plugin->params);
        return 1;
    }
    case effGetPlugCategory:
        return 1;
    case effGetEffectName:
        Copy(ptr, "Fake Gain");
        return 1;
    case effGetVendorString:
        Copy(ptr, "VARNE Test");
        return 1;
    case effGetProductString:
        Copy(ptr, "Fake Gain Fixture");
        return 1;
    case effGetVendorVersion:
        return 1234;
    case effVendorSpecific:
        Copy(ptr, index == 0   ? StatusReport(*plugin)
                  : index == 1 ? TimeReport(*plugin)
                  : index == 3 ? FakeEditorReport(plugin->editor)
                               : HostReport(*plugin));
        return 1;
    case effCanDo:
    {
        const char* text = static_cast<const char*>(ptr);
        if (text == nullptr)
            return 0;
        const bool midi = std::strcmp(text, "receiveVstMidiEvent") == 0 ||
                          std::strcmp(text, "receiveVstEvents") == 0 ||
                          std::strcmp(text, "sendVstEvents") == 0;
        return midi ? -1 : 0;
    }
    case effGetVstVersion:
        return kVstVersion;
    default:
        return 0;
    }
}

void VRN_VST_CALL SetParameter(AEffect* effect, int32 index, float value)
{
    FakePlugin* plugin = FromEffect(effect);
    if (plugin != nullptr && index >= 0 && index < kNumParams)
        plugin->params[index] = value;
}

float VRN_VST_CALL GetParameter(AEffect* effect, int32 index)
{
    FakePlugin* plugin = FromEffect(effect);
    return plugin != nullptr && index >= 0 && index < kNumParams ? plugin->params[index] : 0.0f;
}

template <typename Sample>
void Process(AEffect* effect, Sample** inputs, Sample** outputs, int32 frames, const char* name)
{
    FakePlugin* plugin = FromEffect(effect);
    if (plugin == nullptr)
        return;
    ++plugin->blocks;
    plugin->lastBlock = frames;
    plugin->largestBlock = std::max(plugin->largestBlock, frames);
    plugin->precision = name;
    if (!plugin->resumed)
        ++plugin->blocksWhileSuspended;
    const VstTimeInfo* time = HostTime(*plugin);
    plugin->lastBlockPosition = time != nullptr ? time->samplePos : -1.0;

    // A latency change takes effect here, as in real plug-ins, and is announced to the host.
    const long latency = LatencyOf(*plugin);
    if (latency != plugin->effect.initialDelay)
    {
        plugin->effect.initialDelay = static_cast<int32>(latency);
        plugin->host(effect, audioMasterIOChanged, 0, 0, nullptr, 0.0f);
    }

    if (inputs[0] == outputs[0] || inputs[0] == outputs[1] || inputs[1] == outputs[0] ||
        inputs[1] == outputs[1])
        ++plugin->aliasedBlocks;
    const auto gain = static_cast<Sample>(plugin->params[0] * 2.0f);
    if (gain == Sample{0})
        return;
    for (int c = 0; c < 2; ++c)
    {
        for (int32 i = 0; i < frames; ++i)
            outputs[c][i] = inputs[c][i] * gain;
    }
}

void VRN_VST_CALL ProcessFloat(AEffect* effect, float** inputs, float** outputs, int32 frames)
{
    Process(effect, inputs, outputs, frames, "float");
}

void VRN_VST_CALL ProcessDouble(AEffect* effect, double** inputs, double** outputs, int32 frames)
{
    Process(effect, inputs, outputs, frames, "double");
}

AEffect* CreateEffect(audioMasterCallback host)
{
    if (host == nullptr)
        return nullptr;
    // Asked before the record exists: the host must cope with a null AEffect.
    const intptr version = host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f);
    if (version == 0)
        return nullptr;
    if (version == 1)
    {
        static AEffect wrong{};
        wrong.magic = 0x12345678;
        return &wrong;
    }
    auto* plugin = new (std::nothrow) FakePlugin;
    if (plugin == nullptr)
        return nullptr;
    plugin->host = host;
    AEffect& e = plugin->effect;
    e.magic = kEffectMagic;
    e.dispatcher = Dispatcher;
    e.process = ProcessFloat;
    e.setParameter = SetParameter;
    e.getParameter = GetParameter;
    e.numPrograms = 1;
    e.numParams = kNumParams;
    e.numInputs = 2;
    e.numOutputs = 2;
    e.flags = effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks |
              effFlagsCanDoubleReplacing;
    e.initialDelay = static_cast<int32>(LatencyOf(*plugin));
    e.ioRatio = 1.0f;
    e.object = plugin;
    e.uniqueID = kFakeUniqueId;
    e.version = 1001;
    e.processReplacing = ProcessFloat;
    e.processDoubleReplacing = ProcessDouble;
    return &e;
}

} // namespace

// The export variants: 1 = VSTPluginMain (Windows adds main and MAIN through the .def file),
// 2 = only MAIN, 0 = the same function under a name no host looks for.
#if VRN_FAKE_ENTRY == 1
extern "C" vrn::AEffect* VRN_VST_CALL VSTPluginMain(vrn::audioMasterCallback host)
{
    return CreateEffect(host);
}
#elif VRN_FAKE_ENTRY == 2
extern "C" vrn::AEffect* VRN_VST_CALL MAIN(vrn::audioMasterCallback host)
{
    return CreateEffect(host);
}
#else
extern "C" vrn::AEffect* VRN_VST_CALL CreateFakeEffect(vrn::audioMasterCallback host)
{
    return CreateEffect(host);
}
#endif
