// The effect object's memory, sliders, descriptions and numeric conventions.
#include "runtime/xalto.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vrn
{
namespace
{

TEST(EffectMemory, ReadingCreatesTheOneBlockItTouches)
{
    CXaltoMemory memory;
    EXPECT_EQ(memory.Cell(123456), 0.0);
    EXPECT_EQ(memory.BlockCount(), 1u);
    EXPECT_TRUE(memory.HasBlock(1));
}

TEST(EffectMemory, NegativeIndexesLiveInNegativeBlocks)
{
    CXaltoMemory memory;
    memory.Cell(-1) = 7.0;
    EXPECT_TRUE(memory.HasBlock(-1));
    EXPECT_FALSE(memory.HasBlock(0));
    EXPECT_EQ(memory.Block(-1)[65535], 7.0);
    EXPECT_EQ(memory.Cell(65535), 0.0); // block 0's last cell is another cell
    memory.ClearMemory();
    EXPECT_EQ(memory.BlockCount(), 0u);
    EXPECT_EQ(memory.Cell(-1), 0.0);
}

TEST(Sliders, NumbersWrapIntoTheTable)
{
    CXaltoSliders sliders;
    sliders.Slider(1) = 3.5;
    EXPECT_EQ(sliders.Slider(129.0), 3.5);
    EXPECT_EQ(sliders.Slider(0.99995), 3.5);
    sliders.Slider(-1.0) = 2.0; // -1 & 127 = 127
    EXPECT_EQ(sliders.Slider(127), 2.0);
    EXPECT_EQ(sliders.Slider(std::nan("")), sliders.Slider(0));
}

TEST(NumericConventions, IndexRoundingMovesTowardTheSign)
{
    EXPECT_EQ(RoundIndex(2.99995), 3);
    EXPECT_EQ(RoundIndex(-2.99995), -3);
    EXPECT_EQ(RoundIndex(0.99995), 1);
    EXPECT_EQ(RoundIndex(-0.5), 0);
    EXPECT_EQ(RoundIndex(1.49), 1);
    EXPECT_EQ(RoundIndex(1e300), INT32_MAX);
    EXPECT_EQ(RoundIndex(-1e300), INT32_MIN);
    EXPECT_EQ(RoundIndex(std::nan("")), 0);
}

TEST(NumericConventions, ToleranceIsStrict)
{
    EXPECT_TRUE(NearlyEqual(1.0, 1.0 + 0.000009));
    EXPECT_FALSE(NearlyEqual(1.0, 1.0 + 0.00002));
    EXPECT_FALSE(IsTrue(0.000009));
    EXPECT_TRUE(IsTrue(-0.00002));
}

TEST(SliderDeclaration, StoresTheDefaultAndKeepsDeclarationOrder)
{
    CXaltoDescription d;
    EXPECT_EQ(d.DeclareSlider(4, -45.0, -90.0, 0.0, 1.0, "", "", "Threshold"), 0u);
    EXPECT_EQ(d.DeclareSlider(2, 20.0, 5.0, 1000.0, 1.0, "", "ms", "Release"), 1u);
    d.AddOption("a");
    EXPECT_EQ(d.Slider(4), -45.0);
    EXPECT_EQ(d.Slider(2), 20.0);
    ASSERT_EQ(d.SliderInfos().size(), 2u);
    EXPECT_EQ(d.SliderInfos()[1].options, std::vector<std::string>{"a"});
    EXPECT_EQ(d.FindSlider(2), nullptr);
    EXPECT_EQ(d.FindSlider(-1), nullptr);
}

TEST(SliderDeclaration, AFolderWithoutDataFilesOffersOneOption)
{
    CXaltoDescription d;
    d.DeclareSlider(1, 3.0, 0.0, 10.0, 1.0, "no such folder here", "", "Files");
    const SliderInfo& info = d.SliderInfos()[0];
    EXPECT_EQ(info.options, std::vector<std::string>{"(No Data Files)"});
    EXPECT_EQ(info.minimum, 0.0);
    EXPECT_EQ(info.maximum, 0.0);
    EXPECT_EQ(info.step, 0.5);
    EXPECT_EQ(info.defaultValue, 0.0);
    EXPECT_TRUE(info.filesListed);
}

} // namespace
} // namespace vrn
