// input.cpp: filling the per-frame input record from raylib, and the
// cursor's and the window's places from GLFW.
#include "game/platform/input.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace {

// The window's place on the desktop, where the platform can tell it: X11,
// Win32 and Cocoa do; Wayland does not, and asking there only logs an error.
std::optional<Vector2> WindowOrigin(GLFWwindow* window) {
    const int platform = glfwGetPlatform();
    if (platform != GLFW_PLATFORM_X11 && platform != GLFW_PLATFORM_WIN32 && platform != GLFW_PLATFORM_COCOA) {
        return std::nullopt;
    }
    int x = 0;
    int y = 0;
    glfwGetWindowPos(window, &x, &y);
    return Vector2{static_cast<float>(x), static_cast<float>(y)};
}

// The pointer asked of the system now (GLFW queries it rather than keeping
// the last event's), or none without a window.
std::optional<PointerLook> LookAtPointer() {
    // raylib's window is the one whose GL context is current.
    GLFWwindow* window = glfwGetCurrentContext();
    if (window == nullptr) {
        return std::nullopt;
    }
    PointerLook look;
    look.originBefore = WindowOrigin(window);
    double x = 0.0;
    double y = 0.0;
    glfwGetCursorPos(window, &x, &y);
    look.cursor = Vector2{static_cast<float>(x), static_cast<float>(y)};
    look.originAfter = WindowOrigin(window);
    return look;
}

bool InTable(int key) {
    return key >= 0 && key < FrameInput::kKeyCount;
}

// The desktop keys of raylib run from KEY_SPACE (32) to KEY_KB_MENU (348).
constexpr int kFirstKey = KEY_SPACE;
constexpr int kLastKey = KEY_KB_MENU;

}  // namespace

void PlaceMouse(FrameInput& in, Vector2 eventMouse, const std::optional<PointerLook>& look) {
    in.mouse = look ? look->cursor : eventMouse;
    in.windowOrigin.reset();
    if (look && look->originBefore && look->originAfter && look->originBefore->x == look->originAfter->x &&
        look->originBefore->y == look->originAfter->y) {
        in.windowOrigin = look->originBefore;
    }
}

bool FrameInput::Pressed(int key) const {
    return InTable(key) && keysPressed.test(static_cast<size_t>(key));
}

bool FrameInput::Down(int key) const {
    return InTable(key) && keysDown.test(static_cast<size_t>(key));
}

void FrameInput::Press(int key) {
    if (InTable(key)) {
        keysPressed.set(static_cast<size_t>(key));
        keysDown.set(static_cast<size_t>(key));
    }
}

void FrameInput::Hold(int key) {
    if (InTable(key)) {
        keysDown.set(static_cast<size_t>(key));
    }
}

FrameInput ReadFrameInput() {
    FrameInput in;
    for (int key = kFirstKey; key <= kLastKey; ++key) {
        if (IsKeyPressed(key)) {
            in.keysPressed.set(static_cast<size_t>(key));
        }
        if (IsKeyDown(key)) {
            in.keysDown.set(static_cast<size_t>(key));
        }
    }
    for (int c = GetCharPressed(); c != 0; c = GetCharPressed()) {
        in.typed.push_back(c);
    }
    PlaceMouse(in, GetMousePosition(), LookAtPointer());
    in.wheel = GetMouseWheelMove();
    in.leftPressed = IsMouseButtonPressed(MOUSE_BUTTON_LEFT);
    in.leftDown = IsMouseButtonDown(MOUSE_BUTTON_LEFT);
    in.rightPressed = IsMouseButtonPressed(MOUSE_BUTTON_RIGHT);
    in.rightDown = IsMouseButtonDown(MOUSE_BUTTON_RIGHT);
    return in;
}
