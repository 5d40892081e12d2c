// world_draw.cpp: the world's own layers of the top-down picture in screen
// pixels: the baked ground of every chunk, the trees, and the cabinets and
// loose items. Heights are not shown; everything sits at its x/z.
#include "world/world.h"

#include <algorithm>
#include <cmath>
#include "world/full_turn.h"
#include "world/ground_projection.h"
#include "world/item_colours.h"
#include "world/noise.h"

namespace {

// The chunk's own square inside its baked picture, in pixels.
constexpr float kChunkPixels = 192.0f;
constexpr float kTreeMargin = 40.0f;
constexpr float kItemMargin = 30.0f;

// The view of one draw call: screen size, view centre and pixels per unit.
struct View {
    float halfW, halfH;
    float width, height;
    Vector2 centre;
    float scale;

    Vector2 Project(Vector3 p) const { return GroundToScreen(Vector2{halfW, halfH}, centre, scale, p.x, p.z); }
    bool Visible(Vector2 s, float margin) const {
        return s.x > -margin && s.x < width + margin && s.y > -margin && s.y < height + margin;
    }
};

View MakeView(Vector2 centre, float scale) {
    const int w = GetScreenWidth();
    const int h = GetScreenHeight();
    return View{static_cast<float>(w) * 0.5f,
                static_cast<float>(h) * 0.5f,
                static_cast<float>(w),
                static_cast<float>(h),
                centre,
                scale};
}

// A tint channel scaled by k/255 in integer arithmetic.
Color Tinted(Color tint, int kR, int kG, int kB) {
    return Color{static_cast<unsigned char>(tint.r * kR / 255), static_cast<unsigned char>(tint.g * kG / 255),
                 static_cast<unsigned char>(tint.b * kB / 255), 255};
}

// One tier of a conifer, heights as fractions of the tree's height t.
struct ConiferTier {
    float base, apex, width;
};
constexpr ConiferTier kConiferTiers[3] = {{0.02f, 0.5f, 1.0f}, {0.26f, 0.76f, 0.78f}, {0.5f, 1.0f, 0.55f}};

constexpr Color kConiferOutline{20, 30, 26, 255};
constexpr Color kConiferSnow{238, 246, 252, 255};
constexpr Color kBareTreeSnow{228, 236, 242, 255};
constexpr Color kCabinetFill{92, 66, 42, 255};
constexpr Color kCabinetEdge{34, 26, 18, 255};
constexpr Color kItemRim{20, 22, 26, 220};

// A triangle from apex a down to a base line at y, half width hw about x.
// Apex, left corner, right corner is counter-clockwise on screen.
void DrawTier(Vector2 a, float x, float y, float hw, Color colour) {
    DrawTriangle(a, Vector2{x - hw, y}, Vector2{x + hw, y}, colour);
}

void DrawConifer(Vector2 s, float h, Color tint) {
    const float w = 1.55f * h;
    const float t = 2.15f * h;
    DrawCircleV(Vector2{s.x + 0.3f * w, s.y - 0.02f * t}, 0.34f * w, Fade(BLACK, 0.15f));
    DrawLineEx(Vector2{s.x, s.y - 0.1f * t}, Vector2{s.x, s.y + 0.05f * t}, std::max(0.2f * h, 1.6f),
               Tinted(tint, 72, 54, 38));
    const Color body = Tinted(tint, 44, 74, 58);
    for (const ConiferTier& tier : kConiferTiers) {
        const Vector2 apex{s.x, s.y - tier.apex * t};
        const float baseY = s.y - tier.base * t;
        const float hw = tier.width * w * 0.5f;
        DrawTier(apex, s.x, baseY, 1.12f * hw, Fade(kConiferOutline, 0.95f));
        DrawTier(apex, s.x, baseY, hw, body);
        const float snowY = s.y - ((tier.apex - tier.base) * 0.45f + tier.base) * t;
        DrawTier(apex, s.x, snowY, 0.62f * tier.width * w * 0.5f, Fade(kConiferSnow, 0.85f));
    }
}

void DrawBareTree(Vector2 s, float h, uint64_t id, Color tint) {
    DrawCircleV(Vector2{s.x + 0.28f * h, s.y + 0.38f * h}, 0.68f * h, Fade(BLACK, 0.14f));
    DrawCircleV(s, 0.16f * h, Tinted(tint, 86, 66, 46));
    const Color branch = Tinted(tint, 116, 92, 68);
    const Color twig = Tinted(tint, 102, 80, 58);
    const int low = static_cast<int>(id & 0xFFFFu);
    for (int i = 0; i < 4; ++i) {
        const float a = NoiseHash01(low, i + 4, 145u) * 0.9f + static_cast<float>(i) * kFullTurn * 0.25f;
        const Vector2 e{s.x + std::cos(a) * h * 0.95f, s.y + std::sin(a) * h * 0.75f};
        DrawLineEx(s, e, 1.8f, branch);
        const Vector2 from{s.x + (e.x - s.x) * 0.45f, s.y + (e.y - s.y) * 0.45f};
        const Vector2 to{e.x + std::cos(a + 1.1f) * h * 0.28f, e.y + std::sin(a + 1.1f) * h * 0.28f};
        DrawLineEx(from, to, 1.0f, twig);
    }
    DrawCircleV(Vector2{s.x - 0.05f * h, s.y - 0.08f * h}, 0.12f * h, Fade(kBareTreeSnow, 0.65f));
}

}  // namespace

void World::Draw2D(Vector2 centre, float scale, Color tint) const {
    const View view = MakeView(centre, scale);
    const float size = kChunkSize * scale;
    for (const auto& [key, chunk] : chunks) {
        const Texture2D& texture = chunk.mapTexture;
        if (texture.id == 0) continue;
        const Vector2 corner = GroundToScreen(Vector2{view.halfW, view.halfH}, centre, scale,
                                              kChunkSize * static_cast<float>(chunk.cx),
                                              kChunkSize * static_cast<float>(chunk.cz));
        const float sx = corner.x;
        if (sx > view.width) continue;
        const float sy = corner.y;
        if (sy > view.height || sx + size < 0.0f || sy + size < 0.0f) continue;
        // Only the chunk's own square: the bake margin around it never shows.
        const float o = (static_cast<float>(texture.width) - kChunkPixels) * 0.5f;
        DrawTexturePro(texture, Rectangle{o, o, kChunkPixels, kChunkPixels}, Rectangle{sx, sy, size, size},
                       Vector2{0.0f, 0.0f}, 0.0f, tint);
    }
}

void World::DrawTrees2D(Vector2 centre, float scale, Color tint) const {
    const View view = MakeView(centre, scale);
    for (const auto& [key, chunk] : chunks) {
        for (const WorldTree& tree : chunk.trees) {
            if (removedIds.count(tree.id) != 0) continue;
            const Vector2 s = view.Project(tree.position);
            if (s.x < -kTreeMargin || s.x > view.width + kTreeMargin || s.y < -kTreeMargin ||
                s.y > view.height + kTreeMargin) {
                continue;
            }
            const float h = std::max(std::min(2.6f * tree.scale * scale, 26.0f), 5.0f);
            if (tree.conifer) {
                DrawConifer(s, h, tint);
            } else {
                DrawBareTree(s, h, tree.id, tint);
            }
        }
    }
}

void World::DrawItems2D(Vector2 centre, float scale) const {
    const View view = MakeView(centre, scale);
    const float cabinetSize = std::max(1.1f * scale, 3.0f);
    const float itemRadius = std::max(0.45f * scale, 3.0f);
    for (const auto& [key, chunk] : chunks) {
        for (const WorldCabinet& cabinet : chunk.cabinets) {
            if (removedIds.count(cabinet.id) != 0) continue;
            const Vector2 s = view.Project(cabinet.position);
            if (!view.Visible(s, kItemMargin)) continue;
            const Vector2 corner{s.x - cabinetSize / 2.0f, s.y - cabinetSize / 2.0f};
            DrawRectangleV(corner, Vector2{cabinetSize, cabinetSize}, kCabinetFill);
            DrawRectangleLinesEx(Rectangle{corner.x, corner.y, cabinetSize, cabinetSize}, 1.0f, kCabinetEdge);
        }
        for (const WorldItem& item : chunk.items) {
            const Vector2 s = view.Project(item.position);
            if (!view.Visible(s, kItemMargin)) continue;
            DrawCircleV(s, itemRadius + 1.5f, kItemRim);
            DrawCircleV(s, itemRadius, ItemColour(item.type));
        }
    }
}
