#pragma once
// The contract between the frame and its native window.
//
// Window events → frame: the window system's back end keeps the FrameWindowClient it was given
// at CreateFrameWindow with the window (Windows: in its user data; X11: in the back end's window
// record) and turns each event into one call below. It decodes the event first (pointer
// position in window pixels, signed; the ButtonState bits of the buttons and modifier keys held
// after the event) and leaves every decision to the frame: capture, leave
// tracking, cursor, painting and the view routing happen in the portable code. Windows delivers
// messages through its own message loop; an X11 editor reads its own display connection in
// HandleWindowEvents, which the frame's idle calls (the host's effEditIdle), and paints there.
//
//   Windows message              X11 event                     frame call
//   button down, double click    ButtonPress 1-3, 8, 9         onWindowMouseDown (the frame
//                                (a second press of one          captures the pointer itself;
//                                button within 500 ms and        X11: the implicit grab of
//                                4 px is a double click)         the press already has it)
//   button up                    ButtonRelease 1-3, 8, 9       onWindowMouseUp (the frame
//                                                                releases the capture itself)
//   WM_CAPTURECHANGED naming     a press in the window ended    onWindowCaptureLost: a press in
//   another window, WM_CANCEL-   without its release: at event    progress ends as a release
//   MODE                         handling, the window cannot      where it was last seen
//                                be seen any more (the host hid
//                                it: X ends the press's grab)
//                                or no pressed button is held;
//                                UnmapNotify; DestroyNotify
//                                first. (Other clients' grabs
//                                fail while a press holds the
//                                pointer.)
//   mouse move                   MotionNotify (the last of a    onWindowMouseMoved (the frame
//                                queued run)                      asks for leave tracking)
//   mouse leave (after the       LeaveNotify, after a leave     onWindowMouseLeave
//   frame asked for it)          request
//   WM_MOUSEWHEEL, then the      ButtonPress 4, 5 (vertical,    onWindowWheel, 120 a notch
//   default processing (the      up is +120), 6, 7 (horizontal,
//   host sees it too)            right is +120); releases ignored
//   paint with a non-empty       Expose, and every invalidated  onWindowPaint with the
//   update region (answers 0)    area, painted at the end of      window's paint buffer, a
//                                HandleWindowEvents               surface the back end keeps
//                                                                 from paint to paint (remade
//                                                                 when the size changes) and
//                                                                 copies to the screen once
//                                                                 after the call
//   erase background: answers 1  (the window has no background) nothing: the frame paints
//                                                                 every pixel
//   WM_DESTROY, then the         DestroyNotify of the window    onWindowDestroyed; the frame
//   default processing           (the host destroyed its          forgets the handle (it may
//                                parent)                          soon name another window)
//                                                                 and later gives back only
//                                                                 its share of the class
//                                                                 (ForgetFrameWindow)
//
// Frame → window: the operations of editor/platform.h under "frame window" (create and destroy
// with the class registration, invalidate, event handling, capture, leave tracking, cursors,
// resize, outer position, button state, paint dispatch, OLE, drop target). They are called on
// the window's thread only.

#include "editor/view_types.h"

namespace vrn
{

class DrawSurface;

/// What the window procedure calls on the frame that owns the window (UI thread).
class FrameWindowClient
{
public:
    /// Draws `updateRect` (frame pixels) into `paintBuffer`, the window's paint buffer, which
    /// the back end shows on screen after the call.
    virtual void onWindowPaint(DrawSurface& paintBuffer, const ViewRect& updateRect) = 0;
    /// A button went down at `where` (frame pixels); `buttons` include kDoubleClick for a
    /// double click.
    virtual void onWindowMouseDown(ViewPoint where, ButtonState buttons) = 0;
    /// A button went up at `where` (frame pixels).
    virtual void onWindowMouseUp(ViewPoint where, ButtonState buttons) = 0;
    /// The pointer moved to `where` (frame pixels).
    virtual void onWindowMouseMoved(ViewPoint where, ButtonState buttons) = 0;
    /// The pointer left the window (after a RequestMouseLeave).
    virtual void onWindowMouseLeave() = 0;
    /// A wheel turn of `delta` (the system's units, 120 per notch) on `axis` with the pointer at
    /// `screenPoint` (screen pixels); `modifiers` holds kShift, kControl and kAlt only.
    virtual void onWindowWheel(ViewPoint screenPoint, int delta, ButtonState modifiers,
                               CMouseWheelAxis axis) = 0;
    /// The pointer capture was taken away (another window captured the pointer, a modal
    /// dialog, a window switch). Also called when this window gave the capture back itself.
    virtual void onWindowCaptureLost() = 0;
    /// The window is being destroyed (by its parent or the host); its handle is dead after this.
    virtual void onWindowDestroyed() = 0;

    virtual ~FrameWindowClient() = default;
};

} // namespace vrn
