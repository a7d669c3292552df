// The X11 frame window on a real X server: a child of the host's window on a connection of its
// own, painted once per frame from its offscreen image, the pointer's press held through drags,
// a press ended when the host hides the window, and nothing left behind when it goes.
// GoogleTest before the X headers, whose macros (None, Status) would clash with its names.
#include <gtest/gtest.h>

#include "editor/platform.h"
#include "tests/x11/x11_fixture.h"

#include <X11/Xutil.h>

#include <cstdlib>
#include <string>

namespace vrn::editor_platform
{
namespace
{

using testing::HandleUntil;
using testing::HostDisplay;
using testing::OpenFileDescriptors;
using testing::RecordingClient;

#define REQUIRE_DISPLAY(host)                                                                      \
    ASSERT_TRUE((host).isOpen()) << "these tests need an X display (run them under xvfb-run)"

unsigned long PixelAt(Display* display, Window window, int x, int y)
{
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return ~0ul;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFFu;
    XDestroyImage(image);
    return pixel;
}

TEST(X11FrameWindow, IsAChildOfTheHostsWindowAndLeavesNothingBehind)
{
    HostDisplay host;
    REQUIRE_DISPLAY(host);
    const int files = OpenFileDescriptors();
    RecordingClient client;
    void* window = CreateFrameWindow(host.handle(), 450, 500, &client);
    ASSERT_NE(window, nullptr);
    EXPECT_GT(OpenFileDescriptors(), files); // a connection of its own
    ASSERT_EQ(host.childCount(), 1);
    XWindowAttributes attributes{};
    XGetWindowAttributes(host.connection(), host.firstChild(), &attributes);
    EXPECT_EQ(attributes.x, 0);
    EXPECT_EQ(attributes.y, 0);
    EXPECT_EQ(attributes.width, 450);
    EXPECT_EQ(attributes.height, 500);
    EXPECT_EQ(attributes.map_state, IsViewable);

    DestroyFrameWindow(window);
    EXPECT_EQ(host.childCount(), 0);
    EXPECT_EQ(OpenFileDescriptors(), files);
}

TEST(X11FrameWindow, WithoutADisplayOrAHostWindowNothingIsMade)
{
    HostDisplay host;
    REQUIRE_DISPLAY(host);
    const int files = OpenFileDescriptors();
    RecordingClient client;
    EXPECT_EQ(CreateFrameWindow(nullptr, 450, 500, &client), nullptr);
    // A window id the server does not know: the error is the editor's, not the host's end.
    EXPECT_EQ(CreateFrameWindow(reinterpret_cast<void*>(0x7FFFFF01), 450, 500, &client), nullptr);
    const std::string display = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    EXPECT_EQ(CreateFrameWindow(host.handle(), 450, 500, &client), nullptr);
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(OpenFileDescriptors(), files);
    EXPECT_EQ(host.childCount(), 0);
    // Calls on a window that is not there are harmless.
    HandleWindowEvents(reinterpret_cast<void*>(0x1234));
    DestroyFrameWindow(reinterpret_cast<void*>(0x1234));
}

TEST(X11FrameWindow, PaintsWhatIsInvalidOnceWhenItHandlesItsEvents)
{
    HostDisplay host;
    REQUIRE_DISPLAY(host);
    RecordingClient client;
    void* window = CreateFrameWindow(host.handle(), 450, 500, &client);
    ASSERT_NE(window, nullptr);
    // Shown: the server exposes all of it.
    ASSERT_TRUE(HandleUntil(window, [&] { return client.has("paint"); }));
    EXPECT_EQ(client.calls.back(), "paint 0 0 450 500");
    EXPECT_EQ(PixelAt(host.connection(), host.firstChild(), 449, 499), 0x3366CCu);

    // Two invalidations, one paint of the area holding both; nothing more without one.
    client.calls.clear();
    client.paintColour = 0xFF8000;
    InvalidateWindowRect(window, 10, 20, 30, 40);
    InvalidateWindowRect(window, 100, 5, 120, 25);
    InvalidateWindowRect(window, 440, 490, 600, 700); // beyond the window: cut to it
    HandleWindowEvents(window);
    HandleWindowEvents(window);
    EXPECT_EQ(client.calls, (std::vector<std::string>{"paint 10 5 450 500"}));
    EXPECT_EQ(PixelAt(host.connection(), host.firstChild(), 10, 5), 0xFF8000u);
    EXPECT_EQ(PixelAt(host.connection(), host.firstChild(), 9, 5), 0x3366CCu);
    DestroyFrameWindow(window);
}

TEST(X11FrameWindow, AWindowMadeSmallerPaintsAndSendsOnlyItsNewSize)
{
    HostDisplay host;
    REQUIRE_DISPLAY(host);
    RecordingClient client;
    void* window = CreateFrameWindow(host.handle(), 450, 500, &client);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(HandleUntil(window, [&] { return client.has("paint"); }));
    // Waiting to be painted when the window shrinks (a host asked for a smaller scale): an
    // area the smaller window no longer has.
    InvalidateWindowRect(window, 300, 300, 450, 500);
    client.calls.clear();
    client.paintColour = 0xFF8000;
    ASSERT_TRUE(ResizeFrameWindow(window, 200, 250));
    HandleWindowEvents(window);
    EXPECT_EQ(client.calls, (std::vector<std::string>{"paint 0 0 200 250"}));
    EXPECT_EQ(PixelAt(host.connection(), host.firstChild(), 199, 249), 0xFF8000u);
    // And larger again: all of it painted.
    client.calls.clear();
    ASSERT_TRUE(ResizeFrameWindow(window, 900, 1000));
    HandleWindowEvents(window);
    EXPECT_EQ(client.calls, (std::vector<std::string>{"paint 0 0 900 1000"}));
    DestroyFrameWindow(window);
}

TEST(X11FrameWindow, APressHoldsThePointerOutsideTheWindowUntilItsRelease)
{
    HostDisplay host;
    REQUIRE_DISPLAY(host);
    RecordingClient client;
    void* window = CreateFrameWindow(host.handle(), 450, 500, &client);
    ASSERT_NE(window, nullptr);
    HandleUntil(window, [&] { return client.has("paint"); });
    host.moveTo(100, 120);
    host.button(true);
    ASSERT_TRUE(HandleUntil(window, [&] { return client.has("down"); }));
    // Beyond the window's right and bottom edges: still this window's, in its coordinates.
    host.moveTo(700, 800);
    host.button(false);
    ASSERT_TRUE(HandleUntil(window, [&] { return client.has("up"); }));
    std::vector<std::string> pointer;
    for (const std::string& call : client.calls)
        if (call.rfind("paint", 0) != 0)
            pointer.push_back(call);
    EXPECT_EQ(pointer, (std::vector<std::string>{"move 100 120 0x0", "down 100 120 0x2",
                                                 "move 700 800 0x2", "up 700 800 0x0"}));
    DestroyFrameWindow(window);
}

TEST(X11FrameWindow, APressEndsWhenTheHostHidesTheWindowAndOtherGrabsWaitForIt)
{
    HostDisplay host;
    REQUIRE_DISPLAY(host);
    RecordingClient client;
    void* window = CreateFrameWindow(host.handle(), 450, 500, &client);
    ASSERT_NE(window, nullptr);
    host.moveTo(200, 200);
    host.button(true);
    ASSERT_TRUE(HandleUntil(window, [&] { return client.has("down"); }));

    // Another client cannot take the pointer while the press holds it: the drag goes on.
    HostDisplay other;
    EXPECT_EQ(XGrabPointer(other.connection(), other.window(), False, ButtonReleaseMask,
                           GrabModeAsync, GrabModeAsync, None, None, CurrentTime),
              AlreadyGrabbed);
    HandleWindowEvents(window);
    EXPECT_FALSE(client.has("capture lost"));

    // The host hides its window: X ends the press's grab, and the release goes elsewhere.
    host.unmap();
    ASSERT_TRUE(HandleUntil(window, [&] { return client.has("capture lost"); }));
    host.button(false);
    HandleWindowEvents(window);
    EXPECT_FALSE(client.has("up"));
    DestroyFrameWindow(window);
}

TEST(X11FrameWindow, TheHostDestroyingItsWindowDestroysTheEditorsAndItsConnection)
{
    HostDisplay host;
    REQUIRE_DISPLAY(host);
    const int files = OpenFileDescriptors();
    RecordingClient client;
    void* window = CreateFrameWindow(host.handle(), 450, 500, &client);
    ASSERT_NE(window, nullptr);
    host.moveTo(200, 200);
    host.button(true);
    ASSERT_TRUE(HandleUntil(window, [&] { return client.has("down"); }));
    host.destroy();
    ASSERT_TRUE(HandleUntil(window, [&] { return client.has("destroyed"); }));
    // The press ended first.
    EXPECT_EQ(client.calls[client.calls.size() - 2], "capture lost");
    // The record went with the window: its handle is not known any more, the connection closed.
    EXPECT_EQ(OpenFileDescriptors(), files);
    client.calls.clear();
    InvalidateWindowRect(window, 0, 0, 10, 10);
    HandleWindowEvents(window);
    DestroyFrameWindow(window);
    ForgetFrameWindow();
    EXPECT_TRUE(client.calls.empty());
}

TEST(X11FrameWindow, AKilledConnectionEndsTheEditorNotTheHost)
{
    HostDisplay host;
    REQUIRE_DISPLAY(host);
    const int files = OpenFileDescriptors();
    RecordingClient client;
    void* window = CreateFrameWindow(host.handle(), 450, 500, &client);
    ASSERT_NE(window, nullptr);
    HandleUntil(window, [&] { return client.has("paint"); });
    // What xkill does to a window's client; Xlib's handler would end the whole process.
    XKillClient(host.connection(), host.firstChild());
    XSync(host.connection(), False);
    for (int i = 0; i < 20; ++i)
        HandleWindowEvents(window);
    InvalidateWindowRect(window, 0, 0, 450, 500);
    HandleWindowEvents(window);
    DestroyFrameWindow(window);
    EXPECT_EQ(OpenFileDescriptors(), files);
    // The next editor opens as usual.
    window = CreateFrameWindow(host.handle(), 450, 500, &client);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(host.childCount(), 1);
    DestroyFrameWindow(window);
}

} // namespace
} // namespace vrn::editor_platform
