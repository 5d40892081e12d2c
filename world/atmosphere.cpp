// atmosphere.cpp: World::ComputeAtmosphere: time of day, sun and moon, the
// day/dusk/night weights, weather, fog, light colour and air temperature.
// Seeded arithmetic: single precision, every operation in the written order.
#include "world/atmosphere.h"

#include <algorithm>
#include <cmath>
#include "world/clamps.h"
#include "world/full_turn.h"
#include "world/rounded_trig.h"
#include "world/world.h"

namespace {

// Smoothstep of v clamped to 0..1.
float Smooth(float v) {
    const float t = Clamp01(v);
    return (3.0f - 2.0f * t) * t * t;
}

// Fog colour and distances mixed from the four biome presets by weight.
struct FogMix {
    float r, g, b;
    float nearDist, farDist;
};

void AddPreset(FogMix& mix, float weight, const cfg::AtmospherePreset& preset) {
    if (!(weight > 0.0f)) {
        return;
    }
    mix.r += weight * static_cast<float>(preset.fogColor.r);
    mix.g += weight * static_cast<float>(preset.fogColor.g);
    mix.b += weight * static_cast<float>(preset.fogColor.b);
    mix.nearDist += weight * preset.fogNear;
    mix.farDist += weight * preset.fogFar;
}

}  // namespace

Atmosphere AtmosphereFromSample(const WorldSample& sample, float worldTime, float timeOfDayBase, float weather) {
    Atmosphere out{};

    // Biome mix.
    float glacier = sample.glacier;
    float plain = sample.plain;
    float hills = sample.hills;
    float mountain = sample.mountain;
    float sum = ((glacier + plain) + hills) + mountain;
    if (sum < 0.0001f) {
        plain = 1.0f;
        sum = 1.0f;
    }
    glacier = glacier / sum;
    plain = plain / sum;
    hills = hills / sum;
    mountain = mountain / sum;
    FogMix fog{0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    AddPreset(fog, glacier, cfg::atmosphereGlacier);
    AddPreset(fog, plain, cfg::atmospherePlain);
    AddPreset(fog, hills, cfg::atmosphereHills);
    AddPreset(fog, mountain, cfg::atmosphereMountains);

    // Time and sun.
    const float m = worldTime / cfg::dayLength + timeOfDayBase;
    float t = std::fmod(m, 1.0f);
    if (t < 0.0f) {
        t += 1.0f;
    }
    out.timeOfDay = t;
    const float a = kFullTurn * (t - 0.25f);
    const float c = CosF(a);
    const float n = SinF(a);
    const float len = std::sqrt(((0.86f * c) * (0.86f * c) + n * n) + 0.25f);
    const float inv = 1.0f / len;
    out.sunDir = Vector3{0.86f * c * inv, n * inv, -0.5f * inv};
    out.moonDir = Vector3{-out.sunDir.x, -out.sunDir.y, -out.sunDir.z};

    // Day, dusk and night.
    const float y = out.sunDir.y;
    const float day = Smooth((y - 0.06f) / 0.28f);
    const float dusk = Smooth((0.22f + y) * 4.0f) * (1.0f - day);
    const float night = std::max((1.0f - day) - dusk, 0.0f);
    out.daylight = Clamp01(0.45f * dusk + day);

    // Weather.
    const float w = Clamp01(weather);
    out.weatherIntensity = w;

    // Fog colour: the preset by day, warm at dusk, dark blue at night,
    // greyed by snowfall.
    float red = (day * fog.r + dusk * ((fog.r - 232.0f) * 0.4f + 232.0f)) +
                night * (0.25f * (0.2f * fog.r - 20.0f) + 20.0f);
    float green = (day * fog.g + dusk * ((fog.g - 124.0f) * 0.4f + 124.0f)) +
                  night * (0.25f * (0.2f * fog.g - 26.0f) + 26.0f);
    float blue = (day * fog.b + dusk * ((fog.b - 108.0f) * 0.4f + 108.0f)) +
                 night * (0.25f * (0.2f * fog.b - 44.0f) + 44.0f);
    if (w > 0.001f) {
        const float k = 0.6f * out.daylight + 0.4f;
        red = (205.0f - red) * ((0.65f * w) * k) + red;
        green = (205.0f - green) * ((0.65f * w) * k) + green;
        blue = (205.0f - blue) * ((0.65f * w) * k) + blue;
    }
    out.fogColor = Color{ClampToByte(red), ClampToByte(green), ClampToByte(blue), 255};

    // Fog distances close in with the weather, down to 45..250 in a storm.
    float nearDist = (260.0f - fog.nearDist) * (0.6f * w) + fog.nearDist;
    float farDist = (560.0f - fog.farDist) * (0.6f * w) + fog.farDist;
    if (w > 0.62f) {
        const float u = (w - 0.62f) / 0.38f;
        nearDist = (45.0f - nearDist) * u + nearDist;
        farDist = (250.0f - farDist) * u + farDist;
    }
    out.fogNear = nearDist;
    out.fogFar = farDist;

    // Light colour: white by day, orange at dusk, blue-grey at night.
    const float k2 = 1.0f - 0.18f * w;
    out.lightColor = Vector3{((dusk + day) + 0.32f * night) * k2, (0.38f * night + (0.74f * dusk + day)) * k2,
                             ((0.58f * dusk + day) + 0.56f * night) * k2};

    // Temperature: colder biomes, heights, weather and night.
    float hc = std::min(sample.height, 90.0f);
    hc = std::max(hc, 0.0f);
    const float temp = -28.0f * glacier - 32.0f * plain - 38.0f * hills - 48.0f * mountain - 0.12f * hc - 7.0f * w -
                       6.0f * night - 3.0f * dusk;
    out.temperature = std::max(std::min(temp, -30.0f), -65.0f);
    return out;
}

Atmosphere World::ComputeAtmosphere(Vector3 position) const {
    const WorldSample sample = gen.Sample(position.x, position.z);
    float weather = 0.0f;
    if (weatherOverride >= 1 && weatherOverride <= 6) {
        weather = cfg::weatherOverrides[weatherOverride];
    } else {
        const float v = weatherNoise.Fbm(worldTime / 110.0f * kFullTurn * 0.35f + 7.0f, 5.3f, 3, 2.0f, 0.5f);
        weather = Smooth((v - 0.12f) / 0.26f) * 0.82f + 0.18f;
    }
    return AtmosphereFromSample(sample, worldTime, timeOfDayBase, weather);
}
