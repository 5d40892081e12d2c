// atmosphere.h: the light and weather at one place and time: time of day, sun
// and moon, daylight, light colour, fog and its distances, snowfall and the
// air temperature, with the biome fog presets they are mixed from.
#pragma once
#include "raylib.h"
#include "world/worldgen.h"

struct Atmosphere {
    Color fogColor;
    float fogNear;
    float fogFar;
    float weatherIntensity;
    float daylight;
    Vector3 sunDir;
    Vector3 moonDir;
    Vector3 lightColor;
    float timeOfDay;
    float temperature;
};

namespace cfg {

// Fog of one biome by clear day; the atmosphere mixes them by biome weight.
struct AtmospherePreset {
    Color fogColor;
    float fogNear;
    float fogFar;
};

inline constexpr AtmospherePreset atmosphereGlacier{{200, 216, 230, 255}, 500.0f, 760.0f};
inline constexpr AtmospherePreset atmospherePlain{{216, 228, 238, 255}, 520.0f, 780.0f};
inline constexpr AtmospherePreset atmosphereHills{{206, 220, 234, 255}, 480.0f, 740.0f};
inline constexpr AtmospherePreset atmosphereMountains{{190, 206, 224, 255}, 450.0f, 720.0f};

// Weather intensity forced by a weather override, indexed by the override:
// 1 clear, 2 storm, 3 rain, 4 thunder, 5 snow, 6 blizzard (0 is natural).
inline constexpr float weatherOverrides[7] = {0.0f, 0.0f, 1.0f, 0.55f, 1.0f, 0.35f, 1.0f};

// Length of one day in seconds of world time.
inline constexpr float dayLength = 1200.0f;

}  // namespace cfg

// The atmosphere of a terrain sample at a world time, for a given time-of-day
// offset and weather intensity (0..1, clamped). World::ComputeAtmosphere
// feeds it the terrain under the position and the override or natural weather.
Atmosphere AtmosphereFromSample(const WorldSample& sample, float worldTime, float timeOfDayBase, float weather);
