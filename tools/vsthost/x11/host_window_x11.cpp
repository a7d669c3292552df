// The host tool's editor window on X11: an override-redirect top-level window at the screen's
// top-left, real pointer and key input through the XTest extension (as a user's hand would make
// it, so the plug-in sees exactly what the X server reports), repaints by exposing the plug-in's
// window, and the picture read back from the screen.
#include "tools/vsthost/editor_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <cairo.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

namespace vrn
{
namespace
{

constexpr unsigned int kLeftButton = 1;
constexpr unsigned int kWheelUp = 4;
constexpr unsigned int kWheelDown = 5;
constexpr int kWheelNotch = 120;
// The plug-in paints on a connection of its own, which the server may serve after this one:
// before reading the screen, it gets this long to finish what it sent.
constexpr std::chrono::milliseconds kSettle{20};

// The bits of `mask` as a shift and a width, for pixel values.
struct Channel
{
    int shift = 0;
    unsigned long max = 0;

    explicit Channel(unsigned long mask)
    {
        while (mask != 0 && (mask & 1u) == 0)
        {
            mask >>= 1;
            ++shift;
        }
        max = mask;
    }
    [[nodiscard]] std::uint32_t Byte(unsigned long pixel) const
    {
        return max == 0 ? 0u : static_cast<std::uint32_t>(((pixel >> shift) & max) * 255u / max);
    }
};

class X11HostWindow final : public HostWindow
{
public:
    X11HostWindow(Display* connection, Window made, int w, int h)
        : display(connection), window(made), width(w), height(h)
    {
    }
    ~X11HostWindow() override
    {
        // A press the commands left open must not stay held on the server.
        if (buttonHeld)
            XTestFakeButtonEvent(display, kLeftButton, False, CurrentTime);
        EndMouse();
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    X11HostWindow(const X11HostWindow&) = delete;
    X11HostWindow& operator=(const X11HostWindow&) = delete;

    [[nodiscard]] void* ParentHandle() const override
    {
        // Hosts hand an X11 window to effEditOpen as its id in the pointer.
        // NOLINTNEXTLINE(performance-no-int-to-ptr)
        return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
    }

    [[nodiscard]] bool HasEditorWindow() const override { return EditorChild() != 0; }

    void Pump() override
    {
        while (XPending(display) > 0)
        {
            XEvent event;
            XNextEvent(display, &event);
        }
    }

    void Resize(int newWidth, int newHeight) override
    {
        XResizeWindow(display, window, static_cast<unsigned>(newWidth),
                      static_cast<unsigned>(newHeight));
        XSync(display, False);
        width = newWidth;
        height = newHeight;
    }

    bool SendMouse(const MouseInput& input, std::string& error) override
    {
        if (!HasEditorWindow())
        {
            error = "the editor made no window of its own";
            return false;
        }
        if (input.keys & kKeyShift)
            HoldKey(XK_Shift_L);
        if (input.keys & kKeyControl)
            HoldKey(XK_Control_L);
        // The window sits at the screen's origin: editor and screen coordinates are the same.
        XTestFakeMotionEvent(display, DefaultScreen(display), input.x, input.y, CurrentTime);
        switch (input.kind)
        {
        case MouseInput::kLeftDown:
            XTestFakeButtonEvent(display, kLeftButton, True, CurrentTime);
            buttonHeld = true;
            break;
        case MouseInput::kLeftUp:
            XTestFakeButtonEvent(display, kLeftButton, False, CurrentTime);
            buttonHeld = false;
            break;
        case MouseInput::kWheel:
            // A wheel notch is a press and release of button 4 (away from the user) or 5.
            for (int notch = 0; notch < std::abs(input.wheelDelta / kWheelNotch); ++notch)
            {
                const unsigned int button = input.wheelDelta > 0 ? kWheelUp : kWheelDown;
                XTestFakeButtonEvent(display, button, True, CurrentTime);
                XTestFakeButtonEvent(display, button, False, CurrentTime);
            }
            break;
        default:
            break;
        }
        // The server has made the events once this returns.
        XSync(display, False);
        return true;
    }

    void EndMouse() override
    {
        for (KeyCode key : heldKeys)
            XTestFakeKeyEvent(display, key, False, CurrentTime);
        heldKeys.clear();
        XSync(display, False);
    }

    bool PaintNow(HostSession& session, std::string& error) override
    {
        const Window editor = EditorChild();
        if (editor == 0)
        {
            error = "the editor made no window of its own";
            return false;
        }
        // An expose of the whole window, which the plug-in paints at its next idle.
        XClearArea(display, editor, 0, 0, 0, 0, True);
        XSync(display, False);
        session.Dispatch(effEditIdle);
        return true;
    }

    bool Capture(Image& image, std::string& error) override
    {
        XSync(display, False);
        std::this_thread::sleep_for(kSettle);
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, window, &attributes);
        XImage* pixels =
            XGetImage(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), AllPlanes, ZPixmap);
        if (pixels == nullptr)
        {
            error = "cannot read the editor's pixels";
            return false;
        }
        const Channel red(attributes.visual->red_mask);
        const Channel green(attributes.visual->green_mask);
        const Channel blue(attributes.visual->blue_mask);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                const unsigned long pixel = XGetPixel(pixels, x, y);
                image.Set(x, y, red.Byte(pixel) << 16 | green.Byte(pixel) << 8 | blue.Byte(pixel));
            }
        XDestroyImage(pixels);
        return true;
    }

private:
    [[nodiscard]] Window EditorChild() const
    {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count))
            return 0;
        const Window first = count > 0 ? children[0] : 0;
        if (children != nullptr)
            XFree(children);
        return first;
    }

    void HoldKey(KeySym symbol)
    {
        const KeyCode key = XKeysymToKeycode(display, symbol);
        if (key == 0)
            return;
        XTestFakeKeyEvent(display, key, True, CurrentTime);
        heldKeys.push_back(key);
    }

    Display* display;
    Window window;
    int width;
    int height;
    std::vector<KeyCode> heldKeys;
    bool buttonHeld = false;
};

} // namespace

bool WriteCompressedPng(const std::string& path, const Image& image, std::string& error)
{
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; data != nullptr && y < image.height; ++y)
    {
        auto* row =
            reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < image.width; ++x)
        {
            const std::size_t at =
                3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                     static_cast<std::size_t>(x));
            row[x] = static_cast<std::uint32_t>(image.rgb[at]) << 16 |
                     static_cast<std::uint32_t>(image.rgb[at + 1]) << 8 | image.rgb[at + 2];
        }
    }
    cairo_surface_mark_dirty(surface);
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS)
    {
        error = "cannot write " + path + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

std::unique_ptr<HostWindow> HostWindow::Create(int width, int height, std::string& error)
{
    // A busy X server may drop a new connection at once: three tries.
    Display* display = XOpenDisplay(nullptr);
    for (int retry = 0; display == nullptr && retry < 2; ++retry)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        display = XOpenDisplay(nullptr);
    }
    if (display == nullptr)
    {
        error = "cannot open the X display (is DISPLAY set?)";
        return nullptr;
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor))
    {
        XCloseDisplay(display);
        error = "the X server has no XTest extension for input";
        return nullptr;
    }
    // Borderless at the screen's origin and left alone by any window manager, as the Windows
    // build's popup; mapped and on screen before the editor opens in it.
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    attributes.event_mask = StructureNotifyMask;
    const Window window =
        XCreateWindow(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XMapRaised(display, window);
    XEvent event;
    do
        XWindowEvent(display, window, StructureNotifyMask, &event);
    while (event.type != MapNotify);
    return std::make_unique<X11HostWindow>(display, window, width, height);
}

} // namespace vrn
