// The view tree: mouse, wheel, key and focus routing, dirty flags, attachment and references.
#include "editor/frame.h"
#include "tests/editor/event_log_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vrn
{
namespace
{

using testing::EventLogView;
using testing::MessageLogContainer;
using Log = std::vector<std::string>;

/// A 450 × 500 frame without a window (as a host gives none) with a log for its views.
struct Tree
{
    Log log;
    CFrame* frame = new CFrame({0, 0, 450, 500}, nullptr, nullptr);

    Tree() = default;
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;
    ~Tree() { frame->release(); }

    /// A new view added to `container` (the frame by default); the tree keeps both references.
    EventLogView* add(const char* name, const ViewRect& rect, CViewContainer* container = nullptr)
    {
        auto* view = new EventLogView(name, rect, log);
        (container ? container : frame)->addChild(view);
        return view;
    }
    Log take()
    {
        Log taken;
        taken.swap(log);
        return taken;
    }
};

TEST(ViewTree, MouseAreaEdgesAreInclusive)
{
    Tree tree;
    tree.add("A", {10, 10, 20, 20});
    EXPECT_EQ(tree.frame->mouseDown({20, 20}, kLButton), kMouseEventHandled);
    EXPECT_EQ(tree.frame->mouseUp({20, 20}, kLButton), kMouseEventHandled);
    EXPECT_EQ(tree.frame->mouseDown({10, 10}, kLButton), kMouseEventHandled);
    EXPECT_EQ(tree.frame->mouseDown({20.5, 20}, kLButton), kMouseEventNotHandled);
    EXPECT_EQ(tree.take(), (Log{"A down 20 20 2", "A up 20 20 2", "A down 10 10 2"}));
}

TEST(ViewTree, LastAddedChildGetsThePressAndItsMovesAndRelease)
{
    Tree tree;
    tree.add("A", {0, 0, 100, 100});
    tree.add("B", {50, 50, 150, 150});
    EXPECT_EQ(tree.frame->mouseDown({60, 60}, kLButton | kShift), kMouseEventHandled);
    EXPECT_EQ(tree.frame->mouseMoved({300, 310}, kLButton), kMouseEventHandled); // outside: still B
    EXPECT_EQ(tree.frame->mouseUp({301, 311}, kLButton), kMouseEventHandled);
    EXPECT_EQ(tree.take(), (Log{"B down 60 60 18", "B moved 300 310 2", "B up 301 311 2"}));
    // Only one release per press.
    EXPECT_EQ(tree.frame->mouseUp({60, 60}, kLButton), kMouseEventNotHandled);
}

TEST(ViewTree, ChildAnsweringNotHandledStopsTheWalk)
{
    Tree tree;
    tree.add("A", {0, 0, 100, 100});
    tree.add("B", {0, 0, 100, 100})->downAnswer = kMouseEventNotHandled;
    EXPECT_EQ(tree.frame->mouseDown({5, 5}, kLButton), kMouseEventNotHandled);
    EXPECT_EQ(tree.take(), Log{"B down 5 5 2"});
    // Not taken, so the next move is a hover, not a drag of B.
    tree.frame->mouseMoved({6, 6}, kLButton);
    EXPECT_EQ(tree.take(), Log{"B entered 6 6 2"});
}

TEST(ViewTree, ReleaseWithoutAHandledPressIsNotHandled)
{
    Tree tree;
    tree.add("A", {0, 0, 100, 100});
    EXPECT_EQ(tree.frame->mouseUp({5, 5}, kLButton), kMouseEventNotHandled);
    EXPECT_TRUE(tree.take().empty());
}

TEST(ViewTree, HiddenAndMouseRefusingViewsAreSkipped)
{
    Tree tree;
    tree.add("A", {0, 0, 100, 100});
    tree.add("B", {0, 0, 100, 100})->setShown(false);
    tree.add("C", {0, 0, 100, 100})->setAcceptsMouse(false);
    EXPECT_EQ(tree.frame->mouseDown({5, 5}, kLButton), kMouseEventHandled);
    EXPECT_EQ(tree.take(), Log{"A down 5 5 2"});
}

TEST(ViewTree, NestedContainersPassLocalPoints)
{
    Tree tree;
    auto* box = new CViewContainer({100, 200, 300, 400}, nullptr);
    tree.frame->addChild(box);
    tree.add("A", {10, 20, 50, 60}, box);
    EXPECT_EQ(tree.frame->mouseDown({115, 225}, kLButton), kMouseEventHandled);
    tree.frame->mouseMoved({120, 230}, kLButton);
    tree.frame->mouseUp({121, 231}, kLButton);
    EXPECT_EQ(tree.take(), (Log{"A down 15 25 2", "A moved 20 30 2", "A up 21 31 2"}));
    EXPECT_EQ(tree.frame->childAt({115, 225}, true), box->childAtIndex(0));
    EXPECT_EQ(tree.frame->childAt({115, 225}, false), box);
    EXPECT_EQ(tree.frame->containerAt({115, 225}), box);
    EXPECT_EQ(tree.frame->containerAt({5, 5}), tree.frame);
    EXPECT_EQ(box->childAtIndex(0)->toLocalPoint({115, 225}).h, 15.0);
}

TEST(ViewTree, HoverEntersFirstThenMovesWithoutButtonsThenExits)
{
    Tree tree;
    tree.add("A", {0, 0, 100, 100});
    tree.add("B", {200, 0, 300, 100});
    tree.frame->mouseMoved({10, 10}, kShift);
    tree.frame->mouseMoved({11, 12}, kShift);
    EXPECT_EQ(tree.frame->mouseOverView(), tree.frame->childAtIndex(0));
    tree.frame->mouseMoved({210, 10}, kShift);
    EXPECT_EQ(tree.frame->mouseMoved({150, 10}, 0), kMouseEventHandled);
    EXPECT_EQ(tree.frame->mouseMoved({151, 10}, 0), kMouseEventNotHandled); // over nothing
    EXPECT_EQ(tree.take(), (Log{"A entered 10 10 16", "A moved 11 12 0", "A exited 210 10 16",
                                "B entered 210 10 16", "B exited 150 10 0"}));
    EXPECT_EQ(tree.frame->mouseOverView(), nullptr);
}

TEST(ViewTree, PressEndsTheHoverAndPointerLeavingTheWindowExitsTheView)
{
    Tree tree;
    tree.add("A", {0, 0, 100, 100});
    tree.frame->mouseMoved({10, 10}, 0);
    tree.frame->mouseDown({10, 10}, kLButton);
    EXPECT_EQ(tree.frame->mouseOverView(), nullptr);
    tree.frame->mouseUp({10, 10}, kLButton);
    tree.frame->mouseMoved({12, 10}, 0);
    EXPECT_EQ(tree.frame->mouseExited({500, 10}, 0), kMouseEventHandled);
    EXPECT_EQ(tree.take(), (Log{"A entered 10 10 0", "A exited 10 10 2", "A down 10 10 2",
                                "A up 10 10 2", "A entered 12 10 0", "A exited 500 10 0"}));
}

TEST(ViewTree, RemovingTheFocusOrMouseOverViewClearsTheFrameLinks)
{
    Tree tree;
    EventLogView* a = tree.add("A", {0, 0, 100, 100});
    a->setTakesFocus(true);
    tree.frame->setFocusView(a);
    tree.frame->mouseMoved({10, 10}, 0);
    ASSERT_EQ(tree.frame->focusView(), a);
    ASSERT_EQ(tree.frame->mouseOverView(), a);
    EXPECT_TRUE(tree.frame->removeChild(a, true)); // destroys it
    EXPECT_EQ(tree.frame->focusView(), nullptr);
    EXPECT_EQ(tree.frame->mouseOverView(), nullptr);
    // Events after the removal find no stale view.
    EXPECT_EQ(tree.frame->mouseMoved({11, 10}, 0), kMouseEventNotHandled);
    EXPECT_EQ(tree.frame->keyDown(KeyCode{'a', 0, 0}), -1);

    // The same for views deeper down when their container goes.
    auto* box = new CViewContainer({0, 0, 200, 200}, nullptr);
    tree.frame->addChild(box);
    EventLogView* b = tree.add("B", {0, 0, 50, 50}, box);
    EventLogView* c = tree.add("C", {100, 100, 150, 150}, box);
    b->setTakesFocus(true);
    tree.frame->setFocusView(b);
    tree.frame->mouseMoved({120, 120}, 0);
    ASSERT_EQ(tree.frame->focusView(), b);
    ASSERT_EQ(tree.frame->mouseOverView(), c);
    EXPECT_TRUE(tree.frame->removeChild(box, true));
    EXPECT_EQ(tree.frame->focusView(), nullptr);
    EXPECT_EQ(tree.frame->mouseOverView(), nullptr);

    // And the container that holds a press.
    auto* other = new CViewContainer({0, 0, 200, 200}, nullptr);
    tree.frame->addChild(other);
    tree.add("D", {0, 0, 50, 50}, other);
    tree.frame->mouseDown({5, 5}, kLButton);
    ASSERT_EQ(tree.frame->mouseDownView(), other);
    EXPECT_TRUE(tree.frame->removeChild(other, true));
    EXPECT_EQ(tree.frame->mouseDownView(), nullptr);
    EXPECT_EQ(tree.frame->mouseUp({5, 5}, kLButton), kMouseEventNotHandled);
}

TEST(ViewTree, TabMovesTheFocusOrIsNotHandled)
{
    Tree tree;
    tree.add("A", {0, 0, 10, 10});
    const KeyCode tab{0, 2, 0};
    EXPECT_EQ(tree.frame->keyDown(tab), -1); // nothing takes focus
    EXPECT_EQ(tree.frame->keyDown(KeyCode{'x', 0, 0}), -1);

    auto* box = new MessageLogContainer({0, 0, 200, 200}, tree.log);
    tree.frame->addChild(box);
    tree.add("B", {0, 0, 10, 10}, box)->setTakesFocus(true);
    tree.add("C", {20, 0, 30, 10})->setTakesFocus(true);
    tree.take();

    EXPECT_EQ(tree.frame->keyDown(tab), 1);
    EXPECT_EQ(tree.frame->focusView(), box->childAtIndex(0));
    EXPECT_EQ(tree.frame->keyDown(tab), 1);
    EXPECT_EQ(tree.frame->focusView(), tree.frame->childAtIndex(2));
    EXPECT_EQ(tree.frame->keyDown(KeyCode{0, 2, 1}), 1); // shift-tab goes back
    EXPECT_EQ(tree.frame->focusView(), box->childAtIndex(0));
    EXPECT_EQ(tree.frame->keyDown(tab), 1);
    EXPECT_EQ(tree.frame->keyDown(tab), -1); // past the last one: no focus
    EXPECT_EQ(tree.frame->focusView(), nullptr);
    // The focus view is offered each tab first (and does not take it).
    EXPECT_EQ(tree.take(),
              (Log{"box kMsgNewFocusView", "B focus gained", "B key 0", "box kMsgOldFocusView",
                   "B focus lost", "C focus gained", "C key 0", "box kMsgNewFocusView",
                   "C focus lost", "B focus gained", "B key 0", "box kMsgOldFocusView",
                   "B focus lost", "C focus gained", "C key 0", "C focus lost"}));
}

TEST(ViewTree, KeysGoToTheFocusViewThenTheModalViewOnly)
{
    Tree tree;
    EventLogView* a = tree.add("A", {0, 0, 10, 10});
    a->keyAnswer = 1;
    EXPECT_EQ(tree.frame->keyDown(KeyCode{'a', 0, 0}), -1); // no focus: children not asked
    a->setTakesFocus(true);
    tree.frame->setFocusView(a);
    EXPECT_EQ(tree.frame->keyDown(KeyCode{'b', 0, 0}), 1);
    auto* modal = new EventLogView("M", {0, 0, 450, 500}, tree.log);
    modal->keyAnswer = 1;
    a->keyAnswer = -1;
    ASSERT_TRUE(tree.frame->setModalView(modal));
    EXPECT_EQ(tree.frame->keyDown(KeyCode{'c', 0, 0}), 1);
    EXPECT_EQ(tree.take(), (Log{"A key 98", "A key 99", "M key 99"}));
    EXPECT_TRUE(tree.frame->setModalView(nullptr));
    modal->release();
}

TEST(ViewTree, ModalViewTakesEveryPressAndWheel)
{
    Tree tree;
    tree.add("A", {0, 0, 450, 500});
    auto* modal = new EventLogView("M", {100, 100, 200, 200}, tree.log);
    ASSERT_TRUE(tree.frame->setModalView(modal));
    EXPECT_FALSE(tree.frame->setModalView(modal)); // one at a time
    EXPECT_EQ(modal->getNbReference(), 2);
    EXPECT_EQ(tree.frame->mouseDown({10, 10}, kLButton), kMouseEventNotHandled); // outside it
    EXPECT_EQ(tree.frame->mouseDown({150, 150}, kLButton), kMouseEventHandled);
    tree.frame->mouseUp({150, 150}, kLButton);
    tree.frame->wheel({10, 10}, 1.0f, 0);
    EXPECT_EQ(tree.take(), (Log{"M down 150 150 2", "M up 150 150 2", "M wheel 10 10 1 0"}));
    EXPECT_TRUE(tree.frame->setModalView(nullptr));
    EXPECT_EQ(modal->getNbReference(), 1); // removed, not released
    EXPECT_FALSE(tree.frame->isChild(modal));
    modal->release();
}

TEST(ViewTree, WheelGoesToTheViewUnderThePointerButNotDuringAPress)
{
    Tree tree;
    EventLogView* a = tree.add("A", {0, 0, 100, 100});
    EXPECT_TRUE(tree.frame->wheel({5, 6}, 2.0f, kShift));
    EXPECT_TRUE(tree.frame->wheelOnAxis({5, 6}, kMouseWheelHorizontal, 2.0f, 0));
    EXPECT_FALSE(tree.frame->wheel({200, 6}, 1.0f, 0)); // nothing there
    tree.frame->mouseDown({5, 5}, kLButton);
    EXPECT_FALSE(tree.frame->wheel({5, 6}, 1.0f, 0));
    a->wheelAnswer = false;
    tree.frame->mouseUp({5, 5}, kLButton);
    EXPECT_FALSE(tree.frame->wheel({5, 6}, 1.0f, 0));
    EXPECT_EQ(tree.take(), (Log{"A wheel 5 6 2 16", "A wheel 5 6 -2 0", "A down 5 5 2",
                                "A up 5 5 2", "A wheel 5 6 1 0"}));
    // A plain view does not take wheel turns.
    CView plain({0, 0, 10, 10});
    EXPECT_FALSE(plain.wheel({1, 1}, 1.0f, 0));
}

TEST(ViewTree, DirtyChildOutsideItsContainerDoesNotMakeItDirty)
{
    Tree tree;
    auto* box = new CViewContainer({0, 0, 100, 100}, nullptr);
    tree.frame->addChild(box);
    EventLogView* outside = tree.add("A", {150, 150, 200, 200}, box);
    EventLogView* inside = tree.add("B", {10, 10, 20, 20}, box);
    EXPECT_FALSE(box->needsRedraw());
    outside->setNeedsRedraw(true);
    EXPECT_FALSE(box->needsRedraw());
    inside->setNeedsRedraw(true);
    EXPECT_TRUE(box->needsRedraw());
    EXPECT_TRUE(tree.frame->needsRedraw());

    // Touching edges count as overlap for invalidateViewsIn; only direct children are marked.
    inside->setNeedsRedraw(false);
    outside->setNeedsRedraw(false);
    tree.frame->invalidateViewsIn({100, 100, 120, 120});
    EXPECT_TRUE(box->needsRedraw());
    EXPECT_FALSE(inside->needsRedraw());
}

TEST(ViewTree, ChildrenAreHeldByReferenceAndAttachedToTheFrame)
{
    Tree tree;
    auto* view = new CView({0, 0, 10, 10});
    EXPECT_FALSE(tree.frame->addChild(nullptr));
    ASSERT_TRUE(tree.frame->addChild(view));
    EXPECT_EQ(view->getNbReference(), 2);
    EXPECT_TRUE(view->isAttached());
    EXPECT_EQ(view->getFrame(), tree.frame);
    EXPECT_EQ(view->getParent(), tree.frame);
    EXPECT_FALSE(tree.frame->addChild(view)); // already attached

    auto* box = new CViewContainer({0, 0, 100, 100}, nullptr);
    EXPECT_FALSE(box->addChild(view));
    EXPECT_TRUE(tree.frame->removeChild(view, false));
    EXPECT_EQ(view->getNbReference(), 1);
    EXPECT_FALSE(view->isAttached());
    EXPECT_EQ(view->getFrame(), nullptr);
    EXPECT_FALSE(tree.frame->removeChild(view, false)); // no longer a child

    // A detached container attaches its children when it is attached itself.
    ASSERT_TRUE(box->addChild(view));
    EXPECT_FALSE(view->isAttached());
    ASSERT_TRUE(tree.frame->addChild(box, view)); // "before" not a child of the frame: appended
    EXPECT_TRUE(view->isAttached());
    EXPECT_EQ(view->getFrame(), tree.frame);
    EXPECT_EQ(tree.frame->childAtIndex(0), box);
    EXPECT_EQ(tree.frame->childAtIndex(1), nullptr);

    auto* first = new CView({0, 0, 1, 1});
    ASSERT_TRUE(tree.frame->addChild(first, box));
    EXPECT_EQ(tree.frame->childAtIndex(0), first);
    EXPECT_EQ(tree.frame->childCount(), 2);
    // The frame's destruction drops both references of every child (ASan checks the rest).
}

TEST(ViewTree, KindsAndContainerMessage)
{
    Tree tree;
    CView view({0, 0, 1, 1});
    auto* box = new CViewContainer({0, 0, 1, 1}, nullptr);
    EXPECT_TRUE(view.isKindOf("CView"));
    EXPECT_FALSE(view.isKindOf("CViewContainer"));
    EXPECT_FALSE(view.isKindOf("cview"));
    EXPECT_TRUE(box->isKindOf("CViewContainer"));
    EXPECT_TRUE(box->isKindOf("CView"));
    EXPECT_FALSE(box->isKindOf("CFrame"));
    EXPECT_TRUE(tree.frame->isKindOf("CFrame"));
    EXPECT_TRUE(tree.frame->isKindOf("CViewContainer"));
    EXPECT_EQ(box->handleMessage(&view, kMsgCheckIfViewContainer), 1);
    EXPECT_EQ(view.handleMessage(box, kMsgCheckIfViewContainer), 0);
    // Compared by address: the same text elsewhere is another message.
    const std::string copy = kMsgCheckIfViewContainer;
    EXPECT_EQ(box->handleMessage(&view, copy.c_str()), 0);
    box->release();
}

} // namespace
} // namespace vrn
