// window.h: the game's calls on its window: the cursor, the pointer, the
// window mode and size, and vsync. The game can run without a window (the
// logic tests build it so); then each call is skipped, quietly, and the
// screen the game measures the mouse against is the windowed size it last
// asked for. The graphics resources ask Open() before they load.
#pragma once
#include "game/platform/resolutions.h"
#include "raylib.h"

namespace window {

// True while the window and its graphics context exist.
bool Open();

// The screen in pixels: the window's, or without a window the windowed size
// last asked for (0 before any).
int Width();
int Height();

// The cursor shown and free over the menus, the inventory and the map.
void EnableCursor();
// The cursor hidden over play.
void HideCursor();
// The pointer put at the middle of the window; returns that point in window
// pixels (the middle of the size above, also without a window).
Vector2 CentreMouse();

void SetVsync(bool on);

// Window mode 0 windowed at `size` and centred on its monitor, 1 borderless,
// 2 fullscreen.
void SetMode(int mode, WindowSize size);

}  // namespace window
