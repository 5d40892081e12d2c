// game_settings_test.cpp: the game's own reading and writing of
// "settings.ini": a file that is there but cannot be read is never written
// over, whatever the player does.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "game/files/settings.h"
#include "tests/game/files/odd_files.h"
#include "tests/game/files/settings_compare.h"
#include "tests/game/game_fixture.h"

namespace {

using testfiles::SameSettings;

// A settings file that is there but cannot be read is never written over:
// the game runs on the defaults, says so once, and neither leaving the
// settings page, resuming play nor shutting down touches the file. Nothing
// at the name, or a link that leads nowhere, is still written as before.
class SettingsGame : public testgame::GameTest {};

TEST_F(SettingsGame, AFileThatIsThereButCannotBeReadIsNeverWrittenOver) {
    const std::string warning = "SETTINGS: settings.ini could not be read, using the defaults and leaving it as it is";
    const std::filesystem::path path = workDir.Path() / "settings.ini";
    struct Case {
        std::string what;
        std::function<bool()> make;
        bool unreadable;
    };
    std::vector<Case> cases{{"nothing", [] { return true; }, false}};
#if !defined(_WIN32)
    cases.push_back({"link that leads nowhere",
                     [&] {
                         std::error_code error;
                         std::filesystem::create_symlink(workDir.Path() / "elsewhere.ini", path, error);
                         return !error;
                     },
                     false});
    // Root reads any file; the game runs in this process.
    const bool root = geteuid() == 0;
#else
    const bool root = false;
#endif
    for (const testfiles::OddFile& odd : testfiles::OddFiles()) {
        if (!(odd.asOtherUser && root)) {
            // Only what can stand at the file's own name.
            cases.push_back({odd.what, [&path, odd] { return odd.make(path) == path.string(); }, true});
        }
    }

    for (const Case& c : cases) {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
        if (!c.make()) {
            continue;
        }
        const std::filesystem::file_type before = std::filesystem::symlink_status(path).type();
        const std::filesystem::path linkTarget = std::filesystem::read_symlink(path, ignored);
        log.Clear();
        Game& g = MakeGame();
        EXPECT_EQ(log.Count(warning), c.unreadable ? 1 : 0) << c.what;
        EXPECT_TRUE(SameSettings(g.settings, GameSettings{})) << c.what;

        // Settings opened from the pause menu and left, then play resumed.
        g.settings.renderDistance = cfg::kMinRenderDistance;
        g.StartNewWorld(20261113u);
        for (int key : {KEY_ESCAPE, KEY_DOWN, KEY_DOWN, KEY_ENTER}) {
            Press(key);
        }
        EXPECT_EQ(g.menu.page, Menu::Page::Settings) << c.what;
        Press(KEY_ESCAPE);
        Press(KEY_ESCAPE);
        EXPECT_FALSE(g.menu.open) << c.what;
        EXPECT_EQ(g.SaveSettings(), !c.unreadable) << c.what;
        const std::string written = testgame::AsTextFile(SettingsText(g.settings));
        game.reset();

        if (c.unreadable) {
            EXPECT_EQ(std::filesystem::symlink_status(path).type(), before) << c.what;
            EXPECT_EQ(std::filesystem::read_symlink(path, ignored), linkTarget) << c.what;
            EXPECT_EQ(testfiles::TemporariesOf(path), std::vector<std::string>{}) << c.what;
        } else {
            EXPECT_EQ(std::filesystem::symlink_status(path).type(), std::filesystem::file_type::regular) << c.what;
            EXPECT_EQ(workDir.Read("settings.ini"), written) << c.what;
        }
    }
}

}  // namespace
