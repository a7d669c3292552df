#pragma once
// The effect view: the one view of the editor, handing painting and mouse events to the effect.

#include "editor/view.h"

#include <cstdint>

namespace vrn
{

/// What the effect view asks of the host wrapper: the effect's paint, mouse and key entries.
/// Each call does nothing when the effect has no such entry. UI thread only.
class IEffectViewHost
{
public:
    virtual ~IEffectViewHost() = default;

    /// Runs the effect's drawing with `context` as the paint context for the duration (the
    /// view's size in pixels passed along); the context is untouched without a drawing entry.
    virtual void PaintEffect(CDrawContext* context, std::int32_t width, std::int32_t height) = 0;
    /// A button went down at (x, y) view pixels with `buttons` held.
    virtual void EffectMouseDown(std::int32_t x, std::int32_t y, ButtonState buttons) = 0;
    /// A button went up at (x, y) view pixels.
    virtual void EffectMouseUp(std::int32_t x, std::int32_t y, ButtonState buttons) = 0;
    /// The pointer moved to (x, y) view pixels.
    virtual void EffectMouseMoved(std::int32_t x, std::int32_t y, ButtonState buttons) = 0;
    /// A key went down.
    virtual void EffectKeyDown(const KeyCode& key) = 0;
    /// A key went up.
    virtual void EffectKeyUp(const KeyCode& key) = 0;
};

/// Covers the whole editor; draws through the effect and tells it of the mouse (points in view
/// pixels, truncated to whole pixels). Answers
/// "handled" to every mouse and key event, so that it keeps a pressed button's moves and
/// release. Wheel turns are not taken.
class CVeSTView : public CView
{
public:
    /// `host` is the wrapper (not owned; outlives the view).
    CVeSTView(const ViewRect& size, IEffectViewHost* host);

    void draw(CDrawContext* context) override;
    MouseResult mouseDown(ViewPoint where, ButtonState buttons) override;
    MouseResult mouseUp(ViewPoint where, ButtonState buttons) override;
    MouseResult mouseMoved(ViewPoint where, ButtonState buttons) override;
    std::int32_t keyDown(const KeyCode& key) override;
    std::int32_t keyUp(const KeyCode& key) override;

private:
    IEffectViewHost* host;
};

} // namespace vrn
