// The effect object's memory, sliders, descriptions and numeric conventions.
#include "runtime/xalto.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

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

TEST(EffectMemory, ZeroingKeepsTheBlocksAndClearsEveryCellOfThem)
{
    CXaltoMemory memory;
    memory.Cell(-1) = 1.0;      // last cell of block -1
    memory.Cell(0) = 2.0;       // first cell of block 0
    memory.Cell(1 << 30) = 3.0; // a far block on another page
    double* const block0 = memory.Block(0);
    memory.ZeroAllCells();
    EXPECT_EQ(memory.BlockCount(), 3u);
    EXPECT_EQ(memory.Block(0), block0);
    EXPECT_EQ(memory.Cell(-1), 0.0);
    EXPECT_EQ(memory.Cell(0), 0.0);
    EXPECT_EQ(memory.Cell(1 << 30), 0.0);
    EXPECT_EQ(memory.BlockCount(), 3u);
}

TEST(EffectMemory, ThreadsCreateAndFindBlocksTogether)
{
    // Two writers create the same 64 blocks in opposite orders while a reader looks them up;
    // every block is made once and keeps what was stored in it.
    CXaltoMemory memory;
    constexpr std::int32_t kBlocks = 64;
    auto cellOf = [](std::int32_t block) { return (block - kBlocks / 2) * 65536 + 7; };
    std::atomic<bool> wrongValue{false};
    std::thread forward(
        [&]
        {
            for (std::int32_t b = 0; b < kBlocks; ++b)
                memory.StoreCell(cellOf(b), b + 1.0);
        });
    std::thread backward(
        [&]
        {
            for (std::int32_t b = kBlocks - 1; b >= 0; --b)
                memory.StoreCell(cellOf(b), b + 1.0);
        });
    std::thread reader(
        [&]
        {
            for (int pass = 0; pass < 50; ++pass)
                for (std::int32_t b = 0; b < kBlocks; ++b)
                {
                    const double value = memory.LoadCell(cellOf(b));
                    if (value != 0.0 && value != b + 1.0)
                        wrongValue = true;
                }
        });
    forward.join();
    backward.join();
    reader.join();
    EXPECT_FALSE(wrongValue.load());
    EXPECT_EQ(memory.BlockCount(), static_cast<std::size_t>(kBlocks));
    for (std::int32_t b = 0; b < kBlocks; ++b)
        EXPECT_EQ(memory.Cell(cellOf(b)), b + 1.0) << b;
    EXPECT_EQ(memory.LoadCell(40 * 65536), 0.0); // a missing block reads 0 and stays missing
    EXPECT_EQ(memory.BlockCount(), static_cast<std::size_t>(kBlocks));
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
