// A scripted host for the plug-in tests.
#include "tests/host/fake_host.h"

#include <algorithm>
#include <cstring>

namespace vrn::test
{

FakeHost* FakeHost::current = nullptr;

FakeHost::FakeHost()
{
    time.sampleRate = 48000.0;
    time.tempo = 120.0;
    time.timeSigNumerator = 4;
    time.timeSigDenominator = 4;
    time.flags = kVstTempoValid | kVstTimeSigValid | kVstTransportPlaying | kVstPpqPosValid;
}

intptr VRN_VST_CALL FakeHost::Callback(AEffect*, int32 opcode, int32 index, intptr value, void*,
                                       float)
{
    FakeHost* host = current;
    if (!host)
        return 0;
    {
        std::lock_guard<std::mutex> lock(host->mutex);
        host->opcodes.push_back(opcode);
    }
    switch (opcode)
    {
    case audioMasterVersion:
        return host->version;
    case audioMasterGetTime:
        return host->giveTimeInfo ? reinterpret_cast<intptr>(&host->time) : 0;
    case audioMasterSizeWindow:
    {
        std::lock_guard<std::mutex> lock(host->mutex);
        host->windowSizes.push_back(std::to_string(index) + "x" + std::to_string(value));
        return 1;
    }
    default:
        return 0;
    }
}

int FakeHost::Count(int32 opcode)
{
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<int>(std::count(opcodes.begin(), opcodes.end(), opcode));
}

Plugin::Plugin(double sampleRate, int32 blockSize, bool resume)
{
    FakeHost::current = &host;
    effect = CreateGatePlugin(&FakeHost::Callback);
    if (!effect)
        return;
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    Dispatch(effSetBlockSize, 0, blockSize);
    if (resume)
        Dispatch(effMainsChanged, 0, 1);
}

Plugin::~Plugin()
{
    if (effect)
        Dispatch(effClose);
    FakeHost::current = nullptr;
}

intptr Plugin::Dispatch(int32 opcode, int32 index, intptr value, void* ptr, float opt)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string Plugin::Text(int32 opcode, int32 index)
{
    char buffer[256];
    std::memset(buffer, 0x7F, sizeof buffer);
    buffer[255] = 0;
    Dispatch(opcode, index, 0, buffer);
    return buffer;
}

void Plugin::Process(std::vector<double>& left, std::vector<double>& right, int block)
{
    const auto frames = static_cast<int>(left.size());
    for (int start = 0; start < frames; start += block)
    {
        const int n = std::min(block, frames - start);
        double* channels[2] = {left.data() + start, right.data() + start};
        effect->processDoubleReplacing(effect, channels, channels, n);
    }
}

void Plugin::ProcessFloat(std::vector<float>& left, std::vector<float>& right, int block)
{
    const auto frames = static_cast<int>(left.size());
    for (int start = 0; start < frames; start += block)
    {
        const int n = std::min(block, frames - start);
        float* channels[2] = {left.data() + start, right.data() + start};
        effect->processReplacing(effect, channels, channels, n);
    }
}

std::vector<unsigned char> Plugin::Chunk()
{
    void* data = nullptr;
    const auto size = Dispatch(effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<const unsigned char*>(data);
    return size > 0 && bytes ? std::vector<unsigned char>(bytes, bytes + size)
                             : std::vector<unsigned char>{};
}

} // namespace vrn::test
