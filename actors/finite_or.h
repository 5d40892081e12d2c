// finite_or.h: the stand-in for a number that is not finite, so that a damaged
// save or a bad caller cannot spread NaN into the ship or the game.
#pragma once
#include <cmath>

// value when it is finite, else the fallback (NaN and the infinities alike).
inline float FiniteOr(float value, float fallback) {
    return std::isfinite(value) ? value : fallback;
}
