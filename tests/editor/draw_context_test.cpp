// Draw contexts: state setters that spare the surface, coordinates, shapes and text placement.
#include "editor/bitmap.h"
#include "editor/draw_context.h"
#include "editor/font_desc.h"
#include "editor/frame.h"
#include "editor/offscreen_context.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_images.h"

#include <gtest/gtest.h>

#include <memory>

namespace vrn
{
namespace
{

using testing::RecordingSurface;

struct RecordedContext
{
    std::vector<std::string> log;
    CDrawContext* context = nullptr;

    RecordedContext()
    {
        context = new CDrawContext(nullptr, {}, std::make_unique<RecordingSurface>(log));
        log.clear(); // the defaults brought to the surface at construction
    }
    ~RecordedContext() { context->release(); }
};

TEST(DrawContext, DefaultsReachTheSurfaceOnce)
{
    std::vector<std::string> log;
    auto* context = new CDrawContext(nullptr, {}, std::make_unique<RecordingSurface>(log));
    const std::vector<std::string> expected{
        "penColor 255,255,255,255",  "penSolid",     "penWidth 1", "fillColor 0,0,0,255",
        "fontColor 255,255,255,255", "antiAlias off"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(context->getFont(), StandardFont(1));
    EXPECT_EQ(context->getClipRect(), (ViewRect{0, 0, 1000, 1000}));
    context->release();
}

TEST(DrawContext, UnchangedStateMakesNoSurfaceCall)
{
    RecordedContext r;
    r.context->setFillColor({10, 20, 30, 255});
    r.context->setFillColor({10, 20, 30, 255});
    r.context->setFrameColor({1, 2, 3, 4});
    r.context->setFrameColor({1, 2, 3, 4});
    r.context->setDrawMode(kAntiAliasMode);
    r.context->setDrawMode(kAntiAliasMode);
    r.context->setLineStyle(kLineOnOffDash);
    r.context->setLineStyle(kLineOnOffDash);
    r.context->setClipRect({1, 2, 30, 40});
    r.context->setClipRect({1, 2, 30, 40});
    const std::vector<std::string> expected{"fillColor 10,20,30,255", "penColor 1,2,3,4",
                                            "antiAlias on", "penDotted", "clip 1 2 29 38"};
    EXPECT_EQ(r.log, expected);
    // The font colour always reaches the surface.
    r.context->setFontColor({1, 1, 1, 255});
    r.context->setFontColor({1, 1, 1, 255});
    EXPECT_EQ(r.log.size(), expected.size() + 2);
}

TEST(DrawContext, StrokedRectangleIsOnePixelShortOfTheFilledOne)
{
    RecordedContext r;
    r.context->drawRect({30, 40, 10, 20}, kDrawFilledAndStroked); // corners in any order
    const std::vector<std::string> expected{"fillRect 10 20 20 20", "strokeRect 10 20 19 19"};
    EXPECT_EQ(r.log, expected);
}

TEST(DrawContext, DrawingOffsetMovesShapesLinesAndClip)
{
    RecordedContext r;
    r.context->setDrawingOffset({100, 200});
    r.context->fillRect({1, 2, 11, 12});
    r.context->drawEllipse({0, 0, 10, 20}, kDrawFilled);
    r.context->moveTo({1, 1});
    r.context->lineTo({5, 1.9});
    r.context->setClipRect({0, 0, 10, 10});
    const std::vector<std::string> expected{"fillRect 101 202 10 10", "fillEllipse 100 200 9 19",
                                            "line 101 201 105 201", "clip 100 200 10 10"};
    EXPECT_EQ(r.log, expected);
    EXPECT_EQ(r.context->getClipRect(), (ViewRect{0, 0, 10, 10}));
}

TEST(DrawContext, ArcSweepsFromStartToEndClockwise)
{
    RecordedContext r;
    r.context->drawArc({0, 0, 10, 10}, 350, 10);
    r.context->drawArc({0, 0, 10, 10}, 10, 350, kDrawFilled);
    ASSERT_EQ(r.log.size(), 2u);
    EXPECT_EQ(r.log[0], "arc 0 0 10 10 start 350 sweep 20 stroke");
    EXPECT_EQ(r.log[1], "arc 0 0 10 10 start 10 sweep 340 fill");
}

TEST(DrawContext, PointDrawsOnePixelAndRestoresPen)
{
    RecordedContext r;
    r.context->setLineWidth(3);
    r.context->drawPoint({4, 5}, {9, 9, 9, 255});
    EXPECT_EQ(r.context->getFrameColor(), kWhiteColor);
    EXPECT_EQ(r.context->getLineWidth(), 3.0);
    const std::vector<std::string> expected{"penWidth 3",
                                            "penWidth 1",
                                            "penColor 9,9,9,255",
                                            "line 4 5 5 5",
                                            "penColor 255,255,255,255",
                                            "penWidth 3"};
    EXPECT_EQ(r.log, expected);
    EXPECT_EQ(r.context->getPoint({4, 5}), kBlackColor);
}

TEST(DrawContext, TextIsPlacedOnItsBaselineAndClippedToItsRectangle)
{
    // Declared first, so that it outlives the context that holds a reference to it.
    CFontDesc arial("Arial", 14, kBoldFace);
    RecordedContext r;
    r.context->setFont(&arial);
    EXPECT_EQ(r.context->getStringWidth(nullptr), -1.0);
    EXPECT_EQ(r.context->getStringWidth("abc"), 21.0);

    // Baseline 10 → top of the line at 10 + 1 - 14.
    r.context->drawStringAt("x", {5, 10}, false);
    ASSERT_EQ(r.log.size(), 1u);
    EXPECT_EQ(r.log[0], "string \"x\" Arial 14 style 1 at 5 -3");

    // Right-aligned in (100, 50)-(200, 70): baseline 70 - (10 - 7 + 1) = 66, x = 200 - 14.
    r.log.clear();
    r.context->drawString("ab", {100, 50, 200, 70}, kRightText);
    const std::vector<std::string> expected{
        "clip 100 50 100 20", "string \"ab\" Arial 14 style 1 at 186 53 aa", "clip 0 0 1000 1000"};
    EXPECT_EQ(r.log, expected);
}

TEST(DrawContext, FontSelectionReusesOrDerivesDescriptions)
{
    RecordedContext r;
    CFontDesc* arial = new CFontDesc("Arial", 12);
    r.context->setFont(arial, 12, -1);
    EXPECT_EQ(r.context->getFont(), arial);
    EXPECT_EQ(arial->getNbReference(), 2);

    r.context->setFont(arial, 20, kItalicFace);
    CFontDesc* derived = r.context->getFont();
    ASSERT_NE(derived, arial);
    EXPECT_EQ(derived->getName(), "Arial");
    EXPECT_EQ(derived->getSize(), 20.0);
    EXPECT_EQ(derived->getStyle(), kItalicFace);
    EXPECT_EQ(arial->getNbReference(), 1);

    // Selecting the current font again keeps it alive.
    r.context->setFont(derived);
    EXPECT_EQ(r.context->getFont(), derived);
    EXPECT_EQ(derived->getNbReference(), 1);
    arial->release();
}

TEST(DrawContext, WithoutSurfaceStateIsKeptAndNothingIsDrawn)
{
    auto* context = new CDrawContext(nullptr, {}, nullptr, nullptr);
    context->setFillColor({1, 2, 3, 4});
    context->fillRect({0, 0, 10, 10});
    context->drawStringAt("x", {0, 0});
    EXPECT_EQ(context->getFillColor(), (ViewColor{1, 2, 3, 4}));
    EXPECT_EQ(context->getStringWidth("x"), -1.0);
    context->release();
}

TEST(DrawContext, AtAScaleTheSurfaceGetsWindowPixels)
{
    CFontDesc arial("Arial", 14, kBoldFace);
    std::vector<std::string> log;
    // A font twice as large measures twice as wide.
    auto* context = new CDrawContext(nullptr, {}, std::make_unique<RecordingSurface>(log, 14.0));
    log.clear();
    context->setScale(2.0);
    EXPECT_EQ(log, (std::vector<std::string>{"clip 0 0 2000 2000", "penWidth 2"}));
    log.clear();
    context->setDrawingOffset({10, 20});
    context->fillRect({1, 2, 11, 12});
    context->drawRect({0, 0, 10, 10}, kDrawStroked);
    context->drawEllipse({0, 0, 5, 5}, kDrawFilled);
    context->moveTo({1, 1});
    context->lineTo({5, 1.9});
    const ViewPoint triangle[] = {{0, 0}, {1, 0}, {1, 1}};
    context->drawPolygon(triangle, 3, kDrawFilled);
    context->setClipRect({0.5, 0, 10, 10});
    context->setLineWidth(1.5);
    context->setFont(&arial);
    EXPECT_EQ(context->getStringWidth("abc"), 21.0); // 42 window pixels
    context->drawStringAt("x", {5, 10}, false);      // line top at 10 + 20 + 1 - 14
    const std::vector<std::string> expected{"fillRect 22 44 20 20",
                                            "strokeRect 20 40 19 19",
                                            "fillEllipse 20 40 9 9",
                                            "line 22 42 30 43",
                                            "polygon 20 40 22 40 22 42 fill closed",
                                            "clip 21 40 19 20",
                                            "penWidth 3",
                                            "string \"x\" Arial 28 style 1 at 30 34"};
    EXPECT_EQ(log, expected);
    // The caller keeps its font; the surface's is kept with it, the same one every time.
    EXPECT_EQ(context->getFont(), &arial);
    EXPECT_EQ(arial.scaledVariant(2.0), arial.scaledVariant(2.0));
    EXPECT_EQ(arial.scaledVariant(2.0)->getSize(), 28.0);
    EXPECT_EQ(arial.scaledVariant(1.0), &arial);
    context->release();
    arial.setSize(10); // a changed description scales anew
    EXPECT_EQ(arial.scaledVariant(2.0)->getSize(), 20.0);
}

TEST(Bitmap, DrawsItsAreaAtTheDrawingOffsetWithAlpha)
{
    editor_platform::AddTestResourceImage(7, 32, 16);
    auto* bitmap = new CBitmap(CResourceDescription::fromId(7));
    ASSERT_TRUE(bitmap->isLoaded());
    EXPECT_EQ(bitmap->getWidth(), 32.0);
    EXPECT_EQ(bitmap->getHeight(), 16.0);

    RecordedContext r;
    r.context->setDrawingOffset({10, 20});
    bitmap->draw(r.context, {1.9, 2, 9.9, 10}, {3, 4});
    bitmap->drawAlphaBlend(r.context, {0, 0, 32, 16}, {}, 128);
    const std::vector<std::string> expected{"bitmap 32x16 to 11 22 8 8 from 3 4 alpha 255",
                                            "bitmap 32x16 to 10 20 32 16 from 0 0 alpha 128"};
    EXPECT_EQ(r.log, expected);

    bitmap->freeImage();
    bitmap->draw(r.context, {0, 0, 32, 16});
    EXPECT_EQ(r.log.size(), 2u);
    bitmap->release();
    editor_platform::ClearTestResourceImages();
}

TEST(Bitmap, AtAScaleTheClosestVariantAtOrAboveItIsDrawn)
{
    editor_platform::ClearTestResourceImages();
    editor_platform::AddTestResourceImage(7, 32, 16);
    editor_platform::AddTestResourceImage(7 + 200, 64, 32); // drawn at twice the size
    editor_platform::AddTestResourceImage(7 + 300, 96, 40); // not three times this picture
    auto* bitmap = new CBitmap(CResourceDescription::fromId(7));
    RecordedContext r;
    bitmap->draw(r.context, {0, 0, 32, 16});
    EXPECT_EQ(editor_platform::ResourceLoadCount(), 1); // no variant looked for at scale 1

    r.context->setScale(2.0);
    bitmap->draw(r.context, {1, 2, 33, 18});
    bitmap->draw(r.context, {1, 2, 9, 10}, {3, 4});
    r.context->setScale(1.5); // no variant of its own: the next one up, scaled
    bitmap->draw(r.context, {0, 0, 32, 16});
    r.context->setScale(2.5); // the next one up does not fit: the picture itself, scaled
    bitmap->draw(r.context, {0, 0, 32, 16});
    bitmap->draw(r.context, {0, 0, 32, 16});
    const std::vector<std::string> expected{
        "bitmap 32x16 to 0 0 32 16 from 0 0 alpha 255",
        "bitmap 64x32 to 2 4 64 32 from 0 0 alpha 255",
        "bitmap 64x32 to 2 4 16 16 from 6 8 alpha 255",
        "bitmap 64x32 to 0 0 48 24 from 0 0 size 64 32 alpha 255",
        "bitmap 32x16 to 0 0 80 40 from 0 0 size 32 16 alpha 255",
        "bitmap 32x16 to 0 0 80 40 from 0 0 size 32 16 alpha 255"};
    std::vector<std::string> drawn;
    for (const std::string& line : r.log)
        if (line.rfind("bitmap", 0) == 0)
            drawn.push_back(line);
    EXPECT_EQ(drawn, expected);
    // Each variant was looked for once: 7, then 207, 157 and 307.
    EXPECT_EQ(editor_platform::ResourceLoadCount(), 4);
    EXPECT_EQ(bitmap->getWidth(), 32.0); // its size stays the picture's
    bitmap->release();
    editor_platform::ClearTestResourceImages();
}

TEST(Bitmap, MissingResourceLeavesNoImage)
{
    auto* bitmap = new CBitmap(CResourceDescription::fromId(99));
    EXPECT_FALSE(bitmap->isLoaded());
    EXPECT_EQ(bitmap->getWidth(), 0.0);
    bitmap->release();
}

TEST(OffscreenContext, ClipCoversItsSurfaceWithOrderedEdges)
{
    auto* offscreen = new COffscreenContext(nullptr, 450, 500, kBlackColor);
    EXPECT_EQ(offscreen->getClipRect(), (ViewRect{0, 0, 450, 500}));
    EXPECT_EQ(offscreen->getBitmap()->getWidth(), 450.0);
    offscreen->release();

    auto* inverted = new COffscreenContext(nullptr, -5, 8, kBlackColor);
    EXPECT_EQ(inverted->getClipRect(), (ViewRect{-5, 0, 0, 8}));
    inverted->release();

    // A frame's offscreen (a container's private surface) resets to its surface, not to the
    // frame's rectangle nor to nothing.
    auto* frame = new CFrame({0, 0, 450, 500}, nullptr, nullptr);
    auto* own = new COffscreenContext(frame, 40, 30, kBlackColor);
    own->setClipRect({0, 0, 5, 5});
    own->resetClipRect();
    EXPECT_EQ(own->getClipRect(), (ViewRect{0, 0, 40, 30}));
    own->release();
    frame->release();
}

TEST(OffscreenContext, AtTheFramesScaleItsPixelsAreCopiedOneToOne)
{
    auto* frame = new CFrame({0, 0, 450, 500}, nullptr, nullptr, 2.0);
    auto* own = new COffscreenContext(frame, 40, 30, kBlackColor);
    EXPECT_EQ(own->getScale(), 2.0);
    EXPECT_EQ(own->getBitmap()->getWidth(), 40.0);
    EXPECT_EQ(own->getBitmap()->getDensity(), 2.0);
    std::vector<std::string> log;
    auto* screen =
        new CDrawContext(frame, frame->bounds(), std::make_unique<RecordingSurface>(log));
    log.clear();
    own->copyFrom(screen, {10, 10, 30, 20}, {5, 5});
    EXPECT_EQ(log, (std::vector<std::string>{"bitmap 80x60 to 20 20 40 20 from 10 10 alpha 255"}));
    screen->release();
    own->release();
    frame->release();
}

} // namespace
} // namespace vrn
