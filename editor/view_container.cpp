// View containers: children in drawing order, and the routing of events down to them.
#include "editor/view_container.h"

#include "editor/bitmap.h"
#include "editor/draw_context.h"
#include "editor/frame.h"
#include "editor/offscreen_context.h"

#include <algorithm>
#include <cstring>

namespace vrn
{

CViewContainer::CViewContainer(const ViewRect& rect, CFrame* ownerFrame, CBitmap* bitmap)
    : CView(rect)
{
    frame = ownerFrame;
    if (bitmap)
        setBackgroundBitmap(bitmap);
    dirty = false;
}

CViewContainer::~CViewContainer()
{
    removeAllChildren(true);
    if (offscreen)
        offscreen->release();
}

// --- children

bool CViewContainer::addChild(CView* view)
{
    if (!view || view->isAttached() || isChild(view))
        return false;
    children.push_back(view);
    view->retain();
    if (attached)
    {
        view->onAttached(this);
        view->invalidateAll();
    }
    return true;
}

bool CViewContainer::addChild(CView* view, const ViewRect& area, bool acceptsMouseEvents)
{
    if (!addChild(view))
        return false;
    view->setAcceptsMouse(acceptsMouseEvents);
    view->setMouseArea(area);
    return true;
}

bool CViewContainer::addChild(CView* view, CView* before)
{
    if (!view || view->isAttached() || isChild(view))
        return false;
    const auto at = std::find(children.begin(), children.end(), before);
    children.insert(at, view);
    view->retain();
    if (attached)
    {
        view->onAttached(this);
        view->invalidateAll();
    }
    return true;
}

bool CViewContainer::removeChild(CView* view, bool release)
{
    if (!view || !isChild(view))
        return false;
    view->invalidateAll();
    forgetChild(view);
    if (attached)
        view->onDetached(this);
    // Looked up again: the calls above reach other code, which may have changed the list.
    const auto at = std::find(children.begin(), children.end(), view);
    if (at != children.end())
        children.erase(at);
    if (release)
        view->release();
    view->release();
    return true;
}

void CViewContainer::removeAllChildren(bool release)
{
    std::vector<CView*> leaving;
    leaving.swap(children);
    for (CView* view : leaving)
    {
        forgetChild(view);
        if (attached)
            view->onDetached(this);
        if (release)
            view->release();
        view->release();
    }
}

bool CViewContainer::isChild(const CView* view) const
{
    return view && std::find(children.begin(), children.end(), view) != children.end();
}

CView* CViewContainer::childAtIndex(std::int32_t index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    return children[static_cast<std::size_t>(index)];
}

CView* CViewContainer::childAt(ViewPoint where, bool deep) const
{
    if (!frame || !visible)
        return nullptr;
    const ViewPoint p = local(where);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        CView* child = *it;
        if (!child->isShown() || !child->mouseArea().contains(p))
            continue;
        if (deep && child->isKindOf("CViewContainer"))
            return static_cast<CViewContainer*>(child)->childAt(p, true);
        return child;
    }
    return nullptr;
}

CViewContainer* CViewContainer::containerAt(ViewPoint where, bool deep)
{
    if (!frame || !visible)
        return nullptr;
    const ViewPoint p = local(where);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        CView* child = *it;
        if (!child->isShown() || !child->mouseArea().contains(p) ||
            !child->isKindOf("CViewContainer"))
            continue;
        auto* container = static_cast<CViewContainer*>(child);
        return deep ? container->containerAt(p, true) : container;
    }
    return this;
}

// --- background

void CViewContainer::setBackgroundColor(ViewColor color)
{
    backgroundColour = color;
    dirty = true;
}

void CViewContainer::drawBackgroundArea(CDrawContext* context, const ViewRect& rect)
{
    if (!context)
        return;
    if (background)
    {
        const ViewRect savedClip = context->getClipRect();
        context->setClipRect(rect.boundedBy(savedClip));
        const ViewRect whole{0.0, 0.0, background->getWidth(), background->getHeight()};
        if (transparentBackgroundFlag)
            background->drawTransparent(context, whole, backgroundOffsetPoint);
        else
            background->draw(context, whole, backgroundOffsetPoint);
        context->setClipRect(savedClip);
        return;
    }
    // An opaque colour with a transparent background draws nothing: what lies below shows.
    if (backgroundColour.alpha == 255 && transparentBackgroundFlag)
        return;
    context->setFillColor(backgroundColour);
    context->setFrameColor(backgroundColour);
    context->drawRect(localBounds(), kDrawFilled);
}

void CViewContainer::setDrawOffscreen(bool value)
{
    drawOffscreen = value;
    if (!value && offscreen)
    {
        offscreen->release();
        offscreen = nullptr;
    }
}

// --- repainting and focus

void CViewContainer::redrawDirtyChildren()
{
    if (!visible)
        return;
    if (dirty)
    {
        if (CView* target = invalidationTarget())
            target->invalidateArea(size);
        return;
    }
    // By index: an invalidation may not change the children, but a view's code might.
    for (std::size_t i = 0; i < children.size(); ++i)
    {
        CView* child = children[i];
        if (!child->isShown() || !child->needsRedraw())
            continue;
        if (child->isKindOf("CViewContainer"))
            static_cast<CViewContainer*>(child)->redrawDirtyChildren();
        else
            child->invalidateAll();
    }
}

bool CViewContainer::moveFocusToNext(CView* current, bool reverse)
{
    if (!frame)
        return false;
    const std::size_t count = children.size();
    bool passed = current == nullptr;
    for (std::size_t step = 0; step < count; ++step)
    {
        CView* child = children[reverse ? count - 1 - step : step];
        if (!passed)
        {
            passed = child == current;
            continue;
        }
        if (child->takesFocus())
        {
            frame->setFocusView(child);
            child->focusGained();
            return true;
        }
        if (child->isKindOf("CViewContainer") &&
            static_cast<CViewContainer*>(child)->moveFocusToNext(nullptr, reverse))
            return true;
    }
    return false;
}

ViewRect CViewContainer::visibleRect(const ViewRect& rect) const
{
    return rect.boundedBy(visibleBounds().offset(-size.left, -size.top));
}

CView* CViewContainer::viewUnderPointer() const
{
    if (!frame)
        return nullptr;
    const ViewPoint p = toLocalPoint(frame->currentMouseLocation());
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if ((*it)->mouseArea().contains(p))
            return *it;
    return nullptr;
}

bool CViewContainer::childNeedsDrawing(const CView* child, const ViewRect& rect) const
{
    return child->overlapsArea(rect) && child->isShown();
}

bool CViewContainer::anyChildAt(ViewPoint where, ButtonState buttons) const
{
    const ViewPoint p = local(where);
    return std::any_of(children.begin(), children.end(),
                       [&](const CView* child)
                       { return child->acceptsMouse() && child->containsPoint(p, buttons); });
}

// --- CView

std::int32_t CViewContainer::handleMessage(CBaseObject* sender, CMessageId message)
{
    if (message == kMsgCheckIfViewContainer)
        return 1;
    return CView::handleMessage(sender, message);
}

void CViewContainer::draw(CDrawContext* context)
{
    drawArea(context, size);
}

void CViewContainer::drawArea(CDrawContext* context, const ViewRect& updateRect)
{
    if (!context)
        return;
    if (drawOffscreen && !offscreen)
        offscreen = new COffscreenContext(frame, size.width(), size.height(), kBlackColor);
    // The private surface is in local coordinates from the start; the given context has its
    // offset moved to the container's corner for the pass.
    CDrawContext* target = drawOffscreen ? offscreen : context;
    const ViewRect bounded = updateRect.boundedBy(size);
    const ViewRect localClip = bounded.offset(-size.left, -size.top);
    const ViewPoint savedOffset = context->getDrawingOffset();
    const ViewRect savedClip = target->getClipRect();
    if (!drawOffscreen)
        context->setDrawingOffset(savedOffset.offset(size.left, size.top));

    drawBackgroundArea(target, localClip);
    for (std::size_t i = 0; i < children.size(); ++i)
    {
        CView* child = children[i];
        if (!childNeedsDrawing(child, localClip))
            continue;
        const ViewRect area = child->boundsRef().boundedBy(localClip);
        if (area.isEmpty())
            continue;
        target->setClipRect(area);
        child->drawArea(target, area);
    }

    if (drawOffscreen)
    {
        target->setClipRect(savedClip);
        offscreen->copyFrom(context, bounded, {localClip.left, localClip.top});
    }
    else
    {
        context->setDrawingOffset(savedOffset);
        context->setClipRect(savedClip);
    }
    dirty = false;
}

bool CViewContainer::needsRedraw() const
{
    if (dirty)
        return true;
    const ViewRect inside = localBounds();
    return std::any_of(children.begin(), children.end(),
                       [&](const CView* child) {
                           return child->needsRedraw() &&
                                  !child->bounds().boundedBy(inside).isEmpty();
                       });
}

void CViewContainer::invalidateArea(const ViewRect& rect)
{
    if (!visible)
        return;
    const ViewRect r = rect.offset(size.left, size.top).boundedBy(size);
    if (r.isEmpty())
        return;
    if (CView* target = invalidationTarget())
        target->invalidateArea(r);
}

void CViewContainer::invalidateAll()
{
    dirty = false;
    invalidateArea(localBounds());
}

MouseResult CViewContainer::mouseDown(ViewPoint where, ButtonState buttons)
{
    const ViewPoint p = local(where);
    for (std::size_t i = children.size(); i-- > 0;)
    {
        CView* child = children[i];
        if (!child->isShown() || !child->acceptsMouse() || !child->containsPoint(p, buttons))
            continue;
        // The first child under the pointer ends the walk, whatever it answers.
        const MouseResult result = child->mouseDown(p, buttons);
        if (result != kMouseEventNotImplemented)
        {
            if (result == kMouseEventHandled)
                mouseDownChild = child;
            return result;
        }
        CDrawContext* context = windowContext();
        child->legacyMouse(context, p, buttons);
        if (context)
            context->release();
        return kMouseEventNotImplemented;
    }
    return kMouseEventNotHandled;
}

MouseResult CViewContainer::mouseUp(ViewPoint where, ButtonState buttons)
{
    if (!mouseDownChild)
        return kMouseEventNotHandled;
    CView* child = mouseDownChild;
    mouseDownChild = nullptr;
    child->mouseUp(local(where), buttons);
    return kMouseEventHandled;
}

MouseResult CViewContainer::mouseMoved(ViewPoint where, ButtonState buttons)
{
    if (!mouseDownChild)
        return kMouseEventNotHandled;
    if (mouseDownChild->mouseMoved(local(where), buttons) != kMouseEventHandled)
    {
        mouseDownChild = nullptr;
        return kMouseEventNotHandled;
    }
    return kMouseEventHandled;
}

bool CViewContainer::wheel(ViewPoint where, float distance, ButtonState buttons)
{
    return wheelOnAxis(where, kMouseWheelVertical, distance, buttons);
}

bool CViewContainer::wheelOnAxis(ViewPoint where, CMouseWheelAxis axis, float distance,
                                 ButtonState buttons)
{
    CView* child = childAt(where, false);
    return child && child->wheelOnAxis(local(where), axis, distance, buttons);
}

bool CViewContainer::dropItems(CDragContainer* drag, ViewPoint where)
{
    if (!frame)
        return false;
    const ViewPoint p = local(where);
    CView* child = childAt(where, false);
    if (child != dragOverChild)
    {
        if (dragOverChild)
            dragOverChild->dragLeft(drag, p);
        dragOverChild = child;
    }
    bool taken = false;
    if (child)
    {
        taken = child->dropItems(drag, p);
        child->dragLeft(drag, p);
    }
    dragOverChild = nullptr;
    return taken;
}

void CViewContainer::dragEntered(CDragContainer* drag, ViewPoint where)
{
    if (!frame)
        return;
    const ViewPoint p = local(where);
    if (dragOverChild)
        dragOverChild->dragLeft(drag, p);
    dragOverChild = childAt(where, false);
    if (dragOverChild)
        dragOverChild->dragEntered(drag, p);
}

void CViewContainer::dragLeft(CDragContainer* drag, ViewPoint where)
{
    if (!frame)
        return;
    if (dragOverChild)
        dragOverChild->dragLeft(drag, local(where));
    dragOverChild = nullptr;
}

void CViewContainer::dragMoved(CDragContainer* drag, ViewPoint where)
{
    if (!frame)
        return;
    const ViewPoint p = local(where);
    CView* child = childAt(where, false);
    if (child == dragOverChild)
    {
        if (child)
            child->dragMoved(drag, p);
        return;
    }
    if (dragOverChild)
        dragOverChild->dragLeft(drag, p);
    if (child)
        child->dragEntered(drag, p);
    dragOverChild = child;
}

std::int32_t CViewContainer::keyDown(const KeyCode& key)
{
    return offerKey(key, &CView::keyDown);
}

std::int32_t CViewContainer::keyUp(const KeyCode& key)
{
    return offerKey(key, &CView::keyUp);
}

std::int32_t CViewContainer::offerKey(const KeyCode& key, KeyHandler handler)
{
    // Topmost child first; the first one that answers other than −1 ends the walk.
    for (std::size_t i = children.size(); i-- > 0;)
    {
        const std::int32_t result = (children[i]->*handler)(key);
        if (result != -1)
            return result;
    }
    return -1;
}

void CViewContainer::setBounds(const ViewRect& rect, bool markDirty)
{
    const bool resized = rect.width() != size.width() || rect.height() != size.height();
    CView::setBounds(rect, markDirty);
    if (!resized)
        return;
    // The private surface has the old size: made again at the next drawing pass.
    if (offscreen)
    {
        offscreen->release();
        offscreen = nullptr;
    }
    for (CView* child : children)
        child->parentResized();
}

void CViewContainer::parentResized()
{
    for (CView* child : children)
        child->parentResized();
}

ViewPoint CViewContainer::toLocalPoint(ViewPoint point) const
{
    const ViewPoint inParent = parentIsContainer() ? parent->toLocalPoint(point) : point;
    return local(inParent);
}

ViewPoint CViewContainer::toFramePoint(ViewPoint point) const
{
    const ViewPoint inParent = point.offset(size.left, size.top);
    return parentIsContainer() ? parent->toFramePoint(inParent) : inParent;
}

bool CViewContainer::onAttached(CView* parentView)
{
    if (attached)
        return false;
    if (drawOffscreen && !offscreen)
        offscreen = new COffscreenContext(parentView ? parentView->getFrame() : frame, size.width(),
                                          size.height(), kBlackColor);
    frame = parentView ? parentView->getFrame() : nullptr;
    for (CView* child : children)
        child->onAttached(this);
    return CView::onAttached(parentView);
}

bool CViewContainer::onDetached(CView* parentView)
{
    if (!attached)
        return false;
    if (offscreen)
    {
        offscreen->release();
        offscreen = nullptr;
    }
    frame = nullptr;
    for (CView* child : children)
        child->onDetached(this);
    return CView::onDetached(parentView);
}

bool CViewContainer::isKindOf(const char* className) const
{
    return (className && std::strcmp(className, "CViewContainer") == 0) ||
           CView::isKindOf(className);
}

CView* CViewContainer::clone() const
{
    auto* copy = new CViewContainer(size, nullptr, nullptr);
    copy->copyStateFrom(*this);
    copy->backgroundColour = backgroundColour;
    copy->backgroundOffsetPoint = backgroundOffsetPoint;
    copy->drawOffscreen = drawOffscreen;
    for (const CView* child : children)
    {
        // The copy keeps the creator's reference as well: its destructor drops both.
        copy->addChild(child->clone());
    }
    return copy;
}

void CViewContainer::legacyMouse(CDrawContext* context, ViewPoint where, ButtonState buttons)
{
    const ViewPoint p = local(where);
    for (std::size_t i = children.size(); i-- > 0;)
    {
        CView* child = children[i];
        if (child->isShown() && child->acceptsMouse() && child->containsPoint(p, buttons))
        {
            child->legacyMouse(context, p, buttons);
            return;
        }
    }
}

// --- helpers

void CViewContainer::forgetChild(CView* view)
{
    if (frame)
        frame->viewRemoved(view);
    if (view->isAncestorOf(mouseDownChild))
        mouseDownChild = nullptr;
    if (view->isAncestorOf(dragOverChild))
        dragOverChild = nullptr;
}

CView* CViewContainer::invalidationTarget() const
{
    if (parent)
        return parent;
    return frame;
}

CDrawContext* CViewContainer::windowContext() const
{
    return frame ? frame->createDrawContext() : nullptr;
}

} // namespace vrn
