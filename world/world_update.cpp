// world_update.cpp: World::Update, the world's step per frame: the clock, the
// air, and the square of chunks kept around the focus, built nearest first
// within a budget.
#include <cmath>
#include <cstdlib>
#include <utility>
#include "world/streaming.h"
#include "world/world.h"

void World::Update(Vector3 focus, int budget, float dt) {
    // A focus that is not a place (a damaged debug value) moves nothing: the
    // air and the chunks stay as they are, only the clock goes on.
    if (!std::isfinite(focus.x) || !std::isfinite(focus.y) || !std::isfinite(focus.z)) {
        focus = lastFocus;
        budget = 0;
    }
    lastFocus = focus;
    if (dt > 0.0f) {
        // Follow a clock that was set from outside rather than overwrite it.
        if (static_cast<float>(preciseTime) != worldTime) {
            preciseTime = static_cast<double>(worldTime);
        }
        preciseTime += static_cast<double>(dt);
        worldTime = static_cast<float>(preciseTime);
        atmosphere = ComputeAtmosphere(focus);
        const float k = std::exp(-0.08f * dt);
        temperature = (atmosphere.temperature - temperature) * (1.0f - k) + temperature;
    } else {
        atmosphere = ComputeAtmosphere(focus);
    }
    atmosphere.temperature = temperature;

    const int fx = ChunkIndex(focus.x);
    const int fz = ChunkIndex(focus.z);

    for (auto it = chunks.begin(); it != chunks.end();) {
        if (BeyondKeepRange(it->second.cx, it->second.cz, fx, fz, renderDistance)) {
            UnloadChunk(it->second);
            it = chunks.erase(it);
        } else {
            ++it;
        }
    }

    const std::vector<ChunkCoord> missing = MissingChunks(chunks, fx, fz, renderDistance);
    const bool perfLog = std::getenv("KIRN_PERF") != nullptr;
    BuildNearestFirst(
        missing, budget, perfLog, GetTime, [this](Chunk& chunk) { BuildChunk(chunk); },
        [this](Chunk& chunk) { chunks.emplace(Key(chunk.cx, chunk.cz), std::move(chunk)); });
}
