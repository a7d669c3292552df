#pragma once
// The gate's ten sliders, its registered strings and the constants of its signal path.

#include "runtime/description.h"
#include "runtime/strings.h"

namespace vrn::gate
{

// Slider numbers (host parameter index + 1).
enum SliderNumber : std::int32_t
{
    kAttack = 1,      ///< ms, 0 … 10
    kReleaseLo = 2,   ///< ms, 5 … 1000
    kReleaseHi = 3,   ///< ms, 5 … 1000
    kThresholdLo = 4, ///< dB, −90 … 0
    kThresholdHi = 5, ///< dB, −90 … 0
    kCrossover = 6,   ///< Hz, 100 … 8000
    kRatio = 7,       ///< gain-curve exponent, 0.5 … 10
    kMonitor = 8,     ///< 0 Output, 1 Detector, 2 Lo-band, 3 Hi-band
    kPreGate = 9,     ///< 0 off, 1 on
    kBandLink = 10,   ///< percent, 0 … 100
};

/// String slots the gate registers at reset: the editor's texts, by what they are for.
enum GateText : std::int32_t
{
    kBuildText = 10000, ///< "build 170220"
    kOutputLabel,       ///< the Monitor row's labels "Output", "Detector", "Lo-Band", "Hi-Band"
    kDetectorLabel,
    kLoBandLabel,
    kHiBandLabel,
    kOffLabel, ///< the Pre-Gate row's labels "Off", "On"
    kOnLabel,
    kCodeFace,         ///< "Courier New"
    kFormatWhole,      ///< "%.0f"
    kFormatTenths,     ///< "%.1f"
    kFormatHundredths, ///< "%.2f"
    kFormatSpare,      ///< "%.2f", unused
    kLabelFace,        ///< "Arial"
    kAttackUnit,       ///< each row's unit text (appended to its value) and name, in pairs
    kAttackName,
    kReleaseLoUnit,
    kReleaseLoName,
    kReleaseHiUnit,
    kReleaseHiName,
    kThresholdLoUnit,
    kThresholdLoName,
    kThresholdHiUnit,
    kThresholdHiName,
    kCrossoverUnit,
    kCrossoverName,
    kBandLinkUnit,
    kBandLinkName,
    kRatioUnit,
    kRatioName,
    kMonitorUnit,
    kMonitorName,
    kPreGateUnit,
    kPreGateName,
    kMeterFace, ///< "Arial"
    kBuildFace, ///< "Arial"
};

/// Memory cells of the selector rows' label tables: cell k holds choice k's label string.
constexpr double kMonitorLabelTable = 1000000;
constexpr double kPreGateLabelTable = 1000010;

constexpr int kGateSliderCount = 10;
constexpr int kSerializedSliders = 64; ///< slider cells saved in the chunk: 1 … 64

/// Declares the ten sliders with their option labels, in host parameter order.
void DeclareGateSliders(CXaltoDescription& description);

/// Registers the file names and the texts the editor refers to by number.
void RegisterGateStrings(StringSlots& strings, StringSlots& fileNames);

} // namespace vrn::gate
