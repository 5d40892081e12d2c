// world.cpp: construction and destruction of the World, its saved state, the
// render distance and the chunk key.
#include "world/world.h"

#include <cstdlib>
#include <cstring>
#include "world/chunk_content.h"

namespace {

// Debug weather: KIRN_STORM forces a storm, KIRN_WEATHER names one weather.
int WeatherFromEnvironment(int weather) {
    const char* storm = std::getenv("KIRN_STORM");
    if (storm != nullptr && std::atoi(storm) != 0) {
        weather = 2;
    }
    const char* name = std::getenv("KIRN_WEATHER");
    if (name != nullptr) {
        struct Named {
            const char* name;
            int weather;
        };
        static const Named kNamed[] = {
            {"storm", 2}, {"rain", 3}, {"thunder", 4}, {"snow", 5}, {"blizzard", 6}, {"clear", 1},
        };
        for (const Named& entry : kNamed) {
            if (std::strcmp(name, entry.name) == 0) {
                weather = entry.weather;
                break;
            }
        }
    }
    return weather;
}

// Debug time of day: KIRN_TIME sets the day fraction the clock starts from.
float TimeOfDayFromEnvironment(float base) {
    const char* text = std::getenv("KIRN_TIME");
    if (text == nullptr) {
        return base;
    }
    float value = static_cast<float>(std::atof(text));
    value = value > 1.0f ? 1.0f : value;
    // Written so that a NaN ends at 0 too.
    value = value > 0.0f ? value : 0.0f;
    return value;
}

}  // namespace

World::World(uint32_t seed)
    : chunks(),
      gen(seed),
      weatherNoise(seed ^ 0x9e3779b9u),
      atmosphere(),
      worldTime(0.0f),
      temperature(0.0f),
      renderDistance(8),
      timeOfDayBase(0.3f),
      weatherOverride(0),
      removedIds(),
      preciseTime(0.0),
      buildScratch(std::make_unique<chunkgen::ChunkScratch>()) {
    weatherOverride = WeatherFromEnvironment(weatherOverride);
    timeOfDayBase = TimeOfDayFromEnvironment(timeOfDayBase);
    // The atmosphere reads the fields above, so it comes last.
    atmosphere = ComputeAtmosphere(Vector3{0.0f, 0.0f, 0.0f});
    temperature = atmosphere.temperature;
}

World::~World() {
    for (auto& entry : chunks) {
        UnloadChunk(entry.second);
    }
}

void World::SetRenderDistance(int d) {
    if (d >= 13) {
        renderDistance = 12;
    } else if (d < 4) {
        renderDistance = 4;
    } else {
        renderDistance = d;
    }
}

void World::RestoreState(float savedTime, const std::unordered_set<uint64_t>& ids) {
    worldTime = savedTime;
    preciseTime = static_cast<double>(savedTime);
    removedIds = ids;
    atmosphere = ComputeAtmosphere(Vector3{0.0f, 0.0f, 0.0f});
    temperature = atmosphere.temperature;
}

void World::UnloadChunk(Chunk& chunk) {
    if (!chunk.built) {
        return;
    }
    if (chunk.mapTexture.id != 0) {
        UnloadTexture(chunk.mapTexture);
    }
    chunk.mapTexture = Texture2D{};
    chunk.built = false;
}

uint64_t World::Key(int cx, int cz) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(cx)) << 32) | static_cast<uint32_t>(cz);
}
