// The drawing primitives: colour conversion, rectangles, circles, text lines, the frame prologue.
#include "graphics/drawing_conversions.h"
#include "graphics/gfx_bridge.h"
#include "tests/graphics/drawing_fixture.h"

#include <gtest/gtest.h>

namespace vrn
{
namespace
{

using testing::DrawingFixture;
using Lines = std::vector<std::string>;

TEST(ColorByte, RoundsAndClamps)
{
    EXPECT_EQ(ColorByte(0.8), 204);
    EXPECT_EQ(ColorByte(0.2), 51);
    EXPECT_EQ(ColorByte(1.0), 255);
    EXPECT_EQ(ColorByte(1.7), 255);
    EXPECT_EQ(ColorByte(-0.3), 0);
    EXPECT_EQ(ColorByte(0.0), 0);
    EXPECT_EQ(ColorByte(0.3), 76); // 76.5 truncates
    EXPECT_EQ(ColorByte(std::nan("")), 0);
}

TEST(Bridge, AnswersZeroOutsideAPaintAndOneInside)
{
    DrawingFixture f;
    EXPECT_EQ(gfxRect(&f.host, 0, 0, 10, 10, 1), 0);
    EXPECT_EQ(gfxSetFont(&f.host, "Arial", 12, 0), 0);
    EXPECT_EQ(gfxTextWidth(&f.host, "abc"), 0.0);
    EXPECT_EQ(gfxRect(nullptr, 0, 0, 10, 10, 1), 0);
    EXPECT_EQ(f.host.fonts.Count(), 0u); // nothing selected, nothing cached

    f.host.Paint(
        [&]
        {
            EXPECT_EQ(gfxRect(&f.host, 1, 2, 11, 12, 2), 1);
            EXPECT_EQ(gfxTextWidth(&f.host, "abc"), 21.0);
            EXPECT_EQ(gfxPoint(&f.host, 5, 6, 1, 2, 3, 4), 1);
        });
    const Lines expected{"fillRect 1 2 10 10", "strokeRect 1 2 9 9", "penWidth 1",
                         "penColor 1,2,3,4",   "line 5 6 6 6",       "penColor 255,255,255,255",
                         "penWidth 1"};
    EXPECT_EQ(f.host.log, expected);
}

TEST(Bridge, ViewSizeComesFromTheEditorWithoutAContext)
{
    DrawingFixture f;
    std::int32_t width = 0;
    std::int32_t height = 0;
    EXPECT_EQ(gfxViewSize(&f.host, width, height), 1);
    EXPECT_EQ(width, 450);
    EXPECT_EQ(height, 500);
    f.host.hasEditor = false;
    EXPECT_EQ(gfxViewSize(&f.host, width, height), 0);
    EXPECT_EQ(gfxViewSize(nullptr, width, height), 0);
}

TEST(ApplyColor, ClampsChannelsAndPicksTheDrawMode)
{
    DrawingFixture f;
    f.effect.colorRed = 1.5;
    f.effect.colorGreen = -0.2;
    f.effect.colorBlue = 0.8;
    f.effect.colorAlpha = 0.2;
    f.host.Paint(
        [&]
        {
            f.gfx.applyColor(0.5);
            f.gfx.applyColor(0.49);
        });
    const Lines expected{"fillColor 255,0,204,51", "antiAlias on", "antiAlias off"};
    EXPECT_EQ(f.host.log, expected);
}

TEST(FillRectTo, EitherCornerOrderFillsTheSameWholePixels)
{
    DrawingFixture f;
    f.host.Paint(
        [&]
        {
            f.effect.penX = 30.7;
            f.effect.penY = 40.2;
            f.gfx.fillRectTo(10.5, 20.9);
            EXPECT_EQ(f.effect.penX, 10.5);
            EXPECT_EQ(f.effect.penY, 20.9);
            f.gfx.fillRectTo(30.7, 40.2);
            EXPECT_EQ(f.effect.penX, 30.7);
            EXPECT_EQ(f.effect.penY, 40.2);
        });
    EXPECT_EQ(f.host.Calls("fillRect"), (Lines{"fillRect 10 20 20 20", "fillRect 10 20 20 20"}));
}

TEST(FillCircle, FillsTheSquareAroundTheCentreAntiAliased)
{
    DrawingFixture f;
    f.effect.colorGreen = 1.0;
    f.effect.colorAlpha = 1.0;
    f.host.Paint([&] { f.gfx.fillCircle(341, 402, 2); });
    // The rectangle (339, 400)–(344, 405); ellipses cover one pixel less than the rectangle.
    const Lines expected{"fillColor 0,255,0,255", "antiAlias on", "fillEllipse 339 400 4 4"};
    EXPECT_EQ(f.host.log, expected);
    EXPECT_EQ(f.effect.penX, 341.0);
    EXPECT_EQ(f.effect.penY, 402.0);
}

TEST(DrawText, LineFeedStartsTheNextLineAtTheSameX)
{
    DrawingFixture f;
    f.effect.strings.Assign(5, "a\nbc");
    f.effect.textHeight = 14.0;
    f.effect.penX = 10.0;
    f.effect.penY = 20.0;
    f.effect.colorRed = 0.8;
    f.effect.colorAlpha = 1.0;
    f.host.Paint([&] { f.gfx.drawText(5); });
    // Each line in (pen, pen + width, textHeight + 2) with the default 12-pixel font: the
    // baseline sits 3 pixels above the rectangle's bottom, the text's top 11 above that.
    EXPECT_EQ(f.host.Calls("string"), (Lines{"string \"a\" Arial 12 style 0 at 10 22 aa",
                                             "string \"bc\" Arial 12 style 0 at 10 36 aa"}));
    EXPECT_EQ(f.host.Calls("fontColor"), (Lines{"fontColor 204,0,0,255"}));
    EXPECT_EQ(f.effect.penY, 34.0);
    EXPECT_EQ(f.effect.penX, 24.0); // grown by the last line's width only
}

TEST(DrawText, EmptyTextDrawsNothingAndKeepsThePen)
{
    DrawingFixture f;
    f.effect.penX = 10.0;
    f.host.Paint([&] { f.gfx.drawText(77); });
    EXPECT_TRUE(f.host.Calls("string").empty());
    EXPECT_EQ(f.effect.penX, 10.0);
    EXPECT_TRUE(f.effect.strings.Contains(77)); // a missing slot is created empty
}

TEST(FramePrologue, CopiesSizeAndMouseAndResetsColourAndPen)
{
    DrawingFixture f;
    f.effect.mouseX = 12;
    f.effect.mouseY = 34;
    f.effect.mouseButtons = 9;
    f.effect.colorRed = 0.5;
    f.effect.colorAlpha = 0.1;
    f.effect.penX = 100;
    f.host.Paint([&] { f.gfx.framePrologue(); });
    EXPECT_TRUE(f.host.log.empty()); // clearColor 0: no clearing
    EXPECT_EQ(f.effect.viewWidth, 450.0);
    EXPECT_EQ(f.effect.viewHeight, 500.0);
    EXPECT_EQ(f.effect.frameMouseX, 12.0);
    EXPECT_EQ(f.effect.frameMouseY, 34.0);
    EXPECT_EQ(f.effect.frameButtons, 9.0);
    EXPECT_EQ(f.effect.colorRed, 0.0);
    EXPECT_EQ(f.effect.colorAlpha, 1.0);
    EXPECT_EQ(f.effect.penX, 0.0);

    // Later mouse events do not reach the frame copies until the next frame starts.
    f.effect.mouseX = 99;
    EXPECT_EQ(f.effect.frameMouseX, 12.0);
}

TEST(FramePrologue, ClearColourFillsTheWholeViewFirst)
{
    DrawingFixture f;
    f.effect.clearColor = 0x3366FF; // blue 0x33, green 0x66, red 0xFF
    f.host.Paint([&] { f.gfx.framePrologue(); });
    const Lines expected{"fillColor 255,102,51,255", "fillRect 0 0 450 500"};
    EXPECT_EQ(f.host.log, expected);
    EXPECT_EQ(f.effect.penX, 0.0);
    EXPECT_EQ(f.effect.colorRed, 0.0);
}

} // namespace
} // namespace vrn
