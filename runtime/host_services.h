#pragma once
// What the effect runtime asks of its host wrapper; the wrapper implements it.

#include <cstdint>

namespace vrn
{

class IGraphicsHost;

/// What one time-information request per processing block tells.
struct BlockTime
{
    double tempo = 0.0;              ///< beats per minute
    double timeSigNumerator = 0.0;   ///< beats per bar
    double timeSigDenominator = 0.0; ///< note value of a beat
    double playing = 0.0;            ///< 1 while the transport plays, else 0
    double recording = 0.0;          ///< 1 while the transport records, else 0
    double beatPosition = 0.0;       ///< song position, quarter notes
};

/// One queued MIDI event as the effect reads it.
struct MidiMessage
{
    std::int32_t deltaFrames = 0; ///< offset into the block, frames
    std::int32_t status = 0;      ///< status byte
    std::int32_t data1 = 0;       ///< first data byte
    std::int32_t data2 = 0;       ///< second data byte
};

/// Host services the runtime calls through its host link. Every answer is a safe default
/// (0 or false) when the host gives nothing.
class IHostServices
{
public:
    virtual ~IHostServices() = default;

    /// Audio channels in (and out): the AEffect's numInputs.
    virtual std::int32_t ChannelCount() const = 0;
    /// Sample rate last set by the host, Hz (44100 until then).
    virtual double SampleRate() const = 0;
    /// Maximum block size last set by the host, frames (1024 until then).
    virtual double BlockSize() const = 0;
    /// Host tempo in BPM, 0 without time information.
    virtual double Tempo() = 0;
    /// The block's time information in one request; false (and `out` untouched) without it.
    virtual bool TimeForBlock(BlockTime& out) = 0;
    /// Sets the latency the host reads from the AEffect, samples.
    virtual void ReportLatency(std::int32_t samples) = 0;
    /// Editor size in the editor's own pixels (the same at every content scale); false without
    /// an editor.
    virtual bool EditorSize(std::int32_t& width, std::int32_t& height) const = 0;
    /// Marks the whole editor view for redrawing; false without an editor or view.
    virtual bool RequestRedraw() = 0;
    /// Takes the next queued MIDI event; false (and zeros) when the queue is empty.
    virtual bool NextMidiEvent(MidiMessage& out) = 0;
    /// The wrapper's drawing side for the editor (paint context, fonts); null without one.
    virtual IGraphicsHost* Graphics() { return nullptr; }
};

} // namespace vrn
