// The drawing memo over a plain pixel buffer, with "drawing calls" of the test's own.
#include "editor/draw_memo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vrn
{
namespace
{

constexpr int kWidth = 40;
constexpr int kHeight = 30;

/// A 4-byte-per-pixel buffer and a memo over it.
struct Canvas
{
    explicit Canvas(int canvasWidth = kWidth, int canvasHeight = kHeight)
        : width(canvasWidth), height(canvasHeight)
    {
    }

    int width;
    int height;
    std::vector<std::uint32_t> pixels =
        std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, 0);
    DrawMemo memo{reinterpret_cast<std::uint8_t*>(pixels.data()), width, height, 4, width * 4};
    int drawn = 0;

    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }

    /// A "drawing call": adds `amount` to every pixel of the rectangle (its result depends on
    /// what was there), through the memo as a surface does it.
    void add(int left, int top, int right, int bottom, std::uint32_t amount, PixelBox box = {})
    {
        DrawCallKey key;
        key.call = 1;
        key.colour = amount;
        key.numbers[0] = left;
        key.numbers[1] = top;
        key.numbers[2] = right;
        key.numbers[3] = bottom;
        if (box.empty())
            box = PixelBox{left, top, right, bottom}.grown(1);
        box = box.within({0, 0, width, height});
        if (memo.replay(key, box))
            return;
        memo.beginDrawing(key, box);
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                at(x, y) += amount;
        ++drawn;
        memo.endDrawing();
    }
};

TEST(DrawMemo, ACallOverTheSamePixelsIsReplayedWithTheSameResult)
{
    Canvas canvas;
    canvas.add(5, 5, 10, 10, 3);
    const std::vector<std::uint32_t> first = canvas.pixels;

    std::fill(canvas.pixels.begin(), canvas.pixels.end(), 0); // the next frame's background
    canvas.add(5, 5, 10, 10, 3);
    EXPECT_EQ(canvas.pixels, first);
    EXPECT_EQ(canvas.drawn, 1);
    EXPECT_EQ(canvas.memo.replays(), 1);
}

TEST(DrawMemo, OtherPixelsUnderTheBoxOrOtherArgumentsAreDrawnAfresh)
{
    Canvas canvas;
    canvas.add(5, 5, 10, 10, 3);
    std::fill(canvas.pixels.begin(), canvas.pixels.end(), 0);
    canvas.at(6, 6) = 100; // something else was drawn there first this time
    canvas.add(5, 5, 10, 10, 3);
    EXPECT_EQ(canvas.at(6, 6), 103u);
    EXPECT_EQ(canvas.at(9, 9), 3u);
    canvas.add(5, 5, 10, 10, 4); // another colour
    EXPECT_EQ(canvas.at(9, 9), 7u);
    EXPECT_EQ(canvas.drawn, 3);
    EXPECT_EQ(canvas.memo.replays(), 0);
}

TEST(DrawMemo, ACallThatDrawsBeyondItsBoxIsNeverReplayed)
{
    Canvas canvas;
    // The box claims less than the call draws: the ring around it changes, so the result could
    // not be replayed faithfully.
    canvas.add(5, 5, 12, 10, 3, PixelBox{5, 5, 10, 10});
    std::fill(canvas.pixels.begin(), canvas.pixels.end(), 0);
    canvas.add(5, 5, 12, 10, 3, PixelBox{5, 5, 10, 10});
    EXPECT_EQ(canvas.at(11, 6), 3u);
    EXPECT_EQ(canvas.drawn, 2);
    EXPECT_EQ(canvas.memo.replays(), 0);
}

TEST(DrawMemo, ABoxTheClipEmptiedChangesNothing)
{
    Canvas canvas;
    canvas.add(5, 5, 10, 10, 3, PixelBox{50, 50, 60, 60}); // wholly outside the buffer
    EXPECT_EQ(canvas.drawn, 0);
    EXPECT_EQ(canvas.at(6, 6), 0u);
}

TEST(DrawMemo, ManyCallsFillTheStorageAndAreForgottenNotLost)
{
    Canvas canvas;
    // More distinct calls than the memo keeps entries for: it starts over and keeps drawing
    // correctly.
    for (int round = 0; round < 2; ++round)
        for (std::uint32_t amount = 1; amount <= 1500; ++amount)
        {
            std::fill(canvas.pixels.begin(), canvas.pixels.end(), 0);
            canvas.add(1, 1, 4, 4, amount);
            ASSERT_EQ(canvas.at(2, 2), amount);
            ASSERT_EQ(canvas.at(4, 4), 0u);
        }
    EXPECT_EQ(canvas.drawn + canvas.memo.replays(), 3000);
}

TEST(DrawMemo, ASurfaceTwiceTheEditorsSizeRemembersCallsAsLargeAsItself)
{
    // The editor at twice its size: a call over the whole surface is remembered and replayed
    // like a small one (fixed storage for the normal size could not hold its pixels).
    Canvas canvas(900, 1000);
    for (int frame = 0; frame < 2; ++frame)
    {
        std::fill(canvas.pixels.begin(), canvas.pixels.end(), 7);
        canvas.add(0, 0, 900, 1000, 1);
        ASSERT_EQ(canvas.at(450, 500), 8u);
    }
    EXPECT_EQ(canvas.drawn, 1);
    EXPECT_EQ(canvas.memo.replays(), 1);
}

} // namespace
} // namespace vrn
