#pragma once
// The plug-in's editor: one frame holding one effect view over the whole 450 × 500 editor.

#include "host/aeff_gui_editor.h"

namespace vrn
{

class CVeST;
class CVeSTView;

/// Editor of a CVeST: opens a frame in the host's window with the effect view, drives the
/// effect's redraw timer from the host's idle, and repaints the view on the effect's request.
/// The frame and the view are 450 × 500 editor pixels at every content scale.
class CVeSTEditor : public AEffGUIEditor
{
public:
    static constexpr int kWidth = 450;  ///< editor pixels
    static constexpr int kHeight = 500; ///< editor pixels

    /// Attaches itself to `wrapper` as its editor.
    explicit CVeSTEditor(CVeST* wrapper);
    /// Closes a frame the host left open.
    ~CVeSTEditor() override;

    /// Makes the frame inside `parentWindow` at the content scale (the system's for that
    /// window unless the host chose one) and the effect view over it. False, with nothing left
    /// behind, when the window cannot be made (no parent, failed window or drawing start).
    bool open(void* parentWindow) override;
    /// Releases the frame (which destroys the window and the view).
    void close() override;
    /// Runs the effect's redraw timer while open, then the frame's idle.
    void idle() override;

    /// Asks for the whole effect view to be repainted; false while closed.
    bool redrawEffectView();
    CVeSTView* getView() const { return view; }

private:
    CVeST* vest;
    CVeSTView* view = nullptr;
};

} // namespace vrn
