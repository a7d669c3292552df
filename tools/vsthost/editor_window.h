#pragma once
// The plug-in's editor inside a top-level window of the host tool's own: opening and closing
// it, the host's idle rhythm, real mouse input at editor coordinates, timed repaints and the
// picture on screen. The window and the input go through HostWindow, one per platform.

#include "tools/hosting/host_session.h"
#include "tools/hosting/png_image.h"
#include "tools/vsthost/command_table.h"

#include <memory>
#include <string>
#include <vector>

namespace vrn
{

/// An input the plug-in processes while the editor idles, looped: channels of `frames` samples.
struct IdleSignal
{
    std::vector<std::vector<double>> channels; ///< as read from the file
    std::size_t frames = 0;                    ///< samples per channel, > 0
};

/// Keys held during a mouse event (bits).
constexpr int kKeyShift = 0x1;
constexpr int kKeyControl = 0x2;

/// One mouse event at editor coordinates.
struct MouseInput
{
    enum Kind
    {
        kMove,
        kLeftDown,
        kLeftUp,
        kWheel,
    };
    Kind kind = kMove;
    int x = 0;
    int y = 0;
    int keys = 0;            ///< kKeyShift, kKeyControl
    bool buttonDown = false; ///< the left button is held during the event
    int wheelDelta = 0;      ///< for kWheel: 120 a notch, positive away from the user
};

/// The tool's own top-level window on one platform, with its real input and screen capture.
class HostWindow
{
public:
    /// A borderless window with a client area of `width` × `height` pixels at the top-left of
    /// the screen, shown without taking the focus. Null with `error` when it cannot be made.
    static std::unique_ptr<HostWindow> Create(int width, int height, std::string& error);
    /// Destroys the window.
    virtual ~HostWindow() = default;

    /// What effEditOpen receives: the native window handle (Windows HWND, X11 Window id).
    [[nodiscard]] virtual void* ParentHandle() const = 0;
    /// True when the plug-in made a window of its own inside.
    [[nodiscard]] virtual bool HasEditorWindow() const = 0;
    /// Handles what the system has for the tool's window (Windows: pumps the thread's messages).
    virtual void Pump() = 0;
    /// Gives the window a client area of `width` × `height` pixels (the plug-in asked for it);
    /// its top-left corner stays.
    virtual void Resize(int width, int height) = 0;
    /// Makes `input` happen as a user would, with its keys held until EndMouse; the plug-in
    /// sees it at its next idle. False with `error` when the plug-in made no window of its own.
    [[nodiscard]] virtual bool SendMouse(const MouseInput& input, std::string& error) = 0;
    /// Lets go of the keys SendMouse held.
    virtual void EndMouse() = 0;
    /// Has the editor's window repaint all of itself now (X11: exposes it and sends the
    /// effEditIdle at which the plug-in paints). False with `error` without a window of the
    /// plug-in.
    [[nodiscard]] virtual bool PaintNow(HostSession& session, std::string& error) = 0;
    /// The top-left `width` × `height` pixels of the window as they show on screen, child
    /// windows included.
    [[nodiscard]] virtual bool Capture(Image& image, std::string& error) = 0;
};

/// Writes `image` to `path` as a compressed PNG file with the platform's encoder (GDI+, cairo);
/// false with `error`.
[[nodiscard]] bool WriteCompressedPng(const std::string& path, const Image& image,
                                      std::string& error);

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

    /// Asks the plug-in for its editor size (effEditGetRect), makes the window, opens the editor
    /// in it (effEditOpen) and idles once. From then on the window follows the plug-in's
    /// audioMasterSizeWindow (printing "size window: WxH"). False with `error` when the plug-in
    /// reports no size, the window cannot be made or the plug-in opens no editor.
    [[nodiscard]] bool Open(std::string& error);

    /// Sends effEditClose (while the instance is open) and destroys the window. Safe to repeat.
    void Close() noexcept;

    /// Editor size (pixels), as the plug-in last reported or asked for it.
    int Width() const { return width; }
    int Height() const { return height; }

    /// The host's idle rhythm for `milliseconds`: the window pumped and effEditIdle sent about
    /// every 10 ms; with `signal`, the audio due by the clock is processed between idles.
    /// Returns the number of idle calls; false with `error` when processing fails.
    [[nodiscard]] bool Idle(int milliseconds, const IdleSignal* signal, int& idles,
                            std::string& error);

    /// Pumps the window, then sends one effEditIdle.
    void PumpAndIdle();

    /// Makes `input` happen, then pumps and idles (keys held meanwhile). False with `error`
    /// when the plug-in made no window of its own.
    [[nodiscard]] bool Mouse(const MouseInput& input, std::string& error);

    /// Repaints the editor `frames` times, timing each repaint: the cost of one editor frame;
    /// `allocations` are the plug-in's heap allocations meanwhile (−1 when they cannot be
    /// counted). False with `error` without a window of the plug-in's own.
    [[nodiscard]] bool TimePaints(int frames, std::vector<double>& milliseconds, long& allocations,
                                  std::string& error);

    /// Saves the editor area as it is on screen into a PNG file at `path`.
    [[nodiscard]] bool SavePng(const std::string& path, std::string& error);

private:
    /// The plug-in's audioMasterSizeWindow: true when the window took the size.
    bool Resize(int32 newWidth, int32 newHeight);

    HostSession& session;
    std::unique_ptr<HostWindow> window;
    bool editorOpen = false;
    int width = 0;
    int height = 0;
    std::size_t signalPosition = 0;
};

} // namespace vrn
