// game_debug.cpp: the KIRN_ debug starts: a fixed world started at once, the
// player placed at a chosen kind of place, and the tower with its dock probe.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "actors/finite_or.h"
#include "game/files/save_file.h"
#include "game/game.h"
#include "game/platform/window.h"
#include "game/rules/fuel_goal.h"
#include "game/view/zoom_limits.h"
#include "world/full_turn.h"

namespace {

constexpr uint32_t kDebugSeed = 20261113u;
constexpr float kStandHeight = 1.8f;
constexpr float kTowerDistance = 68.0f;
constexpr float kFlySpeed = 170.0f;

// The variables that start the fixed debug world on their own.
constexpr const char* kWorldVariables[] = {
    "KIRN_BIOME", "KIRN_CAMERA",  "KIRN_ITEM",    "KIRN_CAB",    "KIRN_NEAR",   "KIRN_INV",    "KIRN_FLY",
    "KIRN_ZOOM",  "KIRN_WARMTH",  "KIRN_ALT",     "KIRN_HEALTH", "KIRN_HUNGER", "KIRN_THIRST", "KIRN_AUTOFIRE",
    "KIRN_TREE",  "KIRN_AUTOAXE", "KIRN_AIRSHIP", "KIRN_TOWER",  "KIRN_HEARTH", "KIRN_MAP",    "KIRN_DOCK_TEST",
};

const char* Env(const char* name) {
    return std::getenv(name);
}

bool IsSet(const char* name) {
    return Env(name) != nullptr;
}

// What atof cannot read counts as 0; "nan" counts as unreadable too.
float EnvNumber(const char* value) {
    const float v = static_cast<float>(std::atof(value));
    return std::isnan(v) ? 0.0f : v;
}

float GroundAt(const Game& game, float x, float z) {
    return game.world->gen.Height(x, z);
}

// Puts the player's eye at p, the camera with it, and builds every chunk around it.
void Jump(Game& game, Vector3 p) {
    game.player.Reset(p);
    game.camera.SetPosition(p);
    game.world->Update(p, kBuildEverything, 0.0f);
}

void StandAt(Game& game, Vector3 eye) {
    game.player.Reset(eye);
    game.camera.SetPosition(game.player.position());
}

void PlaceInBiome(Game& game, const char* name) {
    Vector3 pos{};
    if (!game.world->FindBiome(name, 4000.0f, pos)) {
        return;
    }
    Jump(game, Vector3{pos.x, GroundAt(game, pos.x, pos.z) + kStandHeight, pos.z});
    const bool settlement = std::strstr(name, "city") != nullptr || std::strstr(name, "town") != nullptr ||
                            std::strstr(name, "village") != nullptr;
    if (settlement) {
        game.camera.SetView(kFullTurn / 2.0f, -0.22f);
    } else {
        game.camera.SetView(game.world->SpawnYaw(), -0.05f);
    }
}

void PlaceByCamera(Game& game, const char* value) {
    CameraStart start{};
    if (!ParseCameraStart(value, start)) {
        return;
    }
    Jump(game, Vector3{start.x, GroundAt(game, start.x, start.z) + kStandHeight, start.z});
    game.camera.SetView(start.yaw, start.pitch);
}

void PlaceNearSettlement(Game& game) {
    SettlementInfo info{};
    if (!game.world->NearestSettlement(Vector3{0.0f, 0.0f, 0.0f}, 6000.0f, info)) {
        return;
    }
    const Vector3 c = info.position;
    Jump(game, Vector3{c.x, GroundAt(game, c.x, c.z + 12.0f) + kStandHeight, c.z + 12.0f});
    game.camera.SetView(0.0f, -0.05f);
    game.world->Update(c, kBuildEverything, 0.0f);
    TraceLog(LOG_INFO, "NEAR: settlement type %d at %.1f,%.1f", info.type, static_cast<double>(c.x),
             static_cast<double>(c.z));
}

void PlaceAtFirstItem(Game& game) {
    Vector3 pos{};
    if (game.world->FirstItem(pos)) {
        Jump(game, Vector3{pos.x, GroundAt(game, pos.x, pos.z) + kStandHeight, pos.z});
        game.camera.SetView(0.0f, -1.5f);
    }
}

void PlaceAtFirstCabinet(Game& game) {
    Vector3 pos{};
    if (game.world->FirstCabinet(pos)) {
        Jump(game, Vector3{pos.x, GroundAt(game, pos.x, pos.z) + kStandHeight, pos.z});
        game.camera.SetView(0.0f, -0.1f);
    }
}

// The menu page KIRN_MENU asks for: Top for a value it does not name.
enum class MenuPageAsked { None, Top, Settings, NewWorld, Exit };

MenuPageAsked AskedMenuPage() {
    const char* page = Env("KIRN_MENU");
    if (page == nullptr) return MenuPageAsked::None;
    if (std::strcmp(page, "settings") == 0) return MenuPageAsked::Settings;
    if (std::strcmp(page, "newworld") == 0) return MenuPageAsked::NewWorld;
    if (std::strcmp(page, "exit") == 0) return MenuPageAsked::Exit;
    return MenuPageAsked::Top;
}

void OpenPauseMenuPage(Game& game, MenuPageAsked page) {
    if (page == MenuPageAsked::Settings) {
        game.menu.OpenPauseSettings();
    } else if (page == MenuPageAsked::Exit) {
        game.menu.OpenPause();
        game.menu.OpenExitConfirm();
    } else {
        game.menu.OpenPause();
    }
    window::EnableCursor();
}

void PlaceAtTowerDock(Game& game) {
    const Building& tower = game.tower;
    Jump(game, Vector3{tower.center.x + 3.0f, tower.FloorY(tower.dockFloor) + kEyeHeight, tower.center.y + 4.0f});
}

void FillDebugInventory(Game& game) {
    const ItemType kinds[] = {ItemType::Groats, ItemType::CannedFood, ItemType::Water, ItemType::Medkit,
                              ItemType::FuelCan};
    for (ItemType kind : kinds) {
        game.inventory.Add(kind);
    }
    game.OpenInventory();
}

void PlaceAboard(Game& game, const char* mode) {
    Airship& ship = game.airship;
    game.inventory.Add(ItemType::FuelCan);
    if (std::strcmp(mode, "helm") == 0) {
        StandAt(game, ship.HelmStandPoint());
    } else if (std::strcmp(mode, "furnace") == 0) {
        game.inventory.Add(ItemType::Coal);
        game.inventory.Add(ItemType::Coal);
        StandAt(game, ship.FurnaceStandPoint());
    } else if (std::strcmp(mode, "coal") == 0) {
        StandAt(game, ship.CoalStandPoint());
    } else if (std::strcmp(mode, "wood") == 0) {
        game.inventory.Add(ItemType::Firewood);
        game.inventory.Add(ItemType::Firewood);
        StandAt(game, ship.FurnaceStandPoint());
    } else if (std::strcmp(mode, "pilot") == 0) {
        StandAt(game, ship.HelmStandPoint());
        game.StartPiloting();
    } else {
        game.PlacePlayerOnDeck();
    }
    game.world->Update(game.player.position(), kBuildEverything, 0.0f);
}

float Percent(const char* value) {
    return std::clamp(EnvNumber(value), 0.0f, cfg::kNeedMax);
}

void ApplyNeeds(Game& game) {
    if (const char* v = Env("KIRN_WARMTH")) {
        game.warmth = Percent(v);
    }
    if (const char* v = Env("KIRN_HEALTH")) {
        game.health = Percent(v);
    }
    if (const char* v = Env("KIRN_HUNGER")) {
        game.food = Percent(v);
    }
    if (const char* v = Env("KIRN_THIRST")) {
        game.water = Percent(v);
    }
}

void PlaceAtTree(Game& game) {
    WorldTree tree{};
    if (!game.world->NearestTree(game.player.position(), 3000.0f, tree)) {
        return;
    }
    const Vector3 t = tree.position;
    Jump(game, Vector3{t.x, GroundAt(game, t.x, t.z + 2.5f) + kEyeHeight, t.z + 2.5f});
    game.weapon = WeaponKind::Axe;
    TraceLog(LOG_INFO, "TREE: teleported to %.1f,%.1f", static_cast<double>(t.x), static_cast<double>(t.z));
}

void PlaceAtHearth(Game& game, const char* mode) {
    HomeSettlement& home = game.home;
    const float x = home.partX + 2.4f;
    Jump(game, Vector3{x, GroundAt(game, x, home.partZ) + kEyeHeight, home.partZ});
    const uint32_t everyone = static_cast<uint32_t>(home.survivors.size());
    if (std::strcmp(mode, "empty") == 0) {
        home.RestoreState(0.0f, everyone, false, kFurnacePartsNeeded, true);
    } else if (std::strcmp(mode, "win") == 0) {
        home.RestoreState(cfg::kWinFuelSeconds, everyone, false, kFurnacePartsNeeded, true);
    } else if (std::strcmp(mode, "parts") == 0) {
        for (int i = 0; i < kFurnacePartsNeeded; ++i) {
            game.inventory.Add(ItemType::SparePart);
        }
    } else if (std::strcmp(mode, "lost") == 0) {
        home.RestoreState(0.0f, 0, false, kFurnacePartsNeeded, true);
    }
    TraceLog(LOG_INFO, "HEARTH: teleported to %.1f,%.1f", static_cast<double>(home.cx), static_cast<double>(home.cz));
}

// The placements of a debug start, in a fixed order; later ones win.
void ApplyPlacements(Game& game) {
    if (const char* v = Env("KIRN_BIOME")) {
        PlaceInBiome(game, v);
    }
    if (const char* v = Env("KIRN_CAMERA")) {
        PlaceByCamera(game, v);
    }
    game.ApplySettings();
    if (const char* v = Env("KIRN_ZOOM")) {
        const float zoom = EnvNumber(v);
        if (zoom > 0.0f) {
            game.zoom = std::clamp(kDefaultZoom * zoom, kMinZoom, kMaxZoom);
        }
    }
    if (IsSet("KIRN_NEAR")) {
        PlaceNearSettlement(game);
    }
    if (IsSet("KIRN_ITEM")) {
        PlaceAtFirstItem(game);
    }
    if (IsSet("KIRN_CAB")) {
        PlaceAtFirstCabinet(game);
    }
    if (const MenuPageAsked page = AskedMenuPage(); page != MenuPageAsked::None) {
        OpenPauseMenuPage(game, page);
    }
    if (IsSet("KIRN_TOWER")) {
        PlaceAtTowerDock(game);
    }
    if (IsSet("KIRN_INV")) {
        FillDebugInventory(game);
    }
    if (IsSet("KIRN_MAP")) {
        game.OpenMap();
    }
    if (const char* v = Env("KIRN_AIRSHIP")) {
        PlaceAboard(game, v);
    }
    if (const char* v = Env("KIRN_ALT")) {
        game.airship.SetAltitude(EnvNumber(v));
        Jump(game, game.airship.DeckSpawn());
    }
    ApplyNeeds(game);
    if (IsSet("KIRN_TREE")) {
        PlaceAtTree(game);
    }
    if (const char* v = Env("KIRN_HEARTH")) {
        PlaceAtHearth(game, v);
    }
}

}  // namespace

bool ParseCameraStart(const char* value, CameraStart& out) {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float yaw = 0.0f;
    float pitch = 0.0f;
    if (std::sscanf(value, "%f,%f,%f,%f,%f", &x, &y, &z, &yaw, &pitch) != 5) {
        return false;
    }
    // "nan", "inf" or an overflowing number counts as 0, as elsewhere; so
    // does a place no save could hold.
    const auto place = [](float v) { return std::isfinite(v) && std::fabs(v) < cfg::kMaxSavedMagnitude ? v : 0.0f; };
    out = CameraStart{place(x), place(z), FiniteOr(yaw, 0.0f), FiniteOr(pitch, 0.0f)};
    return true;
}

uint32_t AutostartSeed(const char* value) {
    // 64 bits on every build (unsigned long is 32 on Windows), then the low 32.
    const uint32_t seed = static_cast<uint32_t>(std::strtoull(value, nullptr, 10));
    return seed != 0 ? seed : kDebugSeed;
}

bool StartDebugWorld(Game& game) {
    if (const char* v = Env("KIRN_AUTOSTART")) {
        game.NewWorld(AutostartSeed(v));
    } else if (std::any_of(std::begin(kWorldVariables), std::end(kWorldVariables), IsSet)) {
        game.NewWorld(kDebugSeed);
    } else {
        return false;
    }
    ApplyPlacements(game);
    return true;
}

void ApplyDebugMenuPage(Game& game) {
    const MenuPageAsked page = AskedMenuPage();
    if (page == MenuPageAsked::Settings) {
        game.menu.OpenSettings();
    } else if (page == MenuPageAsked::NewWorld) {
        game.menu.OpenNewWorldPage();
    } else if (page == MenuPageAsked::Exit) {
        game.menu.OpenExitConfirm();
    }
}

bool GenerateDebugTower(Game& game, Vector3 spawn) {
    if (!IsSet("KIRN_TOWER") && !IsSet("KIRN_DOCK_TEST")) {
        return false;
    }
    const float z = spawn.z - kTowerDistance;
    game.tower.Generate(game.seed, Vector2{spawn.x, z}, game.world->gen.Height(spawn.x, z), kTowerDistance);
    return true;
}

void LogDockProbe(const Game& game, Vector3 spawn) {
    if (!IsSet("KIRN_DOCK_TEST")) {
        return;
    }
    const Airship& ship = game.airship;
    const Building& tower = game.tower;
    for (int l = 0; l <= 48; l += 2) {
        const float back = static_cast<float>(l);
        const Vector3 q{spawn.x, 0.0f, spawn.z - back};
        float s = 0.0f;
        const bool onShip = ship.SurfaceAt(q, s);
        float t = 0.0f;
        const bool onTower = tower.SurfaceAt(q, t);
        const Vector2 box{spawn.x, spawn.z - back};
        const Vector2 pushed = tower.ResolveShipBox(box, ship.heading, 28.0f, 7.0f);
        const bool block = pushed.x != box.x || pushed.y != box.y;
        const bool inside = tower.inside(q);
        TraceLog(LOG_INFO, "DOCK z-%.0f ship %d (%.2f) tower %d (%.2f) inside %d block %d", static_cast<double>(back),
                 onShip ? 1 : 0, static_cast<double>(s - ship.groundY), onTower ? 1 : 0,
                 static_cast<double>(t - tower.baseY), inside ? 1 : 0, block ? 1 : 0);
    }
}

void ApplyDebugFly(Game& game, float dt) {
    if (!IsSet("KIRN_FLY")) {
        return;
    }
    const Vector3 e = game.player.position();
    const float z = e.z - kFlySpeed * dt;
    game.player.Reset(Vector3{e.x, GroundAt(game, e.x, z) + kStandHeight, z});
}
