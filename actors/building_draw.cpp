// building_draw.cpp: the tower in the top-down view: its ground shadow, the
// roof seen from outside, the current floor as lifted boxes with its items,
// and the interior light (darkness, window light and the lamp around the player).
#include "actors/building.h"

#include <algorithm>
#include <cmath>
#include "actors/actor_draw.h"
#include "world/atmosphere.h"
#include "world/ground_projection.h"
#include "world/item_colours.h"
#include "world/noise.h"

namespace {

using actordraw::Tinted;

// Box heights by block, indexed by block - 1.
constexpr float kBlockHeights[7] = {3.6f, 2.8f, 0.0f, 3.6f, 0.0f, 0.25f, 0.85f};

Color Brightness(Color c, float k) {
    return actordraw::ScaleRgb(c, k);
}

using actordraw::Quad;

// Projection of tower-local points, pushed away from the screen centre by the
// parallax factor when it is positive.
struct View {
    Vector3 cam;
    float scale;
    Vector2 center;
    float parallax;

    Vector2 P(float lx, float lz, float h) const {
        const Vector2 mid = ScreenCentre();
        Vector2 p = LiftedToScreen(mid, Vector2{cam.x, cam.z}, scale, center.x + lx, center.y + lz, h);
        if (parallax > 0.0f) {
            p.x = mid.x + (p.x - mid.x) * (1.0f + parallax);
            p.y = mid.y + (p.y - mid.y) * (1.0f + parallax);
        }
        return p;
    }
};

void Line(Vector2 a, Vector2 b, float thick, Color colour) {
    DrawLineEx(a, b, thick, colour);
}

// A box from base to base + height over the local rectangle x0..x1, z0..z1:
// its face toward +z (the one the viewer sees) when asked, then its top.
void DrawTopAndSides(const View& view, float x0, float z0, float x1, float z1, float height, Color top, Color side,
                     bool drawSide, float base) {
    const float topY = base + height;
    const Vector2 a = view.P(x1, z1, base);
    const Vector2 b = view.P(x0, z1, base);
    const Vector2 g = view.P(x0, z0, topY);
    const Vector2 d = view.P(x1, z0, topY);
    const Vector2 e = view.P(x1, z1, topY);
    const Vector2 f = view.P(x0, z1, topY);
    if (drawSide) Quad(a, b, f, e, side);
    Quad(g, d, e, f, top);
}

// The marks on a cell's top face; (x, z) is the cell's local corner and h the
// height of its top.
void DrawCellMarks(const View& view, Building::Block block, float x, float z, float h, Color k) {
    auto at = [&](float dx, float dz) { return view.P(x + dx, z + dz, h); };
    switch (block) {
        case Building::Block::OuterWall:
        case Building::Block::InnerWall: {
            const Color mark = Brightness(k, 0.84f);
            Line(at(0.4f, 0.4f), at(0.4f, 1.6f), 1.0f, mark);
            Line(at(1.6f, 0.4f), at(1.6f, 1.6f), 1.0f, mark);
            break;
        }
        case Building::Block::Window:
            Quad(at(0.5f, 0.5f), at(1.5f, 0.5f), at(1.5f, 1.5f), at(0.5f, 1.5f), Brightness(k, 0.32f));
            break;
        case Building::Block::DockDoor: {
            const Color mark = Brightness(k, 0.8f);
            Line(at(0.0f, 0.68f), at(2.0f, 0.68f), 1.0f, mark);
            Line(at(0.0f, 1.34f), at(2.0f, 1.34f), 1.0f, mark);
            break;
        }
        case Building::Block::Stairs: {
            const Color tread = Brightness(k, 0.72f);
            const float treads[3] = {0.4f, 0.8f, 1.2f};
            for (float dz : treads) Line(at(0.24f, dz), at(1.76f, dz), 1.0f, tread);
            break;
        }
        case Building::Block::Rubble: {
            const Color crack = Brightness(k, 0.6f);
            Line(at(0.3f, 0.4f), at(1.6f, 1.5f), 1.0f, crack);
            Line(at(1.6f, 0.5f), at(0.4f, 1.4f), 1.0f, crack);
            break;
        }
        default: break;
    }
}

Color BlockBaseColour(Building::Block block) {
    switch (block) {
        case Building::Block::OuterWall: return Color{122, 96, 68, 255};
        case Building::Block::InnerWall: return Color{86, 64, 46, 255};
        case Building::Block::Window: return Color{40, 44, 52, 255};
        case Building::Block::DockDoor: return Color{118, 90, 62, 255};
        case Building::Block::Stairs: return Color{150, 132, 104, 255};
        case Building::Block::Rubble: return Color{98, 90, 78, 255};
        default: return Color{0, 0, 0, 0};
    }
}

float BlockHeight(Building::Block block) {
    const int index = static_cast<int>(block) - 1;
    return index >= 0 && index < 7 ? kBlockHeights[index] : 0.0f;
}

Rectangle Grown(Rectangle r, float by) {
    return Rectangle{r.x - by, r.y - by, r.width + 2.0f * by, r.height + 2.0f * by};
}

void BoxWithOutline(Rectangle r, Color fill) {
    DrawRectangleRec(r, fill);
    DrawRectangleLinesEx(r, 1.0f, Fade(Color{28, 30, 36, 255}, 0.45f));
}

// The window beam: 2.2 s wide and 5 s long from the window into the room,
// fading along its length.
void DrawBeam(Vector2 q, float s, int dirX, int dirZ, Color lit, Color clear) {
    const float across = 1.1f * s;
    const float reach = 5.0f * s;
    if (dirZ > 0) {
        DrawRectangleGradientEx(Rectangle{q.x - across, q.y, 2.0f * across, reach}, lit, clear, clear, lit);
    } else if (dirZ < 0) {
        DrawRectangleGradientEx(Rectangle{q.x - across, q.y - reach, 2.0f * across, reach}, clear, lit, lit, clear);
    } else if (dirX > 0) {
        DrawRectangleGradientEx(Rectangle{q.x, q.y - across, reach, 2.0f * across}, lit, lit, clear, clear);
    } else {
        DrawRectangleGradientEx(Rectangle{q.x - reach, q.y - across, reach, 2.0f * across}, clear, clear, lit, lit);
    }
}

}  // namespace

void Building::DrawShadow(Vector3 cam, float s, const Atmosphere& atmosphere) const {
    if (floorCount <= 0) return;
    const actordraw::TowerLight light = actordraw::TowerShadowLight(atmosphere);
    const float length = actordraw::TowerShadowLength(light.elevation, floorCount, minFloor, s);
    const actordraw::ShadowHull hull = actordraw::TowerShadowHull(center, light.shadowDir, length);
    if (hull.count < 3) return;

    const View view{cam, s, center, 0.0f};
    Vector2 screen[8];
    Vector2 c{0.0f, 0.0f};
    for (int i = 0; i < hull.count; ++i) {
        screen[i] = view.P(hull.points[i].x - center.x, hull.points[i].y - center.y, 0.0f);
        c.x += screen[i].x;
        c.y += screen[i].y;
    }
    c.x /= static_cast<float>(hull.count);
    c.y /= static_cast<float>(hull.count);
    Vector2 soft[8];
    for (int i = 0; i < hull.count; ++i) {
        soft[i] = Vector2{c.x + (screen[i].x - c.x) * 1.05f, c.y + (screen[i].y - c.y) * 1.05f};
    }

    const float a = std::clamp(atmosphere.daylight, 0.0f, 1.0f) * 0.24f + 0.22f;
    const Color shade{10, 16, 26, 255};
    for (int k = 0; k < hull.count; ++k) {
        const int next = (k + 1) % hull.count;
        DrawTriangle(c, soft[next], soft[k], Fade(shade, 0.3f * a));
        DrawTriangle(c, screen[next], screen[k], Fade(shade, a));
    }
}

void Building::DrawExterior(Vector3 cam, float s, Color tint, float parallax) const {
    if (floorCount <= 0) return;
    const View view{cam, s, center, parallax};
    const Vector2 corner0 = view.P(-kHalfX, -kHalfZ, 0.0f);
    const Vector2 corner1 = view.P(kHalfX, kHalfZ, 0.0f);
    const float left = corner0.x;
    const float top = corner0.y;
    const float w = corner1.x - corner0.x;
    const float h = corner1.y - corner0.y;
    const Rectangle rect{left, top, w, h};
    const float g = kCellSize * s;

    const Rectangle halo = Grown(rect, 3.0f);
    DrawRectangleRec(halo, Fade(Color{12, 16, 24, 255}, 0.55f));
    DrawRectangleLinesEx(halo, 2.0f, Fade(Color{205, 220, 238, 255}, 0.4f));

    const Color roof = Tinted(Color{104, 106, 112, 255}, tint);
    DrawRectangleRec(rect, roof);

    // The cell grid; a cell of no size has no grid to draw.
    if (g > 0.0f) {
        const Color grid = Fade(Color{20, 22, 28, 255}, 0.35f);
        for (int k = 1; left + static_cast<float>(k) * g < left + w; ++k) {
            const float x = left + static_cast<float>(k) * g;
            Line(Vector2{x, top}, Vector2{x, top + h}, 1.0f, grid);
        }
        for (int k = 1; top + static_cast<float>(k) * g < top + h; ++k) {
            const float y = top + static_cast<float>(k) * g;
            Line(Vector2{left, y}, Vector2{left + w, y}, 1.0f, grid);
        }
    }

    const Color snow = Fade(Color{224, 234, 244, 255}, 0.75f);
    for (int i = 0; i < 10; ++i) {
        const float a = NoiseHash01(i, 5, seed ^ 0x11u);
        const float b = NoiseHash01(i, 9, seed ^ 0x22u);
        const float c = NoiseHash01(i, 13, seed);
        const float d = NoiseHash01(i, 17, seed);
        DrawRectangleRec(Rectangle{left + (0.08f + 0.84f * a) * w, top + (0.08f + 0.84f * b) * h,
                                   (0.14f + 0.24f * c) * w, (0.03f + 0.07f * d) * h},
                         snow);
    }

    DrawRectangleLinesEx(rect, 4.0f, Brightness(roof, 1.45f));
    DrawRectangleLinesEx(Grown(rect, -4.0f), 1.5f, Tinted(Color{72, 74, 80, 255}, tint));

    BoxWithOutline(Rectangle{left + 0.58f * w, top + 0.18f * h, 2.4f * g, 1.8f * g}, Brightness(roof, 1.2f));
    BoxWithOutline(Rectangle{left + 0.2f * w, top + 0.52f * h, 2.0f * g, 1.4f * g}, Brightness(roof, 1.12f));
    BoxWithOutline(Rectangle{left + 0.44f * w, top + 0.72f * h, 1.6f * g, 1.6f * g},
                   Fade(Color{232, 238, 246, 255}, 0.8f));
    BoxWithOutline(Rectangle{left + 0.66f * w, top + 0.6f * h, 1.2f * g, g}, Brightness(roof, 1.15f));

    const Vector2 mast{left + 0.5f * w, top + 0.12f * h};
    Line(Vector2{mast.x, mast.y + 10.0f}, mast, 2.0f, Brightness(roof, 0.7f));
    DrawCircleV(mast, 3.0f, Tinted(Color{214, 96, 82, 255}, tint));

    if (g > 0.0f) {
        const Color window = Fade(Color{16, 18, 24, 255}, 0.8f);
        const float windowW = std::max(2.0f, 0.42f * g);
        const float windowH = std::max(2.0f, 0.58f * g);
        for (int k = 0;; ++k) {
            const float y = top + 0.8f * g + static_cast<float>(k) * 1.5f * g;
            if (!(y < top + h - 0.9f * g)) break;
            DrawRectangleRec(Rectangle{left + 0.35f * g, y, windowW, windowH}, window);
            DrawRectangleRec(Rectangle{left + w - 0.35f * g - windowW, y, windowW, windowH}, window);
        }
    }

    DrawRectangleRec(Rectangle{left + 0.5f * w - 1.4f * g, top + h - 8.0f, 2.8f * g, 8.0f},
                     Fade(Color{12, 14, 20, 255}, 0.85f));
}

void Building::DrawFloor(Vector3 cam, float s, Color tint) const {
    if (floorCount <= 0 || currentFloor < 0 || currentFloor >= static_cast<int>(floors.size())) return;
    const View view{cam, s, center, 0.0f};
    const FloorData& floor = floors[currentFloor];
    const float b = renderLift();

    const Color slab = Tinted(Color{134, 102, 68, 255}, tint);
    DrawTopAndSides(view, -kHalfX, -kHalfZ, kHalfX, kHalfZ, 0.0f, Brightness(slab, 0.92f), slab, false, b);
    const Color plank = Brightness(slab, 0.8f);
    for (int i = 0; i < 20; ++i) {
        const float z = -38.0f + 4.0f * static_cast<float>(i);
        Line(view.P(-kHalfX, z, b), view.P(kHalfX, z, b), 1.0f, plank);
    }

    for (int z = 0; z < kGridZ; ++z) {
        for (int x = 0; x < kGridX; ++x) {
            const Block block = floor.cells[x + kGridX * z];
            if (block == Block::Floor || block == Block::Void) continue;
            const float hc = BlockHeight(block);
            const Color k = Brightness(Tinted(BlockBaseColour(block), tint), 1.0f + 0.03f * hc);
            const float x0 = kCellSize * static_cast<float>(x) - kHalfX;
            const float z0 = kCellSize * static_cast<float>(z) - kHalfZ;
            DrawTopAndSides(view, x0, z0, x0 + kCellSize, z0 + kCellSize, hc, k, Brightness(k, 0.62f), true, b);
            const float topY = b + hc;
            const Vector2 corners[4] = {view.P(x0, z0, topY), view.P(x0 + kCellSize, z0, topY),
                                        view.P(x0 + kCellSize, z0 + kCellSize, topY), view.P(x0, z0 + kCellSize, topY)};
            const Color outline = Brightness(k, 0.55f);
            for (int i = 0; i < 4; ++i) Line(corners[i], corners[(i + 1) % 4], 1.0f, outline);
            DrawCellMarks(view, block, x0, z0, topY, k);
        }
    }

    const float side = 0.88f * s;
    for (const FloorItem& item : floor.items) {
        if (item.taken || item.cell < 0 || item.cell >= kCellCount) continue;
        const int x = item.cell % kGridX;
        const int z = item.cell / kGridX;
        const Vector2 p = view.P((static_cast<float>(x) + 0.5f) * kCellSize - kHalfX,
                                 (static_cast<float>(z) + 0.5f) * kCellSize - kHalfZ, b + 0.3f);
        const Rectangle box{p.x - side / 2.0f, p.y - side / 2.0f, side, side};
        DrawRectangleRounded(box, 0.35f, 4, ItemColour(item.kind));
        DrawRectangleRoundedLines(box, 0.35f, 4, Color{24, 26, 30, 255});
    }
}

void Building::DrawLight(Vector3 cam, float s, const Atmosphere& atmosphere) const {
    if (floorCount <= 0 || currentFloor < 0 || currentFloor >= static_cast<int>(floors.size())) return;
    const View view{cam, s, center, 0.0f};
    const FloorData& floor = floors[currentFloor];
    const float day = std::clamp(atmosphere.daylight, 0.0f, 1.0f);
    const float night = 1.0f - day;
    const float m = 0.45f * day + 0.35f;
    const float b = renderLift();

    DrawRectangle(0, 0, GetScreenWidth(), GetScreenHeight(), Fade(Color{5, 9, 16, 255}, 0.3f * night + 0.36f));

    auto channel = [](float v) { return static_cast<unsigned char>(std::min(v, 255.0f)); };
    const Color lc{channel(255.0f - 87.0f * night), channel(226.0f - 34.0f * night), channel(170.0f + 65.0f * night),
                   255};

    for (int z = 0; z < kGridZ; ++z) {
        for (int x = 0; x < kGridX; ++x) {
            const Block block = floor.cells[x + kGridX * z];
            if (block != Block::Window && block != Block::DockDoor) continue;
            int dirX = 0;
            int dirZ = 0;
            if (z == 0) {
                dirZ = 1;
            } else if (z == kGridZ - 1) {
                dirZ = -1;
            } else if (x == 0) {
                dirX = 1;
            } else if (x == kGridX - 1) {
                dirX = -1;
            } else {
                continue;
            }
            const Vector2 q = view.P((static_cast<float>(x) + 0.5f) * kCellSize - kHalfX,
                                     (static_cast<float>(z) + 0.5f) * kCellSize - kHalfZ, b + 0.05f);
            DrawCircleGradient(q, 2.0f * s * (1.7f + 0.5f * day), Fade(lc, 0.26f * m), Fade(lc, 0.0f));
            DrawBeam(q, s, dirX, dirZ, Fade(lc, 0.12f * m), Fade(lc, 0.0f));
        }
    }

    // The lamp the player carries. The view centre already has the floor's
    // lift taken off, so the player stands at the screen centre.
    DrawCircleGradient(ScreenCentre(), 7.0f * s, Fade(Color{255, 214, 150, 255}, 0.1f * m),
                       Fade(Color{255, 214, 150, 255}, 0.0f));
}
