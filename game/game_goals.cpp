// game_goals.cpp: the game's steps toward the aim of a world, saving the home
// settlement: E and F at the home and in the tower, the furnace's warnings,
// the lost settlement and the win. The rules themselves are in survival.cpp.
#include <string>

#include "game/game.h"
#include "game/rules/survival.h"

namespace {

void Apply(Game& game, const ActionResult& result) {
    if (result.shake > 0.0f) game.shake = result.shake;
    if (!result.message.empty()) game.SetMessage(result.message);
}

}  // namespace

void HandleHomeActions(Game& game, bool nearFurnace, bool nearPart) {
    if (game.input.Pressed(KEY_E) && (nearFurnace || nearPart)) {
        Apply(game, HomeUseAction(game.home, game.inventory, nearPart));
    }
    if (game.rewardGiven || !game.input.Pressed(KEY_F) || game.target.kind != kInteractionNone) return;
    const float dx = game.player.feet.x - game.home.cx;
    const float dz = game.player.feet.z - game.home.cz;
    if (dx * dx + dz * dz >= cfg::kShareRadiusSq) return;
    Apply(game, ShareFood(game.inventory, game.foodShared, game.rewardGiven));
}

void HandleTowerActions(Game& game) {
    if (!game.inTower) return;
    if (game.input.Pressed(KEY_E)) Apply(game, TowerUseAction(game.tower, game.player, game.inventory));
    if (game.input.Pressed(KEY_F)) Apply(game, TowerDownAction(game.tower, game.player));
}

float UpdateHomeSettlement(Game& game, float dt) {
    if (!game.world) return game.home.fuel;
    HomeSettlement& home = game.home;
    const int aliveBefore = home.survivorsAlive();
    const float fuelBefore = home.fuel;
    home.Update(dt, *game.world);
    const int aliveAfter = home.survivorsAlive();

    if (game.gameOver) return fuelBefore;
    const char* fuelMessage = HearthFuelMessage(fuelBefore, home.fuel);
    if (fuelMessage[0] != '\0') game.SetMessage(fuelMessage);
    if (aliveAfter < aliveBefore) {
        game.SetMessage("Выживший замёрз насмерть (осталось " + std::to_string(aliveAfter) + ")");
        game.shake = cfg::kSurvivorLostShake;
    }
    if (home.allDead) {
        game.settlementFroze = true;
        game.gameOver = true;
        game.froze = false;
        game.endLatched = true;
        game.SetMessage("Поселение замёрзло. Большая топка погасла.");
        TraceLog(LOG_INFO, "HEARTH: settlement lost");
    }
    return fuelBefore;
}

void CheckWin(Game& game, float fuel) {
    // An end earlier in this step (a death) holds: the first cause wins.
    if (game.winReached || game.gameOver || !SettlementSaved(game.home, fuel)) return;
    game.winReached = true;
    game.gameOver = true;
    game.endLatched = true;
    game.wonOverlay = true;
    game.shake = cfg::kWinShake;
    game.SetMessage("Поселение переживёт зиму");
    TraceLog(LOG_INFO, "HEARTH: settlement saved");
}
