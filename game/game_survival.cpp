// game_survival.cpp: the game's step of the player's needs: the warmth where
// the player stands, the needs' rules applied, and a death ended there.
#include "game/game.h"
#include "game/rules/survival.h"

namespace {

// The warmth per second where the player stands now.
float CurrentWarmthRate(const Game& game) {
    if (game.airship.OnDeck(game.player.feet)) return CabinWarmthRate(game.airship.cabinTemp);
    const Vector3 eye = game.player.position();
    float outdoor = 0.0f;
    if (game.world) {
        const Atmosphere& air = game.world->atmosphere;
        outdoor = OutdoorWarmthRate(air.temperature, air.weatherIntensity);
    }
    return ShelteredWarmthRate(outdoor, game.home.heatAt(eye), NearBurningCampFire(game.camps, eye));
}

}  // namespace

void Game::UpdateSurvival(float dt) {
    Needs needs{food, water, health, warmth};
    const float rate = gameOver ? 0.0f : CurrentWarmthRate(*this);
    const NeedsDeath death = StepNeeds(needs, dt, gameOver, rate);
    food = needs.food;
    water = needs.water;
    health = needs.health;
    warmth = needs.warmth;
    if (death == NeedsDeath::None) return;

    endLatched = true;
    gameOver = true;
    froze = death == NeedsDeath::Cold;
    SetMessage(DeathMessage(death));
    TraceLog(LOG_INFO, "%s", DeathLogLine(death));
}
