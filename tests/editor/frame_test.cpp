// The frame: drawing order and clipping, and its window side against the stub's fake windows.
#include "editor/bitmap.h"
#include "editor/frame.h"
#include "editor/graphics_library.h"
#include "editor/offscreen_context.h"
#include "tests/editor/event_log_view.h"
#include "tests/support/fake_windows.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace vrn
{
namespace
{

using testing::EventLogView;
using testing::FakeWindows;
using testing::RecordingSurface;
using Log = std::vector<std::string>;

void* const kHostWindow = reinterpret_cast<void*>(0x1000);

/// The lines of `log` that start with one of `prefixes`.
Log Only(const Log& log, std::initializer_list<const char*> prefixes)
{
    Log kept;
    for (const std::string& line : log)
        for (const char* prefix : prefixes)
            if (line.rfind(prefix, 0) == 0)
            {
                kept.push_back(line);
                break;
            }
    return kept;
}

/// A frame without a window and a context of the frame drawing into a recording surface.
struct DrawnTree
{
    Log log;
    CFrame* frame = new CFrame({0, 0, 450, 500}, nullptr, nullptr);
    CDrawContext* context =
        new CDrawContext(frame, frame->bounds(), std::make_unique<RecordingSurface>(log));

    DrawnTree() { log.clear(); }
    DrawnTree(const DrawnTree&) = delete;
    DrawnTree& operator=(const DrawnTree&) = delete;
    ~DrawnTree()
    {
        context->release();
        frame->release();
    }
    EventLogView* add(const char* name, const ViewRect& rect, CViewContainer* container = nullptr)
    {
        auto* view = new EventLogView(name, rect, log);
        (container ? container : frame)->addChild(view);
        return view;
    }
};

TEST(FrameDrawing, ChildrenDrawInOrderEachClippedToItsRectangle)
{
    DrawnTree tree;
    tree.add("A", {10, 10, 50, 50});
    tree.add("B", {30, 30, 80, 80});
    tree.add("C", {0, 0, 450, 500})->setShown(false);
    auto* box = new CViewContainer({200, 200, 300, 300}, nullptr);
    tree.frame->addChild(box);
    tree.add("D", {10, 10, 20, 20}, box)->setNeedsRedraw(true);
    tree.log.clear();

    tree.frame->draw(tree.context);
    // The frame paints its area opaque black first; a nested container draws its children
    // with the drawing offset moved to its corner.
    EXPECT_EQ(
        Only(tree.log, {"clip", "fillRect", "A", "B", "C", "D", "penColor"}),
        (Log{"penColor 0,0,0,255", "fillRect 0 0 450 500", "clip 10 10 40 40", "A draw",
             "fillRect 10 10 40 40", "clip 30 30 50 50", "B draw", "fillRect 30 30 50 50",
             "clip 200 200 100 100", "fillRect 200 200 100 100", "clip 210 210 10 10", "D draw",
             "fillRect 210 210 10 10", "clip 200 200 100 100", "clip 0 0 450 500"}));
    EXPECT_EQ(tree.context->getDrawingOffset(), (ViewPoint{0, 0}));
    EXPECT_EQ(tree.context->getClipRect(), (ViewRect{0, 0, 450, 500}));
    EXPECT_FALSE(box->needsRedraw()); // drawn views are clean again
    EXPECT_FALSE(tree.frame->isFirstDraw());
}

TEST(FrameDrawing, AnUpdateRectangleDrawsOnlyWhatItTouches)
{
    DrawnTree tree;
    tree.add("A", {10, 10, 50, 50});
    tree.add("B", {30, 30, 80, 80});
    tree.add("E", {300, 300, 310, 310});
    tree.log.clear();
    tree.frame->drawArea(tree.context, {40, 40, 60, 60});
    EXPECT_EQ(Only(tree.log, {"clip", "A", "B", "E"}),
              (Log{"clip 40 40 20 20", "clip 40 40 10 10", "A draw", "clip 40 40 20 20", "B draw",
                   "clip 0 0 450 500"}));
    tree.log.clear();
    tree.frame->drawArea(tree.context, {40, 40, 40, 60}); // empty: nothing drawn
    EXPECT_TRUE(Only(tree.log, {"fillRect", "A", "B"}).empty());
}

TEST(FrameDrawing, ContainerBackgroundBitmapColourAndOffscreen)
{
    DrawnTree tree;
    auto* box = new CViewContainer({100, 100, 200, 200}, nullptr);
    tree.frame->addChild(box);
    box->setTransparentBackground(true); // an opaque colour then draws nothing
    tree.log.clear();
    box->drawArea(tree.context, box->bounds());
    EXPECT_TRUE(Only(tree.log, {"fillRect"}).empty());

    auto* picture = new CBitmap(64.0, 32.0);
    box->setTransparentBackground(false);
    box->setBackgroundBitmap(picture);
    box->setBackgroundOffset({5, 6});
    picture->release();
    tree.log.clear();
    box->drawArea(tree.context, {150, 150, 200, 200});
    EXPECT_EQ(Only(tree.log, {"clip", "bitmap", "fillRect"}),
              (Log{"clip 150 150 50 50", "bitmap 64x32 to 100 100 64 32 from 5 6 alpha 255",
                   "clip 0 0 450 500"}));

    // Offscreen: the children draw into the private surface, which is then copied.
    box->setBackgroundBitmap(nullptr);
    tree.add("F", {0, 0, 10, 10}, box);
    box->setDrawOffscreen(true);
    tree.log.clear();
    box->drawArea(tree.context, {105, 100, 150, 150});
    EXPECT_EQ(Only(tree.log, {"bitmap", "fillRect", "F"}),
              (Log{"F draw", "bitmap 100x100 to 105 100 45 50 from 5 0 alpha 255"}));
}

TEST(FrameWindow, MadeInTheHostWindowAndDestroyedWithTheFrame)
{
    FakeWindows windows;
    auto* frame = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    EXPECT_TRUE(frame->isWindowOpen());
    EXPECT_TRUE(frame->isDropActive());
    EXPECT_EQ(editor_platform::FakeWindowClient(frame->getWindow()), frame);
    frame->release();
    EXPECT_EQ(windows.take(), (Log{"ole init", "create 450 500", "drop target on",
                                   "drop target off", "ole uninit", "destroy"}));
    EXPECT_EQ(editor_platform::FakeWindowCount(), 0);
    EXPECT_FALSE(GDIPlusGlobals::isRunning());
}

TEST(FrameWindow, NoWindowWithoutParentFailedCreationOrDrawingLibrary)
{
    FakeWindows windows;
    auto* orphan = new CFrame({0, 0, 450, 500}, nullptr, nullptr);
    EXPECT_FALSE(orphan->isWindowOpen());
    EXPECT_FALSE(orphan->setDropActive(true));
    orphan->release();

    editor_platform::FailWindowCreation(1);
    auto* failed = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    EXPECT_FALSE(failed->isWindowOpen());
    failed->release();

    editor_platform::FailGraphicsStartup(true);
    auto* dark = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    EXPECT_FALSE(dark->isWindowOpen());
    dark->release();
    EXPECT_EQ(Only(windows.take(), {"create", "destroy", "drop"}), Log{"create failed"});
    EXPECT_EQ(editor_platform::OpenOleInitializations(), 0);
}

TEST(FrameWindow, InvalidationsReachTheWindowUntilItIsDestroyed)
{
    FakeWindows windows;
    auto* frame = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    Log events;
    auto* view = new EventLogView("A", {10.7, 10.2, 50.9, 50.5}, events);
    frame->addChild(view);
    view->setNeedsRedraw(true);
    frame->idle();
    frame->idle(); // nothing dirty any more
    EXPECT_EQ(Only(windows.take(), {"invalidate"}),
              (Log{"invalidate 10 10 50 50", "invalidate 10 10 50 50"}));

    // The frame itself dirty: one invalidation of the whole frame, then the window handles its
    // events (and paints what is invalid where the editor reads its events itself).
    frame->setNeedsRedraw(true);
    frame->idle();
    EXPECT_EQ(Only(windows.take(), {"invalidate", "events"}),
              (Log{"invalidate 0 0 450 500", "events"}));

    editor_platform::FakeWindowClient(frame->getWindow())->onWindowDestroyed();
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getParentWindow(), nullptr);
    view->setNeedsRedraw(true);
    frame->idle();
    view->invalidateAll();
    EXPECT_FALSE(frame->setFrameSize(100, 100));
    EXPECT_TRUE(Only(windows.take(), {"invalidate", "resize", "events"}).empty());
    frame->release();
}

TEST(FrameWindow, AtAScaleTheWindowHasMorePixelsWhileTheViewsKeepTheirs)
{
    FakeWindows windows;
    auto* frame = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr, 2.0);
    Log events;
    auto* view = new EventLogView("A", {10.7, 10.2, 50.9, 50.5}, events);
    frame->addChild(view);
    EXPECT_EQ(Only(windows.take(), {"create"}), Log{"create 900 1000"});
    EXPECT_EQ(frame->bounds(), (ViewRect{0, 0, 450, 500}));

    // Pointer positions in window pixels reach the views halved.
    FrameWindowClient* window = editor_platform::FakeWindowClient(frame->getWindow());
    window->onWindowMouseDown({42, 62}, kLButton);
    window->onWindowMouseUp({44, 62}, kLButton);
    editor_platform::SetFakeWindowOrigin({100, 100});
    editor_platform::SetFakePointer({140, 160}, 0);
    EXPECT_EQ(frame->currentMouseLocation(), (ViewPoint{20, 30}));
    window->onWindowWheel({140, 160}, 120, 0, kMouseWheelVertical);
    EXPECT_EQ(events, (Log{"A down 21 31 2", "A up 22 31 2", "A wheel 20 30 1 0"}));

    // A dirty view invalidates every window pixel of its whole frame pixels.
    windows.take();
    view->setNeedsRedraw(true);
    frame->idle();
    EXPECT_EQ(Only(windows.take(), {"invalidate"}), Log{"invalidate 20 20 100 100"});

    // A paint draws the frame pixels that the window's update touches (10 to 21), in window
    // pixels: the frame's background, then the view within its rectangle.
    Log drawn;
    RecordingSurface buffer(drawn);
    window->onWindowPaint(buffer, {21, 21, 41, 41});
    EXPECT_EQ(
        Only(drawn, {"clip", "fillRect"}),
        (Log{"clip 0 0 900 1000", "clip 20 20 22 22", "fillRect 0 0 900 1000", "clip 21 20 20 21",
             "fillRect 21.4 20.4 80.4 80.6", "clip 20 20 22 22", "clip 0 0 900 1000"}));

    // Another scale: the window takes the rectangle times it and is painted again whole; the
    // frame's rectangle stays.
    EXPECT_FALSE(frame->setScale(2.0));
    EXPECT_TRUE(frame->setScale(1.5));
    EXPECT_EQ(Only(windows.take(), {"resize", "invalidate"}),
              (Log{"resize 675 750", "invalidate 0 0 675 750"}));
    EXPECT_EQ(frame->bounds(), (ViewRect{0, 0, 450, 500}));
    EXPECT_EQ(frame->getScale(), 1.5);
    frame->release();
}

TEST(FrameWindow, PressTakenCapturesThePointerAndEveryReleaseFreesIt)
{
    FakeWindows windows;
    auto* frame = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    Log events;
    auto* taker = new EventLogView("A", {0, 0, 100, 100}, events);
    auto* refuser = new EventLogView("B", {200, 0, 300, 100}, events);
    refuser->downAnswer = kMouseEventNotHandled;
    frame->addChild(taker);
    frame->addChild(refuser);
    FrameWindowClient* window = editor_platform::FakeWindowClient(frame->getWindow());
    windows.take();

    window->onWindowMouseDown({10, 10}, kLButton | kDoubleClick);
    window->onWindowMouseUp({10, 10}, kLButton);
    window->onWindowMouseDown({210, 10}, kRButton);
    window->onWindowMouseUp({210, 10}, kRButton);
    EXPECT_EQ(Only(windows.take(), {"capture", "release"}),
              (Log{"capture", "release capture", "release capture"}));
    EXPECT_EQ(events, (Log{"A down 10 10 1026", "A up 10 10 2", "B down 210 10 8"}));
    frame->release();
}

TEST(FrameWindow, LosingTheCaptureEndsAPressAsAReleaseWhereThePointerWasLastSeen)
{
    FakeWindows windows;
    auto* frame = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    Log events;
    frame->addChild(new EventLogView("A", {0, 0, 100, 100}, events));
    FrameWindowClient* window = editor_platform::FakeWindowClient(frame->getWindow());

    window->onWindowCaptureLost(); // no press: nothing to end
    window->onWindowMouseDown({10, 10}, kLButton | kShift);
    window->onWindowMouseMoved({150, 20}, kLButton | kShift);
    window->onWindowCaptureLost(); // a modal dialog took the pointer
    window->onWindowCaptureLost(); // once only
    window->onWindowMouseMoved({30, 30}, 0);
    EXPECT_EQ(events,
              (Log{"A down 10 10 18", "A moved 150 20 18", "A up 150 20 16", "A entered 30 30 0"}));

    // Giving the capture back at a release is not a loss.
    events.clear();
    window->onWindowMouseDown({10, 10}, kLButton);
    window->onWindowMouseUp({12, 12}, 0);
    window->onWindowCaptureLost();
    EXPECT_EQ(Only(events, {"A down", "A up"}), (Log{"A down 10 10 2", "A up 12 12 0"}));
    frame->release();
}

TEST(FrameWindow, AWindowTheSystemDestroyedIsForgottenSoItsHandleCanServeAnother)
{
    FakeWindows windows;
    auto* first = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    void* handle = first->getWindow();
    editor_platform::DestroyFakeWindowBySystem(handle); // the host destroyed the parent first
    EXPECT_EQ(first->getWindow(), nullptr);

    auto* second = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    ASSERT_EQ(second->getWindow(), handle); // the same handle value, another window
    windows.take();
    first->release();
    EXPECT_EQ(windows.take(), (Log{"ole uninit", "forget"}));
    EXPECT_EQ(editor_platform::FakeWindowClient(handle), second);
    EXPECT_TRUE(second->isDropActive());
    EXPECT_TRUE(editor_platform::FakeWindowClassRegistered());

    second->release();
    EXPECT_EQ(windows.take(), (Log{"drop target off", "ole uninit", "destroy"}));
    EXPECT_FALSE(editor_platform::FakeWindowClassRegistered());
}

TEST(FrameWindow, OneLeaveRequestPerStayAndLeavingExitsTheHoveredView)
{
    FakeWindows windows;
    editor_platform::SetFakeWindowOrigin({100, 100});
    editor_platform::SetFakePointer({105, 107}, kShift);
    auto* frame = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    Log events;
    frame->addChild(new EventLogView("A", {0, 0, 100, 100}, events));
    FrameWindowClient* window = editor_platform::FakeWindowClient(frame->getWindow());
    windows.take();

    window->onWindowMouseMoved({1, 1}, 0);
    window->onWindowMouseMoved({2, 2}, 0);
    window->onWindowMouseLeave();
    window->onWindowMouseMoved({3, 3}, 0);
    EXPECT_EQ(Only(windows.take(), {"track"}), (Log{"track leave", "track leave"}));
    EXPECT_EQ(events,
              (Log{"A entered 1 1 0", "A moved 2 2 0", "A exited 5 7 16", "A entered 3 3 0"}));
    EXPECT_EQ(frame->currentMouseLocation(), (ViewPoint{5, 7}));
    EXPECT_EQ(frame->currentMouseButtons(), kShift);
    frame->release();
}

TEST(FrameWindow, WheelTurnsInWholeNotchesAtTheWindowPoint)
{
    FakeWindows windows;
    editor_platform::SetFakeWindowOrigin({100, 100});
    auto* frame = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    Log events;
    frame->addChild(new EventLogView("A", {0, 0, 100, 100}, events));
    FrameWindowClient* window = editor_platform::FakeWindowClient(frame->getWindow());
    for (int delta : {60, -60, 240, -240, 119})
        window->onWindowWheel({110, 120}, delta, kControl, kMouseWheelVertical);
    // A horizontal turn to the right reaches the view as a turn down, as on every axis view.
    window->onWindowWheel({110, 120}, 120, 0, kMouseWheelHorizontal);
    EXPECT_EQ(events, (Log{"A wheel 10 20 0 32", "A wheel 10 20 0 32", "A wheel 10 20 2 32",
                           "A wheel 10 20 -2 32", "A wheel 10 20 0 32", "A wheel 10 20 -1 0"}));
    frame->release();
}

TEST(FrameWindow, CursorShapesAndTheDefaultCursor)
{
    FakeWindows windows;
    auto* frame = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    windows.take();
    for (std::int32_t shape : {2, 7, 9, 0, 42, 1})
        frame->setCursorShape(shape);
    frame->release(); // restores the default cursor
    EXPECT_EQ(Only(windows.take(), {"cursor"}),
              (Log{"cursor 2", "cursor default", "cursor 9", "cursor default", "cursor default",
                   "cursor 1", "cursor default"}));
}

TEST(FrameWindow, SizeChangesResizeTheWindowUnlessUnchanged)
{
    FakeWindows windows;
    auto* frame = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    windows.take();
    EXPECT_FALSE(frame->setFrameSize(450, 500));
    EXPECT_TRUE(windows.take().empty());
    EXPECT_TRUE(frame->setFrameSize(300, 200));
    EXPECT_EQ(frame->bounds(), (ViewRect{0, 0, 300, 200}));
    // When the host's windows would have to grow, the frame keeps its rectangle.
    editor_platform::SetFakeResizeAnswer(false);
    EXPECT_TRUE(frame->setFrameSize(320, 220));
    EXPECT_EQ(frame->bounds(), (ViewRect{0, 0, 300, 200}));
    EXPECT_EQ(Only(windows.take(), {"resize"}), (Log{"resize 300 200", "resize 320 220"}));
    frame->release();

    // Without a window only the rectangle changes.
    auto* bare = new CFrame({0, 0, 450, 500}, nullptr, nullptr);
    EXPECT_TRUE(bare->setFrameSize(100, 50));
    EXPECT_EQ(bare->bounds(), (ViewRect{0, 0, 100, 50}));
    bare->release();
}

TEST(FrameWindow, PaintDrawsTheUpdateRectangleDirectlyOrThroughTheBackBuffer)
{
    FakeWindows windows;
    Log draws;
    RecordingSurface paintBuffer(draws); // kept by the window from paint to paint
    editor_platform::SetFakeWindowSurfaces([&]
                                           { return std::make_unique<RecordingSurface>(draws); });

    auto* frame = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    Log events;
    frame->addChild(new EventLogView("A", {10, 10, 50, 50}, events));
    EXPECT_EQ(frame->backBuffer(), nullptr);
    editor_platform::FakeWindowClient(frame->getWindow())
        ->onWindowPaint(paintBuffer, {0, 0, 20, 30});
    // The kept buffer's clip is set afresh before anything is drawn.
    EXPECT_EQ(Only(draws, {"clip", "fillRect"}),
              (Log{"clip 0 0 450 500", "clip 0 0 20 30", "fillRect 0 0 450 500", "clip 10 10 10 20",
                   "fillRect 10 10 40 40", "clip 0 0 20 30", "clip 0 0 450 500"}));
    frame->release();

    // Before major version 6 the frame draws into its back buffer and copies the area.
    editor_platform::SetFakeOsMajorVersion(5);
    draws.clear();
    events.clear();
    auto* old = new CFrame({0, 0, 450, 500}, kHostWindow, nullptr);
    old->addChild(new EventLogView("A", {10, 10, 50, 50}, events));
    ASSERT_NE(old->backBuffer(), nullptr);
    editor_platform::FakeWindowClient(old->getWindow())
        ->onWindowPaint(paintBuffer, {10, 20, 40, 60});
    EXPECT_EQ(events, Log{"A draw"});
    EXPECT_EQ(Only(draws, {"bitmap", "fillRect"}),
              (Log{"bitmap 450x500 to 10 20 30 40 from 10 20 alpha 255"}));
    old->release();
}

} // namespace
} // namespace vrn
