// What the X11 tests share.
#include "tests/x11/x11_fixture.h"

#include "editor/draw_surface.h"
#include "editor/platform.h"
#include "editor/x11/x11_window.h"

#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <thread>

namespace vrn::testing
{

namespace
{
std::string Hex(ButtonState buttons)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(buttons));
    return text;
}

std::string Point(ViewPoint p)
{
    return std::to_string(static_cast<int>(p.h)) + " " + std::to_string(static_cast<int>(p.v));
}
} // namespace

HostDisplay::HostDisplay() : display(editor_platform::OpenDisplayConnection())
{
    if (!display)
        return;
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    parent =
        XCreateWindow(display, DefaultRootWindow(display), 0, 0, 450, 500, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(display, parent);
    XSync(display, False);
}

HostDisplay::~HostDisplay()
{
    if (!display)
        return;
    if (buttonDown)
        button(false);
    XCloseDisplay(display);
}

void* HostDisplay::handle() const
{
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent));
}

int HostDisplay::childCount() const
{
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count))
        return -1;
    if (children)
        XFree(children);
    return static_cast<int>(count);
}

Window HostDisplay::firstChild() const
{
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count) || count == 0)
        return 0;
    const Window first = children[0];
    XFree(children);
    return first;
}

void HostDisplay::moveTo(int x, int y)
{
    XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
    XSync(display, False);
}

void HostDisplay::button(bool down)
{
    XTestFakeButtonEvent(display, 1, down ? True : False, CurrentTime);
    XSync(display, False);
    buttonDown = down;
}

void HostDisplay::unmap()
{
    XUnmapWindow(display, parent);
    XSync(display, False);
}

void HostDisplay::destroy()
{
    XDestroyWindow(display, parent);
    XSync(display, False);
    parent = 0;
}

int OpenFileDescriptors()
{
    int count = 0;
    if (DIR* folder = opendir("/proc/self/fd"))
    {
        while (readdir(folder))
            ++count;
        closedir(folder);
    }
    return count;
}

void RecordingClient::onWindowPaint(DrawSurface& paintBuffer, const ViewRect& r)
{
    calls.push_back("paint " + Point({r.left, r.top}) + " " + Point({r.right, r.bottom}));
    paintBuffer.setFillColor({static_cast<std::uint8_t>(paintColour >> 16),
                              static_cast<std::uint8_t>(paintColour >> 8),
                              static_cast<std::uint8_t>(paintColour), 255});
    paintBuffer.fillRect(static_cast<float>(r.left), static_cast<float>(r.top),
                         static_cast<float>(r.width()), static_cast<float>(r.height()));
}

void RecordingClient::onWindowMouseDown(ViewPoint where, ButtonState buttons)
{
    calls.push_back("down " + Point(where) + " " + Hex(buttons));
}

void RecordingClient::onWindowMouseUp(ViewPoint where, ButtonState buttons)
{
    calls.push_back("up " + Point(where) + " " + Hex(buttons));
}

void RecordingClient::onWindowMouseMoved(ViewPoint where, ButtonState buttons)
{
    calls.push_back("move " + Point(where) + " " + Hex(buttons));
}

void RecordingClient::onWindowMouseLeave()
{
    calls.push_back("leave");
}

void RecordingClient::onWindowWheel(ViewPoint screenPoint, int delta, ButtonState modifiers,
                                    CMouseWheelAxis axis)
{
    calls.push_back("wheel " + Point(screenPoint) + " " + std::to_string(delta) + " " +
                    Hex(modifiers) + (axis == kMouseWheelVertical ? " vertical" : " horizontal"));
}

void RecordingClient::onWindowCaptureLost()
{
    calls.push_back("capture lost");
}

void RecordingClient::onWindowDestroyed()
{
    calls.push_back("destroyed");
}

bool RecordingClient::has(const std::string& prefix) const
{
    for (const std::string& call : calls)
        if (call.compare(0, prefix.size(), prefix) == 0)
            return true;
    return false;
}

bool HandleUntil(void* window, const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (!done() && std::chrono::steady_clock::now() < end)
    {
        editor_platform::HandleWindowEvents(window);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}

} // namespace vrn::testing
