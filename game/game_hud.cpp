// game_hud.cpp: the in-game overlay: goal line, debug lines, airship and tower
// lines, the compass to home, the interaction prompt, status line, hotbar, help
// and weapon lines. The right-hand panels are in game_hud_panels.cpp.
#include <cmath>

#include "game/game.h"
#include "game/game_hud_panels.h"
#include "game/hud/hud_layout.h"
#include "game/hud/inventory_view.h"
#include "game/view/ui_font.h"
#include "world/streaming.h"
#include "world/worldgen.h"

namespace {

void TextCentred(const char* text, int y, int size, Color colour) {
    ui::Text(text, ui::CentredX(hud::kCentreX, ui::Measure(text, size)), y, size, colour);
}

void DrawDebugOverlay(const Game& game) {
    const World& world = *game.world;
    const Vector3 cam = game.camera.position;
    const hud::ClockTime time = hud::ClockFromTimeOfDay(world.atmosphere.timeOfDay);
    ui::Text(TextFormat("pos  %.1f  %.1f  %.1f", static_cast<double>(cam.x), static_cast<double>(cam.y),
                        static_cast<double>(cam.z)),
             hud::kLeftX, hud::kDebugPositionY, hud::kDebugLineSize, hud::kDebugBright);
    ui::Text(
        TextFormat("chunk  %d %d   biome  %s   weather  %s", ChunkIndex(cam.x), ChunkIndex(cam.z),
                   BiomeName(world.gen.BiomeAt(cam.x, cam.z)), hud::WeatherWord(world.atmosphere.weatherIntensity)),
        hud::kLeftX, hud::kDebugChunkY, hud::kDebugLineSize, hud::kDebugBright);
    ui::Text(TextFormat("chunks %d   %s   speed %.0f   zoom %.1fx   time %02d:%02d   fps %d",
                        static_cast<int>(world.chunks.size()), game.aboard ? "на палубе" : "пешком",
                        static_cast<double>(game.player.speed), static_cast<double>(game.zoom / kDefaultZoom),
                        time.hour, time.minute, GetFPS()),
             hud::kLeftX, hud::kDebugStatsY, hud::kDebugLineSize, hud::kDebugStatsColour);
}

void DrawWarnings(const hud::WarningRows& rows) {
    if (rows.coldFurnaceY != 0) {
        ui::Text("ПЕЧЬ ХОЛОДНАЯ", hud::kLeftX, rows.coldFurnaceY, hud::kWarningSize, hud::kColdFurnaceColour);
    }
    if (rows.freezingY != 0) {
        ui::Text("ЗАМЕРЗАЕШЬ", hud::kLeftX, rows.freezingY, hud::kWarningSize, hud::kFreezingColour);
    }
}

void DrawAirshipLine(const Game& game) {
    const Airship& ship = game.airship;
    const hud::AirshipLineValues values{ship.fuel,      ship.coal,       hud::CoalCarried(game.inventory),
                                        ship.cabinTemp, ship.altitude,   ship.throttle,
                                        ship.speed,     ship.furnaceTemp};
    ui::Text(hud::AirshipLineText(values).c_str(), hud::kShipLineX, hud::kShipLineY, hud::kShipLineSize,
             hud::kShipLineColour);
    DrawWarnings(hud::AirshipWarnings(game.piloting, ship.fuel, game.warmth));
}

void DrawTowerLine(const Game& game) {
    const Building& tower = game.tower;
    ui::Text(hud::TowerLineText(tower.currentFloor, tower.floorCount, tower.dockFloor, game.moored).c_str(),
             hud::kShipLineX, hud::kShipLineY, hud::kShipLineSize, hud::kShipLineColour);
    DrawWarnings(hud::TowerWarnings(game.warmth));
}

}  // namespace

hud::GoalState hud::GoalStateOf(const Game& game) {
    return {game.rewardGiven, game.foodShared, game.home.broken, game.home.parts, game.home.fuel};
}

hud::PromptState hud::PromptStateOf(const Game& game) {
    const Vector3 feet = game.player.feet;
    const HomeSettlement& home = game.home;
    hud::PromptState s{};
    s.piloting = game.piloting;
    s.aboard = game.aboard;
    s.station = static_cast<int>(game.station);
    s.bunkerCoal = game.airship.coal;
    s.inTower = game.inTower;
    if (game.inTower) {
        uint64_t key = 0;
        s.onStairs = game.tower.onStairs(feet);
        s.towerItem = game.tower.nearestItem(feet, key);
    }
    s.nearLoosePart = home.nearLoosePart(feet);
    s.nearFurnace = home.nearFurnace(feet);
    s.furnaceBroken = home.broken;
    s.partsInstalled = home.parts;
    s.rewardGiven = game.rewardGiven;
    s.foodShared = game.foodShared;
    const float dx = feet.x - home.cx;
    const float dz = feet.z - home.cz;
    s.homeDistanceSq = dx * dx + dz * dz;
    s.nearBoarding = game.NearAirshipBoarding();
    // Only where a click would fell it: the axe's own reach, and never on
    // deck, where nothing is swung.
    if (game.weapon == WeaponKind::Axe && !game.piloting && !game.airship.OnDeck(feet)) {
        WorldTree tree{};
        s.axeNearTree = game.world->NearestTree(game.player.position(), cfg::kTreeReach, tree);
    }
    s.targetKind = game.target.kind;
    s.targetItem = game.target.itemType;
    return s;
}

namespace {

void DrawGoalLine(const Game& game) {
    ui::Text(hud::GoalText(hud::GoalStateOf(game)).c_str(), hud::kLeftX, hud::kGoalLineY, hud::kGoalLineSize,
             hud::kGoalLineColour);
}

void DrawPrompt(const Game& game) {
    const HudLine prompt = hud::PromptText(hud::PromptStateOf(game));
    if (!prompt.empty()) TextCentred(prompt.c_str(), hud::kPromptY, hud::kPromptSize, hud::kPromptColour);
}

void DrawStatusLine(const Game& game) {
    if (!(game.messageTimer > 0.0f) || game.message.empty()) return;
    TextCentred(game.message.c_str(), hud::kStatusY, hud::kStatusSize,
                Fade(hud::kStatusColour, hud::StatusAlpha(game.messageTimer)));
}

void DrawHotbar(const Inventory& inv) {
    for (int i = 0; i < Inventory::kHotbarSize; ++i) {
        const Rectangle box = hud::HotbarSlotBox(i);
        const InventorySlot& slot = inv.slots[i];
        DrawRectangleRounded(box, 0.18f, 5, hud::kHotbarFill);
        DrawRectangleRoundedLines(box, 0.18f, 5, i == inv.selected ? hud::kHotbarSelected : hud::kHotbarEdge);
        const int x = static_cast<int>(box.x);
        if (slot.count > 0) {
            DrawItemGlyph(slot.type, box, 0.78f);
            ui::Text(TextFormat("%d", slot.count), x + hud::kHotbarCountDx, hud::kHotbarCountY, hud::kHotbarCountSize,
                     hud::kHotbarCountColour);
        }
        ui::Text(hud::HotbarKeyLabel(i), x + hud::kHotbarKeyDx, hud::kHotbarKeyY, hud::kHotbarKeySize,
                 hud::kHotbarKeyColour);
    }
}

void DrawWeaponLine(const Game& game) {
    const HudLine line = hud::WeaponLineText(game.reloading, game.weapon, game.magazine,
                                             hud::CartridgesInReserve(game.inventory));
    const Color colour = game.reloading ? hud::kReloadingColour : hud::kWeaponLineColour;
    const int x = ui::RightAlignedX(hud::kWeaponLineRight, ui::Measure(line.c_str(), hud::kWeaponLineSize));
    ui::Text(line.c_str(), x, hud::kWeaponLineY, hud::kWeaponLineSize, colour);
}

}  // namespace

void Game::DrawHud() const {
    if (!world) return;
    DrawGoalLine(*this);
    if (debugOverlay) DrawDebugOverlay(*this);
    if (aboard) {
        DrawAirshipLine(*this);
    } else if (inTower) {
        DrawTowerLine(*this);
    }
    hud::DrawNeedBars(*this);
    hud::DrawAirThermometer(*this);
    hud::DrawHomePanel(*this);
    DrawHomeCompass();
    if (!inventoryOpen && !gameOver) DrawPrompt(*this);
    DrawStatusLine(*this);
    DrawHotbar(inventory);
    ui::Text(hud::HelpText(piloting, aboard), hud::kLeftX, hud::kHelpY, hud::kHelpSize, hud::kHelpColour);
    if (!piloting) DrawWeaponLine(*this);
}

void Game::DrawHomeCompass() const {
    if (!world) return;
    const Vector3 eye = player.position();
    const float dx = home.cx - eye.x;
    const float dz = home.cz - eye.z;
    const float d = hud::HomeDistance(home.cx, home.cz, eye.x, eye.z);
    if (!hud::CompassShown(d)) return;

    const Vector2 o = hud::kCompassCentre;
    DrawCircleV(o, hud::kCompassRadius, Fade(hud::kCompassDisc, 0.55f));
    DrawCircleLinesV(o, hud::kCompassRadius, Fade(hud::kCompassRim, 0.45f));
    const hud::CompassArrow arrow = hud::CompassArrowFor(dx, dz);
    const Color arrowColour = Fade(hud::kCompassArrowColour, 0.65f + 0.35f * hud::CompassPulse(clock));
    DrawTriangle(arrow.tip, arrow.left, arrow.notch, arrowColour);
    DrawTriangle(arrow.tip, arrow.notch, arrow.right, arrowColour);
    const HudLine label = FormatHudLine("ДОМ %d м", hud::ShownMetres(d));
    TextCentred(label.c_str(), hud::kCompassLabelY, hud::kCompassLabelSize, Fade(hud::kCompassLabelColour, 0.85f));
}
