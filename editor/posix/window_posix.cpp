// The editor host's window side on Linux: no window system yet, so no frame window is made and
// every call answers a default. Tests may switch on fake windows (test_window.h) that log each
// call, so that the frame's window side runs natively.
#include "editor/draw_surface.h"
#include "editor/frame_window.h"
#include "editor/platform.h"
#include "editor/posix/test_window.h"

#include <map>

namespace vrn::editor_platform
{

namespace
{
struct FakeWindow
{
    FrameWindowClient* client = nullptr;
};

struct FakeWindowSystem
{
    std::vector<std::string>* log = nullptr;
    std::map<void*, FakeWindow*> windows;
    int failingCreations = 0;
    bool failGraphics = false;
    bool failOle = false;
    int openOle = 0;
    int osMajor = 10;
    ViewPoint origin;
    ViewPoint pointer;
    ButtonState buttons = 0;
    bool resizeAnswer = true;
    int pendingPaints = 0;
    std::function<std::unique_ptr<DrawSurface>()> surfaces;
};

FakeWindowSystem& Fake()
{
    static FakeWindowSystem system;
    return system;
}

void Log(const std::string& line)
{
    if (Fake().log)
        Fake().log->push_back(line);
}

bool IsFakeWindow(void* window)
{
    return window && Fake().windows.count(window) != 0;
}
} // namespace

// --- test controls

void StartFakeWindows(std::vector<std::string>* log)
{
    StopFakeWindows();
    Fake().log = log;
}

void StopFakeWindows()
{
    FakeWindowSystem& fake = Fake();
    for (auto& entry : fake.windows)
        delete entry.second;
    fake = FakeWindowSystem{};
}

FrameWindowClient* FakeWindowClient(void* window)
{
    return IsFakeWindow(window) ? Fake().windows[window]->client : nullptr;
}

int FakeWindowCount()
{
    return static_cast<int>(Fake().windows.size());
}

bool FakeWindowClassRegistered()
{
    return !Fake().windows.empty();
}

void FailWindowCreation(int count)
{
    Fake().failingCreations = count;
}

void FailGraphicsStartup(bool fail)
{
    Fake().failGraphics = fail;
}

void FailOleInitialization(bool fail)
{
    Fake().failOle = fail;
}

int OpenOleInitializations()
{
    return Fake().openOle;
}

void SetFakeOsMajorVersion(int major)
{
    Fake().osMajor = major;
}

void SetFakeWindowOrigin(ViewPoint origin)
{
    Fake().origin = origin;
}

void SetFakePointer(ViewPoint screen, ButtonState buttons)
{
    Fake().pointer = screen;
    Fake().buttons = buttons;
}

void SetFakeResizeAnswer(bool answer)
{
    Fake().resizeAnswer = answer;
}

void SetFakePendingPaints(int count)
{
    Fake().pendingPaints = count;
}

void SetFakeWindowSurfaces(std::function<std::unique_ptr<DrawSurface>()> factory)
{
    Fake().surfaces = std::move(factory);
}

// --- drawing library and window contexts

std::uintptr_t StartupGraphics()
{
    return Fake().failGraphics ? 0 : 1;
}

void ShutdownGraphics(std::uintptr_t) {}

std::unique_ptr<DrawSurface> CreateContextSurface(void* deviceContext, void* window)
{
    if ((!deviceContext && !window) || !Fake().surfaces)
        return nullptr;
    return Fake().surfaces();
}

ViewPoint WindowScreenOrigin(void* window)
{
    return IsFakeWindow(window) ? Fake().origin : ViewPoint{};
}

ViewPoint CursorScreenPosition()
{
    return Fake().pointer;
}

// --- frame window

void* CreateFrameWindow(void* parentWindow, int width, int height, FrameWindowClient* client)
{
    FakeWindowSystem& fake = Fake();
    if (!fake.log || !parentWindow)
        return nullptr;
    if (fake.failingCreations > 0)
    {
        --fake.failingCreations;
        Log("create failed");
        return nullptr;
    }
    auto* window = new FakeWindow{client};
    fake.windows[window] = window;
    Log("create " + std::to_string(width) + " " + std::to_string(height));
    return window;
}

void DestroyFrameWindow(void* window)
{
    if (!IsFakeWindow(window))
        return;
    delete Fake().windows[window];
    Fake().windows.erase(window);
    Log("destroy");
}

void InvalidateWindowRect(void* window, int left, int top, int right, int bottom)
{
    if (IsFakeWindow(window))
        Log("invalidate " + std::to_string(left) + " " + std::to_string(top) + " " +
            std::to_string(right) + " " + std::to_string(bottom));
}

void CaptureMouse(void* window)
{
    if (IsFakeWindow(window))
        Log("capture");
}

void ReleaseMouseCapture()
{
    Log("release capture");
}

void RequestMouseLeave(void* window)
{
    if (IsFakeWindow(window))
        Log("track leave");
}

void* CurrentCursor()
{
    return nullptr;
}

void* SystemCursor(CCursorType shape)
{
    // Any distinct non-null value stands for a system cursor; the log shows which.
    static char cursors[10];
    return shape > 0 && shape < 10 ? &cursors[shape] : nullptr;
}

void ShowCursorHandle(void* cursor)
{
    if (!Fake().log)
        return;
    const void* wait = SystemCursor(kCursorWait);
    Log(cursor ? "cursor " + std::to_string(static_cast<const char*>(cursor) -
                                            static_cast<const char*>(wait) + 1)
               : "cursor default");
}

bool ResizeFrameWindow(void* window, int width, int height)
{
    if (!IsFakeWindow(window))
        return false;
    Log("resize " + std::to_string(width) + " " + std::to_string(height));
    return Fake().resizeAnswer;
}

ViewPoint OuterWindowPosition(void* window)
{
    return IsFakeWindow(window) ? Fake().origin : ViewPoint{};
}

ButtonState CurrentButtonState()
{
    return Fake().buttons;
}

int OsMajorVersion()
{
    return Fake().osMajor;
}

bool DispatchPendingPaint()
{
    if (Fake().pendingPaints <= 0)
        return false;
    --Fake().pendingPaints;
    Log("paint dispatch");
    return true;
}

void SleepMilliseconds(unsigned milliseconds)
{
    // Nothing waits for real: the tests drive the clock themselves.
    Log("sleep " + std::to_string(milliseconds));
}

bool InitializeOle()
{
    if (Fake().failOle)
        return false;
    ++Fake().openOle;
    Log("ole init");
    return true;
}

void UninitializeOle()
{
    --Fake().openOle;
    Log("ole uninit");
}

bool RegisterDropTarget(void* window, CDropTarget*)
{
    if (!IsFakeWindow(window))
        return false;
    Log("drop target on");
    return true;
}

void RevokeDropTarget(void* window)
{
    if (IsFakeWindow(window))
        Log("drop target off");
}

bool ResolveShortcut(const std::u16string&, std::u16string&)
{
    return false;
}

} // namespace vrn::editor_platform
