// The editor base: frame idle, keys, wheel, knob mode, edits and the idle rhythm.
#include "host/aeff_gui_editor.h"

#include "editor/content_scale.h"
#include "editor/frame.h"
#include "editor/platform.h"
#include "host/audio_effect_x.h"
#include "platform/platform.h"

namespace vrn
{

namespace
{
// One knob mode for every editor of the library.
std::int32_t sharedKnobMode = 0;
} // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* owner)
    : AEffEditor(owner), ticks(&platform::MillisecondClock)
{
    if (owner)
        owner->setEditor(this);
    lastTicks = ticks();
    // OLE is not initialised here but by the frame, on the thread that makes and destroys the
    // window: a host may build plug-ins on a worker thread and delete them on its UI thread,
    // and uninitialising there would take the UI thread's apartment from the host.
}

AEffGUIEditor::~AEffGUIEditor() = default;

bool AEffGUIEditor::getRect(ERect** out)
{
    if (!out)
        return false;
    *out = &rect;
    return true;
}

void AEffGUIEditor::idle()
{
    if (!inIdle && frame)
        frame->idle();
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& key)
{
    if (!frame)
        return false;
    return frame->keyDown(KeyCode{key.character, key.virt, key.modifier}) > 0;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& key)
{
    if (!frame)
        return false;
    return frame->keyUp(KeyCode{key.character, key.virt, key.modifier}) > 0;
}

bool AEffGUIEditor::onWheel(float distance)
{
    if (!frame)
        return false;
    return frame->wheel(frame->currentMouseLocation(), distance, frame->currentMouseButtons());
}

bool AEffGUIEditor::setKnobMode(int32 mode)
{
    sharedKnobMode = mode;
    return true;
}

bool AEffGUIEditor::setContentScale(double requested)
{
    double scale = 1.0;
    if (!ContentScaleFor(requested, scale))
        return false;
    scaleFromHost = true;
    applyScale(scale);
    return true;
}

void AEffGUIEditor::setEditorSize(int width, int height)
{
    editorWidth = width;
    editorHeight = height;
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<int16>(ScaledLength(height, contentScale));
    rect.right = static_cast<int16>(ScaledLength(width, contentScale));
}

bool AEffGUIEditor::takeSystemScale(void* parentWindow)
{
    double scale = 1.0;
    if (scaleFromHost || frame ||
        !ContentScaleFor(editor_platform::WindowContentScale(parentWindow), scale) ||
        scale == contentScale)
        return false;
    applyScale(scale);
    return true;
}

void AEffGUIEditor::applyScale(double scale)
{
    contentScale = scale;
    setEditorSize(editorWidth, editorHeight);
    if (frame && frame->setScale(scale))
        requestWindowSize();
}

void AEffGUIEditor::requestWindowSize()
{
    // Hosts that cannot resize their window answer 0: the editor's window has its size anyway.
    if (auto* x = dynamic_cast<AudioEffectX*>(effect))
        x->sizeWindow(rect.right - rect.left, rect.bottom - rect.top);
}

void AEffGUIEditor::setParameter(int32, float) {}

void AEffGUIEditor::draw(const ERect* area)
{
    if (!frame)
        return;
    if (area)
        frame->drawArea(
            nullptr, ViewRect{static_cast<double>(area->left), static_cast<double>(area->top),
                              static_cast<double>(area->right), static_cast<double>(area->bottom)});
    else
        frame->draw(nullptr);
}

void AEffGUIEditor::doIdleStuff()
{
    std::uint32_t now = ticks();
    // How long until the next host idle is due; modular, so the tick count's wrap every
    // 49.7 days neither stalls nor hurries the rhythm.
    auto ahead = static_cast<std::int32_t>(lastTicks - now);
    if (ahead > 0)
    {
        editor_platform::SleepMilliseconds(kIdleWaitMs);
        now += kIdleWaitMs;
        ahead -= static_cast<std::int32_t>(kIdleWaitMs);
        if (ahead > static_cast<std::int32_t>(kIdleToleranceMs))
            return;
    }
    idle();
    editor_platform::DispatchPendingPaint();
    lastTicks = now + kIdleRateMs;
    // The host's idle may call back into the editor: no frame idle meanwhile.
    inIdle = true;
    if (effect)
        effect->masterIdle();
    inIdle = false;
}

std::int32_t AEffGUIEditor::getKnobMode() const
{
    return sharedKnobMode;
}

void AEffGUIEditor::beginEdit(std::int32_t index)
{
    if (auto* x = dynamic_cast<AudioEffectX*>(effect))
        x->beginEdit(index);
}

void AEffGUIEditor::endEdit(std::int32_t index)
{
    if (auto* x = dynamic_cast<AudioEffectX*>(effect))
        x->endEdit(index);
}

} // namespace vrn
