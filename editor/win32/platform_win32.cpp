// The editor's platform services on Windows: GDI+ start-up, drawing surfaces, screen
// positions, fonts. Bitmaps are in platform_bitmaps.cpp.
#include "editor/platform.h"

#include "editor/win32/gdiplus_surface.h"
#include "editor/win32/platform_objects.h"

namespace vrn::editor_platform
{

std::uintptr_t StartupGraphics()
{
    // Version 1, no debug callback, GDI+'s own background thread and the external codecs.
    const gdip::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (gdip::GdiplusStartup(&token, &input, nullptr) != gdip::Ok)
        return 0;
    return token;
}

void ShutdownGraphics(std::uintptr_t token)
{
    if (token)
        gdip::GdiplusShutdown(token);
}

std::unique_ptr<DrawSurface> CreateContextSurface(void* deviceContext, void* window)
{
    return GdiplusSurface::onDeviceContext(static_cast<HDC>(deviceContext),
                                           static_cast<HWND>(window));
}

std::unique_ptr<DrawSurface> CreateBitmapSurface(PlatformBitmap* bitmap)
{
    if (!bitmap || !bitmap->bitmap)
        return nullptr;
    return GdiplusSurface::onBitmap(bitmap->bitmap);
}

ViewPoint WindowScreenOrigin(void* window)
{
    RECT bounds{};
    if (!window || !GetWindowRect(static_cast<HWND>(window), &bounds))
        return {};
    return {static_cast<double>(bounds.left), static_cast<double>(bounds.top)};
}

ViewPoint CursorScreenPosition()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    return {static_cast<double>(cursor.x), static_cast<double>(cursor.y)};
}

void DestroyFont(PlatformFont* font)
{
    if (!font)
        return;
    gdip::GdipDeleteFont(font->font);
    delete font;
}

} // namespace vrn::editor_platform
