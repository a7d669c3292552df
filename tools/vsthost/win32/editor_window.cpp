// The plug-in's editor inside a top-level window of the host tool's own: opening and closing
// it, the host's idle rhythm, and real mouse messages at editor coordinates.
#include "tools/vsthost/win32/editor_window.h"

#include "tools/vsthost/win32/allocation_counter.h"
#include "tools/vsthost/win32/window_capture.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace vrn
{
namespace
{

constexpr char kClassName[] = "vsthost editor host";
constexpr int kIdleMilliseconds = 10;

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

} // namespace

EditorWindow::~EditorWindow()
{
    Close();
}

bool EditorWindow::Open(std::string& error)
{
    ERect* rect = nullptr;
    session.Dispatch(effEditGetRect, 0, 0, &rect);
    if (rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top)
    {
        error = "the plug-in reports no editor size";
        return false;
    }
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    if (!RegisterHostClass())
    {
        error = "cannot register the host window class";
        return false;
    }
    // A borderless window of exactly the editor's size at the top-left of the screen, shown
    // without taking the focus: Wine hands activated or captioned windows to the window manager
    // and, where none runs (a virtual display), waits two seconds for it on every map.
    window = CreateWindowExA(WS_EX_TOPMOST, kClassName, "vsthost", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                             width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr)
    {
        error = "cannot create the host window";
        return false;
    }
    SetWindowPos(window, HWND_TOPMOST, 0, 0, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(window);
    const intptr answer = session.Dispatch(effEditOpen, 0, 0, window);
    // Some plug-ins answer 0 although their editor opened; a window of their own counts.
    if (answer == 0 && GetWindow(window, GW_CHILD) == nullptr)
    {
        error = "the plug-in did not open its editor (effEditOpen answered 0)";
        Close();
        return false;
    }
    editorOpen = true;
    PumpAndIdle();
    return true;
}

void EditorWindow::Close() noexcept
{
    if (editorOpen && session.IsOpen())
        session.Dispatch(effEditClose);
    editorOpen = false;
    if (window != nullptr)
    {
        DestroyWindow(window);
        window = nullptr;
        PumpMessages();
    }
}

void EditorWindow::PumpAndIdle()
{
    PumpMessages();
    if (editorOpen && session.IsOpen())
        session.Dispatch(effEditIdle);
}

bool EditorWindow::Idle(int milliseconds, const IdleSignal* signal, int& idles, std::string& error)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const double rate = session.Settings().sampleRate;
    std::uint64_t framesDone = 0;
    std::vector<std::vector<double>> outputs;
    idles = 0;
    for (;;)
    {
        PumpAndIdle();
        ++idles;
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        // The audio the clock says is due, looping the signal.
        const auto due =
            static_cast<std::uint64_t>(std::min(elapsed, milliseconds / 1000.0) * rate);
        while (signal != nullptr && framesDone < due)
        {
            const std::size_t count = static_cast<std::size_t>(
                std::min<std::uint64_t>(due - framesDone, signal->frames - signalPosition));
            std::vector<const double*> inputs =
                MapInputChannels(signal->channels, session.NumInputs());
            for (const double*& input : inputs)
                input = input != nullptr ? input + signalPosition : nullptr;
            if (!session.Render(inputs, count, outputs, error))
                return false;
            signalPosition = (signalPosition + count) % signal->frames;
            framesDone += count;
        }
        if (elapsed * 1000.0 >= milliseconds)
            return true;
        const auto next = start + std::chrono::milliseconds(idles * kIdleMilliseconds);
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now());
        Sleep(static_cast<DWORD>(std::max<long long>(wait.count(), 1)));
    }
}

HWND EditorWindow::EditorChild(int x, int y, POINT& point) const
{
    // As real input: the window that holds the mouse capture, else the deepest visible window
    // under the point, else the editor's own window.
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

bool EditorWindow::Mouse(UINT message, int x, int y, MouseKeys keys, bool buttonDown,
                         int wheelDelta, std::string& error)
{
    POINT point{};
    const HWND target = EditorChild(x, y, point);
    if (target == nullptr)
    {
        error = "the editor made no window of its own";
        return false;
    }
    WPARAM wParam = keys | (buttonDown ? MK_LBUTTON : 0);
    if (message == WM_MOUSEWHEEL)
    {
        // The wheel message carries screen coordinates and the delta in its high word.
        point = POINT{x, y};
        ClientToScreen(window, &point);
        wParam = MAKEWPARAM(static_cast<WORD>(wParam), static_cast<WORD>(wheelDelta));
    }
    const LPARAM lParam = MAKELPARAM(static_cast<WORD>(static_cast<short>(point.x)),
                                     static_cast<WORD>(static_cast<short>(point.y)));
    // The keyboard state says what the flags say, for plug-ins that ask GetKeyState.
    BYTE saved[256] = {};
    GetKeyboardState(saved);
    BYTE state[256] = {};
    std::memcpy(state, saved, sizeof state);
    constexpr BYTE kDown = 0x80;
    state[VK_SHIFT] = (keys & MK_SHIFT) != 0 ? kDown : BYTE{0};
    state[VK_CONTROL] = (keys & MK_CONTROL) != 0 ? kDown : BYTE{0};
    state[VK_LBUTTON] = buttonDown ? kDown : BYTE{0};
    SetKeyboardState(state);
    PostMessageA(target, message, wParam, lParam);
    PumpAndIdle();
    SetKeyboardState(saved);
    return true;
}

bool EditorWindow::TimePaints(int frames, std::vector<double>& milliseconds, long& allocations,
                              std::string& error)
{
    const HWND editor = GetWindow(window, GW_CHILD);
    if (editor == nullptr)
    {
        error = "the editor made no window of its own";
        return false;
    }
    using Clock = std::chrono::steady_clock;
    milliseconds.assign(static_cast<std::size_t>(frames), 0.0);
    // The plug-in's own heap allocations while the frames are drawn (the tool's are not counted).
    const AllocationCounter counter(
        ModuleOf(reinterpret_cast<const void*>(session.Effect()->dispatcher)));
    for (double& taken : milliseconds)
    {
        const Clock::time_point start = Clock::now();
        RedrawWindow(editor, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        taken = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        PumpMessages();
    }
    allocations = counter.counting() ? counter.count() : -1;
    return true;
}

bool EditorWindow::SavePng(const std::string& path, std::string& error)
{
    PumpAndIdle();
    // Paint whatever is waiting before the pixels are read.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return SaveWindowPng(window, width, height, path, error);
}

} // namespace vrn
