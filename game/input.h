// input.h: the keyboard and mouse of one frame as a plain record. The game
// reads raylib once per frame into it (ReadFrameInput); everything that
// reacts to keys or the mouse reads the record, so tests can fill it by hand.
#pragma once
#include <bitset>
#include <vector>

#include "raylib.h"

struct FrameInput {
    // raylib key codes (KEY_E, KEY_F12, ...) index these; codes outside the
    // table read as not pressed and not down.
    static constexpr int kKeyCount = 512;

    std::bitset<kKeyCount> keysPressed;  // went down this frame (IsKeyPressed)
    std::bitset<kKeyCount> keysDown;     // held this frame (IsKeyDown)
    std::vector<int> typed;              // characters typed this frame, in order (GetCharPressed)

    Vector2 mouse = {0.0f, 0.0f};  // cursor in window pixels
    // Added to `mouse`, gives the cursor's place on the desktop as the system
    // reports it this frame (see DesktopMouse). Left 0 by hand-filled records:
    // a window that stays at the desktop's corner.
    Vector2 desktopOffset = {0.0f, 0.0f};
    float wheel = 0.0f;        // mouse wheel move this frame
    bool leftPressed = false;  // left button went down this frame
    bool leftDown = false;     // left button held
    bool rightPressed = false;
    bool rightDown = false;

    // The cursor on the desktop, in screen pixels. A window that moves or is
    // resized under a still hand changes `mouse` (or leaves it stale until the
    // next cursor event), but not this: it changes only when the cursor itself
    // moves on the screen.
    Vector2 DesktopMouse() const;

    bool Pressed(int key) const;
    bool Down(int key) const;

    // For tests and scripted frames: a key that goes down this frame (also
    // counts as held), and a key held without a new press.
    void Press(int key);
    void Hold(int key);
};

// Reads every key, the typed characters, the mouse position, buttons and
// wheel of the current frame from raylib. Needs a window.
FrameInput ReadFrameInput();
