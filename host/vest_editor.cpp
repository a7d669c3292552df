// The plug-in's editor: frame and effect view, idle with the redraw timer.
#include "host/vest_editor.h"

#include "editor/frame.h"
#include "graphics/vest_view.h"
#include "host/vest.h"

namespace vrn
{

CVeSTEditor::CVeSTEditor(CVeST* wrapper) : AEffGUIEditor(wrapper), vest(wrapper)
{
    setEditorSize(kWidth, kHeight);
}

CVeSTEditor::~CVeSTEditor()
{
    // A host that never sent effEditClose must not leave a window behind.
    close();
}

bool CVeSTEditor::open(void* parentWindow)
{
    // A second open without a close would orphan the first frame and its window.
    close();
    if (!parentWindow)
        return false;
    const bool resized = takeSystemScale(parentWindow);
    const ViewRect whole{0.0, 0.0, static_cast<double>(getEditorWidth()),
                         static_cast<double>(getEditorHeight())};
    auto* newFrame = new CFrame(whole, parentWindow, this, getContentScale());
    if (!newFrame->isWindowOpen())
    {
        newFrame->release();
        return false;
    }
    frame = newFrame;
    view = new CVeSTView(whole, vest);
    frame->addChild(view);
    systemWindow = parentWindow;
    // The host may have sized its window by the rect it read before the system's scale was
    // known.
    if (resized)
        requestWindowSize();
    return true;
}

void CVeSTEditor::close()
{
    // The frame holds the view: releasing the frame destroys both.
    if (frame)
        frame->release();
    frame = nullptr;
    view = nullptr;
    systemWindow = nullptr;
}

void CVeSTEditor::idle()
{
    if (view && frame && vest && vest->callbacks.editorIdle)
        vest->callbacks.editorIdle(vest);
    AEffGUIEditor::idle();
}

bool CVeSTEditor::redrawEffectView()
{
    if (!view || !frame)
        return false;
    view->invalidateArea(view->bounds());
    return true;
}

} // namespace vrn
