// game_save.cpp: the game's side of the save slot: gathering the live state
// into a save, and rebuilding the whole game from a save that checked out.
#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "actors/finite_or.h"
#include "game/files/file_io.h"
#include "game/files/save_file.h"
#include "game/game.h"
#include "game/platform/window.h"
#include "game/view/zoom_limits.h"

namespace {

// A need of a damaged file that is not a number loads as full.
float Need(float value) {
    return std::clamp(FiniteOr(value, cfg::kNeedMax), 0.0f, cfg::kNeedMax);
}

// An empty slot is always written as {0, 0}, so the file reads back.
InventorySlot Normalised(const InventorySlot& slot) {
    if (slot.type == ItemType::None || slot.count <= 0) {
        return InventorySlot{};
    }
    return InventorySlot{slot.type, std::min(slot.count, Inventory::kStackLimit)};
}

SaveData Gather(const Game& game) {
    SaveData d;
    d.seed = game.seed;
    d.eye = game.player.position();
    d.yaw = game.player.yaw;
    d.zoom = game.zoom;
    d.worldTime = game.world->worldTime;
    d.food = game.food;
    d.water = game.water;
    d.health = game.health;
    d.airshipPos = game.airship.pos;
    d.airshipHeading = game.airship.heading;
    for (int i = 0; i < Inventory::kSlotCount; ++i) {
        d.slots[i] = Normalised(game.inventory.slots[i]);
    }
    d.removedIds.assign(game.world->removedIds.begin(), game.world->removedIds.end());
    d.piloting = game.piloting;
    d.airshipFuel = game.airship.fuel;
    d.coal = game.airship.coal;
    d.throttle = game.airship.throttle;
    d.furnaceTemp = game.airship.furnaceTemp;
    d.cabinTemp = game.airship.cabinTemp;
    d.speed = game.airship.speed;
    d.warmth = game.warmth;
    d.altitude = game.airship.altitude;
    d.weapon = static_cast<uint8_t>(game.weapon);
    d.magazine = game.magazine;
    d.homeFuel = game.home.fuel;
    d.survivorsAlive = static_cast<uint32_t>(game.home.survivorsAlive());
    d.broken = game.home.broken;
    d.parts = game.home.parts;
    d.partTaken = game.home.partTaken;
    d.towerFloor = game.tower.floorCount > 0 ? game.tower.currentFloor : 0;
    d.towerKeys = game.tower.takenKeys();
    d.foodShared = game.foodShared;
    d.rewardGiven = game.rewardGiven;
    return d;
}

WeaponKind SavedWeapon(uint8_t byte) {
    return byte < 3 ? static_cast<WeaponKind>(byte) : WeaponKind::Pistol;
}

void RestoreWorldAndHome(Game& game, const SaveData& d) {
    game.seed = d.seed;
    // The old world (and its chunk textures) goes only once the new one stands.
    std::unique_ptr<World> fresh = std::make_unique<World>(d.seed);
    game.world = std::move(fresh);
    game.world->RestoreState(d.worldTime, std::unordered_set<uint64_t>(d.removedIds.begin(), d.removedIds.end()));

    const Vector3 spawn = game.world->SpawnPoint();
    HomeSettlement& home = game.home;
    home.Generate(d.seed, *game.world, spawn);
    home.RestoreState(d.homeFuel, d.survivorsAlive, d.broken, d.parts, d.partTaken);
    TraceLog(LOG_INFO, "HEARTH: restored %.0f s of fuel, %d survivors, %s, %d/%d parts, loose part %s",
             static_cast<double>(home.fuel), home.survivorsAlive(), home.broken ? "broken" : "working", home.parts,
             kFurnacePartsNeeded, home.partTaken ? "taken" : "present");

    game.airship.Reset(d.airshipPos, d.airshipHeading, *game.world);
    game.airship.RestoreState(d.airshipFuel, d.coal, d.throttle, d.furnaceTemp, d.cabinTemp, d.speed, d.altitude);
    if (GenerateDebugTower(game, spawn)) {
        game.tower.RestoreState(d.towerFloor, std::unordered_set<uint64_t>(d.towerKeys.begin(), d.towerKeys.end()));
    }
}

void RestorePlayerState(Game& game, const SaveData& d) {
    // The selected hotbar slot is not saved; the player's choice stays.
    game.inventory.slots = d.slots;

    game.settlementFroze = game.home.allDead;

    game.weapon = SavedWeapon(d.weapon);
    game.food = Need(d.food);
    game.water = Need(d.water);
    game.health = Need(d.health);
    game.warmth = Need(d.warmth);
    game.magazine = std::clamp(d.magazine, 0, cfg::kMagazineSize);
    game.zoom = std::clamp(d.zoom, kMinZoom, kMaxZoom);
    game.rewardGiven = d.rewardGiven;
    game.foodShared = d.foodShared;
    game.inventoryOpen = false;
    game.piloting = d.piloting;

    if (game.piloting) {
        game.player.Reset(game.airship.HelmStandPoint());
        game.player.yaw = game.airship.heading + kQuarterTurn;
    } else {
        game.player.Reset(d.eye);
        game.player.yaw = FiniteOr(d.yaw, 0.0f);
    }
    if (game.settlementFroze) {
        game.gameOver = true;
        game.endLatched = true;
    }
}

}  // namespace

bool Game::SaveGame() {
    // A finished game (death, a lost settlement, a win not yet continued)
    // would load straight into its end: the last good save is kept instead.
    if (!world || gameOver) {
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!EncodeLoadableSave(Gather(*this), bytes) || !WriteFileReplacing(kSaveFileName, bytes)) {
        return false;
    }
    // Set at once, not at the menu's next Update: a return to the main menu
    // saves and draws that menu in the same frame, with "Загрузить" live.
    menu.hasSave = true;
    TraceLog(LOG_INFO, "SAVE: game saved to %s", kSaveFileName);
    return true;
}

bool Game::LoadGame() {
    std::vector<uint8_t> bytes;
    SaveData data;
    if (!ReadFilePrefix(kSaveFileName, MaxSaveFileSize(), bytes) || !DecodeSave(bytes, data)) {
        return false;
    }

    ResetWorldState();
    RestoreWorldAndHome(*this, data);
    RestorePlayerState(*this, data);

    const Vector3 eye = player.position();
    camera.Reset(eye);
    camera.SetTarget(eye, zoom);
    camera.SetView(player.yaw, 0.0f);
    // The reset camera would show its default zoom until the first step snaps
    // it; a frame drawn before that (a load paused at once) uses the saved one.
    camera.zoom = zoom;

    world->SetRenderDistance(settings.renderDistance);
    appliedRenderDistance = settings.renderDistance;
    world->Update(eye, kBuildEverything, 0.0f);
    UpdateView();

    menu.Close();
    window::HideCursor();
    TraceLog(LOG_INFO, "SAVE: game loaded from %s", kSaveFileName);
    return true;
}
