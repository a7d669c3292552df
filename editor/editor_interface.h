#pragma once
// The editor as the frame sees it: idle processing, knob mode and parameter edit gestures.

#include <cstdint>

namespace vrn
{

/// Implemented by the plug-in's editor; the frame forwards these requests to it (UI thread).
class VSTGUIEditorInterface
{
public:
    /// Idle work the frame asks for (redraw, paint dispatch, host idle).
    virtual void doIdleStuff() = 0;
    /// The knob mode the host set (shared by all editors).
    virtual std::int32_t getKnobMode() const = 0;
    /// The user starts changing parameter `index` (0-based).
    virtual void beginEdit(std::int32_t index) = 0;
    /// The user stops changing parameter `index` (0-based).
    virtual void endEdit(std::int32_t index) = 0;

    virtual ~VSTGUIEditorInterface() = default;
};

} // namespace vrn
