// Fuzz target: the host tool's WAV reader.
#include "tools/hosting/wav_file.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<unsigned char> bytes(data, data + size);
    vrn::WavAudio audio;
    if (vrn::ParseWav(bytes, audio).ok)
    {
        for (const auto& channel : audio.channels)
            if (channel.size() != audio.Frames())
                __builtin_trap();
        std::vector<unsigned char> encoded;
        (void)vrn::EncodeWav(audio, vrn::WavSampleFormat::Float32, encoded);
    }
    return 0;
}
