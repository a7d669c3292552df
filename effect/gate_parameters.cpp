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

    static const char* const kTexts[] = {
        "build 170220", "Output", "Detector",     "Lo-Band",
        "Hi-Band",      "Off",    "On",           "Courier New",
        "%.0f",         "%.1f",   "%.2f",         "%.2f",
        "Arial",        " ms",    "Attack",       " ms",
        "Release Lo",   " ms",    "Release Hi",   " dB",
        "Threshold Lo", " dB",    "Threshold Hi", " Hz",
        "Crossover",    " %",     "Band Link",    "",
        "Ratio",        "",       "Monitor",      "",
        "Pre-Gate",     "Arial",  "Arial",
    };
    static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == 35, "strings 10000 … 10034");
    double number = 10000.0;
    for (const char* text : kTexts)
        strings.Assign(number++, text);
}

} // namespace vrn::gate
