// The frame's window in a host's window (under Xvfb): class and styles, painting, mouse
// messages, capture, wheel, leave tracking, cursors, the shared class, size and position.
#include "window_support.h"

#include "editor/frame.h"
#include "editor/frame_window.h"
#include "editor/platform.h"

#include <windowsx.h>

namespace vrn::test
{
namespace
{

// A frame over the whole 450 × 500 host window at (100, 100), holding one probe view at
// (20, 30, 220, 230). The probe sees points in its parent's pixels, which are the frame's.
class FrameWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = new CFrame({0, 0, 450, 500}, host.handle(), nullptr);
        window = static_cast<HWND>(frame->getWindow());
        ASSERT_NE(window, nullptr);
        probe = new ProbeView({20, 30, 220, 230});
        frame->addChild(probe); // the frame's destructor drops both references
        // The pointer rests over the editor, so that leave tracking does not end at once.
        SetCursorPos(400, 450);
        PumpMessages();
        probe->take();
        probe->draws = 0;
    }
    void TearDown() override
    {
        if (frame)
            frame->release();
        PumpMessages();
    }

    void Send(UINT message, WPARAM wParam, int x, int y)
    {
        SendMessageW(window, message, wParam, MAKELPARAM(x, y));
    }

    HostWindow host;
    CFrame* frame = nullptr;
    HWND window = nullptr;
    ProbeView* probe = nullptr;
};

std::wstring ClassName(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring ExpectedClassName()
{
    wchar_t name[100] = {};
    wsprintfW(name, L"Plugin%p", static_cast<void*>(GetModuleHandleW(nullptr)));
    return name;
}

bool ClassRegistered(const std::wstring& name)
{
    WNDCLASSW info{};
    return GetClassInfoW(GetModuleHandleW(nullptr), name.c_str(), &info) != 0;
}

TEST_F(FrameWindow, IsAChildOfTheHostWithItsOwnClass)
{
    EXPECT_TRUE(frame->isWindowOpen());
    EXPECT_EQ(GetParent(window), host.handle());
    EXPECT_EQ(ClassName(window), ExpectedClassName());
    EXPECT_EQ(ClassName(window).compare(0, 6, L"Plugin"), 0);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), 0x56000000u);
    EXPECT_EQ(static_cast<DWORD>(GetClassLongW(window, GCL_STYLE)),
              static_cast<DWORD>(CS_GLOBALCLASS | CS_DBLCLKS));
    wchar_t title[32] = {};
    GetWindowTextW(window, title, 32);
    EXPECT_STREQ(title, L"Window");
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 450);
    EXPECT_EQ(client.bottom, 500);
    // The window is bound to the frame through its user data.
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA),
              reinterpret_cast<LONG_PTR>(static_cast<FrameWindowClient*>(frame)));
    EXPECT_TRUE(frame->isDropActive());
}

TEST_F(FrameWindow, PaintsTheViewTreeIntoTheWindow)
{
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(probe->draws, 1);
    EXPECT_EQ(WindowPixel(window, 20, 30), RGB(255, 0, 0));   // the probe view
    EXPECT_EQ(WindowPixel(window, 219, 229), RGB(255, 0, 0)); // its last pixel
    EXPECT_EQ(WindowPixel(window, 220, 100), RGB(0, 0, 0));   // the frame's black background
    EXPECT_EQ(WindowPixel(window, 440, 490), RGB(0, 0, 0));

    // A dirty view is repainted after the frame's idle, and only the invalid part is drawn.
    probe->setNeedsRedraw(true);
    frame->idle();
    UpdateWindow(window);
    EXPECT_EQ(probe->draws, 2);
    RECT elsewhere{300, 300, 310, 310};
    InvalidateRect(window, &elsewhere, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(probe->draws, 2);
}

TEST_F(FrameWindow, PaintWithoutUpdateRegionDrawsNothing)
{
    UpdateWindow(window);
    const int before = probe->draws;
    EXPECT_EQ(SendMessageW(window, WM_PAINT, 0, 0), 0);
    EXPECT_EQ(probe->draws, before);
    EXPECT_EQ(SendMessageW(window, WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(FrameWindow, ButtonMessagesReachTheViewWithTheirState)
{
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(50, 60));
    PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, MAKELPARAM(60, 70));
    PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, -7)); // captured, outside
    PostMessageW(window, WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(61, 71));
    PumpMessages();
    EXPECT_EQ(probe->lines("down"), std::vector<std::string>{"down 50 60 0x12"});
    EXPECT_EQ(probe->lines("moved"),
              (std::vector<std::string>{"moved 60 70 0x22", "moved -5 -7 0x2"}));
    EXPECT_EQ(probe->lines("up"), std::vector<std::string>{"up 61 71 0x10"});
    probe->take();

    Send(WM_RBUTTONDOWN, MK_RBUTTON, 50, 60);
    Send(WM_RBUTTONUP, 0, 50, 60);
    Send(WM_MBUTTONDOWN, MK_MBUTTON, 50, 60);
    Send(WM_MBUTTONUP, 0, 50, 60);
    Send(WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), 50, 60);
    Send(WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), 50, 60);
    Send(WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON2, XBUTTON2), 50, 60);
    Send(WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON2), 50, 60);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 50, 60);
    Send(WM_LBUTTONUP, 0, 50, 60);
    EXPECT_EQ(probe->lines("down"),
              (std::vector<std::string>{"down 50 60 0x8", "down 50 60 0x4", "down 50 60 0x100",
                                        "down 50 60 0x200", "down 50 60 0x402"}));
    probe->take();

    // Alt is not among a message's key flags: it comes from the key state.
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE savedAlt = keys[VK_MENU];
    keys[VK_MENU] = 0x80;
    SetKeyboardState(keys);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 60);
    Send(WM_LBUTTONUP, 0, 50, 60);
    keys[VK_MENU] = savedAlt;
    SetKeyboardState(keys);
    EXPECT_EQ(probe->lines("down"), std::vector<std::string>{"down 50 60 0x42"});
}

TEST_F(FrameWindow, CaptureFollowsThePressAnswer)
{
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 60);
    EXPECT_EQ(GetCapture(), window);
    Send(WM_LBUTTONUP, 0, 50, 60);
    EXPECT_EQ(GetCapture(), nullptr);

    // A press the view does not handle takes no capture; the release lets go of any capture.
    probe->pressAnswer = kMouseEventNotHandled;
    SetCapture(host.handle());
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 60);
    EXPECT_EQ(GetCapture(), host.handle());
    Send(WM_LBUTTONUP, 0, 50, 60);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(probe->lines("up"), std::vector<std::string>{"up 50 60 0x0"});

    // A press outside every view is not handled either.
    probe->pressAnswer = kMouseEventHandled;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 300, 300);
    EXPECT_EQ(GetCapture(), nullptr);
    Send(WM_LBUTTONUP, 0, 300, 300);
}

TEST_F(FrameWindow, WheelTurnsWholeNotchesAndReachesTheHost)
{
    const struct
    {
        short delta;
        const char* line;
    } turns[] = {{60, "wheel 0 50 70 0x0"},    {-60, "wheel 0 50 70 0x0"},
                 {120, "wheel 1 50 70 0x0"},   {240, "wheel 2 50 70 0x0"},
                 {-240, "wheel -2 50 70 0x0"}, {-359, "wheel -2 50 70 0x0"}};
    std::vector<std::string> expected;
    for (const auto& turn : turns)
    {
        // The wheel's position is on the screen: the frame window starts at (100, 100).
        SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, turn.delta), MAKELPARAM(150, 170));
        expected.push_back(turn.line);
    }
    EXPECT_EQ(probe->lines("wheel"), expected);
    EXPECT_EQ(HostWindow::wheelMessages, 6); // passed on to the host's window as well

    // While a view tracks a pressed button the wheel does nothing.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 60);
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(150, 170));
    Send(WM_LBUTTONUP, 0, 50, 60);
    EXPECT_EQ(probe->lines("wheel").size(), expected.size());
}

TEST_F(FrameWindow, LeaveIsTrackedAndEndsTheHover)
{
    Send(WM_MOUSEMOVE, 0, 50, 60);
    Send(WM_MOUSEMOVE, 0, 51, 60);
    EXPECT_EQ(probe->take(), (std::vector<std::string>{"entered 50 60 0x0", "moved 51 60 0x0"}));
    TRACKMOUSEEVENT query{};
    query.cbSize = sizeof query;
    query.dwFlags = TME_QUERY;
    ASSERT_TRUE(TrackMouseEvent(&query));
    EXPECT_EQ(query.hwndTrack, window);
    EXPECT_TRUE(query.dwFlags & TME_LEAVE);

    // The pointer really leaves: the system's leave notification ends the hover.
    SetCursorPos(20, 20);
    for (int i = 0; i < 100 && probe->lines("exited").empty(); ++i)
    {
        Sleep(20);
        PumpMessages();
    }
    EXPECT_EQ(probe->lines("exited").size(), 1u);
    EXPECT_EQ(frame->mouseOverView(), nullptr);

    // The next move asks for a new notification.
    SetCursorPos(400, 450);
    PumpMessages();
    Send(WM_MOUSEMOVE, 0, 50, 60);
    query.dwFlags = TME_QUERY;
    query.hwndTrack = nullptr;
    ASSERT_TRUE(TrackMouseEvent(&query));
    EXPECT_EQ(query.hwndTrack, window);
}

TEST_F(FrameWindow, CursorShapesAndTheKeptDefault)
{
    HCURSOR original = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    SetCursor(original);
    frame->setCursorShape(kCursorHSize);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, MAKEINTRESOURCEW(32644)));
    frame->setCursorShape(kCursorHand);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));
    frame->setCursorShape(kCursorCopy);
    EXPECT_EQ(GetCursor(), original);
    frame->setCursorShape(kCursorNotAllowed);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, MAKEINTRESOURCEW(32648)));
    frame->setCursorShape(42);
    EXPECT_EQ(GetCursor(), original);
}

TEST_F(FrameWindow, TwoFramesShareOneClassRegistration)
{
    HostWindow secondHost(600, 100, 200, 200);
    auto* second = new CFrame({0, 0, 200, 200}, secondHost.handle(), nullptr);
    HWND secondWindow = static_cast<HWND>(second->getWindow());
    ASSERT_NE(secondWindow, nullptr);
    EXPECT_EQ(ClassName(secondWindow), ClassName(window));
    EXPECT_TRUE(ClassRegistered(ExpectedClassName()));

    frame->release(); // the first goes: the class stays for the second
    frame = nullptr;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(ClassRegistered(ExpectedClassName()));
    EXPECT_TRUE(IsWindow(secondWindow));

    second->release(); // the last goes: the class with it
    EXPECT_FALSE(IsWindow(secondWindow));
    EXPECT_FALSE(ClassRegistered(ExpectedClassName()));
}

TEST_F(FrameWindow, HostDestroyingItsWindowClosesTheFrame)
{
    host.destroy();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(frame->isOpen());
    EXPECT_FALSE(frame->isWindowOpen());
    EXPECT_EQ(frame->getParentWindow(), nullptr);
    frame->idle(); // does nothing now
    EXPECT_FALSE(frame->setFrameSize(300, 200));
    frame->release(); // gives the class back without touching the handle
    frame = nullptr;
    EXPECT_FALSE(ClassRegistered(ExpectedClassName()));

    // A new frame registers the class again.
    HostWindow another;
    auto* next = new CFrame({0, 0, 100, 100}, another.handle(), nullptr);
    EXPECT_NE(next->getWindow(), nullptr);
    EXPECT_TRUE(ClassRegistered(ExpectedClassName()));
    next->release();
}

TEST(FrameWithoutParent, MakesNoWindow)
{
    auto* frame = new CFrame({0, 0, 100, 100}, nullptr, nullptr);
    EXPECT_EQ(frame->getWindow(), nullptr);
    EXPECT_FALSE(frame->isWindowOpen());
    EXPECT_FALSE(frame->setDropActive(true));
    EXPECT_FALSE(ClassRegistered(ExpectedClassName()));
    frame->release();
}

TEST_F(FrameWindow, SizeChangeResizesTheWindowAndTheHost)
{
    EXPECT_FALSE(frame->setFrameSize(450, 500));
    EXPECT_TRUE(frame->setFrameSize(300, 200));
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(rect.bottom - rect.top, 200);
    GetWindowRect(host.handle(), &rect);
    EXPECT_EQ(rect.right - rect.left, 300); // the host's window only held the editor
    EXPECT_EQ(rect.bottom - rect.top, 200);
    EXPECT_EQ(rect.left, 100); // not moved
    EXPECT_EQ(frame->bounds(), (ViewRect{0, 0, 300, 200}));
}

TEST(ScaledFrameWindow, PaintsAndTakesThePointerInWindowPixels)
{
    // A host window of twice the editor's size with a frame at scale 2 in it.
    HostWindow host(100, 100, 900, 1000);
    CFrame* frame = new CFrame({0, 0, 450, 500}, host.handle(), nullptr, 2.0);
    auto window = static_cast<HWND>(frame->getWindow());
    ASSERT_NE(window, nullptr);
    auto* probe = new ProbeView({20, 30, 220, 230});
    frame->addChild(probe);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 900);
    EXPECT_EQ(client.bottom, 1000);

    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(WindowPixel(window, 40, 60), RGB(255, 0, 0));   // the probe from (20, 30) …
    EXPECT_EQ(WindowPixel(window, 439, 459), RGB(255, 0, 0)); // … to (220, 230)
    EXPECT_EQ(WindowPixel(window, 440, 200), RGB(0, 0, 0));
    EXPECT_EQ(WindowPixel(window, 39, 200), RGB(0, 0, 0));

    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 120));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(101, 121));
    PumpMessages();
    EXPECT_EQ(probe->lines("down"), std::vector<std::string>{"down 50 60 0x2"});
    EXPECT_EQ(probe->lines("up"), std::vector<std::string>{"up 50 60 0x0"});
    frame->release();
    PumpMessages();
}

TEST(ScaledFrameWindow, TheSystemsScaleIsTheDpiOver96)
{
    HostWindow host;
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_GT(dpi, 0);
    // Without a window the screen's; with one, the window's, which a process that is not
    // DPI-aware (as this test) sees as the screen's too.
    EXPECT_EQ(editor_platform::WindowContentScale(nullptr), dpi / 96.0);
    EXPECT_EQ(editor_platform::WindowContentScale(host.handle()), dpi / 96.0);
}

TEST_F(FrameWindow, PositionsAndThePointer)
{
    EXPECT_EQ(frame->outerWindowPosition(), (ViewPoint{100, 100}));
    SetCursorPos(115, 125);
    EXPECT_EQ(frame->currentMouseLocation(), (ViewPoint{15, 25}));
    EXPECT_EQ(frame->currentMouseButtons(), 0);
}

} // namespace
} // namespace vrn::test
