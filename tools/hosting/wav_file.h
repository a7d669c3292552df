#pragma once
// RIFF/WAVE reading into normalised per-channel doubles and writing as float or 16-bit PCM.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vrn
{

/// Largest channel count a file may declare; more is treated as a malformed header.
constexpr unsigned kWavMaxChannels = 64;

/// Sample encodings the writer can produce.
enum class WavSampleFormat
{
    Float32, ///< IEEE float, 32 bit (format tag 3)
    Float64, ///< IEEE float, 64 bit (format tag 3)
    Int16,   ///< PCM, 16 bit (format tag 1), clamped and rounded
};

/// Outcome of a read or write; `message` says what was wrong and is empty on success.
struct WavStatus
{
    bool ok = true;      ///< true when the operation succeeded
    std::string message; ///< human-readable reason of a failure

    /// A failed status with the given reason.
    static WavStatus Failure(std::string reason) { return WavStatus{false, std::move(reason)}; }
};

/// Decoded audio: one vector per channel, samples normalised to about -1..1.
struct WavAudio
{
    std::uint32_t sampleRate = 0;              ///< frames per second (Hz), > 0 in a valid file
    std::vector<std::vector<double>> channels; ///< channels[c][frame]; all the same length

    /// Number of frames (samples per channel); 0 when there are no channels.
    std::size_t Frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

/// Decodes a complete WAV file image; on failure `audio` is left empty.
[[nodiscard]] WavStatus ParseWav(const std::vector<unsigned char>& bytes, WavAudio& audio);

/// Reads and decodes the WAV file at `path`.
[[nodiscard]] WavStatus ReadWav(const std::string& path, WavAudio& audio);

/// Encodes `audio` as a WAV file image; fails on zero channels, ragged channels or > 4 GiB.
[[nodiscard]] WavStatus EncodeWav(const WavAudio& audio, WavSampleFormat format,
                                  std::vector<unsigned char>& bytes);

/// Encodes `audio` and writes it to `path`, replacing an existing file.
[[nodiscard]] WavStatus WriteWav(const std::string& path, const WavAudio& audio,
                                 WavSampleFormat format);

/// Parses "f32", "f64" or "s16"; false for anything else.
[[nodiscard]] bool ParseWavSampleFormat(const std::string& text, WavSampleFormat& format);

} // namespace vrn
