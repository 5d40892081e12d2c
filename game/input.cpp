// input.cpp: filling the per-frame input record from raylib.
#include "game/input.h"

#include "game/input_desktop.h"

namespace {

bool InTable(int key) {
    return key >= 0 && key < FrameInput::kKeyCount;
}

// The desktop keys of raylib run from KEY_SPACE (32) to KEY_KB_MENU (348).
constexpr int kFirstKey = KEY_SPACE;
constexpr int kLastKey = KEY_KB_MENU;

}  // namespace

Vector2 FrameInput::DesktopMouse() const {
    return Vector2{mouse.x + desktopOffset.x, mouse.y + desktopOffset.y};
}

void PlaceMouse(FrameInput& in, Vector2 eventMouse, const std::optional<CursorReading>& reading) {
    if (!reading) {
        in.mouse = eventMouse;
        in.desktopOffset = Vector2{0.0f, 0.0f};
        return;
    }
    in.mouse = Vector2{reading->desktop.x - reading->clientOrigin.x, reading->desktop.y - reading->clientOrigin.y};
    in.desktopOffset = reading->clientOrigin;
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
    int x = 0;
    int y = 0;
    int clientX = 0;
    int clientY = 0;
    std::optional<CursorReading> reading;
    if (DesktopCursor(x, y, clientX, clientY)) {
        reading = CursorReading{{static_cast<float>(x), static_cast<float>(y)},
                                {static_cast<float>(clientX), static_cast<float>(clientY)}};
    }
    PlaceMouse(in, GetMousePosition(), reading);
    in.wheel = GetMouseWheelMove();
    in.leftPressed = IsMouseButtonPressed(MOUSE_BUTTON_LEFT);
    in.leftDown = IsMouseButtonDown(MOUSE_BUTTON_LEFT);
    in.rightPressed = IsMouseButtonPressed(MOUSE_BUTTON_RIGHT);
    in.rightDown = IsMouseButtonDown(MOUSE_BUTTON_RIGHT);
    return in;
}
