#pragma once
// Slider descriptions and the effect description the host queries.

#include "runtime/sliders.h"

#include <mutex>
#include <string>
#include <vector>

namespace vrn
{

/// Physical unit of a slider's values, for plug-in formats whose hosts show units themselves.
enum class SliderUnit
{
    kNone,
    kMilliseconds,
    kDecibels,
    kHertz,
    kPercent,
};

/// One declared slider; host parameter i is SliderInfo i.
struct SliderInfo
{
    std::vector<std::string> options; ///< option labels; empty for a numeric slider
    bool filesListed = false;         ///< the data-file folder has been examined
    std::int32_t sliderNumber = 0;    ///< cell in the slider value table (1 … 64)
    double defaultValue = 0.0;        ///< in the slider's own units
    double minimum = 0.0;
    double maximum = 0.0;
    double step = 0.0;
    std::string folder; ///< data-file folder beside the library; empty for a numeric slider
    std::string label;  ///< unit text shown beside the value
    std::string name;   ///< parameter name shown by the host
    /// Stable identifier (a letter, then letters, digits and '_') for plug-in formats whose
    /// hosts address parameters by symbol; empty when not given.
    std::string symbol;
    SliderUnit unit = SliderUnit::kNone; ///< physical unit of the values
};

/// Slider descriptions plus the effect's names, version, unique ID and channel count.
class CXaltoDescription : public CXaltoSamples
{
public:
    /// Declares a slider: writes the default into its cell and appends the description.
    /// A non-empty folder turns it into a file slider listing that folder. Answers its index.
    std::size_t DeclareSlider(std::int32_t sliderNumber, double defaultValue, double minimum,
                              double maximum, double step, const std::string& folder,
                              const std::string& label, const std::string& name);

    /// Appends an option label to the most recently declared slider.
    void AddOption(const std::string& option);

    /// Gives the most recently declared slider its symbol and physical unit.
    void IdentifySlider(const std::string& symbol, SliderUnit unit);

    /// Descriptions in declaration order.
    const std::vector<SliderInfo>& SliderInfos() const { return sliderInfos; }

    /// Description of host parameter `index`, or null when the index is outside the table.
    const SliderInfo* FindSlider(std::int32_t index) const;

    std::string effectName;
    std::string productString;
    std::string vendorString;
    /// The program name; the host may set and read it from different threads.
    std::string ProgramName() const;
    void SetProgramName(std::string name);
    std::int32_t vendorVersion = 0;
    std::int32_t uniqueID = 0; ///< four characters, first in the most significant byte
    std::int32_t channelCount = 0;

private:
    std::vector<SliderInfo> sliderInfos;
    std::string programName;
    mutable std::mutex programNameMutex;
};

/// Packs four characters into a unique ID, the first in the most significant byte.
constexpr std::int32_t FourCharacterId(const char (&id)[5])
{
    return static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(static_cast<unsigned char>(id[0])) << 24) |
        (static_cast<std::uint32_t>(static_cast<unsigned char>(id[1])) << 16) |
        (static_cast<std::uint32_t>(static_cast<unsigned char>(id[2])) << 8) |
        static_cast<std::uint32_t>(static_cast<unsigned char>(id[3])));
}

} // namespace vrn
