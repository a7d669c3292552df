// RIFF/WAVE reading into normalised per-channel doubles and writing as float or 16-bit PCM.
#include "tools/hosting/wav_file.h"

#include "tools/command_line.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace vrn
{
namespace
{

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

// Bytes 2..15 of the extensible sub-format GUID; bytes 0..1 hold the plain format tag.
constexpr unsigned char kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t ReadU16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t ReadU32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t ReadU64(const unsigned char* p)
{
    return static_cast<std::uint64_t>(ReadU32(p)) |
           (static_cast<std::uint64_t>(ReadU32(p + 4)) << 32);
}

bool IsId(const unsigned char* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

// A chunk id a writer would produce: four printable ASCII characters.
bool LooksLikeChunkId(const unsigned char* p)
{
    for (int i = 0; i < 4; ++i)
    {
        if (p[i] < 0x20 || p[i] > 0x7E)
            return false;
    }
    return true;
}

// The chunk id for messages, with unprintable bytes shown as '?'.
std::string ChunkName(const unsigned char* p)
{
    std::string name(4, '?');
    for (std::size_t i = 0; i < 4; ++i)
    {
        if (p[i] >= 0x20 && p[i] <= 0x7E)
            name[i] = static_cast<char>(p[i]);
    }
    return name;
}

double DecodeSample(const unsigned char* p, std::uint16_t tag, unsigned bits)
{
    if (tag == kFormatFloat)
    {
        if (bits == 32)
        {
            const std::uint32_t raw = ReadU32(p);
            float value = 0.0f;
            std::memcpy(&value, &raw, sizeof value);
            return static_cast<double>(value);
        }
        const std::uint64_t raw = ReadU64(p);
        double value = 0.0;
        std::memcpy(&value, &raw, sizeof value);
        return value;
    }
    switch (bits)
    {
    case 16:
        return static_cast<double>(static_cast<std::int16_t>(ReadU16(p))) / 32768.0;
    case 24:
    {
        // The three bytes at the top of a 32-bit word carry the sign; v * 2^8 / 2^31 = v / 2^23.
        const std::uint32_t raw = (static_cast<std::uint32_t>(p[0]) << 8) |
                                  (static_cast<std::uint32_t>(p[1]) << 16) |
                                  (static_cast<std::uint32_t>(p[2]) << 24);
        return static_cast<double>(static_cast<std::int32_t>(raw)) / 2147483648.0;
    }
    default:
        return static_cast<double>(static_cast<std::int32_t>(ReadU32(p))) / 2147483648.0;
    }
}

void PutU16(std::vector<unsigned char>& out, unsigned value)
{
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void PutU32(std::vector<unsigned char>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>((value >> shift) & 0xFF));
}

void PutU64(std::vector<unsigned char>& out, std::uint64_t value)
{
    PutU32(out, static_cast<std::uint32_t>(value & 0xFFFFFFFFu));
    PutU32(out, static_cast<std::uint32_t>(value >> 32));
}

void PutId(std::vector<unsigned char>& out, const char* id)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(id[i]));
}

std::int16_t ToInt16(double value)
{
    if (std::isnan(value))
        return 0;
    const double scaled = std::round(value * 32768.0);
    if (scaled >= 32767.0)
        return 32767;
    if (scaled <= -32768.0)
        return -32768;
    return static_cast<std::int16_t>(scaled);
}

} // namespace

WavStatus ParseWav(const std::vector<unsigned char>& bytes, WavAudio& audio)
{
    audio = WavAudio{};
    const std::size_t end = bytes.size();
    if (end < 12)
        return WavStatus::Failure("file too short for a RIFF header");
    const unsigned char* base = bytes.data();
    if (!IsId(base, "RIFF"))
        return WavStatus::Failure("not a RIFF file (wrong magic)");
    if (!IsId(base + 8, "WAVE"))
        return WavStatus::Failure("RIFF file is not of type WAVE");

    // The RIFF size field is ignored: streaming writers leave it 0 or 0xFFFFFFFF, and the chunk
    // sizes are checked against the real file size instead.
    const unsigned char* fmt = nullptr;
    std::size_t fmtSize = 0;
    const unsigned char* data = nullptr;
    std::size_t dataSize = 0;
    std::size_t pos = 12;
    while (end - pos >= 8)
    {
        const unsigned char* header = base + pos;
        const std::size_t size = ReadU32(header + 4);
        pos += 8;
        if (size > end - pos)
        {
            return WavStatus::Failure("chunk '" + ChunkName(header) + "' of " +
                                      std::to_string(size) +
                                      " bytes runs past the end of the file");
        }
        if (IsId(header, "fmt ") && fmt == nullptr)
        {
            fmt = base + pos;
            fmtSize = size;
        }
        else if (IsId(header, "data") && data == nullptr)
        {
            data = base + pos;
            dataSize = size;
        }
        pos += size;
        // Odd chunks carry a pad byte, but some writers forget it: only skip the byte when the
        // next chunk id then still looks like one.
        if ((size & 1) != 0 && pos < end)
        {
            const bool paddedOk = end - pos >= 9 && LooksLikeChunkId(base + pos + 1);
            const bool unpaddedOk = end - pos >= 8 && LooksLikeChunkId(base + pos);
            if (paddedOk || !unpaddedOk)
                ++pos;
        }
    }

    if (fmt == nullptr)
        return WavStatus::Failure("no fmt chunk");
    if (fmtSize < 16)
        return WavStatus::Failure("fmt chunk too short (" + std::to_string(fmtSize) + " bytes)");
    std::uint16_t tag = ReadU16(fmt);
    const unsigned channels = ReadU16(fmt + 2);
    const std::uint32_t sampleRate = ReadU32(fmt + 4);
    const unsigned blockAlign = ReadU16(fmt + 12);
    const unsigned bits = ReadU16(fmt + 14);
    if (tag == kFormatExtensible)
    {
        if (fmtSize < 40 || ReadU16(fmt + 16) < 22)
            return WavStatus::Failure("extensible fmt chunk too short");
        if (std::memcmp(fmt + 26, kSubFormatTail, sizeof kSubFormatTail) != 0)
            return WavStatus::Failure("unknown extensible sub-format");
        tag = ReadU16(fmt + 24);
    }
    if (channels == 0)
        return WavStatus::Failure("file declares zero channels");
    if (channels > kWavMaxChannels)
    {
        return WavStatus::Failure("file declares " + std::to_string(channels) +
                                  " channels (at most " + std::to_string(kWavMaxChannels) + ")");
    }
    if (sampleRate == 0)
        return WavStatus::Failure("file declares a sample rate of 0 Hz");
    const bool pcmOk = tag == kFormatPcm && (bits == 16 || bits == 24 || bits == 32);
    const bool floatOk = tag == kFormatFloat && (bits == 32 || bits == 64);
    if (!pcmOk && !floatOk)
    {
        return WavStatus::Failure("unsupported sample format (tag " + std::to_string(tag) + ", " +
                                  std::to_string(bits) + " bits)");
    }
    const unsigned bytesPerSample = bits / 8;
    if (blockAlign != channels * bytesPerSample)
    {
        return WavStatus::Failure("block align " + std::to_string(blockAlign) + " does not match " +
                                  std::to_string(channels) + " channels of " +
                                  std::to_string(bits) + " bits");
    }
    if (data == nullptr)
        return WavStatus::Failure("no data chunk");

    // A trailing partial frame is ignored.
    const std::size_t frames = dataSize / blockAlign;
    WavAudio decoded;
    decoded.sampleRate = sampleRate;
    decoded.channels.assign(channels, std::vector<double>(frames));
    for (std::size_t frame = 0; frame < frames; ++frame)
    {
        const unsigned char* p = data + frame * blockAlign;
        for (unsigned c = 0; c < channels; ++c)
            decoded.channels[c][frame] =
                DecodeSample(p + std::size_t{c} * bytesPerSample, tag, bits);
    }
    audio = std::move(decoded);
    return {};
}

WavStatus ReadWav(const std::string& path, WavAudio& audio)
{
    audio = WavAudio{};
    std::vector<unsigned char> bytes;
    std::string error;
    if (!ReadFile(path, bytes, error))
        return WavStatus::Failure(error);
    WavStatus status = ParseWav(bytes, audio);
    if (!status.ok)
        status.message = path + ": " + status.message;
    return status;
}

WavStatus EncodeWav(const WavAudio& audio, WavSampleFormat format,
                    std::vector<unsigned char>& bytes)
{
    bytes.clear();
    const std::size_t channels = audio.channels.size();
    if (channels == 0)
        return WavStatus::Failure("no channels to write");
    if (channels > kWavMaxChannels)
        return WavStatus::Failure("too many channels to write (" + std::to_string(channels) + ")");
    if (audio.sampleRate == 0)
        return WavStatus::Failure("sample rate 0 Hz cannot be written");
    const std::size_t frames = audio.Frames();
    for (const std::vector<double>& channel : audio.channels)
    {
        if (channel.size() != frames)
            return WavStatus::Failure("channels differ in length");
    }

    const unsigned bytesPerSample = format == WavSampleFormat::Float64   ? 8u
                                    : format == WavSampleFormat::Float32 ? 4u
                                                                         : 2u;
    const std::uint64_t blockAlign = channels * bytesPerSample;
    const std::uint64_t byteRate = blockAlign * audio.sampleRate;
    const std::uint64_t dataBytes = blockAlign * frames;
    constexpr std::uint64_t kHeaderBytes = 44;
    if (dataBytes + kHeaderBytes > std::numeric_limits<std::uint32_t>::max() ||
        byteRate > std::numeric_limits<std::uint32_t>::max())
    {
        return WavStatus::Failure("audio too large for a WAV file");
    }

    bytes.reserve(static_cast<std::size_t>(kHeaderBytes + dataBytes));
    PutId(bytes, "RIFF");
    PutU32(bytes, static_cast<std::uint32_t>(kHeaderBytes - 8 + dataBytes));
    PutId(bytes, "WAVE");
    PutId(bytes, "fmt ");
    PutU32(bytes, 16);
    PutU16(bytes, format == WavSampleFormat::Int16 ? kFormatPcm : kFormatFloat);
    PutU16(bytes, static_cast<unsigned>(channels));
    PutU32(bytes, audio.sampleRate);
    PutU32(bytes, static_cast<std::uint32_t>(byteRate));
    PutU16(bytes, static_cast<unsigned>(blockAlign));
    PutU16(bytes, bytesPerSample * 8);
    PutId(bytes, "data");
    PutU32(bytes, static_cast<std::uint32_t>(dataBytes));
    for (std::size_t frame = 0; frame < frames; ++frame)
    {
        for (const std::vector<double>& channel : audio.channels)
        {
            const double value = channel[frame];
            switch (format)
            {
            case WavSampleFormat::Float32:
            {
                const float narrow = static_cast<float>(value);
                std::uint32_t raw = 0;
                std::memcpy(&raw, &narrow, sizeof raw);
                PutU32(bytes, raw);
                break;
            }
            case WavSampleFormat::Float64:
            {
                std::uint64_t raw = 0;
                std::memcpy(&raw, &value, sizeof raw);
                PutU64(bytes, raw);
                break;
            }
            case WavSampleFormat::Int16:
                PutU16(bytes, static_cast<std::uint16_t>(ToInt16(value)));
                break;
            }
        }
    }
    return {};
}

WavStatus WriteWav(const std::string& path, const WavAudio& audio, WavSampleFormat format)
{
    std::vector<unsigned char> bytes;
    WavStatus status = EncodeWav(audio, format, bytes);
    if (!status.ok)
        return status;
    std::string error;
    if (!WriteFile(path, bytes, error))
        return WavStatus::Failure(error);
    return {};
}

bool ParseWavSampleFormat(const std::string& text, WavSampleFormat& format)
{
    if (text == "f32")
        format = WavSampleFormat::Float32;
    else if (text == "f64")
        format = WavSampleFormat::Float64;
    else if (text == "s16")
        format = WavSampleFormat::Int16;
    else
        return false;
    return true;
}

} // namespace vrn
