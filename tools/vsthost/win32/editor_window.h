#pragma once
// The plug-in's editor inside a top-level window of the host tool's own: opening and closing
// it, the host's idle rhythm, and real mouse messages at editor coordinates.

#include "tools/hosting/host_session.h"
#include "tools/vsthost/command_table.h"

#include <windows.h>

#include <string>
#include <vector>

namespace vrn
{

/// Keys held during a mouse message (MK_SHIFT, MK_CONTROL).
using MouseKeys = WPARAM;

/// An input the plug-in processes while the editor idles, looped: channel pointers (null:
/// silence) of `frames` samples each.
struct IdleSignal
{
    std::vector<std::vector<double>> channels; ///< as read from the file
    std::size_t frames = 0;                    ///< samples per channel, > 0
};

/// The editor of one instance in a window of the tool's own; closes itself when destroyed.
class EditorWindow final : public CommandState
{
public:
    /// A window for the editor of `session`'s instance; nothing is opened yet.
    explicit EditorWindow(HostSession& instance) : session(instance) {}
    /// Closes the editor and its window.
    ~EditorWindow() override;
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    /// Asks the plug-in for its editor size (effEditGetRect), makes a top-level window with a
    /// client area of that size, opens the editor in it (effEditOpen) and idles once. False
    /// with `error` when the plug-in reports no size or the window cannot be made.
    [[nodiscard]] bool Open(std::string& error);

    /// Sends effEditClose (while the instance is open) and destroys the window. Safe to repeat.
    void Close() noexcept;

    /// Editor size (pixels).
    int Width() const { return width; }
    int Height() const { return height; }

    /// The host's idle rhythm for `milliseconds`: messages pumped and effEditIdle sent about
    /// every 10 ms; with `signal`, the audio due by the clock is processed between idles.
    /// Returns the number of idle calls; false with `error` when processing fails.
    [[nodiscard]] bool Idle(int milliseconds, const IdleSignal* signal, int& idles,
                            std::string& error);

    /// Pumps the messages that are waiting, then sends one effEditIdle.
    void PumpAndIdle();

    /// Posts `message` (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP or WM_MOUSEWHEEL) at editor
    /// coordinates (x, y) to the editor's own window with `keys` held (and the left button for
    /// `buttonDown`), then pumps and idles. `wheelDelta` is for WM_MOUSEWHEEL (120 a notch).
    /// False with `error` when the plug-in made no window of its own.
    [[nodiscard]] bool Mouse(UINT message, int x, int y, MouseKeys keys, bool buttonDown,
                             int wheelDelta, std::string& error);

    /// Repaints the editor's own window `frames` times at once (invalidate, paint), timing each
    /// paint: the cost of one editor frame; `allocations` are the plug-in's heap allocations
    /// meanwhile (−1 when they cannot be counted). False with `error` without a window of its own.
    [[nodiscard]] bool TimePaints(int frames, std::vector<double>& milliseconds, long& allocations,
                                  std::string& error);

    /// Saves the editor area as it is on screen into a PNG file at `path`.
    [[nodiscard]] bool SavePng(const std::string& path, std::string& error);

private:
    HWND EditorChild(int x, int y, POINT& point) const;

    HostSession& session;
    HWND window = nullptr;
    bool editorOpen = false;
    int width = 0;
    int height = 0;
    std::size_t signalPosition = 0;
};

} // namespace vrn
