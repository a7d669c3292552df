// Drag and drop: items from a data object, the drop target's effects, routing through the tree.
#include "editor/drag_data.h"
#include "editor/drop_target.h"
#include "editor/frame.h"
#include "editor/win_drag_container.h"
#include "tests/editor/event_log_view.h"
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
using Log = std::vector<std::string>;

/// A data object holding either text or files, as a drag source would offer them.
class FakeDataObject : public DragDataObject
{
public:
    static std::unique_ptr<FakeDataObject> Text(std::u16string text)
    {
        auto data = std::make_unique<FakeDataObject>();
        data->text = std::move(text);
        data->offersText = true;
        return data;
    }
    static std::unique_ptr<FakeDataObject> Files(std::vector<std::u16string> paths)
    {
        auto data = std::make_unique<FakeDataObject>();
        data->files = std::move(paths);
        data->offersFiles = true;
        return data;
    }

    bool hasText() override { return offersText; }
    bool readText(std::u16string& out) override
    {
        out = text;
        return offersText && readable;
    }
    bool hasFiles() override { return offersFiles; }
    int fileCount() override { return static_cast<int>(files.size()); }
    bool filePath(int index, std::u16string& path) override
    {
        if (index < 0 || index >= fileCount())
            return false;
        path = files[static_cast<std::size_t>(index)];
        return true;
    }

    std::u16string text;
    std::vector<std::u16string> files;
    bool offersText = false;
    bool offersFiles = false;
    bool readable = true;
};

std::string Next(CDragContainer& drag, std::int32_t& type)
{
    std::int32_t size = -1;
    const char* item = drag.next(size, type);
    if (!item)
        return "(none)";
    EXPECT_EQ(static_cast<std::size_t>(size), std::string(item).size());
    return item;
}

TEST(DragItems, FilesComeInOrderThenNoMore)
{
    WinDragContainer drag(FakeDataObject::Files(
        {u"C:\\a.wav", u"C:\\My.Folder\\b.LNK", u"D:\\\u00e9t\u00e9\\c.txt"}));
    EXPECT_EQ(drag.getCount(), 3);
    EXPECT_EQ(drag.getType(0), kDragItemFile);
    std::int32_t type = 99;
    EXPECT_EQ(Next(drag, type), "C:\\a.wav");
    EXPECT_EQ(type, kDragItemFile);
    // A shortcut that cannot be resolved keeps its own path.
    EXPECT_EQ(Next(drag, type), "C:\\My.Folder\\b.LNK");
    EXPECT_EQ(Next(drag, type), "D:\\\xC3\xA9t\xC3\xA9\\c.txt");
    EXPECT_EQ(Next(drag, type), "(none)");
    EXPECT_EQ(type, kDragItemUnknown);
    std::int32_t size = -1;
    EXPECT_STREQ(drag.first(size, type), "C:\\a.wav");
}

TEST(DragItems, TextIsOneUnicodeItem)
{
    WinDragContainer drag(FakeDataObject::Text(u"ab\u00e9\U0001F600"));
    EXPECT_EQ(drag.getCount(), 1);
    EXPECT_EQ(drag.getType(0), kDragItemText);
    std::int32_t type = 0;
    EXPECT_EQ(Next(drag, type), "ab\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(type, kDragItemUnicodeText);
    EXPECT_EQ(Next(drag, type), "(none)");
    std::int32_t size = 0;
    EXPECT_NE(drag.first(size, type), nullptr); // first starts again
    EXPECT_EQ(size, 8);
}

TEST(DragItems, UnreadableOrMissingDataGivesNoItem)
{
    auto unreadable = FakeDataObject::Text(u"x");
    unreadable->readable = false;
    WinDragContainer drag(std::move(unreadable));
    std::int32_t type = 0;
    EXPECT_EQ(Next(drag, type), "(none)");
    EXPECT_EQ(type, kDragItemUnknown);

    WinDragContainer empty(nullptr);
    EXPECT_EQ(empty.getCount(), 0);
    EXPECT_EQ(empty.getType(0), kDragItemError);
    EXPECT_EQ(Next(empty, type), "(none)");
    EXPECT_EQ(type, kDragItemError);

    WinDragContainer nothing(std::make_unique<FakeDataObject>());
    EXPECT_EQ(nothing.getCount(), 0);
    EXPECT_EQ(Next(nothing, type), "(none)");
}

TEST(DragItems, OnlyTheFileNamesLastExtensionMarksAShortcut)
{
    EXPECT_TRUE(WinDragContainer::isShortcut(u"C:\\dir\\song.lnk"));
    EXPECT_TRUE(WinDragContainer::isShortcut(u"C:\\My.Folder\\song.v2.LnK"));
    EXPECT_FALSE(WinDragContainer::isShortcut(u"C:\\dir\\song.lnk.wav"));
    EXPECT_FALSE(WinDragContainer::isShortcut(u"C:\\dir.lnk\\song"));
    EXPECT_FALSE(WinDragContainer::isShortcut(u"C:\\dir\\song.lnkx"));
    EXPECT_FALSE(WinDragContainer::isShortcut(u"lnk"));
}

TEST(DragItems, UnpairedSurrogatesBecomeReplacementCharacters)
{
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"a"), "\xEF\xBF\xBD"
                                                                       "a");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(u"\u07FF\u0800"), "\xDF\xBF\xE0\xA0\x80");
}

TEST(DropTarget, EffectPrefersCopyThenMoveThenLink)
{
    EXPECT_EQ(CDropTarget::reduceEffect(kDropEffectLink), kDropEffectLink);
    EXPECT_EQ(CDropTarget::reduceEffect(kDropEffectCopy | kDropEffectMove), kDropEffectCopy);
    EXPECT_EQ(CDropTarget::reduceEffect(kDropEffectMove | kDropEffectLink), kDropEffectMove);
    EXPECT_EQ(CDropTarget::reduceEffect(kDropEffectNone), kDropEffectNone);
    EXPECT_EQ(CDropTarget::reduceEffect(8), 8); // none of the three: unchanged
}

/// A frame in a fake window with two logging views and a drop target of its own.
struct DropScene
{
    Log windows;
    Log events;
    CFrame* frame;
    CDropTarget* target;
    EventLogView* left;
    EventLogView* right;

    DropScene()
    {
        editor_platform::StartFakeWindows(&windows);
        editor_platform::SetFakeWindowOrigin({100, 100});
        frame = new CFrame({0, 0, 450, 500}, reinterpret_cast<void*>(0x1000), nullptr);
        left = new EventLogView("L", {0, 0, 100, 100}, events);
        right = new EventLogView("R", {200, 0, 300, 100}, events);
        frame->addChild(left);
        frame->addChild(right);
        target = new CDropTarget(frame);
    }
    DropScene(const DropScene&) = delete;
    DropScene& operator=(const DropScene&) = delete;
    ~DropScene()
    {
        target->release();
        frame->release();
        editor_platform::StopFakeWindows();
    }
    void pointerAt(double h, double v) { editor_platform::SetFakePointer({h + 100, v + 100}, 0); }
};

TEST(DropTarget, DragIsRoutedToTheViewsUnderThePointer)
{
    DropScene scene;
    scene.pointerAt(10, 20);
    EXPECT_EQ(scene.target->dragEnter(FakeDataObject::Files({u"C:\\a.wav"}),
                                      kDropEffectCopy | kDropEffectMove),
              kDropEffectCopy);
    scene.pointerAt(12, 20);
    EXPECT_EQ(scene.target->dragOver(kDropEffectLink), kDropEffectLink);
    scene.pointerAt(210, 30);
    scene.target->dragOver(kDropEffectCopy);
    scene.pointerAt(150, 30); // between the views
    scene.target->dragOver(kDropEffectCopy);
    scene.pointerAt(220, 40);
    scene.target->dragOver(kDropEffectCopy);
    scene.target->drop();
    EXPECT_FALSE(scene.target->isDragging());
    // The point of the notification is never used: the frame's pointer location is.
    EXPECT_EQ(scene.events,
              (Log{"L drag entered 10 20 0", "L drag moved 12 20 0", "L drag left 210 30 0",
                   "R drag entered 210 30 0", "R drag left 150 30 0", "R drag entered 220 40 0",
                   "R drop 220 40 0", "R drag left 220 40 0"}));
}

TEST(DropTarget, LeaveEndsTheDragAndLaterNotificationsDoNothing)
{
    DropScene scene;
    scene.pointerAt(10, 20);
    scene.target->dragEnter(FakeDataObject::Text(u"hello"), kDropEffectMove);
    scene.target->dragLeave();
    EXPECT_EQ(scene.target->dragOver(kDropEffectCopy | kDropEffectLink),
              kDropEffectCopy | kDropEffectLink); // no drag: unchanged
    scene.target->drop();
    EXPECT_EQ(scene.events, (Log{"L drag entered 10 20 0", "L drag left 10 20 0"}));

    EXPECT_EQ(scene.target->dragEnter(nullptr, kDropEffectCopy), kDropEffectNone);
    scene.target->setFrame(nullptr);
    EXPECT_EQ(scene.target->dragEnter(FakeDataObject::Text(u"x"), kDropEffectCopy),
              kDropEffectNone);
    EXPECT_FALSE(scene.target->isDragging());
}

TEST(DropTarget, TheFrameRegistersItsTargetWhileItHasAWindow)
{
    DropScene scene;
    EXPECT_TRUE(scene.frame->isDropActive());
    EXPECT_TRUE(scene.frame->setDropActive(false));
    EXPECT_TRUE(scene.frame->setDropActive(false)); // already off: nothing to do
    EXPECT_TRUE(scene.frame->setDropActive(true));
    EXPECT_EQ(std::count(scene.windows.begin(), scene.windows.end(), std::string("drop target on")),
              2);
    EXPECT_EQ(
        std::count(scene.windows.begin(), scene.windows.end(), std::string("drop target off")), 1);
}

TEST(DropTarget, ADropOnAViewWithTheDefaultOperationsIsRefused)
{
    // A plain view keeps the default drag operations: the drop is routed and refused.
    DropScene scene;
    auto* plain = new CView({0, 200, 450, 500});
    scene.frame->addChild(plain);
    WinDragContainer drag(FakeDataObject::Text(u"x"));
    scene.frame->dragEntered(&drag, {10, 300});
    EXPECT_FALSE(scene.frame->dropItems(&drag, {10, 300}));
    scene.right->dropAnswer = true;
    scene.frame->dragEntered(&drag, {210, 10});
    EXPECT_TRUE(scene.frame->dropItems(&drag, {210, 10}));
}

} // namespace
} // namespace vrn
