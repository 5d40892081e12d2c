// menu_input.h: the two input tests that the menu's pages and its dialogs
// share: an activation key, and a UI-space point inside a box.
#pragma once
#include "game/platform/input.h"
#include "raylib.h"

// Enter, keypad Enter or Space went down this frame.
inline bool MenuActivated(const FrameInput& input) {
    return input.Pressed(KEY_ENTER) || input.Pressed(KEY_KP_ENTER) || input.Pressed(KEY_SPACE);
}

inline bool Inside(Vector2 p, Rectangle r) {
    return CheckCollisionPointRec(p, r);
}
