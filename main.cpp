// main.cpp: the program's life: the window, the UI font, the one game object,
// the frame loop with its capped frame time and the optional timed screenshot,
// and a shut-down that frees every GPU resource while the context still exists.
#include <cstdio>
#include <cstdlib>

#include "game/files/screenshot.h"
#include "game/game.h"
#include "game/platform/frame_clock.h"
#include "game/view/ui_font.h"
#include "raylib.h"

namespace {

// The game lives in its own scope so that it is destroyed before the window
// closes: its textures, render targets and shaders need the GL context.
void Run(const char* screenshotPath) {
    Game game;
    FrameClock frameClock;
    while (!WindowShouldClose() && !game.quitRequested) {
        const float dt = frameClock.Advance(GetFrameTime());
        game.Update(dt);
        BeginDrawing();
        game.Draw();
        EndDrawing();
        if (screenshotPath != nullptr && frameClock.ScreenshotDue()) {
            SaveScreenshot(screenshotPath);
            break;
        }
    }
    ui::UnloadFont();
}

}  // namespace

int main() {
    // One log line at a time, also when the log goes to a file or a pipe, so
    // that nothing is lost if the process ends abruptly.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    SetTraceLogLevel(LOG_INFO);
    SetConfigFlags(FLAG_VSYNC_HINT | FLAG_MSAA_4X_HINT);
    InitWindow(1600, 900, "Palewick");
    if (!IsWindowReady()) {
        // No display or no OpenGL 3.3: raylib has said why; nothing can run.
        return 1;
    }
    ui::LoadFont();
    SetTargetFPS(120);
    SetExitKey(0);
    HideCursor();
    const char* screenshotPath = std::getenv("KIRN_SCREENSHOT");
    Run(screenshotPath);
    CloseWindow();
    return 0;
}
