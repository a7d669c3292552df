#pragma once
// The fake window system that native unit tests link instead of a real back end (library
// vrn_editor_fake). Off by default: no frame window is made. Tests switch on fake windows to
// drive the frame's window side: every window call is then logged as one line of text, and the
// test plays the window procedure through the window's FrameWindowClient.

#include "editor/view_types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vrn
{
class DrawSurface;
class FrameWindowClient;
} // namespace vrn

namespace vrn::editor_platform
{

/// Fake windows on: CreateFrameWindow makes one for a non-null parent, and window calls append
/// lines to `log` ("create 450 500", "invalidate 0 0 450 500", "events", "capture", "release
/// capture", "track leave", "cursor 2", "cursor default", "resize 300 200", "drop target on", "drop
/// target off", "destroy", "ole init", "ole uninit", "paint dispatch", "sleep 4").
void StartFakeWindows(std::vector<std::string>* log);
/// Fake windows off again; every setting below returns to its default.
void StopFakeWindows();
/// Destroys a fake window as the system does with its parent: the client hears
/// onWindowDestroyed and the handle value is free for the next window (frames give back their
/// share of the class with ForgetFrameWindow, logged "forget").
void DestroyFakeWindowBySystem(void* window);

/// The client bound to a fake window (null after destroy or for an unknown handle).
FrameWindowClient* FakeWindowClient(void* window);
/// Fake frame windows that exist now.
int FakeWindowCount();
/// Whether a window class is registered now (the first window registers it, the last unregisters).
bool FakeWindowClassRegistered();

/// The next `count` CreateFrameWindow calls fail (as a failed class registration would).
void FailWindowCreation(int count);
/// StartupGraphics answers 0 (failed) while set.
void FailGraphicsStartup(bool fail);
/// Successful StartupGraphics and ShutdownGraphics calls since the process started (any
/// thread), and whether the drawing library runs now.
int GraphicsStartups();
int GraphicsShutdowns();
bool GraphicsRunning();
/// InitializeOle answers false while set.
void FailOleInitialization(bool fail);
/// Successful InitializeOle calls not yet balanced by UninitializeOle, all threads.
int OpenOleInitializations();
/// The same for the calling thread.
int OpenOleInitializationsOnThisThread();
/// Whether some thread's UninitializeOle calls outnumbered its own InitializeOle calls.
bool OleEverUnbalanced();

/// What OsMajorVersion answers (default 10).
void SetFakeOsMajorVersion(int major);
/// Screen origin of every fake window (default (0, 0)).
void SetFakeWindowOrigin(ViewPoint origin);
/// The pointer on the screen and the buttons held (CursorScreenPosition, CurrentButtonState).
void SetFakePointer(ViewPoint screen, ButtonState buttons);
/// What ResizeFrameWindow answers (default true).
void SetFakeResizeAnswer(bool answer);
/// What WindowContentScale answers (default 1; any value, as a system might report it).
void SetFakeContentScale(double scale);
/// Paint messages DispatchPendingPaint finds waiting (each call takes one).
void SetFakePendingPaints(int count);
/// Surfaces for window draw contexts (CreateContextSurface with a device context or window);
/// null factory: none (the default).
void SetFakeWindowSurfaces(std::function<std::unique_ptr<DrawSurface>()> factory);

} // namespace vrn::editor_platform
