// world_map_test.cpp: the world map's terrain picture on the CPU, its landmark
// list, the projection onto the field and which marker the mouse picks.
#include "game/map/world_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>
#include "actors/building.h"
#include "support/image_guards.h"
#include "world/world.h"
#include "world/world_queries.h"

namespace {

constexpr uint32_t kSeed = 20261113;
constexpr Rectangle kField = {110.0f, 120.0f, 700.0f, 700.0f};

// The map's colour rules written out again in double precision; the picture
// may differ from it only by rounding at the integer cuts.
double Clamp01(double t) {
    return std::min(1.0, std::max(0.0, t));
}

struct Rgb {
    double r, g, b;
};

Rgb Lerp(Rgb a, Rgb b, double t) {
    t = Clamp01(t);
    return Rgb{std::floor(a.r + (b.r - a.r) * t), std::floor(a.g + (b.g - a.g) * t), std::floor(a.b + (b.b - a.b) * t)};
}

Rgb ReferenceBase(double h) {
    if (h < -5.0) return Lerp({116, 146, 168}, {40, 60, 82}, (-5.0 - h) / 11.0);
    const Rgb c1 = Lerp({192, 206, 216}, {170, 186, 200}, h / 12.0);
    const Rgb c2 = Lerp(c1, {140, 156, 174}, (h - 12.0) / 34.0);
    return Lerp(c2, {232, 239, 244}, 0.85 * Clamp01((h - 34.0) / 44.0));
}

Color PixelOf(const Image& image, int i, int j) {
    const unsigned char* p = static_cast<const unsigned char*>(image.data) + 4 * (j * image.width + i);
    return Color{p[0], p[1], p[2], p[3]};
}

struct PictureCheck {
    int water = 0;
    int peaks = 0;
    int worst = 0;
};

// Compares every pixel with the reference and counts the water and the
// high-snow samples, so a caller can see that both branches were exercised.
PictureCheck CheckAgainstReference(const WorldGen& gen, Vector2 c, const Image& image) {
    const double step = 2800.0 / 223.0;
    std::vector<double> h(224 * 224);
    for (int j = 0; j < 224; ++j) {
        for (int i = 0; i < 224; ++i) {
            const float x = c.x - 1400.0f + static_cast<float>(i) * static_cast<float>(step);
            const float z = c.y - 1400.0f + static_cast<float>(j) * static_cast<float>(step);
            h[j * 224 + i] = gen.Height(x, z);
        }
    }
    auto at = [&h](int i, int j) { return h[std::clamp(j, 0, 223) * 224 + std::clamp(i, 0, 223)]; };
    PictureCheck check;
    for (int j = 0; j < 224; ++j) {
        for (int i = 0; i < 224; ++i) {
            const double height = at(i, j);
            if (height < -5.0) ++check.water;
            if (height > 40.0) ++check.peaks;
            const double dx = (at(i + 1, j) - at(i - 1, j)) / (2.0 * step);
            const double dz = (at(i, j + 1) - at(i, j - 1)) / (2.0 * step);
            const double shade = std::min(1.25, std::max(0.55, (0.62 * dx + 0.72 * dz + 0.3) * 0.35 + 0.745));
            const Rgb base = ReferenceBase(height);
            const Color got = PixelOf(image, i, j);
            const double want[3] = {base.r * shade, base.g * shade, base.b * shade};
            const int have[3] = {got.r, got.g, got.b};
            for (int k = 0; k < 3; ++k) {
                const int expected = static_cast<int>(std::min(255.0, std::floor(want[k])));
                check.worst = std::max(check.worst, std::abs(have[k] - expected));
            }
            EXPECT_EQ(got.a, 255);
        }
    }
    return check;
}

uint64_t Digest(const Image& image) {
    uint64_t hash = 1469598103934665603ull;
    const unsigned char* p = static_cast<const unsigned char*>(image.data);
    for (int k = 0; k < image.width * image.height * 4; ++k) hash = (hash ^ p[k]) * 1099511628211ull;
    return hash;
}

Vector2 HomeOf(const World& world) {
    const Vector3 spawn = world.SpawnPoint();
    return Vector2{spawn.x + 96.0f, spawn.z + 40.0f};
}

float Distance(Vector2 a, Vector2 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

TEST(WorldMapTerrain, PictureFollowsTheHeightColoursAndHillShading) {
    const World world(kSeed);
    // Home of this seed, then a stretch of coast and one of high mountains, so
    // the water, snow and peak colours are all met.
    Vector3 sea{};
    Vector3 peaks{};
    ASSERT_TRUE(world.FindBiome("water", 6000.0f, sea));
    ASSERT_TRUE(world.FindBiome("mountain", 6000.0f, peaks));
    int water = 0;
    int high = 0;
    for (Vector2 c : {HomeOf(world), Vector2{sea.x, sea.z}, Vector2{peaks.x, peaks.z}}) {
        Image image = RenderMapTerrain(world.gen, c);
        const testsupport::ImageGuard imageGuard(image);
        ASSERT_EQ(image.width, 224);
        ASSERT_EQ(image.height, 224);
        ASSERT_EQ(image.format, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
        const PictureCheck check = CheckAgainstReference(world.gen, c, image);
        EXPECT_LE(check.worst, 2) << "centre " << c.x << ", " << c.y;
        water += check.water;
        high += check.peaks;
    }
    EXPECT_GT(water, 0);
    EXPECT_GT(high, 0);
}

TEST(WorldMapTerrain, SameSeedAndCentreGiveTheSamePicture) {
    const World world(kSeed);
    const Vector2 home = HomeOf(world);
    Image a = RenderMapTerrain(world.gen, home);
    Image b = RenderMapTerrain(World(kSeed).gen, home);
    Image moved = RenderMapTerrain(world.gen, Vector2{home.x + 50.0f, home.y});
    Image other = RenderMapTerrain(World(kSeed + 1).gen, home);
    EXPECT_EQ(Digest(a), Digest(b));
    EXPECT_NE(Digest(a), Digest(moved));
    EXPECT_NE(Digest(a), Digest(other));
    // Golden picture of this seed's home: guards the Linux and Windows builds
    // against drifting apart.
    EXPECT_EQ(Digest(a), 4393248401454209893ull);
    UnloadImage(a);
    UnloadImage(b);
    UnloadImage(moved);
    UnloadImage(other);
}

class WorldMapMarkers : public ::testing::Test {
protected:
    World world{kSeed};
    Building tower;
};

TEST_F(WorldMapMarkers, HomeFirstThenSettlementsNearestFirstWithoutATower) {
    const Vector2 home = HomeOf(world);
    const std::vector<MapMarker> markers = CollectMapMarkers(world, home, tower);
    ASSERT_GE(markers.size(), 3u);
    EXPECT_EQ(markers[0].kind, MapMarkerKind::Home);
    EXPECT_EQ(markers[0].label, "ДОМАШНИЙ ОЧАГ");
    EXPECT_EQ(markers[0].radius, 36.0f);
    EXPECT_EQ(markers[0].position.x, home.x);
    EXPECT_EQ(markers[0].position.y, home.y);

    std::vector<SettlementInfo> found;
    world.CollectSettlements(Vector3{home.x, 0.0f, home.y}, 1400.0f, found);
    size_t farEnough = 0;
    for (const SettlementInfo& s : found) farEnough += Distance({s.position.x, s.position.z}, home) >= 140.0f;
    EXPECT_EQ(markers.size(), farEnough + 1);

    float previous = 0.0f;
    for (size_t k = 1; k < markers.size(); ++k) {
        const MapMarker& m = markers[k];
        const float d = Distance(m.position, home);
        EXPECT_GE(d, previous);
        EXPECT_GE(d, 140.0f);
        EXPECT_LE(d, 1400.0f);
        previous = d;
        const auto same = std::find_if(found.begin(), found.end(), [&m](const SettlementInfo& s) {
            return s.position.x == m.position.x && s.position.z == m.position.y;
        });
        ASSERT_NE(same, found.end());
        const MapMarkerKind kind = same->type == 1   ? MapMarkerKind::Town
                                   : same->type == 2 ? MapMarkerKind::City
                                                     : MapMarkerKind::Village;
        EXPECT_EQ(m.kind, kind);
        EXPECT_EQ(m.label, MapMarkerName(kind));
        EXPECT_EQ(m.radius, same->radius);
    }
}

TEST_F(WorldMapMarkers, TowerComesSecondOnlyWhenItHasFloors) {
    const Vector2 home = HomeOf(world);
    tower.center = Vector2{home.x + 300.0f, home.y - 200.0f};
    const std::vector<MapMarker> without = CollectMapMarkers(world, home, tower);
    tower.floorCount = 60;
    const std::vector<MapMarker> with = CollectMapMarkers(world, home, tower);
    ASSERT_EQ(with.size(), without.size() + 1);
    EXPECT_EQ(with[0].kind, MapMarkerKind::Home);
    EXPECT_EQ(with[1].kind, MapMarkerKind::Tower);
    EXPECT_EQ(with[1].label, "БАШНЯ");
    EXPECT_EQ(with[1].radius, 0.0f);
    EXPECT_EQ(with[1].position.x, tower.center.x);
    EXPECT_EQ(with[1].position.y, tower.center.y);
    for (size_t k = 1; k < without.size(); ++k) EXPECT_NE(without[k].kind, MapMarkerKind::Tower);
}

TEST_F(WorldMapMarkers, ASettlementRightNextToHomeIsLeftOut) {
    SettlementInfo near{};
    ASSERT_TRUE(world.NearestSettlement(Vector3{0.0f, 0.0f, 0.0f}, 5000.0f, near));
    const Vector2 site = {near.position.x, near.position.z};
    for (float offset : {0.0f, 139.0f}) {
        const Vector2 home = {site.x + offset, site.y};
        for (const MapMarker& m : CollectMapMarkers(world, home, tower)) {
            if (m.kind == MapMarkerKind::Home) continue;
            EXPECT_FALSE(m.position.x == site.x && m.position.y == site.y) << "offset " << offset;
        }
    }
    // At 140 and beyond it is a landmark again.
    const Vector2 home = {site.x + 140.0f, site.y};
    const std::vector<MapMarker> markers = CollectMapMarkers(world, home, tower);
    EXPECT_TRUE(std::any_of(markers.begin(), markers.end(), [&site](const MapMarker& m) {
        return m.kind != MapMarkerKind::Home && m.position.x == site.x && m.position.y == site.y;
    }));
}

TEST(WorldMapKinds, NamesAndColoursOfEveryKind) {
    struct Row {
        int kind;
        const char* name;
        Color colour;
    };
    const Row rows[] = {{0, "ДОМАШНИЙ ОЧАГ", {244, 172, 102, 255}}, {1, "БАШНЯ", {214, 224, 234, 255}},
                        {2, "ДЕРЕВНЯ", {172, 198, 214, 255}},       {3, "ГОРОДОК", {152, 184, 206, 255}},
                        {4, "ГОРОД", {128, 170, 196, 255}},         {5, "РУИНЫ", {158, 156, 152, 255}},
                        {6, "НЕИЗВЕСТНО", {200, 200, 200, 255}},    {-1, "НЕИЗВЕСТНО", {200, 200, 200, 255}}};
    for (const Row& row : rows) {
        const MapMarkerKind kind = static_cast<MapMarkerKind>(row.kind);
        EXPECT_STREQ(MapMarkerName(kind), row.name);
        const Color c = MapMarkerColor(kind);
        EXPECT_EQ(c.r, row.colour.r) << row.kind;
        EXPECT_EQ(c.g, row.colour.g) << row.kind;
        EXPECT_EQ(c.b, row.colour.b) << row.kind;
        EXPECT_EQ(c.a, 255);
    }
}

TEST(WorldMapProjection, FieldCoversTheSquareAroundTheCentre) {
    WorldMap map;
    map.center = Vector2{-3210.5f, 877.25f};
    const Vector2 mid = map.ToScreen(map.center, kField);
    EXPECT_FLOAT_EQ(mid.x, 460.0f);
    EXPECT_FLOAT_EQ(mid.y, 470.0f);
    const Vector2 corner = map.ToScreen(Vector2{map.center.x - 1400.0f, map.center.y - 1400.0f}, kField);
    EXPECT_FLOAT_EQ(corner.x, 110.0f);
    EXPECT_FLOAT_EQ(corner.y, 120.0f);
    // 0.25 pixel per unit; +z runs down the screen.
    const Vector2 p = map.ToScreen(Vector2{map.center.x + 400.0f, map.center.y + 200.0f}, kField);
    EXPECT_FLOAT_EQ(p.x, 560.0f);
    EXPECT_FLOAT_EQ(p.y, 520.0f);
    // Exactly 1400 east or south falls on the far edge, outside the field.
    const Vector2 east = map.ToScreen(Vector2{map.center.x + 1400.0f, map.center.y}, kField);
    const Vector2 south = map.ToScreen(Vector2{map.center.x, map.center.y + 1400.0f}, kField);
    EXPECT_FLOAT_EQ(east.x, 810.0f);
    EXPECT_FLOAT_EQ(south.y, 820.0f);
    EXPECT_FALSE(CheckCollisionPointRec(east, kField));
    EXPECT_FALSE(CheckCollisionPointRec(south, kField));
}

class WorldMapHover : public ::testing::Test {
protected:
    void SetUp() override { map.center = Vector2{1000.0f, -2000.0f}; }
    // A marker whose screen point lands at (sx, sy) on the field.
    void AddAt(MapMarkerKind kind, float sx, float sy) {
        map.AddMarker(Vector2{map.center.x + (sx - 460.0f) * 4.0f, map.center.y + (sy - 470.0f) * 4.0f}, kind, "",
                      0.0f);
    }
    WorldMap map;
};

TEST_F(WorldMapHover, NothingIsPickedBeyondEighteenPixels) {
    AddAt(MapMarkerKind::Village, 300.0f, 300.0f);
    const MapHover far = HoverMarkers(map, kField, Vector2{300.0f, 318.5f});
    EXPECT_EQ(far.hovered, -1);
    EXPECT_FALSE(far.highlighted[0]);
    const MapHover edge = HoverMarkers(map, kField, Vector2{300.0f, 318.0f});
    EXPECT_EQ(edge.hovered, 0);
    EXPECT_TRUE(edge.highlighted[0]);
}

TEST_F(WorldMapHover, NearbyMarkersCanAllLightUpAndTheLastNearestWins) {
    AddAt(MapMarkerKind::Village, 300.0f, 300.0f);  // 10 px from the mouse
    AddAt(MapMarkerKind::Town, 306.0f, 300.0f);     // 4 px
    AddAt(MapMarkerKind::City, 318.0f, 300.0f);     // 8 px, farther than the best so far
    const MapHover hover = HoverMarkers(map, kField, Vector2{310.0f, 300.0f});
    EXPECT_TRUE(hover.highlighted[0]);
    EXPECT_TRUE(hover.highlighted[1]);
    EXPECT_FALSE(hover.highlighted[2]);
    EXPECT_EQ(hover.hovered, 1);
}

TEST_F(WorldMapHover, HomeAndTowerAreTriedAfterTheSettlementsAndWinTies) {
    AddAt(MapMarkerKind::Home, 400.0f, 400.0f);
    AddAt(MapMarkerKind::Town, 400.0f, 400.0f);
    const MapHover tie = HoverMarkers(map, kField, Vector2{405.0f, 400.0f});
    EXPECT_TRUE(tie.highlighted[0]);
    EXPECT_TRUE(tie.highlighted[1]);
    EXPECT_EQ(tie.hovered, 0);

    AddAt(MapMarkerKind::Tower, 410.0f, 400.0f);
    const MapHover tower = HoverMarkers(map, kField, Vector2{405.0f, 400.0f});
    EXPECT_EQ(tower.hovered, 2);
}

TEST_F(WorldMapHover, RuinsAndUnknownKindsGoWithTheSettlementsAndNegativeKindsNowhere) {
    EXPECT_EQ(MapMarkerPass(MapMarkerKind::Home), 1);
    EXPECT_EQ(MapMarkerPass(MapMarkerKind::Tower), 1);
    EXPECT_EQ(MapMarkerPass(MapMarkerKind::Village), 0);
    EXPECT_EQ(MapMarkerPass(MapMarkerKind::Ruins), 0);
    EXPECT_EQ(MapMarkerPass(static_cast<MapMarkerKind>(9)), 0);
    EXPECT_EQ(MapMarkerPass(static_cast<MapMarkerKind>(-1)), -1);

    // An unknown kind at the mouse is picked in the first pass, so home wins the tie.
    AddAt(static_cast<MapMarkerKind>(9), 400.0f, 400.0f);
    EXPECT_EQ(HoverMarkers(map, kField, Vector2{400.0f, 400.0f}).hovered, 0);
    AddAt(MapMarkerKind::Home, 400.0f, 400.0f);
    EXPECT_EQ(HoverMarkers(map, kField, Vector2{400.0f, 400.0f}).hovered, 1);
    // A negative kind is in neither pass: never drawn, never picked.
    AddAt(static_cast<MapMarkerKind>(-1), 500.0f, 500.0f);
    const MapHover negative = HoverMarkers(map, kField, Vector2{500.0f, 500.0f});
    EXPECT_EQ(negative.hovered, -1);
    EXPECT_FALSE(negative.highlighted[2]);
}

TEST_F(WorldMapHover, MarkersOffTheFieldCannotBePicked) {
    map.AddMarker(Vector2{map.center.x + 1400.0f, map.center.y}, MapMarkerKind::City, "", 40.0f);
    map.AddMarker(Vector2{map.center.x - 1500.0f, map.center.y}, MapMarkerKind::Village, "", 40.0f);
    EXPECT_EQ(HoverMarkers(map, kField, Vector2{810.0f, 470.0f}).hovered, -1);
    EXPECT_EQ(HoverMarkers(map, kField, Vector2{85.0f, 470.0f}).hovered, -1);
    EXPECT_EQ(HoverMarkers(map, kField, Vector2{109.0f, 470.0f}).hovered, -1);
}

}  // namespace
