// The fake plug-in's test editor on Windows: a child window that paints a known picture with GDI
// and records the mouse messages it receives.
#include "tests/tools/fake_editor.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <deque>

namespace vrn
{

struct FakeEditor
{
    HWND window = nullptr;
    float* gain = nullptr;
    int idles = 0;
    int paints = 0;
    std::deque<std::string> events;
};

namespace
{

constexpr char kClassName[] = "VarneFakeEditor";
constexpr std::size_t kReportLength = 255;

// The picture: a blue background with a red rectangle at (20, 20)-(120, 60).
constexpr COLORREF kBackground = RGB(32, 64, 128);
constexpr COLORREF kRectangle = RGB(200, 40, 40);

HMODULE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

void Paint(HWND window, FakeEditor& editor)
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT all{0, 0, kFakeEditorWidth, kFakeEditorHeight};
    RECT box{20, 20, 120, 60};
    HBRUSH background = CreateSolidBrush(kBackground);
    HBRUSH rectangle = CreateSolidBrush(kRectangle);
    FillRect(dc, &all, background);
    FillRect(dc, &box, rectangle);
    DeleteObject(background);
    DeleteObject(rectangle);
    EndPaint(window, &paint);
    ++editor.paints;
}

void Record(FakeEditor& editor, const char* kind, int x, int y, WPARAM wParam, int delta)
{
    char text[64] = {};
    if (delta != 0)
        std::snprintf(text, sizeof text, "%s %d,%d 0x%x %d", kind, x, y,
                      static_cast<unsigned>(LOWORD(wParam)), delta);
    else
        std::snprintf(text, sizeof text, "%s %d,%d 0x%x", kind, x, y,
                      static_cast<unsigned>(LOWORD(wParam)));
    editor.events.emplace_back(text);
    while (editor.events.size() > 32)
        editor.events.pop_front();
}

void SetGain(FakeEditor& editor, float value)
{
    *editor.gain = std::clamp(value, 0.0f, 1.0f);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* editor = reinterpret_cast<FakeEditor*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (editor == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message)
    {
    case WM_PAINT:
        Paint(window, *editor);
        return 0;
    case WM_LBUTTONDOWN:
        Record(*editor, "down", x, y, wParam, 0);
        SetGain(*editor, static_cast<float>(x) / kFakeEditorWidth);
        return 0;
    case WM_LBUTTONUP:
        Record(*editor, "up", x, y, wParam, 0);
        return 0;
    case WM_MOUSEMOVE:
        Record(*editor, "move", x, y, wParam, 0);
        if ((wParam & MK_LBUTTON) != 0)
            SetGain(*editor, static_cast<float>(x) / kFakeEditorWidth);
        return 0;
    case WM_MOUSEWHEEL:
    {
        // The wheel message carries screen coordinates.
        POINT point{x, y};
        ScreenToClient(window, &point);
        const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        Record(*editor, "wheel", point.x, point.y, wParam, delta);
        SetGain(*editor, *editor->gain + 0.1f * static_cast<float>(delta) / WHEEL_DELTA);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool RegisterEditorClass(HMODULE module)
{
    WNDCLASSA existing{};
    if (GetClassInfoA(module, kClassName, &existing))
        return true;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
}

} // namespace

FakeEditor* OpenFakeEditor(void* parent, float* gain)
{
    const HMODULE module = ThisModule();
    if (parent == nullptr || gain == nullptr || !RegisterEditorClass(module))
        return nullptr;
    auto* editor = new FakeEditor;
    editor->gain = gain;
    editor->window =
        CreateWindowExA(0, kClassName, "Fake editor", WS_CHILD | WS_VISIBLE, 0, 0, kFakeEditorWidth,
                        kFakeEditorHeight, static_cast<HWND>(parent), nullptr, module, nullptr);
    if (editor->window == nullptr)
    {
        delete editor;
        return nullptr;
    }
    SetWindowLongPtrA(editor->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(editor));
    InvalidateRect(editor->window, nullptr, FALSE);
    return editor;
}

void IdleFakeEditor(FakeEditor* editor)
{
    if (editor != nullptr)
        ++editor->idles;
}

void CloseFakeEditor(FakeEditor* editor)
{
    if (editor == nullptr)
        return;
    SetWindowLongPtrA(editor->window, GWLP_USERDATA, 0);
    DestroyWindow(editor->window);
    delete editor;
}

std::string FakeEditorReport(const FakeEditor* editor)
{
    if (editor == nullptr)
        return "no editor";
    const std::string head = "idles=" + std::to_string(editor->idles) +
                             " paints=" + std::to_string(editor->paints) + " events=";
    // The latest events that fit, oldest first.
    std::string events;
    for (auto event = editor->events.rbegin(); event != editor->events.rend(); ++event)
    {
        const std::string longer = *event + (events.empty() ? "" : ";" + events);
        if (head.size() + longer.size() > kReportLength)
            break;
        events = longer;
    }
    return head + events;
}

} // namespace vrn
