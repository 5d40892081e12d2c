// input_desktop.cpp: the cursor and the game window's client area on the
// desktop, from the system: GetCursorPos and ClientToScreen on Windows,
// XQueryPointer against GLFW's X11 window elsewhere.
#include "game/input_desktop.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#define GLFW_EXPOSE_NATIVE_WIN32
#else
#define GLFW_EXPOSE_NATIVE_X11
#endif
#include <GLFW/glfw3native.h>

bool DesktopCursor(int& x, int& y, int& clientX, int& clientY) {
    // raylib's window is the one whose GL context is current.
    GLFWwindow* window = glfwGetCurrentContext();
    if (window == nullptr) {
        return false;
    }
#if defined(_WIN32)
    const HWND handle = glfwGetWin32Window(window);
    POINT cursor;
    POINT origin{0, 0};
    if (handle == nullptr || GetCursorPos(&cursor) == 0 || ClientToScreen(handle, &origin) == 0) {
        return false;
    }
    x = cursor.x;
    y = cursor.y;
    clientX = origin.x;
    clientY = origin.y;
    return true;
#else
    Display* display = glfwGetX11Display();
    const Window handle = glfwGetX11Window(window);
    if (display == nullptr || handle == None) {
        return false;
    }
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    // One answer gives the cursor both on the root and relative to the
    // window, so the two agree even while the window moves.
    if (!XQueryPointer(display, handle, &root, &child, &rootX, &rootY, &windowX, &windowY, &buttons)) {
        return false;
    }
    x = rootX;
    y = rootY;
    clientX = rootX - windowX;
    clientY = rootY - windowY;
    return true;
#endif
}
