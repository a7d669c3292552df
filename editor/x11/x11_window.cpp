// The X11 window records: which handles are live, which window is current, and the error trap.
#include "editor/x11/x11_window.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace vrn::editor_platform
{

namespace
{
// Touched on the UI thread only.
std::vector<X11Window*>& LiveWindows()
{
    static std::vector<X11Window*> windows;
    return windows;
}
X11Window* handling = nullptr;
XErrorTrap* innermostTrap = nullptr;
} // namespace

Display* OpenDisplayConnection()
{
    constexpr int kTries = 3;
    constexpr auto kPause = std::chrono::milliseconds(5);
    for (int attempt = 1;; ++attempt)
    {
        if (Display* display = XOpenDisplay(nullptr))
            return display;
        if (attempt == kTries)
            return nullptr;
        std::this_thread::sleep_for(kPause);
    }
}

bool QueryPointer(X11Window& window, int& x, int& y, unsigned int& mask)
{
    if (window.connectionLost)
        return false;
    XErrorTrap trap(window.display);
    Window root = 0;
    Window child = 0;
    int windowX = 0;
    int windowY = 0;
    return XQueryPointer(window.display, DefaultRootWindow(window.display), &root, &child, &x, &y,
                         &windowX, &windowY, &mask) != False;
}

X11Window* LiveWindow(void* handle)
{
    if (!handle)
        return nullptr;
    const auto& windows = LiveWindows();
    const auto found = std::find(windows.begin(), windows.end(), static_cast<X11Window*>(handle));
    return found == windows.end() ? nullptr : *found;
}

void AddLiveWindow(X11Window* window)
{
    LiveWindows().push_back(window);
}

void RemoveLiveWindow(X11Window* window)
{
    auto& windows = LiveWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
    if (handling == window)
        handling = nullptr;
}

X11Window* CurrentWindow()
{
    if (handling)
        return handling;
    const auto& windows = LiveWindows();
    return windows.empty() ? nullptr : windows.back();
}

HandlingWindow::HandlingWindow(X11Window* window) : previous(handling)
{
    handling = window;
}

HandlingWindow::~HandlingWindow()
{
    handling = LiveWindow(previous);
}

namespace
{
// True for a connection of the back end's: one a trap is set for, or a window's.
bool IsOurs(Display* display)
{
    for (XErrorTrap* trap = innermostTrap; trap; trap = trap->outerTrap())
        if (trap->trappedDisplay() == display)
            return true;
    for (const X11Window* window : LiveWindows())
        if (window->display == display)
            return true;
    return false;
}

XErrorTrap* OutermostTrap()
{
    XErrorTrap* outermost = innermostTrap;
    while (outermost && outermost->outerTrap())
        outermost = outermost->outerTrap();
    return outermost;
}
} // namespace

int TrapError(Display* display, XErrorEvent* event)
{
    for (XErrorTrap* trap = innermostTrap; trap; trap = trap->outer)
        if (trap->display == display)
            ++trap->count;
    if (IsOurs(display))
        return 0;
    // Another connection's error (the host's, on its own thread): as if we were not here.
    XErrorTrap* outermost = OutermostTrap();
    return outermost && outermost->previousHandler ? outermost->previousHandler(display, event) : 0;
}

int TrapIOError(Display* display)
{
    if (IsOurs(display))
    {
        // Xlib then calls the connection's exit handler, which marks the window's connection
        // lost instead of ending the process, and every later call on it returns at once.
        for (X11Window* window : LiveWindows())
            if (window->display == display)
                window->connectionLost = true;
        return 0;
    }
    XErrorTrap* outermost = OutermostTrap();
    return outermost && outermost->previousIOHandler ? outermost->previousIOHandler(display) : 0;
}

XErrorTrap::XErrorTrap(Display* trapped) : display(trapped), outer(innermostTrap)
{
    if (!outer)
    {
        previousHandler = XSetErrorHandler(&TrapError);
        previousIOHandler = XSetIOErrorHandler(&TrapIOError);
    }
    innermostTrap = this;
}

XErrorTrap::~XErrorTrap()
{
    innermostTrap = outer;
    if (!outer)
    {
        XSetErrorHandler(previousHandler);
        XSetIOErrorHandler(previousIOHandler);
    }
}

int XErrorTrap::errors() const
{
    return count;
}

} // namespace vrn::editor_platform
