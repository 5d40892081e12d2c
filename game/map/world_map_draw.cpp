// world_map_draw.cpp: the world map window in the 1600 x 900 UI space: frame,
// terrain field, landmarks with their hover tooltip, grid, north arrow, scale
// bar and the sidebar of landmarks with their distances from home.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include "actors/building.h"
#include "actors/settlement.h"
#include "game/map/world_map.h"
#include "game/view/frame_layout.h"
#include "game/view/ui_font.h"
#include "world/world.h"

namespace cfg {
constexpr Rectangle kMapWindow = {80.0f, 40.0f, 1440.0f, 820.0f};
constexpr Rectangle kMapField = {110.0f, 120.0f, 700.0f, 700.0f};
// World units between grid lines; 0.25 px per unit on the field.
constexpr float kMapGridStep = 350.0f;
constexpr int kMapGridLines = 9;
constexpr float kMapFieldScale = 0.25f;
constexpr int kMapEdgeBand = 54;
constexpr float kMapSidebarRowHeight = 36.0f;
}  // namespace cfg

namespace {

constexpr Color kInk = {238, 228, 206, 235};

void Text(const char* text, float x, float y, int size, Color colour) {
    ui::Text(text, static_cast<int>(x), static_cast<int>(y), size, colour);
}

void Rect(float x, float y, float w, float h, Color colour) {
    DrawRectangle(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h), colour);
}

int Width(const char* text, int size) {
    return static_cast<int>(ui::Measure(text, size));
}

int RoundedDistance(Vector2 a, Vector2 b) {
    const float dx = a.x - b.x;
    const float dz = a.y - b.y;
    return ui::HalfUp(std::sqrt(dx * dx + dz * dz));
}

const char* LabelOf(const MapMarker& marker) {
    return marker.label.empty() ? MapMarkerName(marker.kind) : marker.label.c_str();
}

void DrawGrid(Vector2 center) {
    const Color colour = Fade(Color{206, 218, 230, 255}, 0.09f);
    const Vector2 g = {center.x - 1400.0f, center.y - 1400.0f};
    const Rectangle& f = cfg::kMapField;
    // At most nine lines fit the 2800 units each way; the count also bounds
    // the loop should a far-off centre round the steps away.
    const float firstX = std::ceil(g.x / cfg::kMapGridStep) * cfg::kMapGridStep;
    const float firstZ = std::ceil(g.y / cfg::kMapGridStep) * cfg::kMapGridStep;
    for (int n = 0; n < cfg::kMapGridLines; ++n) {
        const float x = firstX + cfg::kMapGridStep * static_cast<float>(n);
        if (!(x <= g.x + 2800.5f)) break;
        const float sx = (x - g.x) * cfg::kMapFieldScale + f.x;
        DrawLineEx(Vector2{sx, f.y}, Vector2{sx, f.y + f.height}, 1.0f, colour);
    }
    for (int n = 0; n < cfg::kMapGridLines; ++n) {
        const float z = firstZ + cfg::kMapGridStep * static_cast<float>(n);
        if (!(z <= g.y + 2800.5f)) break;
        const float sy = (z - g.y) * cfg::kMapFieldScale + f.y;
        DrawLineEx(Vector2{f.x, sy}, Vector2{f.x + f.width, sy}, 1.0f, colour);
    }
}

void DrawCompassAndScale() {
    DrawTriangle(Vector2{776.0f, 140.0f}, Vector2{768.0f, 168.0f}, Vector2{784.0f, 168.0f}, kInk);
    Text("N", 771.0f, 172.0f, 16, kInk);
    DrawLineEx(Vector2{132.0f, 790.0f}, Vector2{257.0f, 790.0f}, 3.0f, kInk);
    DrawLineEx(Vector2{132.0f, 786.0f}, Vector2{132.0f, 794.0f}, 2.0f, kInk);
    DrawLineEx(Vector2{257.0f, 786.0f}, Vector2{257.0f, 794.0f}, 2.0f, kInk);
    Text("500 м", 138.0f, 770.0f, 15, Color{234, 226, 210, 235});
}

void DrawTooltip(const MapMarker& marker, Vector2 home, Vector2 mouse) {
    char text[96];
    std::snprintf(text, sizeof text, "%s   %d м", MapMarkerName(marker.kind), RoundedDistance(marker.position, home));
    const int w = Width(text, 16);
    const float x = std::max(8.0f, std::min(mouse.x + 14.0f, static_cast<float>(frame::kUiWidth - w - 22)));
    DrawRectangleRounded(Rectangle{x, mouse.y + 14.0f, static_cast<float>(w + 16), 30.0f}, 0.2f, 5,
                         Color{16, 18, 22, 240});
    Text(text, x + 8.0f, mouse.y + 21.0f, 16, MapMarkerColor(marker.kind));
}

void DrawSquares(const Vector2* corners, int count, float side, Color colour) {
    for (int k = 0; k < count; ++k) DrawRectangleV(corners[k], Vector2{side, side}, colour);
}

void DrawGlyph(MapMarkerKind kind, Vector2 p, Color c) {
    switch (kind) {
        case MapMarkerKind::Home: {
            const float pulse = 0.5f + 0.5f * std::sin(2.4f * static_cast<float>(GetTime()));
            DrawCircleV(p, 16.0f + 5.0f * pulse, Fade(c, 0.1f));
            DrawCircleV(p, 9.0f, Fade(c, 0.28f));
            DrawCircleLinesV(p, 9.0f, c);
            DrawCircleV(p, 4.0f, Color{255, 232, 190, 255});
            break;
        }
        case MapMarkerKind::Tower: {
            const Rectangle body = {p.x - 6.0f, p.y - 10.0f, 12.0f, 20.0f};
            DrawRectangleRounded(body, 0.15f, 4, Color{26, 30, 36, 235});
            DrawRectangleRoundedLines(body, 0.15f, 4, c);
            for (int k = -1; k <= 1; ++k) {
                const float y = p.y + 5.0f * static_cast<float>(k);
                DrawLineEx(Vector2{p.x - 4.0f, y}, Vector2{p.x + 4.0f, y}, 1.0f, Fade(c, 0.55f));
            }
            break;
        }
        case MapMarkerKind::Village: {
            Vector2 corners[3];
            for (int k = 0; k < 3; ++k) {
                corners[k] = Vector2{p.x - 2.5f + 7.0f * static_cast<float>(k - 1),
                                     p.y - 3.0f + 4.0f * static_cast<float>(k % 2)};
            }
            DrawSquares(corners, 3, 5.0f, c);
            break;
        }
        case MapMarkerKind::Town: {
            const Vector2 corners[4] = {
                {p.x - 4.5f, p.y - 4.5f}, {p.x + 4.5f, p.y - 4.5f}, {p.x - 4.5f, p.y + 4.5f}, {p.x + 4.5f, p.y + 4.5f}};
            DrawSquares(corners, 4, 5.5f, c);
            break;
        }
        case MapMarkerKind::City: {
            Vector2 corners[9];
            for (int row = 0; row < 3; ++row) {
                for (int col = 0; col < 3; ++col) {
                    corners[row * 3 + col] = Vector2{p.x - 7.0f + 5.2f * static_cast<float>(col),
                                                     p.y - 7.0f + 5.2f * static_cast<float>(row)};
                }
            }
            DrawSquares(corners, 9, 4.0f, c);
            break;
        }
        case MapMarkerKind::Ruins:
            DrawLineEx(Vector2{p.x - 5.0f, p.y - 5.0f}, Vector2{p.x + 5.0f, p.y + 5.0f}, 2.0f, c);
            DrawLineEx(Vector2{p.x - 5.0f, p.y + 5.0f}, Vector2{p.x + 5.0f, p.y - 5.0f}, 2.0f, c);
            break;
    }
}

}  // namespace

void WorldMap::Draw(const World& world, const HomeSettlement& home, const Building& tower, Vector2 mouse) {
    if (!open) return;
    Refresh(world, home, tower);
    const Vector2 cursor = ToUiSpace(mouse, GetScreenWidth());
    const Vector2 homeCentre = {home.cx, home.cz};
    const Rectangle& window = cfg::kMapWindow;
    const Rectangle& field = cfg::kMapField;

    DrawRectangle(0, 0, frame::kUiWidth, frame::kUiHeight, Color{6, 8, 12, 190});
    DrawRectangleRounded(window, 0.02f, 8, Color{20, 22, 26, 248});
    DrawRectangleRoundedLines(window, 0.02f, 8, Color{122, 108, 84, 255});
    DrawRectangleRoundedLines(Rectangle{86.0f, 46.0f, 1428.0f, 808.0f}, 0.02f, 8, Color{58, 56, 52, 255});

    Text("КАРТА ОКРЕСТНОСТЕЙ", 110.0f, 56.0f, 34, Color{245, 238, 225, 255});
    Text("компаса нет - читай приметы", 112.0f, 94.0f, 15, Color{170, 162, 148, 255});
    const char* closeHint = "[M] закрыть";
    Text(closeHint, 1490.0f - ui::Measure(closeHint, 16), 64.0f, 16, Color{196, 186, 168, 255});

    DrawField(field);

    const MapHover hover = HoverMarkers(*this, field, cursor);
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t k = 0; k < markers.size(); ++k) {
            if (MapMarkerPass(markers[k].kind) != pass) continue;
            if (!CheckCollisionPointRec(ToScreen(markers[k].position, field), field)) continue;
            DrawMarker(markers[k], field, hover.highlighted[k]);
        }
    }

    DrawGrid(center);
    DrawCompassAndScale();
    DrawRectangleLinesEx(field, 2.0f, Color{108, 96, 76, 255});

    if (hover.hovered >= 0) DrawTooltip(markers[static_cast<size_t>(hover.hovered)], homeCentre, cursor);
    DrawSidebar(window, homeCentre, hover.hovered);
}

void WorldMap::DrawField(const Rectangle& field) const {
    DrawRectangleRec(field, Color{12, 14, 18, 255});
    if (built && terrain.id != 0) {
        const Rectangle source = {0.0f, 0.0f, static_cast<float>(terrain.width), static_cast<float>(terrain.height)};
        DrawTexturePro(terrain, source, field, Vector2{0.0f, 0.0f}, 0.0f, WHITE);
    }
    DrawRectangleRec(field, Fade(Color{150, 126, 92, 255}, 0.07f));

    // Darkened edges make the picture read as a sheet lying in the frame.
    const Color d = {16, 18, 22, 255};
    const int x = static_cast<int>(field.x);
    const int y = static_cast<int>(field.y);
    const int w = static_cast<int>(field.width);
    const int h = static_cast<int>(field.height);
    const int band = cfg::kMapEdgeBand;
    DrawRectangleGradientV(x, y, w, band, Fade(d, 0.68f), Fade(d, 0.0f));
    DrawRectangleGradientV(x, y + h - band, w, band, Fade(d, 0.0f), Fade(d, 0.68f));
    DrawRectangleGradientH(x, y, band, h, Fade(d, 0.6f), Fade(d, 0.0f));
    DrawRectangleGradientH(x + w - band, y, band, h, Fade(d, 0.0f), Fade(d, 0.6f));
}

void WorldMap::DrawMarker(const MapMarker& marker, const Rectangle& field, bool highlighted) const {
    const Vector2 p = ToScreen(marker.position, field);
    const Color c = MapMarkerColor(marker.kind);

    if (marker.kind != MapMarkerKind::Home && marker.radius > 0.0f) {
        const float r = std::clamp(field.width / kMapWorldSpan * marker.radius, 6.0f, 90.0f);
        DrawCircleLinesV(p, r, Fade(c, 0.18f));
        DrawCircleV(p, r, Fade(c, 0.05f));
    }
    if (highlighted) {
        const Color glow = {255, 244, 214, 255};
        DrawCircleV(p, 15.0f, Fade(glow, 0.16f));
        DrawCircleLinesV(p, 15.0f, Fade(glow, 0.65f));
    }
    DrawGlyph(marker.kind, p, c);

    const char* text = LabelOf(marker);
    const int w = Width(text, 14);
    const float x = p.x - static_cast<float>(w) / 2.0f;
    const float y = marker.kind == MapMarkerKind::Tower ? p.y - 30.0f : p.y + 12.0f;
    Rect(x - 4.0f, y - 1.0f, static_cast<float>(w + 8), 17.0f, Fade(Color{10, 12, 16, 255}, 0.58f));
    Text(text, x, y, 14, c);
}

void WorldMap::DrawSidebar(const Rectangle& window, Vector2 home, int hovered) const {
    const Rectangle panel = {window.x + 770.0f, window.y + 80.0f, window.width - 800.0f, 700.0f};
    const float bottom = panel.y + panel.height;
    DrawRectangleRounded(panel, 0.02f, 6, Color{26, 28, 32, 220});
    DrawRectangleRoundedLines(panel, 0.02f, 6, Color{78, 72, 62, 255});
    Text("ПРИМЕТЫ", panel.x + 20.0f, panel.y + 16.0f, 24, Color{238, 230, 214, 255});
    Text("на карте места, а не люди", panel.x + 20.0f, panel.y + 46.0f, 15, Color{170, 162, 148, 255});

    for (size_t i = 0; i < markers.size(); ++i) {
        const float y = panel.y + 78.0f + cfg::kMapSidebarRowHeight * static_cast<float>(i);
        if (y + cfg::kMapSidebarRowHeight > bottom - 60.0f) break;
        const MapMarker& marker = markers[i];
        const Color c = MapMarkerColor(marker.kind);
        const bool lit = static_cast<int>(i) == hovered;
        if (lit) {
            DrawRectangleRounded(Rectangle{panel.x + 12.0f, y - 4.0f, panel.width - 24.0f, 30.0f}, 0.2f, 5,
                                 Color{58, 54, 46, 230});
        }
        const Vector2 dot = {panel.x + 26.0f, y + 10.0f};
        DrawCircleV(dot, 5.0f, Fade(c, 0.22f));
        DrawCircleLinesV(dot, 7.0f, Fade(c, lit ? 0.95f : 0.55f));
        Text(LabelOf(marker), panel.x + 42.0f, y, 18, lit ? Color{250, 242, 224, 255} : Color{224, 216, 200, 255});

        char distance[32];
        Color distanceColour = {178, 172, 160, 255};
        if (marker.kind == MapMarkerKind::Home) {
            std::snprintf(distance, sizeof distance, "дом");
            distanceColour = Color{244, 190, 132, 255};
        } else {
            std::snprintf(distance, sizeof distance, "%d м", RoundedDistance(marker.position, home));
        }
        const float right = panel.x + panel.width - 24.0f;
        Text(distance, right - ui::Measure(distance, 16), y + 2.0f, 16, distanceColour);
    }

    Text("пустые кольца - мёртвые поселения", panel.x + 20.0f, bottom - 58.0f, 14, Color{156, 150, 138, 255});
    Text("тёплый уголёк - домашний очаг", panel.x + 20.0f, bottom - 38.0f, 14, Color{156, 150, 138, 255});
}
