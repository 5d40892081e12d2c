// frame_shapes.h: the shapes the frame draws itself: the player figure, shot
// traces, the muzzle flash, the tower's dock marker, the end overlay and the
// backdrop behind the main menu. Screen or UI coordinates in, draw calls out.
#pragma once
#include "game/rules/weapons.h"
#include "game/view/frame_layout.h"
#include "raylib.h"

// The walking figure around its screen point p, size J pixels, facing the axes.
void DrawPlayerFigure(Vector2 p, float size, const frame::FigureAxes& axes, WeaponKind weapon);
// One shot trace between two screen points with that much life left.
void DrawShotTrace(Vector2 from, Vector2 to, float life);
void DrawMuzzleFlash(Vector2 at, float flashTimer);
// The pulsing ring over the tower's dock window; clock drives the pulse.
void DrawDockMarker(Vector2 at, float clock);
// Dims the UI space and names the end; in the 1600 x 900 UI space.
void DrawEndOverlay(const frame::EndState& end);
// The two-band sky and snow behind the main menu, over the whole window.
void DrawMenuBackdrop(int windowWidth, int windowHeight);
