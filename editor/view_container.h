#pragma once
// A view that holds child views: drawing order, mouse, wheel, key, focus and drag routing.

#include "editor/view.h"

#include <vector>

namespace vrn
{

class COffscreenContext;

/// Children are kept in drawing order (first drawn first, last on top; the last one under the
/// pointer gets the mouse). Each child is held with one reference. Children's rectangles are in
/// the container's local coordinates (its left and top are their origin); the container
/// converts points before it passes an event down. UI thread only.
class CViewContainer : public CView
{
public:
    /// `size` in parent pixels; `frame` is the frame the container belongs to (may be null).
    CViewContainer(const ViewRect& size, CFrame* frame, CBitmap* background = nullptr);
    /// Removes and releases every child (see removeAllChildren).
    ~CViewContainer() override;

    // --- children
    /// Appends `view` (retained); refuses null or attached views. An attached container
    /// attaches the child and invalidates it.
    virtual bool addChild(CView* view);
    /// addChild, then sets the child's mouse area and whether it accepts the mouse.
    virtual bool addChild(CView* view, const ViewRect& mouseArea, bool acceptsMouse = true);
    /// addChild inserting before `before` (at the end when `before` is not a child).
    virtual bool addChild(CView* view, CView* before);
    /// Invalidates and detaches `view`, drops the container's reference and, with `release`,
    /// the caller's too. False when `view` is not a child.
    virtual bool removeChild(CView* view, bool release = true);
    /// Detaches every child without invalidating; drops the container's references and, with
    /// `release`, the callers' too.
    virtual void removeAllChildren(bool release = true);
    bool isChild(const CView* view) const;
    std::int32_t childCount() const { return static_cast<std::int32_t>(children.size()); }
    /// Child `index` (from 0), null beyond the end.
    CView* childAtIndex(std::int32_t index) const;
    /// The last visible child whose mouse area holds `where` (parent pixels); with `deep`, a
    /// container found there answers for itself. Null without a frame or while hidden.
    virtual CView* childAt(ViewPoint where, bool deep = false) const;
    /// The deepest container under `where` (parent pixels); this one when no child container.
    virtual CViewContainer* containerAt(ViewPoint where, bool deep = true);

    // --- background
    /// Fill colour without a background bitmap; sets the dirty flag.
    void setBackgroundColor(ViewColor color);
    ViewColor backgroundColor() const { return backgroundColour; }
    /// Position in the background bitmap drawn at the container's top-left, pixels.
    void setBackgroundOffset(ViewPoint offset) { backgroundOffsetPoint = offset; }
    ViewPoint backgroundOffset() const { return backgroundOffsetPoint; }
    /// Draws the background (bitmap, or colour) into `rect` (local pixels).
    virtual void drawBackgroundArea(CDrawContext* context, const ViewRect& rect);
    /// Draws the children through a private offscreen surface; off releases the surface.
    void setDrawOffscreen(bool value);
    bool drawsOffscreen() const { return drawOffscreen; }

    // --- repainting and focus
    /// Turns dirty views into invalidations: the whole container when it is dirty itself,
    /// else each dirty visible child (containers recursively).
    virtual void redrawDirtyChildren();
    /// Moves the frame's focus to the next child that takes focus after `current` (before it
    /// with `reverse`), searching child containers too; false when there is none.
    virtual bool moveFocusToNext(CView* current, bool reverse = false);
    /// `rect` (local pixels) bounded by what the container shows.
    ViewRect visibleRect(const ViewRect& rect) const;
    /// The last child whose mouse area holds the pointer now.
    CView* viewUnderPointer() const;
    /// True when `child` overlaps `rect` (local pixels) and is visible.
    bool childNeedsDrawing(const CView* child, const ViewRect& rect) const;
    /// True when a child that accepts the mouse contains `where` (parent pixels).
    bool anyChildAt(ViewPoint where, ButtonState buttons) const;
    /// The child that took the last button press (receives the moves and the release).
    CView* mouseDownView() const { return mouseDownChild; }

    // --- CView
    std::int32_t handleMessage(CBaseObject* sender, CMessageId message) override;
    void draw(CDrawContext* context) override;
    void drawArea(CDrawContext* context, const ViewRect& updateRect) override;
    bool needsRedraw() const override;
    void invalidateArea(const ViewRect& rect) override;
    void invalidateAll() override;
    MouseResult mouseDown(ViewPoint where, ButtonState buttons) override;
    MouseResult mouseUp(ViewPoint where, ButtonState buttons) override;
    MouseResult mouseMoved(ViewPoint where, ButtonState buttons) override;
    bool wheel(ViewPoint where, float distance, ButtonState buttons) override;
    bool wheelOnAxis(ViewPoint where, CMouseWheelAxis axis, float distance,
                     ButtonState buttons) override;
    bool dropItems(CDragContainer* drag, ViewPoint where) override;
    void dragEntered(CDragContainer* drag, ViewPoint where) override;
    void dragLeft(CDragContainer* drag, ViewPoint where) override;
    void dragMoved(CDragContainer* drag, ViewPoint where) override;
    std::int32_t keyDown(const KeyCode& key) override;
    std::int32_t keyUp(const KeyCode& key) override;
    void setBounds(const ViewRect& rect, bool markDirty = true) override;
    void parentResized() override;
    ViewPoint toLocalPoint(ViewPoint point) const override;
    ViewPoint toFramePoint(ViewPoint point) const override;
    bool onAttached(CView* parentView) override;
    bool onDetached(CView* parentView) override;
    bool isKindOf(const char* className) const override;
    CView* clone() const override;
    void legacyMouse(CDrawContext* context, ViewPoint where, ButtonState buttons) override;

protected:
    using KeyHandler = std::int32_t (CView::*)(const KeyCode&);
    /// The children's answer to a key, topmost first; −1 when none takes it.
    std::int32_t offerKey(const KeyCode& key, KeyHandler handler);
    /// `where` (parent pixels) in this container's local pixels.
    ViewPoint local(ViewPoint where) const { return where.offset(-size.left, -size.top); }
    /// The container's rectangle in its own coordinates: (0, 0, width, height).
    ViewRect localBounds() const { return {0.0, 0.0, size.width(), size.height()}; }
    /// Tells the frame a view leaves the tree and forgets own links to it.
    void forgetChild(CView* view);
    /// The parent, or the frame without one (null for the frame itself).
    CView* invalidationTarget() const;
    /// A draw context for the frame window, or null without a frame (caller releases).
    CDrawContext* windowContext() const;

    std::vector<CView*> children;
    COffscreenContext* offscreen = nullptr;
    ViewColor backgroundColour = kBlackColor;
    ViewPoint backgroundOffsetPoint;
    bool drawOffscreen = false;
    CView* dragOverChild = nullptr;
    CView* mouseDownChild = nullptr;
};

} // namespace vrn
