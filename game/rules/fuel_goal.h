// fuel_goal.h: the home settlement's last goal, which the win check tests and
// the HUD counts toward.
#pragma once

namespace cfg {
// Seconds of fuel the repaired furnace must hold, with survivors alive, to win.
inline constexpr float kWinFuelSeconds = 900.0f;
}  // namespace cfg
