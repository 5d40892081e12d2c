// settings_test.cpp: the "settings.ini" reader and writer: defaults, the
// round trip, clamping of bad values, tolerated line shapes and file results.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "game/files/settings.h"
#include "tests/game/files/file_size_limit.h"
#include "tests/game/files/odd_files.h"
#include "tests/game/files/settings_compare.h"

namespace {

GameSettings Read(const std::string& text, GameSettings start = {}) {
    std::istringstream in(text);
    ReadSettings(in, start);
    return start;
}

using testfiles::SameSettings;

std::filesystem::path TempPath(const char* name) {
    return std::filesystem::temp_directory_path() / name;
}

TEST(SettingsFile, DefaultsAreWrittenAsSixLines) {
    EXPECT_EQ(SettingsText(GameSettings{}),
              "renderDistance=8\nvsync=1\nfpsLimit=120\nfxaa=0\nwindowMode=0\nresolution=2\n");
}

TEST(SettingsFile, TextRoundTripsEveryField) {
    GameSettings s;
    s.renderDistance = 11;
    s.vsync = false;
    s.fpsLimit = 0;
    s.fxaa = true;
    s.windowMode = 2;
    s.resolution = 5;
    EXPECT_EQ(SettingsText(s), "renderDistance=11\nvsync=0\nfpsLimit=0\nfxaa=1\nwindowMode=2\nresolution=5\n");
    EXPECT_TRUE(SameSettings(Read(SettingsText(s)), s));
}

TEST(SettingsFile, OutOfRangeValuesAreClamped) {
    EXPECT_EQ(Read("renderDistance=2").renderDistance, 4);
    EXPECT_EQ(Read("renderDistance=40").renderDistance, 12);
    EXPECT_EQ(Read("renderDistance=far").renderDistance, 4);
    EXPECT_EQ(Read("fpsLimit=-5").fpsLimit, 0);
    EXPECT_EQ(Read("fpsLimit=5000").fpsLimit, 1000);
    EXPECT_EQ(Read("fpsLimit=144").fpsLimit, 144);
    EXPECT_EQ(Read("windowMode=-1").windowMode, 0);
    EXPECT_EQ(Read("windowMode=1").windowMode, 1);
    EXPECT_EQ(Read("windowMode=7").windowMode, 2);
    EXPECT_EQ(Read("resolution=9").resolution, 5);
    EXPECT_EQ(Read("resolution=-2").resolution, 0);
}

TEST(SettingsFile, ValuesReadTheirLeadingIntegerAndSaturate) {
    EXPECT_EQ(Read("fpsLimit=75fps").fpsLimit, 75);
    EXPECT_EQ(Read("resolution=+3").resolution, 3);
    // Numbers beyond the int range saturate instead of wrapping around.
    EXPECT_EQ(Read("renderDistance=99999999999999").renderDistance, 12);
    EXPECT_EQ(Read("renderDistance=-99999999999999").renderDistance, 4);
    EXPECT_EQ(Read("fpsLimit=4294967297").fpsLimit, 1000);
    EXPECT_EQ(Read("windowMode=4294967297").windowMode, 2);
}

TEST(SettingsFile, BooleansAndKeySpelling) {
    GameSettings start;
    start.vsync = false;
    EXPECT_TRUE(Read("vsync=2", start).vsync);
    EXPECT_FALSE(Read("  vsync \t=  0  \r\n").vsync);
    EXPECT_TRUE(Read("VSYNC=0").vsync);
    EXPECT_TRUE(Read("fxaa=-1").fxaa);
    EXPECT_FALSE(Read("fxaa=off").fxaa);
}

TEST(SettingsFile, MalformedLinesChangeNothing) {
    const GameSettings defaults;
    EXPECT_TRUE(SameSettings(Read("=5\n"), defaults));
    EXPECT_TRUE(SameSettings(Read("renderDistance 5\n"), defaults));
    EXPECT_TRUE(SameSettings(Read("\n\n\r\n"), defaults));
    EXPECT_TRUE(SameSettings(Read("unknown=3\nrender=5\n"), defaults));
}

TEST(SettingsFile, LineEndingsDuplicatesAndMissingKeys) {
    // The last line may lack its break; Windows line ends are accepted.
    const GameSettings s = Read("vsync=0\r\nfpsLimit=60\r\nresolution=4");
    EXPECT_FALSE(s.vsync);
    EXPECT_EQ(s.fpsLimit, 60);
    EXPECT_EQ(s.resolution, 4);
    EXPECT_EQ(Read("fpsLimit=60\nfpsLimit=90\n").fpsLimit, 90);

    GameSettings start;
    start.renderDistance = 5;
    start.fxaa = true;
    const GameSettings partial = Read("windowMode=1\n", start);
    EXPECT_EQ(partial.renderDistance, 5);
    EXPECT_TRUE(partial.fxaa);
    EXPECT_EQ(partial.windowMode, 1);
}

TEST(SettingsFile, ResolutionTableAndLookupClamp) {
    ASSERT_EQ(cfg::resolutions.size(), 6u);
    EXPECT_EQ(cfg::resolutions[0].width, 1280);
    EXPECT_EQ(cfg::resolutions[1].width, 1366);
    EXPECT_EQ(cfg::resolutions[1].height, 768);
    EXPECT_EQ(cfg::resolutions[5].height, 2160);
    EXPECT_EQ(ResolutionAt(-3).width, 1280);
    EXPECT_EQ(ResolutionAt(2).width, 1600);
    EXPECT_EQ(ResolutionAt(17).width, 3840);
}

TEST(SettingsFile, FileRoundTripAndFailures) {
    const std::filesystem::path path = TempPath("palewick_settings_test.ini");
    std::error_code ignored;
    std::filesystem::remove(path, ignored);

    GameSettings kept;
    kept.fpsLimit = 240;
    EXPECT_EQ(LoadSettingsFile(path.string(), kept), SettingsLoad::Missing);
    EXPECT_EQ(kept.fpsLimit, 240);
#if !defined(_WIN32)
    // A link that leads nowhere is no file either.
    std::filesystem::create_symlink(TempPath("palewick_settings_nowhere.ini"), path);
    EXPECT_EQ(LoadSettingsFile(path.string(), kept), SettingsLoad::Missing);
    EXPECT_EQ(kept.fpsLimit, 240);
    std::filesystem::remove(path);
#endif

    GameSettings s;
    s.renderDistance = 6;
    s.windowMode = 1;
    s.resolution = 0;
    ASSERT_TRUE(SaveSettingsFile(path.string(), s));
    std::string written;
    {
        std::ifstream file(path, std::ios::binary);
        written.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    // Text mode: Windows writes CR LF, which the reader accepts.
    std::erase(written, '\r');
    EXPECT_EQ(written, SettingsText(s));

    GameSettings loaded;
    ASSERT_EQ(LoadSettingsFile(path.string(), loaded), SettingsLoad::Loaded);
    EXPECT_TRUE(SameSettings(loaded, s));
    std::filesystem::remove(path, ignored);

    EXPECT_FALSE(SaveSettingsFile((TempPath("palewick_no_such_dir") / "settings.ini").string(), s));
}

// A file a Windows editor saved: after UTF-8's byte-order mark the first
// line is read like any other; a UTF-16 file, either way round, is
// unreadable and changes nothing.
TEST(SettingsFile, ByteOrderMarks) {
    struct Row {
        const char* what;
        std::string bytes;
        SettingsLoad load;
        int renderDistance;
        bool vsync;
    };
    const std::string lines = "renderDistance=5\r\nvsync=0\r\n";
    const std::string utf16le{'\xFF', '\xFE', 'r', '\0', '=', '\0', '5', '\0'};
    const std::string utf16be{'\xFE', '\xFF', '\0', 'r', '\0', '=', '\0', '5'};
    const Row rows[] = {
        {"UTF-8 mark", "\xEF\xBB\xBF" + lines, SettingsLoad::Loaded, 5, false},
        {"UTF-8 mark alone", "\xEF\xBB\xBF", SettingsLoad::Loaded, 8, true},
        {"UTF-16 LE", utf16le, SettingsLoad::Unreadable, 8, true},
        {"UTF-16 BE", utf16be, SettingsLoad::Unreadable, 8, true},
    };
    const std::filesystem::path path = TempPath("palewick_settings_bom.ini");
    for (const Row& row : rows) {
        std::ofstream(path, std::ios::binary) << row.bytes;
        GameSettings loaded;
        EXPECT_EQ(LoadSettingsFile(path.string(), loaded), row.load) << row.what;
        EXPECT_EQ(loaded.renderDistance, row.renderDistance) << row.what;
        EXPECT_EQ(loaded.vsync, row.vsync) << row.what;
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// Only a regular file is read as settings, and only its first 64 KiB: a
// pipe, a folder, a device, a file that may not be read or whose read would
// wait is unreadable (the defaults stay, nothing waits), and of a huge file
// the lines past the limit, and the one it cuts, are not read.
TEST(SettingsFile, OnlyRegularFilesAreReadAndOnlyTheirFirst64KiB) {
    std::random_device random;
    const std::filesystem::path dir = TempPath(("palewick_settings_odd_" + std::to_string(random())).c_str());
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    ASSERT_TRUE(std::filesystem::create_directory(dir));
    const std::filesystem::path path = dir / "settings.ini";

    GameSettings start;
    start.fpsLimit = 240;
    for (const testfiles::OddFile& odd : testfiles::OddFiles()) {
        std::filesystem::remove_all(path, ignored);
        const std::string name = odd.make(path);
        ASSERT_FALSE(name.empty()) << odd.what;
        const auto unreadable = [&] {
            GameSettings loaded = start;
            return LoadSettingsFile(name, loaded) == SettingsLoad::Unreadable && SameSettings(loaded, start);
        };
        EXPECT_EQ(testfiles::CheckWithoutWaiting(unreadable, odd.asOtherUser), testfiles::Outcome::Held) << odd.what;
    }

    // "renderDistance=12" is cut by the limit after its "1"; what follows it
    // lies past the limit.
    std::filesystem::remove_all(path, ignored);
    std::string text = "fxaa=1\n";
    text += std::string(cfg::kMaxSettingsFileBytes - 16 - text.size() - 1, '#') + "\n";
    text += "renderDistance=12\nvsync=0\n";
    text += std::string(std::size_t{1} << 20, '#') + "\nfpsLimit=30\n";
    std::ofstream(path, std::ios::binary) << text;
    GameSettings loaded = start;
    ASSERT_EQ(LoadSettingsFile(path.string(), loaded), SettingsLoad::Loaded);
    EXPECT_TRUE(loaded.fxaa);
    EXPECT_EQ(loaded.renderDistance, start.renderDistance);
    EXPECT_EQ(loaded.vsync, start.vsync);
    EXPECT_EQ(loaded.fpsLimit, start.fpsLimit);
    std::filesystem::remove_all(dir, ignored);
}

#if !defined(_WIN32)
// A write that fails half way (a full disk) leaves the old file byte for
// byte: the new one is written aside and only a complete one replaces it.
TEST(SettingsFile, FailedWriteKeepsTheOldFile) {
    // A random name, so that runs of several builds at once never share it.
    std::random_device random;
    const std::filesystem::path path = TempPath(
        ("palewick_settings_full_" + std::to_string(random()) + ".ini").c_str());
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    GameSettings old;
    old.renderDistance = 11;
    old.fxaa = true;
    ASSERT_TRUE(SaveSettingsFile(path.string(), old));

    GameSettings changed;
    changed.renderDistance = 5;
    for (rlim_t room : {rlim_t{0}, rlim_t{20}}) {
        bool written = true;
        {
            testfiles::FileSizeLimit full(room);
            ASSERT_TRUE(full.Applied());
            written = SaveSettingsFile(path.string(), changed);
        }
        EXPECT_FALSE(written) << room;
        std::ifstream file(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()),
                  SettingsText(old))
            << room;
        EXPECT_EQ(testfiles::TemporariesOf(path), std::vector<std::string>{}) << room;
    }
    std::filesystem::remove(path, ignored);
}
#endif

}  // namespace
