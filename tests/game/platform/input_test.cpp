// input_test.cpp: the per-frame input record that tests and the game fill.
#include <gtest/gtest.h>

#include "game/platform/input.h"

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

// The frame's mouse is the cursor's place in the window as the system gives
// it this frame, whatever raylib's last cursor event said in the pixels of
// the window as it was then; raylib's position stands only without an answer.
TEST(FrameInput, MouseIsTheCursorInTheWindowNow) {
    struct Row {
        const char* name;
        Vector2 eventMouse;  // raylib's last cursor event
        bool read;           // the system answered
        Vector2 cursor;      // its answer, in window pixels
        Vector2 mouse;       // expected
    };
    const Row rows[] = {
        {"windowed 1600 x 900, raylib up to date", {800, 527}, true, {800, 527}, {800, 527}},
        {"gone borderless 1920 x 1080 under the still cursor, raylib stale", {800, 527}, true, {960, 617}, {960, 617}},
        {"resolution reverted from 1280 x 720 to 1600 x 900, raylib stale", {640, 437}, true, {800, 527}, {800, 527}},
        {"window moved by the system", {300, 200}, true, {460, 120}, {460, 120}},
        {"cursor left of and above the window", {0, 3}, true, {-60, -40}, {-60, -40}},
        {"cursor right of and below the window", {1599, 899}, true, {1740, 960}, {1740, 960}},
        {"no answer from the system", {123, 45}, false, {960, 617}, {123, 45}},
    };
    for (const Row& row : rows) {
        FrameInput in;
        in.mouse = {7.0f, 7.0f};
        std::optional<Vector2> cursor;
        if (row.read) {
            cursor = row.cursor;
        }
        PlaceMouse(in, row.eventMouse, cursor);
        EXPECT_EQ(in.mouse.x, row.mouse.x) << row.name;
        EXPECT_EQ(in.mouse.y, row.mouse.y) << row.name;
    }
}

}  // namespace
