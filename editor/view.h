#pragma once
// A view: a rectangle of the editor that draws itself and may take mouse, key and drag events.

#include "editor/base_object.h"
#include "editor/view_types.h"

#include <cstdint>

namespace vrn
{

class CBitmap;
class CDragContainer;
class CDrawContext;
class CFrame;
class VSTGUIEditorInterface;

/// Messages between views, compared by address.
extern const char kMsgCheckIfViewContainer[]; ///< a container answers 1, any other view 0
extern const char kMsgNewFocusView[];         ///< sent to the ancestors of a view gaining focus
extern const char kMsgOldFocusView[];         ///< sent to the ancestors of a view losing focus
extern const char kMsgLooseFocus[];           ///< defined for completeness, never sent

/// A leaf of the view tree. Its rectangle and mouse area are in its parent's coordinates
/// (pixels), and so are the points of its mouse and drag events. Created detached and visible
/// with one reference (the creator's); a container holds one more per child. UI thread only.
class CView : public CBaseObject
{
public:
    explicit CView(const ViewRect& size);
    /// Releases the background bitmap.
    ~CView() override;

    // --- drawing
    /// Draws the background bitmap (if any) over the view rectangle; clears the dirty flag.
    virtual void draw(CDrawContext* context);
    /// Draws the part `updateRect` (parent pixels); a plain view draws itself whole.
    virtual void drawArea(CDrawContext* context, const ViewRect& updateRect);
    /// True when the view rectangle overlaps `area` (touching edges count).
    virtual bool overlapsArea(const ViewRect& area) const;
    virtual bool needsRedraw() const { return dirty; }
    virtual void setNeedsRedraw(bool value) { dirty = value; }
    /// Asks for `rect` (parent pixels) to be repainted: passed up to the parent, or to the
    /// frame without one; nothing while detached or hidden.
    virtual void invalidateArea(const ViewRect& rect);
    /// Clears the dirty flag and asks for the whole view rectangle to be repainted.
    virtual void invalidateAll();
    /// Shows or hides the view; a change sets the dirty flag.
    virtual void setShown(bool shown);
    bool isShown() const { return visible; }

    // --- mouse (points in parent pixels)
    virtual MouseResult mouseDown(ViewPoint where, ButtonState buttons);
    virtual MouseResult mouseUp(ViewPoint where, ButtonState buttons);
    virtual MouseResult mouseMoved(ViewPoint where, ButtonState buttons);
    virtual MouseResult mouseEntered(ViewPoint where, ButtonState buttons);
    virtual MouseResult mouseExited(ViewPoint where, ButtonState buttons);
    /// True when `where` lies in the mouse area (all edges inclusive).
    virtual bool containsPoint(ViewPoint where, ButtonState buttons) const;
    /// A vertical wheel turn of `distance` notches; true when used.
    virtual bool wheel(ViewPoint where, float distance, ButtonState buttons);
    /// A wheel turn on `axis`: horizontal turns reach `wheel` negated.
    virtual bool wheelOnAxis(ViewPoint where, CMouseWheelAxis axis, float distance,
                             ButtonState buttons);
    virtual void setAcceptsMouse(bool value) { acceptsMouseFlag = value; }
    virtual bool acceptsMouse() const { return acceptsMouseFlag; }
    virtual void setMouseArea(const ViewRect& area) { mouseAreaRect = area; }
    virtual ViewRect mouseArea() const { return mouseAreaRect; }
    ViewRect& mouseAreaRef() { return mouseAreaRect; }

    // --- drag and drop (points in parent pixels)
    /// The items were dropped on the view; true when it took them.
    virtual bool dropItems(CDragContainer* drag, ViewPoint where);
    virtual void dragEntered(CDragContainer* drag, ViewPoint where);
    virtual void dragLeft(CDragContainer* drag, ViewPoint where);
    virtual void dragMoved(CDragContainer* drag, ViewPoint where);

    // --- keys: 1 handled, −1 not handled
    virtual std::int32_t keyDown(const KeyCode& key);
    virtual std::int32_t keyUp(const KeyCode& key);

    // --- geometry
    /// Moves and resizes the view (parent pixels); sets the dirty flag when `markDirty`.
    virtual void setBounds(const ViewRect& rect, bool markDirty = true);
    virtual ViewRect bounds() const { return size; }
    const ViewRect& boundsRef() const { return size; }
    /// The view rectangle clipped by what its parent (or the frame) shows; empty without one.
    virtual ViewRect visibleBounds() const;
    virtual void parentResized() {}
    /// `point` in frame pixels converted to this view's coordinates (its parent's).
    virtual ViewPoint toLocalPoint(ViewPoint point) const;
    /// `point` in this view's coordinates (its parent's) converted to frame pixels.
    virtual ViewPoint toFramePoint(ViewPoint point) const;
    virtual void setResizeFlags(std::int32_t flags) { resizeFlagBits = flags; }
    virtual std::int32_t resizeFlags() const { return resizeFlagBits; }

    // --- focus
    virtual void focusLost() {}
    virtual void focusGained() {}
    virtual bool takesFocus() const { return takesFocusFlag; }
    virtual void setTakesFocus(bool value) { takesFocusFlag = value; }

    // --- background
    /// Releases the old bitmap, retains `bitmap` (may be null), sets the dirty flag.
    virtual void setBackgroundBitmap(CBitmap* bitmap);
    virtual CBitmap* backgroundBitmap() const { return background; }
    virtual void setTransparentBackground(bool value) { transparentBackgroundFlag = value; }
    virtual bool transparentBackground() const { return transparentBackgroundFlag; }

    // --- tree
    /// Detaches from the parent; false when not attached.
    virtual bool onDetached(CView* parentView);
    /// Attaches to `parentView`, taking its frame; false when already attached.
    virtual bool onAttached(CView* parentView);
    bool isAttached() const { return attached; }
    /// The frame's editor, or null without a frame.
    virtual VSTGUIEditorInterface* editor() const;
    /// True for "CView" (exact, case-sensitive).
    virtual bool isKindOf(const char* className) const;
    /// A new, detached view with this one's rectangle, mouse area, flags and bitmap.
    virtual CView* clone() const;
    /// Old-style mouse tracking for views that do not implement mouseDown: nothing here.
    virtual void legacyMouse(CDrawContext* context, ViewPoint where, ButtonState buttons);
    /// The pointer position: asked of the parent container, else of `context`.
    virtual ViewPoint mousePosition(CDrawContext* context) const;
    virtual void setParent(CView* parentView) { parent = parentView; }
    CView* getParent() const { return parent; }
    virtual void setFrame(CFrame* newFrame) { frame = newFrame; }
    CFrame* getFrame() const { return frame; }
    /// Adds the view's left and top to `point`, then lets the parent container do the same.
    virtual ViewPoint frameOrigin(ViewPoint point) const;
    /// True when `view` is this view or lies anywhere below it.
    bool isAncestorOf(const CView* view) const;

protected:
    /// Copies rectangle, mouse area, flags and bitmap from `other` (for clone).
    void copyStateFrom(const CView& other);
    /// True when the parent answers 1 to kMsgCheckIfViewContainer.
    bool parentIsContainer() const;

    ViewRect size;
    ViewRect mouseAreaRect;
    CFrame* frame = nullptr;
    CView* parent = nullptr;
    bool dirty = false;
    bool acceptsMouseFlag = true;
    bool transparentBackgroundFlag = false;
    bool takesFocusFlag = false;
    bool attached = false;
    bool visible = true;
    std::int32_t resizeFlagBits = 0;
    CBitmap* background = nullptr;
};

} // namespace vrn
