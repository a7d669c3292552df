// Text measured and drawn through CDrawContext with GDI+ fonts, read back from offscreen bitmaps.
#include "drawing_support.h"

#include "editor/draw_context.h"
#include "editor/font_desc.h"
#include "editor/win32/gdiplus_surface.h"
#include "editor/win32/platform_objects.h"

namespace vrn::test
{
namespace
{

using Text = DrawingTest;

// Ascent of regular "Arial" at `size` pixels, from the family's design units.
double ArialAscent(double size)
{
    gdip::GpFontFamily* family = nullptr;
    EXPECT_EQ(gdip::GdipCreateFontFamilyFromName(L"Arial", nullptr, &family), gdip::Ok);
    UINT16 ascent = 0;
    UINT16 em = 1;
    gdip::GdipGetCellAscent(family, gdip::FontStyleRegular, &ascent);
    gdip::GdipGetEmHeight(family, gdip::FontStyleRegular, &em);
    gdip::GdipDeleteFontFamily(family);
    return size * ascent / em;
}

TEST_F(Text, DrawnWithItsBaselineOnThePoint)
{
    auto context = MakeOffscreen(200, 100);
    auto font = SharedPointer<CFontDesc>::adopt(new CFontDesc("Arial", 30));
    context->setFont(font.get());
    context->setFontColor({255, 255, 255, 255});
    context->drawStringAt("H", {20, 70});
    const InkBox ink = FindInk(context);
    ASSERT_TRUE(ink.found);

    // The layout box starts one line height above the point, plus one pixel; the baseline lies
    // one ascent below the box's top.
    const double lineHeight =
        dynamic_cast<GdiplusSurface*>(context->surface())->fontHeight(*font.get());
    EXPECT_NEAR(lineHeight, 30 * 2355.0 / 2048.0, 0.5); // Arial's line spacing
    const double baseline = 70 + 1 - lineHeight + ArialAscent(30);
    EXPECT_NEAR(ink.bottom + 1, baseline, 1.5);
    EXPECT_NEAR(ink.bottom + 1 - ink.top, 30 * 0.716, 1.5); // cap height of "H"
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.left, 20 + 8); // the layout's leading pad
}

TEST_F(Text, PlacedInRectanglesByAlignment)
{
    auto font = SharedPointer<CFontDesc>::adopt(new CFontDesc("Arial", 24));
    const ViewRect box{20, 10, 180, 50};
    // The baseline sits at bottom − (height / 2 − size / 2 + 1).
    const double baseline = 50 - (20 - 12 + 1);

    int lefts[3] = {};
    int rights[3] = {};
    for (int align = 0; align < 3; ++align)
    {
        auto context = MakeOffscreen(200, 60);
        context->setFont(font.get());
        context->setFontColor({255, 255, 255, 255});
        context->drawString("HH", box, static_cast<CHoriTxtAlign>(align));
        const InkBox ink = FindInk(context);
        ASSERT_TRUE(ink.found) << align;
        EXPECT_NEAR(ink.bottom + 1, baseline + 1 - 27.6 + ArialAscent(24), 1.5) << align;
        lefts[align] = ink.left;
        rights[align] = ink.right;
    }
    EXPECT_LE(lefts[0], 20 + 6);
    EXPECT_NEAR((lefts[1] + rights[1] + 1) / 2.0, 100, 2.0);
    EXPECT_LE(rights[2], 180);
    EXPECT_GE(rights[2], 180 - 8);
    EXPECT_LT(lefts[0], lefts[1]);
    EXPECT_LT(lefts[1], lefts[2]);
}

TEST_F(Text, ClippedToItsRectangleAndTheClipRestored)
{
    auto context = MakeOffscreen(200, 60);
    context->setFontColor({255, 255, 255, 255});
    context->setFont(StandardFont(1), 30);
    context->drawString("HHHHHHHH", {50, 10, 70, 50}, kLeftText);
    const InkBox ink = FindInk(context);
    ASSERT_TRUE(ink.found);
    EXPECT_GE(ink.left, 50);
    EXPECT_LE(ink.right, 69);
    EXPECT_EQ(context->getClipRect(), (ViewRect{0, 0, 200, 60}));
}

TEST_F(Text, WidthGrowsWithTheTextAndTheFont)
{
    auto context = MakeOffscreen(10, 10);
    const double one = context->getStringWidth("H");
    const double three = context->getStringWidth("HHH");
    EXPECT_GT(one, 0.0);
    EXPECT_GT(three, one + 10.0);
    EXPECT_EQ(context->getStringWidth(nullptr), -1.0);
    context->setFont(StandardFont(1), 24);
    EXPECT_GT(context->getStringWidth("H"), one * 1.6);
    // UTF-8 arrives as UTF-16: two-byte "ä" measures as one character, close to "a".
    EXPECT_NEAR(context->getStringWidth("\xC3\xA4"), context->getStringWidth("a"), 1.0);
}

TEST_F(Text, OneStyleBitReachesTheFont)
{
    auto context = MakeOffscreen(10, 10);
    const struct
    {
        std::int32_t style;
        INT expected;
    } cases[] = {{0, gdip::FontStyleRegular},
                 {kBoldFace, gdip::FontStyleBold},
                 {kBoldFace | kItalicFace, gdip::FontStyleItalic},
                 {kBoldFace | kItalicFace | kUnderlineFace, gdip::FontStyleUnderline}};
    for (const auto& c : cases)
    {
        context->setFont(StandardFont(3), 0, c.style);
        ASSERT_GT(context->getStringWidth("x"), 0.0);
        PlatformFont* made = context->getFont()->platformFont();
        ASSERT_NE(made, nullptr);
        INT style = -1;
        gdip::GdipGetFontStyle(made->font, &style);
        EXPECT_EQ(style, c.expected) << c.style;
        gdip::Unit unit{};
        gdip::GdipGetFontUnit(made->font, &unit);
        EXPECT_EQ(unit, gdip::UnitPixel);
        gdip::REAL size = 0;
        gdip::GdipGetFontSize(made->font, &size);
        EXPECT_EQ(size, 14.0f);
    }
}

} // namespace
} // namespace vrn::test
