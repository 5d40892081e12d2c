// world_map_gl_test.cpp: the world map's rebuild rules with a real texture,
// and its window drawn into a render texture: frame, terrain field, marker
// glyphs, hover highlight, tooltip and the sidebar's rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include "actors/building.h"
#include "actors/settlement.h"
#include "game/map/world_map.h"
#include "game/view/ui_font.h"
#include "support/gl_fixture.h"
#include "support/image_guards.h"
#include "world/world.h"

namespace {

constexpr uint32_t kSeed = 20261113;
constexpr Color kClear = {100, 100, 100, 255};

// Straight alpha blending as the render target does it, r, g and b only.
Color Over(Color src, Color dst) {
    const float a = static_cast<float>(src.a) / 255.0f;
    auto mix = [a](unsigned char s, unsigned char d) {
        return static_cast<unsigned char>(std::lround(static_cast<float>(s) * a + static_cast<float>(d) * (1.0f - a)));
    };
    return Color{mix(src.r, dst.r), mix(src.g, dst.g), mix(src.b, dst.b), 255};
}

Color Rgb(const Image& image, int x, int y) {
    Color c = testgl::PixelAt(image, x, y);
    c.a = 255;
    return c;
}

class WorldMapGl : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ui::LoadFont(); }
    static void TearDownTestSuite() { ui::UnloadFont(); }

    void SetUp() override {
        const Vector3 spawn = world.SpawnPoint();
        home.cx = spawn.x + 96.0f;
        home.cz = spawn.z + 40.0f;
    }

    // World position whose screen point lands at (sx, sy) on the field.
    Vector2 At(float sx, float sy) const {
        return Vector2{map.center.x + (sx - 460.0f) * 4.0f, map.center.y + (sy - 470.0f) * 4.0f};
    }

    Image DrawMap(Vector2 mouse) {
        return testgl::Render(kClear, [&] { map.Draw(world, home, tower, mouse); });
    }

    World world{kSeed};
    HomeSettlement home;
    Building tower;
    WorldMap map;
};

TEST_F(WorldMapGl, RefreshBuildsOnceAndRebuildsOnlyForAMovedHomeOrAnotherSeed) {
    map.Refresh(world, home, tower);
    ASSERT_TRUE(map.built);
    ASSERT_NE(map.terrain.id, 0u);
    EXPECT_EQ(map.terrain.width, 224);
    EXPECT_EQ(map.terrain.height, 224);
    EXPECT_EQ(map.seed, kSeed);
    EXPECT_EQ(map.center.x, home.cx);
    EXPECT_EQ(map.center.y, home.cz);
    ASSERT_FALSE(map.markers.empty());
    EXPECT_EQ(map.markers[0].kind, MapMarkerKind::Home);

    // An emptied list stays empty while nothing asks for a rebuild.
    map.ClearMarkers();
    map.Refresh(world, home, tower);
    home.cx += 1.0f;
    home.cz -= 1.0f;
    map.Refresh(world, home, tower);
    EXPECT_TRUE(map.markers.empty());
    EXPECT_EQ(map.center.x, home.cx - 1.0f);

    home.cx += 0.5f;
    map.Refresh(world, home, tower);
    EXPECT_FALSE(map.markers.empty());
    EXPECT_EQ(map.center.x, home.cx);
    EXPECT_EQ(map.center.y, home.cz);

    // Same home, another world: rebuilt for the new seed, tower included.
    const World other(kSeed + 7);
    tower.floorCount = 60;
    tower.center = Vector2{home.cx + 200.0f, home.cz};
    map.ClearMarkers();
    map.Refresh(other, home, tower);
    EXPECT_EQ(map.seed, kSeed + 7);
    ASSERT_GE(map.markers.size(), 2u);
    EXPECT_EQ(map.markers[1].kind, MapMarkerKind::Tower);
    EXPECT_NE(map.terrain.id, 0u);
}

TEST_F(WorldMapGl, ClosedMapDrawsNothingAndBuildsNothing) {
    const Image image = DrawMap(Vector2{460.0f, 470.0f});
    EXPECT_FALSE(map.built);
    EXPECT_EQ(map.terrain.id, 0u);
    for (int y = 0; y < 900; y += 50) {
        for (int x = 0; x < 1600; x += 50) testgl::ExpectPixel(image, x, y, kClear);
    }
    UnloadImage(image);
}

TEST_F(WorldMapGl, WindowOfTheSeedsHomeWithTheHomeHovered) {
    map.Open();
    // The mouse on the home marker at the middle of the field.
    const Image image = DrawMap(Vector2{462.0f, 468.0f});
    const testsupport::ImageGuard imageGuard(image);
    testgl::SavePng(image, "world_map_home");
    ASSERT_TRUE(map.built);

    const Color backdrop = Over(Color{6, 8, 12, 190}, kClear);
    const Color window = Over(Color{20, 22, 26, 248}, backdrop);
    const Color panel = Over(Color{26, 28, 32, 220}, window);
    testgl::ExpectRgb(image, 20, 20, backdrop, 2);
    testgl::ExpectRgb(image, 1570, 880, backdrop, 2);
    testgl::ExpectRgb(image, 98, 450, window, 2);
    testgl::ExpectRgb(image, 830, 500, window, 2);
    testgl::ExpectRgb(image, 1000, 840, window, 2);
    testgl::ExpectRgb(image, 1200, 500, panel, 3);
    // Field frame, 2 px on the field's edge.
    testgl::ExpectPixel(image, 110, 470, Color{108, 96, 76, 255});
    testgl::ExpectPixel(image, 460, 819, Color{108, 96, 76, 255});
    // North arrow and scale bar.
    testgl::ExpectRgb(image, 776, 160, Color{238, 228, 206, 255}, 22);
    testgl::ExpectRgb(image, 190, 790, Color{238, 228, 206, 255}, 22);
    testgl::ExpectRgb(image, 132, 792, Color{238, 228, 206, 255}, 22);
    // The home's warm core, its row lit in the sidebar (row 0 at y 198).
    testgl::ExpectPixel(image, 460, 470, Color{255, 232, 190, 255});
    testgl::ExpectRgb(image, 1300, 204, Over(Color{58, 54, 46, 230}, panel), 3);
    testgl::ExpectRgb(image, 1300, 240, panel, 3);
    // Tooltip box below and right of the mouse.
    testgl::ExpectRgb(image, 479, 484, Over(Color{16, 18, 22, 240}, Rgb(image, 479, 478)), 40);
}

TEST_F(WorldMapGl, TerrainFillsTheFieldUnderAFaintWash) {
    map.Open();
    map.Refresh(world, home, tower);
    map.ClearMarkers();
    const Image image = DrawMap(Vector2{0.0f, 0.0f});
    Image picture = RenderMapTerrain(world.gen, map.center);

    // Sample pixels clear of the grid lines and the darkened edges.
    const float gx = map.center.x - 1400.0f;
    const float gz = map.center.y - 1400.0f;
    auto nearGrid = [](float screen, float origin, float screenOrigin) {
        for (float w = std::ceil(origin / 350.0f) * 350.0f; w <= origin + 2800.5f; w += 350.0f) {
            if (std::fabs((w - origin) * 0.25f + screenOrigin - screen) < 3.0f) return true;
        }
        return false;
    };
    const Color wash = Fade(Color{150, 126, 92, 255}, 0.07f);
    int checked = 0;
    for (int py = 200; py < 740; py += 37) {
        for (int px = 190; px < 730; px += 41) {
            if (nearGrid(static_cast<float>(px) + 0.5f, gx, 110.0f)) continue;
            if (nearGrid(static_cast<float>(py) + 0.5f, gz, 120.0f)) continue;
            // Bilinear lookup of the 224-pixel picture stretched over 700 px.
            const float u = (static_cast<float>(px) + 0.5f - 110.0f) / 700.0f * 224.0f - 0.5f;
            const float v = (static_cast<float>(py) + 0.5f - 120.0f) / 700.0f * 224.0f - 0.5f;
            const int i = static_cast<int>(std::floor(u));
            const int j = static_cast<int>(std::floor(v));
            const float fu = u - static_cast<float>(i);
            const float fv = v - static_cast<float>(j);
            auto texel = [&](int a, int b) {
                return testgl::PixelAt(picture, std::clamp(a, 0, 223), std::clamp(b, 0, 223));
            };
            auto channel = [&](auto pick) {
                const float top = pick(texel(i, j)) * (1.0f - fu) + pick(texel(i + 1, j)) * fu;
                const float bottom = pick(texel(i, j + 1)) * (1.0f - fu) + pick(texel(i + 1, j + 1)) * fu;
                return static_cast<unsigned char>(std::lround(top * (1.0f - fv) + bottom * fv));
            };
            const Color terrain = {channel([](Color c) { return static_cast<float>(c.r); }),
                                   channel([](Color c) { return static_cast<float>(c.g); }),
                                   channel([](Color c) { return static_cast<float>(c.b); }), 255};
            testgl::ExpectRgb(image, px, py, Over(wash, terrain), 3);
            ++checked;
        }
    }
    EXPECT_GT(checked, 60);
    UnloadImage(picture);
    UnloadImage(image);
}

TEST_F(WorldMapGl, GlyphsHoverAndSidebarOfPlacedMarkers) {
    map.Open();
    map.Refresh(world, home, tower);
    map.ClearMarkers();
    map.AddMarker(At(250.0f, 300.0f), MapMarkerKind::Village, "", 0.0f);
    map.AddMarker(At(400.0f, 300.0f), MapMarkerKind::Town, "Тест", 0.0f);
    map.AddMarker(At(550.0f, 300.0f), MapMarkerKind::City, "", 0.0f);
    map.AddMarker(At(250.0f, 520.0f), MapMarkerKind::Ruins, "", 0.0f);
    map.AddMarker(At(400.0f, 520.0f), MapMarkerKind::Tower, "", 0.0f);
    map.AddMarker(At(550.0f, 520.0f), static_cast<MapMarkerKind>(9), "", 0.0f);
    map.AddMarker(Vector2{home.cx, home.cz}, MapMarkerKind::Home, "", 36.0f);
    // On the field's right edge: listed but not drawn.
    map.AddMarker(Vector2{map.center.x + 1400.0f, map.center.y}, MapMarkerKind::City, "", 0.0f);
    for (int k = 0; k < 9; ++k) {
        map.AddMarker(Vector2{map.center.x - 3000.0f, map.center.y + 10.0f * k}, MapMarkerKind::Village, "", 0.0f);
    }
    ASSERT_EQ(map.markers.size(), 17u);

    const Image image = DrawMap(Vector2{402.0f, 301.0f});
    testgl::SavePng(image, "world_map_markers");

    // Village: three squares, the first with its top-left at (240.5, 297).
    testgl::ExpectPixel(image, 242, 299, MapMarkerColor(MapMarkerKind::Village));
    testgl::ExpectPixel(image, 249, 303, MapMarkerColor(MapMarkerKind::Village));
    testgl::ExpectPixel(image, 256, 299, MapMarkerColor(MapMarkerKind::Village));
    // Town: four squares around its point; the hovered one keeps its glyph on top.
    testgl::ExpectPixel(image, 397, 297, MapMarkerColor(MapMarkerKind::Town));
    testgl::ExpectPixel(image, 406, 306, MapMarkerColor(MapMarkerKind::Town));
    // City: nine squares from (543, 293).
    testgl::ExpectPixel(image, 545, 295, MapMarkerColor(MapMarkerKind::City));
    testgl::ExpectPixel(image, 555, 305, MapMarkerColor(MapMarkerKind::City));
    // Ruins: a cross through the point.
    testgl::ExpectPixel(image, 250, 520, MapMarkerColor(MapMarkerKind::Ruins));
    testgl::ExpectPixel(image, 246, 524, MapMarkerColor(MapMarkerKind::Ruins));
    // Tower: dark body with a light outline.
    testgl::ExpectRgb(image, 397, 517, Color{26, 30, 36, 255}, 16);
    // The unknown kind has no glyph: its point shows only the field.
    const Color fieldHere = Rgb(image, 550, 520);
    EXPECT_GT(fieldHere.r + fieldHere.g + fieldHere.b, 3 * 90);
    // The marker on the right edge is not drawn.
    const Color edge = Rgb(image, 804, 466);
    EXPECT_FALSE(testgl::SameColour(edge, MapMarkerColor(MapMarkerKind::City), 10));

    // The highlight ring around the hovered town goes when the mouse leaves.
    const Image unhovered = DrawMap(Vector2{0.0f, 0.0f});
    int brighter = 0;
    for (int dy = -17; dy <= 17; ++dy) {
        for (int dx = -17; dx <= 17; ++dx) {
            const int d2 = dx * dx + dy * dy;
            if (d2 < 13 * 13 || d2 > 17 * 17) continue;
            const Color lit = Rgb(image, 400 + dx, 300 + dy);
            const Color plain = Rgb(unhovered, 400 + dx, 300 + dy);
            brighter += lit.r + lit.g + lit.b > plain.r + plain.g + plain.b + 20;
        }
    }
    EXPECT_GT(brighter, 40);
    UnloadImage(unhovered);

    // Sidebar: the town's row (index 1, y 234) is lit, the village's is not.
    const Color window = Over(Color{20, 22, 26, 248}, Over(Color{6, 8, 12, 190}, kClear));
    const Color panel = Over(Color{26, 28, 32, 220}, window);
    testgl::ExpectRgb(image, 1300, 240, Over(Color{58, 54, 46, 230}, panel), 3);
    testgl::ExpectRgb(image, 1300, 204, panel, 3);
    // Fifteen rows: the dot of row 14 (y 702) is there, row 15 (y 738) is not.
    const Color village = MapMarkerColor(MapMarkerKind::Village);
    testgl::ExpectRgb(image, 876, 712, Over(Fade(village, 0.22f), panel), 3);
    testgl::ExpectRgb(image, 876, 748, panel, 3);
    UnloadImage(image);
}

// The sidebar shows each landmark's distance from home in whole metres,
// rounded half up: each row's cell as the map draws it matches its text drawn
// alone over the map without markers, right-aligned 24 px inside the panel.
TEST_F(WorldMapGl, SidebarShowsDistancesRoundedHalfUp) {
    struct Row {
        Vector2 offset;  // from home, world units
        const char* shown;
    };
    const Row rows[] = {{{7.5f, 10.0f}, "13 м"}, {{12.49f, 0.0f}, "12 м"}, {{0.0f, 0.0f}, "0 м"}};
    // Round coordinates, so that every offset is exact.
    home.cx = 1000.0f;
    home.cz = -2000.0f;
    map.Open();
    map.Refresh(world, home, tower);
    map.ClearMarkers();
    const Image bare = DrawMap(Vector2{0.0f, 0.0f});
    const testsupport::ImageGuard bareGuard(bare);
    for (const Row& row : rows) {
        map.AddMarker(Vector2{home.cx + row.offset.x, home.cz + row.offset.y}, MapMarkerKind::Village, "", 0.0f);
    }
    const Image image = DrawMap(Vector2{0.0f, 0.0f});
    const testsupport::ImageGuard imageGuard(image);
    map.ClearMarkers();
    constexpr float kRight = 1466.0f;  // the panel's right edge less 24
    const auto rowY = [](size_t i) { return 198 + 36 * static_cast<int>(i); };
    const Image reference = testgl::Render(kClear, [&] {
        map.Draw(world, home, tower, Vector2{0.0f, 0.0f});
        for (size_t i = 0; i < std::size(rows); ++i) {
            const char* text = rows[i].shown;
            ui::Text(text, ui::RightAlignedX(kRight, ui::Measure(text, 16)), rowY(i) + 2, 16,
                     Color{178, 172, 160, 255});
        }
    });
    const testsupport::ImageGuard referenceGuard(reference);
    for (size_t i = 0; i < std::size(rows); ++i) {
        int differing = 0;
        int inked = 0;
        for (int y = rowY(i); y < rowY(i) + 24; ++y) {
            for (int x = static_cast<int>(kRight) - 90; x < static_cast<int>(kRight) + 4; ++x) {
                differing += !testgl::SameColour(Rgb(image, x, y), Rgb(reference, x, y), 0);
                inked += !testgl::SameColour(Rgb(bare, x, y), Rgb(reference, x, y), 0);
            }
        }
        EXPECT_EQ(differing, 0) << rows[i].shown;
        EXPECT_GT(inked, 20) << rows[i].shown;
    }
}

TEST_F(WorldMapGl, OnlyTheHomeGoesWithoutARing) {
    map.Open();
    map.Refresh(world, home, tower);
    auto ringDrawn = [&](MapMarkerKind kind) {
        map.ClearMarkers();
        map.AddMarker(At(300.0f, 400.0f), kind, "", 0.0f);
        const Image bare = DrawMap(Vector2{0.0f, 0.0f});
        map.markers[0].radius = 280.0f;  // 70 px on the field
        const Image ringed = DrawMap(Vector2{0.0f, 0.0f});
        int differing = 0;
        // The home's glow pulses with the clock, so its inner 25 px are left out.
        for (int dy = -80; dy <= 80; ++dy) {
            for (int dx = -80; dx <= 80; ++dx) {
                if (dx * dx + dy * dy < 25 * 25) continue;
                if (!testgl::SameColour(Rgb(bare, 300 + dx, 400 + dy), Rgb(ringed, 300 + dx, 400 + dy), 0)) {
                    ++differing;
                }
            }
        }
        UnloadImage(bare);
        UnloadImage(ringed);
        return differing;
    };
    EXPECT_EQ(ringDrawn(MapMarkerKind::Home), 0);
    EXPECT_GT(ringDrawn(MapMarkerKind::Village), 200);
}

}  // namespace
