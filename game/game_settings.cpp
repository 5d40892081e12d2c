// game_settings.cpp: loading and saving the game's settings, and pushing what
// changed to the window, the frame limiter, the screen effects and the world.
#include <algorithm>

#include "game/game.h"
#include "game/platform/window.h"

void Game::LoadSettings() {
    switch (LoadSettingsFile(kSettingsFile, settings)) {
        case SettingsLoad::Loaded: TraceLog(LOG_INFO, "SETTINGS: loaded from %s", kSettingsFile); break;
        case SettingsLoad::Missing: break;
        case SettingsLoad::Unreadable:
            // The player's file may be out of reach only for now (its
            // permissions, say): the defaults serve this run, and the file
            // keeps what it holds.
            settingsUnreadable = true;
            TraceLog(LOG_WARNING, "SETTINGS: %s could not be read, using the defaults and leaving it as it is",
                     kSettingsFile);
            break;
    }
}

bool Game::SaveSettings() {
    if (settingsUnreadable) {
        return false;
    }
    // Anti-aliasing forced by KIRN_FXAA holds for this run only; the file
    // keeps what it said unless the player has since switched it off.
    GameSettings written = settings;
    if (fxaaForced && settings.fxaa) {
        written.fxaa = fileFxaa;
    }
    return SaveSettingsFile(kSettingsFile, written);
}

void Game::ApplySettings() {
    ApplyWindowSettings();

    screenFx.Resize(window::Width(), window::Height());

    if (settings.renderDistance != appliedRenderDistance) {
        if (world) {
            world->SetRenderDistance(settings.renderDistance);
        }
        appliedRenderDistance = settings.renderDistance;
        TraceLog(LOG_INFO, "SETTINGS: render distance = %d", settings.renderDistance);
    }

    if (!appliedVsyncKnown || settings.vsync != appliedVsync) {
        window::SetVsync(settings.vsync);
        appliedVsyncKnown = true;
        appliedVsync = settings.vsync;
    }

    if (settings.fpsLimit != appliedFpsLimit) {
        SetTargetFPS(settings.fpsLimit);
        appliedFpsLimit = settings.fpsLimit;
    }

    if (!appliedFxaaKnown || settings.fxaa != appliedFxaa) {
        screenFx.fxaaEnabled = settings.fxaa;
        appliedFxaa = settings.fxaa;
        appliedFxaaKnown = true;
    }
}

void Game::ApplyWindowSettings() {
    const int r = std::clamp(settings.resolution, 0, cfg::kResolutionCount - 1);
    const int m = settings.windowMode;
    if (m == appliedWindowMode && r == appliedResolution) {
        return;
    }

    const WindowSize size = ResolutionAt(r);
    window::SetMode(m, size);
    menu.WindowChanged();

    appliedWindowMode = m;
    appliedResolution = r;
    TraceLog(LOG_INFO, "SETTINGS: window mode=%d resolution=%dx%d", m, size.width, size.height);
}
