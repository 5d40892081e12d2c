// input_desktop.cpp: the cursor's desktop position from the system: GetCursorPos
// on Windows, XQueryPointer on GLFW's X11 display elsewhere.
#include "game/input_desktop.h"

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#else
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>
#endif

bool DesktopCursor(int& x, int& y) {
#if defined(_WIN32)
    POINT point;
    if (GetCursorPos(&point) == 0) {
        return false;
    }
    x = point.x;
    y = point.y;
    return true;
#else
    Display* display = glfwGetX11Display();
    if (display == nullptr) {
        return false;
    }
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX, &windowY,
                       &buttons)) {
        return false;
    }
    x = rootX;
    y = rootY;
    return true;
#endif
}
