#pragma once
// One editor window on X11 with what belongs to it: its own display connection, the window, the
// offscreen image frames are drawn into, the area waiting to be painted, the pointer's event
// state. The back end's window handles point at these records. UI thread only.

#include "editor/view_types.h"
#include "editor/x11/cairo_surface.h"
#include "editor/x11/pixel_areas.h"
#include "editor/x11/pointer_events.h"

#include <X11/Xlib.h>
#include <cairo.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace vrn
{
class FrameWindowClient;
} // namespace vrn

namespace vrn::editor_platform
{

/// An editor window and its display connection.
struct X11Window
{
    Display* display = nullptr;
    Window window = 0;
    FrameWindowClient* client = nullptr;
    int width = 0;                             ///< pixels
    int height = 0;                            ///< pixels
    cairo_surface_t* image = nullptr;          ///< offscreen image each frame is drawn into
    std::unique_ptr<CairoSurface> paintBuffer; ///< draws into `image`; kept from frame to frame
    XImage* pixels = nullptr;         ///< the image's pixels as Xlib sends them (not owned)
    GC gc = nullptr;                  ///< for sending them to the window
    std::vector<std::uint32_t> shown; ///< the pixels the window shows (the image's layout)
    std::vector<PixelBox> changed;    ///< the parts of a frame to send, kept between frames
    PixelBox invalid;                 ///< waiting to be painted
    PixelBox exposed;                 ///< lost by the window: sent whole at the next paint
    PointerEvents pointer;
    Cursor cursor = 0;                 ///< cursor defined on the window, or none
    const void* cursorShape = nullptr; ///< the SystemCursor token shown, or null
    bool originKnown = false;          ///< `origin` holds since the last event handling
    ViewPoint origin;                  ///< top-left corner on the screen
    bool destroyed = false;            ///< the window went with its parent
    bool connectionLost = false;       ///< the display connection broke: nothing more is sent
};

/// A connection to the display named by the environment, or null. A busy X server may drop a
/// new connection at once (Xvfb under load does, now and then): it is tried three times.
Display* OpenDisplayConnection();

/// The pointer on `window`'s screen: its position and the state mask of buttons and modifier
/// keys; false when the connection is lost or the server does not answer.
bool QueryPointer(X11Window& window, int& x, int& y, unsigned int& mask);

/// The record behind a window handle the back end gave out, or null for any other value.
X11Window* LiveWindow(void* handle);
/// Starts answering for `window`'s handle.
void AddLiveWindow(X11Window* window);
/// Stops answering for it.
void RemoveLiveWindow(X11Window* window);

/// The window whose events are being handled, else the most recently made one still open, else
/// null: pointer, button and cursor queries, which name no window, go to it.
X11Window* CurrentWindow();

/// Marks `window` as the one whose events are being handled while it exists.
class HandlingWindow
{
public:
    explicit HandlingWindow(X11Window* window);
    ~HandlingWindow();
    HandlingWindow(const HandlingWindow&) = delete;
    HandlingWindow& operator=(const HandlingWindow&) = delete;

private:
    X11Window* previous;
};

/// While it exists, X protocol errors of `display` are counted instead of reaching Xlib's error
/// handler (which ends the process): a host may destroy the window's parent at any time. A
/// broken connection of the back end's (the server gone, the client killed with xkill) marks
/// its window's connection lost instead of ending the host. Errors of other connections (the
/// host's) go to the handlers that were installed before. Only this back end reads its
/// connections, so their errors always arrive inside such a scope.
class XErrorTrap
{
public:
    explicit XErrorTrap(Display* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    /// Errors of the display since the trap was set (call XSync first to collect them all).
    int errors() const;
    Display* trappedDisplay() const { return display; }
    XErrorTrap* outerTrap() const { return outer; }

private:
    friend int TrapError(Display* display, XErrorEvent* event);
    friend int TrapIOError(Display* display);

    Display* display;
    int count = 0;
    XErrorTrap* outer;
    int (*previousHandler)(Display*, XErrorEvent*) = nullptr;
    int (*previousIOHandler)(Display*) = nullptr;
};

} // namespace vrn::editor_platform
