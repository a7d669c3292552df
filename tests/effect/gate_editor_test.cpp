// The gate's editor, frame by frame against a recording surface: handles, value texts, meters
// and lights where the background expects them, and the drag rules of the rows.
#include "effect/gate_effect.h"
#include "graphics/mouse_input.h"
#include "tests/support/fake_graphics_host.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vrn
{
namespace
{

using namespace gate;
using Lines = std::vector<std::string>;

/// A gate opened and resumed by a host whose editor paints it. The pictures are the files in
/// vrn_gfx beside the test program (no resources there).
struct EditorRig
{
    testing::FakeGraphicsHost host;
    TXaltoEffect gate;

    explicit EditorRig(bool resume = true)
    {
        gate.vest = &host;
        gate.Reset();
        if (resume)
            gate.Resume();
    }

    void Frame()
    {
        host.Paint([&] { gate.GfxSection(); });
    }
    void Move(double x, double y) { mouseMoved(gate, x, y); }
    void Press(double x, double y, ButtonState buttons = kLButton)
    {
        mouseDown(gate, x, y, buttons);
    }
    void Release(double x, double y) { mouseUp(gate, x, y); }
    /// As the host's setParameter does it.
    void SetSlider(int number, double value)
    {
        gate.Slider(number) = value;
        gate.SliderSection();
    }
    /// Hover, then press over (x, y), one frame each: the start of a drag.
    void Grab(double x, double y, ButtonState buttons = kLButton)
    {
        Move(x, y);
        Frame();
        Press(x, y, buttons);
        Frame();
    }

    /// "x y" of every handle drawn, in drawing order.
    Lines Handles() const
    {
        Lines found;
        for (const std::string& line : host.Calls("bitmap 32x32 to "))
        {
            std::istringstream in(line.substr(16));
            int x = 0;
            int y = 0;
            in >> x >> y;
            found.push_back(std::to_string(x) + " " + std::to_string(y));
        }
        return found;
    }
    /// Every text drawn, in drawing order.
    Lines Texts() const
    {
        Lines found;
        for (const std::string& line : host.Calls("string \""))
            found.push_back(line.substr(8, line.find('"', 8) - 8));
        return found;
    }
    /// The fill colour in force when `call` was drawn (the context starts with black).
    std::string FillColourOf(const std::string& call) const
    {
        std::string colour = "0,0,0,255";
        for (const std::string& line : host.log)
        {
            if (line.rfind("fillColor ", 0) == 0)
                colour = line.substr(10);
            if (line == call)
                return colour;
        }
        return "not drawn";
    }
    /// The bar of the meter whose bar top is `top` (399 low band, 411 high band).
    std::string Bar(int top) const
    {
        for (const std::string& line : host.Calls("fillRect "))
        {
            std::istringstream in(line.substr(9));
            int x = 0;
            int y = 0;
            in >> x >> y;
            if (y == top)
                return line.substr(9);
        }
        return "none";
    }
};

// Light circles: (109, y + 4) closed, (341, y + 4) open, radius 2.
const std::string kClosedLightLo = "fillEllipse 107 400 4 4";
const std::string kOpenLightLo = "fillEllipse 339 400 4 4";
const std::string kOpenLightHi = "fillEllipse 339 412 4 4";

TEST(GateEditor, DefaultFrameDrawsBackgroundHandlesTextsAndLabel)
{
    EditorRig rig;
    rig.Frame();
    EXPECT_EQ(rig.host.Calls("bitmap 450x500"),
              (Lines{"bitmap 450x500 to 0 0 450 500 from 0 0 alpha 255"}));
    // Run order: Attack, Release Lo/Hi, Threshold Lo/Hi, Crossover, Ratio, Monitor, Pre-Gate,
    // Band Link. Each handle's top is 6 above its row; minimum at x = 121, maximum at 337.
    EXPECT_EQ(rig.Handles(), (Lines{"121 33", "124 63", "124 93", "229 133", "229 163", "131 203",
                                    "155 263", "121 303", "121 333", "121 233"}));
    EXPECT_EQ(rig.Texts(), (Lines{"0.0 ms", "20 ms", "20 ms", "-45 dB", "-45 dB", "500 Hz", "2.0",
                                  "Output", "Off", "0 %", "build 170220"}));
    // Value texts: bold 11-pixel Arial in 0.8 grey at x = 370, their 16-pixel line box at y + 3.
    const Lines strings = rig.host.Calls("string \"-45 dB\"");
    ASSERT_EQ(strings.size(), 2u);
    EXPECT_EQ(strings[0], "string \"-45 dB\" Arial 11 style 1 at 370 144.5 aa");
    EXPECT_EQ(rig.host.Calls("fontColor").front(), "fontColor 204,204,204,255");
    // The build label: white at 20 % in plain 10-pixel Arial, top right.
    EXPECT_EQ(rig.host.Calls("string \"build").front(),
              "string \"build 170220\" Arial 10 style 0 at 380 12 aa");
    EXPECT_EQ(rig.host.Calls("fontColor").back(), "fontColor 255,255,255,51");
    // A frame changes no parameter.
    EXPECT_EQ(rig.gate.Slider(kReleaseLo), 20.0);
    EXPECT_EQ(rig.gate.Slider(kCrossover), 500.0);
}

TEST(GateEditor, HandlesAndTextsFollowTheSliders)
{
    EditorRig rig;
    rig.SetSlider(kAttack, 10);
    rig.SetSlider(kThresholdLo, -90);
    rig.SetSlider(kThresholdHi, 0);
    rig.SetSlider(kCrossover, 8000);
    rig.SetSlider(kMonitor, 2);
    rig.SetSlider(kPreGate, 1);
    rig.SetSlider(kBandLink, 100);
    rig.Frame();
    EXPECT_EQ(rig.Handles(), (Lines{"337 33", "124 63", "124 93", "121 133", "337 163", "337 203",
                                    "155 263", "265 303", "337 333", "337 233"}));
    EXPECT_EQ(rig.Texts(), (Lines{"10.0 ms", "20 ms", "20 ms", "-90 dB", "0 dB", "8000 Hz", "2.0",
                                  "Lo-Band", "On", "100 %", "build 170220"}));
}

TEST(GateEditor, RowsShowTheParameterInForceWhenAHostChangeRacedTheEditorsStores)
{
    // What a host thread's setParameter between the editor's two stores leaves behind: the
    // parameter (slider cell) at the host's value, the control value at the editor's old one.
    EditorRig rig;
    rig.Frame();
    rig.gate.Slider(kThresholdLo) = -80.0;
    rig.gate.controlValues[kThresholdLo - 1] = -45.0;
    rig.Frame();
    EXPECT_EQ(rig.Texts()[3], "-80 dB");
    EXPECT_EQ(rig.Handles()[3], "145 133");
    EXPECT_EQ(rig.gate.Slider(kThresholdLo), -80.0); // not put back to -45
}

TEST(GateEditor, MeterBarsStartAtTheScaleMarks)
{
    // g → where the lit part of the bar starts; it always ends at x = 324.
    const struct
    {
        double gain;
        const char* bar;
    } cases[] = {{1.0, "324 399 1 8"},
                 {0.316, "237 399 87 8"},
                 {0.1, "188 399 136 8"},
                 {0.01, "145 399 179 8"},
                 {0.0, "126 399 198 8"}};
    for (const auto& c : cases)
    {
        EditorRig rig;
        rig.gate.meterLo.RaiseTo(c.gain);
        rig.gate.meterHi.RaiseTo(c.gain);
        rig.Frame();
        EXPECT_EQ(rig.Bar(399), c.bar) << c.gain;
        EXPECT_EQ(rig.FillColourOf("fillRect " + std::string(c.bar)), "255,255,255,191");
        EXPECT_EQ(rig.gate.meterLo.Peek(), 0.0); // taken by the frame
        EXPECT_EQ(rig.gate.meterHi.Peek(), 0.0);
    }
    EditorRig rig;
    rig.gate.meterHi.RaiseTo(0.316);
    rig.Frame();
    EXPECT_EQ(rig.Bar(411), "237 411 87 8");
}

TEST(GateEditor, LightsGoFullAndFadeToTheirRestingGlowInSixteenFrames)
{
    EditorRig rig;
    rig.Frame(); // meters at 0: the low band is closed
    EXPECT_EQ(rig.FillColourOf(kClosedLightLo), "255,76,0,255");
    EXPECT_EQ(rig.FillColourOf(kOpenLightLo), "0,0,0,255"); // never open yet

    std::vector<double> closed;
    for (int frame = 1; frame <= 17; ++frame)
    {
        rig.gate.meterLo.RaiseTo(1.0);
        rig.Frame();
        closed.push_back(rig.gate.editor.closedLightLo);
        if (frame == 1)
        {
            EXPECT_EQ(rig.FillColourOf(kOpenLightLo), "0,255,0,255");
        }
    }
    EXPECT_EQ(rig.FillColourOf(kClosedLightLo), "56,16,0,255"); // 0.22
    // After the full frame: 0.95, 0.90, … 0.25 by the 15th, resting at 0.22 from the 16th.
    EXPECT_NEAR(closed[0], 0.90, 1e-12);
    EXPECT_NEAR(closed[13], 0.25, 1e-12);
    EXPECT_EQ(closed[14], 0.22);
    EXPECT_EQ(closed[16], 0.22);
    EXPECT_EQ(rig.FillColourOf(kOpenLightHi), "0,56,0,255"); // never opened: the resting glow
}

TEST(GateEditor, PressOutsideThenSlidingOntoATrackDoesNothing)
{
    EditorRig rig;
    rig.Press(100, 49);
    rig.Frame();
    rig.Move(200, 49);
    rig.Frame();
    rig.Move(250, 49);
    rig.Frame();
    EXPECT_EQ(rig.gate.Slider(kAttack), 0.0);
    EXPECT_EQ(rig.Handles()[0], "121 33");
}

TEST(GateEditor, HoverThenPressPutsTheHandleUnderThePointer)
{
    EditorRig rig;
    rig.Grab(199, 49);
    // Left edge 15 pixels left of the pointer (2.92 ms), then rounded up to the 0.1 ms grid.
    EXPECT_EQ(rig.gate.Slider(kAttack), 3.0);
    EXPECT_EQ(rig.gate.controlValues[0], 3.0);
    EXPECT_EQ(rig.Handles()[0], "185 33");
    EXPECT_EQ(rig.Texts()[0], "3.0 ms");
    EXPECT_EQ(rig.gate.Coefficients().attackMs, 3.0); // coefficients follow at once

    // The drag follows the pointer anywhere, even off the track, until the button goes up.
    rig.Move(250, 120);
    rig.Frame();
    EXPECT_EQ(rig.gate.Slider(kAttack), 5.3);
    rig.Release(250, 120);
    rig.Frame();
    rig.Move(300, 49);
    rig.Frame();
    EXPECT_EQ(rig.gate.Slider(kAttack), 5.3);
}

TEST(GateEditor, PressAndReleaseBetweenTwoFramesAreNotSeen)
{
    EditorRig rig;
    rig.Move(200, 49);
    rig.Frame();
    rig.Press(200, 49);
    rig.Release(200, 49);
    rig.Frame();
    EXPECT_EQ(rig.gate.Slider(kAttack), 0.0);
}

TEST(GateEditor, ShiftDragFromX200MovesTheHandleATwentiethAsFar)
{
    EditorRig rig;
    rig.Grab(200, 49, kLButton | kShift);
    EXPECT_EQ(rig.gate.editor.controls[0].dragPos, 64.0);
    rig.Move(210, 49);
    rig.Frame();
    // 10 / 200 pixels of handle per pixel of mouse travel from x = 200.
    EXPECT_DOUBLE_EQ(rig.gate.editor.controls[0].dragPos, 64.5);
    rig.Move(300, 49);
    rig.Frame();
    EXPECT_DOUBLE_EQ(rig.gate.editor.controls[0].dragPos, 69.0);
    EXPECT_EQ(rig.gate.Slider(kAttack), 3.2); // unshifted, x = 300 gives 7.6
}

TEST(GateEditor, ControlClickResetsToTheDefault)
{
    EditorRig rig;
    rig.SetSlider(kThresholdLo, -10);
    rig.SetSlider(kCrossover, 2000);
    rig.Grab(300, 149, kLButton | kControl);
    EXPECT_EQ(rig.gate.Slider(kThresholdLo), -45.0);
    rig.Release(300, 149);
    rig.Frame();
    rig.Grab(150, 219, kLButton | kControl);
    EXPECT_EQ(rig.gate.Slider(kCrossover), 500.0);
    EXPECT_EQ(rig.gate.Coefficients().crossoverHz, 500.0);
}

TEST(GateEditor, CrossoverDraggedToTheFarLeftWritesItsMinimumInTheSameFrame)
{
    EditorRig rig;
    rig.Grab(300, 219);
    rig.Move(0, 219);
    rig.Frame();
    EXPECT_EQ(rig.gate.Slider(kCrossover), 100.0);
    EXPECT_EQ(rig.gate.Coefficients().crossoverHz, 100.0);
    EXPECT_EQ(rig.Handles()[5], "121 203");
    EXPECT_EQ(rig.Texts()[5], "100 Hz");
}

TEST(GateEditor, SelectorTakesWholeChoicesAndShowsTheirLabels)
{
    EditorRig rig;
    rig.Grab(250, 319); // fraction 114/216 of three choices, rounded up: 2
    EXPECT_EQ(rig.gate.Slider(kMonitor), 2.0);
    EXPECT_EQ(rig.Texts()[7], "Lo-Band");
    rig.Move(1000, 319);
    rig.Frame();
    EXPECT_EQ(rig.gate.Slider(kMonitor), 3.0);
    EXPECT_EQ(rig.Texts()[7], "Hi-Band");
    EXPECT_EQ(rig.gate.Coefficients().monitorMode, 3.0);
}

TEST(GateEditor, PaintBeforeTheFirstResumeLeavesTheParametersAlone)
{
    // Opened, editor painted, not yet resumed: the rows must not pull the sliders to the
    // cleared control values or to a release range of 0.
    EditorRig rig(false);
    rig.Frame();
    rig.Frame();
    EXPECT_EQ(rig.gate.Slider(kReleaseLo), 20.0);
    EXPECT_EQ(rig.gate.Slider(kReleaseHi), 20.0);
    EXPECT_EQ(rig.gate.Slider(kThresholdLo), -45.0);
    EXPECT_EQ(rig.gate.Slider(kCrossover), 500.0);
    EXPECT_EQ(rig.gate.Slider(kRatio), 2.0);
    rig.gate.Resume();
    rig.Grab(370, 79); // the far right of Release Lo: the full 1000 ms
    EXPECT_EQ(rig.gate.Slider(kReleaseLo), 1000.0);
}

TEST(GateEditor, WithoutAPaintContextNothingIsDrawnButTheRowsStillWork)
{
    EditorRig rig;
    rig.Move(200, 49);
    rig.gate.GfxSection();
    rig.Press(200, 49);
    rig.gate.GfxSection();
    EXPECT_EQ(rig.gate.Slider(kAttack), 3.0);
    EXPECT_EQ(rig.host.fonts.Count(), 0u);
}

} // namespace
} // namespace vrn
