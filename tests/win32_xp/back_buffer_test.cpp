// Painting on systems before major version 6, where the frame draws into a back buffer and
// copies it to the window. The test prefix reports Windows XP to this program (see
// scripts/wine_settings.reg).
#include "tests/win32/window_support.h"

#include "editor/frame.h"
#include "editor/offscreen_context.h"
#include "editor/platform.h"

namespace vrn::test
{
namespace
{

TEST(BackBuffer, OldSystemsPaintThroughIt)
{
    ASSERT_LE(editor_platform::OsMajorVersion(), 5) << "the prefix should report Windows XP";
    HostWindow host;
    auto* frame = new CFrame({0, 0, 450, 500}, host.handle(), nullptr);
    auto window = static_cast<HWND>(frame->getWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_COMPOSITED, 0);
    frame->addChild(new ProbeView({20, 30, 220, 230}));

    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    COffscreenContext* buffer = frame->backBuffer();
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->getWidth(), 450.0);
    EXPECT_EQ(WindowPixel(window, 20, 30), RGB(255, 0, 0));
    EXPECT_EQ(WindowPixel(window, 219, 229), RGB(255, 0, 0));
    EXPECT_EQ(WindowPixel(window, 220, 100), RGB(0, 0, 0));

    // Only the invalid part is copied from the buffer: paint the window white there first
    // to see that the copy lands where it belongs.
    HDC dc = GetDC(window);
    RECT all{0, 0, 450, 500};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(window, dc);
    RECT part{100, 100, 300, 300};
    InvalidateRect(window, &part, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(WindowPixel(window, 150, 150), RGB(255, 0, 0));
    EXPECT_EQ(WindowPixel(window, 250, 250), RGB(0, 0, 0));
    EXPECT_EQ(WindowPixel(window, 50, 50), RGB(255, 255, 255));

    // A new size makes a new buffer.
    EXPECT_TRUE(frame->setFrameSize(300, 200));
    UpdateWindow(window);
    ASSERT_NE(frame->backBuffer(), nullptr);
    EXPECT_EQ(frame->backBuffer()->getWidth(), 300.0);
    frame->release();
}

} // namespace
} // namespace vrn::test
