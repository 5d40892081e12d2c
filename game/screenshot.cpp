// screenshot.cpp: the screen read back and written as a PNG. raylib's own
// capture puts the working directory in front of every path, so an absolute
// KIRN_SCREENSHOT path would silently fail; this writes the path as given.
#include "game/screenshot.h"

#include "game/window.h"
#include "raylib.h"

bool SaveScreenshot(const char* path) {
    // Without a window there is no screen to read: the capture fails as any other.
    Image image = window::Open() ? LoadImageFromScreen() : Image{};
    const bool written = image.data != nullptr && ExportImage(image, path);
    UnloadImage(image);
    if (!written) {
        TraceLog(LOG_WARNING, "SYSTEM: [%s] Screenshot could not be saved", path);
    }
    return written;
}
