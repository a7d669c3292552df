// X pointer events as the frame's window calls.
#include "editor/x11/pointer_events.h"

#include <cstdint>
#include <cstdlib>

namespace vrn::editor_platform
{

namespace
{
constexpr int kWheelNotch = 120; ///< a notch in the units of a Windows wheel delta

// X's pointer buttons; 4 to 7 are the wheel's turns, 8 and 9 the extra (back, forward) buttons.
constexpr unsigned int kWheelUp = 4;
constexpr unsigned int kWheelDown = 5;
constexpr unsigned int kWheelLeft = 6;
constexpr unsigned int kWheelRight = 7;

// The ButtonState bit of a button that can be held; 0 for the wheel and unknown buttons.
ButtonState ButtonBit(unsigned int button)
{
    switch (button)
    {
    case Button1:
        return kLButton;
    case Button2:
        return kMButton;
    case Button3:
        return kRButton;
    case 8:
        return kButton4;
    case 9:
        return kButton5;
    default:
        return 0;
    }
}

ViewPoint PointOf(int x, int y)
{
    return {static_cast<double>(x), static_cast<double>(y)};
}

ButtonState ModifiersOf(unsigned int state)
{
    return ButtonStateOfMask(state) & (kShift | kControl | kAlt);
}
} // namespace

ButtonState ButtonStateOfMask(unsigned int state)
{
    ButtonState buttons = 0;
    if (state & Button1Mask)
        buttons |= kLButton;
    if (state & Button2Mask)
        buttons |= kMButton;
    if (state & Button3Mask)
        buttons |= kRButton;
    if (state & ShiftMask)
        buttons |= kShift;
    if (state & ControlMask)
        buttons |= kControl;
    if (state & Mod1Mask)
        buttons |= kAlt;
    return buttons;
}

bool PointerEvents::translate(const XEvent& event, FrameWindowClient& client)
{
    switch (event.type)
    {
    case ButtonPress:
        press(event.xbutton, client);
        return true;
    case ButtonRelease:
        release(event.xbutton, client);
        return true;
    case MotionNotify:
        client.onWindowMouseMoved(PointOf(event.xmotion.x, event.xmotion.y),
                                  ButtonStateOfMask(event.xmotion.state));
        return true;
    case LeaveNotify:
        leave(client);
        return true;
    default:
        return false;
    }
}

void PointerEvents::press(const XButtonEvent& event, FrameWindowClient& client)
{
    const ViewPoint screen = PointOf(event.x_root, event.y_root);
    switch (event.button)
    {
    case kWheelUp:
    case kWheelDown:
        client.onWindowWheel(screen, event.button == kWheelUp ? kWheelNotch : -kWheelNotch,
                             ModifiersOf(event.state), kMouseWheelVertical);
        return;
    case kWheelLeft:
    case kWheelRight:
        client.onWindowWheel(screen, event.button == kWheelRight ? kWheelNotch : -kWheelNotch,
                             ModifiersOf(event.state), kMouseWheelHorizontal);
        return;
    default:
        break;
    }
    const ButtonState button = ButtonBit(event.button);
    if (!button)
        return;
    // The event's state is the one before the press: the pressed button joins it.
    ButtonState buttons = ButtonStateOfMask(event.state) | button;
    if (isDoubleClick(event))
        buttons |= kDoubleClick;
    pressed |= button;
    client.onWindowMouseDown(PointOf(event.x, event.y), buttons);
}

void PointerEvents::release(const XButtonEvent& event, FrameWindowClient& client)
{
    // Wheel turns end with a release too: the turn was the press.
    const ButtonState released = ButtonBit(event.button);
    if (!released)
        return;
    pressed &= ~released;
    client.onWindowMouseUp(PointOf(event.x, event.y), ButtonStateOfMask(event.state) & ~released);
}

void PointerEvents::leave(FrameWindowClient& client)
{
    if (!leaveRequested)
        return;
    leaveRequested = false;
    client.onWindowMouseLeave();
}

void PointerEvents::endPress(FrameWindowClient& client)
{
    if (!pressed)
        return;
    pressed = 0;
    client.onWindowCaptureLost();
}

bool PointerEvents::isDoubleClick(const XButtonEvent& event)
{
    // Server times are milliseconds that wrap at 2^32: the difference is taken modulo that.
    const auto elapsed =
        static_cast<unsigned long>(static_cast<std::uint32_t>(event.time - lastTime));
    const bool isDouble = event.button == lastButton && elapsed <= kDoubleClickMs &&
                          std::abs(event.x - lastX) <= kDoubleClickSlop &&
                          std::abs(event.y - lastY) <= kDoubleClickSlop;
    // A double click starts no other: the next press is a single click again.
    lastButton = isDouble ? 0 : event.button;
    lastTime = event.time;
    lastX = event.x;
    lastY = event.y;
    return isDouble;
}

} // namespace vrn::editor_platform
