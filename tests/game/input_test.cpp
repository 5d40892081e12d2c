// input_test.cpp: the per-frame input record that tests and the game fill.
#include <gtest/gtest.h>

#include "game/input.h"

namespace {

TEST(FrameInput, PressIsAlsoHeldButHoldIsNoPress) {
    FrameInput in;
    in.Press(KEY_E);
    in.Hold(KEY_W);
    EXPECT_TRUE(in.Pressed(KEY_E));
    EXPECT_TRUE(in.Down(KEY_E));
    EXPECT_FALSE(in.Pressed(KEY_W));
    EXPECT_TRUE(in.Down(KEY_W));
    EXPECT_FALSE(in.Pressed(KEY_F));
    EXPECT_FALSE(in.Down(KEY_F));
}

TEST(FrameInput, CodesOutsideTheTableAreNeverSet) {
    FrameInput in;
    in.Press(-1);
    in.Press(FrameInput::kKeyCount);
    in.Hold(100000);
    EXPECT_FALSE(in.Pressed(-1));
    EXPECT_FALSE(in.Down(FrameInput::kKeyCount));
    EXPECT_FALSE(in.Down(100000));
    EXPECT_TRUE(in.keysPressed.none());
    EXPECT_TRUE(in.keysDown.none());
    // The highest desktop key still fits.
    in.Press(KEY_KB_MENU);
    EXPECT_TRUE(in.Pressed(KEY_KB_MENU));
}

}  // namespace
