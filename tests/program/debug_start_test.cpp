// debug_start_test.cpp: the KIRN_ debug starts of the real executable: which
// world they start, where they put the player, and their log lines, read back
// through the log, the timed screenshot and a save taken with F5.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "game/files/save_file.h"
#include "program/program_run.h"
#include "raylib.h"
#include "support/image_guards.h"

namespace {

namespace fs = std::filesystem;
using programtest::ProgramRun;
using programtest::ReadFile;

// Once the world runs, F5 until the game logs a save.
const std::string kSaveOnceStarted = "await_window SURVIVAL:; key F5 'SAVE: game saved'";

// The save file's fields the tests read, decoded by the game's own reader.
struct SavedGame {
    bool ok = false;
    uint32_t seed = 0;
    float eyeZ = 0.0f;
    float zoom = 0.0f;
    float shipZ = 0.0f;
    int fuelCans = 0;
    bool piloting = false;
    int32_t towerFloor = -1;
};

SavedGame ReadSave(const fs::path& path) {
    SavedGame s;
    const std::string b = ReadFile(path);
    SaveData d;
    if (!DecodeSave(std::vector<uint8_t>(b.begin(), b.end()), d)) {
        return s;
    }
    s.ok = true;
    s.seed = d.seed;
    s.eyeZ = d.eye.z;
    s.zoom = d.zoom;
    s.shipZ = d.airshipPos.y;
    for (const InventorySlot& slot : d.slots) {
        if (slot.type == ItemType::FuelCan) {
            s.fuelCans += slot.count;
        }
    }
    s.piloting = d.piloting;
    s.towerFloor = d.towerFloor;
    return s;
}

// Every debug start runs at render distance 4 and ends by its timed screenshot.
class DebugStart : public ProgramRun {
protected:
    void Run(const std::string& variables, const std::string& driver = "") {
        std::ofstream(dir / "settings.ini") << "renderDistance=4\n";
        ProgramRun::Run("KIRN_SCREENSHOT=shot.png " + variables, driver);
    }
    const std::string& Log() const { return log; }
};

TEST_F(DebugStart, AutostartValueThatIsNoNumberStartsTheDebugSeed) {
    Run("KIRN_AUTOSTART=abc KIRN_ZOOM=-2", kSaveOnceStarted);
    EXPECT_EQ(exitCode, 0) << Log();
    EXPECT_GE(Find("SAVE: game saved to savegame.dat"), 0) << Log();
    const SavedGame save = ReadSave(dir / "savegame.dat");
    ASSERT_TRUE(save.ok);
    EXPECT_EQ(save.seed, 20261113u);
    // A zoom that is not positive leaves the new world's 5.
    EXPECT_EQ(save.zoom, 5.0f);
}

TEST_F(DebugStart, AutostartSeedAndZoomClampReachTheSave) {
    Run("KIRN_AUTOSTART=42 KIRN_ZOOM=3", kSaveOnceStarted);
    EXPECT_EQ(exitCode, 0) << Log();
    const SavedGame save = ReadSave(dir / "savegame.dat");
    ASSERT_TRUE(save.ok) << Log();
    EXPECT_EQ(save.seed, 42u);
    EXPECT_EQ(save.zoom, 10.0f);
    EXPECT_EQ(save.towerFloor, 0);
    EXPECT_FALSE(save.piloting);
}

TEST_F(DebugStart, PilotStartTakesTheHelmWithAnExtraFuelCan) {
    Run("KIRN_AIRSHIP=pilot", kSaveOnceStarted);
    EXPECT_EQ(exitCode, 0) << Log();
    const int helm = Find("AIRSHIP: helm engaged");
    EXPECT_GE(helm, 0) << Log();
    EXPECT_GE(Find("SURVIVAL: У штурвала. W/S - тяга, A/D - поворот, E - отпустить."), 0) << Log();
    const SavedGame save = ReadSave(dir / "savegame.dat");
    ASSERT_TRUE(save.ok) << Log();
    EXPECT_EQ(save.seed, 20261113u);
    EXPECT_TRUE(save.piloting);
    EXPECT_EQ(save.fuelCans, 3);  // two of the starting kit and one more
}

TEST_F(DebugStart, TowerStartStandsOnTheDockFloorAndShowsIt) {
    Run("KIRN_TOWER=1", kSaveOnceStarted);
    EXPECT_EQ(exitCode, 0) << Log();
    EXPECT_EQ(Find("DOCK"), -1) << Log();
    const SavedGame save = ReadSave(dir / "savegame.dat");
    ASSERT_TRUE(save.ok) << Log();
    EXPECT_EQ(save.towerFloor, 12);

    ASSERT_TRUE(fs::exists(dir / "shot.png")) << Log();
    Image shot = LoadImage((dir / "shot.png").string().c_str());
    const testsupport::ImageGuard shotGuard(shot);
    ASSERT_NE(shot.data, nullptr);
    EXPECT_EQ(shot.width, 1600);
    std::set<unsigned> colours;
    for (int y = 0; y < shot.height; y += 9) {
        for (int x = 0; x < shot.width; x += 9) {
            const Color c = GetImageColor(shot, x, y);
            colours.insert(unsigned(c.r) << 16 | unsigned(c.g) << 8 | unsigned(c.b));
        }
    }
    EXPECT_GT(colours.size(), 50u);
}

TEST_F(DebugStart, DockTestLogsTwentyFiveProbesThenOneLinePerStep) {
    Run("KIRN_DOCK_TEST=");
    EXPECT_EQ(exitCode, 0) << Log();
    std::vector<std::string> probes;
    int lastProbe = -1;
    int firstStep = -1;
    int steps = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("DOCK z-", 0) == 0) {
            probes.push_back(lines[i]);
            lastProbe = static_cast<int>(i);
        } else if (lines[i].rfind("DOCK: near=", 0) == 0) {
            firstStep = firstStep < 0 ? static_cast<int>(i) : firstStep;
            ++steps;
        }
    }
    ASSERT_EQ(probes.size(), 25u) << Log();
    for (std::size_t l = 0; l < probes.size(); ++l) {
        EXPECT_EQ(probes[l].rfind("DOCK z-" + std::to_string(2 * l) + " ship ", 0), 0u) << probes[l];
    }
    EXPECT_GT(firstStep, lastProbe);
    // A step of at most 50 ms each: the two seconds before the picture take 40 or more.
    EXPECT_GE(steps, 40) << Log();
}

TEST_F(DebugStart, PlacementsRunInTheirOrderAndLogTheirLines) {
    Run("KIRN_NEAR=1 KIRN_INV=1 KIRN_MAP=1 KIRN_AIRSHIP=x KIRN_TREE=1 KIRN_HEARTH=parts");
    EXPECT_EQ(exitCode, 0) << Log();
    const int near = Find("NEAR: settlement type ");
    const int inventory = Find("INVENTORY: opened");
    const int map = Find("MAP: opened");
    const int deck = Find("AIRSHIP: player placed on deck");
    const int tree = Find("TREE: teleported to ");
    const int hearth = Find("HEARTH: teleported to ");
    EXPECT_GE(near, 0) << Log();
    EXPECT_LT(near, inventory) << Log();
    EXPECT_LT(inventory, map) << Log();
    EXPECT_LT(map, deck) << Log();
    EXPECT_LT(deck, tree) << Log();
    EXPECT_LT(tree, hearth) << Log();
    EXPECT_GE(Find("SURVIVAL: На палубе. Пройди по гондоле; трап - на корме."), 0) << Log();
}

TEST_F(DebugStart, FlyCarriesThePlayerTowardMinusZ) {
    Run("KIRN_FLY=1", "await_window SURVIVAL:; save_until_exit");
    EXPECT_EQ(exitCode, 0) << Log();
    const SavedGame save = ReadSave(dir / "savegame.dat");
    ASSERT_TRUE(save.ok) << Log();
    // The player starts beside the home next to the ship; at 170 units a
    // second they are far toward -z by the last F5 before the picture.
    EXPECT_LT(save.eyeZ, save.shipZ - 100.0f);
}

TEST_F(DebugStart, MenuPageAloneStartsNoWorld) {
    Run("KIRN_MENU=exit");
    EXPECT_EQ(exitCode, 0) << Log();
    EXPECT_EQ(Find("SURVIVAL:"), -1) << Log();
    EXPECT_TRUE(fs::exists(dir / "shot.png")) << Log();
}

}  // namespace
