// The editor host's platform for libraries that show no editor (the LV2 plug-in, build tools):
// no drawing library, no windows, no pictures. The effect's editor code is linked in with the
// effect, but nothing of it can open a window here, and the library needs no window system.
#include "editor/draw_surface.h"
#include "editor/platform.h"

namespace vrn::editor_platform
{

std::uintptr_t StartupGraphics()
{
    return 0; // no drawing library: frames make no window
}

void ShutdownGraphics(std::uintptr_t) {}

std::unique_ptr<DrawSurface> CreateContextSurface(void*, void*)
{
    return nullptr;
}

std::unique_ptr<DrawSurface> CreateBitmapSurface(PlatformBitmap*)
{
    return nullptr;
}

ViewPoint WindowScreenOrigin(void*)
{
    return {};
}

ViewPoint CursorScreenPosition()
{
    return {};
}

PlatformBitmap* LoadResourceBitmap(const CResourceDescription&)
{
    return nullptr;
}

PlatformBitmap* LoadFileBitmap(const std::string&)
{
    return nullptr;
}

PlatformBitmap* CreateEmptyBitmap(int, int)
{
    return nullptr;
}

PlatformBitmap* CopyBitmap(PlatformBitmap&)
{
    return nullptr;
}

void BitmapSize(PlatformBitmap&, double& width, double& height)
{
    width = 0.0;
    height = 0.0;
}

void DestroyBitmap(PlatformBitmap*) {}

void DestroyFont(PlatformFont*) {}

void* CreateFrameWindow(void*, int, int, FrameWindowClient*)
{
    return nullptr;
}

void DestroyFrameWindow(void*) {}
void ForgetFrameWindow() {}
void InvalidateWindowRect(void*, int, int, int, int) {}
void HandleWindowEvents(void*) {}
void CaptureMouse(void*) {}
void ReleaseMouseCapture() {}
void RequestMouseLeave(void*) {}

void* CurrentCursor()
{
    return nullptr;
}

void* SystemCursor(CCursorType)
{
    return nullptr;
}

void ShowCursorHandle(void*) {}

bool ResizeFrameWindow(void*, int, int)
{
    return false;
}

ViewPoint OuterWindowPosition(void*)
{
    return {};
}

ButtonState CurrentButtonState()
{
    return 0;
}

double WindowContentScale(void*)
{
    return 1.0;
}

int OsMajorVersion()
{
    return 10;
}

bool DispatchPendingPaint()
{
    return false;
}

void SleepMilliseconds(unsigned) {}

bool InitializeOle()
{
    return false;
}

void UninitializeOle() {}

bool RegisterDropTarget(void*, CDropTarget*)
{
    return false;
}

void RevokeDropTarget(void*) {}

bool ResolveShortcut(const std::u16string&, std::u16string&)
{
    return false;
}

} // namespace vrn::editor_platform
