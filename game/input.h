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
    // Added to `mouse`, gives the cursor's place on the desktop (see
    // DesktopMouse): the desktop point of the window's client area as the
    // system reports it this frame. Left 0 by hand-filled records: a window
    // that stays at the desktop's corner.
    Vector2 desktopOffset = {0.0f, 0.0f};
    float wheel = 0.0f;        // mouse wheel move this frame
    bool leftPressed = false;  // left button went down this frame
    bool leftDown = false;     // left button held
    bool rightPressed = false;
    bool rightDown = false;

    // The cursor on the desktop, in screen pixels. A window that moves or is
    // resized under a still hand changes `mouse`, but not this: it changes
    // only when the cursor itself moves on the screen.
    Vector2 DesktopMouse() const;

    bool Pressed(int key) const;
    bool Down(int key) const;

    // For tests and scripted frames: a key that goes down this frame (also
    // counts as held), and a key held without a new press.
    void Press(int key);
    void Hold(int key);
};

// The system's answer to where the cursor is: its desktop point and the
// desktop point of the window's client area, in screen pixels. These are
// raylib's window pixels too: the game opens no HiDPI-scaled window and sets
// no mouse offset or scale, so raylib passes the system's pixels on as they are.
struct CursorReading {
    Vector2 desktop;
    Vector2 clientOrigin;
};

// Sets the record's mouse and desktop offset. raylib's `eventMouse` is the
// last cursor event's, in the pixels of the window as it was then: after the
// window moves or changes size or mode it stays stale until the cursor moves.
// With a reading the mouse is the cursor's place in the window now (outside
// it too, off its edges), so clicks and the aim follow what is drawn under
// it; without one, raylib's position stands and the desktop is taken to
// start at the window's corner.
void PlaceMouse(FrameInput& in, Vector2 eventMouse, const std::optional<CursorReading>& reading);

// Reads every key, the typed characters, the mouse position, buttons and
// wheel of the current frame from raylib, and the cursor's place from the
// system. Needs a window.
FrameInput ReadFrameInput();
