// input_desktop.h: where the cursor is, asked of the system. Apart from
// input.cpp because the system headers clash with raylib.h.
#pragma once

// The cursor's desktop position and the desktop position of the game window's
// client area (its top-left pixel), in screen pixels, read from the system at
// this moment in one query. Unlike raylib's copy of the last cursor event,
// they are right at once after the window moves or changes size or mode.
// False when there is no answer (no window yet, or the cursor on another
// screen of the display).
bool DesktopCursor(int& x, int& y, int& clientX, int& clientY);
