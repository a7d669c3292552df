// The section driver's lifecycle, state exchange and redraw pacing.
#include "runtime/xalto.h"

#include "platform/platform.h"
#include "runtime/transforms.h"

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
    ClearMemory();
    strings.Clear();
    fileNames.Clear();
    lastRedrawTick = 0;
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
    // Unsigned and modular: the clock wraps every 49.7 days, and a machine up for more than
    // 24.9 days reads above 2^31; both must not stop the redraws.
    const std::uint32_t elapsed = redrawClock() - lastRedrawTick;
    if (static_cast<double>(elapsed) > 1000.0 / frameRate)
    {
        if (vest)
            vest->RequestRedraw();
        lastRedrawTick = redrawClock();
    }
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
