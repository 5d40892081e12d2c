// game_marauders.cpp: Game's marauder camps: pitching a camp when the view
// nears a settlement, and the frame of every marauder with death by their blows.
#include "game/game.h"
#include "raylib.h"

void Game::SpawnMarauders() {
    if (!world) return;
    const int spawned = PitchCamp(*world, camera.position, marauders, camps, raidedSettlements);
    if (spawned == 0) return;
    const MarauderCamp& camp = camps.back();
    TraceLog(LOG_INFO, "MARAUDERS: %d spawned at camp near %.0f,%.0f", spawned, static_cast<double>(camp.center.x),
             static_cast<double>(camp.center.z));
}

void Game::UpdateMarauders(float dt) {
    BurnCampFires(camps, dt);
    RemoveDeadMarauders(marauders);
    if (world) {
        for (Marauder& m : marauders) {
            const MarauderBlow blow = StepMarauder(m, camera.position, health, clock, dt, *world);
            if (blow != MarauderBlow::None) SetMessage(MarauderBlowMessage(blow));
        }
    }

    // Any end already shown this frame (gameOver) keeps its own message. After
    // a win the player plays on with the end latched, and a marauder's killing
    // blow still ends the game as a death by marauders.
    if (health <= 0.0f && !gameOver) {
        endLatched = true;
        gameOver = true;
        froze = false;
        health = 0.0f;
        SetMessage("Ты погиб. Нажми R, чтобы начать заново.");
    }
}
