#pragma once
// Helpers of the Windows drawing tests: a running drawing library, offscreen surfaces and pixel
// read-back.

#include "editor/base_object.h"
#include "editor/bitmap.h"
#include "editor/offscreen_context.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vrn::test
{

/// Keeps the drawing library running for the duration of one test.
class DrawingTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
};

using Offscreen = SharedPointer<COffscreenContext>;

/// A fresh offscreen context (transparent black pixels) of `width` × `height` pixels.
Offscreen MakeOffscreen(int width, int height);

/// The 32-bit ARGB value of one pixel.
std::uint32_t Pixel(const CBitmap& bitmap, int x, int y);
std::uint32_t Pixel(const Offscreen& context, int x, int y);

/// The smallest rectangle (inclusive pixel edges) holding every pixel that differs from
/// `background`; `found` is false when there is none.
struct InkBox
{
    bool found = false;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
InkBox FindInk(const Offscreen& context, std::uint32_t background = 0);

/// True when any pixel within `radius` of (x, y) differs from `background`.
bool InkNear(const Offscreen& context, int x, int y, int radius, std::uint32_t background = 0);

/// One 8-bit channel of an ARGB value: 24 alpha, 16 red, 8 green, 0 blue.
inline int Channel(std::uint32_t argb, int shift)
{
    return static_cast<int>((argb >> shift) & 0xFFu);
}

} // namespace vrn::test
