// What the frame asks of the window system besides its own window: cursors, resizing the
// enclosing windows, the outer window's position, the content scale, the system version, paint
// dispatch, waiting.
#include "editor/platform.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace vrn::editor_platform
{

namespace
{
constexpr int kHostGrowthLimit =
    80;                             ///< pixels an enclosing window may grow before it is the host's
constexpr int kOuterSizeSlack = 60; ///< pixels a parent may differ and still be the editor's
constexpr double kDefaultDpi = 96.0; ///< what a content scale of 1 is

int Width(const RECT& r)
{
    return r.right - r.left;
}

int Height(const RECT& r)
{
    return r.bottom - r.top;
}

bool IsMdiClient(HWND window)
{
    wchar_t name[1024] = {};
    GetClassNameW(window, name, 1024);
    return std::wcscmp(name, L"MDIClient") == 0;
}

void SetSize(HWND window, int width, int height)
{
    SetWindowPos(window, HWND_TOP, 0, 0, width, height, SWP_NOMOVE);
}
} // namespace

void* CurrentCursor()
{
    return GetCursor();
}

void* SystemCursor(CCursorType shape)
{
    // The system cursors' numbers (IDC_WAIT and so on, which name narrow strings here).
    int id = 0;
    switch (shape)
    {
    case kCursorWait:
        id = 32514; // IDC_WAIT
        break;
    case kCursorHSize:
        id = 32644; // IDC_SIZEWE
        break;
    case kCursorVSize:
        id = 32645; // IDC_SIZENS
        break;
    case kCursorSizeAll:
        id = 32646; // IDC_SIZEALL
        break;
    case kCursorNESWSize:
        id = 32643; // IDC_SIZENESW
        break;
    case kCursorNWSESize:
        id = 32642; // IDC_SIZENWSE
        break;
    case kCursorNotAllowed:
        id = 32648; // IDC_NO
        break;
    case kCursorHand:
        id = 32649; // IDC_HAND
        break;
    default:
        return nullptr;
    }
    return LoadCursorW(nullptr, MAKEINTRESOURCEW(id));
}

void ShowCursorHandle(void* cursor)
{
    SetCursor(static_cast<HCURSOR>(cursor));
}

bool ResizeFrameWindow(void* windowHandle, int width, int height)
{
    // The enclosing windows that only frame the editor (host dialogs, wrappers) grow by as much
    // as the frame window does, up to an MDI client or a window that clearly is the host's.
    const int frameAllowance = 2 * GetSystemMetrics(SM_CYFIXEDFRAME);
    HWND current = static_cast<HWND>(windowHandle);
    int addedWidth = 0;
    int addedHeight = 0;
    while (addedWidth != frameAllowance)
    {
        HWND parent = GetParent(current);
        if (!parent || IsMdiClient(parent))
            break;
        RECT currentRect{};
        RECT parentRect{};
        GetWindowRect(current, &currentRect);
        GetWindowRect(parent, &parentRect);
        SetSize(current, width + addedWidth, height + addedHeight);
        addedWidth += Width(parentRect) - Width(currentRect);
        addedHeight += Height(parentRect) - Height(currentRect);
        if (addedWidth > kHostGrowthLimit || addedHeight > kHostGrowthLimit)
            return false;
        if (addedWidth < 0)
            addedWidth = 0;
        if (addedHeight < 0)
            addedHeight = 0;
        current = parent;
    }
    SetSize(current, width + addedWidth, height + addedHeight);
    return true;
}

ViewPoint OuterWindowPosition(void* windowHandle)
{
    HWND current = static_cast<HWND>(windowHandle);
    RECT currentRect{};
    GetWindowRect(current, &currentRect);
    for (;;)
    {
        HWND parent = GetParent(current);
        const auto style = static_cast<DWORD>(GetWindowLongW(current, GWL_STYLE));
        if ((style & WS_CAPTION) == WS_CAPTION || !parent)
            break;
        RECT parentRect{};
        GetWindowRect(parent, &parentRect);
        if (std::abs(Width(parentRect) - Width(currentRect)) > kOuterSizeSlack ||
            std::abs(Height(parentRect) - Height(currentRect)) > kOuterSizeSlack)
            break;
        current = parent;
        currentRect = parentRect;
    }
    POINT corner{currentRect.left, currentRect.top};
    MapWindowPoints(HWND_DESKTOP, GetParent(current), &corner, 1);
    return {static_cast<double>(corner.x), static_cast<double>(corner.y)};
}

double WindowContentScale(void* parentWindow)
{
    // GetDpiForWindow came with Windows 10 (1607): looked up at run time, so that the library
    // still loads on older systems, which answer the screen's DPI instead. A window of a host
    // that is not DPI-aware answers 96 (the system stretches such windows itself).
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    UINT dpi = 0;
    if (dpiForWindow && parentWindow)
        dpi = dpiForWindow(static_cast<HWND>(parentWindow));
    if (dpi == 0)
    {
        HDC screen = GetDC(nullptr);
        if (screen)
        {
            dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
            ReleaseDC(nullptr, screen);
        }
    }
    return dpi > 0 ? dpi / kDefaultDpi : 1.0;
}

int OsMajorVersion()
{
    // The extended record (284 bytes); only the major version is used.
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version));
    return static_cast<int>(version.dwMajorVersion);
}

bool DispatchPendingPaint()
{
    MSG message;
    if (!PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        return false;
    DispatchMessageW(&message);
    return true;
}

void SleepMilliseconds(unsigned milliseconds)
{
    Sleep(milliseconds);
}

} // namespace vrn::editor_platform
