// Only the parts of a frame that changed travel to the X server: the rectangles found must hold
// every differing pixel of the painted area, and nothing of it when nothing changed.
#include "editor/x11/pixel_areas.h"

#include <gtest/gtest.h>

#include <vector>

namespace vrn::editor_platform
{
namespace
{

constexpr int kStride = 40; // pixels a row; the frames are 32 wide, 20 high
constexpr int kHeight = 20;

struct Frames
{
    std::vector<std::uint32_t> now = std::vector<std::uint32_t>(kStride * kHeight, 0x102030u);
    std::vector<std::uint32_t> before = now;
    std::vector<PixelBox> changed;

    void set(int x, int y, std::uint32_t colour)
    {
        now[static_cast<std::size_t>(y * kStride + x)] = colour;
    }
    std::vector<PixelBox>& find(const PixelBox& area)
    {
        FindChangedAreas(now.data(), before.data(), kStride, area, changed);
        return changed;
    }
};

bool Same(const PixelBox& a, const PixelBox& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(ChangedAreas, AnUnchangedFrameSendsNothing)
{
    Frames frames;
    EXPECT_TRUE(frames.find({0, 0, 32, 20}).empty());
    EXPECT_TRUE(frames.find({}).empty());
}

TEST(ChangedAreas, RunsOfChangedRowsBecomeOneRectangleEachOverTheirChangedColumns)
{
    Frames frames;
    frames.set(5, 3, 1);  // a lone pixel
    frames.set(10, 8, 1); // rows 8 and 9: one rectangle over columns 2..10
    frames.set(2, 9, 1);
    frames.set(31, 12, 1); // the last column of the area
    frames.set(0, 19, 1);  // the first column, the last row
    const auto& changed = frames.find({0, 0, 32, 20});
    ASSERT_EQ(changed.size(), 4u);
    EXPECT_TRUE(Same(changed[0], {5, 3, 6, 4}));
    EXPECT_TRUE(Same(changed[1], {2, 8, 11, 10}));
    EXPECT_TRUE(Same(changed[2], {31, 12, 32, 13}));
    EXPECT_TRUE(Same(changed[3], {0, 19, 1, 20}));
}

TEST(ChangedAreas, OnlyThePaintedAreaIsCompared)
{
    Frames frames;
    frames.set(3, 3, 1);   // outside
    frames.set(33, 5, 1);  // beyond the frame's width, in the row's padding
    frames.set(12, 14, 1); // inside
    const auto& changed = frames.find({10, 10, 20, 15});
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_TRUE(Same(changed[0], {12, 14, 13, 15}));
}

TEST(ChangedAreas, RowsBetweenRunsJoinThem)
{
    Frames frames;
    for (int y = 0; y < kHeight; y += 2) // ten runs of one row ...
        frames.set(y, y, 1);
    EXPECT_EQ(frames.find({0, 0, 32, 20}).size(), 10u);
    for (int y = 1; y < kHeight; y += 2) // ... joined by the rows between into one
        frames.set(20, y, 1);
    const auto& changed = frames.find({0, 0, 32, 20});
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_TRUE(Same(changed[0], {0, 0, 21, 20}));
}

TEST(ChangedAreas, MoreThanSixteenRunsAreJoined)
{
    Frames frames;
    std::vector<std::uint32_t> now(kStride * 40, 0), before(kStride * 40, 0);
    for (int y = 0; y < 40; y += 2)
        now[static_cast<std::size_t>(y * kStride + y % 7)] = 1; // 20 runs
    std::vector<PixelBox> changed;
    FindChangedAreas(now.data(), before.data(), kStride, {0, 0, 32, 40}, changed);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_TRUE(Same(changed[0], {0, 0, 7, 39}));
}

TEST(ChangedAreas, AreasGrowToHoldWhatIsAddedWithinTheWindow)
{
    const PixelBox window{0, 0, 100, 50};
    PixelBox area;
    area = area.joined(PixelBox{10, 20, 30, 40}.within(window));
    area = area.joined(PixelBox{-5, 30, 12, 80}.within(window));  // cut to the window
    area = area.joined(PixelBox{200, 0, 300, 10}.within(window)); // wholly outside: nothing
    EXPECT_TRUE(Same(area, {0, 20, 30, 50}));
    EXPECT_TRUE(Same(PixelBox{}.joined(PixelBox{}), PixelBox{})); // nothing joined stays empty
}

} // namespace
} // namespace vrn::editor_platform
