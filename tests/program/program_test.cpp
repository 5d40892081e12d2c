// program_test.cpp: the real game executable in a fresh working directory,
// driven by its debug variables and by keys sent like a player's: its exit
// status, its log, the files it writes and the pictures it takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "program/program_run.h"
#include "raylib.h"
#include "tests/game/files/odd_files.h"

namespace {

namespace fs = std::filesystem;
using programtest::ProgramRun;
using programtest::Quote;
using programtest::ReadFile;

const std::string kStartMessage =
    "Большой генератор разрушен. Одна часть лежит рядом - ещё две ищи в городах. "
    "Выжившие голодны: поделись с ними едой [F].";

// The picture's size and how many distinct colours a sparse grid of it holds.
struct PictureStats {
    int width = 0;
    int height = 0;
    std::size_t colours = 0;
};

PictureStats Inspect(const fs::path& path) {
    PictureStats stats;
    Image image = LoadImage(path.string().c_str());
    if (image.data == nullptr) {
        return stats;
    }
    stats.width = image.width;
    stats.height = image.height;
    std::set<unsigned> seen;
    for (int y = 0; y < image.height; y += 7) {
        for (int x = 0; x < image.width; x += 7) {
            const Color c = GetImageColor(image, x, y);
            seen.insert(unsigned(c.r) << 16 | unsigned(c.g) << 8 | unsigned(c.b));
        }
    }
    stats.colours = seen.size();
    UnloadImage(image);
    return stats;
}

TEST_F(ProgramRun, AutostartTakesTimedScreenshotAndExitsCleanly) {
    Run("KIRN_AUTOSTART=1 KIRN_SCREENSHOT=shot.png");
    EXPECT_EQ(exitCode, 0) << log;
    EXPECT_TRUE(LogHasLine("SURVIVAL: " + kStartMessage)) << log;

    ASSERT_TRUE(fs::exists(dir / "shot.png")) << log;
    const PictureStats shot = Inspect(dir / "shot.png");
    EXPECT_EQ(shot.width, 1600);
    EXPECT_EQ(shot.height, 900);
    // A world with a HUD, not a blank or single-colour frame.
    EXPECT_GT(shot.colours, 50u);

    // Settings are written at every shut-down, six lines.
    const std::string ini = ReadFile(dir / "settings.ini");
    EXPECT_NE(ini.find("renderDistance=8\n"), std::string::npos) << ini;
    EXPECT_EQ(std::count(ini.begin(), ini.end(), '\n'), 6) << ini;
    // Quitting through the timed screenshot is not a save.
    EXPECT_FALSE(fs::exists(dir / "savegame.dat"));
}

TEST_F(ProgramRun, TimedScreenshotTakesAnAbsolutePathAsGiven) {
    const fs::path shot = dir / "pictures" / "absolute.png";
    fs::create_directories(shot.parent_path());
    Run("KIRN_AUTOSTART=3 KIRN_SCREENSHOT=" + Quote(shot.string()));
    EXPECT_EQ(exitCode, 0) << log;
    ASSERT_TRUE(fs::exists(shot)) << log;
    EXPECT_EQ(Inspect(shot).width, 1600);
}

// The picture is written aside and renamed into place: a FIFO at its name
// neither holds the game nor keeps it from writing its settings on the way
// out, and a link there is replaced, never written through.
TEST_F(ProgramRun, TimedScreenshotReplacesAFifoOrALinkAtItsName) {
    for (const bool fifo : {true, false}) {
        const std::string what = fifo ? "FIFO" : "link";
        fs::remove(dir / "shot.png");
        fs::remove(dir / "settings.ini");
        std::ofstream(dir / "victim.txt", std::ios::binary) << "a player's text";
        if (fifo) {
            ASSERT_EQ(mkfifo((dir / "shot.png").c_str(), 0600), 0);
        } else {
            fs::create_symlink("victim.txt", dir / "shot.png");
        }
        Run("KIRN_AUTOSTART=1 KIRN_SCREENSHOT=shot.png");
        EXPECT_EQ(exitCode, 0) << what << "\n" << log;
        // A FIFO still there would hold this reader as well.
        const bool regular = fs::symlink_status(dir / "shot.png").type() == fs::file_type::regular;
        EXPECT_TRUE(regular) << what;
        EXPECT_EQ(regular ? Inspect(dir / "shot.png").width : 0, 1600) << what;
        EXPECT_TRUE(ReadFile(dir / "victim.txt") == "a player's text") << what << ": the link's target was written";
        EXPECT_TRUE(testfiles::TemporariesOf(dir / "shot.png").empty()) << what;
        const std::string ini = ReadFile(dir / "settings.ini");
        EXPECT_EQ(std::count(ini.begin(), ini.end(), '\n'), 6) << what << ini;
    }
}

TEST_F(ProgramRun, WithoutADisplayItEndsWithAnErrorInsteadOfCrashing) {
    Run("DISPLAY=:987654 KIRN_AUTOSTART=1 KIRN_SCREENSHOT=shot.png");
    // A crash would show as 128 + the signal's number.
    EXPECT_EQ(exitCode, 1) << log;
    EXPECT_FALSE(fs::exists(dir / "shot.png"));
    EXPECT_FALSE(fs::exists(dir / "settings.ini"));
}

TEST_F(ProgramRun, NormalStartShowsMainMenuAndKeepsSettings) {
    std::ofstream(dir / "settings.ini") << "renderDistance=5\nfpsLimit=60\n";
    Run("KIRN_SCREENSHOT=menu.png");
    EXPECT_EQ(exitCode, 0) << log;
    // No world was started: no start message.
    EXPECT_EQ(log.find("SURVIVAL:"), std::string::npos) << log;

    ASSERT_TRUE(fs::exists(dir / "menu.png")) << log;
    const PictureStats shot = Inspect(dir / "menu.png");
    EXPECT_EQ(shot.width, 1600);
    EXPECT_GT(shot.colours, 20u);

    const std::string ini = ReadFile(dir / "settings.ini");
    EXPECT_NE(ini.find("renderDistance=5\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("fpsLimit=60\n"), std::string::npos) << ini;
}

// A FIFO left at that name is replaced by the picture, without a wait.
TEST_F(ProgramRun, F12NamesItsPictureAfterTheSeed) {
    fs::create_directories(dir / "build");
    ASSERT_EQ(mkfifo((dir / "build" / "screenshot_42.png").c_str(), 0600), 0);
    Run("KIRN_AUTOSTART=42 KIRN_SCREENSHOT=shot.png",
        "await_window SURVIVAL:; key F12 '[build/screenshot_42.png] Screenshot taken successfully'");
    EXPECT_EQ(exitCode, 0) << log;
    const bool regular = fs::symlink_status(dir / "build" / "screenshot_42.png").type() == fs::file_type::regular;
    EXPECT_TRUE(regular) << log;
    EXPECT_EQ(regular ? Inspect(dir / "build" / "screenshot_42.png").width : 0, 1600) << log;
    EXPECT_TRUE(fs::exists(dir / "shot.png")) << log;
}

TEST_F(ProgramRun, EscapeOpensThePauseMenu) {
    Run("KIRN_AUTOSTART=7 KIRN_SCREENSHOT=shot.png", "await_window SURVIVAL:; key Escape 'MENU: opened'");
    EXPECT_EQ(exitCode, 0) << log;
    EXPECT_TRUE(LogHasLine("MENU: opened (paused)")) << log;
    // The menu was never left by Escape, so the timed exit ended the game.
    EXPECT_FALSE(LogHasLine("MENU: closed (resumed)")) << log;
}

// The pause menu puts the mouse at the window centre, on "Сохранить"; Enter
// still takes "Продолжить": play resumes and nothing is saved.
TEST_F(ProgramRun, EscapeThenEnterResumesAndWritesNoSave) {
    std::ofstream(dir / "settings.ini") << "renderDistance=4\n";
    Run("KIRN_AUTOSTART=7",
        "await_window SURVIVAL:; key Escape 'MENU: opened'; key Return 'MENU: closed' SAVE:; stop_game");
    EXPECT_TRUE(LogHasLine("MENU: opened (paused)")) << log;
    EXPECT_TRUE(LogHasLine("MENU: closed (resumed)")) << log;
    EXPECT_FALSE(LogHasLine("SAVE: game saved to savegame.dat")) << log;
    EXPECT_FALSE(fs::exists(dir / "savegame.dat")) << log;
}

// The same with the window moved a few pixels under the still pointer, as a
// window manager or the system may move it: the pointer now lies at other
// window pixels, still on "Сохранить", but the hand did not move, so Enter
// still resumes and nothing is saved.
TEST_F(ProgramRun, WindowMovedUnderTheStillPointerThenEnterResumes) {
    std::ofstream(dir / "settings.ini") << "renderDistance=4\n";
    Run("KIRN_AUTOSTART=777",
        "await_window SURVIVAL:; key Escape 'MENU: opened'; placed=$(geometry); "
        "eval \"$(timeout 1 xdotool getwindowgeometry --shell \"$WIN\")\"; "
        "timeout 1 xdotool windowmove \"$WIN\" $((X + 4)) $((Y + 4)); await_new_geometry \"$placed\"; "
        "key Return 'MENU: closed' SAVE:; stop_game");
    EXPECT_TRUE(LogHasLine("MENU: closed (resumed)")) << log;
    EXPECT_FALSE(LogHasLine("SAVE: game saved to savegame.dat")) << log;
    EXPECT_FALSE(fs::exists(dir / "savegame.dat")) << log;
}

// "В главное меню" with a folder at savegame.dat: the save fails, so the run
// stays with the pause menu up; chosen again, it goes to the main menu
// unsaved, and the folder is left as it was.
TEST_F(ProgramRun, ExitToMainMenuThatCannotSaveKeepsTheRun) {
    fs::create_directory(dir / "savegame.dat");
    // Up takes "Выход"; Left twice from "Отмена" takes "В главное меню".
    Run("KIRN_AUTOSTART=7",
        "await_window SURVIVAL:; key Escape 'MENU: opened'; key_shown Up; key_shown Return; key_shown Left; "
        "key_shown Left; key_shown Return; "
        "[ \"$(seen 'MENU: returned')\" = 0 ] || fail 'the run was left unsaved'; running || fail 'the game ended'; "
        "key_shown Return; key_shown Left; key_shown Left; key Return 'MENU: returned'; stop_game");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "MENU: returned to main menu"), 1) << log;
    EXPECT_FALSE(LogHasLine("SAVE: game saved to savegame.dat")) << log;
    EXPECT_TRUE(fs::is_directory(dir / "savegame.dat"));
}

// The resolution list opened from the keys, with the cursor at rest over
// its first row: it opens on the current resolution, so Enter requests
// nothing, and Down then Enter in the list opened again request the next one.
TEST_F(ProgramRun, ResolutionListOpenedByKeysKeepsTheCurrentOneUnderARestingCursor) {
    // The cursor comes to the list's first row (on the page that is "Назад",
    // which takes the highlight), then Up, Right, Enter, Right, Down, Enter.
    Run("KIRN_MENU=settings",
        "await_window 'SETTINGS: render distance'; point 800 619; key_shown Up; key_shown Right; "
        "key_shown Return; key_shown Right; key_shown Down; key Return RESOLUTION:; stop_game");
    EXPECT_FALSE(LogHasLine("RESOLUTION: requested 1280x720, confirm for 10 s")) << log;
    EXPECT_TRUE(LogHasLine("RESOLUTION: requested 1920x1080, confirm for 10 s")) << log;
    EXPECT_EQ(Find("RESOLUTION:"), Find("RESOLUTION: requested 1920x1080")) << log;
}

// Settings over a world, windowed 1600 x 900: a click on "Режим окна" makes
// the window borderless (the whole screen) under the still cursor, and a
// second click without moving hits the same row, drawn there in the new
// window: full screen, and anti-aliasing untouched. Escape twice resumes
// play, which writes "settings.ini".
TEST_F(ProgramRun, SecondClickAfterTheWindowWentBorderlessHitsTheSameRow) {
    Run("KIRN_AUTOSTART=5 KIRN_MENU=settings",
        "await_window SURVIVAL:; point 800 527; windowed=$(geometry); key 'button 1' 'window mode=1'; "
        "await_new_geometry \"$windowed\"; key 'button 1' 'window mode=2'; key_shown Escape; "
        "key Escape 'MENU: closed'; stop_game");
    // The start, then one change per click, and nothing else.
    std::vector<std::string> modes;
    for (const std::string& l : lines) {
        if (l.rfind("SETTINGS: window mode=", 0) == 0) modes.push_back(l);
    }
    const std::vector<std::string> expected = {"SETTINGS: window mode=0 resolution=1600x900",
                                               "SETTINGS: window mode=1 resolution=1600x900",
                                               "SETTINGS: window mode=2 resolution=1600x900"};
    EXPECT_EQ(modes, expected) << log;
    ASSERT_TRUE(LogHasLine("MENU: closed (resumed)")) << log;
    const std::string ini = ReadFile(dir / "settings.ini");
    EXPECT_NE(ini.find("windowMode=2\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("fxaa=0\n"), std::string::npos) << ini;
}

// KIRN_FXAA smooths that run only: the player's "settings.ini" is left as it was.
TEST_F(ProgramRun, ForcedAntiAliasingLeavesTheSettingsFileAlone) {
    const std::string ini = "renderDistance=5\nvsync=1\nfpsLimit=60\nfxaa=0\nwindowMode=0\nresolution=2\n";
    std::ofstream(dir / "settings.ini", std::ios::binary) << ini;
    Run("KIRN_FXAA=1 KIRN_SCREENSHOT=shot.png");
    EXPECT_EQ(exitCode, 0) << log;
    EXPECT_TRUE(fs::exists(dir / "shot.png")) << log;
    EXPECT_EQ(ReadFile(dir / "settings.ini"), ini);
}

// A settings file that is there but cannot be read (a FIFO, a folder, as
// root a link to the kernel log, whose read would wait) holds up nothing and
// is left as it is: the settings page is opened and left, play resumed, and
// the game quit through its exit dialog, all from the keys.
TEST_F(ProgramRun, SettingsFileThatCannotBeReadIsLeftAsItIs) {
    // Escape leaves the settings for the pause page and then resumes; Escape
    // pauses again; Up, Enter, Left and Enter take "Выйти из игры".
    const std::string driver =
        "await_window SURVIVAL:; key_shown Escape; key Escape 'MENU: closed'; key Escape 'MENU: opened'; "
        "key_shown Up; key_shown Return; key_shown Left; key Return 'Window closed successfully'";
    const std::vector<std::string> kinds{"FIFO", "folder", "link to /proc/kmsg"};
    for (const std::string& kind : kinds) {
        const fs::path ini = dir / "settings.ini";
        fs::remove_all(ini);
        if (kind == "FIFO") {
            ASSERT_EQ(mkfifo(ini.c_str(), 0600), 0);
        } else if (kind == "folder") {
            fs::create_directory(ini);
        } else {
            fs::create_symlink("/proc/kmsg", ini);
        }
        const fs::file_type before = fs::symlink_status(ini).type();
        Run("KIRN_AUTOSTART=1 KIRN_MENU=settings", driver);
        EXPECT_EQ(exitCode, 0) << kind << "\n" << log;
        EXPECT_EQ(std::count(lines.begin(), lines.end(),
                             "SETTINGS: settings.ini could not be read, using the defaults and leaving it as it is"),
                  1)
            << kind << "\n"
            << log;
        EXPECT_TRUE(LogHasLine("MENU: closed (resumed)")) << kind << "\n" << log;
        EXPECT_EQ(fs::symlink_status(ini).type(), before) << kind;
        EXPECT_TRUE(testfiles::TemporariesOf(dir / "settings.ini").empty()) << kind;
        std::error_code error;
        if (kind == "folder") {
            EXPECT_TRUE(fs::is_empty(ini, error));
        } else if (before == fs::file_type::symlink) {
            EXPECT_EQ(fs::read_symlink(ini, error), "/proc/kmsg");
        }
    }
}

}  // namespace
