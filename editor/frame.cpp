// The frame: window life, repainting, and the routing of window events into the view tree.
#include "editor/frame.h"

#include "editor/content_scale.h"
#include "editor/draw_context.h"
#include "editor/drop_target.h"
#include "editor/editor_interface.h"
#include "editor/graphics_library.h"
#include "editor/offscreen_context.h"
#include "editor/platform.h"
#include "platform/platform.h"

#include <cmath>
#include <cstring>

namespace vrn
{

namespace
{
constexpr std::uint8_t kVirtualKeyTab = 2;
constexpr std::uint8_t kModifierShift = 0x1;
constexpr int kWheelDeltaPerNotch = 120;

// Focus changes tell views, which may move the focus again: such nested calls are ignored.
bool settingFocus = false;

void TellAncestors(CView* view, CFrame* frame, CMessageId message)
{
    for (CView* ancestor = view->getParent(); ancestor && ancestor != frame;
         ancestor = ancestor->getParent())
        ancestor->handleMessage(view, message);
}
} // namespace

CFrame::CFrame(const ViewRect& rect, void* hostWindow, VSTGUIEditorInterface* editor,
               double initialScale)
    : CViewContainer(rect, nullptr, nullptr), editorInterface(editor), parentWindow(hostWindow)
{
    frame = this;
    if (initialScale > 0.0)
        scale = initialScale;
    attached = true;
    oleInitialized = editor_platform::InitializeOle();
    GDIPlusGlobals::enter();
    graphicsEntered = true;
    osMajorVersion = editor_platform::OsMajorVersion();
    // Without the drawing library nothing could be painted: no window then.
    if (parentWindow && GDIPlusGlobals::isStarted())
    {
        window = editor_platform::CreateFrameWindow(parentWindow, ScaledLength(rect.width(), scale),
                                                    ScaledLength(rect.height(), scale), this);
        if (window)
            setDropActive(true);
    }
}

CFrame::~CFrame()
{
    if (modal)
        removeChild(modal, false);
    if (cursorChanged)
        setCursorShape(kCursorDefault);
    setDropActive(false);
    frame = nullptr;
    modal = nullptr;
    focus = nullptr;
    mouseOver = nullptr;
    removeAllChildren(true);
    if (oleInitialized)
        editor_platform::UninitializeOle();
    if (backBufferContext)
        backBufferContext->release();
    backBufferContext = nullptr;
    if (window)
        editor_platform::DestroyFrameWindow(window);
    else if (windowDestroyedBySystem)
        editor_platform::ForgetFrameWindow();
    window = nullptr;
    if (graphicsEntered)
        GDIPlusGlobals::leave();
}

bool CFrame::isWindowOpen() const
{
    return window != nullptr && openFlag && GDIPlusGlobals::isStarted();
}

// --- repainting

void CFrame::idle()
{
    if (!openFlag)
        return;
    redrawDirtyChildren();
    // Where the editor reads its window's events itself (X11), they are handled and what is
    // invalid is painted now; the window may be destroyed meanwhile.
    if (window)
        editor_platform::HandleWindowEvents(window);
}

void CFrame::invalidateViewsIn(const ViewRect& rect)
{
    for (CView* child : children)
        if (child->bounds().overlaps(rect))
            child->setNeedsRedraw(true);
}

CDrawContext* CFrame::createDrawContext()
{
    return new CDrawContext(this, size, nullptr, window);
}

COffscreenContext* CFrame::backBuffer()
{
    if (osMajorVersion >= 6)
        return nullptr;
    if (!backBufferContext)
        backBufferContext = new COffscreenContext(this, size.width(), size.height(), kBlackColor);
    return backBufferContext;
}

void CFrame::drawArea(CDrawContext* context, const ViewRect& updateRect)
{
    firstDraw = false;
    CDrawContext* target = context;
    if (target)
        target->retain();
    else
        target = createDrawContext();
    const ViewRect savedClip = target->getClipRect();
    target->setClipRect(updateRect.boundedBy(savedClip));
    if (!updateRect.isEmpty())
        CViewContainer::drawArea(target, updateRect);
    target->setClipRect(savedClip);
    target->release();
}

void CFrame::draw(CDrawContext* context)
{
    drawArea(context, size);
}

void CFrame::invalidateArea(const ViewRect& rect)
{
    // Only the window's paint message draws: this queues one. The rectangle is taken in whole
    // frame pixels (toward zero), and those as every window pixel they cover.
    if (!visible || !openFlag || !window)
        return;
    const auto start = [this](double edge)
    { return static_cast<int>(std::floor(static_cast<int>(edge) * scale)); };
    const auto end = [this](double edge)
    { return static_cast<int>(std::ceil(static_cast<int>(edge) * scale)); };
    editor_platform::InvalidateWindowRect(window, start(rect.left), start(rect.top),
                                          end(rect.right), end(rect.bottom));
}

// --- pointer and cursor

ViewPoint CFrame::currentMouseLocation() const
{
    const ViewPoint screen = editor_platform::CursorScreenPosition();
    if (!window)
        return screen;
    const ViewPoint origin = editor_platform::WindowScreenOrigin(window);
    return fromWindow({screen.h - origin.h, screen.v - origin.v});
}

ButtonState CFrame::currentMouseButtons() const
{
    return editor_platform::CurrentButtonState();
}

void CFrame::setCursorShape(std::int32_t shape)
{
    if (!cursorChanged)
    {
        defaultCursor = editor_platform::CurrentCursor();
        cursorChanged = true;
    }
    switch (shape)
    {
    case kCursorWait:
    case kCursorHSize:
    case kCursorVSize:
    case kCursorSizeAll:
    case kCursorNESWSize:
    case kCursorNWSESize:
    case kCursorNotAllowed:
    case kCursorHand:
        editor_platform::ShowCursorHandle(
            editor_platform::SystemCursor(static_cast<CCursorType>(shape)));
        break;
    default:
        editor_platform::ShowCursorHandle(defaultCursor);
        break;
    }
}

// --- size and window state

bool CFrame::setFrameSize(double width, double height)
{
    if (!openFlag || (width == size.width() && height == size.height()))
        return false;
    const ViewRect resized{size.left, size.top, size.left + width, size.top + height};
    // The back buffer has the old size: made again when needed.
    if (backBufferContext)
        backBufferContext->release();
    backBufferContext = nullptr;
    if (!window || editor_platform::ResizeFrameWindow(window, ScaledLength(width, scale),
                                                      ScaledLength(height, scale)))
        setBounds(resized, true);
    return true;
}

bool CFrame::setScale(double newScale)
{
    if (!openFlag || !window || !(newScale > 0.0) || newScale == scale)
        return false;
    scale = newScale;
    // The back buffer has the old scale: made again when needed.
    if (backBufferContext)
        backBufferContext->release();
    backBufferContext = nullptr;
    // The window takes the new size even where the host's windows around it do not grow with
    // it (the host is asked to make room by the editor).
    editor_platform::ResizeFrameWindow(window, ScaledLength(size.width(), scale),
                                       ScaledLength(size.height(), scale));
    invalidateArea(size);
    return true;
}

ViewPoint CFrame::outerWindowPosition() const
{
    return openFlag && window ? editor_platform::OuterWindowPosition(window) : ViewPoint{};
}

bool CFrame::setDropActive(bool active)
{
    if (!active && !dropActive)
        return true;
    if (dropTarget)
    {
        // A window the system destroyed took its registration with it.
        if (window)
            editor_platform::RevokeDropTarget(window);
        dropTarget->setFrame(nullptr);
        dropTarget->release();
        dropTarget = nullptr;
    }
    dropActive = false;
    if (!active)
        return true;
    if (!window)
        return false;
    dropTarget = new CDropTarget(this);
    if (!editor_platform::RegisterDropTarget(window, dropTarget))
    {
        dropTarget->setFrame(nullptr);
        dropTarget->release();
        dropTarget = nullptr;
        return false;
    }
    dropActive = true;
    return true;
}

// --- modal and focus views

bool CFrame::setModalView(CView* view)
{
    if (view)
    {
        if (modal || view->isAttached())
            return false;
        modal = view;
        addChild(view);
        return true;
    }
    if (modal)
    {
        CView* ending = modal;
        modal = nullptr;
        removeChild(ending, false);
    }
    return true;
}

void CFrame::setFocusView(CView* view)
{
    if (settingFocus || view == focus)
        return;
    settingFocus = true;
    CView* old = focus;
    focus = view;
    if (focus && focus->takesFocus())
    {
        focus->setNeedsRedraw(true);
        TellAncestors(focus, this, kMsgNewFocusView);
    }
    if (old)
    {
        if (old->takesFocus())
        {
            old->setNeedsRedraw(true);
            TellAncestors(old, this, kMsgOldFocusView);
        }
        old->focusLost();
    }
    settingFocus = false;
}

void CFrame::viewRemoved(CView* view)
{
    if (!view)
        return;
    if (view->isAncestorOf(focus))
        focus = nullptr;
    if (view->isAncestorOf(mouseOver))
        mouseOver = nullptr;
    if (view->isAncestorOf(modal))
        modal = nullptr;
}

// --- editor forwarding

void CFrame::doIdleStuff()
{
    if (editorInterface)
        editorInterface->doIdleStuff();
}

std::int32_t CFrame::getKnobMode() const
{
    return editorInterface ? editorInterface->getKnobMode() : 0;
}

void CFrame::beginEdit(std::int32_t index)
{
    if (editorInterface)
        editorInterface->beginEdit(index);
}

void CFrame::endEdit(std::int32_t index)
{
    if (editorInterface)
        editorInterface->endEdit(index);
}

std::uint32_t CFrame::getTicks() const
{
    return platform::MillisecondClock();
}

// --- mouse

MouseResult CFrame::mouseDown(ViewPoint where, ButtonState buttons)
{
    mouseDownChild = nullptr;
    if (focus)
        setFocusView(nullptr);
    if (mouseOver)
    {
        CView* leaving = mouseOver;
        mouseOver = nullptr;
        leaving->mouseExited(leaving->toLocalPoint(where), buttons);
    }
    if (!modal)
        return CViewContainer::mouseDown(where, buttons);

    if (!modal->containsPoint(where, buttons))
        return kMouseEventNotHandled;
    const MouseResult result = modal->mouseDown(where, buttons);
    if (result == kMouseEventHandled)
    {
        mouseDownChild = modal;
        return kMouseEventHandled;
    }
    if (result != kMouseEventNotImplemented)
        return kMouseEventNotHandled;
    CDrawContext* context = createDrawContext();
    modal->legacyMouse(context, where, buttons);
    context->release();
    return kMouseEventHandled;
}

MouseResult CFrame::mouseMoved(ViewPoint where, ButtonState buttons)
{
    // One leave notification per stay of the pointer in the window.
    if (!trackingLeave && window)
    {
        editor_platform::RequestMouseLeave(window);
        trackingLeave = true;
    }
    if (modal)
        return modal->mouseMoved(where, buttons);
    const MouseResult routed = CViewContainer::mouseMoved(where, buttons);
    if (routed != kMouseEventNotHandled)
        return routed;

    CView* under = childAt(where, true);
    if (under == mouseOver)
    {
        if (!under)
            return kMouseEventNotHandled;
        return under->mouseMoved(under->toLocalPoint(where), 0);
    }
    if (mouseOver)
    {
        CView* leaving = mouseOver;
        mouseOver = nullptr;
        leaving->mouseExited(leaving->toLocalPoint(where), buttons);
    }
    if (!under)
        return kMouseEventHandled;
    under->mouseEntered(under->toLocalPoint(where), buttons);
    mouseOver = under;
    return kMouseEventHandled;
}

MouseResult CFrame::mouseExited(ViewPoint where, ButtonState buttons)
{
    if (mouseOver)
    {
        CView* leaving = mouseOver;
        mouseOver = nullptr;
        leaving->mouseExited(leaving->toLocalPoint(where), buttons);
    }
    trackingLeave = false;
    return kMouseEventHandled;
}

bool CFrame::wheel(ViewPoint where, float distance, ButtonState buttons)
{
    return wheelOnAxis(where, kMouseWheelVertical, distance, buttons);
}

bool CFrame::wheelOnAxis(ViewPoint where, CMouseWheelAxis axis, float distance, ButtonState buttons)
{
    // Not while a view tracks a pressed button.
    if (mouseDownChild)
        return false;
    CView* target = modal ? modal : childAt(where, false);
    return target && target->wheelOnAxis(local(where), axis, distance, buttons);
}

// --- keys and focus

std::int32_t CFrame::keyDown(const KeyCode& key)
{
    const std::int32_t result = offerKeyToFocus(key, &CView::keyDown);
    if (result != -1)
        return result;
    if (key.virt == kVirtualKeyTab)
        return moveFocusToNext(focus, (key.modifier & kModifierShift) != 0) ? 1 : -1;
    return -1;
}

std::int32_t CFrame::keyUp(const KeyCode& key)
{
    return offerKeyToFocus(key, &CView::keyUp);
}

std::int32_t CFrame::offerKeyToFocus(const KeyCode& key, KeyHandler handler)
{
    // Only the focus view and then the modal view see keys, never the other views.
    for (CView* view : {focus, modal})
    {
        if (!view)
            continue;
        const std::int32_t result = (view->*handler)(key);
        if (result != -1)
            return result;
    }
    return -1;
}

bool CFrame::moveFocusToNext(CView* current, bool reverse)
{
    if (modal)
    {
        if (modal->isKindOf("CViewContainer"))
            return static_cast<CViewContainer*>(modal)->moveFocusToNext(current, reverse);
        if (focus == modal)
            return false;
        setFocusView(modal);
        return true;
    }
    if (!current)
        current = focus;
    // From a deeper view, each container on the way up searches after the view it holds.
    CView* from = current;
    while (from && from->getParent() && from->getParent() != this)
    {
        auto* container = static_cast<CViewContainer*>(from->getParent());
        if (container->moveFocusToNext(from, reverse))
            return true;
        from = container;
    }
    if (CViewContainer::moveFocusToNext(from, reverse))
        return true;
    setFocusView(nullptr);
    return false;
}

bool CFrame::isKindOf(const char* className) const
{
    return (className && std::strcmp(className, "CFrame") == 0) ||
           CViewContainer::isKindOf(className);
}

// --- the window procedure's calls

void CFrame::onWindowPaint(DrawSurface& paintBuffer, const ViewRect& windowUpdate)
{
    // Every frame pixel the window's update touches is drawn.
    const ViewRect updateRect{
        std::floor(windowUpdate.left / scale), std::floor(windowUpdate.top / scale),
        std::ceil(windowUpdate.right / scale), std::ceil(windowUpdate.bottom / scale)};
    // A context of this paint only, over the window's kept buffer: nothing is allocated per
    // frame. Whoever retains it during the paint releases it again before the paint ends.
    CDrawContext screen(this, size, paintBuffer);
    screen.setScreenWindow(window);
    if (COffscreenContext* buffer = backBuffer())
    {
        drawArea(buffer, updateRect);
        buffer->copyFrom(&screen, updateRect, {updateRect.left, updateRect.top});
    }
    else
    {
        drawArea(&screen, updateRect);
    }
}

void CFrame::onWindowMouseDown(ViewPoint windowPoint, ButtonState buttons)
{
    const ViewPoint where = fromWindow(windowPoint);
    lastPointer = where;
    lastButtons = buttons;
    // A view that took the press gets the moves and the release even outside the window.
    if (mouseDown(where, buttons) == kMouseEventHandled && window)
    {
        pressCaptured = true;
        editor_platform::CaptureMouse(window);
    }
}

void CFrame::onWindowMouseUp(ViewPoint windowPoint, ButtonState buttons)
{
    const ViewPoint where = fromWindow(windowPoint);
    lastPointer = where;
    lastButtons = buttons;
    // Cleared first: giving the capture back is not a loss of it.
    pressCaptured = false;
    mouseUp(where, buttons);
    editor_platform::ReleaseMouseCapture();
}

void CFrame::onWindowMouseMoved(ViewPoint windowPoint, ButtonState buttons)
{
    const ViewPoint where = fromWindow(windowPoint);
    lastPointer = where;
    lastButtons = buttons;
    mouseMoved(where, buttons);
}

void CFrame::onWindowCaptureLost()
{
    if (!pressCaptured)
        return;
    pressCaptured = false;
    // The release happened where this window could not see it: end the press as a release
    // where the pointer was last seen, with the modifiers then held and no button.
    const ButtonState modifiers = lastButtons & (kShift | kControl | kAlt);
    mouseUp(lastPointer, modifiers);
}

void CFrame::onWindowMouseLeave()
{
    mouseExited(currentMouseLocation(), currentMouseButtons());
}

void CFrame::onWindowWheel(ViewPoint screenPoint, int delta, ButtonState modifiers,
                           CMouseWheelAxis axis)
{
    const ViewPoint origin = editor_platform::WindowScreenOrigin(window);
    const ViewPoint where = fromWindow({screenPoint.h - origin.h, screenPoint.v - origin.v});
    // Whole notches only: a delta below 120 in magnitude turns nothing.
    const int notches = delta / kWheelDeltaPerNotch;
    wheelOnAxis(where, axis, static_cast<float>(notches), modifiers);
}

void CFrame::onWindowDestroyed()
{
    openFlag = false;
    parentWindow = nullptr;
    // The handle may soon name another window: forget it, so nothing is done to it later.
    window = nullptr;
    windowDestroyedBySystem = true;
    pressCaptured = false;
}

} // namespace vrn
