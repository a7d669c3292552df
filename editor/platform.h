#pragma once
// What the platform provides to the editor host: drawing surfaces, bitmaps, fonts, the drawing
// library's start-up, and the frame's native window. editor/win32/ implements it with GDI+,
// Win32 and OLE; editor/x11/ with Xlib and cairo. Native unit tests link a fake instead
// (tests/support/test_window.h). editor/frame_window.h states which window event becomes which
// call on the frame.

#include "editor/view_types.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vrn
{

class CDropTarget;
class DrawSurface;
class FrameWindowClient;
struct PlatformBitmap;
struct PlatformFont;
struct CResourceDescription;

namespace editor_platform
{

/// Starts the drawing library; answers a token for ShutdownGraphics (0 when it failed).
std::uintptr_t StartupGraphics();
/// Shuts the drawing library down again.
void ShutdownGraphics(std::uintptr_t token);

/// A surface drawing into `deviceContext`, or into `window`'s own device context when the
/// former is null; null when both are null.
std::unique_ptr<DrawSurface> CreateContextSurface(void* deviceContext, void* window);
/// A surface drawing into `bitmap`; null when it has no image.
std::unique_ptr<DrawSurface> CreateBitmapSurface(PlatformBitmap* bitmap);
/// Top-left corner of `window` on the screen; (0, 0) without a window.
ViewPoint WindowScreenOrigin(void* window);
/// The pointer's position on the screen.
ViewPoint CursorScreenPosition();

/// Decodes the module's resource (type "DATA" first, then an ordinary bitmap); null on failure.
PlatformBitmap* LoadResourceBitmap(const CResourceDescription& resource);
/// Decodes an image file (UTF-8 path); null on failure.
PlatformBitmap* LoadFileBitmap(const std::string& path);
/// An empty 32-bit ARGB bitmap; null on failure.
PlatformBitmap* CreateEmptyBitmap(int width, int height);
/// A 32-bit ARGB copy of `source`; null on failure.
PlatformBitmap* CopyBitmap(PlatformBitmap& source);
/// Width and height of `bitmap`, pixels.
void BitmapSize(PlatformBitmap& bitmap, double& width, double& height);
/// Frees a bitmap made by one of the functions above.
void DestroyBitmap(PlatformBitmap* bitmap);

/// Frees a platform font made by a drawing surface.
void DestroyFont(PlatformFont* font);

// --- frame window (UI thread; `window` is the handle CreateFrameWindow answered)

/// Creates the frame's visible child window of `width` × `height` pixels at (0, 0) inside
/// `parentWindow`, bound to `client`; registers the window class when no frame window exists
/// (the last DestroyFrameWindow unregisters it). Answers the native window handle, or null
/// (null parent, failed registration or creation: then nothing stays registered or counted).
void* CreateFrameWindow(void* parentWindow, int width, int height, FrameWindowClient* client);
/// Unbinds the client and destroys the window; the last frame window unregisters the class.
void DestroyFrameWindow(void* window);
/// For a frame whose window the system destroyed already (the client heard
/// onWindowDestroyed): gives back its share of the class registration only.
void ForgetFrameWindow();
/// Queues a repaint of the rectangle (pixels, right and bottom exclusive, erase requested).
void InvalidateWindowRect(void* window, int left, int top, int right, int bottom);
/// Reads the window's pending events, turns them into FrameWindowClient calls and paints what
/// is invalid, where the editor reads its window's events itself (X11: from the frame's idle);
/// nothing where the system's message loop delivers them (Windows).
void HandleWindowEvents(void* window);
/// Sends all pointer input to `window` until ReleaseMouseCapture.
void CaptureMouse(void* window);
/// Ends a pointer capture of this thread (harmless without one).
void ReleaseMouseCapture();
/// Asks for one FrameWindowClient::onWindowMouseLeave when the pointer leaves `window`.
void RequestMouseLeave(void* window);
/// The cursor shown now (native handle, may be null).
void* CurrentCursor();
/// The system cursor for `shape` (native handle); null for kCursorDefault and kCursorCopy.
void* SystemCursor(CCursorType shape);
/// Shows `cursor`, a handle from CurrentCursor or SystemCursor (null hides the cursor).
void ShowCursorHandle(void* cursor);
/// Resizes the frame window to `width` × `height` pixels and grows the enclosing windows
/// (up to an MDI client) by as much; false when an enclosing window grows by more than
/// 80 pixels (it belongs to the host: the frame then keeps its rectangle).
bool ResizeFrameWindow(void* window, int width, int height);
/// Top-left corner, in its parent's pixels, of the editor's outermost own window: the first
/// enclosing window that has a caption or no parent, or whose parent differs in size by
/// more than 60 pixels.
ViewPoint OuterWindowPosition(void* window);
/// Buttons and modifier keys held now (ButtonState: left, middle, right, shift, control, alt;
/// left and right as the user set them up).
ButtonState CurrentButtonState();
/// The content scale the system asks for in `parentWindow` (a host's window): its DPI / 96
/// (Windows: the window's DPI where the system has it, else the screen's; X11: the display's
/// Xft.dpi resource); 1 where the system says nothing. Not yet checked against the editor's
/// rule (ContentScaleFor).
double WindowContentScale(void* parentWindow);
/// Major version of the operating system; below 6 the frame paints through a back buffer.
int OsMajorVersion();
/// Removes one waiting paint message of this thread and dispatches it; false when none.
bool DispatchPendingPaint();
/// Waits `milliseconds` ms.
void SleepMilliseconds(unsigned milliseconds);
/// Initialises OLE on the calling thread (each successful call needs one UninitializeOle).
bool InitializeOle();
/// Balances one successful InitializeOle.
void UninitializeOle();
/// Registers `target` as `window`'s drop target; the platform retains it until
/// RevokeDropTarget. False when the system refused.
bool RegisterDropTarget(void* window, CDropTarget* target);
/// Revokes `window`'s drop target and drops the platform's references to it (null: nothing).
void RevokeDropTarget(void* window);
/// The target of the shortcut file `path` (UTF-16), resolved without user interface within
/// 500 ms, as a short path; false when it cannot be resolved.
bool ResolveShortcut(const std::u16string& path, std::u16string& target);

} // namespace editor_platform
} // namespace vrn
