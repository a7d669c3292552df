// The whole editor path with the real gate: the frame routes mouse events to the effect view,
// the view hands them and the paint to the gate's table entries, and the host reads the result.
#include "editor/draw_context.h"
#include "editor/frame.h"
#include "host/vest.h"
#include "host/vest_editor.h"
#include "tests/host/fake_host.h"
#include "tests/support/fake_windows.h"
#include "tests/support/recording_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace vrn::test
{
namespace
{

void* const kHostWindow = reinterpret_cast<void*>(0x1000);

/// The gate with an open editor on a fake window; paints go to a recording context.
struct OpenEditor
{
    testing::FakeWindows windows;
    Plugin plugin;
    CVeSTEditor* editor = nullptr;
    std::vector<std::string> log;

    OpenEditor()
    {
        auto* wrapper = static_cast<CVeST*>(plugin.effect->object);
        editor = static_cast<CVeSTEditor*>(wrapper->getEditor()); // the gate's own
        open = plugin.Dispatch(effEditOpen, 0, 0, kHostWindow) == 1;
    }
    ~OpenEditor() { plugin.Dispatch(effEditClose); }

    CFrame& Frame() { return *editor->getFrame(); }
    void Paint()
    {
        auto* context = new CDrawContext(&Frame(), Frame().bounds(),
                                         std::make_unique<testing::RecordingSurface>(log));
        log.clear();
        Frame().draw(context);
        context->release();
    }
    bool Drew(const std::string& call) const
    {
        return std::find(log.begin(), log.end(), call) != log.end();
    }

    bool open = false;
};

TEST(GateEditorWindow, TheViewDrawsTheGateAndItsDragsReachTheHost)
{
    OpenEditor e;
    ASSERT_TRUE(e.open);
    e.Paint();
    EXPECT_TRUE(e.Drew("bitmap 450x500 to 0 0 450 500 from 0 0 alpha 255"));
    EXPECT_TRUE(e.Drew("bitmap 32x32 to 229 133 32 32 from 0 0 alpha 255")); // Threshold Lo

    // Rest over Threshold Lo (the first move over the view only enters it), press, drag past
    // its right end, release.
    e.Frame().mouseMoved({190, 149}, 0);
    e.Frame().mouseMoved({200, 149}, 0);
    e.Paint();
    e.Frame().mouseDown({200, 149}, kLButton);
    e.Paint();
    EXPECT_FLOAT_EQ(e.plugin.Get(3), 27.0f / 90.0f); // -63 dB
    EXPECT_TRUE(e.Drew("bitmap 32x32 to 185 133 32 32 from 0 0 alpha 255"));
    e.Frame().mouseMoved({400, 149}, kLButton);
    e.Paint();
    e.Frame().mouseUp({400, 149}, kLButton);
    e.Paint();
    EXPECT_EQ(e.plugin.Get(3), 1.0f);
    EXPECT_TRUE(e.Drew("bitmap 32x32 to 337 133 32 32 from 0 0 alpha 255"));

    // A wheel turn over a row changes nothing.
    editor_platform::SetFakePointer({200, 49}, 0);
    EXPECT_FALSE(e.editor->onWheel(1.0f));
    e.Paint();
    EXPECT_EQ(e.plugin.Get(0), 0.0f);
}

TEST(GateEditorWindow, ADragEndsWhenAnotherWindowTakesThePointer)
{
    OpenEditor e;
    ASSERT_TRUE(e.open);
    e.Paint();
    FrameWindowClient* window = editor_platform::FakeWindowClient(e.Frame().getWindow());
    ASSERT_NE(window, nullptr);
    // Press on Threshold Lo and drag, as real window messages.
    window->onWindowMouseMoved({200, 149}, 0);
    e.Paint();
    window->onWindowMouseDown({200, 149}, kLButton);
    e.Paint();
    window->onWindowMouseMoved({250, 149}, kLButton);
    e.Paint();
    const float dragged = e.plugin.Get(3);
    EXPECT_GT(dragged, 27.0f / 90.0f);

    // A host dialog takes the pointer; the button is released over it. Later moves over the
    // editor, with no button held, must not drag the row on.
    window->onWindowCaptureLost();
    window->onWindowMouseMoved({150, 149}, 0);
    e.Paint();
    window->onWindowMouseMoved({330, 149}, 0);
    e.Paint();
    EXPECT_EQ(e.plugin.Get(3), dragged);
}

} // namespace
} // namespace vrn::test
