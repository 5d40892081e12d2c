// airship_draw.cpp: the airship in the top-down view: its ground shadow, the
// gondola's hull cells as lit boxes with their fittings, the canopy's shadow on
// the deck and the canopy itself with seams, ribs, outline and tail fins.
#include "actors/airship.h"

#include <algorithm>
#include <cmath>
#include "actors/actor_draw.h"
#include "world/atmosphere.h"
#include "world/full_turn.h"
#include "world/ground_projection.h"

namespace {

using actordraw::Lit;

constexpr int kEllipseSegments = 48;
constexpr int kEnvelopeStrips = 40;

// Semi-axes and heights of the envelope above the ship's base.
constexpr float kEnvelopeHalfLength = 54.0f;
constexpr float kEnvelopeHalfWidth = 12.0f;
constexpr float kEnvelopeUnderside = 7.2f;
constexpr float kEnvelopeTop = 9.0f;

// Angles between the propeller's three blades and the helm wheel's spokes:
// about a third and an eighth of a turn.
constexpr float kBladeSpacing = 2.0944f;
constexpr float kSpokeSpacing = 0.7854f;

Color Shade(Color c, float f) {
    return actordraw::ScaleRgb(c, f);
}

using actordraw::Quad;

// The projection of one draw operation: ship-local points at a height above
// the lift go to screen pixels.
struct ScreenFrame {
    Vector3 cam;
    float scale;
    Vector2 shipPos;
    float cosH;
    float sinH;
    float lift;

    Vector2 Project(float lx, float lz, float h) const {
        const Vector2 p = LiftedToScreen(ScreenCentre(), Vector2{cam.x, cam.z}, scale,
                                         shipPos.x + lx * cosH - lz * sinH, shipPos.y + lx * sinH + lz * cosH, lift);
        return Vector2{p.x, p.y - h * scale};
    }

    // Point (u, v) of hull cell (column, row): (0, 0) is its stern-port corner.
    Vector2 CellPoint(int column, int row, float u, float v, float h) const {
        return Project((static_cast<float>(column) + u - 14.0f) * 2.0f, (static_cast<float>(row) + v - 8.0f) * 2.0f, h);
    }
};

ScreenFrame MakeFrame(const Airship& ship, Vector3 view, float scale, float lift) {
    return ScreenFrame{view, scale, ship.pos, std::cos(ship.heading), std::sin(ship.heading), lift};
}

// A filled ellipse around the ship centre as a fan of 48 triangles, moved by
// (dx, dy) screen pixels.
void FillShipEllipse(const ScreenFrame& frame, float a, float b, float dx, float dy, Color colour) {
    auto point = [&](float lx, float lz) {
        const Vector2 p = frame.Project(lx, lz, 0.0f);
        return Vector2{p.x + dx, p.y + dy};
    };
    const Vector2 centre = point(0.0f, 0.0f);
    Vector2 previous = point(a, 0.0f);
    for (int k = 1; k <= kEllipseSegments; ++k) {
        const float angle = static_cast<float>(k) * kFullTurn / static_cast<float>(kEllipseSegments);
        const Vector2 next = point(a * std::cos(angle), b * std::sin(angle));
        DrawTriangle(centre, next, previous, colour);
        previous = next;
    }
}

// One non-empty hull cell waiting to be drawn, sorted by screenY.
struct DrawCell {
    int col;
    int row;
    HullKind kind;
    float height;
    float screenY;
};

Color HullBaseColour(HullKind kind) {
    switch (kind) {
        case HullKind::LowWall: return Color{108, 82, 58, 255};
        case HullKind::Wall: return Color{88, 66, 48, 255};
        case HullKind::Deck: return Color{134, 102, 68, 255};
        case HullKind::DarkDeck: return Color{116, 88, 60, 255};
        case HullKind::Gangway: return Color{96, 92, 84, 255};
        case HullKind::Crate: return Color{128, 98, 62, 255};
        case HullKind::Engine: return Color{96, 100, 106, 255};
        case HullKind::Propeller: return Color{70, 72, 78, 255};
        case HullKind::Helm: return Color{148, 120, 68, 255};
        case HullKind::Furnace: return Color{142, 100, 56, 255};
        case HullKind::CoalBunker: return Color{74, 62, 48, 255};
        default: return Color{90, 86, 80, 255};
    }
}

void Line(Vector2 a, Vector2 b, float thick, Color colour) {
    DrawLineEx(a, b, thick, colour);
}

Vector2 Along(Vector2 p, float angle, float length) {
    return Vector2{p.x + std::cos(angle) * length, p.y + std::sin(angle) * length};
}

// The fittings painted on a cell's top face (at its height h).
void DrawFittings(const Airship& ship, const ScreenFrame& frame, const DrawCell& cell, Color top) {
    const float h = cell.height;
    const float s = frame.scale;
    auto at = [&](float u, float v) { return frame.CellPoint(cell.col, cell.row, u, v, h); };
    const Vector2 centre = at(0.5f, 0.5f);

    switch (cell.kind) {
        case HullKind::LowWall:
        case HullKind::Wall: {
            const Color stroke = Shade(top, 0.86f);
            Line(at(0.18f, 0.18f), at(0.18f, 0.82f), 1.0f, stroke);
            Line(at(0.82f, 0.18f), at(0.82f, 0.82f), 1.0f, stroke);
            const bool sideRow = cell.row == 5 || cell.row == 10;
            if (cell.kind == HullKind::Wall && sideRow && cell.col % 4 == 2) {
                DrawCircleV(centre, 2.6f, Fade(Color{255, 210, 132, 255}, 0.55f));
                DrawCircleV(centre, 1.6f, Color{255, 228, 164, 255});
            }
            break;
        }
        case HullKind::Deck:
        case HullKind::DarkDeck:
        case HullKind::Gangway: {
            const Color seam = Shade(top, 0.78f);
            Line(at(0.0f, 0.34f), at(1.0f, 0.34f), 1.0f, seam);
            Line(at(0.0f, 0.67f), at(1.0f, 0.67f), 1.0f, seam);
            break;
        }
        case HullKind::Crate: {
            const Color cross = Shade(top, 0.72f);
            Line(at(0.15f, 0.15f), at(0.85f, 0.85f), 1.0f, cross);
            Line(at(0.85f, 0.15f), at(0.15f, 0.85f), 1.0f, cross);
            break;
        }
        case HullKind::Engine: {
            const Vector2 nozzle = at(0.12f, 0.5f);
            Line(at(0.88f, 0.5f), nozzle, 0.84f * s, Shade(top, 0.7f));
            DrawCircleV(nozzle, 0.48f * s, Color{38, 36, 34, 255});
            DrawCircleV(nozzle, 0.26f * s, Color{18, 18, 20, 255});
            if (ship.fuel > 0.0f && ship.throttle > 0.05f) {
                DrawCircleV(nozzle, 0.22f * s, Fade(Color{255, 150, 70, 255}, 0.35f + 0.45f * ship.throttle));
            }
            break;
        }
        case HullKind::Propeller: {
            const Color blade = Shade(top, 0.55f);
            for (int k = 0; k < 3; ++k) {
                const float angle = ship.propPhase + 0.7f * static_cast<float>(cell.row) +
                                    kBladeSpacing * static_cast<float>(k);
                Line(centre, Along(centre, angle, 1.9f * s), 2.6f, blade);
            }
            DrawCircleLinesV(centre, 1.9f * s, Fade(blade, 0.35f));
            DrawCircleV(centre, 3.0f, Shade(top, 0.4f));
            Line(centre, at(-0.04f, 0.5f), 3.0f, Color{34, 32, 30, 255});
            break;
        }
        case HullKind::Helm: {
            DrawCircleV(centre, 0.6f * s, Shade(top, 0.55f));
            for (int k = 0; k < 4; ++k) {
                const float angle = 0.4f * ship.time + kSpokeSpacing * static_cast<float>(k);
                Line(Along(centre, angle, -0.6f * s), Along(centre, angle, 0.6f * s), 1.5f, top);
            }
            break;
        }
        case HullKind::Furnace: {
            const float f = std::clamp(ship.fuel / 12.0f, 0.0f, 1.0f);
            const float flicker = std::sin((5.0f * ship.throttle + 3.0f) * ship.time);
            const float glow = (0.18f + 0.45f * f) * (0.3f + 0.7f * (0.5f + 0.5f * flicker));
            DrawCircleV(centre, 0.6f * s, Fade(Color{255, 168, 84, 255}, glow));
            DrawCircleV(centre, 0.34f * s, f > 0.0f ? Color{255, 206, 132, 255} : Color{72, 66, 58, 255});
            break;
        }
        case HullKind::CoalBunker: {
            const float angles[4] = {0.0f, 1.7f, 3.4f, 5.1f};
            for (float angle : angles) {
                DrawCircleV(Along(centre, angle, 0.36f * s), 0.2f * s, Color{30, 30, 34, 255});
            }
            break;
        }
        default: break;
    }
}

// One layer of the envelope: 40 strips across the ship at height h.
void DrawEnvelopeLayer(const ScreenFrame& frame, float h, Vector3 light, bool underside, float alpha) {
    for (int i = 0; i < kEnvelopeStrips; ++i) {
        const float z0 = 24.0f * static_cast<float>(i) / 40.0f - 12.0f;
        const float z1 = 24.0f * static_cast<float>(i + 1) / 40.0f - 12.0f;
        const float g0 = kEnvelopeHalfLength * std::sqrt(std::max(0.0f, 1.0f - (z0 / 12.0f) * (z0 / 12.0f)));
        const float g1 = kEnvelopeHalfLength * std::sqrt(std::max(0.0f, 1.0f - (z1 / 12.0f) * (z1 / 12.0f)));
        const float mid = (z0 + z1) / 24.0f;
        const float n = std::sqrt(std::max(0.0f, 1.0f - mid * mid));
        Color colour = Shade(Lit(Color{198, 180, 146, 255}, light), 0.44f + 0.62f * n);
        colour = underside ? Fade(Shade(colour, 0.55f), 0.92f * alpha) : Fade(colour, alpha);
        Quad(frame.Project(-g0, z0, h), frame.Project(g0, z0, h), frame.Project(g1, z1, h), frame.Project(-g1, z1, h),
             colour);
    }
}

// One tail fin; s = -1 port, +1 starboard. The port fin's corners run the
// other way round so that both stay counter-clockwise on screen.
void DrawFin(const ScreenFrame& frame, float s, Vector3 light, float alpha) {
    const float hf = s > 0.0f ? 9.0f : 9.0f - 1.1f;
    const Vector2 corners[4] = {
        {-37.8f, 8.4f * s},
        s > 0.0f ? Vector2{-52.92f, 18.96f} : Vector2{-46.44f, -6.0f},
        {-59.4f, 15.84f * s},
        s > 0.0f ? Vector2{-46.44f, 6.0f} : Vector2{-52.92f, -18.96f},
    };
    auto projected = [&](int i, float h) { return frame.Project(corners[i].x, corners[i].y, h); };

    Quad(projected(0, hf - 1.8f), projected(1, hf - 1.8f), projected(2, hf - 1.8f), projected(3, hf - 1.8f),
         Fade(Shade(Lit(Color{112, 94, 72, 255}, light), 0.9f), 0.95f * alpha));
    Quad(projected(0, hf), projected(1, hf), projected(2, hf), projected(3, hf),
         Fade(Shade(Lit(Color{176, 150, 112, 255}, light), 0.88f), alpha));
    const Color outline = Fade(Color{58, 50, 42, 255}, std::clamp(0.3f + 0.55f * alpha, 0.0f, 1.0f));
    for (int i = 0; i < 4; ++i) {
        Line(projected(i, hf), projected((i + 1) % 4, hf), 1.5f, outline);
    }
    Line(projected(0, hf), projected(2, hf), 1.0f, Fade(Color{58, 50, 42, 255}, 0.55f));
}

}  // namespace

void Airship::DrawShadow(Vector3 view, float scale, const Atmosphere& atmosphere) const {
    const ScreenFrame frame = MakeFrame(*this, view, scale, 0.0f);
    float strength = 0.0f;
    const Vector2 light = actordraw::LightGroundDirection(atmosphere, strength);
    const actordraw::ShipShadow shadow = actordraw::AirshipShadow(altitude, light, strength, scale);
    const Color colour{16, 22, 32, 255};
    const float g = shadow.growth;
    FillShipEllipse(frame, 56.0f * g, 13.2f * g, shadow.offset.x, shadow.offset.y, Fade(colour, 0.45f * shadow.alpha));
    FillShipEllipse(frame, 54.0f * g, 12.0f * g, shadow.offset.x, shadow.offset.y, Fade(colour, shadow.alpha));
}

void Airship::DrawGondola(Vector3 view, float scale, const Atmosphere& atmosphere) const {
    const ScreenFrame frame = MakeFrame(*this, view, scale, altitude);
    const Vector3 light = atmosphere.lightColor;

    DrawCell list[kHullRows * kHullColumns];
    int count = 0;
    for (int row = 0; row < kHullRows; ++row) {
        for (int col = 0; col < kHullColumns; ++col) {
            const HullCell& cell = cells[row][col];
            if (cell.kind == HullKind::Empty) continue;
            list[count++] = DrawCell{col, row, cell.kind, cell.surfaceHeight,
                                     frame.CellPoint(col, row, 0.5f, 0.5f, 0.0f).y};
        }
    }
    std::sort(list, list + count, [](const DrawCell& a, const DrawCell& b) { return a.screenY < b.screenY; });

    const Color edge = Shade(Lit(Color{44, 38, 32, 255}, light), 0.9f);
    const float cornerU[4] = {0.0f, 1.0f, 1.0f, 0.0f};
    const float cornerV[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    for (int i = 0; i < count; ++i) {
        const DrawCell& cell = list[i];
        Vector2 bottom[4];
        Vector2 topCorner[4];
        for (int k = 0; k < 4; ++k) {
            bottom[k] = frame.CellPoint(cell.col, cell.row, cornerU[k], cornerV[k], 0.0f);
            topCorner[k] = frame.CellPoint(cell.col, cell.row, cornerU[k], cornerV[k], cell.height);
        }
        const Color top = Shade(Lit(HullBaseColour(cell.kind), light), 1.0f + 0.035f * cell.height);
        const Color side = Shade(top, 0.62f);
        // A bottom edge running leftward on screen faces the viewer.
        for (int k = 0; k < 4; ++k) {
            const int next = (k + 1) % 4;
            if (bottom[next].x < bottom[k].x) {
                Quad(bottom[k], bottom[next], topCorner[next], topCorner[k], side);
            }
        }
        Quad(topCorner[0], topCorner[1], topCorner[2], topCorner[3], top);
        for (int k = 0; k < 4; ++k) {
            Line(topCorner[k], topCorner[(k + 1) % 4], 1.0f, edge);
        }
        DrawFittings(*this, frame, cell, top);
    }
}

void Airship::DrawCanopyShadow(Vector3 view, float scale, const Atmosphere& atmosphere) const {
    float strength = 0.0f;
    const Vector2 light = actordraw::LightGroundDirection(atmosphere, strength);
    const actordraw::CanopyShadow shadow = actordraw::AirshipCanopyShadow(altitude, light, strength, scale);
    if (!shadow.drawn) return;
    const ScreenFrame frame = MakeFrame(*this, view, scale, altitude);
    FillShipEllipse(frame, 53.0f, 11.0f, shadow.offset.x, shadow.offset.y, Fade(Color{18, 22, 30, 255}, shadow.alpha));
}

void Airship::DrawCanopy(Vector3 view, float scale, const Atmosphere& atmosphere) const {
    const ScreenFrame frame = MakeFrame(*this, view, scale, altitude);
    const Vector3 light = atmosphere.lightColor;
    const float c = canopyAlpha;

    DrawEnvelopeLayer(frame, kEnvelopeUnderside, light, true, c);
    DrawEnvelopeLayer(frame, kEnvelopeTop, light, false, c);

    const Color seam = Fade(Color{116, 98, 74, 255}, 0.26f * c);
    const float seamZ[3] = {-7.2f, 0.0f, 7.2f};
    for (float z : seamZ) {
        const float g = kEnvelopeHalfLength * std::sqrt(std::max(0.0f, 1.0f - (z / 12.0f) * (z / 12.0f)));
        Line(frame.Project(-g, z, kEnvelopeTop), frame.Project(g, z, kEnvelopeTop), z == 0.0f ? 2.0f : 1.0f, seam);
    }

    const Color rib = Fade(Color{116, 98, 74, 255}, 0.16f * c);
    const float ribV[10] = {-0.86f, -0.68f, -0.5f, -0.32f, -0.14f, 0.14f, 0.32f, 0.5f, 0.68f, 0.86f};
    for (float v : ribV) {
        const float x = kEnvelopeHalfLength * v;
        const float w = kEnvelopeHalfWidth * std::sqrt(std::max(0.0f, 1.0f - (x / 54.0f) * (x / 54.0f)));
        Line(frame.Project(x, -w, kEnvelopeTop), frame.Project(x, w, kEnvelopeTop), 1.0f, rib);
    }

    const Color outline = Fade(Color{56, 48, 40, 255}, std::clamp(0.32f + 0.55f * c, 0.0f, 1.0f));
    Vector2 previous = frame.Project(kEnvelopeHalfLength, 0.0f, kEnvelopeTop);
    for (int k = 1; k <= kEllipseSegments; ++k) {
        const float angle = static_cast<float>(k) * kFullTurn / static_cast<float>(kEllipseSegments);
        const Vector2 next = frame.Project(kEnvelopeHalfLength * std::cos(angle), kEnvelopeHalfWidth * std::sin(angle),
                                           kEnvelopeTop);
        Line(previous, next, 2.0f, outline);
        previous = next;
    }

    DrawFin(frame, -1.0f, light, c);
    DrawFin(frame, 1.0f, light, c);
}
