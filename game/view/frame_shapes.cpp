// frame_shapes.cpp: the player figure, shot traces, muzzle flash, dock marker,
// end overlay and menu backdrop.
#include "game/view/frame_shapes.h"

#include <cmath>

#include "game/view/ui_font.h"

namespace {

constexpr Color kSkin{196, 154, 118, 255};
constexpr Color kSleeve{70, 84, 78, 255};

void DrawWeaponInHand(Vector2 p, float j, const frame::FigureAxes& axes, Vector2 hand, WeaponKind weapon) {
    auto at = [&](float along, float across) { return frame::FigurePoint(p, axes, j, along, across); };
    switch (weapon) {
        case WeaponKind::Pistol: {
            const Vector2 muzzle = at(1.42f, 0.26f);
            DrawLineEx(hand, muzzle, 0.16f * j, Color{38, 40, 44, 255});
            DrawCircleV(muzzle, 0.1f * j, Color{214, 190, 128, 255});
            break;
        }
        case WeaponKind::Axe: {
            DrawLineEx(hand, at(1.25f, 0.26f), 0.13f * j, Color{112, 78, 44, 255});
            const Vector2 heel = at(1.18f, 0.02f);
            const Vector2 toe = at(1.48f, 0.1f);
            const Vector2 beard = at(1.3f, 0.46f);
            // Listed heel, toe, beard the blade winds clockwise on screen and
            // would be culled; heel, beard, toe is the same blade facing us.
            DrawTriangle(heel, beard, toe, Color{196, 202, 208, 255});
            DrawLineEx(heel, toe, 1.2f, Color{232, 236, 240, 255});
            break;
        }
        case WeaponKind::Knife: DrawLineEx(hand, at(1.35f, 0.2f), 0.1f * j, Color{206, 212, 218, 255}); break;
    }
}

}  // namespace

void DrawPlayerFigure(Vector2 p, float size, const frame::FigureAxes& axes, WeaponKind weapon) {
    const float j = size;
    auto at = [&](float along, float across) { return frame::FigurePoint(p, axes, j, along, across); };
    DrawCircleV(Vector2{p.x + 2.0f, p.y + 3.0f}, 0.85f * j, Fade(BLACK, 0.28f));
    DrawCircleV(at(-0.62f, 0.34f), 0.27f * j, Color{48, 52, 60, 255});
    DrawCircleV(at(-0.62f, -0.34f), 0.27f * j, Color{48, 52, 60, 255});
    DrawCircleV(at(-0.08f, 0.0f), 0.66f * j, Color{58, 72, 68, 255});
    DrawCircleV(at(0.12f, 0.0f), 0.52f * j, Color{76, 92, 82, 255});
    const Vector2 handA = at(0.66f, -0.34f);
    const Vector2 handB = at(0.72f, 0.26f);
    DrawLineEx(at(0.18f, -0.4f), handA, 0.2f * j, kSleeve);
    DrawLineEx(at(0.16f, 0.38f), handB, 0.2f * j, kSleeve);
    DrawCircleV(handA, 0.15f * j, kSkin);
    DrawCircleV(handB, 0.15f * j, kSkin);
    DrawCircleV(at(0.3f, 0.0f), 0.36f * j, kSkin);
    DrawWeaponInHand(p, j, axes, handB, weapon);
}

void DrawShotTrace(Vector2 from, Vector2 to, float life) {
    const float a = frame::TraceFade(life);
    DrawLineEx(from, to, 3.0f, Fade(Color{255, 210, 120, 255}, 0.25f * a));
    DrawLineEx(from, to, 1.2f, Fade(Color{255, 250, 220, 255}, 0.95f * a));
}

void DrawMuzzleFlash(Vector2 at, float flashTimer) {
    DrawCircleGradient(at, 20.0f, Fade(Color{255, 220, 140, 255}, frame::FlashAlpha(flashTimer)),
                       Fade(Color{255, 180, 80, 255}, 0.0f));
}

void DrawDockMarker(Vector2 at, float clock) {
    const float e = 0.5f * std::sin(4.0f * clock) + 0.5f;
    DrawCircleLinesV(at, 10.0f * e + 16.0f, Fade(Color{255, 226, 160, 255}, 0.3f * e + 0.35f));
    DrawCircleV(at, 4.0f, Fade(Color{255, 236, 180, 255}, 0.85f));
}

void DrawEndOverlay(const frame::EndState& end) {
    DrawRectangle(0, 0, frame::kUiWidth, frame::kUiHeight, Fade(Color{4, 8, 14, 255}, 0.72f));
    const char* title = frame::EndTitle(end);
    ui::Text(title, ui::CentredX(800.0f, ui::Measure(title, 46)), 378, 46, Color{226, 238, 250, 255});
    const char* hint = frame::EndHint(end.won);
    ui::Text(hint, ui::CentredX(800.0f, ui::Measure(hint, 22)), 450, 22, Color{186, 200, 216, 255});
}

void DrawMenuBackdrop(int windowWidth, int windowHeight) {
    const frame::Backdrop bands = frame::BackdropFor(windowHeight);
    ClearBackground(Color{8, 12, 20, 255});
    DrawRectangleGradientV(0, 0, windowWidth, bands.skyHeight, Color{26, 42, 66, 255}, Color{150, 172, 192, 255});
    DrawRectangleGradientV(0, bands.groundTop, windowWidth, bands.groundHeight, Color{214, 226, 236, 255},
                           Color{166, 182, 198, 255});
}
