// The effect's mouse handlers: button translation, what each event changes, the frame rate.
#include "graphics/mouse_input.h"
#include "runtime/xalto.h"

#include <gtest/gtest.h>

namespace vrn
{
namespace
{

TEST(MouseButtons, TranslateTheEditorsButtonBits)
{
    EXPECT_EQ(MouseButtonsFromState(kLButton | kShift), 9.0);
    EXPECT_EQ(MouseButtonsFromState(kLButton | kControl), 5.0);
    EXPECT_EQ(MouseButtonsFromState(kRButton), 2.0);
    EXPECT_EQ(MouseButtonsFromState(kMButton), 64.0);
    EXPECT_EQ(MouseButtonsFromState(kLButton | kAlt), 17.0);
    // Double clicks and further buttons are dropped.
    EXPECT_EQ(MouseButtonsFromState(kLButton | kDoubleClick | kButton4 | kButton5), 1.0);
    EXPECT_EQ(MouseButtonsFromState(0), 0.0);
}

TEST(MouseHandlers, PressReleaseAndMove)
{
    TXalto effect;
    mouseDown(effect, 130, 49, kLButton | kShift);
    EXPECT_EQ(effect.mouseButtons, 9.0);
    EXPECT_EQ(effect.mouseX, 130.0);
    EXPECT_EQ(effect.mouseY, 49.0);
    mouseMoved(effect, 140, 50);
    EXPECT_EQ(effect.mouseButtons, 9.0); // modifiers change only at a press or release
    EXPECT_EQ(effect.mouseX, 140.0);
    mouseUp(effect, 141, 51);
    EXPECT_EQ(effect.mouseButtons, 0.0);
    EXPECT_EQ(effect.mouseY, 51.0);
    mouseMoved(effect, 200, 60);
    EXPECT_EQ(effect.mouseButtons, 0.0);
    EXPECT_EQ(effect.mouseX, 200.0);
}

TEST(MouseHandlers, RaiseTheFrameRateToThirtyButNeverLowerIt)
{
    TXalto effect;
    EXPECT_EQ(effect.frameRate, 0.0);
    mouseMoved(effect, 1, 1);
    EXPECT_EQ(effect.frameRate, 30.0);
    effect.frameRate = 60.0;
    mouseDown(effect, 1, 1, kLButton);
    mouseUp(effect, 1, 1);
    EXPECT_EQ(effect.frameRate, 60.0);
    effect.frameRate = -5.0;
    mouseUp(effect, 1, 1);
    EXPECT_EQ(effect.frameRate, 30.0);
}

} // namespace
} // namespace vrn
