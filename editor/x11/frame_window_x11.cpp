// The frame's child window on X11: each editor opens its own connection to the display named by
// the environment, makes a child of the host's window, and reads and paints its events when the
// frame idles (the host's effEditIdle), as editor/frame_window.h lists them.
#include "editor/frame_window.h"
#include "editor/platform.h"

#include "editor/x11/cairo_surface.h"
#include "editor/x11/x11_window.h"

#include <X11/Xutil.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace vrn::editor_platform
{

namespace
{
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            LeaveWindowMask | StructureNotifyMask;

// A broken connection must not end the host: Xlib calls this instead of exit() (the error trap
// keeps Xlib's own handler from ending the process first). The record stops sending; the
// host's effEditClose frees it.
void ConnectionLost(Display*, void* record)
{
    static_cast<X11Window*>(record)->connectionLost = true;
}

// Frees the offscreen image and Xlib's view of its pixels.
void FreeImage(X11Window& record)
{
    record.paintBuffer.reset(); // draws into the image: goes first
    if (record.pixels)
    {
        record.pixels->data = nullptr; // cairo's memory
        XDestroyImage(record.pixels);
        record.pixels = nullptr;
    }
    cairo_surface_destroy(record.image);
    record.image = nullptr;
}

// An offscreen image of the window's size whose pixels the window takes as they are: 32 bits a
// pixel, 8 bits a colour (every 24- and 32-bit TrueColor visual). False for any other visual.
/// Grows `area` to hold the pixels of `part` that lie inside the window.
void Add(PixelBox& area, const X11Window& record, const PixelBox& part)
{
    area = area.joined(part.within({0, 0, record.width, record.height}));
}

bool MakeImage(X11Window& record, const XWindowAttributes& window)
{
    const Visual* visual = window.visual;
    if ((window.depth != 24 && window.depth != 32) || visual->c_class != TrueColor ||
        visual->red_mask != 0xFF0000u || visual->green_mask != 0xFF00u ||
        visual->blue_mask != 0xFFu)
        return false;
    // A 32-bit window has an alpha channel: its pixels must say they are opaque.
    record.image = cairo_image_surface_create(
        window.depth == 32 ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, record.width, record.height);
    if (cairo_surface_status(record.image) != CAIRO_STATUS_SUCCESS)
        return false;
    record.pixels =
        XCreateImage(record.display, window.visual, static_cast<unsigned>(window.depth), ZPixmap, 0,
                     reinterpret_cast<char*>(cairo_image_surface_get_data(record.image)),
                     static_cast<unsigned>(record.width), static_cast<unsigned>(record.height), 32,
                     cairo_image_surface_get_stride(record.image));
    if (!record.pixels)
        return false;
    // cairo's words are in this machine's byte order; Xlib converts for a server of the other.
    const std::uint32_t probe = 1;
    record.pixels->byte_order =
        *reinterpret_cast<const unsigned char*>(&probe) == 1 ? LSBFirst : MSBFirst;
    // Nothing is known of what the window shows: it is sent whole first.
    record.shown.assign(static_cast<std::size_t>(cairo_image_surface_get_stride(record.image)) /
                            sizeof(std::uint32_t) * static_cast<std::size_t>(record.height),
                        0);
    Add(record.exposed, record, {0, 0, record.width, record.height});
    // The paint buffer the frame draws each frame through, kept with the image.
    record.paintBuffer = CairoSurface::onImage(record.image);
    return record.paintBuffer != nullptr;
}

// Frees what the record holds and closes its connection; destroys the window unless the
// system destroyed it already.
void Free(X11Window* record)
{
    {
        XErrorTrap trap(record->display);
        FreeImage(*record);
        // The GC's memory is Xlib's own, even when nothing reaches the server any more.
        if (record->gc)
            XFreeGC(record->display, record->gc);
        if (!record->connectionLost)
        {
            if (!record->destroyed && record->window)
                XDestroyWindow(record->display, record->window);
            if (record->cursor)
                XFreeCursor(record->display, record->cursor);
        }
        XCloseDisplay(record->display);
    }
    delete record;
}

// Sends `part` of the frame to the window as it is, and notes that the window shows it.
void Send(X11Window& record, const PixelBox& part, const std::uint32_t* frame, int stride)
{
    XPutImage(record.display, record.window, record.gc, record.pixels, part.left, part.top,
              part.left, part.top, static_cast<unsigned>(part.width()),
              static_cast<unsigned>(part.height()));
    for (int y = part.top; y < part.bottom; ++y)
    {
        const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(y) * stride + part.left;
        std::memcpy(&record.shown[static_cast<std::size_t>(row)], frame + row,
                    static_cast<std::size_t>(part.width()) * sizeof(std::uint32_t));
    }
}

// Brings the window up to date with the frame drawn in `area` of the offscreen image, once per
// frame, so nothing flickers: what the window lost (`exposed`) whole, elsewhere only the parts
// that differ from what it shows. A whole frame is 900 kB through the server's socket, some
// 1.5 ms here; most frames change a meter, a light or a handle.
void Present(X11Window& record, const PixelBox& area, const PixelBox& exposed)
{
    if (!record.pixels)
        return;
    cairo_surface_flush(record.image);
    const auto* frame =
        reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(record.image));
    const int stride =
        cairo_image_surface_get_stride(record.image) / static_cast<int>(sizeof(std::uint32_t));
    if (!exposed.empty())
        Send(record, exposed, frame, stride);
    FindChangedAreas(frame, record.shown.data(), stride, area, record.changed);
    for (const PixelBox& part : record.changed)
        Send(record, part, frame, stride);
    XFlush(record.display);
}

void Paint(X11Window& record)
{
    if (record.invalid.empty() || !record.pixels || !record.paintBuffer)
        return;
    const PixelBox area = record.invalid;
    const PixelBox exposed = record.exposed;
    record.invalid = PixelBox{};
    record.exposed = PixelBox{};
    // The frame draws into the offscreen image through the kept paint buffer.
    record.client->onWindowPaint(
        *record.paintBuffer, {static_cast<double>(area.left), static_cast<double>(area.top),
                              static_cast<double>(area.right), static_cast<double>(area.bottom)});
    Present(record, area, exposed);
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
    {
        const XExposeEvent& lost = event.xexpose;
        const PixelBox part{lost.x, lost.y, lost.x + lost.width, lost.y + lost.height};
        Add(record.invalid, record, part);
        Add(record.exposed, record, part);
        return;
    }
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
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    return QueryPointer(record, x, y, mask) &&
           (ButtonStateOfMask(mask) & record.pointer.pressedButtons()) != 0;
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
            record->gc = XCreateGC(display, record->window, 0, nullptr);
            XSync(display, False);
            XWindowAttributes windowAttributes{};
            made = trap.errors() == 0 &&
                   XGetWindowAttributes(display, record->window, &windowAttributes) &&
                   MakeImage(*record, windowAttributes);
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
        Add(record->invalid, *record, {left, top, right, bottom});
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
                Present(*drawn, PixelBox{0, 0, drawn->width, drawn->height}, PixelBox{});
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
    XWindowAttributes attributes{};
    XGetWindowAttributes(record->display, record->window, &attributes);
    FreeImage(*record);
    record->width = width;
    record->height = height;
    // What was waiting to be painted or sent may lie outside a smaller window: the whole new
    // window is painted and sent instead.
    record->invalid = PixelBox{};
    record->exposed = PixelBox{};
    if (!MakeImage(*record, attributes))
    {
        FreeImage(*record);
        record->width = 0;
        record->height = 0;
        return false;
    }
    Add(record->invalid, *record, {0, 0, width, height});
    return true;
}

} // namespace vrn::editor_platform
