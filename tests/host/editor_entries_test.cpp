// The editor's table entries as the editor view calls them: paint with the wrapper's context
// set, mouse events in view pixels; the host reads the result through getParameter.
#include "tests/host/fake_host.h"

#include "editor/draw_context.h"
#include "host/vest.h"
#include "tests/support/recording_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace vrn::test
{
namespace
{

/// Paints once through entry 7 with a recording context, as the editor view does.
std::vector<std::string> Paint(CVeST& wrapper)
{
    std::vector<std::string> log;
    auto* context = new CDrawContext(nullptr, {0, 0, 450, 500},
                                     std::make_unique<testing::RecordingSurface>(log));
    log.clear();
    wrapper.paintContext = context;
    wrapper.callbacks.editorPaint(&wrapper, 450, 500);
    wrapper.paintContext = nullptr;
    context->release();
    return log;
}

TEST(EditorEntries, PaintDrawsTheEditorAndMouseDragsSetParameters)
{
    Plugin plugin;
    auto& wrapper = *static_cast<CVeST*>(plugin.effect->object);
    const VeSTCallbacks& table = wrapper.callbacks;
    ASSERT_TRUE(table.editorPaint && table.mouseDown && table.mouseUp && table.mouseMoved);
    EXPECT_EQ(table.keyDown, nullptr);
    EXPECT_EQ(table.keyUp, nullptr);

    const std::vector<std::string> frame = Paint(wrapper);
    EXPECT_NE(
        std::find(frame.begin(), frame.end(), "bitmap 450x500 to 0 0 450 500 from 0 0 alpha 255"),
        frame.end());
    EXPECT_EQ(plugin.Get(3), 0.5f);

    // Threshold Lo: rest over the track, press, drag; the handle's left edge follows the
    // pointer 15 pixels to its left on the whole-dB grid.
    const int opcodesBefore = static_cast<int>(plugin.host.opcodes.size());
    table.mouseMoved(&wrapper, 200, 149, 0);
    Paint(wrapper);
    table.mouseDown(&wrapper, 200, 149, kLButton);
    Paint(wrapper);
    EXPECT_FLOAT_EQ(plugin.Get(3), 27.0f / 90.0f); // -63 dB
    EXPECT_EQ(plugin.Text(effGetParamDisplay, 3), "-63.00");
    table.mouseMoved(&wrapper, 380, 149, 0); // past the right end
    Paint(wrapper);
    table.mouseUp(&wrapper, 380, 149, 0);
    Paint(wrapper);
    EXPECT_EQ(plugin.Get(3), 1.0f);
    // The host is not told of the editor's changes; it reads them when it asks.
    EXPECT_EQ(static_cast<int>(plugin.host.opcodes.size()), opcodesBefore);
}

} // namespace
} // namespace vrn::test
