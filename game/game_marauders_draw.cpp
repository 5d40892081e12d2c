// game_marauders_draw.cpp: top-down drawing of the marauder camps (trampled patch,
// tents, fire with glow and smoke) and of the live marauders.
#include <algorithm>
#include <cmath>

#include "game/game.h"
#include "raylib.h"
#include "world/ground_projection.h"

namespace {

// Screen point of a world x/z, without any lift for height.
Vector2 ToScreen(float x, float z, Vector3 view, float scale) {
    return GroundToScreen(ScreenCentre(), Vector2{view.x, view.z}, scale, x, z);
}

bool OffScreen(Vector2 p, float margin) {
    return p.x < -margin || p.x > static_cast<float>(GetScreenWidth()) + margin || p.y < -margin ||
           p.y > static_cast<float>(GetScreenHeight()) + margin;
}

void DrawTent(Vector2 t, float scale) {
    const float m = std::clamp(1.9f * scale, 5.0f, 26.0f);
    const Vector2 left{t.x - m, t.y + 0.8f * m};
    const Vector2 right{t.x + m, t.y + 0.8f * m};
    const Vector2 apex{t.x, t.y - 0.9f * m};
    // Both windings, so the tent shows whichever way the faces are culled.
    DrawTriangle(left, right, apex, Color{70, 62, 54, 255});
    DrawTriangle(right, left, apex, Color{58, 52, 46, 255});
    const Color edge{34, 30, 28, 255};
    DrawLineEx(left, right, 1.5f, edge);
    DrawLineEx(right, apex, 1.5f, edge);
    DrawLineEx(apex, left, 1.5f, edge);
    DrawCircleV(Vector2{t.x, t.y + m}, 0.22f * m, Color{24, 22, 20, 255});
}

void DrawFire(Vector2 p, Vector3 center, float scale, float c) {
    const float f = 0.82f + 0.18f * std::sin(8.3f * c + center.x) + 0.07f * std::sin(19.0f * c + center.z);
    const float g = std::clamp(6.5f * scale, 12.0f, 220.0f);
    DrawCircleGradient(p, g, Fade(Color{255, 152, 72, 255}, 0.16f * f), Fade(Color{255, 120, 40, 255}, 0.0f));
    DrawCircleV(p, std::clamp(0.85f * scale, 3.0f, 13.0f), Color{36, 30, 26, 255});
    DrawLineEx(Vector2{p.x - 0.06f * g, p.y + 0.03f * g}, Vector2{p.x + 0.07f * g, p.y - 0.02f * g}, 3.0f,
               Color{52, 38, 28, 255});
    DrawLineEx(Vector2{p.x - 0.05f * g, p.y - 0.03f * g}, Vector2{p.x + 0.06f * g, p.y + 0.04f * g}, 2.4f,
               Color{44, 34, 26, 255});

    const float e = std::clamp(0.75f * scale, 3.0f, 18.0f) * f;
    DrawCircleV(Vector2{p.x, p.y - 0.35f * e}, 0.8f * e, Fade(Color{255, 148, 48, 255}, 0.9f));
    DrawCircleV(Vector2{p.x, p.y - 0.55f * e}, 0.5f * e, Fade(Color{255, 214, 120, 255}, 0.95f));
    DrawCircleV(Vector2{p.x, p.y - 0.7f * e}, 0.24f * e, Fade(Color{255, 250, 214, 255}, 0.95f));

    for (int i = 0; i < 3; ++i) {
        const float fi = static_cast<float>(i);
        const float phase = 0.3f * c + 0.33f * fi;
        const float k = phase - std::floor(phase);
        const Vector2 puff{p.x + 0.5f * e * std::sin(1.3f * c + fi), p.y - 1.2f * e - 0.55f * g * k};
        DrawCircleV(puff, (0.25f + 0.5f * k) * e, Fade(Color{150, 148, 146, 255}, 0.22f * (1.0f - k)));
    }
}

}  // namespace

void Game::DrawCamps(Vector3 view, float scale) const {
    for (const MarauderCamp& camp : camps) {
        const Vector2 p = ToScreen(camp.center.x, camp.center.z, view, scale);
        if (OffScreen(p, 120.0f)) continue;
        DrawCircleV(p, camp.radius * scale, Fade(Color{54, 50, 44, 255}, 0.28f));
        for (const Vector2& tent : camp.tents) DrawTent(ToScreen(tent.x, tent.y, view, scale), scale);
        if (camp.fire <= 0.0f) {
            DrawCircleV(p, std::clamp(0.9f * scale, 3.0f, 14.0f), Fade(Color{40, 38, 36, 255}, 0.9f));
            continue;
        }
        DrawFire(p, camp.center, scale, clock);
    }
}

void Game::DrawMarauders(Vector3 view, float scale) const {
    const float b = std::clamp(0.55f * scale, 4.0f, 12.0f);
    for (const Marauder& m : marauders) {
        if (!m.alive) continue;
        const Vector2 p = ToScreen(m.pos.x, m.pos.z, view, scale);
        if (OffScreen(p, 30.0f)) continue;
        DrawCircleV(Vector2{p.x + 1.0f, p.y + 2.0f}, b, Fade(BLACK, 0.3f));
        DrawCircleV(p, b + 1.0f, Color{26, 22, 24, 255});
        DrawCircleV(p, b, Color{88, 58, 54, 255});
        if (m.armed == 1) {
            DrawRectangleV(Vector2{p.x + 0.4f * b, p.y + 0.1f * b}, Vector2{0.7f * b, 0.35f * b},
                           Color{36, 36, 40, 255});
        } else {
            DrawLineEx(Vector2{p.x + 0.6f * b, p.y + 0.4f * b}, Vector2{p.x + 1.5f * b, p.y + 0.9f * b}, 1.6f,
                       Color{186, 190, 196, 255});
        }
    }
}
