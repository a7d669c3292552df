#pragma once
// Host link and slider value table: the first layers of the effect object.

#include "runtime/host_services.h"
#include "runtime/memory.h"
#include "runtime/numeric.h"
#include "runtime/shared_value.h"

#include <array>

namespace vrn
{

/// Link to the host wrapper; null until the plug-in entry stores it.
class CXaltoVeST : public CXaltoMemory
{
public:
    IHostServices* vest = nullptr;
};

/// The slider value table; introduces the effect's virtual operations.
class CXaltoSliders : public CXaltoVeST
{
public:
    static constexpr int kSliderCells = 128; ///< slider numbers are masked into this table
    static constexpr int kMaxSliders = 64;   ///< slider numbers an effect may declare: 1 … 64

    CXaltoSliders() = default;
    CXaltoSliders(const CXaltoSliders&) = delete;
    CXaltoSliders& operator=(const CXaltoSliders&) = delete;
    virtual ~CXaltoSliders() = default;

    /// Runs after slider values changed.
    virtual void SliderSection() {}

    /// Slider cell of slider number `number` (index rounding, then & 127: always in the table).
    /// Cells are shared by the host's threads: setParameter, chunks, the editor and the
    /// coefficient update may touch them at once.
    SharedDouble& Slider(double number) { return sliderValues[Mask(RoundIndex(number))]; }
    SharedDouble& Slider(std::int32_t number) { return sliderValues[Mask(number)]; }
    double Slider(std::int32_t number) const { return sliderValues[Mask(number)]; }

private:
    static std::size_t Mask(std::int32_t number) { return static_cast<std::size_t>(number & 127); }

    std::array<SharedDouble, kSliderCells> sliderValues{};
};

/// Per-frame sample cells: cell c holds channel c's sample during SampleSection.
class CXaltoSamples : public CXaltoSliders
{
public:
    static constexpr int kSampleCells = 64; ///< channels the runtime can carry

    /// Runs once per processing call, before the frames.
    virtual void BlockSection() {}
    /// Runs once per sample frame.
    virtual void SampleSection() {}

    std::array<double, kSampleCells> samples{};
};

} // namespace vrn
