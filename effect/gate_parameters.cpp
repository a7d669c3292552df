// The gate's slider table and registered strings.
#include "effect/gate_parameters.h"

namespace vrn::gate
{

void DeclareGateSliders(CXaltoDescription& d)
{
    // The VST 2.4 unit labels stay empty; the units are given separately, for formats whose
    // hosts show units of their own. Symbols never change: hosts save values under them.
    d.DeclareSlider(kAttack, 0.0, 0.0, 10.0, 0.1, "", "", "Attack");
    d.IdentifySlider("attack", SliderUnit::kMilliseconds);
    d.DeclareSlider(kReleaseLo, 20.0, 5.0, 1000.0, 1.0, "", "", "Release Lo");
    d.IdentifySlider("release_lo", SliderUnit::kMilliseconds);
    d.DeclareSlider(kReleaseHi, 20.0, 5.0, 1000.0, 1.0, "", "", "Release Hi");
    d.IdentifySlider("release_hi", SliderUnit::kMilliseconds);
    d.DeclareSlider(kThresholdLo, -45.0, -90.0, 0.0, 1.0, "", "", "Threshold Lo");
    d.IdentifySlider("threshold_lo", SliderUnit::kDecibels);
    d.DeclareSlider(kThresholdHi, -45.0, -90.0, 0.0, 1.0, "", "", "Threshold Hi");
    d.IdentifySlider("threshold_hi", SliderUnit::kDecibels);
    d.DeclareSlider(kCrossover, 500.0, 100.0, 8000.0, 10.0, "", "", "Crossover");
    d.IdentifySlider("crossover", SliderUnit::kHertz);
    d.DeclareSlider(kRatio, 2.0, 0.5, 10.0, 0.1, "", "", "Ratio [Exp<>Gate]");
    d.IdentifySlider("ratio", SliderUnit::kNone);
    d.DeclareSlider(kMonitor, 0.0, 0.0, 3.0, 1.0, "", "", "Monitor");
    d.AddOption("Output");
    d.AddOption("Detector");
    d.AddOption("Lo-band");
    d.AddOption("Hi-band");
    d.IdentifySlider("monitor", SliderUnit::kNone);
    d.DeclareSlider(kPreGate, 0.0, 0.0, 1.0, 1.0, "", "", "Pre-Gate");
    d.AddOption("Off");
    d.AddOption("On");
    d.IdentifySlider("pre_gate", SliderUnit::kNone);
    d.DeclareSlider(kBandLink, 0.0, 0.0, 100.0, 1.0, "", "", "Band Link");
    d.IdentifySlider("band_link", SliderUnit::kPercent);
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
