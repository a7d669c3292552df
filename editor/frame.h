#pragma once
// The root of the view tree and owner of the editor's native window.

#include "editor/frame_window.h"
#include "editor/view_container.h"

#include <cstdint>

namespace vrn
{

class CDropTarget;
class VSTGUIEditorInterface;

/// The frame: a view container that is its own frame, lives in a child window of the host's
/// window and turns the window's messages into view-tree events (editor/frame_window.h). Its
/// rectangle starts at (0, 0) and is also the window's client area. UI thread only.
///
/// On a high-density screen the window has `scale` window pixels per frame pixel: the window is
/// the rectangle's size times the scale, while the view tree keeps working in frame pixels.
/// Pointer positions from the window are divided by the scale, invalidations multiplied
/// (outward to whole pixels), paints' update rectangles divided (outward), and the draw
/// contexts made for the frame draw at its scale.
class CFrame : public CViewContainer, public FrameWindowClient
{
public:
    /// Creates the window inside `parentWindow` (none when it is null or the drawing library
    /// did not start); `editor` receives idle, knob-mode and edit requests (may be null);
    /// `scale` window pixels per frame pixel (a factor of ContentScaleFor).
    CFrame(const ViewRect& size, void* parentWindow, VSTGUIEditorInterface* editor,
           double scale = 1.0);
    /// Removes and releases every view, then destroys the window.
    ~CFrame() override;

    /// True when the frame has its window and the drawing library runs: the editor is usable.
    bool isWindowOpen() const;
    /// The native window handle, or null.
    void* getWindow() const { return window; }
    /// The host's window that holds the frame window; null after the window was destroyed.
    void* getParentWindow() const { return parentWindow; }
    VSTGUIEditorInterface* getEditor() const { return editorInterface; }

    // --- repainting
    /// Turns dirty views into window invalidations, then lets the window handle its pending
    /// events and paint (nothing once the window is gone).
    void idle();
    /// Marks dirty every direct child whose rectangle overlaps `rect` (touching counts).
    void invalidateViewsIn(const ViewRect& rect);
    /// A new context drawing into the frame window (the caller releases it).
    CDrawContext* createDrawContext();
    /// The offscreen buffer painting goes through on systems before major version 6 (made at
    /// the frame's size on first use); null on later systems.
    COffscreenContext* backBuffer();
    /// True until the first drawing pass.
    bool isFirstDraw() const { return firstDraw; }

    // --- pointer and cursor
    /// The pointer in frame pixels.
    ViewPoint currentMouseLocation() const;
    /// Buttons and modifier keys held now.
    ButtonState currentMouseButtons() const;
    /// Shows cursor `shape` (a CCursorType; unknown values show the default cursor).
    void setCursorShape(std::int32_t shape);

    // --- size, scale and window state
    /// Resizes frame and window to `width` × `height` frame pixels; false when nothing changed
    /// or the window is gone.
    bool setFrameSize(double width, double height);
    /// Window pixels per frame pixel.
    double getScale() const { return scale; }
    /// Draws at `newScale` (a factor of ContentScaleFor) from now on: the window takes the
    /// rectangle's size times it and is painted again whole; the rectangle stays. False when
    /// nothing changed or the window is gone.
    bool setScale(double newScale);
    /// Top-left corner of the editor's outermost own window in its parent's pixels.
    ViewPoint outerWindowPosition() const;
    void setOpenFlag(bool open) { openFlag = open; }
    bool isOpen() const { return openFlag; }
    /// Registers (true) or revokes (false) the window's drop target; false without a window.
    bool setDropActive(bool active);
    bool isDropActive() const { return dropActive; }

    // --- modal and focus views
    /// Makes `view` the modal view (added as a child), or ends the modal view with null (removed
    /// without being released). Refused while another is modal or when `view` is attached.
    bool setModalView(CView* view);
    CView* modalView() const { return modal; }
    /// Moves the key focus (null: none), telling the old and new views' ancestors.
    void setFocusView(CView* view);
    CView* focusView() const { return focus; }
    /// The view the pointer is over while no button is held.
    CView* mouseOverView() const { return mouseOver; }
    /// A view leaves the tree: links to it or to views below it are cleared.
    void viewRemoved(CView* view);

    // --- editor forwarding
    void doIdleStuff();
    std::int32_t getKnobMode() const;
    void beginEdit(std::int32_t index);
    void endEdit(std::int32_t index);
    /// Milliseconds from an arbitrary origin (wraps at 2^32).
    std::uint32_t getTicks() const;

    // --- CView / CViewContainer
    void drawArea(CDrawContext* context, const ViewRect& updateRect) override;
    void draw(CDrawContext* context) override;
    void invalidateArea(const ViewRect& rect) override;
    ViewRect visibleBounds() const override { return size; }
    MouseResult mouseDown(ViewPoint where, ButtonState buttons) override;
    MouseResult mouseMoved(ViewPoint where, ButtonState buttons) override;
    MouseResult mouseExited(ViewPoint where, ButtonState buttons) override;
    bool wheel(ViewPoint where, float distance, ButtonState buttons) override;
    bool wheelOnAxis(ViewPoint where, CMouseWheelAxis axis, float distance,
                     ButtonState buttons) override;
    std::int32_t keyDown(const KeyCode& key) override;
    std::int32_t keyUp(const KeyCode& key) override;
    bool moveFocusToNext(CView* current, bool reverse = false) override;
    bool isKindOf(const char* className) const override;

    // --- FrameWindowClient: the window procedure's calls
    void onWindowPaint(DrawSurface& paintBuffer, const ViewRect& updateRect) override;
    void onWindowMouseDown(ViewPoint where, ButtonState buttons) override;
    void onWindowMouseUp(ViewPoint where, ButtonState buttons) override;
    void onWindowMouseMoved(ViewPoint where, ButtonState buttons) override;
    void onWindowMouseLeave() override;
    void onWindowWheel(ViewPoint screenPoint, int delta, ButtonState modifiers,
                       CMouseWheelAxis axis) override;
    void onWindowCaptureLost() override;
    void onWindowDestroyed() override;

private:
    /// The focus view's and then the modal view's answer other than −1; else −1.
    std::int32_t offerKeyToFocus(const KeyCode& key, KeyHandler handler);
    /// A point in window pixels as frame pixels.
    ViewPoint fromWindow(ViewPoint point) const { return {point.h / scale, point.v / scale}; }

    VSTGUIEditorInterface* editorInterface;
    void* parentWindow;
    CView* modal = nullptr;
    CView* focus = nullptr;
    CView* mouseOver = nullptr;
    bool firstDraw = true;
    bool openFlag = true;
    bool dropActive = false;
    void* window = nullptr;
    CDropTarget* dropTarget = nullptr;
    COffscreenContext* backBufferContext = nullptr;
    bool trackingLeave = false;
    bool cursorChanged = false;
    bool pressCaptured = false;           ///< a view took a press and the window has the pointer
    bool windowDestroyedBySystem = false; ///< the window went with its parent; handle forgotten
    ViewPoint lastPointer;                ///< where the window last saw the pointer, frame pixels
    ButtonState lastButtons = 0;          ///< buttons and modifiers of that event
    void* defaultCursor = nullptr;
    bool oleInitialized = false;
    bool graphicsEntered = false;
    int osMajorVersion = 0;
    double scale = 1.0; ///< window pixels per frame pixel
};

} // namespace vrn
