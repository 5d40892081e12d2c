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

// The frame's mouse is the cursor's place in the window as it is now, taken
// from the system's desktop cursor and the window's client origin, whatever
// raylib's last cursor event said in the pixels of the window as it was then.
TEST(FrameInput, MouseIsTheCursorRelativeToTheWindowNow) {
    struct Row {
        const char* name;
        Vector2 eventMouse;  // raylib's last cursor event
        bool read;           // the system answered
        Vector2 desktop;
        Vector2 clientOrigin;
        Vector2 mouse;  // expected, in window pixels
    };
    const Row rows[] = {
        {"windowed 1600 x 900 centred, raylib up to date", {800, 527}, true, {960, 617}, {160, 90}, {800, 527}},
        {"gone borderless 1920 x 1080 under the still cursor, raylib stale",
         {800, 527},
         true,
         {960, 617},
         {0, 0},
         {960, 617}},
        {"resolution reverted from 1280 x 720 to 1600 x 900, raylib stale",
         {640, 437},
         true,
         {960, 617},
         {160, 90},
         {800, 527}},
        {"window moved by the system", {300, 200}, true, {500, 420}, {40, 300}, {460, 120}},
        {"cursor left of and above the window", {0, 3}, true, {100, 50}, {160, 90}, {-60, -40}},
        {"cursor right of and below the window", {1599, 899}, true, {1900, 1050}, {160, 90}, {1740, 960}},
        {"no answer from the system", {123, 45}, false, {960, 617}, {160, 90}, {123, 45}},
    };
    for (const Row& row : rows) {
        FrameInput in;
        in.desktopOffset = {7.0f, 7.0f};
        std::optional<CursorReading> reading;
        if (row.read) {
            reading = CursorReading{row.desktop, row.clientOrigin};
        }
        PlaceMouse(in, row.eventMouse, reading);
        EXPECT_EQ(in.mouse.x, row.mouse.x) << row.name;
        EXPECT_EQ(in.mouse.y, row.mouse.y) << row.name;
        // The desktop point is the system's when it answered, else raylib's
        // position on a desktop that starts at the window.
        const Vector2 desktop = row.read ? row.desktop : row.eventMouse;
        EXPECT_EQ(in.DesktopMouse().x, desktop.x) << row.name;
        EXPECT_EQ(in.DesktopMouse().y, desktop.y) << row.name;
    }
}

}  // namespace
