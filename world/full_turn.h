// full_turn.h: the full turn in radians, as every seeded formula of the world,
// the actors and the marauder camps writes it.
#pragma once

// 2 pi to six figures. The world's goldens (sun and moon, caches, ruins,
// settlements, the start view) were made with exactly this value, which is not
// the float nearest 2 pi (6.2831853f): it must stay 6.28318f to the bit.
inline constexpr float kFullTurn = 6.28318f;
