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
// The window's place on the desktop is taken only when the two reads around
// the cursor's agree: a window moving meanwhile gives no desktop point.
TEST(FrameInput, MouseIsTheCursorInTheWindowNow) {
    const std::optional<Vector2> none;
    const std::optional<Vector2> at{Vector2{160, 90}};
    const std::optional<Vector2> movedOn{Vector2{164, 94}};
    struct Row {
        const char* name;
        Vector2 eventMouse;                   // raylib's last cursor event
        bool read;                            // the system answered
        PointerLook look;                     // its answer
        Vector2 mouse;                        // expected
        std::optional<Vector2> windowOrigin;  // expected
    };
    const Row rows[] = {
        {"windowed 1600 x 900, raylib up to date", {800, 527}, true, {{800, 527}, at, at}, {800, 527}, at},
        {"gone borderless, raylib stale", {800, 527}, true, {{960, 617}, none, none}, {960, 617}, none},
        {"resolution reverted to 1600 x 900, raylib stale", {640, 437}, true, {{800, 527}, at, at}, {800, 527}, at},
        {"window moved by the system", {300, 200}, true, {{460, 120}, movedOn, movedOn}, {460, 120}, movedOn},
        {"window moving while the cursor was read", {300, 200}, true, {{460, 120}, at, movedOn}, {460, 120}, none},
        {"window's place known only before", {300, 200}, true, {{460, 120}, at, none}, {460, 120}, none},
        {"cursor left of and above the window", {0, 3}, true, {{-60, -40}, at, at}, {-60, -40}, at},
        {"cursor right of and below the window", {1599, 899}, true, {{1740, 960}, at, at}, {1740, 960}, at},
        {"no answer from the system", {123, 45}, false, {{960, 617}, at, at}, {123, 45}, none},
    };
    for (const Row& row : rows) {
        FrameInput in;
        in.mouse = {7.0f, 7.0f};
        in.windowOrigin = Vector2{1.0f, 1.0f};
        std::optional<PointerLook> look;
        if (row.read) {
            look = row.look;
        }
        PlaceMouse(in, row.eventMouse, look);
        EXPECT_EQ(in.mouse.x, row.mouse.x) << row.name;
        EXPECT_EQ(in.mouse.y, row.mouse.y) << row.name;
        ASSERT_EQ(in.windowOrigin.has_value(), row.windowOrigin.has_value()) << row.name;
        if (row.windowOrigin) {
            EXPECT_EQ(in.windowOrigin->x, row.windowOrigin->x) << row.name;
            EXPECT_EQ(in.windowOrigin->y, row.windowOrigin->y) << row.name;
        }
    }
}

}  // namespace
