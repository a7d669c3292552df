// Views: geometry, dirty flags, default event answers and attachment.
#include "editor/view.h"

#include "editor/bitmap.h"
#include "editor/draw_context.h"
#include "editor/frame.h"

#include <cstring>

namespace vrn
{

const char kMsgCheckIfViewContainer[] = "kMsgCheckIfViewContainer";
const char kMsgNewFocusView[] = "kMsgNewFocusView";
const char kMsgOldFocusView[] = "kMsgOldFocusView";
const char kMsgLooseFocus[] = "LooseFocus";

CView::CView(const ViewRect& rect) : size(rect), mouseAreaRect(rect) {}

CView::~CView()
{
    if (background)
        background->release();
}

void CView::draw(CDrawContext* context)
{
    if (background && context)
    {
        if (transparentBackgroundFlag)
            background->drawTransparent(context, size);
        else
            background->draw(context, size);
    }
    dirty = false;
}

void CView::drawArea(CDrawContext* context, const ViewRect&)
{
    draw(context);
}

bool CView::overlapsArea(const ViewRect& area) const
{
    return size.overlaps(area);
}

void CView::invalidateArea(const ViewRect& rect)
{
    if (!attached || !visible)
        return;
    if (parent)
        parent->invalidateArea(rect);
    else if (frame && frame != this)
        frame->invalidateArea(rect);
}

void CView::invalidateAll()
{
    dirty = false;
    invalidateArea(size);
}

void CView::setShown(bool shown)
{
    if (visible == shown)
        return;
    visible = shown;
    dirty = true;
}

MouseResult CView::mouseDown(ViewPoint, ButtonState)
{
    return kMouseEventNotImplemented;
}

MouseResult CView::mouseUp(ViewPoint, ButtonState)
{
    return kMouseEventNotImplemented;
}

MouseResult CView::mouseMoved(ViewPoint, ButtonState)
{
    return kMouseEventNotImplemented;
}

MouseResult CView::mouseEntered(ViewPoint, ButtonState)
{
    return kMouseEventNotImplemented;
}

MouseResult CView::mouseExited(ViewPoint, ButtonState)
{
    return kMouseEventNotImplemented;
}

bool CView::containsPoint(ViewPoint where, ButtonState) const
{
    return mouseAreaRect.contains(where);
}

bool CView::wheel(ViewPoint, float, ButtonState)
{
    return false;
}

bool CView::wheelOnAxis(ViewPoint where, CMouseWheelAxis axis, float distance, ButtonState buttons)
{
    return wheel(where, axis == kMouseWheelHorizontal ? -distance : distance, buttons);
}

bool CView::dropItems(CDragContainer*, ViewPoint)
{
    return false;
}

void CView::dragEntered(CDragContainer*, ViewPoint) {}

void CView::dragLeft(CDragContainer*, ViewPoint) {}

void CView::dragMoved(CDragContainer*, ViewPoint) {}

std::int32_t CView::keyDown(const KeyCode&)
{
    return -1;
}

std::int32_t CView::keyUp(const KeyCode&)
{
    return -1;
}

void CView::setBounds(const ViewRect& rect, bool markDirty)
{
    size = rect;
    if (markDirty)
        dirty = true;
}

ViewRect CView::visibleBounds() const
{
    const CView* container = parent ? parent : (frame != this ? frame : nullptr);
    if (!container)
        return {};
    return size.boundedBy(
        container->visibleBounds().offset(-container->size.left, -container->size.top));
}

ViewPoint CView::toLocalPoint(ViewPoint point) const
{
    return parentIsContainer() ? parent->toLocalPoint(point) : point;
}

ViewPoint CView::toFramePoint(ViewPoint point) const
{
    return parentIsContainer() ? parent->toFramePoint(point) : point;
}

void CView::setBackgroundBitmap(CBitmap* bitmap)
{
    if (bitmap)
        bitmap->retain();
    if (background)
        background->release();
    background = bitmap;
    dirty = true;
}

bool CView::onDetached(CView*)
{
    if (!attached)
        return false;
    parent = nullptr;
    frame = nullptr;
    attached = false;
    return true;
}

bool CView::onAttached(CView* parentView)
{
    if (attached)
        return false;
    parent = parentView;
    frame = parentView ? parentView->getFrame() : nullptr;
    attached = true;
    return true;
}

VSTGUIEditorInterface* CView::editor() const
{
    return frame ? frame->getEditor() : nullptr;
}

bool CView::isKindOf(const char* className) const
{
    return className && std::strcmp(className, "CView") == 0;
}

CView* CView::clone() const
{
    auto* copy = new CView(size);
    copy->copyStateFrom(*this);
    return copy;
}

void CView::legacyMouse(CDrawContext*, ViewPoint, ButtonState) {}

ViewPoint CView::mousePosition(CDrawContext* context) const
{
    if (parentIsContainer())
    {
        // The parent may move the context's offset while it works it out.
        const ViewPoint savedOffset = context ? context->getDrawingOffset() : ViewPoint{};
        const ViewPoint where = parent->mousePosition(context);
        if (context)
            context->setDrawingOffset(savedOffset);
        return where;
    }
    return context ? context->getMousePosition() : ViewPoint{};
}

ViewPoint CView::frameOrigin(ViewPoint point) const
{
    const ViewPoint moved = point.offset(size.left, size.top);
    return parentIsContainer() ? parent->frameOrigin(moved) : moved;
}

bool CView::isAncestorOf(const CView* view) const
{
    for (const CView* v = view; v; v = v->parent)
        if (v == this)
            return true;
    return false;
}

void CView::copyStateFrom(const CView& other)
{
    size = other.size;
    mouseAreaRect = other.mouseAreaRect;
    acceptsMouseFlag = other.acceptsMouseFlag;
    transparentBackgroundFlag = other.transparentBackgroundFlag;
    takesFocusFlag = other.takesFocusFlag;
    visible = other.visible;
    resizeFlagBits = other.resizeFlagBits;
    setBackgroundBitmap(other.background);
    dirty = other.dirty;
}

bool CView::parentIsContainer() const
{
    return parent && parent->handleMessage(const_cast<CView*>(this), kMsgCheckIfViewContainer) == 1;
}

} // namespace vrn
