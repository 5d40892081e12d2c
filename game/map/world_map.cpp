// world_map.cpp: the world map's model: the shaded terrain picture built on
// the CPU and uploaded apart, the landmark list, the rebuild check and hovering.
#include "game/map/world_map.h"

#include <algorithm>
#include <cmath>
#include "actors/building.h"
#include "actors/settlement.h"
#include "game/platform/window.h"
#include "world/clamps.h"
#include "world/terrain_lanes.h"
#include "world/world.h"
#include "world/world_queries.h"

namespace cfg {
// Half the covered square; the picture spans centre +- this on x and z.
constexpr float kMapHalfSpan = 1400.0f;
// Settlements nearer to home than this are the home's own ground, not landmarks.
constexpr float kMapMinLandmarkDistance = 140.0f;
constexpr float kMapHomeRadius = 36.0f;
// Mouse distance, in UI pixels, within which a marker lights up.
constexpr float kMapHoverDistance = 18.0f;
}  // namespace cfg

namespace {

Color LerpColor(Color a, Color b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    auto mix = [t](unsigned char x, unsigned char y) {
        return static_cast<unsigned char>(static_cast<float>(x) * (1.0f - t) + static_cast<float>(y) * t);
    };
    return Color{mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b), 255};
}

// Snow lightens toward grey rock with height, and the high peaks whiten again;
// water darkens with depth.
Color HeightColour(float h) {
    if (h < -5.0f) {
        return LerpColor(Color{116, 146, 168, 255}, Color{40, 60, 82, 255}, (-5.0f - h) / 11.0f);
    }
    const Color c1 = LerpColor(Color{192, 206, 216, 255}, Color{170, 186, 200, 255}, h / 12.0f);
    const Color c2 = LerpColor(c1, Color{140, 156, 174, 255}, (h - 12.0f) / 34.0f);
    return LerpColor(c2, Color{232, 239, 244, 255}, 0.85f * std::clamp((h - 34.0f) / 44.0f, 0.0f, 1.0f));
}

unsigned char Shaded(unsigned char channel, float shade) {
    return ClampToByte(static_cast<float>(channel) * shade);
}

float DistanceXZ(Vector2 a, Vector2 b) {
    const float dx = a.x - b.x;
    const float dz = a.y - b.y;
    return std::sqrt(dx * dx + dz * dz);
}

MapMarkerKind KindOfSettlement(int type) {
    if (type == 1) return MapMarkerKind::Town;
    if (type == 2) return MapMarkerKind::City;
    return MapMarkerKind::Village;
}

}  // namespace

const char* MapMarkerName(MapMarkerKind kind) {
    switch (kind) {
        case MapMarkerKind::Home: return "ДОМАШНИЙ ОЧАГ";
        case MapMarkerKind::Tower: return "БАШНЯ";
        case MapMarkerKind::Village: return "ДЕРЕВНЯ";
        case MapMarkerKind::Town: return "ГОРОДОК";
        case MapMarkerKind::City: return "ГОРОД";
        case MapMarkerKind::Ruins: return "РУИНЫ";
    }
    return "НЕИЗВЕСТНО";
}

Color MapMarkerColor(MapMarkerKind kind) {
    switch (kind) {
        case MapMarkerKind::Home: return Color{244, 172, 102, 255};
        case MapMarkerKind::Tower: return Color{214, 224, 234, 255};
        case MapMarkerKind::Village: return Color{172, 198, 214, 255};
        case MapMarkerKind::Town: return Color{152, 184, 206, 255};
        case MapMarkerKind::City: return Color{128, 170, 196, 255};
        case MapMarkerKind::Ruins: return Color{158, 156, 152, 255};
    }
    return Color{200, 200, 200, 255};
}

Image RenderMapTerrain(const WorldGen& gen, Vector2 centre) {
    constexpr int n = kMapImageSize;
    const float step = kMapWorldSpan / static_cast<float>(n - 1);
    const size_t count = static_cast<size_t>(n) * n;
    std::vector<float> xs(count);
    std::vector<float> zs(count);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            xs[static_cast<size_t>(j) * n + i] = centre.x - cfg::kMapHalfSpan + static_cast<float>(i) * step;
            zs[static_cast<size_t>(j) * n + i] = centre.y - cfg::kMapHalfSpan + static_cast<float>(j) * step;
        }
    }
    // All heights in one bulk call, several points per vector step.
    std::vector<float> heights(count);
    SampleTerrainHeights(gen, xs.data(), zs.data(), count, heights.data());
    auto at = [&heights](int i, int j) { return heights[static_cast<size_t>(j) * n + i]; };

    Image image = GenImageColor(n, n, BLANK);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const Color base = HeightColour(at(i, j));
            // The slope is taken over two steps everywhere, edges included.
            const float dx = (at(std::min(i + 1, n - 1), j) - at(std::max(i - 1, 0), j)) / 25.112108f;
            const float dz = (at(i, std::min(j + 1, n - 1)) - at(i, std::max(j - 1, 0))) / 25.112108f;
            const float shade = std::clamp((0.62f * dx + 0.72f * dz + 0.3f) * 0.35f + 0.745f, 0.55f, 1.25f);
            ImageDrawPixel(&image, i, j,
                           Color{Shaded(base.r, shade), Shaded(base.g, shade), Shaded(base.b, shade), 255});
        }
    }
    return image;
}

std::vector<MapMarker> CollectMapMarkers(const World& world, Vector2 home, const Building& tower) {
    std::vector<MapMarker> out;
    out.push_back(MapMarker{home, MapMarkerKind::Home, MapMarkerName(MapMarkerKind::Home), cfg::kMapHomeRadius});
    if (tower.floorCount > 0) {
        out.push_back(MapMarker{tower.center, MapMarkerKind::Tower, MapMarkerName(MapMarkerKind::Tower), 0.0f});
    }

    std::vector<SettlementInfo> found;
    world.CollectSettlements(Vector3{home.x, 0.0f, home.y}, cfg::kMapHalfSpan, found);
    struct Ranked {
        MapMarker marker;
        float distance;
    };
    std::vector<Ranked> settlements;
    for (const SettlementInfo& s : found) {
        const Vector2 p = {s.position.x, s.position.z};
        const float d = DistanceXZ(p, home);
        if (d < cfg::kMapMinLandmarkDistance) continue;
        const MapMarkerKind kind = KindOfSettlement(s.type);
        settlements.push_back(Ranked{MapMarker{p, kind, MapMarkerName(kind), s.radius}, d});
    }
    std::sort(settlements.begin(), settlements.end(),
              [](const Ranked& a, const Ranked& b) { return a.distance < b.distance; });
    for (Ranked& r : settlements) out.push_back(std::move(r.marker));
    return out;
}

int MapMarkerPass(MapMarkerKind kind) {
    const int value = static_cast<int>(kind);
    if (value > static_cast<int>(MapMarkerKind::Tower)) return 0;
    return value >= static_cast<int>(MapMarkerKind::Home) ? 1 : -1;
}

MapHover HoverMarkers(const WorldMap& map, const Rectangle& field, Vector2 mouse) {
    MapHover hover;
    hover.highlighted.assign(map.markers.size(), false);
    float best = cfg::kMapHoverDistance;
    // Same order as the drawing: settlements first, then home and tower, so
    // the marker drawn last among equals wins.
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t k = 0; k < map.markers.size(); ++k) {
            if (MapMarkerPass(map.markers[k].kind) != pass) continue;
            const Vector2 p = map.ToScreen(map.markers[k].position, field);
            if (!CheckCollisionPointRec(p, field)) continue;
            const float d = DistanceXZ(mouse, p);
            if (d <= best) {
                best = d;
                hover.highlighted[k] = true;
                hover.hovered = static_cast<int>(k);
            }
        }
    }
    return hover;
}

WorldMap::~WorldMap() {
    if (terrain.id != 0) UnloadTexture(terrain);
}

void WorldMap::Open() {
    open = true;
}

void WorldMap::Close() {
    open = false;
}

void WorldMap::Toggle() {
    open = !open;
}

void WorldMap::Refresh(const World& world, const HomeSettlement& home, const Building& tower) {
    const Vector2 h = {home.cx, home.cz};
    const bool stale = std::fabs(h.x - center.x) > 1.0f || std::fabs(h.y - center.y) > 1.0f || !built ||
                       seed != world.gen.seed;
    if (!stale) return;
    BuildTerrain(world, h);
    ClearMarkers();
    for (MapMarker& m : CollectMapMarkers(world, h, tower)) markers.push_back(std::move(m));
}

void WorldMap::BuildTerrain(const World& world, Vector2 centre) {
    if (terrain.id != 0) UnloadTexture(terrain);
    terrain = Texture2D{};
    // Without a window (the logic tests) the picture has nowhere to go; the
    // map still counts as built for this seed and home.
    if (window::Open()) {
        Image image = RenderMapTerrain(world.gen, centre);
        terrain = LoadTextureFromImage(image);
        UnloadImage(image);
        if (terrain.id != 0) SetTextureFilter(terrain, TEXTURE_FILTER_BILINEAR);
    }
    seed = world.gen.seed;
    built = true;
    center = centre;
}

void WorldMap::AddMarker(Vector2 position, MapMarkerKind kind, const std::string& label, float radius) {
    markers.push_back(MapMarker{position, kind, label, radius});
}

void WorldMap::ClearMarkers() {
    markers.clear();
}

Vector2 WorldMap::ToScreen(Vector2 world, const Rectangle& field) const {
    return Vector2{field.x + (world.x - center.x + cfg::kMapHalfSpan) / kMapWorldSpan * field.width,
                   field.y + (world.y - center.y + cfg::kMapHalfSpan) / kMapWorldSpan * field.height};
}
