#pragma once
// What the tools' hosts answer a plug-in: transport and the simple host queries.

#include "host/vst2_abi.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace vrn
{

/// Time information of a transport playing at `tempo` BPM in 4/4, at `samplePosition` frames.
inline VstTimeInfo TransportAt(double samplePosition, double sampleRate, double tempo)
{
    VstTimeInfo time{};
    time.samplePos = samplePosition;
    time.sampleRate = sampleRate;
    time.tempo = tempo;
    time.ppqPos = samplePosition / sampleRate * tempo / 60.0;
    time.timeSigNumerator = 4;
    time.timeSigDenominator = 4;
    time.flags = kVstTransportPlaying | kVstTempoValid | kVstTimeSigValid | kVstPpqPosValid;
    return time;
}

/// Answers the queries besides version and time: sample rate (Hz), block size (frames), vendor
/// "Quorrin Sound", `product` (at most 63 characters), I/O changes accepted; 0 otherwise.
inline intptr AnswerHostQuery(int32 opcode, void* ptr, double sampleRate, int32 blockSize,
                              const char* product)
{
    static constexpr char kVendor[] = "Quorrin Sound";
    switch (opcode)
    {
    case audioMasterGetSampleRate:
        return static_cast<intptr>(std::lround(sampleRate));
    case audioMasterGetBlockSize:
        return blockSize;
    case audioMasterGetVendorString:
        if (ptr != nullptr)
            std::memcpy(ptr, kVendor, sizeof kVendor);
        return 1;
    case audioMasterGetProductString:
        if (ptr != nullptr)
        {
            // The plug-in's buffer holds 64 bytes.
            const std::size_t length = std::min<std::size_t>(std::strlen(product), 63);
            std::memcpy(ptr, product, length);
            static_cast<char*>(ptr)[length] = '\0';
        }
        return 1;
    case audioMasterIOChanged:
        return 1;
    default:
        // audioMasterCurrentId, audioMasterCanDo, audioMasterAutomate, audioMasterBeginEdit,
        // audioMasterEndEdit, audioMasterIdle, audioMasterUpdateDisplay and the rest.
        return 0;
    }
}

} // namespace vrn
