// input_desktop.h: where the cursor is on the desktop, asked of the system.
// Apart from input.cpp because the system headers clash with raylib.h.
#pragma once

// The cursor's desktop position in screen pixels, read from the system at
// this moment in one query, so it holds still while a window moves or is
// resized under a still hand. False when there is no answer (no window yet).
bool DesktopCursor(int& x, int& y);
