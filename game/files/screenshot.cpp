// screenshot.cpp: the screen read back, encoded as a PNG in memory and
// written through the game's own file writer. raylib's own capture puts the
// working directory in front of every path, so an absolute KIRN_SCREENSHOT
// path would silently fail, and its export opens the name as it stands.
#include "game/files/screenshot.h"

#include <cstdint>
#include <vector>

#include "game/files/file_io.h"
#include "game/platform/window.h"
#include "raylib.h"

bool SaveScreenshot(const char* path) {
    // Without a window there is no screen to read: the capture fails as any other.
    Image image = window::Open() ? LoadImageFromScreen() : Image{};
    int size = 0;
    unsigned char* png = image.data != nullptr ? ExportImageToMemory(image, ".png", &size) : nullptr;
    UnloadImage(image);
    const bool written = png != nullptr && size > 0 && WriteFileReplacing(path, std::vector<uint8_t>(png, png + size));
    MemFree(png);
    if (written) {
        TraceLog(LOG_INFO, "SYSTEM: [%s] Screenshot taken successfully", path);
    } else {
        TraceLog(LOG_WARNING, "SYSTEM: [%s] Screenshot could not be saved", path);
    }
    return written;
}
