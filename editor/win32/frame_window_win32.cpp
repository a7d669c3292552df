// The frame's child window: class registration shared by all frames of the module, creation
// and destruction, and the window procedure that turns messages into FrameWindowClient calls.
#include "editor/frame_window.h"
#include "editor/platform.h"
#include "editor/win32/paint_buffer.h"

#include "platform/platform.h"

#include <windows.h>

#include <windowsx.h>

namespace vrn::editor_platform
{

namespace
{
// Process-wide, shared by every frame of this module; the UI thread only touches them.
wchar_t className[100] = {};
int gUseCount = 0; ///< frame windows made with the class and not yet given back
bool swapButtons = false;

constexpr DWORD kFrameStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

HINSTANCE ModuleInstance()
{
    return static_cast<HINSTANCE>(platform::ModuleHandle());
}

FrameWindowClient* ClientOf(HWND window)
{
    return reinterpret_cast<FrameWindowClient*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

ViewPoint PointOf(LPARAM lParam)
{
    return {static_cast<double>(GET_X_LPARAM(lParam)), static_cast<double>(GET_Y_LPARAM(lParam))};
}

bool KeyHeld(int virtualKey)
{
    return GetKeyState(virtualKey) < 0;
}

// Buttons and modifiers from a mouse message's key flags, plus alt, which the flags lack.
ButtonState ButtonsOf(WPARAM wParam)
{
    const WORD flags = GET_KEYSTATE_WPARAM(wParam);
    ButtonState buttons = 0;
    if (flags & MK_LBUTTON)
        buttons |= kLButton;
    if (flags & MK_MBUTTON)
        buttons |= kMButton;
    if (flags & MK_RBUTTON)
        buttons |= kRButton;
    if (flags & MK_SHIFT)
        buttons |= kShift;
    if (flags & MK_CONTROL)
        buttons |= kControl;
    if (KeyHeld(VK_MENU))
        buttons |= kAlt;
    if (flags & MK_XBUTTON1)
        buttons |= kButton4;
    if (flags & MK_XBUTTON2)
        buttons |= kButton5;
    return buttons;
}

void Paint(HWND window, FrameWindowClient& client)
{
    // Asked without a region object of its own: painting makes no GDI object per frame.
    if (GetUpdateRect(window, nullptr, FALSE))
    {
        PAINTSTRUCT paint;
        HDC deviceContext = BeginPaint(window, &paint);
        RECT clientArea{};
        GetClientRect(window, &clientArea);
        PaintBuffer* buffer =
            deviceContext ? PaintBuffer::For(window, clientArea.right, clientArea.bottom) : nullptr;
        if (buffer)
        {
            const RECT& area = paint.rcPaint;
            client.onWindowPaint(buffer->Surface(),
                                 {static_cast<double>(area.left), static_cast<double>(area.top),
                                  static_cast<double>(area.right),
                                  static_cast<double>(area.bottom)});
            buffer->CopyTo(deviceContext, area);
        }
        EndPaint(window, &paint);
    }
}

void Wheel(WPARAM wParam, LPARAM lParam, FrameWindowClient& client)
{
    ButtonState modifiers = 0;
    if (KeyHeld(VK_SHIFT))
        modifiers |= kShift;
    if (KeyHeld(VK_CONTROL))
        modifiers |= kControl;
    if (KeyHeld(VK_MENU))
        modifiers |= kAlt;
    // Screen coordinates are signed: monitors left of or above the primary one are negative.
    client.onWindowWheel(PointOf(lParam), GET_WHEEL_DELTA_WPARAM(wParam), modifiers,
                         kMouseWheelVertical);
}

LRESULT CALLBACK FrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Whoever destroys the window, bound or not, its paint buffer goes with it.
    if (message == WM_NCDESTROY)
        PaintBuffer::Free(window);
    FrameWindowClient* client = ClientOf(window);
    if (!client)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message)
    {
    case WM_DESTROY:
        // Destroyed with the host's window: the drop registration goes while the handle is
        // still valid, and the frame forgets the handle (it may soon name another window).
        RevokeDropTarget(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        client->onWindowDestroyed();
        break;
    case WM_CAPTURECHANGED:
        // Another window took the pointer (a modal dialog, a window switch): the release of a
        // press in progress will never come here.
        if (reinterpret_cast<HWND>(lParam) != window)
            client->onWindowCaptureLost();
        return 0;
    case WM_CANCELMODE:
        client->onWindowCaptureLost();
        break; // the default processing gives the capture back
    case WM_PAINT:
        Paint(window, *client);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the frame paints every pixel itself
    case WM_MOUSEMOVE:
        client->onWindowMouseMoved(PointOf(lParam), ButtonsOf(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        client->onWindowMouseDown(PointOf(lParam), ButtonsOf(wParam));
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDBLCLK:
        client->onWindowMouseDown(PointOf(lParam), ButtonsOf(wParam) | kDoubleClick);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
        client->onWindowMouseUp(PointOf(lParam), ButtonsOf(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        Wheel(wParam, lParam, *client);
        break; // the host's window sees the wheel too
    case WM_MOUSELEAVE:
        client->onWindowMouseLeave();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterFrameClass()
{
    wsprintfW(className, L"Plugin%p", static_cast<void*>(ModuleInstance()));
    WNDCLASSW windowClass{};
    windowClass.style = CS_GLOBALCLASS | CS_DBLCLKS;
    windowClass.lpfnWndProc = FrameWindowProc;
    windowClass.hInstance = ModuleInstance();
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
    windowClass.lpszClassName = className;
    if (!RegisterClassW(&windowClass))
        return false;
    swapButtons = GetSystemMetrics(SM_SWAPBUTTON) > 0;
    return true;
}

// One frame window fewer; the last one takes the class with it.
void ReleaseFrameClass()
{
    if (--gUseCount == 0)
        UnregisterClassW(className, ModuleInstance());
}
} // namespace

ButtonState CurrentButtonState()
{
    // The physical keys: the left button is the right one for users who swapped them.
    ButtonState buttons = 0;
    if (GetAsyncKeyState(swapButtons ? VK_RBUTTON : VK_LBUTTON) < 0)
        buttons |= kLButton;
    if (GetAsyncKeyState(VK_MBUTTON) < 0)
        buttons |= kMButton;
    if (GetAsyncKeyState(swapButtons ? VK_LBUTTON : VK_RBUTTON) < 0)
        buttons |= kRButton;
    if (GetAsyncKeyState(VK_SHIFT) < 0)
        buttons |= kShift;
    if (GetAsyncKeyState(VK_CONTROL) < 0)
        buttons |= kControl;
    if (GetAsyncKeyState(VK_MENU) < 0)
        buttons |= kAlt;
    return buttons;
}

void* CreateFrameWindow(void* parentWindow, int width, int height, FrameWindowClient* client)
{
    if (!parentWindow || !client)
        return nullptr;
    if (++gUseCount == 1 && !RegisterFrameClass())
    {
        gUseCount = 0;
        return nullptr;
    }
    const DWORD extendedStyle = OsMajorVersion() >= 6 ? WS_EX_COMPOSITED : 0;
    HWND window =
        CreateWindowExW(extendedStyle, className, L"Window", kFrameStyle, 0, 0, width, height,
                        static_cast<HWND>(parentWindow), nullptr, ModuleInstance(), nullptr);
    if (!window)
    {
        ReleaseFrameClass();
        return nullptr;
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(client));
    return window;
}

void DestroyFrameWindow(void* windowHandle)
{
    if (!windowHandle)
        return;
    auto window = static_cast<HWND>(windowHandle);
    // Unbound first: the destruction's own messages must not reach the frame any more.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    ReleaseFrameClass();
}

void ForgetFrameWindow()
{
    ReleaseFrameClass();
}

void InvalidateWindowRect(void* window, int left, int top, int right, int bottom)
{
    const RECT area{left, top, right, bottom};
    InvalidateRect(static_cast<HWND>(window), &area, TRUE);
}

void HandleWindowEvents(void*)
{
    // The host's message loop delivers the window's messages and paints.
}

void CaptureMouse(void* window)
{
    SetCapture(static_cast<HWND>(window));
}

void ReleaseMouseCapture()
{
    ReleaseCapture();
}

void RequestMouseLeave(void* window)
{
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = static_cast<HWND>(window);
    track.dwHoverTime = 0;
    TrackMouseEvent(&track);
}

} // namespace vrn::editor_platform
