// Bitmaps on Windows: "DATA" resources of this executable, files, empty and copied bitmaps, and
// drawing them plain and blended.
#include "drawing_support.h"

#include "editor/bitmap.h"
#include "editor/platform.h"
#include "editor/win32/platform_objects.h"
#include "editor/win32/wide_text.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace vrn::test
{
namespace
{

using Bitmaps = DrawingTest;

// The pixels of data/pattern.png: red 40·x, green 60·y, blue 200, opaque except (5, 3) at 128.
std::uint32_t PatternPixel(int x, int y)
{
    const std::uint32_t alpha = (x == 5 && y == 3) ? 128u : 255u;
    return alpha << 24 | static_cast<std::uint32_t>(40 * x) << 16 |
           static_cast<std::uint32_t>(60 * y) << 8 | 200u;
}

void ExpectPattern(const CBitmap& bitmap)
{
    ASSERT_TRUE(bitmap.isLoaded());
    EXPECT_EQ(bitmap.getWidth(), 6.0);
    EXPECT_EQ(bitmap.getHeight(), 4.0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(Pixel(bitmap, x, y), PatternPixel(x, y)) << x << ", " << y;
}

auto Adopt(CBitmap* bitmap)
{
    return SharedPointer<CBitmap>::adopt(bitmap);
}

TEST_F(Bitmaps, DecodeDataResourcesByNumberAndName)
{
    ExpectPattern(*Adopt(new CBitmap(CResourceDescription::fromId(1))).get());
    ExpectPattern(*Adopt(new CBitmap(CResourceDescription::fromName("PATTERN"))).get());
}

TEST_F(Bitmaps, FallBackToOrdinaryBitmapResources)
{
    // Resource 3 is no "DATA" resource but a plain bitmap: red 50·y + 20, green 100,
    // blue 10·x + 5.
    const auto bitmap = Adopt(new CBitmap(CResourceDescription::fromId(3)));
    ASSERT_TRUE(bitmap->isLoaded());
    EXPECT_EQ(bitmap->getWidth(), 3.0);
    EXPECT_EQ(bitmap->getHeight(), 2.0);
    EXPECT_EQ(Pixel(*bitmap.get(), 0, 0), 0xFF146405u);
    EXPECT_EQ(Pixel(*bitmap.get(), 2, 1), 0xFF466419u);
}

TEST_F(Bitmaps, MissingOrUndecodableResourcesLeaveNoImage)
{
    for (const auto& resource : {CResourceDescription::fromId(2), CResourceDescription::fromId(77),
                                 CResourceDescription::fromName("NOSUCH"), CResourceDescription{}})
    {
        const auto bitmap = Adopt(new CBitmap(resource));
        EXPECT_FALSE(bitmap->isLoaded());
        EXPECT_EQ(bitmap->getWidth(), 0.0);
        EXPECT_EQ(bitmap->getHeight(), 0.0);
        auto context = MakeOffscreen(4, 4);
        bitmap->draw(context.get(), {0, 0, 4, 4}); // draws nothing, does not fail
        EXPECT_FALSE(FindInk(context).found);
    }
}

// Writes resource 1's bytes to a file named `name` in the temporary folder; answers its UTF-8
// path.
std::string WritePatternFile(const std::wstring& name)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), "DATA");
    const DWORD size = SizeofResource(nullptr, found);
    const void* data = LockResource(LoadResource(nullptr, found));
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, data, size, &written, nullptr);
    CloseHandle(file);
    EXPECT_EQ(written, size);
    return Narrow(path);
}

TEST_F(Bitmaps, FilesDecodeAndCopiesStandAlone)
{
    // A name outside the ANSI code page proves the path reaches GDI+ as UTF-16.
    const std::string path = WritePatternFile(L"vrn_\u00e4\u03a9_pattern.png");
    PlatformBitmap* file = editor_platform::LoadFileBitmap(path);
    ASSERT_NE(file, nullptr);
    const auto copy = Adopt(new CBitmap(*file));
    editor_platform::DestroyBitmap(file);
    ExpectPattern(*copy.get());
    gdip::PixelFormat format = 0;
    gdip::GdipGetImagePixelFormat(copy->platformBitmap()->bitmap, &format);
    EXPECT_EQ(format, PixelFormat32bppARGB);
    EXPECT_TRUE(DeleteFileW(Widen(path).c_str())); // the copy holds no lock on the file

    EXPECT_EQ(editor_platform::LoadFileBitmap(path), nullptr);
}

TEST_F(Bitmaps, EmptyBitmapsAreTransparent)
{
    const auto bitmap = Adopt(new CBitmap(7.0, 5.0));
    ASSERT_TRUE(bitmap->isLoaded());
    EXPECT_EQ(bitmap->getWidth(), 7.0);
    EXPECT_EQ(bitmap->getHeight(), 5.0);
    EXPECT_EQ(Pixel(*bitmap.get(), 6, 4), 0u);
    EXPECT_FALSE(Adopt(new CBitmap(0.0, 5.0))->isLoaded());
}

TEST_F(Bitmaps, DrawnPlainFromAnOffsetAndThroughTheDrawingOffset)
{
    const auto pattern = Adopt(new CBitmap(CResourceDescription::fromId(1)));
    auto context = MakeOffscreen(30, 30);
    context->setDrawingOffset({3, 4});
    // The 3 x 2 area at (2, 1) of the bitmap lands at (10, 10) + the drawing offset.
    pattern->draw(context.get(), {10, 10, 13, 12}, {2, 1});
    const InkBox ink = FindInk(context);
    EXPECT_EQ(ink.left, 13);
    EXPECT_EQ(ink.top, 14);
    EXPECT_EQ(ink.right, 15);
    EXPECT_EQ(ink.bottom, 15);
    EXPECT_EQ(Pixel(context, 13, 14), PatternPixel(2, 1));
    EXPECT_EQ(Pixel(context, 15, 15), PatternPixel(4, 2));
}

TEST_F(Bitmaps, DrawnBlendedOverWhatIsThere)
{
    const auto pattern = Adopt(new CBitmap(CResourceDescription::fromId(1)));
    auto context = MakeOffscreen(20, 20);
    context->setFillColor({0, 0, 0, 255});
    context->fillRect({0, 0, 20, 20});
    pattern->drawAlphaBlend(context.get(), {5, 5, 11, 9}, {}, 128);
    // Opaque pattern pixels at about half strength over black, the half-transparent one at a
    // quarter; the area around stays black.
    const std::uint32_t middle = Pixel(context, 5 + 3, 5 + 2);
    EXPECT_EQ(Channel(middle, 24), 255);
    EXPECT_NEAR(Channel(middle, 16), 120 / 2, 2);
    EXPECT_NEAR(Channel(middle, 8), 120 / 2, 2);
    EXPECT_NEAR(Channel(middle, 0), 200 / 2, 2);
    EXPECT_NEAR(Channel(Pixel(context, 5 + 5, 5 + 3), 0), 200 / 4, 2);
    EXPECT_EQ(Pixel(context, 4, 5), 0xFF000000u);
    EXPECT_EQ(Pixel(context, 11, 9), 0xFF000000u);

    // Alpha 255 is the plain copy; transparent drawing is too.
    pattern->drawAlphaBlend(context.get(), {5, 5, 11, 9}, {}, 255);
    EXPECT_EQ(Pixel(context, 5 + 3, 5 + 2), PatternPixel(3, 2));
    pattern->drawTransparent(context.get(), {0, 0, 2, 2}, {1, 1});
    EXPECT_EQ(Pixel(context, 1, 1), PatternPixel(2, 2));
}

} // namespace
} // namespace vrn::test
