// settlement_draw.cpp: the home hearth in plan on the ground: the heat ring,
// the huts, the great furnace with its fire or its cold wreck, the smoke, the
// loose spare part and the survivors.
#include "actors/settlement.h"

#include <algorithm>
#include <cmath>
#include "actors/actor_draw.h"
#include "world/full_turn.h"
#include "world/ground_projection.h"

namespace {

using actordraw::Tinted;

constexpr float kHeatRadius = 36.0f;     // the heat field's reach
constexpr float kGrateBarTilt = 0.785f;  // about an eighth of a turn off the axes
constexpr float kFurnaceRadius = 6.5f;   // the furnace's collision disc

constexpr Color kBlack{0, 0, 0, 255};
constexpr Color kSnow{226, 235, 243, 255};
constexpr Color kWarmGlow{255, 164, 82, 255};

constexpr Color kCoats[5] = {
    {96, 82, 62, 255}, {72, 84, 84, 255}, {92, 66, 56, 255}, {70, 76, 60, 255}, {84, 74, 90, 255},
};

// Plan projection: nothing of the hearth is lifted by its height.
struct Plan {
    Vector3 cam;
    float s;

    Vector2 P(float x, float z) const { return GroundToScreen(ScreenCentre(), Vector2{cam.x, cam.z}, s, x, z); }
};

Vector2 Offset(Vector2 p, float dx, float dy) {
    return Vector2{p.x + dx, p.y + dy};
}

Vector2 Polar(Vector2 p, float angle, float length) {
    return Vector2{p.x + std::cos(angle) * length, p.y + std::sin(angle) * length};
}

void DrawHut(const Plan& plan, const Hut& hut, float heat, Color tint) {
    const float w = hut.width * plan.s;
    const float d = hut.depth * plan.s;
    const Vector2 m = plan.P(hut.x, hut.z);
    const Vector2 g{m.x - w / 2.0f, m.y - d / 2.0f};
    const float top = m.y - d / 2.0f;

    DrawRectangleV(g, Vector2{w, d}, Tinted(Color{92, 78, 62, 255}, tint));
    DrawRectangleV(g, Vector2{w, 0.58f * d}, Fade(kSnow, 0.92f));
    DrawRectangleLinesEx(Rectangle{g.x, g.y, w, d}, 1.5f, Fade(Color{52, 46, 40, 255}, 0.75f));
    DrawCircleV(Offset(g, 0.22f * w, 0.1f * d), 0.2f * d, kSnow);
    DrawCircleV(Offset(g, 0.72f * w, 0.05f * d), 0.16f * d, kSnow);
    DrawRectangleV(Vector2{m.x - 0.12f * w, top + 0.78f * d}, Vector2{0.24f * w, 0.22f * d}, Color{44, 38, 33, 255});
    if (heat > 0.25f) {
        DrawRectangleV(Vector2{m.x + 0.18f * w, top + 0.62f * d}, Vector2{0.13f * w, 0.12f * d},
                       Fade(Color{255, 190, 96, 255}, 0.85f * heat));
    }
    if (hut.chimney) {
        DrawRectangleV(Vector2{g.x + 0.78f * w, top + 0.1f * d}, Vector2{0.14f * w, 0.16f * d}, Color{58, 50, 44, 255});
    }
}

void DrawFire(Vector2 f, float u, float heat, float t) {
    const float flicker = 0.86f + 0.14f * std::sin(4.3f * t) + 0.06f * std::sin(11.0f * t);
    DrawCircleGradient(f, 0.72f * u, Fade(Color{255, 210, 120, 255}, 0.55f * heat * flicker),
                       Fade(Color{190, 64, 20, 255}, 0.12f * heat));
    DrawCircleV(f, 0.3f * u, Fade(Color{255, 198, 104, 255}, 0.35f * heat + 0.55f));
}

void DrawColdFirebox(Vector2 f, float u, Color tint) {
    DrawCircleV(f, 0.44f * u, Color{34, 33, 32, 255});
    DrawCircleV(f, 0.3f * u, Color{18, 17, 17, 255});
    DrawCircleV(Offset(f, -0.1f * u, -0.06f * u), 0.2f * u, Fade(Color{222, 230, 238, 255}, 0.55f));
    DrawLineEx(Offset(f, -0.36f * u, -0.42f * u), Offset(f, 0.18f * u, 0.3f * u), std::max(1.5f, 0.09f * u),
               Color{26, 25, 24, 255});
    DrawRectanglePro(Rectangle{f.x + 0.92f * u, f.y - 0.62f * u, 0.55f * u, 0.22f * u}, Vector2{0.0f, 0.0f}, 28.0f,
                     Tinted(Color{66, 62, 56, 255}, tint));
    DrawRectanglePro(Rectangle{f.x - 0.86f * u, f.y + 0.58f * u, 0.48f * u, 0.18f * u}, Vector2{0.0f, 0.0f}, -35.0f,
                     Tinted(Color{60, 56, 50, 255}, tint));
    DrawCircleV(Offset(f, 0.55f * u, 0.72f * u), 0.14f * u, Tinted(Color{58, 54, 48, 255}, tint));
}

void DrawSmoke(Vector2 f, float u, float strength, float t, Color tint) {
    const Vector2 flue = Offset(f, -0.55f * u, -0.55f * u);
    DrawCircleV(flue, 0.17f * u, Tinted(Color{54, 50, 46, 255}, tint));
    for (int i = 0; i < 5; ++i) {
        const float n = t * 0.22f + 0.21f * static_cast<float>(i);
        const float o = n - std::floor(n);
        const Vector2 puff{flue.x + std::sin(1.4f * t + static_cast<float>(i)) * 0.16f * u + 0.45f * u * o,
                           flue.y - 2.0f * u * o};
        DrawCircleV(puff, (0.1f + 0.24f * o) * u, Fade(Color{176, 178, 182, 255}, (1.0f - o) * 0.3f * strength));
    }
}

void DrawCog(Vector2 q, float l) {
    DrawCircleV(Offset(q, 0.25f * l, 0.3f * l), 0.95f * l, Fade(kBlack, 0.25f));
    DrawCircleV(q, 1.06f * l, Color{34, 38, 44, 255});
    DrawCircleV(q, 0.9f * l, Color{158, 172, 186, 255});
    for (int j = 0; j < 6; ++j) {
        DrawCircleV(Polar(q, static_cast<float>(j) * kFullTurn / 6.0f, 0.92f * l), 0.22f * l,
                    Color{118, 132, 148, 255});
    }
    DrawCircleV(q, 0.3f * l, Color{74, 84, 96, 255});
    DrawLineEx(Offset(q, -0.55f * l, -0.55f * l), Vector2{q.x + 0.1f * l, q.y - 0.85f * l}, 1.2f,
               Fade(Color{238, 246, 252, 255}, 0.8f));
}

void DrawSurvivor(Vector2 x, const Survivor& survivor, int index, bool broken, float r, Color tint) {
    const float shiver = broken ? std::sin(14.0f * survivor.phase) * 0.05f * r : 0.0f;
    const float bob = survivor.resting ? 0.0f : std::sin(survivor.phase) * 0.1f * r;
    const Vector2 b{x.x, x.y + shiver + bob};

    DrawCircleV(Offset(x, 0.22f * r, 0.32f * r), 0.95f * r, Fade(kBlack, 0.22f));
    DrawCircleV(b, 1.02f * r, Color{30, 28, 28, 255});
    DrawCircleV(b, 0.9f * r, Tinted(kCoats[index % 5], tint));
    DrawCircleV(Vector2{b.x, b.y - 0.22f * r}, 0.46f * r, Tinted(Color{196, 160, 128, 255}, tint));
    DrawRectangleV(Vector2{b.x - 0.42f * r, b.y + 0.1f * r}, Vector2{0.84f * r, 0.2f * r},
                   Fade(Color{164, 72, 58, 255}, 0.9f));
    if (survivor.resting) {
        const float f = survivor.facing;
        const Vector2 hand{b.x + std::cos(f) * 0.65f * r, b.y + std::sin(f) * 0.4f * r};
        const float g = f + 1.1f + 0.85f * std::sin(6.0f * survivor.phase);
        const Vector2 tip = Polar(hand, g, 1.35f * r);
        DrawLineEx(hand, tip, std::max(1.4f, 0.22f * r), Color{120, 96, 66, 255});
        DrawRectangleV(Offset(tip, -0.22f * r, -0.16f * r), Vector2{0.44f * r, 0.32f * r}, Color{96, 98, 102, 255});
    }
}

}  // namespace

void HomeSettlement::DrawGround(Vector3 cam, float s, Color) const {
    const Plan plan{cam, s};
    const Vector2 f = plan.P(cx, cz);
    const float r = kHeatRadius * s;
    Color ring = Fade(Color{132, 176, 214, 255}, 0.1f);
    if (heat > 0.02f) {
        DrawCircleGradient(f, r, Fade(kWarmGlow, 0.1f * heat), Fade(kWarmGlow, 0.0f));
        ring = Fade(kWarmGlow, 0.1f * heat);
    }
    DrawRing(f, 0.94f * r, r, 0.0f, 360.0f, 64, ring);
}

void HomeSettlement::Draw(Vector3 cam, float s, Color tint) const {
    const Plan plan{cam, s};
    const Vector2 f = plan.P(cx, cz);
    const float u = kFurnaceRadius * s;
    const float t = elapsed;

    for (const Hut& hut : huts) {
        const float w = hut.width * s;
        const float d = hut.depth * s;
        const Vector2 m = plan.P(hut.x, hut.z);
        DrawRectangleV(Vector2{m.x - w / 2.0f + 0.18f * w, m.y - d / 2.0f + 0.22f * d}, Vector2{w, d},
                       Fade(kBlack, 0.18f));
    }
    for (const Hut& hut : huts) DrawHut(plan, hut, heat, tint);

    DrawCircleV(Offset(f, 0.34f * u, 0.42f * u), 1.02f * u, Fade(kBlack, 0.24f));
    DrawCircleV(f, 1.1f * u, Tinted(Color{46, 42, 38, 255}, tint));
    DrawCircleV(f, u, Tinted(Color{72, 66, 58, 255}, tint));
    DrawRing(f, 0.9f * u, 1.04f * u, 0.0f, 360.0f, 48, Fade(Color{220, 230, 238, 255}, 0.32f));

    const Color outerStone = Tinted(Color{58, 53, 46, 255}, tint);
    const Color innerStone = Tinted(Color{50, 46, 40, 255}, tint);
    if (broken) {
        DrawRing(f, 0.74f * u, 0.84f * u, 0.45f * RAD2DEG, 4.7f * RAD2DEG, 32, outerStone);
        DrawRing(f, 0.4f * u, 0.48f * u, 2.1f * RAD2DEG, 5.4f * RAD2DEG, 20, innerStone);
    } else {
        DrawRing(f, 0.74f * u, 0.84f * u, 0.0f, 360.0f, 48, outerStone);
        DrawRing(f, 0.4f * u, 0.48f * u, 0.0f, 360.0f, 48, innerStone);
    }

    const Color bolt = Fade(Color{28, 26, 24, 255}, 0.8f);
    for (int k = 0; k < 12; ++k) {
        DrawCircleV(Polar(f, static_cast<float>(k) * kFullTurn / 12.0f, 0.79f * u), std::max(1.0f, 0.045f * u), bolt);
    }

    if (!broken && heat > 0.02f) {
        DrawFire(f, u, heat, t);
    } else {
        DrawColdFirebox(f, u, tint);
    }

    const Color bar = Fade(Color{34, 31, 28, 255}, 0.8f);
    for (int k = 0; k < 4; ++k) {
        const float angle = static_cast<float>(k) * kFullTurn * 0.25f + kGrateBarTilt;
        const Vector2 dir{std::cos(angle) * u, std::sin(angle) * u};
        DrawLineEx(Offset(f, 0.3f * dir.x, 0.3f * dir.y), Offset(f, 0.74f * dir.x, 0.74f * dir.y),
                   std::max(1.2f, 0.06f * u), bar);
    }

    if (!broken) {
        const float strength = std::clamp(0.9f * heat + (fuel > 0.0f ? 0.3f : 0.0f), 0.0f, 1.0f);
        if (strength > 0.05f) DrawSmoke(f, u, strength, t, tint);
    }

    if (!partTaken) DrawCog(plan.P(partX, partZ), actordraw::CogSize(s));

    const float r = actordraw::SurvivorSize(s);
    const float screenW = static_cast<float>(GetScreenWidth());
    const float screenH = static_cast<float>(GetScreenHeight());
    for (size_t i = 0; i < survivors.size(); ++i) {
        const Survivor& survivor = survivors[i];
        if (!survivor.alive) continue;
        const Vector2 x = plan.P(survivor.pos.x, survivor.pos.z);
        if (x.x < -30.0f || x.x > screenW + 30.0f || x.y < -30.0f || x.y > screenH + 30.0f) continue;
        DrawSurvivor(x, survivor, static_cast<int>(i), broken, r, tint);
    }
}
