// zoom_limits.h: how near and how far the top-down view may zoom, whether the
// zoom comes from the mouse wheel, a save file or a debug start.
#pragma once

inline constexpr float kMinZoom = 2.4f;
inline constexpr float kMaxZoom = 10.0f;
