// The fake back end's window side: no frame window is made and every call answers a default
// until a test switches on fake windows (test_window.h), which log each call so that the
// frame's window side runs natively.
#include "editor/draw_surface.h"
#include "editor/frame_window.h"
#include "editor/platform.h"
#include "tests/support/test_window.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>

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
    int classUses = 0; ///< windows made and not yet given back by their frames
    int failingCreations = 0;
    bool failGraphics = false;
    bool failOle = false;
    int osMajor = 10;
    ViewPoint origin;
    ViewPoint pointer;
    ButtonState buttons = 0;
    bool resizeAnswer = true;
    int pendingPaints = 0;
    double contentScale = 1.0;
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

/// The smallest handle value no fake window has now: as on Windows, a handle value comes back
/// once its window is gone.
void* FreeHandle()
{
    for (std::uintptr_t value = 1;; ++value)
    {
        void* handle = reinterpret_cast<void*>(value);
        if (!IsFakeWindow(handle))
            return handle;
    }
}

// OLE initialisations per thread: OLE counts them per thread, and a thread whose count is
// lowered below what it raised itself loses its apartment.
struct OleCounts
{
    std::mutex mutex;
    std::map<std::thread::id, int> open;
    bool unbalanced = false;
};

OleCounts& Ole()
{
    static OleCounts counts;
    return counts;
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
    std::lock_guard<std::mutex> lock(Ole().mutex);
    Ole().open.clear();
    Ole().unbalanced = false;
}

void DestroyFakeWindowBySystem(void* window)
{
    if (!IsFakeWindow(window))
        return;
    FakeWindow* fakeWindow = Fake().windows[window];
    Log("system destroy");
    fakeWindow->client->onWindowDestroyed();
    Fake().windows.erase(window);
    delete fakeWindow;
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
    return Fake().classUses > 0;
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
    std::lock_guard<std::mutex> lock(Ole().mutex);
    int total = 0;
    for (const auto& entry : Ole().open)
        total += entry.second;
    return total;
}

int OpenOleInitializationsOnThisThread()
{
    std::lock_guard<std::mutex> lock(Ole().mutex);
    return Ole().open[std::this_thread::get_id()];
}

bool OleEverUnbalanced()
{
    std::lock_guard<std::mutex> lock(Ole().mutex);
    return Ole().unbalanced;
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

void SetFakeContentScale(double scale)
{
    Fake().contentScale = scale;
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

namespace
{
// The drawing library's start-ups and shut-downs; any thread may start or stop it.
std::atomic<int> graphicsStartups{0};
std::atomic<int> graphicsShutdowns{0};
std::atomic<bool> graphicsRunning{false};
} // namespace

int GraphicsStartups()
{
    return graphicsStartups.load();
}

int GraphicsShutdowns()
{
    return graphicsShutdowns.load();
}

bool GraphicsRunning()
{
    return graphicsRunning.load();
}

std::uintptr_t StartupGraphics()
{
    if (Fake().failGraphics)
        return 0;
    // Starting a real drawing library takes a while: give other threads their chance to race.
    std::this_thread::yield();
    ++graphicsStartups;
    graphicsRunning = true;
    return 1;
}

void ShutdownGraphics(std::uintptr_t token)
{
    if (token == 0)
        return;
    std::this_thread::yield();
    ++graphicsShutdowns;
    graphicsRunning = false;
}

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
    void* window = FreeHandle();
    fake.windows[window] = new FakeWindow{client};
    ++fake.classUses;
    Log("create " + std::to_string(width) + " " + std::to_string(height));
    return window;
}

void DestroyFrameWindow(void* window)
{
    if (!IsFakeWindow(window))
        return;
    delete Fake().windows[window];
    Fake().windows.erase(window);
    --Fake().classUses;
    Log("destroy");
}

void ForgetFrameWindow()
{
    --Fake().classUses;
    Log("forget");
}

void InvalidateWindowRect(void* window, int left, int top, int right, int bottom)
{
    if (IsFakeWindow(window))
        Log("invalidate " + std::to_string(left) + " " + std::to_string(top) + " " +
            std::to_string(right) + " " + std::to_string(bottom));
}

void HandleWindowEvents(void* window)
{
    if (IsFakeWindow(window))
        Log("events");
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

double WindowContentScale(void*)
{
    return Fake().contentScale;
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
    {
        std::lock_guard<std::mutex> lock(Ole().mutex);
        ++Ole().open[std::this_thread::get_id()];
    }
    Log("ole init");
    return true;
}

void UninitializeOle()
{
    {
        std::lock_guard<std::mutex> lock(Ole().mutex);
        if (--Ole().open[std::this_thread::get_id()] < 0)
            Ole().unbalanced = true;
    }
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
