// game_hud_panels.h: the HUD's right-hand column: the four need bars, the air
// thermometer and the home settlement panel, drawn in the 1600 x 900 UI space;
// and the game state the goal line and the interaction prompt are chosen from.
#pragma once

class Game;

namespace hud {

struct GoalState;
struct PromptState;
// What the goal line and the prompt rules read from the game this frame
// (game_hud.cpp).
GoalState GoalStateOf(const Game& game);
PromptState PromptStateOf(const Game& game);

void DrawNeedBars(const Game& game);
void DrawAirThermometer(const Game& game);
// Needs a world (the distance to home is measured from the player).
void DrawHomePanel(const Game& game);

}  // namespace hud
