// settings_compare.h: whether two settings records hold the same six values,
// for the tests of the settings file and of the game that reads it.
#pragma once
#include "game/files/settings.h"

namespace testfiles {

inline bool SameSettings(const GameSettings& a, const GameSettings& b) {
    return a.renderDistance == b.renderDistance && a.vsync == b.vsync && a.fpsLimit == b.fpsLimit && a.fxaa == b.fxaa &&
           a.windowMode == b.windowMode && a.resolution == b.resolution;
}

}  // namespace testfiles
