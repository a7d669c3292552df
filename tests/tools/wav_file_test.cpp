// WAV reading and writing: round trips, sample decoding, and malformed files.
#include "tools/hosting/wav_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vrn
{
namespace
{

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& out, unsigned value)
{
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void Put32(Bytes& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutChunk(Bytes& out, const char* id, const Bytes& body, bool pad = true)
{
    out.insert(out.end(), id, id + 4);
    Put32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (pad && body.size() % 2 != 0)
        out.push_back(0);
}

Bytes FmtBody(unsigned tag, unsigned channels, std::uint32_t rate, unsigned bits,
              unsigned blockAlign = 0)
{
    if (blockAlign == 0)
        blockAlign = channels * bits / 8;
    Bytes body;
    Put16(body, tag);
    Put16(body, channels);
    Put32(body, rate);
    Put32(body, rate * blockAlign);
    Put16(body, blockAlign);
    Put16(body, bits);
    return body;
}

Bytes ExtensibleFmtBody(unsigned subTag, unsigned channels, unsigned bits)
{
    Bytes body = FmtBody(0xFFFE, channels, 48000, bits);
    Put16(body, 22);   // extension size
    Put16(body, bits); // valid bits
    Put32(body, 0x3);  // channel mask
    Put16(body, subTag);
    const unsigned char tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                    0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    body.insert(body.end(), tail, tail + 14);
    return body;
}

Bytes Riff(const std::vector<std::pair<const char*, Bytes>>& chunks)
{
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const auto& chunk : chunks)
        PutChunk(body, chunk.first, chunk.second);
    Bytes file = {'R', 'I', 'F', 'F'};
    Put32(file, static_cast<std::uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

// Two frames of stereo 16-bit PCM.
Bytes ValidFile()
{
    Bytes data;
    for (unsigned sample : {0x4000u, 0xC000u, 0x7FFFu, 0x8000u})
        Put16(data, sample);
    return Riff({{"fmt ", FmtBody(1, 2, 44100, 16)}, {"data", data}});
}

WavAudio Sweep(std::size_t channels, std::size_t frames)
{
    WavAudio audio;
    audio.sampleRate = 96000;
    audio.channels.assign(channels, std::vector<double>(frames));
    for (std::size_t c = 0; c < channels; ++c)
    {
        for (std::size_t i = 0; i < frames; ++i)
            audio.channels[c][i] = std::sin(0.01 * static_cast<double>(i * (c + 1))) * 0.9;
    }
    return audio;
}

WavAudio RoundTrip(const WavAudio& audio, WavSampleFormat format)
{
    Bytes bytes;
    EXPECT_TRUE(EncodeWav(audio, format, bytes).ok);
    WavAudio back;
    const WavStatus status = ParseWav(bytes, back);
    EXPECT_TRUE(status.ok) << status.message;
    return back;
}

TEST(WavFile, RoundTripKeepsShapeAndRateInEveryFormat)
{
    const WavAudio audio = Sweep(3, 1001);
    for (const WavSampleFormat format :
         {WavSampleFormat::Float32, WavSampleFormat::Float64, WavSampleFormat::Int16})
    {
        const WavAudio back = RoundTrip(audio, format);
        ASSERT_EQ(back.channels.size(), 3u);
        EXPECT_EQ(back.Frames(), 1001u);
        EXPECT_EQ(back.sampleRate, 96000u);
    }
}

TEST(WavFile, RoundTripPrecisionMatchesFormat)
{
    const WavAudio audio = Sweep(2, 500);
    const WavAudio f64 = RoundTrip(audio, WavSampleFormat::Float64);
    const WavAudio f32 = RoundTrip(audio, WavSampleFormat::Float32);
    const WavAudio s16 = RoundTrip(audio, WavSampleFormat::Int16);
    for (std::size_t c = 0; c < 2; ++c)
    {
        for (std::size_t i = 0; i < 500; ++i)
        {
            const double x = audio.channels[c][i];
            EXPECT_EQ(f64.channels[c][i], x);
            EXPECT_EQ(f32.channels[c][i], static_cast<double>(static_cast<float>(x)));
            EXPECT_NEAR(s16.channels[c][i], x, 0.5 / 32768.0 + 1e-12);
        }
    }
}

TEST(WavFile, Int16WriteClampsAndSilencesNan)
{
    WavAudio audio;
    audio.sampleRate = 48000;
    audio.channels = {{1.5, -1.5, 1.0, -1.0, std::nan(""), 0.25}};
    const WavAudio back = RoundTrip(audio, WavSampleFormat::Int16);
    ASSERT_EQ(back.Frames(), 6u);
    EXPECT_EQ(back.channels[0][0], 32767.0 / 32768.0);
    EXPECT_EQ(back.channels[0][1], -1.0);
    EXPECT_EQ(back.channels[0][2], 32767.0 / 32768.0);
    EXPECT_EQ(back.channels[0][3], -1.0);
    EXPECT_EQ(back.channels[0][4], 0.0);
    EXPECT_EQ(back.channels[0][5], 0.25);
}

TEST(WavFile, EncodeRefusesWhatAWavCannotHold)
{
    Bytes bytes;
    WavAudio none;
    none.sampleRate = 48000;
    EXPECT_FALSE(EncodeWav(none, WavSampleFormat::Float32, bytes).ok);
    WavAudio ragged;
    ragged.sampleRate = 48000;
    ragged.channels = {{0.0, 0.0}, {0.0}};
    EXPECT_FALSE(EncodeWav(ragged, WavSampleFormat::Float32, bytes).ok);
    WavAudio noRate = Sweep(1, 4);
    noRate.sampleRate = 0;
    EXPECT_FALSE(EncodeWav(noRate, WavSampleFormat::Int16, bytes).ok);
}

TEST(WavFile, Reads16BitPcm)
{
    WavAudio audio;
    ASSERT_TRUE(ParseWav(ValidFile(), audio).ok);
    ASSERT_EQ(audio.channels.size(), 2u);
    ASSERT_EQ(audio.Frames(), 2u);
    EXPECT_EQ(audio.sampleRate, 44100u);
    EXPECT_EQ(audio.channels[0][0], 0.5);
    EXPECT_EQ(audio.channels[1][0], -0.5);
    EXPECT_EQ(audio.channels[0][1], 32767.0 / 32768.0);
    EXPECT_EQ(audio.channels[1][1], -1.0);
}

TEST(WavFile, Reads24BitPcmWithSignExtension)
{
    const Bytes data = {0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00};
    WavAudio audio;
    ASSERT_TRUE(ParseWav(Riff({{"fmt ", FmtBody(1, 1, 48000, 24)}, {"data", data}}), audio).ok);
    ASSERT_EQ(audio.Frames(), 4u);
    EXPECT_EQ(audio.channels[0][0], 8388607.0 / 8388608.0);
    EXPECT_EQ(audio.channels[0][1], -1.0);
    EXPECT_EQ(audio.channels[0][2], -1.0 / 8388608.0);
    EXPECT_EQ(audio.channels[0][3], 1.0 / 8388608.0);
}

TEST(WavFile, Reads32BitPcm)
{
    Bytes data;
    Put32(data, 0x80000000u);
    Put32(data, 0x40000000u);
    WavAudio audio;
    ASSERT_TRUE(ParseWav(Riff({{"fmt ", FmtBody(1, 1, 48000, 32)}, {"data", data}}), audio).ok);
    EXPECT_EQ(audio.channels[0][0], -1.0);
    EXPECT_EQ(audio.channels[0][1], 0.5);
}

TEST(WavFile, ReadsExtensiblePcmAndFloat)
{
    const Bytes pcm = {0x00, 0x00, 0xC0, 0x00, 0x00, 0x40}; // -0.5, 0.5 in 24 bits
    WavAudio audio;
    ASSERT_TRUE(ParseWav(Riff({{"fmt ", ExtensibleFmtBody(1, 2, 24)}, {"data", pcm}}), audio).ok);
    ASSERT_EQ(audio.channels.size(), 2u);
    EXPECT_EQ(audio.channels[0][0], -0.5);
    EXPECT_EQ(audio.channels[1][0], 0.5);

    Bytes floats;
    const float value = -0.375f;
    std::uint32_t raw = 0;
    std::memcpy(&raw, &value, sizeof raw);
    Put32(floats, raw);
    ASSERT_TRUE(
        ParseWav(Riff({{"fmt ", ExtensibleFmtBody(3, 1, 32)}, {"data", floats}}), audio).ok);
    EXPECT_EQ(audio.channels[0][0], -0.375);
}

TEST(WavFile, SkipsOtherChunksWithAndWithoutPadding)
{
    Bytes data;
    Put16(data, 0x2000);
    for (const bool pad : {true, false})
    {
        Bytes body = {'W', 'A', 'V', 'E'};
        PutChunk(body, "LIST", {'a', 'b', 'c'}, pad);
        PutChunk(body, "fmt ", FmtBody(1, 1, 8000, 16));
        PutChunk(body, "data", data);
        Bytes file = {'R', 'I', 'F', 'F'};
        Put32(file, static_cast<std::uint32_t>(body.size()));
        file.insert(file.end(), body.begin(), body.end());
        WavAudio audio;
        const WavStatus status = ParseWav(file, audio);
        ASSERT_TRUE(status.ok) << "pad " << pad << ": " << status.message;
        ASSERT_EQ(audio.Frames(), 1u);
        EXPECT_EQ(audio.channels[0][0], 0.25);
    }
}

TEST(WavFile, IgnoresTrailingPartialFrame)
{
    const Bytes data = {0x00, 0x40, 0x00, 0xC0, 0x11, 0x22, 0x33};
    WavAudio audio;
    ASSERT_TRUE(ParseWav(Riff({{"fmt ", FmtBody(1, 2, 48000, 16)}, {"data", data}}), audio).ok);
    EXPECT_EQ(audio.Frames(), 1u);
}

TEST(WavFile, MalformedFilesGiveAnError)
{
    Bytes data(8, 0);
    Bytes wrongMagic = ValidFile();
    wrongMagic[0] = 'X';
    Bytes notWave = ValidFile();
    notWave[8] = 'A';
    Bytes dataBeyondFile = ValidFile();
    dataBeyondFile.resize(dataBeyondFile.size() - 3);
    Bytes fmtBeyondFile = Riff({});
    PutChunk(fmtBeyondFile, "fmt ", {});
    fmtBeyondFile[fmtBeyondFile.size() - 4] = 0xFF;
    Bytes truncatedHeader = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A'};
    Bytes shortFmt = FmtBody(1, 2, 48000, 16);
    shortFmt.resize(14);
    Bytes badGuid = ExtensibleFmtBody(1, 2, 16);
    badGuid.back() ^= 0xFF;
    Bytes shortExtensible = ExtensibleFmtBody(1, 2, 16);
    shortExtensible.resize(30);

    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"empty", {}},
        {"truncated header", truncatedHeader},
        {"wrong magic", wrongMagic},
        {"not WAVE", notWave},
        {"data beyond the file", dataBeyondFile},
        {"fmt beyond the file", fmtBeyondFile},
        {"no fmt", Riff({{"data", data}})},
        {"no data", Riff({{"fmt ", FmtBody(1, 2, 48000, 16)}})},
        {"fmt too short", Riff({{"fmt ", shortFmt}, {"data", data}})},
        {"zero channels", Riff({{"fmt ", FmtBody(1, 0, 48000, 16, 4)}, {"data", data}})},
        {"65 channels", Riff({{"fmt ", FmtBody(1, 65, 48000, 16)}, {"data", data}})},
        {"rate 0", Riff({{"fmt ", FmtBody(1, 2, 0, 16)}, {"data", data}})},
        {"block align", Riff({{"fmt ", FmtBody(1, 2, 48000, 16, 6)}, {"data", data}})},
        {"8-bit PCM", Riff({{"fmt ", FmtBody(1, 2, 48000, 8)}, {"data", data}})},
        {"16-bit float", Riff({{"fmt ", FmtBody(3, 2, 48000, 16)}, {"data", data}})},
        {"ADPCM", Riff({{"fmt ", FmtBody(2, 2, 48000, 16)}, {"data", data}})},
        {"unknown sub-format", Riff({{"fmt ", badGuid}, {"data", data}})},
        {"short extensible", Riff({{"fmt ", shortExtensible}, {"data", data}})},
    };
    for (const auto& [name, bytes] : cases)
    {
        WavAudio audio;
        audio.channels = {{1.0}};
        const WavStatus status = ParseWav(bytes, audio);
        EXPECT_FALSE(status.ok) << name;
        EXPECT_FALSE(status.message.empty()) << name;
        EXPECT_TRUE(audio.channels.empty()) << name;
    }
}

TEST(WavFile, EveryTruncationIsHandled)
{
    Bytes file;
    ASSERT_TRUE(EncodeWav(Sweep(2, 16), WavSampleFormat::Float32, file).ok);
    for (std::size_t size = 0; size < file.size(); ++size)
    {
        const Bytes part(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
        WavAudio audio;
        const WavStatus status = ParseWav(part, audio);
        // Cutting inside the samples shortens the data chunk past the file end: an error too.
        EXPECT_FALSE(status.ok) << size;
    }
}

TEST(WavFile, FileErrorsNameThePath)
{
    const std::string missing = std::string(VRN_TEST_WORK_DIR) + "/no_such_folder/x.wav";
    WavAudio audio;
    const WavStatus read = ReadWav(missing, audio);
    EXPECT_FALSE(read.ok);
    EXPECT_NE(read.message.find(missing), std::string::npos);
    const WavStatus write = WriteWav(missing, Sweep(1, 4), WavSampleFormat::Float32);
    EXPECT_FALSE(write.ok);
    EXPECT_NE(write.message.find(missing), std::string::npos);
}

} // namespace
} // namespace vrn
