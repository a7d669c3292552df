// X pointer events become the frame's window calls with the button bits, modifiers, double
// clicks, wheel turns, leaves and grab losses that the Windows back end gives for its messages.
// GoogleTest before the X headers, whose macros (None, Status) would clash with its names.
#include <gtest/gtest.h>

#include "editor/x11/pointer_events.h"
#include "tests/x11/x11_fixture.h"

#include <algorithm>

namespace vrn::editor_platform
{
namespace
{

using Log = std::vector<std::string>;

XEvent Button(int type, unsigned int button, unsigned int state, int x, int y, Time time = 0)
{
    XEvent event{};
    event.xbutton.type = type;
    event.xbutton.button = button;
    event.xbutton.state = state;
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.x_root = x + 1000;
    event.xbutton.y_root = y + 2000;
    event.xbutton.time = time;
    return event;
}

XEvent Motion(unsigned int state, int x, int y)
{
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.state = state;
    event.xmotion.x = x;
    event.xmotion.y = y;
    return event;
}

XEvent Leave()
{
    XEvent event{};
    event.xcrossing.type = LeaveNotify;
    event.xcrossing.mode = NotifyNormal;
    return event;
}

TEST(PointerEvents, StateMasksBecomeButtonAndModifierBits)
{
    EXPECT_EQ(ButtonStateOfMask(Button1Mask), kLButton);
    EXPECT_EQ(ButtonStateOfMask(Button2Mask), kMButton);
    EXPECT_EQ(ButtonStateOfMask(Button3Mask), kRButton);
    EXPECT_EQ(ButtonStateOfMask(ShiftMask | ControlMask | Mod1Mask), kShift | kControl | kAlt);
    // Caps lock, num lock (Mod2) and the wheel's buttons are no state of the frame's.
    EXPECT_EQ(ButtonStateOfMask(LockMask | Mod2Mask | Button4Mask | Button5Mask), 0);
}

TEST(PointerEvents, PressesAndReleasesCarryTheButtonsHeldAfterThem)
{
    testing::RecordingClient client;
    PointerEvents events;
    // X reports the state before the event: the pressed button joins it, the released leaves.
    events.translate(Button(ButtonPress, Button1, ShiftMask, 10, 20), client);
    events.translate(Button(ButtonPress, Button3, Button1Mask | ShiftMask, 11, 21), client);
    events.translate(Motion(Button1Mask | Button3Mask, -5, 600), client);
    events.translate(Button(ButtonRelease, Button1, Button1Mask | Button3Mask, -5, 600), client);
    events.translate(Button(ButtonRelease, Button3, Button3Mask | ControlMask, 7, 8), client);
    events.translate(Button(ButtonPress, Button2, 0, 9, 9), client);
    events.translate(Button(ButtonRelease, Button2, Button2Mask, 9, 9), client);
    // The extra buttons, back and forward.
    events.translate(Button(ButtonPress, 8, 0, 1, 1), client);
    events.translate(Button(ButtonPress, 9, 0, 1, 1), client);
    events.translate(Button(ButtonRelease, 9, 0, 1, 1), client);
    EXPECT_EQ(client.calls, (Log{"down 10 20 0x12", "down 11 21 0x1a", "move -5 600 0xa",
                                 "up -5 600 0x8", "up 7 8 0x20", "down 9 9 0x4", "up 9 9 0x0",
                                 "down 1 1 0x100", "down 1 1 0x200", "up 1 1 0x0"}));
}

TEST(PointerEvents, WheelButtonsTurnTheWheelAtTheScreenPointWithModifiersOnly)
{
    testing::RecordingClient client;
    PointerEvents events;
    events.translate(Button(ButtonPress, 4, ShiftMask | Button1Mask, 5, 6), client);
    events.translate(Button(ButtonRelease, 4, ShiftMask | Button1Mask, 5, 6), client);
    events.translate(Button(ButtonPress, 5, ControlMask, 5, 6), client);
    events.translate(Button(ButtonPress, 6, 0, 5, 6), client);
    events.translate(Button(ButtonPress, 7, Mod1Mask, 5, 6), client);
    EXPECT_EQ(client.calls,
              (Log{"wheel 1005 2006 120 0x10 vertical", "wheel 1005 2006 -120 0x20 vertical",
                   "wheel 1005 2006 -120 0x0 horizontal", "wheel 1005 2006 120 0x40 horizontal"}));
}

TEST(PointerEvents, ASecondQuickPressOfOneButtonNearbyIsADoubleClick)
{
    testing::RecordingClient client;
    PointerEvents events;
    auto press = [&](unsigned int button, int x, Time time)
    {
        events.translate(Button(ButtonPress, button, 0, x, 50, time), client);
        events.translate(Button(ButtonRelease, button, 0, x, 50, time), client);
    };
    press(Button1, 100, 1000);
    press(Button1, 102, 1500); // 500 ms, 2 px: double
    press(Button1, 102, 1600); // after a double click: single again
    press(Button1, 105, 1700); // 3 px away: single
    press(Button1, 105, 2201); // 501 ms later: single
    press(Button3, 105, 2300); // another button: single
    press(Button1, 105, 2400);
    // Server times wrap at 2^32 milliseconds.
    press(Button1, 200, 0xFFFFFF00u);
    press(Button1, 200, 0x00000064u);
    Log downs;
    for (const std::string& call : client.calls)
        if (call.rfind("down", 0) == 0)
            downs.push_back(call);
    EXPECT_EQ(downs, (Log{"down 100 50 0x2", "down 102 50 0x402", "down 102 50 0x2",
                          "down 105 50 0x2", "down 105 50 0x2", "down 105 50 0x8",
                          "down 105 50 0x2", "down 200 50 0x2", "down 200 50 0x402"}));
}

TEST(PointerEvents, LeavesReachTheClientOnlyWhenAsked)
{
    testing::RecordingClient client;
    PointerEvents events;
    events.translate(Leave(), client);
    EXPECT_TRUE(client.calls.empty());
    events.requestLeave();
    events.translate(Leave(), client);
    events.translate(Leave(), client); // once per request
    EXPECT_EQ(client.calls, Log{"leave"});
}

TEST(PointerEvents, APressEndedElsewhereIsLostOnceAndOnlyWhileItLasts)
{
    testing::RecordingClient client;
    PointerEvents events;
    events.endPress(client); // no press: nothing to lose
    events.translate(Button(ButtonPress, Button1, 0, 1, 1), client);
    events.translate(Button(ButtonPress, Button3, Button1Mask, 1, 1), client);
    events.translate(Button(ButtonRelease, Button1, Button1Mask | Button3Mask, 1, 1), client);
    EXPECT_EQ(events.pressedButtons(), kRButton);
    events.endPress(client);
    events.endPress(client);
    EXPECT_EQ(events.pressedButtons(), 0);
    // Wheel turns hold nothing.
    events.translate(Button(ButtonPress, 4, 0, 1, 1), client);
    EXPECT_EQ(events.pressedButtons(), 0);
    EXPECT_EQ(client.calls.back(), "wheel 1001 2001 120 0x0 vertical");
    EXPECT_EQ(std::count(client.calls.begin(), client.calls.end(), "capture lost"), 1);
}

} // namespace
} // namespace vrn::editor_platform
