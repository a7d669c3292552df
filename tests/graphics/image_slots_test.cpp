// Image slots: the module's resource first, then the file beside the library, then one log
// line and the red "ERROR" box; never retried; released with the effect.
#include "editor/graphics_library.h"
#include "runtime/library_files.h"
#include "tests/graphics/drawing_fixture.h"
#include "tests/support/test_images.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vrn
{
namespace
{

namespace fs = std::filesystem;
using testing::CapturedLog;
using testing::DrawingFixture;
using Lines = std::vector<std::string>;

/// Declared resources, load counters and the captured log start empty.
class ImageSlots : public ::testing::Test
{
protected:
    ImageSlots()
    {
        editor_platform::ClearTestResourceImages();
        CapturedLog().clear();
    }
    ~ImageSlots() override { editor_platform::ClearTestResourceImages(); }

    static std::string LogText() { return CapturedLog(); }
};

/// A PNG header of the given size beside the test program, removed again.
class PngBesideLibrary
{
public:
    PngBesideLibrary(const std::string& name, unsigned width, unsigned height)
        : path(LibraryPath(name))
    {
        const unsigned char header[24] = {0x89,
                                          'P',
                                          'N',
                                          'G',
                                          '\r',
                                          '\n',
                                          0x1A,
                                          '\n',
                                          0,
                                          0,
                                          0,
                                          13,
                                          'I',
                                          'H',
                                          'D',
                                          'R',
                                          static_cast<unsigned char>(width >> 24),
                                          static_cast<unsigned char>(width >> 16),
                                          static_cast<unsigned char>(width >> 8),
                                          static_cast<unsigned char>(width),
                                          static_cast<unsigned char>(height >> 24),
                                          static_cast<unsigned char>(height >> 16),
                                          static_cast<unsigned char>(height >> 8),
                                          static_cast<unsigned char>(height)};
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(header), 24);
    }
    ~PngBesideLibrary() { fs::remove(path); }

    const std::string path;
};

std::string UniqueName(const std::string& stem)
{
    return stem + "_" + std::to_string(getpid()) + ".png";
}

TEST_F(ImageSlots, EmbeddedResourceIsUsedAndNoFileIsOpened)
{
    editor_platform::AddTestResourceImage(1, 450, 500);
    DrawingFixture f;
    f.gfx.registerImageFile(1, "vrn_gfx\\bg.png");
    const ImageSlot& slot = f.gfx.imageInfo(1);
    EXPECT_EQ(slot.width, 450.0);
    EXPECT_EQ(slot.height, 500.0);
    f.effect.penX = 3.7;
    f.effect.penY = 4.2;
    f.host.Paint([&] { f.gfx.drawImage(1); });
    EXPECT_EQ(f.host.log, (Lines{"bitmap 450x500 to 3 4 450 500 from 0 0 alpha 255"}));
    EXPECT_EQ(f.effect.penX, 3.7); // the pen stays
    EXPECT_EQ(editor_platform::ResourceLoadCount(), 1);
    EXPECT_EQ(editor_platform::FileLoadCount(), 0);
    EXPECT_EQ(LogText(), "");
}

TEST_F(ImageSlots, FileBesideTheLibraryWhenTheResourceIsMissing)
{
    const std::string name = UniqueName("gfx_bg");
    const PngBesideLibrary file(name, 450, 500);
    DrawingFixture f;
    f.gfx.registerImageFile(1, "\\" + name); // one leading separator is dropped
    const ImageSlot& slot = f.gfx.imageInfo(1);
    EXPECT_EQ(slot.width, 450.0);
    EXPECT_EQ(slot.height, 500.0);
    EXPECT_EQ(editor_platform::ResourceLoadCount(), 1);
    EXPECT_EQ(editor_platform::FileLoadCount(), 1);
    f.gfx.imageInfo(1);
    EXPECT_EQ(editor_platform::FileLoadCount(), 1); // loaded once, kept
    EXPECT_EQ(LogText(), "");
}

TEST_F(ImageSlots, MissingEverywhereLogsOnceAndDrawsTheRedBoxEveryFrame)
{
    DrawingFixture f;
    const std::string name = UniqueName("gfx_missing");
    f.gfx.registerImageFile(1, name);
    f.effect.penX = 20;
    f.effect.penY = 30;
    f.effect.textHeight = 14;
    for (int frame = 0; frame < 3; ++frame)
        f.host.Paint([&] { f.gfx.drawImage(1); });

    EXPECT_EQ(LogText(), "Unable to load: " + LibraryPath(name) + "\n");
    EXPECT_EQ(editor_platform::ResourceLoadCount(), 1);
    EXPECT_EQ(editor_platform::FileLoadCount(), 1);
    const ImageSlot& slot = f.gfx.imageInfo(1);
    EXPECT_NE(slot.holder, nullptr); // present but empty: the slot is not tried again
    EXPECT_EQ(slot.holder->bitmap(), nullptr);
    EXPECT_EQ(slot.width, 0.0);
    // The last frame's marker: the image has no size, so the red box fits the word "ERROR"
    // (5 × 7 px wide in the recording's metrics, text height 14, 2 px margins), centred in
    // yellow.
    EXPECT_EQ(f.host.Calls("fillColor"), (Lines{"fillColor 255,0,0,255"}));
    EXPECT_EQ(f.host.Calls("fillRect"), (Lines{"fillRect 20 30 39 18"}));
    EXPECT_EQ(f.host.Calls("fontColor"), (Lines{"fontColor 255,255,0,255"}));
    ASSERT_EQ(f.host.Calls("string").size(), 1u);
    EXPECT_EQ(f.host.Calls("string")[0].rfind("string \"ERROR\"", 0), 0u);
}

TEST_F(ImageSlots, UnregisteredSlotIsNeverLoaded)
{
    editor_platform::AddTestResourceImage(3, 32, 32);
    DrawingFixture f;
    const ImageSlot& slot = f.gfx.imageInfo(3);
    EXPECT_EQ(slot.holder, nullptr);
    EXPECT_EQ(slot.width, 0.0);
    EXPECT_EQ(editor_platform::ResourceLoadCount(), 0);
    EXPECT_EQ(LogText(), "");
}

TEST_F(ImageSlots, ImagesAreReleasedWithTheEffect)
{
    editor_platform::AddTestResourceImage(0, 32, 32);
    editor_platform::AddTestResourceImage(1, 450, 500);
    {
        DrawingFixture f;
        f.gfx.registerImageFile(0, "vrn_gfx\\knob_sm.png");
        f.gfx.registerImageFile(1, "vrn_gfx\\bg.png");
        f.gfx.imageInfo(0);
        f.gfx.imageInfo(1);
        EXPECT_TRUE(GDIPlusGlobals::isRunning()); // the bitmaps keep the drawing library up
    }
    EXPECT_FALSE(GDIPlusGlobals::isRunning());
}

} // namespace
} // namespace vrn
