// The plug-in's editor opened through its dispatcher inside a host's window (under Xvfb):
// painting, mouse drags reaching the parameters, and 1,000 open/close cycles that leave the
// process's objects flat.
#include "window_support.h"

#include "host/plugin_entry.h"

#include <psapi.h>

#include <cstdio>

namespace vrn::test
{
namespace
{

intptr VRN_VST_CALL HostCallback(AEffect*, int32 opcode, int32, intptr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

// The gate opened by a minimal host, with a 450 × 500 host window at (100, 100).
class PluginEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        effect = CreateGatePlugin(&HostCallback);
        ASSERT_NE(effect, nullptr);
        Dispatch(effOpen);
        SetCursorPos(20, 20); // away from the editor
    }
    void TearDown() override
    {
        if (effect)
            Dispatch(effClose);
        PumpMessages();
    }

    intptr Dispatch(int32 opcode, intptr value = 0, void* ptr = nullptr)
    {
        return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
    }
    // The host's idle for `milliseconds` ms: effEditIdle every 10 ms, messages dispatched.
    void Idle(int milliseconds)
    {
        for (int waited = 0; waited < milliseconds; waited += 10)
        {
            PumpMessages();
            Dispatch(effEditIdle);
            Sleep(10);
        }
        PumpMessages();
    }
    void Mouse(HWND frameWindow, UINT message, WPARAM keys, int x, int y)
    {
        PostMessageW(frameWindow, message, keys, MAKELPARAM(x, y));
        Idle(60); // the gate reads the mouse when it next draws
    }

    HostWindow host;
    AEffect* effect = nullptr;
};

TEST_F(PluginEditor, OpensInTheHostsWindowAndPaints)
{
    ERect* rect = nullptr;
    ASSERT_EQ(Dispatch(effEditGetRect, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 450);
    EXPECT_EQ(rect->bottom, 500);
    EXPECT_EQ(Dispatch(effEditOpen, 0, nullptr), 0); // no parent window: no editor
    EXPECT_EQ(GetWindow(host.handle(), GW_CHILD), nullptr);

    ASSERT_EQ(Dispatch(effEditOpen, 0, host.handle()), 1);
    HWND frameWindow = OnlyChild(host.handle());
    ASSERT_NE(frameWindow, nullptr);
    Idle(100);
    // The background picture covers the editor: nothing of the host's white is left.
    int white = 0;
    for (int y = 5; y < 500; y += 50)
        for (int x = 5; x < 450; x += 50)
            white += WindowPixel(frameWindow, x, y) == RGB(255, 255, 255);
    EXPECT_EQ(white, 0);

    Dispatch(effEditClose);
    EXPECT_EQ(GetWindow(host.handle(), GW_CHILD), nullptr);
}

TEST_F(PluginEditor, AWindowClassThatCannotBeRegisteredLeavesTheEditorClosed)
{
    // Someone else holds the editor's class name: registration fails, so does the open.
    wchar_t name[100] = {};
    wsprintfW(name, L"Plugin%p", static_cast<void*>(GetModuleHandleW(nullptr)));
    WNDCLASSW windowClass{};
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    EXPECT_EQ(Dispatch(effEditOpen, 0, host.handle()), 0);
    EXPECT_EQ(GetWindow(host.handle(), GW_CHILD), nullptr);
    Dispatch(effEditIdle);
    ASSERT_TRUE(UnregisterClassW(name, GetModuleHandleW(nullptr)));

    // Nothing was left counted: the next open registers the class and works.
    ASSERT_EQ(Dispatch(effEditOpen, 0, host.handle()), 1);
    EXPECT_NE(OnlyChild(host.handle()), nullptr);
    Dispatch(effEditClose);
    WNDCLASSW info{};
    EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), name, &info));
}

TEST_F(PluginEditor, MouseDragsReachTheParameters)
{
    ASSERT_EQ(Dispatch(effEditOpen, 0, host.handle()), 1);
    HWND frameWindow = OnlyChild(host.handle());
    Idle(100);
    const float before = effect->getParameter(effect, 3); // Threshold Lo
    // Rest over the row (the first move only enters the view), press, drag to the right end.
    Mouse(frameWindow, WM_MOUSEMOVE, 0, 190, 149);
    Mouse(frameWindow, WM_MOUSEMOVE, 0, 200, 149);
    Mouse(frameWindow, WM_LBUTTONDOWN, MK_LBUTTON, 200, 149);
    EXPECT_EQ(GetCapture(), frameWindow);
    EXPECT_LT(effect->getParameter(effect, 3), before);
    Mouse(frameWindow, WM_MOUSEMOVE, MK_LBUTTON, 400, 149);
    Mouse(frameWindow, WM_LBUTTONUP, 0, 400, 149);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(effect->getParameter(effect, 3), 1.0f);
    Dispatch(effEditClose);
}

TEST_F(PluginEditor, ADragEndsWhenAnotherWindowTakesThePointer)
{
    ASSERT_EQ(Dispatch(effEditOpen, 0, host.handle()), 1);
    HWND frameWindow = OnlyChild(host.handle());
    Idle(100);
    Mouse(frameWindow, WM_MOUSEMOVE, 0, 190, 149);
    Mouse(frameWindow, WM_MOUSEMOVE, 0, 200, 149);
    Mouse(frameWindow, WM_LBUTTONDOWN, MK_LBUTTON, 200, 149);
    Mouse(frameWindow, WM_MOUSEMOVE, MK_LBUTTON, 250, 149);
    ASSERT_EQ(GetCapture(), frameWindow);
    const float dragged = effect->getParameter(effect, 3);

    // A host dialog takes the pointer; the button goes up over it, unseen by the editor.
    SetCapture(host.handle());
    ReleaseCapture();
    Mouse(frameWindow, WM_MOUSEMOVE, 0, 150, 149);
    Mouse(frameWindow, WM_MOUSEMOVE, 0, 330, 149);
    EXPECT_EQ(effect->getParameter(effect, 3), dragged);

    // The same after the system cancels the mode (a window switch).
    Mouse(frameWindow, WM_LBUTTONDOWN, MK_LBUTTON, 330, 149);
    const float pressed = effect->getParameter(effect, 3);
    SendMessageW(frameWindow, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    Mouse(frameWindow, WM_MOUSEMOVE, 0, 150, 149);
    EXPECT_EQ(effect->getParameter(effect, 3), pressed);
    Dispatch(effEditClose);
}

// Bytes in use on every heap of the process (the C library's, the drawing library's, OLE's).
SIZE_T HeapBytesInUse()
{
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    SIZE_T busy = 0;
    for (DWORD i = 0; i < count && i < 64; ++i)
    {
        PROCESS_HEAP_ENTRY entry{};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                busy += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return busy;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    EnumChildWindows(window, CountWindow, counter);
    return TRUE;
}

// Windows of this thread, children included.
int ThreadWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

struct ObjectCounts
{
    DWORD gdi = 0;
    DWORD user = 0;
    DWORD handles = 0;
    SIZE_T pagefile = 0;
    SIZE_T heap = 0;
    int windows = 0;
};

ObjectCounts Measure()
{
    ObjectCounts counts;
    counts.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counts.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    GetProcessHandleCount(GetCurrentProcess(), &counts.handles);
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    counts.pagefile = memory.PagefileUsage;
    counts.heap = HeapBytesInUse();
    counts.windows = ThreadWindows();
    return counts;
}

TEST_F(PluginEditor, ThousandOpenCloseCyclesLeaveTheProcessFlat)
{
    auto cycle = [&]
    {
        ASSERT_EQ(Dispatch(effEditOpen, 0, host.handle()), 1);
        HWND frameWindow = OnlyChild(host.handle());
        ASSERT_NE(frameWindow, nullptr);
        Dispatch(effEditIdle);
        UpdateWindow(frameWindow); // one real paint per cycle
        Dispatch(effEditClose);
        PumpMessages();
        ASSERT_EQ(GetWindow(host.handle(), GW_CHILD), nullptr);
    };
    for (int i = 0; i < 20; ++i) // caches, the drawing library's first start, fonts
        cycle();
    const ObjectCounts before = Measure();
    for (int i = 0; i < 1000 && !HasFatalFailure(); ++i)
        cycle();
    const ObjectCounts after = Measure();
    // Wine answers 0 for GDI and USER objects and for handles; the heaps and the windows tell.
    std::printf("GDI objects %lu -> %lu, USER objects %lu -> %lu, handles %lu -> %lu, "
                "page file bytes %llu -> %llu, heap bytes %llu -> %llu, windows %d -> %d\n",
                before.gdi, after.gdi, before.user, after.user, before.handles, after.handles,
                static_cast<unsigned long long>(before.pagefile),
                static_cast<unsigned long long>(after.pagefile),
                static_cast<unsigned long long>(before.heap),
                static_cast<unsigned long long>(after.heap), before.windows, after.windows);
    EXPECT_LE(after.gdi, before.gdi);
    EXPECT_LE(after.user, before.user);
    EXPECT_LE(after.handles, before.handles + 5);
    EXPECT_EQ(after.windows, before.windows);
    // One small object left behind per cycle would add tens of kilobytes.
    EXPECT_LT(after.heap, before.heap + 16 * 1024);
}

} // namespace
} // namespace vrn::test
