// Drawing contexts on a real window's device context (under Xvfb), read back with GDI.
#include "drawing_support.h"

#include "editor/draw_context.h"

#include <windows.h>

namespace vrn::test
{
namespace
{

// A visible top-level window of 200 x 100 pixels at (50, 60) on the screen, without frame.
class WindowContext : public DrawingTest
{
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VrnWindowContextTest";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, L"VrnWindowContextTest", L"test", WS_POPUP | WS_VISIBLE, 50, 60,
                                 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr) << "no window (is there a display?)";
        Pump();
    }
    void TearDown() override
    {
        DestroyWindow(window);
        UnregisterClassW(L"VrnWindowContextTest", GetModuleHandleW(nullptr));
        DrawingTest::TearDown();
    }
    void Pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    COLORREF WindowPixel(int x, int y)
    {
        HDC dc = GetDC(window);
        const COLORREF value = GetPixel(dc, x, y);
        ReleaseDC(window, dc);
        return value;
    }

    HWND window = nullptr;
};

TEST_F(WindowContext, DrawsOnTheWindowsOwnDeviceContext)
{
    {
        auto context = SharedPointer<CDrawContext>::adopt(
            new CDrawContext(nullptr, {0, 0, 200, 100}, nullptr, window));
        ASSERT_NE(context->surface(), nullptr);
        context->setFillColor({255, 0, 0, 255});
        context->drawRect({10, 10, 30, 30}, kDrawFilled);
        context->setFrameColor({0, 0, 255, 255});
        context->drawRect({40, 10, 60, 30}, kDrawStroked);
    }
    EXPECT_EQ(WindowPixel(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(WindowPixel(29, 29), RGB(255, 0, 0));
    EXPECT_NE(WindowPixel(30, 30), RGB(255, 0, 0));
    EXPECT_EQ(WindowPixel(59, 20), RGB(0, 0, 255));
    EXPECT_NE(WindowPixel(60, 20), RGB(0, 0, 255));
}

TEST_F(WindowContext, DrawsOnAGivenDeviceContext)
{
    HDC dc = GetDC(window);
    {
        auto context = SharedPointer<CDrawContext>::adopt(
            new CDrawContext(nullptr, {0, 0, 200, 100}, dc, nullptr));
        context->setFillColor({0, 255, 0, 255});
        context->fillRect({100, 50, 110, 60});
    }
    ReleaseDC(window, dc);
    EXPECT_EQ(WindowPixel(105, 55), RGB(0, 255, 0));
}

TEST_F(WindowContext, MousePositionIsRelativeToTheWindow)
{
    auto context = SharedPointer<CDrawContext>::adopt(
        new CDrawContext(nullptr, {0, 0, 200, 100}, nullptr, window));
    ASSERT_TRUE(SetCursorPos(120, 90));
    POINT cursor{};
    GetCursorPos(&cursor);
    ASSERT_EQ(cursor.x, 120);
    const ViewPoint where = context->getMousePosition();
    EXPECT_EQ(where.h, 120 - 50);
    EXPECT_EQ(where.v, 90 - 60);
}

TEST_F(WindowContext, ContextsGiveTheirDeviceContextsBack)
{
    // Wine's GetGuiResources answers 0, so the device context cache is watched as well: a
    // context that kept its device context would make GetDC hand out another one afterwards.
    HDC probe = GetDC(window);
    ReleaseDC(window, probe);
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 200; ++i)
    {
        auto context = SharedPointer<CDrawContext>::adopt(
            new CDrawContext(nullptr, {0, 0, 200, 100}, nullptr, window));
        context->fillRect({0, 0, 1, 1});
    }
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore + 5);
    HDC again = GetDC(window);
    ReleaseDC(window, again);
    EXPECT_EQ(again, probe);
}

} // namespace
} // namespace vrn::test
