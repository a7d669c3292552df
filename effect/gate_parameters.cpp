// The gate's slider table and registered strings.
#include "effect/gate_parameters.h"

namespace vrn::gate
{

void DeclareGateSliders(CXaltoDescription& d)
{
    d.DeclareSlider(kAttack, 0.0, 0.0, 10.0, 0.1, "", "", "Attack");
    d.DeclareSlider(kReleaseLo, 20.0, 5.0, 1000.0, 1.0, "", "", "Release Lo");
    d.DeclareSlider(kReleaseHi, 20.0, 5.0, 1000.0, 1.0, "", "", "Release Hi");
    d.DeclareSlider(kThresholdLo, -45.0, -90.0, 0.0, 1.0, "", "", "Threshold Lo");
    d.DeclareSlider(kThresholdHi, -45.0, -90.0, 0.0, 1.0, "", "", "Threshold Hi");
    d.DeclareSlider(kCrossover, 500.0, 100.0, 8000.0, 10.0, "", "", "Crossover");
    d.DeclareSlider(kRatio, 2.0, 0.5, 10.0, 0.1, "", "", "Ratio [Exp<>Gate]");
    d.DeclareSlider(kMonitor, 0.0, 0.0, 3.0, 1.0, "", "", "Monitor");
    d.AddOption("Output");
    d.AddOption("Detector");
    d.AddOption("Lo-band");
    d.AddOption("Hi-band");
    d.DeclareSlider(kPreGate, 0.0, 0.0, 1.0, 1.0, "", "", "Pre-Gate");
    d.AddOption("Off");
    d.AddOption("On");
    d.DeclareSlider(kBandLink, 0.0, 0.0, 100.0, 1.0, "", "", "Band Link");
}

void RegisterGateStrings(StringSlots& strings, StringSlots& fileNames)
{
    fileNames.Assign(0, "vrn_gfx\\knob_sm.png");
    fileNames.Assign(1, "vrn_gfx\\bg.png");

    static const struct
    {
        GateText number;
        const char* text;
    } kTexts[] = {
        {kBuildText, "build 170220"},
        {kOutputLabel, "Output"},
        {kDetectorLabel, "Detector"},
        {kLoBandLabel, "Lo-Band"},
        {kHiBandLabel, "Hi-Band"},
        {kOffLabel, "Off"},
        {kOnLabel, "On"},
        {kCodeFace, "Courier New"},
        {kFormatWhole, "%.0f"},
        {kFormatTenths, "%.1f"},
        {kFormatHundredths, "%.2f"},
        {kFormatSpare, "%.2f"},
        {kLabelFace, "Arial"},
        {kAttackUnit, " ms"},
        {kAttackName, "Attack"},
        {kReleaseLoUnit, " ms"},
        {kReleaseLoName, "Release Lo"},
        {kReleaseHiUnit, " ms"},
        {kReleaseHiName, "Release Hi"},
        {kThresholdLoUnit, " dB"},
        {kThresholdLoName, "Threshold Lo"},
        {kThresholdHiUnit, " dB"},
        {kThresholdHiName, "Threshold Hi"},
        {kCrossoverUnit, " Hz"},
        {kCrossoverName, "Crossover"},
        {kBandLinkUnit, " %"},
        {kBandLinkName, "Band Link"},
        {kRatioUnit, ""},
        {kRatioName, "Ratio"},
        {kMonitorUnit, ""},
        {kMonitorName, "Monitor"},
        {kPreGateUnit, ""},
        {kPreGateName, "Pre-Gate"},
        {kMeterFace, "Arial"},
        {kBuildFace, "Arial"},
    };
    // Registered in number order, every number once.
    static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == kBuildFace - kBuildText + 1,
                  "one text per number");
    for (const auto& entry : kTexts)
        strings.Assign(entry.number, entry.text);
}

} // namespace vrn::gate
