// Shapes drawn through CDrawContext into GDI+ offscreen bitmaps, read back pixel by pixel.
#include "drawing_support.h"

#include "editor/draw_context.h"
#include "editor/frame.h"
#include "editor/win32/gdiplus_surface.h"

#include <cmath>

namespace vrn::test
{
namespace
{

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kNothing = 0u;

using Shapes = DrawingTest;

TEST_F(Shapes, StrokedRectangleStopsOnePixelShortOfTheFilledOne)
{
    auto filled = MakeOffscreen(40, 40);
    filled->setFillColor({255, 0, 0, 255});
    filled->drawRect({10, 10, 20, 20}, kDrawFilled);
    const InkBox fill = FindInk(filled);
    EXPECT_TRUE(fill.found);
    EXPECT_EQ(fill.left, 10);
    EXPECT_EQ(fill.top, 10);
    EXPECT_EQ(fill.right, 19);
    EXPECT_EQ(fill.bottom, 19);
    EXPECT_EQ(Pixel(filled, 15, 15), kRed);

    auto stroked = MakeOffscreen(40, 40);
    stroked->setFrameColor({0, 0, 255, 255});
    stroked->drawRect({10, 10, 20, 20}, kDrawStroked);
    const InkBox stroke = FindInk(stroked);
    EXPECT_TRUE(stroke.found);
    EXPECT_EQ(stroke.left, 10);
    EXPECT_EQ(stroke.top, 10);
    EXPECT_EQ(stroke.right, 19);
    EXPECT_EQ(stroke.bottom, 19);
    EXPECT_EQ(Pixel(stroked, 10, 15), kBlue);
    EXPECT_EQ(Pixel(stroked, 19, 15), kBlue);
    EXPECT_EQ(Pixel(stroked, 15, 15), kNothing); // only the outline

    // fillRect covers the whole rectangle too, edges given in any order.
    auto plain = MakeOffscreen(40, 40);
    plain->setFillColor({255, 0, 0, 255});
    plain->fillRect({20, 20, 10, 10});
    const InkBox plainFill = FindInk(plain);
    EXPECT_EQ(plainFill.left, 10);
    EXPECT_EQ(plainFill.right, 19);
    EXPECT_EQ(plainFill.bottom, 19);
}

TEST_F(Shapes, FillAndStrokeTogetherUseBothColours)
{
    auto context = MakeOffscreen(40, 40);
    context->setFillColor({255, 0, 0, 255});
    context->setFrameColor({0, 0, 255, 255});
    context->drawRect({10, 10, 20, 20}, kDrawFilledAndStroked);
    EXPECT_EQ(Pixel(context, 15, 15), kRed);
    EXPECT_EQ(Pixel(context, 10, 15), kBlue);
    EXPECT_EQ(Pixel(context, 19, 19), kBlue);
}

TEST_F(Shapes, EllipseFitsTheRectangleLessOnePixel)
{
    auto context = MakeOffscreen(50, 50);
    context->setFrameColor({0, 0, 255, 255});
    context->drawEllipse({10, 10, 31, 31}, kDrawStroked);
    const InkBox stroke = FindInk(context);
    EXPECT_EQ(stroke.left, 10);
    EXPECT_EQ(stroke.top, 10);
    EXPECT_EQ(stroke.right, 30);
    EXPECT_EQ(stroke.bottom, 30);
    EXPECT_EQ(Pixel(context, 25, 25), kNothing); // centre of a stroked ellipse
    EXPECT_EQ(Pixel(context, 11, 11), kNothing); // corner outside the curve

    auto filled = MakeOffscreen(50, 50);
    filled->setFillColor({255, 0, 0, 255});
    filled->drawEllipse({10, 10, 31, 31}, kDrawFilled);
    EXPECT_EQ(Pixel(filled, 25, 25), kRed);
    EXPECT_EQ(Pixel(filled, 11, 11), kNothing);
    const InkBox fill = FindInk(filled);
    EXPECT_GE(fill.left, 10);
    EXPECT_LE(fill.right, 30);
}

// Stroked arcs of the circle centred at (60, 60) with radius 50, pen 3 pixels wide.
bool ArcPasses(const Offscreen& context, double degrees)
{
    const double radians = degrees * 3.14159265358979 / 180.0;
    const int x = static_cast<int>(60.0 + 50.0 * std::cos(radians) + 0.5);
    const int y = static_cast<int>(60.0 + 50.0 * std::sin(radians) + 0.5);
    return InkNear(context, x, y, 2);
}

TEST_F(Shapes, ArcSweepsFromStartToEndPastZero)
{
    auto shortArc = MakeOffscreen(120, 120);
    shortArc->setFrameColor({0, 0, 255, 255});
    shortArc->setLineWidth(3);
    shortArc->drawArc({10, 10, 110, 110}, 350, 10, kDrawStroked); // 20 degrees over 0
    EXPECT_TRUE(ArcPasses(shortArc, 0));
    EXPECT_TRUE(ArcPasses(shortArc, 355));
    EXPECT_TRUE(ArcPasses(shortArc, 5));
    EXPECT_FALSE(ArcPasses(shortArc, 30));
    EXPECT_FALSE(ArcPasses(shortArc, 90));
    EXPECT_FALSE(ArcPasses(shortArc, 180));
    EXPECT_FALSE(ArcPasses(shortArc, 330));

    auto longArc = MakeOffscreen(120, 120);
    longArc->setFrameColor({0, 0, 255, 255});
    longArc->setLineWidth(3);
    longArc->drawArc({10, 10, 110, 110}, 10, 350, kDrawStroked); // 340 degrees, clockwise
    EXPECT_FALSE(ArcPasses(longArc, 0));
    EXPECT_TRUE(ArcPasses(longArc, 30));
    EXPECT_TRUE(ArcPasses(longArc, 90)); // y grows downward: 90 degrees is at the bottom
    EXPECT_TRUE(ArcPasses(longArc, 180));
    EXPECT_TRUE(ArcPasses(longArc, 270));
}

TEST_F(Shapes, SelfCrossingPolygonFillsAlternately)
{
    // A pentagram: its inner pentagon is crossed twice and stays empty.
    ViewPoint star[5];
    for (int i = 0; i < 5; ++i)
    {
        const double radians = (-90.0 + 144.0 * i) * 3.14159265358979 / 180.0;
        star[i] = {50.0 + 45.0 * std::cos(radians), 50.0 + 45.0 * std::sin(radians)};
    }
    auto context = MakeOffscreen(100, 100);
    context->setFillColor({255, 0, 0, 255});
    context->drawPolygon(star, 5, kDrawFilled);
    EXPECT_EQ(Pixel(context, 50, 52), kNothing); // centre
    EXPECT_EQ(Pixel(context, 50, 15), kRed);     // top arm
    EXPECT_EQ(Pixel(context, 1, 1), kNothing);
}

TEST_F(Shapes, OpenPolygonLeavesTheClosingEdgeOut)
{
    const ViewPoint corner[3] = {{10, 10}, {60, 10}, {60, 60}};
    auto open = MakeOffscreen(70, 70);
    open->setFrameColor({0, 0, 255, 255});
    open->drawPolygon(corner, 3, kDrawStroked, false);
    EXPECT_EQ(Pixel(open, 35, 10), kBlue);
    EXPECT_EQ(Pixel(open, 60, 35), kBlue);
    EXPECT_FALSE(InkNear(open, 35, 35, 1)); // the diagonal back to the start

    auto closed = MakeOffscreen(70, 70);
    closed->setFrameColor({0, 0, 255, 255});
    closed->drawPolygon(corner, 3, kDrawStroked, true);
    EXPECT_TRUE(InkNear(closed, 35, 35, 1));
}

TEST_F(Shapes, LinesPointsClipAndOffset)
{
    auto context = MakeOffscreen(60, 60);
    context->setFrameColor({0, 0, 255, 255});
    context->moveTo({5, 5});
    context->lineTo({30, 5});
    EXPECT_EQ(Pixel(context, 5, 5), kBlue);
    EXPECT_EQ(Pixel(context, 20, 5), kBlue);
    EXPECT_EQ(Pixel(context, 20, 6), kNothing);
    EXPECT_EQ(context->getPenPosition(), (ViewPoint{30, 5}));

    context->drawPoint({40, 40}, {255, 0, 0, 255});
    EXPECT_EQ(Pixel(context, 40, 40), kRed);
    EXPECT_EQ(context->getFrameColor(), (ViewColor{0, 0, 255, 255}));

    // The drawing offset moves everything; the clip (in offset coordinates) cuts the fill.
    context->setDrawingOffset({10, 20});
    context->setClipRect({0, 0, 10, 10});
    context->setFillColor({255, 0, 0, 255});
    context->fillRect({-5, -5, 30, 30});
    EXPECT_EQ(Pixel(context, 10, 20), kRed);
    EXPECT_EQ(Pixel(context, 19, 29), kRed);
    EXPECT_EQ(Pixel(context, 20, 25), kNothing);
    EXPECT_EQ(Pixel(context, 9, 25), kNothing);
}

TEST_F(Shapes, AnOffscreenOfAFrameDrawsAfterItsClipIsReset)
{
    auto* frame = new CFrame({0, 0, 450, 500}, nullptr, nullptr);
    auto context = Offscreen::adopt(new COffscreenContext(frame, 40, 30, kBlackColor));
    context->setClipRect({0, 0, 5, 5});
    context->resetClipRect();
    context->setFillColor({255, 0, 0, 255});
    context->fillRect({0, 0, 40, 30});
    EXPECT_EQ(Pixel(context, 0, 0), kRed);
    EXPECT_EQ(Pixel(context, 39, 29), kRed);
    context = Offscreen();
    frame->release();
}

TEST_F(Shapes, DottedPenLeavesGaps)
{
    auto context = MakeOffscreen(60, 10);
    context->setFrameColor({0, 0, 255, 255});
    context->setLineStyle(kLineOnOffDash);
    context->moveTo({0, 5});
    context->lineTo({59, 5});
    int lit = 0;
    for (int x = 0; x < 60; ++x)
        lit += Pixel(context, x, 5) != kNothing;
    EXPECT_GT(lit, 10);
    EXPECT_LT(lit, 50);
}

// Wine's GDI+ fills without anti-aliasing whatever the mode, so the mode is read back instead
// of the pixels.
TEST_F(Shapes, GraphicsModesFollowTheContext)
{
    auto context = MakeOffscreen(20, 20);
    auto* surface = dynamic_cast<GdiplusSurface*>(context->surface());
    ASSERT_NE(surface, nullptr);
    gdip::GpGraphics* graphics = surface->nativeGraphics();
    gdip::InterpolationMode interpolation{};
    gdip::GdipGetInterpolationMode(graphics, &interpolation);
    EXPECT_EQ(interpolation, gdip::InterpolationModeBilinear); // what "low quality" reads back as
    gdip::Unit unit{};
    gdip::GdipGetPageUnit(graphics, &unit);
    EXPECT_EQ(unit, gdip::UnitPixel);

    // The surface tells GDI+ of a state change when it next draws (or is asked for its graphics).
    gdip::SmoothingMode smoothing{};
    gdip::GdipGetSmoothingMode(graphics, &smoothing);
    EXPECT_EQ(smoothing, gdip::SmoothingModeNone);
    context->setDrawMode(kAntiAliasMode);
    gdip::GdipGetSmoothingMode(surface->nativeGraphics(), &smoothing);
    EXPECT_EQ(smoothing, gdip::SmoothingModeAntiAlias);
    context->setDrawMode(kCopyMode);
    gdip::GdipGetSmoothingMode(surface->nativeGraphics(), &smoothing);
    EXPECT_EQ(smoothing, gdip::SmoothingModeNone);
}

} // namespace
} // namespace vrn::test
