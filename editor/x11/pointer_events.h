#pragma once
// X pointer events as the frame's window calls: buttons and modifier keys as ButtonState, double
// clicks, wheel buttons, the pointer leaving, and the presses the window holds the pointer for.

#include "editor/frame_window.h"

#include <X11/Xlib.h>

namespace vrn::editor_platform
{

/// The ButtonState of the buttons (1 to 3) and modifier keys (shift, control, alt as Mod1) in
/// an X event's or XQueryPointer's state mask.
ButtonState ButtonStateOfMask(unsigned int state);

/// Turns one window's pointer events into FrameWindowClient calls. Keeps what spans events: the
/// last press (for double clicks) and whether the frame asked to hear of the pointer leaving.
class PointerEvents
{
public:
    /// A second press of the same button within this time and distance is a double click (the
    /// Windows defaults: 500 ms, a 4 × 4 pixel box).
    static constexpr unsigned long kDoubleClickMs = 500;
    static constexpr int kDoubleClickSlop = 2; ///< pixels either way

    /// Calls the client for a ButtonPress, ButtonRelease or MotionNotify; false (nothing
    /// called) for any other event.
    bool translate(const XEvent& event, FrameWindowClient& client);

    /// The buttons pressed in the window and not yet released there (kLButton, kMButton,
    /// kRButton, kButton4, kButton5): while any is, X holds the pointer for the window.
    ButtonState pressedButtons() const { return pressed; }
    /// The press ended without a release here (the window was hidden or destroyed): the client
    /// hears so once, and the buttons count as released.
    void endPress(FrameWindowClient& client);

    /// The next time the pointer leaves the window, the client hears of it once.
    void requestLeave() { leaveRequested = true; }

private:
    void press(const XButtonEvent& event, FrameWindowClient& client);
    void release(const XButtonEvent& event, FrameWindowClient& client);
    void leave(FrameWindowClient& client);
    /// True when `event` completes a double click, which then starts no other.
    bool isDoubleClick(const XButtonEvent& event);

    bool leaveRequested = false;
    ButtonState pressed = 0;
    unsigned int lastButton = 0; ///< button of the last press that can start a double click
    Time lastTime = 0;
    int lastX = 0;
    int lastY = 0;
};

} // namespace vrn::editor_platform
