// atmosphere_test.cpp: time of day and sun, the day/dusk/night light, the fog
// presets and their weather, the override table and the air temperature.
#include <gtest/gtest.h>

#include <cmath>
#include "world/atmosphere.h"
#include "world/world.h"

namespace {

WorldSample Ground(float glacier, float plain, float hills, float mountain, float height = 0.0f) {
    WorldSample s{};
    s.glacier = glacier;
    s.plain = plain;
    s.hills = hills;
    s.mountain = mountain;
    s.height = height;
    return s;
}

const WorldSample kPlain = Ground(0.0f, 1.0f, 0.0f, 0.0f);

// Day fractions as time-of-day offsets at world time 0.
constexpr float kMidnight = 0.0f;
constexpr float kMorning = 0.3f;
constexpr float kNoon = 0.5f;
constexpr float kDusk = 0.75f;

void ExpectFog(const Atmosphere& a, int r, int g, int b) {
    EXPECT_EQ(a.fogColor.r, r);
    EXPECT_EQ(a.fogColor.g, g);
    EXPECT_EQ(a.fogColor.b, b);
    EXPECT_EQ(a.fogColor.a, 255);
}

}  // namespace

TEST(Atmosphere, SunThroughTheDay) {
    const float root = std::sqrt(1.25f);

    const Atmosphere morning = AtmosphereFromSample(kPlain, 0.0f, kMorning, 0.0f);
    EXPECT_FLOAT_EQ(morning.timeOfDay, 0.3f);
    EXPECT_NEAR(morning.sunDir.y, 0.31f, 0.01f);
    // Green light is 0.74 dusk + day with dusk = 1 - day here: day about 0.96.
    EXPECT_NEAR((morning.lightColor.y - 0.74f) / 0.26f, 0.96f, 0.01f);
    EXPECT_NEAR(morning.lightColor.x, 1.0f, 1e-6f);

    const Atmosphere noon = AtmosphereFromSample(kPlain, 0.0f, kNoon, 0.0f);
    EXPECT_NEAR(noon.sunDir.x, 0.0f, 1e-5f);
    EXPECT_NEAR(noon.sunDir.y, 1.0f / root, 1e-5f);
    EXPECT_NEAR(noon.sunDir.z, -0.5f / root, 1e-5f);
    EXPECT_FLOAT_EQ(noon.daylight, 1.0f);

    // On the horizon toward -x: no day, dusk about 0.96, night about 0.04.
    const Atmosphere dusk = AtmosphereFromSample(kPlain, 0.0f, kDusk, 0.0f);
    EXPECT_NEAR(dusk.sunDir.y, 0.0f, 1e-5f);
    EXPECT_LT(dusk.sunDir.x, -0.8f);
    EXPECT_NEAR(dusk.daylight, 0.45f * 0.960256f, 1e-4f);
    EXPECT_NEAR(dusk.lightColor.z, 0.58f * 0.960256f + 0.56f * 0.039744f, 1e-4f);

    const Atmosphere midnight = AtmosphereFromSample(kPlain, 0.0f, kMidnight, 0.0f);
    EXPECT_NEAR(midnight.sunDir.y, -1.0f / root, 1e-5f);
    EXPECT_NEAR(midnight.sunDir.z, -0.5f / root, 1e-5f);
    EXPECT_FLOAT_EQ(midnight.daylight, 0.0f);
    EXPECT_FLOAT_EQ(midnight.lightColor.x, 0.32f);
    EXPECT_FLOAT_EQ(midnight.lightColor.y, 0.38f);
    EXPECT_FLOAT_EQ(midnight.lightColor.z, 0.56f);
    EXPECT_FLOAT_EQ(midnight.moonDir.y, -midnight.sunDir.y);
    EXPECT_FLOAT_EQ(midnight.moonDir.z, -midnight.sunDir.z);
}

TEST(Atmosphere, FogPresetsMixByBiomeWeight) {
    const Atmosphere plain = AtmosphereFromSample(kPlain, 0.0f, kNoon, 0.0f);
    ExpectFog(plain, 216, 228, 238);
    EXPECT_FLOAT_EQ(plain.fogNear, 520.0f);
    EXPECT_FLOAT_EQ(plain.fogFar, 780.0f);

    const Atmosphere mountains = AtmosphereFromSample(Ground(0, 0, 0, 1), 0.0f, kNoon, 0.0f);
    ExpectFog(mountains, 190, 206, 224);
    EXPECT_FLOAT_EQ(mountains.fogNear, 450.0f);

    // Weights are normalised: half glacier, half plain, at any scale.
    const Atmosphere mixed = AtmosphereFromSample(Ground(0.3f, 0.3f, 0, 0), 0.0f, kNoon, 0.0f);
    ExpectFog(mixed, 208, 222, 234);
    EXPECT_FLOAT_EQ(mixed.fogNear, 510.0f);
    EXPECT_FLOAT_EQ(mixed.fogFar, 770.0f);

    // No weight at all counts as plain.
    const Atmosphere none = AtmosphereFromSample(Ground(0, 0, 0, 0), 0.0f, kNoon, 0.0f);
    ExpectFog(none, 216, 228, 238);
    EXPECT_FLOAT_EQ(none.temperature, -32.0f);
}

TEST(Atmosphere, FogDarkensAtNightAndGreysInSnow) {
    // A fifth of the preset, pulled a quarter of the way to (20, 26, 44).
    ExpectFog(AtmosphereFromSample(kPlain, 0.0f, kMidnight, 0.0f), 25, 30, 44);
    // At dusk the warm colour, not the preset.
    const Atmosphere dusk = AtmosphereFromSample(kPlain, 0.0f, kDusk, 0.0f);
    EXPECT_GT(dusk.fogColor.r, dusk.fogColor.g);
    EXPECT_GT(dusk.fogColor.g, dusk.fogColor.b);
    // Full snowfall at noon pulls 65 % toward grey 205.
    ExpectFog(AtmosphereFromSample(kPlain, 0.0f, kNoon, 1.0f), 208, 213, 216);
}

TEST(Atmosphere, WeatherClosesTheFog) {
    // A full storm: exactly 45..250 whatever the biome, light dimmed to 0.82.
    for (const WorldSample& s : {kPlain, Ground(1, 0, 0, 0), Ground(0, 0, 0.5f, 0.5f)}) {
        const Atmosphere storm = AtmosphereFromSample(s, 0.0f, kNoon, 1.0f);
        EXPECT_EQ(storm.fogNear, 45.0f);
        EXPECT_EQ(storm.fogFar, 250.0f);
        EXPECT_FLOAT_EQ(storm.lightColor.x, 0.82f);
        EXPECT_FLOAT_EQ(storm.lightColor.y, 0.82f);
        EXPECT_FLOAT_EQ(storm.lightColor.z, 0.82f);
    }
    // Rain (0.55) only moves toward 260..560.
    const Atmosphere rain = AtmosphereFromSample(kPlain, 0.0f, kNoon, 0.55f);
    EXPECT_NEAR(rain.fogNear, 434.2f, 1e-3f);
    EXPECT_NEAR(rain.fogFar, 707.4f, 1e-3f);
    // Intensity is clamped to 0..1.
    EXPECT_FLOAT_EQ(AtmosphereFromSample(kPlain, 0.0f, kNoon, 3.0f).weatherIntensity, 1.0f);
    EXPECT_FLOAT_EQ(AtmosphereFromSample(kPlain, 0.0f, kNoon, -1.0f).weatherIntensity, 0.0f);
}

TEST(Atmosphere, TemperatureByBiomeHeightWeatherAndNight) {
    EXPECT_FLOAT_EQ(AtmosphereFromSample(kPlain, 0.0f, kNoon, 0.0f).temperature, -32.0f);
    EXPECT_FLOAT_EQ(AtmosphereFromSample(Ground(0, 0, 0, 1, 50.0f), 0.0f, kNoon, 0.0f).temperature, -54.0f);
    // Glaciers would be -28: the air never gets warmer than -30.
    EXPECT_FLOAT_EQ(AtmosphereFromSample(Ground(1, 0, 0, 0), 0.0f, kNoon, 0.0f).temperature, -30.0f);
    // Height counts from 0 to 90 only.
    const float at90 = AtmosphereFromSample(Ground(0, 0, 1, 0, 90.0f), 0.0f, kNoon, 0.0f).temperature;
    EXPECT_NEAR(at90, -38.0f - 10.8f, 1e-4f);
    EXPECT_FLOAT_EQ(AtmosphereFromSample(Ground(0, 0, 1, 0, 400.0f), 0.0f, kNoon, 0.0f).temperature, at90);
    EXPECT_FLOAT_EQ(AtmosphereFromSample(Ground(0, 0, 1, 0, -20.0f), 0.0f, kNoon, 0.0f).temperature, -38.0f);
    // Weather and night cool the air: plain at midnight in a storm.
    EXPECT_FLOAT_EQ(AtmosphereFromSample(kPlain, 0.0f, kMidnight, 1.0f).temperature, -45.0f);
    // Mountains at 90 in a storm at night would be -71.8: never below -65.
    EXPECT_FLOAT_EQ(AtmosphereFromSample(Ground(0, 0, 0, 1, 90.0f), 0.0f, kMidnight, 1.0f).temperature, -65.0f);
}

class WorldAtmosphere : public ::testing::Test {
protected:
    WorldAtmosphere() : world(20261113u) {}
    World world;
};

TEST_F(WorldAtmosphere, OverridesFixTheWeather) {
    const float expected[7] = {0.0f, 0.0f, 1.0f, 0.55f, 1.0f, 0.35f, 1.0f};
    for (int weather = 1; weather <= 6; weather++) {
        world.weatherOverride = weather;
        for (float t : {0.0f, 333.0f, 5000.0f}) {
            world.worldTime = t;
            EXPECT_FLOAT_EQ(world.ComputeAtmosphere(Vector3{10.0f, 0.0f, -20.0f}).weatherIntensity, expected[weather])
                << weather;
        }
    }
}

TEST_F(WorldAtmosphere, NaturalWeatherDriftsButNeverClears) {
    for (int weather : {0, 7}) {
        world.weatherOverride = weather;
        float lowest = 2.0f;
        float highest = -1.0f;
        for (int i = 0; i < 200; i++) {
            world.worldTime = static_cast<float>(i) * 50.0f;
            const float w = world.ComputeAtmosphere(Vector3{0.0f, 0.0f, 0.0f}).weatherIntensity;
            lowest = std::min(lowest, w);
            highest = std::max(highest, w);
        }
        EXPECT_GE(lowest, 0.18f);
        EXPECT_LE(highest, 1.0f);
        EXPECT_GT(highest - lowest, 0.1f) << "weather should change over ten thousand seconds";
    }
}

TEST_F(WorldAtmosphere, OneDayLaterTheSkyRepeats) {
    const Vector3 where{150.0f, 0.0f, -75.0f};
    for (int weather : {0, 5}) {
        world.weatherOverride = weather;
        world.worldTime = 0.0f;
        const Atmosphere before = world.ComputeAtmosphere(where);
        world.worldTime = 1200.0f;
        const Atmosphere after = world.ComputeAtmosphere(where);
        // The day fraction 1.3 - 1 is one rounding away from 0.3.
        EXPECT_NEAR(after.timeOfDay, before.timeOfDay, 1e-6f);
        EXPECT_NEAR(after.sunDir.x, before.sunDir.x, 1e-5f);
        EXPECT_NEAR(after.sunDir.y, before.sunDir.y, 1e-5f);
        EXPECT_NEAR(after.sunDir.z, before.sunDir.z, 1e-5f);
        EXPECT_NEAR(after.daylight, before.daylight, 1e-5f);
        if (weather != 0) {
            // Only fixed weather repeats; natural weather follows the clock.
            EXPECT_FLOAT_EQ(after.weatherIntensity, before.weatherIntensity);
            EXPECT_NEAR(after.lightColor.x, before.lightColor.x, 1e-5f);
            EXPECT_NEAR(after.lightColor.y, before.lightColor.y, 1e-5f);
            EXPECT_NEAR(after.lightColor.z, before.lightColor.z, 1e-5f);
            EXPECT_NEAR(after.fogNear, before.fogNear, 1e-3f);
            EXPECT_NEAR(after.temperature, before.temperature, 1e-4f);
        }
    }
}
