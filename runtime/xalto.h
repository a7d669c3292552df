#pragma once
// The section driver: turns host events into runs of the effect's sections.

#include "runtime/denormal_guard.h"
#include "runtime/editor_state.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace vrn
{

/// Section driver. Effects override the sections; the host wrapper calls the operations.
class TXalto : public CXaltoMouse
{
public:
    TXalto();

    /// Host open: memory, string slots and the redraw clock cleared.
    virtual void Reset();
    /// Host close.
    virtual void CloseHook() {}
    /// Host suspend.
    virtual void SuspendHook() {}
    /// Host resume: InitSection, then SliderSection.
    virtual void Resume();
    /// Sets up the effect's constants.
    virtual void InitSection() {}
    /// Runs InitSection the first time only.
    virtual void InitOnce();
    /// Draws the editor.
    virtual void GfxSection() {}
    /// Editor idle: asks for a repaint frameRate times per second on average, never two within
    /// half a period (UI thread).
    virtual void RedrawTick();
    /// Transfers the effect state through the state stream (direction from its mode).
    virtual void SerializeSection() {}
    /// Accepts a state vector from the host; always answers `byteCount` (never negative).
    virtual std::int32_t SetState(const void* data, std::int32_t byteCount);
    /// Produces the state vector; answers its byte count (0 and null when nothing was written).
    /// The bytes stay valid until the next GetState or SetState.
    virtual std::int32_t GetState(void** data);

    /// The processing loop for one host call: BlockSection, the frames, FinishBlock, with
    /// denormals flushed. `Effect` is the most derived effect class, so that its own frame loop
    /// and sections are called directly. Null buffers or a frame count below 1 process no frame.
    template <class Effect, class Sample>
    static void Process(Effect& effect, Sample* const* inputs, Sample* const* outputs,
                        std::int32_t frames);

    /// A millisecond clock from an arbitrary origin; wraps at 2^32.
    using MillisecondClockFunction = std::uint32_t (*)();

    std::uint32_t lastRedrawTick = 0; ///< when the last timed redraw was due, whole ms
    double lastRedrawFraction = 0.0;  ///< and the fraction of a ms after it, 0 ≤ f < 1
    /// The clock of the redraw timer (the platform's; tests put in their own).
    MillisecondClockFunction redrawClock;
    std::int32_t initCount = 0; ///< how often InitOnce has run

    /// Moves `frames` frames through the sample cells and SampleSection. Effects may hide it
    /// with an equivalent loop of their own; the processing loop calls the most derived one.
    template <class Sample>
    void ProcessFrames(Sample* const* inputs, Sample* const* outputs, std::int32_t frames,
                       std::int32_t channels);
    /// Runs once per processing call after the frames (effects may hide it; no virtual call).
    void FinishBlock() {}

protected:
    /// Channel count used by the processing loop of one sample precision: read once per process.
    template <class Sample>
    static std::int32_t ProcessChannelCount(const IHostServices* host);

private:
    std::mutex stateMutex;            ///< chunk calls may come from several host threads
    std::vector<float> stateSnapshot; ///< the bytes the last GetState handed out

    template <class Sample>
    static bool ChannelsValid(Sample* const* buffers, std::int32_t channels);
};

template <class Sample>
std::int32_t TXalto::ProcessChannelCount(const IHostServices* host)
{
    // All instances of a process share the count; the first processing call fixes it.
    static const std::int32_t channels = [host]
    {
        const std::int32_t count = host ? host->ChannelCount() : 0;
        return count < 0 ? 0 : (count > kSampleCells ? kSampleCells : count);
    }();
    return channels;
}

template <class Sample>
bool TXalto::ChannelsValid(Sample* const* buffers, std::int32_t channels)
{
    if (!buffers)
        return false;
    for (std::int32_t c = 0; c < channels; ++c)
        if (!buffers[c])
            return false;
    return true;
}

template <class Effect, class Sample>
void TXalto::Process(Effect& effect, Sample* const* inputs, Sample* const* outputs,
                     std::int32_t frames)
{
    DenormalGuard denormals;
    const std::int32_t channels = ProcessChannelCount<Sample>(effect.vest);

    effect.Effect::BlockSection();
    if (frames > 0 && ChannelsValid(inputs, channels) && ChannelsValid(outputs, channels))
        effect.Effect::ProcessFrames(inputs, outputs, frames, channels);
    effect.Effect::FinishBlock();
}

template <class Sample>
void TXalto::ProcessFrames(Sample* const* inputs, Sample* const* outputs, std::int32_t frames,
                           std::int32_t channels)
{
    double* cells = samples.data();
    for (std::int32_t j = 0; j < frames; ++j)
    {
        // Read the whole frame before writing: inputs and outputs may share memory.
        for (std::int32_t c = channels - 1; c >= 0; --c)
            cells[c] = static_cast<double>(inputs[c][j]);
        SampleSection();
        for (std::int32_t c = channels - 1; c >= 0; --c)
            outputs[c][j] = static_cast<Sample>(cells[c]);
    }
}

} // namespace vrn
