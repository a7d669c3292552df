// Font slots: the size rule, style letters, the host's font cache and the "verdana" retry.
#include "editor/font_desc.h"
#include "graphics/gfx_bridge.h"
#include "tests/graphics/drawing_fixture.h"

#include <gtest/gtest.h>

namespace vrn
{
namespace
{

using testing::DrawingFixture;

struct Selected
{
    double textHeight;
    double slotSize;
    std::int32_t slotStyle;
    double contextSize;
    std::int32_t contextStyle;
};

Selected SelectFont(double size, double style)
{
    DrawingFixture f;
    f.effect.strings.Assign(10012, "Arial");
    Selected s{};
    f.host.Paint(
        [&]
        {
            f.gfx.setFont(1, 10012, size, style);
            CFontDesc* font = f.host.PaintContext()->getFont();
            s.contextSize = font->getSize();
            s.contextStyle = font->getStyle();
            EXPECT_EQ(font->getName(), "Arial");
        });
    s.textHeight = f.effect.textHeight;
    s.slotSize = f.gfx.fontSlot(1)->size;
    s.slotStyle = f.gfx.fontSlot(1)->style;
    EXPECT_EQ(f.effect.fontIndex, 1.0);
    return s;
}

TEST(SetFont, NegativeSizeIsPixels)
{
    const Selected s = SelectFont(-20, 0);
    EXPECT_EQ(s.contextSize, 20.0);
    EXPECT_EQ(s.slotSize, 20.0);
    EXPECT_DOUBLE_EQ(s.textHeight, 23.529411764705884);
}

TEST(SetFont, PositiveSizeIsTheLineHeight)
{
    const Selected fourteen = SelectFont(14, 0);
    EXPECT_EQ(fourteen.contextSize, 11.0); // 11.9 whole pixels
    EXPECT_EQ(fourteen.textHeight, 14.0);  // exactly, so rows' texts land on whole pixels
    EXPECT_DOUBLE_EQ(fourteen.slotSize, 11.9);
    EXPECT_EQ(SelectFont(13, 0).contextSize, 11.0);
    EXPECT_EQ(SelectFont(12, 0).contextSize, 10.0);
    EXPECT_EQ(SelectFont(12, 0).textHeight, 12.0);
}

TEST(SetFont, ZeroSizeIsSixteenPixels)
{
    const Selected s = SelectFont(0, 0);
    EXPECT_EQ(s.contextSize, 16.0);
    EXPECT_DOUBLE_EQ(s.textHeight, 18.823529411764707);
}

TEST(SetFont, StyleLettersPackedLowestByteFirst)
{
    EXPECT_EQ(SelectFont(14, 'b').contextStyle, kBoldFace);
    EXPECT_EQ(SelectFont(14, 0x6269).contextStyle, kBoldFace | kItalicFace); // "i", "b"
    EXPECT_EQ(SelectFont(14, 0x756269).slotStyle, kBoldFace | kItalicFace | kUnderlineFace);
    EXPECT_EQ(SelectFont(14, 'x').slotStyle, 0);
    EXPECT_EQ(SelectFont(14, 0).contextStyle, 0);
}

TEST(SetFont, CacheHoldsOneDescriptionPerFaceIgnoringCase)
{
    DrawingFixture f;
    f.effect.strings.Assign(1, "Arial");
    f.effect.strings.Assign(2, "arial");
    f.effect.strings.Assign(3, "Courier New");
    for (int frame = 0; frame < 3; ++frame)
        f.host.Paint(
            [&]
            {
                f.gfx.setFont(0, 3, 13, 0);
                f.gfx.setFont(1, 1, 14, 'b');
                f.gfx.setFont(1, 2, 12, 0);
            });
    EXPECT_EQ(f.host.fonts.Count(), 2u);
}

TEST(SetFont, LaterFramesReuseTheSameDescriptions)
{
    DrawingFixture f;
    f.effect.strings.Assign(1, "Arial");
    CFontDesc* first[2] = {};
    CFontDesc* again[2] = {};
    for (CFontDesc** chosen : {first, again})
        f.host.Paint(
            [&]
            {
                // Each held, so that a freed description's memory cannot come back as "the
                // same" one.
                f.gfx.setFont(1, 1, 14, 'b');
                chosen[0] = f.host.PaintContext()->getFont();
                chosen[0]->retain();
                f.gfx.setFont(1, 1, 12, 0);
                chosen[1] = f.host.PaintContext()->getFont();
                chosen[1]->retain();
            });
    // A new description would start without its platform font at every frame.
    EXPECT_EQ(first[0], again[0]);
    EXPECT_EQ(first[1], again[1]);
    EXPECT_NE(first[0], first[1]);
    EXPECT_EQ(again[1]->getSize(), 10.0);
    EXPECT_EQ(again[1]->getStyle(), 0);
    for (CFontDesc** chosen : {first, again})
        for (int i = 0; i < 2; ++i)
            chosen[i]->release();
}

TEST(SetFont, WithoutAContextStillDefinesTheSlotButCachesNothing)
{
    DrawingFixture f;
    f.effect.strings.Assign(1, "Arial");
    f.gfx.setFont(4, 1, -20, 'i');
    EXPECT_EQ(f.host.fonts.Count(), 0u); // neither "Arial" nor the "verdana" retry
    ASSERT_NE(f.gfx.fontSlot(4), nullptr);
    EXPECT_EQ(f.gfx.fontSlot(4)->face, "Arial");
    EXPECT_EQ(f.gfx.fontSlot(4)->style, kItalicFace);
    EXPECT_DOUBLE_EQ(f.effect.textHeight, 23.529411764705884);
    EXPECT_EQ(f.gfx.fontSlot(5), nullptr);
}

} // namespace
} // namespace vrn
