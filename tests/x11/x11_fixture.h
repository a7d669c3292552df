#pragma once
// What the X11 tests share: a host's window on the display, the process's open files, and a
// FrameWindowClient that writes down every call. The tests need an X server (xvfb-run in CI).

#include "editor/frame_window.h"

#include <X11/Xlib.h>

#include <functional>
#include <string>
#include <vector>

namespace vrn::testing
{

/// A host's connection and a 450 × 500 window at the screen's origin, mapped and left alone by
/// any window manager. Pointer and keys are driven as a user's through XTest.
class HostDisplay
{
public:
    HostDisplay();
    ~HostDisplay();
    HostDisplay(const HostDisplay&) = delete;
    HostDisplay& operator=(const HostDisplay&) = delete;

    /// True when the display could be opened (the test says why it stops otherwise).
    bool isOpen() const { return display != nullptr; }
    Display* connection() const { return display; }
    Window window() const { return parent; }
    /// The window as a VST host hands it to effEditOpen.
    void* handle() const;
    /// Windows inside the host's window.
    int childCount() const;
    /// The first of them, or 0.
    Window firstChild() const;

    /// The pointer to (x, y) of the screen, which is the host window's (x, y).
    void moveTo(int x, int y);
    /// Left button down or up where the pointer is.
    void button(bool down);
    /// Unmaps or destroys the host's window, as a host hiding or closing it.
    void unmap();
    void destroy();

private:
    Display* display = nullptr;
    Window parent = 0;
    bool buttonDown = false;
};

/// Entries in /proc/self/fd.
int OpenFileDescriptors();

/// Writes every FrameWindowClient call as one line: "down 100 100 0x2", "up ...", "move ...",
/// "leave", "wheel X Y DELTA 0xMODIFIERS vertical|horizontal", "capture lost", "destroyed",
/// "paint L T R B". A paint fills the area with `paintColour` (0xRRGGBB) through the back end's
/// drawing surface.
class RecordingClient : public FrameWindowClient
{
public:
    std::vector<std::string> calls;
    unsigned paintColour = 0x3366CC;

    void onWindowPaint(DrawSurface& paintBuffer, const ViewRect& updateRect) override;
    void onWindowMouseDown(ViewPoint where, ButtonState buttons) override;
    void onWindowMouseUp(ViewPoint where, ButtonState buttons) override;
    void onWindowMouseMoved(ViewPoint where, ButtonState buttons) override;
    void onWindowMouseLeave() override;
    void onWindowWheel(ViewPoint screenPoint, int delta, ButtonState modifiers,
                       CMouseWheelAxis axis) override;
    void onWindowCaptureLost() override;
    void onWindowDestroyed() override;

    /// True when a call starting with `prefix` was written.
    bool has(const std::string& prefix) const;
};

/// Handles `window`'s events until `done` answers true or a second has passed (events travel
/// from the server to the editor's own connection); answers `done()`.
bool HandleUntil(void* window, const std::function<bool()>& done);

} // namespace vrn::testing
