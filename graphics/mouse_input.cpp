// The effect's mouse handlers.
#include "graphics/mouse_input.h"

#include "runtime/editor_state.h"

namespace vrn
{

namespace
{
constexpr double kMinimumFrameRate = 30.0; ///< redraws per second while the mouse is used

void RaiseFrameRate(CXaltoMouse& effect)
{
    if (!(effect.frameRate >= kMinimumFrameRate))
        effect.frameRate = kMinimumFrameRate;
}
} // namespace

double MouseButtonsFromState(ButtonState buttons)
{
    int bits = 0;
    if (buttons & kLButton)
        bits |= 1;
    if (buttons & kRButton)
        bits |= 2;
    if (buttons & kControl)
        bits |= 4;
    if (buttons & kShift)
        bits |= 8;
    if (buttons & kAlt)
        bits |= 16;
    if (buttons & kMButton)
        bits |= 64;
    return bits;
}

void mouseDown(CXaltoMouse& effect, double x, double y, ButtonState buttons)
{
    effect.mouseX = x;
    effect.mouseY = y;
    effect.mouseButtons = MouseButtonsFromState(buttons);
    RaiseFrameRate(effect);
}

void mouseUp(CXaltoMouse& effect, double x, double y)
{
    effect.mouseX = x;
    effect.mouseY = y;
    effect.mouseButtons = 0.0;
    RaiseFrameRate(effect);
}

void mouseMoved(CXaltoMouse& effect, double x, double y)
{
    effect.mouseX = x;
    effect.mouseY = y;
    RaiseFrameRate(effect);
}

} // namespace vrn
