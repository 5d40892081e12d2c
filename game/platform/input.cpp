// input.cpp: filling the per-frame input record from raylib, and the
// cursor's place from GLFW.
#include "game/platform/input.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace {

// The cursor in the game window's pixels, asked of the system now (GLFW
// queries it rather than keeping the last event's), or none without a window.
std::optional<Vector2> CursorInWindow() {
    // raylib's window is the one whose GL context is current.
    GLFWwindow* window = glfwGetCurrentContext();
    if (window == nullptr) {
        return std::nullopt;
    }
    double x = 0.0;
    double y = 0.0;
    glfwGetCursorPos(window, &x, &y);
    return Vector2{static_cast<float>(x), static_cast<float>(y)};
}

bool InTable(int key) {
    return key >= 0 && key < FrameInput::kKeyCount;
}

// The desktop keys of raylib run from KEY_SPACE (32) to KEY_KB_MENU (348).
constexpr int kFirstKey = KEY_SPACE;
constexpr int kLastKey = KEY_KB_MENU;

}  // namespace

void PlaceMouse(FrameInput& in, Vector2 eventMouse, const std::optional<Vector2>& cursor) {
    in.mouse = cursor.value_or(eventMouse);
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
    PlaceMouse(in, GetMousePosition(), CursorInWindow());
    in.wheel = GetMouseWheelMove();
    in.leftPressed = IsMouseButtonPressed(MOUSE_BUTTON_LEFT);
    in.leftDown = IsMouseButtonDown(MOUSE_BUTTON_LEFT);
    in.rightPressed = IsMouseButtonPressed(MOUSE_BUTTON_RIGHT);
    in.rightDown = IsMouseButtonDown(MOUSE_BUTTON_RIGHT);
    return in;
}
