// frame_layout.h: the numbers a frame is drawn with (view offsets, ground
// tint, haze, frost, the player figure's shape, the end overlay's texts) as
// pure functions, so the frame drawing only issues the draw calls.
#pragma once
#include "raylib.h"

namespace frame {

// The gentle roll of the view while the player stands on the deck, in world
// units, at world time t.
Vector2 DeckSway(float t);
// The view offset of a screen shake in world units: the screen jumps by up to
// shake pixels at every zoom. Zero for a shake of 0.05 or less or no scale.
Vector2 ShakeOffset(float shake, float scale, float clock);

// The light colour (0..1 per channel) as a byte tint, pulled toward a cold
// blue-grey as the airship climbs.
Color GroundTint(Vector3 lightColour, float altitudeFraction);
float HazeAlpha(float altitudeFraction);
// The tower roof's outward push about the screen centre; lessens with height.
float TowerParallax(float altitudeFraction);

struct FrostInputs {
    float airTemperature;
    float warmth;
    bool onDeck;
    float cabinTemp;
    bool gameOver;
};
float FrostIntensity(const FrostInputs& in);

// The player figure: its size in pixels and its facing on screen.
float FigureSize(float scale);
struct FigureAxes {
    Vector2 forward;
    Vector2 side;
};
// From the x and z of the player's forward; no facing means up the screen.
FigureAxes FigureAxesFor(float fx, float fz);
// P + along J u + across J v.
Vector2 FigurePoint(Vector2 p, const FigureAxes& axes, float size, float along, float across);

// Alpha of a shot trace with that much life left (fired at 0.35 s).
float TraceFade(float life);
// Centre alpha of the muzzle flash (lit for 0.07 s).
float FlashAlpha(float flashTimer);

struct EndState {
    bool won;
    bool settlementFroze;
    bool froze;
};
const char* EndTitle(const EndState& s);
const char* EndHint(bool won);

// The UI space the interface is laid out in, UI pixels; the UI pass scales it
// to the window by width.
inline constexpr int kUiWidth = 1600;
inline constexpr int kUiHeight = 900;
// The UI pass's zoom: window width over 1600, 1 when the width is not positive.
float UiScale(int windowWidth);

// Rows of the two-band backdrop behind the main menu with no world.
struct Backdrop {
    int skyHeight;
    int groundTop;
    int groundHeight;
};
Backdrop BackdropFor(int windowHeight);

}  // namespace frame

// A window point in UI space: divided by frame::UiScale of the window width.
Vector2 ToUiSpace(Vector2 point, int windowWidth);
