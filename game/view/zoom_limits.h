// zoom_limits.h: the top-down view's zoom: where a new world and a fresh camera
// start, and how near and how far it may go, whether the zoom comes from the
// mouse wheel, a save file or a debug start.
#pragma once

// A new world's zoom, the camera's after a reset, and the HUD's 1x.
inline constexpr float kDefaultZoom = 5.0f;
inline constexpr float kMinZoom = 2.4f;
inline constexpr float kMaxZoom = 10.0f;
