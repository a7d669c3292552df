// The host tool's editor window on Windows: a borderless top-level window, mouse messages posted
// to the plug-in's window with the keyboard state they claim, repaints through RedrawWindow and
// the picture read back from the screen.
#include "tools/vsthost/editor_window.h"

#include <windows.h>

// GDI+ needs the property types of objidl.h, which WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vrn
{
namespace
{

constexpr char kClassName[] = "vsthost editor host";

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The tool closes the window itself (editor-close, the end of the run), never the user.
    if (message == WM_CLOSE)
        return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterHostClass()
{
    const HINSTANCE module = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (GetClassInfoA(module, kClassName, &existing))
        return true;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
}

void PumpMessages()
{
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

UINT MessageOf(MouseInput::Kind kind)
{
    switch (kind)
    {
    case MouseInput::kLeftDown:
        return WM_LBUTTONDOWN;
    case MouseInput::kLeftUp:
        return WM_LBUTTONUP;
    case MouseInput::kWheel:
        return WM_MOUSEWHEEL;
    default:
        return WM_MOUSEMOVE;
    }
}

class Win32HostWindow final : public HostWindow
{
public:
    Win32HostWindow(HWND made, int w, int h) : window(made), width(w), height(h) {}
    ~Win32HostWindow() override
    {
        DestroyWindow(window);
        PumpMessages();
    }
    Win32HostWindow(const Win32HostWindow&) = delete;
    Win32HostWindow& operator=(const Win32HostWindow&) = delete;

    [[nodiscard]] void* ParentHandle() const override { return window; }
    [[nodiscard]] bool HasEditorWindow() const override
    {
        return GetWindow(window, GW_CHILD) != nullptr;
    }
    void Pump() override { PumpMessages(); }

    void Resize(int newWidth, int newHeight) override
    {
        // Borderless: the window's size is its client area's.
        SetWindowPos(window, nullptr, 0, 0, newWidth, newHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        width = newWidth;
        height = newHeight;
    }

    bool SendMouse(const MouseInput& input, std::string& error) override
    {
        POINT point{};
        const HWND target = EditorChild(input.x, input.y, point);
        if (target == nullptr)
        {
            error = "the editor made no window of its own";
            return false;
        }
        WPARAM keys = 0;
        if (input.keys & kKeyShift)
            keys |= MK_SHIFT;
        if (input.keys & kKeyControl)
            keys |= MK_CONTROL;
        WPARAM wParam = keys | (input.buttonDown ? MK_LBUTTON : 0);
        if (input.kind == MouseInput::kWheel)
        {
            // The wheel message carries screen coordinates and the delta in its high word.
            point = POINT{input.x, input.y};
            ClientToScreen(window, &point);
            wParam = MAKEWPARAM(static_cast<WORD>(wParam), static_cast<WORD>(input.wheelDelta));
        }
        const LPARAM lParam = MAKELPARAM(static_cast<WORD>(static_cast<short>(point.x)),
                                         static_cast<WORD>(static_cast<short>(point.y)));
        // The keyboard state says what the flags say, for plug-ins that ask GetKeyState.
        GetKeyboardState(savedKeys);
        BYTE state[256] = {};
        std::memcpy(state, savedKeys, sizeof state);
        constexpr BYTE kDown = 0x80;
        state[VK_SHIFT] = (keys & MK_SHIFT) != 0 ? kDown : BYTE{0};
        state[VK_CONTROL] = (keys & MK_CONTROL) != 0 ? kDown : BYTE{0};
        state[VK_LBUTTON] = input.buttonDown ? kDown : BYTE{0};
        SetKeyboardState(state);
        keysSet = true;
        PostMessageA(target, MessageOf(input.kind), wParam, lParam);
        return true;
    }

    void EndMouse() override
    {
        if (keysSet)
            SetKeyboardState(savedKeys);
        keysSet = false;
    }

    bool PaintNow(HostSession& /*session*/, std::string& error) override
    {
        const HWND editor = GetWindow(window, GW_CHILD);
        if (editor == nullptr)
        {
            error = "the editor made no window of its own";
            return false;
        }
        RedrawWindow(editor, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        return true;
    }

    bool Capture(Image& image, std::string& error) override
    {
        // Paint whatever is waiting before the pixels are read.
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        std::vector<std::uint32_t> pixels;
        if (!CopyClientArea(pixels))
        {
            error = "cannot read the editor's pixels";
            return false;
        }
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.Set(x, y, pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu);
        return true;
    }

private:
    // As real input: the window that holds the mouse capture, else the deepest visible window
    // under the point, else the editor's own window; `point` in the target's coordinates.
    HWND EditorChild(int x, int y, POINT& point) const
    {
        point = POINT{x, y};
        HWND target = window;
        for (;;)
        {
            const HWND next = ChildWindowFromPointEx(
                target, point, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
            if (next == nullptr || next == target)
                break;
            MapWindowPoints(target, next, &point, 1);
            target = next;
        }
        const HWND captured = GetCapture();
        if (captured != nullptr && IsChild(window, captured))
            target = captured;
        else if (target == window)
            target = GetWindow(window, GW_CHILD);
        if (target != nullptr)
        {
            point = POINT{x, y};
            MapWindowPoints(window, target, &point, 1);
        }
        return target;
    }

    // Reads the pixels from the screen where the client area shows (0x00RRGGBB): that is what
    // a user sees, child windows of the plug-in included, whoever painted them.
    bool CopyClientArea(std::vector<std::uint32_t>& pixels) const
    {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bool ok = memory != nullptr && bitmap != nullptr;
        if (ok)
        {
            HGDIOBJ previous = SelectObject(memory, bitmap);
            ok = BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y,
                        SRCCOPY | CAPTUREBLT) != FALSE;
            GdiFlush();
            const auto* first = static_cast<const std::uint32_t*>(bits);
            pixels.assign(first, first + static_cast<std::size_t>(width) * height);
            SelectObject(memory, previous);
        }
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        if (memory != nullptr)
            DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return ok;
    }

    HWND window;
    int width;
    int height;
    BYTE savedKeys[256] = {};
    bool keysSet = false;
};

// GDI+ for the lifetime of one save.
class GdiplusSession
{
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        ok = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession()
    {
        if (ok)
            Gdiplus::GdiplusShutdown(token);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool ok = false;

private:
    ULONG_PTR token = 0;
};

bool PngEncoder(CLSID& encoder)
{
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0)
        return false;
    std::vector<unsigned char> storage(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(storage.data());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i)
    {
        if (std::wstring(codecs[i].MimeType) == L"image/png")
        {
            encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

std::wstring Wide(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 1)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

} // namespace

bool WriteCompressedPng(const std::string& path, const Image& image, std::string& error)
{
    // GDI+ takes 32-bit words 0x00RRGGBB.
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.width) * image.height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint32_t>(image.rgb[3 * i]) << 16 |
                    static_cast<std::uint32_t>(image.rgb[3 * i + 1]) << 8 | image.rgb[3 * i + 2];
    GdiplusSession gdiplus;
    CLSID encoder{};
    if (!gdiplus.ok || !PngEncoder(encoder))
    {
        error = "no PNG encoder (GDI+)";
        return false;
    }
    Gdiplus::Bitmap bitmap(image.width, image.height, image.width * 4, PixelFormat32bppRGB,
                           reinterpret_cast<BYTE*>(pixels.data()));
    if (bitmap.Save(Wide(path).c_str(), &encoder, nullptr) != Gdiplus::Ok)
    {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

std::unique_ptr<HostWindow> HostWindow::Create(int width, int height, std::string& error)
{
    if (!RegisterHostClass())
    {
        error = "cannot register the host window class";
        return nullptr;
    }
    // A borderless window of exactly the editor's size at the top-left of the screen, shown
    // without taking the focus: Wine hands activated or captioned windows to the window manager
    // and, where none runs (a virtual display), waits two seconds for it on every map.
    HWND window =
        CreateWindowExA(WS_EX_TOPMOST, kClassName, "vsthost", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                        width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr)
    {
        error = "cannot create the host window";
        return nullptr;
    }
    SetWindowPos(window, HWND_TOPMOST, 0, 0, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(window);
    return std::make_unique<Win32HostWindow>(window, width, height);
}

} // namespace vrn
