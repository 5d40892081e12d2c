// game_settings_gl_test.cpp: the game's settings pushed to the window, the
// frame limiter, the screen effects and the world, with a real window: the
// first apply, a loaded file, the written lines, window sizes and modes, and
// changes made in the menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "tests/game/game_fixture.h"

namespace {

class GameSettingsGl : public testgame::GameTest {};

TEST_F(GameSettingsGl, FirstApplyPushesEverythingAndRepeatsStaySilent) {
    Game& g = MakeGame();
    EXPECT_TRUE(log.Has("SETTINGS: window mode=0 resolution=1600x900"));
    EXPECT_TRUE(log.Has("SETTINGS: render distance = 8"));
    EXPECT_FALSE(log.Has("SETTINGS: loaded from settings.ini"));
    EXPECT_EQ(g.appliedRenderDistance, 8);
    EXPECT_TRUE(g.appliedVsyncKnown);
    EXPECT_TRUE(g.appliedFxaaKnown);
    EXPECT_EQ(g.appliedFpsLimit, 120);
    EXPECT_EQ(GetScreenWidth(), 1600);
    EXPECT_EQ(GetScreenHeight(), 900);

    log.Clear();
    g.ApplySettings();
    g.ApplySettings();
    EXPECT_TRUE(testgame::LogCapture::Lines().empty());
}

TEST_F(GameSettingsGl, LoadedSettingsReachScreenEffectsAndWorld) {
    workDir.Write("settings.ini", "renderDistance=5\r\nfxaa=1\r\nvsync=0");
    Game& g = MakeGame();
    EXPECT_TRUE(log.Has("SETTINGS: loaded from settings.ini"));
    EXPECT_TRUE(log.Has("SETTINGS: render distance = 5"));
    EXPECT_TRUE(g.screenFx.fxaaEnabled);
    EXPECT_FALSE(g.appliedVsync);

    g.StartNewWorld(7);
    ASSERT_NE(g.world, nullptr);
    EXPECT_EQ(g.world->renderDistance, 5);
    g.settings.renderDistance = 6;
    g.settings.fxaa = false;
    log.Clear();
    g.ApplySettings();
    EXPECT_EQ(g.world->renderDistance, 6);
    EXPECT_FALSE(g.screenFx.fxaaEnabled);
    EXPECT_TRUE(log.Has("SETTINGS: render distance = 6"));
}

TEST_F(GameSettingsGl, SaveSettingsWritesTheSixLines) {
    Game& g = MakeGame();
    g.settings.fpsLimit = 0;
    g.settings.windowMode = 0;
    ASSERT_TRUE(g.SaveSettings());
    EXPECT_EQ(workDir.Read("settings.ini"),
              "renderDistance=8\nvsync=1\nfpsLimit=0\nfxaa=0\nwindowMode=0\nresolution=2\n");
    // A folder in the way of the file makes the write fail without a fuss.
    std::filesystem::remove(workDir.Path() / "settings.ini");
    std::filesystem::create_directory(workDir.Path() / "settings.ini");
    EXPECT_FALSE(g.SaveSettings());
    std::filesystem::remove(workDir.Path() / "settings.ini");
}

TEST_F(GameSettingsGl, WindowedResolutionAndBorderlessRoundTrip) {
    Game& g = MakeGame();
    const int monitor = GetCurrentMonitor();
    const int mw = GetMonitorWidth(monitor);
    const int mh = GetMonitorHeight(monitor);

    g.settings.resolution = 0;
    log.Clear();
    g.ApplySettings();
    EXPECT_TRUE(log.Has("SETTINGS: window mode=0 resolution=1280x720"));
    EXPECT_EQ(GetScreenWidth(), 1280);
    EXPECT_EQ(GetScreenHeight(), 720);

    g.settings.windowMode = 1;
    g.ApplySettings();
    EXPECT_TRUE(log.Has("SETTINGS: window mode=1 resolution=1280x720"));
    EXPECT_TRUE(IsWindowState(FLAG_BORDERLESS_WINDOWED_MODE));

    g.settings.windowMode = 0;
    g.settings.resolution = 2;
    g.ApplySettings();
    EXPECT_FALSE(IsWindowState(FLAG_BORDERLESS_WINDOWED_MODE));
    EXPECT_TRUE(log.Has("SETTINGS: window mode=0 resolution=1600x900"));
    EXPECT_EQ(GetScreenWidth(), 1600);
    EXPECT_EQ(GetScreenHeight(), 900);
    const Vector2 at = GetWindowPosition();
    EXPECT_EQ(static_cast<int>(at.x), mw - 1600 > 1 ? (mw - 1600) / 2 : 0);
    EXPECT_EQ(static_cast<int>(at.y), mh - 900 > 1 ? (mh - 900) / 2 : 0);
}

// The window changes size outside the settings (a mode that lands late, or
// the system): the next frame of play, which applies no settings, sizes the
// screen effects to it, whether one side changed or both.
TEST_F(GameSettingsGl, PlayFrameSizesTheScreenEffectsToTheWindow) {
    Game& g = MakeWorld();
    Frame();
    ASSERT_FALSE(g.menu.open);
    ASSERT_EQ(g.screenFx.width, 1600);
    ASSERT_EQ(g.screenFx.height, 900);
    for (auto [w, h] : {std::pair{1600, 720}, std::pair{1280, 720}, std::pair{1600, 900}}) {
        SetWindowSize(w, h);
        ASSERT_EQ(window::Width(), w);
        ASSERT_EQ(window::Height(), h);
        Frame();
        EXPECT_EQ(g.screenFx.width, w);
        EXPECT_EQ(g.screenFx.height, h);
        EXPECT_EQ(g.screenFx.scene.texture.width, w);
        EXPECT_EQ(g.screenFx.scene.texture.height, h);
    }
}

TEST_F(GameSettingsGl, MenuChangesTakeEffectInTheSameFrame) {
    Game& g = MakeGame();
    g.menu.OpenSettings();
    g.menu.selected = 3;
    Press(KEY_RIGHT);
    EXPECT_TRUE(g.settings.fxaa);
    EXPECT_TRUE(g.screenFx.fxaaEnabled);

    // A new windowed size is live while its dialog asks; Escape reverts it.
    g.menu.selected = 5;
    Press(KEY_ENTER);
    ASSERT_TRUE(g.menu.dropdownOpen);
    Press(KEY_UP);
    Press(KEY_UP);
    Press(KEY_ENTER);
    ASSERT_TRUE(g.menu.confirmOpen);
    EXPECT_EQ(GetScreenWidth(), 1280);
    EXPECT_TRUE(log.Has("RESOLUTION: requested 1280x720, confirm for 10 s"));
    Press(KEY_ESCAPE);
    EXPECT_FALSE(g.menu.confirmOpen);
    EXPECT_EQ(g.menu.page, Menu::Page::Settings);
    EXPECT_EQ(GetScreenWidth(), 1600);
    EXPECT_EQ(GetScreenHeight(), 900);
    EXPECT_TRUE(log.Has("RESOLUTION: reverted to 1600x900"));
}

}  // namespace
