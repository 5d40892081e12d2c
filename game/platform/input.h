// input.h: the keyboard and mouse of one frame as a plain record. The game
// reads raylib once per frame into it (ReadFrameInput); everything that
// reacts to keys or the mouse reads the record, so tests can fill it by hand.
#pragma once
#include <bitset>
#include <optional>
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
    float wheel = 0.0f;            // mouse wheel move this frame
    bool leftPressed = false;      // left button went down this frame
    bool leftDown = false;         // left button held
    bool rightPressed = false;
    bool rightDown = false;
    // The window's top-left corner on the desktop, in pixels, where the
    // platform reports it: with it, origin + mouse is where the hand holds
    // the pointer, whatever the window does under it.
    std::optional<Vector2> windowOrigin;

    bool Pressed(int key) const;
    bool Down(int key) const;

    // For tests and scripted frames: a key that goes down this frame (also
    // counts as held), and a key held without a new press.
    void Press(int key);
    void Hold(int key);
};

// One look at the pointer through GLFW: the cursor's place in the window
// asked of the system now (outside it too, off its edges), and the window's
// place on the desktop just before and just after, where the platform
// reports it.
struct PointerLook {
    Vector2 cursor;                       // in window pixels
    std::optional<Vector2> originBefore;  // the window's top-left on the desktop
    std::optional<Vector2> originAfter;   // the same, read again after the cursor
};

// Sets the record's mouse and window origin. raylib's `eventMouse` is the
// last cursor event's, in the pixels of the window as it was then: after the
// window moves or changes size or mode it stays stale until the cursor moves,
// so the look's cursor is taken, and raylib's position only without a look.
// The two are in the same pixels: the game opens no HiDPI-scaled window and
// sets no mouse offset or scale, so raylib passes GLFW's cursor coordinates
// on as they are. The origin is known only when both reads of it agree: a
// window that moved between them gives no desktop point that frame.
void PlaceMouse(FrameInput& in, Vector2 eventMouse, const std::optional<PointerLook>& look);

// Reads every key, the typed characters, the mouse position, buttons and
// wheel of the current frame from raylib, and the cursor's and the window's
// places through GLFW. Needs a window.
FrameInput ReadFrameInput();
