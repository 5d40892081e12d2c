// window.cpp: the game's calls on its window, each skipped without one. They
// reach GLFW, which needs a window for every one of them.
#include "game/platform/window.h"

#include "raylib.h"

namespace window {
namespace {

// The windowed size asked for while there is no window.
WindowSize askedSize{0, 0};

}  // namespace

bool Open() {
    return IsWindowReady();
}

int Width() {
    return Open() ? GetScreenWidth() : askedSize.width;
}

int Height() {
    return Open() ? GetScreenHeight() : askedSize.height;
}

void EnableCursor() {
    if (Open()) ::EnableCursor();
}

void HideCursor() {
    if (Open()) ::HideCursor();
}

Vector2 CentreMouse() {
    const int x = Width() / 2;
    const int y = Height() / 2;
    if (Open()) SetMousePosition(x, y);
    return Vector2{static_cast<float>(x), static_cast<float>(y)};
}

void SetVsync(bool on) {
    if (!Open()) return;
    if (on) {
        SetWindowState(FLAG_VSYNC_HINT);
    } else {
        ClearWindowState(FLAG_VSYNC_HINT);
    }
}

void SetMode(int mode, WindowSize size) {
    if (!Open()) {
        if (mode == 0) askedSize = size;
        return;
    }
    ClearWindowState(FLAG_FULLSCREEN_MODE);
    ClearWindowState(FLAG_BORDERLESS_WINDOWED_MODE);
    if (mode == 1) {
        SetWindowState(FLAG_BORDERLESS_WINDOWED_MODE);
    } else if (mode != 0) {
        SetWindowState(FLAG_FULLSCREEN_MODE);
    } else {
        SetWindowSize(size.width, size.height);
        const int monitor = GetCurrentMonitor();
        const int spareW = GetMonitorWidth(monitor) - size.width;
        const int spareH = GetMonitorHeight(monitor) - size.height;
        SetWindowPosition(spareW > 1 ? spareW / 2 : 0, spareH > 1 ? spareH / 2 : 0);
    }
}

}  // namespace window
