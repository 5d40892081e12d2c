// resolutions.h: the window's size in pixels and the windowed sizes the game
// offers, in the order the settings page lists them; the settings keep an
// index into the table.
#pragma once
#include <algorithm>
#include <array>
#include <cstddef>

struct WindowSize {
    int width;   // pixels
    int height;  // pixels
};

namespace cfg {

inline constexpr int kResolutionCount = 6;
inline constexpr std::array<WindowSize, kResolutionCount> resolutions{{
    {1280, 720},
    {1366, 768},
    {1600, 900},
    {1920, 1080},
    {2560, 1440},
    {3840, 2160},
}};

}  // namespace cfg

// The table row for an index, clamped to the table.
inline WindowSize ResolutionAt(int index) {
    return cfg::resolutions[static_cast<std::size_t>(std::clamp(index, 0, cfg::kResolutionCount - 1))];
}
