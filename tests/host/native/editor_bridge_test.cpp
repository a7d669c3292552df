// The editor bridge against the stub's fake windows: open and close, idle and redraw pacing,
// keys, knob mode, the effect view's hand-over to the table, the idle rhythm.
#include "editor/draw_context.h"
#include "editor/draw_surface.h"
#include "editor/frame.h"
#include "editor/graphics_library.h"
#include "effect/gate_effect.h"
#include "graphics/vest_view.h"
#include "host/vest.h"
#include "host/vest_editor.h"
#include "tests/host/fake_host.h"
#include "tests/support/fake_windows.h"
#include "tests/support/test_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace vrn::test
{
namespace
{

using Log = std::vector<std::string>;
using vrn::testing::FakeWindows;
void* const kHostWindow = reinterpret_cast<void*>(0x1000);

int CountOf(const Log& log, const std::string& line)
{
    return static_cast<int>(std::count(log.begin(), log.end(), line));
}

// --- a wrapper whose table records the editor entries

Log entries;
CDrawContext* contextDuringPaint = nullptr;

struct RecordingEntries
{
    static void EditorIdle(CVeST*) { entries.push_back("idle"); }
    static void Paint(CVeST* w, int32 width, int32 height)
    {
        contextDuringPaint = w->paintContext;
        entries.push_back("paint " + std::to_string(width) + " " + std::to_string(height));
    }
    static void Down(CVeST*, int32 x, int32 y, int32 b) { Add("down", x, y, b); }
    static void Up(CVeST*, int32 x, int32 y, int32 b) { Add("up", x, y, b); }
    static void Moved(CVeST*, int32 x, int32 y, int32 b) { Add("moved", x, y, b); }
    static int32 Key(CVeST*, int32 character, int32 modifier, int32 virtualKey)
    {
        Add("key", character, modifier, virtualKey);
        return 1;
    }
    static void Add(const char* what, int32 a, int32 b, int32 c)
    {
        entries.push_back(std::string(what) + " " + std::to_string(a) + " " + std::to_string(b) +
                          " " + std::to_string(c));
    }
};

/// A wrapper over no effect with the recording entries (all of them, or none) and an editor.
struct Bridge
{
    FakeHost host;
    CVeST* wrapper = nullptr;
    CVeSTEditor* editor = nullptr;

    explicit Bridge(bool withEntries = true)
    {
        entries.clear();
        FakeHost::current = &host;
        VeSTCallbacks table;
        if (withEntries)
        {
            table.editorIdle = &RecordingEntries::EditorIdle;
            table.editorPaint = &RecordingEntries::Paint;
            table.mouseDown = &RecordingEntries::Down;
            table.mouseUp = &RecordingEntries::Up;
            table.mouseMoved = &RecordingEntries::Moved;
            table.keyDown = &RecordingEntries::Key;
            table.keyUp = &RecordingEntries::Key;
        }
        wrapper = CVeST::Create(nullptr, table, &FakeHost::Callback, 1, 0);
        editor = new CVeSTEditor(wrapper); // the wrapper owns it from now on
    }
    Bridge(const Bridge&) = delete;
    Bridge& operator=(const Bridge&) = delete;
    ~Bridge()
    {
        Dispatch(effClose);
        FakeHost::current = nullptr;
    }
    intptr Dispatch(int32 opcode, int32 index = 0, intptr value = 0, void* ptr = nullptr,
                    float opt = 0.0f)
    {
        AEffect* e = wrapper->getAeffect();
        return e->dispatcher(e, opcode, index, value, ptr, opt);
    }
};

TEST(EditorBridge, ReportsItsRectangleBeforeOpen)
{
    Bridge bridge;
    ERect* rect = nullptr;
    ASSERT_EQ(bridge.Dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 500);
    EXPECT_EQ(rect->right, 450);
    EXPECT_NE(bridge.wrapper->getAeffect()->flags & effFlagsHasEditor, 0);
}

TEST(EditorBridge, OpenThatCannotMakeItsWindowAnswersFalseAndLeavesNothing)
{
    FakeWindows windows;
    Bridge bridge;
    EXPECT_EQ(bridge.Dispatch(effEditOpen, 0, 0, nullptr), 0);
    editor_platform::FailWindowCreation(1);
    EXPECT_EQ(bridge.Dispatch(effEditOpen, 0, 0, kHostWindow), 0);
    editor_platform::FailGraphicsStartup(true);
    EXPECT_EQ(bridge.Dispatch(effEditOpen, 0, 0, kHostWindow), 0);
    editor_platform::FailGraphicsStartup(false);

    EXPECT_EQ(bridge.editor->getFrame(), nullptr);
    EXPECT_EQ(bridge.editor->getView(), nullptr);
    EXPECT_FALSE(bridge.editor->isOpen());
    EXPECT_EQ(editor_platform::FakeWindowCount(), 0);
    EXPECT_EQ(editor_platform::OpenOleInitializations(), 0);
    EXPECT_FALSE(GDIPlusGlobals::isRunning());
    EXPECT_FALSE(bridge.wrapper->RequestRedraw());
    bridge.Dispatch(effEditIdle);
    bridge.Dispatch(effEditClose);
    EXPECT_TRUE(entries.empty());
}

TEST(EditorBridge, OpenMakesAFrameWithOneEffectViewAndReopenMakesANewOne)
{
    FakeWindows windows;
    Bridge bridge;
    ASSERT_EQ(bridge.Dispatch(effEditOpen, 0, 0, kHostWindow), 1);
    CFrame* frame = bridge.editor->getFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(bridge.editor->isOpen());
    EXPECT_EQ(frame->bounds(), (ViewRect{0, 0, 450, 500}));
    ASSERT_EQ(frame->childCount(), 1);
    EXPECT_EQ(frame->childAtIndex(0), bridge.editor->getView());
    EXPECT_EQ(frame->childAtIndex(0)->bounds(), (ViewRect{0, 0, 450, 500}));
    EXPECT_EQ(frame->getEditor(), bridge.editor);

    bridge.Dispatch(effEditClose);
    EXPECT_EQ(bridge.editor->getFrame(), nullptr);
    EXPECT_EQ(editor_platform::FakeWindowCount(), 0);
    ASSERT_EQ(bridge.Dispatch(effEditOpen, 0, 0, kHostWindow), 1);
    EXPECT_EQ(bridge.editor->getFrame()->bounds(), (ViewRect{0, 0, 450, 500}));
    EXPECT_EQ(bridge.editor->getFrame()->childCount(), 1);
    // A second open without a close replaces the frame instead of orphaning its window.
    ASSERT_EQ(bridge.Dispatch(effEditOpen, 0, 0, kHostWindow), 1);
    EXPECT_EQ(editor_platform::FakeWindowCount(), 1);
    EXPECT_EQ(CountOf(windows.log, "create 450 500"), 3);
    EXPECT_EQ(CountOf(windows.log, "destroy"), 2);
    // The wrapper's deletion closes an editor the host left open.
}

TEST(EditorBridge, OleIsInitialisedWhereTheWindowIsMadeNotWhereThePluginIsBuilt)
{
    FakeWindows windows;
    // A host's worker thread builds the plug-in; its UI thread opens, closes and deletes it.
    std::unique_ptr<Bridge> bridge;
    std::thread([&bridge] { bridge = std::make_unique<Bridge>(); }).join();
    EXPECT_EQ(editor_platform::OpenOleInitializations(), 0);
    ASSERT_EQ(bridge->Dispatch(effEditOpen, 0, 0, kHostWindow), 1);
    EXPECT_EQ(editor_platform::OpenOleInitializationsOnThisThread(), 1);
    bridge->Dispatch(effEditClose);
    bridge.reset();
    EXPECT_EQ(editor_platform::OpenOleInitializations(), 0);
    EXPECT_FALSE(editor_platform::OleEverUnbalanced());
}

TEST(EditorBridge, IdleRunsTheRedrawTimerOnlyWhileOpen)
{
    FakeWindows windows;
    Bridge bridge;
    bridge.Dispatch(effEditIdle);
    EXPECT_TRUE(entries.empty());
    const std::size_t windowCalls = windows.log.size();
    bridge.Dispatch(effEditIdle);
    EXPECT_EQ(windows.log.size(), windowCalls);

    bridge.Dispatch(effEditOpen, 0, 0, kHostWindow);
    bridge.Dispatch(effEditIdle);
    bridge.Dispatch(effEditIdle);
    EXPECT_EQ(entries, (Log{"idle", "idle"}));
    bridge.Dispatch(effEditClose);
    bridge.Dispatch(effEditIdle);
    EXPECT_EQ(entries.size(), 2u);
}

TEST(EditorBridge, KeysAreNotTakenAndKnobModeIsShared)
{
    FakeWindows windows;
    Bridge bridge;
    EXPECT_EQ(bridge.Dispatch(effEditKeyDown, 'a', 65, nullptr, 0.0f), 0); // closed
    bridge.Dispatch(effEditOpen, 0, 0, kHostWindow);
    EXPECT_EQ(bridge.Dispatch(effEditKeyDown, 'a', 65, nullptr, 1.0f), 0);
    EXPECT_EQ(bridge.Dispatch(effEditKeyUp, 'a', 65, nullptr, 1.0f), 0);
    EXPECT_EQ(bridge.Dispatch(effEditKeyDown, 0, 2, nullptr, 0.0f), 0); // tab: nothing to focus
    EXPECT_TRUE(entries.empty());
    // A wheel turn reaches the effect view, which does not take it.
    EXPECT_FALSE(bridge.editor->onWheel(1.0f));
    EXPECT_TRUE(entries.empty());

    EXPECT_EQ(bridge.Dispatch(effSetEditKnobMode, 0, 2), 1);
    Bridge other(false);
    EXPECT_EQ(other.editor->getKnobMode(), 2);
    EXPECT_EQ(bridge.editor->getFrame()->getKnobMode(), 2);
    bridge.Dispatch(effSetEditKnobMode, 0, 0);
}

TEST(EditorBridge, KeyModifiersThatAreNoNumberReadAsNone)
{
    // Found by fuzzing: the modifier arrives as a float, and converting an infinite or huge one
    // to an integer was undefined.
    FakeWindows windows;
    Bridge bridge;
    bridge.Dispatch(effEditOpen, 0, 0, kHostWindow);
    bridge.editor->getFrame()->setFocusView(bridge.editor->getView());
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const float modifier : {3.0f, -1.0f, nan, inf, -inf, 3e9f, -3e9f})
        EXPECT_EQ(bridge.Dispatch(effEditKeyDown, 'a', 65, nullptr, modifier), 1);
    EXPECT_EQ(entries, (Log{"key 97 3 65", "key 97 255 65", "key 97 0 65", "key 97 0 65",
                            "key 97 0 65", "key 97 0 65", "key 97 0 65"}));
}

TEST(EditorBridge, EffectViewHandsPaintMouseAndKeysToTheTable)
{
    FakeWindows windows;
    Bridge bridge;
    bridge.Dispatch(effEditOpen, 0, 0, kHostWindow);
    CFrame* frame = bridge.editor->getFrame();
    CVeSTView* view = bridge.editor->getView();

    EXPECT_EQ(frame->mouseDown({10.7, 20.2}, kLButton | kShift), kMouseEventHandled);
    EXPECT_EQ(frame->mouseMoved({30, 40}, kLButton), kMouseEventHandled);
    EXPECT_EQ(frame->mouseUp({31, 41}, kLButton), kMouseEventHandled);
    EXPECT_EQ(view->keyDown(KeyCode{'q', 9, 1}), 1);
    auto* context = new CDrawContext(frame, frame->bounds(), nullptr);
    frame->draw(context);
    EXPECT_EQ(entries, (Log{"down 10 20 18", "moved 30 40 2", "up 31 41 2", "key 113 1 9",
                            "paint 450 500"}));
    EXPECT_EQ(contextDuringPaint, context);
    EXPECT_EQ(bridge.wrapper->paintContext, nullptr);

    // Without the entries nothing is called, the context is not touched, and the answers stay.
    Bridge bare(false);
    bare.Dispatch(effEditOpen, 0, 0, kHostWindow);
    CDrawContext* sentinel = context;
    bare.wrapper->paintContext = sentinel;
    bare.editor->getFrame()->draw(context);
    EXPECT_EQ(bare.wrapper->paintContext, sentinel);
    EXPECT_EQ(bare.editor->getView()->mouseDown({1, 1}, kLButton), kMouseEventHandled);
    bare.wrapper->paintContext = nullptr;
    context->release();
}

// --- content scale

ERect GetRect(Bridge& bridge)
{
    ERect* rect = nullptr;
    bridge.Dispatch(effEditGetRect, 0, 0, &rect);
    return rect ? *rect : ERect{};
}

intptr RequestScale(Bridge& bridge, float scale)
{
    return bridge.Dispatch(effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr,
                           scale);
}

TEST(EditorBridge, TheHostsContentScaleSizesTheWindowBeforeAndWhileItIsOpen)
{
    FakeWindows windows;
    Bridge bridge;
    EXPECT_EQ(RequestScale(bridge, 2.0f), 1);
    const ERect doubled = GetRect(bridge);
    EXPECT_EQ(doubled.right, 900);
    EXPECT_EQ(doubled.bottom, 1000);
    ASSERT_EQ(bridge.Dispatch(effEditOpen, 0, 0, kHostWindow), 1);
    EXPECT_EQ(CountOf(windows.log, "create 900 1000"), 1);
    // The frame, its view and what the effect draws in keep the editor's own size.
    CFrame* frame = bridge.editor->getFrame();
    EXPECT_EQ(frame->getScale(), 2.0);
    EXPECT_EQ(frame->bounds(), (ViewRect{0, 0, 450, 500}));
    EXPECT_EQ(bridge.editor->getView()->bounds(), (ViewRect{0, 0, 450, 500}));
    std::int32_t width = 0;
    std::int32_t height = 0;
    ASSERT_TRUE(bridge.wrapper->EditorSize(width, height));
    EXPECT_EQ(width, 450);
    EXPECT_EQ(height, 500);
    EXPECT_TRUE(bridge.host.windowSizes.empty()); // the host read the size itself

    // While open: the window follows and the host is asked for the room.
    windows.take();
    EXPECT_EQ(RequestScale(bridge, 1.5f), 1);
    EXPECT_EQ(windows.take(), (Log{"resize 675 750", "invalidate 0 0 675 750"}));
    EXPECT_EQ(bridge.host.windowSizes, Log{"675x750"});
    EXPECT_EQ(GetRect(bridge).right, 675);
    EXPECT_EQ(RequestScale(bridge, 1.5f), 1); // the same again: nothing to do
    EXPECT_EQ(bridge.host.windowSizes.size(), 1u);

    // Pointer positions reach the effect in its own pixels.
    FrameWindowClient* window = editor_platform::FakeWindowClient(frame->getWindow());
    window->onWindowMouseDown({300, 450}, kLButton);
    window->onWindowMouseUp({301.5, 451.5}, kLButton);
    EXPECT_EQ(entries, (Log{"down 200 300 2", "up 201 301 2"}));
}

TEST(EditorBridge, FactorsNoScreenMeansAreRefusedAndOthersClamped)
{
    FakeWindows windows;
    Bridge bridge;
    ASSERT_EQ(bridge.Dispatch(effEditOpen, 0, 0, kHostWindow), 1);
    windows.take();
    const float refused[] = {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity()};
    for (const float factor : refused)
        EXPECT_EQ(RequestScale(bridge, factor), 0) << factor;
    EXPECT_TRUE(windows.take().empty());
    EXPECT_EQ(GetRect(bridge).right, 450);
    EXPECT_EQ(bridge.editor->getFrame()->getScale(), 1.0);

    EXPECT_EQ(RequestScale(bridge, 100.0f), 1);
    EXPECT_EQ(bridge.host.windowSizes, Log{"1350x1500"});
    EXPECT_EQ(RequestScale(bridge, 0.25f), 1);
    EXPECT_EQ(bridge.host.windowSizes, (Log{"1350x1500", "450x500"}));
    // Other vendors' requests are not this one.
    EXPECT_EQ(bridge.Dispatch(effVendorSpecific, kContentScaleIndex, 0, nullptr, 2.0f), 0);
    EXPECT_EQ(bridge.Dispatch(effVendorSpecific, 0, kContentScaleValue, nullptr, 2.0f), 0);
    EXPECT_EQ(GetRect(bridge).right, 450);
}

TEST(EditorBridge, TheSystemsScaleCountsAtEveryOpenUntilTheHostChoosesOne)
{
    FakeWindows windows;
    Bridge bridge;
    editor_platform::SetFakeContentScale(144.0 / 96.0);
    EXPECT_EQ(GetRect(bridge).right, 450); // not known before the window
    ASSERT_EQ(bridge.Dispatch(effEditOpen, 0, 0, kHostWindow), 1);
    EXPECT_EQ(CountOf(windows.log, "create 675 750"), 1);
    EXPECT_EQ(bridge.host.windowSizes, Log{"675x750"}); // it read 450 × 500 before
    bridge.Dispatch(effEditClose);

    editor_platform::SetFakeContentScale(std::numeric_limits<double>::quiet_NaN());
    ASSERT_EQ(bridge.Dispatch(effEditOpen, 0, 0, kHostWindow), 1);
    EXPECT_EQ(CountOf(windows.log, "create 675 750"), 2); // nonsense changes nothing
    bridge.Dispatch(effEditClose);

    EXPECT_EQ(RequestScale(bridge, 1.0f), 1);
    editor_platform::SetFakeContentScale(2.0);
    ASSERT_EQ(bridge.Dispatch(effEditOpen, 0, 0, kHostWindow), 1);
    EXPECT_EQ(CountOf(windows.log, "create 450 500"), 1);
    EXPECT_EQ(bridge.host.windowSizes, Log{"675x750"}); // it read the host's own size
}

std::uint32_t fakeTicks = 0;
std::uint32_t FakeTicks()
{
    return fakeTicks;
}

TEST(EditorBridge, IdleStuffLetsTheHostIdleAtMostEvery100Milliseconds)
{
    FakeWindows windows;
    Bridge bridge;
    bridge.Dispatch(effEditOpen, 0, 0, kHostWindow);
    // Near the wrap of the tick count: the rhythm must go on across it.
    fakeTicks = 0xFFFFFF00u;
    bridge.editor->setTickSource(&FakeTicks);
    editor_platform::SetFakePendingPaints(5);
    auto hostIdles = [&] { return bridge.host.Count(audioMasterIdle); };

    bridge.editor->getFrame()->doIdleStuff(); // the frame forwards to the editor
    EXPECT_EQ(hostIdles(), 1);
    EXPECT_EQ(entries, Log{"idle"});
    fakeTicks += 20; // 80 ms early: waits 4 ms, still too early
    bridge.editor->doIdleStuff();
    EXPECT_EQ(hostIdles(), 1);
    fakeTicks += 40; // 40 ms early: waits 4 ms, then runs
    bridge.editor->doIdleStuff();
    EXPECT_EQ(hostIdles(), 2);
    fakeTicks += 200; // past the wrap now, and due
    bridge.editor->doIdleStuff();
    EXPECT_EQ(hostIdles(), 3);
    EXPECT_EQ(CountOf(windows.log, "sleep 4"), 2);
    EXPECT_EQ(CountOf(windows.log, "paint dispatch"), 3);
    EXPECT_EQ(entries, (Log{"idle", "idle", "idle"}));
}

TEST(EditorBridge, EditGesturesReachTheHost)
{
    FakeWindows windows;
    Bridge bridge;
    bridge.Dispatch(effEditOpen, 0, 0, kHostWindow);
    bridge.editor->getFrame()->beginEdit(3);
    bridge.editor->getFrame()->endEdit(3);
    EXPECT_EQ(bridge.host.Count(audioMasterBeginEdit), 1);
    EXPECT_EQ(bridge.host.Count(audioMasterEndEdit), 1);
}

// --- the gate's redraw timer through the editor

std::uint32_t fakeNow = 0;
std::uint32_t FakeClock()
{
    return fakeNow;
}

TEST(EditorBridge, TwoIdles10MillisecondsApartRedrawTheGateAtMostOnce)
{
    FakeWindows windows;
    Plugin plugin;
    auto* wrapper = static_cast<CVeST*>(plugin.effect->object);
    auto& gate = *static_cast<TXaltoEffect*>(wrapper->effect);
    auto* editor = static_cast<CVeSTEditor*>(wrapper->getEditor()); // the gate's own
    gate.redrawClock = &FakeClock;
    ASSERT_EQ(gate.frameRate, 30.0);
    EXPECT_FALSE(wrapper->RequestRedraw()); // closed: nothing to redraw

    ASSERT_EQ(plugin.Dispatch(effEditOpen, 0, 0, kHostWindow), 1);
    const auto redraws = [&] { return CountOf(windows.log, "invalidate 0 0 450 500"); };
    const int afterOpen = redraws(); // the view's first invalidation when it was added
    fakeNow = 1000;
    plugin.Dispatch(effEditIdle);
    fakeNow = 1010;
    plugin.Dispatch(effEditIdle);
    EXPECT_EQ(redraws() - afterOpen, 1);
    fakeNow = 1034;
    plugin.Dispatch(effEditIdle);
    EXPECT_EQ(redraws() - afterOpen, 2);

    gate.frameRate = 0.0; // no timed redraws; the frame idle still runs
    fakeNow = 5000;
    plugin.Dispatch(effEditIdle);
    EXPECT_EQ(redraws() - afterOpen, 2);
    editor->getView()->setNeedsRedraw(true);
    plugin.Dispatch(effEditIdle);
    EXPECT_EQ(redraws() - afterOpen, 3);
    plugin.Dispatch(effEditClose);
}

} // namespace
} // namespace vrn::test
