#pragma once
// The contract between the frame and its native window.
//
// Window procedure → frame: the window system's back end (editor/win32/) keeps the
// FrameWindowClient it was given at CreateFrameWindow in the window's user data and turns each
// message into one call below. It decodes the message first (pointer position as signed 16-bit
// words, ButtonState from the key flags plus alt from the key state, the double-click bit for
// double-click messages, wheel delta as the signed high word) and leaves every decision to the
// frame: capture, leave tracking, cursor, painting and the view routing happen in the portable
// code. A message for a window without a client goes to the default processing.
//
//   button down / double click → onWindowMouseDown   (the frame captures the pointer itself)
//   button up                  → onWindowMouseUp     (the frame releases the capture itself)
//   capture taken by another   → onWindowCaptureLost (Windows: WM_CAPTURECHANGED naming another
//   window, or cancel mode       window, and WM_CANCELMODE; X11: the implicit pointer grab
//                                taken by another client's grab). A press in progress then
//                                ends as a release where the pointer was last seen.
//   mouse move                 → onWindowMouseMoved  (the frame asks for leave tracking itself)
//   mouse leave                → onWindowMouseLeave
//   mouse wheel                → onWindowWheel, then the default processing (the host sees it)
//   paint                      → onWindowPaint between begin and end of painting, only when the
//                                update region is not empty, with the window's paint buffer: a
//                                surface the back end keeps from paint to paint (remade when the
//                                window's size changes) and copies to the screen in one step
//                                afterwards; the message answers 0 either way
//   erase background           → nothing, answers 1 (the frame paints every pixel)
//   destroy                    → onWindowDestroyed, then the default processing; the frame
//                                forgets the handle (it may soon name another window) and
//                                later gives back only its share of the class registration
//                                (ForgetFrameWindow instead of DestroyFrameWindow)
//
// Frame → window: the operations of editor/platform.h under "frame window" (create and destroy
// with the class registration, invalidate, capture, leave tracking, cursors, resize, outer
// position, button state, paint dispatch, OLE, drop target). They are called on the window's
// thread only.

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
    /// A wheel turn of `delta` (the system's units, 120 per notch) with the pointer at
    /// `screenPoint` (screen pixels); `modifiers` holds kShift, kControl and kAlt only.
    virtual void onWindowWheel(ViewPoint screenPoint, int delta, ButtonState modifiers) = 0;
    /// The pointer capture was taken away (another window captured the pointer, a modal
    /// dialog, a window switch). Also called when this window gave the capture back itself.
    virtual void onWindowCaptureLost() = 0;
    /// The window is being destroyed (by its parent or the host); its handle is dead after this.
    virtual void onWindowDestroyed() = 0;

    virtual ~FrameWindowClient() = default;
};

} // namespace vrn
