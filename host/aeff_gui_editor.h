#pragma once
// The editor base of the editor-window library: a frame driven by the host's editor calls.

#include "editor/editor_interface.h"
#include "editor/view_types.h"
#include "host/aeff_editor.h"

#include <cstdint>

namespace vrn
{

class CFrame;

/// Holds the frame while the editor is open and drives it from the host's idle, key and wheel
/// calls. Initialises OLE for its thread once per instance (at construction). UI thread only.
///
/// On a high-density screen the editor draws at a content scale: its window (and the rect the
/// host reads) is the editor's size times the scale, while the frame and its views keep the
/// editor's own size. The host's request (setContentScale) decides the scale; until a host made
/// one, the system's scale for the host's window does, read at every open.
class AEffGUIEditor : public AEffEditor, public VSTGUIEditorInterface
{
public:
    /// A source of milliseconds from an arbitrary origin (wraps at 2^32).
    using TickSource = std::uint32_t (*)();

    static constexpr std::uint32_t kIdleRateMs = 100;     ///< between host idles from doIdleStuff
    static constexpr std::uint32_t kIdleToleranceMs = 50; ///< how early doIdleStuff may run
    static constexpr std::uint32_t kIdleWaitMs = 4;       ///< wait when called too early

    explicit AEffGUIEditor(AudioEffect* effect);
    /// Balances the OLE initialisation; close the editor first (the frame is not released here).
    ~AEffGUIEditor() override;

    /// Points `*rect` at the editor's rectangle; true.
    bool getRect(ERect** rect) override;
    /// Runs the frame's idle (turning dirty views into window repaints) unless a host idle
    /// from doIdleStuff is in progress.
    void idle() override;
    /// Offers the key to the frame; true when it was used.
    bool onKeyDown(VstKeyCode& key) override;
    bool onKeyUp(VstKeyCode& key) override;
    /// Offers a wheel turn of `distance` notches at the pointer to the frame; true when used.
    bool onWheel(float distance) override;
    /// Stores the knob mode shared by all editors; true.
    bool setKnobMode(int32 mode) override;
    /// Takes the host's content scale by ContentScaleFor's rule (false, nothing changed, when
    /// the rule refuses it), from now on over the system's. An open editor is resized at once
    /// and the host asked for the room (audioMasterSizeWindow).
    bool setContentScale(double requested) override;
    /// Window pixels per editor pixel (1 … 3).
    double getContentScale() const { return contentScale; }
    /// The editor's size in its own pixels (the window's divided by the scale).
    int getEditorWidth() const { return editorWidth; }
    int getEditorHeight() const { return editorHeight; }
    /// A parameter changed: nothing to do here.
    virtual void setParameter(int32 index, float value);
    /// Draws `rect` of the frame now (the whole frame when null).
    virtual void draw(const ERect* rect = nullptr);

    // --- VSTGUIEditorInterface
    /// At most one host idle per 100 ms: runs idle, dispatches a waiting paint, lets the host
    /// idle. Called less than 50 ms early it waits 4 ms and gives up if still too early.
    void doIdleStuff() override;
    std::int32_t getKnobMode() const override;
    /// Tells the host that the user starts or stops changing parameter `index`.
    void beginEdit(std::int32_t index) override;
    void endEdit(std::int32_t index) override;

    CFrame* getFrame() const { return frame; }
    /// Replaces the tick source of doIdleStuff (tests); the rhythm restarts from its reading.
    void setTickSource(TickSource source)
    {
        ticks = source;
        lastTicks = ticks();
    }

protected:
    /// Sets the editor's size in its own pixels; the rect follows at the current scale.
    void setEditorSize(int width, int height);
    /// Before an open in `parentWindow`: takes the system's content scale for that window
    /// unless the host chose one. True when the window's size changed by it.
    bool takeSystemScale(void* parentWindow);
    /// Asks the host to make room for the window's size (the rect's).
    void requestWindowSize();

    CFrame* frame = nullptr;
    bool inIdle = false;
    ERect rect{};
    std::uint32_t lastTicks = 0;

private:
    /// Sets the scale and the rect; an open frame follows and the host is asked for the room.
    void applyScale(double scale);

    TickSource ticks;
    int editorWidth = 0;  ///< editor pixels
    int editorHeight = 0; ///< editor pixels
    double contentScale = 1.0;
    bool scaleFromHost = false; ///< a host chose the scale: the system's no longer counts
};

} // namespace vrn
