// The frame's child window on X11: each editor opens its own connection to the display named by
// the environment, makes a child of the host's window, and reads and paints its events when the
// frame idles (the host's effEditIdle), as editor/frame_window.h lists them.
#include "editor/frame_window.h"
#include "editor/platform.h"

#include "editor/x11/cairo_surface.h"
#include "editor/x11/x11_window.h"

#include <X11/Xutil.h>
#include <cairo-xlib.h>

#include <cstdint>
#include <memory>

namespace vrn::editor_platform
{

namespace
{
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            LeaveWindowMask | StructureNotifyMask;

// A broken connection must not end the host: Xlib calls this instead of exit(). The record
// stops sending; the host's effEditClose frees it.
void ConnectionLost(Display*, void* record)
{
    static_cast<X11Window*>(record)->connectionLost = true;
}

// Frees what the record holds and closes its connection; destroys the window unless the
// system destroyed it already.
void Free(X11Window* record)
{
    {
        XErrorTrap trap(record->display);
        cairo_destroy(record->presenter);
        cairo_surface_destroy(record->image);
        cairo_surface_destroy(record->windowSurface);
        if (!record->connectionLost)
        {
            if (!record->destroyed)
                XDestroyWindow(record->display, record->window);
            if (record->cursor)
                XFreeCursor(record->display, record->cursor);
        }
        XCloseDisplay(record->display);
    }
    delete record;
}

// The offscreen image at the window's size, the window's cairo surface and the copy between
// them; false when cairo refuses.
bool MakeSurfaces(X11Window& record, Visual* visual)
{
    record.windowSurface = cairo_xlib_surface_create(record.display, record.window, visual,
                                                     record.width, record.height);
    // A plain image in the server's pixel layout (cairo's images "similar" to the window, in
    // shared memory, keep about 48 bytes per display after it closes: 1,000 editors would
    // leave 48 kB behind).
    record.image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, record.width, record.height);
    record.presenter = cairo_create(record.windowSurface);
    if (cairo_surface_status(record.windowSurface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_status(record.image) != CAIRO_STATUS_SUCCESS ||
        cairo_status(record.presenter) != CAIRO_STATUS_SUCCESS)
        return false;
    cairo_set_operator(record.presenter, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(record.presenter, record.image, 0.0, 0.0);
    return true;
}

// Copies the area of the offscreen image to the window: once per frame, so nothing flickers.
void Present(X11Window& record, const InvalidArea& area)
{
    cairo_new_path(record.presenter);
    cairo_rectangle(record.presenter, area.left, area.top, area.right - area.left,
                    area.bottom - area.top);
    cairo_fill(record.presenter);
    cairo_surface_flush(record.windowSurface);
    XFlush(record.display);
}

void Paint(X11Window& record)
{
    if (record.invalid.isEmpty())
        return;
    const InvalidArea area = record.invalid;
    record.invalid = InvalidArea{};
    // The frame draws into the offscreen image (its "device context" here).
    record.client->onWindowPaint(
        record.image, {static_cast<double>(area.left), static_cast<double>(area.top),
                       static_cast<double>(area.right), static_cast<double>(area.bottom)});
    Present(record, area);
}

// True when the event after this one is a pointer move as well: moves come in runs, and only
// the last of a run matters (Windows merges them the same way).
bool MoreMotionQueued(Display* display)
{
    if (XEventsQueued(display, QueuedAlready) == 0)
        return false;
    XEvent next;
    XPeekEvent(display, &next);
    return next.type == MotionNotify;
}

void Dispatch(X11Window& record, const XEvent& event)
{
    switch (event.type)
    {
    case Expose:
        record.invalid.add(event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                           event.xexpose.y + event.xexpose.height, record.width, record.height);
        return;
    case DestroyNotify:
        if (event.xdestroywindow.window != record.window)
            return;
        // A press in progress ends with the window: its release will never come.
        record.destroyed = true;
        record.pointer.endPress(*record.client);
        record.client->onWindowDestroyed();
        return;
    case UnmapNotify:
        record.pointer.endPress(*record.client);
        return;
    case MotionNotify:
        if (MoreMotionQueued(record.display))
            return;
        break;
    default:
        break;
    }
    record.pointer.translate(event, *record.client);
}

// While a press in the window holds the pointer: true when it still does. X ends the press's
// grab without a release for the window when the window can no longer be seen (the host hid an
// ancestor, which tells the window nothing), and the release then goes elsewhere. Other
// clients' grabs fail meanwhile, so nothing else ends it. Two round trips per handling, during
// a press only.
bool PressStillHeld(X11Window& record)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(record.display, record.window, &attributes) ||
        attributes.map_state != IsViewable)
        return false;
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    XQueryPointer(record.display, record.window, &root, &child, &rootX, &rootY, &x, &y, &mask);
    return (ButtonStateOfMask(mask) & record.pointer.pressedButtons()) != 0;
}

// Reads and dispatches every event waiting; then, while a press seems in progress, makes sure
// X still holds the pointer for it (a release that arrived meanwhile is read first).
void DispatchPending(X11Window& record, void* handle)
{
    for (;;)
    {
        while (!record.destroyed && !record.connectionLost && XPending(record.display) > 0)
        {
            XEvent event;
            XNextEvent(record.display, &event);
            Dispatch(record, event);
            // A client that closed the editor from an event has freed the record.
            if (LiveWindow(handle) != &record)
                return;
        }
        if (record.destroyed || record.connectionLost || !record.pointer.pressedButtons() ||
            PressStillHeld(record))
            return;
        if (XEventsQueued(record.display, QueuedAlready) == 0)
        {
            record.pointer.endPress(*record.client);
            return;
        }
    }
}

} // namespace

void* CreateFrameWindow(void* parentWindow, int width, int height, FrameWindowClient* client)
{
    if (!parentWindow || !client || width <= 0 || height <= 0)
        return nullptr;
    // The host names its window by the X11 id; the editor talks to the display on a connection
    // of its own, which a host without a display (a render server) does not have.
    Display* display = OpenDisplayConnection();
    if (!display)
        return nullptr;
    auto record = std::make_unique<X11Window>();
    record->display = display;
    record->client = client;
    record->width = width;
    record->height = height;
    XSetIOErrorExitHandler(display, &ConnectionLost, record.get());
    bool made = false;
    {
        XErrorTrap trap(display);
        const auto parent = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parentWindow));
        XWindowAttributes parentAttributes{};
        if (XGetWindowAttributes(display, parent, &parentAttributes) &&
            parentAttributes.c_class == InputOutput)
        {
            // No background: the server does not clear what the editor paints in full.
            XSetWindowAttributes attributes{};
            attributes.background_pixmap = None;
            attributes.bit_gravity = NorthWestGravity;
            attributes.event_mask = kEventMask;
            record->window = XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(width),
                                           static_cast<unsigned>(height), 0, CopyFromParent,
                                           InputOutput, CopyFromParent,
                                           CWBackPixmap | CWBitGravity | CWEventMask, &attributes);
            XMapWindow(display, record->window);
            XSync(display, False);
            made = trap.errors() == 0 && MakeSurfaces(*record, parentAttributes.visual);
        }
    }
    if (!made)
    {
        Free(record.release());
        return nullptr;
    }
    AddLiveWindow(record.get());
    return record.release();
}

void DestroyFrameWindow(void* window)
{
    X11Window* record = LiveWindow(window);
    if (!record)
        return;
    RemoveLiveWindow(record);
    Free(record);
}

void ForgetFrameWindow()
{
    // No class registration on X11; a window the system destroyed was freed as its destruction
    // was handled.
}

void InvalidateWindowRect(void* window, int left, int top, int right, int bottom)
{
    if (X11Window* record = LiveWindow(window))
        record->invalid.add(left, top, right, bottom, record->width, record->height);
}

void HandleWindowEvents(void* window)
{
    X11Window* record = LiveWindow(window);
    if (!record || record->connectionLost)
        return;
    {
        XErrorTrap trap(record->display);
        HandlingWindow current(record);
        record->originKnown = false;
        DispatchPending(*record, window);
        if (LiveWindow(window) != record)
            return;
        if (!record->destroyed && !record->connectionLost)
            Paint(*record);
    }
    // The frame has forgotten a window the system destroyed: nobody will name it again.
    if (record->destroyed)
    {
        RemoveLiveWindow(record);
        Free(record);
    }
}

void CaptureMouse(void*)
{
    // The press that the frame captures for has grabbed the pointer already: X grabs it for
    // the window of a press until the last button is released.
}

void ReleaseMouseCapture()
{
    // The implicit grab ends with the release.
}

void RequestMouseLeave(void* window)
{
    if (X11Window* record = LiveWindow(window))
        record->pointer.requestLeave();
}

std::unique_ptr<DrawSurface> CreateContextSurface(void* deviceContext, void* window)
{
    // During a paint the frame draws into the window's offscreen image; outside one (a context
    // made for the window), the image is copied to the window when the drawing is done.
    if (deviceContext)
        return CairoSurface::onImage(static_cast<cairo_surface_t*>(deviceContext));
    X11Window* record = LiveWindow(window);
    if (!record || record->connectionLost)
        return nullptr;
    return CairoSurface::onImage(
        record->image,
        [](void* argument)
        {
            auto* drawn = static_cast<X11Window*>(argument);
            // The record may have gone while the context lived (the window was destroyed).
            if (LiveWindow(drawn) && !drawn->connectionLost)
            {
                XErrorTrap trap(drawn->display);
                Present(*drawn, InvalidArea{0, 0, drawn->width, drawn->height});
            }
        },
        record);
}

bool ResizeFrameWindow(void* window, int width, int height)
{
    X11Window* record = LiveWindow(window);
    if (!record || record->connectionLost || width <= 0 || height <= 0)
        return false;
    XErrorTrap trap(record->display);
    // Hosts size their own windows on Linux: only the editor's window and its image change.
    XResizeWindow(record->display, record->window, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
    cairo_surface_t* image = cairo_surface_create_similar_image(record->windowSurface,
                                                                CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(image);
        return false;
    }
    cairo_surface_destroy(record->image);
    record->image = image;
    record->width = width;
    record->height = height;
    cairo_xlib_surface_set_size(record->windowSurface, width, height);
    cairo_set_source_surface(record->presenter, record->image, 0.0, 0.0);
    record->invalid.add(0, 0, width, height, width, height);
    return true;
}

} // namespace vrn::editor_platform
