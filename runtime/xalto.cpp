// The section driver's lifecycle, state exchange and redraw pacing.
#include "runtime/xalto.h"

#include "platform/platform.h"
#include "runtime/transforms.h"

#include <cmath>

namespace vrn
{

namespace
{
constexpr float kStateMarker = -1000.0f;
}

TXalto::TXalto() : redrawClock(&platform::MillisecondClock)
{
    PrepareTransformTables();
    ClearMemory();
    strings.Clear();
    fileNames.Clear();
}

void TXalto::Reset()
{
    ZeroAllCells();
    strings.Clear();
    fileNames.Clear();
    lastRedrawTick = 0;
    lastRedrawFraction = 0.0;
}

void TXalto::Resume()
{
    InitSection();
    SliderSection();
}

void TXalto::InitOnce()
{
    if (initCount == 0)
        InitSection();
    ++initCount;
}

void TXalto::RedrawTick()
{
    if (!(frameRate > 0.0))
        return;
    const double period = 1000.0 / frameRate;
    const std::uint32_t now = redrawClock();
    // Unsigned and modular: the clock wraps every 49.7 days, and a machine up for more than
    // 24.9 days reads above 2^31; both must not stop the redraws.
    const double elapsed = static_cast<double>(now - lastRedrawTick) - lastRedrawFraction;
    if (!(elapsed > period))
        return;
    if (vest)
        vest->RequestRedraw();
    // The next period counts from when this redraw was due, not from when an idle call found it
    // due: idle calls that do not fall on the period (every 10 ms, say) or a clock that steps
    // in 15.6 ms would otherwise lose up to a step per frame, and 30 wanted frames per second
    // would become 21. Lateness of up to half a period is carried over, so redraws are never
    // closer than half a period; after a longer pause the next period counts from now.
    const double advance = elapsed - period <= period / 2.0 ? period : elapsed;
    const double reference = lastRedrawFraction + advance;
    const double whole = std::floor(reference);
    lastRedrawTick += static_cast<std::uint32_t>(whole);
    lastRedrawFraction = reference - whole;
}

std::int32_t TXalto::GetState(void** data)
{
    std::lock_guard<std::mutex> lock(stateMutex);
    FileRecord& stream = StateStream();
    stream.ResetForWriting();
    stream.WriteValue(kStateMarker);
    SerializeSection();

    // The host keeps the pointer until its next chunk call; a later SetState must not move it.
    stateSnapshot = stream.values;
    if (stateSnapshot.size() <= 1)
    {
        if (data)
            *data = nullptr;
        return 0;
    }
    if (data)
        *data = stateSnapshot.data();
    return static_cast<std::int32_t>(stateSnapshot.size() * sizeof(float));
}

std::int32_t TXalto::SetState(const void* data, std::int32_t byteCount)
{
    if (byteCount < 0)
        return 0;
    const std::size_t count = data ? static_cast<std::size_t>(byteCount) / sizeof(float) : 0;
    std::lock_guard<std::mutex> lock(stateMutex);

    FileRecord& stream = StateStream();
    stream.ResetForReading(data, count);

    if (stream.values.empty())
        return byteCount;
    double marker = 0.0;
    stream.ReadValue(marker);
    if (marker != static_cast<double>(kStateMarker))
        return byteCount;

    InitOnce();
    SerializeSection();
    SliderSection();
    return byteCount;
}

} // namespace vrn
