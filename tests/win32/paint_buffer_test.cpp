// The frame window's paint buffer: frames drawn into it, first by GDI+ and then replayed from
// the surface's memo, give exactly the pixels GDI+ gives drawing every call on a device context.
#include "drawing_support.h"
#include "window_support.h"

#include "editor/bitmap.h"
#include "editor/draw_context.h"
#include "editor/font_desc.h"
#include "editor/win32/paint_buffer.h"
#include "editor/win32/platform_objects.h"

#include <cstring>
#include <vector>

namespace vrn::test
{
namespace
{

constexpr int kWidth = 200;
constexpr int kHeight = 80;

/// The editor's kind of frame: its background picture, value texts, a translucent meter bar, a
/// light and a handle.
void DrawFrame(DrawSurface& surface, CBitmap& background, CBitmap& handle, CFontDesc& font,
               int barRight)
{
    surface.setClip(0, 0, kWidth, kHeight);
    surface.drawBitmap(*background.platformBitmap(), 0, 0, kWidth, kHeight, 100, 30, kWidth,
                       kHeight, 255);
    surface.setFontColor({204, 204, 204, 255});
    surface.drawString("-45 dB", font, 10.0f, 10.0f, true);
    surface.setFontColor({255, 255, 255, 51});
    surface.drawString("build 170220", font, 90.0f, 5.0f, true);
    surface.setAntiAlias(false);
    surface.setFillColor({255, 255, 255, 191});
    surface.fillRect(20.0f, 50.0f, static_cast<float>(barRight - 20), 8.0f);
    surface.setAntiAlias(true);
    surface.setFillColor({255, 76, 0, 255});
    surface.fillEllipse(150, 50, 4, 4);
    surface.drawBitmap(*handle.platformBitmap(), 160, 20, 32, 32, 0, 0, 32, 32, 255);
}

/// A DIB section like the paint buffer's, with a GDI+ surface on its device context that draws
/// every call (no memo, no copies).
struct DirectDrawing
{
    HDC context = CreateCompatibleDC(nullptr);
    HBITMAP section = nullptr;
    std::uint32_t* pixels = nullptr;
    std::unique_ptr<GdiplusSurface> surface;

    DirectDrawing()
    {
        struct
        {
            BITMAPINFOHEADER header;
            DWORD masks[3];
        } format{};
        format.header.biSize = sizeof format.header;
        format.header.biWidth = kWidth;
        format.header.biHeight = -kHeight;
        format.header.biPlanes = 1;
        format.header.biBitCount = 32;
        format.header.biCompression = BI_BITFIELDS;
        format.masks[0] = 0xFF0000;
        format.masks[1] = 0xFF00;
        format.masks[2] = 0xFF;
        void* bits = nullptr;
        section = CreateDIBSection(context, reinterpret_cast<const BITMAPINFO*>(&format),
                                   DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<std::uint32_t*>(bits);
        SelectObject(context, section);
        surface = GdiplusSurface::onDeviceContext(context, nullptr);
    }
    ~DirectDrawing()
    {
        surface.reset();
        DeleteDC(context);
        DeleteObject(section);
    }
};

std::vector<std::uint32_t> PixelsOf(const PaintBuffer& buffer)
{
    std::vector<std::uint32_t> all;
    for (int y = 0; y < kHeight; ++y)
        all.insert(all.end(), buffer.Row(y), buffer.Row(y) + kWidth);
    return all;
}

using PaintBufferTest = DrawingTest;

TEST_F(PaintBufferTest, ReplayedFramesHaveExactlyThePixelsOfDrawingEveryCall)
{
    HostWindow host;
    auto* background = new CBitmap(CResourceDescription::fromId(10));
    auto* handle = new CBitmap(CResourceDescription::fromId(11));
    ASSERT_TRUE(background->isLoaded());
    ASSERT_TRUE(handle->isLoaded());
    auto* font = new CFontDesc("Arial", 14, kBoldFace);

    PaintBuffer* buffer = PaintBuffer::For(host.handle(), kWidth, kHeight);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(PaintBuffer::For(host.handle(), kWidth, kHeight), buffer); // kept
    DirectDrawing direct;
    ASSERT_NE(direct.surface, nullptr);

    for (int barRight : {120, 60, 120})
    {
        const long drawnBefore = buffer->Surface().memo()->drawings();
        DrawFrame(buffer->Surface(), *background, *handle, *font, barRight);
        DrawFrame(*direct.surface, *background, *handle, *font, barRight);
        GdiFlush();
        const std::vector<std::uint32_t> replayed = PixelsOf(*buffer);
        ASSERT_EQ(std::memcmp(replayed.data(), direct.pixels, replayed.size() * 4), 0)
            << "frame with the bar to " << barRight;
        if (barRight == 120 && drawnBefore > 0)
        {
            EXPECT_EQ(buffer->Surface().memo()->drawings(), drawnBefore) << "all replayed";
        }
    }
    EXPECT_GT(buffer->Surface().memo()->replays(), 5);

    PaintBuffer::Free(host.handle());
    font->release();
    handle->release();
    background->release();
}

TEST_F(PaintBufferTest, AtTwiceTheSizeThePicturesVariantsAreCopiedOneToOneAndReplayed)
{
    HostWindow host;
    auto* background = new CBitmap(CResourceDescription::fromId(10));
    auto* handle = new CBitmap(CResourceDescription::fromId(11));
    auto* background2x = new CBitmap(CResourceDescription::fromId(10 + 200));
    auto* handle2x = new CBitmap(CResourceDescription::fromId(11 + 200));
    ASSERT_TRUE(background2x->isLoaded());
    ASSERT_TRUE(handle2x->isLoaded());
    PaintBuffer* buffer = PaintBuffer::For(host.handle(), kWidth, kHeight);
    ASSERT_NE(buffer, nullptr);
    DirectDrawing direct;
    ASSERT_NE(direct.surface, nullptr);
    direct.surface->setClip(0, 0, kWidth, kHeight);

    for (int frame = 1; frame <= 2; ++frame)
    {
        // In editor pixels at scale 2: a part of the background and a handle.
        auto* context = new CDrawContext(nullptr, {}, buffer->Surface());
        context->setScale(2.0);
        background->draw(context, {0, 0, 100, 40}, {50, 15});
        handle->draw(context, {60, 10, 92, 42});
        context->release();
        // What GDI+ draws of the double-size pictures 1:1 on a device context.
        direct.surface->drawBitmap(*background2x->platformBitmap(), 0, 0, kWidth, kHeight, 100, 30,
                                   kWidth, kHeight, 255);
        direct.surface->drawBitmap(*handle2x->platformBitmap(), 120, 20, 64, 64, 0, 0, 64, 64, 255);
        GdiFlush();
        const std::vector<std::uint32_t> drawn = PixelsOf(*buffer);
        ASSERT_EQ(std::memcmp(drawn.data(), direct.pixels, drawn.size() * 4), 0)
            << "frame " << frame;
    }
    // The background is a copy every frame; the handle is drawn once, then replayed.
    EXPECT_EQ(buffer->Surface().memo()->drawings(), 1);
    EXPECT_EQ(buffer->Surface().memo()->replays(), 1);

    PaintBuffer::Free(host.handle());
    for (CBitmap* bitmap : {background, handle, background2x, handle2x})
        bitmap->release();
}

} // namespace
} // namespace vrn::test
