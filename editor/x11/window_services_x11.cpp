// What the frame asks of X11 besides its own window: screen positions, the pointer and its
// buttons, cursors, the outer window, the content scale, the system version, paint dispatch,
// waiting, and the Windows services (OLE, drop targets, shortcuts) that have no counterpart here.
#include "editor/platform.h"

#include "editor/x11/x11_window.h"

#include <X11/cursorfont.h>

#include <charconv>
#include <chrono>
#include <cstring>
#include <thread>

namespace vrn::editor_platform
{

namespace
{
constexpr double kDefaultDpi = 96.0; ///< what a content scale of 1 is

// Stand-ins for the system cursors: SystemCursor answers the address of one, which tells
// ShowCursorHandle the shape.
const char cursorTokens[10] = {};

// The X cursor font's shape for a system cursor.
unsigned int CursorFontShape(CCursorType shape)
{
    switch (shape)
    {
    case kCursorWait:
        return XC_watch;
    case kCursorHSize:
        return XC_sb_h_double_arrow;
    case kCursorVSize:
        return XC_sb_v_double_arrow;
    case kCursorSizeAll:
        return XC_fleur;
    case kCursorNESWSize:
        return XC_bottom_left_corner;
    case kCursorNWSESize:
        return XC_bottom_right_corner;
    case kCursorNotAllowed:
        return XC_X_cursor;
    case kCursorHand:
        return XC_hand2;
    default:
        return XC_left_ptr;
    }
}
} // namespace

ViewPoint WindowScreenOrigin(void* window)
{
    X11Window* record = LiveWindow(window);
    if (!record || record->connectionLost)
        return {};
    // Asked at every paint: one round trip to the server per handling of events at most.
    if (!record->originKnown)
    {
        XErrorTrap trap(record->display);
        int x = 0;
        int y = 0;
        Window child = 0;
        if (XTranslateCoordinates(record->display, record->window,
                                  DefaultRootWindow(record->display), 0, 0, &x, &y, &child))
            record->origin = {static_cast<double>(x), static_cast<double>(y)};
        record->originKnown = true;
    }
    return record->origin;
}

ViewPoint CursorScreenPosition()
{
    X11Window* record = CurrentWindow();
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    if (!record || !QueryPointer(*record, x, y, mask))
        return {};
    return {static_cast<double>(x), static_cast<double>(y)};
}

ButtonState CurrentButtonState()
{
    X11Window* record = CurrentWindow();
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    if (!record || !QueryPointer(*record, x, y, mask))
        return 0;
    return ButtonStateOfMask(mask);
}

void* CurrentCursor()
{
    const X11Window* record = CurrentWindow();
    return record ? const_cast<void*>(record->cursorShape) : nullptr;
}

void* SystemCursor(CCursorType shape)
{
    // The default and the copy cursor are the default one.
    if (shape <= kCursorDefault || shape > kCursorHand || shape == kCursorCopy)
        return nullptr;
    return const_cast<char*>(&cursorTokens[shape]);
}

void ShowCursorHandle(void* cursor)
{
    X11Window* record = CurrentWindow();
    if (!record || record->connectionLost || cursor == record->cursorShape)
        return;
    XErrorTrap trap(record->display);
    const Cursor previous = record->cursor;
    record->cursor = 0;
    record->cursorShape = cursor;
    // Null is the default cursor: the one of the host's window, which the editor's inherits.
    if (cursor)
    {
        const auto shape =
            static_cast<CCursorType>(static_cast<const char*>(cursor) - cursorTokens);
        record->cursor = XCreateFontCursor(record->display, CursorFontShape(shape));
        XDefineCursor(record->display, record->window, record->cursor);
    }
    else
    {
        XUndefineCursor(record->display, record->window);
    }
    if (previous)
        XFreeCursor(record->display, previous);
    XFlush(record->display);
}

ViewPoint OuterWindowPosition(void*)
{
    // The editor's window sits at the top-left corner of the host's window, which is the host's.
    return {};
}

double WindowContentScale(void*)
{
    // Desktops publish their scaling as the Xft.dpi resource of the display (xrdb; settings
    // daemons keep it up to date); without it the display is taken as 96 DPI. The host's window
    // is on the display the environment names, as the editor's own will be.
    Display* display = OpenDisplayConnection();
    if (!display)
        return 1.0;
    double dpi = 0.0;
    if (const char* text = XGetDefault(display, "Xft", "dpi"))
    {
        // "144" or "144.0", read without the C library's locale (a host's may use a decimal
        // comma).
        const char* end = text + std::strlen(text);
        if (std::from_chars(text, end, dpi).ec != std::errc{})
            dpi = 0.0;
    }
    XCloseDisplay(display);
    return dpi > 0.0 ? dpi / kDefaultDpi : 1.0;
}

int OsMajorVersion()
{
    // Anything from 6 on: every frame is drawn offscreen by this back end already, so the
    // frame's back buffer for old Windows systems is never wanted.
    return 6;
}

bool DispatchPendingPaint()
{
    // Painting happens where the window's events are handled (the frame's idle).
    return false;
}

void SleepMilliseconds(unsigned milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool InitializeOle()
{
    return false; // no OLE here: nothing to balance
}

void UninitializeOle() {}

bool RegisterDropTarget(void*, CDropTarget*)
{
    return false; // no drop target: the gate's editor takes no drops
}

void RevokeDropTarget(void*) {}

bool ResolveShortcut(const std::u16string&, std::u16string&)
{
    return false;
}

} // namespace vrn::editor_platform
