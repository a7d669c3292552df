// After its first frame the gate's editor draws without allocating: images, fonts and the value
// texts' storage are kept from frame to frame (30 frames a second on the UI thread).
#include "effect/gate_effect.h"
#include "graphics/mouse_input.h"
#include "tests/realtime/counting.h"
#include "tests/support/fake_graphics_host.h"
#include "tests/support/test_images.h"

#include <gtest/gtest.h>

#include <atomic>

namespace vrn
{
namespace
{

/// Paints through a context over no surface: the drawing runtime runs whole, nothing records.
class SilentPaintHost : public testing::FakeGraphicsHost
{
public:
    CDrawContext* PaintContext() override { return context; }
    CDrawContext* context = new CDrawContext(nullptr, {}, nullptr);
    ~SilentPaintHost() override { context->release(); }
};

TEST(EditorFrame, AllocatesNothingAfterTheFirstFrame)
{
    editor_platform::AddTestResourceImage(0, 32, 32);
    editor_platform::AddTestResourceImage(1, 450, 500);
    SilentPaintHost host;
    TXaltoEffect gate;
    gate.vest = &host;
    gate.Reset();
    gate.Resume();
    gate.GfxSection(); // loads the images, lays out the rows, makes the fonts

    realtime::allocations = 0;
    realtime::counting = true;
    // Frames with hovering, a drag across the Release Lo row (texts from "5 ms" to "1000 ms"),
    // a fine drag and a reset on Crossover, the monitor through all its labels, and meters.
    for (int frame = 0; frame < 60; ++frame)
    {
        const double x = 120.0 + 4.0 * frame;
        if (frame == 2)
            mouseDown(gate, x, 79, kLButton);
        if (frame == 30)
            mouseUp(gate, x, 79);
        if (frame == 34)
            mouseDown(gate, 200, 219, kLButton | kShift);
        if (frame == 40)
            mouseDown(gate, 200, 219, kLButton | kControl);
        if (frame == 44)
            mouseUp(gate, 200, 219);
        mouseMoved(gate, frame < 32 ? x : (frame < 46 ? 200.0 + frame : x), frame < 32 ? 79 : 219);
        gate.meterLo.RaiseTo(frame % 7 / 6.0);
        gate.meterHi.RaiseTo(frame % 5 / 4.0);
        gate.GfxSection();
    }
    realtime::counting = false;
    EXPECT_EQ(realtime::allocations.load(), 0);
    editor_platform::ClearTestResourceImages();
}

} // namespace
} // namespace vrn
