// Shadow geometry, colour arithmetic and marker sizes of the actors' drawing.
#include "actors/actor_draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "world/atmosphere.h"

namespace {

using namespace actordraw;

Atmosphere AtmosphereWith(Vector3 sun, float daylight) {
    Atmosphere atmosphere{};
    atmosphere.sunDir = sun;
    atmosphere.moonDir = Vector3{-sun.x, -sun.y, -sun.z};
    atmosphere.daylight = daylight;
    atmosphere.lightColor = Vector3{1.0f, 1.0f, 1.0f};
    return atmosphere;
}

void ExpectColour(Color actual, int r, int g, int b, int a) {
    EXPECT_EQ(actual.r, r);
    EXPECT_EQ(actual.g, g);
    EXPECT_EQ(actual.b, b);
    EXPECT_EQ(actual.a, a);
}

float Cross(Vector2 o, Vector2 a, Vector2 b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

float Area(const ShadowHull& hull) {
    float twice = 0.0f;
    for (int i = 0; i < hull.count; ++i) {
        const Vector2 a = hull.points[i];
        const Vector2 b = hull.points[(i + 1) % hull.count];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2.0f;
}

TEST(ActorDrawColour, TintFloorsEachChannelAndIsOpaque) {
    ExpectColour(Tinted(Color{122, 96, 68, 10}, Color{200, 220, 240, 0}), 95, 82, 64, 255);
    ExpectColour(Tinted(Color{255, 1, 254, 255}, Color{255, 254, 255, 255}), 255, 0, 254, 255);
}

TEST(ActorDrawColour, ScaleClampsAndKeepsAlpha) {
    ExpectColour(ScaleRgb(Color{134, 102, 68, 77}, 1.45f), 194, 147, 98, 77);
    ExpectColour(ScaleRgb(Color{200, 180, 10, 255}, 1.5f), 255, 255, 15, 255);
    ExpectColour(ScaleRgb(Color{200, 180, 10, 255}, -1.0f), 0, 0, 0, 255);
}

TEST(ActorDrawColour, LitFollowsEachLightChannel) {
    // Daylight white lifts by 1.03; a black light leaves 0.48 of the colour.
    ExpectColour(Lit(Color{134, 102, 68, 200}, Vector3{1.0f, 1.0f, 1.0f}), 138, 105, 70, 200);
    ExpectColour(Lit(Color{134, 102, 68, 255}, Vector3{0.0f, 0.5f, 1.0f}), 64, 77, 70, 255);
}

TEST(AirshipShadowLight, SunMoonAndOverhead) {
    float strength = 0.0f;
    Vector2 d = LightGroundDirection(AtmosphereWith(Vector3{0.6f, 0.5f, 0.8f}, 0.6f), strength);
    EXPECT_NEAR(d.x, 0.6f, 1e-5f);
    EXPECT_NEAR(d.y, 0.8f, 1e-5f);
    EXPECT_FLOAT_EQ(strength, 0.6f);

    // Below 0.04 the moon, opposite the sun, casts the shadow.
    d = LightGroundDirection(AtmosphereWith(Vector3{0.6f, 0.03f, 0.8f}, 0.1f), strength);
    EXPECT_NEAR(d.x, -0.6f, 1e-5f);
    EXPECT_NEAR(d.y, -0.8f, 1e-5f);
    EXPECT_FLOAT_EQ(strength, 0.3f);

    d = LightGroundDirection(AtmosphereWith(Vector3{0.0005f, 1.0f, 0.0f}, 1.4f), strength);
    EXPECT_FLOAT_EQ(d.x, 0.62f);
    EXPECT_FLOAT_EQ(d.y, 0.52f);
    EXPECT_FLOAT_EQ(strength, 1.0f);
}

TEST(AirshipShadow, OffsetGrowthAndAlphaByAltitude) {
    const Vector2 light{0.6f, 0.8f};
    const float scale = 2.0f;
    const float strength = 0.5f;

    ShipShadow s = AirshipShadow(0.0f, light, strength, scale);
    EXPECT_NEAR(s.offset.x, -0.6f * 6.0f * scale, 1e-4f);
    EXPECT_NEAR(s.offset.y, -0.8f * 6.0f * scale, 1e-4f);
    EXPECT_FLOAT_EQ(s.growth, 1.0f);
    EXPECT_NEAR(s.alpha, 0.14f * strength, 1e-6f);

    s = AirshipShadow(15.0f, light, strength, scale);
    EXPECT_NEAR(s.offset.x, -0.6f * 12.0f * scale, 1e-4f);
    EXPECT_NEAR(s.growth, 1.0f + 0.3f * 15.0f / 35.0f, 1e-6f);
    EXPECT_NEAR(s.alpha, 0.14f * strength * (1.0f - 0.55f * 15.0f / 35.0f), 1e-6f);

    s = AirshipShadow(16.0f, light, strength, scale);
    EXPECT_NEAR(s.offset.y, -0.8f * (14.0f * 16.0f / 35.0f + 6.0f) * scale, 1e-4f);
    EXPECT_NEAR(s.growth, 1.0f + 0.3f * 16.0f / 35.0f, 1e-6f);

    s = AirshipShadow(35.0f, light, strength, scale);
    EXPECT_NEAR(s.offset.x, -0.6f * 20.0f * scale, 1e-4f);
    EXPECT_NEAR(s.offset.y, -0.8f * 20.0f * scale, 1e-4f);
    EXPECT_FLOAT_EQ(s.growth, 1.3f);
    EXPECT_NEAR(s.alpha, 0.063f * strength, 1e-6f);

    // The altitude is clamped to 0..35 for the shadow.
    const ShipShadow high = AirshipShadow(80.0f, light, strength, scale);
    EXPECT_FLOAT_EQ(high.growth, s.growth);
    EXPECT_FLOAT_EQ(high.offset.x, s.offset.x);
    const ShipShadow below = AirshipShadow(-5.0f, light, strength, scale);
    EXPECT_FLOAT_EQ(below.growth, 1.0f);
}

TEST(AirshipCanopyShadow, FadesAndStopsAboveFifteenAndThreeQuarters) {
    const Vector2 light{0.62f, 0.52f};

    CanopyShadow c = AirshipCanopyShadow(0.0f, light, 0.8f, 3.0f);
    EXPECT_TRUE(c.drawn);
    EXPECT_FLOAT_EQ(c.strength, 1.0f);
    EXPECT_NEAR(c.alpha, 0.08f, 1e-6f);
    EXPECT_NEAR(c.offset.x, -0.62f * 4.0f * 3.0f, 1e-5f);
    EXPECT_NEAR(c.offset.y, -0.52f * 4.0f * 3.0f, 1e-5f);

    c = AirshipCanopyShadow(15.0f, light, 1.0f, 3.0f);
    EXPECT_TRUE(c.drawn);
    EXPECT_NEAR(c.strength, 0.0571429f, 1e-5f);
    EXPECT_NEAR(c.alpha, 0.00571429f, 1e-6f);

    c = AirshipCanopyShadow(16.0f, light, 1.0f, 3.0f);
    EXPECT_FALSE(c.drawn);
    EXPECT_FLOAT_EQ(c.strength, 0.0f);

    EXPECT_TRUE(AirshipCanopyShadow(15.7f, light, 1.0f, 3.0f).drawn);
    EXPECT_FALSE(AirshipCanopyShadow(15.8f, light, 1.0f, 3.0f).drawn);
    EXPECT_FALSE(AirshipCanopyShadow(35.0f, light, 1.0f, 3.0f).drawn);
}

TEST(TowerShadowLight, SunMoonAndOverhead) {
    TowerLight light = TowerShadowLight(AtmosphereWith(Vector3{0.6f, 0.5f, 0.8f}, 1.0f));
    EXPECT_FLOAT_EQ(light.elevation, 0.5f);
    EXPECT_NEAR(light.shadowDir.x, -0.6f, 1e-5f);
    EXPECT_NEAR(light.shadowDir.y, -0.8f, 1e-5f);

    light = TowerShadowLight(AtmosphereWith(Vector3{0.6f, -0.3f, 0.8f}, 0.0f));
    EXPECT_FLOAT_EQ(light.elevation, 0.3f);
    EXPECT_NEAR(light.shadowDir.x, 0.6f, 1e-5f);
    EXPECT_NEAR(light.shadowDir.y, 0.8f, 1e-5f);

    light = TowerShadowLight(AtmosphereWith(Vector3{0.0f, 1.0f, 0.0009f}, 1.0f));
    EXPECT_FLOAT_EQ(light.shadowDir.x, -0.62f);
    EXPECT_FLOAT_EQ(light.shadowDir.y, -0.52f);
}

TEST(TowerShadowLength, BySunHeightAndScale) {
    // Sixty floors over a lowest floor of 4: 201.6 units of tower.
    const float wide = 10.0f;  // screen bound 110 + 30, never the limit
    EXPECT_FLOAT_EQ(TowerShadowLength(1.0f, 60, 4, wide), 40.0f);
    EXPECT_FLOAT_EQ(TowerShadowLength(0.99f, 60, 4, wide), 40.0f);
    EXPECT_NEAR(TowerShadowLength(0.95f, 60, 4, wide), std::sqrt(1.0f - 0.9025f) * 201.6f / 0.95f, 1e-3f);
    EXPECT_NEAR(TowerShadowLength(0.9f, 60, 4, wide), 97.64f, 0.01f);
    EXPECT_FLOAT_EQ(TowerShadowLength(0.5f, 60, 4, wide), 110.0f);
    EXPECT_FLOAT_EQ(TowerShadowLength(0.06f, 60, 4, wide), 110.0f);
    // A light below the horizon counts as 0.06 high.
    EXPECT_FLOAT_EQ(TowerShadowLength(-0.4f, 60, 4, wide), 110.0f);

    // Zoomed out, the shadow is cut to 24 s + 30 even below 40.
    EXPECT_FLOAT_EQ(TowerShadowLength(0.2f, 60, 4, 2.0f), 78.0f);
    EXPECT_FLOAT_EQ(TowerShadowLength(1.0f, 60, 4, 0.25f), 36.0f);
    EXPECT_FLOAT_EQ(TowerShadowLength(0.2f, 60, 4, 0.0f), 30.0f);
    EXPECT_FLOAT_EQ(TowerShadowLength(0.2f, 60, 4, -3.0f), 30.0f);
}

TEST(TowerShadowHull, AlongAnAxisIsARectangle) {
    const ShadowHull hull = TowerShadowHull(Vector2{100.0f, 50.0f}, Vector2{-1.0f, 0.0f}, 50.0f);
    ASSERT_EQ(hull.count, 4);
    const Vector2 expected[4] = {{30.0f, 10.0f}, {120.0f, 10.0f}, {120.0f, 90.0f}, {30.0f, 90.0f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(hull.points[i].x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(hull.points[i].y, expected[i].y) << i;
    }
}

TEST(TowerShadowHull, DiagonalGivesSixStrictlyConvexCorners) {
    const float length = 50.0f;
    const ShadowHull hull = TowerShadowHull(Vector2{0.0f, 0.0f}, Vector2{-0.6f, -0.8f}, length);
    ASSERT_EQ(hull.count, 6);
    for (int i = 0; i < hull.count; ++i) {
        const float turn = Cross(hull.points[i], hull.points[(i + 1) % 6], hull.points[(i + 2) % 6]);
        EXPECT_GT(turn, 0.0f) << i;
    }
    // The footprint swept along the light: 3200 plus the length times the
    // footprint's width across the sweep.
    EXPECT_NEAR(Area(hull), 3200.0f + length * (0.6f * 80.0f + 0.8f * 40.0f), 0.5f);
    // The chain starts at the point of least x (then least z).
    EXPECT_FLOAT_EQ(hull.points[0].x, -50.0f);
    EXPECT_FLOAT_EQ(hull.points[0].y, -80.0f);
}

TEST(TowerShadowHull, DegenerateInputs) {
    const ShadowHull still = TowerShadowHull(Vector2{0.0f, 0.0f}, Vector2{-1.0f, 0.0f}, 0.0f);
    EXPECT_EQ(still.count, 4);
    EXPECT_NEAR(Area(still), 3200.0f, 1e-3f);

    const Vector2 line[3] = {{0.0f, 0.0f}, {1.0f, 1.0f}, {2.0f, 2.0f}};
    EXPECT_LT(ConvexHull(line, 3).count, 3);
    const Vector2 same[4] = {{5.0f, 5.0f}, {5.0f, 5.0f}, {5.0f, 5.0f}, {5.0f, 5.0f}};
    EXPECT_LT(ConvexHull(same, 4).count, 3);
    EXPECT_EQ(ConvexHull(same, 0).count, 0);
}

// The hull's own sort against the standard library's, bit for bit, on few
// points with many ties: equal values of other bits (-0 and +0) and NaN,
// which orders nothing, must come out where the library's sort put them.
TEST(TowerShadowHull, SortMatchesTheLibrarySortBitForBit) {
    const auto Bits = [](const std::vector<Vector2>& points) {
        std::vector<uint32_t> bits;
        for (Vector2 p : points) {
            bits.push_back(std::bit_cast<uint32_t>(p.x));
            bits.push_back(std::bit_cast<uint32_t>(p.y));
        }
        return bits;
    };
    const float nan = std::nanf("");
    const float pool[] = {-1.0f, -0.0f, 0.0f, 1.0f, 2.5f, nan};
    std::mt19937 random(20261209u);
    std::uniform_int_distribution<int> pick(0, 5);
    std::uniform_int_distribution<int> size(0, 16);
    for (int trial = 0; trial < 20000; ++trial) {
        std::vector<Vector2> points(static_cast<size_t>(size(random)));
        for (Vector2& p : points) {
            p = Vector2{pool[pick(random)], pool[pick(random)]};
        }
        std::vector<Vector2> expected = points;
        std::sort(expected.begin(), expected.end(),
                  [](Vector2 a, Vector2 b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
        SortByXThenY(points.data(), static_cast<int>(points.size()));
        ASSERT_EQ(Bits(points), Bits(expected)) << trial;
    }
}

TEST(MarkerSizes, SurvivorAndCogStayReadable) {
    EXPECT_FLOAT_EQ(SurvivorSize(0.0f), 4.5f);
    EXPECT_FLOAT_EQ(SurvivorSize(5.0f), 4.5f);
    EXPECT_FLOAT_EQ(SurvivorSize(10.0f), 8.0f);
    EXPECT_FLOAT_EQ(SurvivorSize(13.75f), 11.0f);
    EXPECT_FLOAT_EQ(SurvivorSize(40.0f), 11.0f);
    EXPECT_FLOAT_EQ(SurvivorSize(-2.0f), 4.5f);

    EXPECT_FLOAT_EQ(CogSize(0.0f), 4.0f);
    EXPECT_FLOAT_EQ(CogSize(10.0f), 6.2f);
    EXPECT_FLOAT_EQ(CogSize(40.0f), 10.0f);
}

}  // namespace
