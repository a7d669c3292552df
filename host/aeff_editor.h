#pragma once
// Base class of a plug-in editor as the dispatcher sees it.

#include "host/vst2_abi.h"

namespace vrn
{

class AudioEffect;

/// An editor attached to an AudioEffect; the defaults answer "not handled".
class AEffEditor
{
public:
    explicit AEffEditor(AudioEffect* owner) : effect(owner) {}
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;
    virtual ~AEffEditor() = default;

    /// The effect this editor belongs to.
    virtual AudioEffect* getEffect() { return effect; }
    /// Sets `*rect` to the editor's size in pixels; false when there is none.
    virtual bool getRect(ERect** rect)
    {
        if (rect)
            *rect = nullptr;
        return false;
    }
    /// Opens the editor inside the host's parent window.
    virtual bool open(void* parentWindow)
    {
        systemWindow = parentWindow;
        return false;
    }
    /// Closes the editor.
    virtual void close() { systemWindow = nullptr; }
    /// True while open.
    virtual bool isOpen() { return systemWindow != nullptr; }
    /// Host idle while the editor is open.
    virtual void idle() {}
    /// Key press; true when used.
    virtual bool onKeyDown(VstKeyCode&) { return false; }
    /// Key release; true when used.
    virtual bool onKeyUp(VstKeyCode&) { return false; }
    /// Mouse wheel; true when used.
    virtual bool onWheel(float) { return false; }
    /// Knob mode from the host; true when taken.
    virtual bool setKnobMode(int32) { return false; }
    /// The host's content scale (window pixels per editor pixel); true when taken.
    virtual bool setContentScale(double) { return false; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};

} // namespace vrn
